#include "platform/dialogs.h"

#include <cstdio>
#include <deque>

namespace {

struct a_scripted {
    bool is_key = false;
    int button = 0;
    a_dialog_keypress key;
};

a_dialog_presenter g_presenter;
std::deque<a_scripted> g_script;
std::vector<a_dialog_request> g_history;
bool g_quiet = false;

a_progress_view g_progress;
a_progress_presenter g_progress_presenter;
std::string g_prompt;
a_prompt_presenter g_prompt_presenter;

// The next scripted answer for `r`; false when the script is used up.
[[nodiscard]] bool Next_Scripted(const a_dialog_request& r, int& answer) {
    while (!g_script.empty()) {
        a_scripted s = g_script.front();
        g_script.pop_front();
        answer = s.is_key ? Dialog_KeyButton(r, s.key.key, s.key.command) : s.button;
        if (!s.is_key || answer >= 0) return true;
    }
    return false;
}

int Answer_Headless(const a_dialog_request& r) {
    int answer = r.default_button;
    (void)Next_Scripted(r, answer);  // without a scripted answer the default stands
    if (r.buttons.empty()) answer = 0;
    else if (answer < 0 || answer >= static_cast<int>(r.buttons.size())) answer = r.default_button;
    g_history.push_back(r);
    if (!g_quiet) {
        // One line a message: the alerts' own line breaks become spaces.
        std::string line = r.message;
        for (char& c : line)
            if (c == '\r' || c == '\n' || c == '\t') c = ' ';
        std::fprintf(stderr, "cirquel: %s", line.c_str());
        if (!r.buttons.empty()) std::fprintf(stderr, " [%s]", r.buttons[answer].c_str());
        std::fputc('\n', stderr);
    }
    return answer;
}

}  // namespace

int Dialog_Ask(const a_dialog_request& request) {
    if (g_presenter) return g_presenter(request);
    return Answer_Headless(request);
}

void Dialog_SetPresenter(a_dialog_presenter presenter) { g_presenter = std::move(presenter); }

int Dialog_KeyButton(const a_dialog_request& request, int key, bool command) {
    if (key >= 'a' && key <= 'z') key -= 'a' - 'A';
    for (const a_dialog_key& k : request.keys)
        if (k.key == key && k.command == command) return k.button;
    return -1;
}

void Dialog_ScriptAnswers(std::vector<int> answers) {
    g_script.clear();
    for (int a : answers) g_script.push_back({false, a, {}});
    g_history.clear();
}

void Dialog_ScriptKeys(std::vector<a_dialog_keypress> keys) {
    g_script.clear();
    for (const a_dialog_keypress& k : keys) g_script.push_back({true, 0, k});
    g_history.clear();
}

const std::vector<a_dialog_request>& Dialog_History() { return g_history; }

void Dialog_SetQuiet(bool quiet) { g_quiet = quiet; }

void Dialog_ProgressShow(const a_progress_view& view) {
    if (view.open && !g_progress.open) ++g_progress.opened;
    g_progress.open = view.open;
    g_progress.permille = view.permille;
    if (g_progress_presenter) g_progress_presenter(g_progress);
}

const a_progress_view& Dialog_Progress() { return g_progress; }

void Dialog_SetProgressPresenter(a_progress_presenter presenter) {
    g_progress_presenter = std::move(presenter);
}

void Dialog_PromptShow(const std::string& text) {
    g_prompt = text;
    if (g_prompt_presenter) g_prompt_presenter(g_prompt);
}

const std::string& Dialog_Prompt() { return g_prompt; }

void Dialog_SetPromptPresenter(a_prompt_presenter presenter) {
    g_prompt_presenter = std::move(presenter);
}
