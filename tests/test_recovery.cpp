// Save-recovery: the hook saves a changed document as a project inside its
// folder, and the next start offers it once and opens the same document,
// changed and unnamed.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include <sys/stat.h>

#include "model/document.h"
#include "persist/disc_write.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "shell/project_services.h"
#include "shell/recovery.h"
#include "signals_guard.h"

namespace {

void Small_Document() {
    a_template t;
    t.nunits = 2;
    std::strcpy(t.label, "recovered");
    t.papersize = {100, 120};
    t.units[1].kind = UNIT_RECT;
    t.units[1].bbox = {10, 10, 30, 25};
    t.units[2].kind = UNIT_RECT;
    t.units[2].bbox = {10, 40, 30, 55};
    Doc_New(t);
    g_doc.doc_units[1]->canv.cv.canvas_key = a_keyset{2, 0, 1, 1};
    g_doc.doc_units[1]->canv.cv.canvas_darkness = 61;
}

}  // namespace

TEST(Recovery, SavesTheChangedDocumentAndOpensItOnceAsTheSameUnnamedDocument) {
    a_signals_guard guard;
    const std::string root = Temp_Folder() + "/cirquel-recovery-test";
    const std::string folder = Recovery_Folder(root);
    (void)File_Remove_Tree(root);
    // A name that tries to leave the folder stays inside it.
    std::string path = Recovery_Path(folder, "../../etc/passwd.cd4", "20260101-000000");
    EXPECT_EQ(path.rfind('/'), folder.size());
    EXPECT_EQ(path.substr(folder.size() + 1), "______etc_passwd (recovered 20260101-000000).cd4");
    EXPECT_EQ(Recovery_Path(folder, "", "1").substr(folder.size() + 1), "Untitled (recovered 1).cd4");

    Small_Document();
    g_doc.doc_path = a_filespec{0, 0, root + "/Summer.cd4"};
    std::vector<uint8_t> before;
    ASSERT_EQ(Write_DISC_Bytes(before), 0);
    g_doc.doc_changed = false;
    EXPECT_FALSE(Recovery_Save_Now(folder));  // nothing changed, nothing saved
    g_doc.doc_changed = true;
    ASSERT_TRUE(Recovery_Save_Now(folder));
    ASSERT_EQ(Recovery_Pending(folder).size(), 1u);
    EXPECT_NE(Recovery_Pending(folder)[0].find("/Summer (recovered "), std::string::npos);
    // A changed document is never thrown away for a recovered one.
    EXPECT_FALSE(Recovery_Open_Project(Recovery_Pending(folder)[0]));
    EXPECT_EQ(g_doc.doc_path.name, root + "/Summer.cd4");
    Doc_Dispose();

    // No reader, no offer; Later keeps it; Open reads it and clears it.
    const auto reader = g_recovery_open;
    g_recovery_open = {};
    Dialog_ScriptAnswers({0});
    EXPECT_EQ(Recovery_Offer(folder), 0);
    EXPECT_TRUE(Dialog_History().empty());
    g_recovery_open = reader;
    Dialog_ScriptAnswers({1});
    EXPECT_EQ(Recovery_Offer(folder), 0);
    ASSERT_EQ(Dialog_History().size(), 1u);
    EXPECT_NE(Dialog_History()[0].message.find("(recovered "), std::string::npos);
    EXPECT_FALSE(g_doc.doc_open);
    Dialog_ScriptAnswers({0});
    EXPECT_EQ(Recovery_Offer(folder), 1);
    EXPECT_TRUE(Recovery_Pending(folder).empty());
    ASSERT_TRUE(g_doc.doc_open);
    EXPECT_TRUE(g_doc.doc_changed);
    EXPECT_TRUE(g_doc.doc_new);  // saving asks for a name
    EXPECT_TRUE(g_doc.doc_path.name.empty());
    std::vector<uint8_t> after;
    ASSERT_EQ(Write_DISC_Bytes(after), 0);
    EXPECT_EQ(after, before);
    Doc_Dispose();
    (void)File_Remove_Tree(root);
}

// The recovered document is as private as the undo files; a recovery folder
// that cannot be made sends it beside them, and the user is told where; when
// nothing can take it the user is told that too.
TEST(Recovery, RecoveryIsPrivateAndFallsBackToTheUndoFilesPlaceSayingWhere) {
    a_signals_guard guard;
    const std::string root = Temp_Folder() + "/cirquel-recovery-private";
    (void)File_Remove_Tree(root);
    ASSERT_TRUE(Folder_Create(root));
    const mode_t old_mask = ::umask(022);
    Small_Document();
    g_doc.doc_changed = true;
    const std::string folder = root + "/Cirquel/recovery", fallback = root + "/run/cirquel-recovery";
    ASSERT_TRUE(Recovery_Save_Now(folder, fallback));
    struct stat st{};
    ASSERT_EQ(::stat(folder.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    ASSERT_EQ(Recovery_Pending(folder).size(), 1u);
    ASSERT_EQ(::stat(Recovery_Pending(folder)[0].c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);

    // A file where the folder should be: the fallback takes it, and says so.
    const std::string blocked = root + "/blocked";
    ASSERT_TRUE(File_SaveAtomic(blocked, "x", 1));
    Dialog_ScriptAnswers({});
    ASSERT_TRUE(Recovery_Save_Now(blocked + "/recovery", fallback));
    ASSERT_EQ(Recovery_Pending(fallback).size(), 1u);
    ASSERT_EQ(::stat(fallback.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    ASSERT_EQ(Dialog_History().size(), 1u);
    EXPECT_NE(Dialog_History()[0].message.find(Recovery_Pending(fallback)[0]), std::string::npos);
    // Neither: not silently.
    EXPECT_FALSE(Recovery_Save_Now(blocked + "/recovery", blocked + "/fallback"));
    ASSERT_EQ(Dialog_History().size(), 2u);
    EXPECT_NE(Dialog_History()[1].message.find("could not be saved for recovery"), std::string::npos);
    ::umask(old_mask);
    Doc_Dispose();
    (void)File_Remove_Tree(root);
}
