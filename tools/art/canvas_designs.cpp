#include "canvas_designs.h"

#include <QtGui/QLinearGradient>
#include <QtGui/QPainter>
#include <QtGui/QRadialGradient>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

#include "art_draw.h"
#include "art_glyphs.h"

namespace {

constexpr double PI = std::numbers::pi;

template <typename F>
void For_Pixels(QImage& image, F f) {
    for (int y = 0; y < image.height(); ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) row[x] = f(x, y);
    }
}

QImage Blank(int w, int h, const QColor& c) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(c.rgb());
    return image;
}

uint64_t Seed(const a_art_recipe& r) { return uint64_t(r.Int("seed", 1)) * 7919u + 13u; }

QRgb Rgb(const QColor& c) { return c.rgb(); }

// Multiplies a colour by a brightness factor around 1.
QRgb Shade(const QColor& c, double f) { return Art_Shade_Rgb(c.rgb(), float(f)); }

void Linear_Fill(QImage& image, const std::vector<QColor>& colors, double angle_deg) {
    double a = angle_deg * PI / 180.0;
    double w = image.width(), h = image.height();
    QPointF dir(std::cos(a), std::sin(a));
    double half = (std::fabs(dir.x()) * w + std::fabs(dir.y()) * h) / 2;
    QPointF c(w / 2, h / 2);
    QLinearGradient g(c - dir * half, c + dir * half);
    for (size_t i = 0; i < colors.size(); ++i)
        g.setColorAt(colors.size() == 1 ? 0 : double(i) / double(colors.size() - 1), colors[i]);
    QPainter p(&image);
    p.fillRect(image.rect(), g);
}

void Vignette(QImage& image, double strength) {
    QPainter p(&image);
    double w = image.width(), h = image.height();
    QRadialGradient g(QPointF(w / 2, h / 2), std::hypot(w, h) / 2);
    g.setColorAt(0.55, QColor(0, 0, 0, 0));
    g.setColorAt(1.0, QColor(0, 0, 0, int(255 * strength)));
    p.fillRect(image.rect(), g);
}

// Fine film grain so that large smooth areas print without banding.
void Grain(QImage& image, uint64_t seed, int amount) {
    a_art_rng rng(seed);
    for (int y = 0; y < image.height(); ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            int d = int(rng.Next() % uint64_t(2 * amount + 1)) - amount;
            QRgb v = row[x];
            row[x] = qRgb(std::clamp(qRed(v) + d, 0, 255), std::clamp(qGreen(v) + d, 0, 255),
                          std::clamp(qBlue(v) + d, 0, 255));
        }
    }
}

QColor Pick(a_art_rng& rng, const std::vector<QColor>& colors) {
    return colors[size_t(rng.Int(0, int(colors.size()) - 1))];
}

// Number of scattered items for an area, `per` per 640 x 640 pixels.
int Count_For(int w, int h, double per) {
    return std::max(1, int(std::lround(per * double(w) * h / (640.0 * 640.0))));
}

// ---- smooth colour ----

QImage Design_White(int w, int h, const a_art_recipe&) { return Blank(w, h, Qt::white); }

QImage Design_Gradient(int w, int h, const a_art_recipe& r) {
    QImage image = Blank(w, h, Qt::white);
    Linear_Fill(image, r.Colors("colors"), r.Real("angle", 90));
    Grain(image, Seed(r), 2);
    return image;
}

QImage Design_Radial(int w, int h, const a_art_recipe& r) {
    QImage image = Blank(w, h, Qt::white);
    std::vector<QColor> colors = r.Colors("colors");
    QPointF c(w * r.Real("cx", 0.5), h * r.Real("cy", 0.5));
    QRadialGradient g(c, std::hypot(w, h) * r.Real("spread", 0.6));
    for (size_t i = 0; i < colors.size(); ++i)
        g.setColorAt(colors.size() == 1 ? 0 : double(i) / double(colors.size() - 1), colors[i]);
    QPainter p(&image);
    p.fillRect(image.rect(), g);
    p.end();
    Grain(image, Seed(r), 2);
    return image;
}

QImage Design_Bokeh(int w, int h, const a_art_recipe& r) {
    QImage image = Blank(w, h, Qt::black);
    Linear_Fill(image, r.Colors("background"), r.Real("angle", 100));
    std::vector<QColor> lights = r.Colors("lights");
    a_art_rng rng(Seed(r));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setCompositionMode(QPainter::CompositionMode_Screen);
    p.setPen(Qt::NoPen);
    // Far lights small and many, near lights large, faint and few.
    for (int layer = 0; layer < 3; ++layer) {
        int n = Count_For(w, h, layer == 0 ? 60 : layer == 1 ? 25 : 8);
        for (int i = 0; i < n; ++i) {
            double rad = layer == 0 ? rng.Range(6, 18) : layer == 1 ? rng.Range(20, 45)
                                                                    : rng.Range(50, 95);
            QPointF c(rng.Range(-rad, w + rad), rng.Range(-rad, h + rad));
            QColor col = lights[size_t(rng.Int(0, int(lights.size()) - 1))];
            int alpha = layer == 0 ? rng.Int(120, 230) : layer == 1 ? rng.Int(70, 150)
                                                                    : rng.Int(35, 80);
            QRadialGradient g(c, rad);
            QColor inner = col, rim = col, edge = col;
            inner.setAlpha(int(alpha * 0.75));
            rim.setAlpha(alpha);
            edge.setAlpha(0);
            g.setColorAt(0, inner);
            g.setColorAt(0.86, rim);
            g.setColorAt(1, edge);
            p.setBrush(g);
            p.drawEllipse(c, rad, rad);
        }
    }
    p.end();
    Grain(image, Seed(r) + 1, 3);
    return image;
}

