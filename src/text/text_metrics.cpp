#include "text/text_metrics.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "model/document.h"
#include "templates/expand.h"
#include "templates/shapes.h"

namespace {

constexpr float kMmPerPoint = 25.4f / 72.0f;

}  // namespace

a_text_unit Doc_Text_Unit(uint32_t ux) {
    a_text_unit u;
    if (ux < 1 || ux > g_doc.doc_template.nunits || !g_doc.doc_units[ux]) {
        u.bounds = Rect{0, 0, BOUNDS_UNIT_CD, BOUNDS_UNIT_CD};
        u.px_per_pt = float(BOUNDS_UNIT_CD) / 120.0f * kMmPerPoint;
        return u;
    }
    return Text_Unit_Of(g_doc.doc_template.Unit(ux), g_doc.doc_units[ux]->paintbounds);
}

a_text_unit Text_Unit_Of(const a_unit& spec, const Rect& bounds) {
    a_text_unit u;
    u.bounds = bounds;
    a_coord_mapping m;
    Calc_Unit_Mapping(spec, bounds, m);
    u.px_per_pt = m.multy > 0 ? m.multy * kMmPerPoint : 1;
    u.kind = spec.kind;
    const a_shape shape = Unit_Shape(spec.kind);
    if (shape == SHAPE_RING || shape == SHAPE_CIRCLE) {
        // The disc as cut: the bounds may hold its bleed too.
        const double side = std::min(double(spec.bbox.right) - spec.bbox.left, double(spec.bbox.bottom) - spec.bbox.top);
        u.disc = int16_t(std::clamp(std::lround(side * m.multx), 0L, long(std::min(Rect_Width(bounds), Rect_Height(bounds)))));
        if (shape == SHAPE_RING)
            u.hole = int16_t(std::clamp(std::lround(double(spec.meas[0]) * m.multx), 0L, long(u.disc)));
    }
    return u;
}

a_text_unit Curr_Text_Unit() { return Doc_Text_Unit(g_doc.upx); }

float Points_To_PixelsR(float points) { return points * TextSize_Mapping(); }
// Bounded to what a 16-bit coordinate holds: sizes may come from damaged records.
int Points_To_Pixels(float points) {
    return int(std::clamp(std::lround(Points_To_PixelsR(points)), -32767L, 32767L));
}

int Radius_To_Pixels(const a_text_unit& u, int percent) {
    int side = std::min(Rect_Width(u.bounds), Rect_Height(u.bounds));
    return int16_t(percent * side / 200);
}

int Pixels_To_Radius(const a_text_unit& u, int pixels) {
    int side = std::min(Rect_Width(u.bounds), Rect_Height(u.bounds));
    if (side <= 0) return 20;
    return std::clamp(pixels * 200 / side, 20, 180);  // the radius slider's range
}

float Calc_Text_Size(float pointsize, int override, int layout) {
    float r = Points_To_PixelsR(pointsize);
    if (override == 0 || override == 100) return r;
    int limit = TEXT_LAYOUT_SIZE_LIMITS[layout < NLAYOUTS ? layout : 0];
    return std::clamp(override * r / 100, 2.0f, std::max(2.0f, Points_To_PixelsR(float(limit))));
}

a_net_char Calc_Net_Char(const a_om_rec& om, int pos) {
    const a_xyl_char& c = om.xyl[pos];
    a_net_char n;
    n.nn_char = c.cc_char;
    n.nn_cat = c.mm_cat;
    n.nn_x = c.mm_x;
    n.nn_y = c.mm_y;
    n.nn_width = c.mm_width;
    n.nn_font.fontID = c.cc_fontx != 0 ? c.cc_fontx : om.fontx;
    n.nn_fontsizeR = Calc_Text_Size(om.size, c.cc_size, om.layout);
    n.nn_font.size = int32_t(std::lround(n.nn_fontsizeR));
    n.nn_font.angle = c.mm_t;
    n.nn_font.hscale = om.stretch_h + 1.0f;
    n.nn_font.vscale = om.stretch_v + 1.0f;
    n.nn_font.hskew = om.skew_h / 100.0f;
    n.nn_font.vskew = om.skew_v / 100.0f;
    if (om.boldf || c.cc_boldf) n.nn_font.effects |= 1u << EFFECT_BOLD;
    if (om.italf || c.cc_italf) n.nn_font.effects |= 1u << EFFECT_ITALIC;
    return n;
}

a_fontspec Calc_Base_Font(const a_om_rec& om) {
    a_fontspec f;
    f.fontID = om.fontx;
    f.size = Points_To_Pixels(om.size);
    if (om.boldf) f.effects |= 1u << EFFECT_BOLD;
    if (om.italf) f.effects |= 1u << EFFECT_ITALIC;
    return f;
}

a_font_key Font_Key(const a_fontspec& spec, float pixels) {
    return a_font_key{int(spec.fontID), pixels, (spec.effects & (1u << EFFECT_BOLD)) != 0,
                      (spec.effects & (1u << EFFECT_ITALIC)) != 0};
}

void Calc_AscentDescent(const a_om_rec& om, int& ascent, int& descent) {
    int pixels = Points_To_Pixels(om.size);
    ascent = pixels * 3 / 4;
    descent = pixels - ascent;
}

int Calc_VSpacing(const a_om_rec& om) {
    int64_t v = int64_t(Points_To_Pixels(om.size)) * om.vspacing / 100;
    return int(std::clamp<int64_t>(v, -32767, 32767));
}

bool Is_Pair_Trail(const a_om_rec& om, int pos) {
    return pos > 1 && pos < om.nxyl && Is_Low_Surrogate(om.xyl[pos].cc_char) &&
           Is_High_Surrogate(om.xyl[pos - 1].cc_char);
}

void Text_Shape(const a_om_rec& om, float& hscale, float& vscale, float& hskew, float& vskew) {
    hscale = 1 + std::clamp(int(om.stretch_h), 0, 100) / 100.0f;
    vscale = 1 + std::clamp(int(om.stretch_v), 0, 100) / 100.0f;
    hskew = std::clamp(int(om.skew_h), 0, 50) / 100.0f;
    vskew = std::clamp(int(om.skew_v), 0, 50) / 100.0f;
}
