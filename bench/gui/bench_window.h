// What the window benchmarks share: the README's description with its
// pictures, percentiles, a paint counter, and a main that starts the window
// on a private configuration folder.
#pragma once
#include <QtCore/QDir>
#include <QtCore/QEvent>
#include <QtCore/QFile>
#include <QtCore/QObject>
#include <QtGui/QImage>
#include <QtWidgets/QApplication>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <unistd.h>
#include <vector>

#include "gui_app.h"
#include "platform/dialogs.h"
#include "platform/files.h"

// The README's description in `dir`, with a 1600 x 1200 photo and a logo.
inline bool Bench_Write_Design(const std::string& dir) {
    if (!QDir().mkpath(QString::fromStdString(dir))) return false;
    QFile readme(CIRQUEL_SOURCE_DIR "/README.md");
    if (!readme.open(QIODevice::ReadOnly)) return false;
    const QString text = QString::fromUtf8(readme.readAll());
    const qsizetype at = text.indexOf("```json\n"), end = text.indexOf("```\n", at + 8);
    if (at < 0 || end < 0) return false;
    QFile design(QString::fromStdString(dir + "/design.json"));
    if (!design.open(QIODevice::WriteOnly) || design.write(text.mid(at + 8, end - at - 8).toUtf8()) < 0) return false;
    QImage photo(1600, 1200, QImage::Format_RGB32);
    for (int y = 0; y < photo.height(); ++y)
        for (int x = 0; x < photo.width(); ++x)
            photo.setPixel(x, y, qRgb(40 + x * 200 / 1600, 60 + y * 160 / 1200, 200 - (x + y) % 97));
    QImage logo(200, 120, QImage::Format_ARGB32);
    logo.fill(QColor(30, 90, 200, 160));
    return photo.save(QString::fromStdString(dir + "/sunset.jpg"), "JPEG", 90) &&
           logo.save(QString::fromStdString(dir + "/logo.png"));
}

inline double Bench_Percentile(std::vector<double> v, double p) {
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, size_t(p * double(v.size() - 1) + 0.5))];
}

// Counts the paint events a widget receives.
struct a_paint_counter : QObject {
    int n = 0;
    bool eventFilter(QObject*, QEvent* e) override {
        n += e->type() == QEvent::Paint;
        return false;
    }
};

// The window started quietly on a configuration folder of the run's own,
// `run` given that folder, everything removed afterwards.
inline int Bench_Window_Main(int argc, char** argv, const char* name, int (*run)(const std::string& config)) {
    QApplication app(argc, argv);
    const std::string config = Temp_Folder() + "/cirquel-" + name + "-" + std::to_string(getpid());
    Config_Folder_Set(config);
    setenv("XDG_DATA_HOME", config.c_str(), 1);
    if (!Gui_Start(a_gui_options{false, false, false, true})) return 1;
    Dialog_SetQuiet(true);
    const int status = run(config);
    Gui_Stop();
    (void)File_Remove_Tree(config);
    return status;
}
