// The window as a person uses it: the start screen, a new project, the
// chooser filtered to one maker, a sheet of two discs; a second copy handing
// its command line over; and screenshots under a display server of our own.
#include <QtCore/QFile>
#include <QtCore/QProcess>
#include <QtCore/QStandardPaths>
#include <QtCore/QTemporaryDir>
#include <QtGui/QScreen>
#include <QtTest/QSignalSpy>
#include <QtTest/QTest>
#include <QtWidgets/QApplication>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QListWidget>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QStackedWidget>
#include <QtWidgets/QToolButton>

#include <unistd.h>

#include <thread>

#include "gui_app.h"
#include "instance.h"
#include "main_window.h"
#include "model/document.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "templates/template.h"
#include "shell/mainloop.h"
#include "ui/interface.h"

namespace {

template <typename T>
T* Find(QWidget& w, const char* name) {
    T* child = w.findChild<T*>(name);
    if (!child) qFatal("no widget named %s", name);
    return child;
}

QListWidgetItem* Item_Named(QListWidget* list, const QString& text) {
    for (int r = 0; r < list->count(); ++r)
        if (list->item(r)->text() == text) return list->item(r);
    return nullptr;
}

// From the start screen to a chosen stock, as a person does it.
void Choose_Stock(a_main_window& w, const char* brand, const char* typed, const char* stock) {
    QTest::mouseClick(Find<QPushButton>(w, "newProject"), Qt::LeftButton);
    QTRY_VERIFY(Find<QWidget>(w, "chooser")->isVisible());
    QListWidget* kinds = Find<QListWidget>(w, "kindList");
    QListWidgetItem* maker = Item_Named(kinds, brand);
    QVERIFY2(maker, brand);
    kinds->setCurrentItem(maker);
    QTest::keyClicks(Find<QLineEdit>(w, "templateFilter"), typed);
    QListWidget* list = Find<QListWidget>(w, "templateList");
    QVERIFY(list->count() >= 1);
    QVERIFY(list->currentItem());
    QCOMPARE(list->currentItem()->text(), QString(stock));
}

// A picture compared with tests/golden/NAME.png: a channel may differ by 8,
// one pixel in 2000 may differ more. CIRQUEL_UPDATE_GOLDENS=1 rewrites it.
bool Matches_Golden(const QString& name, const QImage& made, QString& why) {
    QString path = QString(CIRQUEL_SOURCE_DIR) + "/tests/golden/" + name + ".png";
    if (qgetenv("CIRQUEL_UPDATE_GOLDENS") == "1") return made.save(path);
    QImage golden(path);
    QImage got = made.convertToFormat(QImage::Format_RGB32);
    golden = golden.convertToFormat(QImage::Format_RGB32);
    if (golden.size() != got.size()) {
        why = name + QString(": size %1 x %2, golden %3 x %4").arg(got.width()).arg(got.height())
                         .arg(golden.width()).arg(golden.height());
        return false;
    }
    long bad = 0;
    for (int y = 0; y < got.height(); ++y) {
        auto* a = reinterpret_cast<const QRgb*>(got.constScanLine(y));
        auto* b = reinterpret_cast<const QRgb*>(golden.constScanLine(y));
        for (int x = 0; x < got.width(); ++x)
            if (std::abs(qRed(a[x]) - qRed(b[x])) > 8 || std::abs(qGreen(a[x]) - qGreen(b[x])) > 8 ||
                std::abs(qBlue(a[x]) - qBlue(b[x])) > 8)
                ++bad;
    }
    if (bad * 2000 <= long(got.width()) * got.height()) return true;
    QString keep = QString::fromStdString(Temp_Folder()) + "/" + name + ".actual.png";
    got.save(keep);
    why = name + QString(": %1 pixels differ; made %2").arg(bad).arg(keep);
    return false;
}

// The whole screen once the window has drawn itself.
QImage Screen_Shot(QWidget& w) {
    QTest::qWait(300);
    QApplication::processEvents();
    return QGuiApplication::primaryScreen()->grabWindow(0).copy(w.frameGeometry()).toImage();
}

// Run inside the display server: the start screen and the chooser.
int Take_Shots(const QString& dir) {
    a_main_window w;
    w.setGeometry(0, 0, 1024, 700);
    w.show();
    if (!QTest::qWaitForWindowExposed(&w)) return 3;
    if (!Screen_Shot(w).save(dir + "/gui_start_screen.png")) return 4;
    QTest::mouseClick(Find<QPushButton>(w, "newProject"), Qt::LeftButton);
    QListWidget* kinds = Find<QListWidget>(w, "kindList");
    if (QListWidgetItem* maker = Item_Named(kinds, "A-ONE")) kinds->setCurrentItem(maker);
    QTest::keyClicks(Find<QLineEdit>(w, "templateFilter"), "29125");
    if (!Screen_Shot(w).save(dir + "/gui_chooser.png")) return 5;
    QTest::mouseClick(Find<QPushButton>(w, "chooserOk"), Qt::LeftButton);
    if (!Screen_Shot(w).save(dir + "/gui_sheet.png")) return 6;
    g_doc.doc_changed = false;
    return 0;
}

class a_gui_test : public QObject {
    Q_OBJECT
private slots:
    void StartScreenNewProjectChooserTwoDiscs();
    void SecondCopyHandsOverItsCommandLine();
    void ScreenshotsUnderXvfb();
};

void a_gui_test::StartScreenNewProjectChooserTwoDiscs() {
    a_main_window w;
    w.resize(1024, 700);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QVERIFY(Find<QWidget>(w, "startScreen")->isVisible());
    QVERIFY(!Find<QPushButton>(w, "openProject")->isEnabled());
    QVERIFY(!Find<QPushButton>(w, "openProject")->toolTip().isEmpty());
    QVERIFY(!g_doc.doc_open);

    Choose_Stock(w, "A-ONE", "29125", "A-ONE 29125");
    QCOMPARE(gs.curr_phase, PAPER_PHASE);
    QTest::mouseClick(Find<QPushButton>(w, "chooserOk"), Qt::LeftButton);
    QVERIFY(g_doc.doc_open);
    QCOMPARE(g_doc.doc_template.nunits, 2u);
    for (uint32_t ux = 1; ux <= 2; ++ux) QCOMPARE(int(g_doc.doc_template.units[ux].kind), int(UNIT_CD));
    QCOMPARE(gs.curr_phase, CANVAS_PHASE);
    QListWidget* units = Find<QListWidget>(w, "unitList");
    QTRY_VERIFY(units->isVisible());
    QCOMPARE(units->count(), 2);
    QVERIFY(!units->item(1)->icon().isNull());
    units->setCurrentRow(1);
    QCOMPARE(g_doc.upx, 2u);
    QVERIFY(Find<QWidget>(w, "sheetView")->isVisible());

    // Menus: Save is there but disabled with its reason; the zoom is a command of ours.
    QAction* save = w.Command_Action(304);
    QVERIFY(save && !save->isEnabled() && !save->toolTip().isEmpty());
    QAction* quit = w.Command_Action(311);
    QVERIFY(quit && quit->isEnabled());

    // Hide Everything hides the tools; another key says how to get them back
    // (alert 26), and Escape does.
    QWidget* phases = Find<QWidget>(w, "phaseBar");
    w.Command_Action(508)->trigger();
    QVERIFY(!phases->isVisible() && !gs.tool_show);
    Dialog_ScriptAnswers({});
    QTest::keyClick(&w, Qt::Key_X);
    QCOMPARE(int(Dialog_History().size()), 1);
    QVERIFY(!phases->isVisible());
    QTest::keyClick(&w, Qt::Key_Escape);
    QVERIFY(phases->isVisible() && gs.tool_show);

    // Closing the window asks about the changed project; Cancel keeps it.
    g_doc.doc_changed = true;
    Dialog_ScriptAnswers({2});
    Shell_Loop_Reset();
    QVERIFY(!w.close());
    QVERIFY(g_doc.doc_open);
    Dialog_ScriptAnswers({1});  // Don't Save
    QVERIFY(w.close());
    QVERIFY(!g_doc.doc_open);
    Shell_Loop_Reset();
    Phase_Set(NODOC_PHASE);
}

void a_gui_test::SecondCopyHandsOverItsCommandLine() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    a_single_instance first(dir.path());
    QVERIFY(first.Claim());
    QSignalSpy got(&first, &a_single_instance::Command_Received);
    bool handed = false, claimed = true;
    // The second copy blocks on its socket, as a separate process would.
    std::thread second([&] {
        a_single_instance other(dir.path());
        claimed = other.Claim();
        handed = other.Hand_Over({"--print", "/tmp/my disc.cd4"});
    });
    QTRY_COMPARE_WITH_TIMEOUT(got.count(), 1, 10000);
    second.join();
    QVERIFY(!claimed);
    QVERIFY(handed);
    QCOMPARE(got.at(0).at(0).toStringList(), QStringList({"--print", "/tmp/my disc.cd4"}));
}

