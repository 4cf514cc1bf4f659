// The Photos and Clip art phases as a person uses them: photos added through
// the panel's dialog and by a drop, one given a scalloped, shadowed edge by
// the panel's controls, clip art added and coloured, the project saved and
// dropped back. And the two panels as Xvfb shows them.
#include <QtCore/QFile>
#include <QtCore/QStandardPaths>
#include <QtCore/QTemporaryDir>
#include <QtCore/QTimer>
#include <QtTest/QTest>
#include <QtWidgets/QApplication>
#include <QtWidgets/QCheckBox>
#include <QtWidgets/QDialog>
#include <QtWidgets/QListWidget>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QSlider>
#include <QtWidgets/QSpinBox>
#include <QtWidgets/QTabWidget>
#include <QtWidgets/QToolButton>

#include "dialogs/crop_dialog.h"
#include "dialogs/file_dialogs.h"
#include "gui_fixtures.h"
#include "images/photo_blocks.h"
#include "main_window.h"
#include "model/document.h"
#include "model/history.h"
#include "model/ph_blocks.h"
#include "model/selection.h"
#include "persist/disc_read.h"
#include "panels/photo_panel.h"
#include "platform/dialogs.h"
#include "shell/mainloop.h"
#include "widgets/slider_widget.h"
#include "ui/interface.h"
#include "unit_view.h"

namespace {

QString Picture(const QString& dir, const char* name, QColor colour, QSize size) {
    QImage img(size, QImage::Format_RGB32);
    img.fill(colour);
    // A stripe, so that a turn or a crop would show.
    for (int y = 0; y < size.height() / 4; ++y)
        for (int x = 0; x < size.width(); ++x) img.setPixel(x, y, qRgb(250, 240, 200));
    QString path = dir + "/" + name + ".png";
    return img.save(path) ? path : QString();
}

void Select_Only(int omx) {
    Interaction_Begin();
    Selection_Set1(omx);
    Interaction_End();
    QApplication::processEvents();
}

// The number field of a slider, where a person types.
QDoubleSpinBox* Number(QWidget& w, a_slider_enum s) {
    return Find<a_slider_widget>(w, qPrintable(QString("slider%1").arg(int(s))))
        ->findChild<QDoubleSpinBox*>();
}

void Type_Into(QDoubleSpinBox* field, const QString& text) {
    field->setFocus();
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(field, text);
    QTest::keyClick(field, Qt::Key_Return);
    QApplication::processEvents();
}

QSlider* Track(QWidget& w, a_slider_enum s) {
    return Find<a_slider_widget>(w, qPrintable(QString("slider%1").arg(int(s))))
        ->findChild<QSlider*>();
}

// Two photos through the panel, a scalloped and shadowed edge and three
// quarters of its size for the first; false when the two did not come.
bool Make_Label(a_main_window& w, const QString& dir) {
    auto* photos = w.findChild<a_photo_panel*>("photoPanel");
    QStringList files{Picture(dir, "sea", QColor(30, 90, 170), {900, 600}),
                      Picture(dir, "sand", QColor(210, 170, 90), {500, 700})};
    photos->ask_photos = [files] { return files; };
    Click(w, "addPhotos");
    std::vector<int> added = Blocks_Of(PHOTO_BLOCK);
    if (added.size() != 2) return false;
    Select_Only(added[0]);
    Click(w, "edgeStyle2");
    Track(w, PHOTO_EDGE_BORDER_SLIDER)->setValue(20);
    Click(w, "borderColour4");
    Click(w, "photoShadow");
    Track(w, PHOTO_SHAD_DX_SLIDER)->setValue(14);
    Track(w, PHOTO_SHAD_DY_SLIDER)->setValue(14);
    Track(w, PHOTO_SIZE_SLIDER)->setValue(Curr_PH(added[0])->spec.scalingh * 3 / 4);
    QApplication::processEvents();
    return true;
}

}  // namespace

