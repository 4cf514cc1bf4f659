#include "model/undo_records.h"

#include <algorithm>
#include <cstring>

#include "base/messages.h"
#include "model/document.h"
#include "model/undo_text.h"
#include "pixels/gworld.h"
#include "pixels/pixmap.h"

namespace {

void Save_FRect(a_undo_writer& w, const a_frect& f) {
    w.Num(f.left), w.Num(f.top), w.Num(f.right), w.Num(f.bottom);
}

a_frect Read_FRect(a_undo_reader& r) {
    a_frect f;
    f.left = r.Num<float>(), f.top = r.Num<float>();
    f.right = r.Num<float>(), f.bottom = r.Num<float>();
    return f;
}

void Save_Key(a_undo_writer& w, const a_keyset& k) { w.Num(k.a), w.Num(k.b), w.Num(k.c), w.Num(k.d); }

a_keyset Read_Key(a_undo_reader& r) {
    a_keyset k;
    k.a = r.Num<int16_t>(), k.b = r.Num<int16_t>(), k.c = r.Num<int16_t>(), k.d = r.Num<int16_t>();
    return k;
}

void Save_Canvas(a_undo_writer& w, const a_canvas_spec& cv) {
    Save_Key(w, cv.canvas_key);
    w.Num(cv.canvas_nrot), w.Num(cv.canvas_angle), w.Num(cv.canvas_darkness);
    w.Num(cv.canvas_scaling), w.Num(cv.canvas_fuzz_in), w.Num(cv.canvas_fuzz_out);
    w.Num(cv.canvas_color_sat), w.Num(cv.canvas_color_hue), w.Num(cv.canvas_color_dist);
    w.Bool(cv.canvas_flipx), w.Bool(cv.canvas_flipy), w.Bool(cv.canvas_invert);
}

void Read_Canvas(a_undo_reader& r, a_canvas_spec& cv) {
    cv.canvas_key = Read_Key(r);
    cv.canvas_nrot = r.Num<uint16_t>();
    cv.canvas_angle = r.Num<int16_t>(), cv.canvas_darkness = r.Num<int16_t>();
    cv.canvas_scaling = r.Num<int16_t>(), cv.canvas_fuzz_in = r.Num<int16_t>();
    cv.canvas_fuzz_out = r.Num<int16_t>(), cv.canvas_color_sat = r.Num<int16_t>();
    cv.canvas_color_hue = r.Num<int16_t>(), cv.canvas_color_dist = r.Num<int16_t>();
    cv.canvas_flipx = r.Bool(), cv.canvas_flipy = r.Bool(), cv.canvas_invert = r.Bool();
}

void Save_Pixel(a_undo_writer& w, a_win_pixel32 p) { w.Bytes(&p, sizeof p); }

a_win_pixel32 Read_Pixel(a_undo_reader& r) {
    a_win_pixel32 p;
    (void)r.Take(&p, sizeof p);
    return p;
}

bool Has_Photo_Record(uint8_t kind) {
    return kind == PHOTO_BLOCK || kind == SYMBOL_BLOCK || kind == SLOT_BLOCK;
}

}  // namespace

void Save_UNITD(a_undo_writer& w, const a_unit& spec, const a_doc_unit& u) {
    w.Num(spec.kind), w.Num(spec.uflags), w.Num(spec.viewangle);
    Save_FRect(w, spec.bbox);
    Save_FRect(w, spec.bleed);
    for (float m : spec.meas) w.Num(m);
    w.Box(u.paintbounds);
    w.Bool(u.clonef), w.Bool(u.printf), w.Num(u.groupx);
    w.Pt(u.symmetry_center), w.Pt(u.ruler_origin), w.Pt(u.edit_focus);
    Save_Canvas(w, u.canv.cv);
}

