#include "model/arrange.h"

#include <algorithm>
#include <vector>

#include "model/document.h"
#include "model/history_ops.h"
#include "model/notices.h"
#include "model/block_moves.h"
#include "model/ph_blocks.h"
#include "model/selection.h"

namespace {

std::vector<int> Selected() {
    std::vector<int> v;
    for (int omx = OMX_START; Selection_Enum(omx);) v.push_back(omx);
    return v;
}

// Moves one block, posting its old and new area.
void Move_Posted(int omx, int dx, int dy) {
    if (dx == 0 && dy == 0) return;
    Obj_PostRender(omx);
    Obj_Move_XY(omx, dx, dy);
    Obj_PostRender(omx);
}

int TopMost(const std::vector<int>& sel) {
    int best = sel.front();
    for (int omx : sel)
        if (Obj_BBox(omx).top < Obj_BBox(best).top) best = omx;
    return best;
}

// Where a box's left (top), centre or right (bottom) is along one axis.
int Edge_Of(const Rect& r, a_align_edge edge) {
    switch (edge) {
        case ALIGN_H_L: return r.left;
        case ALIGN_H_C: return (r.left + r.right) / 2;
        case ALIGN_H_R: return r.right;
        case ALIGN_V_T: return r.top;
        case ALIGN_V_C: return (r.top + r.bottom) / 2;
        case ALIGN_V_B: return r.bottom;
    }
    return 0;
}

int Lo(const Rect& r, bool horz) { return horz ? r.left : r.top; }
int Hi(const Rect& r, bool horz) { return horz ? r.right : r.bottom; }

void Obj_Spread(bool horz) {
    std::vector<int> sel = Selected();
    if (sel.size() < 3) {
        Block_Sound(SND_BLOCK_WARNING);
        return;
    }
    int first = sel.front(), last = sel.front();
    for (int omx : sel) {
        if (Lo(Obj_BBox(omx), horz) < Lo(Obj_BBox(first), horz)) first = omx;
        if (Hi(Obj_BBox(omx), horz) > Hi(Obj_BBox(last), horz)) last = omx;
    }
    if (first == last) {  // one block spans the others: no room between two ends
        Block_Sound(SND_BLOCK_WARNING);
        return;
    }
    std::vector<int> inner;
    int widths = 0;
    for (int omx : sel)
        if (omx != first && omx != last) {
            inner.push_back(omx);
            widths += Hi(Obj_BBox(omx), horz) - Lo(Obj_BBox(omx), horz);
        }
    std::stable_sort(inner.begin(), inner.end(), [&](int a, int b) {
        return Lo(Obj_BBox(a), horz) < Lo(Obj_BBox(b), horz);
    });
    const int start = Hi(Obj_BBox(first), horz);
    const int free = Lo(Obj_BBox(last), horz) - start - widths;
    const int n = int(inner.size());
    int placed = 0;
    for (int i = 0; i < n; ++i) {
        int target = start + free * (i + 1) / (n + 1) + placed;
        Rect box = Obj_BBox(inner[size_t(i)]);
        int d = target - Lo(box, horz);
        Move_Posted(inner[size_t(i)], horz ? d : 0, horz ? 0 : d);
        placed += Hi(box, horz) - Lo(box, horz);
    }
    History_Emit(OP_BLOCK_SPREAD);
}

}  // namespace

void Enum_Align(a_align_edge edge) {
    std::vector<int> sel = Selected();
    if (sel.size() < 2) {
        Block_Sound(SND_BLOCK_WARNING);
        return;
    }
    const bool horz = edge <= ALIGN_H_R;
    const int ref = TopMost(sel);
    const int target = Edge_Of(Obj_BBox(ref), edge);
    for (int omx : sel) {
        if (omx == ref) continue;
        int d = target - Edge_Of(Obj_BBox(omx), edge);
        Move_Posted(omx, horz ? d : 0, horz ? 0 : d);
    }
    History_Emit(OP_BLOCK_ALIGN);
}

void Obj_Spread_H() { Obj_Spread(true); }
void Obj_Spread_V() { Obj_Spread(false); }

