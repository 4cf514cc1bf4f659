#include "unit_view.h"

#include <QtGui/QKeyEvent>
#include <QtGui/QMouseEvent>
#include <QtGui/QPainter>
#include <QtGui/QPainterPath>
#include <QtGui/QPaintEvent>
#include <QtGui/QWheelEvent>
#include <QtWidgets/QApplication>
#include <QtWidgets/QMenu>
#include <QtWidgets/QScrollBar>
#include <QtCore/QTimer>

#include <algorithm>
#include <cmath>
#include <functional>

#include "base/prefs.h"
// The pack's field `slots` meets Qt's keyword of that name.
#undef slots
#include "images/pack.h"
#define slots Q_SLOTS
#include "images/photo_blocks.h"
#include "model/arrange.h"
#include "model/block_moves.h"
#include "model/document.h"
#include "model/notices.h"
#include "model/ph_blocks.h"
#include "model/selection.h"
#include "model/text_rec.h"
#include "paint/selection.h"
#include "paint/trackers.h"
#include "panels/paint_panel.h"
#include "ui/paint_sliders.h"
#include "platform/clock.h"
#include "shell/collage_cmds.h"
#include "shell/commands.h"
#include "shell/mainloop.h"
#include "shell/menus.h"
#include "pixels/gworld.h"
#include "pixels/pixmap.h"
#include "render/compositor.h"
#include "text/text_blocks.h"
#include "text/text_caret.h"
#include "text/text_edit.h"
#include "ui/interface.h"

namespace {

enum : int { PASTEBOARD_MARGIN = 24, HANDLE = 7, TURN_STEM = 10 };
const QColor kPasteboard(0x6f, 0x76, 0x80);

// The unit's screen picture is one 32-bit pixel map, whose rows hold at most
// this many pixels: a large unit at 400 % is shown as large as that allows.
constexpr int MAX_SCREEN_SIDE = ROWBYTES_MASK / 4;

// Device pixels per cell for the zoom grid: 0 fits the unit into `room`
// (logical pixels). The picture is composed at the screen's own pixels,
// `dpr` of them to a logical one, so that it is sharp on dense screens.
a_ratio Zoom_Ratio(const Rect& cells, QSize room, double dpr) {
    const int zoom = gs.grid_vals[ZOOM_GRID];
    const int w = std::max(1, Rect_Width(cells)), h = std::max(1, Rect_Height(cells));
    const double largest = double(MAX_SCREEN_SIDE) / std::max(w, h);
    double scale = 0;
    if (zoom >= 1 && zoom <= 4) {
        scale = std::min(zoom * dpr, largest);
    } else {
        const double fit = std::min(double(room.width() - 2 * PASTEBOARD_MARGIN) / w,
                                    double(room.height() - 2 * PASTEBOARD_MARGIN) / h);
        scale = std::min(std::clamp(fit, 0.05, 4.0) * dpr, largest);
    }
    if (scale == std::floor(scale)) return a_ratio{int16_t(scale), 1};
    return a_ratio{int16_t(std::floor(scale * 1000)), 1000};  // down: no scroll bars at fit
}

// The angle of `at` round `centre`, in degrees, the screen's y pointing down.
double Angle_Round(QPointF centre, QPointF at) {
    return std::atan2(at.y() - centre.y(), at.x() - centre.x()) * 180.0 / M_PI;
}

bool Painting() { return g_doc.up && gs.curr_phase == PAINT_PHASE; }
Point To_Cell(QPointF cell);

// Tools whose outline under the pointer shows the brush's size.
bool Round_Brush(int tool) { return tool == BRUSH_TOOL || tool == ERASER_TOOL || tool == SPRAY_TOOL; }

// Blocks are picked, framed and dragged only in the phases that edit them.
bool Editing_Blocks() {
    if (!g_doc.up) return false;
    switch (gs.curr_phase) {
        case PHOTO_PHASE:
        case SYMBOL_PHASE:
        case TEXT_PHASE:
        case COLLAGE_PHASE: return true;
        default: return false;
    }
}

}  // namespace

// The unit at its zoomed size, with the pasteboard around it.
class a_unit_surface : public QWidget {
public:
    explicit a_unit_surface(a_unit_view* view) : view_(view) {}
    QRect last_repaint;
    QRect Unit() const { return unit_; }

    void Resize_To_Unit() {
        Rect bounds;
        GWorld* world = nullptr;
        Current_Unit_Merge_Check(bounds, world);
        const double dpr = devicePixelRatioF();
        unit_ = QRect(PASTEBOARD_MARGIN, PASTEBOARD_MARGIN, int(std::lround(Rect_Width(bounds) / dpr)),
                      int(std::lround(Rect_Height(bounds) / dpr)));
        if (!g_doc.up) unit_ = QRect();
        const QMargins grow = Overhang();
        unit_.translate(grow.left(), grow.top());
        if (g_doc.up) Design_Unit(g_doc.upx)->refresh_dirty = Rect{};  // the whole is drawn below
        resize(unit_.width() + 2 * PASTEBOARD_MARGIN + grow.left() + grow.right(),
               unit_.height() + 2 * PASTEBOARD_MARGIN + grow.top() + grow.bottom());
        update();
    }

