// A camera's photo added to a disc label in the desktop window, on a display
// server: the time from Add Photos with a 24-megapixel JPEG (6000 x 4000) to
// the first frame of the label showing it, and the process's peak memory.
// Run by bench/photo_open, which starts the display server. Prints the
// median and worst of a few runs; the target is under 1 s.
#include <QtCore/QDir>
#include <QtCore/QElapsedTimer>
#include <QtCore/QFile>
#include <QtGui/QImage>
#include <QtGui/QPainter>
#include <QtTest/QTest>
#include <QtWidgets/QApplication>

#include <algorithm>
#include <cstdio>
#include <string>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

#include "bench_window.h"
#include "gui_app.h"
#include "images/photo_blocks.h"
#include "main_window.h"
#include "model/document.h"
#include "model/history.h"
#include "persist/design_file.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "shell/mainloop.h"
#include "ui/interface.h"
#include "unit_view.h"

namespace {

constexpr int kRuns = 5;

int Fail(const char* what) {
    std::fprintf(stderr, "bench_photo_open: %s\n", what);
    return 1;
}

// A photo as a phone takes it: 6000 x 4000, smooth sky and busy ground.
bool Write_Photo(const QString& path) {
    QImage photo(6000, 4000, QImage::Format_RGB32);
    QPainter p(&photo);
    QLinearGradient sky(0, 0, 0, 2600);
    sky.setColorAt(0, QColor(40, 30, 90));
    sky.setColorAt(1, QColor(250, 190, 90));
    p.fillRect(0, 0, 6000, 2600, sky);
    for (int x = 0; x < 6000; x += 7) p.fillRect(x, 2600, 7, 1400, QColor(20 + x % 90, 60 + x % 57, 40 + x % 33));
    p.end();
    return photo.save(path, "JPEG", 92);
}

int Run(const std::string& dir) {
    if (!QDir().mkpath(QString::fromStdString(dir))) return Fail("cannot make the folder");
    const QString photo = QString::fromStdString(dir + "/phone.jpg");
    if (!Write_Photo(photo)) return Fail("cannot write the photo");
    a_main_window w;
    w.resize(1280, 800);
    w.show();
    if (!QTest::qWaitForWindowExposed(&w)) return Fail("the window never appeared");
    const std::string design = dir + "/design.json";
    QFile out(QString::fromStdString(design));
    if (!out.open(QIODevice::WriteOnly) ||
        out.write(R"({"template": "A-ONE 29125"})") < 0)
        return Fail("cannot write the description");
    out.close();
    std::string error;
    Interaction_Begin();
    const bool read = Design_Read_File(design, error);
    Interaction_End();
    if (!read) return Fail(error.c_str());
    Phase_Set(PHOTO_PHASE);
    auto* view = w.findChild<a_unit_view*>("unitView");
    QWidget* surface = view ? view->widget() : nullptr;
    if (!surface) return Fail("no unit view");
    a_paint_counter paints;
    surface->installEventFilter(&paints);
    QTest::qWait(200);
    std::vector<double> ms;
    for (int run = 0; run < kRuns; ++run) {
        const int before = paints.n;
        QElapsedTimer t;
        t.start();
        Interaction_Begin();
        const bool added = Photo_NewP(false, photo.toStdString());
        Interaction_End();
        if (!added) return Fail("the photo was refused");
        for (int k = 0; k < 1000 && paints.n == before; ++k) QApplication::processEvents();
        if (paints.n == before) return Fail("the label was not drawn again");
        ms.push_back(double(t.nsecsElapsed()) / 1e6);
        w.Command_Action(401)->trigger();  // undone: each run adds to the same label
        QTest::qWait(100);
    }
    std::sort(ms.begin(), ms.end());
    rusage use{};
    getrusage(RUSAGE_SELF, &use);
    std::printf("add a 6000 x 4000 JPEG to a disc label, to its first frame: %d runs\n", kRuns);
    std::printf("  median %.0f ms   worst %.0f ms   peak memory %ld MB   (target < 1000 ms)\n", ms[ms.size() / 2],
                ms.back(), long(use.ru_maxrss / 1024));
    g_doc.doc_changed = false;
    w.close();
    return 0;
}

}  // namespace

int main(int argc, char** argv) { return Bench_Window_Main(argc, argv, "bench-photo", Run); }
