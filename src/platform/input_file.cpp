#include "platform/input_file.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const char* Kind_Of(mode_t mode) {
    if (S_ISDIR(mode)) return "a folder";
    if (S_ISFIFO(mode)) return "a FIFO";
    if (S_ISCHR(mode) || S_ISBLK(mode)) return "a device";
    if (S_ISSOCK(mode)) return "a socket";
    return "a special file";
}

a_input_open Fail(std::string* error, const std::string& path, const std::string& why, a_input_open r) {
    if (error) *error = path + ": " + why;
    return r;
}

}  // namespace

a_input_file::~a_input_file() {
    if (fd_ >= 0) ::close(fd_);
}

a_input_open a_input_file::Open(const std::string& path, std::string* error) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    size_ = 0;
    int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return Fail(error, path, std::strerror(errno), a_input_open::FAILED);
    struct stat st{};
    if (::fstat(fd, &st) != 0) {
        int err = errno;
        ::close(fd);
        return Fail(error, path, std::strerror(err), a_input_open::FAILED);
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        return Fail(error, path, std::string("not a regular file (") + Kind_Of(st.st_mode) + ")",
                    a_input_open::NOT_REGULAR);
    }
    // A regular file never blocks, but a descriptor handed to a library
    // should behave as an ordinary one.
    int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        int err = errno;
        ::close(fd);
        return Fail(error, path, std::strerror(err), a_input_open::FAILED);
    }
    fd_ = fd;
    size_ = int64_t(st.st_size);
    return a_input_open::OK;
}

bool a_input_file::Read_At(int64_t pos, void* dst, size_t n) const {
    auto* p = static_cast<uint8_t*>(dst);
    while (n > 0) {
        ssize_t got = ::pread(fd_, p, n, off_t(pos));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return false;
        p += got;
        pos += got;
        n -= size_t(got);
    }
    return true;
}

std::FILE* a_input_file::Release_Stream() {
    std::FILE* f = fdopen(fd_, "rb");
    if (f) fd_ = -1;
    return f;
}

int a_input_file::Release_Fd() {
    int fd = fd_;
    fd_ = -1;
    return fd;
}

std::string Input_Refusal(const std::string& path) {
    a_input_file file;
    std::string error;
    return file.Open(path, &error) == a_input_open::OK ? std::string() : error;
}
