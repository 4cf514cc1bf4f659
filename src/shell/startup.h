// Start and stop of every module, in one fixed order.
// Process-wide state: the start-up options and which modules have started (reads and writes); every
// module's own state through its X_Init and X_Stop.
#pragma once
#include <string>
#include <vector>

struct a_startup_options {
    bool headless = true;  // offscreen toolkit platform (command line, tests)
    bool open_art = false;  // open the art databases (the program; tools open their own)
    bool register_types = false;  // write the desktop's file-type registration (the program)
    // Only the modules below the document (messages, history, platform, pixel
    // maps, preferences): for work that needs no catalogue, art or fonts.
    bool light = false;
    // The full display, checked before the art database opens; 0 checks nothing.
    int screen_width = 0, screen_height = 0;
};

// Starts every module in order; false (with everything started so far
// stopped again) when one of them fails.
[[nodiscard]] bool Shell_Start(const a_startup_options& options);
// Stops the started modules in reverse order.
void Shell_Stop();
// The modules in their order of start.
std::vector<std::string> Shell_Module_Names();

// Writes the preferences at the end of a run; when that fails, tells the user
// (alert 13) and returns false. The program goes on ending either way.
[[nodiscard]] bool Shell_Write_Prefs();
