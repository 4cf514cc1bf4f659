#include "ui/print_sliders.h"

#include "model/doc_media.h"
#include "model/document.h"
#include "print/print_adjust.h"
#include "ui/interface.h"

namespace {

a_print_adjust From_Sliders() {
    a_print_adjust v;
    v.innerd = gs.slider_vals[PRINT_INNERD_SLIDER];
    v.outerd = gs.slider_vals[PRINT_OUTERD_SLIDER];
    v.side = gs.slider_vals[PRINT_BIZSIDE_SLIDER];
    v.width = gs.slider_vals[PRINT_WIDTH_SLIDER];
    v.height = gs.slider_vals[PRINT_HEIGHT_SLIDER];
    v.density = gs.slider_vals[PRINT_DENSITY_SLIDER];
    v.quality = gs.slider_vals[PRINT_QUALITY_SLIDER];
    return v;
}

}  // namespace

std::vector<a_slider_enum> Print_Adjust_Sliders() {
    if (!g_doc.doc_open) return {};
    switch (Calc_Direct_Print_Kind()) {
    case CD_DIRECT:
    case MINICD_DIRECT: return {PRINT_INNERD_SLIDER, PRINT_OUTERD_SLIDER};
    case HOCKEY_DIRECT: return {PRINT_INNERD_SLIDER, PRINT_OUTERD_SLIDER, PRINT_BIZSIDE_SLIDER};
    case RECT_DIRECT: return {PRINT_INNERD_SLIDER, PRINT_WIDTH_SLIDER, PRINT_HEIGHT_SLIDER};
    default: return {};
    }
}

void Print_Sliders_Load() {
    if (!g_doc.doc_open) return;
    a_direct_print_kind kind = Calc_Direct_Print_Kind();
    Slider_Set_Direct_Kind(kind);
    if (kind == NOT_DIRECT) return;
    a_print_media_spec spec;
    Get_Media_Specs(spec);
    a_print_adjust v = Load_Print_Adjust(spec, kind);
    Slider_Blast_Invis(v.innerd, PRINT_INNERD_SLIDER);
    if (kind == RECT_DIRECT) {
        Slider_Blast_Invis(v.width, PRINT_WIDTH_SLIDER);
        Slider_Blast_Invis(v.height, PRINT_HEIGHT_SLIDER);
        return;
    }
    Slider_Blast_Invis(v.outerd, PRINT_OUTERD_SLIDER);
    Slider_Blast_Invis(v.side, PRINT_BIZSIDE_SLIDER);
}

void Print_Sliders_Attach() {
    for (a_slider_enum s : {PRINT_INNERD_SLIDER, PRINT_OUTERD_SLIDER, PRINT_BIZSIDE_SLIDER, PRINT_WIDTH_SLIDER,
                            PRINT_HEIGHT_SLIDER})
        Slider_Set_Action(s, [](a_slider_enum) {
            if (g_doc.doc_open && Calc_Direct_Print_Kind() != NOT_DIRECT) Final_Print_Adjust(From_Sliders());
        });
    Slider_Set_Action(PRINT_NCOPIES_SLIDER, [](a_slider_enum s) { g_print_options.copies = gs.slider_vals[s]; });
    Slider_Set_Action(FLEX_DENSITY_SLIDER, [](a_slider_enum s) { g_print_options.flex_density = gs.slider_vals[s]; });
    Slider_Set_Action(FLEX_SPEED_SLIDER, [](a_slider_enum s) { g_print_options.flex_speed = gs.slider_vals[s]; });
}

void Print_Options_Load() {
    Slider_Blast_Invis(g_print_options.copies, PRINT_NCOPIES_SLIDER);
    Slider_Blast_Invis(g_print_options.flex_density, FLEX_DENSITY_SLIDER);
    Slider_Blast_Invis(g_print_options.flex_speed, FLEX_SPEED_SLIDER);
    gs.toggle_vals[LASERJET_TOGGLE] = g_print_options.laserjet;
    gs.toggle_vals[FLEX_GRAY_TOGGLE] = g_print_options.flex_gray;
}

void Print_Toggle_Set(a_toggle_enum toggle, bool on) {
    if (toggle == FLEX_GRAY_TOGGLE) g_print_options.flex_gray = on;
    else if (toggle == LASERJET_TOGGLE) g_print_options.laserjet = on;
    else return;
    gs.toggle_vals[toggle] = on;
    if (toggle == LASERJET_TOGGLE) g_print_nudged.Emit();
}
