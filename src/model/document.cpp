#include "model/document.h"

#include <new>

#include "model/notices.h"
#include "platform/port.h"
#include "pixels/gworld.h"
#include "base/messages.h"
#include "base/prefs.h"
#include "base/string_ids.h"

a_doc_rec g_doc;

namespace {

void Dispose_Layer(a_cached_gworld& layer) {
    Dispose_GWorld(layer.world);
    Dispose_GWorld(layer.mask);
    layer.curr_seq = 0;
    layer.targ_seq = 0;
}

void Copy_Paint_Layer(a_doc_unit& dst, const a_doc_unit& src) {
    const a_cached_gworld& s = src.static_[PAINT1_LAYER];
    a_cached_gworld& d = dst.static_[PAINT1_LAYER];
    d.curr_seq = s.curr_seq;
    d.targ_seq = s.targ_seq;
    d.bounds = s.bounds;
    d.world = Copy_GWorld(s.world);
    d.mask = Copy_GWorld(s.mask);
    if ((s.world && !d.world) || (s.mask && !d.mask)) OutOfMemory(0);
}

void Default_Canvas(int kind, a_canvas_spec& cv) {
    cv = a_canvas_spec{};
    g_doc_services.default_canvas.Call_Or([] {}, kind, cv);
}

}  // namespace

a_doc_unit* New_Unit_Rec() {
    auto* u = new (std::nothrow) a_doc_unit;
    if (!u) OutOfMemory(sizeof(a_doc_unit));
    a_oj_item paint;
    paint.objid = NextUniqueID();
    paint.flags = 1u << VISIBLE_FLAG;
    paint.kind = PAINT_BLOCK;
    (void)OMast_Append(u->oj, paint);  // a new list always has room
    return u;
}

void Null_Doc_Unit(a_doc_unit& u, uint32_t new_groupx, uint32_t ux) {
    u.groupx = new_groupx;
    u.clonef = true;
    u.printf = true;
    Calc_Unit_Bounds(g_doc.doc_template.Unit(ux), u.paintbounds);
    Point c = Rect_Centre(u.paintbounds);
    u.symmetry_center = c;
    u.ruler_origin = c;
    u.edit_focus = c;
}

void New_Doc_Unit(uint32_t /*gx*/, a_doc_unit& u, uint32_t ux) {
    u.clonef = false;
    u.printf = true;
    Default_Canvas(g_doc.doc_template.Unit(ux).kind, u.canv.cv);
    u.static_[TOTAL_LAYER].targ_seq = 1;
    u.static_[MINUS_LAYER].targ_seq = 1;
}

void New_Doc_Buffers() {
    a_template& t = g_doc.doc_template;
    g_doc.doc_changed = false;
    g_doc.doc_ncopies = 1;
    a_direct_print_kind dk = Calc_Direct_Print_KindT(t);
    g_doc.doc_mediax = static_cast<int16_t>(g_pref.print_media[dk].listx);
    g_doc.upx = 0;
    g_doc.up = nullptr;
    uint32_t run = 0;
    for (uint32_t ux = 1; ux <= t.nunits; ++ux) {
        a_doc_unit* u = New_Unit_Rec();
        g_doc.doc_units[ux] = u;
        if (ux == 1 || t.units[ux].kind != t.units[ux - 1].kind) {
            run = 1;
            Null_Doc_Unit(*u, 1, ux);
            New_Doc_Unit(1, *u, ux);
        } else {
            ++run;
            Null_Doc_Unit(*u, run, ux);
        }
    }
    History_Base();
}

void Dispose_Unit_Content(a_doc_unit& u) {
    OMast_Dispose(u.oj);
    for (a_cached_gworld& layer : u.static_) Dispose_Layer(layer);
    u.paintinuse = false;
    Dispose_GWorld(u.canv.cached_world);
}

void Dispose_Doc_Buffers() {
    for (uint32_t ux = 1; ux <= MAXNUNITS; ++ux) {
        a_doc_unit*& u = g_doc.doc_units[ux];
        if (!u) continue;
        Dispose_Unit_Content(*u);
        delete u;
        u = nullptr;
    }
    g_doc.up = nullptr;
    g_doc.upx = 0;
    g_doc_notices.replaced.Emit();
    History_Flush();
}

