// Patterns: small seamless tiles for the pattern fill. Every kind repeats
// exactly at the tile's edges: shapes are drawn again one tile over on each
// side, and pixel formulas use periods that divide the tile.
#include <QtGui/QPainter>

#include <cmath>
#include <numbers>

#include "art_draw.h"
#include "art_families.h"

namespace {

constexpr double PI = std::numbers::pi;

struct a_tile {
    const a_art_recipe& r;
    int size;
    std::vector<QColor> colors;
    QColor Color(size_t i) const { return colors[i % colors.size()]; }
};

template <typename F>
QImage Pixels(int size, F f) {
    QImage image(size, size, QImage::Format_RGB32);
    for (int y = 0; y < size; ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < size; ++x) row[x] = f(x, y);
    }
    return image;
}

// Averages 4 x 4 samples of an integer-valued formula: smooth edges.
template <typename F>
QImage Supersampled(const a_tile& t, F index_at) {
    return Pixels(t.size, [&](int x, int y) {
        int r = 0, g = 0, b = 0;
        for (int j = 0; j < 4; ++j)
            for (int i = 0; i < 4; ++i) {
                QColor c = t.Color(size_t(index_at(x + (i + 0.5) / 4, y + (j + 0.5) / 4)));
                r += c.red();
                g += c.green();
                b += c.blue();
            }
        return qRgb(r / 16, g / 16, b / 16);
    });
}

// Draws `path` at its place and one tile over in every direction.
void Wrapped(QPainter& p, const QPainterPath& path, int size) {
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) p.drawPath(path.translated(dx * size, dy * size));
}

