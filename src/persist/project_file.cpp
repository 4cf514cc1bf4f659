#include "persist/project_file.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <iterator>
#include <string>
#include <memory>
#include <vector>

#include "base/prefs.h"
#include "images/pack.h"
#include "persist/chunk_stream.h"
#include "platform/fonts.h"
#include "templates/layout_text.h"
#include "templates/user_catalogue.h"
#include "pixels/blit.h"

namespace {

constexpr int16_t kTemplateVersion = 3;
constexpr int16_t kUnitHeaderVersion = 5;
constexpr int16_t kDirectVersion = 1;
constexpr size_t kMediaLabelBytes = 128;
constexpr int16_t kFontTableVersion = 1;
constexpr size_t kFontNameUnits = 128;
constexpr int32_t kFontEntryBytes = 4 + 2 * int32_t(kFontNameUnits);
// kind, uflags, viewangle, bbox, bleed, meas
constexpr int32_t kUnitSpecBytes = 1 + 4 + 2 + 16 + 16 + 16;
// version, two reserved fields, label, tflags, paper, nunits
constexpr int32_t kTemplateHeadBytes = 2 + 2 + 4 + 32 + 4 + 4 + 4 + 4;
constexpr float kMinPaper = 50.0f;
constexpr float kMaxPaper = 1000.0f;
constexpr float kMaxUnitMeasure = 10000.0f;  // mm: ten times the largest sheet
// A sheet's layout text is under 2 KB; more is not ours.
constexpr int32_t kMaxSheetTextBytes = 16 * 1024;
// The largest paint area a unit may claim: a letter page at 600 dpi, with room.
constexpr int64_t kMaxPaintPixels = 40'000'000;

// The index of the first non-zero value of row[0 .. w - 1]; w when none.
// Blank rows are most of a mask: they are passed eight bytes at a time.
int First_Set(const uint8_t* row, int w) {
    int x = 0;
    for (uint64_t v = 0; x + 8 <= w; x += 8) {
        std::memcpy(&v, row + x, 8);
        if (v) break;
    }
    while (x < w && !row[x]) ++x;
    return x;
}

// The bounding box of the non-zero values of an 8-bit map; empty when none.
Rect Painted_Bounds(const PixMap& mask) {
    const int w = Rect_Width(mask.bounds);
    int left = w, right = 0, top = INT16_MAX, bottom = INT16_MIN;
    for (int y = mask.bounds.top; y < mask.bounds.bottom; ++y) {
        const uint8_t* row = PixMap_Row(mask, y);
        int first = First_Set(row, w);
        if (first == w) continue;
        int end = w;
        while (!row[end - 1]) --end;  // stops at `first` at the latest
        left = std::min(left, first);
        right = std::max(right, end);
        top = std::min(top, y);
        bottom = std::max(bottom, y + 1);
    }
    if (left >= right) return Rect{};
    return Rect{int16_t(top), int16_t(mask.bounds.left + left), int16_t(bottom),
                int16_t(mask.bounds.left + right)};
}

// The stored pixels of one chunk into `into` at their places; nothing for a
// missing chunk or one of another depth.
void Read_Stored_Pixels(PixMap& into, uint32_t ux, const char label[4]) {
    if (Chunk_ReadPixInto(into, int32_t(ux), label)) return;  // the usual case: no map between
    PixMap stored;
    Rect subset;
    Chunk_ReadPix(stored, int32_t(ux), label, &subset);
    a_pixmap_owner owned(stored);
    if (Is_Null_PixMap(*owned) || owned->pixelSize != into.pixelSize) return;
    Rect r = Rect_Sect(subset, into.bounds);
    if (!Rect_IsEmpty(r)) Pix_To_Pix(*owned, into, r, r, srcCopy, nullptr);
}

bool Paper_In_Range(float v) { return v >= kMinPaper && v <= kMaxPaper; }  // false for NaN

}  // namespace

bool Read_V4_Preamble(const std::vector<uint8_t>& file, a_defect_set& defects) {
    if (file.size() < size_t(DISC_PREAMBLE_BYTES)) {
        Add_Defect(defects, DEFECT_FILE_VERSION);
        return false;
    }
    uint16_t signature = uint16_t(file[0] << 8 | file[1]);
    uint16_t version = uint16_t(file[2] << 8 | file[3]);
    if (signature != DISC_SIGNATURE) {
        Add_Defect(defects, DEFECT_FILE_SIGNATURE);
        return false;
    }
    if (version != DISC_VERSION) {
        Add_Defect(defects, DEFECT_FILE_VERSION);
        return false;
    }
    return true;
}

void Write_V4_Preamble() {
    Chunk_WriteCard16(DISC_SIGNATURE);
    Chunk_WriteCard16(DISC_VERSION);
}

