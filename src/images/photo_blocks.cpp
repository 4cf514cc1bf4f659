#include "images/photo_blocks.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

#include "artdb/database.h"
#include "artdb/pixt.h"
#include "base/messages.h"
#include "base/prefs.h"
#include "base/string_ids.h"
#include "images/image_files.h"
#include "model/document.h"
#include "model/history_ops.h"
#include "model/notices.h"
#include "model/ph_blocks.h"
#include "model/selection.h"
#include "platform/files.h"
#include "platform/memory.h"

namespace {

int16_t Clamp_Scaling(int64_t v, int maxval) {
    return int16_t(std::clamp<int64_t>(v, PHOTO_MIN_SCALING, maxval));
}

int Max_Scaling(uint8_t kind) { return kind == SYMBOL_BLOCK ? SYMBOL_MAX_SCALING : PHOTO_MAX_SCALING; }

void Load_Sliders(const a_ph_rec& ph) { g_doc_services.ph_to_sliders.Call_Or([] {}, ph); }

bool Unit_Full() { return Curr_Unit().oj.nlist >= MAXNOBJECTS; }

// The highest picture block: where the next new one cascades from.
int Top_Picture() {
    const a_oj_master& oj = Curr_Unit().oj;
    for (int i = oj.nlist; i >= 1; --i)
        if (Has_PH_Kind(oj.list[i].kind)) return i;
    return OMX_NONE;
}

// The single selected picture block, or OMX_NONE.
int One_Picture() {
    int omx = OMX_NONE;
    return Is_One_Selected(omx) && Curr_PH(omx) ? omx : OMX_NONE;
}

// The crop's size; the whole source when not cropped.
Rect Source_Rect(const a_spec& spec) {
    if (!Rect_IsEmpty(spec.subset)) return spec.subset;
    int ix = 0;
    if (spec.source.kind != SOURCE_DATABASE && Find_Basis(spec.source.sid, ix))
        return Cache_Item(ix).c.body.bounds;
    return spec.subset;
}

// A decoded picture becomes a new block: cache entry, scaling, sliders, box.
bool Adopt_Picture(uint8_t ojkind, a_source_desc source, const char codec[4], Point center,
                   a_masked_gworld& mw, a_raw_bytes* raw, int op) {
    int newx = OMX_NONE;
    a_ph_rec* ph = PH_New(ojkind, newx);
    ph->spec.source = source;
    ph->spec.subset = mw.bounds;
    std::memcpy(ph->codec, codec, 4);
    ph->dst_center = center;
    Cache_Insert_External(ph->spec.source, mw, raw);
    Clean_Spec(ph->spec);
    Calc_Default_Scaling(ph->spec.subset, ph->spec.scalingh);
    ph->spec.scalingv = ph->spec.scalingh;
    Load_Sliders(*ph);
    Photo_Merge(true, newx);
    History_Emit(op);
    return true;
}

// Each selected picture block (not collage slots) changed by `change`, with
// its old and new area posted; one history step when any changed.
template <typename F>
void For_Selected_Pictures(int op, F change) {
    bool any = false;
    for (int omx = OMX_START; Selection_Enum(omx);) {
        a_oj_item* it = Curr_Item(omx);
        if (!it->ph || it->kind == SLOT_BLOCK) continue;
        Obj_PostRender(omx);
        change(*it->ph);
        Photo_Recalc(omx);
        any = true;
    }
    if (any) History_Emit(op);
}

void Fit_Single(bool horz, bool vert, bool cover, bool stretch) {
    int omx = One_Picture();
    if (omx == OMX_NONE) return;
    a_ph_rec& ph = *Curr_PH(omx);
    Rect src = Source_Rect(ph.spec);
    if (Rect_IsEmpty(src)) return;
    const Rect& unit = Curr_Unit().paintbounds;
    const int maxs = Max_Scaling(Curr_Item(omx)->kind);
    int64_t sh = int64_t(1000) * Rect_Width(unit) / Rect_Width(src);
    int64_t sv = int64_t(1000) * Rect_Height(unit) / Rect_Height(src);
    Obj_PostRender(omx);
    if (stretch) {
        ph.spec.scalingh = Clamp_Scaling(sh, maxs);
        ph.spec.scalingv = Clamp_Scaling(sv, maxs);
    } else {
        int64_t s = cover ? std::max(sh, sv) : horz ? sh : sv;
        ph.spec.scalingh = ph.spec.scalingv = Clamp_Scaling(s, maxs);
    }
    if (cover) ph.spec.constrainf = !stretch;
    Point c = Rect_Centre(unit);
    Photo_Set_Center(omx, Point{vert ? c.v : int16_t(KEEP_COORD), horz ? c.h : int16_t(KEEP_COORD)});
    Photo_Recalc(omx);
}

// A corner of a box: 1 top left, 2 top right, 3 bottom right, 4 bottom left.
Point Corner_Of(const Rect& r, int part) {
    switch (part) {
        case 1: return Point{r.top, r.left};
        case 2: return Point{r.top, r.right};
        case 3: return Point{r.bottom, r.right};
        default: return Point{r.bottom, r.left};
    }
}

}  // namespace

