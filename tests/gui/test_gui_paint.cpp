// The Paint phase as a person uses it: tools chosen by their keys in the
// editing area, a brush stroke repeated six times round the centre, a
// bucket and a solid rectangle, the rectangle undone, the project saved and
// read back with the same paint. And the phase under Xvfb with a painted disc.
#include <QtCore/QStandardPaths>
#include <QtCore/QTemporaryDir>
#include <QtTest/QTest>
#include <QtWidgets/QApplication>
#include <QtWidgets/QCheckBox>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QListWidget>
#include <QtWidgets/QScrollArea>
#include <QtWidgets/QSlider>
#include <QtWidgets/QTabWidget>
#include <QtWidgets/QToolButton>

#include <cmath>
#include <vector>

#include "dialogs/file_dialogs.h"
#include "gui_fixtures.h"
#include "main_window.h"
#include "model/document.h"
#include "paint/paint_state.h"
#include "paint/selection.h"
#include "panels/art_thumbs.h"
#include "pixels/pixcolor.h"
#include "persist/disc_read.h"
#include "pixels/pixmap.h"
#include "shell/mainloop.h"
#include "ui/interface.h"
#include "ui/text_cmds.h"
#include "unit_view.h"
#include "widgets/palette_popup.h"
#include "widgets/slider_widget.h"

namespace {

// The surface's pixel over a cell of the unit, and the cell the press there really hits.
QPoint Spot(a_main_window& w, QPointF cell) {
    auto* view = Find<a_unit_view>(w, "unitView");
    return Find<QWidget>(w, "unitSurface")->mapFrom(view->viewport(), view->Unit_To_View(cell).toPoint());
}
QPointF Cell_Of(a_main_window& w, QPoint spot) {
    auto* view = Find<a_unit_view>(w, "unitView");
    return view->View_To_Unit(Find<QWidget>(w, "unitSurface")->mapTo(view->viewport(), spot));
}

QPointF Centre() { return QPointF(g_doc.up->symmetry_center.h, g_doc.up->symmetry_center.v); }

// The layer at a cell: its mask (0 unpainted) and colour.
uint8_t Mask(QPointF c) {
    const GWorld* m = g_doc.up->static_[PAINT1_LAYER].mask;
    const int v = int(std::lround(c.y())), h = int(std::lround(c.x()));
    return m ? PixMap_Row(m->pix, v)[h - m->pix.bounds.left] : 0;
}
uint32_t Colour(QPointF c) {
    const GWorld* w = g_doc.up->static_[PAINT1_LAYER].world;
    const int v = int(std::lround(c.y())), h = int(std::lround(c.x()));
    return reinterpret_cast<const uint32_t*>(PixMap_Row(w->pix, v))[h - w->pix.bounds.left] & 0xFFFFFF;
}
// The whole layer, colour where painted, for comparing two of them.
std::vector<uint32_t> Layer() {
    std::vector<uint32_t> out;
    const Rect& b = g_doc.up->paintbounds;
    for (int v = b.top; v < b.bottom; ++v)
        for (int h = b.left; h < b.right; ++h) {
            const QPointF c(h, v);
            out.push_back(Mask(c) ? (Colour(c) | uint32_t(Mask(c)) << 24) : 0);
        }
    return out;
}

// Palette entry `index` chosen with the paint colour button `which` (1, 2); its colour.
uint32_t Choose_Paint_Colour(QWidget& w, int which, int index) {
    Click(w, which == 1 ? "paintColor" : "paintColor2");
    QWidget* palette = Find<QWidget>(w, which == 1 ? "paintPalette1" : "paintPalette2");
    QTest::mouseClick(palette, Qt::LeftButton, {}, a_palette_popup::Cell_Centre(index));
    const a_win_pixel32 c = Palette_Color(index);
    return uint32_t(c.r) << 16 | uint32_t(c.g) << 8 | c.b;
}

void Key(a_main_window& w, Qt::Key key) {
    auto* view = Find<a_unit_view>(w, "unitView");
    view->setFocus();
    QTest::keyClick(view, key);
}

// A drag through `cells` with the left button.
void Drag(a_main_window& w, const std::vector<QPointF>& cells) {
    auto* surface = Find<QWidget>(w, "unitSurface");
    QTest::mousePress(surface, Qt::LeftButton, {}, Spot(w, cells.front()));
    for (const QPointF& c : cells) QTest::mouseMove(surface, Spot(w, c));
    QTest::mouseRelease(surface, Qt::LeftButton, {}, Spot(w, cells.back()));
    QApplication::processEvents();
}

// Item `index` of a palette of thumbnails clicked.
void Pick(QWidget& w, const char* palette, int index) {
    auto* list = Find<QListWidget>(w, palette);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(index)).center());
    QApplication::processEvents();
}

