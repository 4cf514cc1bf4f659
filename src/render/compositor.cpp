#include "render/compositor.h"

#include <algorithm>
#include <cmath>

#include "base/messages.h"
#include "model/notices.h"
#include "model/selection.h"
#include "pixels/blit.h"
#include "render/canvas.h"
#include "render/outer_mask.h"
#include "templates/mapping.h"

a_edit_rec g_ed;
a_ratio g_merge_zoom;
double g_merge_dpr = 1.0;

namespace {

enum : int { MAX_TEXTSIZE_DEPTH = 4 };
float g_textsize_stack[MAX_TEXTSIZE_DEPTH];
int g_ntextsize = 0;

int16_t Map_Coord(float origin, float mult, float dec, int x) {
    return Round_Pixel(double(origin) + double(mult) * (double(x) - double(dec)));
}

int Unit_Kind(uint32_t ux) {
    return ux >= 1 && ux <= g_doc.doc_template.nunits ? g_doc.doc_template.Unit(ux).kind : 0;
}

bool Is_Editing(uint32_t ux) { return g_ed.edit_ux == ux && g_ed.edit_objid != 0; }

void Dispose_Layer_World(a_cached_gworld& layer) {
    Dispose_GWorld(layer.world);
    Dispose_GWorld(layer.mask);
    layer.bounds = Rect{};
}

void Make_Layer(a_cached_gworld& layer, const char* label, const Rect& bounds) {
    Dispose_Layer_World(layer);
    New_GWorldF(label, bounds, 32, nullptr, layer.world);
    layer.bounds = bounds;
}

// The text block being edited, found by its id; nullptr when it has gone.
a_oj_item* Edited_Item(a_doc_unit& up, int& omx) {
    for (int i = 1; i <= up.oj.nlist; ++i)
        if (up.oj.list[i].objid == g_ed.edit_objid && up.oj.list[i].kind == TEXT_BLOCK) {
            omx = i;
            return &up.oj.list[i];
        }
    return nullptr;
}

// Grows a cell rectangle by d cells on every side.
Rect Grow(const Rect& r, int d) { return Rect_Inset(r, -d); }

// A text-size scope for one rendering.
class a_textsize_scope {
public:
    explicit a_textsize_scope(float v) { Push_TextSize_Mapping(v); }
    ~a_textsize_scope() { Pop_TextSize_Mapping(); }
    a_textsize_scope(const a_textsize_scope&) = delete;
    a_textsize_scope& operator=(const a_textsize_scope&) = delete;
};

class a_mapping_scope {
public:
    explicit a_mapping_scope(const a_coord_mapping& m) { Push_Mapping(m); }
    ~a_mapping_scope() { Pop_Mapping(); }
    a_mapping_scope(const a_mapping_scope&) = delete;
    a_mapping_scope& operator=(const a_mapping_scope&) = delete;
};

// Words a layout had no room for show a mark on the current unit's picture
// (never in print).
void Draw_Marks(const a_doc_unit& up, GWorld* dest, const a_coord_mapping& m) {
    if (g_doc.up && &up == Design_Unit(g_doc.upx))
        g_doc_services.draw.overflow_marks.Call_Or([] {}, up, dest, m);
}

// The total layer: the minus layer whole, then the edited block with its
// selection highlight and the marks.
void Merge_Edited_Block(a_doc_unit& up, const Rect& total) {
    GWorld* tw = up.static_[TOTAL_LAYER].world;
    GWorld* mw = up.static_[MINUS_LAYER].world;
    if (!tw || !mw) return;
    Pix_To_Pix(mw->pix, tw->pix, total, total, srcCopy, nullptr);
    int omx = 0;
    a_oj_item* it = Edited_Item(up, omx);
    if (!it || !it->om) return;
    a_textsize_scope text_size(Unit_TextSize(g_ed.edit_ux, total));
    const a_coord_mapping m = Unit_Layer_Mapping(up, total);
    a_mapping_scope mapping(m);
    Merge_Text_Block(up, omx, *it->om, up.paintbounds, tw, m, true);
    Draw_Marks(up, tw, m);
}

void Draw_Blocks(a_doc_unit& up, const Rect& net, GWorld* target, const a_coord_mapping& m) {
    for (int i = 1; i <= up.oj.nlist; ++i) {
        a_oj_item& it = up.oj.list[i];
        if (!Has_Flag(it, VISIBLE_FLAG)) continue;
        if (g_ed.edit_objid != 0 && it.objid == g_ed.edit_objid) continue;
        Merge_Object(up, i, it, net, target, m);
    }
}

}  // namespace

