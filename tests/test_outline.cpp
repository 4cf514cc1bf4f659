// Outlines, fold lines and the dashing rules; cut lines and the grid overlay.
#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <numbers>
#include <vector>

#include "pixmap_fixtures.h"
#include "port_canvas.h"
#include "templates/cutlines.h"
#include "templates/expand.h"
#include "templates/mapping.h"
#include "templates/outline.h"
#include "templates/shapes.h"

namespace {

constexpr uint32_t kRed = Port_RGB(255, 0, 0);
constexpr uint32_t kGreen = Port_RGB(0, 255, 0);
constexpr uint32_t kGrey = Port_RGB(128, 128, 128);

a_iunit IUnit(a_shape shape, const Rect& bbox, int m0 = 0, int m1 = 0, int m2 = 0) {
    return a_iunit{shape, bbox, {}, {int16_t(m0), int16_t(m1), int16_t(m2), 0}};
}

// Black runs along row y from x0 to x1.
int Runs(a_test_canvas& c, int y, int x0, int x1, uint32_t color = kBlackColor) {
    int runs = 0;
    bool in = false;
    for (int x = x0; x < x1; ++x) {
        bool on = c.At(x, y) == color;
        runs += on && !in;
        in = on;
    }
    return runs;
}

// Fold lines only, solid, into a white canvas; the x of each line on the middle row.
int Folds(const a_iunit& iu, bool is_test) {
    a_test_canvas c(R(0, 0, 20, 400));
    Outline_Shape2(iu, 0, 5, 1, 1, true, false, is_test);
    return Runs(c, 10, 0, 400);
}

struct a_px {
    int x, y;
    uint32_t want;
};
// Each listed pixel of the canvas holds its colour (its byte below 32 bits).
void Expect_At(a_test_canvas& c, std::initializer_list<a_px> pixels) {
    for (const a_px& p : pixels) EXPECT_EQ(c.At(p.x, p.y), p.want) << "at " << p.x << ", " << p.y;
}

// The unit outlined solid through mapping m; the area drawn.
Rect Outline_Mapped(const a_coord_mapping& m, const a_unit& u, int grow, bool centres) {
    Rect used;
    Push_Mapping(m);
    Outline_Shape(used, grow, centres, 5, 1, 1, true, u);
    Pop_Mapping();
    return used;
}

}  // namespace

TEST(Outline, CircleDashStepping) {
    // A circle of radius 100 with dash 10 (13 before the reduction to 4/5):
    // 57 tenths of a degree per dash and 85 per gap.
    EXPECT_EQ(Circle_Dash_Step(100, 10), 57);
    EXPECT_EQ(Circle_Dash_Step(5000, 5), 2);  // never below 2
    a_test_canvas c(300, 300);
    Outline_Shape_Circle(150, 150, 201, 13, 1, 0);
    auto at = [&](double deg) {
        double a = deg * std::numbers::pi / 180;
        return c.At(int(std::lround(150 + 100 * std::cos(a))), int(std::lround(150 - 100 * std::sin(a))));
    };
    // The gap runs from 5.7 to 14.2 degrees; the second dash lies counter-clockwise (up on screen).
    EXPECT_EQ((std::vector<uint32_t>{at(0), at(3), at(10), at(17), at(-10)}),
              (std::vector<uint32_t>{kBlackColor, kBlackColor, kWhiteColor, kBlackColor, kWhiteColor}));
}

TEST(Outline, DashedRectanglesAreOnePixelWithWhiteGaps) {
    a_test_canvas c(R(0, 0, 40, 60), 32, kGrey);
    RGBForeColor(kRed);
    Outline_Shape_Rect(R(0, 0, 40, 60), 5, 4, 0);  // thickness 4 asked for
    // One pixel wide, the bottom side on the last row inside; the last gap is
    // clamped to the last pixel.
    Expect_At(c, {{2, 0, kRed}, {7, 0, kWhiteColor}, {12, 0, kRed}, {2, 39, kRed}, {59, 2, kRed},
                  {59, 7, kWhiteColor}, {7, 1, kGrey}, {58, 2, kGrey}, {59, 39, kWhiteColor}});
    EXPECT_EQ(GetForeColor(), kRed);
    EXPECT_EQ(GetPenSize(), (Point{1, 1}));
    // Solid: the pen's thickness, inside the rectangle.
    Outline_Shape_Rect(R(0, 0, 40, 60), 5, 4, 1);
    Expect_At(c, {{30, 3, kRed}, {30, 4, kGrey}});
}

