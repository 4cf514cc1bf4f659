#include "ui/photo_sliders.h"

#include "ui/interface.h"
#include "ui/sliders.h"

namespace {

// The fields that have a slider of their own, photo and symbol alike.
struct a_field_slider {
    int16_t a_spec::*field;
    a_slider_enum slider;
};
constexpr a_field_slider FIELD_SLIDERS[] = {
    {&a_spec::darkness, PHOTO_DARKNESS_SLIDER},
    {&a_spec::corner, PHOTO_CORNER_SLIDER},
    {&a_spec::feather, PHOTO_FEATHER_SLIDER},
    {&a_spec::edge_border, PHOTO_EDGE_BORDER_SLIDER},
    {&a_spec::edge_outline, PHOTO_EDGE_OUTLINE_SLIDER},
    {&a_spec::edge_scallop, PHOTO_EDGE_SCALLOP_SLIDER},
    {&a_spec::edge_rough, PHOTO_EDGE_ROUGH_SLIDER},
    {&a_spec::color_sat, COLOR_SAT_SLIDER},
    {&a_spec::color_hue, COLOR_HUE_SLIDER},
    {&a_spec::color_dist, COLOR_DIST_SLIDER},
    {&a_spec::shad_dx, PHOTO_SHAD_DX_SLIDER},
    {&a_spec::shad_dy, PHOTO_SHAD_DY_SLIDER},
    {&a_spec::shad_opacity, PHOTO_SHAD_OPACITY_SLIDER},
    {&a_spec::shad_radius, PHOTO_SHAD_RADIUS_SLIDER},
};

struct a_field_toggle {
    bool a_spec::*field;
    a_toggle_enum toggle;
};
constexpr a_field_toggle FIELD_TOGGLES[] = {
    {&a_spec::wtransp, PHOTO_WTRANSP_TOGGLE},
    {&a_spec::shadf, PHOTO_SHADOW_TOGGLE},
    {&a_spec::constrainf, PHOTO_CONSTRAIN_TOGGLE},
};

a_slider_enum Size_Slider(const a_spec& s) { return s.is_symbol ? SYMBOL_SIZE_SLIDER : PHOTO_SIZE_SLIDER; }
a_slider_enum Angle_Slider(const a_spec& s) { return s.is_symbol ? SYMBOL_ANGLE_SLIDER : PHOTO_ANGLE_SLIDER; }
a_slider_enum Opacity_Slider(const a_spec& s) {
    return s.is_symbol ? SYMBOL_OPACITY_SLIDER : PHOTO_OPACITY_SLIDER;
}

}  // namespace

void PH_To_Sliders(const a_ph_rec& ph) {
    const a_spec& s = ph.spec;
    Slider_Blast(s.scalingh, Size_Slider(s));
    Slider_Blast(s.scalingh, PHOTO_SIZEH_SLIDER);
    Slider_Blast(s.scalingv, PHOTO_SIZEV_SLIDER);
    Slider_Blast(s.angle, Angle_Slider(s));
    Slider_Blast(s.opacity, Opacity_Slider(s));
    for (const auto& fs : FIELD_SLIDERS) Slider_Blast(s.*fs.field, fs.slider);
    for (const auto& ft : FIELD_TOGGLES) gs.toggle_vals[ft.toggle] = s.*ft.field;
    gs.grid_vals[EDGE_STYLE_GRID] = s.edge_kind;
    gs.edge_bord_color = s.edge_bord_color;
    gs.edge_outl_color = s.edge_outl_color;
}

void Sliders_To_PH(a_ph_rec& ph) {
    a_spec& s = ph.spec;
    for (const auto& ft : FIELD_TOGGLES) s.*ft.field = gs.toggle_vals[ft.toggle];
    if (s.constrainf || s.is_symbol) {
        s.scalingh = s.scalingv = gs.slider_vals[Size_Slider(s)];
    } else {
        s.scalingh = gs.slider_vals[PHOTO_SIZEH_SLIDER];
        s.scalingv = gs.slider_vals[PHOTO_SIZEV_SLIDER];
    }
    s.angle = gs.slider_vals[Angle_Slider(s)];
    s.opacity = gs.slider_vals[Opacity_Slider(s)];
    for (const auto& fs : FIELD_SLIDERS) s.*fs.field = gs.slider_vals[fs.slider];
    s.edge_kind = gs.grid_vals[EDGE_STYLE_GRID];
    s.edge_bord_color = gs.edge_bord_color;
    s.edge_outl_color = gs.edge_outl_color;
}

bool Slider_To_PH(a_slider_enum slider, a_ph_rec& ph) {
    a_spec& s = ph.spec;
    const int16_t v = gs.slider_vals[slider];
    const bool photo = !s.is_symbol;
    switch (slider) {
        case PHOTO_SIZE_SLIDER:
        case SYMBOL_SIZE_SLIDER:
            if (slider != Size_Slider(s) || (photo && !s.constrainf)) return false;
            s.scalingh = s.scalingv = v;
            return true;
        case PHOTO_SIZEH_SLIDER:
        case PHOTO_SIZEV_SLIDER:
            if (!photo || s.constrainf) return false;
            (slider == PHOTO_SIZEH_SLIDER ? s.scalingh : s.scalingv) = v;
            return true;
        case PHOTO_ANGLE_SLIDER:
        case SYMBOL_ANGLE_SLIDER:
            if (slider != Angle_Slider(s)) return false;
            s.angle = v;
            return true;
        case PHOTO_OPACITY_SLIDER:
        case SYMBOL_OPACITY_SLIDER:
            if (slider != Opacity_Slider(s)) return false;
            s.opacity = v;
            return true;
        default:
            for (const auto& fs : FIELD_SLIDERS)
                if (fs.slider == slider) {
                    s.*fs.field = v;
                    return true;
                }
            return false;
    }
}
