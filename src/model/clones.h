// Clones: units that show the design of the nearest earlier master.
// Process-wide state: the document g_doc (reads and writes); sends the document notices.
#pragma once
#include <cstdint>

void Clone(uint32_t ux);
void Unclone(uint32_t ux);

enum a_clone_toggle_result { CLONE_TOGGLED, CLONE_REFUSED, CLONE_CANCELLED };
// The unit list's clone toggle, with its rules and question.
a_clone_toggle_result Clone_Toggle(uint32_t ux);
