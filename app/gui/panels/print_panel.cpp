#include "panels/print_panel.h"

#include <QtCore/QStandardPaths>
#include <QtWidgets/QApplication>
#include <QtWidgets/QCheckBox>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QDialog>
#include <QtWidgets/QDialogButtonBox>
#include <QtWidgets/QFileDialog>
#include <QtWidgets/QGridLayout>
#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QInputDialog>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QMessageBox>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QToolButton>
#include <QtWidgets/QVBoxLayout>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "dialogs/file_dialogs.h"
#include "look.h"
#include "base/messages.h"
#include "base/string_ids.h"
#include "model/doc_media.h"
#include "model/document.h"
#include "persist/file_cmds.h"
#include "platform/printer.h"
#include "print/print_adjust.h"
#include "print/flex_jobs.h"
#include "print/print_doc.h"
#include "dialogs/printing_dialog.h"
#include "shell/mainloop.h"
#include "widgets/slider_widget.h"
#include "tracks/media_name.h"
#include "ui/print_sliders.h"

namespace {

bool Shift() { return QApplication::keyboardModifiers() & Qt::ShiftModifier; }

// Runs one step of the print panel as one action of the program.
template <typename F>
auto Act(F f) {
    Interaction_Begin();
    auto result = f();
    Interaction_End();
    return result;
}

QString Nudge_Text() {
    a_print_media_spec media;
    Get_Media_Specs(media);
    std::string h, v;
    To_MM_Str(h, std::abs(media.nudge.h));
    To_MM_Str(v, std::abs(media.nudge.v));
    QString across = media.nudge.h == 0 ? QObject::tr("not moved across")
                     : media.nudge.h > 0 ? QObject::tr("%1 to the right").arg(QString::fromStdString(h))
                                         : QObject::tr("%1 to the left").arg(QString::fromStdString(h));
    QString down = media.nudge.v == 0 ? QObject::tr("not moved up or down")
                   : media.nudge.v > 0 ? QObject::tr("%1 down").arg(QString::fromStdString(v))
                                       : QObject::tr("%1 up").arg(QString::fromStdString(v));
    return across + "\n" + down;
}

QString Printer_Text() {
    std::string chosen = Printer_Chosen();
    if (!chosen.empty()) return QString::fromStdString(chosen);
    for (const a_printer_desc& p : Printer_List())
        if (p.is_default) return QObject::tr("%1 (default)").arg(QString::fromStdString(p.name));
    return QObject::tr("No printer is set up");
}

// "Media name:" with a field of up to 63 characters; OK only while it is
// not empty. The new name, or empty when cancelled.
QString Ask_Media_Name_Dialog(QWidget* parent, const QString& current) {
    QDialog d(parent);
    d.setWindowTitle(QObject::tr("Media name"));
    auto* column = new QVBoxLayout(&d);
    column->addWidget(new QLabel(QObject::tr("Media name:")));
    auto* field = new QLineEdit(current);
    field->setMaxLength(MEDIA_NAME_MAX);
    column->addWidget(field);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    column->addWidget(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &d, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &d, &QDialog::reject);
    auto allow = [buttons, field] { buttons->button(QDialogButtonBox::Ok)->setEnabled(!field->text().isEmpty()); };
    QObject::connect(field, &QLineEdit::textChanged, &d, allow);
    allow();
    return d.exec() == QDialog::Accepted ? field->text() : QString();
}

}  // namespace