void Set_Slider(QWidget& w, a_slider_enum s, int thumb) {
    Find<a_slider_widget>(w, qPrintable(QString("slider%1").arg(int(s))))->findChild<QSlider*>()->setValue(thumb);
}

QPointF Turn(QPointF p, QPointF c, double degrees) {
    const double a = degrees * M_PI / 180, dx = p.x() - c.x(), dy = p.y() - c.y();
    return c + QPointF(dx * std::cos(a) - dy * std::sin(a), dx * std::sin(a) + dy * std::cos(a));
}

}  // namespace

class a_paint_gui_test : public QObject {
    Q_OBJECT
  private slots:
    void ThreeToolsUndoSaveAndReopen();
    void SelectionMovedDeletedPastedAndUndone();
    void StampAndBorderFromThePickers();
    void ScreenshotsUnderXvfb();
};

void a_paint_gui_test::ThreeToolsUndoSaveAndReopen() {
    a_main_window w;
    QVERIFY(Open_Two_Disc_Stock(w));
    QTemporaryDir dir;
    Click(w, qPrintable(QString("phase%1").arg(int(PAINT_PHASE))));
    QCOMPARE(gs.curr_phase, PAINT_PHASE);
    QVERIFY(Find<QWidget>(w, "paintPanel")->isVisible());
    QCOMPARE(Find<QToolButton>(w, "paintTool0")->toolTip(), QString("Brush Tool (B)"));
    QVERIFY(!g_doc.up->paintinuse);
    const int steps = Kept();

    // The brush, six times round the centre: a stroke's every copy is painted.
    Key(w, Qt::Key_G);
    QCOMPARE(g_paint.tool, int(BUCKET_TOOL));
    QVERIFY(Find<QToolButton>(w, qPrintable(QString("paintTool%1").arg(int(BUCKET_TOOL))))->isChecked());
    Key(w, Qt::Key_B);
    QCOMPARE(g_paint.tool, int(BRUSH_TOOL));
    const uint32_t ink = Choose_Paint_Colour(w, 1, 5);
    Click(w, "paintSymmetry");
    QVERIFY(g_paint.symmetry_on);
    QCOMPARE(g_paint.symmetry_count, 6);
    const QPointF c = Centre();
    Drag(w, {c + QPointF(-60, -320), c + QPointF(-20, -330), c + QPointF(20, -330), c + QPointF(60, -320)});
    QVERIFY(g_doc.up->paintinuse);
    QCOMPARE(Kept(), steps + 1);
    const QPointF dab = Cell_Of(w, Spot(w, c + QPointF(-20, -330)));
    for (int k = 0; k < 6; ++k) {
        const QPointF copy = Turn(dab, c, 60 * k);
        QVERIFY2(Mask(copy) > 0, qPrintable(QString("copy %1 unpainted").arg(k)));
        QCOMPARE(Colour(copy), ink);
    }
    QCOMPARE(Mask(Turn(dab, c, 30)), uint8_t(0));  // between two copies

    // The centre's cross is dragged, not painted on: no step, the layer as it was.
    const std::vector<uint32_t> flower = Layer();
    Drag(w, {c, c + QPointF(40, 20), c + QPointF(80, 40)});
    QVERIFY(std::hypot(Centre().x() - c.x() - 80, Centre().y() - c.y() - 40) <= 3);
    QCOMPARE(Kept(), steps + 1);
    QVERIFY(Layer() == flower);

    // The bucket fills round the strokes; the symmetry off again.
    Click(w, "paintSymmetry");
    QVERIFY(!g_paint.symmetry_on);
    Key(w, Qt::Key_G);
    const uint32_t pour = Choose_Paint_Colour(w, 1, 40);
    QVERIFY(pour != ink);
    const QPointF far = c + QPointF(250, 150);
    QTest::mouseClick(Find<QWidget>(w, "unitSurface"), Qt::LeftButton, {}, Spot(w, far));
    QApplication::processEvents();
    QCOMPARE(Kept(), steps + 2);
    QCOMPARE(Colour(far), pour);
    QCOMPARE(Colour(dab), ink);
    const std::vector<uint32_t> before_rect = Layer();

    // A solid rectangle, then undone: the layer as the bucket left it.
    Key(w, Qt::Key_U);
    QCOMPARE(g_paint.tool, int(SRECT_TOOL));
    const uint32_t box = Choose_Paint_Colour(w, 1, 100);
    Drag(w, {c + QPointF(-250, 120), c + QPointF(-180, 170), c + QPointF(-120, 220)});
    QCOMPARE(Kept(), steps + 3);
    const QPointF inside = Cell_Of(w, Spot(w, c + QPointF(-185, 170)));
    QCOMPARE(Colour(inside), box);
    w.Command_Action(401)->trigger();
    QCOMPARE(Colour(inside), pour);
    QVERIFY(Layer() == before_rect);

    // The layer bar's last row is the paint; its eye hides the layer.
    auto* layers = Find<QListWidget>(w, "layerBar");
    QTRY_VERIFY(layers->count() > 0 && layers->item(layers->count() - 1)->text() == "Paint");

    // Saved and read back: the same pixels.
    auto* files = w.findChild<a_file_dialogs*>("fileDialogs");
    files->ask_save = [&](const QString&, const QString&, int16_t) { return dir.path() + "/Painted"; };
    w.Command_Action(304)->trigger();
    const QString path = dir.path() + "/Painted.cd4";
    QVERIFY(QFile::exists(path));
    Interaction_Begin();
    const bool read = Read_DISC(false, path.toStdString());
    Interaction_End();
    QVERIFY(read);
    QVERIFY(g_doc.up->paintinuse);
    QVERIFY(Layer() == before_rect);
    QVERIFY(Close_Unchanged(w));
}

