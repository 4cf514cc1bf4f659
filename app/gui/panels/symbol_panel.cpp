#include "panels/symbol_panel.h"

#include <QtGui/QPainter>
#include <QtWidgets/QLabel>
#include <QtWidgets/QListWidget>
#include <QtWidgets/QTabWidget>
#include <QtWidgets/QVBoxLayout>

#include "block_watch.h"
#include "artdb/database.h"
#include "artdb/pixt.h"
#include "images/photo_blocks.h"
#include "model/document.h"
#include "model/notices.h"
#include "model/ph_blocks.h"
#include "model/selection.h"
#include "panels/panel_parts.h"
#include "widgets/slider_widget.h"
#include "ui/interface.h"
#include "ui/photo_cmds.h"
#include "ui/photo_sliders.h"

namespace {

enum : int { THUMB = 38, CELL = 44 };
enum : int16_t { SYMBOL_CATEGORY = 11, STAMP_CATEGORY = 8 };
enum : int { KEY_ROLE = Qt::UserRole };

// An art picture whole: grey coverage inked in `ink` (255 full ink),
// colour pictures as they are.
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

// The picture as a thumbnail over white.
QImage Art_Thumb(const a_keyset& key, QColor ink) {
    const QImage img = Art_Image(key, ink);
    QImage thumb(THUMB, THUMB, QImage::Format_RGB32);
    thumb.fill(Qt::white);
    QPainter painter(&thumb);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    QSize fit = img.size().scaled(THUMB - 4, THUMB - 4, Qt::KeepAspectRatio);
    painter.drawImage(
        QRect((THUMB - fit.width()) / 2, (THUMB - fit.height()) / 2, fit.width(), fit.height()),
        img);
    return thumb;
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

QVariant Key_Data(const a_keyset& k) {
    return QList<QVariant>{k.a, k.b, k.c, k.d};
}

a_keyset Key_Of(const QListWidgetItem* item) {
    QList<QVariant> v = item->data(KEY_ROLE).toList();
    if (v.size() != 4) return {};
    return a_keyset{int16_t(v[0].toInt()), int16_t(v[1].toInt()), int16_t(v[2].toInt()),
                    int16_t(v[3].toInt())};
}

int Selected_Symbols() {
    if (!g_doc.doc_open || !g_doc.up) return 0;
    int n = 0;
    for (int omx = OMX_START; Selection_Enum(omx);) n += Curr_Item(omx)->kind == SYMBOL_BLOCK;
    return n;
}

}  // namespace

a_symbol_panel::a_symbol_panel(QWidget* parent)
    : QWidget(parent), watch_(this, [this] { if (isVisible()) Refresh(); }) {
    setObjectName("symbolPanel");
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(10, 4, 10, 10);
    outer->setSpacing(4);
    outer->addWidget(Panel_Heading(tr("Clip art")));
    tabs_ = new QTabWidget;
    tabs_->setObjectName("clipArtTabs");
    symbols_ = Palette("symbolPalette", false);
    stamps_ = Palette("stampPalette", true);
    tabs_->addTab(symbols_, tr("Symbols"));
    tabs_->setTabToolTip(0, tr("Shapes of one color; click one to put it on the label"));
    tabs_->addTab(stamps_, tr("Stamps"));
    tabs_->setTabToolTip(
        1, tr("Pictures in colors of their own; click one to put it on the label as a photo"));
    tabs_->addTab(new QWidget, tr("Borders"));
    tabs_->setTabToolTip(2, tr("Borders around the label are not built yet"));
    tabs_->setTabEnabled(2, false);
    tabs_->setMinimumHeight(250);
    outer->addWidget(tabs_, 1);

    outer->addWidget(Panel_Heading(tr("Color")));
    colour_ = new QLabel;
    colour_->setObjectName("symbolColorShown");
    colour_->setFixedSize(60, 14);
    colour_->setToolTip(tr("The color new clip art takes, and the selected symbols"));
    outer->addWidget(colour_);
    swatches_ =
        Swatch_Grid("symbolColour", tr("Color the selected symbols, and the clip art added next"),
                    [this](QColor c) {
                        Act([&] { Symbol_Set_Color(To_Pixel(c)); });
                        Refresh();
                    });
    outer->addWidget(swatches_);
    note_ = Panel_Note("symbolNote");
    outer->addWidget(note_);
    QVBoxLayout* column = Controls_Column(controls_);
    column->addWidget(Panel_Heading(tr("Selected symbol")));
    const struct {
        a_slider_enum slider;
        const char* tip;
    } kSliders[] = {
        {SYMBOL_SIZE_SLIDER, "The symbol's size, in tenths of a percent of its picture"},
        {SYMBOL_ANGLE_SLIDER, "The symbol's turn, in tenths of a degree"},
        {SYMBOL_OPACITY_SLIDER, "How much of the background shows through, in percent"}};
    for (const auto& s : kSliders) {
        auto* w = new a_slider_widget(s.slider);
        w->setToolTip(tr(s.tip));
        sliders_.push_back(w);
        column->addWidget(w);
    }
    outer->addWidget(controls_);

}

QListWidget* a_symbol_panel::Palette(const char* name, bool stamps) {
    auto* list = new QListWidget;
    list->setObjectName(name);
    list->setToolTip(stamps ? tr("Pictures in colors of their own; click one to put it on the label as a photo")
                            : tr("Shapes of one color; click one to put it on the label"));
    list->setViewMode(QListView::IconMode);
    list->setIconSize(QSize(THUMB, THUMB));
    list->setGridSize(QSize(CELL, CELL));
    list->setMovement(QListView::Static);
    list->setResizeMode(QListView::Adjust);
    list->setUniformItemSizes(true);
    connect(list, &QListWidget::itemClicked, this, [this, stamps](QListWidgetItem* item) {
        if (!g_doc.doc_open) return;
        a_keyset key = Key_Of(item);
        if (stamps) {
            // A stamp is a photo of its own pixels: the Photos panel shows it.
            Act([&] {
                if (Stamp_New(key)) Phase_Set(PHOTO_PHASE);
            });
            return;
        }
        Act([&] { (void)Symbol_New(key, gs.symbol_color); });
        Refresh();
    });
    return list;
}

void a_symbol_panel::Fill_Palettes() {
    filled_ = true;
    symbols_->clear();
    const QColor ink(0x30, 0x34, 0x3a);
    for (const a_keyset& key : Category_Keys(SYMBOL_CATEGORY)) {
        auto* item = new QListWidgetItem(QIcon(QPixmap::fromImage(Art_Thumb(key, ink))), QString());
        item->setData(KEY_ROLE, Key_Data(key));
        item->setToolTip(tr("Put this symbol on the label"));
        symbols_->addItem(item);
    }
    for (const a_keyset& key : Category_Keys(STAMP_CATEGORY)) {
        auto* item = new QListWidgetItem(QIcon(QPixmap::fromImage(Art_Thumb(key, ink))), QString());
        item->setData(KEY_ROLE, Key_Data(key));
        item->setToolTip(tr("Put this stamp on the label as a photo"));
        stamps_->addItem(item);
    }
}

void a_symbol_panel::Refresh() {
    if (!filled_) Fill_Palettes();
    Photo_Sliders_Attach();
    int omx = OMX_NONE;
    const int count = Selected_Symbols();
    const bool one = count == 1 && Is_One_Selected(omx);
    if (one) {
        PH_To_Sliders(*Curr_PH(omx));
        gs.symbol_color = Curr_PH(omx)->spec.symbol_color;
    }
    controls_->setEnabled(count > 0);
    for (a_slider_widget* w : sliders_) w->Show_Value();
    Swatch_Mark(swatches_, To_QColor(gs.symbol_color));
    colour_->setStyleSheet(QString("background: %1; border: 1px solid %2; border-radius: 3px;")
                               .arg(To_QColor(gs.symbol_color).name(), Border_Colour().name()));
    if (!g_doc.doc_open)
        note_->setText({});
    else if (count == 0)
        note_->setText(tr("Click clip art to add it, or a symbol on the label to change it."));
    else if (count > 1)
        note_->setText(tr("%1 symbols are selected: a change applies to each.").arg(count));
    else
        note_->setText({});
    note_->setVisible(!note_->text().isEmpty());
}
