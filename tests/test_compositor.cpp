// The unit composite: the incrementally kept screen picture agrees with a
// full rebuild after any edit; zoom, hidden blocks, outer masks and print.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <numbers>
#include <random>
#include <vector>

#include "artdb_fixtures.h"
#include "block_fixtures.h"
#include "effects_fixtures.h"
#include "golden_image.h"
#include "images/image_files.h"
#include "images/photo_blocks.h"
#include "images/photo_draw.h"
#include "model/arrange.h"
#include "model/block_moves.h"
#include "model/history.h"
#include "pixels/blit.h"
#include "render/compositor.h"
#include "render/effects_cache.h"
#include "render/canvas.h"
#include "render/outer_mask.h"
#include "persist/design_file.h"
#include "platform/files.h"
#include "platform/private_folder.h"
#include "text/om_render.h"
#include "text/text_edit.h"
#include "text_fixtures.h"

namespace {

// A picture with structure: a colour ramp inside a soft-edged disc.
a_masked_gworld Ramp_MW(int w, int h, uint32_t tint) {
    a_masked_gworld mw = Solid_MW(w, h, tint, true, 0);
    for (int y = 0; y < h; ++y) {
        uint32_t* c = reinterpret_cast<uint32_t*>(PixMap_Row(mw.fore->pix, y));
        uint8_t* m = PixMap_Row(mw.mask->pix, y);
        for (int x = 0; x < w; ++x) {
            c[x] = (tint & 0xFF00FF) | uint32_t((x * 255 / w) << 8);
            double dx = (x - w / 2.0) / (w / 2.0), dy = (y - h / 2.0) / (h / 2.0);
            double d = dx * dx + dy * dy;
            m[x] = d >= 1 ? 0 : uint8_t(255 * std::min(1.0, (1 - d) * 3));
        }
    }
    return mw;
}

// Equal pictures, or where the first difference is.
testing::AssertionResult Same(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b) {
    if (a.size() != b.size()) return testing::AssertionFailure() << "sizes " << a.size() << ", " << b.size();
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i])
            return testing::AssertionFailure() << "pixel " << i << ": " << std::hex << a[i] << " against " << b[i];
    return testing::AssertionSuccess();
}

std::vector<uint32_t> Pixels(const GWorld* w) {
    std::vector<uint32_t> out;
    const Rect b = Get_GWorld_Bounds(w);
    for (int y = 0; y < Rect_Height(b); ++y) {
        const uint32_t* row = reinterpret_cast<const uint32_t*>(PixMap_Row(w->pix, y));
        for (int x = 0; x < Rect_Width(b); ++x) out.push_back(row[x] & 0xFFFFFF);
    }
    return out;
}

// The text module's services for one test.
struct a_text_module_scope {
    a_text_module_scope() { Text_Init(); }
    ~a_text_module_scope() { Text_Stop(); }
};

// A circular text block on the current unit: black letters with a blue glow.
int Add_Circular_Text(a_doc_unit& u, const char16_t* s, int size) {
    a_oj_item it;
    it.objid = NextUniqueID();
    it.kind = TEXT_BLOCK;
    it.om = New_OM_Rec();
    Set_Flag(it, VISIBLE_FLAG, true);
    EXPECT_TRUE(OMast_Append(u.oj, it));
    a_om_rec& om = *it.om;
    om.fontx = uint32_t(Need_Font(u"DejaVu Sans"));
    om.layout = LAYOUT_CIRC_CW;
    om.size = int16_t(size);
    om.radius = 80;
    om.rotcenter = Rect_Centre(u.paintbounds);
    om.glowf = true;
    om.glow_color = a_win_pixel32{255, 120, 0, 0};
    UniStr_To_OM(om, s);
    Unit_PostRender(u);
    return u.oj.nlist;
}