bool Read_UNITD(a_undo_reader& r, a_ram_unitd& d) {
    d.spec.kind = r.Num<uint8_t>(), d.spec.uflags = r.Num<uint32_t>();
    d.spec.viewangle = r.Num<int16_t>();
    d.spec.bbox = Read_FRect(r);
    d.spec.bleed = Read_FRect(r);
    for (float& m : d.spec.meas) m = r.Num<float>();
    d.bounds = r.Box();
    d.clonef = r.Bool(), d.printf = r.Bool(), d.groupx = r.Num<uint32_t>();
    d.symmetry_center = r.Pt(), d.ruler_origin = r.Pt(), d.edit_focus = r.Pt();
    Read_Canvas(r, d.cv);
    return r.Done() && d.spec.kind < NUNIT_KINDS && d.groupx <= MAXNUNITS &&
           d.bounds.right >= d.bounds.left && d.bounds.bottom >= d.bounds.top;
}

void Save_PH(a_undo_writer& w, const a_ph_rec& ph) {
    const a_spec& s = ph.spec;
    w.Num(s.source.sid), w.Num(static_cast<uint8_t>(s.source.kind));
    Save_Key(w, s.source.key);
    w.Num(s.source.path.vRefNum), w.Num(s.source.path.parID), w.Str(s.source.path.name);
    for (int16_t v : {s.angle, s.scalingh, s.scalingv, s.darkness, s.opacity, s.corner, s.feather,
                      s.edge_kind, s.edge_border, s.edge_outline, s.edge_scallop, s.edge_rough,
                      s.color_sat, s.color_hue, s.color_dist, s.shad_dx, s.shad_dy,
                      s.shad_opacity, s.shad_radius})
        w.Num(v);
    for (bool b : {s.flipx, s.flipy, s.invert, s.wtransp, s.shadf, s.constrainf, s.is_symbol})
        w.Bool(b);
    Save_Pixel(w, s.symbol_color), Save_Pixel(w, s.edge_bord_color), Save_Pixel(w, s.edge_outl_color);
    w.Box(s.subset);
    w.Num(s.hintx);
    w.Bytes(ph.codec, sizeof ph.codec);
    w.Pt(ph.dst_center);
    w.Box(ph.dst_box);
}

bool Read_PH(a_undo_reader& r, a_ph_rec& ph) {
    a_spec& s = ph.spec;
    s.source.sid = r.Num<uint16_t>();
    uint8_t kind = r.Num<uint8_t>();
    s.source.kind = static_cast<a_source_kind>(kind);
    s.source.key = Read_Key(r);
    s.source.path.vRefNum = r.Num<int16_t>(), s.source.path.parID = r.Num<int32_t>();
    s.source.path.name = r.Str();
    for (int16_t* v : {&s.angle, &s.scalingh, &s.scalingv, &s.darkness, &s.opacity, &s.corner,
                       &s.feather, &s.edge_kind, &s.edge_border, &s.edge_outline, &s.edge_scallop,
                       &s.edge_rough, &s.color_sat, &s.color_hue, &s.color_dist, &s.shad_dx,
                       &s.shad_dy, &s.shad_opacity, &s.shad_radius})
        *v = r.Num<int16_t>();
    for (bool* b : {&s.flipx, &s.flipy, &s.invert, &s.wtransp, &s.shadf, &s.constrainf,
                    &s.is_symbol})
        *b = r.Bool();
    s.symbol_color = Read_Pixel(r), s.edge_bord_color = Read_Pixel(r);
    s.edge_outl_color = Read_Pixel(r);
    s.subset = r.Box();
    s.hintx = r.Num<int32_t>();
    (void)r.Take(ph.codec, sizeof ph.codec);
    ph.dst_center = r.Pt();
    ph.dst_box = r.Box();
    // The effects treat an unknown edge style as an internal error.
    return r.Ok() && kind <= SOURCE_COLLAGE && s.edge_kind >= EDGE_NONE && s.edge_kind <= EDGE_ROUGH;
}

void OJ_To_Buf(a_undo_writer& w, const a_oj_item& item) {
    w.Num(item.objid), w.Num(item.flags), w.Num(item.kind);
    size_t at = w.Size();
    w.Num<uint32_t>(0);  // the record's length, filled in below
    if (Has_Photo_Record(item.kind) && item.ph) Save_PH(w, *item.ph);
    else if (item.kind == TEXT_BLOCK && item.om) Save_OM(w, *item.om);
    uint32_t n = static_cast<uint32_t>(w.Size() - at - 4);
    std::memcpy(w.Out().data() + at, &n, sizeof n);
}

