#include "model/selection.h"

#include <utility>
#include <vector>

#include "base/messages.h"
#include "model/document.h"
#include "model/notices.h"
#include "model/ph_blocks.h"
#include "model/photo_rec.h"
#include "model/text_rec.h"

a_block_bar g_block_bar = PHOTO_BAR;

namespace {

int g_nesting = 0;
int g_set1_omx = OMX_NONE;
uint32_t g_set1_ticks = 0;
std::vector<std::pair<int, a_oj_item>> g_saved;

a_oj_master* Curr_List() { return g_doc.up ? &g_doc.up->oj : nullptr; }

void Post_Dirty(Rect& dirty, const Rect& box) { dirty = Rect_Union(dirty, box); }

a_block_bar Bar_Of_Kind(uint8_t kind) {
    switch (kind) {
        case PHOTO_BLOCK: return PHOTO_BAR;
        case SYMBOL_BLOCK: return SYMBOL_BAR;
        case TEXT_BLOCK: return TEXT_BAR;
        case SLOT_BLOCK: return COLLAGE_BAR;
        default: return PAINT_BAR;
    }
}

}  // namespace

a_oj_kind_set Kind_Bit(uint8_t kind) { return kind < 8 ? a_oj_kind_set(1u << kind) : 0; }

a_oj_kind_set Selectable_Kinds() {
    switch (g_block_bar) {
        case PHOTO_BAR: return Kind_Bit(PHOTO_BLOCK);
        case SYMBOL_BAR: return Kind_Bit(SYMBOL_BLOCK);
        case TEXT_BAR: return Kind_Bit(TEXT_BLOCK);
        case COLLAGE_BAR: return Kind_Bit(SLOT_BLOCK);
        default: return 0;
    }
}

void Block_Sound(int snd) { g_doc_services.play_sound.Call_Or([] {}, snd); }

bool Has_Flag(const a_oj_item& it, a_oj_flag f) { return (it.flags >> f) & 1u; }

void Set_Flag(a_oj_item& it, a_oj_flag f, bool on) {
    it.flags = on ? uint8_t(it.flags | (1u << f)) : uint8_t(it.flags & ~(1u << f));
}

bool Enum(bool forward, bool selected, a_oj_kind_set kindset, int& omx) {
    const a_oj_master* oj = Curr_List();
    int n = oj ? oj->nlist : 0;
    int i = omx == OMX_START ? (forward ? 1 : n) : (forward ? omx + 1 : omx - 1);
    for (; i >= 1 && i <= n; i += forward ? 1 : -1) {
        const a_oj_item& it = oj->list[i];
        if ((Kind_Bit(it.kind) & kindset) && (!selected || Has_Flag(it, SELECTED_FLAG))) {
            omx = i;
            return true;
        }
    }
    omx = OMX_NONE;
    return false;
}

int Count(a_oj_kind_set kindset, bool selected) {
    int n = 0;
    for (int omx = OMX_START; Enum(true, selected, kindset, omx);) ++n;
    return n;
}

bool Selection_Enum(int& omx) { return Enum(true, true, Selectable_Kinds(), omx); }
int Selection_Count() { return Count(Selectable_Kinds(), true); }

bool Is_One_Selected(int& omx) {
    omx = OMX_NONE;
    if (Selection_Count() != 1) return false;
    omx = OMX_START;
    return Selection_Enum(omx);
}

bool Is_One_Text_Selected(int& omx) {
    return Is_One_Selected(omx) && Curr_Item(omx)->kind == TEXT_BLOCK;
}

bool Is_Obj_Selected(int omx) {
    const a_oj_item* it = Curr_Item(omx);
    return it && Has_Flag(*it, SELECTED_FLAG);
}

bool Is_Obj_Visible(int omx) {
    const a_oj_item* it = Curr_Item(omx);
    return it && Has_Flag(*it, VISIBLE_FLAG);
}