void Write_UnitSpec(const a_unit& u) {
    Chunk_WriteRaw(1, &u.kind);
    Chunk_WriteCard32(u.uflags);
    Chunk_WriteInt16(u.viewangle);
    Chunk_WriteFRect(u.bbox);
    Chunk_WriteFRect(u.bleed);
    for (float m : u.meas) Chunk_WriteReal(m);
}

namespace {

// Every measure a number, and the unit's box not empty and on a sheet's
// scale: a box of NaN or of no size cannot be drawn or printed.
bool Unit_Geometry_Sound(const a_unit& u) {
    const a_frect& b = u.bbox;
    const float all[] = {b.left, b.top, b.right, b.bottom, u.bleed.left, u.bleed.top, u.bleed.right,
                         u.bleed.bottom, u.meas[0], u.meas[1], u.meas[2], u.meas[3]};
    for (float v : all)
        if (!std::isfinite(v) || std::fabs(v) > kMaxUnitMeasure) return false;
    return b.right > b.left && b.bottom > b.top;
}

}  // namespace

void Read_UnitSpec(a_unit& u) {
    Chunk_ReadRaw(1, &u.kind);
    Chunk_ReadCard32(u.uflags);
    Chunk_ReadInt16(u.viewangle);
    Chunk_ReadFRect(u.bbox);
    Chunk_ReadFRect(u.bleed);
    for (float& m : u.meas) Chunk_ReadReal(m);
}

void Write_Template(const a_template& t) {
    Chunk_WriteStart(1, "TMPL");
    Chunk_WriteInt16(kTemplateVersion);
    Chunk_WriteInt16(0);
    Chunk_WriteCard32(0);
    Chunk_WriteRaw(sizeof t.label, t.label);
    Chunk_WriteCard32(t.tflags);
    Chunk_WriteReal(t.papersize.x);
    Chunk_WriteReal(t.papersize.y);
    Chunk_WriteCard32(t.nunits);
    for (uint32_t ux = 1; ux <= t.nunits; ++ux) Write_UnitSpec(t.units[ux]);
    Chunk_WriteStop();
}

void Read_Template(a_template& t, a_defect_set& defects) {
    if (!Chunk_Find(1, "TMPL")) return Add_Defect(defects, DEFECT_TMPL_MISSING);
    if (g_chunk.len < kTemplateHeadBytes) return Add_Defect(defects, DEFECT_TMPL_VERSION);
    int16_t version = 0, reserved16 = 0;
    uint32_t reserved32 = 0, nunits = 0;
    Chunk_ReadInt16(version);
    Chunk_ReadInt16(reserved16);
    Chunk_ReadCard32(reserved32);
    auto x = std::make_unique<a_template>();
    Chunk_ReadRaw(sizeof x->label, x->label);
    Chunk_ReadCard32(x->tflags);
    Chunk_ReadReal(x->papersize.x);
    Chunk_ReadReal(x->papersize.y);
    Chunk_ReadCard32(nunits);
    if (version != kTemplateVersion || !Paper_In_Range(x->papersize.x) ||
        !Paper_In_Range(x->papersize.y) || nunits == 0 || nunits > MAXNUNITS ||
        int64_t(nunits) * kUnitSpecBytes > g_chunk.len - kTemplateHeadBytes)
        return Add_Defect(defects, DEFECT_TMPL_VERSION);
    x->nunits = nunits;
    for (uint32_t ux = 1; ux <= nunits; ++ux) {
        Read_UnitSpec(x->units[ux]);
        if (x->units[ux].kind >= NUNIT_KINDS || !Unit_Geometry_Sound(x->units[ux]))
            return Add_Defect(defects, DEFECT_TMPL_VERSION);
    }
    x->label[sizeof x->label - 1] = '\0';  // a label is text: never unterminated
    t = *x;
}

void Write_Sheet_Text(const a_template& t) {
    const a_ctemplate* sheet = Own_Sheet_Record(t.label);
    if (!sheet) return;
    std::string text = Layout_Write(*sheet, false);
    Chunk_WriteStart(1, "LAYT");
    Chunk_WriteRaw(text.size(), text.data());
    Chunk_WriteStop();
}

void Read_Sheet_Text(const a_template& t, a_ctemplate& sheet, bool& found, a_defect_set& defects) {
    found = false;
    if (!Chunk_Find(1, "LAYT")) return;
    if (g_chunk.len > kMaxSheetTextBytes) return Add_Defect(defects, DEFECT_TMPL_VERSION);
    std::string text(size_t(g_chunk.len), '\0');
    Chunk_ReadRaw(text.size(), text.data());
    std::vector<a_ctemplate> records;
    a_layout_error err;
    if (!Layout_Parse(text, records, err) || records.size() != 1 ||
        std::memcmp(records[0].label, t.label, sizeof t.label) != 0 || !User_Record_Fault(records[0]).empty())
        return Add_Defect(defects, DEFECT_TMPL_VERSION);
    sheet = records[0];
    found = true;
}

