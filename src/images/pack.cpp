#include "images/pack.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "base/messages.h"
#include "images/image_files.h"
#include "images/photo_blocks.h"
#include "model/document.h"
#include "model/history.h"
#include "model/history_ops.h"
#include "model/notices.h"
#include "model/ph_blocks.h"
#include "model/selection.h"
#include "pixels/blit.h"
#include "pixels/blit_port.h"
#include "platform/port.h"
#include "render/compositor.h"
#include "render/effects_cache.h"

a_pack* g_pack = nullptr;

namespace {

constexpr uint32_t PLACEHOLDER_FILL = Port_RGB(226, 230, 236);
constexpr uint32_t PLACEHOLDER_EDGE = Port_RGB(120, 128, 140);
constexpr a_pattern DASH_PAT{{0xF0, 0xF0, 0xF0, 0xF0, 0x0F, 0x0F, 0x0F, 0x0F}};
constexpr int MAX_ITEM_SCALING = 2500;

a_pack& Pack() {
    if (!g_pack) InternalError();
    return *g_pack;
}

a_slot& Slot(int slot) { return Pack().slots[slot - FIRST_SLOT]; }

a_ph_rec* Slot_PH(int slot) { return Curr_PH(Slotx_To_Omx(slot)); }

void Post_Slot(int slot) {
    a_ph_rec* ph = Slot_PH(slot);
    Slot(slot).slot_dirty = true;
    if (ph) Obj_PostRender(Slotx_To_Omx(slot));
}

// The block of an empty slot: its frame is its region's box.
void Empty_Slot_PH(a_ph_rec& ph, int slot) {
    Null_Spec(ph.spec);
    ph.spec.source.kind = SOURCE_EMPTYSLOT;
    std::memset(ph.codec, 0, sizeof ph.codec);
    ph.dst_center = Point{};
    ph.dst_box = Rgn_Bounds(Slot(slot).slot_rgn.get());
}

bool Append_Slot_Block() {
    a_oj_master& oj = Curr_Unit().oj;
    if (oj.nlist >= MAXNOBJECTS) return false;
    a_oj_item it;
    it.objid = NextUniqueID();
    it.flags = uint8_t(1u << VISIBLE_FLAG);
    it.kind = SLOT_BLOCK;
    it.ph = New_PH_Rec();
    if (!OMast_Append(oj, it)) InternalError();
    Empty_Slot_PH(*it.ph, FIRST_SLOT + Pack_Slot_Blocks() - 1);
    return true;
}

// The scaling at which the picture covers its slot, turned as it will be.
int Cover_Scaling(const a_slot& s, int pw, int ph, int angle) {
    const Rect b = Rgn_Bounds(s.slot_rgn.get());
    if (Rect_IsEmpty(b) || pw <= 0 || ph <= 0) return 1000;
    const Point c = s.slot_rgn_center;
    const double hw = std::max(std::abs(b.left - c.h), std::abs(b.right - c.h));
    const double hh = std::max(std::abs(b.top - c.v), std::abs(b.bottom - c.v));
    const double a = angle * 3.14159265358979 / 1800.0;
    const double ca = std::fabs(std::cos(a)), sa = std::fabs(std::sin(a));
    const double need_w = 2 * (hw * ca + hh * sa), need_h = 2 * (hw * sa + hh * ca);
    const double s1000 = 1000.0 * std::max(need_w / pw, need_h / ph);
    return std::clamp(int(std::ceil(s1000)), PHOTO_MIN_SCALING, MAX_ITEM_SCALING);
}

// Both sides above 600: the shorter becomes 600, in a new world.
void Reduce_For_Slot(a_masked_gworld& mw) {
    const int w = Rect_Width(mw.bounds), h = Rect_Height(mw.bounds);
    if (w <= PACK_SLOT_SIDE || h <= PACK_SLOT_SIDE || !mw.fore) return;
    int nw = PACK_SLOT_SIDE, nh = PACK_SLOT_SIDE;
    if (w < h) nh = int(int64_t(h) * PACK_SLOT_SIDE / w);
    else nw = int(int64_t(w) * PACK_SLOT_SIDE / h);
    const Rect nb{0, 0, int16_t(nh), int16_t(nw)};
    a_masked_gworld out;
    out.bounds = nb;
    New_GWorldF("Collage Slot", nb, 32, nullptr, out.fore);
    Bicubic_Blt(mw.fore->pix, out.fore->pix, mw.bounds, nb);
    if (mw.mask) {
        New_GWorldF("Collage Slot", nb, 8, gray_ctable, out.mask);
        Bicubic_Blt(mw.mask->pix, out.mask->pix, mw.bounds, nb);
    }
    Dispose_MW(mw);
    mw = out;
}

void Clear_MW(a_masked_gworld& mw, const Rect& r) {
    const Rect net = Rect_Sect(r, mw.bounds);
    for (int y = net.top; y < net.bottom; ++y) {
        std::memset(PixMap_Row(mw.fore->pix, y) + 4 * (net.left - mw.bounds.left), 0xFF,
                    size_t(4) * Rect_Width(net));
        std::memset(PixMap_Row(mw.mask->pix, y) + (net.left - mw.bounds.left), 0, size_t(Rect_Width(net)));
    }
}

void Make_Composite(a_masked_gworld& mw, const Rect& bounds, const char* label) {
    Dispose_MW(mw);
    mw.bounds = bounds;
    New_GWorldF(label, bounds, 32, nullptr, mw.fore);
    New_GWorldF(label, bounds, 8, gray_ctable, mw.mask);
    Clear_MW(mw, bounds);
}

// The placeholder of an empty slot on the screen: a pale fill, a dashed
// edge and a plus in the middle, so it reads as "drop a photo here".
void Draw_Placeholder(const a_slot& s, GWorld* dest, const Rect& clip, const a_coord_mapping& m) {
    const Rect& pb = Curr_Unit().paintbounds;
    a_region_ptr rgn = Make_Region();
    Rgn_Copy(s.slot_rgn.get(), rgn.get());
    Rgn_Map(rgn.get(), pb, Cells_To_Pixels(m, pb));
    a_region_ptr cl = Make_Region();
    Rgn_SetRect(cl.get(), clip);
    a_port_scope port(dest);
    SetClip(cl.get());
    PenNormal();
    RGBForeColor(PLACEHOLDER_FILL);
    PaintRgn(rgn.get());
    RGBForeColor(PLACEHOLDER_EDGE);
    PenPat(DASH_PAT);
    PenSize(2, 2);
    FrameRgn(rgn.get());
    PenNormal();
    PenSize(3, 3);
    const Rect c = Cells_To_Pixels(m, Rect{s.slot_rgn_center.v, s.slot_rgn_center.h,
                                           int16_t(s.slot_rgn_center.v + 1), int16_t(s.slot_rgn_center.h + 1)});
    const int arm = std::max(4, std::min(Rect_Width(Rgn_Bounds(rgn.get())), Rect_Height(Rgn_Bounds(rgn.get()))) / 8);
    MoveTo(c.left - arm, c.top);
    LineTo(c.left + arm, c.top);
    MoveTo(c.left, c.top - arm);
    LineTo(c.left, c.top + arm);
    PenNormal();
    ClipWideOpen();
}

// The compositor's drawing of a slot block: the pack's composite for a
// filled slot (painted again when dirty), the placeholder for an empty one.
void Draw_Slot(a_doc_unit& up, int omx, GWorld* dest, const Rect& clip, const a_coord_mapping& m) {
    if (!g_pack || &up != g_doc.up || !dest) return;
    const int slot = Omx_To_Slotx(omx);
    if (slot < 0) return;
    a_pack& p = Pack();
    a_slot& s = Slot(slot);
    if (Rgn_IsEmpty(s.slot_rgn.get())) return;
    if (!p.compositemw.fore || p.compositemw.bounds != p.composite_bounds) {
        Make_Composite(p.compositemw, p.composite_bounds, "Collage");
        std::fill(std::begin(p.painted_valid), std::end(p.painted_valid), false);
    }
    const int i = slot - FIRST_SLOT;
    const a_ph_rec& now = *Slot_PH(slot);
    const bool empty = Is_Slot_Empty(slot);
    int16_t turn = int16_t(s.slot_base_angle + s.slot_extra_angle);
    Normalize_180(turn);
    const bool same = empty ? !p.painted_valid[i]
                            : p.painted_valid[i] && now.dst_center == p.painted[i].dst_center &&
                                  now.spec.source == p.painted[i].spec.source &&
                                  Equal_Spec(true, now.spec, p.painted[i].spec) && p.painted[i].spec.angle == turn;
    if (s.slot_dirty || !same) {
        // Only this slot's own pixels are cleared: neighbours share its box.
        std::vector<Rect> rects;
        Rgn_GetRects(s.slot_rgn.get(), rects);
        for (const Rect& r : rects) Clear_MW(p.compositemw, r);
        if (!empty) Paint_Slot(slot, p.compositemw, FOR_COLLAGE);
        p.painted[i] = now;
        p.painted[i].spec.angle = turn;
        p.painted_valid[i] = !empty;
        s.slot_dirty = false;
    }
    if (empty) {
        Draw_Placeholder(s, dest, clip, m);
        return;
    }
    const Rect b = Rect_Sect(Rgn_Bounds(s.slot_rgn.get()), p.compositemw.bounds);
    if (Rect_IsEmpty(b)) return;
    a_port_scope port(dest);
    Port_To_Port_Deep(p.compositemw.fore, p.compositemw.mask, dest, b, b, Cells_To_Pixels(m, b), &clip);
}

a_listener_token g_slot_draw_token = 0;

}  // namespace

