// Painting with the art: the stamp's bends and tone against the pixel maps'
// own bends and darkness, the border laid by turning whole edge strips, the
// pattern's phase, and a design's stamp, pattern and border strokes against
// the same strokes drawn with the mouse over art from a small database.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>

#include "artdb_fixtures.h"
#include "block_fixtures.h"
#include "artdb/borders.h"
#include "paint/paint_art.h"
#include "paint/paint_design.h"
#include "paint/paint_layer.h"
#include "paint/trackers.h"
#include "persist/design_file.h"
#include "pixels/pixcolor.h"
#include "pixels/syspix.h"
#include "signals_guard.h"

namespace {

using a_cell_fn = std::function<uint32_t(int x, int y)>;  // 0xAARRGGBB

// A masked world whose colour and alpha come from `f`.
a_masked_gworld_owner Picture(int w, int h, const a_cell_fn& f) {
    a_masked_gworld mw;
    Null_MW(mw);
    New_MW("test", Rect{0, 0, int16_t(h), int16_t(w)}, mw);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const uint32_t c = f(x, y);
            reinterpret_cast<uint32_t*>(PixMap_Row(mw.fore->pix, y))[x] = c & 0xFFFFFF;
            PixMap_Row(mw.mask->pix, y)[x] = uint8_t(c >> 24);
        }
    return a_masked_gworld_owner(mw);
}

// The picture's pixels in native order, for a database record.
std::vector<uint8_t> Pixels(int w, int h, const a_cell_fn& f) {
    std::vector<uint8_t> px(size_t(w) * h * 4);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const uint32_t c = f(x, y);
            std::memcpy(&px[(size_t(y) * w + x) * 4], &c, 4);
        }
    return px;
}

uint32_t Stamp_Cell(int x, int y) {
    const uint32_t alpha = (x + y) % 5 == 0 ? 0 : 255;  // holes show a lost mask
    return alpha << 24 | uint32_t(40 + x * 9) << 16 | uint32_t(200 - y * 11) << 8 | uint32_t(x * y * 3);
}

// A border picture: a 6-cell band, a corner, a 4-cell side and a 2-cell filler, each cell its own.
constexpr int T = 6;
uint32_t Border_Cell(int x, int y) {
    const uint32_t alpha = (x == 3 && y == 5) ? 0 : 255;
    return alpha << 24 | uint32_t(x * 13) << 16 | uint32_t(y * 29) << 8 | uint32_t(x < T ? 1 : x < T + 4 ? 2 : 3);
}

class PaintArt : public testing::Test {
protected:
    void SetUp() override {
        Doc_New(*One_Unit_Template(true));
        g_paint = a_paint_state{};
    }
    void TearDown() override {
        Paint_Escape();
        Doc_Dispose();
        g_paint = a_paint_state{};
    }
    void Fresh_Doc() {
        Doc_Dispose();
        Doc_New(*One_Unit_Template(true));
    }
    static Point At(int v, int h) { return Point{int16_t(v), int16_t(h)}; }
    static a_paint_event Ev(Point p) { a_paint_event e; e.cell = p; return e; }
    void Drag(Point a, Point b) {
        Paint_MouseDown(Ev(a));
        Paint_MouseMove(Ev(b));
        Paint_MouseUp(Ev(b));
    }
    uint8_t Mask(int v, int h) {
        const GWorld* m = g_doc.up->static_[PAINT1_LAYER].mask;
        return m ? PixMap_Row(m->pix, v)[h - m->pix.bounds.left] : 0;
    }
    uint32_t Color(int v, int h) {
        const GWorld* w = g_doc.up->static_[PAINT1_LAYER].world;
        return reinterpret_cast<const uint32_t*>(PixMap_Row(w->pix, v))[h - w->pix.bounds.left] & 0xFFFFFF;
    }
    // The layer as alpha and colour words, unpainted cells 0.
    std::vector<uint32_t> Layer() {
        std::vector<uint32_t> out;
        const Rect& b = g_doc.up->paintbounds;
        for (int v = b.top; v < b.bottom; v += 2)
            for (int h = b.left; h < b.right; h += 2)
                out.push_back(Mask(v, h) ? (Color(v, h) | uint32_t(Mask(v, h)) << 24) : 0);
        return out;
    }
    a_signals_guard signals_{true};
};