    // The pasteboard grows to hold every block's frame and handles, so that
    // a block hanging off the label can still be picked and pulled from its
    // far side (the view scrolls to it).
    QMargins Overhang() const {
        if (unit_.isEmpty() || !Editing_Blocks()) return {};
        const QRect board = unit_.adjusted(-PASTEBOARD_MARGIN, -PASTEBOARD_MARGIN, PASTEBOARD_MARGIN,
                                           PASTEBOARD_MARGIN);
        QRect all = board;
        for (int omx = OMX_START; Enum(true, false, Selectable_Kinds(), omx);) all |= Frame_Area(omx);
        return QMargins(board.left() - all.left(), board.top() - all.top(), all.right() - board.right(),
                        all.bottom() - board.bottom());
    }
    // The blocks moved past the pasteboard or back since it was sized.
    bool Overhang_Changed() const {
        if (unit_.isEmpty()) return false;
        const QMargins now = Overhang();
        const QMargins was(unit_.left() - PASTEBOARD_MARGIN, unit_.top() - PASTEBOARD_MARGIN,
                           width() - unit_.right() - 1 - PASTEBOARD_MARGIN,
                           height() - unit_.bottom() - 1 - PASTEBOARD_MARGIN);
        return now != was;
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

    // A point in the current unit's cells to surface pixels, and back.
    QPointF Cell_To_Surface(QPointF cell) const {
        a_coord_mapping m = Mapping();
        return QPointF(m.originx + m.multx * (cell.x() - m.fdecx), m.originy + m.multy * (cell.y() - m.fdecy)) +
               unit_.topLeft();
    }
    QPointF Surface_To_Cell(QPointF at) const {
        a_coord_mapping m = Mapping();
        at -= unit_.topLeft();
        if (m.multx == 0 || m.multy == 0) return {};
        return QPointF((at.x() - m.originx) / m.multx + m.fdecx, (at.y() - m.originy) / m.multy + m.fdecy);
    }

    // A text block's outline as its layout traced it (a sector of a ring for
    // circular text, whose box is the whole unit); empty for other blocks.
    QPainterPath Text_Outline(int omx) const {
        QPainterPath path;
        const a_oj_item* it = Curr_Item(omx);
        if (!it || it->kind != TEXT_BLOCK || !it->om) return path;
        const a_om_pointlist& f = it->om->cache.frame;
        bool start = true;
        for (int i = 0; i < f.npoints && i < f.max; ++i) {
            const Point p = f.pts[i];
            if (p.v == FRAME_BREAK && p.h == FRAME_BREAK) {
                path.closeSubpath();
                start = true;
                continue;
            }
            const QPointF at = Cell_To_Surface(QPointF(p.h, p.v));
            start ? path.moveTo(at) : path.lineTo(at);
            start = false;
        }
        path.closeSubpath();
        return path;
    }
    // What a block's frame covers, handles and pen included.
    QRect Frame_Area(int omx) const {
        const QPainterPath outline = Text_Outline(omx);
        const QRect r = outline.isEmpty() ? To_Surface(Obj_BBox(omx)) : outline.boundingRect().toAlignedRect();
        const QRect turn = Turn_Handle(omx);
        const QRect area = r.adjusted(-HANDLE, -HANDLE, HANDLE, HANDLE);
        return turn.isEmpty() ? area : area | turn.adjusted(-1, -1, 1, 1);
    }
    // A selected collage slot with a photo has a round handle above its
    // frame: dragging it turns the photo round the slot's centre.
    QRect Turn_Handle(int omx) const {
        if (gs.curr_phase != COLLAGE_PHASE || !Is_Obj_Selected(omx)) return {};
        const int slot = Omx_To_Slotx(omx);
        if (slot < 0 || Is_Slot_Empty(slot)) return {};
        const QRect r = To_Surface(Obj_BBox(omx));
        if (r.isEmpty()) return {};
        const int d = HANDLE + 3;
        return QRect(r.center().x() - d / 2, r.top() - TURN_STEM - d, d, d);
    }
    int Turn_Handle_At(QPoint at) const {
        for (int omx = OMX_START; Editing_Blocks() && Enum(true, true, Selectable_Kinds(), omx);)
            if (Turn_Handle(omx).adjusted(-2, -2, 2, 2).contains(at)) return omx;
        return OMX_NONE;
    }
    QPointF Centre_Of(int omx) const { return QRectF(To_Surface(Obj_BBox(omx))).center(); }
    // The blocks framed: the selected ones, and with Show All Frames every one.
    template <typename F>
    void For_Framed(F f) const {
        const bool all = g_pref.showframes_option;
        for (int omx = OMX_START; Editing_Blocks() && Enum(true, !all, Selectable_Kinds(), omx);) f(omx);
    }
    // The caret of the edited text, and the input method's pre-edit after it,
    // in surface pixels: an I-beam the block's size at any zoom.
    QPolygonF Caret_Polygon() const {
        const a_om_rec* om = Edited_OM();
        if (!om || g_ed.sel_lo != g_ed.sel_hi) return {};
        const a_caret_spot spot = Caret_Spot(*om, g_ed.sel_lo);
        const float size = Caret_Size(*om) * float(Mapping().multy);
        float x[9], y[9];
        Caret_Shape(spot, std::max(size, 4.0f), x, y);
        const QPointF at = Cell_To_Surface(QPointF(spot.x, spot.y));
        QPolygonF poly;
        for (int i = 0; i < 9; ++i) poly << at + QPointF(x[i], y[i]);
        return poly;
    }
    QRect Caret_Area() const {
        const QPolygonF poly = Caret_Polygon();
        if (poly.isEmpty()) return {};
        QRect r = poly.boundingRect().toAlignedRect().adjusted(-2, -2, 2, 2);
        if (!preedit.isEmpty()) r |= Preedit_Rect(poly);
        return r;
    }
    QRect Preedit_Rect(const QPolygonF& caret) const {
        const QFontMetrics fm(font());
        const QPointF at = caret.boundingRect().bottomRight();
        return QRect(at.toPoint(), QSize(fm.horizontalAdvance(preedit) + 8, fm.height() + 4));
    }
    QString preedit;      // the input method's text being composed
    QRect caret_drawn;    // where the caret was last drawn

    // The frames with their handles, as last painted.
    QRegion Frames() const {
        QRegion r;
        For_Framed([&](int omx) { r += Frame_Area(omx); });
        return r;
    }
    // The frames moved or changed: both the old and the new are drawn again.
    void Update_Frames() {
        QRegion now = Frames();
        if (now == frames_) return;
        update(now + frames_);
        frames_ = now;
    }

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
        // The picture holds device pixels: drawn one to one on the screen.
        const double dpr = devicePixelRatioF();
        view.setDevicePixelRatio(dpr);
        const QRect part = e->rect() & unit_;
        const QRectF from = QRectF(part.translated(-unit_.topLeft()));
        p.drawImage(QRectF(part), view,
                    QRectF(from.x() * dpr, from.y() * dpr, from.width() * dpr, from.height() * dpr));
        Paint_Frames(p);
        Paint_Caret(p);
        Paint_Overlay(p);
    }

