#include "persist/v3_import.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "model/blocks.h"
#include "model/document.h"
#include "model/ph_blocks.h"
#include "persist/disc_import.h"
#include "persist/disc_read.h"
#include "persist/embedded.h"
#include "pixels/blit.h"
#include "platform/codepage.h"
#include "platform/files.h"
#include "platform/fonts.h"
#include "render/canvas.h"
#include "render/compositor.h"
#include "render/effects_cache.h"
#include "images/photo_blocks.h"
#include "text/text_blocks.h"
#include "text/text_metrics.h"

namespace {

// Old layout bytes to a_text_layout: versions 2 and 3, and version 1.
constexpr uint8_t kLayouts23[8] = {LAYOUT_HORZ,   LAYOUT_CIRC_CW,  LAYOUT_CIRC_CCW,   LAYOUT_90,
                                   LAYOUT_VERT,   LAYOUT_SPIRAL_CW, LAYOUT_SPIRAL_CCW, LAYOUT_270};
constexpr uint8_t kLayouts1[6] = {LAYOUT_HORZ,    LAYOUT_90,       LAYOUT_CIRC_CW,
                                  LAYOUT_CONTOUR, LAYOUT_SPIRAL_CW, LAYOUT_CIRC_CCW};

// Mac Roman 0x80 .. 0xFF.
constexpr char16_t kRomanHigh[128] = {
    0x00C4, 0x00C5, 0x00C7, 0x00C9, 0x00D1, 0x00D6, 0x00DC, 0x00E1, 0x00E0, 0x00E2, 0x00E4, 0x00E3, 0x00E5,
    0x00E7, 0x00E9, 0x00E8, 0x00EA, 0x00EB, 0x00ED, 0x00EC, 0x00EE, 0x00EF, 0x00F1, 0x00F3, 0x00F2, 0x00F4,
    0x00F6, 0x00F5, 0x00FA, 0x00F9, 0x00FB, 0x00FC, 0x2020, 0x00B0, 0x00A2, 0x00A3, 0x00A7, 0x2022, 0x00B6,
    0x00DF, 0x00AE, 0x00A9, 0x2122, 0x00B4, 0x00A8, 0x2260, 0x00C6, 0x00D8, 0x221E, 0x00B1, 0x2264, 0x2265,
    0x00A5, 0x00B5, 0x2202, 0x2211, 0x220F, 0x03C0, 0x222B, 0x00AA, 0x00BA, 0x03A9, 0x00E6, 0x00F8, 0x00BF,
    0x00A1, 0x00AC, 0x221A, 0x0192, 0x2248, 0x2206, 0x00AB, 0x00BB, 0x2026, 0x00A0, 0x00C0, 0x00C3, 0x00D5,
    0x0152, 0x0153, 0x2013, 0x2014, 0x201C, 0x201D, 0x2018, 0x2019, 0x00F7, 0x25CA, 0x00FF, 0x0178, 0x2044,
    0x20AC, 0x2039, 0x203A, 0xFB01, 0xFB02, 0x2021, 0x00B7, 0x201A, 0x201E, 0x2030, 0x00C2, 0x00CA, 0x00C1,
    0x00CB, 0x00C8, 0x00CD, 0x00CE, 0x00CF, 0x00CC, 0x00D3, 0x00D4, 0xF8FF, 0x00D2, 0x00DA, 0x00DB, 0x00D9,
    0x0131, 0x02C6, 0x02DC, 0x00AF, 0x02D8, 0x02D9, 0x02DA, 0x00B8, 0x02DD, 0x02DB, 0x02C7};

char16_t Roman_To_UTF16(uint8_t c) { return c < 0x80 ? char16_t(c) : kRomanHigh[c - 0x80]; }

// v carried linearly from [f0, f1] onto [o0, o1], v first limited to [f0, f1].
double Interp(int v, int f0, int f1, int o0, int o1) {
    v = std::clamp(v, std::min(f0, f1), std::max(f0, f1));
    if (f1 == f0) return o1;
    return o0 + double(v - f0) * (o1 - o0) / (f1 - f0);
}

int16_t Clamped(double v, int lo, int hi) { return int16_t(std::clamp<long>(std::lround(v), lo, hi)); }

// A coordinate carried linearly from [f0, f1] onto [o0, o1], not limited (a
// place outside the old picture stays outside the unit); the end value for
// an empty range.
int16_t Interpolate(int v, int f0, int f1, int o0, int o1) {
    if (f1 == f0) return Clamped(o1, INT16_MIN, INT16_MAX);
    return Clamped(o0 + double(v - f0) * (o1 - o0) / (f1 - f0), INT16_MIN, INT16_MAX);
}

// Height of the unit over the old picture's: sizes in pixels follow it.
double Cells_Ratio(const a_v3_mapping& m) {
    const int from = Rect_Height(m.map_src);
    return from > 0 ? double(Rect_Height(m.map_dst)) / from : 1.0;
}

uint8_t New_Layout(const a_v3_text& t) {
    if (t.version == 1) return t.layout < 6 ? kLayouts1[t.layout] : uint8_t(LAYOUT_HORZ);
    return t.layout < 8 ? kLayouts23[t.layout] : uint8_t(LAYOUT_HORZ);
}

int16_t Normal_Degrees(int deg) {
    deg %= 360;
    if (deg > 180) deg -= 360;
    if (deg < -180) deg += 360;
    return int16_t(deg);
}

void Convert_Effects(const a_v3_text& t, a_om_rec& om) {
    om.outlf = t.outlf;
    om.glowf = t.glowf;
    om.shadf = t.shadf;
    om.glow_radius = Clamped(t.glow_radius, 1, 30);
    om.glow_opacity = Clamped(t.glow_opacity, 6, 100);
    om.glow_color = t.glow_color;
    om.shad_dx = Clamped(t.shad_dx, -100, 100);
    om.shad_dy = Clamped(t.shad_dy, -100, 100);
    om.shad_opacity = Clamped(t.shad_opacity, 10, 100);
    om.shad_radius = Clamped(t.shad_radius, 0, 8);
    om.shad_color = t.shad_color;
    om.outl_radius = Clamped(t.outl_radius, 1, 30);
    om.outl_color = t.outl_color;
}

// The radius as a share of the unit's height, as it was of the old
// picture's, in per cent of half the unit's shorter side.
int16_t Convert_Radius(const a_v3_text& t, const a_v3_mapping& m) {
    const int stored = t.version < 3 ? t.radius / 4 + 10 : t.radius;
    const double px = stored * Cells_Ratio(m);
    const int shorter = std::min(Rect_Width(m.map_dst), Rect_Height(m.map_dst));
    return shorter > 0 ? Clamped(px * 200 / shorter, 20, 180) : int16_t(95);
}

struct a_v3_import_state {
    a_v3_project project;
    std::vector<a_v3_font_map> fonts;
    ~a_v3_import_state() { V3_Dispose(project); }
};

void Add_Text(const a_v3_text& t, const a_v3_mapping& m, const std::vector<a_v3_font_map>& fonts, a_doc_unit& u) {
    Point anchor, center;
    Default_Text_Placement(Doc_Text_Unit(g_doc.upx), anchor, center);
    a_oj_item item;
    item.objid = NextUniqueID();
    item.flags = uint8_t(1u << VISIBLE_FLAG);
    item.kind = TEXT_BLOCK;
    item.om = New_OM_Rec();
    V3_Text_Convert(t, m, Use_Mapping(fonts, t.font), center, *item.om);
    (void)OMast_Append(u.oj, item);  // room was checked
}

// The old photo's picture, found as a missing photo is found: an art key
// names itself, a file is read at its path or beside the old project, a
// picture the file carries goes to the cache. False when it could not be.
bool Load_Source(const a_v3_photo& p, a_v3_project& project, const std::string& path, a_ph_rec& ph) {
    a_source_desc& s = ph.spec.source;
    if (p.source == V3_SOURCE_KEY) {
        s.kind = SOURCE_DATABASE;
        s.key = p.key;
        return true;
    }
    a_masked_gworld mw;
    bool found = false;
    if (p.source == V3_SOURCE_PATH) {
        s.kind = SOURCE_EXTFILE;
        s.path.name = p.path;
        found = Attempt_Repair_Photo(ph, path, mw);
    } else {
        s.kind = SOURCE_CLIPBOARD;
        auto it = project.pictures.find(p.embedded);
        if (it != project.pictures.end() && it->second.fore) {
            mw = it->second;  // the cache takes it
            it->second = a_masked_gworld{};
            found = true;
        }
    }
    if (!found) {
        Cache_Insert_Missing(s, ph.spec.subset);
        return false;
    }
    a_raw_bytes* raw = nullptr;
    Cache_Insert_External(s, mw, raw);
    return true;
}

int Add_Photo(const a_v3_photo& p, const a_v3_mapping& m, a_v3_project& project, const std::string& path) {
    int newx = 0;
    a_ph_rec* ph = PH_New(PHOTO_BLOCK, newx);
    V3_Photo_Convert(p, m, *ph);
    const bool found = Load_Source(p, project, path, *ph);
    Photo_Calc_DstBox(newx);
    return found ? 0 : 1;
}

bool Bit_Set(const PixMap& pm, int x, int y) {
    const int i = x - pm.bounds.left;
    return PixMap_Row(pm, y)[i >> 3] & (0x80 >> (i & 7));
}

// An old map as one of `depth` (32 for the picture, 8 for the coverage) on
// its own bounds: a 1-bit picture is black where set on white, a 1-bit
// coverage full where set, an 8-bit picture grey. Null for other depths.
a_pixmap_owner Old_To_Depth(const PixMap& old, int depth) {
    a_pixmap_owner out;
    const int from = old.pixelSize;
    if (!(from == depth || from == 1 || (from == 8 && depth == 32))) return out;
    if (!New_PixMap_Try(*out, old.bounds, depth, depth == 8 ? gray_ctable : nullptr)) return out;
    for (int y = old.bounds.top; y < old.bounds.bottom; ++y) {
        uint8_t* row = PixMap_Row(*out, y);
        const uint8_t* src = PixMap_Row(old, y);
        if (from == depth) {
            std::memcpy(row, src, size_t(PixMap_RowBytes(old)));
            continue;
        }
        for (int x = old.bounds.left; x < old.bounds.right; ++x) {
            const int i = x - old.bounds.left;
            const uint8_t level = from == 8 ? src[i] : Bit_Set(old, x, y) == (depth == 8) ? 255 : 0;
            if (depth == 8) {
                row[i] = level;
            } else {
                std::memset(row + i * 4, level, 3);
                row[i * 4 + 3] = 0;
            }
        }
    }
    return out;
}

// The old paint scaled onto the unit's paint area and laid over its paint.
bool Add_Paint(const a_v3_project& p, const a_v3_mapping& m, a_doc_unit& u) {
    if (Is_Null_PixMap(p.layr)) return true;
    a_pixmap_owner pic = Old_To_Depth(p.layr, 32), cov;
    if (!Is_Null_PixMap(p.mask)) cov = Old_To_Depth(p.mask, 8);
    if (Is_Null_PixMap(*pic) || Is_Null_PixMap(*cov) || Rect_IsEmpty(m.map_dst)) return false;
    a_pixmap_owner world = Make_PixMap(m.map_dst, 32, nullptr), mask = Make_PixMap(m.map_dst, 8, gray_ctable);
    Bicubic_Blt(*pic, *world, pic->bounds, m.map_dst);
    Bicubic_Blt(*cov, *mask, cov->bounds, m.map_dst);
    Merge_Paint_Layer(*world, *mask, u);
    return true;
}

// The old canvas, when the unit's shape has a picture of it; plain white
// leaves the unit's canvas as it is.
void Add_Canvas(const a_v3_canvas& old, a_doc_unit& u, uint8_t kind) {
    a_canvas_spec cv;
    Init_CV(cv);
    cv.canvas_key = a_keyset{2, UNIT_TO_CANV_PREFIX(kind), old.key.c, old.key.d};
    cv.canvas_nrot = uint16_t(((old.nrot % 4) + 4) % 4);
    cv.canvas_darkness = Clamped(old.darkness, 0, 95);
    cv.canvas_flipx = old.flipx;
    cv.canvas_flipy = old.flipy;
    cv.canvas_invert = old.invert;
    a_keyset full;
    if (Is_No_Canvas(cv) || !Find_Full_Canvas(full, cv.canvas_key)) return;
    u.canv.cv = cv;
}

int Blocks_Of(const a_v3_project& p) { return int(p.texts.size() + p.photos.size()); }

}  // namespace

