#include "widgets/navigator.h"

#include <QtGui/QGuiApplication>
#include <QtGui/QMouseEvent>
#include <QtGui/QPainter>
#include <QtWidgets/QScrollBar>

#include <algorithm>
#include <cmath>

#include "model/document.h"
#include "model/notices.h"
#include "pixels/gworld.h"
#include "render/compositor.h"
#include "shell/mainloop.h"
#include "unit_view.h"

namespace {

enum : int { NAV_MARGIN = 6, NAV_SIZE = 132 };
const QColor kPasteboard(0x6f, 0x76, 0x80);
const QColor kFrame(0xe0, 0x3a, 0x2f);

}  // namespace

a_navigator::a_navigator(a_unit_view* view, QWidget* parent) : QWidget(parent), view_(view) {
    setObjectName("navigator");
    setMinimumHeight(NAV_SIZE * 3 / 4);
    setToolTip(tr("Drag the frame to see another part of the label"));
    connect(view_, &a_unit_view::viewMoved, this, [this] { update(); });
    view_->viewport()->installEventFilter(this);  // a resized area shows more or less
    tokens_[0] = g_doc_notices.unit_refresh.Subscribe([this](uint32_t, const Rect&) { Mark_Stale(); });
    tokens_[1] = g_doc_notices.unit_selected.Subscribe([this](uint32_t) { Mark_Stale(); });
    tokens_[2] = g_doc_notices.restored.Subscribe([this] { Mark_Stale(); });
    rest_token_ = g_shell_notices.rest.Subscribe([this](Point) {
        if (stale_) update();
    });
}

a_navigator::~a_navigator() {
    g_doc_notices.unit_refresh.Unsubscribe(tokens_[0]);
    g_doc_notices.unit_selected.Unsubscribe(tokens_[1]);
    g_doc_notices.restored.Unsubscribe(tokens_[2]);
    g_shell_notices.rest.Unsubscribe(rest_token_);
}

bool a_navigator::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::Resize) update();
    return QWidget::eventFilter(watched, e);
}

QSize a_navigator::sizeHint() const { return {NAV_SIZE, NAV_SIZE}; }

// While a button is held (a drag on the label) the small picture waits until
// the mouse rests, so that a drag does not scale the whole unit at every step.
void a_navigator::Mark_Stale() {
    stale_ = true;
    if (QGuiApplication::mouseButtons() == Qt::NoButton) update();
}

QRectF a_navigator::Picture_Rect() const {
    QRect unit = view_->Unit_Rect();
    if (!g_doc.up || unit.isEmpty()) return {};
    QRectF room = QRectF(rect()).adjusted(NAV_MARGIN, NAV_MARGIN, -NAV_MARGIN, -NAV_MARGIN);
    double s = std::min(room.width() / unit.width(), room.height() / unit.height());
    QSizeF size(unit.width() * s, unit.height() * s);
    return QRectF(room.center() - QPointF(size.width() / 2, size.height() / 2), size);
}

double a_navigator::Scale() const {
    QRect unit = view_->Unit_Rect();
    return unit.isEmpty() ? 0 : Picture_Rect().width() / unit.width();
}

QRectF a_navigator::Frame() const {
    QRect unit = view_->Unit_Rect();
    double s = Scale();
    if (s <= 0 || !view_->widget()) return {};
    QRect shown = QRect(-view_->widget()->pos(), view_->viewport()->size()) & unit;
    if (shown.isEmpty()) return {};
    QPointF at = Picture_Rect().topLeft() + QPointF(shown.topLeft() - unit.topLeft()) * s;
    return QRectF(at, QSizeF(shown.size()) * s);
}

void a_navigator::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), kPasteboard);
    QRectF where = Picture_Rect();
    if (where.isEmpty()) return;
    if (stale_) {
        // The editing area's composite, already made for the screen.
        Rect bounds;
        GWorld* world = nullptr;
        Current_Unit_Merge_Check(bounds, world);
        picture_ = QImage();
        if (world) {
            a_port_bits bits = World_Bits(world);
            QImage view(bits.base, Rect_Width(bits.bounds), Rect_Height(bits.bounds), bits.rowbytes,
                        QImage::Format_RGB32);
            picture_ = view.scaled(where.size().toSize(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        }
        stale_ = false;
    }
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawImage(where, picture_);
    // With all of the unit shown there is nothing to frame.
    QRectF frame = Frame();
    if (frame.isEmpty() || (frame.width() >= where.width() - 1 && frame.height() >= where.height() - 1)) return;
    p.setPen(QPen(kFrame, 2));
    p.setBrush(Qt::NoBrush);
    p.drawRect(frame.adjusted(1, 1, -1, -1));
}

void a_navigator::mousePressEvent(QMouseEvent* e) {
    QRectF frame = Frame();
    if (frame.isEmpty() || e->button() != Qt::LeftButton) return;
    dragging_ = true;
    press_ = e->position();
    // A press beside the frame first brings the frame's centre there.
    start_ = QPoint(view_->horizontalScrollBar()->value(), view_->verticalScrollBar()->value());
    if (!frame.contains(press_)) {
        Scroll_To(start_, press_ - frame.center());
        start_ = QPoint(view_->horizontalScrollBar()->value(), view_->verticalScrollBar()->value());
    }
}

// From the scroll position at the press, so that no rounding adds up.
void a_navigator::mouseMoveEvent(QMouseEvent* e) {
    if (!dragging_) return;
    Scroll_To(start_, e->position() - press_);
}

void a_navigator::mouseReleaseEvent(QMouseEvent*) { dragging_ = false; }

void a_navigator::Scroll_To(QPoint from, QPointF navigator_px) {
    double s = Scale();
    if (s <= 0) return;
    view_->horizontalScrollBar()->setValue(from.x() + int(std::lround(navigator_px.x() / s)));
    view_->verticalScrollBar()->setValue(from.y() + int(std::lround(navigator_px.y() / s)));
}
