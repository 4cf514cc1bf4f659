// The Text phase as a person uses it: circular text with a glow and straight
// text made through the panel; the size slider within the layout's limit,
// the font bar and the justification grid on the selected block; its text
// changed in the editor (and left alone on Cancel), undone and redone; the
// blocks restacked in the layer bar. And the phase's picture under a display
// server of its own.
#include <QtCore/QFile>
#include <QtCore/QStandardPaths>
#include <QtGui/QClipboard>
#include <QtGui/QInputMethodEvent>
#include <QtTest/QTest>
#include <QtWidgets/QApplication>
#include <QtWidgets/QDoubleSpinBox>
#include <QtWidgets/QListWidget>
#include <QtWidgets/QPlainTextEdit>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QSlider>
#include <QtWidgets/QToolButton>

#include <cmath>
#include <cstdlib>
#include <vector>

#include "gui_fixtures.h"
#include "widgets/layer_bar.h"
#include "main_window.h"
#include "widgets/palette_popup.h"
#include "widgets/slider_widget.h"
#include "model/document.h"
#include "model/history.h"
#include "model/selection.h"
#include "shell/mainloop.h"
#include "shell/menus.h"
#include "render/compositor.h"
#include "text/text_blocks.h"
#include "text/text_caret.h"
#include "text/text_edit.h"
#include "dialogs/text_editor_dialog.h"
#include "ui/interface.h"
#include "ui/text_cmds.h"
#include "unit_view.h"