// The stamp's bends are the pixel maps' bends and its darkness their darkness:
// the map bent and darkened beforehand and stamped plainly paints the same.
TEST_F(PaintArt, StampBendsAndDarknessAgreeWithThePixelMaps) {
    constexpr int W = 13, H = 9;
    for (const auto& [bx, by, dark] : {std::tuple{30, -20, 30}, std::tuple{-50, 45, 80}, std::tuple{0, 25, 50}}) {
        a_masked_gworld_owner stamp = Picture(W, H, Stamp_Cell);
        // The reference: bent horizontally, then vertically, then darkened.
        a_pixmap_owner fore = Make_PixMap(stamp->bounds, 32, nullptr), mask = Make_PixMap(stamp->bounds, 8, nullptr);
        for (int y = 0; y < H; ++y) {
            std::memcpy(PixMap_Row(*fore, y), PixMap_Row(stamp->fore->pix, y), W * 4);
            std::memcpy(PixMap_Row(*mask, y), PixMap_Row(stamp->mask->pix, y), W);
        }
        PixMap f1, f2, m1, m2;
        PixMap_BendX(bx, *fore, f1), PixMap_BendY(by, f1, f2);
        PixMap_BendX(bx, *mask, m1), PixMap_BendY(by, m1, m2);
        a_pixmap_owner rf(f2), rm(m2), keep_f1(f1), keep_m1(m1);
        PixMap_Darkness(*rf, dark);
        const int bw = Rect_Width(rf->bounds), bh = Rect_Height(rf->bounds);
        ASSERT_EQ(bw, W + std::abs(bx * H / 100));

        g_paint = a_paint_state{};
        g_paint.tool = STAMP_TOOL, g_paint.stamp = &stamp.get();
        g_paint.stamp_bendx = bx, g_paint.stamp_bendy = by, g_paint.stamp_darkness = dark;
        const Point at = At(300, 400);
        Drag(at, at);
        for (int v = at.v - bh; v < at.v + bh; ++v)
            for (int h = at.h - bw; h < at.h + bw; ++h) {
                const int u = int(std::floor(h - at.h + bw / 2.0)), w = int(std::floor(v - at.v + bh / 2.0));
                const bool on = u >= 0 && w >= 0 && u < bw && w < bh;
                const uint8_t want = on ? PixMap_Row(*rm, w)[u] : 0;
                ASSERT_EQ(Mask(v, h), want) << bx << " " << by << " at " << u << "," << w;
                if (want) {
                    ASSERT_EQ(Color(v, h), reinterpret_cast<const uint32_t*>(PixMap_Row(*rf, w))[u] & 0xFFFFFF)
                        << bx << " " << by << " at " << u << "," << w;
                }
            }
        Fresh_Doc();
    }
}

// The colour shift turns hues by half a turn at the slider's end and leaves greys.
TEST_F(PaintArt, StampColourShiftTurnsHuesAndKeepsGreys) {
    const uint32_t in[4] = {0xFF0000, 0x00FF00, 0x0000FF, 0x808080};
    const uint32_t half[4] = {0x00FFFF, 0xFF00FF, 0xFFFF00, 0x808080};
    a_masked_gworld_owner stamp = Picture(4, 1, [&](int x, int) { return 0xFF000000u | in[x]; });
    g_paint.tool = STAMP_TOOL, g_paint.stamp = &stamp.get();
    g_paint.stamp_colorshift = 128;
    Drag(At(100, 100), At(100, 100));
    for (int x = 0; x < 4; ++x) EXPECT_EQ(Color(100, 98 + x), half[x]) << x;
    g_paint.stamp_colorshift = -128;  // the other way round: the same half turn
    Drag(At(200, 100), At(200, 100));
    for (int x = 0; x < 4; ++x) EXPECT_EQ(Color(200, 98 + x), half[x]) << x;
}