TEST(Outline, DashedLinesAlternateForeAndBack) {
    a_test_canvas c(R(0, 0, 40, 40), 32, kGrey);
    RGBForeColor(kRed);
    RGBBackColor(kGreen);
    Dashed_Line(0, 0, 30, 0, 5);
    Expect_At(c, {{2, 0, kRed}, {7, 0, kGreen}, {12, 0, kRed}, {27, 0, kGreen}, {31, 0, kGrey}});
    EXPECT_EQ(GetForeColor(), kRed);
    // Slanted lines step both axes together by 3/5 of the dash.
    Outline_Shape_Line(0, 10, 12, 22, 10, 1, 0);
    Expect_At(c, {{3, 13, kRed}, {8, 18, kGreen}, {11, 21, kGreen}, {13, 23, kGrey}});
}

TEST(Outline, DegenerateDashesEnd) {
    // Steps of zero pixels would never reach the end point, and a circle of
    // radius zero would divide by zero: these draw solid or nothing instead.
    a_test_canvas c(R(0, 0, 40, 40), 32, kGrey);
    Dashed_Line(0, 30, 20, 30, 0);
    EXPECT_EQ(c.At(20, 30), kWhiteColor);
    Outline_Shape_Line(0, 0, 10, 10, 1, 1, 0);  // 3/5 of a 1-pixel dash
    EXPECT_EQ(c.At(10, 10), kWhiteColor);
    Frame_Rect_Dashed(R(0, 0, 10, 10), 0);
    EXPECT_EQ(c.At(0, 0), kBlackColor);  // one-pixel dashes
    EraseRect(c.bits.bounds);
    Frame_Circle_Dashed(20, 20, 0, 5);
    Outline_Shape2(IUnit(SHAPE_RING, R(0, 0, 40, 40), 0), 0, 5, 1, 0, false, true, true);
    EXPECT_EQ(c.At(20, 20), kWhiteColor);
    Outline_Shape2(IUnit(SHAPE_BIZHOCKEY, R(0, 0, 40, 10), 0), 0, 5, 1, 0, false, true, true);
    Outline_Shape2(IUnit(SHAPE_BIZHOCKEY, R(0, 0, 10, 40), 0), 0, 5, 1, 0, false, true, true);
}

TEST(Outline, FoldLines) {
    EXPECT_EQ(Folds(IUnit(SHAPE_MULTIPART, R(0, 0, 20, 400), 100, 0, 50), true), 1);
    EXPECT_EQ(Folds(IUnit(SHAPE_MULTIPART, R(0, 0, 20, 400), 100, 50, 30), true), 3);
    EXPECT_EQ(Folds(IUnit(SHAPE_BOOKLET, R(0, 0, 20, 400)), true), 1);
    EXPECT_EQ(Folds(IUnit(SHAPE_BOOKLET, R(0, 0, 20, 400), 40), true), 2);
    EXPECT_EQ(Folds(IUnit(SHAPE_SLIMLINE, R(0, 0, 20, 400), 30), true), 0);  // not on a test print
    EXPECT_EQ(Folds(IUnit(SHAPE_SLIMLINE, R(0, 0, 20, 400), 30), false), 1);
    EXPECT_EQ(Folds(IUnit(SHAPE_JEWELBASE, R(0, 0, 20, 400), 30), false), 2);
}

