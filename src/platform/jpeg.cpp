#include "platform/jpeg.h"

#include <QtCore/QBuffer>
#include <QtCore/QByteArray>
#include <QtGui/QImage>
#include <QtGui/QImageReader>
#include <QtGui/QImageWriter>

#include <cstring>

#include "platform/app.h"

namespace {

QByteArray View(const uint8_t* data, size_t size) {
    return QByteArray::fromRawData(reinterpret_cast<const char*>(data),
                                   static_cast<qsizetype>(size));
}

}  // namespace

bool Jpeg_Size(const uint8_t* data, size_t size, int& width, int& height) {
    a_quiet_stderr quiet;
    if (size > 0x7FFFFFFF) return false;
    QByteArray bytes = View(data, size);
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "jpeg");
    QSize s = reader.size();
    if (!s.isValid()) return false;
    width = s.width();
    height = s.height();
    return true;
}

bool Jpeg_Decode(const uint8_t* data, size_t size, int width, int height, uint8_t* dst,
                 int rowbytes) {
    a_quiet_stderr quiet;
    if (size > 0x7FFFFFFF || rowbytes < width * 4) return false;
    QByteArray bytes = View(data, size);
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "jpeg");
    QImage image;
    if (!reader.read(&image) || image.width() != width || image.height() != height) return false;
    if (image.format() != QImage::Format_RGB32) image = image.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        std::memcpy(dst + size_t(y) * rowbytes, image.constScanLine(y), size_t(width) * 4);
    return true;
}

bool Jpeg_Encode(const uint8_t* pixels, int width, int height, int rowbytes, int quality,
                 std::vector<uint8_t>& out) {
    if (width <= 0 || height <= 0 || rowbytes < width * 4) return false;
    QImage image(pixels, width, height, rowbytes, QImage::Format_RGB32);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(quality);
    if (!writer.write(image)) return false;
    out.assign(bytes.begin(), bytes.end());
    return true;
}