    // The symmetry centre's cross and the brush's outline under the pointer.
    void Paint_Overlay(QPainter& p) {
        if (!Painting()) return;
        p.setRenderHint(QPainter::Antialiasing, true);
        if (g_paint.symmetry_on) {
            const QPointF c = Centre_Spot();
            for (auto [colour, width] : {std::pair{QColor(255, 255, 255), 3.0}, std::pair{QColor(200, 0, 0), 1.0}}) {
                p.setPen(QPen(colour, width));
                p.drawLine(c + QPointF(-CROSS, 0), c + QPointF(CROSS, 0));
                p.drawLine(c + QPointF(0, -CROSS), c + QPointF(0, CROSS));
            }
        }
        Paint_Marquee(p);
        if (const QRectF r = Brush_Outline(); !r.isEmpty()) {
            p.setBrush(Qt::NoBrush);
            p.setPen(QPen(QColor(255, 255, 255), 0));
            p.drawEllipse(r);
            p.setPen(QPen(QColor(0, 0, 0), 0, Qt::DotLine));
            p.drawEllipse(r);
        }
    }

    // The selection's marching ants: a white line under black dashes that
    // move, one pixel wide and not smoothed, so that the edge stays sharp.
    void Paint_Marquee(QPainter& p) {
        const QPolygonF poly = Marquee_Polygon();
        if (poly.size() < 2) return;
        p.save();
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(255, 255, 255), 0));
        p.drawPolygon(poly);
        QPen ants(QColor(0, 0, 0), 0, Qt::CustomDashLine);
        ants.setDashPattern({4, 4});
        ants.setDashOffset(ants_phase);
        p.setPen(ants);
        p.drawPolygon(poly);
        p.restore();
    }

public:
    int ants_phase = 0;  // the dashes' offset, pixels
    QPolygonF Marquee_Polygon() const {
        QPolygonF poly;
        if (!Painting()) return poly;
        for (const a_cell_pointf& c : Selection_Outline()) {
            const QPointF at = Cell_To_Surface(QPointF(c.h, c.v));
            poly << QPointF(std::floor(at.x()) + 0.5, std::floor(at.y()) + 0.5);
        }
        return poly;
    }
    QRect Marquee_Area() const { return Marquee_Polygon().boundingRect().toAlignedRect().adjusted(-2, -2, 2, 2); }
    static constexpr int CROSS = 7;  // half the symmetry cross, pixels
    std::optional<QPointF> pointer;  // in the surface, while over it
    QPointF Centre_Spot() const {
        const Point c = g_doc.up ? g_doc.up->symmetry_center : Point{};
        return Cell_To_Surface(QPointF(c.h, c.v));
    }
    QRect Centre_Area() const {
        return QRectF(Centre_Spot() - QPointF(CROSS + 2, CROSS + 2), QSizeF(2 * CROSS + 4, 2 * CROSS + 4))
            .toAlignedRect();
    }
    QRectF Brush_Outline() const {
        if (!pointer || !Round_Brush(g_paint.tool)) return {};
        const double cells = g_paint.tool == SPRAY_TOOL    ? g_paint.spray_radius
                             : g_paint.tool == ERASER_TOOL ? Eraser_Diameter(g_paint.eraser_choice) / 2.0
                                                           : g_paint.brush_size / 2.0;
        const QPointF at = Surface_To_Cell(*pointer);
        const double r = std::max(2.0, Cell_To_Surface(at + QPointF(cells, 0)).x() - pointer->x());
        return QRectF(*pointer - QPointF(r, r), QSizeF(2 * r, 2 * r));
    }
    // The overlay moved from `was`: both places drawn again.
    void Update_Overlay(const QRectF& was_brush, const QRect& was_centre) {
        update(was_brush.toAlignedRect().adjusted(-2, -2, 2, 2));
        update(Brush_Outline().toAlignedRect().adjusted(-2, -2, 2, 2));
        update(was_centre);
        update(Centre_Area());
    }
