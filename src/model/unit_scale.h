// Carrying a unit's design onto a unit of another size: places follow each
// axis (a point keeps its fraction of the unit's width and height), sizes
// follow the height (a text keeps its size as a fraction of the unit's
// height), as an old project's picture is carried onto a unit.
// Process-wide state: none.
#pragma once
#include "model/blocks.h"
#include "platform/geometry.h"
#include "templates/template.h"

struct a_doc_unit;

struct a_unit_scaling {
    Rect from;              // the design's own unit, in cells
    Rect onto;              // the unit it goes onto, in cells
    double cells = 1;       // sizes in cells: onto's height over from's
    double points = 1;      // text sizes in points: onto's height in mm over from's
};

// From a unit of `from_spec` with cell bounds `from` onto one of `onto_spec`
// with bounds `onto`. Degenerate sizes give factors of 1.
a_unit_scaling Unit_Scaling(const a_unit& from_spec, const Rect& from, const a_unit& onto_spec,
                            const Rect& onto);
bool Is_Identity(const a_unit_scaling& s);

Point Scale_Point(const a_unit_scaling& s, Point p);
// The block's place and size on the new unit; a text's characters and
// frame are laid out again by the caller.
void Scale_Block(a_oj_item& item, const a_unit_scaling& s);
// Every block, and the paint layer resampled onto `s.onto` (the unit's
// paintbounds become s.onto).
void Scale_Unit_Design(a_doc_unit& u, const a_unit_scaling& s);
