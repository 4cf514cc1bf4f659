#include "model/block_moves.h"

#include <algorithm>
#include <cstdlib>

#include "model/document.h"
#include "model/history_ops.h"
#include "model/notices.h"
#include "model/ph_blocks.h"
#include "model/selection.h"

namespace {

constexpr int DEPTH_SCORE = 100;  // what one layer of depth weighs against box area
constexpr int PART_RANGE = 6;     // a text block's range handle

int Hit_Part(int omx, Point cell) {
    const a_oj_item* it = Curr_Item(omx);
    if (it->kind == SLOT_BLOCK && g_doc_services.slot_contains.Installed())
        return g_doc_services.slot_contains.Call_Or([] { return false; }, omx, cell) ? 5 : 0;
    if (Has_PH_Kind(it->kind)) return PH_Is_Inside(omx, cell);
    if (it->kind == TEXT_BLOCK && it->om) {
        int part = 0;
        bool in = g_doc_services.text.is_inside.Call_Or([] { return false; }, *it->om, cell, part);
        return in ? (part ? part : 5) : 0;
    }
    return 0;
}

bool Is_Empty_Slot(const a_oj_item& it) {
    return it.kind == SLOT_BLOCK && it.ph && it.ph->spec.source.kind == SOURCE_EMPTYSLOT;
}

a_click_result Drag_Action(int omx, int part) {
    const a_oj_item& it = *Curr_Item(omx);
    a_click_result r{CLICK_TRACK_MOVE, omx, part};
    if ((it.kind == PHOTO_BLOCK || it.kind == SYMBOL_BLOCK) && part >= 1 && part <= 4)
        r.action = CLICK_TRACK_SCALE;
    else if (it.kind == TEXT_BLOCK && part == PART_RANGE)
        r.action = CLICK_TRACK_RANGE;
    else if (Is_Empty_Slot(it))
        r.action = CLICK_NOTHING;
    return r;
}

}  // namespace

int Obj_Find(Point cell, int& part) {
    part = 0;
    int best = OMX_NONE;
    int64_t best_score = 0;
    const int n = g_doc.up ? g_doc.up->oj.nlist : 0;
    for (int omx = OMX_START; Enum(false, false, Selectable_Kinds(), omx);) {
        int p = Hit_Part(omx, cell);
        if (!p) continue;
        Rect box = Obj_BBox(omx);
        int64_t score = int64_t(Rect_Width(box)) * Rect_Height(box) +
                        int64_t(DEPTH_SCORE) * (n - omx + 1);
        if (best == OMX_NONE || score < best_score) {  // strict: the higher block keeps a tie
            best = omx;
            best_score = score;
            part = p;
        }
    }
    return best;
}

a_click_result Obj_MouseDown(const a_block_click& click) {
    int part = 0;
    int omx = Obj_Find(click.cell, part);
    if (!click.button_down) {
        if (omx == OMX_NONE || !Is_Obj_Selected(omx)) return a_click_result{};
        return a_click_result{CLICK_CURSOR_HAND, omx, part};
    }
    if (g_block_bar == TEXT_BAR && click.option) return a_click_result{CLICK_NEW_TEXT, OMX_NONE, 0};
    if (omx == OMX_NONE) {
        if (Count(0xFF, true) == 0) return a_click_result{};
        Block_Sound(SND_BLOCK_CLICK);
        Obj_Select_None();
        return a_click_result{CLICK_DESELECT, OMX_NONE, 0};
    }
    if (!click.moved) {
        uint32_t last_ticks = 0;
        if (Last_Set1_Block(last_ticks) == omx && Is_Obj_Selected(omx) &&
            click.ticks - last_ticks <= click.double_ticks)
            return a_click_result{CLICK_DOUBLE, omx, part};
        Block_Sound(SND_BLOCK_CLICK);
        if (click.shift) Selection_Toggle(omx);
        else Selection_Set1(omx, click.ticks);
        return a_click_result{CLICK_SELECTED, omx, part};
    }
    if (!Is_Obj_Selected(omx)) {
        Block_Sound(SND_BLOCK_CLICK);
        Selection_Set1(omx, click.ticks);
    }
    return Drag_Action(omx, part);
}

void Obj_Move_XY(int omx, int dx, int dy) {
    a_oj_item* it = Curr_Item(omx);
    if (!it) return;
    if (Has_PH_Kind(it->kind)) Photo_Delta_XY1(omx, false, dx, dy);
    else if (it->kind == TEXT_BLOCK && it->om)
        g_doc_services.text.move.Call_Or([] {}, *it->om, dx, dy);
}

namespace {

// Text about a centre, dragged: it turns rather than slides.
bool Drag_Polar(int omx, Point startcell, Point newcell) {
    a_oj_item* it = Curr_Item(omx);
    if (!it || it->kind != TEXT_BLOCK || !it->om || Obj_Move_Class(omx) != MOVES_POLAR) return false;
    if (!g_doc_services.text.drag.Installed()) return false;
    g_doc_services.text.drag.Call_Or([] {}, *it->om, startcell, newcell);
    return true;
}

}  // namespace

void Apply_Move(bool renderf, bool constrainf, Point startcell, Point newcell, bool dragf) {
    int dx = newcell.h - startcell.h, dy = newcell.v - startcell.v;
    if (constrainf) (std::abs(dx) >= std::abs(dy) ? dy : dx) = 0;
    for (int omx = OMX_START; Selection_Enum(omx);) {
        if (renderf) Obj_PostRender(omx);
        if (!dragf || !Drag_Polar(omx, startcell, newcell)) Obj_Move_XY(omx, dx, dy);
        if (renderf) Obj_PostRender(omx);
    }
    if (renderf) History_Emit(OP_BLOCK_MOVEXY);
}

void Track_Step(a_track_mode mode, int masterx, bool constrainf, Point startcell, Point newcell) {
    switch (mode) {
        case TRACK_INIT:
            Deselect_Incompatible(Obj_Move_Class(masterx));
            Save_Selected_Blocks();
            break;
        case TRACK_MOVE:
            Restore_Selected_Blocks();
            Apply_Move(false, constrainf, startcell, newcell, true);
            break;
        case TRACK_STOP:
            Restore_Selected_Blocks();
            Apply_Move(true, constrainf, startcell, newcell, true);
            Dispose_Saved_Blocks();
            break;
    }
}

void Signs_To_DXY(bool is_shift, int signx, int signy, a_ratio cells_per_pixel, int& dx, int& dy) {
    int step = is_shift ? 10 : 1;
    if (cells_per_pixel.den > 0 && cells_per_pixel.num > 0)
        step = std::max(1, step * cells_per_pixel.num / cells_per_pixel.den);
    dx = step * signx;
    dy = step * signy;
}

void Obj_Nudge(bool is_shift, int signx, int signy, a_ratio cells_per_pixel) {
    if (Selection_Count() == 0) {
        Block_Sound(SND_BLOCK_WARNING);
        return;
    }
    if (!g_doc_services.sound_playing.Call_Or([] { return false; })) Block_Sound(SND_BLOCK_CLICK);
    int dx = 0, dy = 0;
    Signs_To_DXY(is_shift, signx, signy, cells_per_pixel, dx, dy);
    Apply_Move(true, false, Point{0, 0}, Point{int16_t(dy), int16_t(dx)});
}
