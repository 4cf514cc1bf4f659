// The blit family between pixel maps: copy, scale (nearest neighbour, at
// pixel centres), convert depth, mask and blend. Rectangles are in each map's
// own coordinates; they are trimmed to the maps' bounds, and the matching
// part of the other rectangle with them. Depth pairs: 1 -> any; 8 -> 8, 24,
// 32; 16, 24, 32 -> 16, 24, 32. Any other pair is an internal error.
// Process-wide state: the blend weight (reads and writes), the display palette (reads).
#pragma once
#include <cstddef>
#include <cstdint>

#include "platform/geometry.h"
#include "pixels/pixmap.h"

// Transfer modes of the blits.
enum : int16_t {
    srcCopy = 0,
    srcXor = 2,
    notSrcBic = 7,  // 8-bit, same size: dst = dst AND src
    blend = 32,     // weight: Set_Blend_Value
    transparent = 36,  // a white source pixel (or an 8-bit 255) leaves dst
    ditherCopy = 64,   // scaled without a clip: good-quality resampling
    ALPHA = 256        // 32-bit: weight per pixel from the source's fourth byte
};

// Pixel map to pixel map, scaling src_rect onto dst_rect and converting
// depth. `clip` (nullptr: none) reduces both rectangles proportionally.
void Pix_To_Pix(const PixMap& src, PixMap& dst, const Rect& src_rect, const Rect& dst_rect,
                int mode, const Rect* clip);
// Good-quality resampling of src_rect onto dst_rect (Qt's smooth scaling:
// box averaging when shrinking, bilinear when growing), through a 32-bit copy.
// An 8-bit destination (a mask or grey map) takes 8- or 1-bit sources and
// filters their values as numbers, never through a colour table.
void Bicubic_Blt(const PixMap& src, PixMap& dst, const Rect& src_rect, const Rect& dst_rect);

// The resamplers filter 32-bit pixels only. 8-bit values travel as grey
// pixels: each value in bytes 0..2 of a new 32-bit map over `r` (1-bit
// sources first expand to indices of `table`; other depths are an internal
// error, as for the blits), and byte 0 of `grey` back into `dst` over `r`.
a_pixmap_owner Values8_To_Grey32(const PixMap& src, const Rect& r, CTabHandle table);
void Grey32_To_Values8(const PixMap& grey, PixMap& dst, const Rect& r);
// Masked copy: a 1-bit mask copies where set; an 8-bit mask (24/32-bit maps)
// weighs source against destination.
void Pix_To_PixM(const PixMap& src, const PixMap& mask, PixMap& dst, const Rect& src_rect,
                 const Rect& mask_rect, const Rect& dst_rect, const Rect* clip = nullptr);

// The blend weight of the drawing state: opacity in percent 0..100 becomes
// opacity * 255 / 100. One weight serves every port: callers set it just
// before the blend. 1-bit sources expand to the current port's fore colour
// (set bits) and back colour (clear bits).
void Set_Blend_Value(int opacity);
uint8_t Get_Blend_Weight();
void Set_Blend_Weight(uint8_t weight);  // the weight itself, 0..255

// The blend weight set from `opacity` for one scope, and the previous weight
// back when it ends.
class a_blend_scope {
public:
    explicit a_blend_scope(int opacity) : saved_(Get_Blend_Weight()) { Set_Blend_Value(opacity); }
    ~a_blend_scope() { Set_Blend_Weight(saved_); }
    a_blend_scope(const a_blend_scope&) = delete;
    a_blend_scope& operator=(const a_blend_scope&) = delete;

private:
    uint8_t saved_;
};

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