void Calc_Default_Scaling(const Rect& photo_bounds, int16_t& scaling) {
    const Rect& unit = Curr_Unit().paintbounds;
    const int pw = Rect_Width(photo_bounds), ph = Rect_Height(photo_bounds);
    const int uw = Rect_Width(unit), uh = Rect_Height(unit);
    if (pw <= 0 || ph <= 0 || (pw <= uw && ph <= uh)) {
        scaling = 1000;
        return;
    }
    scaling = Clamp_Scaling(std::min(int64_t(1000) * uw / pw, int64_t(1000) * uh / ph),
                            PHOTO_MAX_SCALING);
}

int Photo_New(const std::vector<std::string>& paths) {
    int made = 0;
    const size_t n = std::min(paths.size(), size_t(PHOTO_MAX_FILES));
    for (size_t i = 0; i < n; ++i) {
        if (Unit_Full()) {
            Block_Sound(SND_BLOCK_WARNING);
            break;
        }
        if (Photo_NewP(true, paths[i])) ++made;
    }
    return made;
}

bool Photo_NewP(bool verbose, const std::string& path, int* code) {
    Point center;
    Calc_New_Center(Top_Picture(), center);
    return Photo_New_External(verbose, center, path, code);
}

bool Photo_New_External(bool verbose, Point new_center, const std::string& path, int* code) {
    a_scan_owner scan;
    int err = Read_Image_File(verbose, path, scan.get());
    if (code) *code = err;
    if (err != SCAN_OK) return false;
    // Shown as it is, grey where the file ends, and said once.
    if (scan->incomplete && verbose) OK_Alert(ALERT_IMAGE_INCOMPLETE, false);
    a_masked_gworld_owner mw;
    if (!Scan_To_MW(scan.get(), mw.get())) {
        if (code) *code = SCAN_NO_MEMORY;
        if (verbose) OK_Alert(ALERT_NO_MEMORY_FOR_THIS, false);
        return false;
    }
    a_source_desc source;
    source.kind = SOURCE_EXTFILE;
    source.path.name = path;
    return Photo_New_External2(path, new_center, source, scan->codec, mw.get());
}

bool Photo_New_External2(const std::string& new_path, Point new_center, a_source_desc new_source,
                         const char new_codec[4], a_masked_gworld& new_mw) {
    if (Unit_Full()) {
        Block_Sound(SND_BLOCK_WARNING);
        Dispose_MW(new_mw);
        return false;
    }
    const bool has_codec = new_codec[0] || new_codec[1] || new_codec[2] || new_codec[3];
    a_raw_bytes* raw = g_pref.embed_option && has_codec ? Read_Original(new_path) : nullptr;
    return Adopt_Picture(PHOTO_BLOCK, new_source, new_codec, new_center, new_mw, raw, OP_PHOTO_NEW);
}

