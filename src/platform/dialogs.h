// The one dialog service. Every question or alert the program shows passes
// through here, and so do the progress bar and the prompt line. With no
// interactive presenter installed (command line, tests) a responder answers:
// scripted answers in tests, the default button in batch runs. Every headless
// answer is logged on stderr.
// Process-wide state: the dialog presenter, scripted answers and their history, the quiet flag, the
// progress and prompt views (reads and writes).
#pragma once
#include <functional>
#include <string>
#include <vector>

// Keys a dialog binds to its buttons.
enum a_dialog_keycode : int {
    DKEY_RETURN = 13,
    DKEY_ENTER = 3,    // the keypad's Enter
    DKEY_ESCAPE = 27,
};

struct a_dialog_key {
    int key = 0;           // a_dialog_keycode, or a character ('.', 'D'), upper case
    bool command = false;  // with the command modifier (Control)
    int button = 0;        // the button it presses
};

struct a_dialog_request {
    int layout = 0;                    // dialog resource number (1199, 1200, 1201, ...)
    std::string message;               // UTF-8, already substituted
    std::vector<std::string> buttons;  // labels in order; the answer indexes this
    int default_button = 0;
    std::vector<a_dialog_key> keys;    // keyboard equivalents of the buttons
};

using a_dialog_presenter = std::function<int(const a_dialog_request&)>;

// Shows the request and returns the index of the button pressed.
[[nodiscard]] int Dialog_Ask(const a_dialog_request& request);

// The GUI installs a presenter that shows real windows; nullptr removes it.
void Dialog_SetPresenter(a_dialog_presenter presenter);

// The button a key presses in `request`; -1 when the key is not bound.
int Dialog_KeyButton(const a_dialog_request& request, int key, bool command);

// Headless answers: a script consumed in order; when it runs out the default
// button is taken. Either button indexes, or key presses that the dialog
// turns into buttons through its bindings (an unbound key is ignored, as a
// dialog ignores it, and the next entry answers).
void Dialog_ScriptAnswers(std::vector<int> answers);
struct a_dialog_keypress {
    int key = 0;
    bool command = false;
};
void Dialog_ScriptKeys(std::vector<a_dialog_keypress> keys);
// Requests seen headless since the last script was set (for tests).
const std::vector<a_dialog_request>& Dialog_History();
void Dialog_SetQuiet(bool quiet);  // stop logging headless answers

// The progress window: open, filled to `permille` of its length, closed.
struct a_progress_view {
    bool open = false;
    int permille = 0;
    int opened = 0;  // times it was opened (for tests)
};
using a_progress_presenter = std::function<void(const a_progress_view&)>;
void Dialog_ProgressShow(const a_progress_view& view);
const a_progress_view& Dialog_Progress();
void Dialog_SetProgressPresenter(a_progress_presenter presenter);

// The prompt line: a one-line hint; empty hides it.
using a_prompt_presenter = std::function<void(const std::string&)>;
void Dialog_PromptShow(const std::string& text);
const std::string& Dialog_Prompt();
void Dialog_SetPromptPresenter(a_prompt_presenter presenter);