void Write_UnitHeader(const a_doc_unit& u, uint32_t ux) {
    const a_canvas_spec& cv = u.canv.cv;
    Chunk_WriteStart(int32_t(ux), "UNIT");
    Chunk_WriteInt16(kUnitHeaderVersion);
    Chunk_WriteRect(Pack_Unit_Bounds(u));
    Chunk_WriteBoolean(u.clonef);
    Chunk_WriteBoolean(u.printf);
    Chunk_WriteCard32(u.groupx);
    Chunk_WritePoint(u.symmetry_center);
    Chunk_WritePoint(u.ruler_origin);
    Chunk_WritePoint(u.edit_focus);
    Chunk_WriteKey(cv.canvas_key);
    Chunk_WriteCard16(cv.canvas_nrot);
    for (int16_t v : {cv.canvas_angle, cv.canvas_darkness, cv.canvas_scaling, cv.canvas_fuzz_in,
                      cv.canvas_fuzz_out, cv.canvas_color_sat, cv.canvas_color_hue,
                      cv.canvas_color_dist})
        Chunk_WriteInt16(v);
    Chunk_WriteBoolean(cv.canvas_flipx);
    Chunk_WriteBoolean(cv.canvas_flipy);
    Chunk_WriteBoolean(cv.canvas_invert);
    Chunk_WriteCard16(DISC_SENTINEL);
    Chunk_WriteStop();
}

void Read_UnitHeader(a_doc_unit& u, uint32_t ux, a_defect_set& defects) {
    if (!Chunk_Find(int32_t(ux), "UNIT")) return Add_Defect(defects, DEFECT_UHDR_MISSING);
    int16_t version = 0;
    Chunk_ReadInt16(version);
    if (version != kUnitHeaderVersion) return Add_Defect(defects, DEFECT_UHDR_VERSION);
    a_canvas_spec& cv = u.canv.cv;
    Chunk_ReadRect(u.paintbounds);
    Chunk_ReadBoolean(u.clonef);
    Chunk_ReadBoolean(u.printf);
    Chunk_ReadCard32(u.groupx);
    Chunk_ReadPoint(u.symmetry_center);
    Chunk_ReadPoint(u.ruler_origin);
    Chunk_ReadPoint(u.edit_focus);
    Chunk_ReadKey(cv.canvas_key);
    Chunk_ReadCard16(cv.canvas_nrot);
    for (int16_t* v : {&cv.canvas_angle, &cv.canvas_darkness, &cv.canvas_scaling,
                       &cv.canvas_fuzz_in, &cv.canvas_fuzz_out, &cv.canvas_color_sat,
                       &cv.canvas_color_hue, &cv.canvas_color_dist})
        Chunk_ReadInt16(*v);
    Chunk_ReadBoolean(cv.canvas_flipx);
    Chunk_ReadBoolean(cv.canvas_flipy);
    Chunk_ReadBoolean(cv.canvas_invert);
    uint16_t sentinel = 0;
    Chunk_ReadCard16(sentinel);
    if (sentinel != DISC_SENTINEL) return Add_Defect(defects, DEFECT_CHECKSUM);
    const Rect& b = u.paintbounds;
    int64_t w = Rect_Width(b), h = Rect_Height(b);
    // The paint world is made on these bounds: they must be a size a world can have.
    if ((ux == 1 && u.clonef) || u.groupx > MAXNUNITS || w < 0 || h < 0 || w * h > kMaxPaintPixels ||
        !PixMap_Fits(b, 32))
        Add_Defect(defects, DEFECT_UHDR_VERSION);
}

void Write_Media_Specs() {
    a_direct_print_kind kind = Calc_Direct_Print_Kind();
    if (kind == NOT_DIRECT) return;
    a_print_media_spec spec;
    Media_Spec_Get(kind, g_doc.doc_mediax, false, spec);
    Chunk_WriteStart(1, "DIRE");
    Chunk_WriteInt16(kDirectVersion);
    Chunk_WriteUString(kMediaLabelBytes, spec.label);
    Chunk_WriteInt16(spec.nudge.h);  // h before v
    Chunk_WriteInt16(spec.nudge.v);
    for (int16_t a : spec.adj) Chunk_WriteInt16(a);
    Chunk_WriteStop();
}

