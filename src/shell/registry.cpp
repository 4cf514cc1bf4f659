#include "shell/registry.h"

#include <cstdint>
#include <vector>

#include "platform/files.h"
#include "platform/process.h"

namespace {

// Desktop entries quote arguments with blanks or special characters in
// double quotes, escaping ", `, $ and \ inside.
std::string Desktop_Quote(const std::string& s) {
    if (s.find_first_of(" \t\"'\\`$<>|&;*?#()") == std::string::npos) return s;
    std::string q = "\"";
    for (char c : s) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') q += '\\';
        q += c;
    }
    return q + "\"";
}

// A desktop entry's string values escape the backslash itself.
std::string Desktop_Value(const std::string& s) {
    std::string v;
    for (char c : s) {
        if (c == '\\') v += '\\';
        v += c;
    }
    return v;
}

bool Same_Contents(const std::string& path, const std::string& text) {
    std::vector<uint8_t> old;
    if (File_Read_Limited(path, text.size() + 1, old) != a_file_read::OK) return false;
    return std::string(old.begin(), old.end()) == text;
}

bool Write_If_Changed(const std::string& path, const std::string& text) {
    if (Same_Contents(path, text)) return false;
    size_t slash = path.rfind('/');
    if (slash != std::string::npos && !Folder_Create(path.substr(0, slash))) return false;
    return File_SaveAtomic(path, text.data(), text.size());
}

}  // namespace

std::string Registry_Desktop_Entry(const std::string& exe) {
    std::string cmd = Desktop_Value(Desktop_Quote(exe));
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Cirquel\n"
           "GenericName=Disc Label Designer\n"
           "Comment=Design and print labels for CDs, DVDs and their cases\n"
           "Exec=" + cmd + " %f\n"
           "Icon=cirquel\n"
           "Terminal=false\n"
           "Categories=Graphics;Publishing;\n"
           "Keywords=CD;DVD;label;jewel case;cover;\n"
           "MimeType=" + std::string(MIME_PROJECT) + ";\n"
           "Actions=Print;\n"
           "\n"
           "[Desktop Action Print]\n"
           "Name=Print\n"
           "Exec=" + cmd + " --print %f\n";
}

// An art database opens the program without a document: the file itself is
// not handed over, so this entry has its own command and stays out of menus.
std::string Registry_Art_Entry(const std::string& exe) {
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Cirquel\n"
           "Comment=Start Cirquel\n"
           "Exec=" + Desktop_Value(Desktop_Quote(exe)) + "\n"
           "Icon=cirquel\n"
           "Terminal=false\n"
           "NoDisplay=true\n"
           "MimeType=" + std::string(MIME_ART) + ";\n";
}

std::string Registry_Mime_Package() {
    return R"(<?xml version="1.0" encoding="UTF-8"?>
<mime-info xmlns="http://www.freedesktop.org/standards/shared-mime-info">
  <mime-type type=")" + std::string(MIME_PROJECT) + R"(">
    <comment>Cirquel Label</comment>
    <icon name="application-x-cirquel-project"/>
    <magic priority="50">
      <match type="big16" value="0xCDCD" offset="0"/>
    </magic>
    <glob pattern="*.cd4" case-sensitive="false"/>
  </mime-type>
  <mime-type type=")" + MIME_ART + R"(">
    <comment>Cirquel Art Database</comment>
    <icon name="application-x-cirquel-art"/>
    <glob pattern="*.art4" case-sensitive="false"/>
  </mime-type>
</mime-info>
)";
}

std::string Registry_Icon() {
    // A disc with its hole and a label arc.
    return R"(<?xml version="1.0" encoding="UTF-8"?>
<svg xmlns="http://www.w3.org/2000/svg" width="64" height="64" viewBox="0 0 64 64">
  <circle cx="32" cy="32" r="30" fill="#e8ecf2" stroke="#5a6b82" stroke-width="2"/>
  <path d="M32 6 A26 26 0 0 1 58 32 L44 32 A12 12 0 0 0 32 20 Z" fill="#3d7ebf"/>
  <path d="M6 32 A26 26 0 0 0 32 58 L32 44 A12 12 0 0 1 20 32 Z" fill="#e0a030"/>
  <circle cx="32" cy="32" r="7" fill="#ffffff" stroke="#5a6b82" stroke-width="2"/>
</svg>
)";
}

std::string Registry_Project_Icon() {
    // A page with a turned corner carrying the program's disc.
    return R"svg(<?xml version="1.0" encoding="UTF-8"?>
<svg xmlns="http://www.w3.org/2000/svg" width="64" height="64" viewBox="0 0 64 64">
  <path d="M10.8 4.8 H42 L53.2 16 V59.2 H10.8 Z" fill="#fbfcfe" stroke="#5a6b82" stroke-width="1.6"/>
  <path d="M42 4.8 V16 H53.2 Z" fill="#c8d0dc" stroke="#5a6b82" stroke-width="1.6" stroke-linejoin="round"/>
  <g transform="translate(32 36) scale(0.62) translate(-32 -32)">
    <circle cx="32" cy="32" r="30" fill="#e8ecf2" stroke="#5a6b82" stroke-width="2"/>
    <path d="M32 6 A26 26 0 0 1 58 32 L44 32 A12 12 0 0 0 32 20 Z" fill="#3d7ebf"/>
    <path d="M6 32 A26 26 0 0 0 32 58 L32 44 A12 12 0 0 1 20 32 Z" fill="#e0a030"/>
    <circle cx="32" cy="32" r="7" fill="#ffffff" stroke="#5a6b82" stroke-width="2"/>
  </g>
</svg>
)svg";
}

int Registry_Write_Files(const std::string& data_home, const std::string& exe) {
    if (data_home.empty()) return 0;
    const std::string icon = Registry_Icon();
    const std::pair<const char*, std::string> files[] = {
        {REG_DESKTOP_FILE, Registry_Desktop_Entry(exe)},
        {REG_ART_DESKTOP_FILE, Registry_Art_Entry(exe)},
        {REG_MIME_FILE, Registry_Mime_Package()},
        {REG_ICON_FILE, icon},
        {REG_PROJECT_ICON_FILE, Registry_Project_Icon()},
        {REG_ART_ICON_FILE, icon},
    };
    int written = 0;
    for (const auto& [name, text] : files)
        if (Write_If_Changed(data_home + "/" + name, text)) ++written;
    return written;
}

int Init_Registry(const std::string& data_home, const std::string& exe) {
    int written = Registry_Write_Files(data_home, exe);
    if (written > 0) {
        (void)Program_Run("update-desktop-database", {data_home + "/applications"});
        (void)Program_Run("update-mime-database", {data_home + "/mime"});
    }
    return written;
}
