#include "shell/prefs.h"

a_pref_rec g_pref;

void Prefs_Init() { g_pref = a_pref_rec{}; }

void Prefs_Stop() {}