protected:

    // The caret in dark red when the blink shows it; the pre-edit boxed beside it.
    void Paint_Caret(QPainter& p) {
        const QPolygonF poly = Caret_Polygon();
        caret_drawn = QRect();
        if (poly.isEmpty()) return;
        caret_drawn = Caret_Area();
        if (g_caret.drawn || !preedit.isEmpty()) {
            p.setRenderHint(QPainter::Antialiasing, true);
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(128, 0, 0));
            p.drawPolygon(poly);
        }
        if (preedit.isEmpty()) return;
        const QRect r = Preedit_Rect(poly);
        p.fillRect(r, QColor(255, 255, 224));
        p.setPen(QColor(128, 0, 0));
        p.drawRect(r.adjusted(0, 0, -1, -1));
        p.drawText(r.adjusted(4, 2, -4, -2), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, preedit);
        const int base = r.bottom() - 3;
        p.drawLine(r.left() + 4, base, r.right() - 4, base);
    }

    // Photos and clip art: one pixel wide at every zoom, a light line with a
    // dark dashed one over it so the frame shows on any picture, square
    // handles at the corners when selected, grey and dotted when not. Text:
    // its traced outline two pixels wide, red when selected, green when not,
    // dashed when hidden.
    void Paint_Frames(QPainter& p) {
        p.setRenderHint(QPainter::Antialiasing, false);
        For_Framed([&](int omx) {
            const bool picked = Is_Obj_Selected(omx);
            const QPainterPath outline = Text_Outline(omx);
            if (!outline.isEmpty()) {
                const Qt::PenStyle style = Is_Obj_Visible(omx) ? Qt::SolidLine : Qt::DashLine;
                p.setPen(QPen(picked ? QColor(240, 0, 0) : QColor(0, 240, 0), 2, style));
                p.setBrush(Qt::NoBrush);
                p.drawPath(outline);
                return;
            }
            const QRect r = To_Surface(Obj_BBox(omx));
            if (r.isEmpty()) return;
            p.setPen(QPen(QColor(255, 255, 255), 0));
            p.drawRect(r.adjusted(0, 0, -1, -1));
            p.setPen(picked ? QPen(QColor(0x1f, 0x5f, 0xa8), 0, Qt::DashLine)
                            : QPen(QColor(0x70, 0x74, 0x7a), 0, Qt::DotLine));
            p.drawRect(r.adjusted(0, 0, -1, -1));
            p.setPen(QPen(QColor(0x1f, 0x5f, 0xa8), 0));
            Paint_Turn_Handle(p, omx, r);
            if (!picked || !Has_PH_Kind(Curr_Item(omx)->kind)) return;
            for (QPoint c : {r.topLeft(), r.topRight(), r.bottomLeft(), r.bottomRight()}) {
                QRect h(c.x() - HANDLE / 2, c.y() - HANDLE / 2, HANDLE, HANDLE);
                p.fillRect(h, Qt::white);
                p.drawRect(h.adjusted(0, 0, -1, -1));
            }
        });
        frames_ = Frames();
    }

    void Paint_Turn_Handle(QPainter& p, int omx, const QRect& frame) {
        const QRect h = Turn_Handle(omx);
        if (h.isEmpty()) return;
        p.drawLine(frame.center().x(), frame.top(), frame.center().x(), h.bottom());
        p.setRenderHint(QPainter::Antialiasing, true);
        p.setBrush(Qt::white);
        p.drawEllipse(QRectF(h).adjusted(0.5, 0.5, -0.5, -0.5));
        p.setBrush(Qt::NoBrush);
        p.setRenderHint(QPainter::Antialiasing, false);
    }

    // Touchpad pinches come to the widget under the fingers.
    bool event(QEvent* e) override {
        if (e->type() != QEvent::NativeGesture) return QWidget::event(e);
        auto* g = static_cast<QNativeGestureEvent*>(e);
        if (g->gestureType() != Qt::ZoomNativeGesture) return QWidget::event(e);
        view_->Pinch(g->value(), mapTo(view_->viewport(), g->position()));
        e->accept();
        return true;
    }
    void mousePressEvent(QMouseEvent* e) override { view_->Mouse_Press(e); }
    void mouseMoveEvent(QMouseEvent* e) override { view_->Mouse_Move(e); }
    void mouseReleaseEvent(QMouseEvent* e) override { view_->Mouse_Release(e); }
    void mouseDoubleClickEvent(QMouseEvent* e) override { view_->Mouse_Double(e); }
    void contextMenuEvent(QContextMenuEvent* e) override { view_->Context_Menu(e); }
    void leaveEvent(QEvent*) override {
        const QRectF was = Brush_Outline();
        pointer.reset();
        update(was.toAlignedRect().adjusted(-2, -2, 2, 2));
        emit view_->pointerLeft();
    }
    // The scroll area centres the surface after its size changes.
    void moveEvent(QMoveEvent*) override { emit view_->viewMoved(); }

private:
    a_coord_mapping Mapping() const {
        if (!g_doc.up || unit_.isEmpty()) return {};
        Rect total{0, 0, int16_t(unit_.height()), int16_t(unit_.width())};
        return Unit_Layer_Mapping(*Design_Unit(g_doc.upx), total);
    }

    a_unit_view* view_;
    QRect unit_;
    QRegion frames_;
};

a_unit_view::a_unit_view(QWidget* parent) : QScrollArea(parent) {
    setObjectName("unitView");
    surface_ = new a_unit_surface(this);
    surface_->setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
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
    selected_token_ = g_doc_notices.unit_selected.Subscribe([this](uint32_t) {
        if (Edited_OM() == nullptr && g_ed.edit_objid != 0) Edit_OK();  // another unit: the editing ends
        Refresh();
    });
    paint_tick_ = new QTimer(this);
    paint_tick_->setInterval(16);
    connect(paint_tick_, &QTimer::timeout, this, [this] {
        if (!Paint_Tracking()) return paint_tick_->stop();
        Paint_Tick(uint32_t(TickCount()));
    });
    ants_ = new QTimer(this);
    ants_->setInterval(150);
    connect(ants_, &QTimer::timeout, this, [this] {
        if (!Painting() || (!Selection_Active() && !Selection_Tracking())) {
            surface_->update();  // the last outline goes
            return ants_->stop();
        }
        surface_->ants_phase = (surface_->ants_phase + 1) % 8;
        surface_->update(surface_->Marquee_Area());
    });
    g_selection_paste_centre = [this] {
        return To_Cell(View_To_Unit(QPointF(viewport()->rect().center())));
    };
    g_paint_scroll = [this](int dh, int dv) {
        horizontalScrollBar()->setValue(horizontalScrollBar()->value() + dh);
        verticalScrollBar()->setValue(verticalScrollBar()->value() + dv);
    };
    // Each idle step and each action's end: the caret blinks and follows.
    finish_token_ = g_shell_notices.finish.Subscribe([this] { Caret_Step(); });
    setAttribute(Qt::WA_InputMethodEnabled, true);
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, this, &a_unit_view::viewMoved);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, &a_unit_view::viewMoved);
}

