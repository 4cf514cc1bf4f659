// Text blocks on a unit: creation from strings, the block limit,
// duplication, placement, the sliders both ways, moves and the font list.
#include <gtest/gtest.h>

#include "block_fixtures.h"
#include "text_fixtures.h"
#include "ui/interface.h"
#include "ui/sliders.h"
#include "ui/text_sliders.h"

namespace {

using TextBlocks = BlockTest;

TEST_F(TextBlocks, StringsBecomeLaidOutSelectedBlocksUntilTheUnitIsFull) {
    ASSERT_TRUE(Text_Inject_Unicode(u"Side A\r\nSide B"));
    int omx = U().oj.nlist;
    const a_om_rec& om = *Item(omx).om;
    EXPECT_EQ(om.nxyl, 14);  // the LF is dropped
    EXPECT_EQ(OM_To_Str(om), u"Side A\r\nSide B");
    EXPECT_EQ(om.targwidth, 300);
    EXPECT_TRUE(om.cache.progress & (1u << READY_COORD));
    EXPECT_TRUE(Is_Obj_Selected(omx));
    EXPECT_FALSE(Rect_IsEmpty(om.bbox));

    ASSERT_TRUE(Text_Inject_Roman("caf\xe9"));  // not UTF-8: Windows-1252
    EXPECT_EQ(OM_To_Str(*Item(U().oj.nlist).om), u"caf\u00e9");

    a_om_rec empty;
    UniStr_To_OM(empty, u"");
    EXPECT_EQ(empty.nxyl, 1);
    EXPECT_EQ(empty.xyl[1].mm_cat, CC_EOS);

    while (U().oj.nlist < MAX_TEXT_BLOCKS) Add(Rect{0, 0, 10, 10});
    sounds.clear();
    EXPECT_FALSE(Text_Inject_Unicode(u"one too many"));
    EXPECT_FALSE(Text_New());
    EXPECT_EQ(sounds, std::vector<int>{SND_BLOCK_WARNING});
    EXPECT_EQ(U().oj.nlist, MAX_TEXT_BLOCKS);
}

TEST_F(TextBlocks, DuplicatesGoBelowTheirBasisWithANearbyRadius) {
    int omx = Text_New2(u"Title", nullptr, Point{-1000, -1000}, true);
    a_om_rec& om = *Item(omx).om;
    om.radius = 25;
    int newx = 0;
    ASSERT_TRUE(OM_Dup(om, newx));
    const a_om_rec& dup = *Item(newx).om;
    EXPECT_EQ(dup.radius, 35);  // 25 - 10 would fall under the minimum
    EXPECT_EQ(OM_To_Str(dup), u"Title");
    EXPECT_EQ(dup.rotcenter, om.rotcenter);
    EXPECT_TRUE(Has_Flag(Item(newx), PENDING_FLAG));
    int radius;
    Point anchor, center;
    om.radius = 95;
    om.anchor = Point{10, 10};
    om.bbox = Rect{0, 0, 30, 50};
    Calc_New_Anchor(&om, radius, anchor, center);
    EXPECT_EQ(radius, 85);
    EXPECT_EQ(anchor, Rect_Centre(Rect_Inset(U().paintbounds, 20)));  // (40, 10) is outside

    a_text_unit lid{Rect{0, 0, 400, 800}, 1, UNIT_JEWEL_LID2};
    Default_Text_Placement(lid, anchor, center);
    EXPECT_EQ(center, (Point{200, 600}));
}

TEST_F(TextBlocks, SlidersRoundTripAndTheLayoutLimitsTheSize) {
    const a_interface_rec saved_gs = gs;
    const a_slider_item saved_size = g_sliders[TEXT_SIZE_SLIDER];
    auto om = Text_Block(u"x", LAYOUT_HORZ);
    om->size = 100;
    om->hspacing = 150;
    om->glowf = true;
    om->glow_color = a_win_pixel32{1, 2, 3, 0};
    om->layout = LAYOUT_CONTOUR;
    om->justify = JUST_RIGHT;
    OM_To_Sliders(*om);
    a_om_rec back;
    back.layout = LAYOUT_CONTOUR;
    Sliders_To_OM(back);
    EXPECT_EQ(back.size, 100);
    EXPECT_EQ(back.hspacing, 150);
    EXPECT_TRUE(back.glowf);
    EXPECT_EQ(back.glow_color, om->glow_color);
    EXPECT_EQ(back.justify, JUST_RIGHT);

    gs.grid_vals[TEXT_LAYOUT_GRID] = LAYOUT_SPIRAL_CW;
    Sliders_To_OM(back);
    EXPECT_EQ(back.size, 72);
    EXPECT_EQ(gs.slider_vals[TEXT_SIZE_SLIDER], 72);
    gs = saved_gs;  // later tests make blocks from the interface state
    g_sliders[TEXT_SIZE_SLIDER] = saved_size;
}

TEST_F(TextBlocks, MovesFollowTheLayoutsRule) {
    auto om = Text_Block(u"x", LAYOUT_CIRC_CW);
    EXPECT_EQ(Text_Move_Class(*om), MOVES_POLAR);
    om->polarangle = 175;
    Text_Move_Polar(*om, Disc_Text_Unit(), Point{500, 500}, Point{75, 0});
    EXPECT_EQ(om->polarangle, -177);  // 7.5 degrees round away from zero to 8
    EXPECT_EQ(om->rotcenter, (Point{500, 500}));
    om->layout = LAYOUT_CONTOUR;
    EXPECT_EQ(Text_Move_Class(*om), MOVES_Y);
    om->layout = LAYOUT_VERT;
    Text_Move_XY(*om, 5, -7);
    EXPECT_EQ(om->anchor, (Point{293, 205}));
    Text_AlignTo(*om, Point{100, -10000});
    EXPECT_EQ(om->anchor, (Point{100, 205}));

    // A new justification keeps straight text where it is.
    auto line = Text_Block(u"Side A", LAYOUT_HORZ);
    Lay_Out(*line);
    int right_end = line->xyl[6].mm_x + line->xyl[6].mm_width;
    Set_Text_Block_HJust(*line, JUST_RIGHT);
    Lay_Out(*line);
    EXPECT_NEAR(line->xyl[6].mm_x + line->xyl[6].mm_width, right_end, 1);
    EXPECT_NEAR(line->anchor.h, right_end, 1);
}

TEST(FontList, SortedWithoutExcludedNamesAndFlaggedByName) {
    Need_Font(u"DejaVu Sans");
    Need_Font(u"Liberation Serif");
    for (int f = 2; f <= Font_Count(); ++f) {
        std::u16string a = Font_Name(f - 1), b = Font_Name(f);
        EXPECT_FALSE(Font_Name_Excluded(b));
        EXPECT_EQ(Font_Item(f)->order, f);
    }
    EXPECT_TRUE(Font_Name_Excluded(u"@Noto Sans CJK JP"));
    EXPECT_TRUE(Font_Name_Excluded(u"System"));
    EXPECT_FALSE(Font_Name_Excluded(u"Systematic"));
    EXPECT_EQ(Font_Attribs(u"Wingdings 2", 0), 1u << IS_PI_FONT);
    EXPECT_EQ(Font_Attribs(u"Mangal", 0), 1u << IS_SP_FONT);
    EXPECT_EQ(Font_Attribs(u"MS Gothic", 128), 1u << IS_ASIAN_FONT);
    EXPECT_EQ(Font_Attribs(u"Arial Greek", 161), 1u << IS_NONROMAN_FONT);
    EXPECT_EQ(Font_Attribs(u"Arial", 255), 0u);
}

}  // namespace
