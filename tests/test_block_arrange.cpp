// Blocks of a unit: enumeration, hit testing, selection, moves, alignment,
// spreading, stacking, duplication and deletion, with the dirty areas and
// history steps each posts.
#include <gtest/gtest.h>

#include "block_fixtures.h"
#include "model/arrange.h"
#include "model/block_moves.h"
#include "model/history_ops.h"
#include "model/text_rec.h"
#include "render/compositor.h"
#include "shell/doc_keys.h"
#include "ui/interface.h"
#include "ui/sliders.h"
#include "ui/text_cmds.h"
#include "ui/text_sliders.h"

namespace {

using BlockArrange = BlockTest;

std::vector<uint32_t> Ids(a_doc_unit& u) {
    std::vector<uint32_t> v;
    for (int i = 1; i <= u.oj.nlist; ++i) v.push_back(u.oj.list[i].objid);
    return v;
}

}  // namespace

TEST_F(BlockArrange, EnumerationOfNothingEndsAtOnceAndCountsFollowTheBar) {
    for (bool forward : {true, false}) {
        int omx = OMX_START;
        EXPECT_FALSE(Enum(forward, false, Kind_Bit(PHOTO_BLOCK), omx));  // only the paint block
        EXPECT_EQ(omx, OMX_NONE);
    }
    int a = Add(Box_At(10, 10, 20, 20)), b = Add(Box_At(50, 10, 20, 20), SYMBOL_BLOCK);
    Select({a, b});
    EXPECT_EQ(Selection_Count(), 1);  // the photo bar: symbols are not selectable
    EXPECT_EQ(Calc_Selection_Mix(), MOTLEY);
    Select({a});
    EXPECT_EQ(Calc_Selection_Mix(), ONE_PURE);
    g_block_bar = OTHER_BAR;
    EXPECT_EQ(Calc_Selection_Mix(), ZERO_PURE);
    g_block_bar = PHOTO_BAR;
    Selection_Set1(1);  // the paint block: the paint bar comes up instead
    EXPECT_EQ(g_block_bar, PAINT_BAR);
    EXPECT_FALSE(Is_Obj_Selected(1));
}

TEST_F(BlockArrange, FindPrefersTheSmallBlockUnderALargeOneAndTheHigherOnATie) {
    int small = Add(Box_At(100, 100, 20, 20));
    int large = Add(Box_At(0, 0, 400, 400));
    int part = 0;
    EXPECT_EQ(Obj_Find(Point{110, 110}, part), small);
    EXPECT_EQ(part, 5);
    EXPECT_EQ(Obj_Find(Point{300, 300}, part), large);
    EXPECT_EQ(Obj_Find(Point{450, 450}, part), OMX_NONE);
    // Same area: the depth term decides for the upper one.
    int twin = Add(Box_At(100, 100, 20, 20));
    EXPECT_EQ(Obj_Find(Point{110, 110}, part), twin);
    // A corner handle of the single selection is reported as its part.
    Select({twin});
    EXPECT_EQ(Obj_Find(Point{120, 120}, part), twin);
    EXPECT_EQ(part, 3);
    Select({twin, small});  // several selected: handles are plain insides
    (void)Obj_Find(Point{120, 120}, part);
    EXPECT_EQ(part, 5);
}

