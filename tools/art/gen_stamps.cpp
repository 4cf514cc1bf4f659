// Stamps: coloured pictures with transparency for the stamp tool and the
// stamp fill. Each is a shape (drawn here, or a glyph of a free font)
// painted in one of a few styles.
#include <QtGui/QLinearGradient>
#include <QtGui/QPainter>
#include <QtGui/QRadialGradient>

#include <cmath>
#include <numbers>

#include "art_draw.h"
#include "art_families.h"
#include "art_glyphs.h"

namespace {

constexpr double PI = std::numbers::pi;

// The outline of overlapping parts as one shape.
QPainterPath Merged(QPainterPath p) {
    p.setFillRule(Qt::WindingFill);
    return p.simplified();
}

QPainterPath Moon(double s) {
    QPainterPath a, b;
    a.addEllipse(QPointF(s * 0.5, s * 0.5), s * 0.4, s * 0.4);
    b.addEllipse(QPointF(s * 0.66, s * 0.4), s * 0.34, s * 0.34);
    return a.subtracted(b);
}

QPainterPath Sun(double s) {
    QPainterPath p = Art_Star_Path(s / 2, s / 2, s * 0.46, 0.72, 12);
    QPainterPath core;
    core.addEllipse(QPointF(s / 2, s / 2), s * 0.27, s * 0.27);
    return p.united(core);
}

QPainterPath Cloud(double s) {
    QPainterPath p;
    p.addEllipse(QPointF(s * 0.34, s * 0.56), s * 0.2, s * 0.17);
    p.addEllipse(QPointF(s * 0.52, s * 0.44), s * 0.22, s * 0.22);
    p.addEllipse(QPointF(s * 0.7, s * 0.57), s * 0.18, s * 0.15);
    p.addRoundedRect(QRectF(s * 0.16, s * 0.52, s * 0.7, s * 0.2), s * 0.1, s * 0.1);
    return Merged(p);
}

QPainterPath Drop(double s) {
    QPainterPath p(QPointF(s * 0.5, s * 0.06));
    p.cubicTo(s * 0.62, s * 0.3, s * 0.8, s * 0.48, s * 0.8, s * 0.64);
    p.arcTo(QRectF(s * 0.2, s * 0.34, s * 0.6, s * 0.6), 0, -180);
    p.cubicTo(s * 0.2, s * 0.48, s * 0.38, s * 0.3, s * 0.5, s * 0.06);
    p.closeSubpath();
    return p;
}

QPainterPath Butterfly(double s) {
    QPainterPath p;
    for (double side : {-1.0, 1.0}) {
        QTransform t;
        t.translate(s / 2, s / 2);
        t.scale(side, 1);
        QPainterPath upper;
        upper.addEllipse(QRectF(s * 0.02, -s * 0.38, s * 0.38, s * 0.36));
        QPainterPath lower;
        lower.addEllipse(QRectF(s * 0.04, -s * 0.02, s * 0.28, s * 0.3));
        p.addPath(t.map(Merged(upper.united(lower))));
    }
    p.addRoundedRect(QRectF(s * 0.47, s * 0.22, s * 0.06, s * 0.52), s * 0.03, s * 0.03);
    return Merged(p);
}

QPainterPath Clover(double s) {
    QPainterPath p;
    for (int i = 0; i < 4; ++i) {
        QTransform t;
        t.translate(s / 2, s / 2);
        t.rotate(90.0 * i + 45);
        p.addPath(t.map(Art_Heart_Path(0, -s * 0.2, s * 0.2)));
    }
    p.addRect(QRectF(s * 0.485, s * 0.5, s * 0.03, s * 0.42));
    return Merged(p);
}

QPainterPath Gem(double s) {
    QPainterPath p;
    p.addPolygon(QPolygonF({QPointF(s * 0.25, s * 0.2), QPointF(s * 0.75, s * 0.2),
                            QPointF(s * 0.94, s * 0.4), QPointF(s * 0.5, s * 0.9),
                            QPointF(s * 0.06, s * 0.4)}));
    p.closeSubpath();
    return p;
}

QPainterPath Balloon(double s) {
    QPainterPath p;
    p.addEllipse(QRectF(s * 0.22, s * 0.06, s * 0.56, s * 0.66));
    p.addPolygon(QPolygonF({QPointF(s * 0.46, s * 0.76), QPointF(s * 0.54, s * 0.76),
                            QPointF(s * 0.5, s * 0.7)}));
    p.addRect(QRectF(s * 0.495, s * 0.76, s * 0.01, s * 0.2));
    return Merged(p);
}

QPainterPath Paw(double s) {
    QPainterPath p;
    p.addEllipse(QPointF(s * 0.5, s * 0.64), s * 0.2, s * 0.17);
    for (auto [x, y] : {std::pair{0.26, 0.4}, {0.41, 0.26}, {0.59, 0.26}, {0.74, 0.4}})
        p.addEllipse(QPointF(s * x, s * y), s * 0.085, s * 0.105);
    return Merged(p);
}

QPainterPath Ring(double s) {
    QPainterPath p;
    p.addEllipse(QPointF(s / 2, s / 2), s * 0.42, s * 0.42);
    p.addEllipse(QPointF(s / 2, s / 2), s * 0.26, s * 0.26);
    return p;
}

QPainterPath Shape_Path(const std::string& shape, double s) {
    double c = s / 2;
    if (shape == "heart") return Art_Heart_Path(c, c, s * 0.44);
    if (shape == "star") return Art_Star_Path(c, s * 0.53, s * 0.46, 0.45, 5);
    if (shape == "star6") return Art_Star_Path(c, c, s * 0.46, 0.55, 6);
    if (shape == "sparkle") return Art_Star_Path(c, c, s * 0.46, 0.22, 4);
    if (shape == "flower") return Art_Flower_Path(c, c, s * 0.46, 5, 0.34);
    if (shape == "daisy") return Art_Flower_Path(c, c, s * 0.46, 12, 0.16);
    if (shape == "leaf") return Art_Leaf_Path(c, c, s * 0.46, 30);
    if (shape == "snowflake") return Art_Snowflake_Path(c, c, s * 0.46);
    if (shape == "moon") return Moon(s);
    if (shape == "sun") return Sun(s);
    if (shape == "cloud") return Cloud(s);
    if (shape == "drop") return Drop(s);
    if (shape == "butterfly") return Butterfly(s);
    if (shape == "clover") return Clover(s);
    if (shape == "gem") return Gem(s);
    if (shape == "balloon") return Balloon(s);
    if (shape == "paw") return Paw(s);
    if (shape == "ring") return Ring(s);
    QPainterPath circle;
    if (shape == "circle") circle.addEllipse(QPointF(c, c), s * 0.44, s * 0.44);
    return circle;
}

void Paint_Glossy(QPainter& p, const QPainterPath& path, const std::vector<QColor>& colors,
                  double s) {
    QRectF b = path.boundingRect();
    QColor base = colors[0], light = colors.size() > 1 ? colors[1] : base.lighter(140);
    QRadialGradient g(b.left() + b.width() * 0.35, b.top() + b.height() * 0.3,
                      std::max(b.width(), b.height()) * 0.8);
    g.setColorAt(0, light);
    g.setColorAt(0.55, base);
    g.setColorAt(1, base.darker(150));
    p.setPen(QPen(base.darker(170), s * 0.014));
    p.setBrush(g);
    p.drawPath(path);
    // A soft highlight on the upper part of the shape.
    p.save();
    p.setClipPath(path);
    QLinearGradient hl(0, b.top(), 0, b.top() + b.height() * 0.5);
    hl.setColorAt(0, QColor(255, 255, 255, 150));
    hl.setColorAt(1, QColor(255, 255, 255, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(hl);
    p.drawEllipse(QRectF(b.left() + b.width() * 0.12, b.top() + b.height() * 0.04,
                         b.width() * 0.76, b.height() * 0.46));
    p.restore();
}

void Paint_Flat(QPainter& p, const QPainterPath& path, const std::vector<QColor>& colors,
                double s) {
    QColor line = colors.size() > 1 ? colors[1] : colors[0].darker(160);
    p.setPen(QPen(line, s * 0.022, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(colors[0]);
    p.drawPath(path);
}

void Paint_Gradient(QPainter& p, const QPainterPath& path, const std::vector<QColor>& colors,
                    double s) {
    QRectF b = path.boundingRect();
    QLinearGradient g(b.topLeft(), b.bottomRight());
    for (size_t i = 0; i < colors.size(); ++i)
        g.setColorAt(colors.size() == 1 ? 0 : double(i) / double(colors.size() - 1), colors[i]);
    p.setPen(QPen(colors.back().darker(150), s * 0.01));
    p.setBrush(g);
    p.drawPath(path);
}

// Airbrush-like: full colour in the middle fading to nothing at the edge.
void Paint_Soft(QPainter& p, const QPainterPath& path, const std::vector<QColor>& colors,
                double) {
    QRectF b = path.boundingRect();
    QRadialGradient g(b.center(), std::max(b.width(), b.height()) / 2);
    QColor edge = colors.back();
    edge.setAlpha(0);
    g.setColorAt(0, colors[0]);
    if (colors.size() > 1) g.setColorAt(0.5, colors[1]);
    g.setColorAt(1, edge);
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawPath(path);
}

bool Shape_Of(const a_art_recipe& r, double s, QPainterPath& path) {
    if (r.Has("code")) {
        std::string glyph_error;
        if (!Art_Glyph_Path_Hex(r.Text("font", "symbola"), r.Text("code"), 100, path,
                                glyph_error)) {
            r.Fail(glyph_error);
            return false;
        }
        path = Art_Fit_Path(path, s, s * 0.06);
        return true;
    }
    path = Shape_Path(r.Text("shape"), s);
    if (path.isEmpty()) r.Fail("unknown stamp shape \"" + r.Text("shape") + "\"");
    return !path.isEmpty();
}

}  // namespace

bool Art_Gen_Stamps(const std::vector<a_art_recipe>& recipes, std::vector<a_art_item>& items,
                    std::string& error) {
    for (const a_art_recipe& r : recipes) {
        if (r.kind != "stamp") r.Fail("expected a stamp line");
        int c = r.Key("c"), d = r.Key("d"), size = r.Int("size", 256);
        std::vector<QColor> colors = r.Colors("colors");
        std::string style = r.Text("style", "glossy");
        if (size < 16 || size > 512) r.Fail("size runs from 16 to 512");
        QPainterPath path;
        if (r.problem.empty()) Shape_Of(r, size, path);
        if (Art_Recipe_Problem(r, error)) return false;
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        if (style == "glossy") Paint_Glossy(p, path, colors, size);
        else if (style == "flat") Paint_Flat(p, path, colors, size);
        else if (style == "gradient") Paint_Gradient(p, path, colors, size);
        else if (style == "soft") Paint_Soft(p, path, colors, size);
        else r.Fail("style must be glossy, flat, gradient or soft");
        p.end();
        if (Art_Recipe_Problem(r, error)) return false;
        items.push_back(Art_Picture_Item({8, 0, int16_t(c), int16_t(d)}, r.Text("name"),
                                         Art_Picture_Alpha(image, a_art_codec::LZW)));
    }
    return true;
}
