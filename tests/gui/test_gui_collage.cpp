// The Collage phase as a person uses it: a ring chosen by its picture,
// photos dropped on the label several at once and added through the
// dialog, one clicked and turned, one dragged onto another to swap them,
// OK, then saved and read back as one photo. And the phase under Xvfb with
// a ring and a grid, empty slots showing as places to drop a photo.
#include <QtCore/QMimeData>
#include <QtCore/QStandardPaths>
#include <QtCore/QTemporaryDir>
#include <QtCore/QUrl>
#include <QtGui/QDropEvent>
#include <QtGui/QPainter>
#include <QtTest/QTest>
#include <QtWidgets/QApplication>
#include <QtWidgets/QSlider>

#include "dialogs/crop_dialog.h"
#include "dialogs/file_dialogs.h"
#include "gui_fixtures.h"
#include "images/photo_blocks.h"
#include "main_window.h"
#include "model/document.h"
#include "model/ph_blocks.h"
#include "model/selection.h"
#include "panels/collage_panel.h"
#include "persist/disc_read.h"
#include "shell/mainloop.h"
#include "ui/interface.h"
#include "unit_view.h"
#include "widgets/slider_widget.h"
// The pack's field `slots` meets Qt's keyword of that name.
#undef slots
#include "images/pack.h"
#define slots Q_SLOTS

namespace {

// A photo of our own: sky, a hill, a sun and a red flag at the top left,
// so that a turn shows.
QString Photo(const QString& dir, const QString& name, int hue, QSize size = {480, 360}) {
    QImage img(size, QImage::Format_RGB32);
    QPainter p(&img);
    p.fillRect(img.rect(), QColor::fromHsv(hue, 90, 240));
    p.setBrush(QColor::fromHsv((hue + 120) % 360, 160, 150));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QRect(-size.width() / 3, size.height() * 3 / 5, size.width() * 5 / 3, size.height()));
    p.setBrush(QColor(255, 215, 40));
    p.drawEllipse(QPoint(size.width() * 3 / 4, size.height() / 4), size.height() / 9, size.height() / 9);
    p.fillRect(QRect(0, 0, size.width() / 6, size.height() / 8), QColor(210, 30, 30));
    p.end();
    const QString path = dir + "/" + name + ".png";
    return img.save(path) ? path : QString();
}

// A drop of several files on the widget, as the file manager makes it.
void Drop_Files(QWidget& w, const QStringList& paths) {
    QMimeData data;
    QList<QUrl> urls;
    for (const QString& p : paths) urls << QUrl::fromLocalFile(p);
    data.setUrls(urls);
    const QPoint at(w.width() / 2, w.height() / 2);
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&w, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&w, &drop);
    QVERIFY(drop.isAccepted());
    QApplication::processEvents();
}

QSlider* Track(QWidget& w, a_slider_enum s) {
    return Find<a_slider_widget>(w, qPrintable(QString("slider%1").arg(int(s))))->findChild<QSlider*>();
}

// Where slot `slot`'s centre lies on the editing surface.
QPoint Slot_Point(a_main_window& w, int slot) {
    return a_area(w).At(Pack_Slot(slot).slot_rgn_center);
}

int Filled() {
    int n = 0;
    for (int s = 0; s < Pack_Slot_Blocks(); ++s) n += !Is_Slot_Empty(FIRST_SLOT + s);
    return n;
}

}  // namespace

class a_collage_gui_test : public QObject {
    Q_OBJECT
  private slots:
    void RingPouredTurnedSwappedSavedAndReopened();
    void ScreenshotsUnderXvfb();
};

