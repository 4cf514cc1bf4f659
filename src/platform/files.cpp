#include "platform/files.h"

#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QFileInfo>
#include <QtCore/QStandardPaths>

#include <atomic>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/input_file.h"
#include "platform/memory.h"

namespace {

std::string g_config_folder;

void Fail_With(std::string* error, const std::string& path, int err) {
    if (error) *error = path + ": " + std::strerror(err);
}

// Closes on every path out; the result of an explicit Close() is kept.
class a_fd {
public:
    explicit a_fd(int fd) : fd_(fd) {}
    ~a_fd() {
        if (fd_ >= 0) ::close(fd_);
    }
    a_fd(const a_fd&) = delete;
    a_fd& operator=(const a_fd&) = delete;
    int get() const { return fd_; }
    [[nodiscard]] bool Close() {
        int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

// Every byte or the error: a short write is retried, so the error of the
// write that cannot go on (no space, the size limit) is the one reported.
[[nodiscard]] bool Write_All(int fd, const char* p, size_t left, int& err) {
    while (left > 0) {
        ssize_t n = ::write(fd, p, left);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            err = n < 0 ? errno : EIO;
            return false;
        }
        p += n;
        left -= size_t(n);
    }
    return true;
}

[[nodiscard]] bool Read_All(int fd, uint8_t* p, size_t left, int& err) {
    while (left > 0) {
        ssize_t n = ::read(fd, p, left);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            err = n < 0 ? errno : EIO;  // 0: the file shrank while it was read
            return false;
        }
        p += n;
        left -= size_t(n);
    }
    return true;
}

std::string Folder_Of(const std::string& path) {
    size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// What a save may replace: nothing yet, or a regular file the user may
// write, reached through any links. `target` is the file itself; false
// with the one line of the refusal in `why`.
bool Check_Target(const std::string& path, std::string& target, std::string& why) {
    target = path;
    struct stat st{};
    if (::lstat(path.c_str(), &st) != 0) {
        if (errno == ENOENT) return true;
        return why = std::strerror(errno), false;
    }
    if (S_ISLNK(st.st_mode)) {
        if (::stat(path.c_str(), &st) != 0) return why = "a link to nothing that can be saved over", false;
        char buf[PATH_MAX];
        if (!::realpath(path.c_str(), buf)) return why = std::strerror(errno), false;
        target = buf;
    }
    if (!S_ISREG(st.st_mode)) return why = "not a regular file", false;
    // The rename would get past the file's own protection; an in-place
    // write would not.
    if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) return why = std::strerror(errno), false;
    return true;
}

// A temporary of a process that is gone, owned by us: left by a kill.
void Remove_Stale_Temporaries(const std::string& folder) {
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return;
    const pid_t self = ::getpid();
    while (const dirent* d = ::readdir(dir)) {
        long pid = 0;
        if (!Is_Save_Temporary(d->d_name, &pid) || pid == self) continue;
        if (::kill(pid_t(pid), 0) == 0 || errno != ESRCH) continue;
        struct stat st{};
        if (::fstatat(::dirfd(dir), d->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode) &&
            st.st_uid == ::getuid())
            (void)::unlinkat(::dirfd(dir), d->d_name, 0);
    }
    ::closedir(dir);
}

std::string Temporary_Name(const std::string& target) {
    static std::atomic<unsigned> counter{0};
    return target + ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
}

// A new file beside the target that no one else has, named or not.
int Create_Temporary(const std::string& target, bool private_file, std::string& temp, bool& unnamed,
                     int& err) {
    const mode_t mode = private_file ? 0600 : 0666;
    int fd = ::open(Folder_Of(target).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
    unnamed = fd >= 0;
    if (unnamed) return fd;
    // Only a file system without unnamed files goes on to a named one.
    if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) return err = errno, -1;
    for (int attempt = 0; attempt < 100; ++attempt) {
        temp = Temporary_Name(target);
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0) return fd;
        if (errno != EEXIST) break;
    }
    temp.clear();
    err = errno;
    return -1;
}

// The rename is only durable once the folder's entry is on disk. Folders
// that cannot be synced (some network and FUSE file systems) say so with
// EINVAL; that is not a failure of the save.
[[nodiscard]] bool Sync_Folder(const std::string& folder, int& err) {
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        err = errno;
        return false;
    }
    a_fd dir(fd);
    if (::fsync(dir.get()) != 0 && errno != EINVAL && errno != EROFS) {
        err = errno;
        return false;
    }
    return true;
}

}  // namespace