Rect Obj_BBox(int omx) {
    const a_oj_item* it = Curr_Item(omx);
    if (!it) return Rect{};
    if (Has_PH_Kind(it->kind) && it->ph) return it->ph->dst_box;
    if (it->kind == TEXT_BLOCK && it->om)
        return g_doc_services.text.bbox.Call_Or([] { return Rect{}; }, *it->om);
    return Rect{};
}

a_move_class Obj_Move_Class(int omx) {
    const a_oj_item* it = Curr_Item(omx);
    if (!it || it->kind == PAINT_BLOCK) return MOVES_NULL;
    if (it->kind == TEXT_BLOCK && it->om)
        return a_move_class(
            g_doc_services.text.move_class.Call_Or([] { return int(MOVES_XY); }, *it->om));
    return MOVES_XY;
}

void Curr_Unit_PostRender() {
    a_doc_unit& u = Curr_Unit();
    u.render_dirty = u.paintbounds;
    g_doc_notices.unit_dirty.Emit(g_doc.upx, Rect{});
}

void Obj_PostRender(int omx) {
    a_oj_item* it = Curr_Item(omx);
    if (!it) return;
    a_doc_unit& u = Curr_Unit();
    if (it->kind == PAINT_BLOCK) {
        Curr_Unit_PostRender();
    } else {
        Rect box = Rect_Sect(Obj_BBox(omx), u.paintbounds);
        if (!Rect_IsEmpty(box)) {
            // The block left out of the composite (its text being edited) is
            // drawn over the rest, which its changes do not touch.
            Post_Dirty(it->objid != 0 && it->objid == u.excluded_id ? u.edit_dirty : u.render_dirty, box);
            g_doc_notices.unit_dirty.Emit(g_doc.upx, box);
        }
    }
    ++u.oj.seq;
}

void Obj_PostRefresh(int omx) {
    if (!Curr_Item(omx)) return;
    Post_Dirty(Curr_Unit().refresh_dirty, Obj_BBox(omx));
}

void Obj_Number_Changed() { g_doc_notices.block_count.Emit(); }

void Begin_Selection_Change() { ++g_nesting; }

void End_Selection_Change() {
    if (g_nesting <= 0) InternalError();
    if (--g_nesting > 0) return;
    int omx = OMX_START;
    if (Count(0xFF, true) == 1 && Enum(true, true, 0xFF, omx))
        g_block_bar = Bar_Of_Kind(Curr_Item(omx)->kind);
    g_doc_notices.selection.Emit();
}

void Selection_Toggle(int omx) {
    a_oj_item* it = Curr_Item(omx);
    if (!it) return;
    Begin_Selection_Change();
    Set_Flag(*it, SELECTED_FLAG, !Has_Flag(*it, SELECTED_FLAG));
    Obj_PostRefresh(omx);
    End_Selection_Change();
}

void Obj_Select_None_Except(uint8_t targ_kind) {
    a_oj_master* oj = Curr_List();
    if (!oj) return;
    Begin_Selection_Change();
    for (int i = 1; i <= oj->nlist; ++i) {
        a_oj_item& it = oj->list[i];
        if (Has_Flag(it, SELECTED_FLAG) && it.kind != targ_kind) {
            Set_Flag(it, SELECTED_FLAG, false);
            Obj_PostRefresh(i);
        }
    }
    End_Selection_Change();
}

void Obj_Select_None() { Obj_Select_None_Except(0xFF); }

void Obj_Select_All() {
    Begin_Selection_Change();
    for (int omx = OMX_START; Enum(true, false, Selectable_Kinds(), omx);) {
        Set_Flag(*Curr_Item(omx), SELECTED_FLAG, true);
        Obj_PostRefresh(omx);
    }
    End_Selection_Change();
}

void Selection_Set1(int omx, uint32_t ticks) {
    a_oj_item* it = Curr_Item(omx);
    if (!it) return;
    Begin_Selection_Change();
    Obj_Select_None();
    if (it->kind == PAINT_BLOCK) {
        g_block_bar = PAINT_BAR;
    } else {
        Set_Flag(*it, SELECTED_FLAG, true);
        Obj_PostRefresh(omx);
        g_set1_omx = omx;
        g_set1_ticks = ticks;
    }
    End_Selection_Change();
}

