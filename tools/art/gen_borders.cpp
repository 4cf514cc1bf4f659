// Borders: one picture per border holding its three pieces side by side —
// the top-left corner, a side piece that repeats along the top edge, and a
// narrow filler for the length left over — and the border directory naming
// them. Other corners and sides are the same pieces turned.
#include <QtGui/QLinearGradient>
#include <QtGui/QPainter>
#include <QtGui/QRadialGradient>

#include <cmath>

#include "art_draw.h"
#include "art_families.h"

namespace {

constexpr int SLIVER = 8;

struct a_band {
    std::string style;
    std::vector<QColor> colors;
    double size;   // piece height: the band runs along its top
    double thick;  // band thickness from the outer edge
    QColor Color(size_t i) const { return colors[i % colors.size()]; }
};

// The plain band: a bevel across its thickness.
void Band_Ground(QPainter& p, const a_band& b, double x0, double x1) {
    QLinearGradient g(0, 0, 0, b.thick);
    QColor c = b.Color(0);
    if (b.style == "gold" || b.style == "wood" || b.style == "silver") {
        g.setColorAt(0, c.darker(160));
        g.setColorAt(0.3, c.lighter(150));
        g.setColorAt(0.55, c);
        g.setColorAt(0.8, c.darker(130));
        g.setColorAt(1, c.lighter(120));
    } else {
        g.setColorAt(0, c);
        g.setColorAt(1, c);
    }
    p.fillRect(QRectF(x0, 0, x1 - x0, b.thick), g);
    if (b.style == "wood") {
        // Grain lines along the band.
        a_art_rng rng(7);
        for (int i = 0; i < 9; ++i) {
            double y = rng.Range(2, b.thick - 2);
            p.setPen(QPen(QColor(60, 30, 10, 70), rng.Range(0.6, 1.4)));
            p.drawLine(QPointF(x0, y), QPointF(x1, y));
        }
        p.setPen(Qt::NoPen);
    }
}

// The motif repeated along the band over [x0, x1); one repeat per piece.
void Band_Motif(QPainter& p, const a_band& b, double x0, double x1) {
    double t = b.thick, s = b.size;
    p.setPen(Qt::NoPen);
    for (double x = x0; x < x1 - 0.5; x += s) {
        if (b.style == "film") {
            p.setBrush(b.Color(1));
            for (int i = 0; i < 4; ++i) {
                double hx = x + s * (i + 0.25) / 4;
                p.drawRoundedRect(QRectF(hx, t * 0.12, s / 8, t * 0.22), 1.5, 1.5);
                p.drawRoundedRect(QRectF(hx, t * 0.66, s / 8, t * 0.22), 1.5, 1.5);
            }
        } else if (b.style == "pearls") {
            for (int i = 0; i < 3; ++i) {
                QPointF c(x + s * (i + 0.5) / 3, t / 2);
                double r = s / 6 - 0.8;
                QRadialGradient g(c - QPointF(r * 0.35, r * 0.35), r * 1.3);
                g.setColorAt(0, Qt::white);
                g.setColorAt(0.5, b.Color(0));
                g.setColorAt(1, b.Color(0).darker(140));
                p.setBrush(g);
                p.drawEllipse(c, r, r);
            }
        } else if (b.style == "rope") {
            for (int i = 0; i < 4; ++i) {
                double sx = x + s * i / 4;
                QPainterPath strand;
                strand.moveTo(sx, t);
                strand.cubicTo(sx + s / 8, t * 0.6, sx + s / 6, t * 0.3, sx + s / 4 + s / 8, 0);
                strand.lineTo(sx + s / 4 + s / 8 + s / 9, 0);
                strand.cubicTo(sx + s / 6 + s / 9, t * 0.3, sx + s / 8 + s / 9, t * 0.6,
                               sx + s / 9, t);
                strand.closeSubpath();
                QLinearGradient g(sx, 0, sx + s / 4, 0);
                g.setColorAt(0, b.Color(1).darker(130));
                g.setColorAt(0.5, b.Color(1).lighter(130));
                g.setColorAt(1, b.Color(1).darker(130));
                p.setBrush(g);
                p.drawPath(strand);
            }
        } else if (b.style == "meander") {
            // Greek key: one hook per repeat, drawn as a thick line.
            double m = t * 0.18, w = s, u = (t - 2 * m) / 4;
            QPainterPath key;
            key.moveTo(x, t - m);
            key.lineTo(x + w * 0.75, t - m);
            key.lineTo(x + w * 0.75, m);
            key.lineTo(x + w * 0.25, m);
            key.lineTo(x + w * 0.25, m + 2.2 * u);
            key.lineTo(x + w * 0.5, m + 2.2 * u);
            key.lineTo(x + w * 0.5, m + 1.1 * u);
            p.setBrush(Qt::NoBrush);
            p.setPen(QPen(b.Color(1), u * 0.75, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
            p.drawPath(key);
            p.drawLine(QPointF(x + w * 0.75, t - m), QPointF(x + w, t - m));
            p.setPen(QPen(b.Color(1), u * 0.5));
            p.drawLine(QPointF(x, m * 0.4), QPointF(x + w, m * 0.4));
            p.setPen(Qt::NoPen);
        } else if (b.style == "hearts" || b.style == "stars") {
            for (int i = 0; i < 2; ++i) {
                QPointF c(x + s * (i + 0.5) / 2, t / 2);
                p.setBrush(b.Color(1 + size_t(i) % (b.colors.size() - 1)));
                p.drawPath(b.style == "hearts" ? Art_Heart_Path(c.x(), c.y(), t * 0.36)
                                               : Art_Star_Path(c.x(), c.y() + 1, t * 0.4, 0.45, 5));
            }
        } else if (b.style == "holly") {
            for (int i = 0; i < 2; ++i) {
                QPointF c(x + s * (i + 0.5) / 2, t / 2);
                p.setBrush(b.Color(1));
                p.drawPath(Art_Leaf_Path(c.x() - t * 0.2, c.y(), t * 0.4, -60));
                p.drawPath(Art_Leaf_Path(c.x() + t * 0.2, c.y(), t * 0.4, 60));
                p.setBrush(b.Color(2));
                p.drawEllipse(c, t * 0.11, t * 0.11);
            }
        } else if (b.style == "piano") {
            p.setBrush(b.Color(1));
            for (int i = 0; i < 6; ++i) {
                double kx = x + s * i / 6;
                p.setPen(QPen(QColor(90, 90, 90), 0.8));
                p.setBrush(b.Color(0));
                p.drawRect(QRectF(kx, 0, s / 6, t));
                p.setPen(Qt::NoPen);
            }
            p.setBrush(b.Color(1));
            for (int i : {0, 1, 3, 4, 5})
                p.drawRect(QRectF(x + s * (i + 1) / 6 - s / 24, 0, s / 12, t * 0.6));
        } else if (b.style == "checkers") {
            double cell = t / 3;
            for (int j = 0; j < 3; ++j)
                for (int i = 0; i * cell < s - 0.5; ++i)
                    if ((i + j) % 2) {
                        p.setBrush(b.Color(1));
                        p.drawRect(QRectF(x + i * cell, j * cell, cell, cell));
                    }
        } else if (b.style == "lace") {
            p.setBrush(b.Color(0));
            for (int i = 0; i < 3; ++i)
                p.drawEllipse(QPointF(x + s * (i + 0.5) / 3, t * 0.7), s / 6, t * 0.32);
            p.setBrush(b.Color(1));
            for (int i = 0; i < 3; ++i)
                p.drawEllipse(QPointF(x + s * (i + 0.5) / 3, t * 0.62), s / 22, s / 22);
        }
    }
}

QImage Draw_Border(const a_band& b) {
    int s = int(b.size);
    QImage image(2 * s + SLIVER, s, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // Side piece and filler: the band along the top.
    p.save();
    p.setClipRect(QRectF(s, 0, s, s));
    Band_Ground(p, b, s, 2 * s);
    Band_Motif(p, b, s, 2 * s);
    p.restore();
    p.save();
    p.setClipRect(QRectF(2 * s, 0, SLIVER, s));
    Band_Ground(p, b, 2 * s, 2 * s + SLIVER);
    p.restore();
    // Corner: the top band above the diagonal, the same band turned down
    // the left side below it, and a square block where they meet.
    QPainterPath upper, lower;
    upper.addPolygon(QPolygonF({QPointF(0, 0), QPointF(s, 0), QPointF(s, s)}));
    lower.addPolygon(QPolygonF({QPointF(0, 0), QPointF(s, s), QPointF(0, s)}));
    p.save();
    p.setClipPath(upper);
    Band_Ground(p, b, 0, s);
    p.restore();
    p.save();
    p.setClipPath(lower);
    p.setTransform(QTransform(0, 1, 1, 0, 0, 0));  // swap x and y
    Band_Ground(p, b, 0, s);
    p.restore();
    if (b.style != "gold" && b.style != "wood" && b.style != "silver") {
        p.setPen(Qt::NoPen);
        p.setBrush(b.Color(b.colors.size() > 2 ? 2 : 1));
        p.drawRoundedRect(QRectF(b.thick * 0.15, b.thick * 0.15, b.thick * 0.7, b.thick * 0.7),
                          b.thick * 0.2, b.thick * 0.2);
    } else {
        QPointF c(b.thick / 2, b.thick / 2);
        QRadialGradient g(c - QPointF(2, 2), b.thick * 0.45);
        g.setColorAt(0, b.Color(0).lighter(170));
        g.setColorAt(1, b.Color(0).darker(150));
        p.setPen(Qt::NoPen);
        p.setBrush(g);
        p.drawEllipse(c, b.thick * 0.36, b.thick * 0.36);
    }
    return image;
}

void Rect_Of(int16_t out[4], int top, int left, int bottom, int right) {
    out[0] = int16_t(top);
    out[1] = int16_t(left);
    out[2] = int16_t(bottom);
    out[3] = int16_t(right);
}

}  // namespace

bool Art_Gen_Borders(const std::vector<a_art_recipe>& recipes, std::vector<a_art_item>& items,
                     std::string& error) {
    a_art_item directory;
    directory.key = {7, 0, 0, 0};
    directory.kind = a_art_kind::BORDER_DIRECTORY;
    directory.name = "Border directory";
    std::vector<a_art_item> pictures;
    for (const a_art_recipe& r : recipes) {
        if (r.kind != "border") r.Fail("expected a border line");
        int id = r.Key("id"), size = r.Int("size", 48);
        a_band band{r.Text("style"), r.Colors("colors"), double(size), size * r.Real("thick", 0.6)};
        if (size < 16 || size > 128) r.Fail("size runs from 16 to 128");
        if (band.colors.size() < 2) r.Fail("a border needs at least two colours");
        if (Art_Recipe_Problem(r, error)) return false;
        a_art_border entry;
        entry.key = {7, int16_t(id), 0, 0};
        entry.klass = int16_t(r.Int("class", 0));
        Rect_Of(entry.corn_piece, 0, 0, size, size);
        Rect_Of(entry.side_piece, 0, size, size, 2 * size);
        Rect_Of(entry.sliv_piece, 0, 2 * size, size, 2 * size + SLIVER);
        directory.borders.push_back(entry);
        pictures.push_back(Art_Picture_Item(entry.key, r.Text("name"),
                                            Art_Picture_Alpha(Draw_Border(band), a_art_codec::LZW)));
    }
    items.push_back(std::move(directory));
    for (a_art_item& item : pictures) items.push_back(std::move(item));
    return true;
}