a_print_panel::a_print_panel(QWidget* parent) : QWidget(parent) {
    setObjectName("printPanel");
    ask_pdf_path = [this](const QString& proposed) {
        QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        return Ask_Save_Path(this, tr("Save as PDF"), folder + "/" + proposed, tr("PDF documents (*.pdf)"),
                             "pdf");
    };
    ask_media_name = [this](const QString& current) { return Ask_Media_Name_Dialog(this, current); };
    ask_folder = [this](const QString& title) { return QFileDialog::getExistingDirectory(this, title); };
    folder_token_ = g_flex_folder_choice.Install([this](const std::string& title) {
        return ask_folder ? ask_folder(QString::fromStdString(title)).toStdString() : std::string();
    });
    printing_ = new a_printing_dialog(this);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(10, 4, 10, 10);
    column->setSpacing(6);

    column->addWidget(Panel_Heading(tr("Alignment")));
    auto* note = new QLabel(tr("If a test page prints off centre, move the print the same way. "
                               "Shift moves it further."));
    note->setWordWrap(true);
    note->setStyleSheet(Soft_Text_Style());
    column->addWidget(note);
    auto* pad = new QWidget;
    auto* grid = new QGridLayout(pad);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(2);
    auto arrow = [&](const char* name, const QString& text, const QString& tip, int r, int c,
                     std::function<bool(bool)> step) {
        auto* b = new QToolButton;
        b->setObjectName(name);
        b->setText(text);
        b->setToolTip(tip);
        b->setFixedSize(34, 30);
        b->setAutoRepeat(true);
        grid->addWidget(b, r, c);
        connect(b, &QToolButton::clicked, this, [step] { Act([&] { return step(Shift()); }); });
    };
    arrow("nudgeUp", QStringLiteral("▲"), tr("Move the print up"), 0, 1, Print_Nudge_U);
    arrow("nudgeLeft", QStringLiteral("◀"), tr("Move the print left"), 1, 0, Print_Nudge_L);
    arrow("nudgeCentre", QStringLiteral("●"), tr("Back to the middle"), 1, 1, [](bool) { return Print_Nudge_0(); });
    arrow("nudgeRight", QStringLiteral("▶"), tr("Move the print right"), 1, 2, Print_Nudge_R);
    arrow("nudgeDown", QStringLiteral("▼"), tr("Move the print down"), 2, 1, Print_Nudge_D);
    auto* centre = new QHBoxLayout;
    centre->addStretch(1);
    centre->addWidget(pad);
    centre->addStretch(1);
    column->addLayout(centre);
    nudge_ = new QLabel;
    nudge_->setObjectName("nudgeText");
    nudge_->setAlignment(Qt::AlignCenter);
    column->addWidget(nudge_);

    // Direct disc printers: the sizes of the medium in the tray.
    media_ = new QWidget;
    auto* media = new QVBoxLayout(media_);
    media->setContentsMargins(0, 0, 0, 0);
    media->addWidget(Panel_Heading(tr("Disc in the printer")));
    auto* name_row = new QHBoxLayout;
    media_name_ = new QLabel;
    media_name_->setObjectName("mediaNameShown");
    auto* rename = new QPushButton(tr("Rename…"));
    rename->setObjectName("mediaName");
    rename->setToolTip(tr("The name under which this disc's settings are kept"));
    name_row->addWidget(media_name_, 1);
    name_row->addWidget(rename);
    media->addLayout(name_row);
    connect(rename, &QPushButton::clicked, this, [this] {
        const QString name = ask_media_name ? ask_media_name(media_name_->text()) : QString();
        if (!name.isEmpty() && Act([&] { return Media_Name_Store(name.toStdU16String()); })) Refresh();
    });
    auto* sizes = new QLabel(tr("Sizes in tenths of a millimetre."));
    sizes->setStyleSheet(Soft_Text_Style());
    media->addWidget(sizes);
    for (a_slider_enum s : {PRINT_INNERD_SLIDER, PRINT_OUTERD_SLIDER, PRINT_BIZSIDE_SLIDER, PRINT_WIDTH_SLIDER,
                            PRINT_HEIGHT_SLIDER}) {
        auto* w = new a_slider_widget(s);
        media->addWidget(w);
        media_sliders_.push_back(w);
    }
    column->addWidget(media_);
    Print_Sliders_Attach();
    Build_Publisher(column);

    column->addWidget(Panel_Heading(tr("Printer")));
    printer_ = new QLabel;
    printer_->setWordWrap(true);
    column->addWidget(printer_);
    auto button = [&](const char* name, const QString& text, const QString& tip) {
        auto* b = new QPushButton(text);
        b->setObjectName(name);
        b->setToolTip(tip);
        b->setMinimumHeight(30);
        column->addWidget(b);
        return b;
    };
    laserjet_ = new QCheckBox(tr("Centred narrow paper"));
    laserjet_->setObjectName("laserjetToggle");
    laserjet_->setToolTip(tr("For LaserJet printers, which take paper narrower than A4 in the middle of a Letter-wide path"));
    column->addWidget(laserjet_);
    connect(laserjet_, &QCheckBox::toggled, this,
            [](bool on) { Act([&] { Print_Toggle_Set(LASERJET_TOGGLE, on); return true; }); });
    auto* copies = new a_slider_widget(PRINT_NCOPIES_SLIDER);
    column->addWidget(copies);
    option_sliders_.push_back(copies);
    QPushButton* choose = button("choosePrinter", tr("Choose Printer…"), tr("Choose the printer the sheet goes to"));
    QPushButton* test = button("testPage", tr("Print Test Page"),
                               tr("Print a test page on plain paper, to hold against a label sheet"));
    column->addSpacing(8);
    QPushButton* print = button("printSheet", tr("Print…"), tr("Print the sheet on the printer"));
    print->setDefault(true);
    print->setStyleSheet("QPushButton { font-weight: bold; }");
    QPushButton* pdf = button("saveAsPdf", tr("Save as PDF…"), tr("Keep the sheet as a PDF file"));
    QPushButton* test_pdf =
        button("testPagePdf", tr("Save Test Page as PDF…"), tr("Keep the test page as a PDF file"));
    auto* dpi_row = new QHBoxLayout;
    auto* dpi_label = new QLabel(tr("PDF resolution"));
    pdf_dpi_ = new QComboBox;
    pdf_dpi_->setObjectName("pdfResolution");
    for (int dpi : EXPORT_DPIS) pdf_dpi_->addItem(tr("%1 dpi").arg(dpi), dpi);
    pdf_dpi_->setToolTip(tr("600 dpi for the finest print, 300 dpi for a smaller file"));
    dpi_label->setBuddy(pdf_dpi_);
    dpi_row->addWidget(dpi_label);
    dpi_row->addWidget(pdf_dpi_, 1);
    column->addLayout(dpi_row);
    column->addStretch(1);

    connect(choose, &QPushButton::clicked, this, [this] {
        Choose_Printer(this);
        Refresh();
    });
    connect(test, &QPushButton::clicked, this, [] { Act(Print_Test); });
    connect(print, &QPushButton::clicked, this, [] { Print_With_Dialog(); });
    connect(pdf, &QPushButton::clicked, this, [this] { Save_As_PDF(); });
    connect(test_pdf, &QPushButton::clicked, this, [this] { Save_As_PDF(true); });
    nudged_token_ = g_print_nudged.Subscribe([this] { Refresh(); });
    Refresh();
}

