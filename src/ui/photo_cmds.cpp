#include "ui/photo_cmds.h"

#include "images/photo_blocks.h"
#include "model/notices.h"
#include "model/ph_blocks.h"
#include "model/selection.h"
#include "ui/photo_sliders.h"

namespace {

// Each selected photo or symbol block that `change` changes (it says so)
// re-rendered with its old and new area; `op`, unless OP_NOP, pending when any did.
template <typename F>
bool For_Selected(int op, F change) {
    bool any = false;
    for (int omx = OMX_START; Selection_Enum(omx);) {
        a_oj_item* it = Curr_Item(omx);
        if (!it || !it->ph || (it->kind != PHOTO_BLOCK && it->kind != SYMBOL_BLOCK)) continue;
        a_ph_rec after = *it->ph;
        if (!change(*it, after)) continue;
        Obj_PostRender(omx);
        *it->ph = after;
        Photo_Recalc(omx);
        any = true;
    }
    if (any && op != OP_NOP) History_Set_Pending(op);
    return any;
}

void Slider_Changed(a_slider_enum slider) {
    Delta_Photo(slider);
}

bool Is_Colour_Slider(a_slider_enum slider) {
    return slider == COLOR_SAT_SLIDER || slider == COLOR_HUE_SLIDER || slider == COLOR_DIST_SLIDER;
}

}  // namespace

bool Delta_Photo(a_slider_enum slider) {
    // The colour sliders carry no step of their own: on a photo they colourise it.
    int op = Is_Colour_Slider(slider) ? OP_PHOTO_COLORIZE : OP_NOP;
    return For_Selected(
        op, [slider](const a_oj_item&, a_ph_rec& ph) { return Slider_To_PH(slider, ph); });
}

void Photo_Sliders_Attach() {
    for (a_slider_enum s :
         {PHOTO_SIZE_SLIDER,         PHOTO_SIZEH_SLIDER,        PHOTO_SIZEV_SLIDER,
          PHOTO_ANGLE_SLIDER,        PHOTO_DARKNESS_SLIDER,     PHOTO_OPACITY_SLIDER,
          PHOTO_CORNER_SLIDER,       PHOTO_FEATHER_SLIDER,      PHOTO_EDGE_BORDER_SLIDER,
          PHOTO_EDGE_OUTLINE_SLIDER, PHOTO_EDGE_SCALLOP_SLIDER, PHOTO_EDGE_ROUGH_SLIDER,
          PHOTO_SHAD_DX_SLIDER,      PHOTO_SHAD_DY_SLIDER,      PHOTO_SHAD_OPACITY_SLIDER,
          PHOTO_SHAD_RADIUS_SLIDER,  SYMBOL_SIZE_SLIDER,        SYMBOL_ANGLE_SLIDER,
          SYMBOL_OPACITY_SLIDER,     COLOR_SAT_SLIDER,          COLOR_HUE_SLIDER,
          COLOR_DIST_SLIDER})
        Slider_Set_Action(s, Slider_Changed);
}

bool Photo_Set_Toggle(a_toggle_enum toggle, bool on) {
    gs.toggle_vals[toggle] = on;
    return For_Selected(OP_PHOTO_ADJUST, [toggle, on](const a_oj_item&, a_ph_rec& ph) {
        a_spec& s = ph.spec;
        switch (toggle) {
            case PHOTO_WTRANSP_TOGGLE:
                s.wtransp = on;
                return true;
            case PHOTO_SHADOW_TOGGLE:
                s.shadf = on;
                return true;
            case PHOTO_CONSTRAIN_TOGGLE:
                s.constrainf = on;
                if (on) s.scalingv = s.scalingh;
                return true;
            default:
                return false;
        }
    });
}

bool Photo_Set_Edge_Style(int style) {
    if (style < EDGE_NONE || style > EDGE_ROUGH) return false;
    gs.grid_vals[EDGE_STYLE_GRID] = int16_t(style);
    // A border of no width would show nothing: it comes at the usual width.
    const int16_t visible = g_sliders[PHOTO_EDGE_BORDER_SLIDER].defaultval;
    if (style != EDGE_NONE && gs.slider_vals[PHOTO_EDGE_BORDER_SLIDER] <= 0)
        Slider_Blast(visible, PHOTO_EDGE_BORDER_SLIDER);
    return For_Selected(OP_PHOTO_ADJUST, [style, visible](const a_oj_item&, a_ph_rec& ph) {
        ph.spec.edge_kind = int16_t(style);
        if (style != EDGE_NONE && ph.spec.edge_border <= 0) ph.spec.edge_border = visible;
        return true;
    });
}

bool Photo_Set_Edge_Color(bool outline, a_win_pixel32 color) {
    (outline ? gs.edge_outl_color : gs.edge_bord_color) = color;
    return For_Selected(OP_PHOTO_ADJUST, [outline, color](const a_oj_item&, a_ph_rec& ph) {
        (outline ? ph.spec.edge_outl_color : ph.spec.edge_bord_color) = color;
        return true;
    });
}

bool Symbol_Set_Color(a_win_pixel32 color) {
    gs.symbol_color = color;
    return For_Selected(OP_SYMBOL_SETCOLOR, [color](const a_oj_item& it, a_ph_rec& ph) {
        if (it.kind != SYMBOL_BLOCK) return false;
        ph.spec.symbol_color = color;
        return true;
    });
}

void Photo_Fit_Command(void (*fit)()) {
    int omx = OMX_NONE;
    if (!Is_One_Selected(omx) || !Curr_PH(omx)) return;
    const a_ph_rec before = *Curr_PH(omx);
    fit();
    const a_ph_rec& after = *Curr_PH(omx);
    if (after.spec.scalingh != before.spec.scalingh ||
        after.spec.scalingv != before.spec.scalingv || after.dst_center != before.dst_center)
        History_Set_Pending(Curr_Item(omx)->kind == SYMBOL_BLOCK ? OP_SYMBOL_SIZE : OP_PHOTO_SIZE);
}
