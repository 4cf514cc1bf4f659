#include "rulers.h"

#include <QtGui/QMouseEvent>
#include <QtGui/QPainter>
#include <QtWidgets/QGridLayout>
#include <QtWidgets/QScrollBar>

#include <cmath>
#include <limits>

#include "model/document.h"
#include "templates/expand.h"
#include "unit_view.h"
#include "units.h"

namespace {

enum : int { RULER_BREADTH = 20 };

// Millimetres between the smallest ticks and between numbered ticks, fine
// to coarse: the first that leaves room between ticks on the screen is taken.
struct a_tick_step {
    double step, label;
};
constexpr a_tick_step kSteps[] = {{1, 10},   {2, 10},    {5, 20},     {10, 50},   {20, 100},
                                  {50, 200}, {100, 500}, {200, 1000}, {500, 2000}};

}  // namespace

a_ruler::a_ruler(Qt::Orientation orientation, a_unit_view* view, QWidget* parent)
    : QWidget(parent), orientation_(orientation), view_(view), mouse_(std::numeric_limits<double>::quiet_NaN()) {
    setObjectName(orientation == Qt::Horizontal ? "rulerH" : "rulerV");
    if (orientation == Qt::Horizontal) setFixedHeight(RULER_BREADTH);
    else setFixedWidth(RULER_BREADTH);
    setToolTip(tr("Millimetres from the ruler origin; drag from the corner to move the origin"));
}

QSize a_ruler::sizeHint() const { return QSize(RULER_BREADTH, RULER_BREADTH); }

void a_ruler::Set_Mouse(double at) {
    mouse_ = at;
    update();
}

void a_ruler::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), palette().window());
    const bool across = orientation_ == Qt::Horizontal;
    p.setPen(palette().mid().color());
    if (across) p.drawLine(0, height() - 1, width(), height() - 1);
    else p.drawLine(width() - 1, 0, width() - 1, height());
    double mm_h = 0, mm_v = 0;
    if (!Unit_Millimetres(mm_h, mm_v)) return;
    // The view's pixels of the origin and of one millimetre from it.
    const Point o = g_doc.up->ruler_origin;
    QPointF zero = view_->Unit_To_View(QPointF(o.h, o.v));
    QPointF one = view_->Unit_To_View(QPointF(o.h + 1 / mm_h, o.v + 1 / mm_v));
    const double start = across ? zero.x() : zero.y();
    const double per_mm = across ? one.x() - zero.x() : one.y() - zero.y();
    if (per_mm <= 0) return;
    a_tick_step t = kSteps[0];
    for (const a_tick_step& s : kSteps)
        if ((t = s).step * per_mm >= 5) break;
    const double step = t.step, label_every = t.label;
    if (step * per_mm < 2) return;  // too small to draw any tick
    const int extent = across ? width() : height();
    const long first = long(std::floor(-start / per_mm / step)), last = long(std::ceil((extent - start) / per_mm / step));
    QFont small = font();
    small.setPixelSize(9);
    p.setFont(small);
    p.setPen(palette().windowText().color());
    for (long k = first; k <= last; ++k) {
        const double mm = k * step;
        const int at = int(std::lround(start + mm * per_mm));
        const bool label = std::fmod(std::abs(mm), label_every) < 1e-6;
        const bool half = !label && std::fmod(std::abs(mm), label_every / 2) < 1e-6;
        const int len = label ? RULER_BREADTH - 4 : half ? 8 : 4;
        if (across) p.drawLine(at, RULER_BREADTH - len, at, RULER_BREADTH - 1);
        else p.drawLine(RULER_BREADTH - len, at, RULER_BREADTH - 1, at);
        if (!label) continue;
        const QString text = QString::number(long(std::lround(mm)));
        if (across) {
            p.drawText(QPoint(at + 2, 9), text);
        } else {
            p.save();
            p.translate(9, at - 2);
            p.rotate(-90);
            p.drawText(QPoint(0, 0), text);
            p.restore();
        }
    }
    if (!std::isnan(mouse_)) {
        p.setPen(QPen(palette().highlight().color(), 1));
        const int at = int(std::lround(mouse_));
        if (across) p.drawLine(at, 0, at, RULER_BREADTH);
        else p.drawLine(0, at, RULER_BREADTH, at);
    }
}

