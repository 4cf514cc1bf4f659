// Outlines of the dragged shapes as closed point lists in cells: the
// rectangle, the rounded rectangle, the oval and the quarter-oval arc of the
// box between two corners.
// Process-wide state: none.
#pragma once
#include <vector>

#include "platform/geometry.h"

// The box between two dragged corners (both included), or about a centre.
Rect Drag_Box(Point anchor, Point now, bool from_center, bool constrain);
std::vector<Point> Rect_Outline(const Rect& box);
// Corners of radius corner × the shorter side ÷ 160 (corner 80: half the side).
std::vector<Point> RoundRect_Outline(const Rect& box, int corner);
std::vector<Point> Oval_Outline(const Rect& box);
// The quarter oval from `anchor` to `now` bowing away from the box's corner
// between them; `wedge` closes it through that corner.
std::vector<Point> Arc_Outline(Point anchor, Point now, bool wedge);