int Last_Set1_Block(uint32_t& ticks) {
    ticks = g_set1_ticks;
    return g_set1_omx;
}

void Selection_Convert_Pending() {
    a_oj_master* oj = Curr_List();
    if (!oj) return;
    Begin_Selection_Change();
    Obj_Select_None();
    for (int omx = OMX_START; Enum(true, false, Selectable_Kinds(), omx);) {
        a_oj_item& it = oj->list[omx];
        if (!Has_Flag(it, PENDING_FLAG)) continue;
        Set_Flag(it, PENDING_FLAG, false);
        Set_Flag(it, SELECTED_FLAG, true);
        Obj_PostRefresh(omx);
    }
    End_Selection_Change();
}

void Selection_Cycle(bool forward) {
    a_oj_kind_set kinds = Selectable_Kinds();
    if (Count(kinds, false) <= 1) {
        Block_Sound(SND_BLOCK_WARNING);
        return;
    }
    // Forward goes down the stack from the lowest selected block, backward up
    // from the highest; each wraps around.
    int from = OMX_START;
    if (!Enum(forward, true, kinds, from)) from = OMX_START;
    int next = from;
    if (!Enum(!forward, false, kinds, next)) {
        next = OMX_START;
        (void)Enum(!forward, false, kinds, next);  // at least two blocks: always found
    }
    Selection_Set1(next);
}

void Deselect_Incompatible(a_move_class master_class) {
    Begin_Selection_Change();
    for (int omx = OMX_START; Selection_Enum(omx);) {
        if (Obj_Move_Class(omx) == master_class) continue;
        Set_Flag(*Curr_Item(omx), SELECTED_FLAG, false);
        Obj_PostRefresh(omx);
    }
    End_Selection_Change();
}

a_selection_mix Calc_Selection_Mix() {
    uint8_t kind = 0xFF;
    switch (g_block_bar) {
        case PHOTO_BAR: kind = PHOTO_BLOCK; break;
        case SYMBOL_BAR: kind = SYMBOL_BLOCK; break;
        case TEXT_BAR: kind = TEXT_BLOCK; break;
        case COLLAGE_BAR: kind = SLOT_BLOCK; break;
        default: return ZERO_PURE;
    }
    int n = 0;
    for (int omx = OMX_START; Enum(true, true, 0xFF, omx);) {
        if (Curr_Item(omx)->kind != kind) return MOTLEY;
        ++n;
    }
    return n == 0 ? ZERO_PURE : n == 1 ? ONE_PURE : n == 2 ? TWO_PURE : THREE_PURE;
}

void Save_Selected_Blocks() {
    Dispose_Saved_Blocks();
    for (int omx = OMX_START; Selection_Enum(omx);) {
        a_oj_item copy;
        OJ_Copy(copy, *Curr_Item(omx), true);
        g_saved.emplace_back(omx, copy);
    }
}

void Restore_Selected_Blocks() {
    for (auto& [omx, copy] : g_saved) {
        a_oj_item* it = Curr_Item(omx);
        if (!it || it->objid != copy.objid) continue;  // the list changed meanwhile
        if (it->ph && copy.ph) *it->ph = *copy.ph;
        if (it->om && copy.om) {
            OM_Clear_Caches(*it->om);
            *it->om = *copy.om;
            OM_Forget_Caches(*it->om);
        }
    }
}

void Dispose_Saved_Blocks() {
    for (auto& entry : g_saved) {
        a_oj_master one;
        one.list[1] = entry.second;
        one.nlist = 1;
        OMast_Dispose(one);
    }
    g_saved.clear();
}

void OMast_Save(const a_oj_master& oj, a_oj_master*& saved) {
    if (saved) OMast_Dispose(*saved);
    else saved = new a_oj_master;
    OMast_Copy(*saved, oj);
}

void OMast_Restore(a_oj_master*& saved, a_oj_master& oj) {
    if (!saved) return;
    OMast_Dispose(oj);
    OMast_Copy(oj, *saved);
    OMast_Dispose(*saved);
    delete saved;
    saved = nullptr;
}