// Every drawn character has a dark letter pixel near its middle in `w`,
// whose cells map through m.
testing::AssertionResult Letters_Where_Laid_Out(const a_om_rec& om, const GWorld* w,
                                                const a_coord_mapping& m) {
    const Rect b = Get_GWorld_Bounds(w);
    int checked = 0;
    for (int i = 1; i < om.nxyl; ++i) {
        const a_xyl_char& c = om.xyl[i];
        if (c.mm_cat != CC_REGULAR || c.mm_width <= 0) continue;
        const double a = c.mm_t / 10.0 * std::numbers::pi / 180, half = c.mm_width / 2.0;
        // Half the advance along the baseline, as far up (counter-clockwise on screen).
        const double cx = c.mm_x + half * std::cos(a) - half * std::sin(a);
        const double cy = c.mm_y - half * std::sin(a) - half * std::cos(a);
        const int px = int(std::lround(m.originx + m.multx * (cx - m.fdecx)));
        const int py = int(std::lround(m.originy + m.multy * (cy - m.fdecy)));
        const int r = std::max(2, int(half * m.multx));
        bool dark = false;
        for (int y = std::max(py - r, int(b.top)); y < std::min(py + r, int(b.bottom)) && !dark; ++y)
            for (int x = std::max(px - r, int(b.left)); x < std::min(px + r, int(b.right)); ++x)
                if ((Pixel32(w, x - b.left, y - b.top) & 0xFFFFFF) == 0) dark = true;
        if (!dark) return testing::AssertionFailure() << "no letter near character " << i << " at " << px << ", " << py;
        ++checked;
    }
    if (checked < 5) return testing::AssertionFailure() << "only " << checked << " characters laid out";
    return testing::AssertionSuccess();
}

class Compositor : public BlockTest {
protected:
    void SetUp() override {
        BlockTest::SetUp();
        Photo_Draw_Init();
        Default_Canvas(UNIT_CD, U().canv.cv);
        g_merge_zoom = a_ratio{};
        g_ed = a_edit_rec{};
    }
    void TearDown() override {
        g_ed = a_edit_rec{};
        Photo_Draw_Stop();
        BlockTest::TearDown();
        Cache_Clear();
        g_merge_zoom = a_ratio{};
    }
    void New_Rect_Doc() {
        Doc_New(*One_Unit_Template(false));
        Default_Canvas(UNIT_RECT, U().canv.cv);
    }
    int Paste(int w, int h, uint32_t tint) {
        a_masked_gworld mw = Ramp_MW(w, h, tint);
        EXPECT_TRUE(Photo_Paste(SOURCE_CLIPBOARD, mw));
        return U().oj.nlist;
    }
    GWorld* Merge() {
        Rect b;
        GWorld* w = nullptr;
        Current_Unit_Merge_Check(b, w);
        return w;
    }
    // The picture a full rebuild gives now.
    std::vector<uint32_t> Full() {
        Unit_PostRender(U());
        return Pixels(Merge());
    }
    int Photo_Count() {
        int n = 0;
        for (int i = 1; i <= U().oj.nlist; ++i) n += Item(i).ph != nullptr;
        return n;
    }
    int Random_Photo(std::mt19937& rng) {
        std::vector<int> ph;
        for (int i = 1; i <= U().oj.nlist; ++i)
            if (Item(i).ph) ph.push_back(i);
        return ph[rng() % ph.size()];
    }
    void Move_Photo(int omx, std::mt19937& rng) {
        Obj_PostRender(omx);
        Obj_Move_XY(omx, int(rng() % 121) - 60, int(rng() % 121) - 60);
        Obj_PostRender(omx);
    }
    void Tint_Canvas(int dist, int hue) {
        U().canv.cv.canvas_key = a_keyset{2, 0, 1, 1};
        U().canv.cv.canvas_color_dist = int16_t(dist);
        U().canv.cv.canvas_color_hue = int16_t(hue);
        Curr_Unit_PostRender();
    }
    void Random_Edit(std::mt19937& rng) {
        switch (rng() % 6) {
            case 0:
            case 1:
                Move_Photo(Random_Photo(rng), rng);
                break;
            case 2: {  // restack
                int a = Random_Photo(rng), b = 1 + int(rng() % U().oj.nlist);
                Layer_Arrange(a, b);
                break;
            }
            case 3: {  // add: a picture or a block whose picture is missing
                if (rng() % 2)
                    Paste(40 + int(rng() % 200), 40 + int(rng() % 200), rng() & 0xFFFFFF);
                else
                    Obj_PostRender(Add(Box_At(int(rng() % 400), int(rng() % 400), 90, 60)));
                break;
            }
            case 4:  // delete
                if (Photo_Count() > 1) {
                    Select({Random_Photo(rng)});
                    Enum_Obj_Del();
                }
                break;
            case 5: {
                const int dist = int(rng() % 72);
                Tint_Canvas(dist, int(rng() % 360));
                break;
            }
        }
    }
};

}  // namespace

