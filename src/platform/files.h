// File helpers. Saving always writes a temporary file in the target's folder,
// syncs it to disk and renames it over the target, so a failed save leaves
// the previous file intact. Every file the program writes goes through
// File_SaveAtomic: preferences, exported pictures, art databases, projects,
// layout files and print files; File_SaveScratch: undo files.
// Reads take regular files only, up to a stated size, checked before a byte
// is read: a device or a FIFO would never end.
// Process-wide state: the configuration folder (reads; set once at start).
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

enum class a_file_read { OK, FAILED, NOT_REGULAR, TOO_LARGE };
// The most File_ReadAll takes; readers of pictures and projects state their own.
constexpr size_t FILE_READ_MAX_BYTES = size_t(1) << 30;

// Whole-file read of a regular file of at most `max_bytes`, straight into
// `data`; anything else leaves `data` empty, with "path: reason" in `error`.
[[nodiscard]] a_file_read File_Read_Limited(const std::string& path, size_t max_bytes,
                                            std::vector<uint8_t>& data, std::string* error = nullptr);
[[nodiscard]] bool File_ReadAll(const std::string& path, std::vector<uint8_t>& data, std::string* error = nullptr);

// Atomic whole-file write: every write, the sync of the file, the rename and
// the sync of its folder are checked. False with "path: reason" in `error`
// on failure; the previous file is untouched then (unless only the folder's
// sync failed, after the rename).
[[nodiscard]] bool File_SaveAtomic(const std::string& path, const void* data, size_t size,
                     std::string* error = nullptr);

// The same for scratch files that die with the program (undo steps): made
// readable and writable by its owner only, every write, the close and the
// rename checked, but nothing synced to disk — a power loss ends the program
// that could use them anyway, and a sync costs more than the whole step.
[[nodiscard]] bool File_SaveScratch(const std::string& path, const void* data, size_t size,
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
