// Pieces the phase panels share: small tool buttons, rows of colour
// swatches, and running a core command as one action of the program (the
// headings and colours are the look's).
#pragma once
#include <QtGui/QColor>
#include <QtWidgets/QWidget>

#include <functional>
#include <vector>

#include "look.h"
#include "platform/pixels.h"
#include "shell/mainloop.h"

class QLabel;
class QToolButton;
class QVBoxLayout;

// A phase panel's note (why its controls rest, say).
QLabel* Panel_Note(const char* name);
// The panel's controls as one widget, and the column that holds them.
QVBoxLayout* Controls_Column(QWidget*& controls);
// The start of a phase panel named `name`: the note above the controls in
// a new outer column; returns the controls' column.
QVBoxLayout* Panel_Frame(QWidget* panel, const char* name, QLabel*& note, QWidget*& controls);
QToolButton* Panel_Button(const char* name, const QString& text, const QString& tip,
                          bool checkable = false);

// The program's 32-bit pixel (bytes blue, green, red) and back.
QColor To_QColor(a_win_pixel32 p);
a_win_pixel32 To_Pixel(QColor c);

// The swatch colours of the panels, white and black first.
const std::vector<QColor>& Swatch_Colours();

// A row (or two) of colour buttons named PREFIX0, PREFIX1...; a click hands
// its colour on.
QWidget* Swatch_Grid(const char* prefix, const QString& tip, std::function<void(QColor)> chosen);
// The swatch of `current` marked in a grid of Swatch_Grid (none when it has no such colour).
void Swatch_Mark(QWidget* grid, QColor current);

// Runs a core command as one action of the program.
template <typename F>
void Act(F f) {
    Interaction_Begin();
    f();
    Interaction_End();
}
