#include "platform/image_codec.h"

#include <QtCore/QBuffer>
#include <QtCore/QByteArray>
#include <QtGui/QImage>
#include <QtGui/QImageReader>
#include <QtGui/QImageWriter>
#include <QtGui/QTransform>

#include <cmath>

#include "platform/app.h"
#include <cstring>

#include "platform/jpeg_direct.h"
#include "platform/orientation.h"

namespace {

constexpr double kInchesPerMetre = 0.0254;

QByteArray View(const uint8_t* data, size_t size) {
    return QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
}

// A reader over `bytes` that decides by content and falls back on `hint`.
[[nodiscard]] bool Open_Reader(QBuffer& buffer, QImageReader& reader, const std::string& hint) {
    buffer.open(QIODevice::ReadOnly);
    reader.setDevice(&buffer);
    reader.setAutoTransform(true);
    if (reader.canRead()) return true;
    if (hint.empty()) return false;
    buffer.seek(0);
    reader.setDevice(&buffer);
    reader.setFormat(QByteArray::fromStdString(hint));
    return reader.canRead();
}

// The file's orientation that is left for us to apply: 1 when the decoder
// applies one itself (JPEG, and TIFF where its plugin reads the tag), else
// the tag as we read it (0 or 1: none).
int Orientation_Left(QImageReader& reader, const uint8_t* data, size_t size) {
    if (reader.transformation() != QImageIOHandler::TransformationNone) return 1;
    return Image_Orientation(data, size);
}

// Orientations 5 to 8 swap width and height.
bool Turns_Quarter(QImageReader& reader, int left) {
    return (reader.transformation() & QImageIOHandler::TransformationRotate90) || left >= 5;
}

QSize Natural_Size(QImageReader& reader, int left) {
    QSize s = reader.size();
    if (s.isValid() && Turns_Quarter(reader, left)) s.transpose();
    return s;
}

// Applies orientation `o` (2..8): mirror first, then turn clockwise.
QImage Oriented(const QImage& image, int o) {
    bool mirror = o == 2 || o == 7, flip = o == 4 || o == 5;
    int turn = o == 3 ? 180 : o == 5 || o == 6 || o == 7 ? 90 : o == 8 ? 270 : 0;
    QImage out = (mirror || flip) ? image.mirrored(mirror, flip) : image;
    return turn ? out.transformed(QTransform().rotate(turn)) : out;
}

// Below 10 dpi a file states an aspect ratio, not a resolution.
int Dpi(int dots_per_metre) {
    int dpi = int(std::lround(dots_per_metre * kInchesPerMetre));
    return dpi < 10 ? 0 : dpi;
}

// The depth the file stores, as far as the decoder tells it before decoding;
// else that of the decoded picture. GIF holds at most 256 colours, whatever
// format its decoder hands out.
int Source_Depth(const std::string& format, QImage::Format stored, const QImage& image) {
    if (format == "gif") return 8;
    int depth = stored != QImage::Format_Invalid ? QImage::toPixelFormat(stored).bitsPerPixel()
                                                 : image.depth();
    if (depth == 32 && !image.hasAlphaChannel()) depth = 24;
    return depth;
}

// Where the decoder may write: `dst` itself when the decoder hands out our
// layout (blue, green, red, alpha or 255, unpremultiplied) at the size Probe
// gave, since the toolkit's decoders fill a picture of the right size and
// format in place; else nothing, and the decoder makes its own picture.
QImage Decode_Target(uint8_t* dst, int rowbytes, const a_codec_info& info, QImage::Format stored,
                     int left) {
    bool ours = stored == QImage::Format_RGB32 || stored == QImage::Format_ARGB32;
    if (!ours || left > 1) return QImage();
    return QImage(dst, info.width, info.height, rowbytes, stored);
}

// Whether the decoded picture is already `dst` in our layout.
bool Decoded_In_Place(const QImage& image, const uint8_t* dst, int rowbytes) {
    bool ours = image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_ARGB32;
    return ours && image.constBits() == dst && image.bytesPerLine() == rowbytes;
}

// Dots per metre as the toolkit's JPEG reader sets them; a file without a
// density keeps a new picture's default.
int Jpeg_Dots_Per_Metre(int unit, int density) {
    if (unit == 1) return int(100. * density / 2.54);
    if (unit == 2) return int(100. * density);
    return QImage(1, 1, QImage::Format_RGB32).dotsPerMeterX();
}

// A plain colour JPEG the toolkit would decode into our layout unturned, by
// the JPEG library straight into `dst`.
bool Decode_Direct(const uint8_t* data, size_t size, QImageReader& reader, QImage::Format stored, int left,
                   uint8_t* dst, int rowbytes, a_codec_info& info) {
    if (info.format != "jpeg" || stored != QImage::Format_RGB32 || left > 1 ||
        reader.transformation() != QImageIOHandler::TransformationNone)
        return false;
    a_jpeg_density d;
    if (!Jpeg_Decode_Direct(data, size, info.width, info.height, dst, rowbytes, d)) return false;
    info.alpha = false;
    info.depth = 24;
    info.dpi_x = Dpi(Jpeg_Dots_Per_Metre(d.unit, d.x));
    info.dpi_y = Dpi(Jpeg_Dots_Per_Metre(d.unit, d.y));
    return true;
}

}  // namespace

