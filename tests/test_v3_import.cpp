// Importing projects of the previous major version into the current unit.
// The fixtures come from our own writer (v7_fixtures); the expected places
// and sizes are worked out by hand from the old kinds' picture sizes and the
// old point sizes.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "artdb_fixtures.h"
#include "model/document.h"
#include "model/history.h"
#include "model/notices.h"
#include "persist/disc_read.h"
#include "persist/disc_write.h"
#include "persist/file_cmds.h"
#include "persist/v3_import.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "golden_image.h"
#include "render/compositor.h"
#include "render/effects_cache.h"
#include "text/text_blocks.h"
#include "v7_fixtures.h"

namespace {

using a_bytes = std::vector<uint8_t>;

// A pale sky from top to bottom: the old canvas in the art database.
std::vector<uint8_t> Sky(int n) {
    std::vector<uint8_t> px(size_t(n) * n * 4);
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            uint8_t* p = &px[(size_t(y) * n + x) * 4];
            p[0] = 255, p[1] = uint8_t(200 + y / 2), p[2] = uint8_t(150 + y), p[3] = 255;
        }
    return px;
}

class V3Import : public testing::Test {
protected:
    void SetUp() override {
        Dialog_SetQuiet(true);
        folder_ = Temp_Folder() + "/v3_test_" + testing::UnitTest::GetInstance()->current_test_info()->name();
        ASSERT_TRUE(Folder_Create(folder_));
        a_template t;
        t.nunits = 2;
        std::strcpy(t.label, "a disc and a booklet");
        t.papersize = {210, 297};
        t.units[1].kind = UNIT_CD;
        t.units[1].bbox = {10, 10, 130, 130};  // 120 mm: 1200 x 1200 cells
        t.units[2].kind = UNIT_RECT;
        t.units[2].bbox = {10, 140, 130, 258};  // 120 x 118 mm
        Doc_New(t);
        // Canvas 3.1 has a square picture only, which a disc borrows.
        const std::vector<uint8_t> picture = Picture_Record(64, 64, 32, Sky(64), a_pixt_codec::RAW);
        ASSERT_EQ(Open_Db(Db_Bytes({Entry({2, 1, 3, 1}, picture), Entry({1, 1, 3, 1}, picture)})), OPEN_OKAY);
    }
    void TearDown() override {
        OP_CloseNewest();
        Doc_Dispose();
        Cache_Clear();
        (void)File_Remove_Tree(folder_);
    }
    std::string Put(const std::string& name, const a_bytes& bytes) {
        const std::string path = folder_ + "/" + name;
        EXPECT_TRUE(File_SaveAtomic(path, bytes.data(), bytes.size()));
        return path;
    }
    static a_bytes Fingerprint() {
        a_bytes out;
        EXPECT_EQ(Write_DISC_Bytes(out), 0);
        out.erase(out.begin(), out.begin() + std::min<size_t>(out.size(), 4));
        return out;
    }
    std::string folder_;
};

const a_om_rec& Text_At(int i) { return *g_doc.up->oj.list[i].om; }
uint8_t Mask_At(int v, int h) {
    const PixMap& m = g_doc.up->static_[PAINT1_LAYER].mask->pix;
    return PixMap_Row(m, v)[h - m.bounds.left];
}
uint32_t Paint_At(int v, int h) {
    const PixMap& m = g_doc.up->static_[PAINT1_LAYER].world->pix;
    return reinterpret_cast<const uint32_t*>(PixMap_Row(m, v))[h - m.bounds.left] & 0xFFFFFF;
}

// What one old kind's sample (V7_Sample) becomes on the 1200-cell disc:
// places by each axis, sizes by the old picture's height.
struct a_expected {
    const char* fixture;
    Point title;      // the title's anchor
    int16_t title_size, round_size;
    int16_t scaling;  // the photo's, per mille
    Point photo;      // its centre
};

}  // namespace

