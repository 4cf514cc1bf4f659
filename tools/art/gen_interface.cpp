// Interface pictures: the about box, the start screen and the paint tools'
// icons, drawn here with text from glyph outlines of DejaVu.
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

std::u32string U32(const std::string& utf8) {
    return QString::fromStdString(utf8).toStdU32String();
}

// A disc seen from above: rainbow sheen on silver, a clear hub and a hole.
void Draw_Disc(QPainter& p, QPointF c, double r) {
    QConicalGradient sheen(c, 30);
    const QColor hues[] = {QColor(220, 225, 235), QColor(255, 190, 220), QColor(190, 215, 255),
                           QColor(200, 255, 215), QColor(255, 245, 190), QColor(220, 225, 235)};
    for (int i = 0; i < 6; ++i) sheen.setColorAt(i / 5.0, hues[i]);
    p.setPen(QPen(QColor(120, 130, 150), 1.5));
    p.setBrush(sheen);
    p.drawEllipse(c, r, r);
    QRadialGradient hub(c, r * 0.3);
    hub.setColorAt(0, QColor(250, 250, 252, 240));
    hub.setColorAt(1, QColor(210, 215, 225, 240));
    p.setBrush(hub);
    p.drawEllipse(c, r * 0.3, r * 0.3);
    p.setBrush(QColor(30, 34, 60));
    p.drawEllipse(c, r * 0.1, r * 0.1);
}

bool Draw_Text(QPainter& p, const std::string& font, const std::string& text, double size,
               QPointF at, const QBrush& brush, std::string& error) {
    QPainterPath path;
    if (!Art_Text_Path(font, U32(text), size, path, error)) return false;
    p.setPen(Qt::NoPen);
    p.setBrush(brush);
    p.drawPath(path.translated(at));
    return true;
}

void Soft_Lights(QPainter& p, int w, int h, uint64_t seed) {
    a_art_rng rng(seed);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 30; ++i) {
        QPointF c(rng.Range(0, w), rng.Range(0, h));
        double r = rng.Range(8, 40);
        QRadialGradient g(c, r);
        g.setColorAt(0, QColor(150, 190, 255, rng.Int(20, 60)));
        g.setColorAt(1, QColor(150, 190, 255, 0));
        p.setBrush(g);
        p.drawEllipse(c, r, r);
    }
}

bool Draw_About(QImage& image, const a_art_recipe& r, std::string& error) {
    int w = image.width(), h = image.height();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient bg(0, 0, w, h);
    bg.setColorAt(0, QColor(16, 24, 64));
    bg.setColorAt(1, QColor(58, 22, 88));
    p.fillRect(image.rect(), bg);
    Soft_Lights(p, w, h, 5);
    Draw_Disc(p, QPointF(h * 0.5, h * 0.5), h * 0.36);
    double x = h * 0.98;
    QLinearGradient title(0, h * 0.3, 0, h * 0.5);
    title.setColorAt(0, Qt::white);
    title.setColorAt(1, QColor(190, 210, 255));
    return Draw_Text(p, "dejavu-bold", r.Text("title", "Cirquel"), h * 0.2, QPointF(x, h * 0.46),
                     title, error) &&
           Draw_Text(p, "dejavu", r.Text("text"), h * 0.06, QPointF(x, h * 0.58),
                     QColor(220, 225, 245), error) &&
           Draw_Text(p, "dejavu", r.Text("version"), h * 0.05, QPointF(x, h * 0.7),
                     QColor(160, 170, 210), error);
}

bool Draw_Welcome(QImage& image, const a_art_recipe& r, std::string& error) {
    int w = image.width(), h = image.height();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient bg(0, 0, 0, h);
    bg.setColorAt(0, QColor(236, 242, 252));
    bg.setColorAt(1, QColor(198, 212, 236));
    p.fillRect(image.rect(), bg);
    // A jewel case behind two discs.
    p.setPen(QPen(QColor(120, 130, 150), 2));
    p.setBrush(QColor(255, 255, 255, 170));
    p.drawRoundedRect(QRectF(w * 0.52, h * 0.18, h * 0.62, h * 0.62), 6, 6);
    Draw_Disc(p, QPointF(w * 0.5, h * 0.52), h * 0.3);
    Draw_Disc(p, QPointF(w * 0.7, h * 0.6), h * 0.22);
    return Draw_Text(p, "dejavu-bold", r.Text("title", "Cirquel"), h * 0.13,
                     QPointF(w * 0.05, h * 0.2), QColor(30, 40, 90), error) &&
           Draw_Text(p, "dejavu", r.Text("text"), h * 0.045, QPointF(w * 0.05, h * 0.29),
                     QColor(60, 70, 110), error);
}