void Apply_Mapping(const Rect& map_src, const Rect& map_dst, Point old, Point& out) {
    out.v = Interpolate(old.v, map_src.top, map_src.bottom, map_dst.top, map_dst.bottom);
    out.h = Interpolate(old.h, map_src.left, map_src.right, map_dst.left, map_dst.right);
}

a_v3_mapping V3_Mapping_For(int kind, uint32_t ux) {
    a_v3_mapping m;
    const Point size = V3_Kind_Size(kind);
    m.map_src = Rect{0, 0, size.v, size.h};
    if (ux < 1 || ux > g_doc.doc_template.nunits || !g_doc.doc_units[ux]) return m;
    m.map_dst = g_doc.doc_units[ux]->paintbounds;
    const a_frect& box = g_doc.doc_template.Unit(ux).bbox;
    m.unit_points = (double(box.bottom) - box.top) * 72.0 / 25.4;
    return m;
}

void Font_Table_Read(const std::vector<a_v3_font>& fonts, bool& missf, std::vector<a_v3_font_map>& mapping) {
    mapping.clear();
    for (const a_v3_font& f : fonts) {
        const int found = Font_Find(Utf8_To_Utf16(f.name));
        if (found <= 0) missf = true;
        mapping.push_back({f.old_number, found > 0 ? uint32_t(found) : 1u});
    }
}

