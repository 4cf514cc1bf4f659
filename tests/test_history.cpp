// The undo history: the ring, its steps and refusals, restoring the whole
// document, and the undo files on disk.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstring>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>

#include "base/messages.h"
#include "model/clones.h"
#include "model/document.h"
#include "model/history.h"
#include "model/photo_rec.h"
#include "model/selection.h"
#include "model/snapshot.h"
#include "model/text_rec.h"
#include "pixels/gworld.h"
#include "pixels/pixmap.h"
#include "platform/dialogs.h"
#include "platform/sound.h"
#include "platform/files.h"
#include "platform/private_folder.h"
#include "file_size_limit.h"
#include "signals_guard.h"

namespace fs = std::filesystem;

namespace {

// Discs and rectangles ("B", "A"): each run of one kind starts with a master.
std::unique_ptr<a_template> Kinds(const std::string& pattern) {
    auto t = std::make_unique<a_template>();
    t->nunits = static_cast<uint32_t>(pattern.size());
    for (size_t i = 0; i < pattern.size(); ++i) {
        a_unit& u = t->units[i + 1];
        u.kind = pattern[i] == 'A' ? UNIT_RECT : UNIT_CD;
        u.bbox = {0, float(i * 20), 12, float(i * 20 + 12)};
    }
    return t;
}

// Everything of a unit that is its design, for comparing whole documents.
struct a_block_state {
    uint32_t objid = 0;  // a block comes back as itself
    uint8_t flags = 0, kind = 0;
    bool has_ph = false, has_om = false;
    a_ph_rec ph;
    // A text block by its size, character count and each character's stored
    // members (those a project file keeps).
    int32_t size = 0, nxyl = 0;
    std::string chars;
    bool operator==(const a_block_state&) const = default;
};
struct a_unit_state {
    a_unit spec;
    Rect bounds;
    bool clonef = false, printf = false, paintinuse = false;
    uint32_t groupx = 0;
    Point symmetry_center, ruler_origin, edit_focus;
    a_canvas_spec cv;
    std::vector<a_block_state> blocks;
    std::vector<uint8_t> paint, mask;
    bool operator==(const a_unit_state&) const = default;
};

std::vector<uint8_t> Pixels(const GWorld* w) {
    if (!w) return {};
    return {w->pix.baseAddr, w->pix.baseAddr + PixMap_Len(w->pix)};
}

std::vector<a_unit_state> Capture() {
    std::vector<a_unit_state> doc;
    for (uint32_t ux = 1; ux <= g_doc.doc_template.nunits; ++ux) {
        const a_doc_unit& u = *g_doc.doc_units[ux];
        a_unit_state s{g_doc.doc_template.units[ux], u.paintbounds, u.clonef, u.printf,
                       u.paintinuse, u.groupx, u.symmetry_center, u.ruler_origin, u.edit_focus,
                       u.canv.cv};
        if (!u.clonef) {
            for (int i = 1; i <= u.oj.nlist; ++i) {
                const a_oj_item& it = u.oj.list[i];
                a_block_state b{it.objid, it.flags, it.kind, it.ph != nullptr, it.om != nullptr,
                                it.ph ? *it.ph : a_ph_rec{}};
                if (it.om) {
                    b.size = it.om->size, b.nxyl = it.om->nxyl;
                    for (int32_t c = 1; c <= it.om->nxyl; ++c) {
                        const a_xyl_char& x = it.om->xyl[c];
                        for (int64_t v : {int64_t(x.cc_char), int64_t(x.cc_fontx), int64_t(x.cc_color.r),
                                          int64_t(x.cc_color.g), int64_t(x.cc_color.b), int64_t(x.cc_nudgex),
                                          int64_t(x.cc_nudgey), int64_t(x.cc_nudget), int64_t(x.cc_size),
                                          int64_t(x.cc_boldf), int64_t(x.cc_italf), int64_t(x.cc_undf),
                                          int64_t(x.cc_pad)})
                            b.chars += std::to_string(v) + ",";
                    }
                }
                s.blocks.push_back(b);
            }
            s.paint = Pixels(u.static_[PAINT1_LAYER].world);
            s.mask = Pixels(u.static_[PAINT1_LAYER].mask);
        }
        doc.push_back(s);
    }
    return doc;
}

// The first unit and field that differ, or "".
std::string Difference(const std::vector<a_unit_state>& a, const std::vector<a_unit_state>& b) {
    if (a.size() != b.size()) return "unit count";
    for (size_t i = 0; i < a.size(); ++i) {
        std::string u = "unit " + std::to_string(i + 1) + ": ";
        if (a[i].blocks != b[i].blocks) return u + "blocks";
        if (a[i].paint != b[i].paint || a[i].mask != b[i].mask) return u + "paint";
        if (!(a[i] == b[i])) return u + "header";
    }
    return "";
}

class History : public testing::Test {
protected:
    void SetUp() override {
        Dialog_ScriptAnswers({});
        runtime_ = fs::temp_directory_path() / ("history_test_" + std::to_string(::getpid()));
        fs::remove_all(runtime_);
        fs::create_directory(runtime_);
        fs::permissions(runtime_, fs::perms::owner_all);
        ::setenv("XDG_RUNTIME_DIR", runtime_.c_str(), 1);
        Private_Folder_Remove();  // made afresh under runtime_
        g_block_bar = OTHER_BAR;
        (void)g_doc_services.play_sound.Install([this](int snd) { sounds.push_back(snd); });
        History_Init();
    }
    void TearDown() override {
        Doc_Dispose();
        History_Stop();
        ::unsetenv("XDG_RUNTIME_DIR");
        fs::remove_all(runtime_);
    }

