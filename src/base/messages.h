// Numbered string lists with English fallback, the ^0..^3 and @ substitutions,
// alerts and questions, the fatal-error reports, the progress bar and the
// prompt line. A leaf module: it includes only the platform layer, so any
// layer may call it. Everything it shows goes through the dialog service.
// Process-wide state: the interface language, the alert parameters, the progress bar state, the
// message services and the memory-constraint flag (reads and writes); the dialog service of the
// platform.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/notice.h"

// Who drives the program: anything but HUMAN suppresses non-fatal alerts.
enum a_controller : int { HUMAN = 0, GHOST = 1, GHOST2 = 2, STEALTH = 3 };

// What the messages need of the layers above; without an owner each gives
// the stated default.
struct a_message_services {
    a_service<a_controller()> controller;  // gs.controller; HUMAN without an owner
    a_service<std::string()> doc_name;     // the document's name; empty without an owner
    a_service<void()> recovery;  // just before a fatal alert ends the program (save recovery)
};
extern a_message_services g_message_services;

// --- Languages ---------------------------------------------------------------

// The interface language index (gs.pref.language_offset): the list read is
// base id + this index. The preferences set it after reading.
void Messages_SetLanguage(int language);
int Messages_Language();
// True when this build carries strings of that language (English always).
bool Language_Offered(int language);
// Index of a language code ("de") or locale name ("de_DE.UTF-8", "zh_TW");
// -1 when unknown.
int Language_From_Code(std::string_view code);
// The first of the desktop's message locales (LANGUAGE, LC_ALL, LC_MESSAGES,
// LANG) this build offers; else the lowest offered language, English.
int Desktop_Language();
// The same for a list of locale names, first choice first.
int Language_From_Locales(const std::vector<std::string>& locales);
// The code of a language index; "en" for any index outside the table.
const char* Language_Code(int language);

// --- String lists ----------------------------------------------------------------

// String `index` of list `listid`; empty when the list or string is missing.
void GetIndString(std::string& s, int listid, int index);
// String `index` of list `base` in `language`, English when that language
// lacks it; no substitutions. The identity list is never shifted.
void Get_Lang_String(int index, int base, int language, std::string& s);
// The same in the interface language, with the ^0..^3 placeholders filled in.
void Get_Translated_String(int index, int base, std::string& s);
std::u16string Get_Translated_UString(int index, int base);
void Get_DLOG_String(int index, std::string& s);  // list 200

// The window's own texts, keyed by their English wording: the wording in
// `language`, or false (and `s` untouched) when that language lacks it.
bool Window_Text(std::string_view english, int language, std::string& s);
// The wording in the interface language, the English one when it lacks it.
std::string Window_Text(std::string_view english);

// Sets the placeholders ^0..^3 (each cut to 255 bytes); they keep their
// values until the next call.
void Param_Text(const std::string& p0, const std::string& p1 = {}, const std::string& p2 = {},
                const std::string& p3 = {});
// Replaces ^0..^3 by the parameters; the result is cut to 255 bytes. False,
// and `s` untouched, when there was no placeholder.
bool Do_Param_Text(std::string& s);
// Replaces @P, @C, @U (either case) by the program's name, the maker's name
// and web address. False when nothing was replaced.
bool Do_Substitutions(std::string& s);

// --- Alerts and questions ----------------------------------------------------------

enum : int {
    DLOG_ONE_BUTTON = 1199,    // message from the alert list, one button
    DLOG_THREE_BUTTONS = 1200, // message from list 200
    DLOG_TWO_BUTTONS = 1201,   // message from list 200
};

// Alert `index` of list 400 with an OK button. Not fatal: shown only while
// the controller is HUMAN. Fatal (`abort`): always shown, then the
// save-recovery hook runs and the process ends.
void OK_Alert(int index, bool abort);
// A non-fatal alert with `detail` (one line, such as the system's reason)
// on a line of its own below its text.
void OK_Alert_Detail(int index, const std::string& detail);
// Dialog `dialog` with `message` and buttons labelled by strings of list 200
// (button3 only for the three-button layout). Returns 0, 1 or 2 for the
// first, second or third button. Return and Enter press `default_button`;
// Escape (and closing the window) the second button of two, the third of
// three: the answer that changes nothing.
[[nodiscard]] int Ask_YesNoCancel(int dialog, int message, int button1, int button2, int button3 = 0,
                                  int default_button = 0);
// The same with ^0 set to the document's name.
[[nodiscard]] int Confirm_Msg(int dialog, int message, int button1, int button2, int button3 = 0,
                              int default_button = 0);

// Fatal conditions: show the numbered alert and end the process with a
// non-zero status. Never return.
[[noreturn]] void InternalError();
// Out of memory for `size` bytes; a `label` naming the allocation follows
// the alert's text as "[label  size]".
[[noreturn]] void OutOfMemory(size_t size, const char* label = nullptr);
// A record of the art database is missing: alert 6 with the record type
// ("PIXT", "GRAD") and the key's four components.
[[noreturn]] void MissingKey(int a, int b, int c, int d, const char* type);
// A resource of the program is missing: alert 6 with its type and id.
[[noreturn]] void MissingResource(int id, const char* type);

// Set by code that had to make something smaller than asked for lack of
// memory; Memory_Constraint then tells the user once (alert 24, not fatal).
extern bool g_mem_constraint;
void Memory_Constraint();


// --- Progress and prompt --------------------------------------------------------------

// Progress_Tick(PROGRESS_OPEN, -1) opens the bar for a run of several items
// and keeps it open across their own Progress_Init/Progress_Stop;
// Progress_Tick(PROGRESS_CLOSE, -2) closes it.
enum : int32_t { PROGRESS_OPEN = 65535, PROGRESS_CLOSE = 65534 };
void Progress_Init();
void Progress_Tick(int32_t total, int32_t done);
void Progress_Stop();
// Fills the open bar to done / total (clamped; an empty total draws empty).
void Draw_Progress_Bar(int32_t total, int32_t done);

// Shows string `index` of list 200 on the prompt line; Prompt_Hide clears it.
void Prompt_Show(int index);
void Prompt_Hide();

void Messages_Init();
void Messages_Stop();