void a_collage_gui_test::RingPouredTurnedSwappedSavedAndReopened() {
    a_main_window w;
    QVERIFY(Open_Two_Disc_Stock(w));
    QTemporaryDir dir;
    const Rect disc = g_doc.up->paintbounds;
    const int blocks_before = g_doc.up->oj.nlist;
    const int steps_before = Kept();
    Click(w, qPrintable(QString("phase%1").arg(int(COLLAGE_PHASE))));
    QCOMPARE(gs.curr_phase, COLLAGE_PHASE);
    QVERIFY(Pack_Active());
    QVERIFY(Find<QWidget>(w, "collagePanel")->isVisible());
    Click(w, "collageKind1");
    QCOMPARE(int(g_pack->packspec.packkind), int(PACK_CLOCK1));
    Track(w, PACK_CLOCK_NOUTER_SLIDER)->setValue(8);
    QApplication::processEvents();
    QCOMPARE(g_pack->totnslots, 8);
    QCOMPARE(g_doc.up->paintbounds, (Rect{0, 0, 1200, 1200}));

    // Four photos dropped at once fill the first four slots, in order; the
    // dialog's two more the next two.
    QStringList dropped;
    for (int k = 0; k < 4; ++k) dropped << Photo(dir.path(), QString("drop%1").arg(k), k * 40);
    Drop_Files(*Find<a_unit_view>(w, "unitView")->viewport(), dropped);
    QTRY_COMPARE(Filled(), 4);
    for (int k = 0; k < 4; ++k)
        QCOMPARE(QString::fromStdString(Curr_PH(Slotx_To_Omx(FIRST_SLOT + k))->spec.source.path.name), dropped[k]);
    auto* panel = w.findChild<a_collage_panel*>("collagePanel");
    const QStringList more{Photo(dir.path(), "more0", 200), Photo(dir.path(), "more1", 260)};
    panel->ask_photos = [more] { return more; };
    Click(w, "collageAdd");
    QCOMPARE(Filled(), 6);

    // Clicked on the label, slot 10002 is selected; turned a quarter right.
    auto* surface = Find<QWidget>(w, "unitSurface");
    QTest::mouseClick(surface, Qt::LeftButton, {}, Slot_Point(w, 10002));
    QApplication::processEvents();
    QVERIFY(Is_Obj_Selected(Slotx_To_Omx(10002)));
    QVERIFY(!Is_Obj_Selected(Slotx_To_Omx(10001)));
    const int inside = Kept();
    Click(w, "collageTurnRight");
    QCOMPARE(int(Pack_Slot(10002).slot_extra_angle), -900);
    QCOMPARE(Kept(), inside + 1);  // each command inside the collage is a step of its own

    // Its round handle above the frame, dragged a quarter turn to the left,
    // turns it straight again (to the pixel's precision), as one more step.
    const Rect box = Obj_BBox(Slotx_To_Omx(10002));
    const a_area area(w);
    const QPoint handle = area.At((box.left + box.right) / 2.0, box.top) - QPoint(0, 16);
    const QPoint centre = area.At((box.left + box.right) / 2.0, (box.top + box.bottom) / 2.0);
    const int reach = centre.y() - handle.y();
    QTest::mousePress(surface, Qt::LeftButton, {}, handle);
    QTest::mouseMove(surface, centre + QPoint(-reach * 7 / 10, -reach * 7 / 10));
    QTest::mouseMove(surface, centre + QPoint(-reach, 0));
    QTest::mouseRelease(surface, Qt::LeftButton, {}, centre + QPoint(-reach, 0));
    QApplication::processEvents();
    QVERIFY(std::abs(Pack_Slot(10002).slot_extra_angle) <= 20);
    QCOMPARE(Kept(), inside + 2);

    // Slot 10000's photo dragged onto slot 10003: the two trade places.
    const a_source_desc a = Curr_PH(Slotx_To_Omx(10000))->spec.source;
    const a_source_desc b = Curr_PH(Slotx_To_Omx(10003))->spec.source;
    const QPoint from = Slot_Point(w, 10000), to = Slot_Point(w, 10003);
    QTest::mousePress(surface, Qt::LeftButton, {}, from);
    QTest::mouseMove(surface, from + (to - from) / 3);
    QTest::mouseMove(surface, to);
    QTest::mouseRelease(surface, Qt::LeftButton, {}, to);
    QApplication::processEvents();
    QCOMPARE(Curr_PH(Slotx_To_Omx(10000))->spec.source, b);
    QCOMPARE(Curr_PH(Slotx_To_Omx(10003))->spec.source, a);
    QCOMPARE(Curr_PH(Slotx_To_Omx(10000))->dst_center, Point{});  // not moved inside its slot

    // OK: one photo of the collage, the label its own size again.
    Click(w, "collageOK");
    QCOMPARE(gs.curr_phase, PHOTO_PHASE);
    QVERIFY(!Pack_Active());
    QCOMPARE(g_doc.up->paintbounds, disc);
    QVERIFY(Blocks_Of(SLOT_BLOCK).empty());
    QCOMPARE(g_doc.up->oj.nlist, blocks_before + 1);
    const std::vector<int> photos = Blocks_Of(PHOTO_BLOCK);
    QCOMPARE(photos.size(), size_t(1));
    QCOMPARE(Curr_PH(photos[0])->spec.source.kind, SOURCE_COLLAGE);
    Rect bounds;
    const QImage made = Block_Source_Picture(*Curr_PH(photos[0]), bounds);
    QCOMPARE(made.size(), QSize(1200, 1200));
    QCOMPARE(Kept(), steps_before + 1);  // the collage is one step on the label's road

    // Undo goes back past the collage's own steps to the label as it was;
    // redo brings the collage's photo again.
    const int kept = Kept();
    w.Command_Action(401)->trigger();
    QVERIFY(Blocks_Of(PHOTO_BLOCK).empty());
    QVERIFY(Blocks_Of(SLOT_BLOCK).empty());
    QCOMPARE(g_doc.up->paintbounds, disc);
    w.Command_Action(402)->trigger();
    QCOMPARE(Blocks_Of(PHOTO_BLOCK).size(), size_t(1));
    QCOMPARE(Kept(), kept);

    // Saved, read back: the same picture, kept in the project.
    auto* files = w.findChild<a_file_dialogs*>("fileDialogs");
    files->ask_save = [&](const QString&, const QString&, int16_t) { return dir.path() + "/Ring"; };
    w.Command_Action(304)->trigger();
    const QString path = dir.path() + "/Ring.cd4";
    QVERIFY(QFile::exists(path));
    Interaction_Begin();
    const bool read = Read_DISC(false, path.toStdString());
    Interaction_End();
    QVERIFY(read);
    const std::vector<int> back = Blocks_Of(PHOTO_BLOCK);
    QCOMPARE(back.size(), size_t(1));
    QCOMPARE(Curr_PH(back[0])->spec.source.kind, SOURCE_COLLAGE);
    QVERIFY(!Is_Photo_Missing(back[0]));
    const QImage reopened = Block_Source_Picture(*Curr_PH(back[0]), bounds);
    QCOMPARE(reopened.convertToFormat(QImage::Format_RGB32), made.convertToFormat(QImage::Format_RGB32));
    QVERIFY(Close_Unchanged(w));
}

