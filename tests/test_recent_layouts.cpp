// Recently used layouts kept in the preferences.
#include <gtest/gtest.h>

#include "platform/clock.h"
#include "base/prefs.h"
#include "templates/catalogue.h"
#include "templates/recent_layouts.h"

namespace {

// A clock whose time the test sets.
struct a_test_clock final : a_clock {
    DateTimeRec now{2026, 1, 1, 12, 0, 0, 1};
    uint64_t Milliseconds() override { return 0; }
    DateTimeRec Now() override { return now; }
    void Sleep(uint32_t) override {}
};

class RecentLayouts : public testing::Test {
protected:
    void SetUp() override {
        saved_ = g_pref;
        for (a_layout_usage_rec& r : g_pref.recentlay) r = a_layout_usage_rec{};
        old_ = Clock_Install(&clock_);
    }
    void TearDown() override {
        Clock_Install(old_);
        g_pref = saved_;
    }
    void Tick() { ++clock_.now.minute; }
    std::string Label_At(int box) { return Label_Text(TList_Get(recent_layouts[box]).label); }

    a_test_clock clock_;
    a_clock* old_ = nullptr;
    a_pref_rec saved_;
};

}  // namespace

TEST_F(RecentLayouts, FirstUseCountsTwoThenThree) {
    RecentLay_Add("A-ONE 29125");
    int s = RecentLay_Find("A-ONE 29125");
    ASSERT_EQ(s, 1);
    EXPECT_EQ(g_pref.recentlay[0].count, 2u);
    RecentLay_Add("A-ONE 29125");
    EXPECT_EQ(g_pref.recentlay[0].count, 3u);
    EXPECT_EQ(RecentLay_FindEmpty(), 2);
}

TEST_F(RecentLayouts, FullSlotsReplaceTheLeastUsedLowestSlot) {
    for (int s = 0; s < MAX_LAYOUTUSAGE; ++s) {
        g_pref.recentlay[s].count = 5;
        Label_Set(g_pref.recentlay[s].label, "Sheet " + std::to_string(s + 1));
    }
    g_pref.recentlay[6].count = 3;
    g_pref.recentlay[11].count = 3;
    EXPECT_EQ(RecentLay_FindLeast(), 7);
    RecentLay_Add("A-ONE 29125");
    EXPECT_EQ(RecentLay_Find("A-ONE 29125"), 7);
    EXPECT_EQ(g_pref.recentlay[6].count, 2u);
    EXPECT_EQ(RecentLay_Find("Sheet 7"), 0);
}

TEST_F(RecentLayouts, BoxesShowMostUsedThenMostRecent) {
    const char* labels[] = {"A-ONE 29125", "Avery 2160", "Compulabel 312862", "DYMO DiscPainter",
                            "UAL 565 series", "Ace 177 series", "Amtren FlexLabel"};
    for (const char* l : labels) {
        RecentLay_Add(l);
        Tick();
    }
    RecentLay_Add("Ace 177 series");  // count 3
    Tick();
    RecentLay_Add("Ace 177 series");  // count 4
    RecentLay_Add("UAL 565 series");  // count 3
    RecentLay_BuildList();
    ASSERT_EQ(RecentLay_Count(), 6);
    EXPECT_EQ(Label_At(1), "Ace 177 series");
    EXPECT_EQ(Label_At(2), "UAL 565 series");
    EXPECT_EQ(Label_At(3), "Amtren FlexLabel");  // among equal counts the higher slot
    EXPECT_TRUE(Is_In_MostOften(recent_layouts[3]));
    EXPECT_FALSE(Is_In_MostOften(recent_layouts[4]));
    // The rest by time, newest first, without the three above.
    EXPECT_EQ(Label_At(4), "DYMO DiscPainter");
    EXPECT_EQ(Label_At(5), "Compulabel 312862");
    EXPECT_EQ(Label_At(6), "Avery 2160");
}

TEST_F(RecentLayouts, LabelsGoneFromTheListDisappear) {
    RecentLay_Add("A-ONE 29125");
    RecentLay_Add("No Such Sheet 1");
    RecentLay_BuildList();
    EXPECT_EQ(RecentLay_Count(), 1);
    EXPECT_EQ(RecentLay_Find("No Such Sheet 1"), 0);
    Remove_Recent_Layout(recent_layouts[1]);
    EXPECT_EQ(RecentLay_Count(), 0);
    EXPECT_EQ(RecentLay_Find("A-ONE 29125"), 0);
}
