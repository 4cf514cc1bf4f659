#include "platform/app.h"

#include <QtCore/QLocale>
#include <QtGui/QGuiApplication>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <mutex>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

int g_argc = 1;
char g_arg0[] = "cirquel";
char* g_argv[] = {g_arg0, nullptr};
std::unique_ptr<QCoreApplication> g_app;
bool g_headless = true;

std::mutex g_log_mutex;

// The standard error stream while decoders run: how many are running and
// where the stream was before the first of them.
std::mutex g_quiet_mutex;
int g_quiet_depth = 0;
int g_saved_stderr = -1;

const char* Debug_Log() {
    const char* log = std::getenv("CIRQUEL_DEBUG_LOG");
    return log && *log ? log : nullptr;
}

// The toolkit and the libraries under it (libpng, libtiff) report through
// Qt's messages: warnings on files that read well, a dozen lines before a
// refusal. The user hears from the program only, one line per refusal; the
// chatter goes to the file named by CIRQUEL_DEBUG_LOG when there is one.
void Quiet_Handler(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtFatalMsg) {  // the toolkit ends the process after this
        std::fprintf(stderr, "cirquel: %s\n", text.toLocal8Bit().constData());
        return;
    }
    const char* log = Debug_Log();
    if (!log) return;
    std::lock_guard<std::mutex> lock(g_log_mutex);
    if (std::FILE* f = std::fopen(log, "a")) {
        std::fprintf(f, "%s\n", qFormatLogMessage(type, context, text).toLocal8Bit().constData());
        std::fclose(f);
    }
}

}  // namespace

bool Platform_Init(bool headless, bool drawing) {
    qInstallMessageHandler(Quiet_Handler);
    // A file past the user's size limit is a failed write that the save
    // reports, as a full disk is, not the end of the program and its document.
    std::signal(SIGXFSZ, SIG_IGN);
    if (QCoreApplication* running = QCoreApplication::instance()) {
        // The GUI made its own application, or this one is already enough.
        if (running != g_app.get() || !drawing || qobject_cast<QGuiApplication*>(running)) return true;
        g_app.reset();  // a light start is followed by one that draws
    }
    g_headless = headless;
    if (headless) qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        // Qt wants a private runtime folder; make the one it would pick, quietly.
        QByteArray dir = "/tmp/runtime-" + QByteArray::number(getuid());
        mkdir(dir.constData(), 0700);
        qputenv("XDG_RUNTIME_DIR", dir);
    }
    // Without drawing, the core application spares the platform plugin and
    // its font set-up: a third of a short command's run.
    if (drawing) g_app = std::make_unique<QGuiApplication>(g_argc, g_argv);
    else g_app = std::make_unique<QCoreApplication>(g_argc, g_argv);
    return true;
}

void Platform_Stop() { g_app.reset(); }

bool Platform_IsHeadless() { return g_headless; }

a_quiet_stderr::a_quiet_stderr() {
    std::lock_guard<std::mutex> lock(g_quiet_mutex);
    if (g_quiet_depth++ > 0) return;
    std::fflush(stderr);
    const char* log = Debug_Log();
    int fd = log ? open(log, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644) : -1;
    if (fd < 0) fd = open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (fd < 0) return;  // the chatter shows; nothing else is lost
    g_saved_stderr = fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 0);
    if (g_saved_stderr >= 0) (void)dup2(fd, STDERR_FILENO);  // on failure the stream stays
    close(fd);
}

a_quiet_stderr::~a_quiet_stderr() {
    std::lock_guard<std::mutex> lock(g_quiet_mutex);
    if (--g_quiet_depth > 0 || g_saved_stderr < 0) return;
    std::fflush(stderr);
    (void)dup2(g_saved_stderr, STDERR_FILENO);  // the saved descriptor is valid: it was just made
    close(g_saved_stderr);
    g_saved_stderr = -1;
}

std::string Platform_Locale_Name() { return QLocale::system().name().toStdString(); }

std::vector<std::string> Platform_Message_Locales() {
    auto env = [](const char* name) {
        const char* v = std::getenv(name);
        return std::string(v ? v : "");
    };
    std::string locale = env("LC_ALL");
    if (locale.empty()) locale = env("LC_MESSAGES");
    if (locale.empty()) locale = env("LANG");
    std::vector<std::string> out;
    const bool plain = locale.empty() || locale == "C" || locale == "POSIX" ||
                       locale.rfind("C.", 0) == 0;
    if (!plain) {
        std::string list = env("LANGUAGE");
        for (size_t start = 0; start <= list.size();) {
            size_t end = list.find(':', start);
            if (end == std::string::npos) end = list.size();
            if (end > start) out.push_back(list.substr(start, end - start));
            start = end + 1;
        }
    }
    if (!locale.empty()) out.push_back(locale);
    return out;
}
