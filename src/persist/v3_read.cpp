#include "persist/v3_read.h"

#include <algorithm>

#include "persist/chunk_stream.h"
#include "persist/disc_read.h"
#include "platform/files.h"

namespace {

constexpr int16_t kKindWidth[V3_NKINDS] = {640, 640, 640, 810, 640, 1280, 640, 594, 1194,
                                           1280, 584, 810, 810, 1280, 810, 800, 571};
constexpr int16_t kKindHeight[V3_NKINDS] = {640, 640, 504, 640, 640, 640, 453, 640, 640,
                                            870, 870, 495, 376, 167, 484, 571, 800};
constexpr int16_t kPoints[V3_NSIZES] = {9,  10, 11, 12, 14, 16,  18,  20,  22,  24,  26,  29,
                                        32, 36, 40, 44, 48, 53,  59,  64,  72,  86,  94,  104,
                                        114, 126, 138, 152, 167, 184, 202, 245, 269, 296, 326, 358};
// The shortest records: a version-1/2 text without characters, a version-1
// photo with a key; a count is checked against them before anything is read.
constexpr size_t kMinTextBytes = 52;
constexpr size_t kMinPhotoBytes = 1 + 2 + 6 * 2 + 2 + 8 + 4 + 8;
constexpr int32_t kMaxRecords = 400;  // a unit's blocks
// All embedded pictures together: four as large as printing uses (268 MB).
constexpr int64_t kMaxPicturePixels = int64_t(4) * 4095 * 4096;

// The payload left in the chunk found last.
size_t Chunk_Left() { return g_chunk.pos <= g_chunk.end ? g_chunk.end - g_chunk.pos : 0; }
// No read ran past the file, nor past the chunk into the next one.
bool Read_Whole() { return g_chunk.err == 0 && g_chunk.pos <= g_chunk.end; }

bool Fail(a_defect_set& defects, a_defect d) {
    Add_Defect(defects, d);
    return false;
}

void Read_Color(a_win_pixel32& c) {
    uint8_t rgb[3] = {};
    Chunk_ReadRaw(3, rgb);
    c = a_win_pixel32{rgb[2], rgb[1], rgb[0], 0};
}

void Read_Bools(bool* out, int n) {
    for (int i = 0; i < n; ++i) Chunk_ReadBoolean(out[i]);
}

void Skip(size_t n) {
    uint8_t scratch[16];
    while (n > 0) {
        const size_t k = std::min(n, sizeof scratch);
        Chunk_ReadRaw(k, scratch);
        n -= k;
    }
}

bool Read_Canvas(a_v3_canvas& cv, a_defect_set& defects) {
    if (!Chunk_Find(1, "CANV")) return Fail(defects, DEFECT_UNIT_MISSING);
    int16_t version = 0;
    Chunk_ReadInt16(version);
    if (version != V3_CANV_VERSION) return Fail(defects, DEFECT_UNIT_VERSION);
    Chunk_ReadKey(cv.key);
    bool flags[3] = {};
    Read_Bools(flags, 3);
    cv.flipx = flags[0];
    cv.flipy = flags[1];
    cv.invert = flags[2];
    Chunk_ReadInt16(cv.nrot);
    Chunk_ReadRaw(1, &cv.kind);
    if (!Read_Whole()) return Fail(defects, DEFECT_UNIT_VERSION);
    if (cv.kind >= V3_NKINDS) return Fail(defects, DEFECT_UNIT_VERSION);
    if (Chunk_Left() >= 2) Chunk_ReadInt16(cv.darkness);  // older writers left it out
    return true;
}

bool Read_Fonts(std::vector<a_v3_font>& fonts, a_defect_set& defects) {
    if (!Chunk_Find(1, "FONT")) return Fail(defects, DEFECT_FONTTABLE_MISSING);
    int16_t version = 0, n = 0;
    Chunk_ReadInt16(version);
    if (version != V3_FONT_VERSION) return Fail(defects, DEFECT_FONTTABLE_VERSION);
    Chunk_ReadInt16(n);
    // Each entry takes at least its number and a length byte.
    if (!Read_Whole() || n < 0 || size_t(n) * 3 > Chunk_Left()) return Fail(defects, DEFECT_FONTTABLE_VERSION);
    for (int i = 0; i < n; ++i) {
        a_v3_font& f = fonts.emplace_back();
        Chunk_ReadInt16(f.old_number);
        Chunk_ReadPString(f.name);
    }
    return Read_Whole() || Fail(defects, DEFECT_FONTTABLE_VERSION);
}

// Versions 1 and 2 have two style flags and no glow, shadow or outline.
void Read_Text_Styles(a_v3_text& t) {
    if (t.version < 3) {
        bool flags[2] = {};
        Read_Bools(flags, 2);
        t.boldf = flags[0];
        t.italf = flags[1];
        return;
    }
    bool flags[6] = {};
    Read_Bools(flags, 6);
    t.boldf = flags[0];
    t.italf = flags[1];
    t.outlf = flags[2];
    t.glowf = flags[3];
    t.shadf = flags[4];
    t.has_effects = true;
    int16_t third = 0;
    Chunk_ReadInt16(t.glow_radius);
    Chunk_ReadInt16(t.glow_opacity);
    Chunk_ReadInt16(third);
    Read_Color(t.glow_color);
    Chunk_ReadInt16(t.shad_dx);
    Chunk_ReadInt16(t.shad_dy);
    Chunk_ReadInt16(t.shad_opacity);
    Chunk_ReadInt16(t.shad_radius);
    Read_Color(t.shad_color);
    Chunk_ReadInt16(t.outl_radius);
    Read_Color(t.outl_color);
}

// The characters up to the end mark; the rest of each record is read past.
void Read_Chars(a_v3_text& t, int n) {
    for (int i = 0; i < n; ++i) {
        uint8_t rec[V3_CHAR_BYTES] = {};
        Chunk_ReadRaw(V3_CHAR_BYTES, rec);
        t.chars.push_back(rec[0]);
        if (rec[1] != 0) t.chars.push_back(rec[1]);
    }
}

bool Layout_Known(const a_v3_text& t) { return t.layout < (t.version == 1 ? 6 : 8); }

bool Read_Text(a_v3_text& t, a_defect_set& defects) {
    Chunk_ReadPoint(t.anchor);
    Chunk_ReadInt16(t.font);
    Chunk_ReadInt16(t.size_index);
    Read_Text_Styles(t);
    Skip(2);  // field 11
    Chunk_ReadRaw(1, &t.layout);
    Chunk_ReadRaw(1, &t.justify);
    int16_t first = 0, fifth = 0;
    Chunk_ReadInt16(first);
    Chunk_ReadInt16(t.line_spacing);
    Chunk_ReadInt16(t.radius);
    Chunk_ReadInt16(t.line_angle);
    Chunk_ReadInt16(fifth);
    if (t.version < 3) Skip(2);
    int16_t n = 0;
    Chunk_ReadInt16(n);
    Skip(2);  // field 16
    Read_Color(t.base_color);
    Skip(5 * 2 + 8 + 1);  // fields 18 to 20
    if (!Read_Whole()) return Fail(defects, DEFECT_CHECKSUM);
    if (n < 0 || n > V3_MAX_CHARS || size_t(n) * V3_CHAR_BYTES > Chunk_Left() || t.justify > 2)
        return Fail(defects, DEFECT_CHECKSUM);
    if (!Layout_Known(t)) return Fail(defects, DEFECT_V3);
    Read_Chars(t, n);
    return Read_Whole() || Fail(defects, DEFECT_CHECKSUM);
}

// The version and count heading "TEXT" and "PHOT"; false when the version
// is not 1 to 3 or the chunk cannot hold the count.
bool Read_Head(int16_t& version, int16_t& n, size_t min_record, a_defect_set& defects) {
    Chunk_ReadInt16(version);
    Chunk_ReadInt16(n);
    if (!Read_Whole() || version < 1 || version > 3) return Fail(defects, DEFECT_V3);
    if (n < 0 || n > kMaxRecords || size_t(n) * min_record > Chunk_Left()) return Fail(defects, DEFECT_CHECKSUM);
    return true;
}

bool Read_Texts(std::vector<a_v3_text>& texts, a_defect_set& defects) {
    if (!Chunk_Find(1, "TEXT")) return Fail(defects, DEFECT_V3);
    int16_t version = 0, n = 0;
    if (!Read_Head(version, n, kMinTextBytes, defects)) return false;
    for (int i = 0; i < n; ++i) {
        a_v3_text& t = texts.emplace_back();
        t.version = version;
        if (!Read_Text(t, defects)) return false;
    }
    return true;
}

bool Read_Photo_Source(a_v3_photo& p, a_defect_set& defects) {
    Chunk_ReadRaw(1, &p.source);
    switch (p.source) {
        case V3_SOURCE_KEY: Chunk_ReadKey(p.key); return true;
        case V3_SOURCE_PATH: {
            a_filespec spec;
            Chunk_ReadPath(spec);
            p.path = spec.name;
            return true;
        }
        case V3_SOURCE_EMBEDDED: Chunk_ReadInt16(p.embedded); return true;
        default: return Fail(defects, DEFECT_V3);
    }
}

bool Read_Photo(a_v3_photo& p, a_defect_set& defects) {
    if (!Read_Photo_Source(p, defects)) return false;
    int16_t* values[] = {&p.scaleh, &p.scalev, &p.angle,   &p.darkness, &p.sat,
                         &p.hue,    &p.opacity, &p.corner, &p.feather};
    bool* flags[] = {&p.flipx, &p.flipy, &p.invert, &p.wtransp};
    const int nvalues = p.version == 1 ? 6 : p.version == 2 ? 8 : 9;
    for (int i = 0; i < nvalues; ++i) Chunk_ReadInt16(*values[i]);
    for (int i = 0; i < p.version + 1; ++i) Chunk_ReadBoolean(*flags[i]);
    Chunk_ReadRect(p.crop);
    Chunk_ReadPoint(p.center);
    Chunk_ReadRect(p.box);
    return Read_Whole() || Fail(defects, DEFECT_CHECKSUM);
}

bool Read_Photos(std::vector<a_v3_photo>& photos, a_defect_set& defects) {
    if (!Chunk_Find(1, "PHOT")) return true;  // a project without photos
    int16_t version = 0, n = 0;
    if (!Read_Head(version, n, kMinPhotoBytes, defects)) return false;
    for (int i = 0; i < n; ++i) {
        a_v3_photo& p = photos.emplace_back();
        p.version = version;
        if (!Read_Photo(p, defects)) return false;
    }
    return true;
}

// Pixels of the stored bounds of picture `n`; 0 when there is none.
int64_t Picture_Pixels(int16_t n) {
    if (!Chunk_Find(n, "PICT") || Chunk_Left() < 12) return 0;
    int16_t version = 0, compression = 0;
    Rect bounds;
    Chunk_ReadInt16(version);
    Chunk_ReadInt16(compression);
    Chunk_ReadRect(bounds);
    return Rect_IsEmpty(bounds) ? 0 : int64_t(Rect_Width(bounds)) * Rect_Height(bounds);
}

// The pictures the photos name, each once; one that is missing or damaged
// stays out (the photo shows as missing), and so do those past what all of
// them may take together: a picture's bounds may be far larger than the
// pixels it stores.
void Read_Pictures(a_v3_project& p) {
    int64_t budget = kMaxPicturePixels;
    for (const a_v3_photo& ph : p.photos) {
        if (ph.source != V3_SOURCE_EMBEDDED || p.pictures.count(ph.embedded)) continue;
        a_masked_gworld mw;
        const int64_t pixels = Picture_Pixels(ph.embedded);
        if (pixels <= budget) {
            budget -= pixels;
            Chunk_ReadMW(mw, ph.embedded, "PMSK", "PICT");
        }
        p.pictures[ph.embedded] = mw;
    }
}

void Read_Paint(a_v3_project& p) {
    Chunk_ReadPix(p.layr, 1, "LAYR");
    Chunk_ReadPix(p.mask, 1, "MASK");
}

}  // namespace