// ---- tool icons, 32 x 32 ----

bool Icon(QPainter& p, const std::string& tool, double s, std::string& error) {
    QColor ink(40, 44, 52), accent(52, 120, 220), fill(120, 170, 240);
    QPen pen(ink, s / 16, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    QRectF box(s * 0.16, s * 0.22, s * 0.68, s * 0.56);
    if (tool == "brush") {
        p.setPen(QPen(QColor(150, 100, 50), s / 8, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(s * 0.85, s * 0.15), QPointF(s * 0.45, s * 0.55));
        p.setPen(QPen(QColor(170, 170, 180), s / 7, Qt::SolidLine, Qt::FlatCap));
        p.drawLine(QPointF(s * 0.47, s * 0.53), QPointF(s * 0.38, s * 0.62));
        p.setPen(Qt::NoPen);
        p.setBrush(accent);
        QPainterPath tip(QPointF(s * 0.4, s * 0.56));
        tip.cubicTo(s * 0.3, s * 0.62, s * 0.2, s * 0.72, s * 0.1, s * 0.9);
        tip.cubicTo(s * 0.3, s * 0.86, s * 0.4, s * 0.76, s * 0.44, s * 0.62);
        p.drawPath(tip);
    } else if (tool == "eraser") {
        p.save();
        p.translate(s / 2, s / 2);
        p.rotate(-35);
        p.setBrush(QColor(240, 120, 140));
        p.drawRoundedRect(QRectF(-s * 0.36, -s * 0.16, s * 0.4, s * 0.32), 2, 2);
        p.setBrush(QColor(240, 240, 245));
        p.drawRoundedRect(QRectF(0.04 * s, -s * 0.16, s * 0.32, s * 0.32), 2, 2);
        p.restore();
    } else if (tool == "spray") {
        p.setBrush(QColor(200, 205, 215));
        p.drawRoundedRect(QRectF(s * 0.5, s * 0.35, s * 0.3, s * 0.55), 3, 3);
        p.setBrush(accent);
        p.drawRect(QRectF(s * 0.56, s * 0.22, s * 0.18, s * 0.13));
        p.setPen(Qt::NoPen);
        p.setBrush(accent);
        a_art_rng rng(3);
        for (int i = 0; i < 14; ++i) {
            double a = rng.Range(-0.6, 0.6) + PI, d = rng.Range(s * 0.1, s * 0.38);
            p.drawEllipse(QPointF(s * 0.55 + d * std::cos(a), s * 0.28 + d * std::sin(a)),
                          s / 40, s / 40);
        }
    } else if (tool == "spolygon" || tool == "polygon") {
        p.setBrush(tool == "spolygon" ? QBrush(fill) : QBrush(Qt::NoBrush));
        p.drawPolygon(QPolygonF({QPointF(s * 0.2, s * 0.3), QPointF(s * 0.62, s * 0.14),
                                 QPointF(s * 0.86, s * 0.5), QPointF(s * 0.6, s * 0.86),
                                 QPointF(s * 0.16, s * 0.7)}));
    } else if (tool == "soval" || tool == "foval") {
        p.setBrush(tool == "soval" ? QBrush(fill) : QBrush(Qt::NoBrush));
        p.drawEllipse(box);
    } else if (tool == "sarc" || tool == "farc") {
        p.setBrush(tool == "sarc" ? QBrush(fill) : QBrush(Qt::NoBrush));
        QRectF r(-s * 0.62, s * 0.18, s * 1.32, s * 1.32);
        if (tool == "sarc") p.drawPie(r, 0, 90 * 16);
        else p.drawArc(r, 0, 90 * 16);
    } else if (tool == "srect" || tool == "frect") {
        p.setBrush(tool == "srect" ? QBrush(fill) : QBrush(Qt::NoBrush));
        p.drawRect(box);
    } else if (tool == "grabber") {
        QPainterPath hand;
        if (!Art_Glyph_Path("symbola", 0x270B, 100, hand, error)) return false;
        p.setPen(Qt::NoPen);
        p.setBrush(ink);
        p.drawPath(Art_Fit_Path(hand, s, s * 0.08));
    } else if (tool == "stamp") {
        p.setBrush(QColor(150, 100, 50));
        p.drawRoundedRect(QRectF(s * 0.38, s * 0.1, s * 0.24, s * 0.36), 4, 4);
        p.setBrush(accent);
        p.drawRect(QRectF(s * 0.18, s * 0.46, s * 0.64, s * 0.18));
        p.setBrush(ink);
        p.drawRect(QRectF(s * 0.22, s * 0.64, s * 0.56, s * 0.1));
        p.setPen(QPen(accent, s / 20));
        p.drawLine(QPointF(s * 0.15, s * 0.88), QPointF(s * 0.85, s * 0.88));
    } else if (tool == "select") {
        p.setPen(QPen(ink, s / 18, Qt::DashLine));
        p.drawRect(box);
    } else if (tool == "bucket") {
        p.save();
        p.translate(s * 0.45, s * 0.5);
        p.rotate(-30);
        p.setBrush(QColor(200, 205, 215));
        p.drawPolygon(QPolygonF({QPointF(-s * 0.22, -s * 0.2), QPointF(s * 0.22, -s * 0.2),
                                 QPointF(s * 0.17, s * 0.3), QPointF(-s * 0.17, s * 0.3)}));
        p.restore();
        p.setPen(Qt::NoPen);
        p.setBrush(accent);
        QPainterPath drop(QPointF(s * 0.8, s * 0.5));
        drop.cubicTo(s * 0.9, s * 0.68, s * 0.9, s * 0.82, s * 0.8, s * 0.82);
        drop.cubicTo(s * 0.7, s * 0.82, s * 0.7, s * 0.68, s * 0.8, s * 0.5);
        p.drawPath(drop);
    } else if (tool == "line") {
        p.drawLine(QPointF(s * 0.15, s * 0.85), QPointF(s * 0.85, s * 0.15));
    } else if (tool == "dropper") {
        p.setPen(QPen(ink, s / 10, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(s * 0.2, s * 0.8), QPointF(s * 0.62, s * 0.38));
        p.setPen(Qt::NoPen);
        p.setBrush(ink);
        p.drawEllipse(QPointF(s * 0.72, s * 0.28), s * 0.13, s * 0.13);
        p.setBrush(accent);
        p.drawEllipse(QPointF(s * 0.16, s * 0.86), s * 0.06, s * 0.06);
    } else {
        error = "unknown tool \"" + tool + "\"";
        return false;
    }
    return true;
}

}  // namespace

bool Art_Gen_Interface(const std::vector<a_art_recipe>& recipes, std::vector<a_art_item>& items,
                       std::string& error) {
    for (const a_art_recipe& r : recipes) {
        int id = r.Key("id");
        int w = r.Int("width", 32), h = r.Int("height", w);
        if (w < 8 || w > 2048 || h < 8 || h > 2048) r.Fail("sizes run from 8 to 2048");
        if (r.kind != "picture" && r.kind != "icon") r.Fail("expected a picture or icon line");
        if (Art_Recipe_Problem(r, error)) return false;
        a_art_key key{12, int16_t(id), 0, 0};
        if (r.kind == "icon") {
            QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
            image.fill(Qt::transparent);
            QPainter p(&image);
            p.setRenderHint(QPainter::Antialiasing);
            std::string icon_error;
            if (!Icon(p, r.Text("tool"), w, icon_error)) r.Fail(icon_error);
            p.end();
            if (Art_Recipe_Problem(r, error)) return false;
            items.push_back(Art_Picture_Item(key, r.Text("name"),
                                             Art_Picture_Alpha(image, a_art_codec::LZW)));
            continue;
        }
        QImage image(w, h, QImage::Format_RGB32);
        std::string draw = r.Text("draw"), text_error;
        bool ok = draw == "about"     ? Draw_About(image, r, text_error)
                  : draw == "welcome" ? Draw_Welcome(image, r, text_error)
                                      : (r.Fail("draw must be about or welcome"), true);
        if (!ok) r.Fail(text_error);
        if (Art_Recipe_Problem(r, error)) return false;
        items.push_back(Art_Picture_Item(key, r.Text("name"),
                                         Art_Picture_Opaque(image, a_art_codec::JPEG)));
    }
    return true;
}
