// The window as a person uses it: the start screen, a new project, the
// chooser filtered to one maker, a sheet of two discs; a second copy handing
// its command line over; and screenshots under a display server of our own.
#include <QtCore/QFile>
#include <QtCore/QMimeData>
#include <QtCore/QUrl>
#include <QtCore/QProcess>
#include <QtCore/QStandardPaths>
#include <QtCore/QTemporaryDir>
#include <QtCore/QTimer>
#include <QtGui/QPalette>
#include <QtGui/QScreen>
#include <QtTest/QSignalSpy>
#include <QtWidgets/QDialogButtonBox>
#include <QtTest/QTest>
#include <QtWidgets/QApplication>
#include <QtWidgets/QFileDialog>
#include <QtWidgets/QMessageBox>
#include <QtWidgets/QCheckBox>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QMenu>
#include <QtWidgets/QListWidget>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QSpinBox>
#include <QtWidgets/QTextBrowser>
#include <QtWidgets/QStackedWidget>
#include <QtWidgets/QToolButton>

#include <unistd.h>

#include <cstring>
#include <thread>

#include "panels/chooser_panel.h"
#include "drop_open.h"
#include "gui_fixtures.h"
#include "dialogs/dialogs_qt.h"
#include "dialogs/file_dialogs.h"
#include "dialogs/help_window.h"
#include "gui_app.h"
#include "dialogs/layout_dialogs.h"
#include "instance.h"
#include "main_window.h"
#include "model/doc_media.h"
#include "model/document.h"
#include "model/history.h"
#include "base/prefs.h"
#include "base/recent_projects.h"
#include "persist/disc_write.h"
#include "templates/catalogue.h"
#include "templates/expand.h"
#include "panels/print_panel.h"
#include "panels/preview_view.h"
#include "render/canvas.h"
#include "unit_view.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "templates/template.h"
#include "shell/mainloop.h"
#include "ui/interface.h"
#include "tracks/media_name.h"

namespace {

// Two projects on A-ONE 29125 with canvases, in the recent list at fixed
// times, so that the start screen shows the same list on every run.
bool Seed_Recent_Projects(const QString& dir) {
    const int index = Find_Template(std::string("A-ONE 29125"));
    if (index <= 0) return false;
    struct a_seed { const char* name; int canvas; DateTimeRec when; };
    const a_seed seeds[] = {{"Summer mix", 3, {2026, 7, 14, 18, 5, 0, 3}},
                            {"Band demo", 5, {2026, 11, 2, 9, 41, 0, 2}}};
    for (const a_seed& seed : seeds) {
        a_template t;
        Expand_Template(TList_Get(index), t);
        Doc_New(t);
        for (uint32_t ux = 1; ux <= g_doc.doc_template.nunits; ++ux)
            CanvX_To_Key(g_doc.doc_units[ux]->canv.cv.canvas_key, int16_t(seed.canvas),
                         UNIT_TO_CANV_PREFIX(g_doc.doc_template.units[ux].kind));
        std::string path = (dir + "/" + seed.name + ".cd4").toStdString();
        bool ok = Write_DISC(path) == 0;
        Doc_Dispose();
        if (!ok) return false;
        Recent_Project_Add(path);
        std::strcpy(g_pref.recent[0].doc_path, path.c_str());
        g_pref.recent[0].doc_time = seed.when;
    }
    return true;
}

// Run inside the display server: the start screen and the chooser.
int Light_Shots(const QString& dir);

// A dark desktop theme, as a user might choose it.
QPalette Dark_Palette() {
    QPalette p;
    const QColor window(0x2b, 0x2d, 0x30), text(0xe4, 0xe6, 0xe9);
    p.setColor(QPalette::Window, window);
    p.setColor(QPalette::WindowText, text);
    p.setColor(QPalette::Base, QColor(0x1e, 0x1f, 0x22));
    p.setColor(QPalette::AlternateBase, window);
    p.setColor(QPalette::Text, text);
    p.setColor(QPalette::Button, QColor(0x3a, 0x3d, 0x41));
    p.setColor(QPalette::ButtonText, text);
    p.setColor(QPalette::Mid, QColor(0x55, 0x58, 0x5d));
    p.setColor(QPalette::Highlight, QColor(0x2f, 0x6f, 0xd0));
    p.setColor(QPalette::HighlightedText, Qt::white);
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text})
        p.setColor(QPalette::Disabled, role, QColor(0x7c, 0x80, 0x86));
    return p;
}

