// Where the injection puts the text blocks of a track list: side by side
// across the unit, shrunk once when together they are wider than it, with
// 20 pixels between them and the rest of the width split on both sides.
// Process-wide state: none.
#pragma once
#include <vector>

#include "platform/geometry.h"

enum : int {
    INJECT_SIZE = 10,      // points, before shrinking
    INJECT_SPACING = 20,
    INJECT_MIN_LEFTOVER = 10,
};

// The size every block takes when `total` (the blocks' widths at size 10)
// exceeds the unit's width: 10 x width / total points within [lo, hi];
// INJECT_SIZE when they fit.
int Inject_Shrunk_Size(int total, int unit_width, int lo, int hi);

// Each block's anchor (h the left of the block, v its middle line) for the
// blocks' widths and heights as laid out.
std::vector<Point> Inject_Anchors(const std::vector<int>& widths, const std::vector<int>& heights,
                                  int unit_width, int unit_height);

// The anchor block i (0 the first) is made at, before measuring: a unit's
// eighth down, 50 pixels apart.
Point Inject_First_Anchor(int i, int unit_height);
