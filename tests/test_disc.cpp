// Whole projects: a document with every kind of record written and read back
// comes back field for field, pictures and paint included; damage anywhere,
// down to a file cut at any byte, is refused or reported, never read as data;
// and a save that fails leaves the document where it was.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include <sys/stat.h>

#include "base/messages.h"
#include "base/recent_projects.h"
#include "base/string_ids.h"
#include "image_fixtures.h"
#include "images/image_files.h"
#include "model/document.h"
#include "model/history.h"
#include "model/selection.h"
#include "model/photo_rec.h"
#include "model/text_rec.h"
#include "persist/chunk_stream.h"
#include "pixels/gworld.h"
#include "persist/disc_read.h"
#include "persist/disc_write.h"
#include "persist/embedded.h"
#include "persist/file_cmds.h"
#include "persist/photo_chunks.h"
#include "persist/project_file.h"
#include "persist/text_chunks.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/fonts.h"
#include "platform/image_codec.h"
#include "platform/private_folder.h"
#include "print/print_doc.h"
#include "project_fixtures.h"
#include "render/canvas.h"
#include "print/print_render.h"
#include "render/effects_cache.h"
#include "shell/project_services.h"
#include "shell/mainloop.h"
#include "ui/interface.h"
#include "signals_guard.h"
#include "text/text_blocks.h"
#include "text/text_layout.h"
#include "text/text_metrics.h"
#include "text_fixtures.h"

namespace {

using a_bytes = std::vector<uint8_t>;

// A tiny JPEG of w x h in a band of colours.
a_bytes Jpeg_Bytes(int w, int h) {
    std::vector<uint8_t> px(size_t(w * h * 4));
    for (size_t i = 0; i < px.size(); ++i) px[i] = uint8_t(i * 7);
    a_bytes out;
    EXPECT_TRUE(Codec_Encode(px.data(), w, h, w * 4, "jpeg", 90, 72, out));
    return out;
}

a_masked_gworld Picture(int w, int h, uint8_t shade) {
    a_masked_gworld mw;
    New_MW("test picture", Rect{0, 0, int16_t(h), int16_t(w)}, mw);
    for (int y = 0; y < h; ++y) {
        std::memset(PixMap_Row(mw.fore->pix, y), shade, size_t(w) * 4);
        std::memset(PixMap_Row(mw.mask->pix, y), uint8_t(y * 20), size_t(w));
    }
    return mw;
}

// Everything the file holds of the document, sources named by the pictures
// they stand for rather than by their numbers, which reading renews.
a_bytes Fingerprint() {
    a_bytes out;
    Chunk_Init(0, out);
    Write_Template(g_doc.doc_template);
    for (uint32_t ux = 1; ux <= g_doc.doc_template.nunits; ++ux) {
        const a_doc_unit& u = *g_doc.doc_units[ux];
        Write_UnitHeader(u, ux);
        if (u.clonef) continue;
        Write_Paint_Layer(u, ux);
        for (int i = 1; i <= u.oj.nlist; ++i) {
            a_oj_item item = u.oj.list[i];
            a_ph_rec ph;
            if (item.ph) {
                ph = *item.ph;
                int ix = 0;
                if (ph.spec.source.kind != SOURCE_DATABASE && Find_Basis(ph.spec.source.sid, ix)) {
                    const a_cache_result& c = Cache_Item(ix).c;
                    Chunk_WriteRect(c.body.bounds);
                    if (c.raw) Chunk_WriteHandle(*c.raw);
                    if (c.body.fore) Chunk_WriteWorld(c.body.bounds, c.body.fore, 0, "BODY");
                }
                ph.spec.source.sid = 0;
                item.ph = &ph;
            }
            Chunk_WriteStart(int32_t(i), "ITEM");
            Write_OJ(item);
            Chunk_WriteStop();
        }
    }
    Chunk_Stop();
    return out;
}

// Every photo record and every field of every text record, in block order:
// a writer that put down a wrong value would pass a comparison of files
// written again, not this one. Source numbers are left out (reading renews
// them), and so are the cache's hints.
struct a_records {
    std::vector<a_ph_rec> photos;
    std::vector<std::string> texts;
    bool operator==(const a_records&) const = default;
};

std::string Text_Fields(const a_om_rec& o) {
    std::string s;
    auto add = [&s](std::initializer_list<int64_t> v) {
        for (int64_t x : v) s += std::to_string(x) + ",";
    };
    auto colour = [&add](const a_win_pixel32& c) { add({c.r, c.g, c.b, c.a}); };
    add({o.bbox.top, o.bbox.left, o.bbox.bottom, o.bbox.right, o.anchor.h, o.anchor.v, o.rotcenter.h,
         o.rotcenter.v, o.boldf, o.italf, o.outlf, o.glowf, o.shadf, o.undf, o.layout, o.justify, o.fontx, o.size,
         o.lineangle, o.polarangle, o.radius, o.hspacing, o.vspacing, o.stretch_h, o.stretch_v, o.skew_h,
         o.skew_v, o.glow_radius, o.glow_opacity, o.glow_style, o.shad_dx, o.shad_dy, o.shad_opacity,
         o.shad_radius, o.outl_radius, o.spoke_outerd, o.spoke_thickness, o.spoke_totangle, o.spoke_twist,
         o.contour_margin, o.targwidth, o.opacity, o.nxyl});
    for (const a_win_pixel32& c : {o.base_color, o.glow_color, o.shad_color, o.outl_color}) colour(c);
    for (int i = 1; i <= o.nxyl; ++i) {
        const a_xyl_char& x = o.xyl[i];
        add({x.cc_char, x.cc_fontx, x.cc_nudgex, x.cc_nudgey, x.cc_nudget, x.cc_size, x.cc_boldf, x.cc_italf,
             x.cc_undf});
        colour(x.cc_color);
    }
    return s;
}

a_records Records() {
    a_records r;
    for (uint32_t ux = 1; ux <= g_doc.doc_template.nunits; ++ux) {
        const a_doc_unit& u = *g_doc.doc_units[ux];
        for (int i = 1; !u.clonef && i <= u.oj.nlist; ++i) {
            if (const a_ph_rec* ph = u.oj.list[i].ph) {
                r.photos.push_back(*ph);
                r.photos.back().spec.source.sid = 0;
                r.photos.back().spec.hintx = 0;
            }
            if (const a_om_rec* om = u.oj.list[i].om) r.texts.push_back(Text_Fields(*om));
        }
    }
    return r;
}

// A 32-bit picture's colours, row by row.
struct a_pixels {
    int width = 0;
    std::vector<uint32_t> px;
};

a_pixels Pixels_Of(const PixMap& pm) {
    a_pixels out;
    out.width = Rect_Width(pm.bounds);
    for (int y = pm.bounds.top; y < pm.bounds.bottom; ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(PixMap_Row(pm, y));
        for (int x = 0; x < out.width; ++x) out.px.push_back(row[x] & 0xFFFFFF);
    }
    return out;
}

// `a` and `b` differ in many pixels, all within `inside` grown by `slack`.
testing::AssertionResult Differs_Only_Inside(const a_pixels& a, const a_pixels& b, const Rect& inside, int slack) {
    if (a.width != b.width || a.px.size() != b.px.size() || a.width == 0)
        return testing::AssertionFailure() << "pictures of different sizes";
    int differ = 0;
    for (size_t i = 0; i < a.px.size(); ++i) {
        if (a.px[i] == b.px[i]) continue;
        const int x = int(i) % a.width, y = int(i) / a.width;
        if (x < inside.left - slack || x >= inside.right + slack || y < inside.top - slack ||
            y >= inside.bottom + slack)
            return testing::AssertionFailure() << "a change outside the text at " << x << ", " << y;
        ++differ;
    }
    if (differ < 20) return testing::AssertionFailure() << "only " << differ << " pixels show the text";
    return testing::AssertionSuccess();
}

class Disc : public testing::Test {
protected:
    void SetUp() override {
        Dialog_SetQuiet(true);
        // One folder per test: ctest runs tests side by side.
        folder_ = Temp_Folder() + "/disc_test_" + testing::UnitTest::GetInstance()->current_test_info()->name();
        ASSERT_TRUE(Folder_Create(folder_));
        // The desktop's recent list of the run's own, never the user's.
        setenv("XDG_DATA_HOME", folder_.c_str(), 1);
        std::copy(std::begin(g_pref.recent), std::end(g_pref.recent), recent_before_);
        a_template t;
        t.nunits = 3;
        std::strcpy(t.label, "two discs and a tray");
        t.papersize = {210, 297};
        t.units[1].kind = UNIT_CD;
        // Small units keep the reads of the cut test quick.
        t.units[1].bbox = {10, 10, 22, 22};
        t.units[2].kind = UNIT_CD;
        t.units[2].bbox = {10, 30, 22, 42};
        t.units[3].kind = UNIT_RECT;
        t.units[3].bbox = {30, 10, 42, 20};
        Doc_New(t);
        Fill_Document();
    }
    void TearDown() override {
        Doc_Dispose();
        (void)File_Remove_Tree(folder_);
        std::copy(std::begin(recent_before_), std::end(recent_before_), g_pref.recent);
    }
    a_recent_doc recent_before_[MAX_RECENT_DOCS];

