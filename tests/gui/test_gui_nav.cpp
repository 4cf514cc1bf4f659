// The overview of the window: the layer bar and the history panel driven as a
// person would; and the window with both as Xvfb shows it.
#include <QtCore/QFile>
#include <QtCore/QMimeData>
#include <QtCore/QRegularExpression>
#include <QtCore/QStandardPaths>
#include <QtCore/QTemporaryDir>
#include <QtGui/QDropEvent>
#include <QtGui/QPointingDevice>
#include <QtGui/QWheelEvent>
#include <QtTest/QTest>
#include <QtWidgets/QApplication>
#include <QtWidgets/QColorDialog>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QPlainTextEdit>
#include <QtWidgets/QToolButton>
#include <QtWidgets/QLabel>
#include <QtWidgets/QListWidget>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QScrollBar>
#include <QtWidgets/QSlider>

#include <cmath>
#include <vector>

#include "dialogs/text_editor_dialog.h"
#include "gui_fixtures.h"
#include "images/photo_blocks.h"
#include "widgets/layer_bar.h"
#include "widgets/palette_popup.h"
#include "model/ph_blocks.h"
#include "model/text_rec.h"
#include "text/text_blocks.h"
#include "rulers.h"
#include "base/prefs.h"
#include "main_window.h"
#include "model/document.h"
#include "model/history.h"
#include "model/selection.h"
#include "render/canvas.h"
#include "shell/mainloop.h"
#include "ui/interface.h"
#include "unit_view.h"
#include "units.h"