// Every class of old kind lands on the disc with its paint, its two texts
// over its photo, the old styles carried over and the old canvas found for
// the disc's shape; one undo takes it all back.
TEST_F(V3Import, EachOldKindLandsOnTheUnitAtItsMappedPlacesAndSizes) {
    // 72 pt and 22 pt of old picture heights 640, 640, 870, 167 onto 120 mm
    // (340.16 pt): round(72 / 640 * 340.16) = 38 and so on; photos at 50 %
    // are 500 per mille times 1200 / height; title at (h/4, w/2), photo at
    // (h/2, w/4), each coordinate a share of its own side.
    const a_expected cases[] = {
        {"square.cd4", {300, 600}, 38, 12, 938, {600, 300}},
        {"wide.cd4", {300, 600}, 38, 12, 938, {600, 300}},
        {"tall.cd4", {299, 600}, 28, 9, 690, {600, 300}},  // 217 of 870: 299.3
        {"strip.cd4", {295, 600}, 147, 45, 3593, {596, 300}},  // 41 of 167: 294.6
        {"version2.cd4", {300, 600}, 49, 15, 1190, {600, 300}},  // 640 x 504
        {"version1.cd4", {300, 600}, 49, 15, 1190, {600, 300}},
    };
    std::vector<a_v7_fixture> fixtures = V7_Fixtures();
    const auto sheet = std::make_unique<a_template>(g_doc.doc_template);
    for (const a_expected& e : cases) {
        SCOPED_TRACE(e.fixture);
        Doc_New(*sheet);
        Select_Doc_Unit(1);
        History_Base();
        const a_bytes before = Fingerprint();
        const a_v7_fixture* f = nullptr;
        for (const a_v7_fixture& x : fixtures)
            if (x.name == e.fixture) f = &x;
        ASSERT_NE(f, nullptr);
        ASSERT_TRUE(Do_Import_Cirquel(Put(f->name, f->bytes)));
        EXPECT_EQ(Disc_Report().defects & ~(1u << DEFECT_FONT_NOTAVAIL), 0u);
        const a_oj_master& oj = g_doc.up->oj;
        ASSERT_EQ(oj.nlist, 4);  // paint block, photo, title, circle
        ASSERT_EQ(oj.list[2].kind, PHOTO_BLOCK);
        const a_om_rec &title = Text_At(3), &round = Text_At(4);
        EXPECT_EQ(title.anchor, e.title);
        EXPECT_EQ(title.size, e.title_size);
        EXPECT_EQ(round.size, e.round_size);
        EXPECT_EQ(title.layout, LAYOUT_HORZ);
        EXPECT_EQ(title.justify, JUST_CENTER);
        EXPECT_TRUE(title.boldf);
        EXPECT_EQ(title.base_color.r, 200);
        EXPECT_EQ(OM_To_Str(title), u"Summer\r\n\u00e4\u00e9 t\u00c8");
        EXPECT_EQ(round.fontx, 1u);  // old font 2 is not in the table
        const bool v3 = std::string(e.fixture).find("version") == std::string::npos;
        if (v3) {
            // A clockwise circle at 45 degrees, radius 95 % of the old
            // picture's half height: the same share of the disc.
            EXPECT_EQ(round.layout, LAYOUT_CIRC_CW);
            EXPECT_EQ(round.polarangle, -45);
            EXPECT_NEAR(round.radius, 95, 1);
            EXPECT_TRUE(title.shadf);
            EXPECT_EQ(title.shad_dx, 3);
            EXPECT_EQ(title.shad_color.b, 80);
        } else {
            // Older records: no effects (the controls' defaults), the anchor
            // stored four times over.
            EXPECT_EQ(round.layout, std::string(e.fixture) == "version1.cd4" ? LAYOUT_90 : LAYOUT_CIRC_CW);
            EXPECT_FALSE(title.shadf);
            EXPECT_EQ(title.shad_dx, 4);
        }
        const a_ph_rec& photo = *oj.list[2].ph;
        EXPECT_EQ(photo.dst_center, e.photo);
        EXPECT_EQ(photo.spec.scalingh, e.scaling);
        EXPECT_EQ(photo.spec.angle, 300);
        EXPECT_TRUE(photo.spec.flipx);
        EXPECT_EQ(photo.spec.opacity, v3 ? 81 : 100);  // 80 of 0..100 onto 6..100; version 1 has none
        EXPECT_EQ(photo.spec.source.kind, SOURCE_CLIPBOARD);
        EXPECT_FALSE(Rect_IsEmpty(photo.dst_box));
        EXPECT_EQ(Disc_Report().missing_pictures, 0);
        // The lower right quarter of the old picture painted blue.
        ASSERT_TRUE(g_doc.up->paintinuse);
        EXPECT_EQ(Mask_At(900, 900), 255);
        EXPECT_EQ(Paint_At(900, 900), 0x0000FFu);
        EXPECT_EQ(Mask_At(300, 900), 0);
        EXPECT_EQ(Mask_At(900, 300), 0);
        // "Golden lights", turned five quarters (one), darkness 40.
        const a_canvas_spec& cv = g_doc.up->canv.cv;
        EXPECT_EQ(cv.canvas_key, (a_keyset{2, 0, 3, 1}));
        EXPECT_EQ(cv.canvas_nrot, 1);
        EXPECT_EQ(cv.canvas_darkness, v3 ? 40 : 50);  // version 2 and 1 fixtures store none
        a_history_op redo_op = OP_NOP, undo_op = OP_NOP;
        Is_Undo_Avail(redo_op, undo_op);
        EXPECT_EQ(undo_op, OP_IMPORT);
        Undo_Silent();
        EXPECT_EQ(Fingerprint(), before);
    }
}