bool Pack_Active() { return g_pack != nullptr; }

int Slotx_To_Omx(int slot) { return Pack().first_slot_omx + (slot - FIRST_SLOT); }

int Omx_To_Slotx(int omx) {
    if (!g_pack || !g_doc.up) return -1;
    const a_oj_item* it = Curr_Item(omx);
    if (!it || it->kind != SLOT_BLOCK || omx < g_pack->first_slot_omx) return -1;
    const int s = FIRST_SLOT + omx - g_pack->first_slot_omx;
    return s < FIRST_SLOT + PACK_MAX_SLOTS ? s : -1;
}

const a_slot& Pack_Slot(int slot) { return Slot(slot); }

int Pack_Slot_Blocks() {
    if (!g_pack) return 0;
    return std::max(0, Curr_Unit().oj.nlist - g_pack->first_slot_omx + 1);
}

bool Is_Slot_Empty(int slot) {
    const a_ph_rec* ph = Slot_PH(slot);
    return !ph || ph->spec.source.kind == SOURCE_EMPTYSLOT;
}

void Pack_Enter(int curr_phase) {
    if (g_pack) InternalError();
    a_doc_unit& u = Curr_Unit();
    g_pack = new a_pack;
    a_pack& p = *g_pack;
    p.save_phase = curr_phase;
    p.save_doc_bounds = u.paintbounds;
    p.ux = g_doc.upx;
    p.first_slot_omx = u.oj.nlist + 1;
    p.totnslots = 0;
    p.hist_slot = g_hist.curr;
    u.paintbounds = Rect{0, 0, 10, 10};
}

