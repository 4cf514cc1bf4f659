// Bare pixel maps: a header over a pixel buffer, the pixel formats of each
// depth, the shared colour tables and the conversions between pixel kinds.
// Rows run top-down; a row is padded to a multiple of four bytes.
// Process-wide state: the shared colour tables and the display palette
// (written by PixMap_Init, read by the conversions).
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <utility>

#include "platform/geometry.h"
#include "platform/pixels.h"

// The byte-reversed order of pixels stored for a big-endian machine.
struct a_win_pixel32_swapped {
    uint8_t a = 0;
    uint8_t b = 0;
    uint8_t g = 0;
    uint8_t r = 0;
};

struct a_pixel48 {
    uint16_t r = 0;
    uint16_t g = 0;
    uint16_t b = 0;
    bool operator==(const a_pixel48&) const = default;
};

struct a_canonic_pixel32 {
    uint8_t r = 0;
    uint8_t g = 0;
    uint8_t b = 0;
    uint8_t a = 0;
};

// h 0..359, s and v 0..255.
struct a_hsv_color {
    int16_t h = 0;
    int16_t s = 0;
    int16_t v = 0;
    bool operator==(const a_hsv_color&) const = default;
};

// One 32-bit cell read at any depth.
union a_generic_pixel {
    bool val1;
    uint8_t val8;
    uint16_t val16;
    uint32_t val32;
};

// A 256-entry colour table of 8-bit (and 1-bit) maps; entries are 32-bit
// pixels 0x00RRGGBB. Shared tables are compared by identity, not content.
struct a_color_table {
    uint32_t c[256] = {};
    int count = 256;
};
using CTabHandle = const a_color_table*;

// Index k is grey 255 - k: a mask value reads as opacity and 255 shows black.
extern CTabHandle gray_ctable;
// Index k is grey k.
extern CTabHandle gray_ctable2;
// The 1-bit table: 0 white, 1 black.
extern CTabHandle mono_ctable;

// The display's main 256-colour palette, used by 8-bit maps with any other
// table or none.
struct a_video_state {
    a_color_table main_colors32;
};
extern a_video_state g_video;

// A colour table of our own (read from an image file, say); nullptr when
// memory is short. `n` entries of `colors` are used, the rest are black.
a_color_table* New_CTable(const uint32_t* colors, int n);
void Dispose_CTable(a_color_table*& ctab);
struct a_ctable_deleter {
    void operator()(a_color_table* ctab) const { Dispose_CTable(ctab); }
};
using a_ctable_ptr = std::unique_ptr<a_color_table, a_ctable_deleter>;
// The 32-bit pixels an 8-bit map's indices stand for: its table, or the main
// palette when it has none.
void CTabHandle_To_Map(CTabHandle ctab, uint32_t map[256]);

// The index of the entry of an 8-bit map's table (or the main palette) nearest
// to `color` (0x00RRGGBB) by squared distance; the first of equals wins.
int CTab_Nearest(CTabHandle ctab, uint32_t color);

// The pixel-map header. Integer fields are in host order.
struct PixMap {
    uint8_t* baseAddr = nullptr;  // first byte of the top row
    int16_t rowBytes = 0;         // the top two bits are flags: mask with 0x3FFF
    Rect bounds;
    int16_t pmVersion = 0;
    int16_t packType = 0;
    int32_t packSize = 0;
    int32_t hRes = 0x00480000;  // 72 dpi, 16.16 fixed
    int32_t vRes = 0x00480000;
    int16_t pixelType = 0;  // 0 indexed (1, 8), 16 direct (16, 24, 32)
    int16_t pixelSize = 0;  // 1, 8, 16, 24 or 32
    int16_t cmpCount = 0;
    int16_t cmpSize = 0;
    uint32_t planeBytes = 0;  // the format tag: "L555" for 16-bit, "BGRA" for 32-bit
    CTabHandle pmTable = nullptr;
    int32_t pmReserved = 0;
};

// The header of a 1-bit map seen alone.
struct BitMap {
    uint8_t* baseAddr = nullptr;
    int16_t rowBytes = 0;
    Rect bounds;
};

constexpr int16_t ROWBYTES_MASK = 0x3FFF;
constexpr uint32_t PIXFMT_L555 = 0x4C353535;  // 'L555'
constexpr uint32_t PIXFMT_BGRA = 0x42475241;  // 'BGRA'

inline bool Is_Valid_Depth(int depth) {
    return depth == 1 || depth == 8 || depth == 16 || depth == 24 || depth == 32;
}
// Bytes per row: width * depth bits rounded up to whole 32-bit words.
inline int32_t Calc_RowBytes(int width, int depth) { return ((width * depth + 31) / 32) * 4; }
inline int32_t PixMap_RowBytes(const PixMap& pm) { return pm.rowBytes & ROWBYTES_MASK; }
// Whether a map of that size and depth can exist: a valid depth, non-negative
// size and a row that fits the 14 bits of rowBytes.
bool PixMap_Fits(const Rect& bounds, int depth);
// height * rowBytes.
size_t PixMap_Len(const PixMap& pm);
inline uint8_t* PixMap_Row(const PixMap& pm, int y) {
    return pm.baseAddr + ptrdiff_t(y - pm.bounds.top) * PixMap_RowBytes(pm);
}