a_raw_bytes* Read_Original(const std::string& path) {
    a_checked_allocation checked;
    auto* bytes = new (std::nothrow) a_raw_bytes;
    if (!bytes) {
        OK_Alert(ALERT_NO_MEMORY_FOR_THIS, false);
        return nullptr;
    }
    try {
        if (File_ReadAll(path, *bytes)) return bytes;
    } catch (const std::bad_alloc&) {
        OK_Alert(ALERT_NO_MEMORY_FOR_THIS, false);
    }
    delete bytes;
    return nullptr;
}

bool Photo_Paste(a_source_kind paste_kind, a_masked_gworld& paste_mw) {
    if (Unit_Full() || !paste_mw.fore) {
        Block_Sound(SND_BLOCK_WARNING);
        Dispose_MW(paste_mw);
        return false;
    }
    Point center = Rect_Centre(Curr_Unit().paintbounds);
    if (paste_kind != SOURCE_COLLAGE) Calc_New_Center(Top_Picture(), center);
    a_source_desc source;
    source.kind = paste_kind;
    const char no_codec[4] = {};
    return Adopt_Picture(PHOTO_BLOCK, source, no_codec, center, paste_mw, nullptr, OP_PHOTO_PASTE);
}

bool Do_Paste_PH(const a_pasted_ph_rec& pasted) {
    if (!Has_PH_Kind(pasted.ojkind)) return false;
    const a_source_desc& s = pasted.ph.spec.source;
    int ix = 0;
    bool available = s.kind == SOURCE_DATABASE ? OP_Exists(s.key) : Find_Basis(s.sid, ix);
    if (!available) return false;
    if (Unit_Full()) {
        Block_Sound(SND_BLOCK_WARNING);
        return false;
    }
    int newx = OMX_NONE;
    a_ph_rec* ph = PH_New(pasted.ojkind, newx);
    *ph = pasted.ph;
    ph->spec.hintx = 0;
    Load_Sliders(*ph);
    Photo_Merge(true, newx);
    History_Emit(OP_PHOTO_PASTE);
    return true;
}

bool Symbol_New(const a_keyset& key, const a_win_pixel32& color) {
    if (Unit_Full()) {
        Block_Sound(SND_BLOCK_WARNING);
        return false;
    }
    a_gworld_ptr art(Cache_Load_Art(key));
    if (!art) return false;
    Point center;
    Calc_New_Center(Top_Picture(), center);
    int newx = OMX_NONE;
    a_ph_rec* ph = PH_New(SYMBOL_BLOCK, newx);
    ph->spec.source.kind = SOURCE_DATABASE;
    ph->spec.source.key = key;
    ph->spec.is_symbol = true;
    ph->spec.symbol_color = color;
    ph->spec.edge_kind = EDGE_NONE;  // the photo edge style would frame the symbol in a box
    ph->spec.subset = Get_GWorld_Bounds(art.get());
    ph->dst_center = center;
    Calc_Default_Scaling(ph->spec.subset, ph->spec.scalingh);
    ph->spec.scalingh = std::min<int16_t>(ph->spec.scalingh, SYMBOL_MAX_SCALING);
    ph->spec.scalingv = ph->spec.scalingh;
    Load_Sliders(*ph);
    Photo_Merge(true, newx);
    History_Emit(OP_SYMBOL_NEW);
    return true;
}

bool Stamp_Picture(const a_keyset& key, a_masked_gworld& mw) {
    Null_MW(mw);
    if (!OP_Exists(key)) return false;
    a_locked_pixt art(key);
    const PixMap& view = art.pixmap();
    const bool ok = view.pixelSize == 32 && !Rect_IsEmpty(view.bounds);
    if (ok) {
        mw.bounds = view.bounds;
        New_GWorldF("Stamp_Picture", view.bounds, 32, nullptr, mw.fore);
        New_GWorldF("Stamp_Picture", view.bounds, 8, gray_ctable, mw.mask);
        for (int y = view.bounds.top; y < view.bounds.bottom; ++y) {
            const uint8_t* src = PixMap_Row(view, y);
            uint8_t* colour = PixMap_Row(mw.fore->pix, y);
            uint8_t* cover = PixMap_Row(mw.mask->pix, y);
            for (int x = 0; x < Rect_Width(view.bounds); ++x) {
                const uint8_t* px = src + 4 * x;  // blue, green, red, alpha
                const bool clear = px[3] == 0;
                for (int k = 0; k < 3; ++k) colour[4 * x + k] = clear ? 255 : px[k];
                colour[4 * x + 3] = 0;
                cover[x] = px[3];
            }
        }
    }
    return ok;
}