// ---- textures ----

QImage Design_Paper(int w, int h, const a_art_recipe& r) {
    QRgb base = r.Color("color").rgb();
    float mottle = float(r.Real("mottle", 0.06));
    a_art_noise noise(Seed(r));
    a_art_rng rng(Seed(r) + 5);
    a_art_field cloud(w, h, 4, [&](float x, float y) { return noise.Fbm(x / 90, y / 90, 4); });
    QImage image(w, h, QImage::Format_RGB32);
    For_Pixels(image, [&](int x, int y) {
        float fine = noise.At(float(x) * 0.9f + 300, float(y) * 0.9f) - 0.5f;
        float f = 1.0f + mottle * (cloud.At(x, y) - 0.5f) + 0.05f * fine +
                  (float(rng.Unit()) - 0.5f) * 0.035f;
        return Art_Shade_Rgb(base, f);
    });
    // Fibres: short, faint, slightly curved strokes.
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    int n = Count_For(w, h, r.Real("fibres", 400));
    for (int i = 0; i < n; ++i) {
        QPointF a(rng.Range(0, w), rng.Range(0, h));
        double ang = rng.Range(0, 2 * PI), len = rng.Range(6, 22);
        QPointF b = a + QPointF(std::cos(ang), std::sin(ang)) * len;
        QPointF m = (a + b) / 2 + QPointF(rng.Range(-4, 4), rng.Range(-4, 4));
        QPainterPath path(a);
        path.quadTo(m, b);
        bool dark = rng.Unit() < 0.5;
        p.setPen(QPen(dark ? QColor(0, 0, 0, 14) : QColor(255, 255, 255, 40), rng.Range(0.6, 1.3)));
        p.drawPath(path);
    }
    return image;
}

QImage Design_Linen(int w, int h, const a_art_recipe& r) {
    QRgb base = r.Color("color").rgb();
    float period = float(r.Real("period", 3.2));
    a_art_noise noise(Seed(r));
    a_art_field cloud(w, h, 4, [&](float x, float y) { return noise.Fbm(x / 120 + 9, y / 120, 3); });
    const float k = float(2 * PI) / period;
    QImage image(w, h, QImage::Format_RGB32);
    For_Pixels(image, [&](int x, int y) {
        // Slubs: threads thicken and thin along their length.
        float sx = noise.At(float(x) / 40.0f, float(y) / 3.0f + 50);
        float sy = noise.At(float(x) / 3.0f + 80, float(y) / 40.0f);
        float warp = std::sin((float(x) + sy * 2.5f) * k);
        float weft = std::sin((float(y) + sx * 2.5f) * k);
        float t = 0.5f * warp * (0.6f + 0.4f * sy) + 0.5f * weft * (0.6f + 0.4f * sx);
        return Art_Shade_Rgb(base, 1.0f + 0.07f * t + 0.06f * (cloud.At(x, y) - 0.5f));
    });
    return image;
}

QImage Design_Wood(int w, int h, const a_art_recipe& r) {
    std::vector<QRgb> tones = Art_Rgbs(r.Colors("colors"));
    float plank = float(r.Real("plank", 128));
    a_art_noise noise(Seed(r));
    QImage image(w, h, QImage::Format_RGB32);
    For_Pixels(image, [&](int x, int y) {
        int row = int(float(y) / plank);
        float off = float(row) * 913.0f;
        float n = noise.Fbm((float(x) + off) / 260.0f, float(y) / 32.0f, 3);
        float rings = std::sin((float(y) + n * 60.0f) * float(2 * PI / 22.0) + float(row) * 1.7f);
        float grain = noise.At((float(x) + off) / 6.0f, float(y) * 1.6f) - 0.5f;
        float t = 0.5f + 0.3f * rings * n + 0.25f * grain + 0.25f * (n - 0.5f);
        float edge = std::fmod(float(y), plank);
        float groove = (edge < 1.5f || edge > plank - 1.0f) ? 0.7f : 1.0f;
        return Art_Shade_Rgb(Art_Ramp_Rgb(tones, t), groove);
    });
    return image;
}

