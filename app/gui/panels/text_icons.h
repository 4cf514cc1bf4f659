// The small pictures of the text panel's grids: each of the ten layouts, and
// the justifications (three lines set left, centred or right; or three
// columns set at the top or the bottom, for stacked letters).
#pragma once
#include <QtGui/QIcon>

QIcon Layout_Icon(int layout);              // an a_text_layout
QIcon Justify_Icon(int just, bool vertical);  // an a_horz_just; vertical: top or bottom
