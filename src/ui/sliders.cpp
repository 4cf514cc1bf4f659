#include "ui/sliders.h"

#include <cstdlib>

#include "model/notices.h"
#include "platform/clock.h"
#include "platform/sound.h"
#include "base/messages.h"
#include "base/string_ids.h"
#include "ui/interface.h"

a_slider_item g_sliders[NSLIDERS];
a_slider_signals g_slider_signals;

namespace {

struct a_slider_row {
    a_slider_enum slider;
    int16_t minval, maxval, defaultval, tiny, big, normal;
    a_history_op op;
};

constexpr int16_t kComputed = 0;  // brush spacing: from the current brush

// Ranges, defaults and steps; every value is a signed 16-bit number.
constexpr a_slider_row kTable[] = {
    {CANV_DARKNESS_SLIDER, 0, 95, 50, 0, 5, 1, OP_CANVAS_ADJUST},
    {CANV_FUZZ_IN_SLIDER, 0, 10, 0, 0, 5, 1, OP_CANVAS_ADJUST},
    {CANV_FUZZ_OUT_SLIDER, 0, 10, 0, 0, 5, 1, OP_CANVAS_ADJUST},
    {PAINT_OPACITY_SLIDER, 6, 100, 100, 0, 10, 1, OP_NOP},
    {STAMP_SIZE_SLIDER, 1, 19, 10, 0, 0, 1, OP_NOP},
    {STAMP_ROTATE_SLIDER, -180, 180, 0, 1, 45, 5, OP_NOP},
    {STAMP_SPACING_SLIDER, 1, 60, 30, 0, 0, 1, OP_NOP},
    {STAMP_SPACINGF_SLIDER, -20, 60, 0, 0, 10, 1, OP_NOP},
    {STAMP_DARKNESS_SLIDER, 5, 95, 50, 0, 5, 1, OP_NOP},
    {STAMP_COLORSHIFT_SLIDER, -128, 128, 0, 0, 5, 1, OP_NOP},
    {STAMP_SKEWX_SLIDER, -100, 100, 0, 0, 10, 1, OP_NOP},
    {STAMP_SKEWY_SLIDER, -100, 100, 0, 0, 10, 1, OP_NOP},
    {STAMP_BENDX_SLIDER, -50, 50, 0, 0, 5, 1, OP_NOP},
    {STAMP_BENDY_SLIDER, -50, 50, 0, 0, 5, 1, OP_NOP},
    {STAMP_STRETCH_SLIDER, -50, 50, 0, 0, 5, 1, OP_NOP},
    {BRUSH_SPACING_SLIDER, 1, 60, kComputed, 0, 5, 1, OP_NOP},
    {PAINT_CORNER_SLIDER, 0, 80, 0, 0, 5, 1, OP_NOP},
    {GRAD_TWIST_SLIDER, 0, 1600, 800, 5, 200, 50, OP_NOP},
    {GRAD_ANGLE_SLIDER, -180, 180, 0, 1, 45, 5, OP_NOP},
    {GRAD_REP_SLIDER, 1, 5, 1, 0, 0, 1, OP_NOP},
    {SPRAY_RADIUS_SLIDER, 5, 40, 20, 0, 0, 1, OP_NOP},
    {SYMMETRY_COUNT_SLIDER, 1, 30, 6, 0, 0, 1, OP_NOP},
    {LINE_THICKNESS_SLIDER, 1, 40, 2, 0, 5, 1, OP_NOP},
    {COLOR_SAT_SLIDER, 0, 100, 50, 1, 20, 5, OP_NOP},
    {COLOR_HUE_SLIDER, 0, 359, 0, 0, 0, 100, OP_NOP},
    {COLOR_DIST_SLIDER, 0, 72, 0, 0, 0, 1, OP_NOP},
    {PHOTO_SIZE_SLIDER, 50, 6000, 1000, 1, 100, 10, OP_PHOTO_SIZE},
    {PHOTO_SIZEH_SLIDER, 50, 6000, 1000, 0, 100, 10, OP_PHOTO_SIZE},
    {PHOTO_SIZEV_SLIDER, 50, 6000, 1000, 0, 100, 10, OP_PHOTO_SIZE},
    {PHOTO_ANGLE_SLIDER, -1800, 1800, 0, 1, 450, 10, OP_PHOTO_ANGLE},
    {PHOTO_DARKNESS_SLIDER, 5, 95, 50, 0, 5, 1, OP_PHOTO_ADJUST},
    {PHOTO_OPACITY_SLIDER, 6, 100, 100, 0, 10, 1, OP_PHOTO_OPACITY},
    {PHOTO_CORNER_SLIDER, 0, 100, 0, 0, 5, 1, OP_PHOTO_ADJUST},
    {PHOTO_FEATHER_SLIDER, 0, 40, 0, 0, 5, 1, OP_PHOTO_ADJUST},
    {PHOTO_EDGE_BORDER_SLIDER, 0, 40, 8, 0, 10, 1, OP_PHOTO_ADJUST},
    {PHOTO_EDGE_OUTLINE_SLIDER, 0, 40, 1, 0, 10, 1, OP_PHOTO_ADJUST},
    {PHOTO_EDGE_SCALLOP_SLIDER, 10, 90, 60, 0, 10, 1, OP_PHOTO_ADJUST},
    {PHOTO_EDGE_ROUGH_SLIDER, 1, 20, 10, 0, 0, 1, OP_PHOTO_ADJUST},
    {PHOTO_SHAD_DX_SLIDER, -40, 40, 4, 0, 5, 1, OP_PHOTO_ADJUST},
    {PHOTO_SHAD_DY_SLIDER, -40, 40, 4, 0, 5, 1, OP_PHOTO_ADJUST},
    {PHOTO_SHAD_OPACITY_SLIDER, 6, 100, 75, 0, 10, 1, OP_PHOTO_ADJUST},
    {PHOTO_SHAD_RADIUS_SLIDER, 0, 8, 2, 0, 0, 1, OP_PHOTO_ADJUST},
    {SYMBOL_SIZE_SLIDER, 50, 3000, 800, 1, 100, 10, OP_SYMBOL_SIZE},
    {SYMBOL_ANGLE_SLIDER, -1800, 1800, 0, 1, 450, 10, OP_SYMBOL_ANGLE},
    {SYMBOL_OPACITY_SLIDER, 6, 100, 100, 0, 4, 1, OP_SYMBOL_OPACITY},
    {TEXT_SIZE_SLIDER, 5, 288, 14, 0, 1, 1, OP_TEXT_SIZE},  // the horizontal layout's limit
    {TEXT_HSPACING_SLIDER, 80, 200, 100, 0, 10, 1, OP_TEXT_ADJUST},
    {TEXT_VSPACING_SLIDER, 20, 300, 100, 1, 10, 2, OP_TEXT_ADJUST},
    {TEXT_RADIUS_SLIDER, 20, 180, 95, 0, 10, 1, OP_TEXT_ADJUST},
    {TEXT_LINEANGLE_SLIDER, -1800, 1800, 0, 1, 450, 10, OP_TEXT_ANGLE},
    {TEXT_SPOKE_OUTERD_SLIDER, 50, 100, 95, 0, 10, 1, OP_TEXT_ADJUST},
    {TEXT_SPOKE_THICKNESS_SLIDER, 20, 100, 80, 0, 5, 1, OP_TEXT_ADJUST},
    {TEXT_POLARANGLE_SLIDER, -180, 180, 0, 0, 45, 1, OP_TEXT_ADJUST},
    {TEXT_SPOKE_TOTANGLE_SLIDER, 45, 360, 360, 1, 45, 5, OP_TEXT_ADJUST},
    {TEXT_SPOKE_TWIST_SLIDER, 0, 45, 5, 0, 20, 1, OP_TEXT_ADJUST},
    {TEXT_CMARGIN_SLIDER, 0, 30, 5, 0, 5, 1, OP_TEXT_ADJUST},
    {TEXT_STRETCH_H_SLIDER, 0, 100, 0, 1, 20, 2, OP_TEXT_ADJUST},
    {TEXT_STRETCH_V_SLIDER, 0, 100, 0, 1, 20, 2, OP_TEXT_ADJUST},
    {TEXT_SKEW_H_SLIDER, 0, 50, 0, 0, 10, 1, OP_TEXT_ADJUST},
    {TEXT_SKEW_V_SLIDER, 0, 50, 0, 0, 10, 1, OP_TEXT_ADJUST},
    {TEXT_SHAD_DX_SLIDER, -100, 100, 4, 0, 10, 1, OP_TEXT_ADJUST},
    {TEXT_SHAD_DY_SLIDER, -100, 100, 4, 0, 10, 1, OP_TEXT_ADJUST},
    {TEXT_SHAD_OPACITY_SLIDER, 10, 100, 75, 0, 10, 1, OP_TEXT_ADJUST},
    {TEXT_SHAD_RADIUS_SLIDER, 0, 8, 1, 0, 0, 1, OP_TEXT_ADJUST},
    {TEXT_GLOW_OPACITY_SLIDER, 6, 100, 90, 0, 10, 1, OP_TEXT_ADJUST},
    {TEXT_GLOW_RADIUS_SLIDER, 1, 30, 8, 0, 0, 1, OP_TEXT_ADJUST},
    {TEXT_OUTL_RADIUS_SLIDER, 1, 30, 2, 0, 0, 1, OP_TEXT_ADJUST},
    {TEXT_OPACITY_SLIDER, 6, 100, 100, 0, 10, 1, OP_TEXT_OPACITY},
    {PACK_CLOCK_NINNER_SLIDER, 2, 16, 4, 0, 0, 1, OP_PHOTO_ADJUST},
    {PACK_CLOCK_NOUTER_SLIDER, 2, 16, 6, 0, 0, 1, OP_PHOTO_ADJUST},
    {PACK_CLOCK_TOTANGLE_SLIDER, 45, 360, 360, 2, 45, 5, OP_PHOTO_ADJUST},
    {PACK_CLOCK_START_SLIDER, -180, 180, 0, 1, 45, 5, OP_PHOTO_ADJUST},
    {PACK_CLOCK_SPACING_SLIDER, 0, 10, 3, 0, 5, 1, OP_PHOTO_ADJUST},
    {PACK_CLOCK_THICKNESS_SLIDER, 20, 100, 50, 0, 5, 1, OP_PHOTO_ADJUST},
    {PACK_CLOCK_OUTERD_SLIDER, 50, 100, 95, 0, 10, 1, OP_PHOTO_ADJUST},
    {PACK_OUTLINE_SLIDER, 0, 20, 0, 0, 0, 1, OP_PHOTO_ADJUST},
    {PACK_GRID_NX_SLIDER, 1, 12, 6, 0, 0, 1, OP_PHOTO_ADJUST},
    {PACK_GRID_NY_SLIDER, 1, 12, 6, 0, 0, 1, OP_PHOTO_ADJUST},
    {PACK_GRID_SPACING_SLIDER, 0, 10, 3, 0, 5, 1, OP_PHOTO_ADJUST},
    {PACK_GRID_CORNER_SLIDER, 0, 100, 0, 0, 5, 1, OP_PHOTO_ADJUST},
    {PACK_ITEM_SIZE_SLIDER, 50, 2500, 1000, 1, 100, 10, OP_PHOTO_SIZE},
    {PACK_LOTUS_N_SLIDER, 4, 16, 6, 0, 0, 1, OP_PHOTO_ADJUST},
    {GRIDLINES_HORZ_SLIDER, 1, 12, 10, 0, 2, 1, OP_NOP},
    {GRIDLINES_VERT_SLIDER, 1, 12, 10, 0, 2, 1, OP_NOP},
    {GRIDLINES_DASH_SLIDER, 1, 10, 10, 0, 5, 1, OP_NOP},
    {GRIDLINES_OPACITY_SLIDER, 10, 100, 30, 0, 5, 1, OP_NOP},
    {PRINT_INNERD_SLIDER, 150, 550, 410, 0, 10, 1, OP_NOP},
    {PRINT_OUTERD_SLIDER, 0, 0, 0, 0, 10, 1, OP_NOP},
    {PRINT_BIZSIDE_SLIDER, 520, 660, 590, 0, 10, 1, OP_NOP},
    {PRINT_WIDTH_SLIDER, 800, 900, 850, 0, 10, 1, OP_NOP},
    {PRINT_HEIGHT_SLIDER, 400, 750, 590, 0, 5, 1, OP_NOP},
    {PRINT_DENSITY_SLIDER, 1, 9, 5, 0, 0, 1, OP_NOP},
    {PRINT_QUALITY_SLIDER, 2, 4, 3, 0, 0, 1, OP_NOP},
    {PRINT_NCOPIES_SLIDER, 1, 100, 1, 0, 0, 1, OP_NOP},
    {LS_CONTRAST_SLIDER, 1, 3, 3, 0, 0, 1, OP_NOP},
    {LS_COVERAGE_SLIDER, 1, 3, 3, 0, 0, 1, OP_NOP},
    {TEXTR_SIZE_SLIDER, 20, 300, 100, 1, 50, 10, OP_TEXT_SIZE},
    {TEXTR_ANGLE_SLIDER, -1800, 1800, 0, 1, 450, 10, OP_TEXT_ANGLE},
    {TEXTR_DX_SLIDER, -100, 100, 0, 1, 20, 2, OP_TEXT_ADJUST},
    {TEXTR_DY_SLIDER, -100, 100, 0, 1, 20, 2, OP_TEXT_ADJUST},
    {FLEX_SPEED_SLIDER, 1, 4, 2, 0, 1, 1, OP_NOP},
    {FLEX_DENSITY_SLIDER, 2, 6, 4, 0, 1, 1, OP_NOP},
};
static_assert(std::size(kTable) == NSLIDERS - 1, "one row per slider");
static_assert(NSLIDER_NAMES == NSLIDERS - 1, "one name per slider");

constexpr int kDefaultBrushWidth = 20;
constexpr int kThumbTravel = 100;

bool Valid(a_slider_enum s) { return Is_Slider(s); }

void Redraw(a_slider_enum s) {
    if (g_sliders[s].basic.shown) g_slider_signals.redraw.Emit(s);
}

// The signed amount that moves `value` to the next multiple of `step`.
int Snap_Amount(int value, int step, bool up) {
    int r = std::abs(value) % step;
    if (up) return (value > 0 || r == 0) ? step - r : r;
    return -((value < 0 || r == 0) ? step - r : r);
}

int Step_Size(const a_slider_item& it, bool tiny, bool big) {
    if (big && it.big_step != 0) return it.big_step;
    if (tiny && it.tiny_step != 0) return it.tiny_step;
    return it.normal_step;
}

}  // namespace

