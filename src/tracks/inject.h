// The injection: the chunks of an import become text blocks side by side
// across the current unit, one history step.
// Process-wide state: the document's current unit and selection; the
// history through its notice.
#pragma once
#include "tracks/song_table.h"

// Plain horizontal, left-justified blocks placed inside the unit's printable
// area (inject_plan.h) at the largest size from 10 points down that fits, a
// long list split into pages; when nothing fits, at the smallest size. The
// blocks are selected; OP_IMPORT. Does nothing without chunks or a unit; a
// plan needing more blocks than the unit has room for is not taken. Empties
// `chunks`. The number of blocks made.
int Inject_Chunks(a_chunk_table& chunks);