Rect Cells_To_Pixels(const a_coord_mapping& m, const Rect& r) {
    return Rect{Map_Coord(m.originy, m.multy, m.fdecy, r.top),
                Map_Coord(m.originx, m.multx, m.fdecx, r.left),
                Map_Coord(m.originy, m.multy, m.fdecy, r.bottom),
                Map_Coord(m.originx, m.multx, m.fdecx, r.right)};
}

a_coord_mapping Unit_Layer_Mapping(const a_doc_unit& up, const Rect& total) {
    a_coord_mapping m;
    const Rect& pb = up.paintbounds;
    m.fdecx = pb.left;
    m.fdecy = pb.top;
    m.multx = Rect_Width(pb) > 0 ? float(Rect_Width(total)) / float(Rect_Width(pb)) : 1;
    m.multy = Rect_Height(pb) > 0 ? float(Rect_Height(total)) / float(Rect_Height(pb)) : 1;
    m.originx = total.left;
    m.originy = total.top;
    m.netbox = total;
    return m;
}

void Push_TextSize_Mapping(float pixels_per_point) {
    if (g_ntextsize >= MAX_TEXTSIZE_DEPTH) InternalError();
    g_textsize_stack[g_ntextsize++] = pixels_per_point;
}

void Pop_TextSize_Mapping() {
    if (g_ntextsize <= 0) InternalError();
    --g_ntextsize;
}

float TextSize_Mapping() { return g_ntextsize > 0 ? g_textsize_stack[g_ntextsize - 1] : 1.0f; }

float Unit_TextSize(uint32_t ux, const Rect& total) {
    if (ux < 1 || ux > g_doc.doc_template.nunits) return 1;
    const a_frect& b = g_doc.doc_template.Unit(ux).bbox;
    double mm = double(b.bottom) - b.top;
    return mm > 0 ? float(25.4 / 72 * Rect_Height(total) / mm) : 1.0f;
}

Rect Unit_Print_Bounds(uint32_t ux, int dpi) {
    if (ux < 1 || ux > g_doc.doc_template.nunits) return Rect{};
    const a_frect& b = g_doc.doc_template.Unit(ux).bbox;
    const double k = dpi / 25.4;
    return Rect{0, 0, Round_Pixel((double(b.bottom) - b.top) * k),
                Round_Pixel((double(b.right) - b.left) * k)};
}

a_doc_unit* Design_Unit(uint32_t ux) {
    if (ux < 1 || ux > g_doc.doc_template.nunits) return nullptr;
    uint32_t mx = Find_Clone_Master(ux);
    return mx >= 1 ? g_doc.doc_units[mx] : g_doc.doc_units[ux];
}

// --- Screen ----------------------------------------------------------------------------

void Current_Unit_UpToDate() {
    if (!g_doc.up) return;
    Rect bounds;
    GWorld* world = nullptr;
    Current_Unit_Merge_Check(bounds, world);
    a_doc_unit& u = *Design_Unit(g_doc.upx);
    if (!Rect_IsEmpty(u.refresh_dirty)) g_doc_notices.unit_refresh.Emit(g_doc.upx, u.refresh_dirty);
    u.refresh_dirty = Rect{};
}