int16_t Calc_Default_BSpacing(int width) {
    // A quarter of the brush: dabs overlap enough to read as one stroke.
    int s = (width + 2) / 4;
    return static_cast<int16_t>(s < 1 ? 1 : s > 60 ? 60 : s);
}

void Sliders_Build() {
    for (a_slider_item& it : g_sliders) it = a_slider_item{};
    for (const a_slider_row& r : kTable) {
        a_slider_item& it = g_sliders[r.slider];
        it.basic.history_op = r.op;
        it.minval = r.minval;
        it.maxval = r.maxval;
        it.defaultval = r.defaultval;
        it.tiny_step = r.tiny;
        it.big_step = r.big;
        it.normal_step = r.normal;
        it.thumb_travel = kThumbTravel;
        it.show_reset = true;
    }
    int width = g_slider_signals.brush_width.Call_Or([] { return kDefaultBrushWidth; });
    g_sliders[BRUSH_SPACING_SLIDER].defaultval = Calc_Default_BSpacing(width);
    for (int s = 0; s < NSLIDERS; ++s) gs.slider_vals[s] = g_sliders[s].defaultval;
}

void Slider_Set_Direct_Kind(int kind) {
    a_slider_item& it = g_sliders[PRINT_OUTERD_SLIDER];
    if (kind == 1) it.minval = 1000, it.maxval = 1200, it.defaultval = 1180;
    else if (kind >= 2 && kind <= 4) it.minval = 740, it.maxval = 800, it.defaultval = 780;
    else it.minval = 0, it.maxval = 0, it.defaultval = 0;
    Slider_Blast_Invis(gs.slider_vals[PRINT_OUTERD_SLIDER], PRINT_OUTERD_SLIDER);
}

