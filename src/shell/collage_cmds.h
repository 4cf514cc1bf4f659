// The collage as commands of the program: entering the collage phase on the
// current unit, and leaving it with OK (the slots become one photo) or Cancel.
// Process-wide state: gs.curr_phase (through Phase_Set), the pack g_pack, the document g_doc.
#pragma once
#include "platform/geometry.h"
#include "ui/phase.h"

// A new pack on the current unit from the collage controls; false when there
// is no unit, it is a clone, or a pack is already open.
bool Collage_New();
// OK or Cancel, and the phase that follows (the photo phase after OK with
// photos in the slots, else the phase the collage was started from).
void Collage_OK();
void Collage_Cancel();
// A slot's photo dragged from `start` and let go at `end` (cells): over
// another slot the two swap photos, and the drag's move is undone (true);
// otherwise false and the drag ends as a move inside the slot.
bool Collage_Drop(int omx, Point start, Point end);
// Another unit chosen, or the project closed, while a collage is open:
// its photos are kept (OK) first.
void Collage_Finish();
// Moving to another phase while a collage is open keeps its photos (OK).
void Collage_Leave_For(a_phase phase);