QImage Design_Marble(int w, int h, const a_art_recipe& r) {
    QRgb base = r.Color("color").rgb(), vein = r.Color("vein").rgb();
    double angle = r.Real("angle", 35) * PI / 180.0;
    a_art_noise noise(Seed(r)), second(Seed(r) + 17);
    float ca = float(std::cos(angle)), sa = float(std::sin(angle));
    float cb = float(std::cos(angle + 1.1)), sb = float(std::sin(angle + 1.1));
    // Smooth warping makes the veins flow; a little turbulence roughens them.
    a_art_field turb(w, h, 2, [&](float x, float y) {
        return noise.Fbm(x / 300, y / 300, 5) + 0.2f * noise.Turbulence(x / 90 + 7, y / 90, 4);
    });
    a_art_field turb2(w, h, 2, [&](float x, float y) { return second.Fbm(x / 140, y / 140, 5); });
    a_art_field cloud(w, h, 4, [&](float x, float y) { return noise.Fbm(x / 200 + 40, y / 200, 4); });
    auto sharp = [](float s, int power) {
        float v = 1.0f - std::fabs(s), out = 1.0f;
        for (int i = 0; i < power; ++i) out *= v;
        return out;
    };
    QImage image(w, h, QImage::Format_RGB32);
    For_Pixels(image, [&](int x, int y) {
        // Long veins flowing along the angle, bent by turbulence, with a soft
        // halo; finer crossing veins; and faint clouding in the stone.
        float u = float(x) * ca + float(y) * sa, u2 = float(x) * cb + float(y) * sb;
        float s1 = std::sin(u / 95.0f + turb.At(x, y) * 9.0f);
        float s2 = std::sin(u2 / 43.0f + turb2.At(x, y) * 9.0f);
        float mix = sharp(s1, 48) * 0.9f + sharp(s1, 6) * 0.18f + sharp(s2, 64) * 0.45f;
        float c = cloud.At(x, y) - 0.5f;
        return Art_Shade_Rgb(Art_Mix_Rgb(base, vein, std::min(1.0f, mix + 0.12f * c)),
                             1.0f + 0.06f * c);
    });
    return image;
}

QImage Design_Metal(int w, int h, const a_art_recipe& r) {
    QRgb base = r.Color("color").rgb();
    a_art_noise noise(Seed(r));
    QImage image(w, h, QImage::Format_RGB32);
    std::vector<float> sheen(static_cast<size_t>(w));
    for (int x = 0; x < w; ++x)
        sheen[size_t(x)] = float(0.1 * std::cos((x - w * 0.35) / (w * 0.5) * PI));
    For_Pixels(image, [&](int x, int y) {
        float streak = noise.Fbm(float(x) / 300.0f, float(y) * 0.7f, 3) - 0.5f;
        return Art_Shade_Rgb(base, 1.0f + 0.18f * streak + sheen[size_t(x)]);
    });
    return image;
}

QImage Design_Watercolor(int w, int h, const a_art_recipe& r) {
    std::vector<QRgb> colors = Art_Rgbs(r.Colors("colors"));
    a_art_noise noise(Seed(r)), edge(Seed(r) + 9);
    a_art_field wash(w, h, 4, [&](float x, float y) { return noise.Fbm(x / 260, y / 260, 5); });
    a_art_field pool(w, h, 2, [&](float x, float y) { return edge.Turbulence(x / 90, y / 90, 4); });
    QImage image(w, h, QImage::Format_RGB32);
    For_Pixels(image, [&](int x, int y) {
        QRgb c = Art_Ramp_Rgb(colors, std::clamp((wash.At(x, y) - 0.3f) * 2.5f, 0.0f, 1.0f));
        // Pigment gathers at the edges of each wash.
        float p = 1.0f - pool.At(x, y), p2 = p * p;
        float dark = 1.0f - 0.12f * p2 * p2 * p2;
        float paper = 1.0f + 0.03f * (noise.At(float(x) * 0.8f, float(y) * 0.8f) - 0.5f);
        return Art_Shade_Rgb(c, dark * paper);
    });
    return image;
}

// ---- sky, sea and space ----

void Stars(QImage& image, a_art_rng& rng, double per, double max_r) {
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    int n = Count_For(image.width(), image.height(), per);
    for (int i = 0; i < n; ++i) {
        QPointF c(rng.Range(0, image.width()), rng.Range(0, image.height()));
        double b = std::pow(rng.Unit(), 3.0);
        double rad = 0.4 + b * max_r;
        QColor col = Art_Mix(QColor(255, 244, 220), QColor(200, 220, 255), rng.Unit());
        col.setAlpha(int(90 + 165 * b));
        p.setBrush(col);
        p.drawEllipse(c, rad, rad);
        if (b > 0.55) {
            QRadialGradient g(c, rad * 6);
            QColor glow = col;
            glow.setAlpha(70);
            g.setColorAt(0, glow);
            g.setColorAt(1, QColor(0, 0, 0, 0));
            p.setBrush(g);
            p.drawEllipse(c, rad * 6, rad * 6);
            p.setBrush(QColor(255, 255, 255, 120));
            p.drawRect(QRectF(c.x() - rad * 5, c.y() - 0.4, rad * 10, 0.8));
            p.drawRect(QRectF(c.x() - 0.4, c.y() - rad * 5, 0.8, rad * 10));
        }
    }
}

QImage Design_Starfield(int w, int h, const a_art_recipe& r) {
    std::vector<QRgb> sky = Art_Rgbs(r.Colors("sky")), nebula = Art_Rgbs(r.Colors("nebula"));
    a_art_noise noise(Seed(r));
    a_art_field cloud(w, h, 2, [&](float x, float y) { return noise.Fbm(x / 230, y / 230, 6); });
    a_art_field hue(w, h, 8, [&](float x, float y) { return noise.Fbm(x / 400 + 70, y / 400, 3); });
    QImage image(w, h, QImage::Format_RGB32);
    For_Pixels(image, [&](int x, int y) {
        QRgb base = Art_Ramp_Rgb(sky, float(y) / float(h));
        float c = std::clamp((cloud.At(x, y) - 0.45f) * 3.0f, 0.0f, 1.0f);
        return Art_Mix_Rgb(base, Art_Ramp_Rgb(nebula, hue.At(x, y)), c * 0.85f);
    });
    a_art_rng rng(Seed(r) + 3);
    Stars(image, rng, r.Real("stars", 700), 2.2);
    return image;
}

