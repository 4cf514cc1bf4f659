#include "platform/mask_resample.h"

#include <QImage>
#include <QPainter>
#include <QTransform>
#include <algorithm>

namespace {

bool Valid8(const a_pixel_view& v) {
    return v.base && v.width > 0 && v.height > 0 && v.rowbytes >= v.width;
}

}  // namespace

bool Resample_Affine_Mask(const a_pixel_view& src, a_pixel_view& dst, const double m[6], int cx0,
                          int cy0, int cx1, int cy1) {
    if (!Valid8(src) || !Valid8(dst)) return false;
    cx0 = std::max(cx0, 0), cy0 = std::max(cy0, 0);
    cx1 = std::min(cx1, dst.width), cy1 = std::min(cy1, dst.height);
    if (cx0 >= cx1 || cy0 >= cy1) return true;
    // Alpha8 is the one 8-bit format the painter blends as it does opaque
    // colour: with the Source mode, value x coverage + old x (1 - coverage).
    const QImage in(static_cast<const uchar*>(src.base), src.width, src.height, src.rowbytes,
                    QImage::Format_Alpha8);
    QImage out(dst.base, dst.width, dst.height, dst.rowbytes, QImage::Format_Alpha8);
    QPainter p(&out);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.setRenderHint(QPainter::SmoothPixmapTransform, true);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setClipRect(QRect(cx0, cy0, cx1 - cx0, cy1 - cy0));
    p.setTransform(QTransform(m[0], m[3], m[1], m[4], m[2], m[5]));
    p.drawImage(QPointF(0, 0), in);
    return true;
}
