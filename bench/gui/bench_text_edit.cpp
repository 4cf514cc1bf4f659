// Editing circular text in the desktop window, on a display server: the
// time from each keystroke (typing a letter, then Backspace, over and over)
// to the frame drawn again, in a three-line circular block with glow and
// shadow over a disc with a photo; and the time per mouse-move event while
// the block is dragged around the disc. Every event repaints.
// Run by bench/text_edit, which starts the display server. Prints the
// median, 95th percentile and worst case of each.
#include <QtCore/QDir>
#include <QtCore/QElapsedTimer>
#include <QtCore/QFile>
#include <QtGui/QImage>
#include <QtGui/QKeyEvent>
#include <QtGui/QMouseEvent>
#include <QtTest/QTest>
#include <QtWidgets/QApplication>
#include <QtWidgets/QScrollArea>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <unistd.h>
#include <vector>

#include "bench_window.h"
#include "gui_app.h"
#include "main_window.h"
#include "model/document.h"
#include "model/photo_rec.h"
#include "model/selection.h"
#include "persist/design_file.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "shell/mainloop.h"
#include "text/text_blocks.h"
#include "text/text_caret.h"
#include "text/text_edit.h"
#include "ui/interface.h"
#include "unit_view.h"

namespace {

constexpr int kEvents = 300;

int Fail(const char* what) {
    std::fprintf(stderr, "bench_text_edit: %s\n", what);
    return 1;
}

// The description's circular text, made three lines with a shadow beside its glow.
int Circular_Block() {
    const a_oj_master& oj = g_doc.up->oj;
    for (int i = 1; i <= oj.nlist; ++i) {
        a_om_rec* om = oj.list[i].kind == TEXT_BLOCK ? oj.list[i].om : nullptr;
        if (!om) continue;
        Interaction_Begin();
        Begin_Text_Change(i);
        UniStr_To_OM(*om, u"Summer Holiday 2026\rSide A: Morning\rSide B: Evening");
        om->shadf = true;
        End_Text_Change(i);
        Interaction_End();
        return i;
    }
    return OMX_NONE;
}

// Sends `e` and waits for the surface's next paint; its milliseconds, or -1 when nothing was drawn.
double Until_Painted(QWidget& to, QEvent& e, const a_paint_counter& paints) {
    const int before = paints.n;
    QElapsedTimer t;
    t.start();
    QApplication::sendEvent(&to, &e);
    for (int k = 0; k < 100 && paints.n == before; ++k) QApplication::processEvents();
    return paints.n == before ? -1 : double(t.nsecsElapsed()) / 1e6;
}

std::vector<double> Keystrokes(a_unit_view& view, const a_paint_counter& paints) {
    std::vector<double> ms;
    for (int i = 0; i < kEvents; ++i) {
        const bool letter = i % 2 == 0;
        QKeyEvent key(QEvent::KeyPress, letter ? Qt::Key_X : Qt::Key_Backspace, Qt::NoModifier,
                      letter ? QString("x") : QString("\b"));
        const double t = Until_Painted(view, key, paints);
        if (t < 0) return {};
        ms.push_back(t);
    }
    return ms;
}

// A drag of the block round the disc's centre, a whole turn.
std::vector<double> Drag_Around(a_unit_view& view, QWidget& surface, const a_om_rec& om, const a_paint_counter& paints) {
    const Point c = om.rotcenter;
    const a_xyl_char& mid = om.xyl[om.nxyl / 2];
    const double r = std::hypot(mid.mm_x - c.h, mid.mm_y - c.v);
    auto at = [&](double a) {
        return surface.mapFrom(view.viewport(), view.Unit_To_View(QPointF(c.h + r * std::sin(a), c.v - r * std::cos(a))));
    };
    const QPointF start = at(0);
    QTest::mousePress(&surface, Qt::LeftButton, Qt::NoModifier, start.toPoint());
    QTest::mouseMove(&surface, at(-0.1).toPoint());  // past the drag distance: the drag begins
    QTest::qWait(50);
    const int16_t angle = om.polarangle;
    std::vector<double> ms;
    for (int i = 1; i <= kEvents; ++i) {
        const QPointF p = at(-2 * M_PI * i / kEvents);
        QMouseEvent move(QEvent::MouseMove, p, surface.mapToGlobal(p), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        const double t = Until_Painted(surface, move, paints);
        if (t < 0) return {};
        ms.push_back(t);
        if (i == kEvents / 4 && om.polarangle == angle) return {};
    }
    QTest::mouseRelease(&surface, Qt::LeftButton, Qt::NoModifier, start.toPoint());
    return ms;
}

void Report(const char* what, const std::vector<double>& ms, const char* target) {
    std::printf("%s: %zu events\n  median %.2f ms   p95 %.2f ms   worst %.2f ms   (%s)\n", what, ms.size(),
                Bench_Percentile(ms, 0.5), Bench_Percentile(ms, 0.95), Bench_Percentile(ms, 1.0), target);
}

int Run(const std::string& dir) {
    if (!Bench_Write_Design(dir)) return Fail("cannot write the description");
    a_main_window w;
    w.resize(1280, 800);
    w.show();
    if (!QTest::qWaitForWindowExposed(&w)) return Fail("the window never appeared");
    std::string error;
    Interaction_Begin();
    const bool read = Design_Read_File(dir + "/design.json", error);
    Interaction_End();
    if (!read) return Fail(error.c_str());
    Phase_Set(TEXT_PHASE);
    auto* view = w.findChild<a_unit_view*>("unitView");
    QWidget* surface = view ? view->widget() : nullptr;
    if (!surface) return Fail("no unit view");
    const int omx = Circular_Block();
    if (omx == OMX_NONE) return Fail("no circular text");
    a_paint_counter paints;
    surface->installEventFilter(&paints);
    QTest::qWait(200);
    Interaction_Begin();
    Selection_Set1(omx);
    (void)Text_Edit(omx);
    Interaction_End();
    view->setFocus();
    QTest::qWait(100);
    const std::vector<double> keys = Keystrokes(*view, paints);
    if (keys.empty()) return Fail("a keystroke drew nothing");
    Report("keystroke in a 3-line circular block with glow and shadow", keys, "target < 8 ms median, < 16 ms p95");
    Interaction_Begin();
    Edit_OK();
    Interaction_End();
    QTest::qWait(100);
    const std::vector<double> drag = Drag_Around(*view, *surface, *Curr_OM(omx), paints);
    if (drag.empty()) return Fail("a move drew nothing, or the text did not turn");
    Report("circular text dragged around the disc", drag, "target < 16 ms median");
    g_doc.doc_changed = false;
    w.close();
    return 0;
}

}  // namespace

int main(int argc, char** argv) { return Bench_Window_Main(argc, argv, "bench-text-edit", Run); }
