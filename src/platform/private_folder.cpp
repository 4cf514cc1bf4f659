#include "platform/private_folder.h"

#include <array>
#include <cctype>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include "platform/files.h"

namespace {

// Fixed storage, so the signal handler reads it without allocating.
char g_folder[PATH_MAX] = {};

constexpr std::array<int, 4> kSignals = {SIGHUP, SIGINT, SIGQUIT, SIGTERM};
struct sigaction g_old_actions[kSignals.size()];
bool g_handlers_installed = false;

// Only system calls that are safe inside a signal handler: the folder is
// flat (the undo files and a save's temporary), so one level is enough.
void Remove_Flat_Folder(const char* folder) {
    int fd = ::open(folder, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    alignas(8) char buf[4096];
    for (;;) {
        long n = ::syscall(SYS_getdents64, fd, buf, sizeof buf);
        if (n <= 0) break;
        for (long pos = 0; pos < n;) {
            struct linux_dirent64 {
                ino64_t d_ino;
                off64_t d_off;
                unsigned short d_reclen;
                unsigned char d_type;
                char d_name[1];
            };
            auto* d = reinterpret_cast<linux_dirent64*>(buf + pos);
            const char* name = d->d_name;
            bool dot = name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0));
            if (!dot) (void)::unlinkat(fd, name, 0);
            pos += d->d_reclen;
        }
    }
    ::close(fd);
    (void)::rmdir(folder);
}

// Removes the folder, then lets the signal do what it did before (it is
// blocked while this runs, so it arrives once the handler returns).
void On_Signal(int sig) {
    int saved = errno;
    if (g_folder[0]) Remove_Flat_Folder(g_folder);
    for (size_t i = 0; i < kSignals.size(); ++i)
        if (kSignals[i] == sig) ::sigaction(sig, &g_old_actions[i], nullptr);
    ::raise(sig);
    errno = saved;
}

// Only over the default action: a signal that is ignored, or handled by
// someone else, does not end the program here.
void Install_Handlers() {
    if (g_handlers_installed) return;
    g_handlers_installed = true;
    for (size_t i = 0; i < kSignals.size(); ++i) {
        struct sigaction old{};
        if (::sigaction(kSignals[i], nullptr, &old) != 0 || old.sa_handler != SIG_DFL ||
            (old.sa_flags & SA_SIGINFO))
            continue;
        struct sigaction act{};
        act.sa_handler = On_Signal;
        sigemptyset(&act.sa_mask);
        act.sa_flags = SA_RESETHAND;
        if (::sigaction(kSignals[i], &act, &g_old_actions[i]) != 0) g_old_actions[i] = old;
    }
}

// $XDG_RUNTIME_DIR counts only when it is an absolute path to a folder of
// the running user that no one else may enter.
std::string Parent_Folder_Of_Run() {
    const char* run = std::getenv("XDG_RUNTIME_DIR");
    struct stat st{};
    if (run && run[0] == '/' && ::stat(run, &st) == 0 && S_ISDIR(st.st_mode) &&
        st.st_uid == ::getuid() && (st.st_mode & 077) == 0)
        return run;
    return Temp_Folder();
}

// "cirquel-PID-XXXXXX": the process id, or 0 for any other name.
long Folder_Pid(const char* name) {
    if (std::strncmp(name, "cirquel-", 8) != 0) return 0;
    const char* p = name + 8;
    char* end = nullptr;
    long pid = std::strtol(p, &end, 10);
    if (end == p || !std::isdigit(static_cast<unsigned char>(*p)) || *end != '-' || std::strlen(end + 1) != 6)
        return 0;
    return pid;
}

}  // namespace

std::string Private_Folder_Parent() { return Parent_Folder_Of_Run(); }

int Private_Folders_Sweep() {
    const std::string parent = Parent_Folder_Of_Run();
    DIR* dir = ::opendir(parent.c_str());
    if (!dir) return 0;
    int removed = 0;
    while (const dirent* d = ::readdir(dir)) {
        long pid = Folder_Pid(d->d_name);
        if (pid <= 0 || pid == ::getpid() || ::kill(pid_t(pid), 0) == 0 || errno != ESRCH) continue;
        struct stat st{};
        std::string path = parent + "/" + d->d_name;
        // Only a folder of ours, as mkdtemp made it.
        if (::lstat(path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::getuid() ||
            (st.st_mode & 077) != 0)
            continue;
        Remove_Flat_Folder(path.c_str());
        removed += ::access(path.c_str(), F_OK) != 0;
    }
    ::closedir(dir);
    return removed;
}

std::string Private_Folder() {
    if (g_folder[0]) return g_folder;
    std::string templ = Parent_Folder_Of_Run() + "/cirquel-" + std::to_string(::getpid()) + "-XXXXXX";
    if (templ.size() >= sizeof g_folder) return {};
    char buf[PATH_MAX];
    std::memcpy(buf, templ.c_str(), templ.size() + 1);
    if (!::mkdtemp(buf)) return {};  // mkdtemp makes it 0700
    Install_Handlers();
    std::memcpy(g_folder, buf, templ.size() + 1);
    return g_folder;
}

void Private_Folder_Remove() {
    if (!g_folder[0]) return;
    Remove_Flat_Folder(g_folder);
    g_folder[0] = 0;
}
