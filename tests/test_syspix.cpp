// Pixel-map geometry: flips, rotation, skew and bend, bounding boxes, fills
// and region rectangles.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "pixmap_fixtures.h"
#include "platform/region.h"
#include "pixels/syspix.h"

namespace {

uint32_t At(const PixMap& pm, int x, int y) {
    return Row_GetDot(PixMap_Row(pm, y), pm.pixelSize, x - pm.bounds.left);
}

std::vector<int> g_progress;
void Record_Progress(int total, int done) {
    g_progress.push_back(total);
    g_progress.push_back(done);
}

}  // namespace

// Flips and right-angle turns against where each pixel must go, at every
// depth, on a map away from 0,0: a quarter turn is anticlockwise, so the
// top-right corner comes to the top-left.
TEST(SysPix, FlipsAndRightAnglesMoveEveryPixelExactly) {
    std::mt19937 rng(3);
    const int w = 12, h = 7;
    for (int depth : {1, 8, 16, 24, 32}) {
        SCOPED_TRACE(depth);
        const uint32_t bits = depth == 1 ? 1u : depth == 8 ? 0xFFu : depth == 16 ? 0x7FFFu : 0xFFFFFFu;
        a_test_map m(R(3, 5, 3 + h, 5 + w), depth);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) m.Put(5 + x, 3 + y, uint32_t(rng()) & bits);
        auto in = [&](int x, int y) { return m.Get(5 + x, 3 + y); };
        struct a_turn {
            int angle, ow, oh;
            int (*sx)(int x, int y), (*sy)(int x, int y);
        };
        const a_turn turns[] = {
            {900, h, w, [](int, int y) { return w - 1 - y; }, [](int x, int) { return x; }},
            {-900, h, w, [](int, int y) { return y; }, [](int x, int) { return h - 1 - x; }},
            {1800, w, h, [](int x, int) { return w - 1 - x; }, [](int, int y) { return h - 1 - y; }},
        };
        for (a_rotate_filter f : {NEAREST, BILINEAR}) {
            if (f == BILINEAR && depth != 32) continue;
            for (const a_turn& t : turns) {
                PixMap out;
                PixMap_Rotate(f, false, t.angle, m.get(), out);
                ASSERT_EQ(out.bounds, R(0, 0, t.oh, t.ow)) << t.angle;
                for (int y = 0; y < t.oh; ++y)
                    for (int x = 0; x < t.ow; ++x)
                        ASSERT_EQ(At(out, x, y), in(t.sx(x, y), t.sy(x, y))) << t.angle << " at " << x << "," << y;
                Dispose_PixMap(out);
            }
        }
        a_test_map before(R(3, 5, 3 + h, 5 + w), depth);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) before.Put(5 + x, 3 + y, in(x, y));
        PixMap_FlipX(m.get());
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) ASSERT_EQ(in(x, y), before.Get(5 + w - 1 - x, 3 + y));
        PixMap_FlipY(m.get());
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) ASSERT_EQ(in(x, y), before.Get(5 + w - 1 - x, 3 + h - 1 - y));
        PixMap_Rotate_180(m.get());  // both flips undone
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) ASSERT_EQ(in(x, y), before.Get(5 + x, 3 + y));
    }
}

TEST(SysPix, ArbitraryAnglesGrowTheBoxAndWholeTurnsHandTheMapOver) {
    a_test_map m(R(0, 0, 100, 200), 32);
    m.Fill(0x00204060);
    PixMap out;
    PixMap_Rotate(NEAREST, false, 300, m.get(), out);
    // 200 cos 30 + 100 sin 30 = 223.2, 200 sin 30 + 100 cos 30 = 186.6
    EXPECT_EQ(out.bounds, R(0, 0, 187, 223));
    EXPECT_EQ(At(out, 111, 93), 0x00204060u);  // the centre
    EXPECT_EQ(At(out, 0, 0), 0x00FFFFFFu);     // a corner outside the picture
    EXPECT_EQ(At(out, 222, 186), 0x00FFFFFFu);
    Dispose_PixMap(out);
    PixMap_Rotate(NEAREST, false, 450, m.get(), out);
    EXPECT_EQ(out.bounds, R(0, 0, 212, 212));
    Dispose_PixMap(out);
    // A small rotation of a mark near the centre moves it the right way:
    // anticlockwise, a point right of the centre rises.
    a_test_map c(R(0, 0, 41, 41), 8);
    c.Put(35, 20, 200);
    PixMap_Rotate(NEAREST, false, 900, c.get(), out);
    EXPECT_EQ(At(out, 20, 5), 200u);
    Dispose_PixMap(out);
    // Whole turns hand the map over as it is.
    for (int angle : {0, 3600, -3600, 7200}) {
        PixMap in;
        New_PixMap(in, R(0, 0, 50, 100), 32, nullptr);
        uint8_t* base = in.baseAddr;
        PixMap_Rotate(NEAREST, false, angle, in, out);
        EXPECT_TRUE(Is_Null_PixMap(in)) << angle;
        EXPECT_EQ(out.baseAddr, base) << angle;
        Dispose_PixMap(out);
    }
}