void Delta_Pack(const a_pack_spec& spec_in) {
    a_pack& p = Pack();
    a_pack_spec spec = spec_in;
    Clamp_Pack_Spec(spec);
    p.packspec = spec;
    p.composite_bounds = Calc_Composite_Bounds(spec);
    a_doc_unit& u = Curr_Unit();
    u.paintbounds = p.composite_bounds;
    Set_Number_Of_Slots(Pack_Rebuild_Regions(spec, p.slots));
    for (int i = 0; i < Pack_Slot_Blocks(); ++i) {
        a_ph_rec* ph = Slot_PH(FIRST_SLOT + i);
        if (ph) ph->dst_box = Rgn_Bounds(p.slots[i].slot_rgn.get());
    }
    Pack_Inval();
}

void Set_Number_Of_Slots(int n) {
    a_pack& p = Pack();
    p.totnslots = std::clamp(n, 0, PACK_MAX_SLOTS);
    while (Pack_Slot_Blocks() < p.totnslots && Append_Slot_Block()) {}
    a_oj_master& oj = Curr_Unit().oj;
    for (int s = FIRST_SLOT + Pack_Slot_Blocks() - 1; s >= FIRST_SLOT + p.totnslots && Is_Slot_Empty(s); --s)
        Obj_Dispose(oj, Slotx_To_Omx(s));
    // Slots the unit has no room for are not in use.
    p.totnslots = std::min(p.totnslots, Pack_Slot_Blocks());
    Obj_Number_Changed();
}