uint32_t Use_Mapping(const std::vector<a_v3_font_map>& mapping, int16_t old) {
    for (const a_v3_font_map& e : mapping)
        if (e.old_number == old) return e.fontx;
    return 1;
}

std::u16string V3_OM_To_Str(const std::vector<uint8_t>& chars) {
    std::u16string out;
    for (uint8_t c : chars) {
        if (c == CHAR_EOS || out.size() >= size_t(MAX_TEXT_CHARS)) break;
        if (c == 0 || c == CHAR_LINEFEED) continue;
        out.push_back(Roman_To_UTF16(c));
        if (c == CHAR_HARDBREAK && out.size() < size_t(MAX_TEXT_CHARS)) out.push_back(CHAR_LINEFEED);
    }
    return out;
}

void V3_Text_Convert(const a_v3_text& t, const a_v3_mapping& m, uint32_t fontx, Point center, a_om_rec& om) {
    Point anchor = t.anchor;
    if (t.version < 3) anchor = Point{int16_t(anchor.v / 4), int16_t(anchor.h / 4)};
    Apply_Mapping(m.map_src, m.map_dst, anchor, om.anchor);
    om.rotcenter = center;
    om.fontx = fontx;
    om.layout = New_Layout(t);
    const int src_height = Rect_Height(m.map_src);
    const double points = SliderToPoints(t.size_index);
    om.size = Clamp_Text_Size(int(std::lround(src_height > 0 ? points / src_height * m.unit_points : points)),
                              om.layout);
    om.boldf = t.boldf;
    om.italf = t.italf;
    if (t.has_effects) Convert_Effects(t, om);
    om.base_color = t.base_color;
    om.justify = t.justify;
    const int angle = t.line_angle / 10;
    om.polarangle = Normal_Degrees(om.layout == LAYOUT_CIRC_CW ? -angle : angle);
    om.lineangle = om.layout == LAYOUT_HORZ ? Clamped(t.line_angle, -1800, 1800)
                   : om.layout == LAYOUT_90 ? int16_t(900)
                   : om.layout == LAYOUT_270 ? int16_t(2700) : int16_t(0);
    om.radius = Convert_Radius(t, m);
    const std::u16string text = V3_OM_To_Str(t.chars);
    UniStr_To_OM(om, text.c_str());
}

