// Pixel-map geometry: flips, rotation, skew and bend, bounding boxes, fills,
// frames and region rectangles. The generic entry
// points dispatch on the depth; a depth without a variant is an internal error.
// Process-wide state: none.
#pragma once
#include <cstdint>
#include <vector>

#include "platform/geometry.h"
#include "pixels/pixmap.h"

struct a_region;

// In place, any depth.
void PixMap_FlipX(PixMap& pm);
void PixMap_FlipY(PixMap& pm);
void PixMap1_FlipX(PixMap& pm);
void PixMap_Rotate_180(PixMap& pm);

enum a_rotate_filter : uint8_t { NEAREST = 0, BILINEAR = 1 };
// Angle in tenths of a degree, counter-clockwise. 0 (after bringing it into
// 0..3599) moves `in` into `out` and nulls `in`; otherwise `out` is a new
// map on (0, 0, new height, new width) with in's depth and table. With
// `zerof`, bilinear edges fade out towards zero.
void PixMap_Rotate(a_rotate_filter filter, bool zerof, int angle, PixMap& in, PixMap& out);
using a_progress_fn = void (*)(int total, int done);
void PixMap_Rotate_Bilinear(a_progress_fn progressf, bool zerof, int angle, PixMap& src,
                            PixMap& dst);
void PixMap_Rotate_Bilinear8(a_progress_fn progressf, bool zerof, int angle, PixMap& src,
                             PixMap& dst);

// val in percent of the height (X) or width (Y); 0 moves the map.
void PixMap_SkewX(int val, PixMap& in, PixMap& out);
void PixMap_SkewY(int val, PixMap& in, PixMap& out);
void PixMap_BendX(int val, PixMap& in, PixMap& out);
void PixMap_BendY(int val, PixMap& in, PixMap& out);
// a - ((2x - n)^2 / n) * a / n: 0 at both ends, a in the middle.
int Calc_Parabola(int x, int a, int n);

// Smallest rectangle inside `search` holding non-zero pixels; empty (all
// zero) when there is none.
void PixMap_Bounding(const PixMap& pm, const Rect& search, Rect& bounds);
void Asm32_PixMap1_Bounding(const PixMap& pm, const Rect& search, Rect& bounds);
void Asm32_PixMap8_Bounding(const PixMap& pm, const Rect& search, Rect& bounds);
// True when both maps have the same size, depth and pixels.
bool PixMap_Compare(const PixMap& a, const PixMap& b);
void PixMap8_Fill(PixMap& pm, const Rect& r, uint8_t value);
void PixMap16_Fill(PixMap& pm, const Rect& r, uint16_t value);
void PixMap32_Fill(PixMap& pm, const Rect& r, uint32_t value);
// A one-pixel frame inside r, any depth but 1 (value widened as for fills).
void PixMap_Frame(PixMap& pm, const Rect& r, uint32_t value);
// 8 rows of 8 bits, repeated from the map's top-left.
void PixMap1_FillPattern(PixMap& pm, const uint8_t pattern[8]);
bool Is_PixMap1_Empty(const PixMap& pm);

constexpr int MAX_N_RECTS = 20000;
// The set bits of a 1-bit map as rectangles (runs per row; a run equal in
// left and right to the previous rectangle extends it down). At most
// MAX_N_RECTS; `rects` is left unchanged when no bit is set. The rectangles
// are what a region is built from.
[[nodiscard]] bool PixMap1_To_Rects(const PixMap& pm, std::vector<Rect>& rects, Rect& bounds);
// The same rectangles as a region; `rgn` is left unchanged when no bit is set.
void PixMap1_To_Region(const PixMap& pm, a_region* rgn);

// A 1-bit map (same bounds) set where a 32- or 16-bit map is not white.
void PixMap32_To_1(const PixMap& pm, PixMap& bits);
void PixMap16_To_1(const PixMap& pm, PixMap& bits);
void Reverse_Bytes(uint8_t* p, size_t n);  // each 4-byte group reversed
void Swap_Bytes(uint8_t* p, size_t n);     // each 2-byte group swapped