QImage Design_Aurora(int w, int h, const a_art_recipe& r) {
    std::vector<QRgb> sky = Art_Rgbs(r.Colors("sky")), glow = Art_Rgbs(r.Colors("glow"));
    a_art_noise noise(Seed(r));
    std::vector<float> centre(static_cast<size_t>(w));
    for (int x = 0; x < w; ++x)
        centre[size_t(x)] = float(h * (0.42 + 0.22 * (noise.Fbm(x / 500.0f, 3.0f, 3) - 0.5)));
    QImage image(w, h, QImage::Format_RGB32);
    For_Pixels(image, [&](int x, int y) {
        QRgb base = Art_Ramp_Rgb(sky, float(y) / float(h));
        float d = (float(y) - centre[size_t(x)]) / (float(h) * 0.22f);
        float band = d < 0 ? std::exp(-d * d * 1.2f) : std::exp(-d * d * 9.0f);
        if (band < 0.004f) return base;
        float curtain = 0.45f + 0.55f * noise.Fbm(float(x) / 14.0f, float(y) / 400.0f, 3);
        float a = std::clamp(band * curtain * 1.2f, 0.0f, 1.0f);
        return Art_Mix_Rgb(base, Art_Ramp_Rgb(glow, std::clamp(0.5f - d * 0.5f, 0.0f, 1.0f)), a);
    });
    a_art_rng rng(Seed(r) + 4);
    Stars(image, rng, 260, 1.4);
    return image;
}

QImage Design_Clouds(int w, int h, const a_art_recipe& r) {
    std::vector<QRgb> sky = Art_Rgbs(r.Colors("sky"));
    QRgb cloud = r.Color("cloud", Qt::white).rgb();
    a_art_noise noise(Seed(r));
    float cover = float(r.Real("cover", 0.5));
    a_art_field field(w, h, 2, [&](float x, float y) { return noise.Fbm(x / 260, y / 150, 6); });
    QImage image(w, h, QImage::Format_RGB32);
    For_Pixels(image, [&](int x, int y) {
        QRgb base = Art_Ramp_Rgb(sky, float(y) / float(h));
        float n = field.At(x, y);
        float a = std::clamp((n - (1.0f - cover) * 0.75f) * 3.2f, 0.0f, 1.0f);
        float shade = 1.0f - 0.18f * std::clamp((0.75f - n) * 2.0f, 0.0f, 1.0f);
        return Art_Mix_Rgb(base, Art_Shade_Rgb(cloud, shade), a);
    });
    return image;
}

QImage Design_Waves(int w, int h, const a_art_recipe& r) {
    std::vector<QColor> colors = r.Colors("colors");
    QImage image = Blank(w, h, colors.front());
    a_art_rng rng(Seed(r));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    int n = int(colors.size());
    for (int i = 1; i < n; ++i) {
        double base = h * (double(i) / n) * 0.85 + h * 0.1;
        double amp = rng.Range(14, 30), len = rng.Range(220, 420), phase = rng.Range(0, 2 * PI);
        double amp2 = amp * 0.35, len2 = len * 0.43;
        QPainterPath path(QPointF(0, h));
        for (int x = 0; x <= w; x += 4)
            path.lineTo(x, base + amp * std::sin(x / len * 2 * PI + phase) +
                               amp2 * std::sin(x / len2 * 2 * PI + phase * 1.7));
        path.lineTo(w, h);
        path.closeSubpath();
        QLinearGradient g(0, base - amp, 0, h);
        g.setColorAt(0, colors[size_t(i)].lighter(112));
        g.setColorAt(0.35, colors[size_t(i)]);
        p.setBrush(g);
        p.drawPath(path);
        // A thin foam line along the crest.
        p.setPen(QPen(QColor(255, 255, 255, 60), 2));
        p.setBrush(Qt::NoBrush);
        p.drawPath(path);
        p.setPen(Qt::NoPen);
    }
    p.end();
    Grain(image, Seed(r) + 2, 2);
    return image;
}

QImage Design_Landscape(int w, int h, const a_art_recipe& r) {
    QImage image = Blank(w, h, Qt::white);
    Linear_Fill(image, r.Colors("sky"), 90);
    std::vector<QColor> hills = r.Colors("hills");
    QColor sun = r.Color("sun");
    a_art_noise noise(Seed(r));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    QPointF sc(w * r.Real("sunx", 0.62), h * r.Real("suny", 0.52));
    double sr = std::min(w, h) * 0.11;
    QRadialGradient halo(sc, sr * 5);
    QColor hc = sun;
    hc.setAlpha(120);
    halo.setColorAt(0, hc);
    halo.setColorAt(1, QColor(0, 0, 0, 0));
    p.setBrush(halo);
    p.drawEllipse(sc, sr * 5, sr * 5);
    p.setBrush(sun);
    p.drawEllipse(sc, sr, sr);
    int n = int(hills.size());
    for (int i = 0; i < n; ++i) {
        double base = h * (0.55 + 0.4 * double(i) / std::max(1, n - 1) * 0.8);
        double rough = 80 + 40 * i;
        QPainterPath path(QPointF(0, h));
        for (int x = 0; x <= w; x += 3)
            path.lineTo(x, base - rough * noise.Fbm(x / (300.0f - i * 40), float(i) * 7.0f, 4) +
                               rough * 0.3);
        path.lineTo(w, h);
        path.closeSubpath();
        p.setBrush(hills[size_t(i)]);
        p.drawPath(path);
    }
    p.end();
    Grain(image, Seed(r) + 2, 2);
    return image;
}