TEST_F(Compositor, IncrementalCompositeEqualsAFullRebuildAfterRandomEdits) {
    for (int zoom : {100, 50}) {
        g_merge_zoom = a_ratio{int16_t(zoom), 100};
        std::mt19937 rng(1234u + unsigned(zoom));
        Paste(300, 200, 0xC02040);
        Paste(150, 250, 0x2040C0);
        Merge();
        for (int step = 0; step < 40; ++step) {
            Random_Edit(rng);
            std::vector<uint32_t> incremental = Pixels(Merge());
            ASSERT_TRUE(Same(incremental, Full())) << "zoom " << zoom << ", edit " << step;
        }
        OMast_Dispose(U().oj);
    }
}

// Undo and redo restore the document from their files; the picture on screen
// must follow through the incremental path, not only after a full rebuild.
TEST_F(Compositor, UndoAndRedoShowThePicturesOfTheirSteps) {
    namespace fs = std::filesystem;
    const fs::path runtime = fs::temp_directory_path() / ("compositor_undo_" + std::to_string(::getpid()));
    fs::remove_all(runtime);
    fs::create_directory(runtime);
    fs::permissions(runtime, fs::perms::owner_all);
    ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    Private_Folder_Remove();
    g_doc_services.history_emit = {};  // the real recording replaces the fixture's list
    History_Init();
    g_merge_zoom = a_ratio{1, 2};
    Paste(300, 200, 0xC02040);
    Paste(150, 250, 0x2040C0);
    std::vector<std::vector<uint32_t>> pictures{Pixels(Merge())};
    std::mt19937 rng(99);
    for (int step = 0; step < 12; ++step) {
        const int omx = Random_Photo(rng);
        switch (step % 3) {
            case 0:
                Move_Photo(omx, rng);
                History_Emit(OP_BLOCK_MOVEXY);
                break;
            case 1: {
                const int dist = int(10 + rng() % 60);
                Tint_Canvas(dist, int(rng() % 360));
                History_Emit(OP_CANVAS_ADJUST);
                break;
            }
            default:  // show or hide a picture
                Set_Flag(Item(omx), VISIBLE_FLAG, !Has_Flag(Item(omx), VISIBLE_FLAG));
                Obj_PostRender(omx);
                History_Emit(OP_PHOTO_ADJUST);
        }
        pictures.push_back(Pixels(Merge()));
    }
    for (int k = 11; k >= 0; --k) {
        Undo_Button();
        ASSERT_TRUE(Same(Pixels(Merge()), pictures[size_t(k)])) << "undo to step " << k;
    }
    for (int k = 1; k <= 12; ++k) {
        Redo_Button();
        ASSERT_TRUE(Same(Pixels(Merge()), pictures[size_t(k)])) << "redo to step " << k;
    }
    History_Stop();
    ::unsetenv("XDG_RUNTIME_DIR");
    fs::remove_all(runtime);
}

TEST_F(Compositor, ZoomRebuildsOnceAndAnUnchangedMergeDoesNothing) {
    Paste(200, 200, 0x20C040);
    GWorld* w = Merge();
    EXPECT_EQ(Get_GWorld_Bounds(w), U().paintbounds);
    EXPECT_TRUE(Rect_IsEmpty(U().render_dirty));
    g_merge_zoom = a_ratio{1, 2};
    w = Merge();
    EXPECT_EQ(Rect_Width(Get_GWorld_Bounds(w)), Rect_Width(U().paintbounds) / 2);
    // Scribble over the layer: a second merge must not draw again.
    PixMap32_Fill(w->pix, Rect{0, 0, 5, 5}, 0x123456);
    U().refresh_dirty = Rect{};
    EXPECT_EQ(Merge(), w);
    EXPECT_EQ(Pixel32(w, 2, 2), 0x123456u);
    EXPECT_TRUE(Rect_IsEmpty(U().refresh_dirty));
}

// A clone holds no design: made current, it shows its master's composite
// (drawing its own empty record would fail on its blank canvas).
TEST_F(Compositor, ACurrentCloneShowsItsMastersComposite) {
    auto t = One_Unit_Template(true);
    t->nunits = 2;
    t->units[2] = t->units[1];
    t->units[2].bbox = {50, 0, 90, 40};
    Doc_New(*t);
    Default_Canvas(UNIT_CD, U().canv.cv);
    ASSERT_TRUE(g_doc.doc_units[2]->clonef);
    Paste(120, 90, 0xC02040);
    std::vector<uint32_t> master = Pixels(Merge());
    Select_Doc_Unit(2);
    GWorld* shown = Merge();
    ASSERT_NE(shown, nullptr);
    EXPECT_TRUE(Same(Pixels(shown), master));
    Current_Unit_UpToDate();
    EXPECT_TRUE(Rect_IsEmpty(g_doc.doc_units[1]->refresh_dirty));
}

