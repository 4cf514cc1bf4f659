#include "art_sheet.h"

#include <QtCore/QBuffer>
#include <QtGui/QImageReader>
#include <QtGui/QImageWriter>
#include <QtGui/QPainter>

#include <algorithm>

#include "art_draw.h"
#include "platform/files.h"

namespace {

constexpr int CELL_W = 140, CELL_H = 110, LABEL_H = 26, COLUMNS = 8;

bool Matches(const a_art_item& item, int category, int klass) {
    return item.key.a == category && (klass < 0 || item.key.b == klass);
}

void Checkerboard(QPainter& p, const QRect& r) {
    for (int y = r.top(); y < r.bottom(); y += 8)
        for (int x = r.left(); x < r.right(); x += 8)
            p.fillRect(QRect(x, y, 8, 8).intersected(r),
                       ((x - r.left()) / 8 + (y - r.top()) / 8) % 2 ? QColor(225, 225, 225)
                                                                   : QColor(250, 250, 250));
}

void Draw_Picture(QPainter& p, const a_art_picture& pic, const QRect& box) {
    QImage image = Art_Picture_Image(pic);
    QImage fit = Art_Fit(image, box.width(), box.height());
    QRect at(box.left() + (box.width() - fit.width()) / 2,
             box.top() + (box.height() - fit.height()) / 2, fit.width(), fit.height());
    if (pic.transparent) Checkerboard(p, at);
    p.drawImage(at, fit);
}

void Draw_Gradient(QPainter& p, const a_art_gradient& g, const QRect& box) {
    int n = int(g.bands.size());
    for (int i = 0; i < n; ++i) {
        int x0 = box.left() + box.width() * i / n, x1 = box.left() + box.width() * (i + 1) / n;
        p.fillRect(QRect(x0, box.top() + box.height() / 4, x1 - x0, box.height() / 2),
                   QColor::fromRgb(g.bands[size_t(i)]));
    }
}

void Draw_Sound(QPainter& p, const a_art_sound& s, const QRect& box) {
    p.setPen(QColor(40, 90, 160));
    int n = int(s.samples.size());
    if (n == 0) return;
    int mid = box.center().y();
    for (int x = 0; x < box.width(); ++x) {
        int from = n * x / box.width(), to = std::max(from + 1, n * (x + 1) / box.width());
        int lo = 0, hi = 0;
        for (int i = from; i < to && i < n; ++i) {
            lo = std::min<int>(lo, s.samples[size_t(i)]);
            hi = std::max<int>(hi, s.samples[size_t(i)]);
        }
        int half = box.height() / 2;
        p.drawLine(box.left() + x, mid - hi * half / 32768, box.left() + x, mid - lo * half / 32768);
    }
}

QRect Rect_Of(const int16_t r[4]) { return QRect(QPoint(r[1], r[0]), QPoint(r[3] - 1, r[2] - 1)); }

// A border assembled into a frame: the corner turned four ways, the side
// piece repeated along each edge and the filler closing the gap.
QImage Assembled_Border(const a_art_picture& pic, const a_art_border& b) {
    QImage strip = Art_Picture_Image(pic);
    QImage corner = strip.copy(Rect_Of(b.corn_piece)), side = strip.copy(Rect_Of(b.side_piece));
    QImage sliver = strip.copy(Rect_Of(b.sliv_piece));
    int s = corner.width(), w = s * 7 + sliver.width(), h = s * 5;
    QImage frame(w, h, QImage::Format_ARGB32_Premultiplied);
    frame.fill(Qt::transparent);
    QPainter p(&frame);
    auto edge = [&](int length) {
        QImage out(length, s, QImage::Format_ARGB32_Premultiplied);
        out.fill(Qt::transparent);
        QPainter q(&out);
        int x = s;
        for (; x + side.width() <= length - s; x += side.width()) q.drawImage(x, 0, side);
        for (; x < length - s; x += sliver.width()) q.drawImage(x, 0, sliver);
        return out;
    };
    QImage top = edge(w), left = edge(h);
    for (int turn = 0; turn < 4; ++turn) {
        p.save();
        QTransform t;
        if (turn == 1) t.translate(w, 0).rotate(90);
        if (turn == 2) t.translate(w, h).rotate(180);
        if (turn == 3) t.translate(0, h).rotate(270);
        p.setTransform(t);
        p.drawImage(0, 0, turn % 2 ? left : top);
        p.drawImage(0, 0, corner);
        p.restore();
    }
    return frame;
}

const a_art_border* Border_Entry(const std::vector<a_art_item>& items, const a_art_key& key) {
    for (const a_art_item& item : items)
        if (item.kind == a_art_kind::BORDER_DIRECTORY)
            for (const a_art_border& b : item.borders)
                if (b.key.a == key.a && b.key.b == key.b && b.key.c == key.c && b.key.d == key.d)
                    return &b;
    return nullptr;
}

QString Label(const a_art_item& item) {
    return QString("%1.%2.%3.%4  %5")
        .arg(item.key.a)
        .arg(item.key.b)
        .arg(item.key.c)
        .arg(item.key.d)
        .arg(QString::fromStdString(item.name));
}

}  // namespace

