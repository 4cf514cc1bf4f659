// Unit shapes: the shape table, integer unit geometry, every shape's region
// against analytic areas, holes, the LightScribe ring, the feathered disc
// mask, and the mapping stack they use.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "pixmap_fixtures.h"
#include "platform/region.h"
#include "port_canvas.h"
#include "templates/expand.h"
#include "templates/mapping.h"
#include "templates/shapes.h"
#include "templates/unit_kinds.h"

namespace {

constexpr double kPi = std::numbers::pi;

a_iunit IUnit(a_shape shape, const Rect& bbox, int m0 = 0, int m1 = 0, int m2 = 0, int m3 = 0) {
    return a_iunit{shape, bbox, {}, {int16_t(m0), int16_t(m1), int16_t(m2), int16_t(m3)}};
}

a_unit Disc_Unit() {  // unit 1 of "A-ONE 29125"
    return a_unit{.kind = UNIT_CD, .bbox = {15, 15, 133, 133}, .bleed = {2, 2, 2, 2}, .meas = {41}};
}

}  // namespace

TEST(Shapes, MapUnitRoundsAwayFromZeroAndScalesByTheHorizontal) {
    Push_Mapping(a_coord_mapping{.fdecx = 1, .multx = 2, .multy = 3, .originx = 0});
    const a_unit u{.kind = UNIT_CD, .bbox = {-0.25f, 0.5f, 2.25f, 1.5f},
                   .bleed = {0.25f, 1, 0.75f, 0}, .meas = {1.25f, -1.25f}};
    a_iunit iu;
    Map_Unit(iu, u);
    Pop_Mapping();
    EXPECT_EQ(iu.shape, SHAPE_RING);
    EXPECT_EQ(iu.bbox, R(2, -3, 5, 3));   // -2.5 -> -3, 2.5 -> 3, 1.5 -> 2, 4.5 -> 5
    EXPECT_EQ(iu.ibleed, R(2, 1, 0, 2));  // the vertical bleed scaled across too
    EXPECT_EQ(iu.imeas[0], 3);
    EXPECT_EQ(iu.imeas[1], -3);
}

// Every shape's region against its analytic area, with points inside and
// outside (Point is v, h).
TEST(Shapes, RegionsHaveTheirAnalyticAreas) {
    a_coord_mapping m;
    Calc_Unit_Mapping(Disc_Unit(), R(0, 0, 1200, 1200), m);
    Push_Mapping(m);
    a_iunit disc;
    Map_Unit(disc, Disc_Unit());
    Pop_Mapping();
    EXPECT_EQ(disc.bbox, R(0, 0, 1200, 1200));
    EXPECT_EQ(disc.imeas[0], 417);  // 41 mm at 1200 / 118 pixels per mm
    a_iunit hub = disc;             // a hub ring is outline only: the region is the same
    hub.imeas[1] = 700;
    EXPECT_EQ(Audio_Slant(R(0, 0, 300, 900)), 32);  // 300 × 7 ÷ 64 = 32.8
    a_iunit face = IUnit(SHAPE_AUDIOFACE, R(0, 0, 300, 900), 0, 100, 500, 120);
    // The window: a slot 500 × 120 with round ends, shrunk by 10 on every side.
    a_iunit window = face;
    window.ibleed = R(10, 10, 10, 10);
    const a_iunit hockey = IUnit(SHAPE_BIZHOCKEY, R(0, 0, 590, 800), 150);
    // The business card: corners by the second measure, hole by the first.
    const a_iunit card = IUnit(SHAPE_BIZRECT, R(0, 0, 590, 850), 150, 30);
    const double outer = kPi * 600 * 600, hole = kPi * 208.5 * 208.5, r = 400, h = 295;
    const double band = 2 * (h * std::sqrt(r * r - h * h) + r * r * std::asin(h / r));
    const double body = 900.0 * 300 - 32.0 * 32, slot = 380 * 100 + kPi * 100 * 100 / 4;
    const double card_body = 850.0 * 590 - (4 - kPi) * 900;
    struct a_case {
        const char* name;
        a_iunit iu;
        bool holes;
        double area, tolerance;
        std::vector<Point> in = {}, out = {};
        Rect bounds = {};  // empty: not checked
    };
    const a_case cases[] = {
        {"disc", disc, false, outer, outer * 0.002},
        {"disc with its hole", disc, true, outer - hole, outer * 0.002},
        {"hub ring", hub, true, outer - hole, outer * 0.002, {{600, 1000}}, {{600, 600}}},
        {"hockey", hockey, false, 800 * 590, 0},
        // The corners are cut round, the flat edge is full height.
        {"hockey with its hole", hockey, true, band - kPi * 75 * 75, (band - kPi * 75 * 75) * 0.003,
         {{0, 400}}, {{0, 0}, {295, 400}}, R(0, 0, 590, 800)},
        {"audio face", face, false, body, 300},
        {"audio face window", window, true, body - slot, 400, {{119, 450}, {221, 450}},
         {{170, 450}, {1, 1}}},  // the slot: top 100 + 2 × 10, 100 high
        // A corner measure below 2 pixels is a plain rectangle.
        {"square round rectangle", IUnit(SHAPE_ROUNDRECT, R(0, 0, 100, 200), 1), true, 20000, 0},
        {"card", card, false, card_body, 30},
        {"card with its hole", card, true, card_body - kPi * 75 * 75, 150},
        {"rectangle", IUnit(SHAPE_RECT, R(0, 0, 10, 20), 5, 5), true, 200, 0},
        {"booklet", IUnit(SHAPE_BOOKLET, R(0, 0, 10, 20), 5, 5), true, 200, 0},
        {"multipart", IUnit(SHAPE_MULTIPART, R(0, 0, 10, 20), 5, 5), true, 200, 0},
        {"slimline", IUnit(SHAPE_SLIMLINE, R(0, 0, 10, 20), 5, 5), true, 200, 0},
        {"jewel base", IUnit(SHAPE_JEWELBASE, R(0, 0, 10, 20), 5, 5), true, 200, 0},
        {"nothing", IUnit(SHAPE_NOTHING, R(0, 0, 10, 20)), true, 0, 0},
        {"oval", IUnit(SHAPE_OVAL, R(0, 0, 100, 300)), true, kPi * 50 * 150, 150},
    };
    for (const a_case& c : cases) {
        SCOPED_TRACE(c.name);
        a_region_ptr rgn = Make_Region();
        Calc_Unit_Region(rgn.get(), c.iu, c.holes);
        EXPECT_NEAR(double(Rgn_Area(rgn.get())), c.area, c.tolerance);
        for (Point p : c.in) EXPECT_TRUE(Rgn_ContainsPoint(rgn.get(), p)) << p.v << ", " << p.h;
        for (Point p : c.out) EXPECT_FALSE(Rgn_ContainsPoint(rgn.get(), p)) << p.v << ", " << p.h;
        if (!Rect_IsEmpty(c.bounds)) {
            EXPECT_EQ(Rgn_Bounds(rgn.get()), c.bounds);
        }
    }
}

