// The photo and clip-art controls acting on the selected blocks: the photo,
// symbol and colour sliders, the photo toggles, the edge style with its two
// colours, and the colour of clip art. Each change re-renders the blocks it
// touches and leaves one step pending for the end of the action.
// Process-wide state: the document g_doc (the current unit's selected blocks) and the interface
// record gs (reads and writes).
#pragma once
#include "platform/pixels.h"
#include "ui/interface.h"

// A slider's value into every selected photo and symbol block it serves
// (Slider_To_PH), each re-rendered; with several selected, each keeps its
// other values. False when none changed.
bool Delta_Photo(a_slider_enum slider);
// The photo, symbol and colour sliders act on the selected blocks (the
// colour sliders serve the canvas too: whichever attached last owns them).
void Photo_Sliders_Attach();
// One of the photo toggles (white transparent, shadow, keep proportions) set
// to `on`, as one "Photo adjust" step. Keeping proportions again makes the
// height's scaling the width's.
bool Photo_Set_Toggle(a_toggle_enum toggle, bool on);
// The edge style (a_edge_kind) of the selected blocks.
bool Photo_Set_Edge_Style(int style);
// The border (`outline` false) or outline colour of the selected blocks' edges.
bool Photo_Set_Edge_Color(bool outline, a_win_pixel32 color);
// The colour of the selected symbol blocks, as one "Symbol color" step; it is
// also the colour new clip art takes. False when no symbol is selected.
bool Symbol_Set_Color(a_win_pixel32 color);
// Fitting or covering the unit (Photo_Fit_H and its kin) as a command: one
// "Photo resize" step when the selected block changed.
void Photo_Fit_Command(void (*fit)());
