// Limits the size of files this process may write while it lives, so that a
// write fails part-way as on a full disk (it binds root too, unlike folder
// permissions).
#pragma once
#include <csignal>
#include <sys/resource.h>

class a_file_size_limit {
public:
    explicit a_file_size_limit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        signal(SIGXFSZ, SIG_IGN);
        rlimit small = saved_;
        small.rlim_cur = bytes;
        ok_ = setrlimit(RLIMIT_FSIZE, &small) == 0;
    }
    ~a_file_size_limit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        signal(SIGXFSZ, SIG_DFL);
    }
    a_file_size_limit(const a_file_size_limit&) = delete;
    a_file_size_limit& operator=(const a_file_size_limit&) = delete;
    bool ok() const { return ok_; }

private:
    rlimit saved_{};
    bool ok_ = false;
};
