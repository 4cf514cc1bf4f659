// The few colours the window chooses itself, taken from the desktop's
// palette so that light and dark themes both read well: side panels a shade
// off the window, lines between areas, soft text for notes, bold headings.
#pragma once
#include <QtCore/QString>
#include <QtGui/QColor>

class QLabel;

QColor Panel_Colour();      // the side panels' background
QColor Border_Colour();     // lines between the window's areas
QColor Soft_Text_Colour();  // notes and secondary text
QColor Accent_Colour();     // the chosen phase, hovered swatches

// "color: …" in the soft text colour, for a style sheet.
QString Soft_Text_Style();
// A section heading of a side panel.
QLabel* Panel_Heading(const QString& text);
