// The Import menu as a person uses it: a tab export through the field
// dialog's boxes into two columns of text, saved, read back and imported
// into itself; a cancelled
// dialog that changes nothing; the navigator's frame dragged to scroll; a
// project naming a font this machine lacks answered in the remapping dialog.
#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QStandardPaths>
#include <QtCore/QTemporaryDir>
#include <QtGui/QImage>
#include <QtTest/QTest>
#include <QtWidgets/QApplication>
#include <QtWidgets/QCheckBox>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QLabel>
#include <QtWidgets/QMenu>
#include <QtWidgets/QMenuBar>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QScrollBar>

#include <cmath>

#include "base/prefs.h"
#include "dialogs/field_dialog_qt.h"
#include "dialogs/font_subst_dialog.h"
#include "dialogs/file_dialogs.h"
#include "gui_fixtures.h"
#include "import_menu.h"
#include "main_window.h"
#include "model/document.h"
#include "model/history.h"
#include "model/notices.h"
#include "model/selection.h"
#include "widgets/navigator.h"
#include "platform/dialogs.h"
#include "platform/fonts.h"
#include "shell/mainloop.h"
#include "text/text_blocks.h"
#include "tracks/import.h"
#include "ui/interface.h"
#include "unit_view.h"
#include "v7_fixtures.h"