TEST_F(BlockArrange, MouseDownSelectsTogglesDragsAndDeselects) {
    int a = Add(Box_At(10, 10, 50, 50)), b = Add(Box_At(200, 200, 50, 50));
    a_block_click click;
    click.cell = Point{30, 30};
    EXPECT_EQ(Obj_MouseDown(click).action, CLICK_SELECTED);
    EXPECT_TRUE(Is_Obj_Selected(a));
    click.ticks = 10;  // a second click soon after opens it
    EXPECT_EQ(Obj_MouseDown(click).action, CLICK_DOUBLE);
    click.cell = Point{220, 220};
    click.shift = true;
    click.ticks = 100;
    (void)Obj_MouseDown(click);
    EXPECT_EQ(Selection_Count(), 2);
    click.shift = false;
    click.moved = true;
    click.cell = Point{int16_t(Box(b).bottom - 1), int16_t(Box(b).right - 1)};
    a_click_result r = Obj_MouseDown(click);
    EXPECT_EQ(r.action, CLICK_TRACK_MOVE);  // two selected: the handle is not offered
    click.cell = Point{400, 400};
    EXPECT_EQ(Obj_MouseDown(click).action, CLICK_DESELECT);
    EXPECT_EQ(Selection_Count(), 0);
}

TEST_F(BlockArrange, DragIsAppliedFromItsStartAndRecordedOnceWithBothAreas) {
    int a = Add(Box_At(100, 100, 40, 40)), b = Add(Box_At(300, 100, 40, 40));
    Add_Text();
    Select({a, b});
    const Rect a0 = Box(a);
    Clear_Record();
    Track_Step(TRACK_INIT, a, false, Point{0, 0}, Point{0, 0});
    Track_Step(TRACK_MOVE, a, false, Point{0, 0}, Point{5, 20});
    Track_Step(TRACK_MOVE, a, true, Point{0, 0}, Point{-5, 30});  // shift: the larger axis only
    EXPECT_TRUE(history.empty());
    Track_Step(TRACK_STOP, a, true, Point{0, 0}, Point{-5, 30});
    EXPECT_EQ(Box(a), Rect_Offset(a0, 30, 0));  // not 20 + 30: each step starts from the start
    EXPECT_EQ(history, std::vector<int>{OP_BLOCK_MOVEXY});
    EXPECT_TRUE(Posted(a0));
    EXPECT_TRUE(Posted(Box(a)));
    // A centre never leaves the unit; a collage slot may.
    const Rect& u = U().paintbounds;
    Photo_Delta_XY1(a, false, 5000, 5000);
    EXPECT_EQ(Item(a).ph->dst_center, (Point{int16_t(u.bottom - 1), int16_t(u.right - 1)}));
    int slot = Add(Box_At(10, 10, 10, 10), SLOT_BLOCK);
    Photo_Delta_XY1(slot, false, 5000, 0);
    EXPECT_EQ(Item(slot).ph->dst_center.h, 5015);
    Photo_Delta_XY1(slot, true, 5, -5);  // a tie keeps dx
    EXPECT_EQ(Item(slot).ph->dst_center, (Point{15, 5020}));
}

TEST_F(BlockArrange, NudgeMovesTheSelectionOrWarns) {
    int a = Add(Box_At(100, 100, 40, 40));
    Obj_Nudge(false, 1, 0);
    EXPECT_EQ(sounds, std::vector<int>{SND_BLOCK_WARNING});
    Select({a});
    Obj_Nudge(true, -1, 1);
    EXPECT_EQ(Box(a), Box_At(90, 110, 40, 40));
    Obj_Nudge(false, 1, 0, a_ratio{3, 1});  // zoomed out: one screen pixel is three cells
    EXPECT_EQ(Box(a).left, 93);
    EXPECT_EQ(history, (std::vector<int>{OP_BLOCK_MOVEXY, OP_BLOCK_MOVEXY}));
}