TEST(SysPix, BilinearRotationWeighsNeighboursAndFadesEdges) {
    a_test_map m(R(0, 0, 60, 60), 32);
    m.Fill(0x80C86432);
    PixMap out;
    g_progress.clear();
    PixMap_Rotate_Bilinear(Record_Progress, false, 300, m.get(), out);
    EXPECT_EQ(At(out, Rect_Width(out.bounds) / 2, Rect_Height(out.bounds) / 2), 0x80C86432u);
    EXPECT_EQ(At(out, 0, 0), 0u);  // no neighbour inside
    ASSERT_GE(g_progress.size(), 6u);
    EXPECT_EQ(g_progress[0], -1);
    EXPECT_EQ(g_progress[2], Rect_Height(out.bounds));
    EXPECT_EQ(g_progress[3], 0);
    EXPECT_EQ(g_progress.size(), size_t(4 + 2 * Rect_Height(out.bounds)));
    EXPECT_EQ(g_progress.back(), -2);
    // Along the slanted edge, colour keeps its value without zerof and fades with it.
    int y = Rect_Height(out.bounds) / 2;
    int edge = 0;
    while (edge < Rect_Width(out.bounds) && At(out, edge, y) == 0) ++edge;
    uint32_t kept = At(out, edge, y);
    EXPECT_EQ(kept & 0xFFFFFF, 0xC86432u);
    EXPECT_LT(kept >> 24, 0x80u);  // the fourth byte always fades
    Dispose_PixMap(out);
    PixMap_Rotate_Bilinear(nullptr, true, 300, m.get(), out);
    uint32_t faded = At(out, edge, y);
    EXPECT_LT((faded >> 16) & 0xFF, 0xC8u);
    Dispose_PixMap(out);
    // Eight-bit maps the same way.
    a_test_map g(R(0, 0, 30, 30), 8, gray_ctable);
    g.Fill(90);
    PixMap_Rotate(BILINEAR, false, 123, g.get(), out);
    EXPECT_EQ(out.pmTable, gray_ctable);
    EXPECT_EQ(At(out, Rect_Width(out.bounds) / 2, Rect_Height(out.bounds) / 2), 90u);
    Dispose_PixMap(out);
}

TEST(SysPix, SkewAndBendShiftRowsAndColumns) {
    a_test_map m(R(0, 0, 11, 4), 8);
    m.Fill(7);
    PixMap out;
    PixMap_SkewX(50, m.get(), out);  // 5 pixels over 11 rows
    EXPECT_EQ(out.bounds, R(0, 0, 11, 9));
    EXPECT_EQ(At(out, 0, 0), 7u);
    EXPECT_EQ(At(out, 4, 0), 0u);
    EXPECT_EQ(At(out, 5, 10), 7u);
    EXPECT_EQ(At(out, 4, 10), 0u);
    Dispose_PixMap(out);
    PixMap_SkewX(-50, m.get(), out);
    EXPECT_EQ(At(out, 5, 0), 7u);
    EXPECT_EQ(At(out, 0, 10), 7u);
    Dispose_PixMap(out);
    PixMap_SkewY(100, m.get(), out);  // 4 pixels over 4 columns
    EXPECT_EQ(out.bounds, R(0, 0, 15, 4));
    EXPECT_EQ(At(out, 3, 4), 7u);
    EXPECT_EQ(At(out, 3, 3), 0u);
    Dispose_PixMap(out);
    PixMap_BendX(40, m.get(), out);  // 4 pixels, most in the middle row
    EXPECT_EQ(out.bounds, R(0, 0, 11, 8));
    EXPECT_EQ(At(out, 0, 0), 7u);
    EXPECT_EQ(At(out, 0, 10), 7u);
    EXPECT_EQ(At(out, 4, 5), 7u);
    EXPECT_EQ(At(out, 3, 5), 0u);
    Dispose_PixMap(out);
    EXPECT_EQ(Calc_Parabola(0, 9, 10), 0);
    EXPECT_EQ(Calc_Parabola(5, 9, 10), 9);
    EXPECT_EQ(Calc_Parabola(10, 9, 10), 0);
    uint8_t* base = m.get().baseAddr;
    PixMap_BendY(0, m.get(), out);  // nothing to do: the map moves
    EXPECT_EQ(out.baseAddr, base);
    m.get() = out;
}