// The Copy / Move tool by its key: a marquee dragged round a painted box,
// the box dragged away and undone, a lasso's cells deleted with the Delete
// key, and the box copied and pasted through the clipboard.
void a_paint_gui_test::SelectionMovedDeletedPastedAndUndone() {
    a_main_window w;
    QVERIFY(Open_Two_Disc_Stock(w));
    Click(w, qPrintable(QString("phase%1").arg(int(PAINT_PHASE))));
    const QPointF c = Centre();
    Key(w, Qt::Key_U);
    const uint32_t box = Choose_Paint_Colour(w, 1, 100);
    Drag(w, {c + QPointF(-200, -200), c + QPointF(-150, -150), c + QPointF(-100, -100)});
    const std::vector<uint32_t> painted = Layer();
    const int steps = Kept();

    Key(w, Qt::Key_M);
    QCOMPARE(g_paint.tool, int(SELECT_TOOL));
    auto* tool = Find<QToolButton>(w, qPrintable(QString("paintTool%1").arg(int(SELECT_TOOL))));
    QVERIFY(tool->isEnabled() && tool->isChecked());
    QVERIFY(Find<QComboBox>(w, "paintMarquee")->isEnabled());
    Drag(w, {c + QPointF(-220, -220), c + QPointF(-80, -80)});
    QVERIFY(Selection_Active());
    QCOMPARE(Kept(), steps);  // a marquee alone changes nothing
    const QPointF mid = Cell_Of(w, Spot(w, c + QPointF(-150, -150)));
    Drag(w, {c + QPointF(-150, -150), c + QPointF(0, -100), c + QPointF(150, -50)});
    QCOMPARE(Kept(), steps + 1);
    QCOMPARE(Mask(mid), uint8_t(0));
    const QPointF moved = mid + (Cell_Of(w, Spot(w, c + QPointF(150, -50))) - Cell_Of(w, Spot(w, c + QPointF(-150, -150))));
    QCOMPARE(Colour(moved), box);
    QCOMPARE(Mask(moved), uint8_t(255));
    w.Command_Action(401)->trigger();
    QVERIFY(Layer() == painted);
    QVERIFY(!Selection_Active());

    // A lasso through the box's middle, and the Delete key.
    Find<QComboBox>(w, "paintMarquee")->setCurrentIndex(2);
    QCOMPARE(g_paint.marquee_method, int(LASSO_MARQUEE));
    Drag(w, {c + QPointF(-230, -150), c + QPointF(-150, -230), c + QPointF(-70, -150), c + QPointF(-150, -70)});
    QVERIFY(Selection_Active());
    Key(w, Qt::Key_Delete);
    QCOMPARE(Kept(), steps + 1);
    QCOMPARE(Mask(mid), uint8_t(0));
    QCOMPARE(Mask(Cell_Of(w, Spot(w, c + QPointF(-195, -195)))), uint8_t(255));  // a corner outside the lasso
    w.Command_Action(401)->trigger();
    QVERIFY(Layer() == painted);

    // Copied and pasted: a floating copy in the middle of the view, one step.
    Find<QComboBox>(w, "paintMarquee")->setCurrentIndex(0);
    const QPointF from = Cell_Of(w, Spot(w, c + QPointF(-200, -200))), to = Cell_Of(w, Spot(w, c + QPointF(-100, -100)));
    Drag(w, {c + QPointF(-200, -200), c + QPointF(-100, -100)});
    w.Command_Action(405)->trigger();
    Key(w, Qt::Key_Escape);
    QVERIFY(!Selection_Active());
    w.Command_Action(406)->trigger();
    QCOMPARE(Kept(), steps + 1);
    QVERIFY(Selection_Floating());
    QCOMPARE(g_paint.tool, int(SELECT_TOOL));
    const Rect b = Selection_Bounds();
    QCOMPARE(Rect_Width(b), int(std::lround(to.x()) - std::lround(from.x())) + 1);
    QCOMPARE(Colour(QPointF((b.left + b.right) / 2, (b.top + b.bottom) / 2)), box);
    g_doc.doc_changed = false;
    QVERIFY(Close_Unchanged(w));
}

