#include "gui_app.h"

#include <QtGui/QScreen>
#include <QtWidgets/QApplication>

#include <cstdio>

#include "app_icon.h"
#include "base/messages.h"
#include "base/prefs.h"
#include "base/string_ids.h"
#include "dialogs/dialogs_qt.h"
#include "instance.h"
#include "language.h"
#include "main_window.h"
#include "persist/file_cmds.h"
#include "platform/process.h"
#include "shell/mainloop.h"
#include "shell/recovery.h"
#include "shell/startup.h"
#include "shell/window_pos.h"
#include "ui/interface.h"
#include "window_host.h"

namespace {

bool g_interactive = false;

std::vector<std::string> Std_Args(const QStringList& list) {
    std::vector<std::string> out;
    for (const QString& a : list) out.push_back(a.toStdString());
    return out;
}

Rect To_Rect(const QRect& r) {
    return Rect{int16_t(r.top()), int16_t(r.left()), int16_t(r.bottom() + 1), int16_t(r.right() + 1)};
}

// The saved bounds when a screen there now shows them with their title bar,
// else the default place on the primary screen.
void Place_Window(QWidget& w) {
    QScreen* primary = QGuiApplication::primaryScreen();
    if (!primary) return;
    std::vector<Rect> screens{To_Rect(primary->availableGeometry())};
    for (QScreen* s : QGuiApplication::screens())
        if (s != primary) screens.push_back(To_Rect(s->availableGeometry()));
    const Rect r = Restored_WindowPos(g_pref.tot_window, screens);
    w.setGeometry(r.left, r.top, Rect_Width(r), Rect_Height(r));
}

void Log_Messages(const a_shell_command& cmd) {
    for (const a_shell_message& m : cmd.messages)
        std::fprintf(stderr, "cirquel: %s: %s\n", m.caption.c_str(), m.text.c_str());
}

}  // namespace

bool Gui_Start(const a_gui_options& options) {
    g_interactive = options.interactive;
    a_startup_options o;
    o.headless = false;
    o.open_art = options.open_art;
    o.register_types = options.register_types;
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        o.screen_width = screen->geometry().width();
        o.screen_height = screen->geometry().height();
    }
    // The start's own alerts (a small screen, a damaged art file) are windows.
    if (g_interactive) Dialogs_Qt_Install();
    if (!Shell_Start(o)) {
        (void)Shell_Write_Prefs();
        if (g_interactive) Dialogs_Qt_Remove();
        return false;
    }
    gs.curr_phase = NODOC_PHASE;
    Gui_Apply_Language();
    return true;
}

void Gui_Stop() {
    (void)Shell_Write_Prefs();
    if (g_interactive) Dialogs_Qt_Remove();
    Shell_Stop();
    g_normal_quit = true;
}

int Gui_Main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("cirquel");
    QApplication::setApplicationDisplayName("Cirquel");
    QApplication::setApplicationVersion(CIRQUEL_VERSION);
    QApplication::setWindowIcon(App_Icon());
    QStringList args = app.arguments().mid(1);

    a_single_instance instance(a_single_instance::Default_Folder());
    if (!instance.Claim()) {
        if (instance.Hand_Over(args)) return 0;
        std::fprintf(stderr, "cirquel: another copy is running but did not take the command line\n");
        return 1;
    }
    if (!Gui_Start(a_gui_options{})) return 1;
    a_shell_command cmd = Parse_Shell_Args(Std_Args(args));
    Log_Messages(cmd);
    if (cmd.action == a_shell_action::END || cmd.action == a_shell_action::PRINT) {
        Tell_Shell_Messages(cmd);
        // Printing from the file manager: the project is read, printed and
        // closed; its failures are told by alerts.
        if (cmd.action == a_shell_action::PRINT) Do_File_Print(cmd.path);
        Gui_Stop();
        return 0;
    }
    int status;
    {
        a_window_host host;
        Place_Window(host.Window());
        host.Window().show();
        if (cmd.action == a_shell_action::OPEN) host.Window().Run_Shell_Command(cmd);
        else if (Recovery_Offer(Recovery_Folder(User_Data_Home())) == 0)
            (void)Recovery_Offer(Recovery_Fallback_Folder());
        QObject::connect(&instance, &a_single_instance::Command_Received, &instance,
                         [&host](const QStringList& args) { host.Window().Take_Forwarded(args); });
        status = app.exec();
        g_pref.tot_window = To_Rect(host.Window().geometry());
    }
    Gui_Stop();
    return status;
}