// A clone shows its master's design: its own record holds none to draw.
void Current_Unit_Merge_Check(Rect& merge_bounds, GWorld*& merge_world) {
    merge_world = nullptr;
    a_doc_unit* design = g_doc.up ? Design_Unit(g_doc.upx) : nullptr;
    if (!design) return;
    a_doc_unit& u = *design;
    merge_bounds = u.paintbounds;
    if (!(g_merge_zoom == a_ratio{}) && g_merge_zoom.den > 0 && g_merge_zoom.num > 0) {
        auto scale = [](int v) { return Round_Pixel(double(v) * g_merge_zoom.num / g_merge_zoom.den); };
        merge_bounds = Rect{0, 0, scale(Rect_Height(u.paintbounds)), scale(Rect_Width(u.paintbounds))};
    }
    uint32_t mx = Find_Clone_Master(g_doc.upx);
    Unit_Merge_Check(mx >= 1 ? mx : g_doc.upx, u, merge_bounds, merge_world);
}

void Unit_Merge_Check(uint32_t ux, a_doc_unit& up, const Rect& targ_bounds, GWorld*& gworld) {
    a_cached_gworld& total = up.static_[TOTAL_LAYER];
    if (!total.world || total.bounds != targ_bounds) {
        Make_Layer(total, "Total Layer", targ_bounds);
        up.render_dirty = up.paintbounds;
    }
    a_cached_gworld& minus = up.static_[MINUS_LAYER];
    if (Is_Editing(ux) && (!minus.world || minus.bounds != total.bounds))
        Make_Layer(minus, "Minus Layer", total.bounds);
    if (g_ed.edit_objid != up.excluded_id)
        up.render_dirty = Rect_Union(up.render_dirty, up.paintbounds);
    // Changes of the edited block alone leave the minus layer as it is.
    if (!Is_Editing(ux) || !minus.world || g_ed.edit_objid != up.excluded_id)
        up.render_dirty = Rect_Union(up.render_dirty, up.edit_dirty);
    Check_Text_Formats(ux);
    // 16 screen pixels around, in cells at this zoom.
    const float mult = Unit_Layer_Mapping(up, targ_bounds).multx;
    const int grow = mult > 0 ? int(std::ceil(16 / mult)) : 16;
    if (!Rect_IsEmpty(up.render_dirty)) {
        Rect dirty = Grow(up.render_dirty, 1);
        Render_Unit_Screen(ux, up, dirty, targ_bounds);
        up.refresh_dirty = Rect_Union(up.refresh_dirty, Rect_Sect(Grow(dirty, grow), up.paintbounds));
    } else if (!Rect_IsEmpty(up.edit_dirty)) {
        Merge_Edited_Block(up, targ_bounds);
        up.refresh_dirty = Rect_Union(up.refresh_dirty, Rect_Sect(Grow(up.edit_dirty, grow + 1), up.paintbounds));
    }
    up.render_dirty = up.edit_dirty = Rect{};
    gworld = total.world;
}

void PrintPrevew_Unit_Merge_Check(uint32_t ux, a_doc_unit& up, const Rect& udest,
                                  Rect& merge_bounds, GWorld*& merge_world) {
    merge_bounds = up.static_[TOTAL_LAYER].bounds;
    if (Rect_IsEmpty(merge_bounds)) {
        // Never shown yet: the preview's size doubled until one side reaches 100.
        int w = std::max(1, Rect_Width(udest)), h = std::max(1, Rect_Height(udest));
        while (w < 100 && h < 100) w *= 2, h *= 2;
        merge_bounds = Rect{0, 0, Round_Pixel(h), Round_Pixel(w)};
    }
    Unit_Merge_Check(ux, up, merge_bounds, merge_world);
}

