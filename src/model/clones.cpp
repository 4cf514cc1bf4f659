#include "model/clones.h"

#include "model/notices.h"
#include "platform/sound.h"
#include "model/document.h"
#include "base/messages.h"
#include "base/string_ids.h"

namespace {

a_doc_unit& Unit(uint32_t ux) {
    if (ux < 1 || ux > g_doc.doc_template.nunits || !g_doc.doc_units[ux]) InternalError();
    return *g_doc.doc_units[ux];
}

void Changed(uint32_t ux, int op) {
    g_doc.doc_changed = true;
    History_Emit(op);
    Notice_Unit_Dirty(ux);
}

bool Ask_Make_Clone() {
    return Ask_YesNoCancel(DLOG_TWO_BUTTONS, STR_CLONE_QUESTION, STR_OK, STR_CANCEL) == 0;
}

}  // namespace

void Clone(uint32_t ux) {
    a_doc_unit& u = Unit(ux);
    if (ux == 1) InternalError();  // unit 1 is always a master
    u.clonef = true;
    Dispose_Unit_Content(u);
    Changed(ux, OP_CLONE);
}

void Unclone(uint32_t ux) {
    a_doc_unit& u = Unit(ux);
    uint32_t master = Find_Clone_Master(ux);
    if (master != ux) Copy_Unit_Content2(u, Unit(master));
    u.clonef = false;
    Changed(ux, OP_UNCLONE);
}

a_clone_toggle_result Clone_Toggle(uint32_t ux) {
    a_doc_unit& u = Unit(ux);
    if (u.clonef) {
        Unclone(ux);
        return CLONE_TOGGLED;
    }
    if (u.groupx == 1 || ux == 1) {
        g_doc_services.play_sound.Call_Or([] {}, SND_REFUSED);
        return CLONE_REFUSED;
    }
    if (!Is_Unit_Empty(u) && !Ask_Make_Clone()) return CLONE_CANCELLED;
    Clone(ux);
    return CLONE_TOGGLED;
}

void Print_Toggle(uint32_t ux) {
    a_doc_unit& u = Unit(ux);
    u.printf = !u.printf;
    Changed(ux, OP_TOGGLEPRINT);
}