// The border laid as the pieces are drawn: an edge strip (the side repeated
// from the corner on, the filler closing it) turned onto each edge, with the
// corner over its end. Odd lengths leave filler; a hole in a piece stays unpainted.
TEST_F(PaintArt, BorderFramesTheRectangleWithTurnedPiecesAndNoSymmetry) {
    a_masked_gworld_owner pic = Picture(T + 4 + 2, T, Border_Cell);
    a_border_art border{&pic.get(), Rect{0, 0, T, T}, Rect{0, T, T, T + 4}, Rect{0, T + 4, T, T + 6}};
    ASSERT_TRUE(Border_Usable(border));
    auto piece = [&](int x, int y) { return Border_Cell(x, y); };
    for (const auto& [W, H] : {std::pair{23, 31}, std::pair{12, 40}, std::pair{57, 14}}) {
        std::vector<uint32_t> want(size_t(W) * H, 0);
        auto strip = [&](int length, int sx, int sy) -> uint32_t {
            if (sx < T || sx >= length - T) return 0;
            const int run = sx - T, sides = (length - 2 * T) / 4;
            return run < sides * 4 ? piece(T + run % 4, sy) : piece(T + 4 + (run - sides * 4) % 2, sy);
        };
        auto place = [&](int turn, int sx, int sy, uint32_t c) {
            if (!(c >> 24)) return;
            int x = sx, y = sy;
            if (turn == 1) x = W - 1 - sy, y = sx;
            if (turn == 2) x = W - 1 - sx, y = H - 1 - sy;
            if (turn == 3) x = sy, y = H - 1 - sx;
            want[size_t(y) * W + x] = c;
        };
        for (int turn = 0; turn < 4; ++turn) {
            const int length = turn % 2 ? H : W;
            for (int sy = 0; sy < T; ++sy)
                for (int sx = 0; sx < length; ++sx) place(turn, sx, sy, strip(length, sx, sy));
            for (int sy = 0; sy < T; ++sy)
                for (int sx = 0; sx < T; ++sx) place(turn, sx, sy, piece(sx, sy));
        }
        g_paint = a_paint_state{};
        g_paint.tool = FRECT_TOOL, g_paint.fill_kind = BORDER_FILL, g_paint.border = &border;
        g_paint.corner = 40;  // no rounded corners for a border
        g_paint.symmetry_on = true;  // nor copies
        const Point a = At(200, 300);
        Drag(a, At(a.v + H - 1, a.h + W - 1));
        for (int y = -2; y < H + 2; ++y)
            for (int x = -2; x < W + 2; ++x) {
                const bool in = x >= 0 && y >= 0 && x < W && y < H;
                const uint32_t c = in ? want[size_t(y) * W + x] : 0;
                ASSERT_EQ(Mask(a.v + y, a.h + x), c >> 24) << W << "x" << H << " at " << x << "," << y;
                if (c) {
                    ASSERT_EQ(Color(a.v + y, a.h + x), c & 0xFFFFFF) << W << "x" << H << " at " << x << "," << y;
                }
            }
        const Rect& b = g_doc.up->paintbounds;
        int painted = 0;
        for (int v = b.top; v < b.bottom; v += 3)
            for (int h = b.left; h < b.right; h += 3) painted += Mask(v, h) != 0;
        EXPECT_LT(painted, W * H / 4) << "one frame, not six";
        Fresh_Doc();
    }
}

// A pattern is laid in the layer's own phase: the same cell of the tile at
// the same cell of the label, wherever the shape starts.
TEST_F(PaintArt, PatternFillKeepsTheLayersPhase) {
    a_masked_gworld_owner tile = Picture(5, 3, [](int x, int y) { return 0xFF000000u | uint32_t(x * 50) << 16 | uint32_t(y * 90); });
    g_paint.tool = SRECT_TOOL, g_paint.fill_kind = PATTERN_FILL, g_paint.pattern = tile->fore;
    Drag(At(23, 17), At(41, 38));
    Drag(At(102, 221), At(110, 240));
    for (const auto& [v0, h0] : {std::pair{23, 17}, std::pair{102, 221}})
        for (int v = v0; v < v0 + 8; ++v)
            for (int h = h0; h < h0 + 15; ++h)
                ASSERT_EQ(Color(v, h), uint32_t((h % 5) * 50) << 16 | uint32_t((v % 3) * 90)) << v << "," << h;
}

// A small database with a stamp, a pattern and a border, open for one test.
class PaintArtDb : public PaintArt {
protected:
    void SetUp() override {
        PaintArt::SetUp();
        a_bord_res dir;
        dir.bords.push_back({a_keyset{7, 1, 0, 0}, 0, Rect{0, 0, T, T}, Rect{0, T, T, T + 4}, Rect{0, T + 4, T, T + 6}});
        bytes_ = Db_Bytes({
            Entry({7, 0, 0, 0}, Encode_Border_Directory(dir)),
            Entry({7, 1, 0, 0}, Picture_Record(T + 6, T, 32, Pixels(T + 6, T, Border_Cell), a_pixt_codec::LZW)),
            Entry({8, 0, 1, 1}, Picture_Record(13, 9, 32, Pixels(13, 9, Stamp_Cell), a_pixt_codec::LZW)),
            Entry({10, 0, 1, 1}, Picture_Record(7, 4, 32, Pixels(7, 4, [](int x, int y) {
                return 0xFF000000u | uint32_t(x * 30) << 8 | uint32_t(y * 60); }), a_pixt_codec::RAW)),
        });
        ASSERT_EQ(Open_Db(bytes_), OPEN_OKAY);
        Paint_Init();
    }
    void TearDown() override {
        Paint_Stop();
        OP_CloseNewest();
        PaintArt::TearDown();
    }
    std::vector<uint8_t> bytes_;
};

