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
#include "images/photo_scrap.h"
#include "text/text_blocks.h"
#include "text/text_scrap.h"
#include "pixels/gworld.h"
#include "platform/app.h"
#include "platform/codepage.h"
#include "platform/files.h"
#include "persist/chunk_stream.h"
#include "persist/disc_write.h"
#include "persist/project_file.h"
#include "project_fixtures.h"
#include "v7_fixtures.h"
#include "model/text_rec.h"
#include "model/photo_rec.h"
#include "platform/image_codec.h"
#include "render/effects_cache.h"
#include "platform/fonts.h"
#include "pixels/syspix.h"
#include "templates/expand.h"
#include "model/document.h"
#include "model/snapshot.h"
#include "undo_doc.h"
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

// DiscPainter driver bytes: the record at the start, inside, and absent.
void Monet_Seeds() {
    std::string rec(68, '\0');
    std::memcpy(rec.data(), "DYMO", 4);
    Put("start.bin", rec);
    Put("inside.bin", std::string(20, 'x') + rec + std::string(8, '\0'));
    Put("short.bin", rec.substr(0, 40));
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
    text.om->fontx = uint32_t(std::max(1, Font_Base_Proportional()));
    text.om->layout = LAYOUT_CIRC_CW;
    text.om->glowf = true;
    text.om->xyl[2] = text.om->xyl[1];
    Set_XYL_Defaults(text.om->xyl[1]);
    text.om->xyl[1].cc_char = u'A';
    text.om->xyl[1].cc_boldf = true;
    text.om->nxyl = 2;
    if (!OMast_Append(u.oj, text)) g_ok = false;
    std::vector<uint8_t> out;
    if (Write_DISC_Bytes(out) != 0) g_ok = false;
    Doc_Dispose();
    Cache_Stop();
    return out;
}

// A project on a sheet of the user's own, which carries the sheet's layout
// text beside its template.
std::vector<uint8_t> Own_Sheet_Project() {
    const std::string text =
        "{ \"MINE__~~~~~~\", \"Mine 2-up\", BOTH, a_template_flag_set { IS_PITCHBETWEEN }, { 210, 297 }, 1, "
        "{{ UNIT_CD, a_unit_flag_set { }, 1, 2, 46, 20, 118, 118, 0, 20, 0, 0, 0, 0, 41, 0, 0, 0 }, "
        "EMPTY_UNIT, EMPTY_UNIT, EMPTY_UNIT, EMPTY_UNIT, EMPTY_UNIT }},";
    std::vector<a_ctemplate> records;
    a_layout_error err;
    if (!Layout_Parse(text, records, err)) std::abort();
    auto t = std::make_unique<a_template>();
    Expand_Template(records[0], *t);
    Doc_New(*t);
    for (uint32_t ux = 1; ux <= t->nunits; ++ux) g_doc.doc_units[ux]->paintbounds = Rect{0, 0, 48, 64};
    std::vector<uint8_t> file;
    Chunk_Init(DISC_PREAMBLE_BYTES, file);
    Write_V4_Preamble();
    Write_Template(*t);
    const std::string sheet = Layout_Write(records[0], false);
    Chunk_WriteStart(1, "LAYT");
    Chunk_WriteRaw(sheet.size(), sheet.data());
    Chunk_WriteStop();
    Write_Font_Table({1});
    for (uint32_t ux = 1; ux <= t->nunits; ++ux) Write_UnitHeader(*g_doc.doc_units[ux], ux);
    Chunk_Stop();
    Doc_Dispose();
    return file;
}

// The records of a project written so far: a sheet of two discs with its
// font table and unit headers, the first unit painted, and a preview.
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
    Put("own_sheet.cd4", Own_Sheet_Project());
    // The kept fixtures of the tests: each older form and each damage.
    Cache_Init();
    for (const a_project_fixture& f : Project_Fixtures()) Put("fixture_" + f.name, f.bytes);
    Cache_Stop();
}

// One seed per layout: a header of settings and a short text with a break,
// a surrogate pair and an override bit pattern.
void Textlayout_Seeds() {
    const std::u16string text = u"Summer Holiday\r2026 \U0001F600 \u0105x";
    for (uint8_t layout = 0; layout < 10; ++layout) {
        std::vector<uint8_t> b(32, 0);
        b[0] = layout;
        b[1] = layout % 3;
        b[2] = 1;
        b[4] = 23;  // size
        const auto* p = reinterpret_cast<const uint8_t*>(text.data());
        b.insert(b.end(), p, p + text.size() * 2);
        Put("layout" + std::to_string(layout) + ".bin", b);
    }
}

