// Expansion of catalogue records, unit pixel bounds and mappings.
#include <gtest/gtest.h>

#include <memory>

#include "template_fixtures.h"
#include "templates/catalogue.h"
#include "templates/expand.h"

namespace {

std::unique_ptr<a_template> Expand(const a_ctemplate& c) {
    auto t = std::make_unique<a_template>();
    Expand_Template(c, *t);
    return t;
}

std::unique_ptr<a_template> Expand(const std::string& label) {
    int i = Find_Template(label);
    EXPECT_GT(i, 0) << label;
    return Expand(TList_Get(i));
}

a_unit Unit_Of(float w, float h, uint8_t kind = UNIT_RECT) {
    a_unit u;
    u.kind = kind;
    u.bbox = {0, 0, w, h};
    return u;
}

Rect Bounds(const a_unit& u) {
    Rect r;
    Calc_Unit_Bounds(u, r);
    return r;
}

}  // namespace

TEST(Expand, PitchBetweenDiscs) {
    auto t = Expand("A-ONE 29125");
    ASSERT_EQ(t->nunits, 2u);
    EXPECT_EQ(t->units[1].bbox, (a_frect{15, 15, 133, 133}));
    EXPECT_EQ(t->units[2].bbox, (a_frect{15, 163, 133, 281}));
    EXPECT_EQ(t->units[2].bleed, (a_frect{2, 2, 2, 2}));
    EXPECT_FLOAT_EQ(t->units[1].meas[0], 41);
    EXPECT_EQ(t->units[1].viewangle, 0);
}

TEST(Expand, StaggeredShortOddHoneycomb) {
    auto t = Expand("Compulabel 312862");
    ASSERT_EQ(t->nunits, 26u);
    const float odd[] = {17.45f, 91.47f, 165.48f}, even[] = {54.46f, 128.47f};
    int x = 1;
    for (int row = 1; row <= 5; ++row) {
        int n = row % 2 ? 3 : 2;
        for (int col = 0; col < n; ++col, ++x) {
            EXPECT_NEAR(t->units[x].bbox.left, (row % 2 ? odd : even)[col], 0.01) << x;
            EXPECT_NEAR(t->units[x].bbox.top, 15.34 + (row - 1) * 18.885, 0.01) << x;
        }
    }
    // Inch records keep millimetre bleeds; measures are converted.
    EXPECT_EQ(t->units[1].bleed, (a_frect{2, 2, 2, 2}));
    EXPECT_NEAR(t->units[1].meas[0], 17.0, 0.001);
    EXPECT_NEAR(t->units[14].bbox.top, 6.132 * 25.4, 0.01);  // the second group
}

TEST(Expand, PerimeterBleedOnlyOnOuterEdges) {
    auto t = Expand("Ace 177 series");
    ASSERT_EQ(t->nunits, 4u);
    // Column-major order: (1,1), (1,2), (2,1), (2,2).
    EXPECT_EQ(t->units[1].bleed, (a_frect{2, 2, 0, 0}));
    EXPECT_EQ(t->units[2].bleed, (a_frect{2, 0, 0, 2}));
    EXPECT_EQ(t->units[3].bleed, (a_frect{0, 2, 2, 0}));
    EXPECT_EQ(t->units[4].bleed, (a_frect{0, 0, 2, 2}));
    EXPECT_NEAR(t->units[3].bbox.left, 25.4 * (1 + 4 + 1), 0.001);
}

// Made-up records, one rule each: the perimeter-plus bleeds, short odd rows
// numbered row by row (their last unit bled on its open side), and a single
// column that zig-zags by its side pitch.
TEST(Expand, MadeUpRecordsPlaceAndBleedByTheirFlags) {
    struct a_case {
        a_ctemplate record;
        uint32_t nunits, ux;
        a_frect bbox, bleed;
    } cases[] = {
        {Record("T", "H", {Group("UNIT_RECT", 2, 2, 0, 0, 10, 10, 10, 10, "UNIT_PERIMETERPLUSH", 1)}), 4, 1,
         {0, 0, 10, 10}, {1, 1, 1, 0}},
        {Record("T", "V", {Group("UNIT_RECT", 2, 2, 0, 0, 10, 10, 10, 10, "UNIT_PERIMETERPLUSV", 1)}), 4, 1,
         {0, 0, 10, 10}, {1, 1, 0, 1}},
        {Record("T", "S", {Group("UNIT_CD", 3, 5, 0, 0, 10, 10, 20, 10, "UNIT_SHORTODD, UNIT_PERIMETERBLEED", 1)}),
         13, 5, {20, 10, 30, 20}, {0, 0, 1, 0}},  // row 2 starts at unit 4; 5 ends the short row
        {Record("T", "Z", {Group("UNIT_RECT", 1, 4, 10, 10, 50, 20, 60, 25)}), 4, 2, {70, 35, 120, 55}, {}},
        {Record("T", "Z", {Group("UNIT_RECT", 1, 4, 10, 10, 50, 20, 60, 25)}), 4, 3, {10, 60, 60, 80}, {}},
    };
    for (const a_case& c : cases) {
        auto t = Expand(c.record);
        ASSERT_EQ(t->nunits, c.nunits) << c.record.label;
        EXPECT_EQ(t->units[c.ux].bbox, c.bbox) << c.record.label << " unit " << c.ux;
        EXPECT_EQ(t->units[c.ux].bleed, c.bleed) << c.record.label << " unit " << c.ux;
    }
}

