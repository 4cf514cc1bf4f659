// The command table: every menu command, who carries it out, and for those
// whose part of the program is not built yet, why the menu shows it disabled.
// Process-wide state: the installed doers of commands (reads and writes), gs.
#pragma once
#include <functional>
#include <string>

struct a_command_context {
    bool option = false;  // Control held
    bool shift = false;
};
using a_command_fn = std::function<void(const a_command_context&)>;

// The window installs the doers of the commands that need it (dialogs, the
// clipboard); the shell's own are installed by Commands_Init.
void Command_Install(int command, a_command_fn fn);
void Command_Remove(int command);
// True when the command has a doer (the menu item is enabled).
bool Command_Available(int command);
// For a command without a doer: the line the disabled menu item shows as its
// tooltip. Empty for available commands.
std::string Command_Missing(int command);
// Is `command` one the table lists?
bool Command_Known(int command);

// The dispatcher; false (with the refusal sound) when nobody carries the
// command out.
bool DoMenuEvent(bool optionkey, bool shiftkey, int menu_item, int menu_category);
// The same between the interaction brackets.
void Do_Menu_Event(bool optionkey, bool shiftkey, int menu_item, int menu_category);

// Zoom grid steps: Bigger and Smaller refuse (sound 136) past 400 % and fit.
void Zoom_Command(int item);

void Commands_Init();
void Commands_Stop();
