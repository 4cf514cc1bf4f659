#include "platform/resample.h"

#include <QImage>
#include <QPainter>
#include <QTransform>
#include <algorithm>
#include <cstring>
#include <vector>

namespace {

// Format_RGB32 reads our fourth byte as "opaque", whatever it holds, so the
// colour bytes pass through untouched by premultiplication.
QImage View_Image(const a_pixel_view& v) {
    return QImage(v.base, v.width, v.height, v.rowbytes, QImage::Format_RGB32);
}

bool Valid(const a_pixel_view& v) {
    return v.base && v.width > 0 && v.height > 0 && v.rowbytes >= v.width * 4;
}

}  // namespace

bool Resample_Scale(const a_pixel_view& src, a_pixel_view& dst) {
    if (!Valid(src) || !Valid(dst)) return false;
    QImage in = View_Image(src);
    QImage out = in.scaled(dst.width, dst.height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                     .convertToFormat(QImage::Format_RGB32);
    if (out.isNull()) return false;
    for (int y = 0; y < dst.height; ++y) {
        const uint8_t* s = out.constScanLine(y);
        uint8_t* d = dst.base + ptrdiff_t(y) * dst.rowbytes;
        for (int x = 0; x < dst.width; ++x) std::memcpy(d + 4 * x, s + 4 * x, 3);
    }
    return true;
}

bool Resample_Affine(const a_pixel_view& src, a_pixel_view& dst, const double m[6], int cx0,
                     int cy0, int cx1, int cy1) {
    if (!Valid(src) || !Valid(dst)) return false;
    cx0 = std::max(cx0, 0), cy0 = std::max(cy0, 0);
    cx1 = std::min(cx1, dst.width), cy1 = std::min(cy1, dst.height);
    if (cx0 >= cx1 || cy0 >= cy1) return true;
    // Keep the fourth bytes: the painter writes 0xFF into every pixel it touches.
    std::vector<uint8_t> extra(size_t(dst.width) * dst.height);
    for (int y = 0; y < dst.height; ++y)
        for (int x = 0; x < dst.width; ++x)
            extra[size_t(y) * dst.width + x] = dst.base[ptrdiff_t(y) * dst.rowbytes + 4 * x + 3];
    {
        QImage in = View_Image(src);
        QImage out = View_Image(dst);
        QPainter p(&out);
        p.setRenderHint(QPainter::SmoothPixmapTransform, true);
        p.setRenderHint(QPainter::Antialiasing, true);
        p.setClipRect(QRect(cx0, cy0, cx1 - cx0, cy1 - cy0));
        p.setTransform(QTransform(m[0], m[3], m[1], m[4], m[2], m[5]));
        p.drawImage(QPointF(0, 0), in);
    }
    for (int y = 0; y < dst.height; ++y)
        for (int x = 0; x < dst.width; ++x)
            dst.base[ptrdiff_t(y) * dst.rowbytes + 4 * x + 3] = extra[size_t(y) * dst.width + x];
    return true;
}
