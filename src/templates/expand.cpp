#include "templates/expand.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

constexpr float kMmPerInch = 25.4f;

void To_Millimetres(a_cunit& g) {
    g.bboxleft *= kMmPerInch;
    g.bboxtop *= kMmPerInch;
    g.bboxwidth *= kMmPerInch;
    g.bboxheight *= kMmPerInch;
    g.pitchx *= kMmPerInch;
    g.pitchy *= kMmPerInch;
    g.meas1 *= kMmPerInch;
    g.meas2 *= kMmPerInch;
    g.meas3 *= kMmPerInch;
    g.meas4 *= kMmPerInch;
}

struct a_group_ctx {
    const a_cunit& g;
    bool between;
};

// Number of columns in `row` (1-based) of a group.
uint32_t Row_Columns(const a_cunit& g, uint32_t row) {
    if (Has_Flag(g.uflags, UNIT_SHORTODD) && row % 2 == 0) return g.nx - 1;
    return g.nx;
}

float Side_Bleed(bool perimeter, bool on_edge, bool plus, float bleed) {
    return (!perimeter || on_edge || plus) ? bleed : 0.0f;
}

void Emit_Unit(a_template& t, const a_group_ctx& ctx, uint32_t col, uint32_t row) {
    const a_cunit& g = ctx.g;
    float netx = ctx.between ? g.pitchx + g.bboxwidth : g.pitchx;
    float nety = ctx.between ? g.pitchy + g.bboxheight : g.pitchy;
    float dx = float(col - 1) * netx;
    float dy = float(row - 1) * nety;
    float left;
    if (Has_Flag(g.uflags, UNIT_STAGGERED)) {
        left = g.bboxleft + 2 * dx + (row % 2 == 0 ? netx : 0.0f);
    } else {
        // A single column with a horizontal pitch is a zig-zag: even rows stand one
        // pitch to the right, odd rows return to the first column. (Stepping right
        // on every row would walk a column of three or more off the sheet.)
        if (g.nx == 1 && g.pitchx != 0) dx = float((row - 1) % 2) * netx;
        left = g.bboxleft + dx;
    }
    float top = g.bboxtop + dy;

    a_unit u;
    u.kind = g.kind;
    u.uflags = g.uflags;
    u.viewangle = 0;
    u.bbox = {left, top, left + g.bboxwidth, top + g.bboxheight};
    u.meas[0] = g.meas1;
    u.meas[1] = g.meas2;
    u.meas[2] = g.meas3;
    u.meas[3] = g.meas4;
    bool perim = Has_Flag(g.uflags, UNIT_PERIMETERBLEED) || Has_Flag(g.uflags, UNIT_PERIMETERPLUSH) ||
                 Has_Flag(g.uflags, UNIT_PERIMETERPLUSV);
    bool plush = Has_Flag(g.uflags, UNIT_PERIMETERPLUSH);
    bool plusv = Has_Flag(g.uflags, UNIT_PERIMETERPLUSV);
    u.bleed.left = Side_Bleed(perim, col == 1, plush, g.bleedleft);
    u.bleed.right = Side_Bleed(perim, col == Row_Columns(g, row), plush, g.bleedright);
    u.bleed.top = Side_Bleed(perim, row == 1, plusv, g.bleedtop);
    u.bleed.bottom = Side_Bleed(perim, row == g.ny, plusv, g.bleedbottom);

    if (t.nunits >= MAXNUNITS) return;  // readers refuse larger layouts; never overrun
    t.units[++t.nunits] = u;
}

int16_t Clamp16(long v) { return static_cast<int16_t>(std::clamp<long>(v, 0, INT16_MAX)); }

}  // namespace

