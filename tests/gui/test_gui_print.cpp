// Printing from the window as a person does it: the Export menu, a
// FlexStick job and a FlexLabel print file written from the print panel
// with its own settings, and the printing dialog's pages, Stop and failure.
#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QTemporaryDir>
#include <QtGui/QImage>
#include <QtTest/QTest>
#include <QtWidgets/QCheckBox>
#include <QtWidgets/QLabel>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QToolButton>

#include <cstdlib>
#include <string>
#include <vector>

#include "dialogs/file_dialogs.h"
#include "gui_fixtures.h"
#include "main_window.h"
#include "model/document.h"
#include "platform/dialogs.h"
#include "print/print_adjust.h"
#include "panels/print_panel.h"
#include "dialogs/printing_dialog.h"
#include "ui/interface.h"

namespace {

QByteArray Read(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The + button of the slider widget named after `s`.
QToolButton* Plus(QWidget& w, a_slider_enum s) {
    return Find<QWidget>(w, qPrintable(QString("slider%1").arg(int(s))))->findChildren<QToolButton*>().last();
}

bool Told(const char* words) {
    for (const a_dialog_request& r : Dialog_History())
        if (r.message.find(words) != std::string::npos) return true;
    return false;
}

// The documents folder of this run's own, as the desktop's user folders name it.
struct a_documents_folder {
    QTemporaryDir config;
    QString documents = config.path() + "/Documents";
    QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    a_documents_folder() {
        QDir().mkpath(documents);
        QFile dirs(config.path() + "/user-dirs.dirs");
        if (dirs.open(QIODevice::WriteOnly)) dirs.write("XDG_DOCUMENTS_DIR=\"" + documents.toUtf8() + "\"\n");
        qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    }
    ~a_documents_folder() {
        if (saved.isEmpty()) qunsetenv("XDG_CONFIG_HOME");
        else qputenv("XDG_CONFIG_HOME", saved);
    }
};

class a_print_test : public QObject {
    Q_OBJECT
private slots:
    void init() {
        g_print_options = a_print_options{};
        Dialog_ScriptAnswers({});
    }
    void ExportMenuMirrorsAClearLabel();
    void PublisherJobsFromThePanel();
    void PrintingDialogPagesStopAndFailure();

private:
    void Stick_Job();
    void Label_File();
};

// File > Export > BMP of a unit mirrored for a clear label: the picture is
// mirrored as the label prints.
void a_print_test::ExportMenuMirrorsAClearLabel() {
    a_main_window w;
    QVERIFY(Open_Two_Disc_Stock(w));
    QTemporaryDir dir;
    QVERIFY(Add_Photo(dir.path(), "red", Qt::red, {0.25, 0.5}, QSize(300, 300)));
    g_doc.doc_template.units[1].uflags |= Flag_Bit(UNIT_FLIPX);
    const QString path = dir.path() + "/disc.bmp";
    auto* files = w.findChild<a_file_dialogs*>("fileDialogs");
    QVERIFY(files);
    files->ask_save = [&](const QString&, const QString&, int16_t) { return path; };
    w.Command_Action(1103)->trigger();
    QImage got(path);
    QVERIFY2(!got.isNull(), "no picture exported");
    const int y = got.height() / 2;
    QVERIFY2(Channel_Distance(got.pixel(got.width() * 3 / 4, y), qRgb(255, 0, 0)) <= 24, "not mirrored");
    QVERIFY(Channel_Distance(got.pixel(got.width() / 4, y), qRgb(255, 0, 0)) > 24);
    g_doc.doc_template.units[1].uflags &= ~Flag_Bit(UNIT_FLIPX);
    QVERIFY(Close_Unchanged(w));
}

// On an Amtren FlexStick layout the panel writes the job into a chosen
// folder (no stick is mounted) with the density, grey and burn settings set
// on it; a FlexLabel layout writes its print file into the documents folder.
void a_print_test::PublisherJobsFromThePanel() {
    Stick_Job();
    if (QTest::currentTestFailed()) return;
    Label_File();
}

void a_print_test::Stick_Job() {
    a_main_window w;
    w.resize(1024, 700);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    Choose_Stock(w, "Amtren", "FlexStick", "Amtren FlexStick 80mm");
    QTest::mouseClick(Find<QPushButton>(w, "chooserOk"), Qt::LeftButton);
    QVERIFY(g_doc.doc_open);
    QTest::mouseClick(Find<QToolButton>(w, "phase0"), Qt::LeftButton);
    auto* panel = Find<a_print_panel>(w, "printPanel");
    QTRY_VERIFY(Find<QWidget>(w, "publisher")->isVisible());
    QVERIFY(Find<QPushButton>(w, "writeFlexStick")->isVisible());
    QVERIFY(!Find<QPushButton>(w, "writeFlexLabel")->isVisible());
    QVERIFY(!Find<QCheckBox>(w, "laserjetToggle")->isVisible());

    QTest::mouseClick(Plus(w, FLEX_DENSITY_SLIDER), Qt::LeftButton);  // 4 -> 5
    QTest::mouseClick(Plus(w, PRINT_NCOPIES_SLIDER), Qt::LeftButton);
    QTest::mouseClick(Plus(w, PRINT_NCOPIES_SLIDER), Qt::LeftButton);  // 3 copies
    auto* gray = Find<QCheckBox>(w, "flexGrayToggle");
    QTest::mouseClick(gray, Qt::LeftButton, {}, QPoint(8, gray->height() / 2));
    QVERIFY(gs.toggle_vals[FLEX_GRAY_TOGGLE]);
    auto* verify = Find<QCheckBox>(w, "flexVerify");
    QTest::mouseClick(verify, Qt::LeftButton, {}, QPoint(8, verify->height() / 2));

    QTemporaryDir dir;
    QString asked;
    panel->ask_folder = [&](const QString& title) {
        asked = title;
        return dir.path();
    };
    Dialog_ScriptAnswers({0});  // OK: write it to the hard drive
    QTest::mouseClick(Find<QPushButton>(w, "writeFlexStick"), Qt::LeftButton);
    QVERIFY(Told("no FlexStix"));
    QCOMPARE(asked, QString("Choose a destination folder..."));
    QCOMPARE(Read(dir.path() + "/flexset.txt"), QByteArray("<024,01,A,0003,0003,M,1>"));
    QVERIFY(Read(dir.path() + "/flexlabl.jpg").startsWith("\xFF\xD8"));
    const QByteArray pcl = Read(dir.path() + "/flexlabl.pcl");
    QVERIFY(pcl.contains(QByteArray("\x1B*o5W\x0B\x09\x00\x00\x05", 10)));  // density 5
    QVERIFY(pcl.contains(QByteArray("\x1B*o5W\x0B\x01\x00\x00\x02", 10)));  // grey

    // The choice cancelled: no job, nothing written.
    QDir(dir.path()).removeRecursively();
    QVERIFY(QDir().mkpath(dir.path()));
    Dialog_ScriptAnswers({1});
    QTest::mouseClick(Find<QPushButton>(w, "writeFlexStick"), Qt::LeftButton);
    QVERIFY(QDir(dir.path()).isEmpty());

    QVERIFY(Close_Unchanged(w));
}

void a_print_test::Label_File() {
    a_documents_folder docs;
    a_main_window w2;
    w2.resize(1024, 700);
    w2.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w2));
    Choose_Stock(w2, "Amtren", "FlexLabel", "Amtren FlexLabel");
    QTest::mouseClick(Find<QPushButton>(w2, "chooserOk"), Qt::LeftButton);
    QTest::mouseClick(Find<QToolButton>(w2, "phase0"), Qt::LeftButton);
    QTRY_VERIFY(Find<QPushButton>(w2, "writeFlexLabel")->isVisible());
    QVERIFY(!Find<QPushButton>(w2, "writeFlexStick")->isVisible());
    Dialog_ScriptAnswers({});
    QTest::mouseClick(Find<QPushButton>(w2, "writeFlexLabel"), Qt::LeftButton);
    QVERIFY(Told("succesfully written"));
    const QByteArray prn = Read(docs.documents + "/FlexWare Files/Print Files/Output.prn");
    QVERIFY(prn.startsWith("\x1B" "E\x1B%-12345X"));
    QVERIFY(prn.contains(QByteArray("\x1B*o5W\x0B\x09\x00\x00\x05", 10)));
    QVERIFY(Close_Unchanged(w2));
}

