#include "text/text_edit.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "model/document.h"
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

}  // namespace

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
    return true;
}

bool Is_Semitic(char16_t c) {
    return (c >= 0x0590 && c <= 0x05FF) || (c >= 0x0600 && c <= 0x07BF) || (c >= 0xFB00 && c <= 0xFB4F) ||
           (c >= 0xFC40 && c <= 0xFD1F);
}

int Find_Bak_Char(const a_om_rec& om, int pos) { return Off_Pair(om, std::max(1, pos - 1), true); }

int Find_Fwd_Char(const a_om_rec& om, int pos) { return Off_Pair(om, std::min(int(om.nxyl), pos + 1), false); }
