// The file commands: open, close, save, save as, revert, print a project
// from the command line, and the name an exported picture is offered; the
// questions asked before a document is thrown away, the bookkeeping after a
// save, and the model of the open dialog's preview. File dialogs and
// printing are services the window and the printing code own; the unit
// export belongs to the printing code.
// Process-wide state: the document g_doc (reads and writes); the dialog
// service; the file services g_file_services; the preview's picture.
#pragma once
#include <cstdint>
#include <string>

#include "base/notice.h"
#include "images/image_files.h"
#include "pixels/pixmap.h"

// The project type for the file dialogs and the desktop.
constexpr const char* DISC_SUFFIX = ".cd4";
constexpr const char* DISC_MIME_TYPE = "application/x-cirquel-project";

struct a_file_services {
    // The open dialog (filter "DISC.CD4", with the preview): a path, or
    // empty when cancelled.
    a_service<std::string()> choose_open;
    // The save dialog titled `title`, proposing `name`, offering `format`
    // only: a path, or empty when cancelled.
    a_service<std::string(const std::string& title, const std::string& name, int16_t format)> choose_save;
    // Prints the open document; the printing code owns it.
    a_service<bool()> print_document;  // false when nothing was printed
};
extern a_file_services g_file_services;

// Reads a project into the document; alert 10 and no document open when it
// cannot be read.
[[nodiscard]] bool Doc_Read(const std::string& path);

// Import/From another project: the project at `path` (asked for when empty)
// is added to the open document, one history step; alert 10 and nothing
// changed when it cannot be. False when nothing was imported.
bool Do_Import_Cirquel(const std::string& path);
// Each true when a project was read (false when cancelled or unreadable).
bool Do_File_Open(bool skipmsg, const std::string& path);
bool Do_File_Open2(const std::string& path);
bool Do_File_Open3(const std::string& path, bool is_template);
void Do_File_Close();
[[nodiscard]] bool Do_File_Save();
[[nodiscard]] bool Do_File_SaveAs();
// Writes the document as a project (the only format); true when written.
[[nodiscard]] bool Doc_Write(const std::string& dpath, int16_t format);
void Do_File_Revert();
void Do_File_Print(const std::string& path);
// The document's name with the format's suffix (Summer.cd4 -> Summer.JPEG),
// proposed by the Export menu's save dialog.
std::string Export_Name(int16_t format);

// The open dialog's preview: the "PREV" of the selected project, read again
// only when the selection names another file; a null map for other files.
void FilePreview_Init();
void FilePreview_Stop();
void Set_FilePreview_Path(const std::string& path);
void Set_FilePreview_Null();
const PixMap& FilePreview();