// Hidden blocks, a picture or text, are neither shown nor printed.
TEST_F(Compositor, CircularTextWithGlowShowsWhereLaidOutAndHiddenBlocksNowhere) {
    a_text_module_scope text_module;
    g_merge_zoom = a_ratio{1, 2};
    std::vector<uint32_t> empty = Pixels(Merge());
    GWorld* p = nullptr;
    Render_Unit_Print(1, U(), U().paintbounds, p);
    std::vector<uint32_t> empty_print = Pixels(p);
    const int photo = Paste(300, 300, 0xC02040);
    Set_Flag(Item(photo), VISIBLE_FLAG, false);
    Curr_Unit_PostRender();
    EXPECT_TRUE(Same(Pixels(Merge()), empty));
    Render_Unit_Print(1, U(), U().paintbounds, p);
    EXPECT_TRUE(Same(Pixels(p), empty_print));

    const int omx = Add_Circular_Text(U(), u"Summer Holiday", 10);
    GWorld* w = Merge();
    const a_om_rec& om = *Item(omx).om;
    const a_coord_mapping m = Unit_Layer_Mapping(U(), Get_GWorld_Bounds(w));
    EXPECT_TRUE(Letters_Where_Laid_Out(om, w, m));
    // Letters and glow stay inside the block's box.
    const Rect box = Rect_Inset(Cells_To_Pixels(m, om.bbox), -2);
    std::vector<uint32_t> now = Pixels(w);
    const int width = Rect_Width(Get_GWorld_Bounds(w));
    int changed = 0;
    for (size_t i = 0; i < now.size(); ++i)
        if (now[i] != empty[i]) {
            ++changed;
            const int y = int(i) / width, x = int(i) % width;
            ASSERT_TRUE(y >= box.top && y < box.bottom && x >= box.left && x < box.right) << x << ", " << y;
        }
    EXPECT_GT(changed, 100);
    // Printed afresh at full size: the same places.
    Render_Unit_Print(1, U(), U().paintbounds, p);
    EXPECT_TRUE(Letters_Where_Laid_Out(om, p, Unit_Layer_Mapping(U(), U().paintbounds)));

    Set_Flag(Item(omx), VISIBLE_FLAG, false);
    Curr_Unit_PostRender();
    EXPECT_TRUE(Same(Pixels(Merge()), empty));
    Render_Unit_Print(1, U(), U().paintbounds, p);
    EXPECT_TRUE(Same(Pixels(p), empty_print));
    Set_Flag(Item(photo), VISIBLE_FLAG, true);
    Curr_Unit_PostRender();
    EXPECT_FALSE(Same(Pixels(Merge()), empty));
    Dispose_GWorld(p);
}

// Editing counts positions from 1: selecting 2 .. 4 highlights the second
// and third characters and nothing of their neighbours.
TEST_F(Compositor, EditedTextHighlightsTheSelectedCharacters) {
    a_text_module_scope text_module;
    const int omx = Add_Circular_Text(U(), u"ABCDE", 24);
    a_om_rec& om = *Item(omx).om;
    om.layout = LAYOUT_HORZ;
    om.glowf = false;
    om.anchor = Point{150, 60};
    ASSERT_TRUE(Text_Edit(omx));
    Set_Sel_Range(4, 2);
    EXPECT_EQ(g_ed.sel_lo, 2);
    EXPECT_EQ(g_ed.sel_hi, 4);
    GWorld* w = Merge();
    const a_coord_mapping m = Unit_Layer_Mapping(U(), Get_GWorld_Bounds(w));
    const int size = int(om.xyl[1].mm_width);  // about the letters' size
    auto highlighted = [&](int i) {
        const a_xyl_char& c = om.xyl[i];
        const Rect span = Cells_To_Pixels(m, Rect{int16_t(c.mm_y - size / 2), int16_t(c.mm_x + 2),
                                                  int16_t(c.mm_y + 2), int16_t(c.mm_x + c.mm_width - 2)});
        int n = 0;
        for (int y = span.top; y < span.bottom; ++y)
            for (int x = span.left; x < span.right; ++x) n += Pixel32(w, x, y) == 0xFF5050;
        return n;
    };
    ASSERT_EQ(om.xyl[1].mm_cat, CC_REGULAR);
    EXPECT_EQ(highlighted(1), 0);
    EXPECT_GT(highlighted(2), 0);
    EXPECT_GT(highlighted(3), 0);
    EXPECT_EQ(highlighted(4), 0);
    Edit_Leave();
    w = Merge();
    EXPECT_EQ(highlighted(2), 0) << "the highlight stays after editing ends";
}