bool Stamp_New(const a_keyset& key) {
    if (Unit_Full()) {
        Block_Sound(SND_BLOCK_WARNING);
        return false;
    }
    a_masked_gworld mw;
    if (!Stamp_Picture(key, mw)) return false;
    return Photo_Paste(SOURCE_CLIPBOARD, mw);
}

void Photo_Fit_H() { Fit_Single(true, false, false, false); }
void Photo_Fit_V() { Fit_Single(false, true, false, false); }
void Photo_Cover_P() { Fit_Single(true, true, true, false); }
void Photo_Cover_D() { Fit_Single(true, true, true, true); }

int Wrap_Angle(int angle) {
    if (angle < -1800) angle += 3600;
    if (angle > 1800) angle -= 3600;
    return angle;
}

void Photo_Rotate_CW() {
    For_Selected_Pictures(OP_PHOTO_ANGLE,
                          [](a_ph_rec& ph) { ph.spec.angle = int16_t(Wrap_Angle(ph.spec.angle - 900)); });
}

void Photo_Rotate_CCW() {
    For_Selected_Pictures(OP_PHOTO_ANGLE,
                          [](a_ph_rec& ph) { ph.spec.angle = int16_t(Wrap_Angle(ph.spec.angle + 900)); });
}

void Photo_FlipX() { For_Selected_Pictures(OP_PHOTO_FLIP, [](a_ph_rec& ph) { ph.spec.flipx = !ph.spec.flipx; }); }
void Photo_FlipY() { For_Selected_Pictures(OP_PHOTO_FLIP, [](a_ph_rec& ph) { ph.spec.flipy = !ph.spec.flipy; }); }
void Photo_Invert() {
    For_Selected_Pictures(OP_PHOTO_INVERT, [](a_ph_rec& ph) { ph.spec.invert = !ph.spec.invert; });
}

void Photo_Crop2(const Rect& new_crop) {
    int omx = One_Picture();
    if (omx == OMX_NONE) return;
    a_ph_rec& ph = *Curr_PH(omx);
    int ix = 0;
    Rect crop = new_crop;
    if (ph.spec.source.kind != SOURCE_DATABASE && Find_Basis(ph.spec.source.sid, ix))
        crop = Rect_Sect(crop, Cache_Item(ix).c.body.bounds);  // a crop stays on the picture
    if (Rect_IsEmpty(crop)) return;
    Obj_PostRender(omx);
    ph.spec.subset = crop;
    Photo_Recalc(omx);
    History_Emit(OP_PHOTO_CROP);
}

bool Photo_Fix2(int omx, const std::string& path) {
    a_ph_rec* ph = Curr_PH(omx);
    if (!ph) return false;
    a_scan_owner scan;
    if (!Read_BitMap(true, path, scan.get())) return false;
    a_masked_gworld_owner mw;
    if (!Scan_To_MW(scan.get(), mw.get())) return false;
    Obj_PostRender(omx);
    ph->spec.source = a_source_desc{};
    ph->spec.source.kind = SOURCE_EXTFILE;
    ph->spec.source.path.name = path;
    ph->spec.subset = mw->bounds;
    std::memcpy(ph->codec, scan->codec, 4);
    a_masked_gworld picture = mw.release();
    a_raw_bytes* raw = nullptr;
    Cache_Insert_External(ph->spec.source, picture, raw);
    ph->spec.hintx = 0;
    Photo_Merge(false, omx);
    History_Emit(OP_PHOTO_FIXLINK);
    return true;
}

bool Photo_Replace(const std::string& path) {
    int omx = One_Picture();
    return omx != OMX_NONE && Photo_Fix2(omx, path);
}

