// The Print phase's panel: the alignment nudge with its arrows (Shift: the
// big step) and where it stands, the name and sizes of the disc in a
// direct printer's tray, Print (the system print dialog), Save as
// PDF, Test Page and the printer to use.
#pragma once
#include <QtWidgets/QWidget>

#include <functional>
#include <vector>

#include "base/notice.h"

class QLabel;
class a_slider_widget;

class a_print_panel : public QWidget {
    Q_OBJECT
public:
    explicit a_print_panel(QWidget* parent = nullptr);
    ~a_print_panel() override;
    // Where "Save as PDF" writes; asks with a file dialog unless replaced
    // (tests). An empty answer cancels.
    std::function<QString()> ask_pdf_path;
    // The new name of the medium in a direct printer's tray, asked with a
    // small dialog unless replaced (tests); empty cancels.
    std::function<QString(const QString& current)> ask_media_name;
    void Refresh();  // the nudge shown again

    static bool Print_With_Dialog();
    bool Save_As_PDF();
    static bool Choose_Printer(QWidget* parent);

private:
    QLabel* nudge_;
    QLabel* printer_;
    QLabel* media_name_;
    QWidget* media_;
    std::vector<a_slider_widget*> media_sliders_;
    a_listener_token nudged_token_ = 0;
};