    void Open(const std::string& kinds = "BBA") { Doc_New(*Kinds(kinds)); }
    a_doc_unit& U(uint32_t ux) { return *g_doc.doc_units[ux]; }
    int Undos() {
        int n = 0;
        for (sounds.clear(); Undo_Button(), sounds.back() == SND_UNDO;) ++n;
        return n;
    }
    void Add_Photo(uint32_t ux, int seed) {
        a_oj_item it;
        it.objid = NextUniqueID();
        it.kind = seed % 3 == 0 ? SYMBOL_BLOCK : PHOTO_BLOCK;
        it.flags = uint8_t(seed % 8);
        it.ph = New_PH_Rec();
        it.ph->spec.source.kind = SOURCE_EXTFILE;
        it.ph->spec.source.path.name = "/pictures/p" + std::to_string(seed) + ".jpg";
        it.ph->spec.angle = int16_t(seed * 37);
        it.ph->spec.shadf = seed % 2;
        it.ph->spec.symbol_color = {uint8_t(seed), 2, 3, 4};
        it.ph->codec[0] = 'J';
        it.ph->dst_center = Point{int16_t(seed), int16_t(seed * 2)};
        ASSERT_TRUE(OMast_Append(U(ux).oj, it));
    }
    void Paint(uint32_t ux, int seed) {
        a_doc_unit& u = U(ux);
        u.paintinuse = true;
        Sync_Existence(PAINT1_LAYER, u, true);
        PixMap& pm = u.static_[PAINT1_LAYER].world->pix;
        pm.baseAddr[seed % PixMap_Len(pm)] ^= 0x5A;
        u.static_[PAINT1_LAYER].mask->pix.baseAddr[seed % 7] = uint8_t(seed);
    }
    std::string Undo_Path(int slot) { return g_hist.list[slot].path; }

    a_signals_guard signals_{true};
    fs::path runtime_;
    std::vector<int> sounds;
};

}  // namespace

