#include "shell/project_services.h"

#include "model/document.h"
#include "persist/disc_write.h"
#include "persist/file_cmds.h"
#include "print/print_doc.h"
#include "shell/recovery.h"

namespace {

a_listener_token g_print_token = 0, g_save_token = 0, g_open_token = 0;

}  // namespace

bool Recovery_Open_Project(const std::string& path) {
    if (g_doc.doc_open && g_doc.doc_changed) return false;
    if (g_doc.doc_open) Doc_Dispose();
    if (!Doc_Read(path)) return false;
    g_doc.doc_path = a_filespec{};
    g_doc.doc_new = true;
    g_doc.doc_changed = true;
    Doc_Name_Changed(Doc_Name());
    return true;
}

void Project_Services_Init() {
    g_print_token = g_file_services.print_document.Install(Print1_Doc);
    g_save_token = g_recovery_save.Install([](const std::string& path) { return Write_DISC(path) == 0; });
    g_open_token = g_recovery_open.Install(Recovery_Open_Project);
}

void Project_Services_Stop() {
    g_recovery_open.Remove(g_open_token);
    g_recovery_save.Remove(g_save_token);
    g_file_services.print_document.Remove(g_print_token);
}