// On another shape: the strip onto the 118 mm booklet page keeps its text
// at the share of the height (round(72 / 167 * 334.5) = 144), and a wide
// picture painted whole covers the whole disc, corners included.
TEST_F(V3Import, PaintCoversTheUnitAndSizesFollowItsHeight) {
    Select_Doc_Unit(2);
    const Rect page = g_doc.up->paintbounds;
    ASSERT_TRUE(Do_Import_Cirquel(Put("strip.cd4", Write_V7(V7_Sample(13)))));
    const a_om_rec& title = Text_At(3);
    EXPECT_EQ(title.size, 144);  // 72 / 167 * 118 * 72 / 25.4 = 144.2
    // (41, 640) of 167 x 1280 onto 1394 x 1417 cells: (342.2, 708.5).
    ASSERT_EQ(page, (Rect{0, 0, 1394, 1417}));
    EXPECT_EQ(title.anchor, (Point{342, 709}));

    Select_Doc_Unit(1);
    a_v7_project wide = V7_Sample(5);
    wide.painted = Rect{0, 0, 640, 1280};
    wide.texts.clear();
    wide.photos.clear();
    ASSERT_TRUE(Do_Import_Cirquel(Put("wide.cd4", Write_V7(wide))));
    EXPECT_EQ(g_doc.up->oj.nlist, 1);
    for (Point p : {Point{0, 0}, Point{1199, 1199}, Point{0, 1199}, Point{600, 600}}) EXPECT_EQ(Mask_At(p.v, p.h), 255);

    // A photo linked to a file that is nowhere, not even beside the old
    // project: placed all the same, shown as missing.
    Select_Doc_Unit(2);
    a_v7_project linked = V7_Sample(0);
    linked.texts.clear();
    linked.photos[0].source = 2;
    linked.photos[0].path = "/nowhere/gone/picture.png";
    linked.painted = Rect{};
    const std::string old = Put("linked.cd4", Write_V7(linked));
    const int before = g_doc.up->oj.nlist;
    ASSERT_TRUE(Do_Import_Cirquel(old));
    EXPECT_EQ(Disc_Report().missing_pictures, 1);  // no such file anywhere: shown as missing
    EXPECT_EQ(g_doc.up->oj.nlist, before + 1);
}

