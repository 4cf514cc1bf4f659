// Clones: units that show the design of the nearest earlier master. Unit
// numbers are 1-based; unit 1 is always a master.
// Process-wide state: the document g_doc (reads and writes); sends the document notices.
#pragma once
#include <cstdint>

// Makes ux a clone, freeing the design it owned.
void Clone(uint32_t ux);
// Gives ux a copy of its master's design of its own.
void Unclone(uint32_t ux);

enum a_clone_toggle_result { CLONE_TOGGLED, CLONE_REFUSED, CLONE_CANCELLED };
// The unit list's clone toggle, with its rules and question: the first of a
// run is refused, and a unit with a design asks before losing it.
[[nodiscard]] a_clone_toggle_result Clone_Toggle(uint32_t ux);

// Whether ux prints with the sheet, flipped; one history step.
void Print_Toggle(uint32_t ux);
