#include "window_host.h"

#include <QtWidgets/QApplication>

#include "language.h"
#include "main_window.h"

a_window_host::a_window_host() : window_(std::make_unique<a_main_window>()) {
    Gui_Set_Rebuild_Hook([this] { Rebuild(); });
}

a_window_host::~a_window_host() { Gui_Set_Rebuild_Hook(nullptr); }

void a_window_host::Rebuild() {
    const QRect place = window_->geometry();
    const bool shown = window_->isVisible();
    const Qt::WindowStates state = window_->windowState();
    // The old window goes first: it takes its commands and listeners with it.
    const bool quit = QApplication::quitOnLastWindowClosed();
    QApplication::setQuitOnLastWindowClosed(false);
    window_.reset();
    window_ = std::make_unique<a_main_window>();
    window_->setGeometry(place);
    window_->setWindowState(state);
    if (shown) window_->show();
    QApplication::setQuitOnLastWindowClosed(quit);
}
