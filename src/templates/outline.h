// Outlines and fold lines of unit shapes, drawn with the current port's pen
// as cut guides on screen and on test prints, and the dashed primitives
// they are made of.
// Process-wide state: the current port while it draws.
#pragma once
#include <cstdint>

#include "platform/geometry.h"
#include "templates/shapes.h"

// Dashes of `dash` pixels walked from (x0, y0) to (x1, y1), alternately in
// the fore and the back colour, fore first; the fore colour is kept.
void Dashed_Line(int x0, int y0, int x1, int y1, int dash);
// Chords of about `dash` pixels of arc with gaps half as long again, from
// the point right of the centre counter-clockwise round the circle.
void Frame_Circle_Dashed(int cx, int cy, int radius, int dash);
// The circle's angle step (tenths of a degree) for a dash.
int Circle_Dash_Step(int radius, int dash);
// A 1-pixel dashed frame inside `r` whatever the pen; gaps are white.
void Frame_Rect_Dashed(const Rect& r, int dash);
// The pen pattern that frames ovals dashed.
extern const a_pattern kOvalDashPat;

// linekind 0 draws dashed, anything else solid; the pen is dashthick square.
void Outline_Shape_Line(int x0, int y0, int x1, int y1, int dashlen, int dashthick, int linekind);
void Outline_Shape_Rect(const Rect& r, int dashlen, int dashthick, int linekind);
void Outline_Shape_Circle(int cx, int cy, int diameter, int dashlen, int dashthick, int linekind);
void Outline_Shape_Oval(const Rect& r, int dashlen, int dashthick, int linekind);
void Outline_Shape_RoundRect(const Rect& r, int radius, int dashlen, int dashthick, int linekind);
// One quarter of a rounded corner: the arc of radius `radius` about (cx, cy)
// from angle `from` to `to` (tenths of a degree, counter-clockwise).
void Outline_Shape_Fillet(int cx, int cy, int radius, int from, int to, int dashlen, int dashthick,
                          int linekind);
void Outline_Shape_Audio(const a_iunit& iu, int bleed_flag, int dashlen, int dashthick,
                         int linekind);
void Outline_Shape_Hockey(int cx, int cy, int radius, int side, int dashlen, int dashthick,
                          int linekind);

// Draws the cut contour (do_outside) and fold lines (do_inside) of a unit.
void Outline_Shape2(const a_iunit& iu, int bleed_flag, int dashlen, int dashthick, int linekind,
                    bool do_inside, bool do_outside, bool is_test);

// Maps the print placement of `unit` (with the bleed grown when bleed_flag
// is 2) through the top mapping and outlines it, with fold lines unless the
// bleed is grown and a centre cross on discs when `crosshair`; `used_bbox`
// gets the mapped box.
void Outline_Shape(Rect& used_bbox, int bleed_flag, bool crosshair, int dashlen, int dashthick,
                   int linekind, bool is_test, const a_unit& unit);

// A 2 x 2 pen cross reaching 8 pixels each way from (x, y).
void Draw_Crosshair(int x, int y, int dashlen);