a_art_picture Art_Contact_Sheet(const std::vector<a_art_item>& items, int category, int klass) {
    std::vector<const a_art_item*> shown;
    for (const a_art_item& item : items)
        if (Matches(item, category, klass) && item.kind != a_art_kind::BORDER_DIRECTORY)
            shown.push_back(&item);
    if (shown.empty()) return {};
    int rows = (int(shown.size()) + COLUMNS - 1) / COLUMNS;
    QImage sheet(COLUMNS * CELL_W, rows * (CELL_H + LABEL_H), QImage::Format_RGB32);
    sheet.fill(QColor(244, 244, 242));
    QPainter p(&sheet);
    p.setRenderHint(QPainter::Antialiasing);
    QFont font("DejaVu Sans");
    font.setPixelSize(10);
    p.setFont(font);
    for (size_t i = 0; i < shown.size(); ++i) {
        const a_art_item& item = *shown[i];
        int col = int(i) % COLUMNS, row = int(i) / COLUMNS;
        QRect cell(col * CELL_W, row * (CELL_H + LABEL_H), CELL_W, CELL_H + LABEL_H);
        QRect box = cell.adjusted(6, 6, -6, -LABEL_H);
        const a_art_border* border = Border_Entry(items, item.key);
        if (border && item.kind == a_art_kind::PICTURE) {
            a_art_picture frame = Art_Picture_Alpha(Assembled_Border(item.picture, *border),
                                                    a_art_codec::RAW);
            Draw_Picture(p, frame, box);
        } else if (item.kind == a_art_kind::PICTURE) {
            Draw_Picture(p, item.picture, box);
        }
        else if (item.kind == a_art_kind::GRADIENT) Draw_Gradient(p, item.gradient, box);
        else if (item.kind == a_art_kind::SOUND) Draw_Sound(p, item.sound, box);
        p.setPen(QColor(50, 50, 50));
        p.drawText(QRect(cell.left() + 3, cell.bottom() - LABEL_H, CELL_W - 6, LABEL_H),
                   Qt::AlignHCenter | Qt::AlignVCenter | Qt::TextWordWrap, Label(item));
    }
    p.end();
    return Art_Picture_Opaque(sheet, a_art_codec::RAW);
}

namespace {

size_t PackBits_Size(const std::vector<uint8_t>& data) {
    size_t out = 0, i = 0, n = data.size();
    while (i < n) {
        size_t run = 1;
        while (i + run < n && run < 128 && data[i + run] == data[i]) ++run;
        if (run >= 3) {
            out += 2;
            i += run;
            continue;
        }
        size_t lit = 0;
        while (i + lit < n && lit < 128) {
            if (i + lit + 2 < n && data[i + lit] == data[i + lit + 1] &&
                data[i + lit] == data[i + lit + 2])
                break;
            ++lit;
        }
        out += 1 + lit;
        i += lit;
    }
    return out;
}

}  // namespace

size_t Art_Estimated_Size(const a_art_item& item) {
    if (item.kind == a_art_kind::GRADIENT) return 2 + 4 * item.gradient.bands.size();
    if (item.kind == a_art_kind::SOUND) return 44 + 2 * item.sound.samples.size();
    if (item.kind == a_art_kind::BORDER_DIRECTORY) return 4 + 34 * item.borders.size();
    const a_art_picture& pic = item.picture;
    switch (pic.codec) {
        case a_art_codec::RAW: return 8 + pic.pixels.size();
        case a_art_codec::PACKBITS: return 12 + PackBits_Size(pic.pixels);
        case a_art_codec::LZW: {
            QByteArray raw(reinterpret_cast<const char*>(pic.pixels.data()),
                           qsizetype(pic.pixels.size()));
            return 12 + size_t(double(qCompress(raw, 6).size()) * 1.6);
        }
        case a_art_codec::JPEG: {
            QByteArray bytes;
            QBuffer buffer(&bytes);
            buffer.open(QIODevice::WriteOnly);
            QImageWriter writer(&buffer, "jpeg");
            writer.setQuality(pic.jpeg_quality);
            writer.write(Art_Picture_Image(pic));
            return 8 + size_t(bytes.size());
        }
    }
    return 0;
}

bool Art_Write_Png(const std::string& path, const a_art_picture& picture) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    if (!writer.write(Art_Picture_Image(picture))) return false;
    return File_SaveAtomic(path, bytes.constData(), size_t(bytes.size()));
}

bool Art_Read_Png(const std::string& path, a_art_picture& picture) {
    QImageReader reader(QString::fromStdString(path), "png");
    QImage image = reader.read();
    if (image.isNull()) return false;
    picture = Art_Picture_Opaque(image, a_art_codec::RAW);
    return true;
}
