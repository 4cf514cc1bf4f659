// Platform services: atomic saves, whole-file reads, the injectable clock.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "file_size_limit.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/fonts.h"

namespace fs = std::filesystem;

namespace {

struct a_fixed_clock final : a_clock {
    uint64_t ms = 0;
    uint64_t Milliseconds() override { return ms; }
    DateTimeRec Now() override { return DateTimeRec{2026, 12, 6, 10, 30, 0, 1}; }
    void Sleep(uint32_t n) override { ms += n; }
};

fs::path Temp_Dir(const char* name) {
    fs::path p = fs::path(Temp_Folder()) / name;
    fs::remove_all(p);
    fs::create_directories(p);
    return p;
}

}  // namespace

TEST(Files, AtomicSaveReplacesWholeAndReadsBack) {
    fs::path dir = Temp_Dir("cirquel-files-test");
    std::string path = (dir / "prefs.bin").string();
    std::string err;
    ASSERT_TRUE(File_SaveAtomic(path, "first version", 13, &err)) << err;
    ASSERT_TRUE(File_SaveAtomic(path, "second", 6, &err)) << err;
    std::vector<uint8_t> data;
    ASSERT_TRUE(File_ReadAll(path, data));
    EXPECT_EQ(std::string(data.begin(), data.end()), "second");
    // No temporary files are left beside the target.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
    fs::remove_all(dir);
}

TEST(Files, FailedSaveKeepsThePreviousFile) {
    fs::path dir = Temp_Dir("cirquel-files-full");
    std::string path = (dir / "keep.bin").string();
    ASSERT_TRUE(File_SaveAtomic(path, "old", 3));
    std::vector<char> big(1 << 20, 'x');
    std::string err;
    bool ok;
    {
        a_file_size_limit limit(4096);
        ASSERT_TRUE(limit.ok());
        ok = File_SaveAtomic(path, big.data(), big.size(), &err);
    }
    EXPECT_FALSE(ok);
    EXPECT_FALSE(err.empty());
    std::vector<uint8_t> data;
    ASSERT_TRUE(File_ReadAll(path, data));
    EXPECT_EQ(std::string(data.begin(), data.end()), "old");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
    fs::remove_all(dir);
}

TEST(Files, SaveIntoAMissingFolderFailsCleanly) {
    std::string err;
    EXPECT_FALSE(File_SaveAtomic("/nonexistent-cirquel/x/y.bin", "a", 1, &err));
    EXPECT_FALSE(err.empty());
    std::vector<uint8_t> data{1, 2};
    EXPECT_FALSE(File_ReadAll("/nonexistent-cirquel/none", data));
    EXPECT_TRUE(data.empty());
}

TEST(Clock, TicksAreSixteenMillisecondsOfTheInstalledClock) {
    a_fixed_clock c;
    a_clock* old = Clock_Install(&c);
    c.ms = 16 * 100 + 15;
    EXPECT_EQ(TickCount(), 100u);
    Sleep_Ms(1);
    EXPECT_EQ(TickCount(), 101u);
    EXPECT_EQ(GetDateTime().year, 2026);
    Clock_Install(old);
    EXPECT_NE(GetDateTime().year, 0);
}

TEST(Dialogs, HeadlessAnswersFollowTheScriptThenTheDefault) {
    a_dialog_request r;
    r.message = "Question?";
    r.buttons = {"Yes", "No", "Cancel"};
    r.default_button = 1;
    Dialog_ScriptAnswers({2, 7});
    EXPECT_EQ(Dialog_Ask(r), 2);
    EXPECT_EQ(Dialog_Ask(r), 1);  // out of range: the default
    EXPECT_EQ(Dialog_Ask(r), 1);  // script used up
    EXPECT_EQ(Dialog_History().size(), 3u);
    Dialog_SetPresenter([](const a_dialog_request&) { return 0; });
    EXPECT_EQ(Dialog_Ask(r), 0);
    Dialog_SetPresenter(nullptr);
}

TEST(Fonts, LookupByNameAndTheBaseFont) {
    // The system's own families: the base font is DejaVu Sans when installed.
    int base = Font_Base_Proportional();
    ASSERT_GE(base, 1);
    if (int dejavu = Font_Find(u"DejaVu Sans")) {
        EXPECT_EQ(base, dejavu);
    }
    Fonts_Use_List({u"Alpha", u"DejaVu Sans"});
    EXPECT_EQ(Font_Find(u"dejavu sans"), 2);
    EXPECT_EQ(Font_Find(u"DejaVu"), 0);
    EXPECT_EQ(Font_Find(u""), 0);
    EXPECT_EQ(Font_Name(1), u"Alpha");
    EXPECT_EQ(Font_Name(3), u"");
    EXPECT_EQ(Font_Name(0), u"");
    Fonts_Use_List({});
    EXPECT_EQ(Font_Base_Proportional(), base);
}