// While text is edited, its own changes redraw it over the kept picture of
// the rest; other changes rebuild that picture. Either way the screen equals
// a full rebuild.
TEST_F(Compositor, TypingWhileEditingEqualsAFullRebuild) {
    a_text_module_scope text_module;
    const int photo = Paste(300, 200, 0x20A040);
    const int omx = Add_Circular_Text(U(), u"Summer", 14);
    ASSERT_TRUE(Text_Edit(omx));
    Merge();
    std::mt19937 rng(7);
    for (int step = 0; step < 16; ++step) {
        const int n = Item(omx).om->nxyl;
        switch (rng() % 4) {
            case 0: Text_Inject_Unicode(step % 2 ? u"x" : u"\U0001F600"); break;
            case 1: Set_Sel_Range(1 + int(rng() % uint32_t(n)), 1 + int(rng() % uint32_t(n))); break;
            case 2: Text_Inject_Unicode(u""); break;  // the selection goes
            default:
                Obj_PostRender(photo);
                Obj_Move_XY(photo, 7, 3);
                Obj_PostRender(photo);
        }
        const std::vector<uint32_t> incremental = Pixels(Merge());
        ASSERT_TRUE(Same(incremental, Full())) << "step " << step;
    }
}

TEST_F(Compositor, OuterMaskWashesOnScreenAndWhitensInPrintOnlyOutsideTheShape) {
    Tint_Canvas(60, 0);  // a coloured canvas: the mask shows against it
    GWorld* screen = Merge();
    GWorld* outer = nullptr;
    GWorld* mask = nullptr;
    auto at = [&mask](int x, int y) {
        uint32_t v = 0xDEAD;
        EXPECT_TRUE(Get_GWorld_Pixel(mask, x, y, v)) << x << ", " << y;
        return v;
    };
    Calc_Outer_Mask(false, 1, U(), U().paintbounds, outer, mask);
    ASSERT_NE(mask, nullptr);
    const Point c = Rect_Centre(U().paintbounds);
    EXPECT_EQ(at(1, 1), 225u);
    EXPECT_EQ(at(c.h, c.v / 4 + c.v / 2), 0u);  // on the label
    Calc_Outer_Mask(true, 1, U(), U().paintbounds, outer, mask);
    EXPECT_EQ(at(1, 1), 255u);
    // Soft edges: the mask ramps up inside the disc's edge instead of starting there.
    const int edge_x = Rect_Width(U().paintbounds) - 8;
    EXPECT_EQ(at(edge_x, c.v), 0u);
    U().canv.cv.canvas_fuzz_out = 5;
    EXPECT_TRUE(Is_Unit_Fuzzed(U(), 1));
    Calc_Outer_Mask(false, 1, U(), U().paintbounds, outer, mask);
    EXPECT_GT(at(edge_x, c.v), 0u);
    EXPECT_EQ(at(1, 1), 225u);
    U().canv.cv.canvas_fuzz_out = 0;
    GWorld* print = nullptr;
    Render_Unit_Print(1, U(), U().paintbounds, print);
    EXPECT_EQ(Pixel32(print, 1, 1), 0xFFFFFFu);  // white outside in print
    EXPECT_NE(Pixel32(screen, 1, 1), 0xFFFFFFu);  // washed, not white, on screen
    EXPECT_EQ(Pixel32(print, c.h, c.v / 4 + c.v / 2), Pixel32(screen, c.h, c.v / 4 + c.v / 2));
    Dispose_GWorld(print);
    // A rectangle has none.
    New_Rect_Doc();
    Calc_Outer_Mask(false, 1, U(), U().paintbounds, outer, mask);
    EXPECT_EQ(outer, nullptr);
    EXPECT_EQ(mask, nullptr);
}