a_unit_view::~a_unit_view() {
    g_paint_scroll = nullptr;
    g_selection_paste_centre = nullptr;
    g_doc_notices.unit_dirty.Unsubscribe(dirty_token_);
    g_doc_notices.unit_refresh.Unsubscribe(refresh_token_);
    g_doc_notices.unit_selected.Unsubscribe(selected_token_);
    g_shell_notices.finish.Unsubscribe(finish_token_);
}

void a_unit_view::Caret_Step() {
    const bool changed = Caret_Tick(TickCount());
    const QRect now = surface_->Caret_Area();
    if (!changed && now == surface_->caret_drawn) return;
    surface_->update(now | surface_->caret_drawn);
}

void a_unit_view::inputMethodEvent(QInputMethodEvent* e) {
    if (!Edited_OM()) return e->ignore();
    const QRect before = surface_->Caret_Area();
    if (!e->commitString().isEmpty()) {
        const std::u16string text = e->commitString().toStdU16String();
        Interaction_Begin();
        (void)Text_Inject_Unicode(text.c_str());
        Interaction_End();
        Caret_Set(TickCount());
    }
    surface_->preedit = e->preeditString();
    surface_->update(before | surface_->Caret_Area());
    e->accept();
}

QVariant a_unit_view::inputMethodQuery(Qt::InputMethodQuery query) const {
    switch (query) {
        case Qt::ImEnabled: return Edited_OM() != nullptr;
        case Qt::ImCursorRectangle: return QRectF(surface_->mapTo(this, surface_->Caret_Area().topLeft()),
                                                  surface_->Caret_Area().size());
        default: return QScrollArea::inputMethodQuery(query);
    }
}

void a_unit_view::Refresh() {
    if (g_doc.up) {
        g_merge_dpr = surface_->devicePixelRatioF();
        g_merge_zoom = Zoom_Ratio(g_doc.up->paintbounds, maximumViewportSize(), g_merge_dpr);
    }
    surface_->Resize_To_Unit();
    emit viewMoved();
}

void a_unit_view::Refresh_Zoom() {
    const QPointF at = zoom_at_.value_or(QPointF(viewport()->width() / 2.0, viewport()->height() / 2.0));
    zoom_at_.reset();
    const bool kept = g_doc.up && Unit_Rect().isValid();
    const QPointF cell = View_To_Unit(at);  // by the zoom still shown
    Refresh();
    if (!kept) return;
    const QPointF moved = Unit_To_View(cell) - at;
    horizontalScrollBar()->setValue(horizontalScrollBar()->value() + int(std::lround(moved.x())));
    verticalScrollBar()->setValue(verticalScrollBar()->value() + int(std::lround(moved.y())));
}

int a_unit_view::Zoom_Percent() const {
    const double dpr = surface_->devicePixelRatioF();
    return g_merge_zoom.den > 0 ? int(std::lround(100.0 * g_merge_zoom.num / g_merge_zoom.den / dpr)) : 100;
}

void a_unit_view::wheelEvent(QWheelEvent* e) {
    const int delta = e->angleDelta().y() != 0 ? e->angleDelta().y() : e->angleDelta().x();
    if (e->modifiers() & Qt::ControlModifier) {
        wheel_rest_ += delta;
        // A notch of a mouse wheel is 120; touchpads send it in small parts.
        while (std::abs(wheel_rest_) >= 120) {
            const int item = wheel_rest_ > 0 ? 1 : 2;  // Bigger, Smaller
            wheel_rest_ -= wheel_rest_ > 0 ? 120 : -120;
            zoom_at_ = e->position();
            Do_Menu_Event(false, false, item, MENU_ZOOM);
        }
        e->accept();
        return;
    }
    if (e->modifiers() & Qt::ShiftModifier) {
        QScrollBar* bar = horizontalScrollBar();
        bar->setValue(bar->value() - delta * bar->singleStep() / 40);
        e->accept();
        return;
    }
    QScrollArea::wheelEvent(e);
}

bool a_unit_view::viewportEvent(QEvent* e) {
    if (e->type() == QEvent::NativeGesture) {
        auto* g = static_cast<QNativeGestureEvent*>(e);
        if (g->gestureType() == Qt::ZoomNativeGesture) {
            Pinch(g->value(), g->position());
            return true;
        }
    }
    return QScrollArea::viewportEvent(e);
}

void a_unit_view::Pinch(double scale_delta, QPointF at) {
    constexpr double STEP = 0.25;
    pinch_rest_ += scale_delta;
    while (std::abs(pinch_rest_) >= STEP) {
        const int item = pinch_rest_ > 0 ? 1 : 2;  // Bigger, Smaller
        pinch_rest_ -= pinch_rest_ > 0 ? STEP : -STEP;
        zoom_at_ = at;
        Do_Menu_Event(false, false, item, MENU_ZOOM);
    }
}

void a_unit_view::Bring_Up_To_Date() {
    if (isVisible() && g_doc.up) Current_Unit_UpToDate();
    // Not while the mouse is down: the surface would move under a drag.
    if (!press_.down && surface_->Overhang_Changed()) {
        surface_->Resize_To_Unit();
        emit viewMoved();
    }
    surface_->Update_Frames();
}

QRect a_unit_view::Last_Repaint() const { return surface_->last_repaint; }

void a_unit_view::resizeEvent(QResizeEvent* e) {
    QScrollArea::resizeEvent(e);
    if (gs.grid_vals[ZOOM_GRID] == 0) Refresh();
}

QRect a_unit_view::Unit_Rect() const { return surface_->Unit(); }

QPointF a_unit_view::Unit_To_View(QPointF unit_px) const {
    return surface_->mapTo(viewport(), surface_->Cell_To_Surface(unit_px));
}

