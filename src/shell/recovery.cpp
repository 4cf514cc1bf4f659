#include "shell/recovery.h"

#include <cctype>
#include <cstdio>
#include <ctime>

#include "base/messages.h"
#include "base/string_ids.h"
#include "model/document.h"
#include "platform/files.h"
#include "platform/private_folder.h"
#include "platform/process.h"

a_service<bool(const std::string& path, std::string* error)> g_recovery_save;
a_service<bool(const std::string& path)> g_recovery_open;

namespace {

enum : int { STR_RECOVERY_OFFER = 1101, STR_OPEN = 1102, STR_LATER = 1103 };

a_listener_token g_hook = 0;

// Keeps letters, digits, blanks, dots, dashes and underscores of a
// document's name; the rest becomes "_", so the name stays inside the folder.
std::string Safe_Name(const std::string& name) {
    std::string out;
    for (unsigned char c : name) {
        bool keep = std::isalnum(c) || c == ' ' || c == '-' || c == '_' || c >= 0x80;
        out += keep ? char(c) : '_';
    }
    if (out.empty() || out.find_first_not_of('_') == std::string::npos) out = "Untitled";
    return out.substr(0, 100);
}

std::string Ends_In_Cd4(const std::string& n) {
    return n.size() >= 4 && (n.compare(n.size() - 4, 4, ".cd4") == 0 || n.compare(n.size() - 4, 4, ".CD4") == 0)
               ? n.substr(0, n.size() - 4)
               : n;
}

std::string Now_Stamp() {
    std::time_t t = std::time(nullptr);
    std::tm tm{};
    gmtime_r(&t, &tm);
    char buf[32];
    std::strftime(buf, sizeof buf, "%Y%m%d-%H%M%S", &tm);
    return buf;
}

}  // namespace

std::string Recovery_Folder(const std::string& data_home) { return data_home + "/Cirquel/recovery"; }

std::string Recovery_Path(const std::string& folder, const std::string& name, const std::string& stamp) {
    return folder + "/" + Safe_Name(Ends_In_Cd4(name)) + " (recovered " + stamp + ").cd4";
}

std::vector<std::string> Recovery_Pending(const std::string& folder) {
    std::vector<std::string> out;
    for (const std::string& f : Folder_Files(folder))
        if (f.size() > 4 && f.compare(f.size() - 4, 4, ".cd4") == 0) out.push_back(folder + "/" + f);
    return out;
}

std::string Recovery_Fallback_Folder() { return Private_Folder_Parent() + "/cirquel-recovery"; }

namespace {

// The document saved into `folder`; its path, or "" with the reason in `error`.
std::string Save_Into(const std::string& folder, std::string& error) {
    if (!Folder_Create_Private(folder, &error)) return {};
    std::string path = Recovery_Path(folder, Doc_Name(), Now_Stamp());
    return g_recovery_save.Call_Or([] { return false; }, path, &error) ? path : std::string();
}

// Said on the terminal as well: the program ends right after.
void Tell(int alert, const std::string& line) {
    std::fprintf(stderr, "cirquel: %s\n", line.c_str());
    OK_Alert_Detail(alert, line);
}

}  // namespace

bool Recovery_Save_Now(const std::string& folder, const std::string& fallback) {
    if (!g_doc.doc_open || !g_doc.doc_changed || !g_recovery_save.Installed()) return false;
    std::string error, second;
    if (!Save_Into(folder, error).empty()) return true;
    std::string path = Save_Into(fallback, second);
    if (!path.empty()) {
        Tell(ALERT_RECOVERY_ELSEWHERE, "the project was saved for recovery as " + path + " (" + error + ")");
        return true;
    }
    Tell(ALERT_RECOVERY_FAILED, "the project could not be saved for recovery: " + error + "; " + second);
    return false;
}

int Recovery_Offer(const std::string& folder) {
    if (!g_recovery_open.Installed()) return 0;
    int opened = 0;
    for (const std::string& path : Recovery_Pending(folder)) {
        Param_Text(path.substr(folder.size() + 1));
        if (Ask_YesNoCancel(DLOG_TWO_BUTTONS, STR_RECOVERY_OFFER, STR_OPEN, STR_LATER) != 0) continue;
        if (!g_recovery_open.Call_Or([] { return false; }, path)) continue;
        (void)File_Remove(path);
        ++opened;
        break;  // one document at a time
    }
    return opened;
}

void Recovery_Init() {
    std::string folder = Recovery_Folder(User_Data_Home());
    g_hook = g_message_services.recovery.Install([folder] { (void)Recovery_Save_Now(folder); });
}

void Recovery_Stop() { g_message_services.recovery.Remove(g_hook); }
