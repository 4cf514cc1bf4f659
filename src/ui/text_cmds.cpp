#include "ui/text_cmds.h"

#include <algorithm>

#include "model/notices.h"
#include "model/ph_blocks.h"
#include "model/selection.h"
#include "pixels/pixmap.h"
#include "platform/fonts.h"
#include "text/text_blocks.h"
#include "text/text_edit.h"
#include "text/text_layout.h"
#include "ui/sliders.h"
#include "ui/text_sliders.h"

namespace {

// The first selected text block of the current unit.
a_om_rec* First_Text(int& omx) {
    for (int i = OMX_START; Selection_Enum(i);)
        if (a_om_rec* om = Curr_OM(i)) {
            omx = i;
            return om;
        }
    return nullptr;
}

// Spokes on a disc begin outside its hole: the thickness slider is lowered
// until the inner end clears it (a margin of a fortieth of the disc).
void Spokes_Clear_Of_Hole() {
    const a_text_unit u = Curr_Text_Unit();
    if (u.disc <= 0 || u.hole <= 0) return;
    const int outer = Radius_To_Pixels(u, gs.slider_vals[TEXT_SPOKE_OUTERD_SLIDER]);
    const int clear = u.hole / 2 + u.disc / 40;
    if (outer <= clear) return;
    const int most = 100 - (100 * clear + outer - 1) / outer;  // inner = (100 - t) % of outer >= clear
    if (gs.slider_vals[TEXT_SPOKE_THICKNESS_SLIDER] > most)
        Slider_Blast(std::max<int>(most, g_sliders[TEXT_SPOKE_THICKNESS_SLIDER].minval), TEXT_SPOKE_THICKNESS_SLIDER);
}

// A parameter of an effect changed: the effect is turned on, unless its
// toggle is disabled.
bool Effect_Changed(a_toggle_enum t, int op) {
    if (!gs.toggle_disabled[t]) gs.toggle_vals[t] = true;
    return Delta_Text(op);
}

int Swatch_Of(a_bar_enum bar) {
    switch (bar) {
        case PAINT_COLORBAR: return SWATCH_BASE;
        case TEXT_OUTL_COLORBAR: return SWATCH_OUTL;
        case TEXT_SHAD_COLORBAR: return SWATCH_SHAD;
        case TEXT_GLOW_COLORBAR: return SWATCH_GLOW;
        default: return -1;
    }
}

// Characters of the edited block are selected: the style controls act on them.
bool Range_Styling() { return gs.curr_phase == TEXT_PHASE && Is_Text_Range(); }

// A change to the selected characters is a step of its own.
bool Range_Step(bool applied) {
    if (!applied) return false;
    History_Set_Pending(OP_TEXT_EDIT);
    Edit_Recorded();
    return true;
}

}  // namespace

void Set_Style_Sliders() {
    const a_char_overrides o = Sel_Overrides();
    gs.slider_vals[TEXTR_SIZE_SLIDER] = o.size;
    gs.slider_vals[TEXTR_ANGLE_SLIDER] = o.angle;
    gs.slider_vals[TEXTR_DX_SLIDER] = o.dx;
    gs.slider_vals[TEXTR_DY_SLIDER] = o.dy;
    gs.toggle_vals[TEXTR_BOLD_TOGGLE] = o.bold;
    gs.toggle_vals[TEXTR_ITAL_TOGGLE] = o.italic;
    gs.toggle_vals[TEXTR_UNDL_TOGGLE] = o.underline;
}

bool Delta_Text_Override() {
    if (!Range_Styling()) return false;
    a_char_overrides o;
    o.size = int16_t(std::clamp<int>(gs.slider_vals[TEXTR_SIZE_SLIDER], 20, 300));
    o.angle = int16_t(std::clamp<int>(gs.slider_vals[TEXTR_ANGLE_SLIDER], -1800, 1800));
    o.dx = int16_t(std::clamp<int>(gs.slider_vals[TEXTR_DX_SLIDER], -100, 100));
    o.dy = int16_t(std::clamp<int>(gs.slider_vals[TEXTR_DY_SLIDER], -100, 100));
    o.bold = gs.toggle_vals[TEXTR_BOLD_TOGGLE];
    o.italic = gs.toggle_vals[TEXTR_ITAL_TOGGLE];
    o.underline = gs.toggle_vals[TEXTR_UNDL_TOGGLE];
    return Range_Step(Apply_Overrides(o));
}

