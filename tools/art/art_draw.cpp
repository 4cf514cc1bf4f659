#include "art_draw.h"

#include <QtGui/QPainter>
#include <QtGui/QPainterPathStroker>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>
#include <numbers>

uint64_t a_art_rng::Next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

double a_art_rng::Unit() { return double(Next() >> 11) * (1.0 / 9007199254740992.0); }

double a_art_rng::Range(double lo, double hi) { return lo + (hi - lo) * Unit(); }

int a_art_rng::Int(int lo, int hi) { return lo + int(Next() % uint64_t(hi - lo + 1)); }

a_art_noise::a_art_noise(uint64_t seed) {
    a_art_rng rng(seed);
    for (float& v : lattice_) v = float(rng.Unit());
}

namespace {

float Smooth(float t) { return t * t * (3.0f - 2.0f * t); }

}  // namespace

float a_art_noise::At(float x, float y) const {
    float fx = std::floor(x), fy = std::floor(y);
    int ix = int(fx) & 255, iy = int(fy) & 255;
    int jx = (ix + 1) & 255, jy = (iy + 1) & 255;
    float tx = Smooth(x - fx), ty = Smooth(y - fy);
    float a = lattice_[iy * 256 + ix], b = lattice_[iy * 256 + jx];
    float c = lattice_[jy * 256 + ix], d = lattice_[jy * 256 + jx];
    float top = a + (b - a) * tx, bottom = c + (d - c) * tx;
    return top + (bottom - top) * ty;
}

float a_art_noise::Tiled(float x, float y, int period) const {
    float fx = std::floor(x), fy = std::floor(y);
    int ix = ((int(fx) % period) + period) % period, iy = ((int(fy) % period) + period) % period;
    int jx = (ix + 1) % period, jy = (iy + 1) % period;
    float tx = Smooth(x - fx), ty = Smooth(y - fy);
    float a = lattice_[iy * 256 + ix], b = lattice_[iy * 256 + jx];
    float c = lattice_[jy * 256 + ix], d = lattice_[jy * 256 + jx];
    float top = a + (b - a) * tx, bottom = c + (d - c) * tx;
    return top + (bottom - top) * ty;
}

float a_art_noise::Tiled_Fbm(float x, float y, int period, int octaves) const {
    float sum = 0, amp = 0.5f, norm = 0;
    for (int i = 0; i < octaves && period <= 256; ++i) {
        sum += amp * Tiled(x, y, period);
        norm += amp;
        x *= 2;
        y *= 2;
        period *= 2;
        amp *= 0.5f;
    }
    return sum / norm;
}

float a_art_noise::Fbm(float x, float y, int octaves) const {
    float sum = 0, amp = 0.5f, norm = 0;
    for (int i = 0; i < octaves; ++i) {
        sum += amp * At(x, y);
        norm += amp;
        // Each octave is offset so that lattice points do not line up.
        x = x * 2.03f + 17.3f;
        y = y * 2.03f + 5.1f;
        amp *= 0.5f;
    }
    return sum / norm;
}

float a_art_noise::Turbulence(float x, float y, int octaves) const {
    float sum = 0, amp = 0.5f, norm = 0;
    for (int i = 0; i < octaves; ++i) {
        sum += amp * std::fabs(At(x, y) * 2.0f - 1.0f);
        norm += amp;
        x = x * 2.03f + 11.7f;
        y = y * 2.03f + 3.9f;
        amp *= 0.5f;
    }
    return sum / norm;
}

bool Art_Parse_Color(const std::string& text, QColor& out) {
    if (text.size() != 7 && text.size() != 9) return false;
    if (text[0] != '#') return false;
    for (size_t i = 1; i < text.size(); ++i)
        if (!std::isxdigit(static_cast<unsigned char>(text[i]))) return false;
    uint32_t v = uint32_t(std::stoul(text.substr(1), nullptr, 16));
    if (text.size() == 7) v |= 0xFF000000u;
    out = QColor::fromRgba(v);
    return true;
}

QColor Art_Mix(const QColor& a, const QColor& b, double t) {
    t = std::clamp(t, 0.0, 1.0);
    auto mix = [t](int x, int y) { return int(std::lround(x + (y - x) * t)); };
    return QColor(mix(a.red(), b.red()), mix(a.green(), b.green()), mix(a.blue(), b.blue()),
                  mix(a.alpha(), b.alpha()));
}

