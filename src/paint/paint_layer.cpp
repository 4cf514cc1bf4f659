#include "paint/paint_layer.h"

#include <algorithm>

#include "model/arrange.h"
#include "model/ph_blocks.h"
#include "model/notices.h"
#include "model/paint_backup.h"
#include "render/compositor.h"

a_stroke_rec g_stroke;
bool g_paint_redraw = true;

namespace {

Rect Grow(const Rect& r, int d) {
    return Rect_IsEmpty(r) ? r : Rect_Inset(r, -d);
}

int Paint_Block_Index(const a_doc_unit& u) {
    for (int i = 1; i <= u.oj.nlist; ++i)
        if (u.oj.list[i].kind == PAINT_BLOCK) return i;
    return 0;
}

// Raises the paint block to where a new picture goes; its old index, or 0
// when that would not raise it.
int Raise_Paint_Block(a_doc_unit& u) {
    int from = Paint_Block_Index(u);
    if (!from) return 0;
    int to = u.oj.nlist;
    Layer_Arrange2(from, to);
    Check_Layer_Order(to);
    if (to > from) return from;
    if (to < from) Layer_Arrange2(to, from);
    return 0;
}

}  // namespace

bool Paint_Layer(GWorld*& world, GWorld*& mask) {
    world = mask = nullptr;
    if (!g_doc.up || !g_doc.up->paintinuse) return false;
    a_cached_gworld& l = g_doc.up->static_[PAINT1_LAYER];
    world = l.world, mask = l.mask;
    return world && mask;
}

bool Paint_Layer_Ensure(bool* created, int* from) {
    a_doc_unit* u = g_doc.up;
    if (created) *created = false;
    if (from) *from = 0;
    if (!u || Rect_IsEmpty(u->paintbounds)) return false;
    if (!u->paintinuse || !u->static_[PAINT1_LAYER].world || !u->static_[PAINT1_LAYER].mask) {
        u->paintinuse = true;
        Sync_Existence(PAINT1_LAYER, *u, true);
        if (created) *created = true;
        int was = Raise_Paint_Block(*u);
        if (from) *from = was;
    }
    return true;
}

a_atom_rec New_Atom(const a_paint_state& p) {
    a_atom_rec atom;
    atom.fill = p.fill_kind;
    Paint_Layer(atom.paint_world, atom.mask_world);
    if (g_doc.up) atom.clip = g_doc.up->paintbounds;
    return atom;
}

void Doc_Atom(a_atom_rec& atom, a_atom_proc proc, const a_paint_state& p) {
    a_doc_unit* u = g_doc.up;
    if (!u) return;
    atom.dirty = Rect{};
    proc(atom, p);
    if (Rect_IsEmpty(atom.dirty)) return;
    Rect grown = Rect_Sect(Grow(atom.dirty, std::max(p.line_thickness, 1)), u->paintbounds);
    atom.dirty = grown;
    u->render_dirty = Rect_Union(u->render_dirty, grown);
    g_stroke.dirty = Rect_Union(g_stroke.dirty, grown);
}

void Stroke_Begin(int op, bool created) {
    int from = g_stroke.paint_from;  // set as the layer was made for it
    g_stroke = a_stroke_rec{};
    g_stroke.paint_from = created ? from : 0;
    g_stroke.active = true;
    g_stroke.op = op;
    g_stroke.created = created;
    Undo_SaveLayer(PAINT1_LAYER);
}

void Stroke_Restore() {
    if (Rect_IsEmpty(g_stroke.dirty)) return;
    Undo_RestoreRect(g_stroke.dirty);
    if (g_doc.up) g_doc.up->render_dirty = Rect_Union(g_doc.up->render_dirty, g_stroke.dirty);
}

void Stroke_End(bool cancelled) {
    if (!g_stroke.active) return;
    a_doc_unit* u = g_doc.up;
    if (cancelled && u) {
        Stroke_Restore();
        if (g_stroke.created) {
            if (g_stroke.paint_from) Layer_Arrange2(Paint_Block_Index(*u), g_stroke.paint_from);
            u->paintinuse = false;
            Sync_Existence(PAINT1_LAYER, *u, false);
            u->render_dirty = u->paintbounds;
        }
    }
    bool changed = !cancelled && !Rect_IsEmpty(g_stroke.dirty);
    int op = g_stroke.op;
    g_stroke = a_stroke_rec{};
    Undo_Dispose();
    Paint_Redraw();
    if (changed) {
        g_doc_notices.unit_dirty.Emit(g_doc.upx, u ? u->paintbounds : Rect{});
        History_Emit(op);
    }
}

void Paint_Redraw() {
    if (!g_doc.up || !g_paint_redraw) return;
    Current_Unit_UpToDate();
}
