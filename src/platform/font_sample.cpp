#include "platform/font_sample.h"

#include <cstring>

#include <QtGui/QFont>
#include <QtGui/QImage>
#include <QtGui/QPainter>

std::vector<uint8_t> Font_Sample_Gray(const std::u16string& family, int width, int height) {
    std::vector<uint8_t> out(size_t(width) * size_t(height), 255);
    if (width <= 0 || height <= 0 || family.empty()) return out;
    QImage img(width, height, QImage::Format_Grayscale8);
    img.fill(Qt::white);
    {
        QPainter p(&img);
        QFont font(QString::fromStdU16String(family));
        font.setPixelSize(height * 3 / 4);
        p.setFont(font);
        p.setPen(Qt::black);
        p.drawText(QRect(2, 0, width - 2, height), Qt::AlignLeft | Qt::AlignVCenter,
                   QString::fromStdU16String(family));
    }
    for (int y = 0; y < height; ++y) std::memcpy(&out[size_t(y) * size_t(width)], img.constScanLine(y), size_t(width));
    return out;
}
