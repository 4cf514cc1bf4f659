// The blit family: copy, scale (nearest neighbour), convert depth, mask and
// blend between pixel maps, worlds and the current port. Rectangles are in
// each map's own coordinates; they are trimmed to the maps' bounds, and the
// matching part of the other rectangle with them.
#pragma once
#include <cstdint>

#include "platform/geometry.h"
#include "render/gworld.h"
#include "render/pixmap.h"

// Transfer modes of the blits.
enum : int16_t {
    srcCopy = 0,
    srcXor = 2,
    notSrcBic = 7,  // 8-bit, same size: dst = dst AND src
    blend = 32,     // weight: the current port's opacity
    transparent = 36,  // a white source pixel (or an 8-bit 255) leaves dst
    ditherCopy = 64,   // scaled without a clip: good-quality resampling
    ALPHA = 256        // 32-bit: weight per pixel from the source's fourth byte
};

// Pixel map to pixel map, scaling src_rect onto dst_rect and converting
// depth. `clip` (nullptr: none) reduces both rectangles proportionally.
void Pix_To_Pix(const PixMap& src, PixMap& dst, const Rect& src_rect, const Rect& dst_rect,
                int mode, const Rect* clip);
// Masked copy: a 1-bit mask copies where set; an 8-bit mask (24/32-bit maps)
// weighs source against destination.
void Pix_To_PixM(const PixMap& src, const PixMap& mask, PixMap& dst, const Rect& src_rect,
                 const Rect& mask_rect, const Rect& dst_rect);

// The same with the current port as source or destination. A world's port
// reduces to its pixel map; for a window the window's bits are used.
void Pix_To_Port(const PixMap& src, const Rect& src_rect, const Rect& dst_rect, int mode,
                 const Rect* clip);
void Port_To_Pix(PixMap& dst, const Rect& src_rect, const Rect& dst_rect, int mode,
                 const Rect* clip);
void Port_To_Port(GWorld* src, GWorld* dst, const Rect& src_rect, const Rect& dst_rect, int mode,
                  const Rect* clip);
void Pix_To_PortM(const PixMap& src, const PixMap& mask, const Rect& src_rect,
                  const Rect& mask_rect, const Rect& dst_rect, const Rect* clip);
void Port_To_PixM(const PixMap& mask, PixMap& dst, const Rect& src_rect, const Rect& mask_rect,
                  const Rect& dst_rect);
void Port_To_PortM(GWorld* src, GWorld* mask, GWorld* dst, const Rect& src_rect,
                   const Rect& mask_rect, const Rect& dst_rect);
// 8-bit mask onto the current port (deep-mask copy).
void Pix_To_Port_Deep(const PixMap& src, const PixMap& mask, const Rect& src_rect,
                      const Rect& mask_rect, const Rect& dst_rect, const Rect* clip);
void Port_To_Port_Deep(GWorld* src, GWorld* mask, GWorld* dst, const Rect& src_rect,
                       const Rect& mask_rect, const Rect& dst_rect, const Rect* clip);

// The blend weight of the current port: opacity in percent 0..100 becomes
// opacity * 255 / 100.
void Set_Blend_Value(int opacity);
uint8_t Get_Blend_Weight();
// The colours 1-bit maps expand to (0x00RRGGBB); black and white unless set.
void Blt_Set_Colors(uint32_t fore, uint32_t back);

// `src_pix` blended at `opacity` percent over the current port, inside
// `src_mask` only.
void CopyMask_Blend(int opacity, const PixMap& src_pix, const PixMap& src_mask,
                    const Rect& dst_bounds, const Rect* clip);

// Good-quality resampling of src_rect onto dst_rect (32-bit maps; other
// depths go by a 32-bit copy).
void Bicubic_Blt(const PixMap& src, PixMap& dst, const Rect& src_rect, const Rect& dst_rect);
// src_rect of src_w through an affine matrix onto dst_w: x' = m[0]x + m[1]y +
// m[2], y' = m[3]x + m[4]y + m[5], in the worlds' own coordinates.
void Port_To_Port_Matrix(GWorld* src_w, GWorld* dst_w, const Rect& src_rect, const double matrix[6],
                         const Rect* clip);

enum a_channel : uint8_t { B_CHANNEL = 0, G_CHANNEL = 1, R_CHANNEL = 2, A_CHANNEL = 3 };
// One byte of each 32-bit pixel in `box` into the 8-bit dst at the same
// place; `used` is the bounding box of the non-zero values, or all zero.
void Extract_Channel(a_channel channel, const GWorld* src_world, GWorld* dst_world, const Rect& box,
                     Rect& used);

// Keep a window area in a world and put it back.
void Save_Screen(const Rect& area, GWorld*& saved);
void Restore_Screen(GWorld*& saved, const Rect& area);

// Workers named for the machine-code routines they replace; plain loops.
void Asm32_FillBytes(uint8_t* dst, size_t n, uint8_t value);
void Asm32_BlockMove(const uint8_t* src, uint8_t* dst, size_t n);
int16_t Asm32_Fraction(int16_t aa, int16_t bb, int16_t cc);  // aa * bb / cc, 32-bit intermediate
int32_t Asm32_Fraction32(int32_t aa, int32_t bb, int32_t cc);  // 64-bit intermediate
// For each 5-5-5 colour the index of the nearest entry of `color` (entries
// with fourth byte 1 excluded).
void Asm32_Calc_Inverse(const uint32_t color[256], uint8_t inverse[32768]);
// Over fore's area: where the 1-bit mask is set and fore equals back, fore
// becomes 255 and the mask bit is cleared.
void Asm32_PixMap8_Subtract(PixMap& mask, PixMap& fore, const PixMap& back);
