#include "model/clones.h"

#include "model/doc_hooks.h"
#include "model/document.h"
#include "shell/messages.h"
#include "shell/string_ids.h"

namespace {

a_doc_unit& Unit(uint32_t ux) {
    if (ux < 1 || ux > g_doc.doc_template.nunits || !g_doc.doc_units[ux]) InternalError();
    return *g_doc.doc_units[ux];
}

void Changed(int op) {
    g_doc.doc_changed = true;
    if (g_doc_hooks.history_emit) g_doc_hooks.history_emit(op);
    if (g_doc_hooks.views_refresh) g_doc_hooks.views_refresh();
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
    Changed(OP_CLONE);
}

void Unclone(uint32_t ux) {
    a_doc_unit& u = Unit(ux);
    uint32_t master = Find_Clone_Master(ux);
    if (master != ux) Copy_Unit_Content2(u, Unit(master));
    u.clonef = false;
    Changed(OP_UNCLONE);
}

a_clone_toggle_result Clone_Toggle(uint32_t ux) {
    a_doc_unit& u = Unit(ux);
    if (u.clonef) {
        Unclone(ux);
        return CLONE_TOGGLED;
    }
    if (u.groupx == 1 || ux == 1) {
        if (g_doc_hooks.play_sound) g_doc_hooks.play_sound(SND_REFUSED);
        return CLONE_REFUSED;
    }
    if (!Is_Unit_Empty(u) && !Ask_Make_Clone()) return CLONE_CANCELLED;
    Clone(ux);
    return CLONE_TOGGLED;
}