// ---- geometric ----

// Colour bands: `band` gives the band coordinate at a point, each whole step
// the next colour; four sub-samples per pixel smooth the boundaries.
template <typename F>
QImage Banded(int w, int h, const std::vector<QColor>& colors, F band) {
    QImage image(w, h, QImage::Format_RGB32);
    int n = int(colors.size());
    For_Pixels(image, [&](int x, int y) {
        int rr = 0, gg = 0, bb = 0;
        for (int s = 0; s < 4; ++s) {
            int k = int(std::floor(band(x + 0.25 * s, y + 0.25 * ((s + 2) % 4)))) % n;
            if (k < 0) k += n;
            rr += colors[size_t(k)].red();
            gg += colors[size_t(k)].green();
            bb += colors[size_t(k)].blue();
        }
        return qRgb(rr / 4, gg / 4, bb / 4);
    });
    return image;
}

QImage Design_Stripes(int w, int h, const a_art_recipe& r) {
    double width = r.Real("width", 40), angle = r.Real("angle", 45) * PI / 180.0;
    double ca = std::cos(angle), sa = std::sin(angle);
    return Banded(w, h, r.Colors("colors"),
                  [&](double x, double y) { return (x * ca + y * sa) / width; });
}

QImage Design_Dots(int w, int h, const a_art_recipe& r) {
    QImage image = Blank(w, h, r.Color("background"));
    std::vector<QColor> colors = r.Colors("colors");
    double step = r.Real("spacing", 48), rad = r.Real("radius", 12);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    int k = 0;
    for (int row = 0; row * step * 0.866 < h + step; ++row)
        for (double x = (row % 2) * step / 2 - step; x < w + step; x += step) {
            p.setBrush(colors[size_t(k++ % int(colors.size()))]);
            p.drawEllipse(QPointF(x, row * step * 0.866), rad, rad);
        }
    return image;
}

QImage Design_Rings(int w, int h, const a_art_recipe& r) {
    std::vector<QColor> colors = r.Colors("colors");
    double width = r.Real("width", 26);
    int n = int(colors.size());
    QImage image(w, h, QImage::Format_RGB32);
    For_Pixels(image, [&](int x, int y) {
        double d = std::hypot(x + 0.5 - w / 2.0, y + 0.5 - h / 2.0) / width;
        int k = int(d);
        double f = d - k;
        QColor a = colors[size_t(k % n)], b = colors[size_t((k + 1) % n)];
        // Soft edge over the outer tenth of each ring.
        return Rgb(f > 0.9 ? Art_Mix(a, b, (f - 0.9) * 10) : a);
    });
    return image;
}

QImage Design_Sunburst(int w, int h, const a_art_recipe& r) {
    QColor a = r.Color("color1"), b = r.Color("color2");
    int rays = r.Int("rays", 24);
    QImage image(w, h, QImage::Format_RGB32);
    For_Pixels(image, [&](int x, int y) {
        double ang = std::atan2(y - h / 2.0, x - w / 2.0) / (2 * PI) * rays * 2;
        double f = ang - std::floor(ang);
        int k = int(std::floor(ang)) & 1;
        double edge = std::min(f, 1 - f) * std::hypot(x - w / 2.0, y - h / 2.0) * 0.35;
        QColor c = k ? a : b;
        if (edge < 1) c = Art_Mix(k ? b : a, c, 0.5 + 0.5 * edge);
        return Rgb(c);
    });
    Vignette(image, r.Real("vignette", 0.35));
    return image;
}

QImage Design_Hexagons(int w, int h, const a_art_recipe& r) {
    std::vector<QColor> colors = r.Colors("colors");
    QColor line = r.Color("line");
    double size = r.Real("size", 40);
    a_art_rng rng(Seed(r));
    QImage image = Blank(w, h, line);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(line, r.Real("gap", 3)));
    double dx = size * std::sqrt(3.0), dy = size * 1.5;
    for (int row = -1; row * dy < h + size; ++row)
        for (int col = -1; col * dx < w + dx; ++col) {
            QPointF c(col * dx + (row & 1) * dx / 2, row * dy);
            QPolygonF hex;
            for (int i = 0; i < 6; ++i) {
                double ang = (60.0 * i + 30.0) * PI / 180.0;
                hex << c + QPointF(std::cos(ang), std::sin(ang)) * size;
            }
            p.setBrush(Pick(rng, colors));
            p.drawPolygon(hex);
        }
    return image;
}

