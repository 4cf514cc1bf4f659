// Other programs and the user's own folders: running a helper tool when it
// is installed, the user's data folder and the files of a folder.
// Process-wide state: none.
#pragma once
#include <string>
#include <vector>

// Runs `program` (looked up on the search path) with `args` and waits up to
// `timeout_ms`; false when it is not installed, fails to start, times out or
// exits with a status other than 0.
[[nodiscard]] bool Program_Run(const std::string& program, const std::vector<std::string>& args,
                               int timeout_ms = 10000);
// The user's data folder ($XDG_DATA_HOME, else ~/.local/share).
std::string User_Data_Home();
// The names of the regular files in `folder`, sorted; empty when it is missing.
std::vector<std::string> Folder_Files(const std::string& folder);