int Take_Shots(const QString& dir) {
    if (!Seed_Recent_Projects(dir)) return 2;
    if (int status = Light_Shots(dir)) return status;
    // The same project in a dark theme, in a window made after the theme
    // changed: the window's own colours follow the desktop's palette.
    const QPalette light = QApplication::palette();
    QApplication::setPalette(Dark_Palette());
    {
        a_main_window dark;
        dark.setGeometry(0, 0, 1024, 700);
        dark.show();
        if (!QTest::qWaitForWindowExposed(&dark)) return 8;
        Phase_Set(TEXT_PHASE);
        if (!Screen_Shot(dark).save(dir + "/gui_dark.png")) return 9;
    }
    QApplication::setPalette(light);
    g_doc.doc_changed = false;
    return 0;
}

// From the start screen to the print preview, a picture at each stop.
int Light_Shots(const QString& dir) {
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
    Click_Canvas(w, 3);
    if (!Screen_Shot(w).save(dir + "/gui_canvas.png")) return 6;
    QTest::mouseClick(Find<QToolButton>(w, "phase0"), Qt::LeftButton);
    if (!Screen_Shot(w).save(dir + "/gui_preview.png")) return 7;
    return 0;
}

class a_gui_test : public QObject {
    Q_OBJECT
private slots:
    void StartScreenNewProjectChooserTwoDiscs();
    void CanvasUndoRedoPreviewAndPdf();
    void SaveCloseReopenFromRecentListAndDrop();
    void SaveAsAsksBeforeReplacingANameTypedWithoutItsSuffix();
    void FailedOpenKeepsTheProjectAndAsksOnlyAfterTheChoice();
    void UnitTogglesAndToDifferentLayout();
    void SecondCopyHandsOverItsCommandLine();
    void ScreenshotsUnderXvfb();
};

