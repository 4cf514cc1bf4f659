#include "widgets/palette_popup.h"

#include <QtGui/QMouseEvent>
#include <QtGui/QPainter>

#include <algorithm>

#include "look.h"
#include "pixels/pixmap.h"
#include "ui/text_cmds.h"

namespace {

enum : int { COLUMNS = 16, CELL = 12, MARGIN = 2 };

int Palette_Count() { return std::min(g_video.main_colors32.count, 256); }

}  // namespace

a_palette_popup::a_palette_popup(a_bar_enum bar, QWidget* parent) : QWidget(parent, Qt::Popup), bar_(bar) {
    setObjectName(QString("palette%1").arg(int(bar)));
    const int rows = (Palette_Count() + COLUMNS - 1) / COLUMNS;
    setFixedSize(COLUMNS * CELL + 2 * MARGIN, rows * CELL + 2 * MARGIN);
    setToolTip(tr("Choose a color"));
}

void a_palette_popup::Pop_Up(QWidget* below) {
    move(below->mapToGlobal(QPoint(0, below->height())));
    show();
}

QPoint a_palette_popup::Cell_Centre(int index) {
    const int i = index - 1;
    return QPoint(MARGIN + (i % COLUMNS) * CELL + CELL / 2, MARGIN + (i / COLUMNS) * CELL + CELL / 2);
}

void a_palette_popup::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Panel_Colour());
    for (int i = 1; i <= Palette_Count(); ++i) {
        const QPoint c = Cell_Centre(i);
        const QRect cell(c.x() - CELL / 2, c.y() - CELL / 2, CELL - 1, CELL - 1);
        const a_win_pixel32 colour = Palette_Color(i);
        p.fillRect(cell, QColor(colour.r, colour.g, colour.b));
        if (i == gs.bar_selection[bar_]) {
            p.setPen(Qt::white);
            p.drawRect(cell.adjusted(0, 0, -1, -1));
            p.setPen(Qt::black);
            p.drawRect(cell.adjusted(-1, -1, 0, 0));
        }
    }
}

void a_palette_popup::mouseReleaseEvent(QMouseEvent* e) {
    const QPoint at = e->position().toPoint() - QPoint(MARGIN, MARGIN);
    const int col = at.x() / CELL, index = at.y() / CELL * COLUMNS + col + 1;
    hide();
    if (at.x() >= 0 && at.y() >= 0 && col < COLUMNS && index <= Palette_Count() && chosen) chosen(index);
}
