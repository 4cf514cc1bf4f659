// Platform services: atomic saves, whole-file reads, the injectable clock.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <sched.h>
#include <sys/mount.h>
#include <sys/statvfs.h>
#include <sys/wait.h>
#include <unistd.h>

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

// Mounts a tmpfs over `dir` in a mount namespace of this process only: as
// root where that is allowed, else in a user namespace of its own.
bool Private_Mount(const fs::path& dir, const char* options) {
    if (unshare(CLONE_NEWNS) != 0) {
        uid_t uid = getuid();
        gid_t gid = getgid();
        if (unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0) return false;
        std::ofstream("/proc/self/setgroups") << "deny";
        std::ofstream("/proc/self/uid_map") << "0 " << uid << " 1";
        std::ofstream("/proc/self/gid_map") << "0 " << gid << " 1";
    }
    if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) return false;
    return mount("tmpfs", dir.c_str(), "tmpfs", 0, options) == 0;
}

// Writes filler until `free_bytes` are left on the file system of `path`.
bool Fill_Until_Free(const fs::path& path, uint64_t free_bytes) {
    struct statvfs st{};
    if (statvfs(path.parent_path().c_str(), &st) != 0) return false;
    uint64_t avail = uint64_t(st.f_bavail) * st.f_frsize;
    if (avail < free_bytes) return false;
    std::vector<char> filler(avail - free_bytes, 'f');
    std::ofstream(path, std::ios::binary).write(filler.data(), std::streamsize(filler.size()));
    return statvfs(path.parent_path().c_str(), &st) == 0 &&
           uint64_t(st.f_bavail) * st.f_frsize == free_bytes;
}

fs::path Temp_Dir(const char* name) {
    fs::path p = fs::path(Temp_Folder()) / name;
    fs::remove_all(p);
    fs::create_directories(p);
    return p;
}

// The old file is untouched and nothing is left beside it: the save must not
// report success. Limits that leave less than a write buffer after the first
// write are the ones a buffered writer gets wrong.
void Expect_Refused_Save(const fs::path& dir, size_t size, const char* reason, long entries = 1) {
    std::string path = (dir / "keep.bin").string();
    std::vector<char> bytes(size, 'x');
    std::string err;
    EXPECT_FALSE(File_SaveAtomic(path, bytes.data(), bytes.size(), &err)) << size << " bytes";
    EXPECT_EQ(err, path + ": " + reason);
    std::vector<uint8_t> data;
    ASSERT_TRUE(File_ReadAll(path, data));
    EXPECT_TRUE(data == std::vector<uint8_t>({'o', 'l', 'd'})) << "a file of " << data.size() << " bytes";
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), entries);
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
    // A link is followed: what it names is replaced, with its mode kept.
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write);
    fs::create_symlink(path, dir / "link");
    ASSERT_TRUE(File_SaveAtomic((dir / "link").string(), "third", 5, &err)) << err;
    EXPECT_TRUE(fs::is_symlink(dir / "link"));
    ASSERT_TRUE(File_ReadAll(path, data));
    EXPECT_EQ(std::string(data.begin(), data.end()), "third");
    EXPECT_EQ(fs::status(path).permissions(), fs::perms::owner_read | fs::perms::owner_write);
    fs::remove_all(dir);
}

TEST(Files, FailedSaveKeepsThePreviousFile) {
    fs::path dir = Temp_Dir("cirquel-files-full");
    ASSERT_TRUE(File_SaveAtomic((dir / "keep.bin").string(), "old", 3));
    const std::pair<rlim_t, size_t> cases[] = {{4096, 1 << 20}, {10240, 25402}, {8192, 20000}};
    for (const auto& [limit_bytes, size] : cases) {
        a_file_size_limit limit(limit_bytes);
        ASSERT_TRUE(limit.ok());
        Expect_Refused_Save(dir, size, "File too large");
    }
    fs::remove_all(dir);
}

// A real full disk: a 64 KB file system with 12 KB free, mounted in a private
// mount namespace of a child process so that nothing outlives the test.
TEST(Files, FailedSaveOnAFullFileSystemKeepsThePreviousFile) {
    fs::path dir = Temp_Dir("cirquel-files-tmpfs");
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (!Private_Mount(dir, "size=64k")) _exit(77);
        bool ok = File_SaveAtomic((dir / "keep.bin").string(), "old", 3) &&
                  Fill_Until_Free(dir / "filler", 12 * 1024);
        if (ok) Expect_Refused_Save(dir, 25402, "No space left on device", 2);
        _exit(!ok ? 3 : ::testing::Test::HasFailure() ? 1 : 0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 77) GTEST_SKIP() << "mounting a small file system is not permitted here";
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the save on the full file system (3: setting it up failed)";
    fs::remove_all(dir);
}

TEST(Files, ReadsTakeRegularFilesUpToTheLimit) {
    fs::path dir = Temp_Dir("cirquel-files-read");
    std::string path = (dir / "five").string();
    ASSERT_TRUE(File_SaveAtomic(path, "12345", 5));
    std::vector<uint8_t> data;
    std::string err;
    EXPECT_EQ(File_Read_Limited(path, 5, data, &err), a_file_read::OK);
    EXPECT_EQ(data.size(), 5u);
    EXPECT_EQ(File_Read_Limited(path, 4, data, &err), a_file_read::TOO_LARGE);
    EXPECT_TRUE(data.empty());
    EXPECT_EQ(err, path + ": larger than 4 bytes");
    EXPECT_EQ(File_Read_Limited(dir.string(), 5, data, &err), a_file_read::NOT_REGULAR);
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
