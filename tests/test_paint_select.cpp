// The Copy / Move tool through its mouse and key events: the cells each
// marquee takes against plain reference tests, moving, copying, deleting and
// nudging pixels exactly, a paste larger than the unit, and each of them
// undone to identical pixels.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <random>
#include <unistd.h>

#include "block_fixtures.h"
#include "largest_allocation.h"
#include "model/history.h"
#include "paint/paint_design.h"
#include "paint/paint_layer.h"
#include "paint/selection.h"
#include "paint/trackers.h"
#include "persist/design_file.h"
#include "pixels/pixmap.h"
#include "platform/private_folder.h"
#include "signals_guard.h"

namespace {

Point At(int v, int h) { return Point{int16_t(v), int16_t(h)}; }

// Every cell of the layer: its mask, and its colour where the mask shows it.
struct a_layer_shot {
    std::vector<uint8_t> mask;
    std::vector<uint32_t> rgb;
    bool operator==(const a_layer_shot&) const = default;
};

class Select : public testing::Test {
protected:
    void SetUp() override {
        runtime_ = std::filesystem::temp_directory_path() / ("select_test_" + std::to_string(::getpid()));
        std::filesystem::create_directories(runtime_);
        ::setenv("XDG_RUNTIME_DIR", runtime_.c_str(), 1);
        Private_Folder_Remove();
        auto t = One_Unit_Template(true);
        Doc_New(*t);
        g_paint = a_paint_state{};
        History_Init();
        (void)g_doc_services.play_sound.Install([](int) {});
        Selection_Init();
        History_Base();
    }
    void TearDown() override {
        Paint_Escape();
        Selection_Stop();
        Doc_Dispose();
        History_Stop();
        g_paint = a_paint_state{};
        ::unsetenv("XDG_RUNTIME_DIR");
        std::filesystem::remove_all(runtime_);
    }
    a_doc_unit& U() { return *g_doc.up; }
    static a_paint_event Ev(Point p, bool alt = false) {
        a_paint_event e;
        e.cell = p, e.option = alt;
        return e;
    }
    void Drag(Point a, Point b, bool alt = false) {
        Paint_MouseDown(Ev(a, alt));
        Paint_MouseMove(Ev(At((a.v + b.v) / 2, (a.h + b.h) / 2), alt));
        Paint_MouseMove(Ev(b, alt));
        Paint_MouseUp(Ev(b, alt));
    }
    uint8_t Mask(Point p) { return PixMap_Row(U().static_[PAINT1_LAYER].mask->pix, p.v)[p.h]; }
    uint32_t Color(Point p) {
        return reinterpret_cast<const uint32_t*>(PixMap_Row(U().static_[PAINT1_LAYER].world->pix, p.v))[p.h] &
               0xFFFFFF;
    }
    a_layer_shot Shot() {
        a_layer_shot s;
        if (!U().paintinuse) return s;
        const Rect& b = U().paintbounds;
        for (int v = b.top; v < b.bottom; ++v)
            for (int h = b.left; h < b.right; ++h) {
                s.mask.push_back(Mask(At(v, h)));
                s.rgb.push_back(Mask(At(v, h)) ? Color(At(v, h)) : 0);
            }
        return s;
    }
    // Dabs of many colours and opacities in the square 100 .. 300, so that
    // a moved pixel that is not exactly the same shows.
    void Paint_Pattern() {
        std::mt19937 rng(11);
        g_paint.tool = BRUSH_TOOL;
        g_paint.brush_size = 9;
        for (int i = 0; i < 60; ++i) {
            g_paint.fill_color32 = rng() & 0xFFFFFF;
            g_paint.opacity = 20 + int(rng() % 81);
            Point p = At(100 + int(rng() % 200), 100 + int(rng() % 200));
            Paint_MouseDown(Ev(p)), Paint_MouseUp(Ev(p));
        }
        g_paint.tool = SELECT_TOOL;
    }
    int Last_Op() { return g_hist.list[g_hist.curr].op; }
    std::filesystem::path runtime_;
    a_signals_guard signals_{true};
};

TEST(SelectShape, MarqueesTakeExactlyTheCellsInside) {
    std::mt19937 rng(5);
    const Rect clip{0, 0, 400, 400};
    for (int i = 0; i < 60; ++i) {
        Point a = At(int(rng() % 400), int(rng() % 400)), b = At(int(rng() % 400), int(rng() % 400));
        a_coverage oval = Marquee_Shape(OVAL_MARQUEE, a, b, false, clip);
        a_coverage rect = Marquee_Shape(RECT_MARQUEE, a, b, false, clip);
        const double l = std::min(a.h, b.h), r = std::max(a.h, b.h) + 1.0;
        const double t = std::min(a.v, b.v), bt = std::max(a.v, b.v) + 1.0;
        for (int v = 0; v < 400; v += 1 + i % 3)
            for (int h = 0; h < 400; h += 1 + i % 3) {
                auto in = [&](const a_coverage& c) {
                    const Rect& cb = c.bounds;
                    return v >= cb.top && v < cb.bottom && h >= cb.left && h < cb.right && c.Row(v)[h - cb.left];
                };
                const double x = (h + 0.5 - (l + r) / 2) / ((r - l) / 2), y = (v + 0.5 - (t + bt) / 2) / ((bt - t) / 2);
                const double d = x * x + y * y;
                if (std::abs(d - 1) > 1e-9) {
                    ASSERT_EQ(in(oval), d < 1) << v << "," << h << " box " << i;
                }
                ASSERT_EQ(in(rect), v >= t && v < bt && h >= l && h < r) << v << "," << h;
            }
    }
    // Shift: a square and a circle, as wide as the drag's longer side.
    a_coverage sq = Marquee_Shape(RECT_MARQUEE, At(10, 10), At(30, 50), true, clip);
    EXPECT_EQ(Rect_Width(sq.bounds), 41);
    EXPECT_EQ(Rect_Height(sq.bounds), 41);
}

// A plain crossing count from each cell's centre: the lasso's scanlines must agree.
bool Reference_Inside(const std::vector<Point>& poly, double x, double y) {
    bool in = false;
    for (size_t i = 0, j = poly.size() - 1; i < poly.size(); j = i++) {
        double xi = poly[i].h + 0.5, yi = poly[i].v + 0.5, xj = poly[j].h + 0.5, yj = poly[j].v + 0.5;
        if ((yi > y) != (yj > y) && x < xi + (y - yi) * (xj - xi) / (yj - yi)) in = !in;
    }
    return in;
}

TEST(SelectShape, LassoAgreesWithAPlainPointInPolygonTest) {
    std::mt19937 rng(9);
    const Rect clip{0, 0, 200, 200};
    for (int i = 0; i < 40; ++i) {
        std::vector<Point> poly;
        const int n = 3 + int(rng() % 12);
        for (int k = 0; k < n; ++k) poly.push_back(At(int(rng() % 240) - 20, int(rng() % 240) - 20));
        a_coverage c = Lasso_Shape(poly, clip);
        for (int v = 0; v < 200; ++v)
            for (int h = 0; h < 200; ++h) {
                const Rect& b = c.bounds;
                bool got = v >= b.top && v < b.bottom && h >= b.left && h < b.right && c.Row(v)[h - b.left];
                ASSERT_EQ(got, Reference_Inside(poly, h + 0.5, v + 0.5)) << "lasso " << i << " at " << v << "," << h;
            }
    }
}

// Each operation puts identical pixels where it should, is one step, and
// its undo gives back the layer as it was to the last pixel.
TEST_F(Select, MoveCopyNudgeAndDeleteAreExactAndUndoToIdenticalPixels) {
    Paint_Pattern();
    const a_layer_shot painted = Shot();
    std::vector<uint32_t> src_rgb;
    std::vector<uint8_t> src_mask;
    for (int v = 100; v < 300; ++v)
        for (int h = 100; h < 300; ++h) src_mask.push_back(Mask(At(v, h))), src_rgb.push_back(Color(At(v, h)));
    auto same_at = [&](int dv, int dh) {
        size_t i = 0, bad = 0;
        for (int v = 100; v < 300; ++v)
            for (int h = 100; h < 300; ++h, ++i)
                bad += Mask(At(v + dv, h + dh)) != src_mask[i] ||
                       (src_mask[i] && Color(At(v + dv, h + dh)) != src_rgb[i]);
        return bad;
    };
    g_paint.tool = SELECT_TOOL;
    for (bool alt : {false, true}) {
        SCOPED_TRACE(alt ? "copy" : "move");
        Drag(At(90, 90), At(309, 309));  // the marquee: cells 90 .. 309
        ASSERT_TRUE(Selection_Active());
        const uint32_t steps = g_hist.cumseq;
        Drag(At(200, 200), At(600, 650), alt);
        EXPECT_EQ(g_hist.cumseq, steps + 1) << "one step";
        EXPECT_EQ(Last_Op(), alt ? OP_PAINT_STAMP : OP_PAINT_CUT);
        EXPECT_EQ(same_at(400, 450), 0u) << "identical pixels at the offset";
        EXPECT_EQ(same_at(0, 0) == 0, alt) << "a copy keeps the source, a move leaves it";
        size_t left_behind = 0;
        for (int v = 90; v < 310; ++v)
            for (int h = 90; h < 310; ++h) left_behind += Mask(At(v, h)) != 0;
        EXPECT_EQ(left_behind == 0, !alt) << "a move leaves transparency behind";
        // The floating selection goes on: a nudge moves it one cell more, one step again.
        EXPECT_TRUE(Selection_Nudge(1, 0));
        EXPECT_EQ(same_at(400, 451), 0u);
        EXPECT_EQ(g_hist.cumseq, steps + 2);
        Undo_Button();
        Undo_Button();
        EXPECT_FALSE(Selection_Active()) << "an undone step drops the selection";
        EXPECT_TRUE(Shot() == painted);
    }
    // Delete: a lasso's cells go, the rest stays; undone, all are back.
    g_paint.marquee_method = LASSO_MARQUEE;
    Paint_MouseDown(Ev(At(100, 100)));
    for (Point p : {At(100, 300), At(300, 200)}) Paint_MouseMove(Ev(p));
    Paint_MouseUp(Ev(At(300, 200)));
    ASSERT_TRUE(Selection_Delete());
    EXPECT_EQ(Last_Op(), OP_PAINT_CUT);
    const a_layer_shot cut = Shot();
    const std::vector<Point> tri{At(100, 100), At(100, 300), At(300, 200)};
    size_t i = 0;
    for (int v = 0; v < Rect_Height(U().paintbounds); ++v)
        for (int h = 0; h < Rect_Width(U().paintbounds); ++h, ++i) {
            const uint8_t want = Reference_Inside(tri, h + 0.5, v + 0.5) ? 0 : painted.mask[i];
            ASSERT_EQ(cut.mask[i], want) << v << "," << h;
        }
    Undo_Button();
    EXPECT_TRUE(Shot() == painted);
}

TEST_F(Select, EscapePutsADragBackAndAFloatingDeleteShowsWhatLayBeneath) {
    Paint_Pattern();
    const a_layer_shot painted = Shot();
    const uint32_t steps = g_hist.cumseq;
    Drag(At(150, 150), At(199, 199));
    Paint_MouseDown(Ev(At(160, 160)));
    Paint_MouseMove(Ev(At(260, 240)));  // onto other paint
    Paint_Escape();
    EXPECT_TRUE(Shot() == painted) << "the drag went back";
    EXPECT_EQ(Selection_Bounds(), (Rect{150, 150, 200, 200}));
    EXPECT_EQ(g_hist.cumseq, steps) << "and recorded nothing";
    Drag(At(160, 160), At(260, 240));
    ASSERT_TRUE(Selection_Floating());
    ASSERT_TRUE(Selection_Delete());  // the floating pixels go; the paint under them comes back
    for (int v = 250; v < 300; v += 3)
        for (int h = 230; h < 280; h += 3) {
            const size_t i = size_t(v) * size_t(Rect_Width(U().paintbounds)) + size_t(h);
            ASSERT_EQ(Mask(At(v, h)), painted.mask[i]) << v << "," << h;
        }
    // Clicking outside lets the selection go; Escape then has nothing to end.
    Paint_MouseDown(Ev(At(20, 20))), Paint_MouseUp(Ev(At(20, 20)));
    EXPECT_FALSE(Selection_Active());
}

TEST_F(Select, APasteLargerThanTheUnitIsShrunkToFitInOneStep) {
    a_masked_gworld pic;
    New_MW("big", Rect{0, 0, 3000, 4000}, pic);
    for (int y = 0; y < 3000; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(PixMap_Row(pic.fore->pix, y));
        uint8_t* m = PixMap_Row(pic.mask->pix, y);
        for (int x = 0; x < 4000; ++x) row[x] = x < 2000 ? 0xFF0000 : 0x0000FF, m[x] = 255;
    }
    const Rect unit = U().paintbounds;
    const uint32_t steps = g_hist.cumseq;
    {
        a_largest_allocation watch;
        ASSERT_TRUE(Selection_Paste(pic, At(0, 0)));
        if (watch.Available()) {
            const size_t cells = size_t(Rect_Width(unit)) * size_t(Rect_Height(unit));
            EXPECT_LT(watch.Bytes(), cells * 6) << "no buffer of the picture's own size";
        }
    }
    Dispose_MW(pic);
    EXPECT_EQ(g_hist.cumseq, steps + 1);
    EXPECT_EQ(Last_Op(), OP_PAINT_STAMP);
    const Rect b = Selection_Bounds();
    EXPECT_EQ(Rect_Width(b), Rect_Width(unit)) << "as wide as the unit";
    EXPECT_EQ(Rect_Height(b), Rect_Width(unit) * 3 / 4) << "in proportion";
    EXPECT_EQ(b.top, unit.top) << "kept on the unit";
    EXPECT_EQ(Color(At(b.top + 5, b.left + 5)), 0xFF0000u);
    EXPECT_EQ(Color(At(b.top + 5, b.right - 5)), 0x0000FFu);
    EXPECT_EQ(Mask(At(b.top + 5, b.right - 5)), 255);
    // Movable before it is let go, and its copy to the clipboard is what was pasted.
    g_paint.tool = SELECT_TOOL;
    Drag(At(b.top + 10, b.left + 10), At(b.top + 30, b.left + 10));
    a_masked_gworld out;
    ASSERT_TRUE(Selection_Image(out));
    EXPECT_EQ(out.fore->pix.bounds, (Rect{0, 0, int16_t(Rect_Height(b)), int16_t(Rect_Width(b))}));
    EXPECT_EQ(reinterpret_cast<uint32_t*>(PixMap_Row(out.fore->pix, 3))[3] & 0xFFFFFF, 0xFF0000u);
    Dispose_MW(out);
    Undo_Button();
    Undo_Button();
    EXPECT_FALSE(U().paintinuse) << "the layer the paste made is gone again";
}

// A design's select strokes do what the same drags and keys do.
TEST_F(Select, DesignSelectStrokesMoveCopyAndDeleteAsTheMouseWould) {
    const std::string design = R"({"template": "A-ONE 29125", "units": [{"paint": [
  {"tool": "solid-rect", "points": [[100, 100], [300, 250]], "color": "#3060C0"},
  {"tool": "brush", "points": [[120, 120], [280, 230]], "color": "#F0A000", "opacity": 60},
  {"tool": "select", "marquee": "oval", "points": [[100, 100], [300, 250]], "move": [400, 350], "copy": true},
  {"tool": "select", "points": [[90, 90], [200, 200]], "move": [0, 500]},
  {"tool": "select", "marquee": "lasso", "points": [[500, 450], [700, 450], [600, 600]], "delete": true}]}]})";
    Paint_Init();
    std::string error;
    ASSERT_TRUE(Design_Read(design, a_design_options{}, error)) << error;
    const a_layer_shot from_design = Shot();

    auto t = std::make_unique<a_template>(g_doc.doc_template);
    Doc_New(*t);
    g_paint = a_paint_state{};
    g_paint.tool = SRECT_TOOL, g_paint.fill_color32 = 0x3060C0;
    Drag(At(100, 100), At(250, 300));
    g_paint.tool = BRUSH_TOOL, g_paint.fill_color32 = 0xF0A000, g_paint.opacity = 60;
    Paint_MouseDown(Ev(At(120, 120))), Paint_MouseMove(Ev(At(230, 280))), Paint_MouseUp(Ev(At(230, 280)));
    g_paint = a_paint_state{};
    g_paint.tool = SELECT_TOOL, g_paint.marquee_method = OVAL_MARQUEE;
    Drag(At(100, 100), At(250, 300));
    Drag(At(175, 200), At(525, 600), true);
    g_paint.marquee_method = RECT_MARQUEE;
    Drag(At(90, 90), At(200, 200));
    Drag(At(150, 150), At(650, 150));
    g_paint.marquee_method = LASSO_MARQUEE;
    Paint_MouseDown(Ev(At(450, 500))), Paint_MouseMove(Ev(At(450, 700))), Paint_MouseUp(Ev(At(600, 600)));
    ASSERT_TRUE(Selection_Delete());
    EXPECT_TRUE(Shot() == from_design);

    for (const char* bad : {
             R"({"template": "A-ONE 29125", "units": [{"paint": [{"tool": "select", "points": [[1, 1], [9, 9]]}]}]})",
             R"({"template": "A-ONE 29125", "units": [{"paint": [{"tool": "select", "points": [[1, 1], [9, 9]],
                 "move": [1, 1], "delete": true}]}]})",
             R"({"template": "A-ONE 29125", "units": [{"paint": [{"tool": "select", "marquee": "lasso",
                 "points": [[1, 1], [9, 9]], "delete": true}]}]})",
             R"({"template": "A-ONE 29125", "units": [{"paint": [{"tool": "select", "points": [[1, 1], [9, 9]],
                 "move": [5000, 0]}]}]})",
             R"({"template": "A-ONE 29125", "units": [{"paint": [{"tool": "brush", "points": [[1, 1]], "delete": true}]}]})"}) {
        EXPECT_FALSE(Design_Read(bad, a_design_options{}, error)) << bad;
        EXPECT_NE(error.find("paint[1]"), std::string::npos) << error;
    }
    Paint_Stop();
}

}  // namespace