void a_gui_test::StartScreenNewProjectChooserTwoDiscs() {
    a_main_window w;
    w.resize(1024, 700);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QVERIFY(Find<QWidget>(w, "startScreen")->isVisible());
    QVERIFY(Find<QPushButton>(w, "openProject")->isEnabled());
    QVERIFY(!g_doc.doc_open);

    Choose_Stock(w, "A-ONE", "29125", "A-ONE 29125");
    QCOMPARE(gs.curr_phase, PAPER_PHASE);
    QListWidget* stocks = Find<QListWidget>(w, "templateList");
    QCOMPARE(stocks->currentItem()->text(), QString::fromUtf8("A-ONE 29125\nCD / DVD \u00D8 118 mm, 2 per sheet"));

    // One search box over maker, product code, kind and size, on top of the
    // maker chosen on the left.
    QLineEdit* search = Find<QLineEdit>(w, "templateFilter");
    QListWidget* makers = Find<QListWidget>(w, "kindList");
    auto found = [&](const char* typed) {
        search->clear();
        QTest::keyClicks(search, typed);
        QStringList names;
        for (int r = 0; r < stocks->count(); ++r) names << stocks->item(r)->text();
        return names;
    };
    makers->setCurrentRow(0);  // every maker
    QStringList avery_cd = found("avery cd");
    QVERIFY(avery_cd.size() >= 5);
    for (const QString& n : avery_cd) QVERIFY2(n.startsWith("Avery") && n.contains("cd", Qt::CaseInsensitive), qPrintable(n));
    QVERIFY(found("L7676").contains(QString::fromUtf8("Avery L7676\nCD / DVD \u00D8 117 mm, 2 per sheet")));
    QStringList wraps = found("dvd wrap");
    QVERIFY(!wraps.isEmpty());
    for (const QString& n : wraps) QVERIFY2(n.contains("DVD Box Wrap"), qPrintable(n));
    QVERIFY(!found("jewel").isEmpty());
    // The maker and the kind narrow together: Avery kept while a kind is chosen.
    makers->setCurrentItem(Item_Named(makers, "Avery"));
    QTest::mouseClick(Find<QToolButton>(w, "byKind"), Qt::LeftButton);
    QListWidgetItem* discs = Item_Named(makers, "CD / DVD");
    QVERIFY(discs);
    makers->setCurrentItem(discs);
    const QStringList avery_discs = found("avery cd");
    QVERIFY(!avery_discs.isEmpty() && avery_discs.size() < avery_cd.size());
    for (const QString& n : avery_discs)
        QVERIFY2(n.startsWith("Avery") && n.contains("CD / DVD"), qPrintable(n));
    for (const QString& n : found(""))
        QVERIFY2(n.startsWith("Avery") && n.contains("CD / DVD"), qPrintable(n));
    QTest::mouseClick(Find<QToolButton>(w, "byMaker"), Qt::LeftButton);
    QCOMPARE(makers->currentItem()->text(), QString("Avery"));
    makers->setCurrentItem(Item_Named(makers, "A-ONE"));
    for (const QString& n : found("cd")) QVERIFY2(n.startsWith("A-ONE") && n.contains("CD / DVD"), qPrintable(n));
    QTest::mouseClick(Find<QToolButton>(w, "byKind"), Qt::LeftButton);
    makers->setCurrentRow(0);  // every kind
    QTest::mouseClick(Find<QToolButton>(w, "byMaker"), Qt::LeftButton);
    search->clear();
    QTest::keyClicks(search, "29125");
    QCOMPARE(stocks->currentItem()->data(a_chooser_panel::NAME_ROLE).toString(), QString("A-ONE 29125"));
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
    QVERIFY(Find<QWidget>(w, "unitView")->isVisible());

    // Alt and a letter opens a menu of the bar.
    QTest::keyClick(&w, Qt::Key_F, Qt::AltModifier);
    QTRY_VERIFY(QApplication::activePopupWidget());
    auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    QVERIFY(popup && popup->title() == "&File");
    popup->close();
    // Contextual help names the phase's topic and opens its page in the
    // program's own help window (no browser needed); Contents leads to the
    // manual's first page and Back returns.
    QCOMPARE(w.Command_Action(602)->text(), QString("Help on Backgrounds..."));
    Dialog_ScriptAnswers({});
    w.Command_Action(602)->trigger();
    auto* help = w.findChild<a_help_window*>("helpWindow");
    QVERIFY(help && help->isVisible());
    QVERIFY(Dialog_History().empty());
    QVERIFY2(help->Browser()->documentTitle().startsWith("Backgrounds"), qPrintable(help->Browser()->documentTitle()));
    QAction* contents = nullptr;
    for (QAction* a : help->findChildren<QAction*>())
        if (a->text() == "Contents") contents = a;
    QVERIFY(contents);
    contents->trigger();
    QVERIFY(help->Browser()->source().fileName() == "1.html");
    QVERIFY(help->Browser()->isBackwardAvailable());
    help->Browser()->backward();
    QVERIFY(help->Browser()->documentTitle().startsWith("Backgrounds"));
    help->close();
    // Menus: the designer is built, so its command is enabled.
    QAction* designer = w.Command_Action(606);
    QVERIFY(designer && designer->isEnabled());
    // Embed Photos is an option with a check mark.
    QAction* embed = w.Command_Action(506);
    const bool embedding = g_pref.embed_option;
    embed->trigger();
    QVERIFY(g_pref.embed_option != embedding && embed->isChecked() != embedding);
    embed->trigger();
    QVERIFY(w.Command_Action(404)->isEnabled());
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

// From a new project to a PDF: a canvas chosen from the palette, undone and
// redone; the print preview with both discs; the nudge; Save as PDF, whose
// page shows the canvas on both discs.
void a_gui_test::CanvasUndoRedoPreviewAndPdf() {
    a_main_window w;
    QVERIFY(Open_Two_Disc_Stock(w));
    QCOMPARE(g_doc.doc_template.nunits, 2u);
    QCOMPARE(gs.curr_phase, CANVAS_PHASE);

    // The canvas: the palette offers the class's canvases; a click is one step.
    QListWidget* palette = Find<QListWidget>(w, "canvasPalette");
    int cls = UNIT_TO_CANV_PREFIX(UNIT_CD);
    QCOMPARE(palette->count(), Canvas_Count(cls));
    QVERIFY(palette->count() >= 3);
    QWidget* surface = Find<QWidget>(w, "unitSurface");
    QPoint on_disc(surface->width() / 2 + surface->width() / 4, surface->height() / 2);
    QRgb white_disc = surface->grab().toImage().pixel(on_disc);
    QVERIFY(Is_CanvKey_White(g_doc.up->canv.cv.canvas_key));
    Click_Canvas(w, 3);
    a_keyset chosen;
    CanvX_To_Key(chosen, 3, cls);
    QCOMPARE(Key_To_String(g_doc.up->canv.cv.canvas_key), Key_To_String(chosen));
    // Only the unit's area was drawn again, and it shows the canvas.
    auto* view = Find<a_unit_view>(w, "unitView");
    QTRY_VERIFY(!view->Last_Repaint().isEmpty());
    QVERIFY(surface->rect().contains(view->Last_Repaint()));
    QRgb canvas_disc = surface->grab().toImage().pixel(on_disc);
    QVERIFY(Channel_Distance(white_disc, canvas_disc) > 12);

    // The Zoom menu: 100 % shows a cell per pixel; Fit brings the unit back in.
    w.Command_Action(1005)->trigger();
    QCOMPARE(surface->width(), Rect_Width(g_doc.up->paintbounds) + 48);
    w.Command_Action(1004)->trigger();
    QVERIFY(surface->width() <= view->viewport()->width());

    // Undo and Redo from the Edit menu, each named after the step.
    QAction* undo = w.Command_Action(401);
    QAction* redo = w.Command_Action(402);
    QVERIFY(undo && undo->isEnabled() && !redo->isEnabled());
    undo->trigger();
    QVERIFY(Is_CanvKey_White(g_doc.up->canv.cv.canvas_key));
    QVERIFY(redo->isEnabled());
    QTRY_COMPARE(surface->grab().toImage().pixel(on_disc), white_disc);
    redo->trigger();
    QCOMPARE(Key_To_String(g_doc.up->canv.cv.canvas_key), Key_To_String(chosen));
    QTRY_COMPARE(surface->grab().toImage().pixel(on_disc), canvas_disc);
    QVERIFY(!redo->isEnabled());

    // A slider change is one step too, whatever the slider's pending step.
    a_history_op op_redo, op_undo;
    QTest::mouseClick(Find<QWidget>(w, QString("slider%1").arg(int(CANV_DARKNESS_SLIDER)).toLatin1().constData())
                          ->findChildren<QToolButton*>().last(), Qt::LeftButton);
    QCOMPARE(int(g_doc.up->canv.cv.canvas_darkness), int(gs.slider_vals[CANV_DARKNESS_SLIDER]));
    QVERIFY(g_doc.up->canv.cv.canvas_darkness != CANV_DARKNESS_DEFAULT);
    undo->trigger();
    QCOMPARE(int(g_doc.up->canv.cv.canvas_darkness), int(CANV_DARKNESS_DEFAULT));
    QCOMPARE(Key_To_String(g_doc.up->canv.cv.canvas_key), Key_To_String(chosen));
    Is_Undo_Avail(op_redo, op_undo);
    QCOMPARE(int(op_undo), int(OP_CANVAS_SELECT));

    // The print preview: both discs, side by side on the sheet; a click selects.
    QTest::mouseClick(Find<QToolButton>(w, "phase0"), Qt::LeftButton);
    QCOMPARE(gs.curr_phase, PREVIEW_PHASE);
    auto* preview = Find<a_preview_view>(w, "previewView");
    QTRY_VERIFY(preview->isVisible());
    QRect one = preview->Unit_Place(1), two = preview->Unit_Place(2);
    QVERIFY(!one.isEmpty() && !two.isEmpty() && !one.intersects(two));
    QVERIFY(preview->rect().contains(one) && preview->rect().contains(two));
    QTest::mouseClick(preview, Qt::LeftButton, {}, two.center() + QPoint(two.width() / 4, 0));
    QCOMPARE(g_doc.upx, 2u);

    // The nudge moves the discs on the preview and comes back.
    QTest::mouseClick(Find<QToolButton>(w, "nudgeRight"), Qt::LeftButton);
    a_print_media_spec media;
    Get_Media_Specs(media);
    QVERIFY(media.nudge.h > 0);
    QVERIFY(preview->Unit_Place(1).left() > one.left());
    QTest::mouseClick(Find<QToolButton>(w, "nudgeCentre"), Qt::LeftButton);
    Get_Media_Specs(media);
    QCOMPARE(int(media.nudge.h), 0);
    QCOMPARE(preview->Unit_Place(1), one);

    // Save as PDF; the page shows the canvas on both discs, alike.
    QTemporaryDir out;
    QString pdf = out.path() + "/two discs.pdf";
    auto* panel = Find<a_print_panel>(w, "printPanel");
    panel->ask_pdf_path = [&](const QString&) { return pdf; };
    QTest::mouseClick(Find<QPushButton>(w, "saveAsPdf"), Qt::LeftButton);
    QVERIFY(QFile::exists(pdf));
    QProcess render;
    render.start("pdftoppm", {"-r", "50", "-png", "-singlefile", pdf, out.path() + "/page"});
    QVERIFY(render.waitForFinished(60000));
    QCOMPARE(render.exitCode(), 0);
    QImage page(out.path() + "/page.png");
    QVERIFY(!page.isNull());
    QRgb a = page.pixel(Disc_Point(1, 50)), b = page.pixel(Disc_Point(2, 50));
    QVERIFY2(Channel_Distance(a, qRgb(255, 255, 255)) > 12, "the first disc is white");
    QVERIFY2(Channel_Distance(a, b) <= 24, "the discs differ");
    const a_frect& b1 = g_doc.doc_template.units[1].bbox;
    QPoint hole(int((b1.left + b1.right) / 2 * 50 / 25.4), int((b1.top + b1.bottom) / 2 * 50 / 25.4));
    QVERIFY2(Channel_Distance(page.pixel(hole), qRgb(255, 255, 255)) <= 12, "the hole is printed");

    QVERIFY(Close_Unchanged(w));
}

// Save As through the real dialog: a name typed without ".cd4" that names an
// existing project gets the dialog's own question before anything is
// replaced; "No" keeps the file, and cancelling leaves the document new.
void a_gui_test::SaveAsAsksBeforeReplacingANameTypedWithoutItsSuffix() {
    a_main_window w;
    QVERIFY(Open_Two_Disc_Stock(w));
    QVERIFY(g_doc.doc_new);
    QTemporaryDir dir;
    const QString existing = dir.path() + "/Party.cd4";
    {
        QFile f(existing);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write("old") == 3);
    }
    bool typed = false, asked = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog) return;
        auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
        if (!name) return dialog->reject();
        // In the folder, as a person who went there would type it.
        dialog->setDirectory(dir.path());
        name->clear();
        QTest::keyClicks(name, "Party");
        typed = true;
        QTimer::singleShot(0, [&] {
            auto* question = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!question) return;
            asked = question->text().contains("Party.cd4");
            question->button(QMessageBox::No) ? question->button(QMessageBox::No)->click() : question->reject();
        });
        // The dialog's own Save button: Return would go to the completer's
        // list of matching names first.
        QPushButton* save = nullptr;
        if (auto* box = dialog->findChild<QDialogButtonBox*>())
            for (QAbstractButton* b : box->buttons())
                if (box->buttonRole(b) == QDialogButtonBox::AcceptRole) save = qobject_cast<QPushButton*>(b);
        if (save) QTest::mouseClick(save, Qt::LeftButton);
        if (dialog->isVisible()) dialog->reject();
    });
    w.Command_Action(305)->trigger();  // File > Save As
    QVERIFY(typed);
    QVERIFY2(asked, "the dialog did not ask before replacing Party.cd4");
    QFile f(existing);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("old"));
    QVERIFY(g_doc.doc_new);
    QVERIFY(Close_Unchanged(w));
}

