#include "model/ph_blocks.h"

#include <algorithm>
#include <cstdlib>

#include "base/messages.h"
#include "model/document.h"

namespace {

constexpr int CASCADE = 40;      // cells between a new block and the one it came from
constexpr int EDGE_MARGIN = 10;  // a duplicate keeps this far from the right and bottom
constexpr int HANDLE_SIDE = 14;

bool Contains(const Rect& r, Point p) {
    return p.v >= r.top && p.v < r.bottom && p.h >= r.left && p.h < r.right;
}

int16_t Clamp16(int v, int lo, int hi) { return int16_t(std::clamp(v, lo, std::max(lo, hi))); }

}  // namespace

a_doc_unit& Curr_Unit() {
    if (!g_doc.up) InternalError();
    return *g_doc.up;
}

a_oj_item* Curr_Item(int omx) {
    if (!g_doc.up || omx < 1 || omx > g_doc.up->oj.nlist) return nullptr;
    return &g_doc.up->oj.list[omx];
}

a_ph_rec* Curr_PH(int omx) {
    a_oj_item* it = Curr_Item(omx);
    return it && Has_PH_Kind(it->kind) ? it->ph : nullptr;
}

bool Has_PH_Kind(uint8_t kind) {
    return kind == PHOTO_BLOCK || kind == SYMBOL_BLOCK || kind == SLOT_BLOCK;
}

a_ph_rec* PH_New(uint8_t ojkind, int& newx) {
    a_oj_master& oj = Curr_Unit().oj;
    if (oj.nlist >= MAXNOBJECTS) InternalError();
    a_oj_item it;
    it.objid = NextUniqueID();
    it.flags = uint8_t(1u << VISIBLE_FLAG);
    it.kind = ojkind;
    it.ph = New_PH_Rec();
    Null_Spec(it.ph->spec);
    a_ph_rec* ph = it.ph;
    if (!OMast_Append(oj, it)) InternalError();
    newx = oj.nlist;
    Check_Layer_Order(newx);
    return ph;
}

void Check_Layer_Order(int& index) {
    a_oj_master& oj = Curr_Unit().oj;
    if (index < 1 || index > oj.nlist) return;
    int first_text = 0;
    for (int i = 1; i < index && !first_text; ++i)
        if (oj.list[i].kind == TEXT_BLOCK) first_text = i;
    if (!first_text) return;
    a_oj_item moved = oj.list[index];
    for (int i = index; i > first_text; --i) oj.list[i] = oj.list[i - 1];
    oj.list[first_text] = moved;
    index = first_text;
}

bool PH_Dup(uint8_t kind, int basis, int& newx) {
    a_doc_unit& u = Curr_Unit();
    const a_ph_rec* src = Curr_PH(basis);
    if (!src || u.oj.nlist >= MAXNOBJECTS) return false;
    a_ph_rec copy = *src;
    a_ph_rec* ph = PH_New(kind, newx);
    *ph = copy;
    Point c{int16_t(copy.dst_center.v + CASCADE), int16_t(copy.dst_center.h + CASCADE)};
    if (c.h > u.paintbounds.right - EDGE_MARGIN || c.v > u.paintbounds.bottom - EDGE_MARGIN)
        c = Point{int16_t(u.paintbounds.top + EDGE_MARGIN), int16_t(u.paintbounds.left + EDGE_MARGIN)};
    Photo_Set_Center(newx, c);
    u.oj.list[newx].flags |= uint8_t(1u << PENDING_FLAG);
    return true;
}

void Calc_New_Center(int basex, Point& center) {
    const Rect& unit = Curr_Unit().paintbounds;
    center = Rect_Centre(unit);
    const a_ph_rec* base = Curr_PH(basex);
    if (!base) return;
    // A block on the diagonal a cascade walks from the centre is followed by
    // the next step; anything else (a moved block) starts a new cascade.
    const int dv = base->dst_center.v - center.v, dh = base->dst_center.h - center.h;
    if (dv != dh || dv < 0 || dv % CASCADE != 0) return;
    const Point next{int16_t(base->dst_center.v + CASCADE), int16_t(base->dst_center.h + CASCADE)};
    // Near the right or bottom edge the cascade begins again at the centre.
    if (next.h > unit.right - EDGE_MARGIN || next.v > unit.bottom - EDGE_MARGIN) return;
    center = next;
}

void Photo_Set_Center(int omx, Point new_center) {
    a_ph_rec* ph = Curr_PH(omx);
    if (!ph) return;
    Point c = ph->dst_center;
    if (new_center.v != KEEP_COORD) c.v = new_center.v;
    if (new_center.h != KEEP_COORD) c.h = new_center.h;
    // A slot's photo moves inside the slot, whose box stays.
    if (Curr_Item(omx)->kind != SLOT_BLOCK)
        ph->dst_box = Rect_Offset(ph->dst_box, c.h - ph->dst_center.h, c.v - ph->dst_center.v);
    ph->dst_center = c;
}

void Photo_Delta_XY1(int omx, bool constrain, int dx, int dy) {
    a_ph_rec* ph = Curr_PH(omx);
    if (!ph) return;
    if (constrain) (std::abs(dx) >= std::abs(dy) ? dy : dx) = 0;
    int h = ph->dst_center.h + dx, v = ph->dst_center.v + dy;
    if (Curr_Item(omx)->kind != SLOT_BLOCK) {
        const Rect& b = Curr_Unit().paintbounds;
        h = Clamp16(h, b.left, b.right - 1);
        v = Clamp16(v, b.top, b.bottom - 1);
    } else {
        h = Clamp16(h, INT16_MIN / 2, INT16_MAX / 2);
        v = Clamp16(v, INT16_MIN / 2, INT16_MAX / 2);
    }
    Photo_Set_Center(omx, Point{int16_t(v), int16_t(h)});
}

bool Is_Photo_Corner_Visible(const a_ph_rec& ph) { return ph.spec.angle == 0; }

void Calc_Frame_Corners(const Rect& frame, Rect corners[4]) {
    int side = std::min(HANDLE_SIDE, std::min(Rect_Width(frame), Rect_Height(frame)) / 2);
    const Point at[4] = {{frame.top, frame.left},
                         {frame.top, frame.right},
                         {frame.bottom, frame.right},
                         {frame.bottom, frame.left}};
    for (int i = 0; i < 4; ++i) {
        int top = at[i].v - side / 2, left = at[i].h - side / 2;
        corners[i] = Rect{int16_t(top), int16_t(left), int16_t(top + side), int16_t(left + side)};
    }
}

int Calc_Photo_Part(const a_ph_rec& ph, Point click, const Rect& frame) {
    if (Is_Photo_Corner_Visible(ph)) {
        Rect corners[4];
        Calc_Frame_Corners(frame, corners);
        for (int i = 0; i < 4; ++i)
            if (Contains(Rect_Inset(corners[i], -1), click)) return i + 1;
    }
    return Contains(frame, click) ? 5 : 0;
}

int PH_Is_Inside(int omx, Point click) {
    const a_ph_rec* ph = Curr_PH(omx);
    if (!ph) return 0;
    int part = Calc_Photo_Part(*ph, click, ph->dst_box);
    if (part >= 1 && part <= 4) {
        int nsel = 0;
        const a_oj_master& oj = Curr_Unit().oj;
        for (int i = 1; i <= oj.nlist; ++i)
            if (oj.list[i].flags & (1u << SELECTED_FLAG)) ++nsel;
        if (nsel > 1) part = 5;
    }
    return part;
}

int Opposite_Corner(int part) { return (part + 1) % 4 + 1; }
