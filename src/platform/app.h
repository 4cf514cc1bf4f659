// The process-wide toolkit application. Headless runs (the command-line tool,
// tests) use Qt's offscreen platform, so nothing needs a display.
// Process-wide state: the application object, the command-line arguments and the headless flag
// (writes at start, reads after); the toolkit's message handler and the
// standard error stream while a decoder runs (under a lock).
#pragma once
#include <string>
#include <vector>

// Starts the toolkit once; `headless` selects the offscreen platform. The
// toolkit's own messages (and those of its image libraries) stay off the
// terminal: they go to the file CIRQUEL_DEBUG_LOG names, else nowhere.
// Without `drawing` (short commands that read files and strings only) no
// images are painted and no fonts or screens are asked for; a later call
// with `drawing` then starts the toolkit again for drawing. Safe to call
// again: otherwise later calls do nothing.
[[nodiscard]] bool Platform_Init(bool headless, bool drawing = true);
void Platform_Stop();
bool Platform_IsHeadless();

// While one lives (on any thread), what the image libraries print straight
// to the standard error stream goes to the debug log, or nowhere: libpng's
// errors bypass the toolkit's messages. The program's own messages are
// printed after a decoder is done, never while one of these lives.
class a_quiet_stderr {
public:
    a_quiet_stderr();
    ~a_quiet_stderr();
    a_quiet_stderr(const a_quiet_stderr&) = delete;
    a_quiet_stderr& operator=(const a_quiet_stderr&) = delete;
};

// The user's locale as language_TERRITORY ("de_DE", "zh_TW").
std::string Platform_Locale_Name();
// The locales the user wants messages in, first choice first, as gettext
// reads them: the list of LANGUAGE (unless the locale is C or POSIX), then
// the first set of LC_ALL, LC_MESSAGES and LANG. Names as written ("fr_CA.UTF-8", "pt").
std::vector<std::string> Platform_Message_Locales();
