// Canvases: for each recipe a palette thumbnail (category 2) in every class
// it lists and a full picture (category 1) in the classes it draws; classes
// without their own full picture borrow one along the fallback chain.
#include <QtGui/QPainter>

#include <algorithm>

#include "art_canvas_classes.h"
#include "art_draw.h"
#include "art_families.h"
#include "canvas_designs.h"

namespace {

constexpr int THUMB_BOX_W = 96, THUMB_BOX_H = 64;

bool Codec_Of(const a_art_recipe& r, a_art_codec& codec) {
    std::string name = r.Text("codec", "jpeg");
    if (name == "jpeg") codec = a_art_codec::JPEG;
    else if (name == "lzw") codec = a_art_codec::LZW;
    else if (name == "packbits") codec = a_art_codec::PACKBITS;
    else return false;
    return true;
}

// Discs show their thumbnail as a disc with its centre hole.
QImage Disc_Thumbnail(const QImage& square) {
    QImage out(square.size(), QImage::Format_RGB32);
    out.fill(Qt::white);
    QPainter p(&out);
    p.setRenderHint(QPainter::Antialiasing);
    double r = square.width() / 2.0 - 1;
    QPointF c(square.width() / 2.0, square.height() / 2.0);
    QPainterPath disc;
    disc.addEllipse(c, r, r);
    disc.addEllipse(c, r * 0.18, r * 0.18);
    p.setClipPath(disc);
    p.drawImage(0, 0, square);
    p.setClipping(false);
    p.setPen(QPen(QColor(170, 170, 170), 1));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c, r, r);
    p.drawEllipse(c, r * 0.18, r * 0.18);
    return out;
}

QImage Thumbnail(const QImage& full, int unit_class, int picture_class) {
    QRect src = Canvas_Source_Rect(unit_class, picture_class, full.width(), full.height());
    a_canvas_size natural = Art_Canvas_Natural_Size(unit_class);
    // Scale the unit's view, not the cropped rectangle, so proportions hold
    // even where a borrowed picture is smaller than the unit.
    QImage view = full.copy(src).scaled(natural.width, natural.height, Qt::IgnoreAspectRatio,
                                        Qt::SmoothTransformation);
    QImage thumb = Art_Fit(view, THUMB_BOX_W, THUMB_BOX_H);
    return unit_class == 0 ? Disc_Thumbnail(thumb) : thumb;
}

bool One_Canvas(const a_art_recipe& r, std::vector<a_art_item>& items, std::string& error) {
    int c = r.Key("c"), d = r.Key("d");
    std::string name = r.Text("name");
    std::vector<int> palette =
        r.Has("palette") ? r.Ints("palette") : std::vector<int>{0, 1, 2, 3, 4, 5};
    std::vector<int> full = r.Has("full") ? r.Ints("full") : palette;
    a_canvas_design design = Canvas_Design(r.Text("design"));
    a_art_codec codec = a_art_codec::JPEG;
    if (!design) r.Fail("unknown design \"" + r.Text("design") + "\"");
    if (!Codec_Of(r, codec)) r.Fail("codec must be jpeg, lzw or packbits");
    if (name.empty()) r.Fail("a canvas needs a name");
    bool has_full[ART_CANVAS_CLASSES] = {};
    for (int k : full) {
        if (k < 0 || k >= ART_CANVAS_CLASSES) r.Fail("classes run from 0 to 5");
        else has_full[k] = true;
    }
    for (int k : palette) {
        if (k < 0 || k >= ART_CANVAS_CLASSES) {
            r.Fail("classes run from 0 to 5");
            continue;
        }
        int from = Canvas_Resolve(k, has_full);
        a_canvas_size want = Art_Canvas_Natural_Size(k), have = Art_Canvas_Natural_Size(from);
        if (from < 0)
            r.Fail("class " + std::to_string(k) + " has no full picture along its fallback chain");
        // A borrowed picture is cut at the unit's natural size, not scaled
        // (except from class 1), so it must be at least that large.
        else if (from != k && from != 1 && (have.width < want.width || have.height < want.height))
            r.Fail("class " + std::to_string(k) + " would borrow the smaller picture of class " +
                   std::to_string(from));
    }
    if (Art_Recipe_Problem(r, error)) return false;

    QImage pictures[ART_CANVAS_CLASSES];
    for (int k = 0; k < ART_CANVAS_CLASSES; ++k) {
        if (!has_full[k]) continue;
        a_canvas_size size = Art_Canvas_Natural_Size(k);
        pictures[k] = design(size.width, size.height, r);
        if (Art_Recipe_Problem(r, error)) return false;
        a_art_picture pic = Art_Picture_Opaque(pictures[k], codec);
        pic.jpeg_quality = r.Int("quality", 86);
        items.push_back(Art_Picture_Item({1, int16_t(k), int16_t(c), int16_t(d)}, name,
                                         std::move(pic)));
    }
    for (int k : palette) {
        int from = Canvas_Resolve(k, has_full);
        QImage thumb = Thumbnail(pictures[from], k, from);
        a_art_picture pic = Art_Picture_Opaque(thumb, codec == a_art_codec::JPEG
                                                          ? a_art_codec::JPEG
                                                          : a_art_codec::LZW);
        pic.jpeg_quality = 92;
        items.push_back(Art_Picture_Item({2, int16_t(k), int16_t(c), int16_t(d)}, name,
                                         std::move(pic)));
    }
    return !Art_Recipe_Problem(r, error);
}

}  // namespace

bool Art_Gen_Canvases(const std::vector<a_art_recipe>& recipes, std::vector<a_art_item>& items,
                      std::string& error) {
    for (const a_art_recipe& r : recipes) {
        if (r.kind != "canvas") {
            error = r.where + ": expected a canvas line";
            return false;
        }
        if (!One_Canvas(r, items, error)) return false;
    }
    return true;
}