class a_photo_gui_test : public QObject {
    Q_OBJECT
  private slots:
    void PhotosAndClipArtThroughThePanelsAreSaved();
    void CameraPhotoThroughThePanel();
    void ScreenshotsUnderXvfb();
};

void a_photo_gui_test::PhotosAndClipArtThroughThePanelsAreSaved() {
    a_main_window w;
    QVERIFY(Open_Two_Disc_Stock(w));
    QTemporaryDir dir;
    Click(w, qPrintable(QString("phase%1").arg(int(PHOTO_PHASE))));
    QCOMPARE(gs.curr_phase, PHOTO_PHASE);
    QWidget* panel = Find<QWidget>(w, "photoPanel");
    QVERIFY(panel->isVisible());

    // Added: two steps, the last photo selected and shown by the controls.
    const int start = Kept();
    QVERIFY(Make_Label(w, dir.path()));
    std::vector<int> photos = Blocks_Of(PHOTO_BLOCK);
    QCOMPARE(photos.size(), size_t(2));
    const a_spec sea = Curr_PH(photos[0])->spec;
    QCOMPARE(sea.edge_kind, int16_t(EDGE_SCALLOP));
    QCOMPARE(sea.edge_border, int16_t(20));
    QVERIFY(sea.shadf);
    QCOMPARE(sea.shad_dx, int16_t(14));
    QCOMPARE(sea.edge_bord_color.r, uint8_t(200));
    QCOMPARE(sea.scalingh, int16_t(750));  // three quarters of a picture that fits
    QVERIFY(sea.constrainf);
    QCOMPARE(sea.scalingv, sea.scalingh);
    // Each control one step; the other photo untouched.
    QCOMPARE(Kept(), start + 2 + 7);
    const a_spec sand = Curr_PH(photos[1])->spec;
    QCOMPARE(sand.edge_kind, int16_t(EDGE_NONE));
    QVERIFY(!sand.shadf);
    // The controls show the selection, and rest while there is none.
    QVERIFY(Find<QCheckBox>(w, "photoShadow")->isChecked());
    Select_Only(photos[1]);
    QVERIFY(!Find<QCheckBox>(w, "photoShadow")->isChecked());
    QCOMPARE(Track(w, PHOTO_SIZE_SLIDER)->value(), int(sand.scalingh));
    Interaction_Begin();
    Obj_Select_None();
    Interaction_End();
    QApplication::processEvents();
    QVERIFY(!Find<QWidget>(w, "photoShadow")->isEnabled());
    QVERIFY(Find<QWidget>(w, "addPhotos")->isEnabled());
    // Undo takes back the last control's change only; redo brings it again.
    w.Command_Action(401)->trigger();
    QCOMPARE(Curr_PH(Blocks_Of(PHOTO_BLOCK)[0])->spec.scalingh, int16_t(1000));
    QVERIFY(Curr_PH(Blocks_Of(PHOTO_BLOCK)[0])->spec.shadf);
    w.Command_Action(402)->trigger();
    QCOMPARE(Curr_PH(Blocks_Of(PHOTO_BLOCK)[0])->spec.scalingh, int16_t(750));

    // The crop dialog: the left side's handle dragged in, then OK: the photo
    // shows the rest of its picture, one step.
    Select_Only(photos[1]);
    const int kept = Kept();
    When_Modal([](QDialog* d) {
        QWidget* area = Find<QWidget>(*d, "cropArea");
        const int margin = 48, depth = 12;  // the picture's place, the handle's depth
        const QPoint handle(margin - depth / 2, area->height() / 2);
        QTest::mousePress(area, Qt::LeftButton, {}, handle);
        QTest::mouseMove(area, handle + QPoint(50, 0));
        QTest::mouseMove(area, handle + QPoint(100, 0));
        QTest::mouseRelease(area, Qt::LeftButton, {}, handle + QPoint(100, 0));
        d->accept();
    });
    Click(w, "photoCrop");
    const Rect cut = Curr_PH(photos[1])->spec.subset;
    QVERIFY2(cut.left > 40 && cut.left < 300, qPrintable(QString("left %1").arg(cut.left)));
    QCOMPARE(cut.right, int16_t(500));
    QCOMPARE(cut.top, int16_t(0));
    QCOMPARE(cut.bottom, int16_t(700));
    QCOMPARE(Kept(), kept + 1);

    // A picture dropped on the editing area is a third photo.
    QString dropped = Picture(dir.path(), "sun", QColor(240, 180, 40), {300, 300});
    Drop_File(*Find<a_unit_view>(w, "unitView")->viewport(), dropped);
    QTRY_COMPARE(Blocks_Of(PHOTO_BLOCK).size(), size_t(3));
    // Its picture replaced by another file's: one step. Its file is there,
    // so there is nothing to find.
    const int sun = Blocks_Of(PHOTO_BLOCK)[2];
    QVERIFY(Find<QWidget>(w, "photoReplace")->isEnabled());
    QVERIFY(!Find<QWidget>(w, "photoFix")->isEnabled());
    const QString moon = Picture(dir.path(), "moon", QColor(200, 200, 210), {200, 100});
    auto* panel_photos = w.findChild<a_photo_panel*>("photoPanel");
    panel_photos->ask_photo = [moon](const QString&) { return moon; };
    const int before_replace = Kept();
    Click(w, "photoReplace");
    QCOMPARE(QString::fromStdString(Curr_PH(sun)->spec.source.path.name), moon);
    QCOMPARE(Rect_Width(Curr_PH(sun)->spec.subset), 200);
    QCOMPARE(Kept(), before_replace + 1);

    // Numbers in a person's units: 15 typed into the angle is 15°, kept as
    // tenths; the size in per cent of the picture.
    Select_Only(photos[1]);
    Type_Into(Number(w, PHOTO_ANGLE_SLIDER), "15");
    QCOMPARE(Curr_PH(photos[1])->spec.angle, int16_t(150));
    QCOMPARE(Number(w, PHOTO_ANGLE_SLIDER)->text(), QString("15.0°"));
    Type_Into(Number(w, PHOTO_SIZE_SLIDER), "80");
    QCOMPARE(Curr_PH(photos[1])->spec.scalingh, int16_t(800));
    QVERIFY(Number(w, PHOTO_EDGE_BORDER_SLIDER)->suffix().endsWith("mm"));
    // A border chosen after its width went to nothing comes back visible.
    Click(w, "edgeStyle1");
    Type_Into(Number(w, PHOTO_EDGE_BORDER_SLIDER), "0");
    QCOMPARE(Curr_PH(photos[1])->spec.edge_border, int16_t(0));
    Click(w, "edgeStyle0");
    Click(w, "edgeStyle1");
    QCOMPARE(Curr_PH(photos[1])->spec.edge_border, g_sliders[PHOTO_EDGE_BORDER_SLIDER].defaultval);
    QVERIFY(Number(w, PHOTO_EDGE_BORDER_SLIDER)->value() > 0);

    // Clip art: a symbol from the palette, then coloured.
    Click(w, qPrintable(QString("phase%1").arg(int(SYMBOL_PHASE))));
    QListWidget* palette = Find<QListWidget>(w, "symbolPalette");
    QTRY_VERIFY(palette->count() > 10);
    QListWidgetItem* item = palette->item(3);
    QTest::mouseClick(palette->viewport(), Qt::LeftButton, {},
                      palette->visualItemRect(item).center());
    std::vector<int> symbols = Blocks_Of(SYMBOL_BLOCK);
    QCOMPARE(symbols.size(), size_t(1));
    // The photos' scalloped edge is not the symbol's.
    QCOMPARE(Curr_PH(symbols[0])->spec.edge_kind, int16_t(EDGE_NONE));
    Click(w, "symbolColour7");
    QApplication::processEvents();
    const a_win_pixel32 green = Curr_PH(symbols[0])->spec.symbol_color;
    QCOMPARE(int(green.g), 140);
    QCOMPARE(int(green.r), 40);
    QVERIFY(Find<QToolButton>(w, "symbolColour7")->isChecked());  // the swatch shows it
    QVERIFY(!Find<QToolButton>(w, "symbolColour4")->isChecked());
    Track(w, SYMBOL_ANGLE_SLIDER)->setValue(300);
    QCOMPARE(Curr_PH(symbols[0])->spec.angle, int16_t(300));

    // A stamp is a photo of its own pixels, and the Photos panel shows it.
    Find<QTabWidget>(w, "clipArtTabs")->setCurrentIndex(1);
    QListWidget* stamps = Find<QListWidget>(w, "stampPalette");
    QVERIFY(stamps->count() > 10);
    QTest::mouseClick(stamps->viewport(), Qt::LeftButton, {},
                      stamps->visualItemRect(stamps->item(0)).center());
    QCOMPARE(Blocks_Of(PHOTO_BLOCK).size(), size_t(4));
    QCOMPARE(Curr_PH(Blocks_Of(PHOTO_BLOCK).back())->spec.source.kind, SOURCE_CLIPBOARD);
    QCOMPARE(gs.curr_phase, PHOTO_PHASE);

    // Saved through the dialog and read back (the project file's own tests
    // compare every field): the stamp's pixels went with the project.
    auto* files = w.findChild<a_file_dialogs*>("fileDialogs");
    files->ask_save = [&](const QString&, const QString&, int16_t) {
        return dir.path() + "/Beach";
    };
    w.Command_Action(304)->trigger();
    const QString path = dir.path() + "/Beach.cd4";
    QVERIFY(QFile::exists(path));
    Interaction_Begin();
    const bool read = Read_DISC(false, path.toStdString());
    Interaction_End();
    QVERIFY(read);
    QVERIFY(!Is_Photo_Missing(Blocks_Of(PHOTO_BLOCK).back()));

    // A project dropped on the editing area still goes to the window, which
    // opens it: not a photo.
    Drop_File(*Find<a_unit_view>(w, "unitView")->viewport(), path);
    QTest::qWait(50);
    QCOMPARE(Blocks_Of(PHOTO_BLOCK).size(), size_t(4));
    QCOMPARE(QString::fromStdString(g_doc.doc_path.name), path);

    QVERIFY(Close_Unchanged(w));
}