a_print_panel::~a_print_panel() {
    g_print_nudged.Unsubscribe(nudged_token_);
    g_flex_folder_choice.Remove(folder_token_);
}

void a_print_panel::Build_Publisher(QVBoxLayout* column) {
    publisher_ = new QWidget;
    publisher_->setObjectName("publisher");
    auto* box = new QVBoxLayout(publisher_);
    box->setContentsMargins(0, 0, 0, 0);
    box->addWidget(Panel_Heading(tr("Disc publisher")));
    auto* density = new a_slider_widget(FLEX_DENSITY_SLIDER);
    box->addWidget(density);
    option_sliders_.push_back(density);
    gray_ = new QCheckBox(tr("Print in grey"));
    gray_->setObjectName("flexGrayToggle");
    box->addWidget(gray_);
    connect(gray_, &QCheckBox::toggled, this,
            [](bool on) { Act([&] { Print_Toggle_Set(FLEX_GRAY_TOGGLE, on); return true; }); });

    // A FlexStick carries the burn settings with the label.
    stick_ = new QWidget;
    auto* stick = new QVBoxLayout(stick_);
    stick->setContentsMargins(0, 0, 0, 0);
    auto* speed = new a_slider_widget(FLEX_SPEED_SLIDER);
    stick->addWidget(speed);
    option_sliders_.push_back(speed);
    auto flag = [&](const char* name, const QString& text, bool a_print_options::*field) {
        auto* b = new QCheckBox(text);
        b->setObjectName(name);
        b->setChecked(g_print_options.*field);
        stick->addWidget(b);
        connect(b, &QCheckBox::toggled, this, [field](bool on) { g_print_options.*field = on; });
    };
    flag("flexBurn", tr("Burn the disc"), &a_print_options::flex_burn);
    flag("flexVerify", tr("Verify after burning"), &a_print_options::flex_verify);
    box->addWidget(stick_);

    write_stick_ = new QPushButton(tr("Write FlexStick Job…"));
    write_stick_->setObjectName("writeFlexStick");
    write_stick_->setToolTip(tr("The ticket, preview and label onto the FlexStix, or into a folder you choose"));
    box->addWidget(write_stick_);
    write_label_ = new QPushButton(tr("Write FlexLabel Print File"));
    write_label_->setObjectName("writeFlexLabel");
    write_label_->setToolTip(tr("FlexWare Files/Print Files/Output.prn in your documents folder"));
    box->addWidget(write_label_);
    connect(write_stick_, &QPushButton::clicked, this, [] { Act(FlexStick_Write_Job); });
    connect(write_label_, &QPushButton::clicked, this, [] { Act([] { return FlexLabel_Write_Job(); }); });
    column->addWidget(publisher_);
}

