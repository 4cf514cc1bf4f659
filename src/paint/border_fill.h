// A border laid around a rectangle: the corner piece turned into each
// corner, the side piece repeated along each edge from its corner on and
// the filler piece closing what is left before the next corner. The band
// is as wide as the corner piece and runs inside the rectangle.
// Process-wide state: none.
#pragma once
#include <cstdint>

#include "pixels/gworld.h"
#include "platform/geometry.h"

struct a_border_art {
    const a_masked_gworld* picture = nullptr;  // the border's picture (borrowed; mask may be null)
    Rect corn, side, sliv;                     // its pieces, in the picture's cells
};

// True when the pieces lie in the picture and are as high as the corner is wide.
bool Border_Usable(const a_border_art& b);
// The colour and coverage the border laid inside `frame` gives cell (x, y);
// false outside the band (or for an unusable border).
bool Border_Color(const a_border_art& b, const Rect& frame, int x, int y, uint32_t& rgb, uint8_t& alpha);
