// A new text block's colour that reads on what lies under it: the colour
// asked for when it stands out enough, else black or white.
// Process-wide state: none.
#pragma once
#include "platform/geometry.h"
#include "platform/pixels.h"

struct GWorld;

// The contrast two colours need (as WCAG measures it: 3 is what large text
// needs to be read).
constexpr double TEXT_MIN_CONTRAST = 3.0;

// WCAG's contrast ratio of two colours, 1 (the same) to 21 (black on white).
double Contrast_Ratio(a_win_pixel32 a, a_win_pixel32 b);

// `wanted` when it reads on the average colour of `world` within `area`;
// otherwise whichever of black and white reads better. `world` shows the
// unit's cells `cells` at its own size (the screen's zoom), `area` is in
// those cells. `wanted` also when there is no picture under the area
// (nothing composed yet).
a_win_pixel32 Readable_Colour(const GWorld* world, const Rect& cells, const Rect& area, a_win_pixel32 wanted);