    a_ph_rec& Add_Photo(uint32_t ux, uint8_t kind, a_source_desc source) {
        a_oj_item it;
        it.objid = NextUniqueID();
        it.kind = kind;
        it.flags = 1u << VISIBLE_FLAG;
        it.ph = New_PH_Rec();
        it.ph->spec.source = source;
        EXPECT_TRUE(OMast_Append(g_doc.doc_units[ux]->oj, it));
        return *it.ph;
    }

    // A photo block in unit ux of the JPEG file written at path, the picture
    // as the importer decodes it; its bytes kept with the project when `keep`.
    a_ph_rec& Add_File_Photo(uint32_t ux, const std::string& path, const a_bytes& jpeg, bool keep) {
        EXPECT_TRUE(File_SaveAtomic(path, jpeg.data(), jpeg.size()));
        a_scan_owner scan;
        EXPECT_TRUE(Read_BitMap(false, path, scan.get()));
        a_masked_gworld mw;
        EXPECT_TRUE(Scan_To_MW(scan.get(), mw));
        a_source_desc src{0, SOURCE_EXTFILE, {}, {0, 0, path}};
        a_raw_bytes* raw = keep ? new a_raw_bytes(jpeg) : nullptr;
        Cache_Insert_External(src, mw, raw);
        return Add_Photo(ux, PHOTO_BLOCK, src);
    }

    // A photo of a file (with its bytes), a pasted picture twice, a clip-art
    // symbol, an empty slot, a text block and paint, each field set off its
    // default.
    void Fill_Document() {
        jpeg_path_ = folder_ + "/beach.jpg";
        a_ph_rec& photo = Add_File_Photo(1, jpeg_path_, Jpeg_Bytes(24, 16), true);
        photo.spec.angle = 450;
        photo.spec.scalingh = 1200;
        photo.spec.edge_kind = EDGE_SCALLOP;
        photo.spec.shadf = true;
        photo.spec.constrainf = true;
        photo.spec.symbol_color = {1, 2, 3, 4};
        photo.spec.subset = {1, 2, 15, 20};
        std::memcpy(photo.codec, "JPEG", 4);
        photo.dst_center = {60, 70};
        photo.dst_box = {40, 50, 80, 90};
        photo.spec.darkness = 60, photo.spec.opacity = 80, photo.spec.corner = 10, photo.spec.feather = 3;
        photo.spec.edge_border = 12, photo.spec.edge_outline = 2, photo.spec.edge_scallop = 50;
        photo.spec.edge_rough = 12, photo.spec.color_sat = 40, photo.spec.color_hue = 30;
        photo.spec.color_dist = 20, photo.spec.shad_dx = -5, photo.spec.shad_dy = 7;
        photo.spec.shad_opacity = 60, photo.spec.shad_radius = 3;
        photo.spec.flipx = photo.spec.invert = photo.spec.wtransp = true;
        photo.spec.edge_bord_color = {10, 20, 30, 0};
        photo.spec.edge_outl_color = {40, 50, 60, 0};

        a_source_desc pasted{0, SOURCE_CLIPBOARD, {}, {}};
        a_masked_gworld clip = Picture(8, 6, 200);
        a_raw_bytes* none = nullptr;
        Cache_Insert_External(pasted, clip, none);
        Add_Photo(1, PHOTO_BLOCK, pasted).spec.flipy = true;
        Add_Photo(1, PHOTO_BLOCK, pasted).spec.opacity = 40;  // the same picture twice
        Add_Photo(1, SYMBOL_BLOCK, a_source_desc{0, SOURCE_DATABASE, {3, 1, 4, 1}, {}}).spec.is_symbol = true;
        Add_Photo(3, SLOT_BLOCK, a_source_desc{0, SOURCE_EMPTYSLOT, {}, {}}).spec.darkness = 70;

        a_oj_item text;
        text.objid = NextUniqueID();
        text.kind = TEXT_BLOCK;
        text.om = New_OM_Rec();
        a_om_rec& om = *text.om;
        om.fontx = uint32_t(Font_Base_Proportional());
        om.layout = LAYOUT_CIRC_CCW;
        om.justify = JUST_CENTER;
        om.bbox = {1, 2, 30, 40};
        om.anchor = {11, 12};
        om.rotcenter = {20, 21};
        om.radius = 333;
        om.polarangle = -900;
        om.glowf = true;
        om.glow_radius = 17;
        om.glow_opacity = 44;
        om.glow_style = 2;
        om.glow_color = {1, 200, 3, 0};
        om.outl_color = {9, 8, 7, 6};
        om.spoke_twist = -12;
        om.opacity = 77;
        om.boldf = om.italf = om.outlf = om.shadf = om.undf = true;
        om.size = 31, om.lineangle = 150, om.hspacing = 120, om.vspacing = 90;
        om.stretch_h = 7, om.stretch_v = -3, om.skew_h = 5, om.skew_v = -4;
        om.shad_dx = -6, om.shad_dy = 9, om.shad_opacity = 33, om.shad_radius = 3, om.outl_radius = 4;
        om.spoke_outerd = 90, om.spoke_thickness = 70, om.spoke_totangle = 300, om.contour_margin = 6;
        om.base_color = {5, 6, 7, 0};
        om.shad_color = {8, 9, 10, 0};
        const char16_t* chars = u"Ab\r\u00e9\u4e2d\u0001";  // the end mark last
        om.nxyl = 0;
        for (const char16_t* c = chars; *c; ++c) {
            a_xyl_char& x = om.xyl[++om.nxyl];
            Set_XYL_Defaults(x);
            x.cc_char = *c;
        }
        // Every override on some character.
        om.xyl[1] = a_xyl_char{u'A', om.fontx, {5, 5, 5, 5}, 1, 2, 3, 24, true, false, true, true};
        om.xyl[2].cc_italf = true;
        om.xyl[2].cc_color = {0, 0, 255, 0};
        om.xyl[4].cc_nudget = -450;
        om.xyl[5].cc_size = 250;
        om.xyl[5].cc_fontx = om.fontx;
        ASSERT_TRUE(OMast_Append(g_doc.doc_units[3]->oj, text));

        // Paint on the small tray: a disc's paint area is a full 1200 x 1200.
        a_doc_unit& u = *g_doc.doc_units[3];
        u.paintinuse = true;
        Sync_Existence(PAINT1_LAYER, u, true);
        for (int y = 20; y < 30; ++y) {
            std::memset(PixMap_Row(u.static_[PAINT1_LAYER].world->pix, y) + 40, 0x33, 40);
            std::memset(PixMap_Row(u.static_[PAINT1_LAYER].mask->pix, y) + 10, 0xC0, 10);
        }
        // A white canvas: the art database's canvases are not what is tested here.
        for (uint32_t ux : {1u, 3u}) g_doc.doc_units[ux]->canv.cv.canvas_key = a_keyset{2, 0, 1, 1};
        g_doc.doc_units[1]->canv.cv.canvas_darkness = 61;
        // The tray's is plain white, untinted: no canvas at all.
        g_doc.doc_units[3]->canv.cv.canvas_darkness = CANV_DARKNESS_DEFAULT;
        g_doc.doc_units[3]->canv.cv.canvas_color_sat = CANV_SAT_DEFAULT;
        g_doc.doc_units[2]->canv.cv.canvas_angle = 15;
    }