void Slider_Set_Action(a_slider_enum slider, a_slider_proc jump_proc) {
    if (Valid(slider)) g_sliders[slider].jump_proc = jump_proc;
}

void Slider_Set_IncProc(a_slider_enum slider, a_slider_incproc incproc) {
    if (Valid(slider)) g_sliders[slider].incproc = incproc;
}

int16_t Slider_Limit_Value(int value, a_slider_enum slider) {
    if (!Valid(slider)) return 0;
    const a_slider_item& it = g_sliders[slider];
    if (value < it.minval) return it.minval;
    return static_cast<int16_t>(value < it.maxval ? value : it.maxval);
}

void Slider_SetVal(int value, a_slider_enum slider) {
    if (!Valid(slider)) return;
    int16_t v = Slider_Limit_Value(value, slider);
    if (v == gs.slider_vals[slider]) return;
    gs.slider_vals[slider] = v;
    Redraw(slider);  // the thumb and the reset control
    const a_slider_item& it = g_sliders[slider];
    // A slider with no undo step leaves another pending step alone.
    if (it.basic.history_op != OP_NOP)
        History_Set_Pending(it.basic.history_op);
    if (it.jump_proc) it.jump_proc(slider);
}

void Slider_SetRel(int delta, a_slider_enum slider) {
    if (Valid(slider)) Slider_SetVal(gs.slider_vals[slider] + delta, slider);
}