namespace {

bool Write_File(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// The texts of the current unit's text blocks, bottom to top, with plain
// carriage returns between lines.
QStringList Texts() {
    QStringList out;
    for (int i = 1; i <= g_doc.up->oj.nlist; ++i) {
        if (g_doc.up->oj.list[i].kind != TEXT_BLOCK) continue;
        out << QString::fromStdU16String(OM_To_Str(*g_doc.up->oj.list[i].om)).remove('\n');
    }
    return out;
}

QByteArray Utf16(const QString& s, bool big_endian) {
    QByteArray out;
    for (QChar c : s) {
        char hi = char(c.unicode() >> 8), lo = char(c.unicode() & 0xff);
        out.append(big_endian ? hi : lo).append(big_endian ? lo : hi);
    }
    return out;
}

void Click(QWidget* w) { QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center()); }

const QByteArray kTabExport = "Name\tArtist\tTime\r\n"
                              "Morning\tThe Band\t185\r\n"
                              "Evening\tThe Band\t250\r\n"
                              "Night\tSolo\t62\r\n";

class a_import_test : public QObject {
    Q_OBJECT
private slots:
    void TabExportThroughFieldDialogIntoTwoColumns();
    void PlaylistAlbumArtBecomesAPhoto();
    void NavigatorFrameDragScrolls();
    void MissingFontAnsweredInRemapDialog();
    void OldProjectFromTheImportMenu();
    void ScreenshotsUnderXvfb();
};

void a_import_test::TabExportThroughFieldDialogIntoTwoColumns() {
    a_main_window w;
    QVERIFY(Open_Two_Disc_Stock(w));
    QTemporaryDir dir;
    const QString list = dir.path() + "/tracks.txt";
    QVERIFY(Write_File(list, kTabExport));
    auto* menu = w.findChild<a_import_menu*>("importMenu");
    QVERIFY(menu);
    QVERIFY(w.Command_Action(IMPORT_TABTEXT_CMD)->isEnabled());
    menu->ask_files = [&](int command) {
        return command == IMPORT_TABTEXT_CMD ? QStringList{list} : QStringList{};
    };
    g_songfields_f = g_songfields_c = 0;  // the defaults of a first import

    // The defaults: the track number, Name (starting a column) and Artist.
    // Clicks: the track number off, Time on and starting a column of its
    // own. Everything off leaves OK disabled.
    QString seen;
    menu->ask_fields = [&](a_field_dialog_qt& d) {
        d.show();
        if (!QTest::qWaitForWindowExposed(&d)) return false;
        for (uint32_t f = 0; f <= 3; ++f) seen += d.Shown(f)->isChecked() ? '1' : '0';
        seen += d.Column(1)->isChecked() ? 'c' : '-';
        Click(d.Shown(0));
        Click(d.Shown(1));
        Click(d.Shown(2));
        seen += d.Ok()->isEnabled() ? 'K' : 'x';
        Click(d.Shown(1));
        Click(d.Shown(2));
        Click(d.Shown(3));
        Click(d.Column(3));
        Click(d.Ok());
        return d.result() == QDialog::Accepted;
    };
    const int blocks = g_doc.up->oj.nlist;
    const int kept = Kept();
    w.Command_Action(IMPORT_TABTEXT_CMD)->trigger();
    QCOMPARE(seen, QString("1110cx"));
    QCOMPARE(g_doc.up->oj.nlist, blocks + 2);
    QCOMPARE(Kept(), kept + 1);
    const QStringList made = Texts();
    QCOMPARE(made, QStringList({"Morning / The Band\rEvening / The Band\rNight / Solo", "3:05\r4:10\r1:02"}));
    QCOMPARE(gs.curr_phase, TEXT_PHASE);  // where the new, selected blocks show
    // Side by side, the first column on the left.
    const Rect first = Obj_BBox(blocks + 1), second = Obj_BBox(blocks + 2);
    QVERIFY2(first.left < second.left && first.top < second.bottom && second.top < first.bottom,
             qPrintable(QString("%1-%2 and %3-%4").arg(first.left).arg(first.right).arg(second.left).arg(second.right)));

    // Cancelled after a click: nothing placed, the choice as it was.
    const uint32_t shown = g_songfields_f, starts = g_songfields_c;
    menu->ask_fields = [&](a_field_dialog_qt& d) {
        d.show();
        Click(d.Shown(2));
        Click(d.findChild<QPushButton*>("fieldsCancel"));
        return d.result() == QDialog::Accepted;
    };
    w.Command_Action(IMPORT_TABTEXT_CMD)->trigger();
    QCOMPARE(g_doc.up->oj.nlist, blocks + 2);
    QCOMPARE(Kept(), kept + 1);
    QCOMPARE(g_songfields_f, shown);
    QCOMPARE(g_songfields_c, starts);

    QVERIFY(Close_Unchanged(w));
}

// A Windows Media playlist from the Import menu: the album art of its
// songs' folder is placed as a photo, and the counts are told.
void a_import_test::PlaylistAlbumArtBecomesAPhoto() {
    a_main_window w;
    QVERIFY(Open_Two_Disc_Stock(w));
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir("album"));
    QVERIFY(Write_File(dir.path() + "/album/01.wma", "x"));
    QVERIFY(Write_File(dir.path() + "/album/02.wma", "x"));
    QImage art(120, 120, QImage::Format_RGB32);
    art.fill(QColor(200, 60, 40));
    QVERIFY(art.save(dir.path() + "/album/AlbumArt_LARGE.jpg", "JPEG"));
    const QString list = dir.path() + "/summer.wpl";
    QVERIFY(Write_File(list, "<?wpl version=\"1.0\"?><smil><body><seq>"
                             "<media src=\"album\\01.wma\"/><media src=\"album\\02.wma\"/>"
                             "</seq></body></smil>"));
    auto* menu = w.findChild<a_import_menu*>("importMenu");
    menu->ask_files = [&](int command) { return command == IMPORT_WPL_CMD ? QStringList{list} : QStringList{}; };
    const int blocks = g_doc.up->oj.nlist;
    Dialog_ScriptAnswers({});
    w.Command_Action(IMPORT_WPL_CMD)->trigger();
    QCOMPARE(g_doc.up->oj.nlist, blocks + 1);
    QCOMPARE(int(g_doc.up->oj.list[g_doc.up->oj.nlist].kind), int(PHOTO_BLOCK));
    QCOMPARE(gs.curr_phase, PHOTO_PHASE);
    QVERIFY(!Dialog_History().empty());
    const QString told = QString::fromStdString(Dialog_History().back().message);
    QVERIFY2(told.startsWith("2 songs in playlist") && told.contains("1 folders scanned") &&
                 told.contains("1 images retrieved"),
             qPrintable(told));
    QVERIFY(Close_Unchanged(w));
}

