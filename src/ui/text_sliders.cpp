#include "ui/text_sliders.h"

#include <algorithm>

#include "platform/fonts.h"
#include "text/text_blocks.h"
#include "tracks/import.h"
#include "tracks/inject_plan.h"
#include "ui/interface.h"
#include "ui/text_cmds.h"
#include "ui/sliders.h"

a_win_pixel32 g_text_swatches[NTEXT_SWATCHES] = {
    {0, 0, 0, 0}, {255, 255, 255, 0}, {0, 0, 0, 0}, {0, 200, 255, 0}};  // glow gold, as a new block's

namespace {

struct a_field_slider {
    int16_t a_om_rec::*field;
    a_slider_enum slider;
};
// Every member with a slider of its own but the size and the four spoke
// sliders (which only spokes take).
constexpr a_field_slider FIELD_SLIDERS[] = {
    {&a_om_rec::hspacing, TEXT_HSPACING_SLIDER},
    {&a_om_rec::vspacing, TEXT_VSPACING_SLIDER},
    {&a_om_rec::radius, TEXT_RADIUS_SLIDER},
    {&a_om_rec::lineangle, TEXT_LINEANGLE_SLIDER},
    {&a_om_rec::polarangle, TEXT_POLARANGLE_SLIDER},
    {&a_om_rec::contour_margin, TEXT_CMARGIN_SLIDER},
    {&a_om_rec::stretch_h, TEXT_STRETCH_H_SLIDER},
    {&a_om_rec::stretch_v, TEXT_STRETCH_V_SLIDER},
    {&a_om_rec::skew_h, TEXT_SKEW_H_SLIDER},
    {&a_om_rec::skew_v, TEXT_SKEW_V_SLIDER},
    {&a_om_rec::shad_dx, TEXT_SHAD_DX_SLIDER},
    {&a_om_rec::shad_dy, TEXT_SHAD_DY_SLIDER},
    {&a_om_rec::shad_opacity, TEXT_SHAD_OPACITY_SLIDER},
    {&a_om_rec::shad_radius, TEXT_SHAD_RADIUS_SLIDER},
    {&a_om_rec::glow_opacity, TEXT_GLOW_OPACITY_SLIDER},
    {&a_om_rec::glow_radius, TEXT_GLOW_RADIUS_SLIDER},
    {&a_om_rec::outl_radius, TEXT_OUTL_RADIUS_SLIDER},
    {&a_om_rec::opacity, TEXT_OPACITY_SLIDER},
};
constexpr a_field_slider SPOKE_SLIDERS[] = {
    {&a_om_rec::spoke_outerd, TEXT_SPOKE_OUTERD_SLIDER},
    {&a_om_rec::spoke_thickness, TEXT_SPOKE_THICKNESS_SLIDER},
    {&a_om_rec::spoke_totangle, TEXT_SPOKE_TOTANGLE_SLIDER},
    {&a_om_rec::spoke_twist, TEXT_SPOKE_TWIST_SLIDER},
};

struct a_field_toggle {
    bool a_om_rec::*field;
    a_toggle_enum toggle;
};
constexpr a_field_toggle FIELD_TOGGLES[] = {
    {&a_om_rec::boldf, TEXT_BOLD_TOGGLE}, {&a_om_rec::italf, TEXT_ITAL_TOGGLE},
    {&a_om_rec::outlf, TEXT_OUTL_TOGGLE}, {&a_om_rec::glowf, TEXT_GLOW_TOGGLE},
    {&a_om_rec::shadf, TEXT_SHAD_TOGGLE},
};

struct a_field_swatch {
    a_win_pixel32 a_om_rec::*field;
    a_text_swatch swatch;
};
constexpr a_field_swatch FIELD_SWATCHES[] = {
    {&a_om_rec::base_color, SWATCH_BASE}, {&a_om_rec::outl_color, SWATCH_OUTL},
    {&a_om_rec::shad_color, SWATCH_SHAD}, {&a_om_rec::glow_color, SWATCH_GLOW},
};

struct a_field_bar {
    a_win_pixel32 a_om_rec::*field;
    a_bar_enum bar;
};
constexpr a_field_bar COLOR_BARS[] = {
    {&a_om_rec::base_color, PAINT_COLORBAR}, {&a_om_rec::outl_color, TEXT_OUTL_COLORBAR},
    {&a_om_rec::shad_color, TEXT_SHAD_COLORBAR}, {&a_om_rec::glow_color, TEXT_GLOW_COLORBAR},
};

bool g_loading = false;
a_listener_token g_tokens[3] = {};

bool Is_Circ(int layout) { return layout == LAYOUT_CIRC_CW || layout == LAYOUT_CIRC_CCW; }
bool Is_Spiral(int layout) { return layout == LAYOUT_SPIRAL_CW || layout == LAYOUT_SPIRAL_CCW; }

// The grid that shows the block's justification, and how it maps.
a_grid_enum Just_Grid(int layout) {
    if (layout == LAYOUT_VERT) return TEXT_VJUST_GRID;
    if (layout == LAYOUT_CONTOUR) return TEXT_CJUST_GRID;
    return TEXT_HJUST_GRID;
}

}  // namespace