bool Buf_To_OJ(a_undo_reader& r, a_oj_item& item) {
    item = a_oj_item{};
    // A step brings its blocks back as they were, ids included: the edited
    // text, the layer bar and the selection name blocks by id. An id the
    // counter has not given out yet cannot come from this run.
    uint32_t objid = r.Num<uint32_t>();
    uint8_t flags = r.Num<uint8_t>(), kind = r.Num<uint8_t>();
    uint32_t n = r.Num<uint32_t>();
    if (!r.Ok() || n != r.Left() || kind > PAINT_BLOCK || flags >= 1u << (VISIBLE_FLAG + 1) || objid == 0 ||
        objid > g_uniqueid)
        return false;
    a_oj_item made;
    made.flags = flags, made.kind = kind;
    if (Has_Photo_Record(kind)) {
        a_ph_rec ph;
        if (!Read_PH(r, ph) || !r.Done()) return false;
        made.ph = New_PH_Rec();
        *made.ph = ph;
    } else if (kind == TEXT_BLOCK) {
        a_om_rec om;
        if (!Read_OM(r, om) || !r.Done()) return false;
        made.om = New_OM_Rec();
        *made.om = om;
    } else if (n != 0) {
        return false;
    }
    made.objid = objid;
    item = made;
    return true;
}

namespace {

// The tile grid of a world: 64 x 64 cells, the last column and row cut short.
struct a_tiles {
    int across = 0, down = 0, bpp = 0;
    Rect bounds;
    a_tiles(const Rect& b, int depth)
        : across((Rect_Width(b) + LAYER_TILE - 1) / LAYER_TILE),
          down((Rect_Height(b) + LAYER_TILE - 1) / LAYER_TILE), bpp(depth / 8), bounds(b) {}
    uint32_t Count() const { return uint32_t(std::max(across, 0)) * uint32_t(std::max(down, 0)); }
    Rect Tile(uint32_t t) const {
        int x = bounds.left + int(t % uint32_t(across)) * LAYER_TILE;
        int y = bounds.top + int(t / uint32_t(across)) * LAYER_TILE;
        return Rect{int16_t(y), int16_t(x), int16_t(std::min<int>(y + LAYER_TILE, bounds.bottom)),
                    int16_t(std::min<int>(x + LAYER_TILE, bounds.right))};
    }
    size_t Bytes(uint32_t t) const {
        Rect r = Tile(t);
        return size_t(Rect_Width(r)) * size_t(bpp) * size_t(Rect_Height(r));
    }
};

// True when every cell of r holds `value`.
bool Is_Flat(const PixMap& pm, const Rect& r, int bpp, uint32_t value) {
    size_t n = size_t(Rect_Width(r)) * size_t(bpp);
    for (int y = r.top; y < r.bottom; ++y) {
        const uint8_t* row = PixMap_Row(pm, y) + size_t(r.left - pm.bounds.left) * size_t(bpp);
        for (size_t i = 0; i < n; i += size_t(bpp)) {
            uint32_t v = 0;
            std::memcpy(&v, row + i, size_t(bpp));
            if (v != value) return false;
        }
    }
    return true;
}

uint32_t First_Cell(const PixMap& pm, const Rect& r, int bpp) {
    uint32_t v = 0;
    std::memcpy(&v, PixMap_Row(pm, r.top) + size_t(r.left - pm.bounds.left) * size_t(bpp), size_t(bpp));
    return v;
}

// A kept tile's number carries this bit when the tile is one value throughout
// (a filled area): one cell's bytes stand for the whole tile.
constexpr uint32_t FLAT_TILE = 0x80000000u;

void Fill_Tile(PixMap& pm, const Rect& t, int bpp, uint32_t value) {
    for (int y = t.top; y < t.bottom; ++y) {
        uint8_t* row = PixMap_Row(pm, y) + size_t(t.left - pm.bounds.left) * size_t(bpp);
        if (bpp == 1) std::memset(row, int(value & 0xFF), size_t(Rect_Width(t)));
        else std::fill_n(reinterpret_cast<uint32_t*>(row), Rect_Width(t), value);
    }
}

}  // namespace

