// Regions: shapes against their analytic areas, the set operations, the
// half-open pixel convention and scaling.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>

#include "pixmap_fixtures.h"
#include "platform/region.h"

namespace {

// Whether the region is the same when mirrored left-right and top-bottom within `box`.
bool Is_Mirror_Symmetric(const a_region* rgn, const Rect& box) {
    for (int y = box.top; y < box.bottom; ++y)
        for (int x = box.left; x < box.right; ++x) {
            Point p{int16_t(y), int16_t(x)};
            Point mx{int16_t(y), int16_t(box.left + box.right - 1 - x)};
            Point my{int16_t(box.top + box.bottom - 1 - y), int16_t(x)};
            bool in = Rgn_ContainsPoint(rgn, p);
            if (in != Rgn_ContainsPoint(rgn, mx) || in != Rgn_ContainsPoint(rgn, my)) return false;
        }
    return true;
}

}  // namespace

TEST(Region, OvalsMatchTheirAreaAndAreSymmetric) {
    a_region_ptr rgn = Make_Region();
    for (Rect box : {R(0, 0, 1200, 1200), R(10, 20, 601, 820), R(-5, -7, 6, 4), R(0, 0, 3, 50)}) {
        Rgn_SetOval(rgn.get(), box);
        double area = std::numbers::pi * Rect_Width(box) * Rect_Height(box) / 4;
        EXPECT_NEAR(double(Rgn_Area(rgn.get())), area, area * 0.01 + Rect_Width(box) + Rect_Height(box))
            << box.right;
        EXPECT_EQ(Rgn_Bounds(rgn.get()), box);
        if (Rect_Width(box) < 100) {
            EXPECT_TRUE(Is_Mirror_Symmetric(rgn.get(), box));
        }
    }
    Rgn_SetOval(rgn.get(), R(5, 5, 5, 40));
    EXPECT_TRUE(Rgn_IsEmpty(rgn.get()));
}

TEST(Region, RoundRectsRunFromRectangleToOval) {
    a_region_ptr rr = Make_Region();
    a_region_ptr ref = Make_Region();
    Rect box = R(0, 0, 60, 100);
    Rgn_SetRoundRect(rr.get(), box, 0, 0);
    Rgn_SetRect(ref.get(), box);
    EXPECT_TRUE(Rgn_Equal(rr.get(), ref.get()));
    Rgn_SetRoundRect(rr.get(), box, 100, 60);
    Rgn_SetOval(ref.get(), box);
    EXPECT_TRUE(Rgn_Equal(rr.get(), ref.get()));
    // Corners of radius 10: the rectangle less four corners of (4 - pi) r^2 / 4 each.
    Rgn_SetRoundRect(rr.get(), box, 20, 20);
    EXPECT_NEAR(double(Rgn_Area(rr.get())), 6000 - (4 - std::numbers::pi) * 100, 12);
    EXPECT_FALSE(Rgn_ContainsPoint(rr.get(), Point{0, 0}));
    EXPECT_TRUE(Rgn_ContainsPoint(rr.get(), Point{0, 50}));
    EXPECT_TRUE(Is_Mirror_Symmetric(rr.get(), box));
}

TEST(Region, RectanglesAreHalfOpenAndPolygonsAgree) {
    a_region_ptr rect = Make_Region();
    a_region_ptr poly = Make_Region();
    Rgn_SetRect(rect.get(), R(10, 20, 30, 60));
    EXPECT_EQ(Rgn_Area(rect.get()), 20 * 40);
    EXPECT_TRUE(Rgn_ContainsPoint(rect.get(), Point{10, 20}));
    EXPECT_FALSE(Rgn_ContainsPoint(rect.get(), Point{30, 20}));
    EXPECT_FALSE(Rgn_ContainsPoint(rect.get(), Point{10, 60}));
    const Point pts[4] = {{10, 20}, {10, 60}, {30, 60}, {30, 20}};
    Rgn_SetPoly(poly.get(), pts, 4);
    EXPECT_TRUE(Rgn_Equal(rect.get(), poly.get()));
    // A right triangle holds about half its box.
    const Point tri[3] = {{0, 0}, {0, 100}, {100, 0}};
    Rgn_SetPoly(poly.get(), tri, 3);
    EXPECT_NEAR(double(Rgn_Area(poly.get())), 5000, 150);
    Rgn_SetPoly(poly.get(), tri, 2);
    EXPECT_TRUE(Rgn_IsEmpty(poly.get()));
}

