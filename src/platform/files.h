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

// A save streamed into place: the bytes go into a temporary file beside the
// target (unnamed where the file system allows it, so a killed program
// leaves nothing), and only Commit gives it the target's name. Every write,
// the sync of the file, the naming, the rename and the sync of its folder
// are checked; until Commit succeeds the previous file is untouched, and a
// save that is dropped removes its temporary.
// Refused before a byte is written: a target that exists and is not a
// regular file (FIFO, device, folder), a link whose final target is not
// one, and a file the user may not write (as an in-place write would be).
// A link to a regular file is followed: what it names is replaced.
// Temporaries left by programs that died are removed at the next save
// into the same folder.
// SAVE_PRIVATE: readable and writable by its owner only, whatever it
// replaces; SAVE_SCRATCH: private, and nothing synced (see File_SaveScratch).
enum a_save_mode { SAVE_NORMAL, SAVE_PRIVATE, SAVE_SCRATCH };

class a_file_save {
public:
    a_file_save() = default;
    ~a_file_save();
    a_file_save(const a_file_save&) = delete;
    a_file_save& operator=(const a_file_save&) = delete;
    [[nodiscard]] bool Open(const std::string& path, a_save_mode mode = SAVE_NORMAL);
    [[nodiscard]] bool Write(const void* data, size_t size);
    // A writer's own failure ("path: why"): the save cannot be committed.
    void Fail(const std::string& why);
    // Everything written is on disk; Commit then only names it. Lets a job
    // of several files be written whole before any of them is renamed.
    [[nodiscard]] bool Sync();
    [[nodiscard]] bool Commit();
    bool Failed() const { return !error_.empty(); }
    // "path: reason" of the first failure; empty while all went well.
    const std::string& Error() const { return error_; }
    // The file the save replaces: a symlink's final target.
    const std::string& Target() const { return target_; }

private:
    void Fail_Errno(int err);
    bool Name_Temporary();
    void Drop();
    std::string path_, target_, temp_;
    int fd_ = -1;
    a_save_mode mode_ = SAVE_NORMAL;
    bool unnamed_ = false, synced_ = false;
    std::string error_;
};

// Atomic whole-file write through a_file_save. False with "path: reason"
// in `error` on failure; the previous file is untouched then (unless only
// the folder's sync failed, after the rename).
[[nodiscard]] bool File_SaveAtomic(const std::string& path, const void* data, size_t size,
                     std::string* error = nullptr);

// The same for a file only its owner may read (a recovered document).
[[nodiscard]] bool File_SavePrivate(const std::string& path, const void* data, size_t size,
                                    std::string* error = nullptr);

// The same for scratch files that die with the program (undo steps): made
// readable and writable by its owner only, every write, the close and the
// rename checked, but nothing synced to disk — a power loss ends the program
// that could use them anyway, and a sync costs more than the whole step.
[[nodiscard]] bool File_SaveScratch(const std::string& path, const void* data, size_t size,
                                    std::string* error = nullptr);

// Several files saved as one job: each is written whole and synced before
// any of them is named, so a full disk or a refused file leaves every old
// file as it was; then the old last file (the one that makes the job a job)
// is removed and they are renamed in the order given. A kill on the way
// leaves the old job, the new one, or files that make no job. False with the
// first failure in `error`.
struct a_file_part {
    std::string path;
    const void* data;
    size_t size;
};
[[nodiscard]] bool File_SaveAll(const std::vector<a_file_part>& parts, std::string* error = nullptr);

// Whether `name` is the name of a save's temporary ("NAME.tmp-PID-N"); its
// process id into `pid`.
bool Is_Save_Temporary(const std::string& name, long* pid = nullptr);

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
// The same, and `path` itself is made (or made again) enterable by its
// owner only; false with "path: reason" in `error` when it cannot be, or
// cannot be written into.
[[nodiscard]] bool Folder_Create_Private(const std::string& path, std::string* error = nullptr);