TEST_F(BlockArrange, AlignmentsFollowTheTopMostBlock) {
    int a = Add(Box_At(10, 50, 20, 20)), b = Add(Box_At(100, 20, 40, 10)), c = Add(Box_At(200, 80, 10, 30));
    Select({a, b, c});
    Clear_Record();
    Enum_Align_H_L();
    EXPECT_EQ(Box(a).left, 100);
    EXPECT_EQ(Box(c).left, 100);
    EXPECT_EQ(Box(b), Box_At(100, 20, 40, 10));  // the reference stays
    EXPECT_TRUE(Posted(Box_At(200, 80, 10, 30)));
    EXPECT_TRUE(Posted(Box(c)));
    Enum_Align_V_B();
    EXPECT_EQ(Box(a).bottom, 30);
    EXPECT_EQ(Box(c).bottom, 30);
    Enum_Align_H_C();
    EXPECT_EQ(Box(a).left + Box(a).right, 210);  // the reference is now c, the highest
    EXPECT_EQ(history, (std::vector<int>{OP_BLOCK_ALIGN, OP_BLOCK_ALIGN, OP_BLOCK_ALIGN}));
    Select({a});
    Enum_Align_V_T();
    EXPECT_EQ(sounds.back(), SND_BLOCK_WARNING);
    Align_Horz(1, 4);
    EXPECT_EQ(Item(a).ph->dst_center.h, U().paintbounds.right / 4);
    Align_Horz(1, 0);  // no point to go to: nothing happens
    EXPECT_EQ(Item(a).ph->dst_center.h, U().paintbounds.right / 4);
}

TEST_F(BlockArrange, SpreadGivesEqualGapsByIntegerInterpolation) {
    // Evenly spaced already: nothing moves, nothing is posted.
    int a = Add(Box_At(0, 0, 10, 10)), b = Add(Box_At(30, 0, 10, 10)), c = Add(Box_At(60, 0, 10, 10));
    Select({a, b, c});
    Clear_Record();
    Obj_Spread_H();
    EXPECT_EQ(Box(b).left, 30);
    EXPECT_TRUE(dirty.empty());
    EXPECT_EQ(history, std::vector<int>{OP_BLOCK_SPREAD});
    // Free space 10 between inner blocks of widths 10, 5, 5 listed out of order.
    int d = Add(Box_At(14, 40, 5, 10)), e = Add(Box_At(12, 40, 10, 10)), f = Add(Box_At(13, 40, 5, 10));
    int l = Add(Box_At(0, 40, 10, 10)), r = Add(Box_At(40, 40, 10, 10));
    Select({d, e, f, l, r});
    Obj_Spread_H();
    // Boundaries 10 * i / 4 = 2, 5, 7: gaps 2, 3, 2, 3.
    EXPECT_EQ(Box(e).left, 12);
    EXPECT_EQ(Box(f).left, 25);
    EXPECT_EQ(Box(d).left, 32);
    EXPECT_EQ(Box(r).left, 40);
    // One block reaching both ends, or too few blocks: the warning.
    int wide = Add(Box_At(0, 100, 200, 10)), in1 = Add(Box_At(20, 100, 5, 5)), in2 = Add(Box_At(50, 100, 5, 5));
    Select({wide, in1, in2});
    sounds.clear();
    Obj_Spread_V();
    Obj_Spread_H();
    Select({in1, in2});
    Obj_Spread_H();
    EXPECT_EQ(sounds, (std::vector<int>(3, SND_BLOCK_WARNING)));
}

TEST_F(BlockArrange, StackingMovesOneBlockAndShiftsTheOthers) {
    for (int i = 0; i < 4; ++i) Add(Box_At(10 * i, 0, 10, 10));  // blocks 2..5 over the paint block
    std::vector<uint32_t> before = Ids(U());
    Select({5});
    EXPECT_FALSE(Layer_Can_Arrange(+1));
    EXPECT_TRUE(Layer_Can_Arrange(-1));
    Select({4});
    EXPECT_EQ(Constrain_Layer_Index(4, -10), 2);  // the paint block is not a photo
    Clear_Record();
    Layer_Arrange(4, 2);
    std::vector<uint32_t> want = {before[0], before[3], before[1], before[2], before[4]};
    EXPECT_EQ(Ids(U()), want);
    EXPECT_EQ(history, std::vector<int>{OP_BLOCK_MOVEZ});
    EXPECT_TRUE(Posted(Box(2)));
    Layer_Arrange(2, 9);  // outside the list: nothing
    Layer_Arrange2(0, 2);
    EXPECT_EQ(Ids(U()), want);
    Select({2});
    Layer_ArrangeRel(+10);
    EXPECT_EQ(U().oj.list[5].objid, before[3]);
}

