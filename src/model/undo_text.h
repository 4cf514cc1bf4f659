// A text block's record in an undo snapshot: the record up to and without
// its layout and render caches. It carries the fields the record has now
// (its character count) and must grow with the record.
// Process-wide state: none.
#pragma once
#include "model/text_rec.h"
#include "model/undo_bytes.h"

void Save_OM(a_undo_writer& w, const a_om_rec& om);
// A record without caches; false when the bytes are not one record.
[[nodiscard]] bool Read_OM(a_undo_reader& r, a_om_rec& om);