TEST(Expand, EmptyGroupsAndGroupsBeyondTheCountEmitNothing) {
    a_ctemplate c = Record("T", "E", {Group("UNIT_CD", 1, 1, 0, 0, 100, 100),
                                      Group("UNIT_RECT", 2, 2, 0, 0, 10, 10, 10, 10)});
    c.nunits = 1;
    EXPECT_EQ(Expand(c)->nunits, 1u);
    c.nunits = 40;  // a damaged count reads only the six groups there are
    EXPECT_EQ(Expand(c)->nunits, 5u);
    auto ual = Expand("UAL 565 series");
    EXPECT_EQ(ual->nunits, 8u);
    EXPECT_EQ(ual->units[5].kind, UNIT_VHS_SPINE);
    EXPECT_FLOAT_EQ(ual->units[6].bbox.top, 54.5f + 67);
}

TEST(UnitBounds, ThreeHundredDotsPerInchWithCapAndFixedDiscs) {
    EXPECT_EQ(Bounds(Unit_Of(300, 100)), (Rect{0, 0, 1181, 3543}));
    EXPECT_EQ(Bounds(Unit_Of(400, 100)), (Rect{0, 0, 1000, 4000}));
    EXPECT_EQ(Bounds(Unit_Of(118, 118, UNIT_CD)), (Rect{0, 0, 1200, 1200}));
    EXPECT_EQ(Bounds(Unit_Of(116, 116, UNIT_CD)), (Rect{0, 0, 1200, 1200}));
    EXPECT_EQ(Bounds(Unit_Of(120, 120, UNIT_JEWEL_LID1)), (Rect{0, 0, 1200, 1200}));
    EXPECT_EQ(Bounds(Unit_Of(80, 80, UNIT_MINICD_RING)), (Rect{0, 0, 800, 800}));
    EXPECT_EQ(Bounds(Unit_Of(78, 59, UNIT_MINICD_HOCKEY)), (Rect{0, 0, 590, 800}));
    EXPECT_EQ(Bounds(Unit_Of(85, 59, UNIT_MINICD_RECT)), (Rect{0, 0, 590, 850}));
}

TEST(UnitBounds, Slivers) {
    a_unit u = Unit_Of(0.01f, 30);
    u.bleed = {2, 0, 2, 0};
    // 40.1 by 300 tenths of a millimetre with the bleed: the taller side snaps to
    // 320 and the other follows in proportion (40.1 × 320 / 300 = 42.8).
    Rect r = Bounds(u);
    EXPECT_EQ(r.bottom, 320);
    EXPECT_EQ(r.right, 43);
    u.bbox.bottom = 100;
    EXPECT_EQ(Bounds(u), (Rect{0, 0, 1280, 51}));
    EXPECT_EQ(Bounds(Unit_Of(0, 0)), (Rect{0, 0, 320, 320}));
    EXPECT_EQ(Bounds(Unit_Of(10, 5000)).bottom, INT16_MAX);
    EXPECT_FLOAT_EQ(Make_Nice_Number(320), 320);
    EXPECT_FLOAT_EQ(Make_Nice_Number(321), 640);
    EXPECT_FLOAT_EQ(Make_Nice_Number(1281), 2000);
}

TEST(UnitMapping, SheetMillimetresToPixels) {
    a_unit u = Unit_Of(118, 118, UNIT_CD);
    u.bbox = {15, 163, 133, 281};
    Rect b = Bounds(u);
    a_coord_mapping m;
    Calc_Unit_Mapping(u, b, m);
    EXPECT_FLOAT_EQ(m.fdecx, 15);
    EXPECT_FLOAT_EQ(m.fdecy, 163);
    EXPECT_NEAR(m.multx, 1200.0 / 118, 1e-4);
    EXPECT_EQ(m.netbox, b);
    // The unit's far corner lands on the bounds' far corner.
    EXPECT_NEAR((133 - m.fdecx) * m.multx + m.originx, 1200, 1e-3);
}

TEST(DirectPrint, KindFollowsTheFirstUnit) {
    EXPECT_EQ(Calc_Direct_Print_KindT(*Expand("DYMO DiscPainter")), CD_DIRECT);
    EXPECT_EQ(Calc_Direct_Print_KindT(*Expand("Alea Pingo Photo II Hockey")), HOCKEY_DIRECT);
    EXPECT_EQ(Calc_Direct_Print_KindT(*Expand("A-ONE 29125")), NOT_DIRECT);
    auto odd = Expand(Record("T", "Tray of cards", {Group("UNIT_RECT", 1, 1, 0, 0, 50, 50)},
                             "IS_CDPRINTER"));
    EXPECT_EQ(Calc_Direct_Print_KindT(*odd), NOT_DIRECT);
    auto ring = Expand(Record("T", "Ring tray", {Group("UNIT_MINICD_RING", 1, 1, 0, 0, 80, 80)},
                              "IS_CDPRINTER"));
    EXPECT_EQ(Calc_Direct_Print_KindT(*ring), MINICD_DIRECT);
}