int Find_Slot_To_Fill() {
    const a_pack& p = Pack();
    if (p.totnslots <= 0) return -1;
    int start = 0;
    for (int omx = OMX_START; Selection_Enum(omx);) {
        const int s = Omx_To_Slotx(omx);
        if (s >= 0) {
            start = (s - FIRST_SLOT) % p.totnslots;
            break;
        }
    }
    for (int k = 0; k < p.totnslots; ++k) {
        const int s = FIRST_SLOT + (start + k) % p.totnslots;
        if (Is_Slot_Empty(s)) return s;
    }
    return -1;
}

bool Is_Pack_Full() { return Find_Slot_To_Fill() < 0; }

bool Is_Pack_Empty() {
    for (int i = 0; i < Pack_Slot_Blocks(); ++i)
        if (!Is_Slot_Empty(FIRST_SLOT + i)) return false;
    return true;
}

void Inject_In_Slot(int slot, a_masked_gworld& picture, const std::string& path, a_source_kind kind) {
    a_ph_rec* ph = Slot_PH(slot);
    if (!ph || !picture.fore) {
        Dispose_MW(picture);
        return;
    }
    Reduce_For_Slot(picture);
    a_slot& s = Slot(slot);
    Obj_PostRender(Slotx_To_Omx(slot));
    Null_Spec(ph->spec);
    ph->spec.source.kind = kind;
    if (kind == SOURCE_EXTFILE) ph->spec.source.path.name = path;
    ph->spec.subset = picture.bounds;
    ph->dst_center = Point{};
    ph->dst_box = Rgn_Bounds(s.slot_rgn.get());
    s.slot_extra_angle = 0;
    const int sc = Cover_Scaling(s, Rect_Width(picture.bounds), Rect_Height(picture.bounds),
                                 s.slot_base_angle);
    ph->spec.scalingh = ph->spec.scalingv = int16_t(sc);
    a_raw_bytes* raw = nullptr;
    Cache_Insert_External(ph->spec.source, picture, raw);
    Clean_Spec(ph->spec);
    a_oj_item& it = *Curr_Item(Slotx_To_Omx(slot));
    it.flags |= uint8_t((1u << PENDING_FLAG) | (1u << VISIBLE_FLAG));
    Post_Slot(slot);
}

bool Pack_Add_Photo(bool& full, const std::string& path) {
    const int slot = Find_Slot_To_Fill();
    full = slot < 0;
    if (full) return false;
    a_scan_owner scan;
    if (Read_Image_File(false, path, scan.get()) != SCAN_OK) return false;
    a_masked_gworld_owner mw;
    if (!Scan_To_MW(scan.get(), mw.get())) return false;
    a_masked_gworld picture = mw.release();
    Inject_In_Slot(slot, picture, path, SOURCE_EXTFILE);
    return true;
}

a_pack_get_result Pack_Get(const std::vector<std::string>& paths) {
    a_pack_get_result r;
    if (Curr_Unit().oj.nlist >= MAXNOBJECTS || Is_Pack_Full()) {
        r.refused = true;
        r.unplaced = paths;
        Block_Sound(SND_BLOCK_WARNING);
        return r;
    }
    const size_t n = std::min(paths.size(), size_t(PACK_MAX_FILES));
    const bool bar = n > 1;
    if (bar) Progress_Tick(PROGRESS_OPEN, -1);
    for (size_t i = 0; i < n; ++i) {
        if (bar) Progress_Tick(int32_t(n), int32_t(i));
        bool full = false;
        if (Pack_Add_Photo(full, paths[i])) ++r.placed;
        else if (full) r.unplaced.push_back(paths[i]);
        else r.failed.push_back(paths[i]);
    }
    if (bar) Progress_Tick(PROGRESS_CLOSE, -2);
    // Beyond the fifty, nothing is dropped without saying so.
    for (size_t i = n; i < paths.size(); ++i) r.unplaced.push_back(paths[i]);
    if (!r.unplaced.empty()) Block_Sound(SND_BLOCK_WARNING);
    if (r.placed) History_Emit(OP_COLLAGE_INSERT);
    return r;
}

