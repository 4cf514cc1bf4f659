// Pictures of shapes for checking templates: one unit's design surface with
// its shape, outline and guides, or a whole sheet with every unit's outline.
// Process-wide state: the current port while it draws.
#pragma once
#include "platform/geometry.h"
#include "platform/port.h"
#include "templates/template.h"

struct a_shape_view_options {
    bool holes = false;     // cut the centre hole and tape window out of the shape
    bool cutlines = false;  // the dashed cut lines of the editing view
    bool grid = false;      // the grid overlay at its default settings
    int ls_coverage = 0;    // 1..3: the LightScribe burn ring of a disc instead of its shape
};

// White where the shape is, the outside washed as the screen shows it (the
// mask value 225 over a mid-grey pasteboard), outline and fold lines as on a
// test print, then the chosen guides. `bits` must cover Calc_Unit_Bounds of
// the unit at depth 32.
void Draw_Shape_View(const a_unit& unit, const a_shape_view_options& options,
                     const a_port_bits& bits);
// The same over a picture already in `bits` (a rendered unit of any size on
// the unit's proportions): the outside washed, outline and guides on top.
void Draw_Shape_Over(const a_unit& unit, const a_shape_view_options& options,
                     const a_port_bits& bits);

enum : int { MIN_SHEET_DPI = 10, MAX_SHEET_DPI = 600, DEFAULT_SHEET_DPI = 72 };
// The pixel size of the sheet at `dpi`; false when it does not fit our
// 16-bit geometry or the sheet has no extent.
[[nodiscard]] bool Calc_Sheet_View_Bounds(const a_template& t, int dpi, Rect& bounds);
// The sheet at `dpi`: white paper (its edge framed in grey unless the
// template hides its paper), each unit's outline as on a test print.
void Draw_Sheet_View(const a_template& t, int dpi, const a_port_bits& bits);
