// The editing area with the mouse and the keys, as a person uses it: pick,
// add to the pick, drag, pull a corner, nudge, delete and undo, double-click
// a text block; arrange, and copy to the other disc.
#include <QtCore/QFile>
#include <QtCore/QTemporaryDir>
#include <QtTest/QSignalSpy>
#include <QtTest/QTest>
#include <QtWidgets/QApplication>
#include <QtWidgets/QCheckBox>
#include <QtWidgets/QListWidget>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QScrollBar>

#include <cmath>
#include <vector>

#include "base/prefs.h"
#include "gui_fixtures.h"
#include "main_window.h"
#include "model/document.h"
#include "model/history.h"
#include "model/ph_blocks.h"
#include "model/selection.h"
#include "shell/mainloop.h"
#include "text/text_blocks.h"
#include "ui/interface.h"
#include "render/compositor.h"
#include "unit_view.h"

namespace {

// The block of the current unit with this id, or OMX_NONE.
int Block_Of(uint32_t objid) {
    for (int i = 1; i <= g_doc.up->oj.nlist; ++i)
        if (g_doc.up->oj.list[i].objid == objid) return i;
    return OMX_NONE;
}

Point Centre_Of(uint32_t objid) { return Curr_PH(Block_Of(objid))->dst_center; }

// Screen pixels to unit cells at the area's zoom.
double Cells(int pixels) { return double(pixels) * g_merge_zoom.den / g_merge_zoom.num; }

void Drag(QWidget* surface, QPoint from, QPoint to) {
    QTest::mousePress(surface, Qt::LeftButton, {}, from);
    QTest::mouseMove(surface, from + (to - from) / 2);
    QTest::mouseMove(surface, to);
    QTest::mouseRelease(surface, Qt::LeftButton, {}, to);
}

// A red photo up left and a blue one down right, in the Photos phase.
bool Red_And_Blue(const QString& dir, uint32_t& red, uint32_t& blue) {
    if (!Add_Photo(dir, "red", Qt::red, {0.3, 0.3}, {200, 150}) ||
        !Add_Photo(dir, "blue", Qt::blue, {0.7, 0.7}, {200, 150}))
        return false;
    red = g_doc.up->oj.list[g_doc.up->oj.nlist - 1].objid;
    blue = g_doc.up->oj.list[g_doc.up->oj.nlist].objid;
    Phase_Set(PHOTO_PHASE);
    return true;
}

class a_mouse_test : public QObject {
    Q_OBJECT
private slots:
    void PickDragResizeNudgeAndDelete();
    void DoubleClickOpensText();
    void ArrangeAndCopyToTheOtherDisc();
    void HandleOffTheLabelIsReachable();
};

void a_mouse_test::PickDragResizeNudgeAndDelete() {
    a_main_window w;
    QVERIFY(Open_Two_Disc_Stock(w));
    QTemporaryDir dir;
    uint32_t red = 0, blue = 0;
    QVERIFY(Red_And_Blue(dir.path(), red, blue));
    a_area area(w);
    QApplication::processEvents();

    // A click picks one block, shift-click adds another, a click on nothing
    // lets both go.
    QTest::mouseClick(area.surface, Qt::LeftButton, {}, area.At(Centre_Of(red)));
    int one = 0;
    QVERIFY(Is_One_Selected(one));
    QCOMPARE(g_doc.up->oj.list[one].objid, red);
    QTest::qWait(QApplication::doubleClickInterval() + 50);  // not a double click
    QTest::mouseClick(area.surface, Qt::LeftButton, Qt::ShiftModifier, area.At(Centre_Of(blue)));
    QCOMPARE(Selection_Count(), 2);
    const Rect& b = g_doc.up->paintbounds;
    QTest::mouseClick(area.surface, Qt::LeftButton, {}, area.At(b.left + 3, b.bottom - 3));
    QCOMPARE(Selection_Count(), 0);

    // Show All Frames outlines the blocks nobody picked, and only them: off
    // again, the area is as it was.
    auto shown = [&] {
        QApplication::processEvents();
        return area.surface->grab().toImage();
    };
    QAction* frames = w.Command_Action(503);
    QVERIFY(frames->isEnabled());
    const bool was = g_pref.showframes_option;
    const QImage before_toggle = shown();
    frames->trigger();
    QCOMPARE(frames->isChecked(), !was);
    const QImage toggled = shown();
    frames->trigger();
    QCOMPARE(g_pref.showframes_option, was);
    QCOMPARE(shown(), before_toggle);
    const QImage& with = was ? before_toggle : toggled;
    const QImage& without = was ? toggled : before_toggle;
    int outlined = 0;
    for (int y = 0; y < with.height(); ++y)
        for (int x = 0; x < with.width(); ++x) outlined += with.pixel(x, y) != without.pixel(x, y);
    QVERIFY2(outlined > 100, qPrintable(QString("%1 pixels outlined").arg(outlined)));

    // A drag moves the block under the mouse by the mouse's way: one step.
    int kept = Kept();
    Point before = Centre_Of(red);
    QPoint from = area.At(before);
    Drag(area.surface, from, from + QPoint(40, 24));
    Point after = Centre_Of(red);
    QVERIFY2(std::abs(after.h - before.h - Cells(40)) <= 2 && std::abs(after.v - before.v - Cells(24)) <= 2,
             qPrintable(QString("moved by %1,%2").arg(after.h - before.h).arg(after.v - before.v)));
    QCOMPARE(Centre_Of(blue).h, Centre_Of(blue).h);
    QCOMPARE(Kept(), kept + 1);

    // The lower right handle pulled outwards makes the photo larger.
    QApplication::processEvents();
    Rect box = Curr_PH(Block_Of(red))->dst_box;
    Drag(area.surface, area.At(box.right, box.bottom), area.At(box.right, box.bottom) + QPoint(30, 30));
    Rect grown = Curr_PH(Block_Of(red))->dst_box;
    QVERIFY2(Rect_Width(grown) > Rect_Width(box) + Cells(20),
             qPrintable(QString("%1 to %2 wide").arg(Rect_Width(box)).arg(Rect_Width(grown))));
    QCOMPARE(Kept(), kept + 2);

    // Keys on the area: an arrow nudges the selection one screen pixel,
    // Delete takes it away, Undo brings it back.
    area.view->setFocus();
    before = Centre_Of(red);
    QTest::keyClick(area.view, Qt::Key_Right);
    QVERIFY(Centre_Of(red).h > before.h);
    QCOMPARE(Centre_Of(red).v, before.v);
    const Point nudged = Centre_Of(red);
    kept = Kept();
    QTest::keyClick(area.view, Qt::Key_Delete);
    QCOMPARE(Block_Of(red), OMX_NONE);
    QCOMPARE(Kept(), kept + 1);
    QVERIFY(w.Command_Action(401)->isEnabled());
    w.Command_Action(401)->trigger();
    QVERIFY(Block_Of(red) != OMX_NONE);
    QCOMPARE(Centre_Of(red).h, nudged.h);

    QVERIFY(Close_Unchanged(w));
}

// Two clicks on a text block within the double-click time ask for its editor;
// in the canvas phase the mouse leaves blocks alone.
void a_mouse_test::DoubleClickOpensText() {
    a_main_window w;
    QVERIFY(Open_Two_Disc_Stock(w));
    Phase_Set(TEXT_PHASE);
    const Rect& b = g_doc.up->paintbounds;
    Interaction_Begin();
    QVERIFY(Text_New_At(Point{int16_t((b.top + b.bottom) / 2), int16_t((b.left + b.right) / 2)}));
    Interaction_End();
    const a_oj_item& item = g_doc.up->oj.list[g_doc.up->oj.nlist];
    QCOMPARE(int(item.kind), int(TEXT_BLOCK));
    const uint32_t text = item.objid;
    Rect box = Obj_BBox(g_doc.up->oj.nlist);
    a_area area(w);
    QApplication::processEvents();
    QPoint on_text = area.At((box.left + box.right) / 2.0, (box.top + box.bottom) / 2.0);

    QSignalSpy activated(area.view, &a_unit_view::textBlockActivated);
    QTest::mouseDClick(area.surface, Qt::LeftButton, {}, on_text);
    int one = 0;
    QVERIFY(Is_One_Selected(one));
    QCOMPARE(g_doc.up->oj.list[one].objid, text);
    // In the text phase the text is edited where it is; the editor window is the context menu's.
    QCOMPARE(activated.count(), 0);
    QCOMPARE(g_ed.edit_objid, text);

    Phase_Set(CANVAS_PHASE);
    Interaction_Begin();
    Obj_Select_None();
    Interaction_End();
    QTest::mouseClick(area.surface, Qt::LeftButton, {}, on_text);
    QCOMPARE(Count(Kind_Bit(TEXT_BLOCK), true), 0);

    QVERIFY(Close_Unchanged(w));
}

// Centre, move-to-a-fraction and the clipboard from the menus: the red photo
// centred on the disc, the blue one at a quarter across and three quarters
// down, then copied to the second disc once it has a design of its own.
void a_mouse_test::ArrangeAndCopyToTheOtherDisc() {
    a_main_window w;
    QVERIFY(Open_Two_Disc_Stock(w));
    QTemporaryDir dir;
    uint32_t red = 0, blue = 0;
    QVERIFY(Red_And_Blue(dir.path(), red, blue));
    a_area area(w);
    QApplication::processEvents();
    const Rect b = g_doc.up->paintbounds;
    const Point middle = Rect_Centre(b);

    QTest::mouseClick(area.surface, Qt::LeftButton, {}, area.At(Centre_Of(red)));
    w.Command_Action(906)->trigger();
    QVERIFY(std::abs(Centre_Of(red).h - middle.h) <= 1 && std::abs(Centre_Of(red).v - middle.v) <= 1);
    QTest::qWait(QApplication::doubleClickInterval() + 50);
    QTest::mouseClick(area.surface, Qt::LeftButton, {}, area.At(Centre_Of(blue)));
    w.Command_Action(101)->trigger();
    w.Command_Action(125)->trigger();
    const Point quarter{int16_t(b.top + Rect_Height(b) * 3 / 4), int16_t(b.left + Rect_Width(b) / 4)};
    QVERIFY2(std::abs(Centre_Of(blue).h - quarter.h) <= 1 && std::abs(Centre_Of(blue).v - quarter.v) <= 1,
             qPrintable(QString("at %1,%2").arg(Centre_Of(blue).h).arg(Centre_Of(blue).v)));
    w.Command_Action(405)->trigger();

    // The second disc shows the first until it is given a design of its own,
    // which starts as a copy of it.
    auto* units = Find<QListWidget>(w, "unitList");
    units->setCurrentRow(1);
    QCOMPARE(g_doc.upx, 2u);
    auto* clone = Find<QCheckBox>(w, "cloneToggle");
    if (clone->isChecked()) clone->click();
    QVERIFY(!g_doc.up->clonef);
    const int before = g_doc.up->oj.nlist;
    w.Command_Action(406)->trigger();
    QCOMPARE(g_doc.up->oj.nlist, before + 1);
    QCOMPARE(int(g_doc.up->oj.list[g_doc.up->oj.nlist].kind), int(PHOTO_BLOCK));

    auto photos = [](uint32_t ux) {
        std::vector<Point> at;
        const a_oj_master& oj = g_doc.doc_units[ux]->oj;
        for (int i = 1; i <= oj.nlist; ++i)
            if (oj.list[i].kind == PHOTO_BLOCK) at.push_back(oj.list[i].ph->dst_center);
        return at;
    };
    const std::vector<Point> first = photos(1), second = photos(2);
    QCOMPARE(int(first.size()), 2);
    QCOMPARE(int(second.size()), 3);
    QVERIFY(std::abs(first[0].h - middle.h) <= 1 && std::abs(first[0].v - middle.v) <= 1);
    QVERIFY(std::abs(first[1].h - quarter.h) <= 1 && std::abs(first[1].v - quarter.v) <= 1);
    QVERIFY(std::abs(second[2].h - quarter.h) <= 1 && std::abs(second[2].v - quarter.v) <= 1);
    QVERIFY(!g_doc.doc_units[2]->clonef);
    QVERIFY(Close_Unchanged(w));
}

// A photo hanging far off the label's right side: the pasteboard grows to
// hold its handles, the view scrolls to them, and the far corner pulls.
void a_mouse_test::HandleOffTheLabelIsReachable() {
    a_main_window w;
    QVERIFY(Open_Two_Disc_Stock(w));
    QTemporaryDir dir;
    QVERIFY(Add_Photo(dir.path(), "wide", Qt::red, {1.1, 0.5}, {900, 300}));
    const uint32_t id = g_doc.up->oj.list[g_doc.up->oj.nlist].objid;
    Phase_Set(PHOTO_PHASE);
    a_area area(w);
    QApplication::processEvents();
    const Rect box = Curr_PH(Block_Of(id))->dst_box;
    const Rect& label = g_doc.up->paintbounds;
    QVERIFY2(box.right - label.right > Cells(80), "the photo hangs well past the label");

    // Picked on its part over the label, then the view scrolled to its far side.
    QTest::mouseClick(area.surface, Qt::LeftButton, {}, area.At((box.left + label.right) / 2, box.top + 10));
    int one = 0;
    QVERIFY(Is_One_Selected(one));
    QApplication::processEvents();
    QScrollBar* bar = area.view->horizontalScrollBar();
    bar->setValue(bar->maximum());
    QApplication::processEvents();
    const QPoint corner = area.At(box.right, box.bottom);
    QVERIFY2(area.surface->rect().contains(corner + QPoint(3, 3)),
             qPrintable(QString("handle at %1,%2 off a surface of %3 x %4")
                            .arg(corner.x()).arg(corner.y()).arg(area.surface->width()).arg(area.surface->height())));
    QVERIFY(area.view->viewport()->rect().contains(area.surface->mapTo(area.view->viewport(), corner)));

    // The far corner pulled inwards makes the photo smaller by the mouse's way.
    const int kept = Kept();
    Drag(area.surface, corner, corner - QPoint(40, 40));
    const Rect now = Curr_PH(Block_Of(id))->dst_box;
    QVERIFY2(Rect_Width(now) < Rect_Width(box) - Cells(25),
             qPrintable(QString("%1 to %2 wide").arg(Rect_Width(box)).arg(Rect_Width(now))));
    QCOMPARE(Kept(), kept + 1);
}

int Run_Tests(char** argv) {
    a_mouse_test test;
    return QTest::qExec(&test, 1, argv);
}

}  // namespace

int main(int argc, char** argv) { return Gui_Test_Main(argc, argv, Run_Tests, nullptr); }

#include "test_gui_mouse.moc"
