#include "app_icon.h"

#include <QtGui/QPainter>
#include <QtGui/QPainterPath>

namespace {

const QColor kRim(0x5a, 0x6b, 0x82);
const QColor kBlue(0x3d, 0x7e, 0xbf);
const QColor kGold(0xe0, 0xa0, 0x30);

// The same disc as the desktop's icon: two coloured quarters of a label
// around the hole.
void Draw_Disc(QPainter& p, QRectF r) {
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(kRim, r.width() / 32));
    p.setBrush(QColor(0xe8, 0xec, 0xf2));
    p.drawEllipse(r.adjusted(1, 1, -1, -1));
    QRectF outer = r.adjusted(r.width() * 0.1, r.height() * 0.1, -r.width() * 0.1, -r.height() * 0.1);
    QRectF inner = r.adjusted(r.width() * 0.3, r.height() * 0.3, -r.width() * 0.3, -r.height() * 0.3);
    p.setPen(Qt::NoPen);
    for (auto [start, colour] : {std::pair{0, kBlue}, std::pair{180, kGold}}) {
        QPainterPath path;
        path.arcMoveTo(outer, start);
        path.arcTo(outer, start, 90);
        path.arcTo(inner, start + 90, -90);
        path.closeSubpath();
        p.fillPath(path, colour);
    }
    p.setPen(QPen(kRim, r.width() / 32));
    p.setBrush(Qt::white);
    double hole = r.width() * 0.11;
    p.drawEllipse(r.center(), hole, hole);
}

}  // namespace

QPixmap App_Icon_Pixmap(int size) {
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    Draw_Disc(p, QRectF(0, 0, size, size));
    return pm;
}

QIcon App_Icon() {
    QIcon icon;
    for (int s : {16, 32, 48, 64, 128}) icon.addPixmap(App_Icon_Pixmap(s));
    return icon;
}

QIcon App_Icon_New() {
    QPixmap pm = App_Icon_Pixmap(48);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x2e, 0x9e, 0x5b));
    p.drawEllipse(QRectF(28, 28, 20, 20));
    p.setPen(QPen(Qt::white, 3));
    p.drawLine(QPointF(38, 32), QPointF(38, 44));
    p.drawLine(QPointF(32, 38), QPointF(44, 38));
    return QIcon(pm);
}

QIcon App_Icon_Open() {
    QPixmap pm(48, 48);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x9a, 0x74, 0x20), 1.5));
    p.setBrush(QColor(0xf0, 0xc0, 0x50));
    QPainterPath folder;
    folder.moveTo(4, 12);
    folder.lineTo(18, 12);
    folder.lineTo(22, 16);
    folder.lineTo(44, 16);
    folder.lineTo(44, 40);
    folder.lineTo(4, 40);
    folder.closeSubpath();
    p.drawPath(folder);
    return QIcon(pm);
}
