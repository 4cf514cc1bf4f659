// The one dialog service. Every question or alert the program shows passes
// through here. With no interactive presenter installed (command line,
// tests) a responder answers: scripted answers in tests, the default button in
// batch runs. Every headless answer is logged on stderr.
#pragma once
#include <functional>
#include <string>
#include <vector>

struct a_dialog_request {
    int layout = 0;                    // dialog resource number (1199, 1200, 1201, ...)
    std::string message;               // UTF-8, already substituted
    std::vector<std::string> buttons;  // labels in order; the answer indexes this
    int default_button = 0;
};

using a_dialog_presenter = std::function<int(const a_dialog_request&)>;

// Shows the request and returns the index of the button pressed.
int Dialog_Ask(const a_dialog_request& request);

// The GUI installs a presenter that shows real windows; nullptr removes it.
void Dialog_SetPresenter(a_dialog_presenter presenter);

// Headless answers: a script of button indexes consumed in order; when it
// runs out the default button is taken.
void Dialog_ScriptAnswers(std::vector<int> answers);
// Requests seen headless since the last script was set (for tests).
const std::vector<a_dialog_request>& Dialog_History();
void Dialog_SetQuiet(bool quiet);  // stop logging headless answers
