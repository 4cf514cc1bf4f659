#include "panels/symbol_panel.h"

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
#include "paint/paint_state.h"
#include "panels/art_thumbs.h"
#include "panels/panel_parts.h"
#include "widgets/slider_widget.h"
#include "ui/interface.h"
#include "ui/photo_cmds.h"
#include "ui/photo_sliders.h"

namespace {

enum : int16_t { SYMBOL_CATEGORY = 11, STAMP_CATEGORY = 8 };

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
    // A border is a paint fill: choosing one takes the hollow rectangle of
    // the Paint phase with it, to be dragged where the frame goes.
    borders_ = Art_Palette("borderPalette", tr("Frames drawn with the hollow rectangle; click one to draw it in the Paint phase"),
                           [](const a_keyset& key) {
                               if (!g_doc.doc_open || !Window_Use_Border(key)) return;
                               g_paint.fill_kind = BORDER_FILL;
                               g_paint.tool = FRECT_TOOL;
                               Act([] { Phase_Set(PAINT_PHASE); });
                           });
    tabs_->addTab(borders_, tr("Borders"));
    tabs_->setTabToolTip(2, tr("Frames drawn with the hollow rectangle; click one to draw it in the Paint phase"));
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
    const QString tip = stamps ? tr("Pictures in colors of their own; click one to put it on the label as a photo")
                               : tr("Shapes of one color; click one to put it on the label");
    return Art_Palette(name, tip, [this, stamps](const a_keyset& key) {
        if (!g_doc.doc_open) return;
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
}

void a_symbol_panel::Fill_Palettes() {
    filled_ = true;
    symbols_->clear();
    const QColor ink(0x30, 0x34, 0x3a);
    for (const a_keyset& key : Category_Keys(SYMBOL_CATEGORY))
        Art_Palette_Add(symbols_, key, Art_Thumb(key, ink), tr("Put this symbol on the label"));
    for (const a_keyset& key : Category_Keys(STAMP_CATEGORY))
        Art_Palette_Add(stamps_, key, Art_Thumb(key, ink), tr("Put this stamp on the label as a photo"));
    borders_->clear();
    for (const a_keyset& key : Border_Keys())
        Art_Palette_Add(borders_, key, Border_Thumb(key), tr("Draw this border in the Paint phase"));
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
