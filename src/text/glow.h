// Outline and glow of text: a distance map of the letters in twelfths of a
// pixel, and one colour table indexed by distance, so that the per-pixel work
// of an effect is a table lookup.
// Process-wide state: none.
#pragma once
#include <cstdint>
#include <vector>

#include "pixels/gworld.h"

constexpr uint16_t GLOW_FAR = 65000;  // no letter within reach
constexpr int GLOW_STEP_STRAIGHT = 12;  // one pixel along a row or column
constexpr int GLOW_STEP_DIAGONAL = 17;  // one diagonal step
constexpr int GLOW_MAX_LINE = 8000;    // longest line a sweep walks

// Distances over `bounds`, row by row; 0 on fully covered letter pixels.
struct a_distance_map {
    Rect bounds;
    std::vector<uint16_t> d;
    uint16_t At(int x, int y) const {
        return d[size_t(y - bounds.top) * size_t(Rect_Width(bounds)) + size_t(x - bounds.left)];
    }
};

// Per channel (blue, green, red, alpha): (B × (255 − propA) + A × propA) / 255.
void Blend_Pixels(int propA, const a_win_pixel32& colorA, const a_win_pixel32& colorB,
                  a_win_pixel32& net);

// One sweep along the line from (x, y) by (dx, dy) while inside the map, at
// most GLOW_MAX_LINE pixels, forward then back; `cover` is the 8-bit letter
// coverage on the map's bounds. Each pixel keeps the least of its stored
// distance and the running distances of both directions, and the running
// distance continues from that least value.
void Scan_Line(const PixMap& cover, int x, int y, int dx, int dy, int step, a_distance_map& map);

// The distance map over `rect` (clipped to the coverage's bounds) of the
// 8-bit coverage `cover`: rows and columns at step 12, both diagonals at 17.
// Only distances under `reach` are exact; pixels that cannot come under it
// may keep any value at or above it (the work skips them).
void Calc_Glow_Distance(const PixMap& cover, const Rect& rect, a_distance_map& map,
                        int reach = GLOW_FAR);

// What outline and glow look like, radii already scaled to output pixels.
struct a_glow_look {
    a_win_pixel32 base_color;
    int base_opacity = 100;  // percent
    bool outlf = false;
    a_win_pixel32 outl_color;
    int outl_radius = 0;
    bool glowf = false;
    a_win_pixel32 glow_color;
    int glow_radius = 0;
    int glow_opacity = 100;  // percent
};

// The colour table: entry k is the colour and (in `a`) the alpha of the
// pixels at distance k; distances past its end are left clear.
std::vector<a_win_pixel32> Glow_Table(const a_glow_look& look);

// Paints the map's pixels that are within the table: colour into `rgb`
// (32-bit), alpha into `mask` (8-bit), both covering the map's bounds.
// `used` becomes the box of the painted pixels, empty when none.
void Distance_To_Glow(Rect& used, PixMap& mask, PixMap& rgb, const a_distance_map& map,
                      const a_glow_look& look);