bool Pack_Paste(a_masked_gworld& picture) {
    const int slot = Find_Slot_To_Fill();
    if (slot < 0 || !picture.fore) {
        Block_Sound(SND_BLOCK_WARNING);
        Dispose_MW(picture);
        return false;
    }
    Inject_In_Slot(slot, picture, std::string(), SOURCE_CLIPBOARD);
    History_Emit(OP_COLLAGE_INSERT);
    return true;
}

void Pack_DupSlot() {
    std::vector<int> sources;
    for (int omx = OMX_START; Selection_Enum(omx);) {
        const int s = Omx_To_Slotx(omx);
        if (s >= 0 && !Is_Slot_Empty(s)) sources.push_back(s);
    }
    bool any = false, refused = false;
    for (int s : sources) {
        const int to = Find_Slot_To_Fill();
        if (to < 0) {
            refused = true;
            break;
        }
        a_ph_rec* dst = Slot_PH(to);
        *dst = *Slot_PH(s);
        dst->spec.hintx = 0;
        dst->dst_box = Rgn_Bounds(Slot(to).slot_rgn.get());
        // The copy follows its own slot's layout and keeps the user's turn.
        Slot(to).slot_extra_angle = Slot(s).slot_extra_angle;
        Post_Slot(to);
        any = true;
    }
    if (refused) Block_Sound(SND_BLOCK_WARNING);
    if (any) History_Emit(OP_BLOCK_DUP);
}

void Pack_ClearSlot() {
    bool any = false;
    for (int omx = OMX_START; Selection_Enum(omx);) {
        const int s = Omx_To_Slotx(omx);
        if (s < 0 || Is_Slot_Empty(s)) continue;
        Post_Slot(s);
        Empty_Slot_PH(*Slot_PH(s), s);
        Slot(s).slot_extra_angle = 0;
        any = true;
    }
    if (any) History_Emit(OP_BLOCK_DEL);
}

bool Pack_Swap_Slots(int a, int b) {
    if (a == b || !Slot_PH(a) || !Slot_PH(b)) return false;
    std::swap(*Slot_PH(a), *Slot_PH(b));
    std::swap(Slot(a).slot_extra_angle, Slot(b).slot_extra_angle);
    for (int s : {a, b}) {
        Slot_PH(s)->dst_box = Rgn_Bounds(Slot(s).slot_rgn.get());
        Slot_PH(s)->spec.hintx = 0;
        Post_Slot(s);
    }
    History_Emit(OP_BLOCK_MOVEXY);
    return true;
}

void Slot_Rotate(int delta, int omx) {
    const int s = Omx_To_Slotx(omx);
    if (s < 0) return;
    a_slot& slot = Slot(s);
    int16_t a = int16_t(std::clamp(slot.slot_extra_angle + delta, -32000, 32000));
    Normalize_180(a);
    slot.slot_extra_angle = a;
    Post_Slot(s);
}

void Pack_Rotate_Selected(int delta) {
    bool any = false;
    for (int omx = OMX_START; Selection_Enum(omx);) {
        const int s = Omx_To_Slotx(omx);
        if (s < 0 || Is_Slot_Empty(s)) continue;
        Slot_Rotate(delta, omx);
        any = true;
    }
    if (any) History_Emit(OP_PHOTO_ANGLE);
}

void Delta_Pack_Item(int size) {
    const int16_t v = int16_t(std::clamp(size, PHOTO_MIN_SCALING, MAX_ITEM_SCALING));
    bool any = false;
    for (int omx = OMX_START; Selection_Enum(omx);) {
        const int s = Omx_To_Slotx(omx);
        if (s < 0 || Is_Slot_Empty(s)) continue;
        a_ph_rec* ph = Slot_PH(s);
        ph->spec.scalingh = ph->spec.scalingv = v;
        Post_Slot(s);
        any = true;
    }
    if (any) History_Set_Pending(OP_PHOTO_SIZE);
}

