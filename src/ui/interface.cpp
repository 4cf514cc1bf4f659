#include "ui/interface.h"

#include "model/doc_hooks.h"
#include "platform/sound.h"
#include "shell/prefs.h"

a_interface_rec gs;

namespace {

int Start_Choice() { return gs.grid_vals[START_GRID]; }

a_controller Controller() { return gs.controller; }

}  // namespace

void Interface_Init() {
    gs = a_interface_rec{};
    Sliders_Build();
    gs.grid_vals[START_GRID] = g_pref.last_agex;
    Prefs_SetStartChoiceProc(Start_Choice);
    g_doc_hooks.play_sound = Sound_Play;  // the document's refusals are heard like ours
    g_message_hooks.controller = Controller;
}

void Interface_Stop() {
    Prefs_SetStartChoiceProc(nullptr);
    g_doc_hooks.play_sound = nullptr;
    g_message_hooks.controller = nullptr;
}