TEST_F(Compositor, PrintAtThreeHundredDpiMatchesTheScreenAtFullSize) {
    // A rectangle's cells are 300 dpi pixels: print and screen have one size.
    New_Rect_Doc();
    Paste(200, 160, 0xC02040);
    Paste(120, 220, 0x2040C0);
    Obj_Move_XY(U().oj.nlist, 50, 30);
    Curr_Unit_PostRender();
    std::vector<uint32_t> screen = Pixels(Merge());
    GWorld* print = nullptr;
    const Rect total = Unit_Print_Bounds(1, 300);
    ASSERT_EQ(total, U().paintbounds);
    Render_Unit_Print(1, U(), total, print);
    std::vector<uint32_t> printed = Pixels(print);
    Dispose_GWorld(print);
    // Tolerance: print pictures are rendered by the print purpose of the
    // effects cache; a channel may differ by 8 on at most 1 % of the pixels.
    size_t off = 0;
    for (size_t i = 0; i < screen.size(); ++i)
        for (int k = 0; k < 24; k += 8)
            if (std::abs(int((screen[i] >> k) & 0xFF) - int((printed[i] >> k) & 0xFF)) > 8) {
                ++off;
                break;
            }
    EXPECT_LE(off, screen.size() / 100);
}

TEST_F(Compositor, PaintLayerIsDrawnThroughItsMask) {
    Sync_Existence(PAINT1_LAYER, U(), true);
    U().paintinuse = true;
    a_cached_gworld& paint = U().static_[PAINT1_LAYER];
    PixMap32_Fill(paint.world->pix, U().paintbounds, 0x00FF00);
    PixMap8_Fill(paint.mask->pix, U().paintbounds, 0);
    PixMap8_Fill(paint.mask->pix, Rect{500, 500, 600, 700}, 255);
    Curr_Unit_PostRender();
    GWorld* w = Merge();
    EXPECT_EQ(Pixel32(w, 550, 550), 0x00FF00u);
    EXPECT_NE(Pixel32(w, 450, 450), 0x00FF00u);
}

namespace {

// 32-bit pixels: diagonal bands of two colours, so that a misplaced or
// wrongly scaled canvas shows.
std::vector<uint8_t> Bands(int w, int h, uint32_t a, uint32_t b) {
    std::vector<uint8_t> px(size_t(w) * h * 4);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint32_t c = ((x + y) / 40) % 2 ? a : b;
            uint8_t* p = &px[(size_t(y) * w + x) * 4];
            p[0] = uint8_t(c), p[1] = uint8_t(c >> 8), p[2] = uint8_t(c >> 16), p[3] = 255;
        }
    return px;
}

std::vector<uint8_t> Star() {  // clip art: a coverage picture, inked where dark
    std::vector<uint8_t> px(size_t(64) * 64 * 4, 255);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            double dx = x - 31.5, dy = y - 31.5, r = std::hypot(dx, dy), t = std::atan2(dy, dx);
            if (r < 14 + 14 * std::cos(5 * t) * 0.5 + 8)
                for (int k = 0; k < 3; ++k) px[(size_t(y) * 64 + x) * 4 + size_t(k)] = 0;
        }
    return px;
}

