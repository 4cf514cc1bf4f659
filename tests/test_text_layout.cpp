// Text layout along paths: straight, circular, spiral, spoke and contour
// text, overflow marks, nudges, surrogate pairs and the path cache.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "text/text_paths.h"
#include "text_fixtures.h"

namespace {

double Dist(const a_xyl_char& c, Point centre) { return std::hypot(c.mm_x - centre.h, c.mm_y - centre.v); }

TEST(TextLayout, StraightLinesStartAtTheAnchorAndStepByTheLineSpacing) {
    auto om = Text_Block(u"AB\rCD", LAYOUT_HORZ);
    Lay_Out(*om);
    const a_xyl_char* x = om->xyl;
    EXPECT_EQ(x[1].mm_x, 200);
    EXPECT_EQ(x[1].mm_y, 300);
    EXPECT_EQ(x[2].mm_x, 200 + std::lround(Char_Width_Of(*om, u"A")));
    EXPECT_EQ(x[3].mm_cat, CC_HARDBREAK);
    Push_TextSize_Mapping(Disc_Text_Unit().px_per_pt);
    int ls = Calc_VSpacing(*om);
    Pop_TextSize_Mapping();
    EXPECT_EQ(x[4].mm_x, 200);
    EXPECT_EQ(x[4].mm_y, 300 + ls);
    EXPECT_EQ(om->noverflows, 0u);
    EXPECT_TRUE(Frame_Contains(om->cache.frame, Point{295, 205}));
    EXPECT_GT(om->bbox.bottom, 300 + ls);

    // Right justified: the first line ends at the anchor; turned by 90 degrees it runs up.
    om->justify = JUST_RIGHT;
    Lay_Out(*om);
    EXPECT_NEAR(x[2].mm_x + Char_Width_Of(*om, u"B"), 200, 1.5);
    om->justify = JUST_LEFT;
    om->lineangle = 900;
    Lay_Out(*om);
    EXPECT_EQ(x[1].mm_t, 900);
    EXPECT_EQ(x[2].mm_x, 200);
    EXPECT_LT(x[2].mm_y, 300);
}

TEST(TextLayout, CircularTextIsUprightAtTheTopAndCounterClockwiseLinesEndOutermost) {
    auto om = Text_Block(u"O", LAYOUT_CIRC_CW, 28);
    om->justify = JUST_CENTER;
    Lay_Out(*om);
    const a_xyl_char& o = om->xyl[1];
    EXPECT_NEAR(o.mm_t, 0, 2);
    EXPECT_LT(o.mm_y, om->rotcenter.v);
    EXPECT_NEAR(o.mm_x + o.mm_width / 2.0, om->rotcenter.h, 2);
    EXPECT_EQ(om->bbox, Disc_Text_Unit().bounds);

    auto ccw = Text_Block(u"a\rb\rc", LAYOUT_CIRC_CCW, 20);
    Lay_Out(*ccw);
    EXPECT_GT(ccw->xyl[5].mm_y, ccw->rotcenter.v);  // at the bottom
    EXPECT_GT(Dist(ccw->xyl[5], ccw->rotcenter), Dist(ccw->xyl[3], ccw->rotcenter));
    EXPECT_GT(Dist(ccw->xyl[3], ccw->rotcenter), Dist(ccw->xyl[1], ccw->rotcenter));
    auto cw = Text_Block(u"a\rb\rc", LAYOUT_CIRC_CW, 20);
    Lay_Out(*cw);
    EXPECT_GT(Dist(cw->xyl[1], cw->rotcenter), Dist(cw->xyl[5], cw->rotcenter));
}

TEST(TextLayout, OverflowMarksForLongLinesRowsBeyondTheDiscAndTheLimitOfTen) {
    // A contour line far wider than the disc: its characters overflow, one mark.
    std::u16string wide(200, u'W');
    auto om = Text_Block(wide, LAYOUT_CONTOUR, 20);
    Lay_Out(*om, 3);
    EXPECT_EQ(om->xyl[1].mm_cat, CC_REGULAR);
    EXPECT_EQ(om->xyl[200].mm_cat, CC_OVERFLOW);
    ASSERT_EQ(om->noverflows, 1u);
    EXPECT_EQ(om->overflows[1].id, 3);
    // More rows than fit: the rows after the last path overflow with id omx + 10000.
    std::u16string rows;
    for (int i = 0; i < 80; ++i) rows += u"x\r";
    auto many = Text_Block(rows, LAYOUT_CONTOUR, 20);
    Lay_Out(*many, 3);
    uint32_t npaths = many->cache.path.npaths;
    ASSERT_LT(npaths, 80u);
    EXPECT_EQ(many->xyl[2 * int(npaths) - 1].mm_cat, CC_REGULAR);
    EXPECT_EQ(many->xyl[2 * int(npaths) + 1].mm_cat, CC_OVERFLOW);
    EXPECT_EQ(many->overflows[many->noverflows].id, 10003);

    a_om_rec marks;
    for (int i = 0; i < 15; ++i) Post_Overflow(marks, i, i, i);
    Post_Overflow(marks, 9, 0, 0);
    EXPECT_EQ(marks.noverflows, 10u);
    a_om_rec repeat;
    Post_Overflow(repeat, 4, 1, 1);
    Post_Overflow(repeat, 4, 2, 2);
    EXPECT_EQ(repeat.noverflows, 1u);
}

TEST(TextLayout, DamagedSpacingTinyCirclesAndTooManyLinesStayBounded) {
    // A line spacing of 0 (a damaged record) must not fill the disc forever.
    auto damaged = Text_Block(u"a\rb", LAYOUT_CONTOUR);
    damaged->vspacing = 0;
    Lay_Out(*damaged);
    EXPECT_LE(damaged->cache.path.npaths, uint32_t(MAX_PATH_SEGS));
    // Circle lines whose baseline falls under 50 pixels are not drawn at old places.
    std::u16string rows;
    for (int i = 0; i < 12; ++i) rows += u"ring\r";
    auto rings = Text_Block(rows, LAYOUT_CIRC_CW, 30);
    rings->radius = 30;
    Lay_Out(*rings, 2);
    EXPECT_EQ(rings->xyl[1].mm_cat, CC_REGULAR);
    EXPECT_EQ(rings->xyl[rings->nxyl - 2].mm_cat, CC_OVERFLOW);
    EXPECT_EQ(rings->overflows[1].pos, rings->rotcenter);
    // A circle line longer than its circle keeps one turn, ends with a mark
    // on the circle, and never runs over its own beginning.
    auto around = Text_Block(std::u16string(400, u'O'), LAYOUT_CIRC_CW, 30);
    around->justify = JUST_CENTER;
    Lay_Out(*around, 4);
    ASSERT_EQ(around->noverflows, 1u);
    const Point mark = around->overflows[1].pos;
    EXPECT_GT(std::hypot(mark.h - around->rotcenter.h, mark.v - around->rotcenter.v), 50);
    EXPECT_EQ(around->xyl[1].mm_cat, CC_REGULAR);
    EXPECT_EQ(around->xyl[400].mm_cat, CC_OVERFLOW);
    double shown = 0;
    for (int i = 1; i <= 400; ++i)
        if (around->xyl[i].mm_cat == CC_REGULAR) shown += around->xyl[i].mm_width;
    EXPECT_LE(shown, 2 * 3.14159265 * (Dist(around->xyl[1], around->rotcenter) + 1));
    // The thousand and first line and all after it are not shown.
    std::u16string text;
    for (int i = 0; i < 1005; ++i) text += u"a\r";
    auto om = Text_Block(text, LAYOUT_SPOKE, 10);
    Lay_Out(*om);
    EXPECT_EQ(Layout_Tables().nlines, 1000u);
    EXPECT_EQ(om->xyl[2001].mm_cat, CC_IGNORE);  // the 1001st line's text
    EXPECT_EQ(om->xyl[2002].mm_cat, CC_OVERFLOW) << "end of line 1001";
    EXPECT_EQ(om->xyl[2003].mm_cat, CC_IGNORE);
    EXPECT_EQ(om->xyl[om->nxyl].mm_cat, CC_EOS);
    // Spokes beyond the 300 paths overflow like rows beyond a disc.
    EXPECT_EQ(om->xyl[2 * 301 - 1].mm_cat, CC_OVERFLOW);
}

TEST(TextLayout, SpiralEndsAtThirtyPixelsAndSpokesEndAtTheOuterRadius) {
    // A spiral starting just above 30 pixels has one step: its text overflows.
    a_path_cache pc;
    a_generic_path_spec spec;
    spec.shape = SPIRAL_PATH;
    spec.u.spiral = a_spiral_spec{600, 600, 31 + 0.25f * 40, 0, 40, false};
    Gen_Path(pc, spec);
    ASSERT_EQ(pc.points[0].lastn, 0);
    auto om = Text_Block(u"ab", LAYOUT_SPIRAL_CCW, 10);
    Lay_Out(*om);
    om->cache.path = pc;
    a_text_unit u = Disc_Text_Unit();
    Push_TextSize_Mapping(u.px_per_pt);
    Scan_Widths(*om);
    Apply_To_Path(0, 1, 4, *om, 1, om->nxyl, JUST_LEFT);
    Pop_TextSize_Mapping();
    EXPECT_EQ(om->xyl[1].mm_cat, CC_OVERFLOW);
    EXPECT_EQ(om->overflows[1].pos, (Point{600 + 31, 600}));  // the one step, below the centre

    auto spoke = Text_Block(u"ab", LAYOUT_SPOKE, 14);
    spoke->spoke_twist = 0;
    Lay_Out(*spoke);
    const a_xyl_char& b = spoke->xyl[2];
    double end = Dist(b, spoke->rotcenter) + b.mm_width;  // the spoke points right at angle 0
    EXPECT_NEAR(end, Radius_To_Pixels(u, spoke->spoke_outerd), 2.0);
    // A line longer than the spoke overflows with the mark at the spoke's start.
    auto long_spoke = Text_Block(std::u16string(120, u'M'), LAYOUT_SPOKE, 14);
    Lay_Out(*long_spoke, 5);
    ASSERT_EQ(long_spoke->noverflows, 1u);
    double inner = (100 - long_spoke->spoke_thickness) * Radius_To_Pixels(u, long_spoke->spoke_outerd) / 100.0;
    Point mark = long_spoke->overflows[1].pos;
    EXPECT_NEAR(std::hypot(mark.h - long_spoke->rotcenter.h, mark.v - long_spoke->rotcenter.v), inner, 11);
}

TEST(TextLayout, ContourTextAnchoredAboveTheDiscStartsFiftyPixelsInside) {
    auto om = Text_Block(u"one\rtwo", LAYOUT_CONTOUR, 14);
    om->anchor.v = -500;
    Lay_Out(*om);
    int radius = Calc_Contour_Radius(Disc_Text_Unit());
    int ascent, descent;
    Push_TextSize_Mapping(Disc_Text_Unit().px_per_pt);
    Calc_AscentDescent(*om, ascent, descent);
    Pop_TextSize_Mapping();
    EXPECT_EQ(om->xyl[1].mm_y, om->rotcenter.v - radius + 50 + ascent);
    EXPECT_EQ(Validate_Contour_Anchor(600, 600, 2000), 1150);
    // The frame is cut just above the first row.
    Rect f = Frame_Bounds(om->cache.frame);
    EXPECT_EQ(f.top, om->rotcenter.v - radius + 50 - 4);
}

// Rows that would cross the disc's hole are split, one line each side of
// it: no letter is printed over the hole, and every line is placed.
TEST(TextLayout, ContourRowsAcrossTheHoleGoEitherSideOfIt) {
    std::u16string rows;
    for (int i = 0; i < 30; ++i) rows += u"Harbour\r";
    auto om = Text_Block(rows, LAYOUT_CONTOUR, 12);
    om->anchor.v = -500;  // from the top of the disc
    Lay_Out(*om);
    const a_text_unit u = Disc_Text_Unit();
    ASSERT_GT(u.hole, 0);
    const Point c = om->rotcenter;
    int ascent, descent;
    Push_TextSize_Mapping(u.px_per_pt);
    Calc_AscentDescent(*om, ascent, descent);
    Pop_TextSize_Mapping();
    int split = 0, placed = 0;
    const auto& lines = om->cache.path.lines;
    for (size_t k = 1; k < lines.size(); ++k)
        if (lines[k].endpointy == lines[k - 1].endpointy) {
            ++split;
            EXPECT_GT(lines[k].endpointx, lines[k - 1].endpointx + lines[k - 1].avail + 2 * ascent);
        }
    EXPECT_GT(split, 3);
    for (int i = 1; i < om->nxyl; ++i) {
        const a_xyl_char& ch = om->xyl[i];
        if (ch.mm_cat != CC_REGULAR) continue;
        ++placed;
        // The point of the letter's box nearest the centre lies outside the hole.
        const double nx = std::clamp<double>(c.h, ch.mm_x, ch.mm_x + ch.mm_width);
        const double ny = std::clamp<double>(c.v, ch.mm_y - ascent, ch.mm_y + descent);
        EXPECT_GE(std::hypot(nx - c.h, ny - c.v), u.hole / 2.0) << "character " << i;
    }
    EXPECT_EQ(placed, 30 * 7);
}

TEST(TextLayout, NudgesMoveCharactersButNeverBeforeTheLineStart) {
    auto plain = Text_Block(u"ab\rcd", LAYOUT_HORZ);
    Lay_Out(*plain);
    auto om = Text_Block(u"ab\rcd", LAYOUT_HORZ);
    om->xyl[2].cc_nudgex = -5;
    om->xyl[5].cc_nudgex = -500;  // far before the start of its line
    om->xyl[1].cc_nudgey = 3;
    Lay_Out(*om);
    EXPECT_EQ(om->xyl[2].mm_x, plain->xyl[2].mm_x - 5);
    EXPECT_EQ(om->xyl[5].mm_cat, CC_REGULAR);
    EXPECT_EQ(om->xyl[5].mm_x, plain->xyl[4].mm_x);
    EXPECT_EQ(om->xyl[1].mm_y, plain->xyl[1].mm_y + 3);
    // A turn about the centre keeps the centre in place.
    a_xyl_char c;
    c.mm_x = 100, c.mm_y = 100, c.mm_width = 20, c.cc_nudget = 1800;
    Override_Rotation(c, 16);
    EXPECT_EQ(c.mm_t, 1800);
    EXPECT_EQ(c.mm_x, 120);
    EXPECT_EQ(c.mm_y, 92);
}

TEST(TextLayout, ASurrogatePairIsOneCharacter) {
    std::u16string pair = u"\U0001F600";
    auto om = Text_Block(u"a" + pair + u"b", LAYOUT_HORZ);
    Lay_Out(*om);
    const a_xyl_char* x = om->xyl;
    float w = Char_Width_Of(*om, pair);
    EXPECT_GT(w, 1);
    EXPECT_EQ(x[2].mm_width, std::lround(w));
    EXPECT_EQ(x[3].mm_width, 0);
    EXPECT_EQ(x[3].mm_x, x[2].mm_x);
    EXPECT_NEAR(x[4].mm_x, x[2].mm_x + w, 1.01);
    // Overflowing together at the end of a contour row.
    std::u16string row(60, u'W');
    auto full = Text_Block(row + pair, LAYOUT_CONTOUR, 40);
    Lay_Out(*full);
    EXPECT_EQ(full->xyl[61].mm_cat, CC_OVERFLOW);
    EXPECT_EQ(full->xyl[62].mm_cat, CC_OVERFLOW);
    // Never half a pair at the 3999-character limit.
    std::u16string longest(MAX_TEXT_CHARS - 1, u'x');
    a_om_rec cut;
    UniStr_To_OM(cut, (longest + pair).c_str());
    EXPECT_EQ(cut.nxyl, MAX_TEXT_CHARS);
    EXPECT_EQ(cut.xyl[cut.nxyl].cc_char, CHAR_EOS);
}

TEST(TextLayout, DraggingMovesOnlyTheFrameByTheLayoutsRule) {
    auto om = Text_Block(u"Side A", LAYOUT_CIRC_CW, 20);
    Lay_Out(*om);
    const a_xyl_char before = om->xyl[1];
    Rect top = Frame_Bounds(om->cache.frame);
    ASSERT_LT(top.bottom, om->rotcenter.v);  // the text sits at the top
    Text_Preview_Move(*om, Disc_Text_Unit(), 0, 0, 1800, Point{});
    Rect turned = Frame_Bounds(om->cache.frame);
    EXPECT_GT(turned.top, om->rotcenter.v - 2);  // half a turn: now at the bottom
    EXPECT_EQ(om->xyl[1].mm_x, before.mm_x);

    auto straight = Text_Block(u"Side A", LAYOUT_HORZ);
    Lay_Out(*straight);
    Rect b = Frame_Bounds(straight->cache.frame);
    Text_Preview_Move(*straight, Disc_Text_Unit(), 7, -3, 0, Point{});
    EXPECT_EQ(Frame_Bounds(straight->cache.frame), Rect_Offset(b, 7, -3));
}

TEST(TextPaths, SameSpecKeepsThePathsPointsInterpolateAndFramesFollowTheAngle) {
    a_path_cache pc;
    a_generic_path_spec spec;
    spec.shape = SPIRAL_PATH;
    spec.u.spiral = a_spiral_spec{600, 600, 500, 0, 40, true};
    Gen_Path(pc, spec);
    ASSERT_EQ(pc.npaths, 1u);
    const a_points_path_step* first = pc.points[0].steps.data();
    Gen_Path(pc, spec);
    EXPECT_EQ(pc.points[0].steps.data(), first);
    spec.u.spiral.radius = 400;
    Gen_Path(pc, spec);
    EXPECT_LT(pc.points[0].steps[0].y, 600 - 300);
    EXPECT_GT(pc.points[0].steps[0].y, 600 - 400);

    a_path_cache line;
    line.content = ARRAY_OF_POINTS;
    line.npaths = 1;
    line.points.resize(1);
    line.points[0].steps = {{0, 0, 350, 1}, {10, 0, 10, 1}};
    line.points[0].lastn = 1;
    int x, y, t;
    Find_On_Path(line, 1, 3, x, y, t);
    EXPECT_EQ(x, 3);
    EXPECT_EQ(t, 2480);  // 350 * 0.7 + 10 * 0.3: no wrap between steps
    Find_On_Path(line, 1, 55, x, y, t);
    EXPECT_EQ(x, 10);  // beyond the end: the last step
    // The frame of a single step follows the character's angle.
    line.points[0].steps = {{100, 100, 0, 1}};
    line.points[0].lastn = 0;
    a_om_pointlist f;
    Path_To_Frame(line, f, 0, 12, 4);
    EXPECT_EQ(Frame_Bounds(f).top, 88);
    EXPECT_EQ(Frame_Bounds(f).bottom, 104);
}

}  // namespace