void V3_Photo_Convert(const a_v3_photo& p, const a_v3_mapping& m, a_ph_rec& ph) {
    Null_Spec(ph.spec);
    a_spec& s = ph.spec;
    // Sizes keep their share of the picture's height, as text sizes do.
    const double cells = Cells_Ratio(m);
    s.scalingh = Clamped(Interp(p.scaleh, 5, 600, 50, 6000) * cells, PHOTO_MIN_SCALING, PHOTO_MAX_SCALING);
    s.scalingv = Clamped(Interp(p.scalev, 5, 600, 50, 6000) * cells, PHOTO_MIN_SCALING, PHOTO_MAX_SCALING);
    s.angle = Clamped(Interp(p.angle, -180, 180, -1800, 1800), -1800, 1800);
    s.darkness = Clamped(Interp(p.darkness, 0, 100, 5, 95), 5, 95);
    s.color_sat = Clamped(Interp(p.sat, 0, 100, 0, 100), 0, 100);
    s.color_hue = Clamped(Interp(p.hue, 0, 359, 0, 359), 0, 359);
    if (p.version >= 2) {
        s.opacity = Clamped(Interp(p.opacity, 0, 100, 6, 100), 6, 100);
        s.corner = Clamped(Interp(p.corner, 0, 100, 0, 100), 0, 100);
    }
    if (p.version >= 3) s.feather = Clamped(Interp(p.feather, 0, 20, 0, 40), 0, 40);
    s.flipx = p.flipx;
    s.flipy = p.flipy;
    s.invert = p.invert && p.version >= 2;
    s.wtransp = p.wtransp && p.version >= 3;
    s.subset = Rect_IsEmpty(p.crop) || p.crop.top < 0 || p.crop.left < 0 ? Rect{} : p.crop;
    Apply_Mapping(m.map_src, m.map_dst, p.center, ph.dst_center);
    Point tl, br;
    Apply_Mapping(m.map_src, m.map_dst, Point{p.box.top, p.box.left}, tl);
    Apply_Mapping(m.map_src, m.map_dst, Point{p.box.bottom, p.box.right}, br);
    ph.dst_box = Rect{tl.v, tl.h, br.v, br.h};
}

