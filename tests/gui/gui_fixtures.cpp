#include "gui_fixtures.h"

#include <QtCore/QFile>
#include <QtCore/QMimeData>
#include <QtCore/QProcess>
#include <QtCore/QStandardPaths>
#include <QtCore/QTemporaryDir>
#include <QtCore/QTimer>
#include <QtCore/QUrl>
#include <QtGui/QScreen>
#include <QtTest/QTest>
#include <QtWidgets/QApplication>
#include <QtWidgets/QCheckBox>
#include <QtWidgets/QDialog>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QListWidget>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QToolButton>

#include <unistd.h>

#include <algorithm>
#include <cstdlib>

#include "panels/chooser_panel.h"
#include "gui_app.h"
#include "language.h"
#include "base/prefs.h"
#include "base/string_ids.h"
#include "images/photo_blocks.h"
#include "main_window.h"
#include "model/document.h"
#include "model/history.h"
#include "unit_view.h"
#include "widgets/palette_popup.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "templates/catalogue.h"
#include "templates/expand.h"
#include "templates/template.h"
#include "shell/mainloop.h"

QListWidgetItem* Item_Named(QListWidget* list, const QString& text) {
    for (int r = 0; r < list->count(); ++r)
        if (list->item(r)->text() == text) return list->item(r);
    return nullptr;
}

int Kept() { return Modulo(g_hist.hi - g_hist.lo); }

void Click(QWidget& w, const QString& name) {
    auto* b = Find<QAbstractButton>(w, qPrintable(name));
    QPoint at = qobject_cast<QCheckBox*>(b) ? QPoint(8, b->height() / 2) : b->rect().center();
    QTest::mouseClick(b, Qt::LeftButton, {}, at);
}

void Click_Row(QListWidget* list, int row) {
    QListWidgetItem* item = list->item(row);
    list->scrollToItem(item);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
}

void Choose_Color(QWidget& w, int bar, int index) {
    Click(w, QString("textColor%1").arg(bar));
    QWidget* palette = Find<QWidget>(w, qPrintable(QString("palette%1").arg(bar)));
    QTest::mouseClick(palette, Qt::LeftButton, {}, a_palette_popup::Cell_Centre(index));
}

void When_Modal(std::function<void(QDialog*)> act) {
    QTimer::singleShot(50, [act] {
        if (auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
            act(d);
        else
            When_Modal(act);
    });
}

void Choose_Stock(a_main_window& w, const char* brand, const char* typed, const char* stock) {
    QTest::mouseClick(Find<QPushButton>(w, "newProject"), Qt::LeftButton);
    QTRY_VERIFY(Find<QWidget>(w, "chooser")->isVisible());
    QTest::mouseClick(Find<QToolButton>(w, "byMaker"), Qt::LeftButton);  // the makers, whatever was shown last
    QListWidget* kinds = Find<QListWidget>(w, "kindList");
    QListWidgetItem* maker = Item_Named(kinds, brand);
    QVERIFY2(maker, brand);
    kinds->setCurrentItem(maker);
    QTest::keyClicks(Find<QLineEdit>(w, "templateFilter"), typed);
    QListWidget* list = Find<QListWidget>(w, "templateList");
    QVERIFY(list->count() >= 1);
    QVERIFY(list->currentItem());
    QCOMPARE(list->currentItem()->data(a_chooser_panel::NAME_ROLE).toString(), QString(stock));
}

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

void Click_Canvas(a_main_window& w, int index) {
    QListWidget* palette = Find<QListWidget>(w, "canvasPalette");
    QListWidgetItem* item = palette->item(index - 1);
    QTest::mouseClick(palette->viewport(), Qt::LeftButton, {}, palette->visualItemRect(item).center());
}

QPoint Disc_Point(uint32_t ux, int dpi) {
    const a_frect& b = g_doc.doc_template.units[ux].bbox;
    double cx = (b.left + b.right) / 2, cy = (b.top + b.bottom) / 2, r = (b.right - b.left) / 2;
    return QPoint(int((cx + r * 0.62) * dpi / 25.4), int(cy * dpi / 25.4));
}

int Channel_Distance(QRgb a, QRgb b) {
    return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)), std::abs(qBlue(a) - qBlue(b))});
}

bool Open_Stock(a_main_window& w, const char* maker, const char* search, const char* label) {
    w.resize(1024, 700);
    w.show();
    if (!QTest::qWaitForWindowExposed(&w)) return false;
    Choose_Stock(w, maker, search, label);
    QTest::mouseClick(Find<QPushButton>(w, "chooserOk"), Qt::LeftButton);
    return g_doc.doc_open;
}

bool Open_Two_Disc_Stock(a_main_window& w) { return Open_Stock(w, "A-ONE", "29125", "A-ONE 29125"); }

a_area::a_area(QWidget& w) : view(Find<a_unit_view>(w, "unitView")), surface(Find<QWidget>(w, "unitSurface")) {}

QPoint a_area::At(double h, double v) const {
    return surface->mapFrom(view->viewport(), view->Unit_To_View(QPointF(h, v)).toPoint());
}

