#include "platform/files.h"

#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QFileInfo>
#include <QtCore/QStandardPaths>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <new>

#include <fcntl.h>
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

// A save replaces what a symbolic link points at, not the link itself.
std::string Resolve_Target(const std::string& path) {
    char buf[PATH_MAX];
    struct stat st{};
    if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode) && ::realpath(path.c_str(), buf))
        return buf;
    return path;
}

std::string Folder_Of(const std::string& path) {
    size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// A new file beside the target that no one else has, with the mode a new
// file gets (the umask applies) or the mode of the file it replaces; a
// private file is readable and writable by its owner only, whatever it replaces.
int Create_Temporary(const std::string& target, bool private_file, std::string& temp, int& err) {
    static std::atomic<unsigned> counter{0};
    struct stat st{};
    bool existing = ::stat(target.c_str(), &st) == 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        temp = target + ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
        int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                        private_file ? 0600 : 0666);
        if (fd >= 0) {
            if (existing && !private_file)
                (void)::fchmod(fd, st.st_mode & 07777);  // best effort, as editors do
            return fd;
        }
        if (errno != EEXIST) break;
    }
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

namespace {

// `scratch`: owner-only, and no syncs (see File_SaveScratch).
bool Save_Atomic(const std::string& path, const void* data, size_t size, bool scratch, std::string* error) {
    std::string target = Resolve_Target(path), temp;
    int err = 0;
    int fd = Create_Temporary(target, scratch, temp, err);
    if (fd < 0) {
        Fail_With(error, path, err);
        return false;
    }
    a_fd file(fd);
    // fdatasync is not enough: a new file's size is metadata it may skip.
    bool ok = Write_All(fd, static_cast<const char*>(data), size, err);
    if (ok && !scratch && ::fsync(fd) != 0) ok = false, err = errno;
    if (ok && !file.Close()) ok = false, err = errno;
    if (ok && ::rename(temp.c_str(), target.c_str()) != 0) ok = false, err = errno;
    if (!ok) {
        (void)::unlink(temp.c_str());  // the target was never touched; the leftover is ours
        Fail_With(error, path, err);
        return false;
    }
    if (!scratch && !Sync_Folder(Folder_Of(target), err)) {
        if (error) *error = path + ": written, but its folder could not be synced: " + std::strerror(err);
        return false;
    }
    return true;
}

}  // namespace

bool File_SaveAtomic(const std::string& path, const void* data, size_t size, std::string* error) {
    return Save_Atomic(path, data, size, false, error);
}

bool File_SaveScratch(const std::string& path, const void* data, size_t size, std::string* error) {
    return Save_Atomic(path, data, size, true, error);
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