// The stamp tool by its key, a stamp and its darkness from the panel: the
// print carries the stamp's own colour darkened as the slider says. A border
// from the Clip art phase's Borders tab takes the Paint phase's hollow
// rectangle with it and frames what is dragged, as one undo step.
void a_paint_gui_test::StampAndBorderFromThePickers() {
    a_main_window w;
    QVERIFY(Open_Two_Disc_Stock(w));
    Click(w, qPrintable(QString("phase%1").arg(int(PAINT_PHASE))));
    const int steps = Kept();
    Key(w, Qt::Key_S);
    QCOMPARE(g_paint.tool, int(STAMP_TOOL));
    QVERIFY(g_paint.stamp != nullptr);
    QVERIFY(Find<QWidget>(w, "paintArt")->isEnabled());
    Find<QTabWidget>(w, "paintArt")->setCurrentIndex(1);
    Pick(w, "paintStamps", 0);
    QCOMPARE(Find<QListWidget>(w, "paintStamps")->currentRow(), 0);
    QCOMPARE(g_paint.fill_kind, int(COLOR_FILL));  // the stamp tool prints it; the fill stays
    Set_Slider(w, STAMP_DARKNESS_SLIDER, 20);
    const int dark = gs.slider_vals[STAMP_DARKNESS_SLIDER];
    QVERIFY(dark != 50);
    const QPointF at = Cell_Of(w, Spot(w, Centre() + QPointF(-250, -250)));
    Drag(w, {at});
    QCOMPARE(Kept(), steps + 1);
    const a_masked_gworld& st = Window_Paint_Art().stamp.get();
    const int sx = Rect_Width(st.bounds) / 2, sy = Rect_Height(st.bounds) / 2;
    QVERIFY(PixMap_Row(st.mask->pix, sy)[sx] > 0);
    const uint32_t src = reinterpret_cast<const uint32_t*>(PixMap_Row(st.fore->pix, sy))[sx];
    uint8_t map[256];
    Calc_Darkness_Map(dark, 255, map);
    const uint32_t want = uint32_t(map[(src >> 16) & 0xFF]) << 16 | uint32_t(map[(src >> 8) & 0xFF]) << 8 | map[src & 0xFF];
    QCOMPARE(Colour(at), want);

    Click(w, qPrintable(QString("phase%1").arg(int(SYMBOL_PHASE))));
    auto* tabs = Find<QTabWidget>(w, "clipArtTabs");
    QVERIFY(tabs->isTabEnabled(2));
    tabs->setCurrentIndex(2);
    Pick(w, "borderPalette", 1);
    QCOMPARE(gs.curr_phase, PAINT_PHASE);
    QCOMPARE(g_paint.tool, int(FRECT_TOOL));
    QCOMPARE(g_paint.fill_kind, int(BORDER_FILL));
    QVERIFY(g_paint.border != nullptr);
    const std::vector<uint32_t> before = Layer();
    const QPointF a = Cell_Of(w, Spot(w, Centre() + QPointF(-180, -120)));
    const QPointF b = Cell_Of(w, Spot(w, Centre() + QPointF(180, 120)));
    Drag(w, {a, (a + b) / 2, b});
    QCOMPARE(Kept(), steps + 2);
    const int t = Rect_Width(g_paint.border->corn);
    QVERIFY(Mask(a + QPointF(t / 2, 2)) > 0);   // the band along the top
    QVERIFY(Mask(b - QPointF(2, t / 2)) > 0);   // and the bottom right corner
    QCOMPARE(Mask((a + b) / 2), uint8_t(0));    // not the middle
    w.Command_Action(401)->trigger();
    QVERIFY(Layer() == before);
    g_doc.doc_changed = false;
    QVERIFY(Close_Unchanged(w));
}

