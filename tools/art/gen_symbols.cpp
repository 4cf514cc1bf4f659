// Symbols: grey coverage pictures (255 = full ink) of glyphs from free fonts
// and of frames and badges drawn here. The program colours them when drawn.
#include <QtGui/QPainter>
#include <QtGui/QPainterPathStroker>

#include <cmath>
#include <numbers>

#include "art_draw.h"
#include "art_families.h"
#include "art_glyphs.h"

namespace {

constexpr double PI = std::numbers::pi;

QPainterPath Outline(const QPainterPath& shape, double width) {
    QPainterPathStroker s;
    s.setWidth(width);
    s.setJoinStyle(Qt::RoundJoin);
    s.setCapStyle(Qt::RoundCap);
    return s.createStroke(shape);
}

QPainterPath Scallop(double n_size, int bumps) {
    QPainterPath p;
    double c = n_size / 2, r = n_size * 0.4, b = 2 * PI * r / bumps / 2;
    for (int i = 0; i < bumps; ++i) {
        double a = 2 * PI * i / bumps;
        p.addEllipse(QPointF(c + r * std::cos(a), c + r * std::sin(a)), b * 1.15, b * 1.15);
    }
    p.addEllipse(QPointF(c, c), r, r);
    return p.simplified();
}

QPainterPath Speech(double s) {
    QPainterPath p;
    p.addRoundedRect(QRectF(s * 0.1, s * 0.15, s * 0.8, s * 0.55), s * 0.12, s * 0.12);
    QPolygonF tail({QPointF(s * 0.3, s * 0.65), QPointF(s * 0.22, s * 0.88),
                    QPointF(s * 0.48, s * 0.66)});
    QPainterPath t;
    t.addPolygon(tail);
    return p.united(t);
}

QPainterPath Thought(double s) {
    QPainterPath p;
    p.addEllipse(QRectF(s * 0.1, s * 0.12, s * 0.8, s * 0.56));
    QPainterPath small;
    small.addEllipse(QPointF(s * 0.28, s * 0.76), s * 0.06, s * 0.06);
    small.addEllipse(QPointF(s * 0.18, s * 0.88), s * 0.035, s * 0.035);
    return p.united(small);
}

QPainterPath Ticket(double s) {
    QPainterPath p;
    p.addRoundedRect(QRectF(s * 0.06, s * 0.25, s * 0.88, s * 0.5), s * 0.04, s * 0.04);
    QPainterPath notch;
    notch.addEllipse(QPointF(s * 0.06, s * 0.5), s * 0.07, s * 0.07);
    notch.addEllipse(QPointF(s * 0.94, s * 0.5), s * 0.07, s * 0.07);
    return p.subtracted(notch);
}

QPainterPath Ribbon(double s) {
    QPainterPath p;
    p.addRect(QRectF(s * 0.18, s * 0.36, s * 0.64, s * 0.24));
    QPolygonF left({QPointF(s * 0.02, s * 0.44), QPointF(s * 0.2, s * 0.44),
                    QPointF(s * 0.2, s * 0.68), QPointF(s * 0.02, s * 0.68),
                    QPointF(s * 0.09, s * 0.56)});
    QPolygonF right({QPointF(s * 0.98, s * 0.44), QPointF(s * 0.8, s * 0.44),
                     QPointF(s * 0.8, s * 0.68), QPointF(s * 0.98, s * 0.68),
                     QPointF(s * 0.91, s * 0.56)});
    QPainterPath ends;
    ends.addPolygon(left);
    ends.addPolygon(right);
    return p.united(ends);
}

QPainterPath Shield(double s) {
    QPainterPath p(QPointF(s * 0.5, s * 0.08));
    p.cubicTo(s * 0.65, s * 0.16, s * 0.8, s * 0.16, s * 0.86, s * 0.16);
    p.cubicTo(s * 0.86, s * 0.6, s * 0.72, s * 0.8, s * 0.5, s * 0.94);
    p.cubicTo(s * 0.28, s * 0.8, s * 0.14, s * 0.6, s * 0.14, s * 0.16);
    p.cubicTo(s * 0.2, s * 0.16, s * 0.35, s * 0.16, s * 0.5, s * 0.08);
    p.closeSubpath();
    return p;
}

QPainterPath Tag(double s) {
    QPainterPath p;
    p.moveTo(s * 0.08, s * 0.5);
    p.lineTo(s * 0.3, s * 0.24);
    p.lineTo(s * 0.92, s * 0.24);
    p.lineTo(s * 0.92, s * 0.76);
    p.lineTo(s * 0.3, s * 0.76);
    p.closeSubpath();
    QPainterPath hole;
    hole.addEllipse(QPointF(s * 0.28, s * 0.5), s * 0.045, s * 0.045);
    return p.subtracted(hole);
}

QPainterPath Perforated(double s) {
    QPainterPath p;
    p.addRect(QRectF(s * 0.1, s * 0.1, s * 0.8, s * 0.8));
    QPainterPath holes;
    int n = 9;
    for (int i = 0; i <= n; ++i) {
        double t = s * (0.1 + 0.8 * i / n);
        for (QPointF c : {QPointF(t, s * 0.1), QPointF(t, s * 0.9), QPointF(s * 0.1, t),
                          QPointF(s * 0.9, t)})
            holes.addEllipse(c, s * 0.035, s * 0.035);
    }
    QPainterPath inner;
    inner.addRect(QRectF(s * 0.2, s * 0.2, s * 0.6, s * 0.6));
    return p.subtracted(holes).subtracted(inner);
}

// A frame or badge by name; empty when unknown.
QPainterPath Frame_Path(const std::string& shape, double s) {
    double w = s * 0.045;
    QRectF box(s * 0.1, s * 0.1, s * 0.8, s * 0.8);
    QPainterPath p;
    if (shape == "square") {
        p.addRect(box);
        return Outline(p, w);
    }
    if (shape == "rounded") {
        p.addRoundedRect(box, s * 0.12, s * 0.12);
        return Outline(p, w);
    }
    if (shape == "double") {
        p.addRect(box);
        p.addRect(box.adjusted(s * 0.06, s * 0.06, -s * 0.06, -s * 0.06));
        return Outline(p, w * 0.6);
    }
    if (shape == "oval") {
        p.addEllipse(QRectF(s * 0.18, s * 0.06, s * 0.64, s * 0.88));
        return Outline(p, w);
    }
    if (shape == "circle") {
        p.addEllipse(box);
        return Outline(p, w);
    }
    if (shape == "scallop") return Outline(Scallop(s, 18), w * 0.7);
    if (shape == "burst") return Art_Star_Path(s / 2, s / 2, s * 0.46, 0.8, 20);
    if (shape == "seal") return Scallop(s, 24);
    if (shape == "speech") return Speech(s);
    if (shape == "thought") return Thought(s);
    if (shape == "ticket") return Ticket(s);
    if (shape == "ribbon") return Ribbon(s);
    if (shape == "shield") return Shield(s);
    if (shape == "tag") return Tag(s);
    if (shape == "perforated") return Perforated(s);
    if (shape == "heart") return Outline(Art_Heart_Path(s / 2, s / 2, s * 0.4), w);
    if (shape == "star") return Outline(Art_Star_Path(s / 2, s * 0.53, s * 0.44, 0.45, 5), w);
    return {};
}

QImage Coverage(const QPainterPath& path, int size) {
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillPath(path, Qt::black);
    return image;
}

}  // namespace

bool Art_Gen_Symbols(const std::vector<a_art_recipe>& recipes, std::vector<a_art_item>& items,
                     std::string& error) {
    for (const a_art_recipe& r : recipes) {
        int c = r.Key("c"), d = r.Key("d"), size = r.Int("size", 256);
        if (size < 16 || size > 512) r.Fail("size runs from 16 to 512");
        QPainterPath shape;
        if (r.kind == "symbol") {
            std::string glyph_error;
            if (!Art_Glyph_Path_Hex(r.Text("font"), r.Text("code"), 100, shape, glyph_error))
                r.Fail(glyph_error);
            shape = Art_Fit_Path(shape, size, size * 0.05);
        } else if (r.kind == "frame") {
            shape = Frame_Path(r.Text("shape"), size);
            if (shape.isEmpty()) r.Fail("unknown frame shape \"" + r.Text("shape") + "\"");
        } else {
            r.Fail("expected a symbol or frame line");
        }
        if (Art_Recipe_Problem(r, error)) return false;
        items.push_back(Art_Picture_Item({11, 0, int16_t(c), int16_t(d)}, r.Text("name"),
                                         Art_Picture_Gray(Coverage(shape, size),
                                                          a_art_codec::PACKBITS)));
    }
    return true;
}