// Effect settings within the sliders, then a few characters: plain, a
// surrogate pair, one no font has and a space. The bytes follow the order
// fuzz_textrender reads them in; a value is 16 bits and a byte of 255 (in range).
void Text_Render_Seeds() {
    for (int k = 0; k < 3; ++k) {
        std::vector<uint8_t> b;
        auto u8 = [&b](int v) { b.push_back(uint8_t(v)); };
        auto val = [&](int v) { u8(v & 0xFF), u8(v >> 8 & 0xFF), u8(255); };
        auto color = [&](int r, int g, int bl) { u8(bl), u8(g), u8(r), u8(0); };
        color(250, 250, 255), val(100 - 40 * k), u8(k != 1);     // letters, outline flag
        color(20, 30, 120), val(2 + k), u8(k != 2);              // outline, glow flag
        color(255, 200, 40), val(8), val(90), u8(1);             // glow, shadow flag
        color(0, 0, 0), val(4 + k), val(4), val(75), val(1 + k);  // shadow
        u8(6 + 2 * k), u8(0), val(200), val(300);                 // scale, bbox
        const char16_t chars[][2] = {{u'A', 0}, {u'g', 0}, {0xD83D, 0xDE00}, {0xE000, 0}, {u' ', 0}, {u'7', 0}};
        u8(6);
        int x = 10;
        for (const auto& c : chars) {
            u8(c[0]), u8(c[0] >> 8), u8(c[1]), u8(c[1] >> 8), u8(c[1] ? 1 : 0), u8(k);
            val(30), u8(k == 1), u8(k == 2), val(x), val(100), u8(0x84), u8(k * 3), val(30), u8(1);
            x += 40;
        }
        Put("look" + std::to_string(k) + ".bin", b);
    }
}

// Small track lists of each kind; the first byte picks the reader.
void Tracks_Seeds() {
    const std::pair<char, std::string> lists[] = {
        {0, "<?xml version=\"1.0\"?><plist><dict><key>Tracks</key><dict><key>1</key><dict>"
            "<key>Track ID</key><integer>1</integer><key>Name</key><string>A &amp; B</string>"
            "<key>Total Time</key><integer>185000</integer><key>Art</key><data>AAEC</data>"
            "<key>List</key><array><dict/></array></dict></dict><key>Playlists</key><array><dict>"
            "<key>Playlist Items</key><array><dict><key>Track ID</key><integer>1</integer></dict>"
            "</array></dict></array></dict></plist>\n"},
        {1, "Name|Artist|Time|Size\r\nOne|A|185|4400000\r\n||59|200\r\n"},
        {1, "Name\tArtist\tTotal Time\nCaf\xC3\xA9\tB\t1000\n"},
        {1, std::string("\xFF\xFEN\0a\0\t\0A\0\t\0T\0\r\0\n\0x\0\t\0y\0\t\0\x33\0\r\0\n\0", 32)},
        {2, "PERFORMER \"Band\"\nTITLE \"Album\"\nFILE \"a.wav\" WAVE\n  TRACK 01 AUDIO\n    TITLE \"One\"\n"
            "    INDEX 01 00:00:00\n  TRACK 02 AUDIO\n    INDEX 01 03:05:00\n"},
        {3, "#EXTM3U\n#EXTINF:185,Band - Song\nmusic/a.mp3\nfile:///x/b%20c.flac\n"},
        {4, "<?xml version=\"1.0\"?><playlist xmlns=\"http://xspf.org/ns/0/\"><trackList><track>"
            "<location>a.ogg</location><title>T</title><duration>1000</duration></track></trackList></playlist>"},
        {5, "<?wpl version=\"1.0\"?><smil><body><seq><media src=\"..\\Music\\a.mp3\"/>"
            "<media src='C:\\b&amp;c.mp3' tid=\"{1}\"/></seq></body></smil>"},
        {6, std::string("ID3\x03\0\0\0\0\0\x15TIT2\0\0\0\x0b\0\0\0Long Night", 31) +
                std::string("\xff\xfb\x90\0", 4) + std::string(413, '\0') + "TAG" + std::string(125, 'x')},
    };
    int n = 0;
    for (const auto& [kind, text] : lists) Put("list" + std::to_string(n++), std::string(1, kind) + text);
}

