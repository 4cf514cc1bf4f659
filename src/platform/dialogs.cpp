#include "platform/dialogs.h"

#include <cstdio>
#include <deque>

namespace {

a_dialog_presenter g_presenter;
std::deque<int> g_script;
std::vector<a_dialog_request> g_history;
bool g_quiet = false;

int Answer_Headless(const a_dialog_request& r) {
    int answer = r.default_button;
    if (!g_script.empty()) {
        answer = g_script.front();
        g_script.pop_front();
    }
    if (r.buttons.empty()) answer = 0;
    else if (answer < 0 || answer >= static_cast<int>(r.buttons.size())) answer = r.default_button;
    g_history.push_back(r);
    if (!g_quiet) {
        std::fprintf(stderr, "cirquel: %s", r.message.c_str());
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

void Dialog_ScriptAnswers(std::vector<int> answers) {
    g_script.assign(answers.begin(), answers.end());
    g_history.clear();
}

const std::vector<a_dialog_request>& Dialog_History() { return g_history; }

void Dialog_SetQuiet(bool quiet) { g_quiet = quiet; }
