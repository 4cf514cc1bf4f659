// The Text phase as a person uses it: circular text with a glow and straight
// text made through the panel; the size slider within the layout's limit,
// the font bar and the justification grid on the selected block; its text
// changed in the editor (and left alone on Cancel), undone and redone; the
// blocks restacked in the layer bar, and the saved project read back. And
// the phase's picture under a display server of its own.
#include <QtCore/QFile>
#include <QtCore/QStandardPaths>
#include <QtCore/QTemporaryDir>
#include <QtTest/QTest>
#include <QtWidgets/QApplication>
#include <QtWidgets/QListWidget>
#include <QtWidgets/QPlainTextEdit>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QSlider>
#include <QtWidgets/QToolButton>

#include <cstdlib>
#include <vector>

#include "dialogs/file_dialogs.h"
#include "gui_fixtures.h"
#include "widgets/layer_bar.h"
#include "main_window.h"
#include "widgets/palette_popup.h"
#include "model/document.h"
#include "model/history.h"
#include "model/selection.h"
#include "persist/disc_read.h"
#include "shell/mainloop.h"
#include "shell/menus.h"
#include "text/text_blocks.h"
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
    void CircularAndStraightTextEditedRestackedAndSaved();
    void ScreenshotUnderXvfb();
};

void a_text_test::CircularAndStraightTextEditedRestackedAndSaved() {
    a_main_window w;
    QVERIFY(Open_Two_Disc_Stock(w));
    QTemporaryDir dir;
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

    // A double click opens the editor; Cancel changes nothing, OK is one step
    // that undo takes back and redo brings again.
    a_unit_view* view = Find<a_unit_view>(w, "unitView");
    QWidget* surface = Find<QWidget>(w, "unitSurface");
    const Rect box = Obj_BBox(straight);
    const QPoint on_text = surface->mapFrom(
        view->viewport(),
        view->Unit_To_View(QPointF((box.left + box.right) / 2.0, (box.top + box.bottom) / 2.0)).toPoint());
    QTest::mouseDClick(surface, Qt::LeftButton, {}, on_text);
    auto* editor = w.findChild<a_text_editor_dialog*>("textEditor");
    QVERIFY(editor);
    QCOMPARE(editor->Editor()->toPlainText(), QString("Track list"));
    Finish_Editor(w, "Nothing", false);
    QCOMPARE(OM_To_Str(Text_At(straight)), std::u16string(u"Track list"));
    QCOMPARE(Kept(), kept + 5);
    QTest::qWait(QApplication::doubleClickInterval() + 50);
    QTest::mouseDClick(surface, Qt::LeftButton, {}, on_text);
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

    // Saved, closed and read back: both blocks, in their new order.
    auto* files = w.findChild<a_file_dialogs*>("fileDialogs");
    QVERIFY(files);
    files->ask_save = [&](const QString&, const QString&, int16_t) { return dir.path() + "/Text"; };
    w.Command_Action(MENU_FILE + 4)->trigger();
    const QString path = dir.path() + "/Text.cd4";
    QVERIFY(QFile::exists(path));
    w.Command_Action(MENU_FILE + 3)->trigger();
    QVERIFY(!g_doc.doc_open);
    QVERIFY(Read_DISC(false, path.toStdString()));
    QCOMPARE(Disc_Report().text_blocks, 2u);
    const a_doc_unit& u = *g_doc.doc_units[1];
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
    g_doc.doc_changed = false;
    return 0;
}

void a_text_test::ScreenshotUnderXvfb() {
    if (QStandardPaths::findExecutable("Xvfb").isEmpty()) QSKIP("Xvfb is not installed");
    QString why;
    QVERIFY2(Shots_Match_Goldens({"gui_text"}, why), qPrintable(why));
}

int Run_Tests(char** argv) {
    a_text_test test;
    return QTest::qExec(&test, 1, argv);
}

}  // namespace

int main(int argc, char** argv) { return Gui_Test_Main(argc, argv, Run_Tests, Take_Shots); }

#include "test_gui_text.moc"
