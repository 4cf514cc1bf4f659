#include "shell/help.h"

#include <algorithm>

#include "base/messages.h"
#include "base/string_ids.h"
#include "platform/files.h"
#include "platform/folders.h"
#include "ui/interface.h"

a_service<bool(const std::string& url)> g_open_url;
a_service<bool(const std::string& path)> g_show_help_page;

int Help_Topic(a_phase phase) {
    switch (phase) {
        case PREVIEW_PHASE: return 108;
        case PAINT_PHASE: return 102;
        case CANVAS_PHASE: return 104;
        case SYMBOL_PHASE: return 103;
        case PHOTO_PHASE: return 105;
        case GRID_PHASE: return 101;
        case TEXT_PHASE: return 106;
        case COLLAGE_PHASE: return 107;
        default: return 1;
    }
}

std::string Help_Page_Path(const std::vector<std::string>& folders, int language, int topic) {
    std::string page = "/" + std::to_string(topic) + ".html";
    for (const char* code : {Language_Code(language), "en"}) {
        for (const std::string& f : folders) {
            std::string path = f + "/" + code + page;
            if (File_Exists(path)) return path;
        }
    }
    return {};
}

std::string Help_Topic_Name(const std::vector<std::string>& folders, int language, int topic) {
    const std::string fallback = "Cirquel";
    std::string path = Help_Page_Path(folders, language, topic);
    std::vector<uint8_t> bytes;
    if (path.empty() || File_Read_Limited(path, 1 << 16, bytes) != a_file_read::OK) return fallback;
    std::string page(bytes.begin(), bytes.end());
    size_t open = page.find("<title>");
    if (open == std::string::npos) return fallback;
    open += 7;
    // "Photos — Cirquel Help": the part before the dash.
    size_t end = std::min(page.find("</title>", open), page.find(" \xE2\x80\x94 ", open));
    std::string name = page.substr(open, end == std::string::npos ? 0 : end - open);
    return name.empty() || name.size() > 60 ? fallback : name;
}

std::string Help_Menu_Text(const std::string& item_text, const std::string& topic_name) {
    std::string text = item_text;
    size_t at = text.find("XXX");
    if (at != std::string::npos) text.replace(at, 3, topic_name);
    return text;
}

std::vector<std::string> Help_Folders() {
    std::vector<std::string> folders;
    for (const std::string& d : Installed_Data_Folders("cirquel")) folders.push_back(d + "/help");
    std::string own = Program_Folder();
    if (!own.empty()) folders.push_back(own + "/../share/cirquel/help");
#ifdef CIRQUEL_SOURCE_SHARE_DIR
    folders.push_back(std::string(CIRQUEL_SOURCE_SHARE_DIR) + "/help");
#endif
    return folders;
}

void Help_Show(int topic) {
    std::string page = Help_Page_Path(Help_Folders(), Messages_Language(), topic);
    auto no = [] { return false; };
    if (page.empty()) return OK_Alert(ALERT_NO_HELP, false);
    if (g_show_help_page.Call_Or(no, page) || g_open_url.Call_Or(no, "file://" + page)) return;
    OK_Alert(ALERT_NO_HELP, false);
}

void Help_Contextual() { Help_Show(Help_Topic(gs.curr_phase)); }

void Help_Web_Page() {
    std::string url;
    Get_Lang_String(7, IDENTITY_STR_ID, 0, url);
    auto no = [] { return false; };
    if (url.empty() || !g_open_url.Call_Or(no, url)) OK_Alert(ALERT_NO_BROWSER, false);
}