QImage Design_Lowpoly(int w, int h, const a_art_recipe& r) {
    std::vector<QColor> colors = r.Colors("colors");
    double cell = r.Real("cell", 80), angle = r.Real("angle", 60);
    a_art_rng rng(Seed(r));
    int nx = int(w / cell) + 2, ny = int(h / cell) + 2;
    std::vector<QPointF> pts;
    for (int j = 0; j <= ny; ++j)
        for (int i = 0; i <= nx; ++i)
            pts.emplace_back((i - 0.5 + rng.Range(-0.35, 0.35)) * cell,
                             (j - 0.5 + rng.Range(-0.35, 0.35)) * cell);
    QImage image = Blank(w, h, colors.front());
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    double a = angle * PI / 180.0;
    auto colour_at = [&](QPointF c) {
        double t = ((c.x() - w / 2.0) * std::cos(a) + (c.y() - h / 2.0) * std::sin(a)) /
                       (std::fabs(std::cos(a)) * w + std::fabs(std::sin(a)) * h) + 0.5;
        return QColor::fromRgb(Shade(Art_Ramp(colors, t), rng.Range(0.9, 1.1)));
    };
    for (int j = 0; j < ny; ++j)
        for (int i = 0; i < nx; ++i) {
            QPointF q00 = pts[size_t(j * (nx + 1) + i)], q10 = pts[size_t(j * (nx + 1) + i + 1)];
            QPointF q01 = pts[size_t((j + 1) * (nx + 1) + i)];
            QPointF q11 = pts[size_t((j + 1) * (nx + 1) + i + 1)];
            for (const QPolygonF& tri : {QPolygonF({q00, q10, q11}), QPolygonF({q00, q11, q01})}) {
                QColor c = colour_at((tri[0] + tri[1] + tri[2]) / 3);
                p.setPen(QPen(c, 1));
                p.setBrush(c);
                p.drawPolygon(tri);
            }
        }
    return image;
}

QImage Design_Chevron(int w, int h, const a_art_recipe& r) {
    double width = r.Real("width", 36), zig = r.Real("zig", 60);
    return Banded(w, h, r.Colors("colors"), [&](double x, double y) {
        return (y + std::fabs(std::fmod(x, 2 * zig) - zig)) / width;
    });
}

// ---- music ----

QImage Design_Staff(int w, int h, const a_art_recipe& r) {
    QImage image = Blank(w, h, Qt::white);
    Linear_Fill(image, r.Colors("background"), r.Real("angle", 90));
    QColor ink = r.Color("ink");
    a_art_rng rng(Seed(r));
    const double gap = 11;
    // Notes and accidentals as glyph outlines of DejaVu Sans.
    const char32_t codes[] = {0x2669, 0x266A, 0x266B, 0x266C, 0x266D, 0x266F};
    QPainterPath glyphs[6];
    for (int i = 0; i < 6; ++i) {
        std::string error;
        if (!Art_Glyph_Path("dejavu", codes[i], i < 4 ? gap * 4.2 : gap * 3, glyphs[i], error)) {
            r.Fail(error);
            return image;
        }
    }
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    for (double top = 40; top < h - 4 * gap; top += gap * 4 + 70) {
        double wave = rng.Range(0, 2 * PI);
        auto line_y = [&](double x, int k) {
            return top + k * gap + 18 * std::sin(x / 260.0 + wave);
        };
        QColor lc = ink;
        lc.setAlpha(110);
        p.setPen(QPen(lc, 1.3));
        p.setBrush(Qt::NoBrush);
        for (int k = 0; k < 5; ++k) {
            QPainterPath path(QPointF(0, line_y(0, k)));
            for (int x = 4; x <= w; x += 4) path.lineTo(x, line_y(x, k));
            p.drawPath(path);
        }
        QColor nc = ink;
        nc.setAlpha(200);
        p.setPen(Qt::NoPen);
        p.setBrush(nc);
        for (double x = rng.Range(20, 60); x < w - 20; x += rng.Range(50, 90)) {
            int step = rng.Int(-2, 6);
            double y = line_y(x, 0) + step * gap / 2 + gap * 3.4;
            p.drawPath(glyphs[rng.Int(0, 3)].translated(x, y));
            if (rng.Unit() < 0.12) p.drawPath(glyphs[rng.Int(4, 5)].translated(x - 16, y - gap));
        }
    }
    return image;
}

QImage Design_Vinyl(int w, int h, const a_art_recipe& r) {
    QColor label = r.Color("label");
    a_art_noise noise(Seed(r));
    double cx = w / 2.0, cy = h / 2.0, outer = std::min(w, h) / 2.0;
    QImage image(w, h, QImage::Format_RGB32);
    For_Pixels(image, [&](int x, int y) {
        double dx = x + 0.5 - cx, dy = y + 0.5 - cy;
        double d = std::hypot(dx, dy) / outer;
        if (d < 0.36) return Shade(label, 0.92 + 0.08 * noise.Fbm(x / 40.0f, y / 40.0f, 3));
        double ang = std::atan2(dy, dx);
        double groove = 0.5 + 0.5 * std::sin(d * outer * 2.1);
        double sheen = std::pow(std::fabs(std::cos(ang - 0.8)), 18.0) * 0.35;
        double band = (d > 0.6 && d < 0.62) || (d > 0.8 && d < 0.815) ? 0.6 : 1.0;
        int v = int(std::clamp((18 + 14 * groove) * band + 255 * sheen * (0.6 + 0.4 * groove),
                               0.0, 255.0));
        return qRgb(v, v, v + 3);
    });
    return image;
}