// Every damaged fixture is refused with its defect and the alert, and the
// document is as it was; a unit that cannot take the blocks refuses too.
TEST_F(V3Import, DamagedFilesChangeNothing) {
    Select_Doc_Unit(1);
    ASSERT_TRUE(Do_Import_Cirquel(Put("first.cd4", Write_V7(V7_Sample(0)))));
    const a_bytes before = Fingerprint();
    int damaged = 0;
    for (const a_v7_fixture& f : V7_Fixtures()) {
        if (f.defect < 0) continue;
        SCOPED_TRACE(f.name);
        ++damaged;
        a_bytes bytes = f.bytes;
        a_v3_project p;
        a_defect_set d = 0;
        EXPECT_FALSE(Read_V3_Bytes(bytes, p, d));
        EXPECT_TRUE(Has_Defect(d, a_defect(f.defect))) << d;
        EXPECT_FALSE(Do_Import_Cirquel(Put(f.name, f.bytes)));
        EXPECT_EQ(Fingerprint(), before);
    }
    EXPECT_GE(damaged, 10);
    // 399 blocks: three more do not fit.
    while (g_doc.up->oj.nlist < MAXNOBJECTS - 1) {
        a_oj_item it;
        it.objid = NextUniqueID();
        it.kind = SLOT_BLOCK;
        it.ph = New_PH_Rec();
        ASSERT_TRUE(OMast_Append(g_doc.up->oj, it));
    }
    const a_bytes full = Fingerprint();
    EXPECT_FALSE(Do_Import_Cirquel(Put("more.cd4", Write_V7(V7_Sample(0)))));
    EXPECT_EQ(Fingerprint(), full);
    // Opened instead of imported, an old project is not read at all.
    EXPECT_FALSE(Read_DISC(false, folder_ + "/more.cd4"));
    EXPECT_TRUE(Has_Defect(Disc_Report().defects, DEFECT_FILE_VERSION));
}

// The old size table ends at its ends (202 is followed by 245); carriage
// returns get their line feed, the end mark ends the text, and text stops
// at 3999 units.
TEST(V3Tables, SizesAndCharacters) {
    EXPECT_EQ(SliderToPoints(31), 245);
    EXPECT_EQ(SliderToPoints(-3), 9);
    EXPECT_EQ(SliderToPoints(99), 358);
    EXPECT_EQ(V3_OM_To_Str({'a', 13, 'b', 13, 10, 0xA5, 1, 'z'}), u"a\r\nb\r\n\u2022");
    std::vector<uint8_t> lines;
    for (int i = 0; i < 3000; ++i) lines.insert(lines.end(), {'x', 13});
    EXPECT_EQ(V3_OM_To_Str(lines).size(), 3999u);
    // The Part's example: 72 points on a 640-pixel picture into 118 mm.
    a_v3_text t;
    t.size_index = 20;
    a_v3_mapping m{Rect{0, 0, 640, 640}, Rect{0, 0, 1394, 1417}, 118 * 72 / 25.4};
    a_om_rec* om = New_OM_Rec();
    V3_Text_Convert(t, m, 1, Point{}, *om);
    EXPECT_EQ(om->size, 38);
    delete om;
}

// Two imported labels as they print (as cirquel-cli import-old draws them):
// the square old project on the disc, the jewel-case one (810 x 640) on
// the booklet page.
TEST_F(V3Import, ImportedLabelsAsTheyPrint) {
    const struct {
        uint32_t unit;
        uint8_t kind;
        const char* golden;
    } labels[] = {{1, 0, "v3_import_disc"}, {2, 3, "v3_import_booklet"}};
    for (const auto& l : labels) {
        SCOPED_TRACE(l.golden);
        Select_Doc_Unit(l.unit);
        ASSERT_TRUE(Do_Import_Cirquel(Put(std::string(l.golden) + ".cd4", Write_V7(V7_Sample(l.kind)))));
        GWorld* w = nullptr;
        Render_Unit_Print(l.unit, *Design_Unit(l.unit), Unit_Print_Bounds(l.unit, 300), w);
        a_gworld_ptr world(w);
        ASSERT_TRUE(world);
        EXPECT_TRUE(Matches_Golden(l.golden, World_Bits(world.get())));
    }
}
