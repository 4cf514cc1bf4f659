// Resampling of 8-bit masks through an affine matrix, one byte a pixel in
// and out, with the filtering and antialiased edges that Resample_Affine
// gives colour pixels, so that a picture and its mask stay in register
// without widening the mask to 32 bits on the way.
// Process-wide state: none.
#pragma once

#include "platform/resample.h"

// `src` (one byte a pixel) drawn onto `dst` (one byte a pixel) through
// x' = m[0]x + m[1]y + m[2], y' = m[3]x + m[4]y + m[5] (pixel-edge
// coordinates of the two views), bilinear; an edge pixel becomes the source
// value times its coverage plus the old value times the rest. Only dst
// pixels inside [cx0, cx1) x [cy0, cy1) change.
[[nodiscard]] bool Resample_Affine_Mask(const a_pixel_view& src, a_pixel_view& dst,
                                        const double m[6], int cx0, int cy0, int cx1, int cy1);