void a_collage_gui_test::ScreenshotsUnderXvfb() {
    if (QStandardPaths::findExecutable("Xvfb").isEmpty()) QSKIP("Xvfb is not installed");
    QString why;
    QVERIFY2(Shots_Match_Goldens({"gui_collage_ring", "gui_collage_grid"}, why), qPrintable(why));
}

namespace {

// Run inside the display server: a two-ring collage half filled, one photo
// selected, then a grid of photos with rounded corners.
int Take_Shots(const QString& dir) {
    a_main_window w;
    if (!Open_Two_Disc_Stock(w)) return 2;
    w.setGeometry(0, 0, 1024, 700);
    QTemporaryDir pictures;
    Click(w, qPrintable(QString("phase%1").arg(int(COLLAGE_PHASE))));
    Click(w, "collageKind2");
    QStringList files;
    for (int k = 0; k < 6; ++k) files << Photo(pictures.path(), QString("p%1").arg(k), k * 55);
    w.findChild<a_collage_panel*>("collagePanel")->Add_Photos(files);
    if (Filled() != 6) return 5;
    QApplication::processEvents();
    // One photo selected: its frame and its turn handle show.
    QTest::mouseClick(Find<QWidget>(w, "unitSurface"), Qt::LeftButton, {}, Slot_Point(w, 10001));
    QApplication::processEvents();
    if (!Screen_Shot(w).save(dir + "/gui_collage_ring.png")) return 3;
    Click(w, "collageKind0");
    Track(w, PACK_GRID_NX_SLIDER)->setValue(3);
    Track(w, PACK_GRID_NY_SLIDER)->setValue(3);
    Track(w, PACK_GRID_CORNER_SLIDER)->setValue(30);
    QApplication::processEvents();
    if (!Screen_Shot(w).save(dir + "/gui_collage_grid.png")) return 4;
    Click(w, "collageCancel");
    g_doc.doc_changed = false;
    return 0;
}

int Run_Tests(char** argv) {
    a_collage_gui_test test;
    return QTest::qExec(&test, 1, argv);
}

}  // namespace

int main(int argc, char** argv) { return Gui_Test_Main(argc, argv, Run_Tests, Take_Shots); }

#include "test_gui_collage.moc"