QImage Design_Equalizer(int w, int h, const a_art_recipe& r) {
    QImage image = Blank(w, h, Qt::black);
    Linear_Fill(image, r.Colors("background"), 90);
    std::vector<QColor> bars = r.Colors("bars");
    a_art_noise noise(Seed(r));
    QPainter p(&image);
    p.setPen(Qt::NoPen);
    double bw = r.Real("bar", 18), seg = bw * 0.55;
    double base = h * 0.72;
    for (double x = bw * 0.5; x < w; x += bw * 1.35) {
        double level = 0.15 + 0.75 * noise.Fbm(float(x / 160.0), 1.5f, 3) *
                                  (0.8 + 0.4 * std::sin(x / w * PI));
        int segs = int(level * base / seg);
        for (int s = 0; s < segs; ++s) {
            QColor c = Art_Ramp(bars, double(s) * seg / base);
            p.setBrush(c);
            p.drawRect(QRectF(x, base - (s + 1) * seg, bw, seg * 0.7));
            c.setAlpha(std::max(0, 70 - s * 8));
            p.setBrush(c);
            p.drawRect(QRectF(x, base + s * seg + 4, bw, seg * 0.7));
        }
    }
    return image;
}

QImage Design_Piano(int w, int h, const a_art_recipe& r) {
    QImage image = Blank(w, h, Qt::black);
    Linear_Fill(image, r.Colors("background"), 90);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    double kw = r.Real("key", 44), top = h * r.Real("top", 0.55), kh = h * 0.32;
    p.setPen(QPen(QColor(60, 60, 60), 1.2));
    for (double x = 0; x < w; x += kw) {
        QLinearGradient g(0, top, 0, top + kh);
        g.setColorAt(0, QColor(235, 235, 232));
        g.setColorAt(1, QColor(255, 255, 252));
        p.setBrush(g);
        p.drawRoundedRect(QRectF(x + 1, top, kw - 2, kh), 3, 3);
    }
    p.setPen(Qt::NoPen);
    int k = 0;
    for (double x = 0; x < w; x += kw, ++k) {
        if (k % 7 == 2 || k % 7 == 6) continue;
        QLinearGradient g(0, top, 0, top + kh * 0.62);
        g.setColorAt(0, QColor(20, 20, 22));
        g.setColorAt(1, QColor(50, 50, 54));
        p.setBrush(g);
        p.drawRoundedRect(QRectF(x + kw * 0.68, top, kw * 0.64, kh * 0.62), 2, 2);
    }
    QLinearGradient shade(0, top, 0, top + 24);
    shade.setColorAt(0, QColor(0, 0, 0, 150));
    shade.setColorAt(1, QColor(0, 0, 0, 0));
    p.fillRect(QRectF(0, top, w, 24), shade);
    return image;
}

// ---- seasons and occasions ----

struct a_scatter {
    double per = 40, rmin = 10, rmax = 30;
};

template <typename F>
void Scatter(QImage& image, uint64_t seed, const a_scatter& s, F draw) {
    a_art_rng rng(seed);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    int n = Count_For(image.width(), image.height(), s.per);
    for (int i = 0; i < n; ++i) {
        QPointF c(rng.Range(-20, image.width() + 20), rng.Range(-20, image.height() + 20));
        draw(p, rng, c, rng.Range(s.rmin, s.rmax));
    }
}

// A gradient ground (field "background") strewn with items; the recipe's
// count, min and max override the design's defaults.
template <typename F>
QImage Strewn(int w, int h, const a_art_recipe& r, double angle, a_scatter s, F draw) {
    QImage image = Blank(w, h, Qt::white);
    Linear_Fill(image, r.Colors("background"), angle);
    s = {r.Real("count", s.per), r.Real("min", s.rmin), r.Real("max", s.rmax)};
    Scatter(image, Seed(r), s, draw);
    return image;
}


QImage Design_Snow(int w, int h, const a_art_recipe& r) {
    QColor flake = r.Color("flake", Qt::white);
    return Strewn(w, h, r, 100, {45, 8, 34},
                  [&](QPainter& p, a_art_rng& rng, QPointF c, double rad) {
        QColor col = flake;
        col.setAlpha(int(120 + 135 * (rad / 34.0)));
        p.setBrush(col);
        if (rng.Unit() < 0.35) {
            p.drawEllipse(c, rad * 0.18, rad * 0.18);
        } else {
            QTransform t;
            t.translate(c.x(), c.y());
            t.rotate(rng.Range(0, 60));
            p.drawPath(t.map(Art_Snowflake_Path(0, 0, rad)));
        }
    });
}