void Enum_AlignTo(int new_v, int new_h) {
    std::vector<int> sel = Selected();
    if (sel.empty()) {
        Block_Sound(SND_BLOCK_WARNING);
        return;
    }
    for (int omx : sel) {
        a_oj_item* it = Curr_Item(omx);
        if (it->kind == TEXT_BLOCK && it->om && g_doc_services.text.align_to.Installed()) {
            // Text by its anchor, by its own rule.
            Obj_PostRender(omx);
            g_doc_services.text.align_to.Call_Or([] {}, *it->om, Point{int16_t(new_v), int16_t(new_h)});
            Obj_PostRender(omx);
            continue;
        }
        Point c = Rect_Centre(Obj_BBox(omx));
        if (const a_ph_rec* ph = Curr_PH(omx)) c = ph->dst_center;
        Move_Posted(omx, new_h == KEEP_COORD ? 0 : new_h - c.h, new_v == KEEP_COORD ? 0 : new_v - c.v);
    }
    History_Emit(OP_BLOCK_ALIGN);
}

void Align_Horz(int num, int den) {
    if (den == 0) return;
    Enum_AlignTo(KEEP_COORD, Curr_Unit().paintbounds.right * num / den);
}

void Align_Vert(int num, int den) {
    if (den == 0) return;
    Enum_AlignTo(Curr_Unit().paintbounds.bottom * num / den, KEEP_COORD);
}

void Align_Center() {
    const Rect& b = Curr_Unit().paintbounds;
    Enum_AlignTo(b.bottom / 2, b.right / 2);
}

int Constrain_Layer_Index(int base, int delta) {
    int lo = OMX_START, hi = OMX_START;
    if (!Enum(true, false, Selectable_Kinds(), lo)) return base;
    (void)Enum(false, false, Selectable_Kinds(), hi);  // found when lo was
    return std::clamp(base + delta, lo, hi);
}

bool Layer_Can_Arrange(int delta) {
    int omx = OMX_NONE;
    return Is_One_Selected(omx) && Constrain_Layer_Index(omx, delta) != omx;
}

void Layer_ArrangeRel(int deltaz) {
    int omx = OMX_NONE;
    if (!Is_One_Selected(omx)) return;
    Layer_Arrange(omx, Constrain_Layer_Index(omx, deltaz));
}

void Layer_Arrange(int oldx, int newx) {
    if (oldx == newx || !Curr_Item(oldx) || !Curr_Item(newx)) return;
    Block_Sound(SND_BLOCK_ARRANGE);
    Layer_Arrange2(oldx, newx);
    History_Emit(OP_BLOCK_MOVEZ);
}

void Layer_Arrange2(int oldx, int newx) {
    if (!Curr_Item(oldx) || !Curr_Item(newx)) return;
    a_oj_master& oj = Curr_Unit().oj;
    a_oj_item moved = oj.list[oldx];
    if (oldx < newx)
        for (int i = oldx; i < newx; ++i) oj.list[i] = oj.list[i + 1];
    else
        for (int i = oldx; i > newx; --i) oj.list[i] = oj.list[i - 1];
    oj.list[newx] = moved;
    Obj_PostRender(newx);
}

void Enum_Obj_Dup() {
    std::vector<int> sel = Selected();
    if (sel.empty()) {
        Block_Sound(SND_BLOCK_WARNING);
        return;
    }
    // Ids, not indices: each new picture goes under the text and shifts those above it.
    std::vector<uint32_t> ids;
    for (int omx : sel) ids.push_back(Curr_Item(omx)->objid);
    a_oj_master& oj = Curr_Unit().oj;
    for (uint32_t id : ids) {
        int omx = 1;
        while (omx <= oj.nlist && oj.list[omx].objid != id) ++omx;
        a_oj_item& it = oj.list[omx];
        int newx = OMX_NONE;
        bool made = false;
        if (it.kind == PHOTO_BLOCK || it.kind == SYMBOL_BLOCK) made = PH_Dup(it.kind, omx, newx);
        else if (it.kind == TEXT_BLOCK)
            made = g_doc_services.text.dup.Call_Or([] { return false; }, omx, newx);
        else
            continue;
        if (!made) {  // the unit is full
            Block_Sound(SND_BLOCK_WARNING);
            break;
        }
        Set_Flag(oj.list[newx], PENDING_FLAG, true);
        Obj_PostRender(newx);
    }
    Obj_Number_Changed();
    Selection_Convert_Pending();
    History_Emit(OP_BLOCK_DUP);
}

void Enum_Obj_Del() {
    std::vector<int> sel = Selected();
    if (sel.empty()) {
        Block_Sound(SND_BLOCK_WARNING);
        return;
    }
    a_oj_master& oj = Curr_Unit().oj;
    for (auto it = sel.rbegin(); it != sel.rend(); ++it) {
        Obj_PostRender(*it);
        Obj_Dispose(oj, *it);
    }
    Obj_Number_Changed();
    Obj_Select_None();
    History_Emit(OP_BLOCK_DEL);
}
