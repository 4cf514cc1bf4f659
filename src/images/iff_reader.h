// IFF pictures: "ILBM" (bit planes) and "PBM " (one byte per pixel), plain or
// PackBits bodies, up to 8 planes and 3072 pixels wide.
// Process-wide state: the scan progress display (reads).
#pragma once
#include <cstddef>
#include <cstdint>

struct a_picture_scan_rec;

enum a_masking : uint8_t { MASK_NONE, MASK_HASMASK, MASK_HASTRANS, MASK_LASSO };
enum a_compression : uint8_t { COMP_NONE, COMP_RUN };

// The picture header chunk, fields in file order (big-endian in the file).
struct a_BMHD_rec {
    uint16_t w = 0, h = 0;
    int16_t x = 0, y = 0;
    uint8_t nplanes = 0;
    uint8_t masking = MASK_NONE;
    uint8_t compression = COMP_NONE;
    uint8_t pad1 = 0;
    uint16_t transparent = 0;
    uint8_t xaspect = 0, yaspect = 0;
    int16_t pageWidth = 0, pageHeight = 0;
};

// Failure codes of Scan_ILBM (0 is success).
enum : int {
    ILBM_SHORT = 2,         // fewer than 12 bytes
    ILBM_NOT_IFF = 3,       // not a FORM of type ILBM or PBM
    ILBM_BAD_CHUNK = 4,     // a chunk header or length past the end of the form
    ILBM_BAD_HEADER = 5,    // BMHD short, zero size, too wide, unknown compression
    ILBM_TOO_DEEP = 6,      // more than 8 planes
    ILBM_BAD_BODY = 7,      // BODY missing, short, or of the wrong length
};

// Decodes into an 8-bit body with the CMAP palette (a grey ramp without one;
// extra half-bright palettes completed); a mask plane becomes the mask, a
// transparent colour sets transp. Hold-and-modify pictures become 32-bit.
[[nodiscard]] int Scan_ILBM(bool alerts, const uint8_t* data, size_t size, a_picture_scan_rec& scan);