    std::string folder_;
    std::string jpeg_path_;
    a_signals_guard signals_{true};
};

TEST_F(Disc, EveryRecordComesBackFieldForField) {
    ASSERT_TRUE(g_doc.doc_units[2]->clonef);
    a_bytes before = Fingerprint();
    const a_records records = Records();
    std::string path = folder_ + "/Summer.cd4";
    ASSERT_EQ(Write_DISC(path), 0);
    // The original file goes: the picture comes from the bytes the project keeps.
    ASSERT_TRUE(File_Remove(jpeg_path_));
    ASSERT_TRUE(Read_DISC(false, path));
    EXPECT_EQ(Disc_Report().defects, 0u);
    EXPECT_EQ(Fingerprint(), before);
    const a_records back = Records();
    ASSERT_EQ(back.photos.size(), records.photos.size());
    for (size_t i = 0; i < back.photos.size(); ++i) EXPECT_TRUE(back.photos[i] == records.photos[i]) << "photo " << i;
    EXPECT_EQ(back.texts, records.texts);
    EXPECT_EQ(g_doc.doc_path.name, path);
    EXPECT_FALSE(g_doc.doc_changed);
    // The two blocks of one pasted picture still share it, under one new number.
    const a_oj_master& oj = g_doc.doc_units[1]->oj;
    EXPECT_EQ(oj.list[3].ph->spec.source.sid, oj.list[4].ph->spec.source.sid);
    EXPECT_EQ(Disc_Report().text_blocks, 1u);
    // The text block's layout is to be made.
    const a_oj_master& tray = g_doc.doc_units[3]->oj;
    ASSERT_EQ(tray.nlist, 3);  // paint, slot, text
    ASSERT_NE(tray.list[3].om, nullptr);
    EXPECT_EQ(tray.list[3].om->cache.progress, 0);

    a_bytes file;
    ASSERT_TRUE(File_ReadAll(path, file));
    Chunk_Init(DISC_PREAMBLE_BYTES, file);
    EXPECT_FALSE(Chunk_Find(2, "OBJT"));  // a clone has no table of its own
    int found = 0;
    for (int32_t sid = 1; sid <= 0xFFFF; ++sid) found += Chunk_Find(sid, "CLIP");
    EXPECT_EQ(found, 1);  // one picture for two blocks
    Chunk_Stop();
    EXPECT_TRUE(Is_DISC_File(path));
    PixMap preview;
    ASSERT_TRUE(Scan_DISC_Preview(preview, path));
    EXPECT_LE(Rect_Width(preview.bounds), THUMB_WIDTH);
    EXPECT_EQ(Rect_Height(preview.bounds), THUMB_HEIGHT);
    Dispose_PixMap(preview);

    // A preview of another depth is refused: its rows are shorter than the
    // 32-bit ones its readers (the open dialog, the start screen) take.
    a_bytes grey_file;
    Chunk_Init(DISC_PREAMBLE_BYTES, grey_file);
    Write_V4_Preamble();
    a_gworld_ptr grey = Make_GWorld(8, Rect{0, 0, 40, 30});
    ASSERT_TRUE(grey);
    Chunk_WriteWorld(grey->pix.bounds, grey.get(), 1, "PREV");
    Chunk_Stop();
    const std::string grey_path = folder_ + "/grey.cd4";
    ASSERT_TRUE(File_SaveAtomic(grey_path, grey_file.data(), grey_file.size()));
    EXPECT_FALSE(Scan_DISC_Preview(preview, grey_path));
    EXPECT_TRUE(Is_Null_PixMap(preview));
}

// Photographs large enough to be decoded beside the main thread come back
// pixel for pixel as the importer decodes their files, each with its bytes,
// and each block keeps its own picture.
TEST_F(Disc, LargeEmbeddedPhotosDecodeAsTheirFilesDo) {
    std::vector<std::string> files;
    for (int k = 0; k < 3; ++k) {
        const int w = 480 + 16 * k, h = 360;
        std::vector<uint8_t> px(size_t(w) * h * 4);
        uint32_t seed = 12345u + uint32_t(k);
        for (uint8_t& b : px) b = uint8_t((seed = seed * 1103515245u + 12345u) >> 24);
        a_bytes jpeg;
        ASSERT_TRUE(Codec_Encode(px.data(), w, h, w * 4, "jpeg", 92, 72, jpeg));
        ASSERT_GE(jpeg.size(), 65536u);
        files.push_back(folder_ + "/big" + std::to_string(k) + ".jpg");
        std::memcpy(Add_File_Photo(3, files.back(), jpeg, true).codec, "JPEG", 4);
    }
    const std::string path = folder_ + "/big.cd4";
    ASSERT_EQ(Write_DISC(path), 0);
    ASSERT_TRUE(Read_DISC(false, path));
    const a_oj_master& oj = g_doc.doc_units[3]->oj;
    ASSERT_EQ(oj.nlist, 6);
    for (int k = 0; k < 3; ++k) {
        const a_ph_rec& ph = *oj.list[4 + k].ph;
        EXPECT_EQ(ph.spec.source.path.name, files[size_t(k)]);
        int ix = 0;
        ASSERT_TRUE(Find_Basis(ph.spec.source.sid, ix)) << k;
        const a_cache_result& c = Cache_Item(ix).c;
        a_bytes want;
        ASSERT_TRUE(File_ReadAll(files[size_t(k)], want));
        ASSERT_NE(c.raw, nullptr);
        EXPECT_TRUE(*c.raw == want) << k;
        a_scan_owner scan;
        ASSERT_TRUE(Read_BitMap(false, files[size_t(k)], scan.get()));
        a_gworld_ptr direct(Scan_Colour_World(scan.get()));
        ASSERT_NE(c.body.fore, nullptr);
        ASSERT_NE(direct, nullptr);
        EXPECT_EQ(Pixels_Of(c.body.fore->pix).px, Pixels_Of(direct->pix).px) << k;
    }
}

TEST_F(Disc, AMissingPhotoIsFoundOnlyInTheProjectsFolder) {
    // Embedding off: the file's bytes are not kept with the project.
    int ix = 0;
    const a_ph_rec& photo = *g_doc.doc_units[1]->oj.list[2].ph;
    ASSERT_TRUE(Find_Basis(photo.spec.source.sid, ix));
    delete Cache_Item(ix).c.raw;
    const_cast<a_cache_item&>(Cache_Item(ix)).c.raw = nullptr;
    std::string elsewhere = folder_ + "/away";
    ASSERT_TRUE(Folder_Create(elsewhere));
    std::string moved = elsewhere + "/beach.jpg";
    std::string project = elsewhere + "/p.cd4";
    ASSERT_EQ(Write_DISC(project), 0);
    ASSERT_EQ(std::rename(jpeg_path_.c_str(), moved.c_str()), 0);
    ASSERT_TRUE(Read_DISC(false, project));
    const a_ph_rec& back = *g_doc.doc_units[1]->oj.list[2].ph;
    EXPECT_EQ(back.spec.source.path.name, moved);
    ASSERT_TRUE(Find_Basis(back.spec.source.sid, ix));
    EXPECT_NE(Cache_Item(ix).c.body.fore, nullptr);

    // Gone from both places: the placeholder, and the project still opens.
    std::string other = folder_ + "/q.cd4";
    ASSERT_EQ(Write_DISC(other), 0);
    ASSERT_TRUE(File_Remove(moved));
    ASSERT_TRUE(Read_DISC(false, other));
    const a_ph_rec& lost = *g_doc.doc_units[1]->oj.list[2].ph;
    ASSERT_TRUE(Find_Basis(lost.spec.source.sid, ix));
    EXPECT_EQ(Cache_Item(ix).c.body.fore, nullptr);
}

TEST_F(Disc, TextRecordsEndWithTheEndMarkAndKeepTheirCharacters) {
    a_bytes bytes;
    auto rec = std::make_unique<a_om_rec>(), back = std::make_unique<a_om_rec>();
    // The defects of reading back what the chunk holds.
    auto read = [&](a_bytes& chunk) {
        Chunk_Init(0, chunk);
        EXPECT_TRUE(Chunk_Find(1, "TEST"));
        a_defect_set d = 0;
        Read_OM(*back, 2, d);
        return d;
    };
    auto write = [&] {
        bytes.clear();
        Chunk_Init(0, bytes);
        Chunk_WriteStart(1, "TEST");
        Write_OM(*rec);
        Chunk_WriteStop();
    };
    rec->nxyl = 2;  // "Hi" without its end mark
    rec->xyl[1].cc_char = u'H';
    rec->xyl[2].cc_char = u'i';
    write();
    back->cache.progress = READY_COORD | READY_BITS;
    EXPECT_EQ(read(bytes), 0u);
    ASSERT_EQ(back->nxyl, 3);
    EXPECT_EQ(back->xyl[2].cc_char, u'i');
    EXPECT_EQ(back->xyl[3].cc_char, CHAR_EOS);
    EXPECT_EQ(back->xyl[3].mm_cat, CC_EOS);
    EXPECT_EQ(back->cache.progress, 0);
    // A count larger than the chunk or the block, a layout past the last, a
    // justification past the last: refused.
    const size_t layout_at = 12 + 2 + 8 + 8 + 6, count_at = layout_at + 2 + 4 + 50 + 16;
    for (auto [at, value] : {std::pair{layout_at, 0x0A}, {layout_at + 1, 0x03}, {count_at, 0x7F},
                             {count_at + 2, 0x0F}}) {
        a_bytes bad = bytes;
        bad[at] = uint8_t(value);
        EXPECT_TRUE(Has_Defect(read(bad), DEFECT_CHECKSUM)) << at;
    }
    // 4000 characters none of which is the end mark: no room for it.
    rec->nxyl = MAX_NXYL;
    for (int i = 1; i <= MAX_NXYL; ++i) rec->xyl[i].cc_char = u'x';
    write();
    EXPECT_TRUE(Has_Defect(read(bytes), DEFECT_CHECKSUM));
    Chunk_Stop();
}

TEST_F(Disc, CodecsStoredInEitherOrderComeBackTheSame) {
    for (auto [stored, want] : {std::pair{"GEPJ", "JPEG"}, {" GPJ", "JPEG"}, {"fFIG", "GIFf"},
                                {"FFIT", "TIFF"}, {"SPB8", "8BPS"}, {"fPMB", "BMPf"}, {"GNP.", "GNP."}}) {
        char c[4];
        std::memcpy(c, stored, 4);
        Canonicalize_Codec(c);
        EXPECT_EQ(std::string(c, 4), want);
    }
}

// Every cut of `whole` is refused with a defect, or opens with what it lost
// reported: nothing a cut drops may be read as if it were never there.
void Expect_Every_Cut_Refused_Or_Reported(const a_bytes& whole, const std::string& path) {
    // One buffer cut shorter and shorter: copying it afresh for every
    // length would cost more than the reads.
    a_bytes shorter = whole;
    for (size_t n = whole.size(); n-- > 0;) {
        shorter.resize(n);
        if (Read_DISC_Bytes(shorter, path)) {
            EXPECT_GT(Disc_Report().missing_pictures, 0) << "cut at " << n << " of " << whole.size();
            EXPECT_FALSE(Disc_Report().notes.empty()) << n;
        } else {
            EXPECT_NE(Disc_Report().defects, 0u) << n;
        }
    }
}

// The chunks' starts, in file order.
std::vector<size_t> Chunk_Starts(const a_bytes& whole) {
    std::vector<size_t> starts;
    for (size_t at = DISC_PREAMBLE_BYTES; at + CHUNK_HEADER_BYTES <= whole.size();) {
        starts.push_back(at);
        const uint8_t* h = &whole[at + 8];
        at += CHUNK_HEADER_BYTES + (size_t(h[0]) << 24 | size_t(h[1]) << 16 | size_t(h[2]) << 8 | h[3]);
    }
    return starts;
}

TEST_F(Disc, AFileCutAnywhereIsRefusedOrReportedNeverReadAsData) {
    // With the original file gone, a cut picture cannot come from elsewhere.
    ASSERT_TRUE(File_Remove(jpeg_path_));
    const std::string cut_path = folder_ + "/cut.cd4";
    a_bytes pictures;
    ASSERT_EQ(Write_DISC_Bytes(pictures), 0);
    Expect_Every_Cut_Refused_Or_Reported(pictures, cut_path);

    // No pictures at the end to report a cut: the last unit's paint is what
    // a cut reaches first.
    ASSERT_TRUE(Read_DISC_Bytes(pictures, cut_path));
    for (int i = 1; i <= g_doc.doc_units[1]->oj.nlist; ++i)
        if (a_ph_rec* ph = g_doc.doc_units[1]->oj.list[i].ph)
            ph->spec.source = a_source_desc{0, SOURCE_DATABASE, {3, 1, 4, 1}, {}};
    a_bytes paint;
    ASSERT_EQ(Write_DISC_Bytes(paint), 0);
    Chunk_Init(DISC_PREAMBLE_BYTES, paint);
    EXPECT_TRUE(Chunk_Find(3, "MSK1"));
    EXPECT_FALSE(Chunk_Find(1, "EMBD"));
    Chunk_Stop();
    Expect_Every_Cut_Refused_Or_Reported(paint, cut_path);

    // Through the file command: a cut inside any chunk shows alert 10 and
    // leaves nothing open, or opens with its loss reported.
    std::string alert10;
    GetIndString(alert10, ALERT_STR_ID, ALERT_CANNOT_READ);
    for (size_t at : Chunk_Starts(pictures)) {
        const size_t n = at + CHUNK_HEADER_BYTES + 2;
        ASSERT_TRUE(File_SaveAtomic(cut_path, pictures.data(), n));
        Dialog_ScriptAnswers({});
        Do_File_Open3(cut_path, false);
        if (g_doc.doc_open) {
            EXPECT_GT(Disc_Report().missing_pictures, 0) << n;
            Doc_Dispose();
            continue;
        }
        ASSERT_FALSE(Dialog_History().empty()) << n;
        EXPECT_NE(Dialog_History().back().message.find(alert10), std::string::npos) << n;
    }
}

// A block's stored record with its source number left out, which reading renews.
a_bytes Record_Of(a_oj_item item) {
    a_ph_rec ph;
    if (item.ph) {
        ph = *item.ph;
        ph.spec.source.sid = 0;
        item.ph = &ph;
    }
    a_bytes out;
    Chunk_Init(0, out);
    Write_OJ(item);
    Chunk_Stop();
    return out;
}

// Damage that would show less than the file holds is a defect: a block
// count that leaves blocks out, an embedded picture whose stored length
// stops short of its chunk. A block kind this program does not know is read
// as the photo record it carries, and said.
TEST_F(Disc, ShortCountsAndLengthsAreDefectsUnknownKindsArePhotos) {
    a_bytes whole;
    ASSERT_EQ(Write_DISC_Bytes(whole), 0);
    const a_oj_master& oj = g_doc.doc_units[1]->oj;
    ASSERT_GE(oj.nlist, 3);
    ASSERT_EQ(oj.list[3].kind, PHOTO_BLOCK);
    Chunk_Init(DISC_PREAMBLE_BYTES, whole);
    ASSERT_TRUE(Chunk_Find(1, "OBJT"));
    const size_t table = size_t(g_chunk.pos);
    Chunk_Stop();
    size_t third = table + 2 + 4;  // version and count, then the blocks in order
    for (int i = 1; i < 3; ++i) third += Record_Of(oj.list[i]).size();
    size_t embd = 0;
    for (size_t at : Chunk_Starts(whole))
        if (std::memcmp(&whole[at], "EMBD", 4) == 0) embd = at + CHUNK_HEADER_BYTES;
    ASSERT_NE(embd, 0u);
    const auto read = [&](const std::function<void(a_bytes&)>& damage) {
        a_bytes f = whole;
        damage(f);
        return Read_DISC_Bytes(f, folder_ + "/damaged.cd4");
    };

    ASSERT_TRUE(read([&](a_bytes& f) { f[third + 1] = 200; }));
    EXPECT_EQ(g_doc.doc_units[1]->oj.list[3].kind, PHOTO_BLOCK);
    EXPECT_EQ(Disc_Report().unknown_blocks, 1);
    ASSERT_FALSE(Disc_Report().notes.empty());
    EXPECT_NE(Disc_Report().notes[0].find("does not know were read as photos"), std::string::npos);

    EXPECT_FALSE(read([&](a_bytes& f) { --f[table + 5]; }));
    EXPECT_TRUE(Has_Defect(Disc_Report().defects, DEFECT_OBJTABLE_VERSION));
    EXPECT_FALSE(read([&](a_bytes& f) {  // the picture's stored length, 16 bytes short
        uint8_t* n = &f[embd + 2 + 4];
        const uint32_t len = uint32_t(n[0]) << 24 | uint32_t(n[1]) << 16 | uint32_t(n[2]) << 8 | n[3];
        ASSERT_GT(len, 16u);
        for (int i = 0; i < 4; ++i) n[i] = uint8_t((len - 16) >> (24 - 8 * i));
    }));
    EXPECT_TRUE(Has_Defect(Disc_Report().defects, DEFECT_EMBED_VERSION));
    EXPECT_FALSE(g_doc.doc_open);
}

// Importing a saved project puts a unit's blocks on top of the open
// unit's, which keeps all it had, and composites its paint over the paint
// there, scaled to the unit when the stock differs; one undo takes the whole
// import back. A project that cannot be
// read, or that would overfill a unit, changes nothing.
TEST_F(Disc, ImportAddsAProjectsBlocksOnTopAndOneUndoTakesThemBack) {
    // Undo snapshots keep every character field but the unused pad byte.
    a_om_rec& text = *g_doc.doc_units[3]->oj.list[3].om;
    for (int i = 1; i <= text.nxyl; ++i) text.xyl[i].cc_pad = false;
    const std::string path = folder_ + "/other.cd4";
    ASSERT_EQ(Write_DISC(path), 0);
    setenv("XDG_RUNTIME_DIR", folder_.c_str(), 1);
    Private_Folder_Remove();
    History_Init();
    // The document as opening leaves it (text laid out), with its first step.
    Doc_Dispose();
    Do_File_Open3(path, true);
    ASSERT_TRUE(g_doc.doc_open);
    History_Base();
    const a_bytes before = Fingerprint();
    const int n1 = g_doc.doc_units[1]->oj.nlist, n3 = g_doc.doc_units[3]->oj.nlist;

    // Each import brings the design of the project's unit of the current
    // unit's number onto the current unit, and nothing else.
    Select_Doc_Unit(1);
    ASSERT_TRUE(Do_Import_Cirquel(path));
    EXPECT_TRUE(g_doc.doc_changed);
    EXPECT_EQ(g_doc.doc_units[3]->oj.nlist, n3);
    Select_Doc_Unit(3);
    ASSERT_TRUE(Do_Import_Cirquel(path));
    for (auto [ux, n] : {std::pair{1u, n1}, {3u, n3}}) {
        const a_oj_master& oj = g_doc.doc_units[ux]->oj;
        ASSERT_EQ(oj.nlist, n + n - 1) << ux;  // all but the paint block again
        for (int i = 2; i <= n; ++i) {
            EXPECT_EQ(Record_Of(oj.list[n + i - 1]), Record_Of(oj.list[i])) << ux << " block " << i;
            EXPECT_NE(oj.list[n + i - 1].objid, oj.list[i].objid);
        }
    }
    EXPECT_EQ(g_doc.doc_units[2]->oj.nlist, 1);  // the clone's design is unit 1's
    // 0xC0 of paint over 0xC0: 192 + 192 x 63 / 255.
    const a_doc_unit& tray = *g_doc.doc_units[3];
    const PixMap& mask = tray.static_[PAINT1_LAYER].mask->pix;
    EXPECT_EQ(PixMap_Row(mask, 25)[10], 239);
    EXPECT_EQ(PixMap_Row(mask, 25)[30], 0);
    EXPECT_EQ(reinterpret_cast<const uint32_t*>(PixMap_Row(tray.static_[PAINT1_LAYER].world->pix, 25))[10] & 0xFFFFFF,
              0x333333u);

    Undo_Silent();
    Undo_Silent();
    EXPECT_EQ(Fingerprint(), before);

    // Damaged: refused with alert 10's reason, nothing added.
    a_bytes cut;
    ASSERT_TRUE(File_ReadAll(path, cut));
    cut.resize(cut.size() / 2);
    const std::string bad = folder_ + "/cut.cd4";
    ASSERT_TRUE(File_SaveAtomic(bad, cut.data(), cut.size()));
    EXPECT_FALSE(Do_Import_Cirquel(bad));
    EXPECT_EQ(Fingerprint(), before);
    // A unit that would hold 401 blocks: nothing of the project is added.
    while (g_doc.doc_units[3]->oj.nlist < MAXNOBJECTS - (n3 - 1) + 1)
        Add_Photo(3, SLOT_BLOCK, a_source_desc{0, SOURCE_EMPTYSLOT, {}, {}});
    const a_bytes full = Fingerprint();
    Select_Doc_Unit(3);
    EXPECT_FALSE(Do_Import_Cirquel(path));
    EXPECT_EQ(Fingerprint(), full);

    // Into another stock: a 24 mm booklet page where the 12 mm disc was, and
    // a panel twice the tray's height and nearly twice its width. Places
    // keep their fraction of each side, sizes follow the height, the paint
    // is resampled, and a unit's canvas comes along unless it has none.
    a_template other;
    other.nunits = 3;
    std::strcpy(other.label, "booklet, disc and panel");
    other.papersize = {210, 297};
    other.units[1].kind = UNIT_RECT;
    other.units[1].bbox = {10, 10, 34, 34};  // 283 x 283 cells
    other.units[2].kind = UNIT_CD;
    other.units[2].bbox = {40, 10, 52, 22};
    other.units[3].kind = UNIT_RECT;
    other.units[3].bbox = {10, 40, 34, 60};  // 283 x 236 cells; the tray is 142 x 118
    Doc_New(other);
    g_doc.doc_units[3]->canv.cv.canvas_darkness = 20;
    auto no_canvas = g_doc_services.is_no_canvas.Install(Is_No_Canvas);
    History_Base();
    const a_bytes fresh = Fingerprint();
    Select_Doc_Unit(1);
    ASSERT_TRUE(Do_Import_Cirquel(path));
    Select_Doc_Unit(3);
    ASSERT_TRUE(Do_Import_Cirquel(path));
    a_history_op redo_op = OP_NOP, undo_op = OP_NOP;
    Is_Undo_Avail(redo_op, undo_op);
    EXPECT_EQ(undo_op, OP_IMPORT);
    const a_doc_unit &page = *g_doc.doc_units[1], &panel = *g_doc.doc_units[3];
    ASSERT_EQ(page.oj.nlist, n1);
    const a_ph_rec& photo = *page.oj.list[2].ph;  // at (60, 70) of 1200 x 1200, scaling 1200 x 1000
    EXPECT_EQ(photo.dst_center, (Point{14, 17}));
    EXPECT_EQ(photo.spec.scalingh, 283);
    EXPECT_EQ(photo.spec.scalingv, 236);
    EXPECT_EQ(photo.spec.angle, 450);
    EXPECT_EQ(page.canv.cv.canvas_darkness, 61);
    EXPECT_EQ(panel.canv.cv.canvas_darkness, 20);  // the tray's plain white is no canvas
    ASSERT_EQ(panel.oj.nlist, n3);
    const a_om_rec& moved = *panel.oj.list[3].om;  // anchor (11, 12), 31 points
    EXPECT_EQ(moved.anchor, (Point{22, 24}));
    EXPECT_EQ(moved.size, 62);
    EXPECT_EQ(moved.radius, 333);  // a share of the unit already
    // Paint at rows 20..29, columns 10..19 lands on rows 40..59, columns 20..39.
    const a_cached_gworld& paint = panel.static_[PAINT1_LAYER];
    ASSERT_TRUE(panel.paintinuse);
    ASSERT_NE(paint.mask, nullptr);
    EXPECT_EQ(paint.mask->pix.bounds, panel.paintbounds);
    EXPECT_EQ(PixMap_Row(paint.mask->pix, 50)[30], 0xC0);
    EXPECT_EQ(PixMap_Row(paint.mask->pix, 50)[12], 0);
    EXPECT_EQ(PixMap_Row(paint.mask->pix, 30)[30], 0);
    EXPECT_EQ(reinterpret_cast<const uint32_t*>(PixMap_Row(paint.world->pix, 50))[30] & 0xFFFFFF, 0x333333u);
    Undo_Silent();
    Undo_Silent();
    EXPECT_EQ(Fingerprint(), fresh);
    g_doc_services.is_no_canvas.Remove(no_canvas);
    History_Stop();
    unsetenv("XDG_RUNTIME_DIR");
}

TEST_F(Disc, FileCommandsAskBeforeLosingWorkAndKeepItWhenTold) {
    std::string path = folder_ + "/Summer.cd4";
    g_doc.doc_changed = true;
    // Save as, cancelled: still new and changed. (A question cancelled before
    // opening is the window's opening test.)
    EXPECT_FALSE(Do_File_Save());
    EXPECT_TRUE(g_doc.doc_new);
    EXPECT_TRUE(g_doc.doc_changed);
    const a_file_services saved = g_file_services;
    (void)g_file_services.choose_save.Install(
        [&](const std::string&, const std::string&, int16_t format) {
            EXPECT_EQ(format, FMT_CIRQUEL);
            return path;
        });
    ASSERT_TRUE(Do_File_Save());
    EXPECT_FALSE(g_doc.doc_new);
    EXPECT_FALSE(g_doc.doc_changed);
    EXPECT_EQ(Export_Name(FMT_JPEG), "Summer.JPEG");
    // Both recent lists have it: the desktop's and the start screen's.
    a_bytes recent;
    ASSERT_TRUE(File_ReadAll(folder_ + "/recently-used.xbel", recent));
    EXPECT_NE(std::string(recent.begin(), recent.end()).find("Summer.cd4"), std::string::npos);
    ASSERT_FALSE(Recent_Projects().empty());
    EXPECT_EQ(std::string(Recent_Projects().front().doc_path), path);
    // Revert reads the file again; an unchanged document opens without a question.
    g_doc.doc_units[1]->oj.list[2].ph->spec.angle = 7;
    Dialog_ScriptAnswers({0});
    Do_File_Revert();
    ASSERT_TRUE(g_doc.doc_open);
    EXPECT_EQ(g_doc.doc_units[1]->oj.list[2].ph->spec.angle, 450);
    Dialog_ScriptAnswers({});
    Do_File_Open(false, path);
    EXPECT_TRUE(Dialog_History().empty());
    Do_File_Open(false, folder_ + "/art.ART4");  // the art database is not a document
    EXPECT_EQ(g_doc.doc_path.name, path);
    g_file_services = saved;
}

// Saves that fail leave the document on its own file and out of the recent
// lists; a revert to a file that cannot be read keeps the document; a
// project larger than the reader takes is refused before it is written.
TEST_F(Disc, FailedSavesAndRevertsKeepTheDocumentWhereItWas) {
    const std::string path = folder_ + "/Summer.cd4", bad = folder_ + "/no/such/folder/Autumn.cd4";
    const a_file_services saved = g_file_services;
    std::string chosen = path;
    (void)g_file_services.choose_save.Install([&](const std::string&, const std::string&, int16_t) { return chosen; });
    ASSERT_TRUE(Do_File_SaveAs());
    // The desktop's recent list, made here, names the user's files: theirs alone.
    struct stat st{};
    ASSERT_EQ(::stat((folder_ + "/recently-used.xbel").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    chosen = bad;
    g_doc.doc_changed = true;
    Dialog_ScriptAnswers({});
    EXPECT_FALSE(Do_File_SaveAs());
    EXPECT_EQ(g_doc.doc_path.name, path);
    EXPECT_TRUE(g_doc.doc_changed);
    EXPECT_EQ(std::string(Recent_Projects().front().doc_path), path);
    a_bytes recent;
    ASSERT_TRUE(File_ReadAll(folder_ + "/recently-used.xbel", recent));
    EXPECT_EQ(std::string(recent.begin(), recent.end()).find("Autumn"), std::string::npos);
    // The alert says why.
    ASSERT_FALSE(Dialog_History().empty());
    EXPECT_NE(Dialog_History().back().message.find(bad + ": no such folder"), std::string::npos);

    // Revert to a file damaged after its template (a photo record's end
    // mark), or gone: the document stays as it was.
    a_bytes file;
    ASSERT_TRUE(File_ReadAll(path, file));
    const std::string bytes(file.begin(), file.end());
    size_t mark = bytes.find("\x12\x34", bytes.find("OBJT"));
    ASSERT_NE(mark, std::string::npos);
    file[mark] = 0;
    g_doc.doc_units[1]->oj.list[2].ph->spec.angle = 7;
    for (bool gone : {false, true}) {
        if (gone) ASSERT_TRUE(File_Remove(path));
        else ASSERT_TRUE(File_SaveAtomic(path, file.data(), file.size()));
        Dialog_ScriptAnswers({0});
        Do_File_Revert();
        ASSERT_TRUE(g_doc.doc_open) << gone;
        EXPECT_EQ(g_doc.doc_units[1]->oj.list[2].ph->spec.angle, 7) << gone;
        EXPECT_EQ(g_doc.doc_path.name, path);
        EXPECT_TRUE(g_doc.doc_changed);
    }

    // Over the limit: refused with the way out, the old file untouched.
    ASSERT_TRUE(File_SaveAtomic(path, "old", 3));
    std::string error;
    EXPECT_EQ(Write_DISC(path, &error, 1000), DISC_WRITE_TOO_LARGE);
    EXPECT_NE(error.find("link its photos instead of embedding them"), std::string::npos) << error;
    EXPECT_EQ(File_Size(path), 3);
    EXPECT_EQ(Write_DISC(bad), DISC_WRITE_NOT_CREATED);
    g_file_services = saved;
}

// A photo whose path is longer than a Path field holds comes back whole and
// is found again; the save says so.
TEST_F(Disc, APhotoPathLongerThanItsFieldSurvivesTheSave) {
    std::string deep = folder_ + "/" + std::string(120, 'a') + "/" + std::string(120, 'b');
    ASSERT_TRUE(Folder_Create(deep));
    const std::string photo = deep + "/" + std::string(40, 'c') + ".jpg";
    ASSERT_GT(photo.size(), 255u);
    Add_File_Photo(3, photo, Jpeg_Bytes(20, 12), false);  // not embedded: found by its path
    const std::string path = folder_ + "/long.cd4";
    ASSERT_EQ(Write_DISC(path), 0);
    ASSERT_EQ(Disc_Write_Notes().size(), 1u);
    EXPECT_NE(Disc_Write_Notes()[0].find("longer than 255 bytes"), std::string::npos);
    ASSERT_TRUE(Read_DISC(false, path));
    EXPECT_EQ(Disc_Report().missing_pictures, 0);
    const a_oj_master& oj = g_doc.doc_units[3]->oj;
    ASSERT_GE(oj.nlist, 2);
    EXPECT_EQ(oj.list[oj.nlist].ph->spec.source.path.name, photo);
}

// The project's preview and the unit export are drawn by the compositor:
// a unit holding only a text block shows its letters in both, and nothing
// changes outside the block's box when the block is hidden.
TEST(DiscPictures, TextBlocksShowInThePreviewAndTheExport) {
    a_signals_guard guard(true);
    Dialog_SetQuiet(true);
    Text_Init();
    a_template t;
    Expand_Template(TList_Get(Find_Template("A-ONE 29125")), t);
    Doc_New(t);
    g_doc.doc_units[2]->clonef = false;  // a blank disc beside it
    for (uint32_t ux : {1u, 2u}) {
        a_canvas_spec& cv = g_doc.doc_units[ux]->canv.cv;
        Default_Canvas(UNIT_CD, cv);
        cv.canvas_key = a_keyset{2, 0, 1, 1};  // white
    }
    a_doc_unit& u = *g_doc.doc_units[1];
    a_oj_item it;
    it.objid = NextUniqueID();
    it.kind = TEXT_BLOCK;
    it.flags = 1u << VISIBLE_FLAG;
    it.om = Text_Block(u"HHH", LAYOUT_HORZ, 60).release();
    a_om_rec& om = *it.om;
    ASSERT_TRUE(OMast_Append(u.oj, it));
    OM_Recalc_On(om, u.oj.nlist, Doc_Text_Unit(1));
    ASSERT_FALSE(Rect_IsEmpty(om.bbox));

    const std::string folder = Temp_Folder() + "/disc_pictures";
    ASSERT_TRUE(Folder_Create(folder));
    struct a_pictures { a_pixels preview, unit; };
    auto draw = [&](const char* name) {
        a_pictures out;
        a_bytes bytes;
        EXPECT_EQ(Write_DISC_Bytes(bytes), 0);
        PixMap prev;
        Chunk_Init(DISC_PREAMBLE_BYTES, bytes);
        Chunk_ReadPix(prev, 1, "PREV");
        Chunk_Stop();
        out.preview = Pixels_Of(prev);
        Dispose_PixMap(prev);
        const std::string png = folder + "/" + name + ".png";
        EXPECT_TRUE(Export_Unit(png, FMT_PNG, 1));
        a_scan_owner scan;
        EXPECT_TRUE(Read_BitMap(false, png, scan.get()));
        a_gworld_ptr w(Scan_Colour_World(scan.get()));
        if (w) out.unit = Pixels_Of(w->pix);
        return out;
    };
    const a_pictures shown = draw("shown");
    Set_Flag(u.oj.list[u.oj.nlist], VISIBLE_FLAG, false);
    const a_pictures hidden = draw("hidden");
    (void)File_Remove_Tree(folder);

    // The export is the unit at 300 dpi; the preview fits the sheet into
    // 140 x 190 pixels, the unit where its millimetres fall.
    const Rect pb = u.paintbounds;
    EXPECT_EQ(Rect_Width(Print_Unit_Bounds(1, 300)), shown.unit.width);
    const double e = double(shown.unit.width) / Rect_Width(pb);
    const Rect in_export{int16_t((om.bbox.top - pb.top) * e), int16_t((om.bbox.left - pb.left) * e),
                         int16_t((om.bbox.bottom - pb.top) * e + 1), int16_t((om.bbox.right - pb.left) * e + 1)};
    EXPECT_TRUE(Differs_Only_Inside(shown.unit, hidden.unit, in_export, 2));
    const double k = std::min(140.0 / t.papersize.x, 190.0 / t.papersize.y);
    const a_frect& mm = t.units[1].bbox;
    const double cell_x = (mm.right - mm.left) * k / Rect_Width(pb), cell_y = (mm.bottom - mm.top) * k / Rect_Height(pb);
    const Rect in_preview{int16_t(mm.top * k + (om.bbox.top - pb.top) * cell_y),
                          int16_t(mm.left * k + (om.bbox.left - pb.left) * cell_x),
                          int16_t(mm.top * k + (om.bbox.bottom - pb.top) * cell_y + 1),
                          int16_t(mm.left * k + (om.bbox.right - pb.left) * cell_x + 1)};
    EXPECT_TRUE(Differs_Only_Inside(shown.preview, hidden.preview, in_preview, 2));
    Doc_Dispose();
    Text_Stop();
}

// Opening as the window does: the project shows in the editing phase, and
// what could not be restored is told once; a cancelled question changes
// nothing; an unreadable file leaves the start screen.
TEST_F(Disc, OpeningFromTheWindowShowsTheProjectAndTellsWhatIsMissing) {
    const a_phase phase_before = gs.curr_phase;
    const std::string path = folder_ + "/Party.cd4";
    // A linked picture kept without its bytes, whose file then goes.
    const std::string gone = folder_ + "/gone.jpg";
    Add_File_Photo(3, gone, Jpeg_Bytes(8, 8), false);
    ASSERT_EQ(Write_DISC(path), 0);
    ASSERT_TRUE(File_Remove(gone));
    g_doc.doc_changed = true;
    Phase_Set(NODOC_PHASE);

    Dialog_ScriptAnswers({2});  // Cancel at "Save changes ... before opening"
    Open_Project_Command(path);
    EXPECT_TRUE(g_doc.doc_changed);
    EXPECT_EQ(gs.curr_phase, NODOC_PHASE);
    ASSERT_EQ(Dialog_History().size(), 1u);

    Dialog_ScriptAnswers({1});  // Don't Save
    Open_Project_Command(path);
    ASSERT_TRUE(g_doc.doc_open);
    EXPECT_FALSE(g_doc.doc_changed);
    EXPECT_EQ(g_doc.doc_path.name, path);
    EXPECT_EQ(gs.curr_phase, CANVAS_PHASE);
    ASSERT_EQ(Dialog_History().size(), 2u);
    EXPECT_NE(Dialog_History()[1].message.find("Party.cd4:"), std::string::npos);
    EXPECT_NE(Dialog_History()[1].message.find("could not be found"), std::string::npos);

    const a_bytes junk(100, 0x11);
    ASSERT_TRUE(File_SaveAtomic(folder_ + "/junk.cd4", junk.data(), junk.size()));
    Dialog_ScriptAnswers({});
    Open_Project_Command(folder_ + "/junk.cd4");
    // Refused with its alert; the project that was open stays, on its own file.
    ASSERT_TRUE(g_doc.doc_open);
    EXPECT_EQ(g_doc.doc_path.name, path);
    EXPECT_EQ(gs.curr_phase, CANVAS_PHASE);
    Phase_Set(phase_before);
}

// Each kept fixture: an older form opens with the blocks it holds, each
// damage is refused with its own defect; and the fixture writer still makes
// files that read the same way.
TEST(DiscFixtures, OldFormsOpenAndEachDamageIsRefusedWithItsDefect) {
    a_signals_guard guard;
    Dialog_SetQuiet(true);
    const std::string dir = std::string(CIRQUEL_TEST_DATA) + "/projects/";
    std::vector<a_project_fixture> fixtures = Project_Fixtures();
    ASSERT_GE(fixtures.size(), 12u);
    for (a_project_fixture& f : fixtures) {
        a_bytes kept;
        ASSERT_TRUE(File_ReadAll(dir + f.name, kept)) << f.name;
        for (bool from_file : {true, false}) {
            const bool ok = from_file ? Read_DISC(false, dir + f.name) : Read_DISC_Bytes(f.bytes, "");
            const std::string what = f.name + (from_file ? " (kept)" : " (made now)");
            if (f.defect >= 0) {
                EXPECT_FALSE(ok) << what;
                EXPECT_TRUE(Has_Defect(Disc_Report().defects, a_defect(f.defect))) << what;
                EXPECT_FALSE(g_doc.doc_open) << what;
                continue;
            }
            ASSERT_TRUE(ok) << what << ": defects " << Disc_Report().defects;
            ASSERT_EQ(g_doc.doc_template.nunits, 2u) << what;
            EXPECT_TRUE(g_doc.doc_units[2]->clonef) << what;
            EXPECT_TRUE(g_doc.doc_units[1]->paintinuse) << what;
            std::string kinds;
            const a_oj_master& oj = g_doc.doc_units[1]->oj;
            for (int i = 1; i <= oj.nlist; ++i) kinds += char('0' + oj.list[i].kind);
            const bool v1 = f.name == "v8_table_v1.cd4";
            EXPECT_EQ(kinds, v1 ? "40001" : "400013") << what;  // paint, photos, symbol[, text]
            EXPECT_EQ(Disc_Report().missing_pictures, 0) << what;
            if (!v1) {
                EXPECT_EQ(oj.list[6].om->xyl[1].cc_char, u'S') << what;
            }
            if (f.name == "v8_text_v1.cd4") {
                // 15-byte characters: code, layout position and category kept,
                // the dropped words and every other field not taken.
                const a_om_rec& om = *oj.list[6].om;
                ASSERT_EQ(om.nxyl, 7) << what;
                EXPECT_EQ(std::u16string(u"Side A"), std::u16string({om.xyl[1].cc_char, om.xyl[2].cc_char,
                                                    om.xyl[3].cc_char, om.xyl[4].cc_char,
                                                    om.xyl[5].cc_char, om.xyl[6].cc_char})) << what;
                EXPECT_EQ(om.xyl[3].mm_x, Project_Fixture_Old_X(3)) << what;
                EXPECT_EQ(om.xyl[3].mm_y, 40) << what;
                EXPECT_EQ(om.xyl[3].cc_fontx, 0u) << what;
                EXPECT_EQ(om.xyl[7].mm_cat, CC_EOS) << what;
            }
            Doc_Dispose();
        }
    }
    Cache_Clear();
}

// Writes the kept fixtures; run on purpose with
// --gtest_also_run_disabled_tests --gtest_filter='*WriteProjectFixtures'.
TEST(DiscFixtures, DISABLED_WriteProjectFixtures) {
    const std::string dir = std::string(CIRQUEL_TEST_DATA) + "/projects";
    ASSERT_TRUE(Folder_Create(dir));
    for (const a_project_fixture& f : Project_Fixtures())
        EXPECT_TRUE(File_SaveAtomic(dir + "/" + f.name, f.bytes.data(), f.bytes.size())) << f.name;
}

}  // namespace