void Design_Seeds() {
    auto text = [](const std::string& s) { return std::vector<uint8_t>(s.begin(), s.end()); };
    Put("disc.json", text(R"({
  "template": "A-ONE 29125",
  "units": [
    {"unit": 1, "canvas": {"key": "2.0.1.1", "hue": 200, "dist": 40, "fuzz_out": 3},
     "blocks": [
       {"photo": "sunset.jpg", "center": [600, 400], "spec": {"scaling": 800, "angle": 150, "shadow": true}},
       {"symbol": "11.0.4.1", "color": "#C02040", "center": [600, 900], "hidden": true,
        "spec": {"opacity": 70, "edge": "border"}}
     ]}
  ]
})"));
    Put("bad_field.json", text("{\n  \"template\": \"A-ONE 29125\",\n  \"units\": [{\"blocks\": [{\"photo\": 3}]}]\n}\n"));
    Put("text_block.json", text(R"({"template": "A-ONE 29125", "units": [{"blocks": [{"text": "Side A", "layout": "circ-cw"}]}]})"));
    Put("text_fields.json", text(R"({"template": "A-ONE 29125", "units": [{"blocks": [
  {"text": "Summer\nHoliday", "layout": "contour", "font": "DejaVu Sans", "size": 20,
   "fields": {"glowf": true, "glow_color": "#FFC040", "shadf": true, "shad_dx": -6, "justify": 1,
              "rotcenter": [600, 600], "anchor": [300, 600]}},
  {"text": "Side A", "layout": "spoke", "hidden": true, "fields": {"spoke_totangle": 180}}]}]})"));
    Put("collage.json", text(R"({"template": "A-ONE 29125", "units": [{"collage": {"kind": "ring2",
  "clock_nouter": 8, "clock_ninner": 5, "clock_spacing": 10, "upright": true,
  "photos": ["a.jpg", {"photo": "b.jpg", "turn": -450, "size": 1500}]}}]})"));
    Put("collage_bad.json", text("{\"template\": \"A-ONE 29125\", \"units\": [{\"collage\": {\"kind\": \"grid\",\n"
                                 "\"grid_nx\": 1, \"grid_ny\": 1, \"photos\": [\"a.jpg\", \"b.jpg\"]}}]}"));
    Put("text_bad_field.json", text("{\"template\": \"A-ONE 29125\", \"units\": [{\"blocks\": [\n"
                                    "{\"text\": \"A\", \"fields\": {\"radius\": 400, \"glow\": 1}}]}]}"));
    Put("paint.json", text(R"({"template": "A-ONE 29125", "units": [{"paint": [
  {"tool": "bucket", "points": [[600, 600]], "gradient": {"kind": "radar", "colors": ["#102040", "#F0C020"], "twist": 1200}},
  {"tool": "brush", "points": [[600, 300], [640, 250], [700, 260]], "color": "#FF0000", "size": 20,
   "symmetry": {"count": 6, "mirror": true}, "symmetry_center": [600, 600]},
  {"tool": "solid-polygon", "points": [[100, 100], [200, 120], [150, 220]], "opacity": 50},
  {"tool": "rect", "points": [[300, 300], [400, 380]], "corner": 40, "thickness": 9, "shift": true},
  {"tool": "eraser", "eraser": 10, "points": [[550, 550], [650, 650]]},
  {"tool": "spray", "points": [[900, 900]], "spray_radius": 40, "spray_spread": 3, "spray_method": 1}]}]})"));
    Put("paint_select.json", text(R"({"template": "A-ONE 29125", "units": [{"paint": [
  {"tool": "solid-rect", "points": [[100, 100], [300, 250]], "color": "#3060C0"},
  {"tool": "select", "marquee": "oval", "points": [[100, 100], [300, 250]], "move": [400, 350], "copy": true},
  {"tool": "select", "points": [[90, 90], [200, 200]], "move": [-1200, 1100], "shift": true},
  {"tool": "select", "marquee": "lasso", "points": [[500, 450], [700, 450], [600, 600], [0, 0]], "delete": true}]}]})"));
    Put("paint_select_bad.json", text("{\"template\": \"A-ONE 29125\", \"units\": [{\"paint\": [\n"
                                      "{\"tool\": \"select\", \"points\": [[1, 1], [9, 9]], \"copy\": true}]}]}"));
    Put("paint_art.json", text(R"({"template": "A-ONE 29125", "units": [{"paint": [
  {"tool": "bucket", "points": [[600, 600]], "pattern": "10.0.1.1"},
  {"tool": "stamp", "stamp": "8.0.1.1", "points": [[400, 300], [520, 330], [640, 300]], "stamp_size": 19,
   "stamp_angle": -45, "stamp_spacing": 5, "stamp_bend": [-50, 50], "stamp_skew": [100, -100], "stamp_stretch": 50,
   "stamp_darkness": 5, "stamp_colorshift": -128, "symmetry": {"count": 30, "mirror": true}},
  {"tool": "rect", "border": "7.1.0.0", "points": [[200, 200], [210, 1100]]},
  {"tool": "spray", "spray_method": 2, "stamp": "8.0.1.1", "points": [[900, 900], [950, 900]]},
  {"tool": "solid-oval", "stamp": "8.0.1.1", "points": [[100, 800], [300, 950]]}]}]})"));
    Put("paint_bad.json", text("{\"template\": \"A-ONE 29125\", \"units\": [{\"paint\": [\n"
                               "{\"tool\": \"brush\", \"points\": [[600, 600], [1300, 5]]}]}]}"));
}

