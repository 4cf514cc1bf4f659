// Printing from the window as a person does it: the Export menu, a
// FlexStick job and a FlexLabel print file written from the print panel
// with its own settings, and the printing dialog's pages, Stop and failure.
#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QProcess>
#include <QtCore/QStandardPaths>
#include <QtCore/QTemporaryDir>
#include <QtGui/QImage>
#include <QtTest/QTest>
#include <QtGui/QAction>
#include <QtWidgets/QCheckBox>
#include <QtWidgets/QComboBox>
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
#include "print/print_render.h"
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
    void PublisherJobsFromThePanel();
    void PrintingDialogPagesStopAndFailure();
    void PdfAndPictureNamedAfterTheProjectAtTheChosenResolution();

private:
    void Stick_Job();
    void Label_File();
};

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
    QVERIFY(Open_Stock(w, "Amtren", "FlexStick", "Amtren FlexStick 80mm"));
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
    (void)Open_Stock(w2, "Amtren", "FlexLabel", "Amtren FlexLabel");
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
    panel->ask_pdf_path = [&](const QString&) { return pdf; };
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

namespace {

// The pixel width of the largest picture in a PDF, as pdfimages lists it;
// 0 when it cannot tell.
int Pdf_Picture_Width(const QString& pdf) {
    QProcess list;
    list.start("pdfimages", {"-list", pdf});
    if (!list.waitForFinished(20000)) return 0;
    int widest = 0;
    const QStringList rows = QString::fromUtf8(list.readAllStandardOutput()).split('\n');
    for (int i = 2; i < rows.size(); ++i) {
        const QStringList cols = rows[i].split(' ', Qt::SkipEmptyParts);
        if (cols.size() > 3) widest = std::max(widest, cols[3].toInt());
    }
    return widest;
}

}  // namespace

