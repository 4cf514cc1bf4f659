#include "platform/png.h"

#include <QBuffer>
#include <QImage>
#include <QImageWriter>

#include "platform/app.h"
#include "platform/files.h"
#include "platform/png_writer.h"

bool Png_Write(const std::string& path, const a_port_bits& bits, std::string* error,
               a_png_effort effort) {
    int w = Rect_Width(bits.bounds), h = Rect_Height(bits.bounds);
    if (bits.depth != 32 || !bits.base || w <= 0 || h <= 0 || bits.rowbytes < 4 * w) {
        if (error) *error = "only 32-bit pictures with pixels can be written";
        return false;
    }
    if (effort == a_png_effort::FAST)
        return Png_Save_Fast(path, a_png_rows{bits.base, w, h, size_t(bits.rowbytes), false}, error);
    QImage view(bits.base, w, h, bits.rowbytes, QImage::Format_RGB32);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    if (!writer.write(view)) {
        if (error) *error = "the picture could not be encoded";
        return false;
    }
    return File_SaveAtomic(path, bytes.constData(), size_t(bytes.size()), error);
}

bool Png_Read(const std::string& path, a_png_image& image, std::string* error) {
    image = a_png_image{};
    QImage in;
    a_quiet_stderr quiet;
    if (!in.load(QString::fromStdString(path), "PNG")) {
        if (error) *error = "not a readable PNG file: " + path;
        return false;
    }
    QImage rgb = in.convertToFormat(QImage::Format_RGB32);
    image.width = rgb.width();
    image.height = rgb.height();
    image.pixels.resize(size_t(image.width) * size_t(image.height));
    for (int y = 0; y < image.height; ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(rgb.constScanLine(y));
        for (int x = 0; x < image.width; ++x)
            image.pixels[size_t(y) * size_t(image.width) + size_t(x)] = row[x] & 0xFFFFFF;
    }
    return true;
}
