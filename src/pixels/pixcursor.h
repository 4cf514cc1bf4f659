// Pixel cursors: fast single-pixel access to one map. There are two of each
// kind (A and B) so that one map can be read while another is written; an
// operation holds a cursor from Init to Stop and must not call another
// operation that uses the same cursor. Coordinates are the map's own.
// Process-wide state: the A and B cursors of each kind (reads and writes).
#pragma once
#include <cstdint>

#include "pixels/pixmap.h"

// One pixel of a row at column x (counted from the row's start), raw: the
// bit, the index, the 5-5-5 word, B-G-R or the whole 32-bit word.
inline uint32_t Row_GetDot(const uint8_t* p, int depth, int x) {
    switch (depth) {
        case 1: return (p[x >> 3] >> (7 - (x & 7))) & 1;
        case 8: return p[x];
        case 16: return uint32_t(p[2 * x]) | uint32_t(p[2 * x + 1]) << 8;
        case 24:
            return uint32_t(p[3 * x]) | uint32_t(p[3 * x + 1]) << 8 | uint32_t(p[3 * x + 2]) << 16;
        default:
            return uint32_t(p[4 * x]) | uint32_t(p[4 * x + 1]) << 8 | uint32_t(p[4 * x + 2]) << 16 |
                   uint32_t(p[4 * x + 3]) << 24;
    }
}

inline void Row_PutDot(uint8_t* p, int depth, int x, uint32_t v) {
    switch (depth) {
        case 1: {
            uint8_t bit = uint8_t(0x80 >> (x & 7));
            p[x >> 3] = v ? uint8_t(p[x >> 3] | bit) : uint8_t(p[x >> 3] & ~bit);
            return;
        }
        case 8: p[x] = uint8_t(v); return;
        case 16:
            p[2 * x] = uint8_t(v);
            p[2 * x + 1] = uint8_t(v >> 8);
            return;
        case 24:
            p[3 * x] = uint8_t(v);
            p[3 * x + 1] = uint8_t(v >> 8);
            p[3 * x + 2] = uint8_t(v >> 16);
            return;
        default:
            p[4 * x] = uint8_t(v);
            p[4 * x + 1] = uint8_t(v >> 8);
            p[4 * x + 2] = uint8_t(v >> 16);
            p[4 * x + 3] = uint8_t(v >> 24);
    }
}

struct a_pix_cursor {
    uint8_t* base = nullptr;
    int32_t rowbytes = 0;
    int16_t top = 0;
    int16_t left = 0;
    int16_t depth = 0;
    uint32_t factor = 256;  // ScaleDot multiplies by factor / 256
};

// One cursor kind: `Depth` fixes the pixel size, 0 means any depth with
// values widened to 32 bits.
template <int Depth>
struct a_pixel_cursor_kind {
    static void Init(a_pix_cursor& c, const PixMap& pm) {
        c.base = pm.baseAddr;
        c.rowbytes = PixMap_RowBytes(pm);
        c.top = pm.bounds.top;
        c.left = pm.bounds.left;
        c.depth = Depth ? int16_t(Depth) : pm.pixelSize;
        c.factor = 256;
    }
    static uint32_t Get(const a_pix_cursor& c, int col, int row) {
        return Row_GetDot(c.base + int32_t(row - c.top) * c.rowbytes, Depth ? Depth : c.depth,
                          col - c.left);
    }
    static void Put(const a_pix_cursor& c, int col, int row, uint32_t v) {
        Row_PutDot(c.base + int32_t(row - c.top) * c.rowbytes, Depth ? Depth : c.depth,
                   col - c.left, v);
    }
};

// The cursors themselves, one of each in the process.
extern a_pix_cursor g_pixa, g_pixb, g_pix16a, g_pix16b, g_pix32a, g_pix32b, g_bita, g_bitb,
    g_genericpixa, g_genericpixb;

#define CIRQUEL_PIXEL_CURSOR(Name, Cur, Depth)                                                    \
    inline void Name##_Init(const PixMap& pm) { a_pixel_cursor_kind<Depth>::Init(Cur, pm); }      \
    inline uint32_t Name##_GetDot(int col, int row) {                                              \
        return a_pixel_cursor_kind<Depth>::Get(Cur, col, row);                                     \
    }                                                                                              \
    inline void Name##_PutDot(int col, int row, uint32_t v) {                                      \
        a_pixel_cursor_kind<Depth>::Put(Cur, col, row, v);                                         \
    }                                                                                              \
    inline void Name##_SetFactor(uint32_t f256) { Cur.factor = f256; }                             \
    inline void Name##_ScaleDot(int col, int row, uint32_t v) {                                    \
        a_pixel_cursor_kind<Depth>::Put(Cur, col, row, (v * Cur.factor) >> 8);                     \
    }                                                                                              \
    inline void Name##_Stop() { Cur = a_pix_cursor{}; }

CIRQUEL_PIXEL_CURSOR(PixA, g_pixa, 8)
CIRQUEL_PIXEL_CURSOR(PixB, g_pixb, 8)
CIRQUEL_PIXEL_CURSOR(Pix16A, g_pix16a, 16)
CIRQUEL_PIXEL_CURSOR(Pix16B, g_pix16b, 16)
CIRQUEL_PIXEL_CURSOR(Pix32A, g_pix32a, 32)
CIRQUEL_PIXEL_CURSOR(Pix32B, g_pix32b, 32)
CIRQUEL_PIXEL_CURSOR(BitA, g_bita, 1)
CIRQUEL_PIXEL_CURSOR(BitB, g_bitb, 1)
CIRQUEL_PIXEL_CURSOR(GenericPixA, g_genericpixa, 0)
CIRQUEL_PIXEL_CURSOR(GenericPixB, g_genericpixb, 0)

#undef CIRQUEL_PIXEL_CURSOR