QPointF a_unit_view::View_To_Unit(QPointF view_px) const {
    return surface_->Surface_To_Cell(surface_->mapFrom(viewport(), view_px));
}

namespace {

Point To_Cell(QPointF cell) {
    return Point{int16_t(std::clamp(std::lround(cell.y()), -32000L, 32000L)),
                 int16_t(std::clamp(std::lround(cell.x()), -32000L, 32000L))};
}

// Ticks of 1/60 s, as the block operations count time.
uint32_t Ticks(const QInputEvent* e) { return uint32_t(e->timestamp() * 60 / 1000); }

a_block_click Click_At(Point cell, const QMouseEvent* e, bool moved) {
    a_block_click c;
    c.cell = cell;
    c.shift = e->modifiers() & Qt::ShiftModifier;
    c.option = e->modifiers() & Qt::ControlModifier;
    c.moved = moved;
    c.ticks = Ticks(e);
    c.double_ticks = uint32_t(QApplication::doubleClickInterval() * 60 / 1000);
    return c;
}

Qt::CursorShape Hover_Cursor(const a_click_result& r) {
    if (r.action != CLICK_CURSOR_HAND) return Qt::ArrowCursor;
    const a_oj_item* it = Curr_Item(r.omx);
    if (it && (it->kind == PHOTO_BLOCK || it->kind == SYMBOL_BLOCK) && r.part >= 1 && r.part <= 4)
        return r.part == 1 || r.part == 4 ? Qt::SizeFDiagCursor : Qt::SizeBDiagCursor;
    return Qt::OpenHandCursor;
}

}  // namespace

bool a_unit_view::Text_Press(QMouseEvent* e, int clicks) {
    a_om_rec* om = Edited_OM();
    if (!om) return false;
    const QPointF cell = surface_->Surface_To_Cell(e->position());
    int part = 0;
    const bool inside = g_doc_services.text.is_inside.Call_Or([] { return false; }, *om, To_Cell(cell), part);
    Interaction_Begin();
    if (inside) {
        Track_Text_Range(float(cell.x()), float(cell.y()), clicks, e->modifiers() & Qt::ShiftModifier);
        Caret_Set(TickCount());
        tracking_text_ = true;
    } else {
        Edit_OK();  // a click outside: the typing is kept as one step
    }
    Interaction_End();
    return inside;
}

void a_unit_view::Mouse_Press(QMouseEvent* e) {
    setFocus(Qt::MouseFocusReason);
    if (Painting()) return Paint_Press(e);
    if (e->button() != Qt::LeftButton || !Editing_Blocks() || press_.down) return;
    const bool triple = last_double_ >= 0 && qint64(e->timestamp()) - last_double_ <= QApplication::doubleClickInterval();
    if (Text_Press(e, triple ? 3 : 1)) return;
    press_ = a_press{};
    press_.down = true;
    press_.at = e->position().toPoint();
    press_.cell = To_Cell(surface_->Surface_To_Cell(e->position()));
    if (int omx = surface_->Turn_Handle_At(press_.at); omx != OMX_NONE) {
        press_.turning = true;
        press_.omx = omx;
        press_.pivot = surface_->Centre_Of(omx);
        press_.turn_from = Angle_Round(press_.pivot, e->position());
        Interaction_Begin();  // the whole turn is one step, ended on release
    }
}

// The slot follows the pointer round its centre; Shift keeps to steps of 15°.
void a_unit_view::Turn_Slot(QMouseEvent* e) {
    double degrees = press_.turn_from - Angle_Round(press_.pivot, e->position());
    degrees = std::remainder(degrees, 360.0);
    if (e->modifiers() & Qt::ShiftModifier) degrees = 15.0 * std::round(degrees / 15.0);
    const int tenths = int(std::lround(degrees * 10));
    if (tenths == press_.turned) return;
    Slot_Rotate(tenths - press_.turned, press_.omx);
    press_.turned = tenths;
    History_Set_Pending(OP_PHOTO_ANGLE);
    Current_Unit_UpToDate();
    surface_->Update_Frames();
}

void a_unit_view::Begin_Drag(QMouseEvent* e) {
    press_.dragging = true;
    Interaction_Begin();
    a_click_result r = Obj_MouseDown(Click_At(press_.cell, e, true));
    press_.action = r.action;
    press_.omx = r.omx;
    press_.part = r.part;
    if (r.action == CLICK_TRACK_MOVE) {
        Track_Step(TRACK_INIT, r.omx, false, press_.cell, press_.cell);
        surface_->setCursor(Qt::ClosedHandCursor);
    } else if (r.action == CLICK_TRACK_SCALE) {
        scale_start_ = std::make_shared<a_ph_rec>(*Curr_PH(r.omx));
    }
    surface_->Update_Frames();
}

void a_unit_view::Mouse_Move(QMouseEvent* e) {
    emit pointerMoved(surface_->mapTo(viewport(), e->position()));
    if (Painting()) return Paint_Move(e);
    if (!Editing_Blocks()) return;
    if (tracking_text_) {
        const QPointF cell = surface_->Surface_To_Cell(e->position());
        Interaction_Begin();
        Track_Text_Drag(float(cell.x()), float(cell.y()));
        Interaction_End();
        return;
    }
    if (a_om_rec* om = Edited_OM(); om && !press_.down) {
        int part = 0;
        const Point cell = To_Cell(surface_->Surface_To_Cell(e->position()));
        const bool in = g_doc_services.text.is_inside.Call_Or([] { return false; }, *om, cell, part);
        surface_->setCursor(in ? Qt::IBeamCursor : Qt::ArrowCursor);
        return;
    }
    if (!press_.down && surface_->Turn_Handle_At(e->position().toPoint()) != OMX_NONE) {
        surface_->setCursor(Qt::PointingHandCursor);
        return;
    }
    if (!press_.down) {
        Point cell = To_Cell(surface_->Surface_To_Cell(e->position()));
        a_block_click c = Click_At(cell, e, false);
        c.button_down = false;
        surface_->setCursor(Hover_Cursor(Obj_MouseDown(c)));
        return;
    }
    if (press_.turning) return Turn_Slot(e);
    if (!press_.dragging) {
        if ((e->position().toPoint() - press_.at).manhattanLength() < QApplication::startDragDistance()) return;
        Begin_Drag(e);
    }
    Point cell = To_Cell(surface_->Surface_To_Cell(e->position()));
    bool constrain = e->modifiers() & Qt::ShiftModifier;
    if (press_.action == CLICK_TRACK_MOVE) {
        Track_Step(TRACK_MOVE, press_.omx, constrain, press_.cell, cell);
    } else if (press_.action == CLICK_TRACK_SCALE && scale_start_) {
        Track_Photo_Scaling(TRACK_MOVE, press_.omx, press_.part, *scale_start_, cell, constrain);
        Current_Unit_UpToDate();
    }
    surface_->Update_Frames();
}

