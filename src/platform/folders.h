// Where the program's data files may be: its own folder, the data folders of
// an installation, and the mounted removable media.
// Process-wide state: none.
#pragma once
#include <string>
#include <vector>

// The folder of the running executable ("" when unknown).
std::string Program_Folder();
// The installed data folders named `app` under the XDG data locations
// (~/.local/share/app, /usr/local/share/app, /usr/share/app), existing ones only.
std::vector<std::string> Installed_Data_Folders(const std::string& app);
// Mount points of removable media: everything mounted under /media and /run/media.
std::vector<std::string> Removable_Media_Roots();
// Unmounts and ejects the removable volume mounted at `root` through the
// desktop's volume service (gio), else util-linux's eject; false when
// neither did it.
[[nodiscard]] bool Volume_Eject(const std::string& root);
// The user's documents folder (XDG), or the home folder when none is set.
std::string Documents_Folder();