namespace {

enum : int { GLOW_ENTRY = 200 };  // a palette entry far from the default gold


// The open editor: its text replaced, then OK (or Cancel).
void Finish_Editor(a_main_window& w, const QString& text, bool ok = true) {
    QApplication::processEvents();
    auto* editor = w.findChild<a_text_editor_dialog*>("textEditor");
    QVERIFY(editor && editor->isVisible());
    editor->Editor()->setPlainText(text);
    QTest::mouseClick(Find<QPushButton>(*editor, ok ? "textEditorOk" : "textEditorCancel"), Qt::LeftButton);
    QApplication::processEvents();
}

void New_Text(a_main_window& w, const QString& text) {
    Click(w, "newText");
    Finish_Editor(w, text);
}

a_om_rec& Text_At(int omx) { return *Curr_OM(omx); }
int Size_Slider_Max(a_main_window& w) {
    return Find<QWidget>(w, qPrintable(QString("slider%1").arg(int(TEXT_SIZE_SLIDER))))
        ->findChild<QSlider*>()
        ->maximum();
}

class a_text_test : public QObject {
    Q_OBJECT
private slots:
    void CircularAndStraightTextEditedAndRestacked();
    void CircularTitleTypedStyledPastedTurnedAndUndone();
    void ScreenshotUnderXvfb();
};

void a_text_test::CircularAndStraightTextEditedAndRestacked() {
    a_main_window w;
    QVERIFY(Open_Two_Disc_Stock(w));
    Click(w, QString("phase%1").arg(int(TEXT_PHASE)));
    QCOMPARE(gs.curr_phase, TEXT_PHASE);
    QVERIFY(Find<QWidget>(w, "textPanel")->isVisible());

    // With nothing selected the controls set what the next block takes:
    // no step until the block is made.
    int kept = Kept();
    Click(w, QString("layout%1").arg(int(LAYOUT_CIRC_CW)));
    QCOMPARE(Size_Slider_Max(w), int(TEXT_LAYOUT_SIZE_LIMITS[LAYOUT_CIRC_CW]));
    Click(w, "textGlow");
    Choose_Color(w, TEXT_GLOW_COLORBAR, GLOW_ENTRY);
    QCOMPARE(Kept(), kept);
    New_Text(w, "Summer Mix 2026");
    QCOMPARE(Kept(), kept + 1);
    const int circ = g_doc.up->oj.nlist;
    const uint32_t circ_id = g_doc.up->oj.list[circ].objid;
    QCOMPARE(int(Text_At(circ).layout), int(LAYOUT_CIRC_CW));
    QVERIFY(Text_At(circ).glowf);
    QVERIFY(Text_At(circ).glow_color == Palette_Color(GLOW_ENTRY));
    QCOMPARE(OM_To_Str(Text_At(circ)), std::u16string(u"Summer Mix 2026"));

    // Straight text: the circle let go first, else the grid would change it.
    Interaction_Begin();
    Obj_Select_None();
    Interaction_End();
    Click(w, QString("layout%1").arg(int(LAYOUT_HORZ)));
    Click(w, "textGlow");
    New_Text(w, "Track list");
    const int straight = g_doc.up->oj.nlist;
    const uint32_t straight_id = g_doc.up->oj.list[straight].objid;
    QCOMPARE(int(Text_At(straight).layout), int(LAYOUT_HORZ));
    QVERIFY(!Text_At(straight).glowf);
    QCOMPARE(Kept(), kept + 2);

    // The selected block in the controls: the straight layout's larger limit,
    // and the size slider's + changes the block by one step.
    QApplication::processEvents();
    QCOMPARE(Size_Slider_Max(w), int(TEXT_LAYOUT_SIZE_LIMITS[LAYOUT_HORZ]));
    QVERIFY(!Find<QToolButton>(w, "textGlow")->isChecked());
    const int16_t size = Text_At(straight).size;
    QWidget* size_slider = Find<QWidget>(w, qPrintable(QString("slider%1").arg(int(TEXT_SIZE_SLIDER))));
    QTest::mouseClick(size_slider->findChildren<QToolButton*>().last(), Qt::LeftButton);
    const int16_t grown = Text_At(straight).size;
    QVERIFY(grown > size);
    QCOMPARE(Kept(), kept + 3);

    // Another family from the font bar, and the lines set to the right with
    // the text kept in its place: one step each.
    auto* fonts = Find<QListWidget>(w, "fontBar");
    QCOMPARE(fonts->currentRow(), int(Text_At(straight).fontx) - 1);
    const int other_row = fonts->currentRow() == 0 ? 1 : 0;
    fonts->scrollToItem(fonts->item(other_row));
    QTest::mouseClick(fonts->viewport(), Qt::LeftButton, {},
                      fonts->visualItemRect(fonts->item(other_row)).center());
    QCOMPARE(int(Text_At(straight).fontx), other_row + 1);
    const Rect before = Obj_BBox(straight);
    Click(w, QString("hjust%1").arg(int(JUST_RIGHT)));
    QCOMPARE(int(Text_At(straight).justify), int(JUST_RIGHT));
    QVERIFY(std::abs(Obj_BBox(straight).left - before.left) <= 2);
    QCOMPARE(Kept(), kept + 5);

    // The editor window (the block's context menu opens it); Cancel changes
    // nothing, OK is one step that undo takes back and redo brings again.
    a_unit_view* view = Find<a_unit_view>(w, "unitView");
    auto open_editor = [&] { emit view->textBlockActivated(int(g_doc.upx), int(straight_id)); };
    open_editor();
    auto* editor = w.findChild<a_text_editor_dialog*>("textEditor");
    QVERIFY(editor);
    QCOMPARE(editor->Editor()->toPlainText(), QString("Track list"));
    Finish_Editor(w, "Nothing", false);
    QCOMPARE(OM_To_Str(Text_At(straight)), std::u16string(u"Track list"));
    QCOMPARE(Kept(), kept + 5);
    open_editor();
    Finish_Editor(w, "1. Intro\n2. Outro");
    QCOMPARE(OM_To_Str(Text_At(straight)), std::u16string(u"1. Intro\r\n2. Outro"));
    QCOMPARE(Kept(), kept + 6);
    w.Command_Action(MENU_EDIT + 1)->trigger();
    QCOMPARE(OM_To_Str(*Curr_OM(g_doc.up->oj.nlist)), std::u16string(u"Track list"));
    w.Command_Action(MENU_EDIT + 2)->trigger();
    QCOMPARE(OM_To_Str(*Curr_OM(g_doc.up->oj.nlist)), std::u16string(u"1. Intro\r\n2. Outro"));

    // The layer bar's top row (the straight text) dragged under the circle.
    auto* layers = w.findChild<a_layer_bar*>();
    QVERIFY(layers);
    layers->Refresh();
    layers->Restack_Row(0, 1);
    QCOMPARE(g_doc.up->oj.list[g_doc.up->oj.nlist].objid, circ_id);
    QCOMPARE(g_doc.up->oj.list[g_doc.up->oj.nlist - 1].objid, straight_id);
    QCOMPARE(Kept(), kept + 7);

    // Both blocks as the panel left them, in their new order (the project
    // file's own tests read every field back).
    const a_doc_unit& u = *g_doc.up;
    std::vector<const a_om_rec*> texts;  // bottom first
    for (int i = 1; i <= u.oj.nlist; ++i)
        if (u.oj.list[i].kind == TEXT_BLOCK) texts.push_back(u.oj.list[i].om);
    QCOMPARE(texts.size(), size_t(2));
    const a_om_rec& low = *texts[0];
    const a_om_rec& high = *texts[1];
    QCOMPARE(OM_To_Str(low), std::u16string(u"1. Intro\r\n2. Outro"));
    QCOMPARE(int(low.layout), int(LAYOUT_HORZ));
    QCOMPARE(int(low.justify), int(JUST_RIGHT));
    QCOMPARE(low.size, grown);
    QCOMPARE(OM_To_Str(high), std::u16string(u"Summer Mix 2026"));
    QCOMPARE(int(high.layout), int(LAYOUT_CIRC_CW));
    QVERIFY(high.glowf && high.glow_color == Palette_Color(GLOW_ENTRY));

    QVERIFY(Close_Unchanged(w));
}

// Inside character pos of a laid-out block: half its width along the line,
// a quarter of the block's size above the baseline.
QPoint On_Char(const a_area& a, const a_om_rec& om, int pos) {
    const a_xyl_char& c = om.xyl[pos];
    const double t = c.mm_t * 3.14159265358979323846 / 1800, up = Caret_Size(om) / 4;
    return a.At(c.mm_x + c.mm_width / 2.0 * std::cos(t) - up * std::sin(t),
                c.mm_y - c.mm_width / 2.0 * std::sin(t) - up * std::cos(t));
}

// The person's way through in-place editing: into a circular title by a
// double click, typing, a word made bold and red, a line pasted from another
// program, composed input, out by a click beside it, the line dragged a
// quarter turn around the disc; each step undone and redone.
void a_text_test::CircularTitleTypedStyledPastedTurnedAndUndone() {
    a_main_window w;
    QVERIFY(Open_Two_Disc_Stock(w));
    Click(w, QString("phase%1").arg(int(TEXT_PHASE)));
    Click(w, QString("layout%1").arg(int(LAYOUT_CIRC_CW)));
    New_Text(w, "Summer Mix");
    const int omx = g_doc.up->oj.nlist;
    a_om_rec* om = Curr_OM(omx);
    const a_area area(w);
    const int kept = Kept();

    // A double click edits the text where it is, the word under it selected; typing replaces it.
    QTest::mouseDClick(area.surface, Qt::LeftButton, {}, On_Char(area, *om, 9));  // "Mix"
    QVERIFY(Edited_OM() == om);
    QCOMPARE(std::pair(g_ed.sel_lo, g_ed.sel_hi), std::pair(8, 11));
    QListWidget* units = Find<QListWidget>(w, "unitList");
    const QImage before_typing = units->item(0)->icon().pixmap(units->iconSize()).toImage();
    QTest::keyClicks(area.view, "Tape");
    QCOMPARE(OM_To_Str(*om), std::u16string(u"Summer Tape"));
    QCOMPARE(Kept(), kept);  // no step per key
    // The unit list's picture of the label follows once the keys pause.
    QTRY_VERIFY(units->item(0)->icon().pixmap(units->iconSize()).toImage() != before_typing);
    // The caret shows in dark red after the last letter.
    QApplication::processEvents();
    const QImage shot = area.surface->grab().toImage();
    const QPoint caret = area.At(Caret_Spot(*om, g_ed.sel_lo).x, Caret_Spot(*om, g_ed.sel_lo).y);
    int red = 0;
    for (int y = caret.y() - 30; y < caret.y() + 10; ++y)
        for (int x = caret.x() - 12; x < caret.x() + 12; ++x) red += shot.pixelColor(x, y) == QColor(128, 0, 0);
    QVERIFY2(red > 10, "the caret is drawn");

    // The new word selected by a double click, then bold and red: one step each.
    QTest::qWait(QApplication::doubleClickInterval() + 50);
    QTest::mouseDClick(area.surface, Qt::LeftButton, {}, On_Char(area, *om, 9));
    QCOMPARE(std::pair(g_ed.sel_lo, g_ed.sel_hi), std::pair(8, 12));
    Click(w, "textBold");
    int red_entry = Find_In_Palette32(a_win_pixel32{0, 0, 255, 0});
    if (red_entry == 0) red_entry = 35;
    Choose_Color(w, PAINT_COLORBAR, red_entry);
    QCOMPARE(Kept(), kept + 2);
    a_win_pixel32 own = Palette_Color(red_entry);
    own.a = 255;
    for (int i = 1; i < om->nxyl; ++i) {
        QCOMPARE(om->xyl[i].cc_boldf, i >= 8);
        QVERIFY((om->xyl[i].cc_color == own) == (i >= 8));
    }
    QVERIFY(!om->boldf);

    // A line another program put on the clipboard goes in at the caret; then composed input.
    QTest::keyClick(area.view, Qt::Key_End);
    QApplication::clipboard()->setText(" / B-side\n");
    w.Command_Action(MENU_EDIT + 6)->trigger();
    QCOMPARE(OM_To_Str(*om), std::u16string(u"Summer Tape / B-side"));
    QCOMPARE(Kept(), kept + 3);
    QInputMethodEvent compose("ka", {});
    QApplication::sendEvent(area.view, &compose);
    QCOMPARE(OM_To_Str(*om), std::u16string(u"Summer Tape / B-side"));
    QInputMethodEvent commit;
    commit.setCommitString(QString::fromUtf8("\u304B"));
    QApplication::sendEvent(area.view, &commit);
    QCOMPARE(OM_To_Str(*om), std::u16string(u"Summer Tape / B-side\u304B"));
    // A click beside the text ends the editing with one step.
    const Rect& unit = g_doc.up->paintbounds;
    QTest::mouseClick(area.surface, Qt::LeftButton, {}, area.At(unit.right / 2, unit.bottom / 2));
    QVERIFY(Edited_OM() == nullptr);
    QCOMPARE(Kept(), kept + 4);

    // Dragged a quarter turn counter-clockwise: it turns about the disc's centre.
    Interaction_Begin();
    Selection_Set1(omx);
    Interaction_End();
    const Point c = om->rotcenter;
    const int16_t angle = om->polarangle;
    // Grabbed at the top of the disc, where the centred line is.
    const a_xyl_char& mid = om->xyl[om->nxyl / 2];
    const double r = std::hypot(mid.mm_x - c.h, mid.mm_y - c.v) + Caret_Size(*om) / 4;
    const QPoint from = area.At(c.h, c.v - r), to = area.At(c.h - r, c.v);
    QTest::mousePress(area.surface, Qt::LeftButton, {}, from);
    QTest::mouseMove(area.surface, area.At(c.h - r * 0.2, c.v - r * 0.98));
    QApplication::processEvents();  // the window draws between moves, as it does for a person
    QTest::mouseMove(area.surface, area.At(c.h - r * 0.7, c.v - r * 0.7));
    QApplication::processEvents();
    QTest::mouseMove(area.surface, to);
    QTest::mouseRelease(area.surface, Qt::LeftButton, {}, to);
    om = Curr_OM(g_doc.up->oj.nlist);
    QVERIFY(om->rotcenter == c);
    QCOMPARE(int(om->polarangle), angle + 90 > 180 ? angle - 270 : angle + 90);
    QCOMPARE(Kept(), kept + 5);
    // The panel's field shows the angle turned to, not the one before the drag.
    QApplication::processEvents();
    auto* polar = Find<a_slider_widget>(w, qPrintable(QString("slider%1").arg(int(TEXT_POLARANGLE_SLIDER))));
    QCOMPARE(int(std::lround(polar->findChild<QDoubleSpinBox*>()->value())), int(om->polarangle));

    // Each step undone, newest first, then all redone.
    auto text = [] { return OM_To_Str(*Curr_OM(g_doc.up->oj.nlist)); };
    auto last = [] { return *Curr_OM(g_doc.up->oj.nlist); };
    w.Command_Action(MENU_EDIT + 1)->trigger();
    QCOMPARE(int(last().polarangle), int(angle));
    w.Command_Action(MENU_EDIT + 1)->trigger();
    QCOMPARE(text(), std::u16string(u"Summer Tape / B-side"));
    w.Command_Action(MENU_EDIT + 1)->trigger();
    QCOMPARE(text(), std::u16string(u"Summer Tape"));
    w.Command_Action(MENU_EDIT + 1)->trigger();
    QVERIFY(last().xyl[9].cc_color.a == 0 && last().xyl[9].cc_boldf);
    w.Command_Action(MENU_EDIT + 1)->trigger();
    QVERIFY(!last().xyl[9].cc_boldf);
    for (int i = 0; i < 5; ++i) w.Command_Action(MENU_EDIT + 2)->trigger();
    QCOMPARE(text(), std::u16string(u"Summer Tape / B-side\u304B"));

    // Redone whole: the turn and every character's overrides.
    const a_om_rec* back = Curr_OM(g_doc.up->oj.nlist);
    QCOMPARE(int(back->polarangle), angle + 90 > 180 ? angle - 270 : angle + 90);
    for (int i = 1; i < 12; ++i) {
        QCOMPARE(back->xyl[i].cc_boldf, i >= 8);
        QVERIFY((back->xyl[i].cc_color == own) == (i >= 8));
    }
    QVERIFY(Close_Unchanged(w));
}

// The Text phase with circular, glowing text selected, as Xvfb shows it.
int Take_Shots(const QString& dir) {
    a_main_window w;
    if (!Open_Two_Disc_Stock(w)) return 2;
    Click(w, QString("phase%1").arg(int(TEXT_PHASE)));
    Click(w, QString("layout%1").arg(int(LAYOUT_CIRC_CW)));
    Click(w, "textGlow");
    New_Text(w, "Summer Mix 2026");
    if (!Curr_OM(g_doc.up->oj.nlist)) return 3;
    if (!Screen_Shot(w).save(dir + "/gui_text.png")) return 4;

    // The circular title edited, the caret after "Mix", with a track list
    // along the outline that has no room for its last lines: their marks show.
    const int title = g_doc.up->oj.nlist;
    Interaction_Begin();
    Obj_Select_None();
    Interaction_End();
    Click(w, QString("layout%1").arg(int(LAYOUT_CONTOUR)));
    Click(w, "textGlow");
    QString tracks;
    for (int i = 1; i <= 40; ++i) tracks += QString("%1 Track number %1\n").arg(i, 2, 10, QChar('0'));
    New_Text(w, tracks);
    Interaction_Begin();
    Text_Edit(title);
    Set_Sel_Empty(11);
    Interaction_End();
    QApplication::processEvents();
    g_caret.drawn = true;
    Find<QWidget>(w, "unitSurface")->update();
    QApplication::processEvents();
    if (!Screen_Shot(w).save(dir + "/gui_text_caret.png")) return 5;

    // Straight text with a bold red run and a selection over the next word.
    Interaction_Begin();
    Edit_OK();
    Obj_Select_None();
    Interaction_End();
    Click(w, QString("layout%1").arg(int(LAYOUT_HORZ)));
    Click(w, "textGlow");
    New_Text(w, "Track one two three");
    Interaction_Begin();
    Text_Edit(g_doc.up->oj.nlist);
    Set_Sel_Range(7, 10);  // "one"
    Interaction_End();
    Click(w, "textBold");
    Choose_Color(w, PAINT_COLORBAR, 35);
    Interaction_Begin();
    Set_Sel_Range(11, 14);  // "two"
    Interaction_End();
    QApplication::processEvents();
    if (!Screen_Shot(w).save(dir + "/gui_text_selection.png")) return 6;
    g_doc.doc_changed = false;
    return 0;
}

void a_text_test::ScreenshotUnderXvfb() {
    if (QStandardPaths::findExecutable("Xvfb").isEmpty()) QSKIP("Xvfb is not installed");
    QString why;
    QVERIFY2(Shots_Match_Goldens({"gui_text", "gui_text_caret", "gui_text_selection"}, why), qPrintable(why));
}

int Run_Tests(char** argv) {
    a_text_test test;
    return QTest::qExec(&test, 1, argv);
}

}  // namespace

int main(int argc, char** argv) { return Gui_Test_Main(argc, argv, Run_Tests, Take_Shots); }

#include "test_gui_text.moc"