TEST(Region, OffsetInsetAndMap) {
    a_region_ptr rgn = Make_Region();
    Rgn_SetRect(rgn.get(), R(0, 0, 10, 20));
    Rgn_Offset(rgn.get(), 5, -3);
    EXPECT_EQ(Rgn_Bounds(rgn.get()), R(-3, 5, 7, 25));
    Rgn_Inset(rgn.get(), 2, 1);
    EXPECT_EQ(Rgn_Bounds(rgn.get()), R(-2, 7, 6, 23));
    EXPECT_EQ(Rgn_Area(rgn.get()), 8 * 16);
    Rgn_Inset(rgn.get(), -2, -1);
    EXPECT_EQ(Rgn_Bounds(rgn.get()), R(-3, 5, 7, 25));
    // Stretching a unit square onto twice its size quadruples an oval.
    Rgn_SetOval(rgn.get(), R(0, 0, 100, 100));
    int64_t before = Rgn_Area(rgn.get());
    Rgn_Map(rgn.get(), R(0, 0, 100, 100), R(0, 0, 200, 200));
    EXPECT_NEAR(double(Rgn_Area(rgn.get())), 4.0 * double(before), 4.0 * double(before) * 0.01);
    EXPECT_EQ(Rgn_Bounds(rgn.get()), R(0, 0, 200, 200));
    Rgn_Map(rgn.get(), R(0, 0, 0, 0), R(0, 0, 10, 10));
    EXPECT_TRUE(Rgn_IsEmpty(rgn.get()));
}

// The rectangle helpers of the geometry header against the region operations
// on random rectangles (some empty): the same set, the same bounding box.
TEST(Region, RectHelpersAgreeWithRegions) {
    std::mt19937 rng(7);
    auto coord = [&] { return int(rng() % 41) - 20; };
    for (int i = 0; i < 500; ++i) {
        Rect a = R(coord(), coord(), coord(), coord()), b = R(coord(), coord(), coord(), coord());
        a_region_ptr ra = Make_Region(), rb = Make_Region(), out = Make_Region();
        Rgn_SetRect(ra.get(), a);
        Rgn_SetRect(rb.get(), b);
        Rgn_Sect(ra.get(), rb.get(), out.get());
        EXPECT_EQ(Rgn_Bounds(out.get()), Rect_Sect(a, b)) << i;
        Rgn_Union(ra.get(), rb.get(), out.get());
        if (!Rect_IsEmpty(a) || !Rect_IsEmpty(b)) {
            EXPECT_EQ(Rgn_Bounds(out.get()), Rect_Union(a, b)) << i;
        }
        if (Rect_IsEmpty(a)) continue;
        int dh = coord(), dv = coord(), d = int(rng() % 7) - 3;
        Rgn_Copy(ra.get(), out.get());
        Rgn_Offset(out.get(), dh, dv);
        EXPECT_EQ(Rgn_Bounds(out.get()), Rect_Offset(a, dh, dv)) << i;
        Rgn_Copy(ra.get(), out.get());
        Rgn_Inset(out.get(), d, d);
        if (!Rgn_IsEmpty(out.get())) {
            EXPECT_EQ(Rgn_Bounds(out.get()), Rect_Inset(a, d)) << i;
        }
        int w = int(rng() % 9), h = int(rng() % 9);
        Rect c = Rect_Centred(a, w, h);
        EXPECT_EQ(Rect_Width(c), w);
        EXPECT_EQ(Rect_Height(c), h);
        EXPECT_LE(std::abs((c.left - a.left) - (a.right - c.right)), 1) << i;
        EXPECT_LE(std::abs((c.top - a.top) - (a.bottom - c.bottom)), 1) << i;
    }
}