// Save with a name typed without its suffix, Close, and the start screen
// lists the project with its picture; a click opens it as it was saved. A
// project dropped on the window asks about the changed one first.
void a_gui_test::SaveCloseReopenFromRecentListAndDrop() {
    a_main_window w;
    w.resize(1024, 700);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QListWidget* recent = Find<QListWidget>(w, "recentProjects");
    QCOMPARE(recent->count(), 1);
    QVERIFY(!(recent->item(0)->flags() & Qt::ItemIsEnabled));
    Choose_Stock(w, "A-ONE", "29125", "A-ONE 29125");
    QTest::mouseClick(Find<QPushButton>(w, "chooserOk"), Qt::LeftButton);
    Click_Canvas(w, 3);
    const std::string chosen = Key_To_String(g_doc.up->canv.cv.canvas_key);
    QVERIFY(g_doc.doc_changed);

    QTemporaryDir dir;
    QString path = dir.path() + "/Party.cd4";
    auto* files = w.findChild<a_file_dialogs*>("fileDialogs");
    QVERIFY(files);
    QString proposed;
    files->ask_save = [&](const QString&, const QString& name, int16_t) {
        proposed = name;
        return dir.path() + "/Party";
    };
    w.Command_Action(304)->trigger();  // Save of a new project asks for a name
    QVERIFY(QFile::exists(path));
    QVERIFY(!proposed.isEmpty());
    QVERIFY(!g_doc.doc_changed && !g_doc.doc_new);
    QVERIFY(w.windowTitle().startsWith("Party.cd4[*]"));
    QVERIFY(!w.isWindowModified());

    // A change marks the title; undoing back to the saved state clears the
    // mark, and closing then asks nothing. Redo marks it again.
    Click_Canvas(w, 4);
    QVERIFY(w.isWindowModified());
    QTest::keyClick(&w, Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(!g_doc.doc_changed && !w.isWindowModified());
    QTest::keyClick(&w, Qt::Key_Y, Qt::ControlModifier);
    QVERIFY(g_doc.doc_changed && w.isWindowModified());
    QTest::keyClick(&w, Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(!g_doc.doc_changed);
    Dialog_ScriptAnswers({});

    w.Command_Action(303)->trigger();  // Close: unchanged, no question
    QVERIFY(!g_doc.doc_open);
    QVERIFY(Dialog_History().empty());
    QTRY_VERIFY(Find<QWidget>(w, "startScreen")->isVisible());
    QCOMPARE(recent->count(), 1);
    QListWidgetItem* item = recent->item(0);
    QVERIFY(item->text().startsWith("Party\n"));
    QCOMPARE(item->toolTip(), path);
    QVERIFY(!item->icon().isNull());
    // The thumbnail is the project's own preview, not the placeholder.
    QImage preview = Project_Preview(path.toStdString());
    QVERIFY(!preview.isNull());

    QTest::mouseClick(recent->viewport(), Qt::LeftButton, {}, recent->visualItemRect(item).center());
    QVERIFY(g_doc.doc_open);
    QCOMPARE(QString::fromStdString(g_doc.doc_path.name), path);
    QCOMPARE(gs.curr_phase, CANVAS_PHASE);
    QCOMPARE(g_doc.doc_template.nunits, 2u);
    QCOMPARE(Key_To_String(g_doc.up->canv.cv.canvas_key), chosen);
    QVERIFY(Find<QWidget>(w, "unitView")->isVisible());

    // File > Open through the real dialog: the preview box beside the list
    // shows the selected project's picture, and nothing for other files.
    bool boxes_right = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog) return;
        auto* box = dialog->findChild<a_preview_box*>("filePreview");
        QFile other(dir.path() + "/notes.cd4");
        if (box && other.open(QIODevice::WriteOnly) && other.write("not a project") > 0) {
            other.close();
            // What the dialog says as the user moves through its list.
            emit dialog->currentChanged(other.fileName());
            bool blank = box->pixmap().isNull();
            emit dialog->currentChanged(path);
            boxes_right = blank && !box->pixmap().isNull();
            if (qEnvironmentVariableIsSet("CIRQUEL_LOOK_OPEN"))
                dialog->grab().save(qEnvironmentVariable("CIRQUEL_LOOK_OPEN"));
        }
        dialog->selectFile(path);
        static_cast<QDialog*>(dialog)->accept();
    });
    w.Command_Action(302)->trigger();
    QVERIFY(boxes_right);
    QCOMPARE(QString::fromStdString(g_doc.doc_path.name), path);

    // Save changes? Cancel keeps the changed project; Don't Save opens the drop.
    Click_Canvas(w, 1);
    QVERIFY(g_doc.doc_changed);
    Dialog_ScriptAnswers({2});
    Drop_File(w, path);
    QCOMPARE(int(Dialog_History().size()), 1);
    QVERIFY(g_doc.doc_changed);
    Dialog_ScriptAnswers({1});
    Drop_File(w, path);
    QVERIFY(!g_doc.doc_changed);
    QCOMPARE(Key_To_String(g_doc.up->canv.cv.canvas_key), chosen);
    // Anything but one project is refused at the door.
    QMimeData other;
    other.setUrls({QUrl::fromLocalFile(path), QUrl::fromLocalFile(path)});
    QVERIFY(Dropped_Project(&other).isEmpty());
    other.setUrls({QUrl::fromLocalFile(dir.path() + "/missing.cd4")});
    QVERIFY(Dropped_Project(&other).isEmpty());
    other.setUrls({QUrl("https://example.org/Party.cd4")});
    QVERIFY(Dropped_Project(&other).isEmpty());
    QVERIFY(Close_Unchanged(w));
}

