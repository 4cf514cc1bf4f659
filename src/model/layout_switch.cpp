#include "model/layout_switch.h"

#include <memory>

#include "model/notices.h"
#include "model/document.h"
#include "model/unit_scale.h"
#include "base/messages.h"
#include "base/string_ids.h"
#include "templates/catalogue.h"
#include "templates/expand.h"
#include "templates/recent_layouts.h"

namespace {

uint32_t Find_Exact_Source(a_sig_list& sig, uint8_t targ_kind) {
    const a_template& old = g_doc.doc_template;
    for (uint32_t i = 1; i <= sig.nsig; ++i)
        if (!sig.sig[i].used && old.units[sig.sig[i].src_ux].kind == targ_kind) return i;
    return 0;
}

[[nodiscard]] bool Find_Avail_Clone(const a_template& t, const a_template_mapping& map, uint32_t newx,
                      uint32_t& parx) {
    uint32_t x = newx;
    while (x > 1) {
        --x;
        if (map[x].mapkind == UMP_CLONE) continue;
        if (map[x].mapkind == UMP_COPY && t.units[x].kind == t.units[newx].kind) {
            parx = x;
            return true;
        }
        return false;
    }
    return false;
}

int Ask_Save_Before_Switch() {
    Param_Text(Doc_Name());
    return Ask_YesNoCancel(DLOG_THREE_BUTTONS, STR_SAVE_BEFORE_SWITCH, STR_SAVE, STR_DONT_SAVE,
                           STR_CANCEL);
}

}  // namespace

void Proj_PickLayout2(int index) {
    auto t = std::make_unique<a_template>();
    Expand_Template(TList_Get(index), *t);
    Doc_New(*t);
    RecentLay_Add(Label_Text(t->label));
}

void Calc_Template_Mapping(const a_template& t, a_template_mapping& map, a_sig_list& sig,
                           bool& all_exact) {
    sig.nsig = 0;
    for (uint32_t ux = 1; ux <= g_doc.doc_template.nunits; ++ux) {
        const a_doc_unit* u = g_doc.doc_units[ux];
        if (u && !u->clonef && !Is_Unit_Empty(*u)) sig.sig[++sig.nsig] = {ux, false};
    }
    all_exact = true;
    for (uint32_t newx = 1; newx <= t.nunits; ++newx) {
        uint32_t parx = 0;
        if (uint32_t s = Find_Exact_Source(sig, t.units[newx].kind)) {
            sig.sig[s].used = true;
            map[newx] = {UMP_COPY, sig.sig[s].src_ux};
        } else if (Find_Avail_Clone(t, map, newx, parx)) {
            map[newx] = {UMP_CLONE, parx};
        } else {
            map[newx] = {UMP_EMPTY, 0};
            if (!Has_Flag(t.units[newx].uflags, UNIT_NOTINDEXED)) all_exact = false;
        }
    }
    for (uint32_t i = 1; i <= sig.nsig; ++i)
        if (!sig.sig[i].used) all_exact = false;
    if (sig.nsig == 0) all_exact = true;
}

void Remap_Init_Rows(a_remap_rec& rec) {
    const a_template& t = *rec.templ;
    rec.rows.assign(t.nunits, 0);
    for (uint32_t r = 1; r <= t.nunits; ++r) {
        const a_unit_mapping& m = rec.map[r];
        if (m.mapkind == UMP_COPY) {
            rec.rows[r - 1] = m.ux;
        } else if (m.mapkind == UMP_CLONE && m.ux >= 1 && m.ux < r) {
            rec.rows[r - 1] = rec.rows[m.ux - 1];  // the source of the unit it clones
        }
    }
}

void Remap_From_Dialog(a_remap_rec& rec) {
    const a_template& t = *rec.templ;
    for (uint32_t r = 1; r <= t.nunits; ++r) {
        uint32_t src = r <= rec.rows.size() ? rec.rows[r - 1] : 0;
        rec.map[r] = src ? a_unit_mapping{UMP_COPY, src} : a_unit_mapping{UMP_EMPTY, 0};
    }
    // Consecutive units of one kind fed from one source stay linked as clones;
    // a run of three or more links every further unit to the run's first.
    for (uint32_t r = 2; r <= t.nunits && r <= rec.rows.size(); ++r) {
        uint32_t src = rec.rows[r - 1];
        if (src == 0 || src != rec.rows[r - 2] || t.units[r].kind != t.units[r - 1].kind) continue;
        const a_unit_mapping& prev = rec.map[r - 1];
        rec.map[r] = {UMP_CLONE, prev.mapkind == UMP_CLONE ? prev.ux : r - 1};
    }
}

void Do_Remap(const a_template& t, const a_template_mapping& map) {
    History_Flush();
    a_doc_unit* old_units[MAXNUNITS + 1] = {};
    for (uint32_t ux = 1; ux <= MAXNUNITS; ++ux) {
        old_units[ux] = g_doc.doc_units[ux];
        g_doc.doc_units[ux] = nullptr;
    }
    auto old_t = std::make_unique<a_template>(g_doc.doc_template);
    g_doc.doc_template = t;
    New_Doc_Buffers();
    for (uint32_t nx = 1; nx <= t.nunits; ++nx) {
        const uint32_t sx = map[nx].ux;
        if (map[nx].mapkind != UMP_COPY || sx < 1 || sx > old_t->nunits || !old_units[sx]) continue;
        a_doc_unit& dst = *g_doc.doc_units[nx];
        const Rect fresh = dst.paintbounds;
        Map_Unit_Content(dst, *old_units[sx]);
        // A design keeps its proportions on a unit of another size, and its
        // paint layer the unit's own bounds.
        Scale_Unit_Design(dst, Unit_Scaling(old_t->Unit(sx), old_units[sx]->paintbounds, t.Unit(nx), fresh));
    }
    g_doc.upx = 0;
    if (t.nunits > 0) Select_Doc_Unit(1);
    History_Base();
    for (a_doc_unit*& u : old_units) {
        if (!u) continue;
        Dispose_Unit_Content(*u);
        delete u;
        u = nullptr;
    }
    g_doc.doc_changed = false;
}

a_switch_result Switch_Layout() {
    if (!g_doc.doc_open) return SWITCH_CANCELLED;
    if (g_doc.doc_changed) {
        int answer = Ask_Save_Before_Switch();
        if (answer == 2) return SWITCH_CANCELLED;
        if (answer == 0 && !g_doc_services.save_document.Call_Or([] { return false; }))
            return SWITCH_SAVE_FAILED;
    }
    int index = g_doc_services.choose_template.Call_Or([] { return 0; });
    if (index < 1 || index > TList_Count()) return SWITCH_CANCELLED;
    auto t = std::make_unique<a_template>();
    Expand_Template(TList_Get(index), *t);
    auto rec = std::make_unique<a_remap_rec>();
    rec->templ = t.get();
    bool all_exact = false;
    Calc_Template_Mapping(*t, rec->map, rec->sig, all_exact);
    if (!all_exact) {
        if (!g_doc_services.ask_complex_remap.Call_Or([] { return false; }, *t, rec->map,
                                                      rec->sig.nsig, rec->sig.sig))
            return SWITCH_CANCELLED;
    }
    Do_Remap(*t, rec->map);
    return SWITCH_DONE;
}