a_ruler_corner::a_ruler_corner(a_unit_view* view, QWidget* parent) : QWidget(parent), view_(view) {
    setObjectName("rulerCorner");
    setFixedSize(RULER_BREADTH, RULER_BREADTH);
    setCursor(Qt::CrossCursor);
    setToolTip(tr("Drag onto the label to move the rulers' origin; double-click to centre it"));
}

QSize a_ruler_corner::sizeHint() const { return QSize(RULER_BREADTH, RULER_BREADTH); }

void a_ruler_corner::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), palette().window());
    p.setPen(palette().windowText().color());
    const int c = RULER_BREADTH / 2;
    p.drawLine(c, 4, c, RULER_BREADTH - 5);
    p.drawLine(4, c, RULER_BREADTH - 5, c);
}

void a_ruler_corner::mouseReleaseEvent(QMouseEvent* e) {
    if (!g_doc.up || e->button() != Qt::LeftButton) return;
    QPointF in_view = view_->viewport()->mapFromGlobal(e->globalPosition());
    if (!view_->viewport()->rect().contains(in_view.toPoint())) return;
    QPointF cell = view_->View_To_Unit(in_view);
    const Rect& b = g_doc.up->paintbounds;
    Point at{int16_t(std::lround(cell.y())), int16_t(std::lround(cell.x()))};
    if (at.h < b.left || at.h >= b.right || at.v < b.top || at.v >= b.bottom) return;
    g_doc.up->ruler_origin = at;
    g_doc.doc_changed = true;
    emit originMoved();
}

void a_ruler_corner::mouseDoubleClickEvent(QMouseEvent*) {
    if (!g_doc.up) return;
    g_doc.up->ruler_origin = Rect_Centre(g_doc.up->paintbounds);
    g_doc.doc_changed = true;
    emit originMoved();
}

a_ruled_area::a_ruled_area(a_unit_view* view, QWidget* parent) : QWidget(parent), view_(view) {
    setObjectName("ruledArea");
    across_ = new a_ruler(Qt::Horizontal, view);
    down_ = new a_ruler(Qt::Vertical, view);
    corner_ = new a_ruler_corner(view);
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(0);
    grid->addWidget(corner_, 0, 0);
    grid->addWidget(across_, 0, 1);
    grid->addWidget(down_, 1, 0);
    grid->addWidget(view, 1, 1);
    auto redraw = [this] {
        across_->update();
        down_->update();
    };
    connect(view, &a_unit_view::viewMoved, this, redraw);
    connect(corner_, &a_ruler_corner::originMoved, this, redraw);
    connect(view, &a_unit_view::pointerMoved, this, &a_ruled_area::Pointer_At);
    connect(view, &a_unit_view::pointerLeft, this, [this] {
        across_->Set_Mouse(std::numeric_limits<double>::quiet_NaN());
        down_->Set_Mouse(std::numeric_limits<double>::quiet_NaN());
        emit coordinatesChanged({});
    });
}

void a_ruled_area::Show_Rulers(bool on) {
    across_->setVisible(on);
    down_->setVisible(on);
    corner_->setVisible(on);
}

void a_ruled_area::Pointer_At(QPointF view_px) {
    // The rulers sit flush with the viewport's edges.
    across_->Set_Mouse(view_px.x());
    down_->Set_Mouse(view_px.y());
    double mm_h = 0, mm_v = 0;
    if (!Unit_Millimetres(mm_h, mm_v)) return emit coordinatesChanged({});
    QPointF cell = view_->View_To_Unit(view_px);
    const Point o = g_doc.up->ruler_origin;
    emit coordinatesChanged(tr("x %1 mm  y %2 mm")
                                .arg((cell.x() - o.h) * mm_h, 0, 'f', 1)
                                .arg((cell.y() - o.v) * mm_v, 0, 'f', 1));
}
