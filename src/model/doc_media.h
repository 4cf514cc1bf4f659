// The document's current direct-print medium in the preferences, seen in the
// frame of the document's layout.
// Process-wide state: the document g_doc and the preferences (reads).
#pragma once
#include "base/prefs.h"

// Entry doc_mediax of the document's direct-print kind; landscape layouts
// see the stored nudge turned a quarter.
void Get_Media_Specs(a_print_media_spec& spec);
void Set_Media_Specs(const a_print_media_spec& spec);
