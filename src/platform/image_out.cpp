#include "platform/image_out.h"

#include <QtGui/QFont>
#include <QtGui/QImage>
#include <QtGui/QPainter>

#include <cstring>

#include "platform/png_writer.h"

namespace {

QImage View(const a_rgb_image& image) {
    return QImage(image.bgra.data(), image.width, image.height, image.width * 4,
                  image.alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
}

a_rgb_image From_QImage(const QImage& in) {
    bool alpha = in.hasAlphaChannel();
    QImage img = in.convertToFormat(alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    a_rgb_image out;
    out.alpha = alpha;
    out.width = img.width();
    out.height = img.height();
    out.bgra.resize(size_t(out.width) * out.height * 4);
    for (int y = 0; y < out.height; ++y)
        std::memcpy(out.bgra.data() + size_t(y) * out.width * 4, img.constScanLine(y),
                    size_t(out.width) * 4);
    return out;
}

constexpr int kLabelHeight = 16;
constexpr int kGap = 8;

}  // namespace

bool Image_Save_PNG(const std::string& path, const a_rgb_image& image, std::string& error) {
    if (image.width <= 0 || image.height <= 0 ||
        image.bgra.size() < size_t(image.width) * size_t(image.height) * 4) {
        error = "empty picture";
        return false;
    }
    a_png_rows rows{image.bgra.data(), image.width, image.height, size_t(image.width) * 4,
                    image.alpha};
    return Png_Save_Fast(path, rows, &error);
}

a_rgb_image Contact_Sheet(const std::vector<a_sheet_tile>& tiles, int columns, int cell) {
    int rows = (static_cast<int>(tiles.size()) + columns - 1) / columns;
    int pitch_x = cell + kGap, pitch_y = cell + kLabelHeight + kGap;
    QImage sheet(columns * pitch_x + kGap, rows * pitch_y + kGap, QImage::Format_RGB32);
    sheet.fill(QColor(236, 236, 232));
    QPainter painter(&sheet);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setRenderHint(QPainter::TextAntialiasing);
    QFont font("DejaVu Sans");
    font.setPixelSize(11);
    painter.setFont(font);
    for (size_t i = 0; i < tiles.size(); ++i) {
        int x = kGap + static_cast<int>(i % columns) * pitch_x;
        int y = kGap + static_cast<int>(i / columns) * pitch_y;
        const a_rgb_image& img = tiles[i].image;
        if (img.width > 0 && img.height > 0) {
            QSize fit = QSize(img.width, img.height).scaled(cell, cell, Qt::KeepAspectRatio);
            QRect box(x + (cell - fit.width()) / 2, y + (cell - fit.height()) / 2, fit.width(),
                      fit.height());
            painter.drawImage(box, View(img));
            painter.setPen(QColor(180, 180, 176));
            painter.drawRect(box.adjusted(-1, -1, 0, 0));
        }
        painter.setPen(QColor(40, 40, 40));
        painter.drawText(QRect(x, y + cell, cell, kLabelHeight), Qt::AlignCenter,
                         QString::fromStdString(tiles[i].label));
    }
    painter.end();
    return From_QImage(sheet);
}