void Read_Media_Specs() {
    a_direct_print_kind kind = Calc_Direct_Print_Kind();
    int16_t version = 0;
    if (kind == NOT_DIRECT || !Chunk_Find(1, "DIRE")) return;
    Chunk_ReadInt16(version);
    if (version != kDirectVersion) return;
    a_print_media_spec stored;
    Chunk_ReadUString(kMediaLabelBytes, stored.label);
    stored.label[std::size(stored.label) - 1] = 0;
    Chunk_ReadInt16(stored.nudge.h);
    Chunk_ReadInt16(stored.nudge.v);
    for (int16_t& a : stored.adj) Chunk_ReadInt16(a);
    for (int16_t i = 0; i < NMEDIA_ENTRIES; ++i) {
        a_print_media_spec entry;
        Media_Spec_Get(kind, i, false, entry);
        if (std::char_traits<char16_t>::compare(entry.label, stored.label, 63) == 0) {
            g_doc.doc_mediax = i;
            return;
        }
    }
    Media_Spec_Set(kind, NMEDIA_ENTRIES - 1, false, stored);
    g_doc.doc_mediax = NMEDIA_ENTRIES - 1;
}

void Write_Paint_Layer(const a_doc_unit& u, uint32_t ux) {
    const a_cached_gworld& layer = u.static_[PAINT1_LAYER];
    if (!u.paintinuse || !layer.world || !layer.mask) return;
    Rect painted = Painted_Bounds(layer.mask->pix);
    Chunk_WriteWorld(painted, layer.world, int32_t(ux), "PAI1");
    Chunk_WriteWorld(painted, layer.mask, int32_t(ux), "MSK1");
}

void Read_Paint_Layer(a_doc_unit& u, uint32_t ux) {
    // A unit without a paint area can hold no paint, whatever the file says.
    u.paintinuse = !Rect_IsEmpty(u.paintbounds) && Chunk_Find(int32_t(ux), "PAI1");
    Sync_Existence(PAINT1_LAYER, u, u.paintinuse);
    if (!u.paintinuse) return;
    a_cached_gworld& layer = u.static_[PAINT1_LAYER];
    Read_Stored_Pixels(layer.world->pix, ux, "PAI1");
    Read_Stored_Pixels(layer.mask->pix, ux, "MSK1");
}

bool Is_Wrong_Endian_UString(const char16_t* name) {
    for (int i = 0; i < 3; ++i)
        if ((name[i] & 0xFF) != 0 || (name[i] >> 8) == 0) return false;
    return true;
}

void Swap_Endian_UString(char16_t* name, size_t units) {
    for (size_t i = 0; i < units; ++i) name[i] = char16_t((name[i] << 8) | (name[i] >> 8));
}

void Write_Font_Table(const std::vector<uint32_t>& fontxs) {
    uint32_t n = uint32_t(std::min<size_t>(fontxs.size(), MAX_FONT_TABLE));
    Chunk_WriteStart(1, "FONT");
    Chunk_WriteInt16(kFontTableVersion);
    Chunk_WriteCard32(n);
    for (uint32_t i = 0; i < n; ++i) {
        char16_t name[kFontNameUnits] = {};
        Font_Name(int(fontxs[i])).copy(name, kFontNameUnits - 1);
        Chunk_WriteCard32(fontxs[i]);
        Chunk_WriteUString(sizeof name, name);
    }
    Chunk_WriteStop();
}

void Read_Font_Table(std::vector<a_font_map_entry>& table, a_defect_set& defects) {
    table.clear();
    if (!Chunk_Find(1, "FONT")) return Add_Defect(defects, DEFECT_FONTTABLE_MISSING);
    int16_t version = 0;
    uint32_t n = 0;
    Chunk_ReadInt16(version);
    Chunk_ReadCard32(n);
    if (version != kFontTableVersion || n > MAX_FONT_TABLE ||
        int64_t(n) * kFontEntryBytes > int64_t(g_chunk.len) - 6)
        return Add_Defect(defects, DEFECT_FONTTABLE_VERSION);
    for (uint32_t i = 0; i < n; ++i) {
        a_font_map_entry e;
        char16_t name[kFontNameUnits] = {};
        Chunk_ReadCard32(e.stored_fontx);
        Chunk_ReadUString(sizeof name, name);
        if (Is_Wrong_Endian_UString(name)) Swap_Endian_UString(name, kFontNameUnits);
        name[kFontNameUnits - 1] = 0;
        e.name = name;
        e.new_fontx = uint32_t(Font_Find(e.name));
        if (e.new_fontx == 0) Add_Defect(defects, DEFECT_FONT_NOTAVAIL);
        table.push_back(std::move(e));
    }
}

uint32_t Find_In_Mapping_Table(const std::vector<a_font_map_entry>& table, uint32_t fontx) {
    for (const a_font_map_entry& e : table)
        if (e.stored_fontx == fontx) return e.new_fontx != 0 ? e.new_fontx : 1;
    return uint32_t(Font_Base_Proportional());
}