bool Text_Sliders_Loading() { return g_loading; }

void Sliders_To_OM(a_om_rec& om) {
    if (int f = gs.bar_selection[FONT_BAR]; f >= 1 && f <= Font_Count()) om.fontx = uint32_t(f);
    om.size = gs.slider_vals[TEXT_SIZE_SLIDER];
    for (const auto& fs : FIELD_SLIDERS) om.*fs.field = gs.slider_vals[fs.slider];
    for (const auto& ft : FIELD_TOGGLES) om.*ft.field = gs.toggle_vals[ft.toggle];
    om.undf = false;
    for (const auto& sw : FIELD_SWATCHES) om.*sw.field = g_text_swatches[sw.swatch];
    om.glow_style = -1;
    om.targwidth = 0;
    int layout = std::clamp<int>(gs.grid_vals[TEXT_LAYOUT_GRID], 0, NLAYOUTS - 1);
    if (Is_Circ(layout) && !Is_Circ(om.layout)) gs.grid_vals[TEXT_HJUST_GRID] = JUST_CENTER;
    om.layout = uint8_t(layout);
    if (layout == LAYOUT_90) om.lineangle = 900;
    if (layout == LAYOUT_270) om.lineangle = 2700;
    if (layout == LAYOUT_VERT || layout == LAYOUT_CONTOUR) om.lineangle = 0;
    if (layout == LAYOUT_CONTOUR || layout == LAYOUT_VERT) {
        om.justify = gs.grid_vals[Just_Grid(layout)] == 0 ? JUST_LEFT : JUST_RIGHT;
    } else if (!Is_Spiral(layout)) {
        om.justify = uint8_t(std::clamp<int>(gs.grid_vals[TEXT_HJUST_GRID], JUST_LEFT, JUST_RIGHT));
    }
    if (layout == LAYOUT_SPOKE)
        for (const auto& fs : SPOKE_SLIDERS) om.*fs.field = gs.slider_vals[fs.slider];
    OM_Clear_Caches(om);
    om.size = Clamp_Text_Size(om.size, om.layout);
    g_sliders[TEXT_SIZE_SLIDER].maxval = TEXT_LAYOUT_SIZE_LIMITS[om.layout];
    Slider_Blast_Invis(om.size, TEXT_SIZE_SLIDER);
}

void OM_To_Sliders(const a_om_rec& om) {
    g_loading = true;
    gs.bar_selection[FONT_BAR] = int16_t(om.fontx);
    g_sliders[TEXT_SIZE_SLIDER].maxval = TEXT_LAYOUT_SIZE_LIMITS[om.layout < NLAYOUTS ? om.layout : 0];
    Slider_Blast(om.size, TEXT_SIZE_SLIDER);
    for (const auto& fs : FIELD_SLIDERS) Slider_Blast(om.*fs.field, fs.slider);
    for (const auto& fs : SPOKE_SLIDERS) Slider_Blast(om.*fs.field, fs.slider);
    for (const auto& ft : FIELD_TOGGLES) gs.toggle_vals[ft.toggle] = om.*ft.field;
    gs.toggle_vals[TEXT_UNDL_TOGGLE] = om.undf;
    for (const auto& sw : FIELD_SWATCHES) g_text_swatches[sw.swatch] = om.*sw.field;
    for (const auto& cb : COLOR_BARS) gs.bar_selection[cb.bar] = int16_t(Find_In_Palette32(om.*cb.field));
    gs.grid_vals[TEXT_LAYOUT_GRID] = om.layout;
    if (om.layout == LAYOUT_CONTOUR || om.layout == LAYOUT_VERT)
        gs.grid_vals[Just_Grid(om.layout)] = om.justify == JUST_LEFT ? 0 : 1;
    else
        gs.grid_vals[TEXT_HJUST_GRID] = om.justify;
    g_loading = false;
}

void Text_Sliders_Plain() {
    gs.grid_vals[TEXT_LAYOUT_GRID] = LAYOUT_HORZ;
    gs.grid_vals[TEXT_HJUST_GRID] = JUST_LEFT;
    gs.grid_vals[TEXT_VJUST_GRID] = 0;
    g_sliders[TEXT_SIZE_SLIDER].maxval = TEXT_LAYOUT_SIZE_LIMITS[LAYOUT_HORZ];
    Slider_Blast(INJECT_SIZE, TEXT_SIZE_SLIDER);
    Slider_Blast(0, TEXT_LINEANGLE_SLIDER);
}

void Text_Sliders_Init() {
    g_tokens[0] = g_text_services.sliders_to_om.Install([](a_om_rec& om) { Sliders_To_OM(om); });
    g_tokens[1] = g_text_services.radius_value.Install([] { return int(gs.slider_vals[TEXT_RADIUS_SLIDER]); });
    g_tokens[2] = g_track_services.plain_text.Install([] { Text_Sliders_Plain(); });
}

void Text_Sliders_Stop() {
    g_text_services.sliders_to_om.Remove(g_tokens[0]);
    g_text_services.radius_value.Remove(g_tokens[1]);
    g_track_services.plain_text.Remove(g_tokens[2]);
}