bool Calc_Slot_Dest_Rect(a_cache_result& result, Rect& dst, int omx, int slot, a_cache_purpose purpose) {
    a_ph_rec* ph = Curr_PH(omx);
    if (!ph || ph->spec.source.kind == SOURCE_EMPTYSLOT) return false;
    const a_slot& s = Slot(slot);
    ph->spec.angle = int16_t(s.slot_base_angle + s.slot_extra_angle);
    Normalize_180(ph->spec.angle);
    int ix = 0;
    if (!Find_Basis(ph->spec.source.sid, ix)) return false;  // the picture has gone
    Cache_Get(purpose, ph->spec, result);
    if (!result.body.fore) InternalError();
    const int w = Rect_Width(result.body.bounds), h = Rect_Height(result.body.bounds);
    const int left = s.slot_rgn_center.h + ph->dst_center.h - w / 2;
    const int top = s.slot_rgn_center.v + ph->dst_center.v - h / 2;
    dst = Rect{int16_t(top), int16_t(left), int16_t(top + h), int16_t(left + w)};
    return true;
}

void Paint_Slot(int slot, a_masked_gworld& target, a_cache_purpose purpose) {
    const a_slot& s = Slot(slot);
    a_cache_result c;
    Rect dst;
    if (!target.fore || !target.mask || !Calc_Slot_Dest_Rect(c, dst, Slotx_To_Omx(slot), slot, purpose))
        return;
    std::vector<Rect> rects;
    Rgn_GetRects(s.slot_rgn.get(), rects);
    const PixMap& src = c.body.fore->pix;
    const PixMap* smask = c.body.mask ? &c.body.mask->pix : nullptr;
    const int dx = c.body.bounds.left - dst.left, dy = c.body.bounds.top - dst.top;
    for (const Rect& r0 : rects) {
        const Rect r = Rect_Sect(Rect_Sect(r0, dst), target.bounds);
        for (int y = r.top; y < r.bottom; ++y) {
            const uint8_t* sp = PixMap_Row(src, y + dy) + 4 * (r.left + dx - src.bounds.left);
            const uint8_t* mp = smask ? PixMap_Row(*smask, y + dy) + (r.left + dx - smask->bounds.left) : nullptr;
            uint8_t* dp = PixMap_Row(target.fore->pix, y) + 4 * (r.left - target.bounds.left);
            uint8_t* dm = PixMap_Row(target.mask->pix, y) + (r.left - target.bounds.left);
            if (!mp) {
                std::memcpy(dp, sp, size_t(4) * Rect_Width(r));
                std::memset(dm, 0xFF, size_t(Rect_Width(r)));
                continue;
            }
            for (int x = 0; x < Rect_Width(r); ++x) {
                const unsigned a = mp[x];
                for (int k = 0; k < 4; ++k) dp[4 * x + k] = uint8_t((sp[4 * x + k] * a + dp[4 * x + k] * (255 - a) + 127) / 255);
                dm[x] = uint8_t(std::max<unsigned>(dm[x], a));
            }
        }
    }
    const int o = Pack().packspec.outline;
    if (o <= 0) return;
    // The outline lies inside the region's own edge: black, fully opaque.
    a_region_ptr inner = Make_Region(), edge = Make_Region();
    Rgn_Copy(s.slot_rgn.get(), inner.get());
    Rgn_Inset(inner.get(), o, o);
    Rgn_Diff(s.slot_rgn.get(), inner.get(), edge.get());
    Rgn_GetRects(edge.get(), rects);
    for (const Rect& r0 : rects) {
        const Rect r = Rect_Sect(r0, target.bounds);
        for (int y = r.top; y < r.bottom; ++y) {
            uint8_t* dp = PixMap_Row(target.fore->pix, y) + 4 * (r.left - target.bounds.left);
            std::memset(dp, 0, size_t(4) * Rect_Width(r));
            std::memset(PixMap_Row(target.mask->pix, y) + (r.left - target.bounds.left), 0xFF, size_t(Rect_Width(r)));
        }
    }
}