TEST(SysPix, BoundingBoxesFillsAndFrames) {
    for (int depth : {1, 8, 16, 32}) {
        a_test_map m(R(-5, -5, 20, 20), depth);
        Rect b{1, 1, 1, 1};
        PixMap_Bounding(m.get(), m.get().bounds, b);
        EXPECT_TRUE(Rect_IsEmpty(b)) << depth;
        m.Put(3, 4, 1);
        m.Put(-2, 10, 1);
        PixMap_Bounding(m.get(), m.get().bounds, b);
        EXPECT_EQ(b, R(4, -2, 11, 4)) << depth;
        PixMap_Bounding(m.get(), R(0, 0, 30, 30), b);
        EXPECT_EQ(b, R(4, 3, 5, 4)) << depth;
    }
    a_test_map m32(R(0, 0, 6, 6), 32);
    PixMap32_Fill(m32.get(), R(-3, 4, 2, 99), 0x12345678);
    EXPECT_EQ(m32.Get(5, 1), 0x12345678u);
    EXPECT_EQ(m32.Get(3, 1), 0u);
    EXPECT_EQ(m32.Get(5, 2), 0u);
    PixMap_Frame(m32.get(), R(1, 1, 5, 5), 9);
    EXPECT_EQ(m32.Get(1, 1), 9u);
    EXPECT_EQ(m32.Get(4, 4), 9u);
    EXPECT_EQ(m32.Get(2, 2), 0u);
    EXPECT_EQ(m32.Get(5, 5), 0u);
    a_test_map other(R(10, 10, 16, 16), 32);
    EXPECT_FALSE(PixMap_Compare(m32.get(), other.get()));
    PixMap32_Fill(other.get(), R(10, 14, 12, 16), 0x12345678);
    PixMap_Frame(other.get(), R(11, 11, 15, 15), 9);
    EXPECT_TRUE(PixMap_Compare(m32.get(), other.get()));
    a_test_map bits(R(0, 0, 9, 9), 1);
    EXPECT_TRUE(Is_PixMap1_Empty(bits.get()));
    const uint8_t checker[8] = {0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55};
    PixMap1_FillPattern(bits.get(), checker);
    EXPECT_EQ(bits.Get(0, 0), 1u);
    EXPECT_EQ(bits.Get(1, 0), 0u);
    EXPECT_EQ(bits.Get(8, 8), 1u);
    EXPECT_FALSE(Is_PixMap1_Empty(bits.get()));
}

