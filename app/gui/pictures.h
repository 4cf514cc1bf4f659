// Pictures of the core's pixel worlds for the widgets: the sheet at a size
// that fits a box, and one unit's shape.
#pragma once
#include <QtGui/QImage>

#include "templates/template.h"

// The sheet of `t` drawn at the largest whole dpi that fits `box` (at least
// the smallest sheet dpi); a null image when it cannot be drawn.
QImage Sheet_Picture(const a_template& t, QSize box);
// The shape of unit `ux` of `t`, scaled to fit `box`.
QImage Unit_Picture(const a_template& t, uint32_t ux, QSize box);

// Unit ux of the open document as it prints (its master's design for a
// clone; white outside its shape), drawn at the largest size that fits
// `box`; a null image when there is none.
QImage Unit_Print_Picture(uint32_t ux, QSize box);