// Hole and LightScribe regions split the bounds into the region and the
// rest: together the whole, never overlapping.
TEST(Shapes, HoleAndLightScribeRegionsSplitTheBounds) {
    a_region_ptr rgn = Make_Region(), not_rgn = Make_Region(), both = Make_Region();
    const Rect bounds = R(0, 0, 1200, 1200);
    auto expect_split = [&] {
        Rgn_Union(rgn.get(), not_rgn.get(), both.get());
        EXPECT_EQ(Rgn_Area(both.get()), 1200 * 1200);
        Rgn_Sect(rgn.get(), not_rgn.get(), both.get());
        EXPECT_TRUE(Rgn_IsEmpty(both.get()));
    };
    Calc_Hole_Rgns(not_rgn.get(), rgn.get(), bounds, Calc_Print_Unit(Disc_Unit(), true), true);
    expect_split();
    EXPECT_EQ(Mapping_Depth(), 0);
    // With the bleed the disc fills the surface and the hole shrinks to 37 mm.
    EXPECT_EQ(Rgn_Bounds(rgn.get()), bounds);
    EXPECT_TRUE(Rgn_ContainsPoint(not_rgn.get(), Point{600, 600}));
    EXPECT_FALSE(Rgn_ContainsPoint(not_rgn.get(), Point{600, 600 + 200}));

    // LightScribe: the full setting fills the 117.4 mm disc box.
    Calc_LS_Rgns(not_rgn.get(), rgn.get(), bounds, 3);
    expect_split();
    EXPECT_EQ(Rgn_Bounds(rgn.get()), bounds);
    double hole = 47.6 * 1200 / 117.4 / 2;
    EXPECT_NEAR(double(Rgn_Area(rgn.get())), kPi * (600 * 600 - hole * hole), 3000);
    Calc_LS_Rgns(not_rgn.get(), rgn.get(), bounds, 1);
    expect_split();
    Rect b = Rgn_Bounds(rgn.get());
    EXPECT_NEAR(Rect_Width(b), 73 * 1200 / 117.4, 2);
    EXPECT_NEAR(b.left + b.right, 1200, 2);
    EXPECT_FALSE(Rgn_ContainsPoint(rgn.get(), Point{600, int16_t(600 + 62.8 * 1200 / 117.4 / 2 - 3)}));
    a_region_ptr dflt = Make_Region(), dflt_not = Make_Region();
    Calc_LS_Rgns(dflt_not.get(), dflt.get(), bounds, 99);  // out of range: the default, full
    Calc_LS_Rgns(not_rgn.get(), rgn.get(), bounds, DEFAULT_LS_COVERAGE);
    EXPECT_TRUE(Rgn_Equal(dflt.get(), rgn.get()));
}

