// Save-recovery: the hook saves a changed document inside its folder, and the
// next start offers what it saved.
#include <gtest/gtest.h>

#include "model/document.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "shell/recovery.h"
#include "signals_guard.h"

TEST(Recovery, SavesChangedDocumentsInsideItsFolderAndOffersThemOnce) {
    a_signals_guard guard;
    std::string folder = Recovery_Folder(Temp_Folder() + "/cirquel-recovery-test");
    (void)File_Remove_Tree(Temp_Folder() + "/cirquel-recovery-test");
    // A name that tries to leave the folder stays inside it.
    std::string path = Recovery_Path(folder, "../../etc/passwd.cd4", "20260101-000000");
    EXPECT_EQ(path.rfind('/'), folder.size());
    EXPECT_EQ(path.substr(folder.size() + 1), "______etc_passwd (recovered 20260101-000000).cd4");
    EXPECT_EQ(Recovery_Path(folder, "", "1").substr(folder.size() + 1), "Untitled (recovered 1).cd4");

    std::vector<std::string> saved;
    a_listener_token save = g_recovery_save.Install([&](const std::string& p) {
        saved.push_back(p);
        return File_SaveAtomic(p, "\xCD\xCD", 2);
    });
    bool was_open = g_doc.doc_open, was_changed = g_doc.doc_changed;
    g_doc.doc_open = true;
    g_doc.doc_changed = false;
    EXPECT_FALSE(Recovery_Save_Now(folder));  // nothing changed, nothing saved
    g_doc.doc_changed = true;
    EXPECT_TRUE(Recovery_Save_Now(folder));
    g_doc.doc_open = was_open;
    g_doc.doc_changed = was_changed;
    g_recovery_save.Remove(save);
    ASSERT_EQ(saved.size(), 1u);
    EXPECT_EQ(Recovery_Pending(folder), saved);

    // No reader, no offer; Later keeps it; Open hands it over and clears it.
    Dialog_ScriptAnswers({0});
    EXPECT_EQ(Recovery_Offer(folder), 0);
    EXPECT_TRUE(Dialog_History().empty());
    std::vector<std::string> opened;
    a_listener_token open = g_recovery_open.Install([&](const std::string& p) {
        opened.push_back(p);
        return true;
    });
    Dialog_ScriptAnswers({1});
    EXPECT_EQ(Recovery_Offer(folder), 0);
    ASSERT_EQ(Dialog_History().size(), 1u);
    EXPECT_NE(Dialog_History()[0].message.find("(recovered "), std::string::npos);
    EXPECT_EQ(Recovery_Pending(folder).size(), 1u);
    Dialog_ScriptAnswers({0});
    EXPECT_EQ(Recovery_Offer(folder), 1);
    EXPECT_EQ(opened, saved);
    EXPECT_TRUE(Recovery_Pending(folder).empty());
    g_recovery_open.Remove(open);
    (void)File_Remove_Tree(Temp_Folder() + "/cirquel-recovery-test");
}