QColor Art_Ramp(const std::vector<QColor>& stops, double t) {
    if (stops.empty()) return Qt::white;
    if (stops.size() == 1) return stops[0];
    t = std::clamp(t, 0.0, 1.0) * double(stops.size() - 1);
    size_t i = std::min(size_t(t), stops.size() - 2);
    return Art_Mix(stops[i], stops[i + 1], t - double(i));
}

namespace {

a_art_picture Picture_Of(const QImage& image, int depth, a_art_codec codec) {
    a_art_picture p;
    p.width = image.width();
    p.height = image.height();
    p.depth = depth;
    p.codec = codec;
    size_t row = size_t(p.width) * size_t(depth / 8);
    p.pixels.resize(row * size_t(p.height));
    for (int y = 0; y < p.height; ++y)
        std::memcpy(p.pixels.data() + row * size_t(y), image.constScanLine(y), row);
    return p;
}

}  // namespace

a_art_picture Art_Picture_Opaque(const QImage& image, a_art_codec codec) {
    // RGB32 keeps 0xFF in the pad byte, so the stored pixels are fully opaque.
    return Picture_Of(image.convertToFormat(QImage::Format_RGB32), 32, codec);
}

a_art_picture Art_Picture_Alpha(const QImage& image, a_art_codec codec) {
    a_art_picture p = Picture_Of(image.convertToFormat(QImage::Format_ARGB32), 32, codec);
    p.transparent = true;
    return p;
}

a_art_picture Art_Picture_Gray(const QImage& image, a_art_codec codec) {
    QImage gray;
    if (image.hasAlphaChannel()) {
        gray = QImage(image.size(), QImage::Format_Grayscale8);
        QImage argb = image.convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < image.height(); ++y) {
            const QRgb* src = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
            uchar* dst = gray.scanLine(y);
            for (int x = 0; x < image.width(); ++x) dst[x] = uchar(qAlpha(src[x]));
        }
    } else {
        gray = image.convertToFormat(QImage::Format_Grayscale8);
    }
    a_art_picture p = Picture_Of(gray, 8, codec);
    p.gray = true;
    return p;
}