TEST_F(PaintArtDb, DesignArtStrokesPaintWhatTheMouseWouldAndBadKeysAreRefused) {
    const std::string design = R"({"template": "A-ONE 29125", "units": [{"paint": [
  {"tool": "bucket", "points": [[600, 600]], "pattern": "10.0.1.1"},
  {"tool": "stamp", "stamp": "8.0.1.1", "points": [[400, 300], [520, 330], [640, 300]], "stamp_size": 14,
   "stamp_angle": 30, "stamp_spacing": 20, "stamp_bend": [20, -30], "stamp_darkness": 35, "stamp_colorshift": 40,
   "symmetry": {"count": 5}},
  {"tool": "rect", "border": "7.1.0.0", "points": [[200, 200], [700, 500]]},
  {"tool": "solid-oval", "stamp": "8.0.1.1", "points": [[100, 800], [300, 950]]}]}]})";
    std::string error;
    ASSERT_TRUE(Design_Read(design, a_design_options{}, error)) << error;
    const std::vector<uint32_t> from_design = Layer();

    Fresh_Doc();
    a_paint_art art;
    ASSERT_TRUE(Paint_Load_Stamp({8, 0, 1, 1}, art));
    ASSERT_TRUE(Paint_Load_Pattern({10, 0, 1, 1}, art));
    ASSERT_TRUE(Paint_Load_Border({7, 1, 0, 0}, art));
    auto fresh = [&] {
        g_paint = a_paint_state{};
        Paint_Lend_Art(art, g_paint);
    };
    fresh();
    g_paint.tool = BUCKET_TOOL, g_paint.fill_kind = PATTERN_FILL;
    Drag(At(600, 600), At(600, 600));
    fresh();
    g_paint.tool = STAMP_TOOL, g_paint.stamp_size = 14, g_paint.stamp_rotate = 30, g_paint.stamp_spacing = 20;
    g_paint.stamp_bendx = 20, g_paint.stamp_bendy = -30, g_paint.stamp_darkness = 35, g_paint.stamp_colorshift = 40;
    g_paint.symmetry_on = true, g_paint.symmetry_count = 5;
    Paint_MouseDown(Ev(At(300, 400)));
    Paint_MouseMove(Ev(At(330, 520)));
    Paint_MouseUp(Ev(At(300, 640)));
    fresh();
    g_paint.tool = FRECT_TOOL, g_paint.fill_kind = BORDER_FILL;
    Drag(At(200, 200), At(500, 700));
    fresh();
    g_paint.tool = SOVAL_TOOL, g_paint.fill_kind = STAMP_FILL;
    Drag(At(800, 100), At(950, 300));
    EXPECT_TRUE(Layer() == from_design);
    EXPECT_NE(Mask(200 + 2, 700 - 2), 0) << "the border's corner";
    EXPECT_EQ(Color(200 + T + 2, 450), uint32_t(450 % 7 * 30) << 8 | uint32_t(208 % 4 * 60)) << "the pattern within the band";

    for (const auto& [stroke, says] : std::initializer_list<std::pair<const char*, const char*>>{
             {R"({"tool": "stamp", "points": [[5, 5]]})", "needs a stamp"},
             {R"({"tool": "stamp", "stamp": "8.0.1.2", "points": [[5, 5]]})", "paint[1].stamp: no picture"},
             {R"({"tool": "rect", "border": "7.0.0.0", "points": [[5, 5], [50, 50]]})", "paint[1].border: no "},
             {R"({"tool": "rect", "border": "8.0.1.1", "points": [[5, 5], [50, 50]]})", "category 7"},
             {R"({"tool": "bucket", "pattern": "10.0.1.1", "stamp": "8.0.1.1", "points": [[5, 5]]})", "more than one"},
             {R"({"tool": "stamp", "stamp": "8.0.1.1", "stamp_bend": [60, 0], "points": [[5, 5]]})", "stamp_bend[1]: must be"}}) {
        const std::string bad = std::string(R"({"template": "A-ONE 29125", "units": [{"paint": [)") + stroke + "]}]}";
        EXPECT_FALSE(Design_Read(bad, a_design_options{}, error)) << bad;
        EXPECT_NE(error.find(says), std::string::npos) << error;
    }
}

}  // namespace
