// The road of a label, travelled in the window with the mouse as a person
// does: a disc stock and a background; a photo with a scalloped edge and a
// shadow; clip art, coloured and dragged into place; circular text with a
// glow and straight text; five steps undone and two redone in the history
// panel; saved, reopened and printed to PDF; then a jewel-case booklet with
// a numbered track list and its times imported in columns. Under a display server of its own
// a picture of each stop (and the PDF's page) is compared with its golden.
#include <QtCore/QFile>
#include <QtCore/QProcess>
#include <QtCore/QStandardPaths>
#include <QtCore/QTemporaryDir>
#include <QtGui/QPainter>
#include <QtTest/QTest>
#include <QtWidgets/QApplication>
#include <QtWidgets/QCheckBox>
#include <QtWidgets/QListWidget>
#include <QtWidgets/QPlainTextEdit>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QSlider>

#include "base/prefs.h"
#include "dialogs/field_dialog_qt.h"
#include "dialogs/file_dialogs.h"
#include "gui_fixtures.h"
#include "import_menu.h"
#include "main_window.h"
#include "model/document.h"
#include "model/ph_blocks.h"
#include "model/selection.h"
#include "panels/photo_panel.h"
#include "panels/print_panel.h"
#include "shell/mainloop.h"
#include "widgets/slider_widget.h"
#include "text/text_blocks.h"
#include "dialogs/text_editor_dialog.h"
#include "tracks/field_dialog.h"
#include "ui/interface.h"
#include "ui/text_cmds.h"
#include "render/compositor.h"
#include "unit_view.h"

namespace {

const QStringList kShots = {"road_photos",  "road_clip_art", "road_text", "road_history",
                            "road_print",   "road_pdf",      "road_booklet"};

// A sunset over the sea, as a camera might bring it.
QString Sunset(const QString& dir) {
    QImage img(1200, 800, QImage::Format_RGB32);
    QPainter p(&img);
    QLinearGradient sky(0, 0, 0, 520);
    sky.setColorAt(0, QColor(40, 30, 90));
    sky.setColorAt(0.6, QColor(220, 90, 70));
    sky.setColorAt(1, QColor(250, 190, 90));
    p.fillRect(0, 0, 1200, 520, sky);
    p.setBrush(QColor(255, 220, 120));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(600, 500), 110, 110);
    QLinearGradient sea(0, 520, 0, 800);
    sea.setColorAt(0, QColor(30, 70, 120));
    sea.setColorAt(1, QColor(10, 25, 50));
    p.fillRect(0, 520, 1200, 280, sea);
    p.end();
    const QString path = dir + "/sunset.jpg";
    return img.save(path, "JPEG", 90) ? path : QString();
}

const QByteArray kTracks = "Name\tArtist\tTime\r\n"
                           "Harbour Lights\tThe Tide\t241\r\n"
                           "Salt and Glass\tThe Tide\t198\r\n"
                           "Evening Ferry\tMara Lund\t305\r\n"
                           "Low Water\tThe Tide\t176\r\n"
                           "Last Bus Home\tMara Lund\t262\r\n";

QSlider* Slider(QWidget& w, a_slider_enum s) {
    return Find<a_slider_widget>(w, qPrintable(QString("slider%1").arg(int(s))))->findChild<QSlider*>();
}

int Count_Of(uint8_t kind) {
    int n = 0;
    for (int i = 1; i <= g_doc.up->oj.nlist; ++i) n += g_doc.up->oj.list[i].kind == kind;
    return n;
}

// The road, with what went wrong first in `failed`.
class a_road {
public:
    a_road(a_main_window& w, const QString& dir, const QString& shots) : w_(w), dir_(dir), shots_(shots) {}
    QString failed;

    void Travel() {
        if (Check(Open_Two_Disc_Stock(w_), "the disc stock did not open")) Design_The_Disc();
        if (failed.isEmpty()) Undo_And_Redo();
        if (failed.isEmpty()) Save_Reopen_And_Print();
        if (failed.isEmpty()) Make_The_Booklet();
    }

private:
    bool Check(bool ok, const QString& what) {
        if (!ok && failed.isEmpty()) failed = what;
        return ok;
    }
    void Shot(const QString& name) {
        if (shots_.isEmpty() || !failed.isEmpty()) return;
        const double dpr = w_.devicePixelRatioF();
        Check(Screen_Shot(w_).save(shots_ + "/" + name + (dpr > 1.5 ? "_200" : "") + ".png"),
              "cannot keep " + name);
        // The unit's picture has as many pixels as the screen shows it with.
        auto* view = Find<a_unit_view>(w_, "unitView");
        Rect bounds;
        GWorld* world = nullptr;
        Current_Unit_Merge_Check(bounds, world);
        if (view->isVisible() && world)
            Check(std::abs(Rect_Width(bounds) - view->Unit_Rect().width() * dpr) <= 2,
                  QString("%1: the label is composed at %2 pixels for %3 on the screen")
                      .arg(name).arg(Rect_Width(bounds)).arg(view->Unit_Rect().width() * dpr));
    }
    void Phase(a_phase phase) { Click(w_, QString("phase%1").arg(int(phase))); }