bool Read_V3_Into(std::vector<uint8_t>& bytes, const std::string& path) {
    Disc_Report_Clear();
    a_disc_report& report = Disc_Report_Edit();
    if (!g_doc.doc_open || !g_doc.up) {
        Disc_Report_Note("no unit is open to import into");
        return false;
    }
    a_v3_import_state st;
    if (!Read_V3_Bytes(bytes, st.project, report.defects)) return false;
    a_doc_unit& u = *g_doc.up;
    if (u.oj.nlist + Blocks_Of(st.project) > MAXNOBJECTS) {
        Disc_Report_Note("the unit would hold more than " + std::to_string(MAXNOBJECTS) + " blocks: nothing imported");
        Add_Defect(report.defects, DEFECT_V3);
        return false;
    }
    bool missf = false;
    Font_Table_Read(st.project.fonts, missf, st.fonts);
    if (missf) Add_Defect(report.defects, DEFECT_FONT_NOTAVAIL);
    const a_v3_mapping m = V3_Mapping_For(st.project.canvas.kind, g_doc.upx);
    const uint8_t kind = g_doc.doc_template.Unit(g_doc.upx).kind;
    Add_Canvas(st.project.canvas, u, kind);
    if (!Add_Paint(st.project, m, u)) Disc_Report_Note("the paint of the project has no mask this program reads: left out");
    for (const a_v3_text& t : st.project.texts) Add_Text(t, m, st.fonts, u);
    for (const a_v3_photo& p : st.project.photos) report.missing_pictures += Add_Photo(p, m, st.project, path);
    report.text_blocks = uint32_t(st.project.texts.size());
    if (report.missing_pictures > 0)
        Disc_Report_Note(std::to_string(report.missing_pictures) +
                         " picture(s) of the project could not be found: they show as missing");
    if (missf) Disc_Report_Note("a font of the project is not installed: font 1 stands in");
    Unit_PostRender(u);
    return true;
}

bool Read_V3(const std::string& path) {
    std::vector<uint8_t> bytes;
    if (File_Read_Limited(path, DISC_MAX_BYTES, bytes) != a_file_read::OK) {
        Disc_Report_Clear();
        Add_Defect(Disc_Report_Edit().defects, DEFECT_FILE_OPEN);
        return false;
    }
    return Read_V3_Into(bytes, path);
}
