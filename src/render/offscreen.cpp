#include "render/offscreen.h"

#include <vector>

#include "base/messages.h"
#include "pixels/blit_port.h"
#include "platform/port.h"

namespace {

a_region* g_clipstack[MAX_CLIP_DEPTH] = {};
int g_nclipstack = 0;

struct a_off_entry {
    a_gstate saved;
    a_off_area* area = nullptr;
};
a_off_entry g_off_stack[MAX_OFF_DEPTH];
int g_off_nstack = 0;
a_off_area* g_off_last_area = nullptr;

void Save_Clip() {
    if (g_nclipstack >= MAX_CLIP_DEPTH) InternalError();
    a_region*& slot = g_clipstack[g_nclipstack++];
    if (!slot) slot = Rgn_New();
    GetClip(slot);
}

// Copies rgn's rectangles of `src` (a world) to the current port, `src_r`
// placed on `dst_r` (same size).
void Copy_Rects(GWorld* src, const Rect& src_r, const Rect& dst_r, const a_region* rgn) {
    if (!src) return;
    std::vector<Rect> rects;
    if (rgn)
        Rgn_GetRects(rgn, rects);
    else
        rects.push_back(src_r);
    const int dh = dst_r.left - src_r.left, dv = dst_r.top - src_r.top;
    for (const Rect& r0 : rects) {
        Rect r = Rect_Sect(r0, src_r);
        if (Rect_IsEmpty(r)) continue;
        Pix_To_Port(src->pix, r, Rect_Offset(r, dh, dv), srcCopy, nullptr);
    }
}

}  // namespace

void InitClip() {
    for (a_region*& r : g_clipstack) Rgn_Dispose(r);
    g_nclipstack = 0;
    ClipWideOpen();
}

void PushClip(const Rect& newclip) {
    Save_Clip();
    ClipRect(newclip);
}

void PushClipRgn(const a_region* newclip) {
    Save_Clip();
    SetClip(newclip);
}

void PopClip() {
    if (g_nclipstack <= 0) InternalError();
    SetClip(g_clipstack[--g_nclipstack]);
}

int Clip_Depth() { return g_nclipstack; }

void Off_Init() {
    g_off_nstack = 0;
    g_off_last_area = nullptr;
}

void Off_Open(const Rect& gbounds, a_off_area& area) {
    Off_Close(area);
    New_GWorldF("Off_Open", gbounds, 32, nullptr, area.gworld);
    area.dirty = Rgn_New();
}

void Off_Close(a_off_area& area) {
    if (g_off_last_area == &area) g_off_last_area = nullptr;
    Dispose_GWorld(area.gworld);
    Rgn_Dispose(area.dirty);
}

void Off_Push(a_off_area& area) {
    if (g_off_nstack >= MAX_OFF_DEPTH) InternalError();
    g_off_stack[g_off_nstack++] = a_off_entry{Get_GState(), &area};
    Set_GWorld(area.gworld);
}

void Off_Pop() {
    if (g_off_nstack <= 0) InternalError();
    const a_off_entry& e = g_off_stack[--g_off_nstack];
    Set_GState(e.saved);
    g_off_last_area = e.area;
}

int Off_Depth() { return g_off_nstack; }

void Off_InvalRect(const Rect& dirty) {
    if (g_off_nstack <= 0) return;
    a_off_area& a = *g_off_stack[g_off_nstack - 1].area;
    Rect r = Rect_Sect(dirty, Get_GWorld_Bounds(a.gworld));
    if (Rect_IsEmpty(r)) return;
    a_region_ptr add = Make_Region();
    Rgn_SetRect(add.get(), r);
    Rgn_Union(a.dirty, add.get(), a.dirty);
}

void Off_InvalRgn(const a_region* dirty) {
    if (g_off_nstack <= 0 || !dirty) return;
    a_off_area& a = *g_off_stack[g_off_nstack - 1].area;
    a_region_ptr add = Make_Region();
    Rgn_SetRect(add.get(), Get_GWorld_Bounds(a.gworld));
    Rgn_Sect(add.get(), dirty, add.get());
    Rgn_Union(a.dirty, add.get(), a.dirty);
}

void Off_UpdateDirty() {
    a_off_area* a = g_off_last_area;
    if (!a || !a->gworld || Rgn_IsEmpty(a->dirty)) return;
    Rect b = Get_GWorld_Bounds(a->gworld);
    Copy_Rects(a->gworld, b, b, a->dirty);
    Rgn_SetEmpty(a->dirty);
}

void Off_UpdateRect(const Rect& src, const Rect& dst) {
    if (!g_off_last_area || !g_off_last_area->gworld) return;
    Pix_To_Port(g_off_last_area->gworld->pix, src, dst, srcCopy, nullptr);
}

void Off_UpdateRgn(const a_off_area& off, const Rect& src, const Rect& dst, const a_region* rgn) {
    Copy_Rects(off.gworld, src, dst, rgn);
}

void Off_Load(a_off_area& off, const Rect& bbox) {
    if (!off.gworld) return;
    Port_To_Pix(off.gworld->pix, bbox, bbox, srcCopy, nullptr);
}