// The ring keeps the newest fifteen steps, names them in the Edit menu, drops
// the redo steps when a new operation follows an undo, and shows the kept
// steps in the panel, oldest on top.
TEST_F(History, RingKeepsTheNewestFifteenStepsAndNamesThem) {
    Open();
    a_undo_menu_items m = Undo_Menu_Items();
    EXPECT_FALSE(m.undo_enabled || m.redo_enabled);
    EXPECT_EQ(m.undo_text, "Undo");
    History_Emit(OP_BLOCK_MOVEXY);
    History_Emit(OP_BLOCK_DEL);
    Undo_Button();
    m = Undo_Menu_Items();
    EXPECT_TRUE(m.undo_enabled && m.redo_enabled);
    EXPECT_EQ(m.undo_text, "Undo Move");
    a_history_op redo, undo;
    Is_Undo_Avail(redo, undo);
    EXPECT_EQ(redo, OP_BLOCK_DEL);
    EXPECT_EQ(undo, OP_BLOCK_MOVEXY);
    History_Emit(OP_BLOCK_ALIGN);
    Is_Undo_Avail(redo, undo);
    EXPECT_EQ(redo, OP_NOP);
    EXPECT_EQ(undo, OP_BLOCK_ALIGN);
    sounds.clear();
    Redo_Button();
    EXPECT_EQ(sounds, std::vector<int>{SND_REFUSED});

    for (int i = 2; i < 15; ++i) History_Emit(OP_PHOTO_ANGLE);  // the newest step in the last slot
    EXPECT_EQ(g_hist.curr, 15);
    EXPECT_EQ(g_hist.hi, 0);
    EXPECT_EQ(g_hist.lo, 1);
    int redox, undox;
    Calc_Undo_Avail(redox, undox);
    EXPECT_EQ(redox, -1);
    EXPECT_EQ(undox, 14);
    Rect frame{0, 0, 300, 100};
    EXPECT_EQ(History_Find(frame, Point{1, 5}), 1);
    EXPECT_EQ(History_Find(frame, Point{14 * HIST_BOX_HEIGHT + 1, 5}), 15);
    EXPECT_EQ(History_Find(frame, Point{15 * HIST_BOX_HEIGHT + 1, 5}), -1);
    History_MouseDown(frame, Point{1, 5});
    EXPECT_EQ(g_hist.curr, 1);
    EXPECT_EQ(sounds.back(), 130);

    for (int i = 0; i < 20; ++i) History_Emit(OP_PHOTO_ANGLE);
    EXPECT_EQ(Undos(), 14);
    EXPECT_EQ(sounds.back(), SND_REFUSED);
    EXPECT_EQ(g_hist.curr, g_hist.lo);
    EXPECT_EQ(Undo_Menu_Items().redo_text, "Redo Photo angle");

    // A slider drag is one step; a click that changed nothing is none.
    uint32_t before = g_hist.cumseq;
    History_Begin_Interaction();
    for (int v = 0; v < 30; ++v) History_Set_Pending(OP_PHOTO_OPACITY);
    History_End_Interaction();
    History_Begin_Interaction();
    History_End_Interaction();
    EXPECT_EQ(g_hist.cumseq, before + 1);
    EXPECT_EQ(g_hist.list[g_hist.curr].op, OP_PHOTO_OPACITY);
}

// Random edits of every kind; every step undone and redone must give back
// exactly the document it was recorded from.
TEST_F(History, RestoredDocumentsEqualTheRecordedOnesFieldByField) {
    Open("BBAB");
    std::mt19937 rng(7);
    std::vector<std::vector<a_unit_state>> states{Capture()};
    for (int step = 1; step <= 14; ++step) {
        uint32_t ux = 1 + rng() % 4;
        if (U(ux).clonef) ux = 1;
        a_doc_unit& u = U(ux);
        switch (rng() % 7) {
            case 0: Add_Photo(ux, step), History_Emit(OP_PHOTO_NEW); break;
            case 1:
                if (u.oj.nlist > 1) Obj_Dispose(u.oj, u.oj.nlist);
                History_Emit(OP_BLOCK_DEL);
                break;
            case 2: u.canv.cv.canvas_angle = int16_t(step * 90), History_Emit(OP_CANVAS_ROTATE); break;
            case 3: Paint(ux, step), History_Emit(OP_PAINT_BRUSH); break;
            case 4: {
                a_oj_item text;
                text.objid = NextUniqueID();
                text.kind = TEXT_BLOCK;
                text.om = New_OM_Rec();
                text.om->size = int16_t(10 + step);
                text.om->nxyl = 1 + step % 7;
                for (int32_t c = 1; c <= text.om->nxyl; ++c) {
                    a_xyl_char& x = text.om->xyl[c];
                    x.cc_char = char16_t('A' + c + step);
                    x.cc_fontx = rng() % 9, x.cc_color.r = uint8_t(rng()), x.cc_color.b = uint8_t(rng());
                    x.cc_nudgex = int16_t(rng() % 50), x.cc_nudgey = int16_t(-(rng() % 50));
                    x.cc_nudget = int16_t(rng() % 3600), x.cc_size = int16_t(50 + rng() % 200);
                    x.cc_boldf = rng() % 2, x.cc_italf = rng() % 2, x.cc_undf = rng() % 2, x.cc_pad = rng() % 2;
                }
                ASSERT_TRUE(OMast_Append(u.oj, text));
                History_Emit(OP_TEXT_NEW);
                break;
            }
            case 5:
                if (U(2).clonef) Unclone(2);
                else Clone(2);
                break;
            default:
                std::swap(u.oj.list[1], u.oj.list[u.oj.nlist]);
                u.printf = !u.printf;
                History_Emit(OP_BLOCK_MOVEZ);
        }
        states.push_back(Capture());
    }
    for (int k = 13; k >= 0; --k) {
        Undo_Button();
        ASSERT_EQ(Difference(Capture(), states[k]), "") << "undo to step " << k;
    }
    for (int k = 1; k <= 14; ++k) {
        Redo_Button();
        ASSERT_EQ(Difference(Capture(), states[k]), "") << "redo to step " << k;
    }
}

