#include "shell/collage_cmds.h"

#include "images/pack.h"
#include "model/block_moves.h"
#include "model/document.h"
#include "model/selection.h"
#include "shell/mainloop.h"
#include "ui/interface.h"
#include "ui/pack_sliders.h"

bool Collage_New() {
    if (Pack_Active() || !g_doc.doc_open || !g_doc.up || g_doc.up->clonef) return false;
    Obj_Select_None();
    Pack_Enter(gs.curr_phase == COLLAGE_PHASE ? PHOTO_PHASE : gs.curr_phase);
    Pack_Sliders_Attach();
    Sliders_To_Pack();
    Phase_Set(COLLAGE_PHASE);
    return true;
}

void Collage_OK() {
    if (Pack_Active()) Phase_Set(a_phase(Pack_OK()));
}

void Collage_Cancel() {
    if (Pack_Active()) Phase_Set(a_phase(Pack_Cancel()));
}

bool Collage_Drop(int omx, Point start, Point end) {
    if (!Pack_Active()) return false;
    int part = 0;
    const int from = Omx_To_Slotx(omx), to = Omx_To_Slotx(Obj_Find(end, part));
    if (from < 0 || to < 0 || from == to) return false;
    Track_Step(TRACK_MOVE, omx, false, start, start);  // the photo back where it sat in its slot
    Dispose_Saved_Blocks();
    return Pack_Swap_Slots(from, to);
}

void Collage_Finish() { Collage_OK(); }

void Collage_Leave_For(a_phase phase) {
    if (Pack_Active()) (void)Pack_OK();
    Phase_Set(phase);
}