// A 24-megapixel camera photo through the panel's Add Photos: it comes as
// one step without a word, decoded smaller but whole, and the label shows it.
void a_photo_gui_test::CameraPhotoThroughThePanel() {
    a_main_window w;
    QVERIFY(Open_Two_Disc_Stock(w));
    QTemporaryDir dir;
    QImage big(6000, 4000, QImage::Format_RGB32);
    big.fill(QColor(200, 30, 30));
    for (int y = 0; y < big.height(); ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(big.scanLine(y));
        std::fill(row + big.width() / 2, row + big.width(), qRgb(30, 60, 200));
    }
    const QString path = dir.path() + "/camera.jpg";
    QVERIFY(big.save(path, "JPEG", 90));
    big = QImage();
    Click(w, qPrintable(QString("phase%1").arg(int(PHOTO_PHASE))));
    auto* photos = w.findChild<a_photo_panel*>("photoPanel");
    photos->ask_photos = [path] { return QStringList{path}; };
    Dialog_ScriptAnswers({});
    const int kept = Kept();
    Click(w, "addPhotos");
    QCOMPARE(int(Dialog_History().size()), 0);  // no refusal, no note
    QCOMPARE(Kept(), kept + 1);
    const std::vector<int> added = Blocks_Of(PHOTO_BLOCK);
    QCOMPARE(added.size(), size_t(1));
    Rect bounds;
    const QImage source = Block_Source_Picture(*Curr_PH(added[0]), bounds);
    QVERIFY(!source.isNull());
    QVERIFY2(source.width() < 6000 && std::abs(source.width() * 2 - source.height() * 3) <= 3,
             qPrintable(QString("decoded %1 x %2").arg(source.width()).arg(source.height())));

    // On the label: red on the photo's left, blue on its right.
    auto* view = Find<a_unit_view>(w, "unitView");
    auto* surface = Find<QWidget>(w, "unitSurface");
    QApplication::processEvents();
    const QImage shown = surface->grab().toImage();
    const Rect box = Curr_PH(added[0])->dst_box;
    auto colour_at = [&](double fx) {
        const QPointF cell(box.left + fx * Rect_Width(box), (box.top + box.bottom) / 2.0 - Rect_Height(box) / 4.0);
        const QPoint at = surface->mapFrom(view->viewport(), view->Unit_To_View(cell).toPoint());
        return QColor(shown.pixel(at));
    };
    const QColor left = colour_at(0.25), right = colour_at(0.75);
    QVERIFY2(left.red() > 150 && left.blue() < 80, qPrintable(left.name()));
    QVERIFY2(right.blue() > 150 && right.red() < 80, qPrintable(right.name()));
    QVERIFY(Close_Unchanged(w));
}