// Finds a free display number, starts Xvfb there, runs this program's shot
// mode under it and compares the pictures with the goldens.
void a_gui_test::ScreenshotsUnderXvfb() {
    if (QStandardPaths::findExecutable("Xvfb").isEmpty()) QSKIP("Xvfb is not installed");
    int display = 90;
    while (display < 200 && (QFile::exists(QString("/tmp/.X%1-lock").arg(display)) ||
                             QFile::exists(QString("/tmp/.X11-unix/X%1").arg(display))))
        ++display;
    QProcess xvfb;
    xvfb.start("Xvfb", {QString(":%1").arg(display), "-screen", "0", "1280x800x24", "-nolisten", "tcp"});
    QVERIFY(xvfb.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(QString("/tmp/.X11-unix/X%1").arg(display)), 10000);
    QTemporaryDir shots;
    QProcess run;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", QString(":%1").arg(display));
    env.insert("QT_QPA_PLATFORM", "xcb");
    // The X platform's D-Bus library keeps a buffer to the end; the leak
    // checker has its say in the offscreen run of this program instead.
    env.insert("ASAN_OPTIONS", "detect_leaks=0");
    run.setProcessEnvironment(env);
    run.setProcessChannelMode(QProcess::ForwardedChannels);
    run.start(QCoreApplication::applicationFilePath(), {"--shots", shots.path()});
    bool finished = run.waitForFinished(120000);
    xvfb.terminate();
    xvfb.waitForFinished(5000);
    QVERIFY(finished);
    QCOMPARE(run.exitCode(), 0);
    for (const char* name : {"gui_start_screen", "gui_chooser", "gui_sheet"}) {
        QImage made(shots.path() + "/" + name + ".png");
        QVERIFY2(!made.isNull(), name);
        QString why;
        QVERIFY2(Matches_Golden(name, made, why), qPrintable(why));
    }
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    std::string config = Temp_Folder() + "/cirquel-gui-tests-" + std::to_string(getpid());
    Config_Folder_Set(config);
    bool shots = argc == 3 && QString(argv[1]) == "--shots";
    if (!Gui_Start(a_gui_options{false, false, false, false})) return 1;
    Dialog_SetQuiet(true);
    int status = 0;
    if (shots) {
        status = Take_Shots(argv[2]);
    } else {
        a_gui_test test;
        status = QTest::qExec(&test, 1, argv);
    }
    Gui_Stop();
    (void)File_Remove_Tree(config);
    return status;
}

#include "test_gui.moc"
