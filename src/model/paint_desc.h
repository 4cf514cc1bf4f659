// A paint stroke as a design describes it: the tool, its points in the
// unit's cells and the paint parameters; the paint module plays it back as
// the mouse would draw it (the design reader cannot see the tools).
// Process-wide state: none.
#pragma once
#include <cstdint>
#include <vector>

#include "artdb/keyset.h"
#include "platform/geometry.h"

enum : int { PAINT_DESC_MAX_STROKES = 200, PAINT_DESC_MAX_POINTS = 4096, PAINT_DESC_MAX_BANDS = 8 };

struct a_paint_stroke_desc {
    int tool = 0;               // a tool number of the palette (0 .. 15)
    std::vector<Point> points;  // press, the moves, release (polygon: its corners)
    uint32_t color = 0;         // 0x00RRGGBB
    int fill = 1;               // 1 colour, 2 pattern, 3 gradient, 4 stamp, 5 border
    int size = 12, opacity = 100, thickness = 2, corner = 0, spacing = 3, eraser = 3;
    int spray_radius = 20, spray_spread = 2, spray_method = 0;
    bool symmetry = false;
    int symmetry_kind = 0, symmetry_count = 6;
    bool has_center = false;
    Point symmetry_center;
    int nbands = 2;
    uint32_t bands[PAINT_DESC_MAX_BANDS] = {0x000000, 0xFFFFFF};
    int grad_kind = 0, grad_angle = 0, grad_rep = 1, grad_twist = 800;
    bool grad_reverse = false;
    bool shift = false;  // squares, circles, 45° lines
    // The Copy / Move tool: the marquee (0 rectangle, 1 oval, 2 lasso) drawn
    // through `points`, then its pixels moved by (move_h, move_v) cells
    // (`copy`: a copy), or cleared (`erase`).
    int marquee = 0;
    int move_h = 0, move_v = 0;
    bool copy = false;
    bool erase = false;
    // Art by its key: the stamp of the stamp tool, the stamp spray and the
    // stamp fill; the pattern and the border of those fills. Null: none.
    a_keyset stamp, pattern, border;
    int stamp_size = 10, stamp_angle = 0, stamp_spacing = 30, stamp_stretch = 0;
    int stamp_skewx = 0, stamp_skewy = 0, stamp_bendx = 0, stamp_bendy = 0;
    int stamp_darkness = 50, stamp_colorshift = 0;
};