QImage Design_Leaves(int w, int h, const a_art_recipe& r) {
    std::vector<QColor> colors = r.Colors("colors");
    return Strewn(w, h, r, 70, {55, 14, 40},
                  [&](QPainter& p, a_art_rng& rng, QPointF c, double rad) {
        QColor col = Pick(rng, colors);
        double ang = rng.Range(0, 360);
        QRadialGradient g(c, rad);
        g.setColorAt(0, col.lighter(118));
        g.setColorAt(1, col.darker(112));
        p.setBrush(g);
        p.drawPath(Art_Leaf_Path(c.x(), c.y(), rad, ang));
        p.setPen(QPen(col.darker(140), std::max(1.0, rad * 0.05)));
        double a = (ang - 90) * PI / 180.0;
        p.drawLine(c - QPointF(std::cos(a), std::sin(a)) * rad * 1.05,
                   c + QPointF(std::cos(a), std::sin(a)) * rad * 0.7);
        p.setPen(Qt::NoPen);
    });
}

QImage Design_Hearts(int w, int h, const a_art_recipe& r) {
    std::vector<QColor> colors = r.Colors("colors");
    return Strewn(w, h, r, 90, {40, 10, 36},
                  [&](QPainter& p, a_art_rng& rng, QPointF c, double rad) {
        QColor col = Pick(rng, colors);
        col.setAlpha(rng.Int(150, 255));
        QTransform t;
        t.translate(c.x(), c.y());
        t.rotate(rng.Range(-25, 25));
        p.setBrush(col);
        p.drawPath(t.map(Art_Heart_Path(0, 0, rad)));
    });
}

QImage Design_Festive(int w, int h, const a_art_recipe& r) {
    std::vector<QColor> colors = r.Colors("colors");
    return Strewn(w, h, r, 90, {50, 5, 26},
                  [&](QPainter& p, a_art_rng& rng, QPointF c, double rad) {
        QColor col = Pick(rng, colors);
        QRadialGradient glow(c, rad * 2.2);
        QColor g0 = col;
        g0.setAlpha(90);
        glow.setColorAt(0, g0);
        glow.setColorAt(1, QColor(0, 0, 0, 0));
        p.setBrush(glow);
        p.drawEllipse(c, rad * 2.2, rad * 2.2);
        p.setBrush(col);
        int points = rng.Unit() < 0.3 ? 4 : 5;
        p.drawPath(Art_Star_Path(c.x(), c.y(), rad, points == 4 ? 0.3 : 0.45, points,
                                 rng.Range(-100, -80)));
    });
}

QImage Design_Confetti(int w, int h, const a_art_recipe& r) {
    std::vector<QColor> colors = r.Colors("colors");
    return Strewn(w, h, r, 90, {160, 4, 11},
                  [&](QPainter& p, a_art_rng& rng, QPointF c, double rad) {
        p.setBrush(Pick(rng, colors));
        p.save();
        p.translate(c);
        p.rotate(rng.Range(0, 180));
        if (rng.Unit() < 0.6) p.drawRect(QRectF(-rad, -rad * 0.4, rad * 2, rad * 0.8));
        else p.drawEllipse(QPointF(0, 0), rad * 0.7, rad * 0.7);
        p.restore();
    });
}

QImage Design_Flowers(int w, int h, const a_art_recipe& r) {
    std::vector<QColor> colors = r.Colors("colors");
    QColor centre = r.Color("centre", QColor(250, 210, 80));
    return Strewn(w, h, r, 80, {30, 14, 42},
                  [&](QPainter& p, a_art_rng& rng, QPointF c, double rad) {
        QColor col = Pick(rng, colors);
        int petals = rng.Int(5, 8);
        QTransform t;
        t.translate(c.x(), c.y());
        t.rotate(rng.Range(0, 72));
        QRadialGradient g(c, rad);
        g.setColorAt(0, col.lighter(125));
        g.setColorAt(1, col);
        p.setBrush(g);
        p.drawPath(t.map(Art_Flower_Path(0, 0, rad, petals, 0.32)));
        p.setBrush(centre);
        p.drawEllipse(c, rad * 0.22, rad * 0.22);
    });
}

struct a_named_design {
    const char* name;
    a_canvas_design design;
};

const a_named_design DESIGNS[] = {
    {"white", Design_White},         {"gradient", Design_Gradient},
    {"radial", Design_Radial},       {"bokeh", Design_Bokeh},
    {"paper", Design_Paper},         {"linen", Design_Linen},
    {"wood", Design_Wood},           {"marble", Design_Marble},
    {"metal", Design_Metal},         {"watercolor", Design_Watercolor},
    {"starfield", Design_Starfield}, {"aurora", Design_Aurora},
    {"clouds", Design_Clouds},       {"waves", Design_Waves},
    {"landscape", Design_Landscape}, {"stripes", Design_Stripes},
    {"dots", Design_Dots},           {"rings", Design_Rings},
    {"sunburst", Design_Sunburst},   {"hexagons", Design_Hexagons},
    {"lowpoly", Design_Lowpoly},     {"chevron", Design_Chevron},
    {"staff", Design_Staff},         {"vinyl", Design_Vinyl},
    {"equalizer", Design_Equalizer}, {"piano", Design_Piano},
    {"snow", Design_Snow},           {"leaves", Design_Leaves},
    {"hearts", Design_Hearts},       {"festive", Design_Festive},
    {"confetti", Design_Confetti},   {"flowers", Design_Flowers},
};

}  // namespace

a_canvas_design Canvas_Design(const std::string& name) {
    for (const a_named_design& d : DESIGNS)
        if (name == d.name) return d.design;
    return nullptr;
}
