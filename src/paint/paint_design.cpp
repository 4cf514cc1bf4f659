#include "paint/paint_design.h"

#include "model/document.h"
#include "model/notices.h"
#include "paint/paint_art.h"
#include "paint/paint_layer.h"
#include "paint/paint_state.h"
#include "render/compositor.h"
#include "paint/selection.h"
#include "paint/trackers.h"

namespace {

a_listener_token g_token = 0;

void Desc_To_State(const a_paint_stroke_desc& d, a_paint_state& p) {
    p = a_paint_state{};
    p.tool = d.tool;
    p.fill_kind = d.fill;
    p.fill_color32 = d.color;
    p.brush_size = d.size;
    p.opacity = d.opacity;
    p.line_thickness = d.thickness;
    p.corner = d.corner;
    p.brush_spacing = d.spacing;
    p.eraser_choice = d.eraser;
    p.spray_radius = d.spray_radius, p.spray_spread = d.spray_spread, p.spray_method = d.spray_method;
    p.symmetry_on = d.symmetry, p.symmetry_kind = d.symmetry_kind, p.symmetry_count = d.symmetry_count;
    p.fill_gradient.nbands = d.nbands;
    for (int i = 0; i < d.nbands && i < MAXGRADBANDS; ++i) p.fill_gradient.bands[i] = d.bands[i];
    p.fill_gradient.kind = d.grad_kind;
    p.fill_gradient.reverse = d.grad_reverse;
    p.grad_angle = d.grad_angle, p.grad_rep = d.grad_rep, p.grad_twist = d.grad_twist;
    p.stamp_size = d.stamp_size, p.stamp_rotate = d.stamp_angle, p.stamp_spacing = d.stamp_spacing;
    p.stamp_stretch = d.stamp_stretch, p.stamp_skewx = d.stamp_skewx, p.stamp_skewy = d.stamp_skewy;
    p.stamp_bendx = d.stamp_bendx, p.stamp_bendy = d.stamp_bendy;
    p.stamp_darkness = d.stamp_darkness, p.stamp_colorshift = d.stamp_colorshift;
    Paint_Clamp(p);
}

std::string Key_Text(const a_keyset& k) {
    return std::to_string(k.a) + "." + std::to_string(k.b) + "." + std::to_string(k.c) + "." + std::to_string(k.d);
}

// The stroke's art loaded into `art`; false with a message naming the key.
bool Load_Art(const a_paint_stroke_desc& d, size_t index, a_paint_art& art, std::string& error) {
    const std::string at = "stroke " + std::to_string(index + 1) + ": ";
    if (!Is_Null_Key(d.stamp) && !Paint_Load_Stamp(d.stamp, art))
        return error = at + "no stamp has the key " + Key_Text(d.stamp), false;
    if (!Is_Null_Key(d.pattern) && !Paint_Load_Pattern(d.pattern, art))
        return error = at + "no pattern has the key " + Key_Text(d.pattern), false;
    if (!Is_Null_Key(d.border) && !Paint_Load_Border(d.border, art))
        return error = at + "no border has the key " + Key_Text(d.border), false;
    return true;
}

void Play(const a_paint_stroke_desc& d) {
    a_paint_event e;
    if (d.tool == SELECT_TOOL) g_paint.marquee_method = d.marquee;
    e.shift = d.shift;
    auto at = [&](size_t i) { e.cell = d.points[i]; return e; };
    if (d.tool == SPOLYGON_TOOL || (d.tool == ERASER_TOOL && d.eraser == ERASE_BY_POLYGON)) {
        for (size_t i = 0; i < d.points.size(); ++i) Paint_MouseDown(at(i)), Paint_MouseUp(at(i));
        Paint_Finish();
        return;
    }
    Paint_MouseDown(at(0));
    for (size_t i = 1; i < d.points.size(); ++i) Paint_MouseMove(at(i));
    Paint_MouseUp(at(d.points.size() - 1));
    if (d.tool != SELECT_TOOL || !Selection_Active()) return;
    if (d.erase) (void)Selection_Delete();
    else (void)Selection_Nudge(d.move_h, d.move_v, d.copy);
}

}  // namespace

bool Paint_Play_Strokes(const std::vector<a_paint_stroke_desc>& strokes, std::string& error) {
    if (!g_doc.up) return error = "no unit to paint on", false;
    const a_paint_state saved = g_paint;
    // The strokes make the document as it opens: no undo steps of their own.
    const a_service<void(int)> emit = g_doc_services.history_emit;
    g_doc_services.history_emit = {};
    g_paint_redraw = false;
    bool ok = true;
    for (size_t i = 0; i < strokes.size() && ok; ++i) {
        const a_paint_stroke_desc& d = strokes[i];
        if (d.points.empty()) continue;
        a_paint_art art;
        if (!(ok = Load_Art(d, i, art, error))) break;
        Desc_To_State(d, g_paint);
        Paint_Lend_Art(art, g_paint);
        if (d.has_center) g_doc.up->symmetry_center = d.symmetry_center;
        Play(d);
        Paint_Escape();  // nothing left open
    }
    g_doc_services.history_emit = emit;
    g_paint_redraw = true;
    g_paint = saved;
    Unit_PostRender(*g_doc.up);
    return ok;
}

void Paint_Init() {
    Selection_Init();
    g_token = g_doc_services.paint_strokes.Install(
        [](const std::vector<a_paint_stroke_desc>& strokes, std::string& error) {
            return Paint_Play_Strokes(strokes, error);
        });
}

void Paint_Stop() {
    g_doc_services.paint_strokes.Remove(g_token);
    Selection_Stop();
}