class CompositorGolden : public Compositor {
protected:
    void SetUp() override {
        Compositor::SetUp();
        std::vector<a_db_entry> e;
        for (int16_t cls = 0; cls < NCANV_CLASSES; ++cls) {
            e.push_back(Entry({2, cls, 301, 1}, Picture_Record(4, 4, 32, Bands(4, 4, 0, 0), a_pixt_codec::RAW)));
            e.push_back(Entry({1, cls, 301, 1},
                              Picture_Record(400, 300, 32, Bands(400, 300, 0xE8D8B0, 0xC8E0F0), a_pixt_codec::RAW)));
        }
        e.push_back(Entry({11, 0, 1, 1}, Picture_Record(64, 64, 32, Star(), a_pixt_codec::RAW)));
        ASSERT_EQ(Open_Db(Db_Bytes(std::move(e))), OPEN_OKAY);
        photo_ = Temp_Folder() + "/cirquel-compose-photo.png";
        a_masked_gworld mw = Ramp_MW(320, 240, 0xA01060);
        ASSERT_EQ(Export_World(FMT_PNG, 300, photo_, mw.fore), 0);
        Dispose_MW(mw);
    }
    void TearDown() override {
        OP_CloseNewest();
        (void)File_Remove(photo_);
        Compositor::TearDown();
    }
    // The first unit of `label` described with canvas, photo and clip art,
    // shown at half size.
    void Check(const char* label, int kind, const char* golden) {
        const int cls = UNIT_TO_CANV_PREFIX(kind);
        const std::string design = std::string("{\"template\": \"") + label + "\", \"units\": [{"
            "\"canvas\": {\"key\": \"2." + std::to_string(cls == CANV_CLASS_NONE ? 1 : cls) + ".301.1\"},"
            "\"blocks\": [{\"photo\": \"" + photo_ + "\", \"spec\": {\"angle\": 100, \"shadow\": true}},"
            "{\"symbol\": \"11.0.1.1\", \"color\": \"#2040C0\", \"spec\": {\"scaling\": 2000}}]}]}";
        std::string error;
        ASSERT_TRUE(Design_Read(design, a_design_options{}, error)) << error;
        ASSERT_EQ(int(g_doc.doc_template.Unit(1).kind), kind);
        // The photo up and left, the clip art down and right of the middle.
        const Rect& u = U().paintbounds;
        int placed = 0;
        for (int i = 1; i <= U().oj.nlist; ++i) {
            if (!Item(i).ph) continue;
            const int f = placed++ ? 70 : 32;
            Photo_Set_Center(i, Point{int16_t(Rect_Height(u) * f / 100), int16_t(Rect_Width(u) * f / 100)});
            Photo_Recalc(i);
        }
        ASSERT_EQ(placed, 2);
        Curr_Unit_PostRender();
        g_merge_zoom = a_ratio{1, 2};
        EXPECT_TRUE(Matches_Golden(golden, World_Bits(Merge())));
    }
    std::string photo_;
};

}  // namespace

TEST_F(CompositorGolden, DiscBookletAndJCard) {
    Check("A-ONE 29125", UNIT_CD, "composite_disc");
    Check("Generic jewel booklet A4", UNIT_JEWEL_LID2, "composite_booklet");
    Check("Generic J-card 4-up A4", UNIT_AUDIO_JCARD, "composite_jcard");
}

TEST_F(CompositorGolden, DiscWithPhotoAndCircularText) {
    a_text_module_scope text_module;
    const std::string design = std::string("{\"template\": \"A-ONE 29125\", \"units\": [{"
        "\"canvas\": {\"key\": \"2.1.301.1\"},"
        "\"blocks\": [{\"photo\": \"") + photo_ + "\", \"center\": [420, 860]}]}]}";
    std::string error;
    ASSERT_TRUE(Design_Read(design, a_design_options{}, error)) << error;
    Add_Circular_Text(U(), u"Summer Holiday 2026", 28);
    g_merge_zoom = a_ratio{1, 2};
    EXPECT_TRUE(Matches_Golden("composite_disc_text", World_Bits(Merge())));

    // Printed at a page's resolution (1394 dots for the 118 mm disc) the
    // picture is the design-bounds one, only finer: brought back to 1200
    // dots, nothing is moved, lost or sized differently.
    const Rect bounds = U().paintbounds, fine{0, 0, 1394, 1394};
    GWorld* at_design = nullptr;
    GWorld* at_page = nullptr;
    Render_Unit_Print(1, U(), bounds, at_design);
    Render_Unit_Print(1, U(), fine, at_page);
    a_gworld_ptr own_design(at_design), own_page(at_page);
    a_gworld_ptr back = Make_GWorld(32, bounds);
    ASSERT_TRUE(back);
    Bicubic_Blt(at_page->pix, back->pix, fine, bounds);
    long far = 0, total = 0;
    for (int y = 0; y < Rect_Height(bounds); ++y) {
        const uint8_t* a = at_design->pix.baseAddr + std::ptrdiff_t(y) * (at_design->pix.rowBytes & 0x3FFF);
        const uint8_t* b = back->pix.baseAddr + std::ptrdiff_t(y) * (back->pix.rowBytes & 0x3FFF);
        for (int x = 0; x < Rect_Width(bounds) * 4; ++x) {
            if (x % 4 == 3) continue;
            far += std::abs(a[x] - b[x]) > 64;
            ++total;
        }
    }
    EXPECT_LT(double(far) / double(total), 0.005) << far << " of " << total;
}
