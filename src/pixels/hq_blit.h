// High-quality resampling: scaling and affine transforms with filtering, for
// what the nearest-neighbour blits would make jagged.
// Process-wide state: the current port (reads).
#pragma once

#include "platform/geometry.h"
#include "pixels/gworld.h"
#include "pixels/pixmap.h"

// src_rect of src_w through an affine matrix onto dst_w: x' = m[0]x + m[1]y +
// m[2], y' = m[3]x + m[4]y + m[5], in the worlds' own coordinates. An 8-bit
// destination takes 8- or 1-bit sources, whose values are resampled as
// numbers (see Values8_To_Grey32).
void Port_To_Port_Matrix(GWorld* src_w, GWorld* dst_w, const Rect& src_rect, const double matrix[6],
                         const Rect* clip);

