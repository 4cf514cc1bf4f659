// The recent projects kept in the preferences: the start screen's list.
// Slot order is not kept meaningful on disk; the list is read by time.
// Process-wide state: g_pref.recent (reads and writes).
#pragma once
#include <string>
#include <vector>

#include "base/prefs.h"

// Puts `path` first with the current time, dropping an older entry of the
// same path; when the list is full the oldest entry goes. A path too long
// for a slot is not recorded (a cut path would name another file).
void Recent_Project_Add(const std::string& path);
// The recorded entries, most recently used first.
std::vector<a_recent_doc> Recent_Projects();
