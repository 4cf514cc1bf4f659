#include "dialogs/dialogs_qt.h"

#include <QtWidgets/QApplication>
#include <QtWidgets/QMessageBox>
#include <QtWidgets/QPushButton>

#include "platform/dialogs.h"

namespace {

// The button Escape presses: the request's own, else the default.
int Escape_Button(const a_dialog_request& r) {
    const int b = Dialog_KeyButton(r, DKEY_ESCAPE, false);
    return b >= 0 && b < int(r.buttons.size()) ? b : r.default_button;
}

int Present(const a_dialog_request& r) {
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(QApplication::applicationDisplayName());
    box.setText(QString::fromStdString(r.message));
    box.setIcon(r.buttons.size() > 1 ? QMessageBox::Question : QMessageBox::Information);
    const int escape = Escape_Button(r);
    std::vector<QPushButton*> buttons;
    for (size_t i = 0; i < r.buttons.size(); ++i) {
        QPushButton* b = box.addButton(QString::fromStdString(r.buttons[i]), QMessageBox::ActionRole);
        buttons.push_back(b);
        if (int(i) == r.default_button) box.setDefaultButton(b);
        if (int(i) == escape) box.setEscapeButton(b);
    }
    box.exec();
    for (size_t i = 0; i < buttons.size(); ++i)
        if (box.clickedButton() == buttons[i]) return int(i);
    return escape;  // closed by the window manager: as Escape
}

}  // namespace

void Dialogs_Qt_Install() { Dialog_SetPresenter(Present); }
void Dialogs_Qt_Remove() { Dialog_SetPresenter(nullptr); }
