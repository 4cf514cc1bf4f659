// The record kinds of the art database: pictures (header, three compressions
// and JPEG), gradients, the border directory and sounds. Every reader checks
// sizes against the record before it touches a byte and reports a damaged
// record instead of reading or writing outside a buffer.
// Process-wide state: none.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "artdb/keyset.h"
#include "platform/geometry.h"

enum : uint8_t {
    PIXT_CYCLE = 1 << 0,
    PIXT_TRANSPARENT = 1 << 1,
    PIXT_PACKBITS = 1 << 2,
    PIXT_CONFORMED = 1 << 3,
    PIXT_LZW = 1 << 4,
    PIXT_JPEG = 1 << 5,
    PIXT_GRAY = 1 << 6,
    PIXT_GRAY2 = 1 << 7,
};

enum : int { KPIXT_HEADER_SIZE = 8, KPIXT_MAX_ROWBYTES = 0x3FFF };

struct a_kpixt_header {
    int16_t rowbytes = 0;
    int16_t width = 0;
    int16_t height = 0;
    uint8_t flags = 0;
    uint8_t pixelsize = 0;
};

enum class a_record_status { OKAY, DAMAGED, BAD_DEPTH, NO_MEMORY };

// Reads and checks the header: positive sizes, rows long enough for the
// width and within the pixel-map limit, depth 8, 16 or 32 (BAD_DEPTH).
[[nodiscard]] a_record_status KPixt_Read_Header(const uint8_t* rec, size_t len, a_kpixt_header& header);
// Decodes the pixels into `pixels` (rowbytes × height bytes) in native
// order. The decoded size must agree with the header.
[[nodiscard]] a_record_status KPixt_Decode(const uint8_t* rec, size_t len, const a_kpixt_header& header,
                             std::vector<uint8_t>& pixels);
// File order to native order, in place: 16-bit pixels swapped, 32-bit reversed.
void Mac_Win_PixMap16(uint8_t* pixels, size_t len);
void Mac_Win_PixMap32(uint8_t* pixels, size_t len);
// The name of the compression in `flags`: "jpeg", "packbits", "lzw", "raw".
const char* KPixt_Codec_Name(uint8_t flags);

// Gradient: band count, then colours alpha, red, green, blue. The result is
// native 32-bit pixels (0xAARRGGBB).
[[nodiscard]] bool Grad_Decode(const uint8_t* rec, size_t len, std::vector<uint32_t>& bands);

struct a_bord_spec {
    a_keyset key;
    int16_t klass = 0;
    Rect corn_piece, side_piece, sliv_piece;
};
struct a_bord_res {
    int16_t version = 1;
    std::vector<a_bord_spec> bords;
};
enum : int { BORD_SPEC_SIZE = 34 };
// Border directory: version, count, then 34-byte entries, all big-endian.
[[nodiscard]] bool Bord_Decode(const uint8_t* rec, size_t len, a_bord_res& res);

// Sound: a RIFF WAVE file of 16-bit mono PCM.
struct a_sound {
    int rate = 0;
    std::vector<int16_t> samples;
};
[[nodiscard]] bool Sound_Decode(const uint8_t* rec, size_t len, a_sound& sound);

// Big-endian field readers shared by the readers of this folder.
inline uint16_t Get_BE16(const uint8_t* p) {
    return static_cast<uint16_t>((p[0] << 8) | p[1]);
}
inline uint32_t Get_BE32(const uint8_t* p) {
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3];
}