namespace {

// Answers each message box the window shows with `act`, as long as it keeps
// returning true; the message boxes are the real ones.
void Each_Box(std::function<bool(QMessageBox*)> act) {
    When_Modal([act](QDialog* d) {
        auto* box = qobject_cast<QMessageBox*>(d);
        if (box && act(box)) Each_Box(act);
    });
}

QPushButton* Button_Named(QMessageBox* box, const QString& text) {
    for (QAbstractButton* b : box->buttons())
        if (b->text() == text) return qobject_cast<QPushButton*>(b);
    return nullptr;
}

}  // namespace

// Open asks about the changes only once a file is chosen; Escape at the
// question keeps the work; a file that cannot be read leaves the project
// open as it was, still changed. Revert's question keeps the work on Return.
void a_gui_test::FailedOpenKeepsTheProjectAndAsksOnlyAfterTheChoice() {
    a_main_window w;
    QVERIFY(Open_Two_Disc_Stock(w));
    QTemporaryDir dir;
    QVERIFY(Add_Photo(dir.path(), "kept", Qt::red));
    QApplication::processEvents();
    QVERIFY(g_doc.doc_changed);
    const int blocks = g_doc.up->oj.nlist;
    const std::string name = Doc_Name();
    QFile bad(dir.path() + "/broken.cd4");
    QVERIFY(bad.open(QIODevice::WriteOnly));
    bad.write("DISC this is no project at all");
    bad.close();
    QStringList seen;
    auto* files = w.findChild<a_file_dialogs*>("fileDialogs");
    files->ask_open = [&] {
        seen << "file";
        return bad.fileName();
    };
    Dialogs_Qt_Install();

    QString default_text;
    Each_Box([&](QMessageBox* box) {
        seen << "question";
        default_text = box->defaultButton() ? box->defaultButton()->text() : QString();
        QTest::keyClick(box, Qt::Key_Escape);
        return false;
    });
    w.Command_Action(302)->trigger();
    QCOMPARE(seen, QStringList({"file", "question"}));
    QCOMPARE(default_text, QString("Save"));
    QVERIFY(g_doc.doc_open && g_doc.doc_changed);
    QCOMPARE(g_doc.up->oj.nlist, blocks);

    // Don't Save, then the damaged file's alert: the project is still there.
    seen.clear();
    Each_Box([&](QMessageBox* box) {
        if (QPushButton* dont = Button_Named(box, "Don't Save")) {
            seen << "question";
            dont->click();
            return true;
        }
        seen << "alert";
        QTest::keyClick(box, Qt::Key_Return);
        return false;
    });
    w.Command_Action(302)->trigger();
    QTRY_COMPARE(seen, QStringList({"file", "question", "alert"}));
    QVERIFY(g_doc.doc_open);
    QCOMPARE(g_doc.up->oj.nlist, blocks);
    QVERIFY(g_doc.doc_changed);
    QCOMPARE(Doc_Name(), name);
    QApplication::processEvents();
    QVERIFY(gs.curr_phase != NODOC_PHASE);
    QVERIFY(w.isWindowModified());

    // Saved, changed, then File > Revert: Return at its question keeps the change.
    files->ask_save = [&](const QString&, const QString&, int16_t) { return dir.path() + "/Kept"; };
    w.Command_Action(304)->trigger();
    QVERIFY(!g_doc.doc_changed);
    QVERIFY(Add_Photo(dir.path(), "more", Qt::green));
    Each_Box([&](QMessageBox* box) {
        default_text = box->defaultButton() ? box->defaultButton()->text() : QString();
        QTest::keyClick(box, Qt::Key_Return);
        return false;
    });
    w.Command_Action(306)->trigger();
    QCOMPARE(default_text, QString("Don't Revert"));
    QCOMPARE(g_doc.up->oj.nlist, blocks + 1);
    Dialogs_Qt_Remove();
    g_doc.doc_changed = false;
    QVERIFY(Close_Unchanged(w));
}