void Map_Unit_Content(a_doc_unit& dst, const a_doc_unit& src) {
    dst.clonef = false;
    dst.symmetry_center = src.symmetry_center;
    dst.ruler_origin = src.ruler_origin;
    dst.edit_focus = src.edit_focus;
    dst.canv.cv = src.canv.cv;
    OMast_Dispose(dst.oj);  // a fresh unit holds only its default paint block
    OMast_Copy(dst.oj, src.oj);
    Dispose_Layer(dst.static_[PAINT1_LAYER]);
    Copy_Paint_Layer(dst, src);
    // The paint layer exists exactly while paintinuse is set, so the flag
    // follows the copied layer (otherwise copied paint would be invisible).
    dst.paintinuse = dst.static_[PAINT1_LAYER].world != nullptr;
}

void Copy_Unit_Content2(a_doc_unit& dst, const a_doc_unit& src) {
    if (&dst == &src) return;
    Dispose_Unit_Content(dst);
    Map_Unit_Content(dst, src);
}

void Copy_Unit_Content(uint32_t dstx, uint32_t srcx) {
    a_doc_unit* d = g_doc.doc_units[dstx];
    a_doc_unit* s = g_doc.doc_units[srcx];
    if (!d || !s) InternalError();
    Copy_Unit_Content2(*d, *s);
}

void Sync_Existence(a_static_layer lx, a_doc_unit& up, bool targ_exist) {
    if (lx >= NSTATIC_LAYERS) InternalError();
    a_cached_gworld& layer = up.static_[lx];
    if (!targ_exist) {
        Dispose_GWorld(layer.world);
        Dispose_GWorld(layer.mask);
        return;
    }
    if (layer.world) return;
    layer.bounds = up.paintbounds;
    New_GWorldF("Doc world", layer.bounds, 32, nullptr, layer.world);
    {
        a_port_scope port(layer.world);
        EraseRect(layer.bounds);
    }
    Dispose_GWorld(layer.mask);
    New_GWorldF("Doc mask", layer.bounds, 8, gray_ctable, layer.mask);
}

uint32_t Find_Clone_Master(uint32_t startx) {
    for (uint32_t ux = startx; ux >= 1; --ux) {
        a_doc_unit* u = g_doc.doc_units[ux];
        if (u && !u->clonef) return ux;
    }
    InternalError();
}

void Select_Doc_Unit(uint32_t newx) {
    if (newx == g_doc.upx) return;
    if (newx < 1 || newx > g_doc.doc_template.nunits || !g_doc.doc_units[newx]) InternalError();
    g_doc.upx = newx;
    g_doc.up = g_doc.doc_units[newx];
    if (!g_doc.up->clonef) g_doc_notices.unit_selected.Emit(newx);
    Notice_Unit_Dirty(newx);
}

bool Is_Unit_Empty(const a_doc_unit& u) {
    for (int i = 1; i <= u.oj.nlist; ++i)
        if (u.oj.list[i].kind != PAINT_BLOCK) return false;
    if (u.paintinuse) return false;
    // Without a canvas module, the canvas every unit starts with.
    return g_doc_services.is_no_canvas.Call_Or([&] { return u.canv.cv == a_canvas_spec{}; },
                                                u.canv.cv);
}

std::string Doc_Name() {
    const std::string& p = g_doc.doc_path.name;
    size_t slash = p.find_last_of('/');
    return slash == std::string::npos ? p : p.substr(slash + 1);
}

void Doc_Name_Changed(const std::string& title) {
    std::string s;
    GetIndString(s, IDENTITY_STR_ID, ID_PROGRAM_TITLE);
    if (!title.empty()) s += " - " + title;
    g_doc_notices.title.Emit(s);
}

void Doc_New(const a_template& xtemplate) {
    if (g_doc.doc_open) Doc_Dispose();
    g_doc.doc_new = true;
    g_doc.doc_template = xtemplate;
    std::string untitled;
    Get_DLOG_String(STR_UNTITLED, untitled);
    g_doc.doc_path = a_filespec{0, 0, untitled};
    g_doc.doc_print = a_print_info{};
    Doc_Name_Changed(untitled);
    New_Doc_Buffers();
    g_doc.doc_open = true;
    if (g_doc.doc_template.nunits > 0) Select_Doc_Unit(1);
}

void Doc_Dispose() {
    Dispose_Doc_Buffers();
    g_doc.doc_open = false;
    g_doc.doc_template.nunits = 0;
    Doc_Name_Changed("");
}

a_direct_print_kind Calc_Direct_Print_Kind() { return Calc_Direct_Print_KindT(g_doc.doc_template); }

void Doc_Init() {}

void Doc_Stop() {
    if (g_doc.doc_open) Doc_Dispose();
}