a_file_read File_Read_Limited(const std::string& path, size_t max_bytes, std::vector<uint8_t>& data,
                              std::string* error) {
    data.clear();
    a_input_file file;
    a_input_open opened = file.Open(path, error);
    if (opened != a_input_open::OK)
        return opened == a_input_open::NOT_REGULAR ? a_file_read::NOT_REGULAR : a_file_read::FAILED;
    const int fd = file.fd();
    if (file.size() < 0 || uint64_t(file.size()) > max_bytes) {
        if (error) *error = path + ": larger than " + std::to_string(max_bytes) + " bytes";
        return a_file_read::TOO_LARGE;
    }
    try {
        a_checked_allocation checked;
        data.resize(size_t(file.size()));
    } catch (const std::bad_alloc&) {
        Fail_With(error, path, ENOMEM);
        return a_file_read::FAILED;
    }
    int err = 0;
    if (!Read_All(fd, data.data(), data.size(), err)) {
        data.clear();
        data.shrink_to_fit();
        Fail_With(error, path, err);
        return a_file_read::FAILED;
    }
    return a_file_read::OK;
}

bool File_ReadAll(const std::string& path, std::vector<uint8_t>& data, std::string* error) {
    return File_Read_Limited(path, FILE_READ_MAX_BYTES, data, error) == a_file_read::OK;
}

bool Is_Save_Temporary(const std::string& name, long* pid) {
    size_t at = name.rfind(".tmp-");
    if (at == std::string::npos || at == 0) return false;
    const char* p = name.c_str() + at + 5;
    char* end = nullptr;
    errno = 0;
    long n = std::strtol(p, &end, 10);
    if (end == p || *end != '-' || n <= 0 || errno != 0 || !std::isdigit(uint8_t(p[0]))) return false;
    const char* q = end + 1;
    if (!*q || std::strspn(q, "0123456789") != std::strlen(q)) return false;
    if (pid) *pid = n;
    return true;
}

a_file_save::~a_file_save() { Drop(); }

void a_file_save::Drop() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    if (!temp_.empty()) (void)::unlink(temp_.c_str());  // the target was never touched; the leftover is ours
    temp_.clear();
}

void a_file_save::Fail_Errno(int err) { Fail(std::strerror(err)); }

void a_file_save::Fail(const std::string& why) {
    if (error_.empty()) error_ = path_ + ": " + why;
}

bool a_file_save::Open(const std::string& path, a_save_mode mode) {
    Drop();
    path_ = path;
    mode_ = mode;
    const bool scratch = mode == SAVE_SCRATCH, private_file = mode != SAVE_NORMAL;
    synced_ = false;
    error_.clear();
    std::string why;
    if (!Check_Target(path, target_, why)) return Fail(why), false;
    if (!scratch) Remove_Stale_Temporaries(Folder_Of(target_));
    int err = 0;
    fd_ = Create_Temporary(target_, private_file, temp_, unnamed_, err);
    if (fd_ < 0) return Fail_Errno(err), false;
    struct stat st{};
    // The mode of the file it replaces (best effort, as editors do); a
    // private file is readable and writable by its owner only, whatever it replaces.
    if (!private_file && ::stat(target_.c_str(), &st) == 0) (void)::fchmod(fd_, st.st_mode & 07777);
    return true;
}

bool a_file_save::Write(const void* data, size_t size) {
    if (Failed() || fd_ < 0) return false;
    int err = 0;
    if (!Write_All(fd_, static_cast<const char*>(data), size, err)) return Fail_Errno(err), false;
    return true;
}

bool a_file_save::Sync() {
    if (Failed() || fd_ < 0) return false;
    // fdatasync is not enough: a new file's size is metadata it may skip.
    if (mode_ != SAVE_SCRATCH && !synced_ && ::fsync(fd_) != 0) return Fail_Errno(errno), false;
    synced_ = true;
    return true;
}

// An unnamed file gets a temporary's name first: a link cannot replace a
// name, and the rename after it can. A kill between the two leaves a
// temporary of a dead process, which the next save here removes.
bool a_file_save::Name_Temporary() {
    if (!unnamed_) return true;
    const std::string proc = "/proc/self/fd/" + std::to_string(fd_);
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = Temporary_Name(target_);
        int r = ::linkat(AT_FDCWD, proc.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW);
        if (r != 0 && errno == ENOENT) r = ::linkat(fd_, "", AT_FDCWD, name.c_str(), AT_EMPTY_PATH);
        if (r == 0) {
            temp_ = name;
            return true;
        }
        if (errno != EEXIST) break;
    }
    return Fail_Errno(errno), false;
}