std::vector<int> Blocks_Of(uint8_t kind) {
    std::vector<int> found;
    for (int i = 1; i <= g_doc.up->oj.nlist; ++i)
        if (g_doc.up->oj.list[i].kind == kind) found.push_back(i);
    return found;
}

bool Close_Unchanged(a_main_window& w) {
    g_doc.doc_changed = false;
    const bool closed = w.close();
    Shell_Loop_Reset();
    Phase_Set(NODOC_PHASE);
    return closed;
}

bool Add_Photo(const QString& dir, const QString& name, QColor colour, QPointF at, QSize size) {
    if (size.isEmpty()) size = at.isNull() ? QSize(160, 120) : QSize(900, 640);
    QImage img(size, QImage::Format_RGB32);
    img.fill(colour);
    QString path = dir + "/" + name + ".png";
    if (!img.save(path)) return false;
    Interaction_Begin();
    const Rect& b = g_doc.up->paintbounds;
    Point centre{int16_t(b.top + at.y() * Rect_Height(b)), int16_t(b.left + at.x() * Rect_Width(b))};
    bool ok = at.isNull() ? Photo_NewP(false, path.toStdString())
                          : Photo_New_External(false, centre, path.toStdString());
    Interaction_End();
    return ok;
}

QImage Screen_Shot(QWidget& w) {
    QTest::qWait(300);
    QApplication::processEvents();
    const QPixmap screen = QGuiApplication::primaryScreen()->grabWindow(0);
    const qreal r = screen.devicePixelRatio();
    const QRect g = w.frameGeometry();
    QImage shot = screen.copy(QRect(QPoint(int(g.x() * r), int(g.y() * r)), g.size() * r)).toImage();
    shot.setDevicePixelRatio(1);
    return shot;
}

void Drop_File(QWidget& w, const QString& path) {
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(path)});
    QPoint at(w.width() / 2, w.height() / 2);
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&w, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&w, &drop);
    QVERIFY(drop.isAccepted());
    QApplication::processEvents();
}

int One_Disc_Template() {
    for (int i = 1; i <= TList_Count(); ++i) {
        a_template t;
        Expand_Template(TList_Get(i), t);
        if (t.nunits == 1 && t.units[1].kind == UNIT_CD && Calc_Direct_Print_KindT(t) == NOT_DIRECT) return i;
    }
    return 0;
}

bool Shots_Match_Goldens(const QStringList& names, QString& why, double scale) {
    int display = 90;
    while (display < 200 && (QFile::exists(QString("/tmp/.X%1-lock").arg(display)) ||
                             QFile::exists(QString("/tmp/.X11-unix/X%1").arg(display))))
        ++display;
    QProcess xvfb;
    const QString screen = QString("%1x%2x24").arg(int(1280 * scale)).arg(int(800 * scale));
    xvfb.start("Xvfb", {QString(":%1").arg(display), "-screen", "0", screen, "-nolisten", "tcp"});
    if (!xvfb.waitForStarted()) return why = "Xvfb did not start", false;
    for (int waited = 0; !QFile::exists(QString("/tmp/.X11-unix/X%1").arg(display)); waited += 50) {
        if (waited > 10000) return why = "Xvfb made no socket", false;
        QTest::qWait(50);
    }
    QTemporaryDir shots;
    QProcess run;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", QString(":%1").arg(display));
    env.insert("QT_QPA_PLATFORM", "xcb");
    if (scale != 1) env.insert("QT_SCALE_FACTOR", QString::number(scale));
    // The X platform's D-Bus library keeps a buffer to the end; the leak
    // checker has its say in the offscreen run of this program instead.
    env.insert("ASAN_OPTIONS", "detect_leaks=0");
    run.setProcessEnvironment(env);
    run.setProcessChannelMode(QProcess::ForwardedChannels);
    run.start(QCoreApplication::applicationFilePath(), {"--shots", shots.path()});
    bool finished = run.waitForFinished(120000);
    xvfb.terminate();
    xvfb.waitForFinished(5000);
    if (!finished) return why = "the shot run did not finish", false;
    if (run.exitCode() != 0) return why = QString("the shot run ended with %1").arg(run.exitCode()), false;
    for (const QString& name : names) {
        QImage made(shots.path() + "/" + name + ".png");
        if (made.isNull()) return why = name + ": no picture made", false;
        if (!Matches_Golden(name, made, why)) return false;
    }
    return true;
}

int Gui_Test_Main(int argc, char** argv, int (*tests)(char** argv), int (*shots)(const QString& dir)) {
    QApplication app(argc, argv);
    std::string config = Temp_Folder() + "/cirquel-gui-tests-" + std::to_string(getpid());
    Config_Folder_Set(config);
    // The desktop's recent list of this run's own, never the user's.
    setenv("XDG_DATA_HOME", config.c_str(), 1);
    bool shot_mode = argc == 3 && QString(argv[1]) == "--shots";
    if (!Gui_Start(a_gui_options{false, false, false, true})) return 1;
    // The tests read the window in English whatever the desktop's language.
    Prefs_Set_Language(LANG_ENGLISH);
    Gui_Apply_Language();
    Dialog_SetQuiet(true);
    int status = shot_mode && shots ? shots(argv[2]) : tests(argv);
    Gui_Stop();
    (void)File_Remove_Tree(config);
    return status;
}