void Slider_Blast(int value, a_slider_enum slider) {
    if (!Valid(slider)) return;
    gs.slider_vals[slider] = Slider_Limit_Value(value, slider);
    if (slider == COLOR_HUE_SLIDER || slider == COLOR_DIST_SLIDER) {
        g_slider_signals.color_picker.Emit();
    } else {
        Redraw(slider);
    }
}

void Slider_Blast_Invis(int value, a_slider_enum slider) {
    if (Valid(slider)) gs.slider_vals[slider] = Slider_Limit_Value(value, slider);
}

void Slider_Default(a_slider_enum slider) {
    if (Valid(slider)) Slider_SetVal(g_sliders[slider].defaultval, slider);
}

bool Is_Reset_Visible(a_slider_enum slider) {
    if (!Valid(slider)) return false;
    const a_slider_item& it = g_sliders[slider];
    return it.basic.shown && it.show_reset && gs.slider_vals[slider] != it.defaultval;
}

bool Is_Slider_Tinyable(a_slider_enum slider) {
    return Valid(slider) && g_sliders[slider].tiny_step != 0;
}

bool Is_Slider_Biggable(a_slider_enum slider) {
    return Valid(slider) && g_sliders[slider].big_step != 0;
}

void Do_PlusMinus(bool tiny, bool big, bool plus, a_slider_enum slider) {
    if (!Valid(slider)) return;
    const a_slider_item& it = g_sliders[slider];
    int value = gs.slider_vals[slider];
    int step = Step_Size(it, tiny, big);
    int amount = it.incproc ? it.incproc(slider, value, step, plus)
                 : step > 0 ? Snap_Amount(value, step, plus) : 0;
    int16_t next = Slider_Limit_Value(value + amount, slider);
    if (next == value) {
        Sound_Play(SND_REFUSED);
    } else {
        if (!Sound_IsPlaying()) Sound_Play(SND_CLICK);
        Slider_SetVal(next, slider);
    }
}

