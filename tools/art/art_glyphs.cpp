#include "art_glyphs.h"

#include <QtGui/QRawFont>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>

namespace {

struct a_font_file {
    const char* name;
    const char* path;
    const char* package;
};

// Named with their Debian packages and licences in data/art/README.
const a_font_file FONTS[] = {
    {"dejavu", "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", "fonts-dejavu-core"},
    {"dejavu-bold", "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf", "fonts-dejavu-core"},
    {"dejavu-serif", "/usr/share/fonts/truetype/dejavu/DejaVuSerif.ttf", "fonts-dejavu-core"},
    {"dejavu-serif-bold", "/usr/share/fonts/truetype/dejavu/DejaVuSerif-Bold.ttf",
     "fonts-dejavu-core"},
    {"symbola", "/usr/share/fonts/truetype/ancient-scripts/Symbola_hint.ttf", "fonts-symbola"},
};

// Outlines are taken at one size and scaled, so results do not depend on
// hinting at the requested size.
constexpr double DESIGN_SIZE = 1000.0;

const QRawFont* Font(const std::string& name, std::string& error) {
    static std::map<std::string, std::unique_ptr<QRawFont>> open;
    auto it = open.find(name);
    if (it != open.end()) return it->second.get();
    for (const a_font_file& f : FONTS) {
        if (name != f.name) continue;
        auto font = std::make_unique<QRawFont>(QString::fromUtf8(f.path), DESIGN_SIZE,
                                               QFont::PreferNoHinting);
        if (!font->isValid()) {
            error = std::string("font file ") + f.path + " is missing; install " + f.package +
                    " (scripts/bootstrap)";
            return nullptr;
        }
        return open.emplace(name, std::move(font)).first->second.get();
    }
    error = "unknown font \"" + name + "\"";
    return nullptr;
}

}  // namespace

bool Art_Text_Path(const std::string& font_name, const std::u32string& text, double pixel_size,
                   QPainterPath& out, std::string& error) {
    const QRawFont* font = Font(font_name, error);
    if (!font) return false;
    QString s = QString::fromUcs4(text.data(), qsizetype(text.size()));
    for (char32_t ch : text) {
        if (!font->supportsCharacter(uint(ch))) {
            char hex[16];
            std::snprintf(hex, sizeof hex, "U+%04X", unsigned(ch));
            error = "font " + font_name + " has no glyph for " + hex;
            return false;
        }
    }
    QList<quint32> glyphs = font->glyphIndexesForString(s);
    QList<QPointF> advances = font->advancesForGlyphIndexes(glyphs);
    QPainterPath path;
    QPointF pen(0, 0);
    for (qsizetype i = 0; i < glyphs.size(); ++i) {
        path.addPath(font->pathForGlyph(glyphs[i]).translated(pen));
        pen += advances[i];
    }
    QTransform scale;
    scale.scale(pixel_size / DESIGN_SIZE, pixel_size / DESIGN_SIZE);
    out = scale.map(path);
    out.setFillRule(Qt::WindingFill);
    return true;
}

bool Art_Glyph_Path(const std::string& font, char32_t code, double pixel_size,
                    QPainterPath& out, std::string& error) {
    if (!Art_Text_Path(font, std::u32string(1, code), pixel_size, out, error)) return false;
    if (out.isEmpty()) {
        error = "font " + font + " draws nothing for that character";
        return false;
    }
    return true;
}

QPainterPath Art_Fit_Path(const QPainterPath& path, double size, double margin) {
    QRectF b = path.boundingRect();
    if (b.width() <= 0 || b.height() <= 0) return path;
    double s = (size - 2 * margin) / std::max(b.width(), b.height());
    QTransform t;
    t.translate(size / 2, size / 2);
    t.scale(s, s);
    t.translate(-b.center().x(), -b.center().y());
    return t.map(path);
}