// At 200 % the frame is a part of the picture; dragging it scrolls the
// editing area by the way scaled up, and the frame follows.
void a_import_test::NavigatorFrameDragScrolls() {
    a_main_window w;
    QVERIFY(Open_Two_Disc_Stock(w));
    auto* nav = Find<a_navigator>(w, "navigator");
    auto* view = Find<a_unit_view>(w, "unitView");
    QApplication::processEvents();
    QVERIFY(nav->isVisible());
    const QRectF picture = nav->Picture_Rect();
    QVERIFY(!picture.isEmpty());
    QVERIFY(std::abs(nav->Frame().width() - picture.width()) <= 1.5);  // fit: all of it shown

    w.Command_Action(1006)->trigger();  // 200 %
    QApplication::processEvents();
    const QRectF frame = nav->Frame();
    QVERIFY(frame.width() < picture.width() / 2);
    QVERIFY(picture.contains(frame.center()));
    const double scale = picture.width() / view->Unit_Rect().width();
    const int h = view->horizontalScrollBar()->value(), v = view->verticalScrollBar()->value();
    const QPoint from = frame.center().toPoint(), way(12, 9);
    QTest::mousePress(nav, Qt::LeftButton, {}, from);
    QTest::mouseMove(nav, from + way / 2);
    QTest::mouseMove(nav, from + way);
    QTest::mouseRelease(nav, Qt::LeftButton, {}, from + way);
    QVERIFY2(std::abs(view->horizontalScrollBar()->value() - h - way.x() / scale) <= 2,
             qPrintable(QString("scrolled %1 for %2").arg(view->horizontalScrollBar()->value() - h).arg(way.x() / scale)));
    QVERIFY(std::abs(view->verticalScrollBar()->value() - v - way.y() / scale) <= 2);
    QVERIFY(std::abs(nav->Frame().left() - frame.left() - way.x()) <= 1.5);
    QVERIFY(std::abs(nav->Frame().top() - frame.top() - way.y()) <= 1.5);

    // A change while a button is held waits for the mouse to rest.
    QApplication::processEvents();
    QVERIFY(!nav->Stale());
    QTest::mousePress(view->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
    g_doc_notices.unit_refresh.Emit(g_doc.upx, Rect{0, 0, 10, 10});
    QApplication::processEvents();
    QVERIFY(nav->Stale());
    QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
    QApplication::processEvents();
    QVERIFY(nav->Stale());
    g_shell_notices.rest.Emit(Point{5, 5});
    QTRY_VERIFY(!nav->Stale());
    QVERIFY(Close_Unchanged(w));
}

// A saved project whose font is renamed to one nobody has: opening it asks
// in the remapping dialog, which shows the kept sample, and the font chosen
// there is the text block's font.
void a_import_test::MissingFontAnsweredInRemapDialog() {
    std::vector<int> fonts;  // two fonts other than the fallback, with names found once in a file
    for (int f = 1; f <= Font_Count() && fonts.size() < 2; ++f)
        if (f != Font_Base_Proportional() && Font_Name(f).size() >= 6) fonts.push_back(f);
    if (fonts.size() < 2) QSKIP("fewer than three fonts are installed");
    a_main_window w;
    QVERIFY(Open_Two_Disc_Stock(w));
    const Rect& b = g_doc.up->paintbounds;
    Interaction_Begin();
    QVERIFY(Text_New_At(Point{int16_t((b.top + b.bottom) / 2), int16_t((b.left + b.right) / 2)}));
    g_doc.up->oj.list[g_doc.up->oj.nlist].om->fontx = uint32_t(fonts[0]);
    Interaction_End();
    QTemporaryDir dir;
    auto* files = w.findChild<a_file_dialogs*>("fileDialogs");
    files->ask_save = [&](const QString&, const QString&, int16_t) { return dir.path() + "/Fonts"; };
    w.Command_Action(304)->trigger();
    const QString path = dir.path() + "/Fonts.cd4";
    w.Command_Action(303)->trigger();

    // The font's name in the file, either byte order, becomes one of the
    // same length that no machine has.
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QByteArray bytes = file.readAll();
    file.close();
    const QString real = QString::fromStdU16String(Font_Name(fonts[0]));
    QString gone = real;
    for (qsizetype i = 0; i < gone.size(); ++i) gone[i] = QChar(i % 2 ? 'q' : 'Z');
    qsizetype replaced = 0;
    for (bool big : {true, false}) {
        replaced += bytes.count(Utf16(real, big));
        bytes.replace(Utf16(real, big), Utf16(gone, big));
    }
    QVERIFY(replaced > 0);
    QVERIFY(Write_File(path, bytes));

    auto* menu = w.findChild<a_import_menu*>("importMenu");
    int asked = 0;
    QString named;
    bool sample = false;
    menu->ask_font = [&](a_font_subst_dialog& d) {
        ++asked;
        named = d.findChild<QLabel*>("missingFontName")->text();
        sample = !d.findChild<QLabel*>("storedSample")->pixmap().isNull();
        d.Fonts()->setCurrentIndex(d.Fonts()->findData(fonts[1]));
        d.accept();
    };
    files->ask_open = [&] { return path; };
    w.Command_Action(302)->trigger();
    QVERIFY(g_doc.doc_open);
    QCOMPARE(asked, 1);
    QCOMPARE(named, gone);
    QVERIFY(sample);
    int text = 0;
    for (uint32_t ux = 1; ux <= g_doc.doc_template.nunits && !text; ++ux)
        for (int i = 1; i <= g_doc.doc_units[ux]->oj.nlist; ++i)
            if (g_doc.doc_units[ux]->oj.list[i].kind == TEXT_BLOCK) {
                QCOMPARE(int(g_doc.doc_units[ux]->oj.list[i].om->fontx), fonts[1]);
                text = i;
            }
    QVERIFY(text != 0);
    QVERIFY(Close_Unchanged(w));
}

// A project of the previous version, chosen through the Import menu with
// the mouse: its texts, photo and paint land on the current unit as one
// step, which Undo takes back; a damaged one is refused with the alert and
// changes nothing.
void a_import_test::OldProjectFromTheImportMenu() {
    a_main_window w;
    QVERIFY(Open_Two_Disc_Stock(w));
    QTemporaryDir dir;
    const QString good = dir.path() + "/Summer7.cd4", bad = dir.path() + "/Cut7.cd4";
    const std::vector<uint8_t> bytes = Write_V7(V7_Sample(0));
    QVERIFY(Write_File(good, QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()))));
    QVERIFY(Write_File(bad, QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size() / 2))));
    auto* files = w.findChild<a_file_dialogs*>("fileDialogs");
    QString chosen;
    files->ask_open = [&] { return chosen; };
    auto choose = [&] {
        QMenuBar* bar = w.menuBar();
        QAction* import = nullptr;
        for (QAction* a : bar->actions())
            if (a->text().remove('&') == "Import") import = a;
        QVERIFY(import);
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(import).center());
        QTRY_VERIFY(qobject_cast<QMenu*>(QApplication::activePopupWidget()));
        auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QAction* item = w.Command_Action(IMPORT_PROJECT_CMD);
        QVERIFY(item && item->isEnabled() && popup->actions().contains(item));
        QTest::mouseClick(popup, Qt::LeftButton, {}, popup->actionGeometry(item).center());
    };
    const int blocks = g_doc.up->oj.nlist, steps = Kept();
    chosen = good;
    choose();
    QTRY_COMPARE(g_doc.up->oj.nlist, blocks + 3);
    QCOMPARE(Kept(), steps + 1);
    QVERIFY(g_doc.up->paintinuse);
    QCOMPARE(Texts().size(), 2);
    QCOMPARE(Texts()[0], QString::fromUtf16(u"Summer\r\u00e4\u00e9 t\u00c8"));

    Dialog_ScriptAnswers({});
    chosen = bad;
    choose();
    QTRY_VERIFY(!Dialog_History().empty());
    QCOMPARE(QString::fromStdString(Dialog_History().back().message), QString("Sorry, could not read the file."));
    QCOMPARE(g_doc.up->oj.nlist, blocks + 3);
    QCOMPARE(Kept(), steps + 1);

    QTest::keyClick(&w, Qt::Key_Z, Qt::ControlModifier);
    QTRY_COMPARE(g_doc.up->oj.nlist, blocks);
    QVERIFY(Close_Unchanged(w));
}