void Photo_Calc_DstBox(int omx) {
    a_ph_rec* ph = Curr_PH(omx);
    if (!ph) return;
    int w = 0, h = 0, ix = 0;
    if (ph->spec.source.kind != SOURCE_DATABASE && !Find_Basis(ph->spec.source.sid, ix)) {
        // The source has left the cache: keep a box of the scaled crop.
        Point size;
        Apply_Scaling_Pt(ph->spec.scalingh, ph->spec.scalingv,
                         Point{int16_t(Rect_Height(ph->spec.subset)), int16_t(Rect_Width(ph->spec.subset))},
                         size);
        w = size.h;
        h = size.v;
    } else {
        a_spec spec = ph->spec;
        a_cache_result c;
        Cache_Get(FOR_SIZING, spec, c);
        w = Rect_Width(c.union_);
        h = Rect_Height(c.union_);
    }
    const int left = ph->dst_center.h - w / 2, top = ph->dst_center.v - h / 2;
    ph->dst_box = Rect{int16_t(top), int16_t(left), int16_t(top + h), int16_t(left + w)};
}

void Photo_Recalc(int omx) {
    const a_oj_item* it = Curr_Item(omx);
    if (!it) return;
    if (it->kind == PHOTO_BLOCK || it->kind == SYMBOL_BLOCK) {
        Photo_Calc_DstBox(omx);
        Obj_PostRender(omx);
        int one = OMX_NONE;
        if (Is_One_Selected(one) && one == omx) Load_Sliders(*it->ph);
        Obj_Number_Changed();  // the layer bar shows the new thumbnail
    } else {
        Obj_PostRender(omx);
    }
}

void Photo_Merge(bool setf, int newx) {
    Photo_Calc_DstBox(newx);
    Obj_PostRender(newx);
    if (setf) Selection_Set1(newx);
}

void Track_Photo_Scaling(a_track_mode mode, int omx, int part, const a_ph_rec& start, Point cell,
                         bool constrain) {
    a_ph_rec* ph = Curr_PH(omx);
    if (mode == TRACK_INIT || !ph || part < 1 || part > 4) return;
    const Rect& box = start.dst_box;
    const int old_w = Rect_Width(box), old_h = Rect_Height(box);
    if (old_w <= 0 || old_h <= 0) return;
    const Point fixed = Corner_Of(box, Opposite_Corner(part));
    const int new_w = std::max(1, std::abs(cell.h - fixed.h));
    const int new_h = std::max(1, std::abs(cell.v - fixed.v));
    const int maxs = Max_Scaling(Curr_Item(omx)->kind);
    int64_t sh = int64_t(start.spec.scalingh) * new_w / old_w;
    int64_t sv = int64_t(start.spec.scalingv) * new_h / old_h;
    if (constrain) sh = sv = std::max(sh, sv);
    Obj_PostRender(omx);
    ph->spec.scalingh = Clamp_Scaling(sh, maxs);
    ph->spec.scalingv = Clamp_Scaling(sv, maxs);
    ph->dst_center = start.dst_center;
    Photo_Calc_DstBox(omx);
    // The corner opposite the handle stays where it was.
    Point now = Corner_Of(ph->dst_box, Opposite_Corner(part));
    Photo_Set_Center(omx, Point{int16_t(ph->dst_center.v + fixed.v - now.v),
                                int16_t(ph->dst_center.h + fixed.h - now.h)});
    Obj_PostRender(omx);
    Load_Sliders(*ph);
    if (mode == TRACK_STOP)
        History_Emit(Curr_Item(omx)->kind == SYMBOL_BLOCK ? OP_SYMBOL_SIZE : OP_PHOTO_SIZE);
}

bool Is_Photo_Missing(int omx) {
    const a_ph_rec* ph = Curr_PH(omx);
    if (!ph) return false;
    const a_source_desc& s = ph->spec.source;
    if (s.kind == SOURCE_DATABASE) return !OP_Exists(s.key);
    int ix = 0;
    return !Find_Basis(s.sid, ix) || !Cache_Item(ix).c.body.fore;
}

bool Calc_Hilite_PhFix() {
    int omx = OMX_NONE;
    return Is_One_Selected(omx) && Curr_Item(omx)->kind == PHOTO_BLOCK && Is_Photo_Missing(omx);
}