TEST(Shapes, OuterMasksPaperAndPrintPlacement) {
    a_unit u{.kind = UNIT_RECT};
    EXPECT_FALSE(Has_Outer_Mask(u));
    u.meas[0] = 3;
    EXPECT_TRUE(Has_Outer_Mask(u));
    a_template t;
    t.papersize = a_fpoint{210, 297};
    t.tflags = Flag_Bit(IS_LANDSCAPE);
    a_frect paper;
    Calc_Paper_Rect(paper, t);
    EXPECT_EQ(paper, (a_frect{0, 0, 297, 210}));
    a_unit grown = Calc_Print_Unit(Disc_Unit(), true);
    EXPECT_EQ(grown.bbox, (a_frect{13, 13, 135, 135}));
    EXPECT_FLOAT_EQ(grown.meas[0], 37);
    a_unit cut = Calc_Print_Unit(Disc_Unit(), false);
    EXPECT_EQ(cut.bbox, Disc_Unit().bbox);
    EXPECT_EQ(cut.bleed, a_frect{});
}

TEST(Shapes, FeatheredDiscMask) {
    a_unit u{.kind = UNIT_CD, .bbox = {0, 0, 100, 100}, .meas = {20}};
    a_test_canvas c(R(0, 0, 100, 100), 8, 7);
    ASSERT_TRUE(Calc_Circular_Mask(c.bits, u, 0, 0, 225));
    EXPECT_EQ(c.At(0, 0), 225u);   // outside the disc
    EXPECT_EQ(c.At(50, 50), 225u);  // inside the hole
    EXPECT_EQ(c.At(50, 20), 0u);    // on the label
    EXPECT_EQ(c.At(99, 99), 225u);
    // Feathers: 10 % of the width ramps up to the edge and down from the hole.
    ASSERT_TRUE(Calc_Circular_Mask(c.bits, u, 10, 10, 255));
    int last = -1;
    for (int x = 90; x < 100; ++x) {  // row 49: distance x - 49.5
        int v = int(c.At(x, 49));
        EXPECT_GE(v, last) << x;
        last = v;
    }
    EXPECT_NEAR(int(c.At(95, 49)), 128, 20);
    EXPECT_EQ(c.At(75, 49), 0u);
    EXPECT_NEAR(int(c.At(65, 49)), 128, 30);  // halfway through the 10-pixel band past the hole
    for (int y = 0; y < 100; y += 7)
        for (int x = 0; x < 100; x += 3) {
            EXPECT_EQ(c.At(x, y), c.At(99 - x, y));
            EXPECT_EQ(c.At(x, y), c.At(x, 99 - y));
        }
    a_test_canvas deep(R(0, 0, 10, 10));
    EXPECT_FALSE(Calc_Circular_Mask(deep.bits, u, 0, 0, 225));
    u.bbox = a_frect{};
    EXPECT_FALSE(Calc_Circular_Mask(c.bits, u, 0, 0, 225));
}

TEST(Mapping, StackAndFitting) {
    EXPECT_EQ(Mapping_Depth(), 0);
    EXPECT_EQ(Map_FPoint(a_fpoint{2.5f, -2.5f}), (Point{-3, 3}));  // identity when empty
    a_coord_mapping m;
    Calc_Fit_Mapping(a_frect{10, 20, 110, 70}, R(0, 0, 200, 200), m);
    EXPECT_FLOAT_EQ(m.multx, 2);
    EXPECT_FLOAT_EQ(m.multy, 2);
    EXPECT_EQ(m.netbox, R(50, 0, 150, 200));
    Push_Mapping(m);
    EXPECT_EQ(Map_FRect(a_frect{10, 20, 60, 45}), R(50, 0, 100, 100));
    Push_Fit_Mapping(a_frect{0, 0, 10, 10}, R(0, 0, 30, 60));  // 3 pixels per mm, centred across
    EXPECT_EQ(Map_FPoint(a_fpoint{10, 10}), (Point{30, 45}));
    EXPECT_EQ(Apply_Mapping_Rect(Top_Mapping(), R(1, 1, 3, 3)), R(3, 3, 9, 9));
    EXPECT_FALSE(Equal_CMapping(Top_Mapping(), m));
    Pop_Mapping();
    EXPECT_TRUE(Equal_CMapping(Top_Mapping(), m));
    Pop_Mapping();
    EXPECT_EQ(Mapping_Depth(), 0);
    // An empty source maps to nothing rather than dividing by zero.
    Calc_Fit_Mapping(a_frect{5, 5, 5, 5}, R(0, 0, 10, 10), m);
    EXPECT_FLOAT_EQ(m.multx, 0);
}
