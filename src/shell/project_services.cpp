#include "shell/project_services.h"

#include "model/document.h"
#include "persist/disc_read.h"
#include "persist/disc_write.h"
#include "persist/file_cmds.h"
#include "platform/dialogs.h"
#include "print/print_doc.h"
#include "shell/commands.h"
#include "shell/mainloop.h"
#include "shell/menus.h"
#include "shell/recovery.h"
#include "platform/files.h"
#include "ui/interface.h"

namespace {

a_listener_token g_print_token = 0, g_save_token = 0, g_open_token = 0;

// The phase that shows the document after it was opened or read again.
void Show_Document() {
    if (!g_doc.doc_open) Phase_Set(NODOC_PHASE);
    else if (gs.curr_phase == NODOC_PHASE || gs.curr_phase == PAPER_PHASE) Phase_Set(CANVAS_PHASE);
    else Phase_Set(gs.curr_phase);
}

// What reading could not restore (missing pictures, fonts), in one message.
void Tell_Read_Notes() {
    const std::vector<std::string>& notes = Disc_Report().notes;
    if (notes.empty()) return;
    a_dialog_request r;
    r.message = Doc_Name() + ":";
    for (const std::string& n : notes) r.message += "\n" + n;
    r.buttons = {"OK"};
    r.keys = {{DKEY_RETURN, false, 0}, {DKEY_ENTER, false, 0}, {DKEY_ESCAPE, false, 0}};
    (void)Dialog_Ask(r);
}

void Install_File_Commands() {
    Command_Install(MENU_FILE + 2, [](const a_command_context&) { Open_Project_Command({}); });
    // Save with Shift held is Save As.
    Command_Install(MENU_FILE + 4, [](const a_command_context& c) {
        if (g_doc.doc_open) (void)(c.shift ? Do_File_SaveAs() : Do_File_Save());
    });
    Command_Install(MENU_FILE + 5, [](const a_command_context&) {
        if (g_doc.doc_open) (void)Do_File_SaveAs();
    });
    const int16_t formats[] = {FMT_BMP, FMT_JPEG, FMT_PICT, FMT_PSD, FMT_TIFF};
    for (int i = 0; i < 5; ++i)
        Command_Install(MENU_EXPORT + 3 + i, [format = formats[i]](const a_command_context&) {
            if (g_doc.doc_open) Export_Project(format);
        });
    Command_Install(MENU_FILE + 6, [](const a_command_context&) {
        if (!g_doc.doc_open || g_doc.doc_new) return;
        Do_File_Revert();
        Show_Document();
    });
}

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

void Open_Project_Command(const std::string& path) {
    bool was_open = g_doc.doc_open;
    if (Do_File_Open(false, path)) Tell_Read_Notes();
    // Cancelled: the document that was there stays as it was.
    else if (was_open == g_doc.doc_open) return;
    Show_Document();
}

void Project_Services_Init() {
    Install_File_Commands();
    g_print_token = g_file_services.print_document.Install(Print1_Doc);
    g_save_token = g_recovery_save.Install([](const std::string& path, std::string* error) {
        std::vector<uint8_t> bytes;
        if (Write_DISC_Bytes(bytes) != 0) {
            if (error) *error = path + ": the project could not be put together";
            return false;
        }
        return File_SavePrivate(path, bytes.data(), bytes.size(), error);
    });
    g_open_token = g_recovery_open.Install(Recovery_Open_Project);
}

void Project_Services_Stop() {
    for (int item : {2, 4, 5, 6}) Command_Remove(MENU_FILE + item);
    for (int item = 3; item <= 7; ++item) Command_Remove(MENU_EXPORT + item);
    FilePreview_Stop();
    g_recovery_open.Remove(g_open_token);
    g_recovery_save.Remove(g_save_token);
    g_file_services.print_document.Remove(g_print_token);
}
