// Numbered string lists with English fallback, and the fatal-error handlers.
// A leaf module: it includes only the platform layer, so any layer may call it.
#pragma once
#include <cstddef>
#include <string>

// String `index` of list `listid`; empty when the list or string is missing.
void GetIndString(std::string& s, int listid, int index);

// String `index` of list `base` in the interface language, English when the
// language lacks it, with the ^0..^3 placeholders filled in.
void Get_Translated_String(int index, int base, std::string& s);
std::u16string Get_Translated_UString(int index, int base);
void Get_DLOG_String(int index, std::string& s);

// Sets the placeholders ^0..^3; they keep their values until the next call.
void Param_Text(const std::string& p0, const std::string& p1 = {}, const std::string& p2 = {},
                const std::string& p3 = {});

// Fatal conditions: show the numbered alert and end the process with a
// non-zero status. Never return.
[[noreturn]] void InternalError();
[[noreturn]] void OutOfMemory(size_t size);
// A record of the art database is missing: alert 6 with the record type
// ("PIXT", "GRAD") and the key's four components.
[[noreturn]] void MissingKey(int a, int b, int c, int d, const char* type);

// Called just before a fatal alert ends the program (save recovery).
using a_fatal_hook = void (*)();
void Messages_SetFatalHook(a_fatal_hook hook);

void Messages_Init();
void Messages_Stop();
