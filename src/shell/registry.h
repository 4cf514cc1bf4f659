// The file types of the program made known to the desktop: a desktop entry
// that opens and prints projects, one that starts the program for an art
// database, a shared-mime-info package for projects
// and art databases, and the icons; refreshed with the desktop's own tools
// when they are installed. Run at every start; failures are ignored.
// Process-wide state: none.
#pragma once
#include <string>

inline constexpr const char* MIME_PROJECT = "application/x-cirquel-project";
inline constexpr const char* MIME_ART = "application/x-cirquel-art";

// The desktop entry for the program at `exe`.
std::string Registry_Desktop_Entry(const std::string& exe);
// The desktop entry that starts the program for an art database.
std::string Registry_Art_Entry(const std::string& exe);
// The shared-mime-info package.
std::string Registry_Mime_Package();
// The program's icon and the projects' document icon (SVG).
std::string Registry_Icon();
std::string Registry_Project_Icon();

// The files it writes, relative to the data folder.
inline constexpr const char* REG_DESKTOP_FILE = "applications/cirquel.desktop";
inline constexpr const char* REG_ART_DESKTOP_FILE = "applications/cirquel-art.desktop";
inline constexpr const char* REG_MIME_FILE = "mime/packages/cirquel.xml";
inline constexpr const char* REG_ICON_FILE = "icons/hicolor/scalable/apps/cirquel.svg";
inline constexpr const char* REG_PROJECT_ICON_FILE =
    "icons/hicolor/scalable/mimetypes/application-x-cirquel-project.svg";
inline constexpr const char* REG_ART_ICON_FILE =
    "icons/hicolor/scalable/mimetypes/application-x-cirquel-art.svg";

// Writes the files under `data_home`, leaving unchanged ones alone; returns how
// many it wrote. Failures are not reported.
int Registry_Write_Files(const std::string& data_home, const std::string& exe);
// The same, then update-desktop-database and update-mime-database when they
// are installed and something changed.
int Init_Registry(const std::string& data_home, const std::string& exe);