bool Codec_Probe(const uint8_t* data, size_t size, const std::string& hint, a_codec_info& info) {
    a_quiet_stderr quiet;
    if (size == 0 || size > 0x7FFFFFFF) return false;
    QByteArray bytes = View(data, size);
    QBuffer buffer(&bytes);
    QImageReader reader;
    if (!Open_Reader(buffer, reader, hint)) return false;
    QSize s = Natural_Size(reader, Orientation_Left(reader, data, size));
    if (!s.isValid() || s.isEmpty()) return false;
    info = a_codec_info{};
    info.width = s.width();
    info.height = s.height();
    info.format = reader.format().toStdString();
    return true;
}

bool Codec_Decode(const uint8_t* data, size_t size, const std::string& hint, uint8_t* dst,
                  int rowbytes, a_codec_info& info) {
    a_quiet_stderr quiet;
    if (size == 0 || size > 0x7FFFFFFF || rowbytes < info.width * 4) return false;
    QByteArray bytes = View(data, size);
    QBuffer buffer(&bytes);
    QImageReader reader;
    if (!Open_Reader(buffer, reader, hint)) return false;
    info.format = reader.format().toStdString();  // empty once the image is read
    QImage::Format stored = reader.imageFormat();
    int left = Orientation_Left(reader, data, size);
    if (Decode_Direct(data, size, reader, stored, left, dst, rowbytes, info)) return true;
    QImage image = Decode_Target(dst, rowbytes, info, stored, left);
    if (!reader.read(&image)) return false;
    if (left > 1) image = Oriented(image, left);
    if (image.width() != info.width || image.height() != info.height) return false;
    info.alpha = image.hasAlphaChannel();
    info.depth = Source_Depth(info.format, stored, image);
    info.dpi_x = Dpi(image.dotsPerMeterX());
    info.dpi_y = Dpi(image.dotsPerMeterY());
    if (Decoded_In_Place(image, dst, rowbytes)) return true;
    if (image.format() != QImage::Format_ARGB32)
        image = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < info.height; ++y)
        std::memcpy(dst + size_t(y) * rowbytes, image.constScanLine(y), size_t(info.width) * 4);
    return true;
}

bool Codec_Encode(const uint8_t* pixels, int width, int height, int rowbytes,
                  const std::string& format, int quality, int dpi, std::vector<uint8_t>& out,
                  bool alpha) {
    a_quiet_stderr quiet;
    if (width <= 0 || height <= 0 || rowbytes < width * 4 || dpi <= 0) return false;
    QImage view(pixels, width, height, rowbytes, alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    QImage image = alpha ? view.copy() : view.convertToFormat(QImage::Format_RGB888);
    int dots_per_metre = int(std::lround(dpi / kInchesPerMetre));
    image.setDotsPerMeterX(dots_per_metre);
    image.setDotsPerMeterY(dots_per_metre);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, QByteArray::fromStdString(format));
    if (quality >= 0) writer.setQuality(quality);
    if (!writer.write(image)) return false;
    out.assign(bytes.begin(), bytes.end());
    return true;
}

size_t Codec_Memory_Limit() { return size_t(QImageReader::allocationLimit()) << 20; }

bool Codec_Fits(int width, int height) {
    size_t limit = Codec_Memory_Limit();
    return width > 0 && height > 0 && (limit == 0 || size_t(width) * size_t(height) * 4 <= limit);
}

bool Codec_Can_Read(const std::string& format) {
    return QImageReader::supportedImageFormats().contains(QByteArray::fromStdString(format));
}

bool Codec_Can_Write(const std::string& format) {
    return QImageWriter::supportedImageFormats().contains(QByteArray::fromStdString(format));
}
