// The interface record: what the other modules learn from it.
#include <gtest/gtest.h>

#include <vector>

#include "platform/dialogs.h"
#include "platform/sound.h"
#include "signals_guard.h"
#include "templates/chooser.h"
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

// The chooser only announces that a move hit the end of its list; the
// interface makes that heard, and stops listening when it stops.
TEST(Interface, ChooserLimitSoundsWhileTheInterfaceRuns) {
    a_signals_guard guard(true);
    bool was_enabled = Sound_IsEnabled();
    Sound_Enable(true);
    Sound_ClearLog();
    Interface_Init();
    g_chooser_notices.at_limit.Emit();
    EXPECT_EQ(Sound_Log(), (std::vector<int>{SND_LIMIT}));
    Interface_Stop();
    g_chooser_notices.at_limit.Emit();
    EXPECT_EQ(Sound_Log().size(), 1u);
    Sound_ClearLog();
    Sound_Enable(was_enabled);
}