bool Slider_Repeat_Due(uint32_t& last) {
    uint32_t now = TickCount();
    if (now - last < SLIDER_REPEAT_TICKS) return false;
    last = now;
    return true;
}

void Slider_Via_Keyboard(bool plus, bool tiny, bool big, a_slider_enum slider) {
    if (!Valid(slider) || !g_sliders[slider].basic.active) {
        Sound_Play(SND_REFUSED);
        return;
    }
    Do_PlusMinus(tiny, big, plus, slider);
}

std::string Slider_Name(a_slider_enum slider) {
    std::string s;
    if (Valid(slider)) Get_Translated_String(slider, ADJUST_STR_ID, s);
    return s;
}

int16_t Slider_ThumbToValue(int thumb, a_slider_enum slider) {
    if (!Valid(slider)) return 0;
    const a_slider_item& it = g_sliders[slider];
    if (it.thumb_travel <= 0) return it.maxval;
    long span = long(it.maxval) - it.minval;
    long t = thumb < 0 ? 0 : thumb > it.thumb_travel ? it.thumb_travel : thumb;
    // Rounded to the nearest value, so that every thumb position is reachable both ways.
    long v = it.minval + (t * span + it.thumb_travel / 2) / it.thumb_travel;
    return Slider_Limit_Value(static_cast<int>(v), slider);
}

int Slider_ValueToThumb(int value, a_slider_enum slider) {
    if (!Valid(slider)) return 0;
    const a_slider_item& it = g_sliders[slider];
    long span = long(it.maxval) - it.minval;
    if (span <= 0) return it.thumb_travel;
    long v = Slider_Limit_Value(value, slider) - it.minval;
    return static_cast<int>((v * it.thumb_travel + span / 2) / span);
}