// Snapshots of the target's document: as made, and with a design and paint
// on its first unit and the clone turned into a master.
void Undo_Seeds() {
    Undo_Fuzz_Document();
    if (Doc_To_RAM(0)) Put("empty.undo", ram.image);
    Undo_Fuzz_Design();
    g_doc.doc_units[2]->clonef = false;
    if (Doc_To_RAM(1)) Put("designed.undo", ram.image);
    RAM_Dispose();
    Doc_Dispose();
}

// Blocks as our copy and paste put them on the clipboard, each behind the
// byte that picks its reader.
void Clipboard_Seeds() {
    a_om_rec om;
    UniStr_To_OM(om, u"Side A\rSide \U0001F600");
    om.glowf = true;
    std::vector<uint8_t> t{0};
    for (uint8_t b : Text_Block_Clip_Bytes(om)) t.push_back(b);
    Put("text.clip", t);
    a_pasted_ph_rec photo;
    photo.ojkind = SYMBOL_BLOCK;
    photo.ph.spec.source.kind = SOURCE_DATABASE;
    photo.ph.dst_box = Rect{10, 20, 110, 220};
    photo.ph.dst_center = Point{60, 120};
    std::vector<uint8_t> p{1};
    for (uint8_t b : Photo_Block_Clip_Bytes(photo)) p.push_back(b);
    Put("photo.clip", p);
}

// Projects of the previous major version: every class of old kind, the
// older record versions and each kind of damage.
void V3_Seeds() {
    for (const a_v7_fixture& f : V7_Fixtures()) Put(f.name, f.bytes);
    // Small ones too, which mutate quicker: without paint, and with a paint
    // map of a few pixels (each is scaled from its own bounds).
    for (uint8_t kind : {0, 9, 16}) {
        a_v7_project p = V7_Sample(kind);
        p.painted = Rect{};
        p.picture_size = Point{3, 2};
        Put("small_" + std::to_string(kind) + ".cd4", Write_V7(p));
    }
}

// Command lines of every form the program takes.
void Cmdline_Seeds() {
    const char* lines[] = {
        "", "a.cd4", "/p \"My Disc.cd4\"", "/p", "/IF a.cd4 /CX 5 /CY -3 /S3 \"a b\"",
        "/IF a.cd4 b", "/CX five", "/CX 5", "/ofile out.pdf /IF x.cd4 /DO 1 /DI 2 /DS 3",
        "/Q", "  \"/IF\"  a.cd4  ",
    };
    int n = 0;
    for (const char* l : lines) Put("line" + std::to_string(n++) + ".txt", std::string(l));
}

}  // namespace

int main(int argc, char** argv) {
    const std::pair<std::string, void (*)()> kinds[] = {
        {"artdb", Artdb_Seeds},       {"layout", Layout_Seeds},    {"prefs", Prefs_Seeds},
        {"codepage", Codepage_Seeds}, {"imagefiles", Image_Seeds},  {"project", Project_Seeds},
        {"monet", Monet_Seeds},
        {"textlayout", Textlayout_Seeds},
        {"textrender", Text_Render_Seeds},
        {"tracks", Tracks_Seeds},
        {"design", Design_Seeds},
        {"undo", Undo_Seeds},
        {"cmdline", Cmdline_Seeds},
        {"clipboard", Clipboard_Seeds},
        {"v3", V3_Seeds},
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
