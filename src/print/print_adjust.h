// Where a unit lands on the printed sheet: bleed, the user's alignment nudge,
// the centring of narrow paper in a Letter-wide path and the re-sizing to the
// measured disc of a direct printer; the nudge and adjustment controls of the
// selected medium; distance labels; the preview mappings.
// Process-wide state: the document g_doc and the preferences (reads; the nudge and adjustments
// write the selected medium), the print options g_print_options (reads and writes).
#pragma once
#include <cstdint>
#include <string>

#include "base/notice.h"
#include "base/prefs.h"
#include "templates/expand.h"
#include "templates/template.h"

// Settings of the print panel that printing reads; the interface keeps them
// in step with its toggles and sliders.
struct a_print_options {
    bool laserjet = false;     // narrow paper fed centred in a Letter-wide path
    bool flex_gray = false;    // grey printing on FlexLabel printers
    int flex_density = 4;      // FlexLabel ink density, 2 .. 6
    int flex_speed = 2;        // FlexStick burn speed, 1 .. 4
    bool flex_verify = false;
    bool flex_burn = true;
    bool flex_print = true;
    int copies = 1;
    bool from_command_line = false;  // no printer dialog
};
extern a_print_options g_print_options;

// The nudge changed (the print controls and the views show it again).
extern a_notice<> g_print_nudged;

enum : int { NUDGE_LIMIT = 800 };  // tenths of a millimetre either way

// mmt × dpi ÷ 254, truncated toward zero.
int MMT_To_Dots(int mmt, int dpi);

bool Is_Direct_Print(const a_template& t);
bool Is_Landscape(const a_template& t);
bool Is_Small_Paper(const a_template& t);  // narrower than 210 mm
bool Is_Unit_Bled(const a_unit& spec);

// Print geometry of a unit (millimetres) for a template, medium and options.
// `adjustf`: 0 off, 1 the medium's sizes, 2 the fixed sizes of the preview.
a_unit Calc_Adjusted_UnitT(const a_unit& in, a_direct_print_kind dkind, int adjustf, bool nudgef,
                           bool bleedf, const a_template& t, const a_print_media_spec& media,
                           bool laserjet);
// The same for the open document, its selected medium and g_print_options.
void Calc_Adjusted_Unit(a_unit& out, const a_unit& in, a_direct_print_kind dkind, int adjustf,
                        bool nudgef, bool bleedf);
// Whether the LaserJet centring applies to the template.
bool Is_LaserJet_Shifted(const a_template& t, bool laserjet);

// The sheet as printed (`paper_eff`, the template's frame) and as fed.
void Calc_Paper_SizeT(const a_template& t, a_fpoint& paper_eff, a_fpoint& paper_fed,
                      bool& landscapef);
void Calc_Paper_Size(a_fpoint& paper_eff, a_fpoint& paper_fed, bool& landscapef);

// Nudging the selected medium: false (and the limit sound) outside ±800.
bool Set_Nudge(int x, int y);
int Nudge(bool shift);  // the arrow step in tenths of a millimetre
bool Print_Nudge_U(bool shift);
bool Print_Nudge_D(bool shift);
bool Print_Nudge_L(bool shift);
bool Print_Nudge_R(bool shift);
bool Print_Nudge_0();

// The adjustment sliders of a direct-print kind.
struct a_slider_range {
    int16_t minval = 0, maxval = 0, defaultval = 0;
};
a_slider_range Print_OuterD_Range(a_direct_print_kind dkind);
a_slider_range Print_Adjust_Range(int adj_index, a_direct_print_kind dkind);
// Slider values; for RECT_DIRECT only the hole, width and height count.
struct a_print_adjust {
    int16_t innerd = 0, outerd = 0, side = 0, width = 0, height = 0, density = 0, quality = 0;
    a_slider_range outerd_range;
};
a_print_adjust Load_Print_Adjust(const a_print_media_spec& spec, a_direct_print_kind dkind);
void Delta_Print_Adjust(const a_print_adjust& values, a_direct_print_kind dkind,
                        a_print_media_spec& spec);
// Writes the values into the selected medium, then marks the current unit's
// outer mask stale.
void Final_Print_Adjust(const a_print_adjust& values);

// "12.5 mm" from tenths of a millimetre; "1 in", "0.50 in" from the same.
void To_MM_Str(std::string& ss, int v, char decimal_mark = '.');
void To_IN_Str(std::string& ss, int v, char decimal_mark = '.');

// Fits the sheet (or unit 1 when the sheet is not shown) into `avail`;
// `fused` gets the fitted rectangle in millimetres.
void PrintPreview_Calc_Mapping(a_frect& fused, a_coord_mapping& mapping, bool is_thumb,
                               const Rect& avail, const a_template& t,
                               const a_print_media_spec& media, bool laserjet);
void PaperEcho_Calc_Mapping(a_frect& fused, a_coord_mapping& mapping, const Rect& avail,
                            const a_template& t);