void Render_Unit_Screen(uint32_t ux, a_doc_unit& up, const Rect& subset, const Rect& total) {
    const Rect net = Rect_Sect(subset, up.paintbounds);
    if (Rect_IsEmpty(net)) return;
    const a_coord_mapping m = Unit_Layer_Mapping(up, total);
    const Rect netm = Rect_Sect(Cells_To_Pixels(m, net), total);
    if (Rect_IsEmpty(netm)) return;
    const bool editing = Is_Editing(ux);
    a_cached_gworld& minus = up.static_[MINUS_LAYER];
    if (!editing) Dispose_Layer_World(minus);
    GWorld* target = editing ? minus.world : up.static_[TOTAL_LAYER].world;
    if (!target) return;
    a_textsize_scope text_size(Unit_TextSize(ux, total));
    a_mapping_scope mapping(m);
    Render_Canvas(up.paintbounds, target, up.canv, Unit_Kind(ux), true, false, &netm);
    Draw_Blocks(up, net, target, m);
    Outer_Mask_Check(ux, up, total);
    const a_cached_gworld& outer = up.static_[OUTERMASK_LAYER];
    Draw_Outer_Mask(outer.world, outer.mask, target, netm);
    if (editing) Merge_Edited_Block(up, total);
    else Draw_Marks(up, target, m);
    up.excluded_id = g_ed.edit_objid;
}

void Merge_Object(a_doc_unit& up, int omx, a_oj_item& obj, const Rect& dirty, GWorld* gworld,
                  const a_coord_mapping& m) {
    const Rect clip = Rect_Sect(Cells_To_Pixels(m, dirty), Get_GWorld_Bounds(gworld));
    if (Rect_IsEmpty(clip)) return;
    switch (obj.kind) {
        case PHOTO_BLOCK:
        case SYMBOL_BLOCK:
            if (obj.ph) g_doc_services.draw.photo.Call_Or([] {}, *obj.ph, gworld, clip, m, false);
            break;
        case TEXT_BLOCK:
            if (obj.om) Merge_Text_Block(up, omx, *obj.om, dirty, gworld, m, false);
            break;
        case PAINT_BLOCK: Merge_Paint_Layer(up, dirty, gworld, m); break;
        case SLOT_BLOCK: g_doc_services.draw.slot.Call_Or([] {}, up, omx, gworld, clip, m); break;
        default: break;
    }
}

void Merge_Text_Block(a_doc_unit&, int, a_om_rec& om, const Rect& dirty, GWorld* destworld,
                      const a_coord_mapping& m, bool overlay) {
    OM_Ensure_Cache_Bits(om, m);
    const Rect clip = Rect_Sect(Cells_To_Pixels(m, dirty), Get_GWorld_Bounds(destworld));
    if (Rect_IsEmpty(clip)) return;
    g_doc_services.draw.text_merge.Call_Or([] {}, om, destworld, clip, m, overlay);
}

void OM_Ensure_Cache_Bits(a_om_rec& om, const a_coord_mapping& m) {
    g_doc_services.draw.text_ensure.Call_Or([] {}, om, m);
}

void Merge_Paint_Layer(a_doc_unit& up, const Rect& subset, GWorld* gworld, const a_coord_mapping& m) {
    const a_cached_gworld& paint = up.static_[PAINT1_LAYER];
    if (!up.paintinuse || !paint.world || !paint.mask) return;
    const Rect clip = Rect_Sect(Cells_To_Pixels(m, Rect_Sect(subset, up.paintbounds)),
                                Get_GWorld_Bounds(gworld));
    if (Rect_IsEmpty(clip)) return;
    // Whole layer onto its whole mapped rectangle, clipped: every pixel lands
    // where a full rebuild puts it.
    Pix_To_PixM(paint.world->pix, paint.mask->pix, gworld->pix, up.paintbounds, up.paintbounds,
                Cells_To_Pixels(m, up.paintbounds), &clip);
}

void Unit_PostRender(a_doc_unit& up) {
    up.render_dirty = up.paintbounds;
    up.oj.seq = NextUniqueID();
}