void GWorld_To_Buf(a_undo_writer& w, const GWorld& world, uint32_t blank) {
    const PixMap& pm = world.pix;
    const a_tiles grid(pm.bounds, pm.pixelSize);
    if (grid.bpp != 1 && grid.bpp != 4) InternalError();
    if (grid.bpp == 1) blank &= 0xFF;
    std::vector<uint32_t> kept;
    for (uint32_t t = 0; t < grid.Count(); ++t) {
        Rect r = grid.Tile(t);
        uint32_t first = First_Cell(pm, r, grid.bpp);
        if (!Is_Flat(pm, r, grid.bpp, first)) kept.push_back(t);
        else if (first != blank) kept.push_back(t | FLAT_TILE);
    }
    w.Box(pm.bounds);
    w.Num<int16_t>(pm.pixelSize);
    w.Num<uint32_t>(pm.pmTable == gray_ctable ? 1 : 0);
    w.Num<uint32_t>(blank);
    w.Num<uint32_t>(uint32_t(kept.size()));
    for (uint32_t t : kept) {
        w.Num<uint32_t>(t);
        Rect r = grid.Tile(t & ~FLAT_TILE);
        size_t n = size_t(Rect_Width(r)) * size_t(grid.bpp);
        if (t & FLAT_TILE) n = size_t(grid.bpp);
        for (int y = r.top; y < r.bottom; ++y) {
            w.Bytes(PixMap_Row(pm, y) + size_t(r.left - pm.bounds.left) * size_t(grid.bpp), n);
            if (t & FLAT_TILE) break;
        }
    }
}

bool Read_GWorld_Header(a_undo_reader& r, a_ram_gworld& h) {
    h.bounds = r.Box();
    h.pixelsize = r.Num<int16_t>();
    h.pmtable = r.Num<uint32_t>();
    h.blank = r.Num<uint32_t>();
    h.ntiles = r.Num<uint32_t>();
    return r.Ok();
}

bool GWorld_Fits(const a_ram_gworld& h, const Rect& bounds, int depth, bool gray) {
    return h.bounds == bounds && h.pixelsize == depth && h.pmtable == (gray ? 1u : 0u) &&
           Rect_Width(bounds) > 0 && Rect_Height(bounds) > 0 && (depth == 8 || depth == 32) &&
           (depth == 32 || h.blank <= 0xFF);
}

bool Check_GWorld_Tiles(a_undo_reader& r, const a_ram_gworld& h) {
    const a_tiles grid(h.bounds, h.pixelsize);
    if (h.ntiles > grid.Count()) return false;
    int64_t last = -1;
    for (uint32_t i = 0; i < h.ntiles; ++i) {
        uint32_t t = r.Num<uint32_t>();
        const bool flat = (t & FLAT_TILE) != 0;
        t &= ~FLAT_TILE;
        if (!r.Ok() || int64_t(t) <= last || t >= grid.Count()) return false;
        last = t;
        size_t n = flat ? size_t(grid.bpp) : grid.Bytes(t);
        if (n > r.Left()) return false;
        std::vector<uint8_t> skip(n);
        (void)r.Take(skip.data(), n);
    }
    return r.Done();
}

void Buf_To_GWorld(a_undo_reader& r, const a_ram_gworld& h, GWorld& world) {
    PixMap& pm = world.pix;
    const a_tiles grid(pm.bounds, pm.pixelSize);
    Fill_Tile(pm, pm.bounds, grid.bpp, h.blank);
    for (uint32_t i = 0; i < h.ntiles; ++i) {  // Check_GWorld_Tiles saw every one
        uint32_t k = r.Num<uint32_t>();
        Rect t = grid.Tile(k & ~FLAT_TILE);
        if (k & FLAT_TILE) {
            uint32_t v = 0;
            (void)r.Take(reinterpret_cast<uint8_t*>(&v), size_t(grid.bpp));
            Fill_Tile(pm, t, grid.bpp, v);
            continue;
        }
        size_t n = size_t(Rect_Width(t)) * size_t(grid.bpp);
        for (int y = t.top; y < t.bottom; ++y)
            (void)r.Take(PixMap_Row(pm, y) + size_t(t.left - pm.bounds.left) * size_t(grid.bpp), n);
    }
}