void Text_Clear_Overrides() {
    gs.toggle_vals[TEXTR_BOLD_TOGGLE] = gs.toggle_vals[TEXTR_ITAL_TOGGLE] = gs.toggle_vals[TEXTR_UNDL_TOGGLE] = false;
    gs.slider_vals[TEXTR_SIZE_SLIDER] = 100;
    gs.slider_vals[TEXTR_ANGLE_SLIDER] = gs.slider_vals[TEXTR_DX_SLIDER] = gs.slider_vals[TEXTR_DY_SLIDER] = 0;
    (void)Delta_Text_Override();
}

bool Text_Style_Toggle(a_toggle_enum t, bool on) {
    const a_toggle_enum r = t == TEXT_BOLD_TOGGLE ? TEXTR_BOLD_TOGGLE
                            : t == TEXT_ITAL_TOGGLE ? TEXTR_ITAL_TOGGLE
                            : t == TEXT_UNDL_TOGGLE ? TEXTR_UNDL_TOGGLE
                                                    : NULL_TOGGLE;
    if (r != NULL_TOGGLE && Range_Styling()) {
        Set_Style_Sliders();  // the other overrides stay as the characters have them
        gs.toggle_vals[r] = on;
        return Delta_Text_Override();
    }
    gs.toggle_vals[t] = on;
    return Delta_Text_Major();
}

int Find_In_Palette32(a_win_pixel32 color) {
    const uint32_t want = uint32_t(color.r) << 16 | uint32_t(color.g) << 8 | color.b;
    const a_color_table& pal = g_video.main_colors32;
    for (int i = 0; i < std::min(pal.count, 256); ++i)
        if ((pal.c[i] & 0xFFFFFF) == want) return i + 1;
    return 0;
}

a_win_pixel32 Palette_Color(int index) {
    const a_color_table& pal = g_video.main_colors32;
    if (index < 1 || index > std::min(pal.count, 256)) return a_win_pixel32{};
    const uint32_t c = pal.c[index - 1];
    return a_win_pixel32{uint8_t(c), uint8_t(c >> 8), uint8_t(c >> 16), 0};
}

bool Delta_Text(int op) {
    if (Text_Sliders_Loading()) return false;
    int omx = 0;
    a_om_rec* om = First_Text(omx);
    if (!om) return false;
    Begin_Text_Change(omx);
    Sliders_To_OM(*om);
    End_Text_Change(omx);
    if (op != OP_NOP) History_Set_Pending(op);
    return true;
}

bool Delta_Text_Major() { return Delta_Text(OP_TEXT_ADJUST); }
bool Delta_Text_Minor() { return Delta_Text(OP_NOP); }
bool Delta_Glow() { return Effect_Changed(TEXT_GLOW_TOGGLE, OP_TEXT_ADJUST); }
bool Delta_Shad() { return Effect_Changed(TEXT_SHAD_TOGGLE, OP_TEXT_ADJUST); }
bool Delta_Outl() { return Effect_Changed(TEXT_OUTL_TOGGLE, OP_TEXT_ADJUST); }

bool Delta_Text_Layout() {
    const int layout = std::clamp<int>(gs.grid_vals[TEXT_LAYOUT_GRID], 0, NLAYOUTS - 1);
    if (layout == LAYOUT_HORZ) Slider_Blast(0, TEXT_LINEANGLE_SLIDER);
    if (layout == LAYOUT_SPOKE) Spokes_Clear_Of_Hole();
    // The size limit follows the grid even with no block selected, so that
    // the next new block starts within it.
    g_sliders[TEXT_SIZE_SLIDER].maxval = TEXT_LAYOUT_SIZE_LIMITS[layout];
    Slider_Blast(gs.slider_vals[TEXT_SIZE_SLIDER], TEXT_SIZE_SLIDER);
    return Delta_Text(OP_TEXT_LAYOUT);
}