// "summer.cd4" saves as "summer.pdf", at 300 or 600 dpi as chosen beside the
// button; the test page saves as a PDF without a printer; Export offers PNG
// at the resolution of its menu.
void a_print_test::PdfAndPictureNamedAfterTheProjectAtTheChosenResolution() {
    a_main_window w;
    QVERIFY(Open_Two_Disc_Stock(w));
    QTemporaryDir dir;
    QVERIFY(Add_Photo(dir.path(), "red", Qt::red, {0.3, 0.5}, QSize(300, 300)));
    auto* files = w.findChild<a_file_dialogs*>("fileDialogs");
    files->ask_save = [&](const QString&, const QString&, int16_t) { return dir.path() + "/summer"; };
    w.Command_Action(304)->trigger();
    QCOMPARE(QString::fromStdString(Doc_Name()), QString("summer.cd4"));

    QTest::mouseClick(Find<QToolButton>(w, "phase0"), Qt::LeftButton);
    auto* panel = Find<a_print_panel>(w, "printPanel");
    QTRY_VERIFY(panel->isVisible());
    QString proposed;
    QString pdf;
    panel->ask_pdf_path = [&](const QString& name) {
        proposed = name;
        return pdf;
    };
    auto* resolution = Find<QComboBox>(w, "pdfResolution");
    QCOMPARE(resolution->currentText(), QString("300 dpi"));
    pdf = dir.path() + "/at300.pdf";
    QTest::mouseClick(Find<QPushButton>(w, "saveAsPdf"), Qt::LeftButton);
    QCOMPARE(proposed, QString("summer.pdf"));
    QVERIFY(QFile::exists(pdf));
    QTest::keyClick(resolution, Qt::Key_Down);
    QCOMPARE(resolution->currentText(), QString("600 dpi"));
    pdf = dir.path() + "/at600.pdf";
    QTest::mouseClick(Find<QPushButton>(w, "saveAsPdf"), Qt::LeftButton);
    QVERIFY(QFile::exists(pdf));
    if (!QStandardPaths::findExecutable("pdfimages").isEmpty()) {
        const int fine = Pdf_Picture_Width(dir.path() + "/at600.pdf");
        const int coarse = Pdf_Picture_Width(dir.path() + "/at300.pdf");
        QVERIFY2(coarse > 0 && std::abs(fine - 2 * coarse) <= 4,
                 qPrintable(QString("%1 px at 600 dpi, %2 at 300").arg(fine).arg(coarse)));
    }

    // The test page: a PDF of its own, no printer asked for.
    pdf = dir.path() + "/test page.pdf";
    QTest::mouseClick(Find<QPushButton>(w, "testPagePdf"), Qt::LeftButton);
    QCOMPARE(proposed, QString("summer test page.pdf"));
    QFile test(pdf);
    QVERIFY(test.open(QIODevice::ReadOnly));
    QVERIFY(test.read(5) == "%PDF-");
    QVERIFY(Dialog_History().empty());

    // Export > As PNG, at 300 and then 600 dpi: each the unit's printed size
    // at its resolution (a disc's design surface is coarser than 300 dpi).
    QString png;
    QString offered;
    files->ask_save = [&](const QString&, const QString& name, int16_t) {
        offered = name;
        return png;
    };
    auto* as_png = w.findChild<QAction*>("exportPng");
    QVERIFY(as_png);
    png = dir.path() + "/at300.png";
    as_png->trigger();
    QCOMPARE(offered, QString("summer.PNG"));
    w.findChild<QAction*>("exportDpi600")->trigger();
    png = dir.path() + "/at600.png";
    as_png->trigger();
    const QImage coarse(dir.path() + "/at300.png"), fine(dir.path() + "/at600.png");
    QVERIFY(!coarse.isNull() && !fine.isNull());
    for (int dpi : {300, 600}) {
        const QImage& image = dpi == 300 ? coarse : fine;
        const Rect printed = Print_Unit_Bounds(g_doc.upx, dpi);
        QVERIFY2(std::abs(image.width() - Rect_Width(printed)) <= 1 && std::abs(image.height() - Rect_Height(printed)) <= 1,
                 qPrintable(QString("%1 dpi: %2 px across for %3").arg(dpi).arg(image.width()).arg(Rect_Width(printed))));
    }
    QCOMPARE(qRound(coarse.dotsPerMeterX() * 0.0254), 300);
    QCOMPARE(qRound(fine.dotsPerMeterX() * 0.0254), 600);
    w.findChild<QAction*>("exportDpi300")->trigger();

    // Export > As PDF: one page the unit's size, which drawn again at 300 dpi
    // is the PNG export's picture.
    auto* as_pdf = w.findChild<QAction*>("exportPdf");
    QVERIFY(as_pdf);
    png = dir.path() + "/unit";
    as_pdf->trigger();
    QCOMPARE(offered, QString("summer.pdf"));
    QFile unit_pdf(dir.path() + "/unit.pdf");
    QVERIFY(unit_pdf.open(QIODevice::ReadOnly));
    QVERIFY(unit_pdf.read(5) == "%PDF-");
    QVERIFY(Dialog_History().empty());
    if (!QStandardPaths::findExecutable("pdftoppm").isEmpty()) {
        QProcess render;
        render.start("pdftoppm", {"-r", "300", "-png", "-singlefile", unit_pdf.fileName(), dir.path() + "/drawn"});
        QVERIFY(render.waitForFinished(60000) && render.exitCode() == 0);
        const QImage drawn = QImage(dir.path() + "/drawn.png").convertToFormat(QImage::Format_RGB32);
        const QImage ref = coarse.convertToFormat(QImage::Format_RGB32);
        QVERIFY2(std::abs(drawn.width() - ref.width()) <= 1 && std::abs(drawn.height() - ref.height()) <= 1,
                 qPrintable(QString("%1 x %2 against %3 x %4")
                                .arg(drawn.width()).arg(drawn.height()).arg(ref.width()).arg(ref.height())));
        int64_t off = 0, n = 0;
        for (int y = 4; y < std::min(drawn.height(), ref.height()) - 4; y += 7)
            for (int x = 4; x < std::min(drawn.width(), ref.width()) - 4; x += 7, ++n) {
                const QRgb a = drawn.pixel(x, y), b = ref.pixel(x, y);
                off += std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b));
            }
        QVERIFY2(n > 0 && off / n < 12, qPrintable(QString("%1 off on average").arg(double(off) / n)));
    }
    // A folder that is not there: the reason is shown and no file is left.
    Dialog_ScriptAnswers({});
    png = dir.path() + "/gone/unit.pdf";
    as_pdf->trigger();
    QCOMPARE(int(Dialog_History().size()), 1);
    QVERIFY(!QFile::exists(png));
    QVERIFY(Close_Unchanged(w));
}

int Run_Tests(char** argv) {
    a_print_test test;
    return QTest::qExec(&test, 1, argv);
}

}  // namespace

int main(int argc, char** argv) { return Gui_Test_Main(argc, argv, Run_Tests, nullptr); }

#include "test_gui_print.moc"
