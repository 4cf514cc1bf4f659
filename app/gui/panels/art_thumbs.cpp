#include "panels/art_thumbs.h"

#include <QtGui/QPainter>

#include "artdb/borders.h"
#include "artdb/database.h"
#include "artdb/pixt.h"

namespace {

enum : int { KEY_ROLE = Qt::UserRole };

QVariant Key_Data(const a_keyset& k) { return QList<QVariant>{k.a, k.b, k.c, k.d}; }

a_keyset Key_Of(const QListWidgetItem* item) {
    QList<QVariant> v = item->data(KEY_ROLE).toList();
    if (v.size() != 4) return {};
    return a_keyset{int16_t(v[0].toInt()), int16_t(v[1].toInt()), int16_t(v[2].toInt()), int16_t(v[3].toInt())};
}

QImage Fit_On_White(const QImage& img) {
    QImage thumb(ART_THUMB, ART_THUMB, QImage::Format_RGB32);
    thumb.fill(Qt::white);
    QPainter painter(&thumb);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    QSize fit = img.size().scaled(ART_THUMB - 4, ART_THUMB - 4, Qt::KeepAspectRatio);
    painter.drawImage(QRect((ART_THUMB - fit.width()) / 2, (ART_THUMB - fit.height()) / 2, fit.width(), fit.height()),
                      img);
    return thumb;
}

}  // namespace

QImage Art_Image(const a_keyset& key, QColor ink) {
    a_locked_pixt art(key);
    const PixMap& m = art.pixmap();
    const int w = Rect_Width(m.bounds), h = Rect_Height(m.bounds);
    const int row = m.rowBytes & ROWBYTES_MASK;
    QImage img(w, h, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    const auto* base = static_cast<const uint8_t*>(m.baseAddr);
    for (int y = 0; y < h && base; ++y) {
        const uint8_t* src = base + size_t(y) * size_t(row);
        auto* dst = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < w; ++x) {
            if (m.pixelSize == 8) {
                dst[x] = qRgba(ink.red(), ink.green(), ink.blue(), src[x]);
            } else if (m.pixelSize == 32) {
                const uint8_t* px = src + 4 * x;  // blue, green, red, alpha
                dst[x] = qRgba(px[2], px[1], px[0], px[3]);
            }
        }
    }
    return img;
}

QImage Art_Thumb(const a_keyset& key, QColor ink) { return Fit_On_White(Art_Image(key, ink)); }

QImage Border_Thumb(const a_keyset& key) {
    a_paint_art art;
    if (!Paint_Load_Border(key, art)) return Fit_On_White(QImage());
    // Room for a side piece between the corners, so the thumbnail shows all three pieces.
    const int t = Rect_Width(art.border.corn), n = 2 * t + Rect_Width(art.border.side) + 2;
    const Rect frame{0, 0, int16_t(n), int16_t(n)};
    QImage img(n, n, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            uint32_t rgb;
            uint8_t a;
            if (Border_Color(art.border, frame, x, y, rgb, a))
                img.setPixel(x, y, qRgba(int(rgb >> 16) & 0xFF, int(rgb >> 8) & 0xFF, int(rgb) & 0xFF, a));
        }
    return Fit_On_White(img);
}

std::vector<a_keyset> Category_Keys(int16_t category) {
    std::vector<a_keyset> keys;
    a_subset subset;
    Subset_Init(a_keyset{category, KEY_WILDCARD, 0, 0}, subset);
    const int n = Subset_Count(subset);
    for (int i = 1; i <= n; ++i) {
        a_keyset key;
        Subset_GetKey(key, i, subset);
        keys.push_back(key);
    }
    return keys;
}

std::vector<a_keyset> Border_Keys() {
    std::vector<a_keyset> keys;
    a_bord_res res;
    if (Border_Directory(res))
        for (const a_bord_spec& b : res.bords) keys.push_back(b.key);
    return keys;
}

QListWidget* Art_Palette(const char* name, const QString& tip, std::function<void(const a_keyset&)> chosen) {
    auto* list = new QListWidget;
    list->setObjectName(name);
    list->setToolTip(tip);
    list->setViewMode(QListView::IconMode);
    list->setIconSize(QSize(ART_THUMB, ART_THUMB));
    list->setGridSize(QSize(ART_CELL, ART_CELL));
    list->setMovement(QListView::Static);
    list->setResizeMode(QListView::Adjust);
    list->setUniformItemSizes(true);
    QObject::connect(list, &QListWidget::itemClicked, list,
                     [chosen](QListWidgetItem* item) { chosen(Key_Of(item)); });
    return list;
}

void Art_Palette_Add(QListWidget* list, const a_keyset& key, const QImage& thumb, const QString& tip) {
    auto* item = new QListWidgetItem(QIcon(QPixmap::fromImage(thumb)), QString());
    item->setData(KEY_ROLE, Key_Data(key));
    item->setToolTip(tip);
    list->addItem(item);
}

void Art_Palette_Mark(QListWidget* list, const a_keyset& key) {
    for (int i = 0; i < list->count(); ++i)
        if (Key_Of(list->item(i)) == key) return list->setCurrentRow(i);
    list->clearSelection();
}

a_paint_art& Window_Paint_Art() {
    static a_paint_art art;
    return art;
}

namespace {

bool Lend(bool loaded) {
    if (loaded) Paint_Lend_Art(Window_Paint_Art(), g_paint);
    return loaded;
}

}  // namespace

bool Window_Use_Stamp(const a_keyset& key) { return Lend(Paint_Load_Stamp(key, Window_Paint_Art())); }
bool Window_Use_Pattern(const a_keyset& key) { return Lend(Paint_Load_Pattern(key, Window_Paint_Art())); }
bool Window_Use_Border(const a_keyset& key) { return Lend(Paint_Load_Border(key, Window_Paint_Art())); }

void Window_Forget_Art() {
    a_paint_art& art = Window_Paint_Art();
    if (g_paint.stamp == &art.stamp.get()) g_paint.stamp = nullptr;
    if (g_paint.pattern == art.pattern.get()) g_paint.pattern = nullptr;
    if (g_paint.border == &art.border) g_paint.border = nullptr;
    art.stamp.reset(), art.pattern.reset(), art.border_picture.reset();
    art.border = a_border_art{};
    art.stamp_key = art.pattern_key = art.border_key = a_keyset{};
}
