// Painting steps ("atoms"): each takes the points of one step, already moved
// by the symmetry, and paints them into the layer it names, leaving in
// `dirty` the cells it changed. Shapes arrive as their outlines (the
// trackers make them), so that a turned or mirrored copy stays exact.
// Process-wide state: none but what the atom record names (its layer) and
// g_paint's fill colour, which the eyedropper writes.
#pragma once
#include <cstdint>
#include <vector>

#include "paint/paint_state.h"

struct a_pointlist_rec {
    std::vector<Point> pts;
};

struct a_atom_rec {
    a_pointlist_rec list;
    Rect dirty;           // cells changed by the last step
    int fill = COLOR_FILL;
    bool marqf = false;   // painting a marquee
    bool solid = true;    // arcs: the wedge or its rim
    Rect clip;            // the unit's cells: nothing is painted outside
    GWorld* paint_world = nullptr;
    GWorld* mask_world = nullptr;
    int angle = 0;        // degrees this copy is turned by the symmetry
    bool mirror = false;  // this copy is mirrored
    Rect grad_area;       // the area a gradient spreads over; empty: the step's own
};

using a_atom_proc = void (*)(a_atom_rec& atom, const a_paint_state& p);

void Atom_Brush(a_atom_rec& atom, const a_paint_state& p);      // a dab at each point
void Atom_Eraser(a_atom_rec& atom, const a_paint_state& p);     // a round erase at each point
void Atom_BrushLine(a_atom_rec& atom, const a_paint_state& p);  // brush-wide polyline
void Atom_Line(a_atom_rec& atom, const a_paint_state& p);       // line-thick polyline
void Atom_Spray(a_atom_rec& atom, const a_paint_state& p);      // the dots of one burst
void Atom_Spray_Pointlist(a_atom_rec& atom, const a_paint_state& p);
void Atom_Spray_Bitmap(a_atom_rec& atom, const a_paint_state& p);
void Atom_Spray_Stamp(a_atom_rec& atom, const a_paint_state& p);
void Atom_Stamp(a_atom_rec& atom, const a_paint_state& p);      // the stamp at the first point
void Atom_Bucket(a_atom_rec& atom, const a_paint_state& p);     // flood from the first point
void Atom_Eyedropper(a_atom_rec& atom, const a_paint_state& p);  // see Pick_Color
// Hollow shapes: the closed outline with the line thickness.
void Atom_FOval(a_atom_rec& atom, const a_paint_state& p);
void Atom_FRect(a_atom_rec& atom, const a_paint_state& p);
void Atom_FRoundRect(a_atom_rec& atom, const a_paint_state& p);
// Solid shapes: the outline filled.
void Atom_SOval(a_atom_rec& atom, const a_paint_state& p);
void Atom_SRect(a_atom_rec& atom, const a_paint_state& p);
void Atom_SRoundRect(a_atom_rec& atom, const a_paint_state& p);
void Atom_SPolygon(a_atom_rec& atom, const a_paint_state& p);
void Atom_Furter(a_atom_rec& atom, const a_paint_state& p);  // the arc's wedge or rim

// The painted colour of the layer at `cell` when the layer covers it at
// least half; false otherwise.
bool Pick_Color(const GWorld& world, const GWorld& mask, Point cell, uint32_t& rgb);

// Dots of one spray burst about `at`: `n` points within `radius`, spread by
// `spread`, reproducible from `seed`.
std::vector<Point> Spray_Points(Point at, int radius, int spread, int n, uint32_t& seed);
