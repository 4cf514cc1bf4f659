// The crop dialog's geometry without its window: how large the picture is
// shown, where it sits, where the crop and its four side handles are, and
// how a dragged side becomes a crop in source pixels.
// Process-wide state: none.
#pragma once
#include "model/photo_rec.h"

constexpr int CROP_MARGIN = 48;      // the picture sits this far inside its area
constexpr int CROP_HANDLE_DEPTH = 12;
constexpr int CROP_HANDLE_OVER = 24;  // a handle reaches this far past each end of its side
constexpr int CROP_MIN_W = 500, CROP_MIN_H = 300;

// The picture (source bounds `picture`, current crop `crop`) laid out for a
// screen of `screen`: at 2:1 when that fits, else 1:1, else reduced to fit
// within 95 % of the screen.
void Crop_Layout(const Rect& picture, const Rect& crop, const Rect& screen, a_crop_rec& cr);
// crop_s and the four handles from `crop`.
void Crop_Calc_Handles(a_crop_rec& cr);
// Side 1 left, 2 top, 3 right, 4 bottom moved to `where` (dialog pixels):
// the crop in source pixels, kept on the picture and at least a pixel wide.
void Crop_Drag_Side(a_crop_rec& cr, const Rect& picture, int side, Point where);