void a_photo_gui_test::ScreenshotsUnderXvfb() {
    if (QStandardPaths::findExecutable("Xvfb").isEmpty()) QSKIP("Xvfb is not installed");
    QString why;
    QVERIFY2(Shots_Match_Goldens({"gui_photos", "gui_clip_art"}, why), qPrintable(why));
}

namespace {

// A block moved to a fraction of the unit's width and height, as a drag
// would leave it: the disc's hole stays clear in the pictures.
void Place(int omx, double fx, double fy) {
    const Rect& b = g_doc.up->paintbounds;
    Interaction_Begin();
    Obj_PostRender(omx);  // the old place drawn again too
    Photo_Set_Center(
        omx, Point{int16_t(b.top + fy * Rect_Height(b)), int16_t(b.left + fx * Rect_Width(b))});
    Photo_Recalc(omx);
    Interaction_End();
}

// Run inside the display server: the two panels over the same label.
int Take_Shots(const QString& dir) {
    a_main_window w;
    if (!Open_Two_Disc_Stock(w)) return 2;
    w.setGeometry(0, 0, 1024, 700);
    QTemporaryDir pictures;
    Click(w, qPrintable(QString("phase%1").arg(int(PHOTO_PHASE))));
    if (!Make_Label(w, pictures.path())) return 5;
    std::vector<int> photos = Blocks_Of(PHOTO_BLOCK);
    Place(photos[0], 0.33, 0.3);
    Place(photos[1], 0.7, 0.64);
    Select_Only(photos[0]);
    if (!Screen_Shot(w).save(dir + "/gui_photos.png")) return 3;
    Click(w, qPrintable(QString("phase%1").arg(int(SYMBOL_PHASE))));
    QListWidget* palette = Find<QListWidget>(w, "symbolPalette");
    QTest::mouseClick(palette->viewport(), Qt::LeftButton, {},
                      palette->visualItemRect(palette->item(0)).center());
    Click(w, "symbolColour4");
    Track(w, SYMBOL_SIZE_SLIDER)->setValue(1500);
    Place(Blocks_Of(SYMBOL_BLOCK)[0], 0.3, 0.72);
    if (!Screen_Shot(w).save(dir + "/gui_clip_art.png")) return 4;
    g_doc.doc_changed = false;
    return 0;
}

int Run_Tests(char** argv) {
    a_photo_gui_test test;
    return QTest::qExec(&test, 1, argv);
}

}  // namespace

int main(int argc, char** argv) {
    return Gui_Test_Main(argc, argv, Run_Tests, Take_Shots);
}

#include "test_gui_photo.moc"