TEST_F(BlockArrange, DuplicatesBecomeTheSelectionUnderTheTextKeepOffTheEdgesAndStopWhenFull) {
    const Rect& u = U().paintbounds;
    int a = Add(Box_At(10, 10, 20, 20));
    int b = Add(Box_At(u.right - 30, u.bottom - 30, 20, 20));
    Add_Text();
    Select({a, b});
    Clear_Record();
    Enum_Obj_Dup();
    ASSERT_EQ(U().oj.nlist, 6);
    EXPECT_EQ(Item(6).kind, TEXT_BLOCK);  // the copies went under the text
    std::vector<int> sel;
    for (int omx = OMX_START; Selection_Enum(omx);) sel.push_back(omx);
    EXPECT_EQ(sel, (std::vector<int>{4, 5}));
    EXPECT_EQ(Item(4).ph->dst_center, (Point{60, 60}));
    EXPECT_EQ(Item(5).ph->dst_center, (Point{int16_t(u.top + 10), int16_t(u.left + 10)}));
    EXPECT_NE(Item(4).objid, Item(a).objid);
    EXPECT_EQ(history, std::vector<int>{OP_BLOCK_DUP});
    EXPECT_TRUE(Posted(Item(4).ph->dst_box));
    // In a full unit the copies stop at the limit, with the warning.
    while (U().oj.nlist < MAXNOBJECTS - 1) Add(Box_At(10, 10, 20, 20));
    Select({2, 3});
    Clear_Record();
    Enum_Obj_Dup();
    EXPECT_EQ(U().oj.nlist, MAXNOBJECTS);
    EXPECT_EQ(sounds, std::vector<int>{SND_BLOCK_WARNING});
    EXPECT_EQ(Selection_Count(), 1);
}

// Deletion goes from the top down and posts each area; the cycle wraps; a
// saved list comes back whole.
TEST_F(BlockArrange, DeletionCycleAndSavedLists) {
    for (int i = 0; i < 4; ++i) Add(Box_At(20 * i, 0, 10, 10));  // 2, 3, 4, 5
    Select({3});
    Selection_Cycle(false);  // above the top: wrap to the bottom
    Selection_Cycle(false);
    Selection_Cycle(false);
    EXPECT_TRUE(Is_Obj_Selected(2));
    Selection_Cycle(true);  // below 2 is only the paint block: wrap to the top
    EXPECT_TRUE(Is_Obj_Selected(5));
    EXPECT_EQ(Selection_Count(), 1);

    a_oj_master* saved = nullptr;
    OMast_Save(U().oj, saved);
    std::vector<uint32_t> ids = Ids(U());
    const Rect b2 = Box(2), b4 = Box(4);
    Select({2, 4});
    Clear_Record();
    Enum_Obj_Del();
    EXPECT_EQ(Ids(U()), (std::vector<uint32_t>{ids[0], ids[2], ids[4]}));
    EXPECT_TRUE(Posted(b2));
    EXPECT_TRUE(Posted(b4));
    EXPECT_EQ(Selection_Count(), 0);
    EXPECT_EQ(history, std::vector<int>{OP_BLOCK_DEL});
    Enum_Obj_Del();
    EXPECT_EQ(sounds, std::vector<int>{SND_BLOCK_WARNING});
    OMast_Restore(saved, U().oj);
    EXPECT_EQ(Ids(U()), ids);
    EXPECT_EQ(saved, nullptr);
    EXPECT_EQ(Box(4), Box_At(40, 0, 10, 10));
}

