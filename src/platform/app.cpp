#include "platform/app.h"

#include <QtCore/QLocale>
#include <QtGui/QGuiApplication>

#include <memory>

#include <sys/stat.h>
#include <unistd.h>

namespace {

int g_argc = 1;
char g_arg0[] = "cirquel";
char* g_argv[] = {g_arg0, nullptr};
std::unique_ptr<QGuiApplication> g_app;
bool g_headless = true;

}  // namespace

bool Platform_Init(bool headless) {
    if (QCoreApplication::instance()) return true;  // the GUI made its own application
    g_headless = headless;
    if (headless) qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        // Qt wants a private runtime folder; make the one it would pick, quietly.
        QByteArray dir = "/tmp/runtime-" + QByteArray::number(getuid());
        mkdir(dir.constData(), 0700);
        qputenv("XDG_RUNTIME_DIR", dir);
    }
    g_app = std::make_unique<QGuiApplication>(g_argc, g_argv);
    return true;
}

void Platform_Stop() { g_app.reset(); }

bool Platform_IsHeadless() { return g_headless; }

std::string Platform_Locale_Name() { return QLocale::system().name().toStdString(); }
