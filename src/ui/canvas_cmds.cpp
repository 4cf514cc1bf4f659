#include "ui/canvas_cmds.h"

#include "model/notices.h"
#include "platform/sound.h"
#include "model/document.h"
#include "render/canvas.h"
#include "pixels/gworld.h"
#include "ui/interface.h"

namespace {

a_doc_unit* Unit() {
    return g_doc.up;
}

int Unit_Kind() {
    return g_doc.doc_template.Unit(g_doc.upx).kind;
}

// Redraw (the watch cursor is the window layer's business) and record.
void Changed(int op) {
    Notice_Unit_Dirty(g_doc.upx);
    History_Emit(op);
}

void Outer_Mask_Out_Of_Date(a_doc_unit& u) {
    ++u.static_[OUTERMASK_LAYER].targ_seq;
}

}  // namespace

void Canvas_Rotate_CW() {
    if (!Unit()) return;
    a_canvas_spec& cv = Unit()->canv.cv;
    cv.canvas_nrot = uint16_t((cv.canvas_nrot + 1) & 3);
    Changed(OP_CANVAS_ROTATE);
}

void Canvas_Rotate_CCW() {
    if (!Unit()) return;
    a_canvas_spec& cv = Unit()->canv.cv;
    cv.canvas_nrot = uint16_t((cv.canvas_nrot + 3) & 3);
    Changed(OP_CANVAS_ROTATE);
}

void Canvas_FlipX() {
    if (!Unit()) return;
    Unit()->canv.cv.canvas_flipx = !Unit()->canv.cv.canvas_flipx;
    Changed(OP_CANVAS_FLIP);
}

void Canvas_FlipY() {
    if (!Unit()) return;
    Unit()->canv.cv.canvas_flipy = !Unit()->canv.cv.canvas_flipy;
    Changed(OP_CANVAS_FLIP);
}

void Canvas_Invert() {
    if (!Unit()) return;
    Unit()->canv.cv.canvas_invert = !Unit()->canv.cv.canvas_invert;
    Changed(OP_CANVAS_INVERT);
}

void Sliders_To_CV(a_canvas_spec& cv) {
    cv.canvas_darkness = gs.slider_vals[CANV_DARKNESS_SLIDER];
    cv.canvas_fuzz_in = gs.slider_vals[CANV_FUZZ_IN_SLIDER];
    cv.canvas_fuzz_out = gs.slider_vals[CANV_FUZZ_OUT_SLIDER];
    cv.canvas_color_sat = gs.slider_vals[COLOR_SAT_SLIDER];
    cv.canvas_color_hue = gs.slider_vals[COLOR_HUE_SLIDER];
    cv.canvas_color_dist = gs.slider_vals[COLOR_DIST_SLIDER];
}

void CV_To_Sliders(const a_canvas_spec& cv) {
    Slider_Blast(cv.canvas_darkness, CANV_DARKNESS_SLIDER);
    Slider_Blast(cv.canvas_fuzz_in, CANV_FUZZ_IN_SLIDER);
    Slider_Blast(cv.canvas_fuzz_out, CANV_FUZZ_OUT_SLIDER);
    Slider_Blast(cv.canvas_color_sat, COLOR_SAT_SLIDER);
    Slider_Blast(cv.canvas_color_hue, COLOR_HUE_SLIDER);
    Slider_Blast(cv.canvas_color_dist, COLOR_DIST_SLIDER);
}

void Delta_Canvas(a_slider_enum slider) {
    if (!Unit()) return;
    Sliders_To_CV(Unit()->canv.cv);
    int op = Is_Slider(slider) ? g_sliders[slider].basic.history_op : OP_NOP;
    Changed(op != OP_NOP ? op : OP_CANVAS_COLORIZE);
}

void Canvas_Fuzz_Delta() {
    if (!Unit()) return;
    Sliders_To_CV(Unit()->canv.cv);
    Outer_Mask_Out_Of_Date(*Unit());
    Changed(OP_CANVAS_ADJUST);
}

void Canvas_Sliders_Attach() {
    for (a_slider_enum s : {CANV_DARKNESS_SLIDER, COLOR_SAT_SLIDER, COLOR_HUE_SLIDER, COLOR_DIST_SLIDER})
        Slider_Set_Action(s, Delta_Canvas);
    for (a_slider_enum s : {CANV_FUZZ_IN_SLIDER, CANV_FUZZ_OUT_SLIDER})
        Slider_Set_Action(s, [](a_slider_enum) { Canvas_Fuzz_Delta(); });
}

void Canvas_Select(bool keep_adjustments) {
    if (!Unit()) return;
    a_canvas_spec& cv = Unit()->canv.cv;
    a_keyset key;
    CanvX_To_Key(key, gs.bar_selection[CANVAS_BAR], UNIT_TO_CANV_PREFIX(Unit_Kind()));
    if (!keep_adjustments) {
        Init_CV(cv);
        Outer_Mask_Out_Of_Date(*Unit());
        CV_To_Sliders(cv);
    }
    cv.canvas_key = key;
    Changed(OP_CANVAS_SELECT);
}

void Canvas_Select_Solid(int hue, int dist) {
    if (!Unit()) return;
    a_canvas_spec& cv = Unit()->canv.cv;
    Default_Canvas(Unit_Kind(), cv);
    cv.canvas_color_hue = int16_t(Slider_Limit_Value(hue, COLOR_HUE_SLIDER));
    cv.canvas_color_dist = int16_t(Slider_Limit_Value(dist, COLOR_DIST_SLIDER));
    Outer_Mask_Out_Of_Date(*Unit());
    CV_To_Sliders(cv);
    Changed(OP_CANVAS_SELECT);
}

void Paint_Clear_All() {
    a_doc_unit* u = Unit();
    if (!u) return;
    if (!u->paintinuse) {
        g_doc_services.play_sound.Call_Or([] {}, SND_REFUSED);
        return;
    }
    // The unit keeps its area: only the layer goes.
    u->paintinuse = false;
    Sync_Existence(PAINT1_LAYER, *u, false);
    Changed(OP_PAINT_ZAP);
}
