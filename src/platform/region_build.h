// A region built from a long list of rectangles in one go.
// Process-wide state: none.
#pragma once
#include "platform/geometry.h"

struct a_region;

// Sets rgn to the union of n rectangles (they may overlap).
void Rgn_SetRects(a_region* rgn, const Rect* rects, int n);
