// A text block's record in an undo snapshot: its style, characters with their
// overrides and places, and overflow marks; never its layout and render
// caches, which are rebuilt after a restore.
// Process-wide state: none.
#pragma once
#include "model/text_rec.h"
#include "model/undo_bytes.h"

void Save_OM(a_undo_writer& w, const a_om_rec& om);
// Fills `om` (its caches emptied); false when the bytes are not one record,
// with counts and enumerations checked before they are stored.
[[nodiscard]] bool Read_OM(a_undo_reader& r, a_om_rec& om);
