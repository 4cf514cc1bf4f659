#include "ui/interface.h"

#include "shell/prefs.h"

a_interface_rec gs;

namespace {

int Start_Choice() { return gs.grid_vals[START_GRID]; }

}  // namespace

void Interface_Init() {
    gs = a_interface_rec{};
    Sliders_Build();
    gs.grid_vals[START_GRID] = g_pref.last_agex;
    Prefs_SetStartChoiceProc(Start_Choice);
}

void Interface_Stop() { Prefs_SetStartChoiceProc(nullptr); }
