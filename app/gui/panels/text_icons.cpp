#include "panels/text_icons.h"

#include <QtGui/QPainter>
#include <QtGui/QPainterPath>
#include <QtGui/QPalette>
#include <QtGui/QPixmap>
#include <QtWidgets/QApplication>

#include <cmath>
#include <numbers>

#include "look.h"
#include "model/text_rec.h"

namespace {

// The buttons' own text colour, so the pictures show in dark themes too.
QColor Ink() { return QApplication::palette().color(QPalette::ButtonText); }

void Arrow_Head(QPainter& p, const QPainterPath& path) {
    const QPointF tip = path.pointAtPercent(1);
    const double a = path.angleAtPercent(1) * std::numbers::pi / 180;
    const QPointF along(std::cos(a), -std::sin(a)), across(-along.y(), along.x());
    QPolygonF head{tip + along * 2, tip - along * 6 + across * 4, tip - along * 6 - across * 4};
    p.setBrush(Ink());
    p.drawPolygon(head);
    p.setBrush(Qt::NoBrush);
}

void Draw_Spiral(QPainter& p, bool cw) {
    QPainterPath path;
    const int steps = 60;
    for (int i = 0; i <= steps; ++i) {
        const double t = double(i) / steps, r = 3 + 12 * t, a = t * 3.6 * std::numbers::pi;
        const QPointF pt(18 + r * std::cos(a), 18 + (cw ? 1 : -1) * r * std::sin(a));
        i == 0 ? path.moveTo(pt) : path.lineTo(pt);
    }
    p.drawPath(path);
    Arrow_Head(p, path);
}

}  // namespace

QIcon Layout_Icon(int layout) {
    QPixmap pm(36, 36);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Ink(), 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    QFont f = p.font();
    f.setPixelSize(12);
    f.setBold(true);
    p.setFont(f);
    const QRectF box(0, 0, 36, 36);
    switch (layout) {
        case LAYOUT_HORZ: p.drawText(box, Qt::AlignCenter, "Abc"); break;
        case LAYOUT_90:
        case LAYOUT_270:
            p.translate(18, 18);
            p.rotate(layout == LAYOUT_90 ? -90 : 90);
            p.drawText(box.translated(-18, -18), Qt::AlignCenter, "Abc");
            break;
        case LAYOUT_VERT:
            for (int i = 0; i < 3; ++i) p.drawText(QRectF(0, 1 + 11 * i, 36, 12), Qt::AlignCenter, QString("Abc")[i]);
            break;
        case LAYOUT_CIRC_CW:
        case LAYOUT_CIRC_CCW: {
            QPainterPath path;
            const bool cw = layout == LAYOUT_CIRC_CW;
            path.arcMoveTo(QRectF(5, 5, 26, 26), cw ? 120 : 60);
            path.arcTo(QRectF(5, 5, 26, 26), cw ? 120 : 60, cw ? -300 : 300);
            p.drawPath(path);
            Arrow_Head(p, path);
            break;
        }
        case LAYOUT_SPIRAL_CW:
        case LAYOUT_SPIRAL_CCW: Draw_Spiral(p, layout == LAYOUT_SPIRAL_CW); break;
        case LAYOUT_CONTOUR: {
            p.setPen(QPen(Soft_Text_Colour(), 1, Qt::DashLine));
            p.drawRoundedRect(QRectF(4, 6, 28, 24), 5, 5);
            p.setPen(QPen(Ink(), 1.6));
            QPainterPath path;
            path.moveTo(8, 10);
            path.lineTo(28, 10);
            path.lineTo(28, 24);
            p.drawPath(path);
            Arrow_Head(p, path);
            break;
        }
        case LAYOUT_SPOKE:
            for (int i = 0; i < 8; ++i) {
                const double a = i * std::numbers::pi / 4;
                p.drawLine(QPointF(18 + 6 * std::cos(a), 18 + 6 * std::sin(a)),
                           QPointF(18 + 15 * std::cos(a), 18 + 15 * std::sin(a)));
            }
            break;
        default: break;
    }
    return QIcon(pm);
}

QIcon Justify_Icon(int just, bool vertical) {
    QPixmap pm(22, 22);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setPen(QPen(Ink(), 2));
    const int lengths[] = {16, 10, 13};
    for (int i = 0; i < 3; ++i) {
        const int n = lengths[i];
        const int from = just == JUST_LEFT ? 3 : just == JUST_RIGHT ? 19 - n : (22 - n) / 2;
        if (vertical)
            p.drawLine(5 + 6 * i, from, 5 + 6 * i, from + n);
        else
            p.drawLine(from, 5 + 6 * i, from + n, 5 + 6 * i);
    }
    return QIcon(pm);
}