TEST_F(History, UndoingACloneRestoresTheUnitsOwnBlocksAndPaint) {
    Open("BB");
    Unclone(2);
    Add_Photo(2, 5);
    Paint(2, 9);
    History_Emit(OP_PHOTO_NEW);
    std::vector<a_unit_state> own = Capture();
    Clone(2);
    EXPECT_TRUE(U(2).clonef);
    EXPECT_EQ(U(2).oj.nlist, 0);
    Undo_Button();
    EXPECT_EQ(Difference(Capture(), own), "");
    EXPECT_EQ(sounds.back(), SND_UNDO);
}

// Saving drops the snapshot in memory; every step stays reachable from its file.
TEST_F(History, SavingKeepsTheRing) {
    Open();
    Add_Photo(1, 1);
    History_Emit(OP_PHOTO_NEW);
    std::vector<a_unit_state> newest = Capture();
    History_Flush();
    EXPECT_EQ(ram.slot, -1);
    EXPECT_EQ(Modulo(g_hist.hi - g_hist.lo), 2);
    Undo_Button();
    EXPECT_EQ(U(1).oj.nlist, 1);
    Redo_Button();
    EXPECT_EQ(Difference(Capture(), newest), "");
}

// The newest step stays in memory until the next one takes its place.
TEST_F(History, UndoFilesArePrivateAndRemoved) {
    Open();
    History_Emit(OP_BLOCK_MOVEXY);
    EXPECT_TRUE(Undo_Path(1).empty());
    History_Emit(OP_BLOCK_MOVEXY);
    EXPECT_TRUE(Undo_Path(2).empty());
    fs::path file = Undo_Path(1);
    ASSERT_FALSE(file.empty());
    EXPECT_EQ(file.filename().string(), "UNDO_1");
    fs::path folder = file.parent_path();
    EXPECT_EQ(folder.parent_path(), runtime_);
    struct stat st{};
    ASSERT_EQ(::stat(folder.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    ASSERT_EQ(::stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    History_Stop();
    EXPECT_FALSE(fs::exists(folder));
    History_Init();
}

TEST_F(History, UndoFilesAreRemovedWhenASignalOrAFatalErrorEndsTheProgram) {
    EXPECT_EXIT(
        {
            Open();
            History_Emit(OP_BLOCK_MOVEXY);
            std::raise(SIGTERM);
        },
        testing::KilledBySignal(SIGTERM), "");
    EXPECT_TRUE(fs::is_empty(runtime_));
    // A fatal error ends the program without its clean-up: the files go too.
    EXPECT_EXIT(
        {
            Open();
            History_Emit(OP_BLOCK_MOVEXY);
            History_Emit(OP_BLOCK_MOVEXY);
            InternalError();
        },
        testing::ExitedWithCode(70), "");
    EXPECT_TRUE(fs::is_empty(runtime_));
}

// Undo folders of programs that were killed are removed at start-up; those
// of running programs, and folders not made as ours are, stay.
TEST_F(History, UndoFoldersOfKilledProgramsAreRemovedAtStartUp) {
    pid_t gone = fork();
    if (gone == 0) _exit(0);
    int status = 0;
    ASSERT_EQ(waitpid(gone, &status, 0), gone);
    const fs::path dead = runtime_ / ("cirquel-" + std::to_string(gone) + "-a1B2c3");
    const fs::path live = runtime_ / ("cirquel-" + std::to_string(getppid()) + "-a1B2c3");
    const fs::path open = runtime_ / ("cirquel-" + std::to_string(gone) + "-zzzzzz");
    for (const fs::path& f : {dead, live, open}) {
        fs::create_directory(f);
        fs::permissions(f, f == open ? fs::perms(0755) : fs::perms::owner_all);
        ASSERT_TRUE(File_SaveScratch((f / "UNDO_3").string(), "snapshot", 8));
    }
    History_Stop();
    History_Init();
    EXPECT_FALSE(fs::exists(dead));
    EXPECT_TRUE(fs::exists(live / "UNDO_3"));
    EXPECT_TRUE(fs::exists(open / "UNDO_3"));
    // This program's own folder carries its process id.
    EXPECT_EQ(fs::path(Private_Folder()).filename().string().rfind("cirquel-" + std::to_string(getpid()) + "-", 0),
              0u);
}

// Undo files that cannot be written: the most recent steps stay in memory
// and can be undone, and the user is told once.
TEST_F(History, StepsWhoseFilesCannotBeWrittenStayInMemoryAndTheUserIsToldOnce) {
    Open();
    std::vector<std::vector<a_unit_state>> states;
    {
        a_file_size_limit full(1);
        ASSERT_TRUE(full.ok());
        for (int i = 1; i <= 7; ++i) {
            Add_Photo(1, i);
            History_Emit(OP_PHOTO_NEW);
            states.push_back(Capture());
        }
    }
    int told = 0;
    for (const a_dialog_request& r : Dialog_History())
        told += r.message.find("Undo files cannot be written") != std::string::npos;
    EXPECT_EQ(told, 1);
    // The newest in memory and the four before it.
    for (int back = 1; back <= 4; ++back) {
        sounds.clear();
        Undo_Button();
        EXPECT_EQ(sounds, std::vector<int>{SND_UNDO}) << back;
        EXPECT_EQ(Difference(Capture(), states[size_t(6 - back)]), "") << back;
    }
    sounds.clear();
    Undo_Button();
    EXPECT_EQ(sounds, std::vector<int>{SND_REFUSED});
}

// A file cut short or damaged: that step is refused with the refusal sound,
// the document and the ring stay as they are, and the step is never tried
// again.
TEST_F(History, AStepWhoseFileIsBadIsRefusedCleanly) {
    enum { TRUNCATED, BAD_FIELD, BAD_COUNT, BAD_OFFSET, BAD_RECORD };
    for (int fault = TRUNCATED; fault <= BAD_RECORD; ++fault) {
        SCOPED_TRACE(fault);
        Open();
        Add_Photo(1, 1);
        History_Emit(OP_PHOTO_NEW);
        Add_Photo(1, 2);
        History_Emit(OP_PHOTO_NEW);
        History_Emit(OP_PHOTO_ANGLE);  // the snapshot in memory moves on
        std::string path = Undo_Path(1);
        std::vector<uint8_t> bytes;
        ASSERT_TRUE(File_ReadAll(path, bytes));
        uint32_t count = 0;
        if (!bytes.empty()) std::memcpy(&count, bytes.data(), 4);
        size_t data = 4 + count * RAM_ITEM_BYTES;
        if (fault == TRUNCATED) bytes.resize(bytes.size() / 2);
        if (fault == BAD_FIELD) bytes[4 + RAM_ITEM_BYTES] = 9;
        if (fault == BAD_COUNT) bytes[0] = 0x95, bytes[1] = 0x02;  // 661
        if (fault == BAD_OFFSET) bytes[4 + 17] = 0x7F;
        if (fault == BAD_RECORD) bytes[data + 63] = 7;  // unit 1's clonef, a bool
        ASSERT_TRUE(File_SaveAtomic(path, bytes.data(), bytes.size()));
        Undo_Button();  // step 3 -> 2, from its file
        std::vector<a_unit_state> before = Capture();
        sounds.clear();
        Undo_Button();
        EXPECT_EQ(sounds, std::vector<int>{SND_REFUSED});
        EXPECT_EQ(g_hist.curr, 2);
        EXPECT_EQ(Difference(Capture(), before), "");
        int redox, undox;
        Calc_Undo_Avail(redox, undox);
        EXPECT_EQ(undox, -1);
        Redo_Button();
        EXPECT_EQ(g_hist.curr, 3);
        Doc_Dispose();
        fs::remove_all(fs::path(path).parent_path() / "UNDO_1");
    }
}

// The snapshot's own checker accepts what it wrote and refuses every cut.
TEST_F(History, EveryTruncatedSnapshotIsRefused) {
    Open("BBA");
    Add_Photo(1, 3);
    Paint(3, 4);
    ASSERT_TRUE(Doc_To_RAM(0));
    std::vector<uint8_t> image = ram.image;
    EXPECT_TRUE(Check_Image(image.data(), image.size()));
    for (size_t n = 0; n < image.size(); n += 7) EXPECT_FALSE(Check_Image(image.data(), n)) << n;
}