void a_unit_view::Mouse_Release(QMouseEvent* e) {
    if (Painting()) return Paint_Release(e);
    if (e->button() == Qt::LeftButton) tracking_text_ = false;
    if (e->button() != Qt::LeftButton || !press_.down) return;
    a_press press = press_;
    press_ = a_press{};
    if (press.turning) {
        surface_->Update_Frames();
        return Interaction_End();
    }
    if (!press.dragging) {
        Interaction_Begin();
        a_click_result r = Obj_MouseDown(Click_At(press.cell, e, false));
        if (r.action == CLICK_DOUBLE) Double_Click(r.omx, e->position());
        Interaction_End();
        return;
    }
    Point cell = To_Cell(surface_->Surface_To_Cell(e->position()));
    bool constrain = e->modifiers() & Qt::ShiftModifier;
    if (press.action == CLICK_TRACK_MOVE) {
        // Let go over another collage slot, the two photos swap.
        if (!Collage_Drop(press.omx, press.cell, cell)) Track_Step(TRACK_STOP, press.omx, constrain, press.cell, cell);
    } else if (press.action == CLICK_TRACK_SCALE && scale_start_)
        Track_Photo_Scaling(TRACK_STOP, press.omx, press.part, *scale_start_, cell, constrain);
    scale_start_.reset();
    surface_->setCursor(Qt::ArrowCursor);
    Interaction_End();
}

// The desktop decides what a double click is; it stands for the second
// press, so the release after it has nothing to finish.
void a_unit_view::Mouse_Double(QMouseEvent* e) {
    if (Painting()) return Paint_Press(e);  // a polygon closes on it
    if (e->button() != Qt::LeftButton || !Editing_Blocks() || press_.down) return;
    last_double_ = e->timestamp();
    if (Text_Press(e, 2)) return;  // a word of the edited text
    int part = 0;
    int omx = Obj_Find(To_Cell(surface_->Surface_To_Cell(e->position())), part);
    if (omx != OMX_NONE && Is_Obj_Selected(omx)) Double_Click(omx, e->position());
}

// A double click on text edits it where it is, the word under the click selected.
void a_unit_view::Double_Click(int omx, QPointF at) {
    const a_oj_item* it = Curr_Item(omx);
    if (!it || it->kind != TEXT_BLOCK || !it->om) return;
    if (gs.curr_phase != TEXT_PHASE) return (void)emit textBlockActivated(int(g_doc.upx), int(it->objid));
    Interaction_Begin();
    if (Text_Edit(omx)) {
        const QPointF cell = surface_->Surface_To_Cell(at);
        Track_Text_Range(float(cell.x()), float(cell.y()), 2, false);
        Caret_Set(TickCount());
    }
    Interaction_End();
    setFocus(Qt::MouseFocusReason);
    surface_->update();
}

namespace {

void Run(const std::function<void()>& fn) {
    Interaction_Begin();
    fn();
    Interaction_End();
}

}  // namespace

// Keys are the document's (nudges, Tab, Delete, sizes): the window hands
// them to the key chain, so the scroll area must not take the arrows.
void a_unit_view::keyPressEvent(QKeyEvent* e) {
    if (Painting() && Paint_Key(e)) return e->accept();
    e->ignore();
}

namespace {

a_paint_event Paint_Event(const QMouseEvent* e, QPointF cell) {
    a_paint_event p;
    p.cell = To_Cell(cell);
    const QPoint screen = e->globalPosition().toPoint();
    p.screen = Point{int16_t(std::clamp(screen.y(), -32000, 32000)), int16_t(std::clamp(screen.x(), -32000, 32000))};
    p.shift = e->modifiers() & Qt::ShiftModifier;
    p.command = e->modifiers() & Qt::ControlModifier;
    p.option = e->modifiers() & Qt::AltModifier;
    p.double_click = e->type() == QEvent::MouseButtonDblClick;
    p.ticks = uint32_t(TickCount());
    return p;
}

}  // namespace

void a_unit_view::Paint_Press(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton || painting_) return;
    if (g_paint.symmetry_on && !Paint_Tracking() && surface_->Centre_Area().contains(e->position().toPoint())) {
        moving_centre_ = true;
        return;
    }
    Paint_Sync_Sliders();
    painting_ = true;
    const QRect was_marquee = surface_->Marquee_Area();
    Interaction_Begin();  // the stroke is one action, ended on release
    Paint_MouseDown(Paint_Event(e, surface_->Surface_To_Cell(e->position())));
    Update_Marquee(was_marquee);
    if (Paint_Tracking()) paint_tick_->start();
    emit paintToolChosen();  // the eyedropper may have picked a colour
}

