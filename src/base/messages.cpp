#include "base/messages.h"

#include "platform/app.h"
#include "platform/codepage.h"
#include "platform/dialogs.h"
#include "platform/memory.h"
#include "platform/private_folder.h"
#include "platform/resources.h"
#include "base/notice.h"
#include "base/string_ids.h"
#include "base/message_text.h"
#include "base/text_fill.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <string_view>
#include <vector>

a_message_services g_message_services;
bool g_mem_constraint = false;

namespace {

constexpr size_t kMaxString = 255;

int g_language = LANG_ENGLISH;
std::string g_params[4];
bool g_dying = false;
std::new_handler g_old_new_handler = nullptr;
bool g_progress_open = false;
bool g_progress_held = false;  // opened for a run of several items

unsigned Be16(const uint8_t* p) { return unsigned(p[0]) << 8 | p[1]; }

void Cut(std::string& s) { s.resize(Utf8_Cut(s, kMaxString)); }

// Scans left to right; `lead` and the character after it are replaced when
// `replace` appends something for that character, else copied. The result
// is cut to 255 bytes; false, and `s` untouched, when nothing was replaced.
bool Replace_Escapes(std::string& s, char lead, bool (*replace)(char next, std::string& out)) {
    std::string out;
    bool changed = false;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == lead && i + 1 < s.size() && replace(s[i + 1], out)) {
            changed = true;
            ++i;
        } else {
            out += s[i];
        }
    }
    if (!changed) return false;
    Cut(out);
    s = std::move(out);
    return true;
}

std::string Doc_Name_Text() {
    return g_message_services.doc_name.Call_Or([] { return std::string(); });
}

bool Is_Human() {
    return g_message_services.controller.Call_Or([] { return HUMAN; }) == HUMAN;
}

// The keys of each layout: one button takes Escape, Command-., Enter and
// Return; questions take Enter and Return for the first button, Escape and
// Command-. for the second, and Command-D for a third.
std::vector<a_dialog_key> Layout_Keys(int dialog) {
    if (dialog == DLOG_ONE_BUTTON)
        return {{DKEY_ESCAPE, false, 0}, {'.', true, 0}, {DKEY_ENTER, false, 0},
                {DKEY_RETURN, false, 0}};
    // Escape never throws work away: of Save, Don't Save and Cancel it is
    // Cancel; Ctrl+D is Don't Save.
    const int cancel = dialog == DLOG_THREE_BUTTONS ? 2 : 1;
    std::vector<a_dialog_key> keys = {{DKEY_ENTER, false, 0}, {DKEY_RETURN, false, 0},
                                      {DKEY_ESCAPE, false, cancel}, {'.', true, cancel}};
    if (dialog == DLOG_THREE_BUTTONS) keys.push_back({'D', true, 1});
    return keys;
}

void On_New_Failure() {
    // The caller handles this refusal itself; a nothrow new turns the
    // exception into its nullptr.
    if (Allocation_Checked()) throw std::bad_alloc();
    std::set_new_handler(nullptr);  // a second failure inside the report must not loop
    OutOfMemory(0);
}

void Show_Alert(int index, bool abort, const std::string& detail);

// `detail`, when given, follows the alert's text on a line of its own.
[[noreturn]] void Fatal(int alert, const std::string& detail = {}) {
    Show_Alert(alert, true, detail);
    std::_Exit(70);  // not reached: a fatal alert ends the process
}

}  // namespace

// --- Languages ---------------------------------------------------------------------

void Messages_SetLanguage(int language) {
    g_language = (language >= 0 && language < NLANGUAGES) ? language : LANG_ENGLISH;
}

int Messages_Language() { return g_language; }

bool Language_Offered(int language) {
    if (language == LANG_ENGLISH) return true;
    if (language < 0 || language >= NLANGUAGES) return false;
    a_resource r;
    return Resource_Get(RES_STRLIST, ALERT_STR_ID + language, r) ||
           Resource_Get(RES_STRLIST, MAIN_STR_ID + language, r);
}

int Language_From_Code(std::string_view code) {
    for (int i = 0; i < NLANGUAGES; ++i)
        if (code == kLanguageCodes[i]) return i;
    // A locale name: language, then optional _REGION, .charset, @modifier.
    size_t end = code.find_first_of("_-.@");
    std::string lang(code.substr(0, end));
    for (char& c : lang) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    std::string_view region = end == std::string_view::npos ? "" : code.substr(end + 1, 2);
    if (lang == "zh")
        return (region == "TW" || region == "HK" || region == "MO") ? 15 : 16;
    if (lang == "nb" || lang == "nn") return 9;
    for (int i = 0; i < NLANGUAGES; ++i)
        if (lang == kLanguageCodes[i]) return i;
    return -1;
}

int Language_From_Locales(const std::vector<std::string>& locales) {
    for (const std::string& l : locales) {
        int lang = Language_From_Code(l);
        if (lang >= 0 && Language_Offered(lang)) return lang;
    }
    return LANG_ENGLISH;
}

int Desktop_Language() { return Language_From_Locales(Platform_Message_Locales()); }

