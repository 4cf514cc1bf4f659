#include "text/text_edit.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "model/blocks.h"
#include "model/document.h"
#include "model/history.h"
#include "model/notices.h"
#include "model/ph_blocks.h"
#include "model/selection.h"
#include "render/compositor.h"
#include "text/text_blocks.h"
#include "text/text_metrics.h"

namespace {

// A position inside a pair moves to the pair's start (back) or end.
int Off_Pair(const a_om_rec& om, int pos, bool back) {
    pos = std::clamp(pos, 1, std::max(1, int(om.nxyl)));
    if (Is_Pair_Trail(om, pos)) pos += back ? -1 : 1;
    return pos;
}

// The characters changed since editing began or since the last step.
bool g_changed = false;

bool Is_Empty_Block(const a_om_rec& om) { return om.nxyl <= 1; }

// Every selected character of the edited block through f, as one text change.
template <typename F>
bool For_Selected(F f) {
    int omx = 0;
    a_om_rec* om = Edited_OM(&omx);
    if (!om || g_ed.sel_lo >= g_ed.sel_hi) return false;
    Begin_Text_Change(omx);
    for (int i = g_ed.sel_lo; i < g_ed.sel_hi && i < om->nxyl; ++i) f(om->xyl[i], i == g_ed.sel_lo);
    End_Text_Change(omx);
    g_changed = true;
    return true;
}

}  // namespace

void Edit_Changed() { g_changed = true; }
void Edit_Recorded() { g_changed = false; }
bool Edit_Has_Changes() { return g_changed; }

void Edit_OK() {
    int omx = 0;
    a_om_rec* om = Edited_OM(&omx);
    if (om && g_ed.edit_new && Is_Empty_Block(*om)) {
        // Nothing was typed into the new block: it goes, as it came, without a step.
        Edit_Leave();
        Obj_PostRender(omx);
        Obj_Dispose(g_doc.up->oj, omx);
        Obj_Number_Changed();
        g_changed = false;
        return;
    }
    if (om && g_changed) History_Emit(OP_TEXT_EDIT);
    g_changed = false;
    Edit_Leave();
}

void Edit_Cancel() {
    const bool undo = Edited_OM() && (g_changed || g_ed.edit_new);
    g_changed = false;
    Edit_Leave();  // the block reference goes before the undo takes the block away
    if (!undo) return;
    History_Emit(OP_TEXT_EDIT);
    Undo_Silent();
}

bool Text_Edit(int omx, bool is_new) {
    a_oj_item* it = Curr_Item(omx);
    if (!it || it->kind != TEXT_BLOCK || !it->om) return false;
    g_ed = a_edit_rec{};
    g_ed.edit_ux = g_doc.upx;
    g_ed.edit_objid = it->objid;
    g_ed.edit_omx = omx;
    g_ed.edit_new = is_new;
    g_ed.sel_omx = omx;
    g_ed.sel_lo = g_ed.sel_hi = it->om->nxyl;
    g_changed = false;
    Obj_PostRender(omx);
    return true;
}

void Edit_Leave() {
    int omx = 0;
    if (Edited_OM(&omx)) Obj_PostRender(omx);
    g_ed = a_edit_rec{};
}

a_om_rec* Edited_OM(int* omx) {
    if (g_ed.edit_objid == 0 || !g_doc.up || g_ed.edit_ux != g_doc.upx) return nullptr;
    a_doc_unit& u = *g_doc.up;
    for (int i = 1; i <= u.oj.nlist; ++i) {
        a_oj_item& it = u.oj.list[i];
        if (it.objid != g_ed.edit_objid || it.kind != TEXT_BLOCK || !it.om) continue;
        g_ed.edit_omx = i;  // restacking moves the block
        // An undo may have given the block fewer characters.
        g_ed.sel_hi = std::clamp(g_ed.sel_hi, 1, std::max(1, int(it.om->nxyl)));
        g_ed.sel_lo = std::clamp(g_ed.sel_lo, 1, g_ed.sel_hi);
        if (omx) *omx = i;
        return it.om;
    }
    return nullptr;
}

void Set_Sel_Range(int a, int b) {
    int omx = 0;
    const a_om_rec* om = Edited_OM(&omx);
    if (!om) return;
    const int lo = Off_Pair(*om, std::min(a, b), true);
    const int hi = a == b ? lo : Off_Pair(*om, std::max(a, b), false);
    if (g_ed.sel_omx == omx && g_ed.sel_lo == lo && g_ed.sel_hi == hi) return;
    g_ed.sel_omx = omx;
    g_ed.sel_lo = lo;
    g_ed.sel_hi = hi;
    g_ed.edit_lineud = false;
    Obj_PostRender(omx);
}

void Set_Sel_Empty(int pos) { Set_Sel_Range(pos, pos); }

bool Is_Text_Range() { return Edited_OM() && g_ed.sel_lo < g_ed.sel_hi; }

void Ins_N(a_om_rec& om, int n, int at) {
    if (n <= 0 || at < 1 || at > om.nxyl || om.nxyl + n > MAX_NXYL) return;
    std::memmove(&om.xyl[at + n], &om.xyl[at], sizeof(a_xyl_char) * size_t(om.nxyl - at + 1));
    for (int i = at; i < at + n; ++i) {
        om.xyl[i] = a_xyl_char{};
        om.xyl[i].cc_size = 0;  // the block's size
    }
    om.nxyl += n;
}

void Del_N(a_om_rec& om, int n, int at) {
    if (n <= 0 || at < 1 || at + n > om.nxyl) return;  // never the end marker
    std::memmove(&om.xyl[at], &om.xyl[at + n], sizeof(a_xyl_char) * size_t(om.nxyl - at - n + 1));
    om.nxyl -= n;
}

