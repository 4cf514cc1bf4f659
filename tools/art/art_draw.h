// Drawing helpers shared by the art generators: a seeded random source,
// value noise, colours from recipe text, and the conversion of a finished
// QImage into the plain picture the compiler encodes.
#pragma once
#include <QtGui/QColor>
#include <QtGui/QImage>
#include <QtGui/QPainterPath>

#include <cstdint>
#include <string>
#include <vector>

#include "art_items.h"

// SplitMix64: small, fast and the same on every machine and compiler.
class a_art_rng {
public:
    explicit a_art_rng(uint64_t seed) : state_(seed) {}
    uint64_t Next();
    double Unit();                         // [0, 1)
    double Range(double lo, double hi);    // [lo, hi)
    int Int(int lo, int hi);               // [lo, hi]
private:
    uint64_t state_;
};

// Smooth value noise on a 256-periodic lattice, seeded.
class a_art_noise {
public:
    explicit a_art_noise(uint64_t seed);
    float At(float x, float y) const;                       // [0, 1]
    float Fbm(float x, float y, int octaves) const;         // [0, 1]
    float Turbulence(float x, float y, int octaves) const;  // [0, 1]
    // Noise that repeats every `period` lattice cells (period 1 to 256), for
    // seamless tiles; each octave doubles the period with the frequency.
    float Tiled(float x, float y, int period) const;
    float Tiled_Fbm(float x, float y, int period, int octaves) const;
private:
    float lattice_[256 * 256];
};

// "#rrggbb" or "#aarrggbb"; false when malformed.
bool Art_Parse_Color(const std::string& text, QColor& out);
QColor Art_Mix(const QColor& a, const QColor& b, double t);
// Colour along evenly spaced stops, t in [0, 1].
QColor Art_Ramp(const std::vector<QColor>& stops, double t);

// Opaque 32-bit picture (alpha 255) from any image.
a_art_picture Art_Picture_Opaque(const QImage& image, a_art_codec codec);
// 32-bit picture with straight (not premultiplied) alpha, drawn transparently.
a_art_picture Art_Picture_Alpha(const QImage& image, a_art_codec codec);
// 8-bit coverage picture from the alpha channel (or grey level) of an image.
a_art_picture Art_Picture_Gray(const QImage& image, a_art_codec codec);
// A view of a picture as an image (copies the pixels).
QImage Art_Picture_Image(const a_art_picture& picture);

// Scales an image down to fit a box, keeping its proportions.
QImage Art_Fit(const QImage& image, int box_w, int box_h);

// Common shapes, centred at (cx, cy) with outer radius r.
QPainterPath Art_Star_Path(double cx, double cy, double r, double inner, int points,
                           double rotation_deg = -90);
QPainterPath Art_Heart_Path(double cx, double cy, double r);
QPainterPath Art_Flower_Path(double cx, double cy, double r, int petals, double petal_w);
QPainterPath Art_Leaf_Path(double cx, double cy, double r, double angle_deg);
QPainterPath Art_Snowflake_Path(double cx, double cy, double r);

// Per-pixel colour arithmetic on packed pixels, for the procedural loops.
QRgb Art_Mix_Rgb(QRgb a, QRgb b, float t);
QRgb Art_Shade_Rgb(QRgb c, float f);
QRgb Art_Ramp_Rgb(const std::vector<QRgb>& stops, float t);
std::vector<QRgb> Art_Rgbs(const std::vector<QColor>& colors);

// A smooth field sampled every `step` pixels and interpolated between:
// low-frequency noise costs a fraction of evaluating it at every pixel.
class a_art_field {
public:
    template <typename F>
    a_art_field(int width, int height, int step, F f)
        : w_(width / step + 2), h_(height / step + 2), step_(step) {
        grid_.resize(size_t(w_) * size_t(h_));
        for (int j = 0; j < h_; ++j)
            for (int i = 0; i < w_; ++i) grid_[size_t(j * w_ + i)] = f(float(i * step), float(j * step));
    }
    float At(int x, int y) const;
private:
    int w_, h_, step_;
    std::vector<float> grid_;
};
