// The adjustment sliders: one table entry per slider with its range, default
// and steps, and the rules for setting, stepping, clamping and resetting a
// value. Values live in gs.slider_vals; the owning modules register the
// action each slider runs after a change.
#pragma once
#include <cstdint>
#include <string>

#include "base/notice.h"

enum a_slider_enum : int {
    NULL_SLIDER = 0,
    CANV_DARKNESS_SLIDER, CANV_FUZZ_IN_SLIDER, CANV_FUZZ_OUT_SLIDER, PAINT_OPACITY_SLIDER,
    STAMP_SIZE_SLIDER, STAMP_ROTATE_SLIDER, STAMP_SPACING_SLIDER, STAMP_SPACINGF_SLIDER,
    STAMP_DARKNESS_SLIDER, STAMP_COLORSHIFT_SLIDER, STAMP_SKEWX_SLIDER, STAMP_SKEWY_SLIDER,
    STAMP_BENDX_SLIDER, STAMP_BENDY_SLIDER, STAMP_STRETCH_SLIDER, BRUSH_SPACING_SLIDER,
    PAINT_CORNER_SLIDER, GRAD_TWIST_SLIDER, GRAD_ANGLE_SLIDER, GRAD_REP_SLIDER,
    SPRAY_RADIUS_SLIDER, SYMMETRY_COUNT_SLIDER, LINE_THICKNESS_SLIDER, COLOR_SAT_SLIDER,
    COLOR_HUE_SLIDER, COLOR_DIST_SLIDER, PHOTO_SIZE_SLIDER, PHOTO_SIZEH_SLIDER,
    PHOTO_SIZEV_SLIDER, PHOTO_ANGLE_SLIDER, PHOTO_DARKNESS_SLIDER, PHOTO_OPACITY_SLIDER,
    PHOTO_CORNER_SLIDER, PHOTO_FEATHER_SLIDER, PHOTO_EDGE_BORDER_SLIDER,
    PHOTO_EDGE_OUTLINE_SLIDER, PHOTO_EDGE_SCALLOP_SLIDER, PHOTO_EDGE_ROUGH_SLIDER,
    PHOTO_SHAD_DX_SLIDER, PHOTO_SHAD_DY_SLIDER, PHOTO_SHAD_OPACITY_SLIDER,
    PHOTO_SHAD_RADIUS_SLIDER, SYMBOL_SIZE_SLIDER, SYMBOL_ANGLE_SLIDER, SYMBOL_OPACITY_SLIDER,
    TEXT_SIZE_SLIDER, TEXT_HSPACING_SLIDER, TEXT_VSPACING_SLIDER, TEXT_RADIUS_SLIDER,
    TEXT_LINEANGLE_SLIDER, TEXT_SPOKE_OUTERD_SLIDER, TEXT_SPOKE_THICKNESS_SLIDER,
    TEXT_POLARANGLE_SLIDER, TEXT_SPOKE_TOTANGLE_SLIDER, TEXT_SPOKE_TWIST_SLIDER,
    TEXT_CMARGIN_SLIDER, TEXT_STRETCH_H_SLIDER, TEXT_STRETCH_V_SLIDER, TEXT_SKEW_H_SLIDER,
    TEXT_SKEW_V_SLIDER, TEXT_SHAD_DX_SLIDER, TEXT_SHAD_DY_SLIDER, TEXT_SHAD_OPACITY_SLIDER,
    TEXT_SHAD_RADIUS_SLIDER, TEXT_GLOW_OPACITY_SLIDER, TEXT_GLOW_RADIUS_SLIDER,
    TEXT_OUTL_RADIUS_SLIDER, TEXT_OPACITY_SLIDER, PACK_CLOCK_NINNER_SLIDER,
    PACK_CLOCK_NOUTER_SLIDER, PACK_CLOCK_TOTANGLE_SLIDER, PACK_CLOCK_START_SLIDER,
    PACK_CLOCK_SPACING_SLIDER, PACK_CLOCK_THICKNESS_SLIDER, PACK_CLOCK_OUTERD_SLIDER,
    PACK_OUTLINE_SLIDER, PACK_GRID_NX_SLIDER, PACK_GRID_NY_SLIDER, PACK_GRID_SPACING_SLIDER,
    PACK_GRID_CORNER_SLIDER, PACK_ITEM_SIZE_SLIDER, PACK_LOTUS_N_SLIDER,
    GRIDLINES_HORZ_SLIDER, GRIDLINES_VERT_SLIDER, GRIDLINES_DASH_SLIDER,
    GRIDLINES_OPACITY_SLIDER, PRINT_INNERD_SLIDER, PRINT_OUTERD_SLIDER, PRINT_BIZSIDE_SLIDER,
    PRINT_WIDTH_SLIDER, PRINT_HEIGHT_SLIDER, PRINT_DENSITY_SLIDER, PRINT_QUALITY_SLIDER,
    PRINT_NCOPIES_SLIDER, LS_CONTRAST_SLIDER, LS_COVERAGE_SLIDER, TEXTR_SIZE_SLIDER,
    TEXTR_ANGLE_SLIDER, TEXTR_DX_SLIDER, TEXTR_DY_SLIDER, FLEX_SPEED_SLIDER,
    FLEX_DENSITY_SLIDER,
    NSLIDERS  // one past the last: table and value arrays have NSLIDERS entries
};
static_assert(NSLIDERS == 103, "102 sliders after NULL_SLIDER");

