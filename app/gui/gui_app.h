// Start and end of the desktop program, shared by main() and the GUI tests.
#pragma once
#include <QtCore/QStringList>

struct a_gui_options {
    bool interactive = true;  // real message boxes; tests answer headless
    bool single_instance = true;
    bool register_types = true;
    bool open_art = true;  // the art database (the window's first phases do without)
};

// Starts the core's modules for the window; false (after telling why) when
// the program cannot run.
bool Gui_Start(const a_gui_options& options);
// Writes the preferences (alert 13 on failure) and stops the modules.
void Gui_Stop();
// The whole program: start, command line, window, event loop, stop.
int Gui_Main(int argc, char** argv);
