#include "templates/shape_view.h"

#include <algorithm>
#include <cmath>

#include "platform/region.h"
#include "templates/cutlines.h"
#include "templates/expand.h"
#include "templates/mapping.h"
#include "templates/outline.h"
#include "templates/shapes.h"

namespace {

// The design outside the shape shows through the screen's mask (225 of 255)
// over the pasteboard, a mid-grey: white × 30/255 + 128 × 225/255.
constexpr uint32_t kWashedColor = Port_RGB(143, 143, 143);
constexpr uint32_t kPaperEdgeColor = Port_RGB(160, 160, 160);

bool Is_Disc(const a_unit& u) { return Unit_Shape(u.kind) == SHAPE_RING; }

bool Has_Bleed(const a_unit& u) {
    return u.bleed.left != 0 || u.bleed.top != 0 || u.bleed.right != 0 || u.bleed.bottom != 0;
}

int Mm_To_Px(float mm, float mult) { return std::max(1, int(std::lround(mm * mult))); }

// A test print's outline through the top mapping: the bleed edge dashed
// (1.3 mm dashes) when there is one, then the true outline solid (0.1 mm)
// with fold lines and the centre cross of discs.
void Test_Outline(const a_unit& unit) {
    float mult = Top_Mapping().multx;
    int thick = Mm_To_Px(0.1f, mult);
    Rect used;
    if (Has_Bleed(unit)) Outline_Shape(used, 2, false, Mm_To_Px(1.3f, mult), thick, 0, true, unit);
    Outline_Shape(used, 0, true, Mm_To_Px(1.3f, mult), thick, 1, true, unit);
}

void Wash_Outside(const a_unit& unit, const a_shape_view_options& o, const Rect& bounds) {
    a_region_ptr rgn = Make_Region();
    a_region_ptr not_rgn = Make_Region();
    bool ls = o.ls_coverage >= 1 && o.ls_coverage <= NLS_COVERAGES && Is_Disc(unit);
    if (ls) Calc_LS_Rgns(not_rgn.get(), rgn.get(), bounds, o.ls_coverage);
    else Calc_Hole_Rgns(not_rgn.get(), rgn.get(), bounds, Calc_Print_Unit(unit, true), o.holes);
    if (ls || Has_Outer_Mask(unit)) {
        RGBForeColor(kWashedColor);
        PaintRgn(not_rgn.get());
        RGBForeColor(kBlackColor);
    }
}

// Runs `draw` with a port over `bits`, restoring the current port after.
template <typename F>
void With_Port(const a_port_bits& bits, F draw) {
    a_port* saved = Port_Get();
    a_port* port = Port_New(bits);
    Port_Set(port);
    draw();
    Port_Set(saved);
    Port_Dispose(port);
}

}  // namespace

void Draw_Shape_View(const a_unit& unit, const a_shape_view_options& o, const a_port_bits& bits) {
    With_Port(bits, [&] { EraseRect(bits.bounds); });
    Draw_Shape_Over(unit, o, bits);
}

void Draw_Shape_Over(const a_unit& unit, const a_shape_view_options& o, const a_port_bits& bits) {
    const Rect& bounds = bits.bounds;
    With_Port(bits, [&] {
        Wash_Outside(unit, o, bounds);
        a_coord_mapping m;
        Calc_Unit_Mapping(Calc_Print_Unit(unit, true), bounds, m);
        Push_Mapping(m);
        Test_Outline(unit);
        Pop_Mapping();
        if (o.cutlines) Draw_CutLines(unit, bounds, kDefaultCutlinesColor);
        if (o.grid) {
            a_grid_spec grid;
            grid.origin = Rect_Centre(bounds);
            Draw_Grid_Lines(false, bounds, grid);
        }
    });
}

bool Calc_Sheet_View_Bounds(const a_template& t, int dpi, Rect& bounds) {
    a_frect paper;
    Calc_Paper_Rect(paper, t);
    double w = std::round(double(paper.right) * dpi / 25.4);
    double h = std::round(double(paper.bottom) * dpi / 25.4);
    if (!(w >= 1 && h >= 1 && w <= 32767 && h <= 32767)) return false;
    bounds = Rect{0, 0, int16_t(h), int16_t(w)};
    return true;
}

void Draw_Sheet_View(const a_template& t, int dpi, const a_port_bits& bits) {
    With_Port(bits, [&] {
        EraseRect(bits.bounds);
        if (!Has_Flag(t.tflags, IS_SHOWNOPAPER)) {
            RGBForeColor(kPaperEdgeColor);
            FrameRect(bits.bounds);
            RGBForeColor(kBlackColor);
        }
        a_coord_mapping m;
        m.multx = m.multy = float(dpi / 25.4);
        m.netbox = bits.bounds;
        Push_Mapping(m);
        for (uint32_t ux = 1; ux <= t.nunits && ux <= MAXNUNITS; ++ux) Test_Outline(t.units[ux]);
        Pop_Mapping();
    });
}