// Fields every interface item has.
struct a_basic_item {
    int history_op = 0;   // a_history_op recorded when the value changes; 0 none
    bool shown = false;   // on screen now (the framework sets it)
    bool active = false;  // takes keys and clicks
};

using a_slider_proc = void (*)(a_slider_enum slider);
// Computes the signed amount of one step instead of the fixed steps.
using a_slider_incproc = int (*)(a_slider_enum slider, int value, int step, bool up);

struct a_slider_item {
    a_basic_item basic;
    int16_t minval = 0;
    int16_t maxval = 0;
    int16_t defaultval = 0;
    int16_t tiny_step = 0;  // 0: that step size is not offered
    int16_t big_step = 0;
    int16_t normal_step = 0;
    int16_t thumb_travel = 0;  // pixels the thumb moves from minval to maxval
    a_slider_proc jump_proc = nullptr;
    a_slider_incproc incproc = nullptr;
    bool show_reset = false;
};

extern a_slider_item g_sliders[NSLIDERS];

// What the sliders tell the window layer, and ask of it.
struct a_slider_signals {
    a_notice<a_slider_enum> redraw;  // a shown slider's value or reset control changed
    a_notice<> color_picker;         // the colour picker shows a changed colour
    a_service<int()> brush_width;    // current brush, pixels; a default without an owner
};
extern a_slider_signals g_slider_signals;

// Builds the table; values go to their defaults.
void Sliders_Build();
// Brush spacing default for a brush `width` pixels across.
int16_t Calc_Default_BSpacing(int width);
// Outer-diameter range and default follow the document's direct-print kind
// (0: not direct, range 0); the value is clamped into the new range.
void Slider_Set_Direct_Kind(int kind);

// Registers the action run after a change, and an optional step procedure.
void Slider_Set_Action(a_slider_enum slider, a_slider_proc jump_proc);
void Slider_Set_IncProc(a_slider_enum slider, a_slider_incproc incproc);

int16_t Slider_Limit_Value(int value, a_slider_enum slider);
void Slider_SetVal(int value, a_slider_enum slider);
void Slider_SetRel(int delta, a_slider_enum slider);
// Stores a clamped value without running the action (a selection being
// loaded into the sliders); the hue and distance sliders refresh the colour
// picker instead of themselves. Blast_Invis redraws nothing.
void Slider_Blast(int value, a_slider_enum slider);
void Slider_Blast_Invis(int value, a_slider_enum slider);
void Slider_Default(a_slider_enum slider);
bool Is_Reset_Visible(a_slider_enum slider);
bool Is_Slider_Tinyable(a_slider_enum slider);
bool Is_Slider_Biggable(a_slider_enum slider);

// One step up (`plus`) or down. It returns at once: while a button is held,
// the caller repeats it from a timer when Slider_Repeat_Due says so.
void Do_PlusMinus(bool tiny, bool big, bool plus, a_slider_enum slider);
// Ticks between two steps of a held button.
constexpr uint32_t SLIDER_REPEAT_TICKS = 3;
// True when a held button steps again: at least SLIDER_REPEAT_TICKS ticks of
// the clock since `last`, the tick of the previous step (set to now then).
bool Slider_Repeat_Due(uint32_t& last);
void Slider_Via_Keyboard(bool plus, bool tiny, bool big, a_slider_enum slider);

// The name shown beside the slider, in the interface language.
std::string Slider_Name(a_slider_enum slider);

int16_t Slider_ThumbToValue(int thumb, a_slider_enum slider);
int Slider_ValueToThumb(int value, a_slider_enum slider);

// Slider ids come from outside (files, the command line): check them first.
inline bool Is_Slider(int slider) { return slider > NULL_SLIDER && slider < NSLIDERS; }
