#include "unit_view.h"

#include <QtGui/QPainter>
#include <QtGui/QPaintEvent>
#include <QtWidgets/QScrollBar>

#include <algorithm>
#include <cmath>

#include "model/document.h"
#include "model/notices.h"
#include "pixels/gworld.h"
#include "render/compositor.h"
#include "ui/interface.h"

namespace {

enum : int { PASTEBOARD_MARGIN = 24 };
const QColor kPasteboard(0x6f, 0x76, 0x80);

// Screen pixels per cell for the zoom grid: 0 fits the unit into `room`.
a_ratio Zoom_Ratio(const Rect& cells, QSize room) {
    int zoom = gs.grid_vals[ZOOM_GRID];
    if (zoom >= 1 && zoom <= 4) return a_ratio{int16_t(zoom), 1};
    int w = std::max(1, Rect_Width(cells)), h = std::max(1, Rect_Height(cells));
    double fit = std::min(double(room.width() - 2 * PASTEBOARD_MARGIN) / w,
                          double(room.height() - 2 * PASTEBOARD_MARGIN) / h);
    fit = std::clamp(fit, 0.05, 4.0);
    return a_ratio{int16_t(std::lround(fit * 1000)), 1000};
}

}  // namespace

// The unit at its zoomed size, with the pasteboard around it.
class a_unit_surface : public QWidget {
public:
    QRect last_repaint;

    void Resize_To_Unit() {
        Rect bounds;
        GWorld* world = nullptr;
        Current_Unit_Merge_Check(bounds, world);
        unit_ = QRect(PASTEBOARD_MARGIN, PASTEBOARD_MARGIN, Rect_Width(bounds), Rect_Height(bounds));
        if (!g_doc.up) unit_ = QRect();
        if (g_doc.up) Design_Unit(g_doc.upx)->refresh_dirty = Rect{};  // the whole is drawn below
        resize(unit_.width() + 2 * PASTEBOARD_MARGIN, unit_.height() + 2 * PASTEBOARD_MARGIN);
        update();
    }

    // Cells of the current unit to surface pixels.
    QRect To_Surface(const Rect& cells) const {
        if (!g_doc.up || unit_.isEmpty()) return {};
        Rect total{0, 0, int16_t(unit_.height()), int16_t(unit_.width())};
        Rect px = Cells_To_Pixels(Unit_Layer_Mapping(*Design_Unit(g_doc.upx), total), cells);
        return QRect(px.left, px.top, Rect_Width(px), Rect_Height(px))
            .translated(unit_.topLeft())
            .adjusted(-1, -1, 1, 1);
    }

    QRect Unit_Rect() const { return unit_; }

protected:
    void paintEvent(QPaintEvent* e) override {
        last_repaint = e->rect();
        QPainter p(this);
        p.fillRect(e->rect(), kPasteboard);
        if (!g_doc.up || unit_.isEmpty()) return;
        Rect bounds;
        GWorld* world = nullptr;
        Current_Unit_Merge_Check(bounds, world);
        if (!world) return;
        a_port_bits bits = World_Bits(world);
        QImage view(bits.base, Rect_Width(bits.bounds), Rect_Height(bits.bounds), bits.rowbytes,
                    QImage::Format_RGB32);
        QRect part = e->rect() & unit_;
        p.drawImage(part.topLeft(), view, part.translated(-unit_.topLeft()));
    }

private:
    QRect unit_;
};

a_unit_view::a_unit_view(QWidget* parent) : QScrollArea(parent) {
    setObjectName("unitView");
    surface_ = new a_unit_surface;
    surface_->setObjectName("unitSurface");
    surface_->setAttribute(Qt::WA_OpaquePaintEvent);
    setWidget(surface_);
    setAlignment(Qt::AlignCenter);
    setFrameShape(QFrame::NoFrame);
    setStyleSheet("QScrollArea { background: #6f7680; }");
    // A whole-unit change (the canvas, a restored step) composes it all again.
    dirty_token_ = g_doc_notices.unit_dirty.Subscribe([](uint32_t ux, const Rect& r) {
        if (a_doc_unit* d = Design_Unit(ux); d && Rect_IsEmpty(r)) Unit_PostRender(*d);
    });
    refresh_token_ = g_doc_notices.unit_refresh.Subscribe([this](uint32_t ux, const Rect& r) {
        if (ux == g_doc.upx) surface_->update(surface_->To_Surface(r));
    });
    selected_token_ = g_doc_notices.unit_selected.Subscribe([this](uint32_t) { Refresh(); });
}

a_unit_view::~a_unit_view() {
    g_doc_notices.unit_dirty.Unsubscribe(dirty_token_);
    g_doc_notices.unit_refresh.Unsubscribe(refresh_token_);
    g_doc_notices.unit_selected.Unsubscribe(selected_token_);
}

void a_unit_view::Refresh() {
    if (g_doc.up) g_merge_zoom = Zoom_Ratio(g_doc.up->paintbounds, viewport()->size());
    surface_->Resize_To_Unit();
}

void a_unit_view::Bring_Up_To_Date() {
    if (isVisible() && g_doc.up) Current_Unit_UpToDate();
}

// Surface pixels per cell and the surface point of the unit's top left cell.
static bool Unit_Scale(const QRect& unit, double& sx, double& sy) {
    if (!g_doc.up || unit.isEmpty()) return false;
    const Rect& b = g_doc.up->paintbounds;
    if (Rect_IsEmpty(b)) return false;
    sx = double(unit.width()) / Rect_Width(b);
    sy = double(unit.height()) / Rect_Height(b);
    return true;
}

QPointF a_unit_view::Unit_To_View(QPointF unit_px) const {
    double sx = 1, sy = 1;
    QRect u = surface_->Unit_Rect();
    if (!Unit_Scale(u, sx, sy)) return {};
    const Rect& b = g_doc.up->paintbounds;
    QPointF on_surface(u.left() + (unit_px.x() - b.left) * sx, u.top() + (unit_px.y() - b.top) * sy);
    return on_surface + QPointF(surface_->mapTo(viewport(), QPoint(0, 0)));
}

QPointF a_unit_view::View_To_Unit(QPointF view_px) const {
    double sx = 1, sy = 1;
    QRect u = surface_->Unit_Rect();
    if (!Unit_Scale(u, sx, sy)) return {};
    const Rect& b = g_doc.up->paintbounds;
    QPointF on_surface = view_px - QPointF(surface_->mapTo(viewport(), QPoint(0, 0)));
    return QPointF(b.left + (on_surface.x() - u.left()) / sx, b.top + (on_surface.y() - u.top()) / sy);
}

QRect a_unit_view::Last_Repaint() const { return surface_->last_repaint; }

void a_unit_view::resizeEvent(QResizeEvent* e) {
    QScrollArea::resizeEvent(e);
    if (gs.grid_vals[ZOOM_GRID] == 0) Refresh();
}