bool a_file_save::Commit() {
    if (!Sync() || !Name_Temporary()) return Drop(), false;
    int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) return Fail_Errno(errno), Drop(), false;
    if (::rename(temp_.c_str(), target_.c_str()) != 0) return Fail_Errno(errno), Drop(), false;
    temp_.clear();
    int err = 0;
    if (mode_ != SAVE_SCRATCH && !Sync_Folder(Folder_Of(target_), err)) {
        error_ = path_ + ": written, but its folder could not be synced: " + std::strerror(err);
        return false;
    }
    return true;
}

namespace {

bool Save_Atomic(const std::string& path, const void* data, size_t size, a_save_mode mode, std::string* error) {
    a_file_save save;
    if (save.Open(path, mode) && save.Write(data, size) && save.Commit()) return true;
    if (error) *error = save.Error();
    return false;
}

}  // namespace

bool File_SaveAtomic(const std::string& path, const void* data, size_t size, std::string* error) {
    return Save_Atomic(path, data, size, SAVE_NORMAL, error);
}

bool File_SavePrivate(const std::string& path, const void* data, size_t size, std::string* error) {
    return Save_Atomic(path, data, size, SAVE_PRIVATE, error);
}

bool File_SaveScratch(const std::string& path, const void* data, size_t size, std::string* error) {
    return Save_Atomic(path, data, size, SAVE_SCRATCH, error);
}

bool File_SaveAll(const std::vector<a_file_part>& parts, std::string* error) {
    std::vector<std::unique_ptr<a_file_save>> saves;
    auto fail = [&](const a_file_save& s) {
        if (error) *error = s.Error();
        return false;
    };
    for (const a_file_part& p : parts) {
        saves.push_back(std::make_unique<a_file_save>());
        a_file_save& s = *saves.back();
        if (!s.Open(p.path) || !s.Write(p.data, p.size) || !s.Sync()) return fail(s);
    }
    // The old last file goes first: a kill among the renames then leaves
    // the whole old job, files without the one that makes them a job, or
    // the whole new job, never old files that a new ticket would name.
    if (parts.size() > 1) {
        const std::string& last = saves.back()->Target();
        int err = 0;
        if (::unlink(last.c_str()) != 0 && errno != ENOENT) {
            if (error) *error = last + ": " + std::strerror(errno);
            return false;
        }
        if (!Sync_Folder(Folder_Of(last), err)) {
            if (error) *error = last + ": its folder could not be synced: " + std::strerror(err);
            return false;
        }
    }
    for (auto& s : saves)
        if (!s->Commit()) return fail(*s);
    return true;
}

bool File_Exists(const std::string& path) { return QFileInfo::exists(QString::fromStdString(path)); }

int64_t File_Size(const std::string& path) {
    QFileInfo info(QString::fromStdString(path));
    return info.exists() ? static_cast<int64_t>(info.size()) : -1;
}

bool File_Remove(const std::string& path) { return QFile::remove(QString::fromStdString(path)); }

bool File_Remove_Tree(const std::string& path) {
    return QDir(QString::fromStdString(path)).removeRecursively();
}

std::string Temp_Folder() { return QDir::tempPath().toStdString(); }

std::string Config_Folder() {
    if (!g_config_folder.empty()) return g_config_folder;
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation).toStdString();
}

void Config_Folder_Set(const std::string& path) { g_config_folder = path; }

bool Folder_Create(const std::string& path) { return QDir().mkpath(QString::fromStdString(path)); }

bool Folder_Create_Private(const std::string& path, std::string* error) {
    if (::mkdir(path.c_str(), 0700) != 0 && errno == ENOENT) {
        (void)Folder_Create(Folder_Of(path));
        (void)::mkdir(path.c_str(), 0700);
    }
    struct stat st{};
    if (::stat(path.c_str(), &st) != 0) return Fail_With(error, path, errno), false;
    if (!S_ISDIR(st.st_mode)) return Fail_With(error, path, ENOTDIR), false;
    if ((st.st_mode & 0777) != 0700 && ::chmod(path.c_str(), 0700) != 0) return Fail_With(error, path, errno), false;
    if (::access(path.c_str(), W_OK | X_OK) != 0) return Fail_With(error, path, errno), false;
    return true;
}