void a_print_panel::Refresh() {
    nudge_->setText(Nudge_Text());
    printer_->setText(Printer_Text());
    Print_Sliders_Load();
    std::vector<a_slider_enum> shown = Print_Adjust_Sliders();
    for (a_slider_widget* w : media_sliders_) {
        w->setVisible(std::find(shown.begin(), shown.end(), w->Slider()) != shown.end());
        w->Show_Value();
    }
    media_->setVisible(!shown.empty());
    if (!shown.empty()) media_name_->setText(QString::fromStdU16String(Media_Name_Current().name));

    Print_Options_Load();
    for (a_slider_widget* w : option_sliders_) w->Show_Value();
    const uint32_t tflags = g_doc.doc_open ? g_doc.doc_template.tflags : 0;
    const bool stick = Has_Flag(tflags, IS_FLEXSTICK), label = Has_Flag(tflags, IS_FLEXLABEL);
    publisher_->setVisible(stick || label);
    stick_->setVisible(stick);
    write_stick_->setVisible(stick);
    write_label_->setVisible(label);
    const QSignalBlocker quiet_gray(gray_), quiet_laserjet(laserjet_);
    gray_->setChecked(gs.toggle_vals[FLEX_GRAY_TOGGLE]);
    laserjet_->setChecked(gs.toggle_vals[LASERJET_TOGGLE]);
    // Centring narrow paper means nothing to a disc printer's tray.
    laserjet_->setVisible(g_doc.doc_open && !Is_Direct_Print(g_doc.doc_template));
}

bool a_print_panel::Print_With_Dialog() {
    g_print_target = a_print_target{};
    g_print_target.queue = Printer_Chosen();
    return Act(Print_Doc);
}

QString a_print_panel::Pdf_Name(bool test_page) {
    QString name = g_doc.doc_open ? QString::fromStdString(Doc_Name()) : QString();
    if (name.endsWith(DISC_SUFFIX, Qt::CaseInsensitive)) name.chop(int(std::strlen(DISC_SUFFIX)));
    if (name.isEmpty()) name = tr("Labels");
    return (test_page ? tr("%1 test page").arg(name) : name) + ".pdf";
}

bool a_print_panel::Save_As_PDF(bool test_page) {
    QString path = ask_pdf_path ? ask_pdf_path(Pdf_Name(test_page)) : QString();
    if (path.isEmpty()) return false;
    if (!path.endsWith(".pdf", Qt::CaseInsensitive)) path += ".pdf";
    a_print_target before = g_print_target;
    g_print_target = a_print_target{};
    g_print_target.target = VP_PDF;
    g_print_target.pdf_path = path.toStdString();
    g_print_target.dpi = pdf_dpi_->currentData().toInt();
    bool ok = test_page ? Act(Print_Test) : Act(Print1_Doc);
    g_print_target = before;
    // The old file is kept; the user is told why this one could not be saved.
    if (!ok && !VP_Error().empty()) OK_Alert_Detail(ALERT_CANNOT_SAVE, VP_Error());
    return ok;
}

bool a_print_panel::Choose_Printer(QWidget* parent) {
    std::vector<a_printer_desc> printers = Printer_List();
    if (printers.empty()) {
        QMessageBox::information(parent, tr("Choose Printer"), tr("No printer is set up on this computer."));
        return false;
    }
    QStringList names;
    int current = 0;
    for (const a_printer_desc& p : printers) {
        if (p.name == Printer_Chosen() || (Printer_Chosen().empty() && p.is_default)) current = names.size();
        names << QString::fromStdString(p.make_model.empty() ? p.name : p.name + " — " + p.make_model);
    }
    bool ok = false;
    QString got = QInputDialog::getItem(parent, tr("Choose Printer"), tr("Print on:"), names, current, false, &ok);
    if (!ok) return false;
    return Print_Setup(printers[size_t(names.indexOf(got))].name);
}