QImage Canvas(const a_tile& t, QPainter& p, QImage& image) {
    image = QImage(t.size, t.size, QImage::Format_RGB32);
    image.fill(t.Color(0));
    p.begin(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    return image;
}

int Mod(int a, int n) { return ((a % n) + n) % n; }

// Refuses a period that does not divide the tile: it would leave a seam.
bool Divides(const a_tile& t, double period, const char* what) {
    double k = t.size / period;
    if (period <= 0 || std::fabs(k - std::round(k)) > 1e-9) {
        t.r.Fail(std::string(what) + " must divide the tile of " + std::to_string(t.size));
        return false;
    }
    return true;
}

QImage Checks(const a_tile& t) {
    int n = t.r.Int("cell", 16);
    if (!Divides(t, 2 * n, "two cells")) return {};
    return Supersampled(t, [&](double x, double y) { return (int(x) / n + int(y) / n) % 2; });
}

QImage Gingham(const a_tile& t) {
    int n = t.r.Int("cell", 8);
    if (!Divides(t, 2 * n, "two cells")) return {};
    QColor base = t.Color(0), ink = t.Color(1);
    return Pixels(t.size, [&](int x, int y) {
        int k = (x / n) % 2 + (y / n) % 2;
        return Art_Mix(base, ink, k == 0 ? 0.0 : k == 1 ? 0.5 : 1.0).rgb();
    });
}

QImage Stripes(const a_tile& t) {
    int n = t.r.Int("width", 8);
    std::string dir = t.r.Text("direction", "diagonal");
    int count = int(t.colors.size());
    if (!Divides(t, n * count, "width times colours")) return {};
    return Supersampled(t, [&](double x, double y) {
        double u = dir == "horizontal" ? y : dir == "vertical" ? x : x + y;
        return Mod(int(std::floor(u / n)), count);
    });
}

QImage Tartan(const a_tile& t) {
    // Bands of the listed widths across and down; where they cross the
    // colours mix as woven threads do, with a fine twill.
    std::vector<int> widths = t.r.Ints("bands");
    auto band_at = [&](int v) {
        int total = 0;
        for (int w : widths) total += w;
        v = Mod(v, std::max(total, 1));
        for (size_t i = 0; i < widths.size(); ++i) {
            if (v < widths[i]) return i;
            v -= widths[i];
        }
        return size_t(0);
    };
    return Pixels(t.size, [&](int x, int y) {
        QColor a = t.Color(band_at(x)), b = t.Color(band_at(y));
        bool twill = Mod(x + y, 4) < 2;
        return Art_Mix(a, b, twill ? 0.35 : 0.65).rgb();
    });
}

QImage Houndstooth(const a_tile& t) {
    static const char* CELL[8] = {"XXXX...X", "XXXX..XX", "XXXX.XX.", "XXXXXX..",
                                  "....XXXX", "...X.XXX", "..X..XXX", ".X...XXX"};
    int n = std::max(1, t.size / 16);  // two teeth across the tile
    return Pixels(t.size, [&](int x, int y) {
        return t.Color(CELL[(y / n) % 8][(x / n) % 8] == 'X' ? 1 : 0).rgb();
    });
}

QImage Zigzag(const a_tile& t) {
    double period = t.size / double(t.r.Int("teeth", 4)), band = t.r.Real("width", 8);
    int count = int(t.colors.size());
    if (!Divides(t, band * count, "width times colours")) return {};
    return Supersampled(t, [&](double x, double y) {
        double tri = std::fabs(std::fmod(x, period) - period / 2);
        return Mod(int(std::floor((y + tri) / band)), count);
    });
}

QImage Waves(const a_tile& t) {
    int waves = t.r.Int("waves", 2);
    double band = t.size / double(t.r.Int("lines", 4));
    int count = int(t.colors.size());
    if (!Divides(t, band * count, "lines times colours")) return {};
    return Supersampled(t, [&](double x, double y) {
        double off = band * 0.35 * std::sin(2 * PI * waves * x / t.size);
        return Mod(int(std::floor((y + off) / band)), count);
    });
}

QImage Argyle(const a_tile& t) {
    double s = t.size;
    return Supersampled(t, [&](double x, double y) {
        double u = std::fabs(x - s / 2) / (s / 2), v = std::fabs(y - s / 2) / (s / 2);
        bool diamond = u + v < 1.0;
        // Thin diagonal lines across the diamonds.
        double d1 = std::fmod(x + y + s, s / 2), d2 = std::fmod(x - y + 2 * s, s / 2);
        bool line = d1 < 0.8 || d2 < 0.8;
        return line ? 2 : diamond ? 1 : 0;
    });
}

QImage Dots(const a_tile& t) {
    QPainter p;
    QImage image;
    Canvas(t, p, image);
    int per_row = t.r.Int("per", 2);
    double step = double(t.size) / per_row, rad = t.r.Real("radius", step * 0.25);
    bool staggered = t.r.Text("layout", "staggered") == "staggered";
    for (int j = 0; j < per_row * (staggered ? 2 : 1); ++j) {
        double y = staggered ? step / 2 * j : step * j;
        double shift = staggered && (j % 2) ? step / 2 : 0;
        for (int i = 0; i < per_row; ++i) {
            QPainterPath dot;
            dot.addEllipse(QPointF(step * i + shift + step / 4, y + step / 4), rad, rad);
            p.setBrush(t.Color(1 + size_t(i + j) % (t.colors.size() - 1)));
            Wrapped(p, dot, t.size);
        }
    }
    p.end();
    return image;
}

QImage Bricks(const a_tile& t) {
    QPainter p;
    QImage image;
    Canvas(t, p, image);
    int rows = t.r.Int("rows", 4);
    double h = double(t.size) / rows, w = t.size / 2.0, gap = t.r.Real("gap", 2);
    a_art_rng rng(uint64_t(t.r.Int("seed", 1)));
    for (int j = 0; j < rows; ++j)
        for (int i = -1; i < 2; ++i) {
            double x = i * w + (j % 2) * w / 2;
            QPainterPath brick;
            brick.addRoundedRect(QRectF(x + gap / 2, j * h + gap / 2, w - gap, h - gap), 1.5, 1.5);
            p.setBrush(QColor::fromRgb(Art_Shade_Rgb(t.Color(1).rgb(), float(rng.Range(0.88, 1.1)))));
            Wrapped(p, brick, t.size);
        }
    p.end();
    return image;
}

QImage Herringbone(const a_tile& t) {
    int n = t.size / 8;
    return Supersampled(t, [&](double x, double y) {
        // Columns two cells wide, slanting one way and then the other.
        bool rising = (int(x) / (2 * n)) % 2 == 0;
        double u = rising ? x + y : x - y + t.size;
        return Mod(int(std::floor(u / (2 * n))), 2);
    });
}

QImage Basket(const a_tile& t) {
    int cell = t.size / 4, strips = 3;
    return Pixels(t.size, [&](int x, int y) {
        int cx = x / cell, cy = y / cell;
        bool across = (cx + cy) % 2 == 0;
        int along = across ? y % cell : x % cell;
        int k = along * strips / cell;
        double edge = double(along % (cell / strips)) / (cell / strips);
        double shade = 0.82 + 0.3 * std::sin(edge * PI);
        return Art_Shade_Rgb(t.Color(across ? 0 : 1).rgb(), float(shade * (k == 1 ? 1.0 : 0.95)));
    });
}

QImage Scales(const a_tile& t) {
    // Overlapping arcs (seigaiha): rows of circles, later rows on top.
    QPainter p;
    QImage image;
    Canvas(t, p, image);
    double r = t.size / 4.0;
    for (int row = -1; row <= 8; ++row)
        for (int i = -1; i <= 4; ++i) {
            QPointF c(i * 2 * r + (row % 2 ? r : 0), row * r / 2 + r);
            for (int ring = 0; ring < 3; ++ring) {
                QPainterPath arc;
                arc.addEllipse(c, r * (1 - ring * 0.3), r * (1 - ring * 0.3));
                p.setBrush(t.Color(size_t(1 + ring % 2)));
                p.setPen(QPen(t.Color(0), 1));
                p.drawPath(arc.translated(0, -t.size));
                p.drawPath(arc);
            }
        }
    p.end();
    return image;
}

QImage Motif(const a_tile& t) {
    QPainter p;
    QImage image;
    Canvas(t, p, image);
    std::string shape = t.r.Text("shape");
    int per = t.r.Int("per", 2);
    double step = double(t.size) / per, rad = step * t.r.Real("scale", 0.3);
    for (int j = 0; j < per; ++j)
        for (int i = 0; i < per; ++i) {
            double shift = (j % 2) ? step / 2 : 0;
            QPointF c(step * i + shift + step / 4, step * j + step / 2);
            QPainterPath path;
            if (shape == "heart") path = Art_Heart_Path(c.x(), c.y(), rad);
            else if (shape == "star") path = Art_Star_Path(c.x(), c.y(), rad, 0.45, 5);
            else if (shape == "flower") path = Art_Flower_Path(c.x(), c.y(), rad, 5, 0.34);
            else if (shape == "snowflake") path = Art_Snowflake_Path(c.x(), c.y(), rad);
            else if (shape == "leaf") path = Art_Leaf_Path(c.x(), c.y(), rad, 40.0 * (i + j));
            else t.r.Fail("unknown motif shape \"" + shape + "\"");
            p.setBrush(t.Color(1 + size_t(i + j) % (t.colors.size() - 1)));
            Wrapped(p, path, t.size);
            if (shape == "flower") {
                QPainterPath centre;
                centre.addEllipse(c, rad * 0.25, rad * 0.25);
                p.setBrush(QColor(250, 215, 90));
                Wrapped(p, centre, t.size);
            }
        }
    p.end();
    return image;
}

QImage Grid(const a_tile& t) {
    int cell = t.r.Int("cell", 16);
    double line = t.r.Real("line", 1.5);
    if (!Divides(t, cell, "cell")) return {};
    return Pixels(t.size, [&](int x, int y) {
        double dx = std::min(x % cell, cell - x % cell), dy = std::min(y % cell, cell - y % cell);
        double d = std::min(dx, dy);
        return Art_Mix(t.Color(0), t.Color(1), std::clamp(line - d + 0.5, 0.0, 1.0)).rgb();
    });
}

QImage Texture(const a_tile& t) {
    // Seamless noise textures: denim twill, sand, cork, grass. Every scale
    // divides the tile, so the lattice periods are whole numbers.
    std::string kind = t.r.Text("texture");
    a_art_noise noise(uint64_t(t.r.Int("seed", 1)) * 31u);
    std::vector<QRgb> colors = Art_Rgbs(t.colors);
    int s = t.size;
    if (kind != "denim" && kind != "grass" && kind != "cork" && kind != "sand")
        t.r.Fail("texture must be denim, grass, cork or sand");
    return Pixels(s, [&](int x, int y) {
        float fx = float(x), fy = float(y);
        if (kind == "denim") {
            float twill = std::sin(float(2 * PI) * float(Mod(x + y, 4)) / 4.0f);
            float slub = noise.Tiled(fx / 2.0f, fy / 16.0f, s / 2, s / 16);
            return Art_Shade_Rgb(Art_Mix_Rgb(colors[0], colors[1], slub * 0.6f),
                                 1.0f + 0.08f * twill);
        }
        if (kind == "grass") {
            float blade = noise.Tiled(fx / 2.0f, fy / 16.0f, s / 2, s / 16);
            float patch = noise.Tiled_Fbm(fx / 16.0f, fy / 16.0f, s / 16, s / 16, 3);
            return Art_Mix_Rgb(colors[0], colors[1], blade * 0.7f + patch * 0.3f);
        }
        float grain = noise.Tiled_Fbm(fx / 4.0f, fy / 4.0f, s / 4, s / 4, 3);
        float fine = noise.Tiled(fx, fy, s, s);
        if (kind == "cork")
            return Art_Shade_Rgb(Art_Ramp_Rgb(colors, grain), 0.85f + 0.3f * fine * fine);
        return Art_Ramp_Rgb(colors, grain * 0.7f + fine * 0.3f);
    });
}

struct a_pattern_kind {
    const char* name;
    QImage (*draw)(const a_tile&);
};

const a_pattern_kind KINDS[] = {
    {"checks", Checks},   {"gingham", Gingham},   {"stripes", Stripes}, {"tartan", Tartan},
    {"houndstooth", Houndstooth}, {"zigzag", Zigzag}, {"waves", Waves}, {"argyle", Argyle},
    {"dots", Dots},       {"bricks", Bricks},     {"herringbone", Herringbone},
    {"basket", Basket},   {"scales", Scales},     {"motif", Motif},     {"grid", Grid},
    {"texture", Texture},
};

}  // namespace

