// The paint tools through their mouse events: symmetry against a reference
// rotation, the bucket against a plain flood fill, which tools make the layer
// and which history step each stroke records, cancelling, undo, and the
// layer's way through a project file.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <deque>
#include <filesystem>
#include <numbers>
#include <random>
#include <set>
#include <unistd.h>

#include "block_fixtures.h"
#include "model/history.h"
#include "model/snapshot.h"
#include "paint/atoms.h"
#include "paint/bucket.h"
#include "paint/fills.h"
#include "paint/paint_design.h"
#include "paint/paint_layer.h"
#include "paint/symmetry.h"
#include "paint/trackers.h"
#include "persist/disc_read.h"
#include "persist/design_file.h"
#include "persist/disc_write.h"
#include "pixels/pixmap.h"
#include "platform/files.h"
#include "platform/private_folder.h"
#include "platform/sound.h"

namespace {

class Paint : public testing::Test {
protected:
    void SetUp() override {
        auto t = One_Unit_Template(true);
        t->papersize = {210, 297};  // a sheet a project file can keep
        std::strcpy(t->label, "painted disc");
        Doc_New(*t);
        g_paint = a_paint_state{};
        (void)g_doc_services.history_emit.Install([this](int op) { ops.push_back(op); });
        (void)g_doc_services.play_sound.Install([this](int snd) { sounds.push_back(snd); });
    }
    void TearDown() override {
        Paint_Escape();
        Doc_Dispose();
        g_paint = a_paint_state{};
    }
    a_doc_unit& U() { return *g_doc.up; }
    const Rect& Bounds() { return U().paintbounds; }
    Point Centre() { return U().symmetry_center; }
    static Point At(int v, int h) { return Point{int16_t(v), int16_t(h)}; }
    static a_paint_event Ev(Point p) { a_paint_event e; e.cell = p; return e; }
    void Click(Point p) { Paint_MouseDown(Ev(p)), Paint_MouseUp(Ev(p)); }
    void Drag(Point a, Point b) {
        Paint_MouseDown(Ev(a));
        Paint_MouseMove(Ev(b));
        Paint_MouseUp(Ev(b));
    }
    uint8_t Mask(Point p) {
        const GWorld* m = U().static_[PAINT1_LAYER].mask;
        return m ? PixMap_Row(m->pix, p.v)[p.h - m->pix.bounds.left] : 0;
    }
    uint32_t Color(Point p) {
        const GWorld* w = U().static_[PAINT1_LAYER].world;
        return reinterpret_cast<const uint32_t*>(PixMap_Row(w->pix, p.v))[p.h - w->pix.bounds.left] & 0xFFFFFF;
    }
    // Centroids of the painted blobs (8-connected), in cells.
    std::vector<std::pair<double, double>> Blobs() {
        std::vector<std::pair<double, double>> out;
        const Rect& b = Bounds();
        std::vector<uint8_t> seen(size_t(Rect_Width(b)) * Rect_Height(b), 0);
        auto idx = [&](int v, int h) { return size_t(v - b.top) * Rect_Width(b) + size_t(h - b.left); };
        for (int v = b.top; v < b.bottom; ++v)
            for (int h = b.left; h < b.right; ++h) {
                if (seen[idx(v, h)] || Mask(At(v, h)) == 0) continue;
                double sv = 0, sh = 0, n = 0;
                std::deque<Point> q{At(v, h)};
                seen[idx(v, h)] = 1;
                while (!q.empty()) {
                    Point p = q.front();
                    q.pop_front();
                    sv += p.v, sh += p.h, ++n;
                    for (int dv = -1; dv <= 1; ++dv)
                        for (int dh = -1; dh <= 1; ++dh) {
                            int nv = p.v + dv, nh = p.h + dh;
                            if (nv < b.top || nv >= b.bottom || nh < b.left || nh >= b.right) continue;
                            if (seen[idx(nv, nh)] || Mask(At(nv, nh)) == 0) continue;
                            seen[idx(nv, nh)] = 1;
                            q.push_back(At(nv, nh));
                        }
                }
                out.push_back({sv / n, sh / n});
            }
        return out;
    }
    std::vector<int> ops, sounds;
    a_signals_guard signals_{true};
};

// Turned the way the integer transform turns: x right, y down.
std::pair<double, double> Reference_Turn(double v, double h, Point c, double deg, bool mirror) {
    double a = deg * std::numbers::pi / 180, dh = h - c.h, dv = v - c.v;
    double nh = dh * std::cos(a) + dv * std::sin(a), nv = dv * std::cos(a) - dh * std::sin(a);
    return {c.v + nv, mirror ? c.h - nh : c.h + nh};
}

TEST(PaintSymmetry, IntegerTurnAgreesWithReferenceRotation) {
    for (int d = 0; d < 360; ++d) {
        EXPECT_EQ(Int_Sin(d), std::lround(std::sin(d * std::numbers::pi / 180) * 16384)) << d;
        EXPECT_EQ(Int_Cos(d), std::lround(std::cos(d * std::numbers::pi / 180) * 16384)) << d;
    }
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> coord(-600, 600);
    Point c{600, 600};
    for (int i = 0; i < 2000; ++i) {
        Point p{int16_t(600 + coord(rng)), int16_t(600 + coord(rng))};
        int deg = int(rng() % 360);
        bool mirror = rng() % 2;
        Point t = Sym_Transform(p, c, deg, mirror);
        auto [rv, rh] = Reference_Turn(p.v, p.h, c, deg, mirror);
        // Rounded, not truncated: half a cell and the sine's own rounding at most.
        EXPECT_LE(std::abs(t.v - rv), 0.55) << p.v << "," << p.h << " by " << deg;
        EXPECT_LE(std::abs(t.h - rh), 0.55) << p.v << "," << p.h << " by " << deg;
    }
}

TEST_F(Paint, OneDabWithSymmetryPaintsItsCopiesAroundTheCentre) {
    g_paint.brush_size = 6;
    g_paint.symmetry_on = true;
    Point c = Centre(), dab = At(c.v - 200, c.h + 50);
    for (bool mirror : {false, true}) {
        for (int n : {6, 5}) {
            SCOPED_TRACE(testing::Message() << "count " << n << (mirror ? " mirrored" : " cyclic"));
            g_paint.symmetry_count = n;
            g_paint.symmetry_kind = mirror ? MIRROR_SYMMETRY : CYCLIC_SYMMETRY;
            Click(dab);
            auto blobs = Blobs();
            ASSERT_EQ(blobs.size(), size_t(mirror ? 2 * n : n));
            // Every expected copy has a blob within a cell of it.
            for (int m = 0; m < (mirror ? 2 : 1); ++m)
                for (int i = 0; i < n; ++i) {
                    auto [ev, eh] = Reference_Turn(dab.v, dab.h, c, i * 360 / n, m == 1);
                    bool found = false;
                    for (auto [bv, bh] : blobs) found |= std::hypot(bv - ev, bh - eh) < 1.5;
                    EXPECT_TRUE(found) << "copy " << i << (m ? " mirrored" : "");
                }
            PixMap_Zero(U().static_[PAINT1_LAYER].mask->pix);
        }
    }
}

TEST_F(Paint, WhichToolsMakeTheLayerAndWhatEachStrokeRecords) {
    // The eyedropper, the grabber and an Option-click never make the layer.
    for (int tool : {int(DROPPER_TOOL), int(GRABBER_TOOL)}) {
        g_paint.tool = tool;
        Drag(At(100, 100), At(120, 130));
    }
    g_paint.tool = BRUSH_TOOL;
    a_paint_event opt = Ev(At(100, 100));
    opt.option = true;
    Paint_MouseDown(opt), Paint_MouseUp(opt);
    EXPECT_FALSE(U().paintinuse);
    EXPECT_TRUE(ops.empty());

    const struct { int tool; int op; } strokes[] = {
        {BRUSH_TOOL, OP_PAINT_BRUSH}, {ERASER_TOOL, OP_PAINT_ERASE}, {SPRAY_TOOL, OP_PAINT_SPRAY},
        {SOVAL_TOOL, OP_PAINT_OVAL}, {SFURTER_TOOL, OP_PAINT_FURTER}, {SRECT_TOOL, OP_PAINT_RECT},
        {BUCKET_TOOL, OP_PAINT_BUCKET}, {LINE_TOOL, OP_PAINT_LINE}, {FOVAL_TOOL, OP_PAINT_OVAL},
        {FFURTER_TOOL, OP_PAINT_FURTER}, {FRECT_TOOL, OP_PAINT_RECT}};
    for (auto s : strokes) {
        ops.clear();
        g_paint.tool = s.tool;
        g_paint.fill_color32 = 0x112233;
        Drag(At(300, 300), At(360, 420));
        EXPECT_TRUE(U().paintinuse) << s.tool;
        EXPECT_EQ(ops, std::vector<int>{s.op}) << "tool " << s.tool;
    }
    // Option-click picks the colour under the mouse and paints nothing.
    g_paint.tool = SRECT_TOOL;
    g_paint.fill_color32 = 0xAA0000;
    Drag(At(500, 500), At(540, 540));
    g_paint.tool = BRUSH_TOOL;
    g_paint.fill_color32 = 0x0000FF;
    ops.clear();
    opt.cell = At(520, 520);
    Paint_MouseDown(opt), Paint_MouseUp(opt);
    EXPECT_EQ(g_paint.fill_color32, 0xAA0000u);
    EXPECT_TRUE(ops.empty());
    // A polygon is closed by clicking its first corner again: one step.
    g_paint.tool = SPOLYGON_TOOL;
    for (Point p : {At(700, 700), At(700, 800), At(800, 760), At(701, 701)}) Click(p);
    EXPECT_EQ(ops, std::vector<int>{OP_PAINT_POLYGON});
    EXPECT_EQ(Mask(At(720, 760)), 255);
    EXPECT_FALSE(Paint_Tracking());
}

TEST_F(Paint, SolidRectangleCornersFollowTheCornerSlider) {
    g_paint.tool = SRECT_TOOL;
    for (int corner : {0, 40}) {
        Point a = At(200 + corner * 4, 200), b = At(300 + corner * 4, 330);
        g_paint.corner = corner;
        Drag(a, b);
        EXPECT_EQ(Mask(a) == 255, corner == 0) << corner;
        EXPECT_EQ(Mask(b) == 255, corner == 0) << corner;
        EXPECT_EQ(Mask(At((a.v + b.v) / 2, a.h)), 255) << "edges are painted either way";
    }
}

TEST_F(Paint, StrokesStepBySpacingAndKeepTheirQueueBounded) {
    g_paint.tool = BRUSH_TOOL;
    g_paint.brush_size = 2;
    g_paint.brush_spacing = 10;
    Paint_MouseDown(Ev(At(100, 100)));
    Paint_MouseMove(Ev(At(100, 200)));
    Paint_MouseUp(Ev(At(100, 200)));
    EXPECT_EQ(Blobs().size(), 11u);  // at 100, 110, … 200
    // A very long stroke never holds more than the ring.
    g_paint.brush_spacing = 60;
    Paint_MouseDown(Ev(At(400, 100)));
    for (int i = 0; i < 5000; ++i) {
        Paint_MouseMove(Ev(At(400 + (i % 2) * 300, 100 + (i % 7) * 20)));
        ASSERT_LE(Paint_Queue_Length(), SAMPLE_QUEUE);
    }
    Paint_MouseUp(Ev(At(400, 100)));
    EXPECT_EQ(ops.size(), 2u);
}

// The first stroke raises the paint block over the pictures and under the
// text (a photo covering the disc would hide it otherwise); Escape lowers it.
TEST_F(Paint, EscapePutsTheStrokeBackAndANewLayerGoesAgain) {
    int photo = 0;
    PH_New(PHOTO_BLOCK, photo)->dst_box = Bounds();
    a_oj_item text;
    text.objid = NextUniqueID();
    text.kind = TEXT_BLOCK;
    text.om = New_OM_Rec();
    ASSERT_TRUE(OMast_Append(U().oj, text));
    auto kinds = [&] {
        std::vector<int> k;
        for (int i = 1; i <= U().oj.nlist; ++i) k.push_back(U().oj.list[i].kind);
        return k;
    };
    const std::vector<int> before = kinds();
    ASSERT_EQ(before, (std::vector<int>{PAINT_BLOCK, PHOTO_BLOCK, TEXT_BLOCK}));
    g_paint.tool = FOVAL_TOOL;
    Paint_MouseDown(Ev(At(300, 300)));
    Paint_MouseMove(Ev(At(400, 420)));  // the rubber band is drawn into the layer
    EXPECT_TRUE(U().paintinuse);
    EXPECT_EQ(kinds(), (std::vector<int>{PHOTO_BLOCK, PAINT_BLOCK, TEXT_BLOCK}));
    Paint_Escape();
    EXPECT_EQ(kinds(), before);
    EXPECT_FALSE(U().paintinuse);
    EXPECT_EQ(U().static_[PAINT1_LAYER].world, nullptr);
    EXPECT_EQ(sounds.back(), SND_STROKE_CANCELLED);
    g_paint.tool = BRUSH_TOOL;
    Click(At(50, 50));
    g_paint.tool = SOVAL_TOOL;
    Paint_MouseDown(Ev(At(300, 300)));
    Paint_MouseMove(Ev(At(500, 500)));
    Paint_MouseMove(Ev(At(320, 320)));  // the band shrinks: the larger oval is gone
    EXPECT_EQ(Mask(At(450, 450)), 0);
    Paint_Escape();
    EXPECT_TRUE(U().paintinuse);
    EXPECT_EQ(Mask(At(310, 310)), 0);
    EXPECT_EQ(Mask(At(50, 50)), 255);
    EXPECT_EQ(ops.size(), 1u);
}

// A plain breadth-first fill of the cells that look like the seed.
std::set<std::pair<int, int>> Reference_Flood(const GWorld& w, const GWorld& m, Point seed, const Rect& b) {
    auto key = [&](int v, int h) -> int64_t {
        uint8_t a = PixMap_Row(m.pix, v)[h - m.pix.bounds.left];
        if (a == 0) return -1;
        return (int64_t(a) << 24) | (reinterpret_cast<const uint32_t*>(PixMap_Row(w.pix, v))[h] & 0xFFFFFF);
    };
    std::set<std::pair<int, int>> in;
    std::deque<Point> q{seed};
    int64_t want = key(seed.v, seed.h);
    in.insert({seed.v, seed.h});
    while (!q.empty()) {
        Point p = q.front();
        q.pop_front();
        const int d[4][2] = {{0, 1}, {0, -1}, {1, 0}, {-1, 0}};
        for (auto& s : d) {
            int v = p.v + s[0], h = p.h + s[1];
            if (v < b.top || v >= b.bottom || h < b.left || h >= b.right || in.count({v, h})) continue;
            if (key(v, h) != want) continue;
            in.insert({v, h});
            q.push_back(Point{int16_t(v), int16_t(h)});
        }
    }
    return in;
}

TEST_F(Paint, BucketRegionAgreesWithAPlainFloodFill) {
    std::mt19937 rng(3);
    g_paint.tool = LINE_TOOL;
    g_paint.line_thickness = 3;
    for (int i = 0; i < 25; ++i) {  // a maze of lines in three colours
        g_paint.fill_color32 = 0x101010u * (1 + rng() % 3);
        Drag(At(rng() % 300, rng() % 300), At(rng() % 300, rng() % 300));
    }
    GWorld *w, *m;
    ASSERT_TRUE(Paint_Layer(w, m));
    Rect small{0, 0, 300, 300};
    for (int i = 0; i < 20; ++i) {
        Point seed = At(rng() % 300, rng() % 300);
        a_coverage c;
        Flood_Region(*w, *m, seed, small, c);
        auto ref = Reference_Flood(*w, *m, seed, small);
        std::set<std::pair<int, int>> got;
        for (int v = c.bounds.top; v < c.bounds.bottom; ++v)
            for (int h = c.bounds.left; h < c.bounds.right; ++h)
                if (c.Row(v)[h - c.bounds.left]) got.insert({v, h});
        EXPECT_EQ(got, ref) << "seed " << seed.v << "," << seed.h;
    }
}

TEST_F(Paint, GradientKindsFillWithTheirBandsAndLinearRunsAcross) {
    g_paint.tool = BUCKET_TOOL;
    g_paint.fill_kind = GRADIENT_FILL;
    g_paint.fill_gradient.bands[0] = 0x000000, g_paint.fill_gradient.bands[1] = 0x0000FF;
    std::set<std::vector<uint32_t>> looks;
    for (int kind = 0; kind < NGRAD_KINDS; ++kind) {
        g_paint.fill_gradient.kind = kind;
        if (U().paintinuse) PixMap_Zero(U().static_[PAINT1_LAYER].mask->pix);
        Click(At(10, 10));
        std::vector<uint32_t> row;
        for (int h = Bounds().left; h < Bounds().right; h += 37) {
            uint32_t c = Color(At(Rect_Height(Bounds()) / 5 + 7, h));
            EXPECT_EQ(c & 0xFFFF00, 0u) << "only the blue band mixes in, kind " << kind;
            row.push_back(c);
        }
        if (kind == GRAD_LINEAR) {
            EXPECT_TRUE(std::is_sorted(row.begin(), row.end()));
        }
        looks.insert(row);

    }
    EXPECT_EQ(looks.size(), size_t(NGRAD_KINDS)) << "each kind looks different";
}

class PaintHistory : public Paint {
protected:
    void SetUp() override {
        runtime_ = std::filesystem::temp_directory_path() / ("paint_test_" + std::to_string(::getpid()));
        std::filesystem::create_directories(runtime_);
        ::setenv("XDG_RUNTIME_DIR", runtime_.c_str(), 1);
        Private_Folder_Remove();
        Paint::SetUp();
        g_doc_services.history_emit = {};
        History_Init();
    }
    void TearDown() override {
        Paint::TearDown();
        History_Stop();
        ::unsetenv("XDG_RUNTIME_DIR");
        std::filesystem::remove_all(runtime_);
    }
    std::filesystem::path runtime_;
};

TEST_F(PaintHistory, UndoTakesBackOneStrokeAndRedoBringsItAgain) {
    History_Base();
    g_paint.tool = SOVAL_TOOL;
    g_paint.fill_color32 = 0x00FF00;
    Drag(At(100, 100), At(200, 200));
    g_paint.tool = BRUSH_TOOL;
    g_paint.fill_color32 = 0xFF0000;
    Drag(At(150, 50), At(150, 250));
    EXPECT_EQ(Color(At(150, 150)), 0xFF0000u);
    // The step keeps the painted tiles, not the whole layer (5 bytes a cell).
    const size_t whole = size_t(Rect_Width(Bounds())) * size_t(Rect_Height(Bounds())) * 5;
    EXPECT_LT(ram.image.size(), whole / 8) << ram.image.size() << " of " << whole;
    Undo_Button();
    EXPECT_EQ(Color(At(150, 150)), 0x00FF00u);
    EXPECT_EQ(Mask(At(150, 60)), 0);
    Undo_Button();
    EXPECT_FALSE(U().paintinuse) << "before the first stroke there was no layer";
    Redo_Button();
    Redo_Button();
    EXPECT_EQ(Color(At(150, 150)), 0xFF0000u);
    // A bucket over the rest of the layer: its tiles of one colour cost a
    // cell each, and undo and redo give back every cell.
    auto cells = [&] {
        std::vector<uint64_t> all;
        for (int v = Bounds().top; v < Bounds().bottom; ++v)
            for (int h = Bounds().left; h < Bounds().right; ++h)
                all.push_back(uint64_t(Mask(At(v, h))) << 32 | Color(At(v, h)));
        return all;
    };
    const std::vector<uint64_t> strokes = cells();
    g_paint.tool = BUCKET_TOOL;
    g_paint.fill_color32 = 0x2040C0;
    Click(At(Bounds().top + 2, Bounds().left + 2));
    const std::vector<uint64_t> filled = cells();
    ASSERT_NE(filled, strokes);
    EXPECT_LT(ram.image.size(), whole / 8) << ram.image.size() << " of " << whole;
    Undo_Button();
    EXPECT_EQ(cells(), strokes);
    Redo_Button();
    EXPECT_EQ(cells(), filled);
}

TEST_F(Paint, PaintedLayerComesBackFromAProjectFile) {
    a_masked_gworld stamp;
    a_gworld_ptr fore = Make_GWorld(32, Rect{0, 0, 20, 30});
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 30; ++x)
            reinterpret_cast<uint32_t*>(PixMap_Row(fore->pix, y))[x] = uint32_t(x * 8) << 8 | uint32_t(y * 12);
    stamp.fore = fore.get(), stamp.bounds = fore->pix.bounds;
    g_paint.stamp = &stamp;
    g_paint.symmetry_on = true;
    g_paint.stamp_rotate = 30;
    for (int tool : {int(BRUSH_TOOL), int(STAMP_TOOL), int(SPRAY_TOOL), int(FRECT_TOOL)}) {
        g_paint.tool = tool;
        g_paint.fill_color32 = 0x102030u * uint32_t(tool + 1);
        Drag(At(300, 300), At(350, 420));
    }
    std::vector<uint8_t> before_mask, after_mask;
    std::vector<uint32_t> before_rgb, after_rgb;
    auto take = [&](std::vector<uint8_t>& ms, std::vector<uint32_t>& cs) {
        for (int v = Bounds().top; v < Bounds().bottom; ++v)
            for (int h = Bounds().left; h < Bounds().right; ++h) {
                ms.push_back(Mask(At(v, h)));
                cs.push_back(Mask(At(v, h)) ? Color(At(v, h)) : 0);
            }
    };
    take(before_mask, before_rgb);
    std::string path = Temp_Folder() + "/paint_round_trip_" + std::to_string(::getpid()) + ".cd4";
    ASSERT_EQ(Write_DISC(path), 0);
    Doc_Dispose();
    ASSERT_TRUE(Read_DISC(false, path)) << Disc_Report().defects << " " << (Disc_Report().notes.empty() ? "" : Disc_Report().notes[0]);
    (void)File_Remove(path);
    Select_Doc_Unit(1);
    take(after_mask, after_rgb);
    EXPECT_EQ(after_mask, before_mask);
    EXPECT_EQ(after_rgb, before_rgb);
}

