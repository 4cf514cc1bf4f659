// Platform services: atomic saves, whole-file reads, the injectable clock.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
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

// Only regular files are saved over, through links too; a file the user may
// not write is refused as an in-place write would be; a temporary of a
// process that is gone is removed by the next save into its folder.
TEST(Files, SavesRefuseWhatIsNoRegularFileOrNotWritableAndClearDeadTemporaries) {
    fs::path dir = Temp_Dir("cirquel-files-special");
    ASSERT_EQ(mkfifo((dir / "fifo").c_str(), 0600), 0);
    fs::create_directory(dir / "folder");
    fs::create_symlink(dir / "fifo", dir / "to-fifo");
    fs::create_symlink("/dev/null", dir / "to-null");
    fs::create_symlink(dir / "nothing", dir / "to-nothing");
    for (const char* name : {"fifo", "folder", "to-fifo", "to-null", "to-nothing"}) {
        std::string path = (dir / name).string(), err;
        EXPECT_FALSE(File_SaveAtomic(path, "x", 1, &err)) << name;
        EXPECT_EQ(err.rfind(path + ": ", 0), 0u) << err;
        EXPECT_EQ(err.find('\n'), std::string::npos);
    }
    EXPECT_TRUE(fs::is_fifo(dir / "fifo"));
    EXPECT_TRUE(fs::is_directory(dir / "folder"));
    EXPECT_TRUE(fs::is_symlink(dir / "to-null") && fs::is_character_file("/dev/null"));
    EXPECT_FALSE(fs::exists(dir / "nothing"));

    // A read-only file, saved by an ordinary user (root may write it in place).
    std::string kept = (dir / "kept.cd4").string();
    ASSERT_TRUE(File_SaveAtomic(kept, "old", 3));
    fs::permissions(kept, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    fs::permissions(dir, fs::perms(0777));
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (getuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(3);
        std::string err;
        bool refused = !File_SaveAtomic(kept, "new", 3, &err) && err == kept + ": Permission denied";
        _exit(refused ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a read-only file was replaced";
    std::vector<uint8_t> data;
    ASSERT_TRUE(File_ReadAll(kept, data));
    EXPECT_EQ(std::string(data.begin(), data.end()), "old");

    // Leftovers of a process that is gone go; a live one's and look-alikes stay.
    pid_t gone = fork();
    if (gone == 0) _exit(0);
    ASSERT_EQ(waitpid(gone, &status, 0), gone);
    const std::string dead = "a.bin.tmp-" + std::to_string(gone) + "-7";
    const std::string live = "b.bin.tmp-" + std::to_string(getppid()) + "-1";
    for (const std::string& name : {dead, live, std::string("c.tmp-12x-1")})
        ASSERT_TRUE(File_SaveScratch((dir / name).string(), "t", 1));
    EXPECT_TRUE(Is_Save_Temporary(dead));
    EXPECT_FALSE(Is_Save_Temporary("c.tmp-12x-1"));
    EXPECT_FALSE(Is_Save_Temporary("plain.cd4"));
    ASSERT_TRUE(File_SaveAtomic((dir / "new.bin").string(), "n", 1));
    EXPECT_FALSE(fs::exists(dir / dead));
    EXPECT_TRUE(fs::exists(dir / live));
    EXPECT_TRUE(fs::exists(dir / "c.tmp-12x-1"));
    fs::remove_all(dir);
}

TEST(Files, ReadsTakeRegularFilesUpToTheLimitAndMissingOnesFailCleanly) {
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
    // Nothing there: refused with a reason, nothing read.
    EXPECT_FALSE(File_SaveAtomic("/nonexistent-cirquel/x/y.bin", "a", 1, &err));
    EXPECT_FALSE(err.empty());
    data = {1, 2};
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
