// The injection: the chunks of an import become text blocks side by side
// across the current unit, one history step.
// Process-wide state: the document's current unit and selection; the
// history through its notice.
#pragma once
#include "tracks/song_table.h"

// Plain horizontal, left-justified blocks at 10 points, shrunk once when
// together wider than the unit, then spaced and selected; OP_IMPORT. Does
// nothing without chunks or a unit; chunks past the unit's block limit are
// left out. Empties `chunks`. The number of blocks made.
int Inject_Chunks(a_chunk_table& chunks);
