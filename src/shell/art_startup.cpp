#include "shell/art_startup.h"

#include "artdb/pixt.h"
#include "platform/files.h"
#include "platform/folders.h"
#include "base/messages.h"
#include "base/string_ids.h"

#ifndef CIRQUEL_BUILD_DATA_DIR
#define CIRQUEL_BUILD_DATA_DIR ""
#endif

a_openfile_result g_art_result = OPEN_NOTFOUND;

namespace {

constexpr const char* kArtFile = "Cirquel.ART4";
constexpr const char* kPatchFile = "CIRQUEL_PATCH.ART4";

std::string Art_File_Name() {
    std::string name;
    Get_Translated_String(ID_ART_FILE, IDENTITY_STR_ID, name);
    return name.empty() ? kArtFile : name;
}

std::string Join(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    return folder.back() == '/' ? folder + name : folder + "/" + name;
}

// The start-up alerts end the program: Main_Init returns false after them.
void Show_Alert(int alert) {
    (void)Ask_YesNoCancel(DLOG_ONE_BUTTON, alert, STR_OK, 0);  // one button: nothing to answer
}

}  // namespace

std::vector<std::string> Art_Search_Folders() {
    std::vector<std::string> folders;
    std::string program = Program_Folder();
    if (!program.empty()) {
        folders.push_back(program);
        folders.push_back(program + "/../share/cirquel");
    }
    if (*CIRQUEL_BUILD_DATA_DIR) folders.push_back(CIRQUEL_BUILD_DATA_DIR);
    for (const std::string& dir : Installed_Data_Folders("cirquel")) folders.push_back(dir);
    return folders;
}

a_openfile_result Find_CD(const std::string& fname) {
    a_openfile_result result = OPEN_NOTFOUND;
    for (const std::string& root : Removable_Media_Roots()) {
        result = OP_OpenFile(Join(root, fname));
        if (result == OPEN_OKAY) break;
    }
    return result;
}

a_openfile_result Art_Open_Main(const std::vector<std::string>& folders, std::string& path) {
    std::string name = Art_File_Name();
    a_openfile_result result = OPEN_NOTFOUND;
    // A damaged copy in one place is reported unless a good one turns up later.
    for (const std::string& folder : folders) {
        path = Join(folder, name);
        a_openfile_result r = OP_OpenFile(path);
        if (r == OPEN_OKAY || r == OPEN_TOOMANY) return r;
        if (r != OPEN_NOTFOUND) result = r;
    }
    a_openfile_result r = Find_CD(name);
    if (r == OPEN_OKAY) return r;
    path.clear();
    return result == OPEN_NOTFOUND ? r : result;
}

bool Art_Start(const std::vector<std::string>& folders) {
    std::string path;
    g_art_result = Art_Open_Main(folders, path);
    if (g_art_result == OPEN_INVALID || g_art_result == OPEN_TOOSMALL) {
        Show_Alert(ALERT_ART_CORRUPT);
        return false;
    }
    if (g_art_result == OPEN_NOTFOUND) {
        Param_Text(Art_File_Name());
        Show_Alert(ALERT_ART_NOT_FOUND);
        return false;
    }
    // The patch database sits beside the main one; missing is normal.
    std::string folder = path.empty() ? Program_Folder() : path.substr(0, path.find_last_of('/'));
    (void)OP_OpenFile(Join(folder, kPatchFile));
    if (!Pixt_Exists(PIXT_ABOUT_BOX)) {
        Show_Alert(ALERT_ART_OUT_OF_DATE);
        return false;
    }
    return true;
}

bool Art_Init(bool open_databases) {
    OP_Init();
    Pixt_Init();
    Pixt_Recalc_Memory_Budget();
    return !open_databases || Art_Start(Art_Search_Folders());
}

void Art_Stop() {
    Pixt_Stop();
    OP_Stop();
}
