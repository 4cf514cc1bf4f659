// Owns the main window, and builds it again when the interface language
// changes: every text is set in the new language as the window is made, and
// all it shows comes from g_doc and gs, so nothing is lost.
// Process-wide state: the language switch's rebuild hook (while a host lives).
#pragma once
#include <memory>

class a_main_window;

class a_window_host {
public:
    a_window_host();
    ~a_window_host();
    a_main_window& Window() { return *window_; }
    // A new window in place of the old one: same place, size and phase.
    void Rebuild();

private:
    std::unique_ptr<a_main_window> window_;
};
