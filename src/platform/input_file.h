// Opening outside data. Every file the program reads but did not write itself
// (projects, pictures, art databases, designs, track lists, playlists) is
// opened here: without blocking, since the open of a FIFO waits for a writer
// for ever; then refused unless it is a regular file, since a FIFO or a
// device never ends and a folder has no bytes; then switched back to blocking
// reads. The reason of a refusal is one line, "path: reason".
// Process-wide state: none.
#pragma once
#include <cstdint>
#include <cstdio>
#include <string>

enum class a_input_open { OK, FAILED, NOT_REGULAR };

// An open regular file for reading; the descriptor is closed with the object
// unless it was handed on.
class a_input_file {
public:
    a_input_file() = default;
    ~a_input_file();
    a_input_file(const a_input_file&) = delete;
    a_input_file& operator=(const a_input_file&) = delete;

    [[nodiscard]] a_input_open Open(const std::string& path, std::string* error = nullptr);
    int fd() const { return fd_; }
    int64_t size() const { return size_; }  // at the time of the open
    // Exactly `n` bytes from `pos`; false at the end of the file or on an error.
    [[nodiscard]] bool Read_At(int64_t pos, void* dst, size_t n) const;
    // The descriptor as a stdio stream that owns it from now on; nullptr
    // (and the descriptor still ours) when that fails.
    std::FILE* Release_Stream();
    // The descriptor for an owner of its own (a library that closes it).
    int Release_Fd();

private:
    int fd_ = -1;
    int64_t size_ = 0;
};

// The reason a path cannot be read as outside data, or empty when it can be
// opened as a regular file; the file is not read.
std::string Input_Refusal(const std::string& path);
