// Colour operations on whole pixel maps: darkness, hue shift, HSV targets,
// grey and palette remapping.
// Process-wide state: the display palette (reads).
#pragma once
#include <cstdint>

#include "pixels/pixmap.h"

// val 0..100. 32- and 16-bit maps: 50 unchanged, 0 black, 100 white. 8-bit
// maps (through the main palette) only darken: 100 unchanged, 0 black.
void PixMap_Darkness(PixMap& pm, int val);
// maxval + 1 entries: 255 for 8-bit components, 31 for 5-bit ones.
void Calc_Darkness_Map(int val, int maxval, uint8_t* map);
// Hue rotated by val degrees (8- and 16-bit maps; other depths are an
// internal error).
void PixMap_ColorShift(PixMap& pm, int val);
// One 0xAARRGGBB colour with its hue rotated by val degrees (alpha kept clear).
uint32_t Color_Shift_Hue(uint32_t color, int val);
// Hue pulled towards targ_hue by targ_dist / 72, value darkened or lightened
// by targ_dark (50 neutral). targ_sat is accepted and not applied.
void PixMap32_HSV(PixMap& pm, int targ_hue, int targ_dist, int targ_dark, int targ_sat);
// A new 8-bit gray_ctable map of the darkness of a 16- or 32-bit map: white 0.
void PixMap_Gray(const PixMap& pm, PixMap& gray);
// The fourth byte of each 32-bit pixel becomes its darkness.
void Pix32_To_Alpha(PixMap& pm);
// Each index of an 8-bit map turned into the nearest entry of `ctab`, which
// becomes the map's table.
void PixMap8_To_8(PixMap& pm, CTabHandle ctab);
