// Text blocks on a unit: creation from strings, the block limit,
// duplication, placement, the sliders both ways, moves and the font list.
#include <algorithm>
#include <cmath>
#include <iterator>
#include <memory>

#include <gtest/gtest.h>

#include "block_fixtures.h"
#include "text_fixtures.h"
#include "ui/interface.h"
#include "ui/sliders.h"
#include "ui/text_sliders.h"
#include "ui/text_cmds.h"
#include "effects_fixtures.h"
#include "golden_image.h"
#include "base/messages.h"
#include "model/undo_text.h"
#include "platform/clipboard.h"
#include "render/compositor.h"
#include "templates/mapping.h"
#include "templates/catalogue.h"
#include "templates/expand.h"
#include "model/document.h"
#include "text/om_render.h"
#include "text/text_draw.h"
#include "pixels/gworld.h"
#include "pixels/syspix.h"
#include "text/text_contrast.h"
#include "text/text_paths.h"
#include "text/text_scrap.h"

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

    // With nothing selected the layout grid still limits the size slider.
    gs.grid_vals[TEXT_LAYOUT_GRID] = LAYOUT_HORZ;
    EXPECT_FALSE(Delta_Text_Layout());
    Slider_Blast(200, TEXT_SIZE_SLIDER);
    EXPECT_EQ(gs.slider_vals[TEXT_SIZE_SLIDER], 200);
    gs.grid_vals[TEXT_LAYOUT_GRID] = LAYOUT_SPOKE;
    EXPECT_FALSE(Delta_Text_Layout());
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

TEST_F(TextBlocks, FitShrinksTextLargerThanTheUnitAndArrowsMoveByTheLayout) {
    const std::u16string line(12, u'W');
    const int plain = Text_New2(line.c_str(), nullptr, Point{100, 10}, false);
    const int fitted = Text_New2(line.c_str(), nullptr, Point{100, 10}, true);
    const a_om_rec& a = *Item(plain).om;
    const a_om_rec& b = *Item(fitted).om;
    EXPECT_GT(Rect_Width(Frame_Bounds(a.cache.frame)), Rect_Width(U().paintbounds));
    EXPECT_LT(b.size, a.size);
    EXPECT_LE(Rect_Width(Frame_Bounds(b.cache.frame)), Rect_Width(U().paintbounds));

    // Circular text turns against the arrow (it runs clockwise) and grows upward.
    const a_text_unit disc = Disc_Text_Unit();
    auto om = Text_Block(u"x", LAYOUT_CIRC_CW);
    EXPECT_TRUE(Text_Nudge(*om, disc, 1, 0, false));
    EXPECT_EQ(om->polarangle, -1);
    om->layout = LAYOUT_CIRC_CCW;
    EXPECT_TRUE(Text_Nudge(*om, disc, 1, 0, true));
    EXPECT_EQ(om->polarangle, 9);
    // 5 pixels are under one percent of this disc: still one percent up.
    EXPECT_TRUE(Text_Nudge(*om, disc, 0, -1, false));
    EXPECT_EQ(om->radius, 96);
    EXPECT_TRUE(Text_Nudge(*om, disc, 0, 1, true));
    EXPECT_EQ(om->radius, 87);  // 50 pixels down
    om->radius = 180;
    EXPECT_FALSE(Text_Nudge(*om, disc, 0, -1, false));
    om->layout = LAYOUT_CONTOUR;
    EXPECT_FALSE(Text_Nudge(*om, disc, 1, 0, false));
    EXPECT_TRUE(Text_Nudge(*om, disc, -1, 1, true));
    EXPECT_EQ(om->anchor, (Point{310, 200}));
    om->layout = LAYOUT_HORZ;
    EXPECT_TRUE(Text_Nudge(*om, disc, -1, -1, false, a_ratio{2, 1}));  // zoomed out: two cells a pixel
    EXPECT_EQ(om->anchor, (Point{308, 198}));
}