Point V3_Kind_Size(int kind) {
    kind = std::clamp(kind, 0, V3_NKINDS - 1);
    return Point{kKindHeight[kind], kKindWidth[kind]};
}

int SliderToPoints(int index) { return kPoints[std::clamp(index, 0, V3_NSIZES - 1)]; }

void V3_Dispose(a_v3_project& p) {
    Dispose_PixMap(p.layr);
    Dispose_PixMap(p.mask);
    for (auto& [n, mw] : p.pictures) Dispose_MW(mw);
    p = a_v3_project{};
}

bool Read_V3_Preamble(const std::vector<uint8_t>& file, a_defect_set& defects) {
    if (file.size() < size_t(DISC_PREAMBLE_BYTES)) return Fail(defects, DEFECT_FILE_VERSION);
    if ((file[0] << 8 | file[1]) != DISC_SIGNATURE) return Fail(defects, DEFECT_FILE_SIGNATURE);
    if ((file[2] << 8 | file[3]) != V3_FILE_VERSION) return Fail(defects, DEFECT_FILE_VERSION);
    return true;
}

bool Is_V3_Bytes(const std::vector<uint8_t>& file) {
    a_defect_set d = 0;
    return Read_V3_Preamble(file, d);
}

bool Is_V3_File(const std::string& path) {
    std::vector<uint8_t> bytes;
    return File_Read_Limited(path, DISC_MAX_BYTES, bytes) == a_file_read::OK && Is_V3_Bytes(bytes);
}

bool Read_V3_Bytes(std::vector<uint8_t>& file, a_v3_project& out, a_defect_set& defects) {
    V3_Dispose(out);
    if (!Read_V3_Preamble(file, defects)) return false;
    Chunk_Init(DISC_PREAMBLE_BYTES, file);
    bool ok = Read_Canvas(out.canvas, defects);
    if (ok) Read_Paint(out);
    ok = ok && Read_Fonts(out.fonts, defects) && Read_Texts(out.texts, defects) &&
         Read_Photos(out.photos, defects);
    if (ok) Read_Pictures(out);
    Chunk_Stop();
    if (!ok) V3_Dispose(out);
    return ok;
}
