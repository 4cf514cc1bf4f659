// The interface record `gs`: who drives the program and the current value of
// every slider, toggle, grid and palette-bar selection. Later parts of the
// interface add their members here.
// Process-wide state: the interface record gs (reads and writes); installs the message, preference
// and sound services, and plays the chooser's limit sound.
#pragma once
#include <cstdint>

#include "base/messages.h"
#include "platform/pixels.h"
#include "ui/phase.h"
#include "ui/sliders.h"

enum a_toggle_enum : int {
    NULL_TOGGLE = 0,
    LASERJET_TOGGLE,   // narrow paper fed centred in a Letter-wide path
    FLEX_GRAY_TOGGLE,  // grey printing on FlexLabel printers
    TEXTR_BOLD_TOGGLE,
    TEXTR_ITAL_TOGGLE,
    TEXTR_UNDL_TOGGLE,
    TEXT_BOLD_TOGGLE,
    TEXT_ITAL_TOGGLE,
    TEXT_UNDL_TOGGLE,
    TEXT_OUTL_TOGGLE,
    TEXT_SHAD_TOGGLE,
    TEXT_GLOW_TOGGLE,
    SYMMETRY_TOGGLE,
    PHOTO_WTRANSP_TOGGLE,    // white is transparent
    PHOTO_SHADOW_TOGGLE,     // drop shadow on
    PHOTO_CONSTRAIN_TOGGLE,  // one size slider for both scalings
    NTOGGLES
};

enum a_grid_enum : int {
    START_GRID = 0,  // the start screen's choice
    TEXT_LAYOUT_GRID,
    TEXT_HJUST_GRID,
    TEXT_VJUST_GRID,
    TEXT_CJUST_GRID,
    EDGE_STYLE_GRID,
    MARQUEE_GRID,
    SYMMETRY_KIND_GRID,
    PACK_KIND_GRID,    // the collage's kind (a_pack_kind)
    PACK_ORIENT_GRID,  // 0: collage photos follow the ring; 1 upright
    ZOOM_GRID = 23,  // 0 fit, 1..4 = 100 % .. 400 %
    NGRIDS = 32
};

enum a_bar_enum : int {
    NULL_BAR = 0,
    PAINT_COLORBAR,
    TEXT_OUTL_COLORBAR,
    TEXT_SHAD_COLORBAR,
    TEXT_GLOW_COLORBAR,
    FONT_BAR,
    STAMP_BAR,
    PATTERN_BAR,
    BORDER_BAR,
    CANVAS_BAR,
    NBARS
};

struct a_interface_rec {
    a_controller controller = HUMAN;  // who drives the program; others see no alerts
    a_phase curr_phase = NODOC_PHASE;
    int16_t menu_base = 132;  // the basic menu bar
    bool mytask = false;      // the program is the active application
    bool tool_show = true;    // the tool panels are shown (Hide Everything clears it)
    int16_t slider_vals[NSLIDERS] = {};
    bool toggle_vals[NTOGGLES] = {};
    bool toggle_disabled[NTOGGLES] = {};  // shown greyed: nothing turns it on
    int16_t grid_vals[NGRIDS] = {};
    int16_t bar_selection[NBARS] = {};
    // The border and outline colour swatches of photo edges.
    a_win_pixel32 edge_bord_color{255, 255, 255, 0};
    a_win_pixel32 edge_outl_color{0, 0, 0, 0};
    // The colour new clip art takes (bytes blue, green, red).
    a_win_pixel32 symbol_color{0x8c, 0x3a, 0x1f, 0};
};

extern a_interface_rec gs;

// Builds the slider table and sets every value to its default.
void Interface_Init();
void Interface_Stop();