TEST_F(TextBlocks, FontAndColourBarsChangeTheSelectedBlockAsOneStep) {
    const a_interface_rec saved_gs = gs;
    std::vector<int> pending;
    (void)g_doc_services.history_pending.Install([&pending](int op) { pending.push_back(op); });
    const int omx = Text_New2(u"Side A", nullptr, Point{-1000, -1000}, false);
    a_om_rec& om = *Item(omx).om;
    OM_To_Sliders(om);
    const int other = Need_Font(u"Liberation Serif");
    ASSERT_NE(om.fontx, uint32_t(other));
    EXPECT_TRUE(FontBar_Select(other));
    EXPECT_EQ(om.fontx, uint32_t(other));
    EXPECT_FALSE(FontBar_Select(other));  // the same font again: no step
    EXPECT_EQ(pending, std::vector<int>{OP_TEXT_SETFONT});

    // A palette colour chosen on a bar comes back as that bar's choice.
    EXPECT_TRUE(Text_Color_Select(TEXT_GLOW_COLORBAR, 200));
    EXPECT_EQ(om.glow_color, Palette_Color(200));
    EXPECT_EQ(pending.back(), OP_TEXT_SETCOLOR);
    gs.bar_selection[TEXT_GLOW_COLORBAR] = 0;
    OM_To_Sliders(om);
    EXPECT_EQ(Palette_Color(gs.bar_selection[TEXT_GLOW_COLORBAR]), om.glow_color);
    gs = saved_gs;
}

// New text below the selected block and its text replaced: one step each,
// none when nothing changes; the line breaks survive the way back.
TEST_F(TextBlocks, NewTextAndReplacedTextAreOneStepEach) {
    std::vector<int> pending;
    (void)g_doc_services.history_pending.Install([&pending](int op) { pending.push_back(op); });
    const int basis = Text_New2(u"Title", nullptr, Point{-1000, -1000}, false);
    const uint32_t basis_id = Item(basis).objid;
    const Point below = Item(basis).om->anchor;
    const int omx = Text_New_String(u"Side A");
    ASSERT_NE(omx, OMX_NONE);
    EXPECT_NE(Item(omx).objid, basis_id);
    EXPECT_GT(Item(omx).om->anchor.v, below.v);
    int one = 0;
    EXPECT_TRUE(Is_One_Selected(one) && one == omx);
    EXPECT_EQ(pending, std::vector<int>{OP_TEXT_NEW});

    EXPECT_TRUE(Text_Replace(omx, u"Side A\rSide B"));
    const a_om_rec& om = *Item(omx).om;
    EXPECT_EQ(OM_To_Str(om), u"Side A\r\nSide B");
    EXPECT_TRUE(om.cache.progress & (1u << READY_COORD));
    EXPECT_FALSE(Text_Replace(omx, OM_To_Str(om).c_str()));  // the same text: no step
    EXPECT_FALSE(Text_Replace(OMX_NONE, u"x"));
    EXPECT_EQ(pending, (std::vector<int>{OP_TEXT_NEW, OP_TEXT_EDIT}));

    while (U().oj.nlist < MAX_TEXT_BLOCKS) Add(Rect{0, 0, 10, 10});
    sounds.clear();
    EXPECT_EQ(Text_New_String(u"one too many"), OMX_NONE);
    EXPECT_EQ(sounds, std::vector<int>{SND_BLOCK_WARNING});
}

// The block on the clipboard: its text, and the record read back whole.
TEST_F(TextBlocks, ClipboardHoldsTheTextAndTheWholeRecord) {
    const int omx = Text_New2(u"Side A\r\nSide \U0001F600", nullptr, Point{-1000, -1000}, false);
    a_om_rec& om = *Item(omx).om;
    om.xyl[2].cc_size = 150;
    om.glowf = true;
    ASSERT_TRUE(Scrap_Add_OM(om));
    EXPECT_EQ(Clipboard_Text(), u"Side A\r\nSide \U0001F600");
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(Clipboard_Get(TEXT_BLOCK_CLIP_FORMAT, 1 << 20, bytes));
    ASSERT_GT(bytes.size(), 6u);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "CTXT");
    a_undo_reader r(bytes.data() + 6, bytes.size() - 6);
    a_om_rec back;
    ASSERT_TRUE(Read_OM(r, back));
    EXPECT_EQ(OM_To_Str(back), OM_To_Str(om));
    EXPECT_EQ(back.xyl[2].cc_size, 150);
    EXPECT_TRUE(back.glowf);
    EXPECT_EQ(back.fontx, om.fontx);

    a_om_rec empty;
    EXPECT_FALSE(Scrap_Add_OM(empty));
    EXPECT_EQ(Clipboard_Text(), u"Side A\r\nSide \U0001F600");
}

