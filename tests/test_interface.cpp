// The interface record: what the other modules learn from it.
#include <gtest/gtest.h>

#include "platform/dialogs.h"
#include "base/messages.h"
#include "base/prefs.h"
#include "base/string_ids.h"
#include "ui/interface.h"

TEST(Interface, ControllerSilencesAlertsAndStartChoiceIsSaved) {
    Dialog_ScriptAnswers({});
    gs.controller = GHOST;
    OK_Alert(ALERT_PREFS_WRITE, false);
    EXPECT_TRUE(Dialog_History().empty());
    gs.controller = HUMAN;
    OK_Alert(ALERT_PREFS_WRITE, false);
    EXPECT_EQ(Dialog_History().size(), 1u);

    int16_t saved = g_pref.last_agex;
    gs.grid_vals[START_GRID] = 2;
    Prefs_Fixup_Write();
    EXPECT_EQ(g_pref.last_agex, 2);
    g_pref.last_agex = saved;
    gs.grid_vals[START_GRID] = saved;
}
