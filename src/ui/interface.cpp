#include "ui/interface.h"

#include "model/notices.h"
#include "platform/sound.h"
#include "base/prefs.h"
#include "templates/chooser.h"
#include "model/effect_spec.h"
#include "ui/photo_sliders.h"

a_interface_rec gs;

namespace {

a_listener_token g_sound_token = 0;  // what we install for the lower layers
a_listener_token g_start_token = 0;
a_listener_token g_controller_token = 0;
a_listener_token g_limit_token = 0;
a_listener_token g_ph_sliders_token = 0;
a_listener_token g_spec_controls_token = 0;

int Start_Choice() { return gs.grid_vals[START_GRID]; }

a_controller Controller() { return gs.controller; }

// A new photo or symbol takes the edge style, its colours and the
// proportions toggle as the controls show them.
void Spec_From_Controls(a_spec& spec) {
    spec.edge_kind = gs.grid_vals[EDGE_STYLE_GRID];
    spec.edge_bord_color = gs.edge_bord_color;
    spec.edge_outl_color = gs.edge_outl_color;
    spec.constrainf = gs.toggle_vals[PHOTO_CONSTRAIN_TOGGLE];
}

}  // namespace

void Interface_Init() {
    gs = a_interface_rec{};
    Sliders_Build();
    gs.grid_vals[START_GRID] = g_pref.last_agex;
    gs.toggle_vals[PHOTO_CONSTRAIN_TOGGLE] = true;  // a photo keeps its proportions unless told
    g_start_token = g_prefs_start_choice.Install(Start_Choice);
    // The document's refusals are heard like ours.
    g_sound_token = g_doc_services.play_sound.Install(Sound_Play);
    g_controller_token = g_message_services.controller.Install(Controller);
    g_limit_token = g_chooser_notices.at_limit.Subscribe([] { Sound_Play(SND_LIMIT); });
    g_ph_sliders_token = g_doc_services.ph_to_sliders.Install(PH_To_Sliders);
    g_spec_controls_token = g_spec_controls.Install(Spec_From_Controls);
}

void Interface_Stop() {
    g_prefs_start_choice.Remove(g_start_token);
    g_doc_services.play_sound.Remove(g_sound_token);
    g_message_services.controller.Remove(g_controller_token);
    g_chooser_notices.at_limit.Unsubscribe(g_limit_token);
    g_doc_services.ph_to_sliders.Remove(g_ph_sliders_token);
    g_spec_controls.Remove(g_spec_controls_token);
}