// Overflow marks: an orange disc with a black rim and plus on every mark
// of the visible blocks, nothing for a hidden one.
TEST_F(TextBlocks, OverflowMarksAndTheThumbnailAreDrawnWhereTheyBelong) {
    const int omx = Text_New2(std::u16string(300, u'M').c_str(), nullptr, Point{-1000, -1000}, false);
    a_om_rec& om = *Item(omx).om;
    Begin_Text_Change(omx);
    om.layout = LAYOUT_CIRC_CW;
    om.size = 72;
    End_Text_Change(omx);
    ASSERT_GT(om.noverflows, 0u);
    const Rect b = U().paintbounds;
    auto white = [&] {
        a_gworld_ptr w = Make_GWorld(32, b);
        PixMap32_Fill(w->pix, b, 0xFFFFFF);
        return w;
    };
    a_gworld_ptr w = white();
    const a_coord_mapping m = Unit_Layer_Mapping(U(), b);
    Draw_Overflow_Marks(U(), w.get(), m);
    for (uint32_t k = 1; k <= om.noverflows; ++k) {
        const Point p = Apply_Mapping_Point(m, om.overflows[k].pos);
        const Rect in = Rect_Inset(b, 9);
        if (p.v < in.top || p.v >= in.bottom || p.h < in.left || p.h >= in.right) continue;
        EXPECT_EQ(Pixel32(w.get(), p.h - b.left, p.v - b.top), 0u);
        EXPECT_EQ(Pixel32(w.get(), p.h + 6 - b.left, p.v - b.top), 0xE57008u);
        EXPECT_EQ(Pixel32(w.get(), p.h - b.left, p.v - 6 - b.top), 0xE57008u);
        EXPECT_EQ(Pixel32(w.get(), p.h + 7 - b.left, p.v + 7 - b.top), 0xFFFFFFu);
    }
    // The window's picture of the unit carries the marks; the printed one does not.
    Text_Draw_Init();  // the compositor's text drawing, as at start-up
    Rect shown;
    GWorld* screen = nullptr;
    Current_Unit_Merge_Check(shown, screen);
    ASSERT_TRUE(screen);
    ASSERT_EQ(shown, b);
    GWorld* printed = nullptr;
    Render_Unit_Print(g_doc.upx, U(), b, printed);
    a_gworld_ptr print_owner(printed);
    int seen = 0;
    for (uint32_t k = 1; k <= om.noverflows; ++k) {
        const Point p = Apply_Mapping_Point(m, om.overflows[k].pos);
        const Rect in = Rect_Inset(b, 9);
        if (p.v < in.top || p.v >= in.bottom || p.h < in.left || p.h >= in.right) continue;
        ++seen;
        EXPECT_EQ(Pixel32(screen, p.h + 6 - b.left, p.v - b.top) & 0xFFFFFF, 0xE57008u);
        EXPECT_NE(Pixel32(printed, p.h + 6 - b.left, p.v - b.top) & 0xFFFFFF, 0xE57008u);
    }
    EXPECT_GT(seen, 0);
    Set_Flag(Item(omx), VISIBLE_FLAG, false);
    a_gworld_ptr hidden = white();
    Draw_Overflow_Marks(U(), hidden.get(), m);
    for (int y = 0; y < Rect_Height(b); y += 3)
        for (int x = 0; x < Rect_Width(b); x += 3) ASSERT_EQ(Pixel32(hidden.get(), x, y), 0xFFFFFFu);

    const Rect thumb{0, 0, 40, 120};
    a_gworld_ptr t = Make_GWorld(32, thumb);
    PixMap32_Fill(t->pix, thumb, 0xFFFFFF);
    Draw_Text_Thumbnail(t.get(), thumb);
    Rect ink{40, 120, 0, 0};
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 120; ++x)
            if (Pixel32(t.get(), x, y) < 0x404040) {
                ink.top = std::min<int16_t>(ink.top, int16_t(y)), ink.bottom = std::max<int16_t>(ink.bottom, int16_t(y + 1));
                ink.left = std::min<int16_t>(ink.left, int16_t(x)), ink.right = std::max<int16_t>(ink.right, int16_t(x + 1));
            }
    ASSERT_FALSE(Rect_IsEmpty(ink));
    EXPECT_NEAR((ink.left + ink.right) / 2.0, 60, 3);
    EXPECT_NEAR((ink.top + ink.bottom) / 2.0, 20, 3);
    EXPECT_GT(Rect_Width(ink), 50);
}