TEST(SysPix, RegionsFromOneBitMapsKeepTheFirst20000Runs) {
    a_test_map m(R(10, 20, 20, 40), 1);
    a_region* rgn = Rgn_New();
    Rgn_SetRect(rgn, R(0, 0, 1, 1));
    PixMap1_To_Region(m.get(), rgn);  // nothing set: unchanged
    EXPECT_EQ(Rgn_Bounds(rgn), R(0, 0, 1, 1));
    // A 3-row bar (merged into one rectangle), a gap, and two runs in one row.
    for (int y = 11; y < 14; ++y)
        for (int x = 22; x < 30; ++x) m.Put(x, y, 1);
    for (int x = 22; x < 30; ++x) m.Put(x, 15, 1);  // same columns after a gap row
    m.Put(21, 17, 1);
    m.Put(39, 17, 1);
    std::vector<Rect> rects;
    Rect bounds;
    ASSERT_TRUE(PixMap1_To_Rects(m.get(), rects, bounds));
    ASSERT_EQ(rects.size(), 4u);
    EXPECT_EQ(rects[0], R(11, 22, 14, 30));
    EXPECT_EQ(rects[1], R(15, 22, 16, 30));  // the gap row is not swallowed
    EXPECT_EQ(bounds, R(11, 21, 18, 40));
    PixMap1_To_Region(m.get(), rgn);
    EXPECT_EQ(Rgn_Area(rgn), 8 * 3 + 8 + 2);
    EXPECT_FALSE(Rgn_ContainsPoint(rgn, Point{14, 25}));
    EXPECT_TRUE(Rgn_ContainsPoint(rgn, Point{17, 39}));

    // Only the first 20000 runs are kept: 400 rows of 100 single-pixel runs.
    a_test_map many(R(0, 0, 400, 200), 1);
    const uint8_t stripes[8] = {0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55};
    PixMap1_FillPattern(many.get(), stripes);
    ASSERT_TRUE(PixMap1_To_Rects(many.get(), rects, bounds));
    EXPECT_EQ(rects.size(), size_t(MAX_N_RECTS));
    EXPECT_EQ(rects.back().top, 199);  // row 200 and below are dropped
    PixMap1_To_Region(many.get(), rgn);
    EXPECT_EQ(Rgn_Area(rgn), MAX_N_RECTS);
    EXPECT_EQ(Rgn_Bounds(rgn), R(0, 0, 200, 200));
    Rgn_Dispose(rgn);
}

TEST(SysPix, BilinearColourRotationAgreesWithEachChannelAlone) {
    std::mt19937 rng(5);
    a_test_map c(R(0, 0, 37, 53), 32);
    c.Random(rng);
    for (int angle : {1, 300, 1337, 2999}) {
        PixMap out;
        PixMap_Rotate(BILINEAR, false, angle, c.get(), out);
        for (int ch = 0; ch < 3; ++ch) {
            a_test_map g(R(0, 0, 37, 53), 8, gray_ctable2);
            for (int y = 0; y < 37; ++y)
                for (int x = 0; x < 53; ++x) g.Put(x, y, (c.Get(x, y) >> (8 * ch)) & 0xFF);
            PixMap gout;
            PixMap_Rotate(BILINEAR, false, angle, g.get(), gout);
            ASSERT_EQ(gout.bounds, out.bounds);
            for (int y = 0; y < Rect_Height(out.bounds); ++y)
                for (int x = 0; x < Rect_Width(out.bounds); ++x)
                    ASSERT_EQ((At(out, x, y) >> (8 * ch)) & 0xFF, At(gout, x, y))
                        << "angle " << angle << " channel " << ch << " at " << x << "," << y;
            Dispose_PixMap(gout);
        }
        Dispose_PixMap(out);
    }
}

TEST(SysPix, BilinearSamplesStayPutAlongLongRows) {
    std::mt19937 rng(9);
    a_test_map m(R(0, 0, 40, 1600), 8, gray_ctable2);
    m.Random(rng);
    PixMap out;
    PixMap_Rotate(BILINEAR, false, 7, m.get(), out);
    int nw = Rect_Width(out.bounds), nh = Rect_Height(out.bounds);
    double a = 7 * M_PI / 1800, c = std::cos(a), s = std::sin(a);
    // Far along the rows, where a per-column step would have drifted most.
    for (int col = nw - 60; col < nw - 40; ++col) {
        int row = nh / 2;
        double ox = col + 0.5 - nw / 2.0, oy = row + 0.5 - nh / 2.0;
        double sx = ox * c - oy * s + 800 - 0.5, sy = ox * s + oy * c + 20 - 0.5;
        int x0 = int(std::floor(sx)), y0 = int(std::floor(sy));
        double fx = sx - x0, fy = sy - y0;
        double want = m.Get(x0, y0) * (1 - fx) * (1 - fy) + m.Get(x0 + 1, y0) * fx * (1 - fy) +
                      m.Get(x0, y0 + 1) * (1 - fx) * fy + m.Get(x0 + 1, y0 + 1) * fx * fy;
        EXPECT_NEAR(double(At(out, col, row)), want, 1.5) << col;
    }
    Dispose_PixMap(out);
}
