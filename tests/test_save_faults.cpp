// Every writer under faults: a file system that takes no more bytes, a folder
// that may not be written, and kills at random moments. After each the old
// files are whole or the new ones are, nothing of the save is left beside
// them, and a failure is a refusal with one line.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "base/prefs.h"
#include "file_size_limit.h"
#include "model/document.h"
#include "persist/disc_write.h"
#include "persist/file_cmds.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/glyphs.h"
#include "platform/png.h"
#include "platform/printer.h"
#include "print/flex_jobs.h"
#include "print/pcl.h"
#include "print/print_doc.h"
#include "render/canvas.h"
#include "signals_guard.h"

namespace fs = std::filesystem;

namespace {

using a_bytes = std::vector<uint8_t>;

struct a_writer {
    const char* name;
    std::vector<std::string> files;  // relative to the folder, the last one named last
    std::function<bool(const std::string& folder, std::string& error)> write;
    bool pdf = false;  // a PDF holds its time of making: whole is its trailer
    bool job = false;  // the last file makes the others a job: without it they may be of either save
};

a_bytes Read(const std::string& path) {
    a_bytes b;
    (void)File_ReadAll(path, b);
    return b;
}

bool Whole_Pdf(const a_bytes& b) {
    static const char kHead[] = "%PDF-", kTail[] = "%%EOF\n";
    return b.size() > 64 && std::memcmp(b.data(), kHead, 5) == 0 &&
           std::memcmp(b.data() + b.size() - 6, kTail, 6) == 0;
}

std::vector<a_writer> Writers() {
    auto pdf = [](const std::string& folder, std::string& error) {
        g_print_target = a_print_target{};
        g_print_target.target = VP_PDF;
        g_print_target.pdf_path = folder + "/sheet.pdf";
        bool ok = Print_Doc2(false, PURPOSE_PRINT);
        error = VP_Error();
        g_print_target = a_print_target{};
        return ok;
    };
    return {
        {"project", {"p.cd4"}, [](const std::string& f, std::string& e) { return Write_DISC(f + "/p.cd4", &e) == 0; }},
        {"export", {"u.JPEG"},
         [](const std::string& f, std::string& e) { return Export_Unit(f + "/u.JPEG", FMT_JPEG, 1, &e); }},
        {"png", {"r.png"},
         [](const std::string& f, std::string& e) {
             std::vector<uint32_t> px(size_t(300) * 200, 0xFF3366CC);
             a_port_bits bits;
             bits.base = reinterpret_cast<uint8_t*>(px.data());
             bits.rowbytes = 300 * 4;
             bits.bounds = Rect{0, 0, 200, 300};
             return Png_Write(f + "/r.png", bits, &e);
         }},
        {"pdf", {"sheet.pdf"}, pdf, true},
        {"prn", {"Output.prn"}, [](const std::string& f, std::string& e) { return Flex_Write_PRN(f + "/Output.prn", &e); }},
        {"job folder", {"flexlabl.jpg", "flexlabl.pcl", "flexset.txt"},
         [](const std::string& f, std::string& e) {
             return FlexStick_Write_Folder(f, false, a_flex_ticket{2, 2, true, true, false}, &e);
         },
         false, true},
        {"preferences", {"Cirquel/Cirquel 4 Prefs.ini"},
         [](const std::string& f, std::string& e) {
             Config_Folder_Set(f);
             bool ok = Prefs_Write(&e);
             Config_Folder_Set("");
             return ok;
         }},
    };
}

// Runs `body` in a child process; its exit status (-1: killed or worse,
// -2: still running after a minute, then killed).
int In_Child(const std::function<int()>& body) {
    Drawing_Threads_Release();
    pid_t child = fork();
    if (child == 0) _exit(body());
    if (child < 0) return -1;
    int status = 0;
    for (int waited = 0; waitpid(child, &status, WNOHANG) == 0; ++waited) {
        if (waited == 6000) {
            kill(child, SIGKILL);
            (void)waitpid(child, &status, 0);
            return -2;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// 0: refused with one line; 1: reported success; 2: refused without a line.
int Refusal(const a_writer& w, const std::string& folder) {
    std::string error;
    if (w.write(folder, error)) return 1;
    return !error.empty() && error.find('\n') == std::string::npos ? 0 : 2;
}

// The files of a folder, subfolders' files by their relative paths.
std::vector<std::string> Listing(const std::string& folder) {
    std::vector<std::string> out;
    for (const auto& e : fs::recursive_directory_iterator(folder))
        if (!e.is_directory()) out.push_back(fs::relative(e.path(), folder).string());
    std::sort(out.begin(), out.end());
    return out;
}

class Save_Faults : public testing::Test {
protected:
    void SetUp() override {
        Dialog_ScriptAnswers({});
        a_template t;
        t.nunits = 1;
        std::strcpy(t.label, "Faults 1");
        t.papersize = {60, 50};
        t.units[1].kind = UNIT_RECT;
        t.units[1].bbox = {10, 10, 50, 40};
        Doc_New(t);
        a_canvas_spec& cv = g_doc.doc_units[1]->canv.cv;
        Default_Canvas(UNIT_RECT, cv);
        cv.canvas_color_sat = 50;
        cv.canvas_color_hue = 120;
        cv.canvas_color_dist = 72;
        // Of this process alone: other runs on the machine share the folder.
        root_ = Temp_Folder() + "/cirquel-save-faults-" + std::to_string(getpid());
        fs::remove_all(root_);
        fs::create_directories(root_);
    }
    void TearDown() override {
        Doc_Dispose();
        fs::remove_all(root_);
    }

    // A folder holding the old files ("old" each).
    std::string Old_Folder(const a_writer& w) {
        std::string folder = root_ + "/" + w.name;
        fs::remove_all(folder);
        for (const std::string& f : w.files) {
            fs::create_directories(fs::path(folder + "/" + f).parent_path());
            EXPECT_TRUE(File_SaveAtomic(folder + "/" + f, "old", 3));
        }
        return folder;
    }

    // Each file old or whole new; `all_new`/`all_old` say which held.
    void Expect_Whole(const a_writer& w, const std::string& folder, const std::vector<a_bytes>& fresh,
                      bool& all_old, bool& all_new, const std::string& when) {
        all_old = all_new = true;
        const bool no_job = w.job && !fs::exists(folder + "/" + w.files.back());
        for (size_t i = 0; i < w.files.size(); ++i) {
            if (no_job && i + 1 == w.files.size()) break;
            a_bytes b = Read(folder + "/" + w.files[i]);
            bool old = b == a_bytes{'o', 'l', 'd'};
            bool now = w.pdf ? Whole_Pdf(b) : b == fresh[i];
            EXPECT_TRUE(old || now) << w.name << ", " << when << ": " << w.files[i] << " is torn (" << b.size()
                                    << " bytes)";
            all_old = all_old && old;
            all_new = all_new && now;
        }
        if (no_job) {
            all_old = all_new = false;
            return;
        }
        EXPECT_TRUE(all_old || all_new) << w.name << ", " << when << ": old and new files make one job";
    }

    void Expect_Only_Its_Files(const a_writer& w, const std::string& folder, const std::string& when) {
        std::vector<std::string> want = w.files;
        std::sort(want.begin(), want.end());
        EXPECT_EQ(Listing(folder), want) << w.name << ", " << when << ": something of the save is left";
    }

    std::string root_;
    a_signals_guard signals_{true};
};

}  // namespace

TEST_F(Save_Faults, EveryWriterKeepsTheOldFilesWholeOnAFullDiskInAReadOnlyFolderAndUnderKills) {
    std::mt19937 rng(20261209);
    for (const a_writer& w : Writers()) {
        // The new files, and how long the writer takes.
        std::string fresh_folder = root_ + "/fresh";
        fs::remove_all(fresh_folder);
        fs::create_directories(fresh_folder + "/Cirquel");
        std::string error;
        auto start = std::chrono::steady_clock::now();
        ASSERT_TRUE(w.write(fresh_folder, error)) << w.name << ": " << error;
        auto took = std::chrono::steady_clock::now() - start;
        std::vector<a_bytes> fresh;
        for (const std::string& f : w.files) fresh.push_back(Read(fresh_folder + "/" + f));
        bool all_old = false, all_new = false;

        // A disk that takes no more: refused with one line, the old files kept.
        std::string folder = Old_Folder(w);
        int status = In_Child([&] {
            a_file_size_limit limit(1);
            return limit.ok() ? Refusal(w, folder) : 3;
        });
        EXPECT_EQ(status, 0) << w.name << " on a full disk (1: claimed success, 2: no reason given)";
        Expect_Whole(w, folder, fresh, all_old, all_new, "full disk");
        EXPECT_TRUE(all_old) << w.name << ", full disk";
        Expect_Only_Its_Files(w, folder, "full disk");

        // A folder that may not be written (by an ordinary user: root may).
        folder = Old_Folder(w);
        for (const auto& e : fs::recursive_directory_iterator(folder))
            if (e.is_directory()) fs::permissions(e.path(), fs::perms(0555));
        fs::permissions(folder, fs::perms(0555));
        status = In_Child([&] {
            if (getuid() == 0 && (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0)) return 3;
            return Refusal(w, folder);
        });
        for (const auto& e : fs::recursive_directory_iterator(folder))
            if (e.is_directory()) fs::permissions(e.path(), fs::perms(0755));
        fs::permissions(folder, fs::perms(0755));
        EXPECT_EQ(status, 0) << w.name << " in a read-only folder (1: claimed success, 2: no reason given)";
        Expect_Whole(w, folder, fresh, all_old, all_new, "read-only folder");
        EXPECT_TRUE(all_old) << w.name << ", read-only folder";
        Expect_Only_Its_Files(w, folder, "read-only folder");

        // Kills at random moments of the writing; the next save clears what a
        // kill left.
        const long span = long(std::chrono::duration_cast<std::chrono::microseconds>(took).count()) * 3 / 2 + 1000;
        for (int round = 0; round < 5; ++round) {
            folder = Old_Folder(w);
            Drawing_Threads_Release();
            pid_t child = fork();
            ASSERT_GE(child, 0);
            if (child == 0) {
                std::string e;
                for (;;) (void)w.write(folder, e);
            }
            std::this_thread::sleep_for(std::chrono::microseconds(rng() % span));
            kill(child, SIGKILL);
            int ignored = 0;
            ASSERT_EQ(waitpid(child, &ignored, 0), child);
            std::string when = "killed after up to " + std::to_string(span) + " us, round " + std::to_string(round);
            Expect_Whole(w, folder, fresh, all_old, all_new, when);
            ASSERT_TRUE(w.write(folder, error)) << w.name << ": " << error;
            Expect_Whole(w, folder, fresh, all_old, all_new, when + ", saved again");
            EXPECT_TRUE(all_new) << w.name;
            Expect_Only_Its_Files(w, folder, when + ", saved again");
        }
    }
}