// A design's strokes paint what the same strokes drawn with the mouse paint.
TEST_F(Paint, DesignStrokesPaintWhatTheMouseWouldAndBadOnesAreRefused) {
    const std::string design = R"({"template": "A-ONE 29125", "units": [{"paint": [
  {"tool": "bucket", "points": [[600, 600]], "gradient": {"kind": "radar", "colors": ["#102040", "#F0C020"]}},
  {"tool": "brush", "points": [[600, 300], [640, 250], [700, 260]], "color": "#FF0000", "size": 20,
   "symmetry": {"count": 6, "mirror": true}},
  {"tool": "solid-polygon", "points": [[100, 100], [200, 120], [150, 220]], "opacity": 50},
  {"tool": "eraser", "eraser": 10, "points": [[550, 550], [650, 650]]}]}]})";
    std::string error;
    EXPECT_FALSE(Design_Read(design, a_design_options{}, error)) << "no paint module, no paint";
    EXPECT_NE(error.find("paint"), std::string::npos) << error;
    Paint_Init();
    ASSERT_TRUE(Design_Read(design, a_design_options{}, error)) << error;
    EXPECT_TRUE(ops.empty()) << "a design opens without undo steps";
    std::vector<uint8_t> from_design;
    for (int v = 0; v < Rect_Height(Bounds()); v += 3)
        for (int h = 0; h < Rect_Width(Bounds()); h += 3) from_design.push_back(Mask(At(v, h)));
    const uint32_t sample = Color(At(300, 620));

    auto t = std::make_unique<a_template>(g_doc.doc_template);
    Doc_New(*t);
    g_paint.tool = BUCKET_TOOL, g_paint.fill_kind = GRADIENT_FILL;
    g_paint.fill_gradient.kind = GRAD_RADAR;
    g_paint.fill_gradient.bands[0] = 0x102040, g_paint.fill_gradient.bands[1] = 0xF0C020;
    Click(At(600, 600));
    g_paint = a_paint_state{};
    g_paint.fill_color32 = 0xFF0000, g_paint.brush_size = 20;
    g_paint.symmetry_on = true, g_paint.symmetry_kind = MIRROR_SYMMETRY;
    Paint_MouseDown(Ev(At(300, 600)));
    Paint_MouseMove(Ev(At(250, 640)));
    Paint_MouseUp(Ev(At(260, 700)));
    g_paint = a_paint_state{};
    g_paint.tool = SPOLYGON_TOOL, g_paint.opacity = 50;
    for (Point p : {At(100, 100), At(120, 200), At(220, 150)}) Click(p);
    Paint_Finish();
    g_paint = a_paint_state{};
    g_paint.tool = ERASER_TOOL, g_paint.eraser_choice = ERASE_BY_OVAL;
    Drag(At(550, 550), At(650, 650));
    std::vector<uint8_t> by_mouse;
    for (int v = 0; v < Rect_Height(Bounds()); v += 3)
        for (int h = 0; h < Rect_Width(Bounds()); h += 3) by_mouse.push_back(Mask(At(v, h)));
    EXPECT_EQ(from_design, by_mouse);
    EXPECT_EQ(Color(At(300, 620)), sample);
    EXPECT_EQ(Mask(At(600, 600)), 0) << "the oval erase";

    for (const char* bad : {
             R"({"template": "A-ONE 29125", "units": [{"paint": [{"tool": "brsh", "points": [[1, 1]]}]}]})",
             R"({"template": "A-ONE 29125", "units": [{"paint": [{"tool": "line", "points": [[1, 1], [1300, 5]]}]}]})",
             R"({"template": "A-ONE 29125", "units": [{"paint": [{"tool": "line", "points": []}]}]})",
             R"({"template": "A-ONE 29125", "units": [{"paint": [{"tool": "brush", "points": [[1, 1]],
                 "symmetry": {"count": 31}}]}]})"}) {
        EXPECT_FALSE(Design_Read(bad, a_design_options{}, error)) << bad;
        EXPECT_NE(error.find("paint[1]"), std::string::npos) << error;
    }
    Paint_Stop();
}

}  // namespace
