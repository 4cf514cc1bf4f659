#include "panels/preview_view.h"

#include <QtGui/QMouseEvent>
#include <QtGui/QPainter>

#include <cmath>

#include "model/doc_media.h"
#include "model/document.h"
#include "model/notices.h"
#include "pictures.h"
#include "print/print_adjust.h"
#include "shell/mainloop.h"

namespace {

enum : int { PREVIEW_MARGIN = 24 };

QRect To_Widget(const a_coord_mapping& m, const a_frect& r) {
    auto x = [&](float v) { return int(std::lround(m.originx + m.multx * (v - m.fdecx))); };
    auto y = [&](float v) { return int(std::lround(m.originy + m.multy * (v - m.fdecy))); };
    return QRect(QPoint(x(r.left), y(r.top)), QPoint(x(r.right) - 1, y(r.bottom) - 1));
}

}  // namespace

a_preview_view::a_preview_view(QWidget* parent) : QWidget(parent) {
    setObjectName("previewView");
    setMinimumSize(200, 200);
    nudged_token_ = g_print_nudged.Subscribe([this] {
        Layout();
        update();
    });
    dirty_token_ = g_doc_notices.unit_dirty.Subscribe([this](uint32_t, const Rect&) { pictures_stale_ = true; });
}

a_preview_view::~a_preview_view() {
    g_print_nudged.Unsubscribe(nudged_token_);
    g_doc_notices.unit_dirty.Unsubscribe(dirty_token_);
}

QRect a_preview_view::Unit_Place(uint32_t ux) const {
    return ux >= 1 && ux <= places_.size() ? places_[ux - 1] : QRect();
}

void a_preview_view::Layout() {
    places_.clear();
    paper_ = QRect();
    if (!g_doc.doc_open) return;
    const a_template& t = g_doc.doc_template;
    a_print_media_spec media;
    Get_Media_Specs(media);
    Rect avail{int16_t(PREVIEW_MARGIN), int16_t(PREVIEW_MARGIN), int16_t(height() - PREVIEW_MARGIN),
               int16_t(width() - PREVIEW_MARGIN)};
    if (Rect_IsEmpty(avail)) return;
    a_frect fused;
    a_coord_mapping m;
    PrintPreview_Calc_Mapping(fused, m, false, avail, t, media, g_print_options.laserjet);
    paper_ = To_Widget(m, fused);
    a_direct_print_kind dkind = Calc_Direct_Print_KindT(t);
    for (uint32_t ux = 1; ux <= t.nunits; ++ux) {
        a_unit placed;
        Calc_Adjusted_Unit(placed, t.units[ux], dkind, 1, true, false);
        places_.push_back(To_Widget(m, placed.bbox));
    }
}

void a_preview_view::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    Layout();
}

void a_preview_view::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), QColor(0x6f, 0x76, 0x80));
    if (!g_doc.doc_open) return;
    if (places_.size() != g_doc.doc_template.nunits) Layout();
    p.fillRect(paper_.translated(3, 3), QColor(0, 0, 0, 60));  // the sheet's shadow
    p.fillRect(paper_, Qt::white);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    for (uint32_t ux = 1; ux <= places_.size(); ++ux) {
        const QRect& r = places_[ux - 1];
        a_doc_unit* u = g_doc.doc_units[ux];
        if (!u || !u->printf) continue;
        if (pictures_.size() != places_.size()) {
            pictures_.assign(places_.size(), QImage());
            drawn_for_.assign(places_.size(), QSize());
        }
        QImage& picture = pictures_[ux - 1];
        // At the screen's device pixels: sharp at 200 %.
        const QSize wanted = r.size() * devicePixelRatioF();
        if (pictures_stale_ || drawn_for_[ux - 1] != wanted) {
            picture = Unit_Print_Picture(ux, wanted);
            drawn_for_[ux - 1] = wanted;
        }
        if (!picture.isNull()) p.drawImage(r, picture);
    }
    pictures_stale_ = false;
    if (g_doc.upx >= 1 && g_doc.upx <= places_.size()) {
        p.setPen(QPen(QColor(0x3d, 0x7e, 0xbf), 2, Qt::DashLine));
        p.drawRect(places_[g_doc.upx - 1].adjusted(-2, -2, 2, 2));
    }
    p.setPen(QColor(0xa0, 0xa5, 0xad));
    p.drawRect(paper_);
}

void a_preview_view::mousePressEvent(QMouseEvent* e) {
    for (uint32_t ux = 1; ux <= places_.size(); ++ux)
        if (places_[ux - 1].contains(e->position().toPoint())) {
            Interaction_Begin();
            Select_Doc_Unit(ux);
            Interaction_End();
            update();
            return;
        }
    QWidget::mousePressEvent(e);
}
