// The Print phase's panel: the alignment nudge with its arrows (Shift: the
// big step) and where it stands, the name and sizes of the disc in a
// direct printer's tray, the jobs of Amtren disc publishers (FlexStick
// folder, FlexLabel print file) with their density, grey, speed and burn
// settings, the LaserJet centring of narrow paper, the copies, Print (the
// system print dialog), Save as PDF, Test Page and the printer to use. A
// printing dialog with Stop shows each page while a job runs.
#pragma once
#include <QtWidgets/QWidget>

#include <functional>
#include <vector>

#include "base/notice.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QVBoxLayout;
class a_printing_dialog;
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
    // The folder a FlexStick job is written to when no stick is mounted,
    // asked with a folder dialog titled `title` unless replaced (tests);
    // empty cancels.
    std::function<QString(const QString& title)> ask_folder;
    void Refresh();  // the nudge shown again

    static bool Print_With_Dialog();
    bool Save_As_PDF();
    static bool Choose_Printer(QWidget* parent);

private:
    void Build_Publisher(QVBoxLayout* column);
    QLabel* nudge_;
    QLabel* printer_;
    QLabel* media_name_;
    QWidget* media_;
    std::vector<a_slider_widget*> media_sliders_;
    std::vector<a_slider_widget*> option_sliders_;
    QWidget* publisher_;
    QWidget* stick_;  // the FlexStick's own settings
    QPushButton* write_stick_;
    QPushButton* write_label_;
    QCheckBox* gray_;
    QCheckBox* laserjet_;
    a_printing_dialog* printing_;
    a_listener_token nudged_token_ = 0, folder_token_ = 0;
};
