// The main loop's pieces that are not the toolkit's: the idle step with the
// mouse-at-rest notice, the interaction brackets, the phase, quitting and
// closing.
// Process-wide state: g_doneflag, g_normal_quit, the idle-tracking state, the
// shell's notices and services, gs.curr_phase, g_doc (dispose).
#pragma once
#include <cstdint>

#include "base/notice.h"
#include "platform/geometry.h"
#include "shell/keys.h"
#include "ui/phase.h"

extern bool g_doneflag;     // the user agreed to quit
extern bool g_normal_quit;  // the shutdown ran to its end

// What the window layer does for the loop, and what it hears.
struct a_shell_notices {
    a_notice<> interaction_begin;
    a_notice<> interaction_end;  // apply the changes of the action and repaint
    a_notice<> finish;           // pending state changes are applied
    a_notice<> idle_tick;        // advance the status display and the caret
    a_notice<Point> rest;        // the mouse rested ~1 s at a point
    a_notice<a_phase> phase;     // the phase changed
};
extern a_shell_notices g_shell_notices;

struct a_shell_services {
    a_service<bool(const a_mousestroke&)> mouse;  // the interface framework takes a stroke
    a_service<void()> arrow_cursor;
    a_service<void()> font_thumbs_step;
};
extern a_shell_services g_shell_services;

// The loop's timer interval: 10 ms while the program is active, else 100 ms.
int Idle_Interval_Ms();
// One idle step with the mouse at global `gmouse`, `lmouse` in `window`.
void Do_Idle(Point gmouse, Point lmouse, int window);
void Do_Null_Event(Point gmouse, Point lmouse, int window, bool fixcursor);
// A click or key ends the idle sequence (each rest is reported once).
void Idle_Interrupted();

// Every user action runs between these.
void Interaction_Begin();
void Interaction_End();

// The menu bar of a phase: 133 for symbols and photos, 134 for text.
int Phase_MenuBar(a_phase phase, int menu_base);
void Phase_Set(a_phase phase);

// Quit: asks to save a changed document (prompt 4); sets g_doneflag unless
// the user cancelled or the save failed.
void Quit_Command();
// Close: the same with prompt 3; true when the document was closed (the
// start screen follows).
bool Close_Command();

void Shell_Loop_Reset();  // the idle state of a fresh start (tests)