namespace {

int Current_Row() { return Modulo(g_hist.curr - g_hist.lo); }

// The blocks other than the paint block, bottom first.
std::vector<a_oj_item> Stacked_Blocks() {
    std::vector<a_oj_item> out;
    const a_oj_master& oj = g_doc.up->oj;
    for (int i = 1; i <= oj.nlist; ++i)
        if (oj.list[i].kind != PAINT_BLOCK) out.push_back(oj.list[i]);
    return out;
}

class a_nav_test : public QObject {
    Q_OBJECT
private slots:
    void HistoryPanelAndLayerBar();
    void UnitAndViewPointsRoundTrip();
    void WheelAndKeysZoomAroundThePointer();
    void ScreenshotUnderXvfb();
    void OtherColourDialogAndCanvasTips();
};

// Six steps; five undone and two redone from the history panel; a block
// hidden with its eye and restacked by a drag.
void a_nav_test::HistoryPanelAndLayerBar() {
    a_main_window w;
    QVERIFY(Open_Two_Disc_Stock(w));
    QTemporaryDir dir;
    auto* history = Find<QListWidget>(w, "historyPanel");
    if (!g_pref.history_option) w.Command_Action(501)->trigger();
    QVERIFY(history->isVisible());
    int base = Kept();
    Click_Canvas(w, 3);
    a_keyset third;
    CanvX_To_Key(third, 3, UNIT_TO_CANV_PREFIX(UNIT_CD));
    QVERIFY(Add_Photo(dir.path(), "red", Qt::red));
    QVERIFY(Add_Photo(dir.path(), "green", Qt::green));
    QVERIFY(Add_Photo(dir.path(), "blue", Qt::blue));
    Click_Canvas(w, 2);
    Click_Canvas(w, 4);
    QCOMPARE(Kept(), base + 6);

    auto* layers = Find<QListWidget>(w, "layerBar");
    QTRY_COMPARE(history->count(), Kept());
    QTRY_COMPARE(layers->count(), 3);
    int last = history->count() - 1;
    QVERIFY(history->item(last)->text().startsWith(QString::fromUtf8("\u25B6")));
    // Five back: the canvas chosen first, no photos yet.
    Click_Row(history, last - 5);
    QCOMPARE(Current_Row(), last - 5);
    QCOMPARE(Key_To_String(g_doc.up->canv.cv.canvas_key), Key_To_String(third));
    QTRY_COMPARE(layers->count(), 0);
    QTRY_VERIFY(history->item(last - 5)->text().startsWith(QString::fromUtf8("\u25B6")));
    QVERIFY(w.Command_Action(402)->isEnabled());
    // Ctrl+Shift+Z redoes as Ctrl+Y does, and Ctrl+Z takes it back.
    QTest::keyClick(&w, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(Current_Row(), last - 4);
    QTest::keyClick(&w, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(Current_Row(), last - 5);
    // Two forward: the red and the green photos; later steps are still kept.
    Click_Row(history, last - 3);
    QCOMPARE(Current_Row(), last - 3);
    QCOMPARE(history->count(), last + 1);
    QTRY_COMPARE(layers->count(), 2);
    std::vector<a_oj_item> blocks = Stacked_Blocks();
    QCOMPARE(blocks.size(), size_t(2));
    uint32_t red = blocks[0].objid, green = blocks[1].objid;
    // The bar shows the top block first and a click selects it alone.
    Click_Row(layers, 1);
    int sel = 0;
    QVERIFY(Is_One_Selected(sel));
    QCOMPARE(g_doc.up->oj.list[sel].objid, red);

    // The eye hides the red photo: one step.
    int kept = Kept();
    QTRY_VERIFY(layers->item(1)->checkState() == Qt::Checked);
    layers->item(1)->setCheckState(Qt::Unchecked);
    QCOMPARE(Kept(), Modulo(g_hist.curr - g_hist.lo) + 1);
    QVERIFY(Kept() <= kept);  // the redo steps gave way to the new one
    QVERIFY(!Has_Flag(Stacked_Blocks()[0], VISIBLE_FLAG));

    // The red row dragged onto the green one puts red on top.
    QTRY_COMPARE(layers->count(), 2);
    // (A drag needs a display's drag loop; the drop does this.)
    static_cast<a_layer_bar*>(layers)->Restack_Row(1, 0);
    blocks = Stacked_Blocks();
    QCOMPARE(blocks[1].objid, red);
    QCOMPARE(blocks[0].objid, green);
    QTRY_VERIFY(layers->item(0)->checkState() == Qt::Unchecked);
    // Each row is named after its photo's file.
    QCOMPARE(layers->item(0)->text(), QString("red.png"));
    QCOMPARE(layers->item(1)->text(), QString("green.png"));

    QVERIFY(Close_Unchanged(w));
}

// The editing area's two mappings undo each other, at fit, 200 % and 400 %
// (a disc that large is shown as large as a screen picture can be).
void a_nav_test::UnitAndViewPointsRoundTrip() {
    a_main_window w;
    QVERIFY(Open_Two_Disc_Stock(w));
    auto* view = Find<a_unit_view>(w, "unitView");
    QWidget* surface = Find<QWidget>(w, "unitSurface");
    const Rect& b = g_doc.up->paintbounds;
    for (int zoom : {1004, 1006, 1008}) {
        w.Command_Action(zoom)->trigger();
        QApplication::processEvents();
        // The unit's top left cell is where the surface draws the unit.
        QPointF corner = view->Unit_To_View(QPointF(b.left, b.top));
        QPoint drawn = surface->mapTo(view->viewport(), QPoint(24, 24));
        QVERIFY(std::abs(corner.x() - drawn.x()) < 0.5 && std::abs(corner.y() - drawn.y()) < 0.5);
        for (QPointF cell : {QPointF(b.left, b.top), QPointF(b.right / 3.0, b.bottom * 0.7),
                             QPointF(b.right, b.bottom)}) {
            QPointF back = view->View_To_Unit(view->Unit_To_View(cell));
            QVERIFY2(std::abs(back.x() - cell.x()) < 1e-6 && std::abs(back.y() - cell.y()) < 1e-6,
                     qPrintable(QString("%1,%2").arg(back.x()).arg(back.y())));
        }
    }

    // Show Coordinates: the rulers and the mouse's place from their origin,
    // which a drag from the corner moves.
    QLabel* coordinates = Find<QLabel>(w, "coordinates");
    QWidget* across = Find<QWidget>(w, "rulerH");
    QVERIFY(!across->isVisible());
    w.Command_Action(502)->trigger();
    QVERIFY(across->isVisible() && coordinates->isVisible());
    double mm_h = 0, mm_v = 0;
    QVERIFY(Unit_Millimetres(mm_h, mm_v));
    const Point o = g_doc.up->ruler_origin;
    QCOMPARE(o.h, Rect_Centre(b).h);
    const a_area area(w);
    auto surface_at = [&](double h, double v) { return area.At(h, v); };
    w.Command_Action(1004)->trigger();  // the whole unit in the window
    QApplication::processEvents();
    QTest::mouseMove(surface, surface_at(o.h + 20 / mm_h, o.v - 10 / mm_v));
    // Within a screen pixel at this zoom.
    QRegularExpressionMatch m =
        QRegularExpression("^x (-?[0-9.]+) mm  y (-?[0-9.]+) mm$").match(coordinates->text());
    QVERIFY2(m.hasMatch(), qPrintable(coordinates->text()));
    QVERIFY2(std::abs(m.captured(1).toDouble() - 20) < 0.3 && std::abs(m.captured(2).toDouble() + 10) < 0.3,
             qPrintable(coordinates->text()));
    QWidget* corner = Find<QWidget>(w, "rulerCorner");
    QPoint target = surface_at(b.left + 10, b.top + 10);
    QTest::mousePress(corner, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(corner, Qt::LeftButton, {}, corner->mapFromGlobal(surface->mapToGlobal(target)));
    QVERIFY(std::abs(g_doc.up->ruler_origin.h - (b.left + 10)) <= 1);
    QVERIFY(std::abs(g_doc.up->ruler_origin.v - (b.top + 10)) <= 1);
    QTest::mouseDClick(corner, Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(g_doc.up->ruler_origin.h, Rect_Centre(b).h);
    w.Command_Action(502)->trigger();
    QVERIFY(!across->isVisible());

    QVERIFY(Close_Unchanged(w));
}

// Ctrl+wheel zooms one step a notch around the pointer; the keys every
// program knows zoom too, and the status line says how far.
void a_nav_test::WheelAndKeysZoomAroundThePointer() {
    a_main_window w;
    QVERIFY(Open_Two_Disc_Stock(w));
    auto* view = Find<a_unit_view>(w, "unitView");
    QLabel* zoom = Find<QLabel>(w, "zoomLabel");
    w.Command_Action(1005)->trigger();  // 100 %
    QApplication::processEvents();
    QCOMPARE(zoom->text(), QString("Zoom: 100 %"));
    auto wheel = [&](QPointF at, int delta, Qt::KeyboardModifiers mods) {
        QWheelEvent e(at, view->viewport()->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, mods,
                      Qt::NoScrollPhase, false);
        QApplication::sendEvent(view->viewport(), &e);
        QApplication::processEvents();
    };
    const QPointF at(view->viewport()->width() * 0.7, view->viewport()->height() * 0.4);
    const QPointF cell = view->View_To_Unit(at);
    wheel(at, 120, Qt::ControlModifier);
    QCOMPARE(int(gs.grid_vals[ZOOM_GRID]), 2);
    QCOMPARE(zoom->text(), QString("Zoom: 200 %"));
    QPointF still = view->Unit_To_View(cell);
    QVERIFY2(std::abs(still.x() - at.x()) <= 1 && std::abs(still.y() - at.y()) <= 1,
             qPrintable(QString("%1,%2 for %3,%4").arg(still.x()).arg(still.y()).arg(at.x()).arg(at.y())));
    // A touchpad's small parts add up to one step.
    for (int i = 0; i < 4; ++i) wheel(at, 30, Qt::ControlModifier);
    QCOMPARE(int(gs.grid_vals[ZOOM_GRID]), 3);
    wheel(at, -240, Qt::ControlModifier);
    QCOMPARE(int(gs.grid_vals[ZOOM_GRID]), 1);
    // A touchpad's pinch, in small parts, zooms around the fingers too.
    auto pinch = [&](QPointF where, double value) {
        QWidget* surface = view->widget();
        const QPointF local = surface->mapFrom(view->viewport(), where);
        QNativeGestureEvent e(Qt::ZoomNativeGesture, QPointingDevice::primaryPointingDevice(), 2, local, local,
                              surface->mapToGlobal(local), value, QPointF(), 1);
        QApplication::sendEvent(surface, &e);
        QApplication::processEvents();
    };
    const QPointF fingers = at;
    const QPointF under = view->View_To_Unit(fingers);
    for (int i = 0; i < 3; ++i) pinch(fingers, 0.1);
    QCOMPARE(int(gs.grid_vals[ZOOM_GRID]), 2);
    still = view->Unit_To_View(under);
    QVERIFY(std::abs(still.x() - fingers.x()) <= 1 && std::abs(still.y() - fingers.y()) <= 1);
    pinch(fingers, -0.4);
    QCOMPARE(int(gs.grid_vals[ZOOM_GRID]), 1);
    // Shift+wheel scrolls sideways; the plain wheel up and down.
    w.Command_Action(1008)->trigger();
    QApplication::processEvents();
    const int h = view->horizontalScrollBar()->value(), v = view->verticalScrollBar()->value();
    wheel(at, -120, Qt::ShiftModifier);
    QVERIFY(view->horizontalScrollBar()->value() > h);
    QCOMPARE(view->verticalScrollBar()->value(), v);
    wheel(at, -120, Qt::NoModifier);
    QVERIFY(view->verticalScrollBar()->value() > v);

    QTest::keyClick(&w, Qt::Key_0, Qt::ControlModifier);
    QCOMPARE(int(gs.grid_vals[ZOOM_GRID]), 0);
    QVERIFY(zoom->text().startsWith("Zoom: fit ("));
    QTest::keyClick(&w, Qt::Key_Equal, Qt::ControlModifier);
    QCOMPARE(int(gs.grid_vals[ZOOM_GRID]), 1);
    QTest::keyClick(&w, Qt::Key_Minus, Qt::ControlModifier);
    QCOMPARE(int(gs.grid_vals[ZOOM_GRID]), 0);
    QTest::keyClick(&w, Qt::Key_1, Qt::ControlModifier);
    QCOMPARE(int(gs.grid_vals[ZOOM_GRID]), 1);

    // Over a panel the wheel is left to the panel (a wheel of the desktop,
    // left by the slider, goes on to the panel's scroller), not taken by the
    // slider under the pointer; a slider that has the focus takes it.
    Click(w, qPrintable(QString("phase%1").arg(int(PAINT_PHASE))));
    auto* track = Find<QWidget>(w, "paintPanel")->findChild<QSlider*>();
    QVERIFY(track && track->isVisible() && !track->hasFocus());
    const int value = track->value();
    const QPointF mid(track->width() / 2.0, track->height() / 2.0);
    QWheelEvent over(mid, track->mapToGlobal(mid), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                     Qt::NoScrollPhase, false);
    QApplication::sendEvent(track, &over);
    QVERIFY(!over.isAccepted());
    QCOMPARE(track->value(), value);
    track->setFocus();
    QWheelEvent focused(mid, track->mapToGlobal(mid), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                        Qt::NoScrollPhase, false);
    QApplication::sendEvent(track, &focused);
    QVERIFY(track->value() != value);
    g_doc.doc_changed = false;
    QVERIFY(Close_Unchanged(w));
}

void a_nav_test::ScreenshotUnderXvfb() {
    if (QStandardPaths::findExecutable("Xvfb").isEmpty()) QSKIP("Xvfb is not installed");
    QString why;
    QVERIFY2(Shots_Match_Goldens({"gui_layers"}, why), qPrintable(why));
}

int Take_Shots(const QString& dir) {
    a_main_window w;
    w.setGeometry(0, 0, 1024, 700);
    w.show();
    if (!QTest::qWaitForWindowExposed(&w)) return 3;
    Choose_Stock(w, "A-ONE", "29125", "A-ONE 29125");
    QTest::mouseClick(Find<QPushButton>(w, "chooserOk"), Qt::LeftButton);
    if (!g_pref.history_option) w.Command_Action(501)->trigger();
    if (!g_pref.status_option) w.Command_Action(502)->trigger();
    Click_Canvas(w, 3);
    QTemporaryDir pics;
    if (!Add_Photo(pics.path(), "sky", QColor(0x3a, 0x7b, 0xd5), {0.3, 0.3}) ||
        !Add_Photo(pics.path(), "sun", QColor(0xf2, 0xb1, 0x34), {0.68, 0.36}) ||
        !Add_Photo(pics.path(), "leaf", QColor(0x4c, 0xa6, 0x4f), {0.5, 0.75}))
        return 4;
    QTest::qWait(50);
    if (!Screen_Shot(w).save(dir + "/gui_layers.png")) return 5;
    g_doc.doc_changed = false;
    return 0;
}

// The text colour's palette offers the desktop's colour dialog: a hex code
// typed there colours the selected text. The canvases' tips say which
// picture each is.
void a_nav_test::OtherColourDialogAndCanvasTips() {
    a_main_window w;
    w.resize(1024, 700);
    w.show();
    QVERIFY(Open_Two_Disc_Stock(w));
    auto* canvases = Find<QListWidget>(w, "canvasPalette");
    QVERIFY(canvases->count() > 3);
    const QString tip = canvases->item(2)->toolTip();
    QVERIFY2(tip.contains("of " + QString::number(canvases->count())) && tip.contains("art record 2."),
             qPrintable(tip));

    Click(w, qPrintable(QString("phase%1").arg(int(TEXT_PHASE))));
    Click(w, "newText");
    QApplication::processEvents();
    auto* editor = w.findChild<a_text_editor_dialog*>("textEditor");
    QVERIFY(editor && editor->isVisible());
    editor->Editor()->setPlainText("Blue words");
    QTest::mouseClick(Find<QPushButton>(*editor, "textEditorOk"), Qt::LeftButton);
    QApplication::processEvents();
    int omx = 0;
    QVERIFY(Is_One_Selected(omx));

    auto* button = Find<QToolButton>(w, qPrintable(QString("textColor%1").arg(int(PAINT_COLORBAR))));
    auto* palette = button->findChild<a_palette_popup*>();
    QVERIFY(palette);
    QTest::mouseClick(button, Qt::LeftButton);
    QTRY_VERIFY(palette->isVisible());
    bool typed = false;
    When_Modal([&](QDialog* d) {
        auto* dialog = qobject_cast<QColorDialog*>(d);
        if (!dialog) return d->reject();
        for (QLineEdit* field : dialog->findChildren<QLineEdit*>()) {
            if (!field->text().startsWith('#')) continue;  // the HTML field
            field->selectAll();
            QTest::keyClicks(field, "#1e90ff");
            QTest::keyClick(field, Qt::Key_Tab);
            typed = true;
        }
        dialog->accept();
    });
    QTest::mouseClick(palette, Qt::LeftButton, {}, palette->Other_Area().center());
    QVERIFY(typed);
    const a_win_pixel32 c = Curr_OM(omx)->base_color;
    QCOMPARE(QColor(c.r, c.g, c.b), QColor("#1e90ff"));
    QVERIFY(Close_Unchanged(w));
}

int Run_Tests(char** argv) {
    a_nav_test test;
    return QTest::qExec(&test, 1, argv);
}

}  // namespace

int main(int argc, char** argv) { return Gui_Test_Main(argc, argv, Run_Tests, Take_Shots); }

#include "test_gui_nav.moc"