TEST(FontList, SortedWithoutExcludedNamesAndFlaggedByName) {
    Need_Font(u"DejaVu Sans");
    Need_Font(u"Liberation Serif");
    // Case folded as a font menu orders them; names beyond ASCII fold in
    // ways this simple fold does not know, so they are not compared.
    auto folded = [](std::u16string s) {
        for (char16_t& c : s) c = c >= u'A' && c <= u'Z' ? char16_t(c - u'A' + u'a') : c;
        return s;
    };
    auto ascii = [](const std::u16string& s) {
        return std::all_of(s.begin(), s.end(), [](char16_t c) { return c < 0x80; });
    };
    for (int f = 2; f <= Font_Count(); ++f) {
        std::u16string a = Font_Name(f - 1), b = Font_Name(f);
        if (ascii(a) && ascii(b)) {
            EXPECT_LE(folded(a), folded(b)) << f;
        }
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


// Text of a layout that spans the unit on a sheet larger than any one
// picture of letters may be (an A3 sheet at 300 dpi): drawn in the window at
// 100 % and in print, without a word of running short of memory. The
// printed sheet, a quarter across, is the golden.
TEST_F(TextBlocks, CircularTextOnAnA3SheetIsDrawnOnScreenAndInPrint) {
    Text_Draw_Init();  // the compositor's text drawing, as at start-up
    auto t = One_Unit_Template(false);
    t->units[1].bbox = {0, 0, 297, 420};
    Doc_Dispose();
    Doc_New(*t);
    const Rect b = U().paintbounds;
    ASSERT_GT(long(Rect_Width(b) + 100) * (Rect_Height(b) + 100), 4096L * 4096L);
    const int omx = Text_New2(u"Holiday on the coast, summer 2026", nullptr, Point{-1000, -1000}, false);
    a_om_rec& om = *Item(omx).om;
    Begin_Text_Change(omx);
    om.layout = LAYOUT_CIRC_CW;
    om.size = 60;
    om.glowf = true;
    // Colours of their own: a new block's follow whatever the sliders hold.
    om.base_color = a_win_pixel32{0, 0, 0, 0};
    om.glow_color = a_win_pixel32{0, 200, 255, 0};
    End_Text_Change(omx);
    ASSERT_EQ(om.noverflows, 0u);
    g_mem_constraint = false;
    // Dark letter pixels in a picture of the unit.
    auto inked = [](const GWorld* w) {
        long n = 0;
        const Rect& r = w->pix.bounds;
        for (int y = 0; y < Rect_Height(r); y += 2)
            for (int x = 0; x < Rect_Width(r); x += 2) n += (Pixel32(w, x, y) & 0xFF) < 0x80;
        return n;
    };
    const a_ratio zoom = g_merge_zoom;
    g_merge_zoom = a_ratio{1, 1};
    Rect shown;
    GWorld* screen = nullptr;
    Current_Unit_Merge_Check(shown, screen);
    g_merge_zoom = zoom;
    ASSERT_TRUE(screen);
    EXPECT_EQ(Rect_Width(shown), Rect_Width(b));
    EXPECT_EQ(Rect_Height(shown), Rect_Height(b));
    EXPECT_GT(inked(screen), 1000);
    GWorld* printed = nullptr;
    Render_Unit_Print(g_doc.upx, U(), b, printed);
    a_gworld_ptr owner(printed);
    ASSERT_TRUE(printed);
    EXPECT_GT(inked(printed), 1000);
    EXPECT_FALSE(g_mem_constraint);
    // A quarter across, each pixel the mean of 4 x 4.
    const Rect small{0, 0, int16_t(Rect_Height(b) / 4), int16_t(Rect_Width(b) / 4)};
    a_gworld_ptr view = Make_GWorld(32, small);
    for (int y = 0; y < small.bottom; ++y)
        for (int x = 0; x < small.right; ++x) {
            uint32_t sum[3] = {};
            for (int dy = 0; dy < 4; ++dy)
                for (int dx = 0; dx < 4; ++dx) {
                    const uint32_t p = Pixel32(printed, 4 * x + dx, 4 * y + dy);
                    for (int k = 0; k < 3; ++k) sum[k] += (p >> (8 * k)) & 0xFF;
                }
            uint32_t* row = reinterpret_cast<uint32_t*>(PixMap_Row(view->pix, y));
            row[x] = (sum[0] / 16) | (sum[1] / 16) << 8 | (sum[2] / 16) << 16;
        }
    EXPECT_TRUE(Matches_Golden("text_a3_circle", World_Bits(view.get())));
}


// New text on a disc of the catalogue lands where a person would put it:
// plain text in the ring above the hole, wholly on the disc; spokes chosen
// for it clear the hole. Effect parameters turn their effect on unless the
// effect is disabled.
TEST_F(TextBlocks, NewTextOnADiscStaysOnTheRingAndEffectsFollowTheirSliders) {
    a_slider_item saved[NSLIDERS];
    std::copy(std::begin(g_sliders), std::end(g_sliders), std::begin(saved));
    Text_Sliders_Attach();
    auto t = std::make_unique<a_template>();
    Expand_Template(TList_Get(Find_Template("A-ONE 29125")), *t);
    Doc_Dispose();
    Doc_New(*t);
    Select_Doc_Unit(1);
    const a_text_unit u = Curr_Text_Unit();
    ASSERT_GT(u.hole, 0);
    const Point c = Rect_Centre(u.bounds);
    for (int just : {JUST_LEFT, JUST_CENTER, JUST_RIGHT}) {
        gs.grid_vals[TEXT_LAYOUT_GRID] = LAYOUT_HORZ;
        gs.grid_vals[TEXT_HJUST_GRID] = int16_t(just);
        gs.slider_vals[TEXT_SIZE_SLIDER] = 14;
        ASSERT_TRUE(Text_Inject_Unicode(u"Summer holiday 2026"));
        const a_om_rec& om = *Item(U().oj.nlist).om;
        ASSERT_EQ(om.justify, just);
        for (int i = 1; i < om.nxyl; ++i) {
            const a_xyl_char& ch = om.xyl[i];
            for (int x : {int(ch.mm_x), ch.mm_x + ch.mm_width})
                for (int y : {ch.mm_y - 3 * om.size, ch.mm_y + om.size}) {
                    const double d = std::hypot(x - c.h, y - c.v);
                    EXPECT_LT(d, u.disc / 2.0) << "justify " << just << " char " << i;
                    EXPECT_GT(d, u.hole / 2.0) << "justify " << just << " char " << i;
                }
        }
        EXPECT_LT(om.anchor.v, c.v - u.hole / 2);
    }
    // Spokes: the thickness drops until the inner end clears the hole.
    gs.grid_vals[TEXT_LAYOUT_GRID] = LAYOUT_SPOKE;
    Delta_Text_Layout();
    const a_om_rec& spoke = *Item(U().oj.nlist).om;
    ASSERT_EQ(spoke.layout, LAYOUT_SPOKE);
    const int outer = Radius_To_Pixels(u, spoke.spoke_outerd);
    EXPECT_GE((100 - spoke.spoke_thickness) * outer / 100, u.hole / 2);
    EXPECT_LT(spoke.spoke_thickness, 80);

    // Glow, shadow and outline sliders turn their effect on, unless disabled.
    const struct {
        a_slider_enum slider;
        a_toggle_enum toggle;
        bool a_om_rec::*flag;
    } effects[] = {{TEXT_GLOW_RADIUS_SLIDER, TEXT_GLOW_TOGGLE, &a_om_rec::glowf},
                   {TEXT_SHAD_DX_SLIDER, TEXT_SHAD_TOGGLE, &a_om_rec::shadf},
                   {TEXT_OUTL_RADIUS_SLIDER, TEXT_OUTL_TOGGLE, &a_om_rec::outlf}};
    for (const auto& e : effects) {
        gs.toggle_vals[e.toggle] = false;
        gs.toggle_disabled[e.toggle] = true;
        Slider_SetVal(gs.slider_vals[e.slider] + 1, e.slider);
        EXPECT_FALSE(gs.toggle_vals[e.toggle]);
        EXPECT_FALSE(spoke.*e.flag);
        gs.toggle_disabled[e.toggle] = false;
        Slider_SetVal(gs.slider_vals[e.slider] + 1, e.slider);
        EXPECT_TRUE(gs.toggle_vals[e.toggle]);
        EXPECT_TRUE(spoke.*e.flag);
    }
    std::copy(std::begin(saved), std::end(saved), std::begin(g_sliders));
}

// New text takes the interface's colour unless it would vanish in what lies
// under it: then black or white, whichever reads.
TEST_F(TextBlocks, NewTextIsGivenAColourThatReadsOnThePictureUnderIt) {
    // The composed picture is at the screen's zoom, here half the cells;
    // its lower half shows the opposite of what lies under the text.
    a_cached_gworld& total = U().static_[TOTAL_LAYER];
    ASSERT_EQ(total.world, nullptr);
    const Rect pb = U().paintbounds;
    const Rect half{0, 0, int16_t(Rect_Height(pb) / 2), int16_t(Rect_Width(pb) / 2)};
    total.world = New_GWorld(32, half);
    const Rect upper{0, 0, int16_t(half.bottom / 2), half.right}, lower{upper.bottom, 0, half.bottom, half.right};
    const a_win_pixel32 saved = g_text_swatches[SWATCH_BASE];
    const struct {
        uint32_t under;
        a_win_pixel32 asked, given;
    } cases[] = {
        {0x00FFFFFF, {255, 255, 255, 0}, {0, 0, 0, 0}},          // white on the white canvas
        {0x00FFFFFF, {0, 255, 255, 0}, {0, 0, 0, 0}},            // yellow on white
        {0x00FFFFFF, {0, 0, 255, 0}, {0, 0, 255, 0}},            // red on white reads
        {0x00101830, {0, 0, 0, 0}, {255, 255, 255, 0}},          // black on a night sky
        {0x00101830, {0, 215, 255, 0}, {0, 215, 255, 0}},        // gold on it reads
    };
    for (const auto& c : cases) {
        PixMap32_Fill(total.world->pix, upper, c.under);
        PixMap32_Fill(total.world->pix, lower, ~c.under & 0x00FFFFFF);
        g_text_swatches[SWATCH_BASE] = c.asked;
        ASSERT_TRUE(Text_Inject_Unicode(u"Summer"));
        ASSERT_LT(Frame_Bounds(Item(U().oj.nlist).om->cache.frame).bottom, Rect_Centre(pb).v);
        EXPECT_EQ(Item(U().oj.nlist).om->base_color, c.given) << std::hex << c.under;
    }
    EXPECT_NEAR(Contrast_Ratio({0, 0, 0, 0}, {255, 255, 255, 0}), 21.0, 1e-9);
    g_text_swatches[SWATCH_BASE] = saved;
}

}  // namespace