// The clone and print toggles act on the current label, each one step; the
// Layout button moves the project to one disc, and the remap dialog's choice
// decides which old disc's design it keeps.
void a_gui_test::UnitTogglesAndToDifferentLayout() {
    a_main_window w;
    QVERIFY(Open_Two_Disc_Stock(w));
    Click_Canvas(w, 3);
    QListWidget* units = Find<QListWidget>(w, "unitList");
    units->setCurrentRow(1);
    QCOMPARE(g_doc.upx, 2u);
    auto* clone = Find<QCheckBox>(w, "cloneToggle");
    auto* print = Find<QCheckBox>(w, "printToggle");
    QTRY_VERIFY(clone->isVisible());
    QVERIFY(clone->isEnabled());
    if (g_doc.up->clonef) {
        QVERIFY(clone->isChecked());
        QVERIFY(units->item(1)->text().contains("clone"));
        clone->click();  // an independent copy of label 1's design
        QVERIFY(!g_doc.up->clonef);
    }
    QVERIFY(!clone->isChecked());
    Click_Canvas(w, 5);
    const std::string second = Key_To_String(g_doc.up->canv.cv.canvas_key);
    QVERIFY(print->isChecked());
    print->click();
    QVERIFY(!g_doc.doc_units[2]->printf && !print->isChecked());
    QVERIFY(units->item(1)->text().contains("no print"));
    w.Command_Action(401)->trigger();
    QVERIFY(g_doc.doc_units[2]->printf);
    QTRY_VERIFY(print->isChecked());
    units->setCurrentRow(0);
    QVERIFY(!clone->isEnabled());  // the first label is never a clone

    // To Different Layout: one disc, taking label 2's design.
    const int one = One_Disc_Template();
    QVERIFY(one > 0);
    auto* layouts = w.findChild<a_layout_dialogs*>("layoutDialogs");
    QVERIFY(layouts);
    layouts->ask_template = [one] { return one; };
    int remaps = 0;
    layouts->ask_remap = [&](a_remap_dialog& d) {
        ++remaps;
        d.Row(1)->setCurrentIndex(d.Row(1)->findData(2u));
        return d.Row(1)->currentIndex() > 0;
    };
    Dialog_ScriptAnswers({1});  // Don't Save before switching
    QTest::mouseClick(Find<QToolButton>(w, "phase8"), Qt::LeftButton);
    QCOMPARE(remaps, 1);
    QCOMPARE(g_doc.doc_template.nunits, 1u);
    QCOMPARE(Key_To_String(g_doc.doc_units[1]->canv.cv.canvas_key), second);
    QCOMPARE(gs.curr_phase, CANVAS_PHASE);
    QTRY_COMPARE(units->count(), 1);

    // Cancelled in the chooser: nothing changes.
    layouts->ask_template = [] { return 0; };
    w.Command_Action(1101)->trigger();
    QCOMPARE(g_doc.doc_template.nunits, 1u);

    // On a direct disc printer the print panel offers the disc's sizes.
    auto* panel = Find<QWidget>(w, "printPanel");
    QWidget* outer = Find<QWidget>(*panel, QString("slider%1").arg(int(PRINT_OUTERD_SLIDER)).toLatin1().constData());
    QWidget* width = Find<QWidget>(*panel, QString("slider%1").arg(int(PRINT_WIDTH_SLIDER)).toLatin1().constData());
    QTest::mouseClick(Find<QToolButton>(w, "phase0"), Qt::LeftButton);
    QTRY_VERIFY(panel->isVisible());
    QVERIFY(!outer->isVisible());
    layouts->ask_template = [] { return Find_Template(std::string("DYMO DiscPainter")); };
    Dialog_ScriptAnswers({1});
    layouts->ask_remap = [](a_remap_dialog&) { return true; };
    w.Command_Action(1101)->trigger();
    QCOMPARE(int(Calc_Direct_Print_Kind()), int(CD_DIRECT));
    QCOMPARE(gs.curr_phase, PREVIEW_PHASE);
    QTRY_VERIFY(outer->isVisible());
    QVERIFY(!width->isVisible());
    // The number shows the medium's size within the tray's range.
    auto* number = outer->findChild<QDoubleSpinBox*>();
    QVERIFY(number);
    QCOMPARE(number->maximum(), 120.0);  // millimetres
    QCOMPARE(number->suffix(), QString(" mm"));
    QCOMPARE(number->value(), gs.slider_vals[PRINT_OUTERD_SLIDER] / 10.0);
    QVERIFY(number->value() >= 100);
    // The medium's name: renamed in its dialog, kept with its settings; a
    // cancelled dialog changes nothing.
    auto* print_panel = Find<a_print_panel>(w, "printPanel");
    print_panel->ask_media_name = [](const QString&) { return QString("Glossy white"); };
    QTest::mouseClick(Find<QPushButton>(w, "mediaName"), Qt::LeftButton);
    QCOMPARE(Find<QLabel>(w, "mediaNameShown")->text(), QString("Glossy white"));
    print_panel->ask_media_name = [](const QString&) { return QString(); };
    QTest::mouseClick(Find<QPushButton>(w, "mediaName"), Qt::LeftButton);
    QVERIFY(Media_Name_Current().name == u"Glossy white");
    if (qEnvironmentVariableIsSet("CIRQUEL_LOOK")) w.grab().save(qEnvironmentVariable("CIRQUEL_LOOK"));

    QVERIFY(Close_Unchanged(w));
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

    // A bad batch line handed to the window is told once, in one box.
    a_main_window w;
    QObject::connect(&first, &a_single_instance::Command_Received, &w, &a_main_window::Take_Forwarded);
    Dialog_ScriptAnswers({});
    std::thread third([&] { handed = a_single_instance(dir.path()).Hand_Over({"/CX", "five", "/IF", "a.cd4"}); });
    QTRY_COMPARE_WITH_TIMEOUT(got.count(), 2, 10000);
    third.join();
    QVERIFY(handed);
    QCOMPARE(int(Dialog_History().size()), 1);
    QCOMPARE(QString::fromStdString(Dialog_History()[0].message), QString("Parameter not numeric: five"));
    QVERIFY(!g_doc.doc_open);
}


// The start screen, the chooser, a canvas and the preview as Xvfb shows them.
void a_gui_test::ScreenshotsUnderXvfb() {
    if (QStandardPaths::findExecutable("Xvfb").isEmpty()) QSKIP("Xvfb is not installed");
    QString why;
    QVERIFY2(Shots_Match_Goldens({"gui_start_screen", "gui_chooser", "gui_canvas", "gui_preview", "gui_dark"}, why),
             qPrintable(why));
}

int Run_Tests(char** argv) {
    a_gui_test test;
    return QTest::qExec(&test, 1, argv);
}

}  // namespace

int main(int argc, char** argv) { return Gui_Test_Main(argc, argv, Run_Tests, Take_Shots); }

#include "test_gui.moc"
