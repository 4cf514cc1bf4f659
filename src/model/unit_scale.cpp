#include "model/unit_scale.h"

#include <algorithm>
#include <cmath>

#include "model/document.h"
#include "model/photo_rec.h"
#include "model/text_rec.h"
#include "pixels/blit.h"
#include "pixels/gworld.h"
#include "pixels/pixmap.h"
#include "templates/mapping.h"

namespace {

double Ratio(double onto, double from) { return from > 0 && onto > 0 ? onto / from : 1.0; }

// One coordinate carried linearly from [f0, f1] onto [o0, o1].
int16_t Interpolate(int v, int f0, int f1, int o0, int o1) {
    if (f1 == f0) return Round_Pixel(o0 + v - f0);
    return Round_Pixel(o0 + double(v - f0) * (o1 - o0) / (f1 - f0));
}

int16_t Scaled(int v, double k, int lo, int hi) { return int16_t(std::clamp<long>(std::lround(v * k), lo, hi)); }

Rect Scale_Rect(const a_unit_scaling& s, const Rect& r) {
    const Point tl = Scale_Point(s, Point{r.top, r.left}), br = Scale_Point(s, Point{r.bottom, r.right});
    return Rect{tl.v, tl.h, br.v, br.h};
}

void Scale_Photo(a_ph_rec& ph, uint8_t kind, const a_unit_scaling& s) {
    const int hi = kind == SYMBOL_BLOCK ? SYMBOL_MAX_SCALING : PHOTO_MAX_SCALING;
    ph.spec.scalingh = Scaled(ph.spec.scalingh, s.cells, PHOTO_MIN_SCALING, hi);
    ph.spec.scalingv = Scaled(ph.spec.scalingv, s.cells, PHOTO_MIN_SCALING, hi);
    ph.spec.shad_dx = Scaled(ph.spec.shad_dx, s.cells, INT16_MIN, INT16_MAX);
    ph.spec.shad_dy = Scaled(ph.spec.shad_dy, s.cells, INT16_MIN, INT16_MAX);
    ph.dst_center = Scale_Point(s, ph.dst_center);
    // The box is derived from the picture; until it is measured again it
    // keeps its size in proportion.
    const int w = Scaled(Rect_Width(ph.dst_box), s.cells, 0, INT16_MAX);
    const int h = Scaled(Rect_Height(ph.dst_box), s.cells, 0, INT16_MAX);
    ph.dst_box = Rect{Round_Pixel(ph.dst_center.v - h / 2), Round_Pixel(ph.dst_center.h - w / 2),
                      Round_Pixel(ph.dst_center.v - h / 2 + h), Round_Pixel(ph.dst_center.h - w / 2 + w)};
}

void Scale_Text(a_om_rec& om, const a_unit_scaling& s) {
    const int limit = TEXT_LAYOUT_SIZE_LIMITS[om.layout < NLAYOUTS ? om.layout : 0];
    om.size = Scaled(om.size, s.points, 1, limit);
    om.anchor = Scale_Point(s, om.anchor);
    om.rotcenter = Scale_Point(s, om.rotcenter);
    om.bbox = Scale_Rect(s, om.bbox);
    om.shad_dx = Scaled(om.shad_dx, s.cells, -100, 100);
    om.shad_dy = Scaled(om.shad_dy, s.cells, -100, 100);
    OM_Clear_Caches(om);
}

// The paint layer resampled onto s.onto, colour and coverage alike.
void Scale_Paint(a_doc_unit& u, const a_unit_scaling& s) {
    a_cached_gworld& layer = u.static_[PAINT1_LAYER];
    if (!layer.world || !layer.mask || (layer.world->pix.bounds == s.onto && layer.mask->pix.bounds == s.onto))
        return;
    GWorld *world = nullptr, *mask = nullptr;
    New_GWorldF("Doc world", s.onto, 32, nullptr, world);
    New_GWorldF("Doc mask", s.onto, 8, gray_ctable, mask);
    Bicubic_Blt(layer.world->pix, world->pix, layer.world->pix.bounds, s.onto);
    Bicubic_Blt(layer.mask->pix, mask->pix, layer.mask->pix.bounds, s.onto);
    Dispose_GWorld(layer.world);
    Dispose_GWorld(layer.mask);
    layer.world = world;
    layer.mask = mask;
    layer.bounds = s.onto;
}

}  // namespace

a_unit_scaling Unit_Scaling(const a_unit& from_spec, const Rect& from, const a_unit& onto_spec,
                            const Rect& onto) {
    a_unit_scaling s;
    s.from = from;
    s.onto = onto;
    s.cells = Ratio(Rect_Height(onto), Rect_Height(from));
    s.points = Ratio(double(onto_spec.bbox.bottom) - onto_spec.bbox.top,
                     double(from_spec.bbox.bottom) - from_spec.bbox.top);
    return s;
}

bool Is_Identity(const a_unit_scaling& s) { return s.from == s.onto && s.points == 1.0; }

Point Scale_Point(const a_unit_scaling& s, Point p) {
    return Point{Interpolate(p.v, s.from.top, s.from.bottom, s.onto.top, s.onto.bottom),
                 Interpolate(p.h, s.from.left, s.from.right, s.onto.left, s.onto.right)};
}

void Scale_Block(a_oj_item& item, const a_unit_scaling& s) {
    if (item.ph) Scale_Photo(*item.ph, item.kind, s);
    if (item.om) Scale_Text(*item.om, s);
}

void Scale_Unit_Design(a_doc_unit& u, const a_unit_scaling& s) {
    if (Is_Identity(s)) return;
    for (int i = 1; i <= u.oj.nlist; ++i) Scale_Block(u.oj.list[i], s);
    Scale_Paint(u, s);
    u.symmetry_center = Scale_Point(s, u.symmetry_center);
    u.ruler_origin = Scale_Point(s, u.ruler_origin);
    u.edit_focus = Scale_Point(s, u.edit_focus);
    u.paintbounds = s.onto;
}
