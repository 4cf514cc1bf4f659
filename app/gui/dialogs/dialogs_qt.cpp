#include "dialogs/dialogs_qt.h"

#include <QtWidgets/QApplication>
#include <QtWidgets/QMessageBox>
#include <QtWidgets/QPushButton>

#include "platform/dialogs.h"

namespace {

int Present(const a_dialog_request& r) {
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(QApplication::applicationDisplayName());
    box.setText(QString::fromStdString(r.message));
    box.setIcon(r.buttons.size() > 1 ? QMessageBox::Question : QMessageBox::Information);
    std::vector<QPushButton*> buttons;
    for (size_t i = 0; i < r.buttons.size(); ++i) {
        QPushButton* b = box.addButton(QString::fromStdString(r.buttons[i]), QMessageBox::ActionRole);
        buttons.push_back(b);
        if (int(i) == r.default_button) box.setDefaultButton(b);
    }
    box.exec();
    for (size_t i = 0; i < buttons.size(); ++i)
        if (box.clickedButton() == buttons[i]) return int(i);
    return r.default_button;  // closed by the window manager
}

}  // namespace

void Dialogs_Qt_Install() { Dialog_SetPresenter(Present); }
void Dialogs_Qt_Remove() { Dialog_SetPresenter(nullptr); }