void Expand_Template(a_ctemplate ct, a_template& t) {
    std::memcpy(t.label, ct.label, sizeof t.label);
    t.tflags = ct.tflags;
    t.papersize = CTemplate_Paper(ct);
    t.nunits = 0;
    bool inches = Has_Flag(ct.tflags, IS_INCHES);
    bool between = Has_Flag(ct.tflags, IS_PITCHBETWEEN);
    uint32_t ngroups = CTemplate_NGroups(ct);
    for (uint32_t gi = 0; gi < ngroups; ++gi) {
        a_cunit g = ct.units[gi];
        if (g.nx == 0 || g.ny == 0) continue;
        if (inches) To_Millimetres(g);
        a_group_ctx ctx{g, between};
        if (Has_Flag(g.uflags, UNIT_SHORTODD)) {
            for (uint32_t row = 1; row <= g.ny; ++row)
                for (uint32_t col = 1; col <= Row_Columns(g, row); ++col) Emit_Unit(t, ctx, col, row);
        } else {
            for (uint32_t col = 1; col <= g.nx; ++col)
                for (uint32_t row = 1; row <= g.ny; ++row) Emit_Unit(t, ctx, col, row);
        }
    }
}

float Make_Nice_Number(float in) {
    if (in <= 320) return 320;
    if (in <= 640) return 640;
    if (in <= 1280) return 1280;
    return 2000;
}

void Calc_Unit_Bounds(const a_unit& spec, Rect& bounds) {
    constexpr double kMmPerPixel = 25.4 / 300;
    double width = double(spec.bbox.right) - spec.bbox.left;
    double height = double(spec.bbox.bottom) - spec.bbox.top;
    long right = std::lround(width / kMmPerPixel);
    long bottom = std::lround(height / kMmPerPixel);
    if (right > 4000) {
        right = 4000;
        bottom = std::lround(height * 4000 / width);
    }
    switch (spec.kind) {
        case UNIT_CD:
        case UNIT_JEWEL_LID1: right = bottom = BOUNDS_UNIT_CD; break;
        case UNIT_MINICD_RING: right = bottom = 800; break;
        case UNIT_MINICD_HOCKEY: right = 800, bottom = 590; break;
        case UNIT_MINICD_RECT: right = 850, bottom = 590; break;
        default: break;
    }
    if (right <= 0) {
        // A unit too narrow to see: size it from the unit with its bleed.
        double fh = (width + spec.bleed.left + spec.bleed.right) * 10;
        double fv = (height + spec.bleed.top + spec.bleed.bottom) * 10;
        if (!(fh > 0 && fv > 0)) {
            fh = fv = 320;  // no extent at all: a small square rather than a division by zero
        } else if (fh > fv) {
            fv = fv * Make_Nice_Number(float(fh)) / fh;
            fh = Make_Nice_Number(float(fh));
        } else {
            fh = fh * Make_Nice_Number(float(fv)) / fv;
            fv = Make_Nice_Number(float(fv));
        }
        right = std::lround(fh);
        bottom = std::lround(fv);
    }
    bounds = Rect{0, 0, Clamp16(bottom), Clamp16(right)};
}

void Calc_Unit_Mapping(const a_unit& spec, const Rect& bounds, a_coord_mapping& m) {
    float w = spec.bbox.right - spec.bbox.left;
    float h = spec.bbox.bottom - spec.bbox.top;
    m.fdecx = spec.bbox.left;
    m.fdecy = spec.bbox.top;
    m.multx = w != 0 ? float(bounds.right - bounds.left) / w : 0;
    m.multy = h != 0 ? float(bounds.bottom - bounds.top) / h : 0;
    m.originx = bounds.left;
    m.originy = bounds.top;
    m.netbox = bounds;
}

a_direct_print_kind Calc_Direct_Print_KindT(const a_template& t) {
    if (!Has_Flag(t.tflags, IS_CDPRINTER) || t.nunits == 0) return NOT_DIRECT;
    switch (t.units[1].kind) {
        case UNIT_CD: return CD_DIRECT;
        case UNIT_MINICD_RING: return MINICD_DIRECT;
        case UNIT_MINICD_HOCKEY: return HOCKEY_DIRECT;
        case UNIT_MINICD_RECT: return RECT_DIRECT;
        default: return NOT_DIRECT;  // a tray whose first unit is no disc prints as paper
    }
}
