// Writes the seed corpus of one fuzz target, `seeds NAME DIR`, with the
// program's own writers (and the tests' image fixtures for the formats the
// program only reads), so that nothing binary is kept in the source tree and
// the seeds follow the formats as they change.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <filesystem>
#include <string>
#include <vector>

#include "art/mini_gen.h"
#include "art_encode.h"
#include "base/messages.h"
#include "base/prefs.h"
#include "base/string_ids.h"
#include "image_fixtures.h"
#include "images/image_files.h"
#include "pixels/gworld.h"
#include "platform/app.h"
#include "platform/codepage.h"
#include "platform/files.h"
#include "persist/chunk_stream.h"
#include "persist/disc_write.h"
#include "persist/project_file.h"
#include "persist/text_chunks.h"
#include "model/photo_rec.h"
#include "platform/image_codec.h"
#include "render/effects_cache.h"
#include "platform/fonts.h"
#include "pixels/syspix.h"
#include "templates/expand.h"
#include "model/document.h"
#include "templates/catalogue.h"
#include "templates/layout_text.h"

namespace {

std::string g_dir;
bool g_ok = true;

void Put(const std::string& name, const void* data, size_t size) {
    std::string error;
    if (!File_SaveAtomic(g_dir + "/" + name, data, size, &error)) {
        std::fprintf(stderr, "seeds: %s\n", error.c_str());
        g_ok = false;
    }
}
void Put(const std::string& name, const std::vector<uint8_t>& b) { Put(name, b.data(), b.size()); }
void Put(const std::string& name, const std::string& s) { Put(name, s.data(), s.size()); }

// The test generator's database (every record kind and compression), and
// each of its items alone.
void Artdb_Seeds() {
    std::vector<a_art_item> items;
    Art_Generate_Mini(items);
    std::string error;
    std::vector<uint8_t> file;
    for (size_t i = 0; i <= items.size(); ++i) {
        std::vector<a_art_item> some = i < items.size() ? std::vector<a_art_item>{items[i]} : items;
        if (!Art_Compile(some, file, error)) {
            std::fprintf(stderr, "seeds: %s\n", error.c_str());
            g_ok = false;
            return;
        }
        Put("seed" + std::to_string(i) + ".ART4", file);
    }
}

// Catalogue records of every shape, one per file and a run of them in one
// file, plus the designer's form of one.
void Layout_Seeds() {
    a_ctemplate t;
    std::string run;
    for (int i = 1; i <= Catalogue_Count(); i += 61) {
        Get_CTemplate(t, i);
        Put("record" + std::to_string(i) + ".layout", Layout_Write(t, false));
        if (run.size() < 4000) run += Layout_Write(t, false);
    }
    Put("records.layout", run);
    Put("designer.layout", Layout_Write(t, true));
}

// Whole records: the defaults, one with every list filled, and one whose
// fields are out of range for the reader to mend.
void Prefs_Seeds() {
    std::vector<uint8_t> bytes(PREFS_FILE_SIZE);
    Prefs_SetToDefault();
    Prefs_To_Bytes(g_pref, bytes.data());
    Put("defaults.prefs", bytes);
    a_pref_rec full = g_pref;
    for (int i = 0; i < MAX_RECENT_DOCS; ++i)
        std::snprintf(full.recent[i].doc_path, sizeof full.recent[i].doc_path, "/home/u/Disc %d.CD4", i);
    for (int i = 0; i < MAX_LAYOUTUSAGE; ++i) {
        full.recentlay[i].count = uint32_t(i + 1);
        std::snprintf(full.recentlay[i].label, sizeof full.recentlay[i].label, "Ace %d series", i);
        full.recentlay[i].tx = uint32_t(i * 7);
    }
    for (auto& m : full.print_media) m.listx = 2;
    std::snprintf(full.addon_folder, sizeof full.addon_folder, "Add-ons");
    Prefs_To_Bytes(full, bytes.data());
    Put("full.prefs", bytes);
    a_pref_rec odd = full;
    for (auto& m : odd.print_media) {
        m.listx = 9;
        for (auto& e : m.list) std::fill(std::begin(e.label), std::end(e.label), u'x');
    }
    std::fill(std::begin(odd.addon_folder), std::end(odd.addon_folder), 'y');
    std::fill(std::begin(odd.base_font), std::end(odd.base_font), u'z');
    odd.language_offset = 99;
    odd.tot_window = Rect{-5, 9000, -30000, 4};
    Prefs_To_Bytes(odd, bytes.data());
    Put("odd.prefs", bytes);
}

// The interface strings of the languages we have as UTF-8, and the same text as
// 8-bit bytes the way older files hold it.
void Codepage_Seeds() {
    for (int lang : {int(LANG_ENGLISH), int(LANG_GERMAN)}) {
        std::string text;
        for (int i = 1; i <= 40; ++i) {
            std::string s;
            Get_Lang_String(i, ALERT_STR_ID, lang, s);
            text += s + "\n";
        }
        Put(std::string(kLanguageCodes[lang]) + ".txt", text);
    }
    std::u16string latin = u"Caf\u00E9 \u00BD \u00FC\u00DF \u20AC 10 \u201Cquoted\u201D";
    Put("utf8.txt", Utf16_To_Utf8(latin));
    std::string narrow;
    for (char16_t c : latin) narrow += char(c < 0x100 ? c : 0x80);
    Put("cp1252.txt", narrow);
}

// A small smooth picture with a soft alpha edge for the codec writers.
a_gworld_ptr Seed_World() {
    a_gworld_ptr w = Make_GWorld(32, Rect{0, 0, 5, 7});
    for (int y = 0; y < 5; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(PixMap_Row(w->pix, y));
        for (int x = 0; x < 7; ++x)
            row[x] = uint32_t(x * 40) << 24 | uint32_t(x * 30) << 16 | uint32_t(y * 50) << 8 | 90;
    }
    return w;
}

std::vector<uint8_t> Palette_Pixels(int w, int h, int colours) {
    std::vector<uint8_t> px;
    for (int i = 0; i < w * h; ++i) px.push_back(uint8_t((i * 7 + i / w) % colours));
    return px;
}

void Image_Own_Seeds() {
    a_iff_spec ilbm;
    ilbm.w = 21, ilbm.h = 3, ilbm.planes = 5, ilbm.packed = true, ilbm.odd_chunk = true;
    ilbm.pixels = Palette_Pixels(21, 3, 32);
    for (int k = 0; k < 32; ++k) ilbm.cmap.insert(ilbm.cmap.end(), {uint8_t(k), uint8_t(255 - k), 9});
    Put("ilbm_packed.iff", Make_IFF(ilbm));
    a_iff_spec masked = ilbm;
    masked.packed = false, masked.odd_chunk = false;
    masked.mask.assign(size_t(21 * 3), 1);
    masked.mask[3] = 0;
    Put("ilbm_mask.iff", Make_IFF(masked));
    a_iff_spec ham = ilbm;
    ham.planes = 6, ham.camg = 0x800, ham.packed = false;
    ham.pixels = Palette_Pixels(21, 3, 64);
    Put("ilbm_ham6.iff", Make_IFF(ham));
    a_iff_spec pbm = ilbm;
    pbm.planes = 8, pbm.pbm = true;
    Put("pbm_packed.iff", Make_IFF(pbm));

    a_bmp_spec rle;
    rle.w = 6, rle.h = 3, rle.bpp = 8, rle.compression = 1;
    for (uint32_t k = 0; k < 256; ++k) rle.palette.push_back(k << 16 | (k * 2 % 256) << 8 | 7);
    rle.rle = {3, 9, 0, 3, 1, 2, 4, 0, 0, 0, 0, 2, 2, 1, 2, 7, 0, 1};
    Put("bmp8_rle.bmp", Make_BMP(rle));
    a_bmp_spec rle4 = rle;
    rle4.w = 5, rle4.h = 1, rle4.bpp = 4, rle4.compression = 2;
    rle4.palette.resize(16);
    rle4.rle = {3, 0x12, 0, 3, 0xAB, 0xC0, 0, 1};
    Put("bmp4_rle.bmp", Make_BMP(rle4));
    a_bmp_spec core;
    core.w = 5, core.h = 2, core.bpp = 1, core.header = 12, core.palette = {0x000000, 0xFFFFFF};
    core.pixels = {0, 1, 1, 0, 1, 1, 0, 0, 1, 0};
    Put("bmp1_core.bmp", Make_BMP(core));
    a_bmp_spec clip;
    clip.w = 4, clip.h = 3, clip.bpp = 32, clip.file = false, clip.header = 124;
    clip.alpha = true, clip.top_down = true;
    for (int i = 0; i < 12; ++i) clip.pixels.push_back(uint32_t(i * 20) << 24 | uint32_t(i) * 0x0A0B0C);
    Put("clip_v5_alpha.dib", Make_BMP(clip));

    a_psd_spec psd;
    psd.w = 9, psd.h = 4, psd.dpi = 300;
    for (int c = 0; c < 4; ++c) psd.channels.push_back(Palette_Pixels(9, 4, 200 + c));
    psd.merged_alpha = true, psd.rle = true;
    Put("psd_alpha_rle.psd", Make_PSD(psd));
    a_psd_spec grey = psd;
    grey.mode = 1, grey.merged_alpha = false, grey.channels.resize(1);
    Put("psd_grey_rle.psd", Make_PSD(grey));
    a_psd_spec indexed = grey;
    indexed.mode = 2, indexed.rle = false;
    indexed.colour_data.assign(768, 7);
    Put("psd_indexed.psd", Make_PSD(indexed));
}

// Everything the import path reads: our own readers' formats, each codec
// writer's output, pictures turned by their orientation tag, and an indexed
// GIF with a transparent colour (whitened).
void Image_Seeds() {
    Image_Own_Seeds();
    a_gworld_ptr w = Seed_World();
    std::vector<uint32_t> rgb;
    for (int i = 0; i < 12; ++i) rgb.push_back(uint32_t(i) * 0x151B21);
    Put("turned6.tif", Make_TIFF(4, 3, rgb, 6, true));
    const std::pair<a_file_format, const char*> formats[] = {
        {FMT_BMP, "export.bmp"}, {FMT_JPEG, "export.jpg"}, {FMT_TIFF, "export.tif"},
        {FMT_PSD, "export.psd"}, {FMT_PNG, "export.png"}, {FMT_PICT, "export.pict"}};
    for (const auto& [format, name] : formats) {
        std::vector<uint8_t> bytes;
        if (Export_World_Bytes(format, 150, w.get(), bytes) != 0) {
            std::fprintf(stderr, "seeds: no %s\n", name);
            g_ok = false;
        }
        Put(name, bytes);
        if (format == FMT_PNG) Put("turned8.png", Png_With_Exif(bytes, Exif_Block(8)));
    }
    std::vector<uint32_t> palette;
    for (uint32_t k = 0; k < 256; ++k) palette.push_back(k * 0x010203u & 0xFFFFFF);
    Put("transparent.gif", Make_GIF(6, 4, Palette_Pixels(6, 4, 5), palette, 2));
}

// The records of a project written so far: a sheet of two discs with its
// font table and unit headers, the first unit painted, and a preview.
// Appends a picture block of `source` to unit 1.
void Add_Picture_Block(a_doc_unit& u, uint8_t kind, a_source_desc source) {
    a_oj_item it;
    it.objid = NextUniqueID();
    it.kind = kind;
    it.ph = New_PH_Rec();
    it.ph->spec.source = source;
    it.ph->spec.subset = Rect{0, 0, 6, 8};
    if (!OMast_Append(u.oj, it)) g_ok = false;
}

// The whole writer over unit 1 given a photo with its file's bytes, a pasted
// picture shown twice, a symbol and a text block.
std::vector<uint8_t> Whole_Project(a_doc_unit& u) {
    Cache_Init();
    std::vector<uint8_t> px(8 * 6 * 4, 0x80), jpeg;
    if (!Codec_Encode(px.data(), 8, 6, 32, "jpeg", 80, 72, jpeg)) g_ok = false;
    a_source_desc file{0, SOURCE_EXTFILE, {}, {0, 0, "/nonexistent/photo.jpg"}};
    a_masked_gworld mw;
    New_MW("seed", Rect{0, 0, 6, 8}, mw);
    auto* raw = new a_raw_bytes(jpeg);
    Cache_Insert_External(file, mw, raw);
    Add_Picture_Block(u, PHOTO_BLOCK, file);
    std::memcpy(u.oj.list[u.oj.nlist].ph->codec, "JPEG", 4);
    a_source_desc pasted{0, SOURCE_CLIPBOARD, {}, {}};
    New_MW("seed", Rect{0, 0, 4, 4}, mw);
    a_raw_bytes* none = nullptr;
    Cache_Insert_External(pasted, mw, none);
    Add_Picture_Block(u, PHOTO_BLOCK, pasted);
    Add_Picture_Block(u, PHOTO_BLOCK, pasted);
    Add_Picture_Block(u, SYMBOL_BLOCK, a_source_desc{0, SOURCE_DATABASE, {1, 2, 3, 4}, {}});
    a_oj_item text;
    text.objid = NextUniqueID();
    text.kind = TEXT_BLOCK;
    text.om = New_OM_Rec();
    a_text_chunk_rec rec = Default_Text_Record();
    rec.fontx = uint32_t(std::max(1, Font_Base_Proportional()));
    rec.chars.insert(rec.chars.begin(), a_text_char{u'A', rec.fontx});
    Text_Record_Keep(text.objid, rec);
    if (!OMast_Append(u.oj, text)) g_ok = false;
    std::vector<uint8_t> out;
    if (Write_DISC_Bytes(out) != 0) g_ok = false;
    Doc_Dispose();
    Cache_Stop();
    return out;
}

void Project_Seeds() {
    Build_Template_List();
    auto t = std::make_unique<a_template>();
    Expand_Template(TList_Get(std::max(1, Find_Template(std::string("A-ONE 29125")))), *t);
    Doc_New(*t);
    // Small paint areas keep each run of the target quick.
    for (uint32_t ux = 1; ux <= t->nunits; ++ux)
        g_doc.doc_units[ux]->paintbounds = Rect{0, 0, 48, 64};
    a_doc_unit& u = *g_doc.doc_units[1];
    u.paintinuse = true;
    Sync_Existence(PAINT1_LAYER, u, true);
    Rect stroke{int16_t(u.paintbounds.top + 10), int16_t(u.paintbounds.left + 10),
                int16_t(u.paintbounds.top + 14), int16_t(u.paintbounds.left + 30)};
    PixMap32_Fill(u.static_[PAINT1_LAYER].world->pix, stroke, 0x00AA3311);
    PixMap8_Fill(u.static_[PAINT1_LAYER].mask->pix, stroke, 255);
    std::vector<uint8_t> file;
    Chunk_Init(DISC_PREAMBLE_BYTES, file);
    Write_V4_Preamble();
    Write_Template(*t);
    Write_Font_Table({1, uint32_t(std::max(1, Font_Count()))});
    for (uint32_t ux = 1; ux <= t->nunits; ++ux) {
        Write_UnitHeader(*g_doc.doc_units[ux], ux);
        Write_Paint_Layer(*g_doc.doc_units[ux], ux);
    }
    a_pixmap_owner prev = Make_PixMap(Rect{0, 0, 19, 14}, 32, nullptr);
    Chunk_WritePix(prev->bounds, *prev, 1, "PREV");
    Chunk_Stop();
    Put("two_discs.cd4", file);
    Put("whole.cd4", Whole_Project(u));
    Doc_Dispose();
    Put("preamble_only.cd4", std::vector<uint8_t>(file.begin(), file.begin() + DISC_PREAMBLE_BYTES));
}

}  // namespace

int main(int argc, char** argv) {
    const std::pair<std::string, void (*)()> kinds[] = {
        {"artdb", Artdb_Seeds},       {"layout", Layout_Seeds},    {"prefs", Prefs_Seeds},
        {"codepage", Codepage_Seeds}, {"imagefiles", Image_Seeds},  {"project", Project_Seeds},
    };
    if (argc != 3) return 2;
    g_dir = argv[2];
    std::filesystem::create_directories(g_dir);
    if (!Platform_Init(true)) return 1;
    bool known = false;
    for (const auto& [name, write] : kinds)
        if (name == argv[1]) known = true, write();
    Platform_Stop();
    if (!known) std::fprintf(stderr, "seeds: no target '%s'\n", argv[1]);
    return known && g_ok ? 0 : 1;
}