void a_unit_view::Paint_Move(QMouseEvent* e) {
    const QRect was_marquee = surface_->Marquee_Area();
    const QRectF was = surface_->Brush_Outline();
    const QRect was_centre = surface_->Centre_Area();
    surface_->pointer = e->position();
    const QPointF cell = surface_->Surface_To_Cell(e->position());
    if (moving_centre_) {
        g_doc.up->symmetry_center = To_Cell(cell);
    } else if (Paint_Tracking()) {
        Paint_MouseMove(Paint_Event(e, cell));
    }
    if (g_paint.tool == SELECT_TOOL)  // inside the selection a press moves it
        surface_->setCursor(Selection_Contains(To_Cell(cell)) ? Qt::SizeAllCursor : Qt::CrossCursor);
    else
        surface_->setCursor(Round_Brush(g_paint.tool) ? Qt::CrossCursor : Qt::ArrowCursor);
    surface_->Update_Overlay(was, was_centre);
    Update_Marquee(was_marquee);
}

void a_unit_view::Paint_Release(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) return;
    if (moving_centre_) {
        moving_centre_ = false;
        g_doc.doc_changed = true;  // the project keeps the centre: not an undo step, but saved
        return;
    }
    if (!painting_) return;
    const QRect was_marquee = surface_->Marquee_Area();
    if (Paint_Tracker() != TRACK_POLYGON) Paint_MouseUp(Paint_Event(e, surface_->Surface_To_Cell(e->position())));
    if (!Paint_Tracking()) paint_tick_->stop();
    painting_ = false;
    Interaction_End();
    Update_Marquee(was_marquee);
}

void a_unit_view::Show_Selection() {
    surface_->update();
    Update_Marquee(QRect());
}

void a_unit_view::Update_Marquee(const QRect& was) {
    surface_->update(was);
    surface_->update(surface_->Marquee_Area());
    if ((Selection_Active() || Selection_Tracking()) && !ants_->isActive()) ants_->start();
}

bool a_unit_view::Paint_Key(QKeyEvent* e) {
    const QRect was_marquee = surface_->Marquee_Area();
    auto act = [&](auto f) {
        Interaction_Begin();
        f();
        Interaction_End();
        Update_Marquee(was_marquee);
    };
    // The selection's keys: Delete clears it, the arrows nudge it a cell.
    const bool selected = Selection_Active() && !Paint_Tracking();
    const int nudge_h = e->key() == Qt::Key_Left ? -1 : e->key() == Qt::Key_Right ? 1 : 0;
    const int nudge_v = e->key() == Qt::Key_Up ? -1 : e->key() == Qt::Key_Down ? 1 : 0;
    if (selected && (e->key() == Qt::Key_Delete || e->key() == Qt::Key_Backspace)) {
        act([] { (void)Selection_Delete(); });
        return true;
    }
    if (selected && (nudge_h || nudge_v)) {
        act([&] { (void)Selection_Nudge(nudge_h, nudge_v); });
        return true;
    }
    switch (e->key()) {
        case Qt::Key_Escape: act(Paint_Escape); return true;
        case Qt::Key_Return:
        case Qt::Key_Enter: act(Paint_Finish); return true;
        default: break;
    }
    if (e->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return false;
    if (Paint_Tracking() || !Paint_Choose_Key(e->key())) return false;
    emit paintToolChosen();
    return true;
}

bool a_unit_view::focusNextPrevChild(bool) { return false; }  // Tab cycles the blocks

void a_unit_view::Context_Menu(QContextMenuEvent* e) {
    if (!Editing_Blocks()) return;
    QMenu menu(this);
    menu.setToolTipsVisible(true);
    const int n = Selection_Count();
    auto add = [&](const QString& text, const QString& tip, bool enabled, std::function<void()> fn) {
        QAction* a = menu.addAction(text);
        a->setToolTip(tip);
        a->setEnabled(enabled);
        connect(a, &QAction::triggered, this, [fn] { Run(fn); });
    };
    add(tr("Align Left Edges"), tr("Line up the left edges with the highest block's"), n >= 2, Enum_Align_H_L);
    add(tr("Align Centres Across"), tr("Line up the centres across with the highest block's"), n >= 2,
        Enum_Align_H_C);
    add(tr("Align Right Edges"), tr("Line up the right edges with the highest block's"), n >= 2, Enum_Align_H_R);
    add(tr("Align Tops"), tr("Line up the tops with the highest block's"), n >= 2, Enum_Align_V_T);
    add(tr("Align Centres Down"), tr("Line up the centres down with the highest block's"), n >= 2,
        Enum_Align_V_C);
    add(tr("Align Bottoms"), tr("Line up the bottoms with the highest block's"), n >= 2, Enum_Align_V_B);
    menu.addSeparator();
    add(tr("Spread Across"), tr("Equal gaps across between the outermost two blocks"), n >= 3, Obj_Spread_H);
    add(tr("Spread Down"), tr("Equal gaps down between the outermost two blocks"), n >= 3, Obj_Spread_V);
    menu.addSeparator();
    int one = OMX_NONE;
    if (Is_One_Selected(one) && Curr_Item(one)->kind == TEXT_BLOCK) {
        const uint32_t id = Curr_Item(one)->objid;
        QAction* a = menu.addAction(tr("Edit Text in a Window…"));
        a->setToolTip(tr("Type the block's lines in a window of their own"));
        connect(a, &QAction::triggered, this, [this, id] { emit textBlockActivated(int(g_doc.upx), int(id)); });
        menu.addSeparator();
    }
    add(tr("Duplicate"), tr("Copies of the selected blocks become the selection"), n >= 1, Enum_Obj_Dup);
    add(tr("Delete"), tr("Remove the selected blocks"), n >= 1, Enum_Obj_Del);
    add(tr("Select All"), tr("Select every block"), true, Obj_Select_All);
    add(tr("Select None"), tr("Deselect every block"), n >= 1, Obj_Select_None);
    menu.exec(e->globalPos());
}