void All_Units_PostRender() {
    for (uint32_t ux = 1; ux <= g_doc.doc_template.nunits; ++ux)
        if (g_doc.doc_units[ux]) Unit_PostRender(*g_doc.doc_units[ux]);
}

void Check_Text_Formats(uint32_t ux) {
    a_doc_unit* u = ux >= 1 && ux <= g_doc.doc_template.nunits ? g_doc.doc_units[ux] : nullptr;
    if (!u || !g_doc_services.draw.text_up_to_date.Installed()) return;
    const uint32_t saved_x = g_doc.upx;
    a_doc_unit* saved = g_doc.up;
    g_doc.upx = ux;
    g_doc.up = u;
    for (int i = 1; i <= u->oj.nlist; ++i) {
        a_oj_item& it = u->oj.list[i];
        if (it.kind == TEXT_BLOCK && it.om && Has_Flag(it, VISIBLE_FLAG))
            g_doc_services.draw.text_up_to_date.Call_Or([] {}, *it.om);
    }
    g_doc.upx = saved_x;
    g_doc.up = saved;
}

// --- Print -----------------------------------------------------------------------------

void Render_Unit_Print(uint32_t ux, a_doc_unit& up, const Rect& total, GWorld*& gworld) {
    g_doc.doc_print.scaling_factorx = a_ratio{Round_Pixel(Rect_Width(total)),
                                              Round_Pixel(std::max(1, Rect_Width(up.paintbounds)))};
    g_doc.doc_print.scaling_factory = a_ratio{Round_Pixel(Rect_Height(total)),
                                              Round_Pixel(std::max(1, Rect_Height(up.paintbounds)))};
    Dispose_GWorld(gworld);
    New_GWorldF("Render_Unit_Print", total, 32, nullptr, gworld);
    const a_coord_mapping m = Unit_Layer_Mapping(up, total);
    a_textsize_scope text_size(Unit_TextSize(ux, total));
    {
        a_mapping_scope mapping(m);
        Render_Canvas(up.paintbounds, gworld, up.canv, Unit_Kind(ux), false, false, nullptr);
        for (int i = 1; i <= up.oj.nlist; ++i)
            if (Has_Flag(up.oj.list[i], VISIBLE_FLAG)) Print_Object(up, up.oj.list[i], gworld, m);
    }
    GWorld* outer = nullptr;
    GWorld* mask = nullptr;
    Calc_Outer_Mask(true, ux, up, total, outer, mask);
    Draw_Outer_Mask(outer, mask, gworld, total);
    Dispose_GWorld(outer);
    Dispose_GWorld(mask);
}

void Print_Object(a_doc_unit& up, a_oj_item& obj, GWorld* gworld, const a_coord_mapping& m) {
    switch (obj.kind) {
        case PHOTO_BLOCK:
        case SYMBOL_BLOCK:
            if (obj.ph) g_doc_services.draw.photo.Call_Or([] {}, *obj.ph, gworld, Rect{}, m, true);
            break;
        case TEXT_BLOCK:
            if (obj.om) Print_Text_Block(*obj.om, gworld, m);
            break;
        case PAINT_BLOCK: Print_Paint_Layer(up, gworld, m); break;
        default: break;
    }
}

void Print_Text_Block(a_om_rec& om, GWorld* gworld, const a_coord_mapping& m) {
    g_doc_services.draw.text_print.Call_Or([] {}, om, gworld, m);
}

void Print_Paint_Layer(a_doc_unit& up, GWorld* gworld, const a_coord_mapping& m) {
    const a_cached_gworld& paint = up.static_[PAINT1_LAYER];
    if (!up.paintinuse || !paint.world || !paint.mask) return;
    Pix_To_PixM(paint.world->pix, paint.mask->pix, gworld->pix, up.paintbounds, up.paintbounds,
                Cells_To_Pixels(m, up.paintbounds));
}