const char* Language_Code(int language) {
    return (language >= 0 && language < NLANGUAGES) ? kLanguageCodes[language] : "en";
}

// --- String lists ----------------------------------------------------------------------

void GetIndString(std::string& s, int listid, int index) {
    s.clear();
    a_resource r;
    if (!Resource_Get(RES_STRLIST, listid, r) || r.size < 2 || index < 1) return;
    if (static_cast<unsigned>(index) > Be16(r.data)) return;
    size_t pos = 2;
    for (int i = 1; i < index; ++i) {
        if (pos >= r.size) return;
        pos += 1 + size_t(r.data[pos]);
    }
    if (pos >= r.size || r.data[pos] > r.size - pos - 1) return;
    s.assign(reinterpret_cast<const char*>(r.data + pos + 1), r.data[pos]);
}

void Get_Lang_String(int index, int base, int language, std::string& s) {
    if (base == IDENTITY_STR_ID || language < 0 || language >= NLANGUAGES) language = LANG_ENGLISH;
    GetIndString(s, base + language, index);
    if (s.empty() && language != LANG_ENGLISH) GetIndString(s, base, index);
}

void Get_Translated_String(int index, int base, std::string& s) {
    Get_Lang_String(index, base, g_language, s);
    Do_Param_Text(s);
}

std::u16string Get_Translated_UString(int index, int base) {
    std::string s;
    Get_Translated_String(index, base, s);
    return Utf8_To_Utf16(s);
}

void Get_DLOG_String(int index, std::string& s) { Get_Translated_String(index, MAIN_STR_ID, s); }

namespace {

// One text of a window-text table at `pos`: false when it runs past the end.
bool Read_Text16(const a_resource& r, size_t& pos, std::string_view& out) {
    if (r.size - pos < 2) return false;
    size_t n = Be16(r.data + pos);
    pos += 2;
    if (r.size - pos < n) return false;
    out = std::string_view(reinterpret_cast<const char*>(r.data + pos), n);
    pos += n;
    return true;
}

}  // namespace

bool Window_Text(std::string_view english, int language, std::string& s) {
    if (language <= LANG_ENGLISH || language >= NLANGUAGES) return false;
    a_resource r;
    if (!Resource_Get(RES_WINTEXT, language, r) || r.size < 2) return false;
    // The pairs are sorted but of varying length: an index of their offsets
    // is kept per language once read.
    static std::vector<std::vector<uint32_t>> offsets(NLANGUAGES);
    std::vector<uint32_t>& index = offsets[size_t(language)];
    if (index.empty()) {
        size_t pos = 2;
        std::string_view a, b;
        for (unsigned i = 0, n = Be16(r.data); i < n; ++i) {
            size_t at = pos;
            if (!Read_Text16(r, pos, a) || !Read_Text16(r, pos, b)) break;
            index.push_back(uint32_t(at));
        }
    }
    auto key_at = [&](uint32_t at) {
        size_t pos = at;
        std::string_view k;
        (void)Read_Text16(r, pos, k);
        return k;
    };
    auto it = std::lower_bound(index.begin(), index.end(), english,
                               [&](uint32_t at, std::string_view e) { return key_at(at) < e; });
    if (it == index.end() || key_at(*it) != english) return false;
    size_t pos = *it;
    std::string_view k, text;
    if (!Read_Text16(r, pos, k) || !Read_Text16(r, pos, text)) return false;
    s.assign(text);
    return true;
}

std::string Window_Text(std::string_view english) {
    std::string s;
    if (!Window_Text(english, g_language, s)) s.assign(english);
    return s;
}

std::string Message_Text(std::string_view english, const std::vector<std::string>& values) {
    return Fill_Values(Window_Text(english), values);
}

void Param_Text(const std::string& p0, const std::string& p1, const std::string& p2,
                const std::string& p3) {
    const std::string* p[4] = {&p0, &p1, &p2, &p3};
    for (int i = 0; i < 4; ++i) {
        g_params[i] = *p[i];
        Cut(g_params[i]);
    }
}

bool Do_Param_Text(std::string& s) {
    return Replace_Escapes(s, '^', [](char next, std::string& out) {
        if (next < '0' || next > '3') return false;
        out += g_params[next - '0'];
        return true;
    });
}

bool Do_Substitutions(std::string& s) {
    return Replace_Escapes(s, '@', [](char next, std::string& out) {
        next = static_cast<char>(next & ~0x20);  // either case
        int id = next == 'P' ? ID_PROGRAM_TITLE : next == 'C' ? ID_MAKER_NAME
               : next == 'U' ? ID_MAKER_URL : 0;
        if (!id) return false;
        std::string part;
        GetIndString(part, IDENTITY_STR_ID, id);
        out += part;
        return true;
    });
}

// --- Alerts and questions -------------------------------------------------------------------

