#include "shell/mainloop.h"

#include "base/messages.h"
#include "model/document.h"
#include "model/history.h"
#include "model/notices.h"
#include "model/selection.h"
#include "platform/clock.h"
#include "text/text_edit.h"
#include "ui/interface.h"

bool g_doneflag = false;
bool g_normal_quit = false;
a_shell_notices g_shell_notices;
a_shell_services g_shell_services;

namespace {

enum : int {
    REST_TICKS = 60,
    PROMPT_SAVE_BEFORE_CLOSE = 3,
    PROMPT_SAVE_BEFORE_QUIT = 4,
    BUTTON_SAVE = 34,
    BUTTON_DONT_SAVE = 33,
    BUTTON_CANCEL = 105,
};

bool g_null_flag = false;
bool g_dead_pending = false;
uint32_t g_idle_start = 0;
uint32_t g_dead_start = 0;
Point g_dead_pos;

void Doc_Idle(Point gmouse, Point lmouse, int window, a_keymods mods) {
    g_shell_notices.idle_tick.Emit();
    uint32_t now = TickCount();
    if (!g_null_flag) {
        g_null_flag = g_dead_pending = true;
        g_idle_start = g_dead_start = now;
        g_dead_pos = gmouse;
    }
    a_mousestroke up{now, window, lmouse, false, false, mods};
    (void)g_shell_services.mouse.Call_Or([] { return false; }, up);
    if (!(gmouse == g_dead_pos)) {
        g_dead_start = now;
        g_dead_pos = gmouse;
    } else if (g_dead_pending && now - g_dead_start > REST_TICKS) {
        g_dead_pending = false;
        g_shell_notices.rest.Emit(gmouse);
    }
}

// Asks to save a changed document with `prompt`; true when it may go.
bool Document_May_Go(int prompt) {
    if (!g_doc.doc_changed) return true;
    int answer = Confirm_Msg(DLOG_THREE_BUTTONS, prompt, BUTTON_SAVE, BUTTON_DONT_SAVE, BUTTON_CANCEL);
    if (answer == 1) return true;
    if (answer != 0) return false;
    return g_doc_services.save_document.Call_Or([] { return false; });
}

}  // namespace

int Idle_Interval_Ms() { return gs.mytask ? 10 : 100; }

void Do_Idle(Point gmouse, Point lmouse, int window) {
    if (gs.mytask) Do_Null_Event(gmouse, lmouse, window, false);
}

void Do_Null_Event(Point gmouse, Point lmouse, int window, bool fixcursor) {
    g_shell_services.font_thumbs_step.Call_Or([] {});
    if (g_doc.doc_open) Doc_Idle(gmouse, lmouse, window, 0);
    else if (fixcursor) g_shell_services.arrow_cursor.Call_Or([] {});
    g_shell_notices.finish.Emit();
}

void Idle_Interrupted() { g_null_flag = false; }

// Every action is one step of the undo history at most: what it left pending
// is recorded once the views have brought the current unit up to date.
void Interaction_Begin() {
    History_Begin_Interaction();
    g_shell_notices.interaction_begin.Emit();
}
void Interaction_End() {
    g_shell_notices.interaction_end.Emit();
    History_End_Interaction();
    g_shell_notices.finish.Emit();
    // Something drawn or made smaller than asked for lack of room: said once.
    Memory_Constraint();
}

int Phase_MenuBar(a_phase phase, int menu_base) {
    if (phase == SYMBOL_PHASE || phase == PHOTO_PHASE) return menu_base + 1;
    if (phase == TEXT_PHASE) return menu_base + 2;
    return menu_base;
}

namespace {

// The palette bar a phase shows decides which blocks can be selected.
a_block_bar Bar_Of_Phase(a_phase phase) {
    switch (phase) {
        case PHOTO_PHASE: return PHOTO_BAR;
        case SYMBOL_PHASE: return SYMBOL_BAR;
        case TEXT_PHASE: return TEXT_BAR;
        case COLLAGE_PHASE: return COLLAGE_BAR;
        case PAINT_PHASE: return PAINT_BAR;
        default: return OTHER_BAR;
    }
}

}  // namespace

void Phase_Set(a_phase phase) {
    // Another phase ends the editing of text, keeping what was typed.
    if (phase != TEXT_PHASE && Edited_OM()) Edit_OK();
    gs.curr_phase = phase;
    g_block_bar = Bar_Of_Phase(phase);
    g_shell_notices.phase.Emit(phase);
}

void Quit_Command() {
    if (g_doc.doc_open) {
        if (!Document_May_Go(PROMPT_SAVE_BEFORE_QUIT)) return;
        Doc_Dispose();
    }
    g_doneflag = true;
}

bool Close_Command() {
    if (g_doc.doc_open) {
        if (!Document_May_Go(PROMPT_SAVE_BEFORE_CLOSE)) return false;
        Doc_Dispose();
    }
    Phase_Set(NODOC_PHASE);
    return true;
}

void Shell_Loop_Reset() {
    g_null_flag = g_dead_pending = false;
    g_doneflag = false;
}
