// Imported track lists become text blocks on the current unit: the columns
// as plain blocks side by side, the interface's text settings made plain,
// the shrink when too wide, one history step.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "block_fixtures.h"
#include "model/history_ops.h"
#include "platform/dialogs.h"
#include "text/text_blocks.h"
#include "track_fixtures.h"
#include "tracks/import.h"
#include "tracks/inject.h"
#include "tracks/inject_plan.h"
#include "ui/interface.h"
#include "ui/sliders.h"

namespace {

class TrackInjectTest : public BlockTest {
protected:
    // A jewel-case booklet: 120 mm square.
    void SetUp() override {
        BlockTest::SetUp();
        auto t = One_Unit_Template(false);
        t->units[1].bbox = {0, 0, 120, 120};
        Doc_New(*t);
        base_ = U().oj.nlist;
    }
    int Unit_Width() { return Rect_Width(Curr_Text_Unit().bounds); }
    // The k-th block made here (a fresh unit already holds its paint layer).
    const a_om_rec& Om(int k) { return *Item(base_ + k).om; }
    bool Selected(int k) { return Is_Obj_Selected(base_ + k); }
    int base_ = 0;
};

// The interface record and the sliders, put back afterwards (the interface's
// services are those installed at start-up).
struct a_text_sliders_guard {
    a_text_sliders_guard() { std::copy(std::begin(g_sliders), std::end(g_sliders), std::begin(sliders)); }
    ~a_text_sliders_guard() {
        gs = saved;
        std::copy(std::begin(sliders), std::end(sliders), std::begin(g_sliders));
    }
    a_interface_rec saved = gs;
    a_slider_item sliders[NSLIDERS];
};

std::string Twenty_Songs() {
    std::string s = "Name\tArtist\tTotal Time\r";
    for (int i = 1; i <= 20; ++i)
        s += "Song " + std::to_string(i) + "\tBand\t" + std::to_string(60000 + i * 1000) + "\r";
    return s;
}

TEST_F(TrackInjectTest, ConfirmedTabListBecomesTwoSelectedBlocksAndOneStep) {
    a_field_choice_guard guard;
    a_text_sliders_guard sliders;
    gs.grid_vals[TEXT_LAYOUT_GRID] = LAYOUT_CIRC_CW;  // settings an import must undo
    gs.grid_vals[TEXT_HJUST_GRID] = JUST_CENTER;
    gs.slider_vals[TEXT_LINEANGLE_SLIDER] = 450;
    gs.slider_vals[TEXT_SIZE_SLIDER] = 30;
    a_scratch_folder dir("inject");
    std::string path = dir.Put("songs.txt", Twenty_Songs());
    g_songfields_f = 1u | 2u | 8u;  // number, Name, Total Time
    g_songfields_c = 8u;            // Total Time starts the second column
    Dialog_SetQuiet(true);
    Dialog_ScriptAnswers({0});
    Do_iTunes(path);
    Dialog_ScriptAnswers({});
    Dialog_SetQuiet(false);

    ASSERT_EQ(U().oj.nlist, base_ + 2);
    std::u16string titles = OM_To_Str(Om(1)), times = OM_To_Str(Om(2));
    EXPECT_EQ(U8(titles).substr(0, 20), "1)  Song 1\r\n2)  Song");
    EXPECT_NE(U8(titles).find("20)  Song 20"), std::string::npos);
    EXPECT_EQ(U8(times).substr(0, 10), "1:01\r\n1:02");
    EXPECT_NE(U8(times).find("1:20"), std::string::npos);
    EXPECT_EQ(history, std::vector<int>{OP_IMPORT});
    EXPECT_EQ(gs.grid_vals[TEXT_LAYOUT_GRID], LAYOUT_HORZ);
    EXPECT_EQ(gs.grid_vals[TEXT_HJUST_GRID], JUST_LEFT);
    EXPECT_EQ(gs.slider_vals[TEXT_LINEANGLE_SLIDER], 0);
    EXPECT_EQ(gs.slider_vals[TEXT_SIZE_SLIDER], INJECT_SIZE);
    for (int omx : {1, 2}) {
        const a_om_rec& om = Om(omx);
        EXPECT_TRUE(Selected(omx));
        EXPECT_EQ(om.layout, LAYOUT_HORZ);
        EXPECT_EQ(om.justify, JUST_LEFT);
        EXPECT_EQ(om.lineangle, 0);
        EXPECT_EQ(om.size, INJECT_SIZE);
        EXPECT_TRUE(om.cache.progress & (1u << READY_COORD));
    }
    // Side by side, 20 pixels apart, the rest split on both sides.
    int w1 = Rect_Width(Om(1).bbox), w2 = Rect_Width(Om(2).bbox);
    EXPECT_EQ(Om(1).anchor.h, (Unit_Width() - w1 - w2 - 20) / 2);
    EXPECT_EQ(Om(2).anchor.h, Om(1).anchor.h + w1 + 20);
    EXPECT_EQ(Om(1).anchor.v, Rect_Height(Curr_Text_Unit().bounds) / 5 + Rect_Height(Om(1).bbox) / 2);
    EXPECT_LT(Om(1).bbox.right, Om(2).bbox.left);
}

TEST_F(TrackInjectTest, TooWideShrinksOnceAndAFullUnitTakesWhatFits) {
    // One line of about three quarters of the unit fits: its width at size 10.
    a_chunk_table probe;
    probe.chunks = {std::u16string(10, u'M')};
    ASSERT_EQ(Inject_Chunks(probe), 1);
    EXPECT_TRUE(probe.chunks.empty());
    const std::u16string line(size_t(0.75 * Unit_Width() / (Rect_Width(Om(1).bbox) / 10.0)), u'M');
    probe.chunks = {line};
    ASSERT_EQ(Inject_Chunks(probe), 1);
    ASSERT_EQ(Om(2).size, INJECT_SIZE);
    const int w10 = Rect_Width(Om(2).bbox);
    ASSERT_LE(w10, Unit_Width());
    Clear_Record();

    // Two such lines are too wide together: both shrink to 10 x unit / total.
    a_chunk_table wide;
    wide.chunks = {line, line};
    ASSERT_EQ(Inject_Chunks(wide), 2);
    const int expect = 10 * Unit_Width() / (2 * w10);
    EXPECT_LT(expect, INJECT_SIZE);
    EXPECT_EQ(Om(3).size, expect);
    EXPECT_EQ(Om(4).size, expect);
    EXPECT_GE(Om(2).anchor.h, INJECT_MIN_LEFTOVER / 2);
    EXPECT_FALSE(Selected(2));
    EXPECT_EQ(history, std::vector<int>{OP_IMPORT});

    // Nothing to place: no block, no step.
    a_chunk_table none;
    EXPECT_EQ(Inject_Chunks(none), 0);
    EXPECT_EQ(history.size(), 1u);

    while (U().oj.nlist < MAX_TEXT_BLOCKS - 1) Add(Rect{0, 0, 10, 10});
    a_chunk_table two;
    two.chunks = {u"A", u"B"};
    EXPECT_EQ(Inject_Chunks(two), 1);
    EXPECT_EQ(U().oj.nlist, MAX_TEXT_BLOCKS);
}

}  // namespace
