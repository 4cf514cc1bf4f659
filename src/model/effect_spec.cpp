#include "model/effect_spec.h"

#include <cstdlib>

#include "base/messages.h"

a_service<void(a_spec& spec)> g_spec_controls;

namespace {

bool Same_RGB(const a_win_pixel32& a, const a_win_pixel32& b) {
    return a.r == b.r && a.g == b.g && a.b == b.b;
}

// The rough style draws the same border and outline bands as the others, so
// their widths and colours are part of its key as well as the roughness.
bool Equal_Edges(const a_spec& s1, const a_spec& s2) {
    switch (s1.edge_kind) {
        case EDGE_NONE:
            return true;
        case EDGE_BORDER:
        case EDGE_SCALLOP:
        case EDGE_ROUGH:
            return s1.edge_border == s2.edge_border && s1.edge_outline == s2.edge_outline &&
                   Same_RGB(s1.edge_bord_color, s2.edge_bord_color) &&
                   Same_RGB(s1.edge_outl_color, s2.edge_outl_color) &&
                   (s1.edge_kind != EDGE_SCALLOP || s1.edge_scallop == s2.edge_scallop) &&
                   (s1.edge_kind != EDGE_ROUGH || s1.edge_rough == s2.edge_rough);
        default:
            InternalError();
    }
}

}  // namespace

void Null_Spec(a_spec& spec) {
    spec = a_spec{};
    spec.edge_bord_color = a_win_pixel32{255, 255, 255, 0};
    g_spec_controls.Call_Or([] {}, spec);
}

void Clean_Spec(a_spec& spec) {
    a_source_desc& s = spec.source;
    if (s.kind != SOURCE_DATABASE) s.key = a_keyset{};
    if (s.kind != SOURCE_EXTFILE) s.path = a_fsspec{};
}

bool Equal_Source(const a_source_desc& s1, const a_source_desc& s2) {
    if (s1.sid != s2.sid || s1.kind != s2.kind) return false;
    if (s1.kind == SOURCE_DATABASE) return s1.key == s2.key;
    if (s1.kind == SOURCE_EXTFILE) return s1.path == s2.path;
    return true;
}

bool Equal_Spec(bool subsetf, const a_spec& a, const a_spec& b) {
    if (!Equal_Source(a.source, b.source)) return false;
    if (a.angle != b.angle || a.scalingh != b.scalingh || a.scalingv != b.scalingv ||
        a.darkness != b.darkness || a.opacity != b.opacity || a.corner != b.corner ||
        a.feather != b.feather || a.edge_kind != b.edge_kind)
        return false;
    if (!Equal_Edges(a, b)) return false;
    if (a.color_sat != b.color_sat || a.color_hue != b.color_hue || a.color_dist != b.color_dist)
        return false;
    if (a.shadf != b.shadf) return false;
    if (a.shadf && (a.shad_dx != b.shad_dx || a.shad_dy != b.shad_dy ||
                    a.shad_opacity != b.shad_opacity || a.shad_radius != b.shad_radius))
        return false;
    if (a.flipx != b.flipx || a.flipy != b.flipy || a.invert != b.invert || a.wtransp != b.wtransp)
        return false;
    if (a.is_symbol != b.is_symbol) return false;
    if (a.is_symbol && !Same_RGB(a.symbol_color, b.symbol_color)) return false;
    return !subsetf || a.subset == b.subset;
}

bool Is_Angle_Even(int angle) {
    return std::abs(angle) % 900 == 0;
}

bool Is_Edge_Used(const a_spec& spec) {
    return spec.edge_kind != EDGE_NONE || spec.corner != 0 || spec.feather != 0;
}

void Apply_Scaling_Pt(int scalingh, int scalingv, Point in, Point& out) {
    out.h = int16_t((in.h * scalingh + 500) / 1000);
    out.v = int16_t((in.v * scalingv + 500) / 1000);
}
