// What every window test shares: finding widgets, choosing a stock as a
// person does, golden pictures, drops, and screenshots taken under a display
// server of the test's own.
#pragma once
#include <QtCore/QString>
#include <QtCore/QStringList>
#include <QtCore/QPointF>
#include <QtCore/QSize>
#include <QtGui/QColor>
#include <QtGui/QImage>
#include <QtWidgets/QWidget>

#include <cstdint>
#include <functional>
#include <vector>

class QDialog;
class QListWidget;
class QListWidgetItem;
class QObject;
class a_main_window;
class a_unit_view;

template <typename T>
T* Find(QWidget& w, const char* name) {
    T* child = w.findChild<T*>(name);
    if (!child) qFatal("no widget named %s", name);
    return child;
}

// The editing surface of a window and where a unit cell lies on it.
struct a_area {
    explicit a_area(QWidget& w);
    a_unit_view* view;
    QWidget* surface;
    QPoint At(double h, double v) const;
    template <typename P>
    QPoint At(const P& cell) const { return At(cell.h, cell.v); }
};

QListWidgetItem* Item_Named(QListWidget* list, const QString& text);
// The current unit's blocks of one kind, bottom first.
std::vector<int> Blocks_Of(uint8_t kind);
// The history steps kept.
int Kept();
// A click on the button named `name`; on a check box, on its box.
void Click(QWidget& w, const QString& name);
// A click on row `row` of a list.
void Click_Row(QListWidget* list, int row);
// Palette entry `index` (1-based) chosen from colour bar `bar` of the text
// panel, as the mouse does.
void Choose_Color(QWidget& w, int bar, int index);
// Runs `act` on the modal dialog once it is open.
void When_Modal(std::function<void(QDialog*)> act);
// From the start screen to a chosen stock, as a person does it.
void Choose_Stock(a_main_window& w, const char* brand, const char* typed, const char* stock);
// The window shown at 1024 x 700 with a new project on the stock the
// chooser finds for `search`; false when the window never appeared.
bool Open_Stock(a_main_window& w, const char* maker, const char* search, const char* label);
// The same on "A-ONE 29125" (two discs).
bool Open_Two_Disc_Stock(a_main_window& w);
// Closes the window without the save question, and leaves the shell as a
// fresh start finds it.
bool Close_Unchanged(a_main_window& w);
// A picture compared with tests/golden/NAME.png: a channel may differ by 8,
// one pixel in 2000 may differ more. CIRQUEL_UPDATE_GOLDENS=1 rewrites it.
bool Matches_Golden(const QString& name, const QImage& made, QString& why);
// Clicks palette entry `index` (1-based) of the canvas palette.
void Click_Canvas(a_main_window& w, int index);
// A point of unit ux's disc, halfway between its hole and its edge, in the
// pixels of a page rendered at `dpi`.
QPoint Disc_Point(uint32_t ux, int dpi);
int Channel_Distance(QRgb a, QRgb b);
// The whole screen once the window has drawn itself.
QImage Screen_Shot(QWidget& w);
// A drop of `path` on the widget, as the file manager makes it.
void Drop_File(QWidget& w, const QString& path);
// A plain picture file of one colour in `dir`, read as a photo block: one
// step. With `at` (a fraction of the unit's width and height) it is centred
// there; `size` is the picture's, in pixels (160 x 120, or 900 x 640 with `at`).
bool Add_Photo(const QString& dir, const QString& name, QColor colour, QPointF at = {}, QSize size = {});
// The first catalogue stock with one ordinary (not direct-print) disc.
int One_Disc_Template();

// Starts Xvfb on a free display, runs this test program with
// "--shots DIR" under it and compares each named picture of DIR with its
// golden. False with the reason in `why`. With `scale` 2 the program runs
// at 200 % (two device pixels to a logical one) on a screen large enough.
bool Shots_Match_Goldens(const QStringList& names, QString& why, double scale = 1);

// The main of a window test program: a configuration folder of its own, the
// program started quietly, then either `shots(DIR)` (under Xvfb, see above)
// or the test object's slots.
int Gui_Test_Main(int argc, char** argv, int (*tests)(char** argv), int (*shots)(const QString& dir));