void a_paint_gui_test::ScreenshotsUnderXvfb() {
    if (QStandardPaths::findExecutable("Xvfb").isEmpty()) QSKIP("Xvfb is not installed");
    QString why;
    QVERIFY2(Shots_Match_Goldens({"gui_paint"}, why), qPrintable(why));
}

namespace {

// Run inside the display server: a flower of brush strokes repeated eight
// times round the centre, a ring of spray, and a circular gradient poured
// into the rest of the disc.
int Take_Shots(const QString& dir) {
    a_main_window w;
    if (!Open_Two_Disc_Stock(w)) return 2;
    w.setGeometry(0, 0, 1024, 700);
    Click(w, qPrintable(QString("phase%1").arg(int(PAINT_PHASE))));
    const QPointF c = Centre();
    Key(w, Qt::Key_G);
    Find<QComboBox>(w, "paintFill")->setCurrentIndex(1);
    Find<QComboBox>(w, "paintGradient")->setCurrentIndex(GRAD_CIRCULAR);
    Choose_Paint_Colour(w, 1, 200);
    Choose_Paint_Colour(w, 2, 20);
    QTest::mouseClick(Find<QWidget>(w, "unitSurface"), Qt::LeftButton, {}, Spot(w, c + QPointF(0, 420)));
    Find<QComboBox>(w, "paintFill")->setCurrentIndex(0);
    Key(w, Qt::Key_B);
    Choose_Paint_Colour(w, 1, 5);
    Click(w, "paintSymmetry");
    Find<a_slider_widget>(w, qPrintable(QString("slider%1").arg(int(SYMMETRY_COUNT_SLIDER))))
        ->findChild<QSlider*>()->setValue(8);
    std::vector<QPointF> petal;
    for (int i = 0; i <= 24; ++i) {
        const double t = i / 24.0 * M_PI;
        petal.push_back(c + QPointF(60 * std::sin(t) * std::sin(t * 2), -120 - 220 * t / M_PI));
    }
    Drag(w, petal);
    Key(w, Qt::Key_J);
    Choose_Paint_Colour(w, 1, 30);
    std::vector<QPointF> ring;
    for (int i = 0; i <= 40; ++i) ring.push_back(c + QPointF(-430 + i * 3, -60 + i * 3));
    Drag(w, ring);
    // Hearts stamped round the rim, and a border framing the middle.
    Key(w, Qt::Key_S);
    Find<QTabWidget>(w, "paintArt")->setCurrentIndex(1);
    Pick(w, "paintStamps", 0);
    Set_Slider(w, STAMP_SIZE_SLIDER, 2);
    Set_Slider(w, STAMP_SPACING_SLIDER, 60);
    Set_Slider(w, STAMP_ROTATE_SLIDER, 20);
    std::vector<QPointF> rim;
    for (int i = 0; i <= 60; ++i) rim.push_back(c + QPointF(470 * std::sin(i * M_PI / 40), -470 * std::cos(i * M_PI / 40)));
    Drag(w, rim);
    Click(w, qPrintable(QString("phase%1").arg(int(SYMBOL_PHASE))));
    Find<QTabWidget>(w, "clipArtTabs")->setCurrentIndex(2);
    Pick(w, "borderPalette", 0);
    Drag(w, {c + QPointF(-230, -230), c + QPointF(230, 230)});
    Find<QTabWidget>(w, "paintArt")->setCurrentIndex(2);
    QWidget* art = Find<QWidget>(w, "paintArt");
    for (QWidget* p = art->parentWidget(); p; p = p->parentWidget())
        if (auto* scroller = qobject_cast<QScrollArea*>(p)) scroller->ensureWidgetVisible(art, 0, 0);
    QApplication::processEvents();
    if (!Screen_Shot(w).save(dir + "/gui_paint.png")) return 3;
    g_doc.doc_changed = false;
    return 0;
}

int Run_Tests(char** argv) {
    a_paint_gui_test test;
    return QTest::qExec(&test, 1, argv);
}

}  // namespace

int main(int argc, char** argv) { return Gui_Test_Main(argc, argv, Run_Tests, Take_Shots); }

#include "test_gui_paint.moc"