QImage Art_Picture_Image(const a_art_picture& picture) {
    if (picture.depth == 8) {
        QImage image(picture.width, picture.height, QImage::Format_Grayscale8);
        for (int y = 0; y < picture.height; ++y)
            std::memcpy(image.scanLine(y), picture.pixels.data() + size_t(y) * picture.width,
                        size_t(picture.width));
        // Coverage: 255 is full ink, shown dark on white.
        image.invertPixels();
        return image;
    }
    QImage image(picture.width, picture.height,
                 picture.transparent ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    size_t row = size_t(picture.width) * 4;
    for (int y = 0; y < picture.height; ++y)
        std::memcpy(image.scanLine(y), picture.pixels.data() + row * size_t(y), row);
    return image;
}

QImage Art_Fit(const QImage& image, int box_w, int box_h) {
    double s = std::min(double(box_w) / image.width(), double(box_h) / image.height());
    int w = std::max(1, int(std::lround(image.width() * s)));
    int h = std::max(1, int(std::lround(image.height() * s)));
    return image.scaled(w, h, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

QPainterPath Art_Star_Path(double cx, double cy, double r, double inner, int points,
                           double rotation_deg) {
    QPainterPath path;
    for (int i = 0; i < points * 2; ++i) {
        double a = (rotation_deg + 180.0 * i / points) * std::numbers::pi / 180.0;
        double rr = (i % 2 == 0) ? r : r * inner;
        QPointF p(cx + rr * std::cos(a), cy + rr * std::sin(a));
        if (i == 0) path.moveTo(p);
        else path.lineTo(p);
    }
    path.closeSubpath();
    return path;
}

QPainterPath Art_Heart_Path(double cx, double cy, double r) {
    QPainterPath path;
    path.moveTo(cx, cy + r * 0.95);
    path.cubicTo(cx - r * 0.2, cy + r * 0.65, cx - r * 1.05, cy + r * 0.15, cx - r * 0.95,
                 cy - r * 0.35);
    path.cubicTo(cx - r * 0.85, cy - r * 0.95, cx - r * 0.1, cy - r * 1.0, cx, cy - r * 0.45);
    path.cubicTo(cx + r * 0.1, cy - r * 1.0, cx + r * 0.85, cy - r * 0.95, cx + r * 0.95,
                 cy - r * 0.35);
    path.cubicTo(cx + r * 1.05, cy + r * 0.15, cx + r * 0.2, cy + r * 0.65, cx, cy + r * 0.95);
    path.closeSubpath();
    return path;
}

QPainterPath Art_Flower_Path(double cx, double cy, double r, int petals, double petal_w) {
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    for (int i = 0; i < petals; ++i) {
        QPainterPath petal;
        petal.addEllipse(QPointF(0, -r * 0.5), r * petal_w, r * 0.5);
        QTransform t;
        t.translate(cx, cy);
        t.rotate(360.0 * i / petals);
        path.addPath(t.map(petal));
    }
    return path.simplified();
}

QPainterPath Art_Leaf_Path(double cx, double cy, double r, double angle_deg) {
    QPainterPath leaf;
    leaf.moveTo(0, -r);
    leaf.cubicTo(r * 0.7, -r * 0.5, r * 0.6, r * 0.5, 0, r * 0.8);
    leaf.cubicTo(-r * 0.6, r * 0.5, -r * 0.7, -r * 0.5, 0, -r);
    leaf.closeSubpath();
    QTransform t;
    t.translate(cx, cy);
    t.rotate(angle_deg);
    return t.map(leaf);
}

QPainterPath Art_Snowflake_Path(double cx, double cy, double r) {
    QPainterPath lines;
    for (int i = 0; i < 6; ++i) {
        double a = i * std::numbers::pi / 3.0;
        QPointF dir(std::cos(a), std::sin(a));
        QPointF c(cx, cy);
        lines.moveTo(c);
        lines.lineTo(c + dir * r);
        for (double f : {0.45, 0.7}) {
            QPointF base = c + dir * (r * f);
            double len = r * (f < 0.5 ? 0.3 : 0.22);
            for (double side : {-1.0, 1.0}) {
                double b = a + side * std::numbers::pi / 4.0;
                lines.moveTo(base);
                lines.lineTo(base + QPointF(std::cos(b), std::sin(b)) * len);
            }
        }
    }
    QPainterPathStroker stroker;
    stroker.setWidth(std::max(1.0, r * 0.09));
    stroker.setCapStyle(Qt::RoundCap);
    stroker.setJoinStyle(Qt::RoundJoin);
    QPainterPath out = stroker.createStroke(lines);
    out.setFillRule(Qt::WindingFill);
    return out;
}

namespace {

int Clamp_Byte(float v) { return v <= 0 ? 0 : v >= 255 ? 255 : int(v + 0.5f); }

}  // namespace

QRgb Art_Mix_Rgb(QRgb a, QRgb b, float t) {
    t = std::clamp(t, 0.0f, 1.0f);
    auto mix = [t](int x, int y) { return Clamp_Byte(float(x) + float(y - x) * t); };
    return qRgb(mix(qRed(a), qRed(b)), mix(qGreen(a), qGreen(b)), mix(qBlue(a), qBlue(b)));
}

QRgb Art_Shade_Rgb(QRgb c, float f) {
    return qRgb(Clamp_Byte(float(qRed(c)) * f), Clamp_Byte(float(qGreen(c)) * f),
                Clamp_Byte(float(qBlue(c)) * f));
}

QRgb Art_Ramp_Rgb(const std::vector<QRgb>& stops, float t) {
    if (stops.size() == 1) return stops[0];
    t = std::clamp(t, 0.0f, 1.0f) * float(stops.size() - 1);
    size_t i = std::min(size_t(t), stops.size() - 2);
    return Art_Mix_Rgb(stops[i], stops[i + 1], t - float(i));
}

std::vector<QRgb> Art_Rgbs(const std::vector<QColor>& colors) {
    std::vector<QRgb> out;
    for (const QColor& c : colors) out.push_back(c.rgb());
    if (out.empty()) out.push_back(qRgb(255, 255, 255));
    return out;
}

float a_art_field::At(int x, int y) const {
    int i = x / step_, j = y / step_;
    float tx = float(x - i * step_) / float(step_), ty = float(y - j * step_) / float(step_);
    const float* row0 = &grid_[size_t(j * w_ + i)];
    const float* row1 = row0 + w_;
    float top = row0[0] + (row0[1] - row0[0]) * tx;
    float bottom = row1[0] + (row1[1] - row1[0]) * tx;
    return top + (bottom - top) * ty;
}