bool Art_Gen_Patterns(const std::vector<a_art_recipe>& recipes, std::vector<a_art_item>& items,
                      std::string& error) {
    for (const a_art_recipe& r : recipes) {
        if (r.kind != "pattern") r.Fail("expected a pattern line");
        int c = r.Key("c"), d = r.Key("d"), size = r.Int("tile", 64);
        std::vector<QColor> colors = r.Colors("colors");
        if (size < 8 || size > 256 || size % 8 != 0) r.Fail("tile must be 8 to 256, a multiple of 8");
        if (colors.size() < 2) r.Fail("a pattern needs at least two colours");
        const a_pattern_kind* kind = nullptr;
        for (const a_pattern_kind& k : KINDS)
            if (r.Text("kind") == k.name) kind = &k;
        if (!kind) r.Fail("unknown pattern kind \"" + r.Text("kind") + "\"");
        if (Art_Recipe_Problem(r, error)) return false;
        QImage tile = kind->draw(a_tile{r, size, colors});
        if (tile.isNull()) r.Fail("the pattern could not be drawn");
        if (Art_Recipe_Problem(r, error)) return false;
        items.push_back(Art_Picture_Item({10, 0, int16_t(c), int16_t(d)}, r.Text("name"),
                                         Art_Picture_Opaque(tile, a_art_codec::LZW)));
    }
    return true;
}