namespace {

a_dialog_request Alert_Request(int dialog, int message, int button1, int button2, int button3,
                               int default_button = 0) {
    a_dialog_request r;
    r.layout = dialog;
    Get_Translated_String(message, dialog == DLOG_ONE_BUTTON ? ALERT_STR_ID : MAIN_STR_ID,
                          r.message);
    int nbuttons = dialog == DLOG_ONE_BUTTON ? 1 : dialog == DLOG_TWO_BUTTONS ? 2 : 3;
    const int labels[3] = {button1, button2, button3};
    for (int i = 0; i < nbuttons; ++i) {
        std::string label;
        Get_DLOG_String(labels[i], label);
        r.buttons.push_back(label);
    }
    r.keys = Layout_Keys(dialog);
    r.default_button = std::clamp(default_button, 0, nbuttons - 1);
    for (a_dialog_key& k : r.keys)
        if (k.key == DKEY_RETURN || k.key == DKEY_ENTER) k.button = r.default_button;
    return r;
}

void Show_Alert(int index, bool abort, const std::string& detail) {
    if (!abort && !Is_Human()) return;
    if (abort && g_dying) {  // a fatal error while reporting one
        Private_Folder_Remove();
        std::_Exit(70);
    }
    g_dying = abort;
    a_dialog_request r = Alert_Request(DLOG_ONE_BUTTON, index, STR_OK, 0, 0);
    if (!detail.empty()) r.message += "\r\n[" + detail + "]";
    (void)Dialog_Ask(r);  // one button: nothing to answer
    if (!abort) return;
    g_message_services.recovery.Call_Or([] {});
    Private_Folder_Remove();  // the undo files: _Exit runs no one's clean-up
    std::fflush(nullptr);
    std::_Exit(70);
}

}  // namespace

void OK_Alert(int index, bool abort) { Show_Alert(index, abort, {}); }
void OK_Alert_Detail(int index, const std::string& detail) { Show_Alert(index, false, detail); }

int Ask_YesNoCancel(int dialog, int message, int button1, int button2, int button3,
                    int default_button) {
    a_dialog_request r = Alert_Request(dialog, message, button1, button2, button3, default_button);
    int nbuttons = int(r.buttons.size());
    int answer = Dialog_Ask(r);
    return std::clamp(answer, 0, nbuttons - 1);
}

int Confirm_Msg(int dialog, int message, int button1, int button2, int button3,
                int default_button) {
    Param_Text(Doc_Name_Text());
    return Ask_YesNoCancel(dialog, message, button1, button2, button3, default_button);
}

void InternalError() { Fatal(ALERT_INTERNAL_ERROR); }

// Two owners for one service is a fault of the program, never of the user.
void notice_detail::Service_Taken() { InternalError(); }

void OutOfMemory(size_t size, const char* label) {
    Param_Text(Doc_Name_Text(),
               std::to_string(size), std::to_string(Memory_Free_Heap()),
               std::to_string(Memory_System_Available()));
    // The label names what was being made, so that a report can be traced.
    std::string detail;
    if (label && *label) detail = std::string(label) + "  " + std::to_string(size);
    Fatal(ALERT_OUT_OF_MEMORY, detail);
}

void MissingKey(int a, int b, int c, int d, const char* type) {
    std::string key = std::to_string(a) + "." + std::to_string(b) + "." + std::to_string(c) + "." +
                      std::to_string(d);
    Param_Text(type ? type : "", key);
    Fatal(ALERT_MISSING_DATA);
}

void MissingResource(int id, const char* type) {
    Param_Text(type ? type : "", std::to_string(id));
    Fatal(ALERT_MISSING_DATA);
}

void Memory_Constraint() {
    if (!g_mem_constraint) return;
    g_mem_constraint = false;
    OK_Alert(ALERT_MEMORY_LIMITED, false);
}

// --- Progress and prompt -----------------------------------------------------------------------

void Progress_Init() {
    if (g_progress_open) return;
    g_progress_open = true;
    Dialog_ProgressShow({true, 0});
}

void Progress_Tick(int32_t total, int32_t done) {
    if (total == PROGRESS_OPEN && done == -1) {
        Progress_Init();
        g_progress_held = true;
        return;
    }
    if (total == PROGRESS_CLOSE && done == -2) {
        g_progress_held = false;
        Progress_Stop();
        return;
    }
    Draw_Progress_Bar(total, done);
}

void Progress_Stop() {
    if (!g_progress_open || g_progress_held) return;
    g_progress_open = false;
    Dialog_ProgressShow({false, 0});
}

void Draw_Progress_Bar(int32_t total, int32_t done) {
    if (!g_progress_open) return;
    int permille = 0;
    if (total > 0) permille = static_cast<int>(int64_t(std::clamp(done, 0, total)) * 1000 / total);
    Dialog_ProgressShow({true, permille});
}

void Prompt_Show(int index) {
    std::string s;
    Get_DLOG_String(index, s);
    Dialog_PromptShow(s);
}

void Prompt_Hide() { Dialog_PromptShow(std::string()); }

void Messages_Init() {
    g_old_new_handler = std::set_new_handler(On_New_Failure);
}

void Messages_Stop() {
    std::set_new_handler(g_old_new_handler);
    g_progress_held = false;
    Progress_Stop();
    Prompt_Hide();
}