// The field dialog of a seven-field export as Xvfb shows it.
void a_import_test::ScreenshotsUnderXvfb() {
    if (QStandardPaths::findExecutable("Xvfb").isEmpty()) QSKIP("Xvfb is not installed");
    QString why;
    QVERIFY2(Shots_Match_Goldens({"gui_field_dialog"}, why), qPrintable(why));
}

int Take_Shots(const QString& dir) {
    const QByteArray text = "Name\tArtist\tAlbum\tGenre\tYear\tTime\tComposer\r\n"
                            "Morning\tThe Band\tDaylight\tPop\t2024\t185\tA. Writer\r\n"
                            "Evening\tThe Band\tDaylight\tPop\t2024\t250\tA. Writer\r\n"
                            "Night\tSolo\tDark\tJazz\t2025\t62\tB. Player\r\n";
    a_song_table t;
    if (Read_iTunes(std::string_view(text.constData(), size_t(text.size())), t) != 0) return 2;
    g_songfields_f = g_songfields_c = 0;
    a_field_dialog d;
    FieldDialog_Open(d, t);
    FieldDialog_Set_Style(d, t, 6);
    FieldDialog_Toggle_Shown(d, t, 6);
    FieldDialog_Toggle_Column(d, t, 6);
    a_field_dialog_qt dialog(d, t, nullptr);
    dialog.show();
    if (!QTest::qWaitForWindowExposed(&dialog)) return 3;
    QTest::qWait(300);
    if (!dialog.grab().toImage().save(dir + "/gui_field_dialog.png")) return 4;
    FieldDialog_Cancel(d);
    return 0;
}

int Run_Tests(char** argv) {
    a_import_test test;
    return QTest::qExec(&test, 1, argv);
}

}  // namespace

int main(int argc, char** argv) { return Gui_Test_Main(argc, argv, Run_Tests, Take_Shots); }

#include "test_gui_import.moc"
