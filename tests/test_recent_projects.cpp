// The start screen's recent projects in the preferences.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "base/prefs.h"
#include "base/recent_projects.h"
#include "platform/clock.h"

namespace {

struct a_test_clock final : a_clock {
    DateTimeRec now{2026, 3, 1, 9, 0, 0, 1};
    uint64_t Milliseconds() override { return 0; }
    DateTimeRec Now() override { return now; }
    void Sleep(uint32_t) override {}
};

class RecentProjects : public testing::Test {
protected:
    void SetUp() override {
        saved_ = g_pref;
        for (a_recent_doc& r : g_pref.recent) r = a_recent_doc{};
        old_ = Clock_Install(&clock_);
    }
    void TearDown() override {
        Clock_Install(old_);
        g_pref = saved_;
    }
    void Add(const std::string& path) {
        ++clock_.now.minute;
        Recent_Project_Add(path);
    }
    std::string At(size_t i) { return Recent_Projects().at(i).doc_path; }

    a_test_clock clock_;
    a_clock* old_ = nullptr;
    a_pref_rec saved_;
};

}  // namespace

// Newest first whatever the slots say; using a project again moves it to the
// front without a second entry; a full list drops the oldest.
TEST_F(RecentProjects, NewestFirstOneEntryPerPathOldestDropped) {
    // Slots as a preferences file may hold them: not in time order.
    std::strcpy(g_pref.recent[4].doc_path, "/d/old.cd4");
    g_pref.recent[4].doc_time = DateTimeRec{2025, 1, 1, 0, 0, 0, 1};
    std::strcpy(g_pref.recent[1].doc_path, "/d/newer.cd4");
    g_pref.recent[1].doc_time = DateTimeRec{2026, 1, 1, 0, 0, 0, 1};
    EXPECT_EQ(At(0), "/d/newer.cd4");
    EXPECT_EQ(At(1), "/d/old.cd4");

    Add("/d/a.cd4");
    Add("/d/old.cd4");
    ASSERT_EQ(Recent_Projects().size(), 3u);
    EXPECT_EQ(At(0), "/d/old.cd4");
    EXPECT_EQ(At(1), "/d/a.cd4");
    EXPECT_EQ(At(2), "/d/newer.cd4");
    EXPECT_EQ(Recent_Projects().front().doc_time, clock_.now);

    for (int i = 0; i < MAX_RECENT_DOCS; ++i) Add("/d/p" + std::to_string(i) + ".cd4");
    ASSERT_EQ(Recent_Projects().size(), size_t(MAX_RECENT_DOCS));
    EXPECT_EQ(At(0), "/d/p" + std::to_string(MAX_RECENT_DOCS - 1) + ".cd4");
    EXPECT_EQ(At(MAX_RECENT_DOCS - 1), "/d/p0.cd4");
    // Two uses within one second keep their order.
    Recent_Project_Add("/d/x.cd4");
    Recent_Project_Add("/d/y.cd4");
    EXPECT_EQ(At(0), "/d/y.cd4");
    EXPECT_EQ(At(1), "/d/x.cd4");
}

// A path that does not fit a slot would be stored cut, naming another file.
TEST_F(RecentProjects, APathTooLongForASlotIsNotRecorded) {
    Add(std::string(RECENT_PATH_BYTES - 1, 'a'));
    ASSERT_EQ(Recent_Projects().size(), 1u);
    Add(std::string(RECENT_PATH_BYTES, 'b'));
    Add("");
    ASSERT_EQ(Recent_Projects().size(), 1u);
    EXPECT_EQ(At(0), std::string(RECENT_PATH_BYTES - 1, 'a'));
}