void Pack_Paint(a_masked_gworld& target, a_cache_purpose purpose) {
    Clear_MW(target, target.bounds);
    for (int i = 0; i < std::min(Pack_Slot_Blocks(), PACK_MAX_SLOTS); ++i) Paint_Slot(FIRST_SLOT + i, target, purpose);
}

void Pack_Inval() {
    a_pack& p = Pack();
    for (a_slot& s : p.slots) s.slot_dirty = true;
    if (p.compositemw.fore && p.compositemw.bounds == p.composite_bounds) Clear_MW(p.compositemw, p.composite_bounds);
    std::fill(std::begin(p.painted_valid), std::end(p.painted_valid), false);
    Unit_PostRender(Curr_Unit());
    Notice_Unit_Dirty(g_doc.upx);
}

void Pack_RestoreBounds() {
    a_doc_unit& u = Curr_Unit();
    u.paintbounds = Pack().save_doc_bounds;
    Unit_PostRender(u);
}

int Pack_OK() {
    a_pack& p = Pack();
    if (g_doc.upx != p.ux) Select_Doc_Unit(p.ux);
    if (Is_Pack_Empty()) return Pack_Cancel();
    a_masked_gworld mw;
    Make_Composite(mw, p.composite_bounds, "Collage");
    Pack_Paint(mw, FOR_COLLAGE);
    const int next = Pack_Leave(true);
    if (!Photo_Paste(SOURCE_COLLAGE, mw)) Block_Sound(SND_BLOCK_WARNING);
    return next;
}

int Pack_Cancel() { return Pack_Leave(false); }

int Pack_Leave(bool ok) {
    a_pack& p = Pack();
    if (g_doc.upx != p.ux) Select_Doc_Unit(p.ux);
    const int next = ok ? PHOTO_PHASE_AFTER_OK : p.save_phase;
    Pack_RestoreBounds();
    a_oj_master& oj = Curr_Unit().oj;
    for (int i = oj.nlist; i >= 1; --i) {
        if (oj.list[i].kind != SLOT_BLOCK) continue;
        const a_ph_rec* ph = oj.list[i].ph;
        if (ph && ph->spec.source.kind != SOURCE_EMPTYSLOT && ph->spec.source.sid)
            Cache_Clear1(ph->spec.source.sid);
        Obj_Dispose(oj, i);
    }
    // The collage's own steps describe slots that are gone: undo goes back
    // past them to the label as it was (OK records its photo as one step).
    if (p.hist_slot >= 0) (void)History_Drop_After(p.hist_slot);
    Dispose_MW(p.compositemw);
    delete g_pack;
    g_pack = nullptr;
    g_doc_notices.selection.Emit();
    Obj_Number_Changed();
    Notice_Unit_Dirty(g_doc.upx);
    return next;
}

namespace {

a_listener_token g_replaced_token = 0, g_slot_hit_token = 0;

bool Slot_Contains(int omx, Point cell) {
    const int s = Omx_To_Slotx(omx);
    return s >= 0 && Rgn_ContainsPoint(Slot(s).slot_rgn.get(), cell);
}

// The pack without touching the unit it was made on (that unit has gone).
void Drop_Pack() {
    if (!g_pack) return;
    Dispose_MW(g_pack->compositemw);
    delete g_pack;
    g_pack = nullptr;
}

}  // namespace

Rect Pack_Unit_Bounds(const a_doc_unit& u) {
    const bool packed = g_pack && g_pack->ux >= 1 && g_pack->ux <= MAXNUNITS && g_doc.doc_units[g_pack->ux] == &u;
    return packed ? g_pack->save_doc_bounds : u.paintbounds;
}

void Pack_Init() {
    g_slot_draw_token = g_doc_services.draw.slot.Install(Draw_Slot);
    g_slot_hit_token = g_doc_services.slot_contains.Install(Slot_Contains);
    g_replaced_token = g_doc_notices.replaced.Subscribe(Drop_Pack);
}

void Pack_Stop() {
    g_doc_notices.replaced.Unsubscribe(g_replaced_token);
    g_doc_services.draw.slot.Remove(g_slot_draw_token);
    g_doc_services.slot_contains.Remove(g_slot_hit_token);
    Drop_Pack();
}
