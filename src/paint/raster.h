// Coverage maps: what one painting step covers, in 0 .. 255 per cell, made
// from discs, polygons and thick polylines and then laid on the layer with a
// fill. Every map is clipped to the rectangle it is made in.
// Process-wide state: none.
#pragma once
#include <cstdint>
#include <vector>

#include "platform/geometry.h"

struct a_coverage {
    Rect bounds;                 // empty: nothing covered
    std::vector<uint8_t> a;      // row-major over bounds
    std::vector<uint32_t> rgb;   // own colours (0x00RRGGBB) of a stamp; empty: the fill's
    uint8_t* Row(int y) { return a.data() + size_t(y - bounds.top) * size_t(Rect_Width(bounds)); }
    const uint8_t* Row(int y) const {
        return a.data() + size_t(y - bounds.top) * size_t(Rect_Width(bounds));
    }
};

// A cleared map over r ∩ clip.
void Cov_Reset(a_coverage& c, const Rect& r, const Rect& clip);
// The disc of `diameter` cells centred on the cell `at`, antialiased at its rim.
void Cov_Disc(a_coverage& c, Point at, int diameter, const Rect& clip);
// A filled polygon (even-odd rule, cell centres inside).
void Cov_Polygon(a_coverage& c, const std::vector<Point>& pts, const Rect& clip);
// Adds (maximum) to c, which must already cover the area: a polyline drawn
// with a round pen of `thickness` cells; closed joins the last point to the first.
void Cov_Add_Polyline(a_coverage& c, const std::vector<Point>& pts, bool closed, int thickness);
// The bounding rectangle of the points grown by `grow`, or empty for none.
Rect Points_Bounds(const std::vector<Point>& pts, int grow);
// Every cell of the Bresenham line from a to b, a included, b included.
template <typename F>
void Bresenham(Point a, Point b, F&& visit) {
    int x = a.h, y = a.v, dx = b.h > a.h ? b.h - a.h : a.h - b.h, dy = b.v > a.v ? a.v - b.v : b.v - a.v;
    int sx = a.h < b.h ? 1 : -1, sy = a.v < b.v ? 1 : -1, err = dx + dy;
    for (;;) {
        visit(Point{int16_t(y), int16_t(x)});
        if (x == b.h && y == b.v) return;
        int e2 = 2 * err;
        if (e2 >= dy) err += dy, x += sx;
        if (e2 <= dx) err += dx, y += sy;
    }
}