    // The text editor opened by New Text, given its text and closed with OK.
    void New_Text(const QString& text) {
        Click(w_, "newText");
        QApplication::processEvents();
        auto* editor = w_.findChild<a_text_editor_dialog*>("textEditor");
        if (!Check(editor && editor->isVisible(), "New Text opened no editor")) return;
        editor->Editor()->setPlainText(text);
        QTest::mouseClick(Find<QPushButton>(*editor, "textEditorOk"), Qt::LeftButton);
        QApplication::processEvents();
    }

    void Design_The_Disc() {
        Click_Canvas(w_, 2);
        Phase(PHOTO_PHASE);
        const QString photo = Sunset(dir_);
        w_.findChild<a_photo_panel*>("photoPanel")->ask_photos = [photo] { return QStringList{photo}; };
        Click(w_, "addPhotos");
        if (!Check(Count_Of(PHOTO_BLOCK) == 1, "Add Photos added no photo")) return;
        Click(w_, "edgeStyle2");
        Click(w_, "photoShadow");
        Slider(w_, PHOTO_SIZE_SLIDER)->setValue(800);
        Check(g_doc.up->oj.list[g_doc.up->oj.nlist].ph->spec.edge_kind == EDGE_SCALLOP, "the edge is not scalloped");
        Shot("road_photos");

        Phase(SYMBOL_PHASE);
        QListWidget* palette = Find<QListWidget>(w_, "symbolPalette");
        if (!Check(palette->count() > 20, "no clip art")) return;
        Click_Row(palette, 17);
        Click(w_, "symbolColour0");
        Drag_Last_Block_To(0.5, 0.84);
        Shot("road_clip_art");

        Phase(TEXT_PHASE);
        Click(w_, QString("layout%1").arg(int(LAYOUT_CIRC_CW)));
        Click(w_, "textGlow");
        New_Text("Summer Sessions");
        Interaction_Begin();
        Obj_Select_None();
        Interaction_End();
        Click(w_, QString("layout%1").arg(int(LAYOUT_HORZ)));
        Click(w_, "textGlow");
        New_Text("Live at the Old Mill");
        Check(Count_Of(TEXT_BLOCK) == 2, "the two texts are not there");
        // White letters, larger, over the sea.
        Choose_Color(w_, PAINT_COLORBAR, Find_In_Palette32(a_win_pixel32{255, 255, 255, 0}));
        Slider(w_, TEXT_SIZE_SLIDER)->setValue(24);
        Drag_Last_Block_To(0.5, 0.68);
        Shot("road_text");
    }

    // The mouse on the last block, dragged to a fraction of the unit.
    void Drag_Last_Block_To(double fx, double fy) {
        const a_area area(w_);
        QWidget* surface = area.surface;
        QApplication::processEvents();
        const Rect box = Obj_BBox(g_doc.up->oj.nlist), b = g_doc.up->paintbounds;
        const QPoint from = area.At(Rect_Centre(box));
        const QPoint to = area.At(b.left + fx * Rect_Width(b), b.top + fy * Rect_Height(b));
        QTest::mousePress(surface, Qt::LeftButton, {}, from);
        QTest::mouseMove(surface, (from + to) / 2);
        QTest::mouseMove(surface, to);
        QTest::mouseRelease(surface, Qt::LeftButton, {}, to);
    }

    // Five steps back and two forward in the history panel, then all of
    // them again.
    void Undo_And_Redo() {
        if (!g_pref.history_option) w_.Command_Action(501)->trigger();
        auto* history = Find<QListWidget>(w_, "historyPanel");
        QApplication::processEvents();
        const int last = history->count() - 1, texts = Count_Of(TEXT_BLOCK);
        if (!Check(last >= 6, "too few steps in the history")) return;
        Click_Row(history, last - 5);
        Check(Count_Of(TEXT_BLOCK) == 0, "five steps back still show text");
        Click_Row(history, last - 3);
        Check(history->count() == last + 1, "the history lost steps");
        Shot("road_history");
        Click_Row(history, last);
        Check(Count_Of(TEXT_BLOCK) == texts, "redoing every step did not bring the texts back");
    }