TEST(Outline, ContoursOfDiscsAndShapes) {
    a_test_canvas c(600, 600);
    // A disc with a hub ring: three circles, though its region has two edges.
    Outline_Shape2(IUnit(SHAPE_RING, R(0, 0, 600, 600), 200, 400), 0, 5, 1, 1, false, true, true);
    EXPECT_EQ(Runs(c, 300, 0, 300), 3);
    EraseRect(c.bits.bounds);
    Outline_Shape2(IUnit(SHAPE_RING, R(0, 0, 600, 600), 200), 0, 5, 1, 1, false, true, true);
    EXPECT_EQ(Runs(c, 300, 0, 300), 2);
    EraseRect(c.bits.bounds);
    // A rounded rectangle with a corner below 2 pixels is outlined square.
    Outline_Shape2(IUnit(SHAPE_ROUNDRECT, R(100, 100, 200, 300), 1), 0, 5, 1, 1, false, true, true);
    EXPECT_EQ(c.At(100, 100), kBlackColor);
    EraseRect(c.bits.bounds);
    Outline_Shape2(IUnit(SHAPE_ROUNDRECT, R(100, 100, 200, 300), 20), 0, 5, 1, 0, false, true, true);
    EXPECT_EQ(c.At(100, 100), kWhiteColor);
    EXPECT_EQ(c.At(100, 122), kBlackColor);  // the first dash of the left side
    EraseRect(c.bits.bounds);
    // The dashed oval uses the striped pen and leaves the pen solid.
    Outline_Shape_Oval(R(0, 0, 600, 600), 5, 3, 0);
    EXPECT_GT(Runs(c, 300, 0, 10) + Runs(c, 301, 0, 10) + Runs(c, 302, 0, 10), 0);
    int striped = c.Count(kBlackColor);
    EraseRect(c.bits.bounds);
    Outline_Shape_Oval(R(0, 0, 600, 600), 5, 3, 1);
    EXPECT_NEAR(striped * 2, c.Count(kBlackColor), c.Count(kBlackColor) / 10);
    EraseRect(c.bits.bounds);
    PaintRect(R(0, 0, 8, 8));
    EXPECT_EQ(c.Count(kBlackColor), 64);
}

TEST(Outline, OutlineShapeMapsAndMarksDiscCentres) {
    a_test_canvas c(200, 200);
    a_unit u{.kind = UNIT_CD, .bbox = {10, 10, 110, 110}, .meas = {20}};
    const a_coord_mapping m{.fdecx = 10, .fdecy = 10, .multx = 2, .multy = 2};
    EXPECT_EQ(Outline_Mapped(m, u, 0, true), R(0, 0, 200, 200));
    // The cross reaches 8 pixels, the 2-pixel pen one more.
    Expect_At(c, {{108, 100, kBlackColor}, {109, 100, kBlackColor}, {110, 100, kWhiteColor},
                  {100, 92, kBlackColor}, {100, 91, kWhiteColor}});
    EXPECT_EQ(GetPenSize(), (Point{1, 1}));
    u.kind = UNIT_CIRCLE;
    EraseRect(c.bits.bounds);
    Outline_Mapped(m, u, 0, true);
    EXPECT_EQ(c.At(100, 100), kWhiteColor);
}

// Folds are drawn once, on the true outline: the bleed-grown outline of a
// test print has none of its own, which would stand the left bleed off.
TEST(Outline, FoldsOnlyOnTheTrueOutline) {
    a_test_canvas c(200, 120);
    // One fold, 30 mm from the left edge.
    const a_unit u{.kind = UNIT_AUDIO_JCARD, .bbox = {10, 10, 90, 60}, .bleed = {5, 5, 5, 5},
                   .meas = {30}};
    const a_coord_mapping m{.multx = 2, .multy = 2};
    EXPECT_EQ(Outline_Mapped(m, u, 2, false), R(10, 10, 130, 190));  // the grown box
    for (int x = 12; x < 188; ++x) ASSERT_EQ(c.At(x, 70), kWhiteColor) << x;  // no fold at all
    Outline_Mapped(m, u, 0, false);
    // Left + 30 mm from the true edge, not where the grown edge would put it.
    Expect_At(c, {{80, 70, kBlackColor}, {70, 70, kWhiteColor}});
}

// The grid on screen is pinned by the rounded-rectangle golden; into a mask
// the grey level is the opacity, 20 points more on the origin lines.
TEST(Outline, GridLinesIntoAMask) {
    EXPECT_EQ(Calc_Darker_Color(Port_RGB(10, 255, 0)), Port_RGB(0, 235, 0));
    a_grid_spec grid;
    grid.origin = Point{50, 50};
    grid.horz = grid.vert = 2;  // lines every 25 pixels
    a_test_canvas m(R(0, 0, 100, 100), 8, 0);
    grid.dash = grid.dash_max;
    Draw_Grid_Lines(true, R(0, 0, 100, 100), grid);
    Expect_At(m, {{25, 7, 76}, {50, 7, 127}, {30, 7, 0}});
}
