// File helpers. Saving always writes a temporary file in the target's folder,
// flushes it to disk and renames it over the target, so a failed save leaves
// the previous file intact.
// Process-wide state: the configuration folder (reads; set once at start).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Whole-file read; false (and an empty result) when the file cannot be read.
[[nodiscard]] bool File_ReadAll(const std::string& path, std::vector<uint8_t>& data, std::string* error = nullptr);

// Atomic whole-file write; false with a message in `error` on failure.
[[nodiscard]] bool File_SaveAtomic(const std::string& path, const void* data, size_t size,
                     std::string* error = nullptr);

bool File_Exists(const std::string& path);
// Size in bytes; -1 when there is no such file.
int64_t File_Size(const std::string& path);
[[nodiscard]] bool File_Remove(const std::string& path);
// Removes a folder and everything in it (tests clean up with it).
[[nodiscard]] bool File_Remove_Tree(const std::string& path);
std::string Temp_Folder();

// The user's configuration folder (XDG), or the one set for tests.
std::string Config_Folder();
// Makes Config_Folder() answer `path` instead; empty goes back to the user's.
void Config_Folder_Set(const std::string& path);
// Creates `path` and its parents; true when it exists afterwards.
[[nodiscard]] bool Folder_Create(const std::string& path);