int Prepare_For_Insertion(int len) {
    a_om_rec* om = Edited_OM();
    if (!om || len < 0) return -1;
    const int have = g_ed.sel_hi - g_ed.sel_lo;
    int delta = len - have;
    if (delta > 0) {
        const int room = MAX_NXYL - om->nxyl;
        if (room == 0) {
            Block_Sound(SND_BLOCK_WARNING);
            return -1;
        }
        if (delta > room) len -= delta - room, delta = room;
        Ins_N(*om, delta, g_ed.sel_lo + have);
    } else if (delta < 0) {
        Del_N(*om, -delta, g_ed.sel_lo + len);
    }
    g_ed.sel_hi = g_ed.sel_lo + len;
    return len;
}

bool Ed_Ins_UBuf(const char16_t* ubuf) {
    int omx = 0;
    a_om_rec* om = Edited_OM(&omx);
    if (!om) return false;
    std::u16string s;
    for (const char16_t* p = ubuf; p && *p; ++p)
        if (*p != CHAR_LINEFEED) s.push_back(*p);
    // Cut to the free entries here, so that a cut never keeps half a pair.
    const size_t room = size_t(MAX_NXYL - om->nxyl + (g_ed.sel_hi - g_ed.sel_lo));
    const bool given = !s.empty();
    if (s.size() > room) {
        s.resize(room);
        if (!s.empty() && Is_High_Surrogate(s.back())) s.pop_back();
    }
    if (given && s.empty()) {  // nothing of it fits
        Block_Sound(SND_BLOCK_WARNING);
        return false;
    }
    Begin_Text_Change(omx);
    const int lo = g_ed.sel_lo;
    const int len = Prepare_For_Insertion(int(s.size()));
    for (int i = 0; i < len; ++i) om->xyl[lo + i].cc_char = s[size_t(i)];
    End_Text_Change(omx);
    if (len < 0) return false;
    // The reference character: the first inserted, or after a leading space the one after the text.
    char16_t ref = len > 0 ? s[0] : 0;
    if (ref == u' ') ref = om->xyl[lo + len].cc_char;
    const int caret = Is_Semitic(ref) ? lo : lo + len;
    g_ed.sel_lo = g_ed.sel_hi = caret;
    g_ed.edit_lineud = false;
    g_changed = true;
    return true;
}

bool Del_Range() {
    int omx = 0;
    a_om_rec* om = Edited_OM(&omx);
    if (!om || g_ed.sel_lo >= g_ed.sel_hi) return false;
    Begin_Text_Change(omx);
    Del_N(*om, g_ed.sel_hi - g_ed.sel_lo, g_ed.sel_lo);
    End_Text_Change(omx);
    g_ed.sel_hi = g_ed.sel_lo;
    g_ed.edit_lineud = false;
    g_changed = true;
    return true;
}

bool Apply_Overrides(const a_char_overrides& o) {
    return For_Selected([&](a_xyl_char& c, bool first) {
        c.cc_nudgex = first ? o.dx : 0;
        c.cc_nudgey = o.dy;
        c.cc_nudget = o.angle;
        c.cc_size = o.size;
        c.cc_boldf = o.bold;
        c.cc_italf = o.italic;
        c.cc_undf = o.underline;
    });
}

a_char_overrides Sel_Overrides() {
    a_char_overrides o;
    const a_om_rec* om = Edited_OM();
    if (!om || g_ed.sel_lo >= om->nxyl) return o;
    const a_xyl_char& c = om->xyl[g_ed.sel_lo];
    o.size = c.cc_size == 0 ? 100 : c.cc_size;
    o.angle = c.cc_nudget;
    o.dx = c.cc_nudgex;
    o.dy = c.cc_nudgey;
    o.bold = c.cc_boldf;
    o.italic = c.cc_italf;
    o.underline = c.cc_undf;
    return o;
}

bool Apply_Range_Color(a_win_pixel32 color) {
    return For_Selected([&](a_xyl_char& c, bool) { c.cc_color = color; });
}

bool Apply_Range_Font(uint32_t fontx) {
    return For_Selected([&](a_xyl_char& c, bool) { c.cc_fontx = fontx; });
}

bool Is_Semitic(char16_t c) {
    return (c >= 0x0590 && c <= 0x05FF) || (c >= 0x0600 && c <= 0x07BF) || (c >= 0xFB00 && c <= 0xFB4F) ||
           (c >= 0xFC40 && c <= 0xFD1F);
}

int Find_Bak_Char(const a_om_rec& om, int pos) { return Off_Pair(om, std::max(1, pos - 1), true); }

int Find_Fwd_Char(const a_om_rec& om, int pos) { return Off_Pair(om, std::min(int(om.nxyl), pos + 1), false); }

bool Ed_Ins_Run(const std::vector<a_xyl_char>& run) {
    int omx = 0;
    a_om_rec* om = Edited_OM(&omx);
    if (!om || run.empty()) return false;
    size_t n = std::min(run.size(), size_t(MAX_NXYL - om->nxyl + (g_ed.sel_hi - g_ed.sel_lo)));
    if (n > 0 && n < run.size() && Is_High_Surrogate(run[n - 1].cc_char)) --n;
    if (n == 0) {
        Block_Sound(SND_BLOCK_WARNING);
        return false;
    }
    Begin_Text_Change(omx);
    const int lo = g_ed.sel_lo;
    const int len = Prepare_For_Insertion(int(n));
    for (int i = 0; i < len; ++i) om->xyl[lo + i] = run[size_t(i)];
    End_Text_Change(omx);
    if (len < 0) return false;
    g_ed.sel_lo = g_ed.sel_hi = lo + len;
    g_ed.edit_lineud = false;
    g_changed = true;
    return true;
}