void Null_PixMap(PixMap& pm);
inline bool Is_Null_PixMap(const PixMap& pm) { return pm.baseAddr == nullptr; }
// A header by the depth rules, without a buffer.
void New_Empty_PixMap(PixMap& pm, const Rect& bounds, int depth, CTabHandle ctab);
// A header and a buffer cleared to 0; out of memory (or a size no map can
// have) is fatal.
void New_PixMap(PixMap& pm, const Rect& bounds, int depth, CTabHandle ctab);
// The same, returning false instead of ending the program.
[[nodiscard]] bool New_PixMap_Try(PixMap& pm, const Rect& bounds, int depth, CTabHandle ctab);
// Frees the buffer of a map made by New_PixMap and nulls the header.
void Dispose_PixMap(PixMap& pm);

// Holds a record by value whose memory Dispose frees (and leaves the record
// as Null makes it). Move-only: a moved-from owner holds a null record, so
// every return path frees exactly once.
template <class T, void (*Null)(T&), void (*Dispose)(T&)>
class a_record_owner {
public:
    a_record_owner() { Null(rec_); }
    // Takes over `rec`, which is left null.
    explicit a_record_owner(T& rec) : rec_(rec) { Null(rec); }
    ~a_record_owner() { Dispose(rec_); }
    a_record_owner(a_record_owner&& o) noexcept : rec_(o.rec_) { Null(o.rec_); }
    a_record_owner& operator=(a_record_owner&& o) noexcept {
        if (this != &o) {
            Dispose(rec_);
            rec_ = o.rec_;
            Null(o.rec_);
        }
        return *this;
    }
    a_record_owner(const a_record_owner&) = delete;
    a_record_owner& operator=(const a_record_owner&) = delete;

    T& get() { return rec_; }
    const T& get() const { return rec_; }
    T& operator*() { return rec_; }
    const T& operator*() const { return rec_; }
    T* operator->() { return &rec_; }
    const T* operator->() const { return &rec_; }
    // Frees what is held; the record is null again.
    void reset() { Dispose(rec_); }
    // Hands the record to the caller, who frees it; the owner is left null.
    T release() {
        T r = rec_;
        Null(rec_);
        return r;
    }

private:
    T rec_;
};

using a_pixmap_owner = a_record_owner<PixMap, Null_PixMap, Dispose_PixMap>;
// New_PixMap into an owner: fatal on failure.
inline a_pixmap_owner Make_PixMap(const Rect& bounds, int depth, CTabHandle ctab) {
    a_pixmap_owner o;
    New_PixMap(o.get(), bounds, depth, ctab);
    return o;
}
// New bounds (same depth and table); the contents are not kept.
void PixMap_Resize(PixMap& pm, const Rect& bounds);
// dst becomes a new map with src's header and a copy of its bytes.
void PixMap_Copy(const PixMap& src, PixMap& dst);
void PixMap_Zero(PixMap& pm);
void PixMap_Ones(PixMap& pm);    // every byte 0xFF
void PixMap_Invert(PixMap& pm);  // every byte complemented
void BitMap_As_PixMap(const BitMap& bm, PixMap& pm);
void PixMap_As_BitMap(const PixMap& pm, BitMap& bm);

// Colour conversions of one value.
void RGB24_To_RGB32(const a_pixel24& pix24, a_win_pixel32& pix32);  // a = 0
void RGB32_To_RGB24(const a_win_pixel32& pix32, a_pixel24& pix24);
void RGB32_To_RGB16(const a_win_pixel32& pix32, uint16_t& pix16);
void RGB16_To_RGB32(uint16_t pix16, a_win_pixel32& rgb);
void RGB32_To_Gray(a_win_pixel32& pixel);  // (77r + 151g + 28b) >> 8 into r, g, b
void RGB32_To_RGB48(const a_win_pixel32& pix32, a_pixel48& pix48);
void RGB48_To_RGB32(const a_pixel48& pix48, a_win_pixel32& pix32);
void RGB16_To_RGB48(uint16_t pix16, a_pixel48& pix48);
bool Equal_RGB24(const a_pixel24& a, const a_pixel24& b);
void RGB_To_HSV(const a_pixel24& rgb, a_hsv_color& hsv);
void HSV_To_RGB(const a_hsv_color& hsv, a_pixel24& rgb);
// 256-entry tables of 32- or 16-bit pixels from tables of colours.
void RGBA_To_Colortable(const a_canonic_pixel32 in[256], a_color_table& out);
void Colortable48_To_32(const a_pixel48 in[256], uint32_t out[256]);
void Colortable48_To_16(const a_pixel48 in[256], uint16_t out[256]);

// Word forms of the conversions, for pixel loops (0xAARRGGBB words).
inline uint16_t Pix32_To_16(uint32_t p) {
    return uint16_t(((p >> 19) & 0x1F) << 10 | ((p >> 11) & 0x1F) << 5 | ((p >> 3) & 0x1F));
}
inline uint32_t Pix16_To_32(uint16_t p) {
    return uint32_t((p >> 10) & 0x1F) << 19 | uint32_t((p >> 5) & 0x1F) << 11 |
           uint32_t(p & 0x1F) << 3;
}
inline uint8_t Pix32_Gray(uint32_t p) {
    unsigned g = (77 * ((p >> 16) & 0xFF) + 151 * ((p >> 8) & 0xFF) + 28 * (p & 0xFF)) >> 8;
    return uint8_t(g > 255 ? 255 : g);
}

// In place, reverse the bytes of every 32-bit pixel (or swap those of every
// 16-bit pixel) over width x height: pixel data stored big-endian.
void Mac_Win_PixMap32(uint8_t* base, int width, int height, int32_t rowb);
void Mac_Win_PixMap16(uint8_t* base, int width, int height, int32_t rowb);

// Start-up: builds the shared tables and the display palette.
void PixMap_Init();
void PixMap_Stop();