// Three copies to PDF are three pages, each shown as it prints; Stop on the
// second ends the job with "Printing was cancelled."; a file that cannot be
// written says so.
void a_print_test::PrintingDialogPagesStopAndFailure() {
    a_main_window w;
    QVERIFY(Open_Two_Disc_Stock(w));
    Click_Canvas(w, 3);
    QTest::mouseClick(Find<QToolButton>(w, "phase0"), Qt::LeftButton);
    auto* panel = Find<a_print_panel>(w, "printPanel");
    QTRY_VERIFY(panel->isVisible());
    QVERIFY(Find<QCheckBox>(w, "laserjetToggle")->isVisible());
    QVERIFY(!Find<QWidget>(w, "publisher")->isVisible());
    QTest::mouseClick(Plus(w, PRINT_NCOPIES_SLIDER), Qt::LeftButton);
    QTest::mouseClick(Plus(w, PRINT_NCOPIES_SLIDER), Qt::LeftButton);
    QCOMPARE(g_print_options.copies, 3);

    auto* printing = w.findChild<a_printing_dialog*>("printingDialog");
    QVERIFY(printing);
    std::vector<int> pages;
    QStringList texts;
    int stop_at = 0;
    connect(printing, &a_printing_dialog::Page_Shown, this, [&](int page, int of) {
        pages.push_back(page);
        QCOMPARE(of, 3);
        QVERIFY(printing->isVisible());
        texts << Find<QLabel>(*printing, "printingText")->text();
        if (page == stop_at) QTest::mouseClick(Find<QPushButton>(*printing, "stopPrinting"), Qt::LeftButton);
    });
    QTemporaryDir dir;
    QString pdf = dir.path() + "/sheet.pdf";
    panel->ask_pdf_path = [&] { return pdf; };
    QTest::mouseClick(Find<QPushButton>(w, "saveAsPdf"), Qt::LeftButton);
    QCOMPARE(pages, (std::vector<int>{1, 2, 3}));
    QCOMPARE(texts.last(), QString("Printing page 3 of 3"));
    QVERIFY(!printing->isVisible());
    QVERIFY(Dialog_History().empty());
    QVERIFY(QFile::exists(pdf));

    pages.clear();
    stop_at = 2;
    pdf = dir.path() + "/stopped.pdf";
    QTest::mouseClick(Find<QPushButton>(w, "saveAsPdf"), Qt::LeftButton);
    QCOMPARE(pages, (std::vector<int>{1, 2}));
    QVERIFY(!printing->isVisible());
    QVERIFY(Told("Printing was cancelled."));

    Dialog_ScriptAnswers({});
    stop_at = 0;
    pdf = dir.path() + "/no/such/folder/sheet.pdf";
    QTest::mouseClick(Find<QPushButton>(w, "saveAsPdf"), Qt::LeftButton);
    QVERIFY(Told("could not save"));
    QVERIFY(!printing->isVisible());
    QVERIFY(Close_Unchanged(w));
}

int Run_Tests(char** argv) {
    a_print_test test;
    return QTest::qExec(&test, 1, argv);
}

}  // namespace

int main(int argc, char** argv) { return Gui_Test_Main(argc, argv, Run_Tests, nullptr); }

#include "test_gui_print.moc"
