// The printing dialog: while a job runs it says which page is printed, of
// how many, and offers Stop, which ends the job (the printer layer's abort).
// It blocks the rest of the window, so that nothing can start a second job
// while the first one takes its events. While it lives it answers the
// printing code's dialog service.
#pragma once
#include <QtWidgets/QDialog>

#include "base/notice.h"

class QLabel;
class QProgressBar;
class QPushButton;

class a_printing_dialog : public QDialog {
    Q_OBJECT
public:
    explicit a_printing_dialog(QWidget* parent = nullptr);
    ~a_printing_dialog() override;

signals:
    // Printing of page `page` of `pages` begins (once per page).
    void Page_Shown(int page, int pages);

private:
    void Step(int page, int pages);
    QLabel* text_;
    QProgressBar* bar_;
    QPushButton* stop_;
    int shown_page_ = 0;
    a_listener_token token_ = 0;
};
