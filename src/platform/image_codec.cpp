#include "platform/image_codec.h"

#include <QtCore/QBuffer>
#include <QtCore/QByteArray>
#include <QtGui/QImage>
#include <QtGui/QImageReader>
#include <QtGui/QImageWriter>
#include <QtGui/QTransform>

#include <algorithm>
#include <cmath>
#include <vector>

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

// The turn and mirror the toolkit applies for a file's orientation, as it does.
QImage Transformed(const QImage& image, QImageIOHandler::Transformations t) {
    if (t == QImageIOHandler::TransformationRotate270) return image.transformed(QTransform().rotate(270));
    const bool mirror = t & QImageIOHandler::TransformationMirror, flip = t & QImageIOHandler::TransformationFlip;
    QImage out = (mirror || flip) ? image.mirrored(mirror, flip) : image;
    return (t & QImageIOHandler::TransformationRotate90) ? out.transformed(QTransform().rotate(90)) : out;
}

// The eighths of its stored size at which the JPEG library makes a picture
// of `w` x `h` (after the turn), or 0.
int Eighths(const a_codec_info& info) {
    if (info.natural_width <= 0) return 8;
    for (int m = 8; m >= 1; --m)
        if ((int64_t(info.natural_width) * m + 7) / 8 == info.width &&
            (int64_t(info.natural_height) * m + 7) / 8 == info.height)
            return m;
    return 0;
}

// A plain colour JPEG, by the JPEG library at the eighths chosen, straight
// into `dst` when it needs no turn, else into a picture of its own that is
// turned as the toolkit would turn it.
bool Decode_Direct(const uint8_t* data, size_t size, QImageReader& reader, QImage::Format stored, int left,
                   uint8_t* dst, int rowbytes, a_codec_info& info) {
    const int eighths = Eighths(info);
    if (info.format != "jpeg" || stored != QImage::Format_RGB32 || left > 1 || eighths == 0) return false;
    const QImageIOHandler::Transformations t = reader.transformation();
    a_jpeg_density d;
    if (t == QImageIOHandler::TransformationNone) {
        if (!Jpeg_Decode_Direct(data, size, info.width, info.height, dst, rowbytes, d, eighths)) return false;
    } else {
        const bool quarter = t & QImageIOHandler::TransformationRotate90;
        QImage turned(quarter ? info.height : info.width, quarter ? info.width : info.height, stored);
        if (turned.isNull() || !Jpeg_Decode_Direct(data, size, turned.width(), turned.height(), turned.bits(),
                                                   int(turned.bytesPerLine()), d, eighths))
            return false;
        turned = Transformed(turned, t);
        if (turned.width() != info.width || turned.height() != info.height) return false;
        for (int y = 0; y < info.height; ++y)
            std::memcpy(dst + size_t(y) * rowbytes, turned.constScanLine(y), size_t(info.width) * 4);
    }
    info.alpha = false;
    info.depth = 24;
    info.incomplete = d.incomplete;
    info.dpi_x = Dpi(Jpeg_Dots_Per_Metre(d.unit, d.x));
    info.dpi_y = Dpi(Jpeg_Dots_Per_Metre(d.unit, d.y));
    return true;
}

int64_t Ceil_Eighths(int side, int m) { return (int64_t(side) * m + 7) / 8; }

// `src` (32-bit, unpremultiplied) box-averaged onto `w` x `h` rows at `dst`:
// each source pixel counts for the one result pixel it falls in. No second
// whole picture is made on the way.
void Box_Scale(const QImage& src, uint8_t* dst, int rowbytes, int w, int h) {
    const int sw = src.width(), sh = src.height();
    std::vector<int> to(static_cast<size_t>(sw));
    std::vector<uint64_t> count(static_cast<size_t>(w)), sums(static_cast<size_t>(w) * 4);
    for (int x = 0; x < sw; ++x) ++count[size_t(to[size_t(x)] = int(int64_t(x) * w / sw))];
    int y = 0;
    for (int dy = 0; dy < h; ++dy) {
        std::fill(sums.begin(), sums.end(), 0);
        uint64_t rows = 0;
        for (; y < sh && int64_t(y) * h / sh == dy; ++y, ++rows) {
            const uint8_t* p = src.constScanLine(y);
            for (int x = 0; x < sw; ++x)
                for (int k = 0; k < 4; ++k) sums[size_t(to[size_t(x)]) * 4 + size_t(k)] += p[x * 4 + k];
        }
        uint8_t* out = dst + size_t(dy) * size_t(rowbytes);
        for (size_t d = 0; d < size_t(w); ++d) {
            const uint64_t n = count[d] * rows;
            for (size_t k = 0; k < 4; ++k) out[d * 4 + k] = uint8_t((sums[d * 4 + k] + n / 2) / n);
        }
    }
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
    info.width = info.natural_width = s.width();
    info.height = info.natural_height = s.height();
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
    const bool scaled = info.natural_width > 0 &&
                        (info.width != info.natural_width || info.height != info.natural_height);
    QImage image = scaled ? QImage() : Decode_Target(dst, rowbytes, info, stored, left);
    // A JPEG's decoder scales by eighths as it decodes; others are decoded
    // whole and box-averaged into `dst` below.
    if (scaled && info.format == "jpeg") {
        QSize want(info.width, info.height);  // as stored: the toolkit scales before it turns
        if (Turns_Quarter(reader, left)) want.transpose();
        reader.setScaledSize(want);
    }
    if (!reader.read(&image)) return false;
    if (left > 1) image = Oriented(image, left);
    if (scaled && (image.width() != info.width || image.height() != info.height)) {
        if (image.width() != info.natural_width || image.height() != info.natural_height) return false;
        // In place where the toolkit can: a second whole picture is what this avoids.
        if (image.format() != QImage::Format_ARGB32 && image.format() != QImage::Format_RGB32)
            image.convertTo(QImage::Format_ARGB32);
        Box_Scale(image, dst, rowbytes, info.width, info.height);
        info.alpha = image.hasAlphaChannel();
        info.depth = Source_Depth(info.format, stored, image);
        info.dpi_x = Dpi(image.dotsPerMeterX());
        info.dpi_y = Dpi(image.dotsPerMeterY());
        return true;
    }
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

void Codec_Fit(int w, int h, int max_w, int max_h, int64_t max_pixels, int& fw, int& fh) {
    fw = w;
    fh = h;
    if (w <= 0 || h <= 0) return;
    double f = std::min({1.0, double(max_w) / w, double(max_h) / h,
                         std::sqrt(double(max_pixels) / (double(w) * double(h)))});
    if (f >= 1.0) return;
    fw = std::max(1, int(std::floor(w * f)));
    fh = std::max(1, int(std::floor(h * f)));
}

void Codec_Fit_Decoded(const a_codec_info& info, int max_w, int max_h, int64_t max_pixels, int& fw, int& fh) {
    const int w = info.natural_width, h = info.natural_height;
    Codec_Fit(w, h, max_w, max_h, max_pixels, fw, fh);
    if (info.format != "jpeg" || (fw == w && fh == h)) return;
    for (int m = 7; m >= 1; --m) {
        int64_t ew = Ceil_Eighths(w, m), eh = Ceil_Eighths(h, m);
        if (ew <= max_w && eh <= max_h && ew * eh <= max_pixels) {
            fw = int(ew);
            fh = int(eh);
            return;
        }
    }
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
