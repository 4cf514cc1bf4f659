#include "dialogs/crop_dialog.h"

#include <QtGui/QGuiApplication>
#include <QtGui/QMouseEvent>
#include <QtGui/QPainter>
#include <QtGui/QScreen>
#include <QtWidgets/QDialogButtonBox>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QVBoxLayout>

#include "images/photo_crop.h"
#include "pixels/gworld.h"
#include "render/effects_cache.h"

namespace {

QRect To_QRect(const Rect& r) {
    return QRect(r.left, r.top, Rect_Width(r), Rect_Height(r));
}

Rect Screen_Rect() {
    QScreen* s = QGuiApplication::primaryScreen();
    QRect g = s ? s->availableGeometry() : QRect(0, 0, 1024, 768);
    return Rect{0, 0, int16_t(g.height()), int16_t(g.width())};
}

}  // namespace

// The picture, the crop and its four handles, in the dialog's pixels.
class a_crop_area : public QWidget {
  public:
    a_crop_area(const QImage& picture, const Rect& crop) : picture_(picture) {
        setObjectName("cropArea");
        bounds_ = Rect{0, 0, int16_t(picture.height()), int16_t(picture.width())};
        Crop_Layout(bounds_, crop, Screen_Rect(), cr_);
        setFixedSize(Rect_Width(cr_.off), Rect_Height(cr_.off));
        setMouseTracking(true);
    }
    const a_crop_rec& Rec() const { return cr_; }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), QColor(0x4a, 0x4e, 0x55));
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        const QRect pix = To_QRect(cr_.bb_pix), crop = To_QRect(cr_.crop_s);
        p.drawImage(pix, picture_);
        // What the crop leaves out, dimmed.
        QRegion outside = QRegion(pix).subtracted(QRegion(crop));
        for (const QRect& r : outside) p.fillRect(r, QColor(0, 0, 0, 140));
        p.setPen(QPen(QColor(255, 255, 255), 1, Qt::DashLine));
        p.drawRect(crop.adjusted(0, 0, -1, -1));
        for (const Rect* h : {&cr_.bb_l, &cr_.bb_t, &cr_.bb_r, &cr_.bb_b}) {
            QRect r = To_QRect(*h);
            p.fillRect(r, side_ != 0 && h == Handle(side_) ? QColor(0x3d, 0x7e, 0xbf)
                                                           : QColor(0xf0, 0xf2, 0xf5));
            p.setPen(QColor(0x30, 0x34, 0x3a));
            p.drawRect(r.adjusted(0, 0, -1, -1));
        }
    }
    void mousePressEvent(QMouseEvent* e) override {
        const QPoint at = e->position().toPoint();
        side_ = 0;
        for (int side = 1; side <= 4; ++side)
            if (To_QRect(*Handle(side)).contains(at)) side_ = side;
        update();
    }
    void mouseMoveEvent(QMouseEvent* e) override {
        const QPoint at = e->position().toPoint();
        if (side_ == 0) {
            bool sideways = To_QRect(cr_.bb_l).contains(at) || To_QRect(cr_.bb_r).contains(at);
            bool upright = To_QRect(cr_.bb_t).contains(at) || To_QRect(cr_.bb_b).contains(at);
            setCursor(sideways ? Qt::SizeHorCursor : upright ? Qt::SizeVerCursor : Qt::ArrowCursor);
            return;
        }
        Crop_Drag_Side(cr_, bounds_, side_, Point{int16_t(at.y()), int16_t(at.x())});
        update();
    }
    void mouseReleaseEvent(QMouseEvent*) override {
        side_ = 0;
        update();
    }

  private:
    const Rect* Handle(int side) const {
        switch (side) {
            case 1:
                return &cr_.bb_l;
            case 2:
                return &cr_.bb_t;
            case 3:
                return &cr_.bb_r;
            default:
                return &cr_.bb_b;
        }
    }
    QImage picture_;
    Rect bounds_;
    a_crop_rec cr_;
    int side_ = 0;
};

a_crop_dialog::a_crop_dialog(const QImage& picture, const Rect& crop, QWidget* parent)
    : QDialog(parent) {
    setObjectName("cropDialog");
    setWindowTitle(tr("Crop Photo"));
    auto* column = new QVBoxLayout(this);
    area_ = new a_crop_area(picture, crop);
    area_->setToolTip(tr("Drag a handle to move that side of the crop"));
    column->addWidget(area_, 0, Qt::AlignCenter);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setToolTip(tr("Show only the part of the picture inside the handles"));
    buttons->button(QDialogButtonBox::Cancel)->setToolTip(tr("Leave the photo as it was"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    column->addWidget(buttons);
}

Rect a_crop_dialog::Crop() const {
    return area_->Rec().crop;
}

QImage Block_Source_Picture(const a_ph_rec& ph, Rect& bounds) {
    a_spec spec = ph.spec;
    if (spec.source.kind == SOURCE_DATABASE) return {};
    int ix = 0;
    if (!Find_Basis(spec.source.sid, ix)) return {};
    a_cache_result c;
    Null_Cache_Result(c);
    Cache_Get(FOR_SAVING, spec, c);
    if (!c.body.fore) return {};
    bounds = c.body.bounds;
    const int w = Rect_Width(bounds), h = Rect_Height(bounds);
    a_port_bits bits = World_Bits(c.body.fore);
    if (w <= 0 || h <= 0 || !bits.base) return {};
    return QImage(bits.base, w, h, bits.rowbytes, QImage::Format_RGB32).copy();
}
