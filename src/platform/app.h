// The process-wide toolkit application. Headless runs (the command-line tool,
// tests) use Qt's offscreen platform, so nothing needs a display.
// Process-wide state: the application object, the command-line arguments and the headless flag
// (writes at start, reads after).
#pragma once
#include <string>

// Starts the toolkit once; `headless` selects the offscreen platform.
// Safe to call again: later calls do nothing.
[[nodiscard]] bool Platform_Init(bool headless);
void Platform_Stop();
bool Platform_IsHeadless();

// The user's locale as language_TERRITORY ("de_DE", "zh_TW").
std::string Platform_Locale_Name();