    void Save_Reopen_And_Print() {
        auto* files = w_.findChild<a_file_dialogs*>("fileDialogs");
        const QString path = dir_ + "/Summer Sessions.cd4";
        files->ask_save = [this](const QString&, const QString&, int16_t) { return dir_ + "/Summer Sessions"; };
        w_.Command_Action(304)->trigger();
        w_.Command_Action(303)->trigger();
        if (!Check(QFile::exists(path) && !g_doc.doc_open, "the project was not saved and closed")) return;
        files->ask_open = [path] { return path; };
        w_.Command_Action(302)->trigger();
        if (!Check(g_doc.doc_open, "the project did not open again")) return;
        QApplication::processEvents();
        Check(Kept() == 1 && !w_.Command_Action(401)->isEnabled(), "the history of before the close is still there");
        Check(Count_Of(PHOTO_BLOCK) == 1 && Count_Of(SYMBOL_BLOCK) == 1 && Count_Of(TEXT_BLOCK) == 2,
              "the reopened project lacks blocks");

        Phase(PREVIEW_PHASE);
        const QString pdf = dir_ + "/Summer Sessions.pdf";
        Find<a_print_panel>(w_, "printPanel")->ask_pdf_path = [pdf](const QString&) { return pdf; };
        QTest::mouseClick(Find<QPushButton>(w_, "saveAsPdf"), Qt::LeftButton);
        if (!Check(QFile::exists(pdf), "no PDF")) return;
        Shot("road_print");
        if (shots_.isEmpty()) return;
        QProcess render;
        render.start("pdftoppm", {"-r", "40", "-png", "-singlefile", pdf, shots_ + "/road_pdf"});
        Check(render.waitForFinished(60000) && render.exitCode() == 0, "pdftoppm failed");
    }

    void Make_The_Booklet() {
        w_.Command_Action(303)->trigger();
        Choose_Stock(w_, "Generic", "jewel booklet A4", "Generic jewel booklet A4");
        QTest::mouseClick(Find<QPushButton>(w_, "chooserOk"), Qt::LeftButton);
        if (!Check(g_doc.doc_open && g_doc.doc_template.nunits == 1, "the booklet stock did not open")) return;
        Click_Canvas(w_, 2);
        const QString list = dir_ + "/tracks.txt";
        QFile f(list);
        if (!Check(f.open(QIODevice::WriteOnly) && f.write(kTracks) == kTracks.size(), "no track list")) return;
        f.close();
        auto* menu = w_.findChild<a_import_menu*>("importMenu");
        menu->ask_files = [list](int) { return QStringList{list}; };
        // The numbers, the names with their artists, and the times: three columns.
        menu->ask_fields = [](a_field_dialog_qt& d) {
            d.show();
            auto tick = [](QAbstractButton* b) {
                if (!b->isChecked()) QTest::mouseClick(b, Qt::LeftButton, {}, b->rect().center());
            };
            for (uint32_t f : {1u, 2u, 3u}) tick(d.Shown(f));
            tick(d.Column(3));
            QTest::mouseClick(d.Ok(), Qt::LeftButton);
            return d.result() == QDialog::Accepted;
        };
        g_songfields_f = g_songfields_c = 0;
        w_.Command_Action(IMPORT_TABTEXT_CMD)->trigger();
        Check(Count_Of(TEXT_BLOCK) == 3,
              QString("the track list is not three columns but %1 blocks").arg(Count_Of(TEXT_BLOCK)));
        Phase(TEXT_PHASE);
        Shot("road_booklet");
        g_doc.doc_changed = false;
    }

    a_main_window& w_;
    QString dir_, shots_;
};

class a_road_test : public QObject {
    Q_OBJECT
private slots:
    void DesignSaveReopenPrintAndABooklet();
    void ScreenshotsUnderXvfb();
};

void a_road_test::DesignSaveReopenPrintAndABooklet() {
    a_main_window w;
    QTemporaryDir dir;
    a_road road(w, dir.path(), {});
    road.Travel();
    QVERIFY2(road.failed.isEmpty(), qPrintable(road.failed));
    QVERIFY(Close_Unchanged(w));
}

void a_road_test::ScreenshotsUnderXvfb() {
    if (QStandardPaths::findExecutable("Xvfb").isEmpty()) QSKIP("Xvfb is not installed");
    QString why;
    QVERIFY2(Shots_Match_Goldens(kShots, why), qPrintable(why));
    // At 200 %: the label composed at the screen's own pixels, sharp.
    QVERIFY2(Shots_Match_Goldens({"road_photos_200", "road_text_200", "road_print_200"}, why, 2), qPrintable(why));
}

int Take_Shots(const QString& dir) {
    a_main_window w;
    QTemporaryDir work;
    a_road road(w, work.path(), dir);
    road.Travel();
    if (!road.failed.isEmpty()) qWarning("%s", qPrintable(road.failed));
    return road.failed.isEmpty() ? 0 : 1;
}

int Run_Tests(char** argv) {
    a_road_test test;
    return QTest::qExec(&test, 1, argv);
}

}  // namespace

int main(int argc, char** argv) { return Gui_Test_Main(argc, argv, Run_Tests, Take_Shots); }

#include "test_gui_road.moc"