// The document's keys through the key chain: arrows nudge (Shift for the big
// step), Tab cycles, "+" steps the photo size, Delete removes the selection;
// outside the block phases, or with Control on an arrow, they are not taken.
TEST_F(BlockArrange, DocumentKeysNudgeCycleStepAndDelete) {
    const a_interface_rec saved = gs;
    const a_ratio zoom = g_merge_zoom;
    g_merge_zoom = a_ratio{1, 1};
    int a = Add(Box_At(100, 100, 40, 40)), b = Add(Box_At(300, 300, 40, 40));
    Select({a});
    gs.curr_phase = PHOTO_PHASE;
    EXPECT_TRUE(Doc_KeyDown(a_keystroke{VKEY_RIGHT, 0, NO_CHAR, 0}));
    EXPECT_TRUE(Doc_KeyDown(a_keystroke{VKEY_UP, 0, NO_CHAR, Mod(SHIFTKEY)}));
    EXPECT_EQ(Box(a), Box_At(101, 90, 40, 40));
    // On a screen of twice the density one device pixel per cell is a view
    // at 50 %: a press moves two cells, as it does at 50 % on any screen.
    g_merge_dpr = 2;
    EXPECT_TRUE(Doc_KeyDown(a_keystroke{VKEY_LEFT, 0, NO_CHAR, 0}));
    EXPECT_TRUE(Doc_KeyDown(a_keystroke{VKEY_DOWN, 0, NO_CHAR, Mod(SHIFTKEY)}));
    EXPECT_EQ(Box(a), Box_At(99, 110, 40, 40));
    g_merge_dpr = 1;
    EXPECT_FALSE(Doc_KeyDown(a_keystroke{VKEY_UP, 0, NO_CHAR, Mod(OPTIONKEY)}));
    EXPECT_TRUE(Doc_KeyDown(a_keystroke{'\t', '\t', '\t', 0}));
    EXPECT_TRUE(Has_Flag(Item(b), SELECTED_FLAG));
    EXPECT_FALSE(Has_Flag(Item(a), SELECTED_FLAG));
    const int16_t size = gs.slider_vals[PHOTO_SIZEH_SLIDER];
    EXPECT_TRUE(Doc_KeyDown(a_keystroke{0, '+', '+', 0}));
    EXPECT_GT(gs.slider_vals[PHOTO_SIZEH_SLIDER], size);
    Clear_Record();
    const int blocks = U().oj.nlist;
    EXPECT_TRUE(Doc_KeyDown(a_keystroke{VKEY_DELETE, 0x7F, NO_CHAR, 0}));
    EXPECT_EQ(U().oj.nlist, blocks - 1);
    EXPECT_EQ(history, std::vector<int>{OP_BLOCK_DEL});
    gs.curr_phase = CANVAS_PHASE;
    Select({a});
    EXPECT_FALSE(Doc_KeyDown(a_keystroke{VKEY_LEFT, 0, NO_CHAR, 0}));
    EXPECT_FALSE(Doc_KeyDown(a_keystroke{VKEY_DELETE, 0x7F, NO_CHAR, 0}));
    EXPECT_EQ(U().oj.nlist, blocks - 1);
    g_merge_zoom = zoom;

    // For text, "+" and "-" step the size slider within the layout's limit.
    std::unique_ptr<a_om_rec> block(New_OM_Rec());
    block->layout = LAYOUT_SPOKE;
    block->size = 60;
    OM_To_Sliders(*block);
    const int16_t limit = TEXT_LAYOUT_SIZE_LIMITS[LAYOUT_SPOKE];
    EXPECT_EQ(g_sliders[TEXT_SIZE_SLIDER].maxval, limit);
    Text_Minus();
    EXPECT_LT(gs.slider_vals[TEXT_SIZE_SLIDER], 60);
    for (int i = 0; i < 400; ++i) Text_Plus();
    EXPECT_EQ(gs.slider_vals[TEXT_SIZE_SLIDER], limit);
    gs = saved;
}