bool Delta_Horz_Just() {
    int omx = 0;
    a_om_rec* om = First_Text(omx);
    if (!om || Text_Sliders_Loading()) return false;
    Begin_Text_Change(omx);
    Set_Text_Block_HJust(*om, uint8_t(std::clamp<int>(gs.grid_vals[TEXT_HJUST_GRID], JUST_LEFT, JUST_RIGHT)));
    End_Text_Change(omx);
    History_Set_Pending(OP_TEXT_JUST);
    return true;
}

bool FontBar_Select(int fontx) {
    if (fontx < 1 || fontx > Font_Count()) return false;
    gs.bar_selection[FONT_BAR] = int16_t(fontx);
    if (Range_Styling()) return Range_Step(Apply_Range_Font(uint32_t(fontx)));
    int omx = 0;
    const a_om_rec* om = First_Text(omx);
    if (!om || om->fontx == uint32_t(fontx)) return false;
    return Delta_Text(OP_TEXT_SETFONT);
}

bool Text_Color_Select(a_bar_enum bar, int index) {
    const int sw = Swatch_Of(bar);
    if (sw < 0 || index < 1 || index > 256) return false;
    if (bar == PAINT_COLORBAR && Range_Styling()) {
        a_win_pixel32 c = Palette_Color(index);
        c.a = 255;  // the character's own colour, not the block's
        return Range_Step(Apply_Range_Color(c));
    }
    gs.bar_selection[bar] = int16_t(index);
    g_text_swatches[sw] = Palette_Color(index);
    return Delta_Text(OP_TEXT_SETCOLOR);
}

bool Text_Color_Set(a_bar_enum bar, a_win_pixel32 colour) {
    const int sw = Swatch_Of(bar);
    if (sw < 0) return false;
    colour.a = 0;
    gs.bar_selection[bar] = int16_t(Find_In_Palette32(colour));
    g_text_swatches[sw] = colour;
    return Delta_Text(OP_TEXT_SETCOLOR);
}

void Text_Plus() { Do_PlusMinus(false, false, true, TEXT_SIZE_SLIDER); }
void Text_Minus() { Do_PlusMinus(false, false, false, TEXT_SIZE_SLIDER); }

void Text_Sliders_Attach() {
    // The slider itself has set the pending step.
    for (a_slider_enum s : {TEXT_SIZE_SLIDER, TEXT_HSPACING_SLIDER, TEXT_VSPACING_SLIDER, TEXT_RADIUS_SLIDER,
                            TEXT_LINEANGLE_SLIDER, TEXT_SPOKE_OUTERD_SLIDER, TEXT_SPOKE_THICKNESS_SLIDER,
                            TEXT_POLARANGLE_SLIDER, TEXT_SPOKE_TOTANGLE_SLIDER, TEXT_SPOKE_TWIST_SLIDER,
                            TEXT_CMARGIN_SLIDER, TEXT_STRETCH_H_SLIDER, TEXT_STRETCH_V_SLIDER,
                            TEXT_SKEW_H_SLIDER, TEXT_SKEW_V_SLIDER, TEXT_OPACITY_SLIDER})
        Slider_Set_Action(s, [](a_slider_enum) { Delta_Text(OP_NOP); });
    for (a_slider_enum s : {TEXT_GLOW_OPACITY_SLIDER, TEXT_GLOW_RADIUS_SLIDER})
        Slider_Set_Action(s, [](a_slider_enum) { Effect_Changed(TEXT_GLOW_TOGGLE, OP_NOP); });
    for (a_slider_enum s : {TEXT_SHAD_DX_SLIDER, TEXT_SHAD_DY_SLIDER, TEXT_SHAD_OPACITY_SLIDER, TEXT_SHAD_RADIUS_SLIDER})
        Slider_Set_Action(s, [](a_slider_enum) { Effect_Changed(TEXT_SHAD_TOGGLE, OP_NOP); });
    Slider_Set_Action(TEXT_OUTL_RADIUS_SLIDER, [](a_slider_enum) { Effect_Changed(TEXT_OUTL_TOGGLE, OP_NOP); });
    for (a_slider_enum s : {TEXTR_SIZE_SLIDER, TEXTR_ANGLE_SLIDER, TEXTR_DX_SLIDER, TEXTR_DY_SLIDER})
        Slider_Set_Action(s, [](a_slider_enum) { (void)Delta_Text_Override(); });
}
