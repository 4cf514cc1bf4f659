#include "panels/text_panel.h"

#include <QtCore/QTimer>
#include <QtGui/QFontDatabase>
#include <QtWidgets/QButtonGroup>
#include <QtWidgets/QGridLayout>
#include <QtWidgets/QLabel>
#include <QtWidgets/QListWidget>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QToolButton>
#include <QtWidgets/QVBoxLayout>

#include <algorithm>

#include "look.h"
#include "model/document.h"
#include "model/notices.h"
#include "model/photo_rec.h"
#include "model/selection.h"
#include "widgets/palette_popup.h"
#include "panels/panel_parts.h"
#include "platform/fonts.h"
#include "shell/mainloop.h"
#include "widgets/slider_widget.h"
#include "text/text_blocks.h"
#include "dialogs/text_editor_dialog.h"
#include "panels/text_icons.h"
#include "text/text_edit.h"
#include "ui/text_cmds.h"
#include "ui/text_sliders.h"

namespace {

int Layout_Now() { return std::clamp<int>(gs.grid_vals[TEXT_LAYOUT_GRID], 0, NLAYOUTS - 1); }
bool Is_Circ(int l) { return l == LAYOUT_CIRC_CW || l == LAYOUT_CIRC_CCW; }
bool Is_Spiral(int l) { return l == LAYOUT_SPIRAL_CW || l == LAYOUT_SPIRAL_CCW; }

// The first selected text block of the current unit.
const a_om_rec* First_Selected_Text() {
    for (int i = OMX_START; Selection_Enum(i);)
        if (const a_om_rec* om = Curr_OM(i)) return om;
    return nullptr;
}

a_text_swatch Swatch_Of(a_bar_enum bar) {
    switch (bar) {
        case TEXT_OUTL_COLORBAR: return SWATCH_OUTL;
        case TEXT_SHAD_COLORBAR: return SWATCH_SHAD;
        case TEXT_GLOW_COLORBAR: return SWATCH_GLOW;
        default: return SWATCH_BASE;
    }
}


// Which sliders a layout uses; the others are hidden while it is chosen.
bool Slider_Applies(a_slider_enum s, int layout) {
    switch (s) {
        case TEXT_LINEANGLE_SLIDER: return layout == LAYOUT_HORZ;
        case TEXT_RADIUS_SLIDER: return Is_Circ(layout) || Is_Spiral(layout);
        case TEXT_POLARANGLE_SLIDER: return Is_Circ(layout) || Is_Spiral(layout) || layout == LAYOUT_SPOKE;
        case TEXT_SPOKE_OUTERD_SLIDER:
        case TEXT_SPOKE_THICKNESS_SLIDER:
        case TEXT_SPOKE_TOTANGLE_SLIDER:
        case TEXT_SPOKE_TWIST_SLIDER: return layout == LAYOUT_SPOKE;
        case TEXT_CMARGIN_SLIDER: return layout == LAYOUT_CONTOUR;
        default: return true;
    }
}

QString Slider_Tip(a_slider_enum s) {
    switch (s) {
        case TEXT_SIZE_SLIDER: return QObject::tr("Size of the letters in points; each layout has its largest size");
        case TEXT_HSPACING_SLIDER: return QObject::tr("Space between the letters, in percent");
        case TEXT_VSPACING_SLIDER: return QObject::tr("Space between the lines, in percent");
        case TEXT_LINEANGLE_SLIDER: return QObject::tr("Angle of the line, in tenths of a degree");
        case TEXT_RADIUS_SLIDER: return QObject::tr("Distance of the text from the centre");
        case TEXT_POLARANGLE_SLIDER: return QObject::tr("Where around the centre the text is, in degrees");
        case TEXT_SPOKE_OUTERD_SLIDER: return QObject::tr("Where the spokes end, towards the edge");
        case TEXT_SPOKE_THICKNESS_SLIDER: return QObject::tr("Length of each spoke");
        case TEXT_SPOKE_TOTANGLE_SLIDER: return QObject::tr("The angle the spokes spread over, in degrees");
        case TEXT_SPOKE_TWIST_SLIDER: return QObject::tr("Twist of each spoke, in degrees");
        case TEXT_CMARGIN_SLIDER: return QObject::tr("Distance of the text from the label's outline");
        case TEXT_OPACITY_SLIDER: return QObject::tr("Opacity of the letters");
        case TEXT_OUTL_RADIUS_SLIDER: return QObject::tr("Width of the outline, in pixels");
        case TEXT_GLOW_RADIUS_SLIDER: return QObject::tr("Width of the glow, in pixels");
        case TEXT_GLOW_OPACITY_SLIDER: return QObject::tr("Opacity of the glow");
        case TEXT_SHAD_DX_SLIDER: return QObject::tr("How far the shadow falls to the right");
        case TEXT_SHAD_DY_SLIDER: return QObject::tr("How far the shadow falls downwards");
        case TEXT_SHAD_RADIUS_SLIDER: return QObject::tr("Blur of the shadow's edge");
        case TEXT_SHAD_OPACITY_SLIDER: return QObject::tr("Opacity of the shadow");
        default: return QObject::tr("Kept with the block; the letters are not drawn stretched or slanted yet");
    }
}

struct a_layout_choice {
    int layout;
    const char* tip;
};
const a_layout_choice kLayouts[] = {
    {LAYOUT_HORZ, "Straight text"},
    {LAYOUT_90, "Straight text reading upwards"},
    {LAYOUT_270, "Straight text reading downwards"},
    {LAYOUT_VERT, "Letters stacked downwards"},
    {LAYOUT_CONTOUR, "Text along the label's outline"},
    {LAYOUT_CIRC_CW, "Around the centre, clockwise"},
    {LAYOUT_CIRC_CCW, "Around the centre, counter-clockwise"},
    {LAYOUT_SPIRAL_CW, "A spiral, clockwise"},
    {LAYOUT_SPIRAL_CCW, "A spiral, counter-clockwise"},
    {LAYOUT_SPOKE, "Each line a spoke from the centre"},
};

}  // namespace

a_text_panel::a_text_panel(QWidget* parent) : QWidget(parent) {
    QVBoxLayout* column = Panel_Frame(this, "textPanel", clone_note_, controls_);

    auto* add = new QPushButton(tr("New Text…"));
    add->setObjectName("newText");
    add->setToolTip(tr("Type the text of a new block, set as shown below"));
    connect(add, &QPushButton::clicked, this, [this] { a_text_editor_dialog::New_Block(window()); });
    column->addWidget(add);
    column->addWidget(Panel_Heading(tr("Font")));
    column->addWidget(Build_Fonts());
    column->addWidget(Panel_Heading(tr("Layout")));
    column->addWidget(Build_Layouts());
    column->addWidget(Build_Justify());
    column->addWidget(Panel_Heading(tr("Letters")));
    column->addWidget(Build_Style());
    auto* text_sliders = new QWidget;
    Add_Sliders(text_sliders, {TEXT_SIZE_SLIDER, TEXT_HSPACING_SLIDER, TEXT_VSPACING_SLIDER, TEXT_LINEANGLE_SLIDER,
                               TEXT_RADIUS_SLIDER, TEXT_POLARANGLE_SLIDER, TEXT_SPOKE_OUTERD_SLIDER,
                               TEXT_SPOKE_THICKNESS_SLIDER, TEXT_SPOKE_TOTANGLE_SLIDER, TEXT_SPOKE_TWIST_SLIDER,
                               TEXT_CMARGIN_SLIDER, TEXT_OPACITY_SLIDER});
    column->addWidget(text_sliders);
    column->addWidget(Build_Effect("textOutline", tr("Outline"), TEXT_OUTL_TOGGLE, TEXT_OUTL_COLORBAR,
                                   {TEXT_OUTL_RADIUS_SLIDER}));
    column->addWidget(Build_Effect("textGlow", tr("Glow"), TEXT_GLOW_TOGGLE, TEXT_GLOW_COLORBAR,
                                   {TEXT_GLOW_RADIUS_SLIDER, TEXT_GLOW_OPACITY_SLIDER}));
    column->addWidget(Build_Effect("textShadow", tr("Shadow"), TEXT_SHAD_TOGGLE, TEXT_SHAD_COLORBAR,
                                   {TEXT_SHAD_DX_SLIDER, TEXT_SHAD_DY_SLIDER, TEXT_SHAD_RADIUS_SLIDER,
                                    TEXT_SHAD_OPACITY_SLIDER}));
    column->addWidget(Panel_Heading(tr("Stretch and slant")));
    auto* shape = new QWidget;
    Add_Sliders(shape, {TEXT_STRETCH_H_SLIDER, TEXT_STRETCH_V_SLIDER, TEXT_SKEW_H_SLIDER, TEXT_SKEW_V_SLIDER});
    column->addWidget(shape);
    // The letters selected while a block is edited: their own size, turn and shift.
    column->addWidget(Panel_Heading(tr("Selected letters")));
    range_ = new QWidget;
    range_->setObjectName("selectedLetters");
    Add_Sliders(range_, {TEXTR_SIZE_SLIDER, TEXTR_ANGLE_SLIDER, TEXTR_DX_SLIDER, TEXTR_DY_SLIDER});
    column->addWidget(range_);
    column->addStretch(1);

    // A new selection is loaded into the controls once the action is over.
    auto load = [this] {
        load_ = true;
        Schedule_Refresh();
    };
    tokens_[0] = g_doc_notices.selection.Subscribe(load);
    tokens_[1] = g_doc_notices.restored.Subscribe(load);
    tokens_[2] = g_doc_notices.unit_selected.Subscribe([load](uint32_t) { load(); });
    tokens_[3] = g_shell_notices.interaction_end.Subscribe([this] {
        if (!isVisible()) return;
        load_ ? Refresh() : Show_State();
    });
    // A step made on the label (a line dragged round the disc, a nudge)
    // changes what the controls show; keys typed into the text do not.
    tokens_[4] = g_doc_notices.history.Subscribe([load] {
        if (!Edited_OM()) load();
    });
}

a_text_panel::~a_text_panel() {
    g_doc_notices.selection.Unsubscribe(tokens_[0]);
    g_doc_notices.restored.Unsubscribe(tokens_[1]);
    g_doc_notices.unit_selected.Unsubscribe(tokens_[2]);
    g_shell_notices.interaction_end.Unsubscribe(tokens_[3]);
    g_doc_notices.history.Unsubscribe(tokens_[4]);
}

QWidget* a_text_panel::Build_Fonts() {
    fonts_ = new QListWidget;
    fonts_->setObjectName("fontBar");
    fonts_->setToolTip(tr("The font of the text"));
    fonts_->setMinimumHeight(150);
    fonts_->setUniformItemSizes(false);
    connect(fonts_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (showing_ || row < 0) return;
        const int fontx = fonts_->item(row)->data(Qt::UserRole).toInt();
        Act([fontx] { FontBar_Select(fontx); });
        Show_State();
    });
    return fonts_;
}

void a_text_panel::Fill_Fonts() {
    const int n = Font_Count();
    if (n == fonts_filled_) return;
    fonts_filled_ = n;
    showing_ = true;
    fonts_->clear();
    for (int fontx = 1; fontx <= n; ++fontx) {
        const a_family_item* f = Font_Item(fontx);
        const QString name = QString::fromStdU16String(f->fontname);
        auto* item = new QListWidgetItem(name);
        item->setData(Qt::UserRole, fontx);
        // Symbols, special scripts and other character sets would not show
        // their own names legibly: those stay in the panel's face.
        QString tip = name;
        QFont face = fonts_->font();
        face.setPointSize(11);
        if (f->attrib & (1u << IS_PI_FONT)) {
            tip = tr("%1: symbols and ornaments").arg(name);
            item->setText(name + QStringLiteral("  ✶"));
        } else if (f->attrib & (1u << IS_SP_FONT)) {
            tip = tr("%1: a special script").arg(name);
        } else if (f->attrib & ((1u << IS_ASIAN_FONT) | (1u << IS_NONROMAN_FONT))) {
            tip = tr("%1: another alphabet").arg(name);
        } else if (const QList<QFontDatabase::WritingSystem> ws = QFontDatabase::writingSystems(name);
                   ws.contains(QFontDatabase::Symbol) || !ws.contains(QFontDatabase::Latin)) {
            // A family the list does not flag may still lack the letters.
            tip = tr("%1: symbols, or letters of another alphabet").arg(name);
            item->setForeground(Soft_Text_Colour());
        } else {
            face.setFamily(name);
        }
        item->setFont(face);
        if (f->attrib) item->setForeground(Soft_Text_Colour());
        item->setToolTip(tip);
        fonts_->addItem(item);
    }
    showing_ = false;
}

QWidget* a_text_panel::Build_Layouts() {
    auto* box = new QWidget;
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(3);
    layouts_ = new QButtonGroup(this);
    int i = 0;
    for (const a_layout_choice& c : kLayouts) {
        auto* b = new QToolButton;
        b->setObjectName(QString("layout%1").arg(c.layout));
        b->setIcon(Layout_Icon(c.layout));
        b->setIconSize(QSize(30, 30));
        b->setCheckable(true);
        b->setToolTip(tr(c.tip));
        layouts_->addButton(b, c.layout);
        grid->addWidget(b, i / 5, i % 5);
        ++i;
    }
    connect(layouts_, &QButtonGroup::idClicked, this, [this](int layout) {
        Act([layout] {
            gs.grid_vals[TEXT_LAYOUT_GRID] = int16_t(layout);
            Delta_Text_Layout();
        });
        Show_State();
    });
    return box;
}

QWidget* a_text_panel::Build_Justify() {
    auto* box = new QWidget;
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(0, 4, 0, 0);
    row->setSpacing(3);
    auto group = [&](const char* name, std::initializer_list<std::pair<int, QString>> choices, bool vertical) {
        auto* g = new QButtonGroup(this);
        for (const auto& [just, tip] : choices) {
            auto* b = new QToolButton;
            b->setObjectName(QString("%1%2").arg(name).arg(just));
            b->setIcon(Justify_Icon(just, vertical));
            b->setCheckable(true);
            b->setToolTip(tip);
            g->addButton(b, just);
            row->addWidget(b);
        }
        return g;
    };
    hjust_ = group("hjust",
                   {{JUST_LEFT, tr("Lines start at the left")},
                    {JUST_CENTER, tr("Lines are centred")},
                    {JUST_RIGHT, tr("Lines end at the right")}},
                   false);
    row->addSpacing(10);
    vjust_ = group("vjust",
                   {{JUST_LEFT, tr("Stacked letters start at the top")},
                    {JUST_RIGHT, tr("Stacked letters end at the bottom")}},
                   true);
    row->addStretch(1);
    connect(hjust_, &QButtonGroup::idClicked, this, [this](int just) {
        Act([just] {
            // Text along the outline keeps its own grid: start or end.
            if (Layout_Now() == LAYOUT_CONTOUR) {
                gs.grid_vals[TEXT_CJUST_GRID] = just == JUST_RIGHT;
                Delta_Text(OP_TEXT_JUST);
            } else {
                gs.grid_vals[TEXT_HJUST_GRID] = int16_t(just);
                Delta_Horz_Just();
            }
        });
        Show_State();
    });
    connect(vjust_, &QButtonGroup::idClicked, this, [this](int just) {
        Act([just] {
            gs.grid_vals[TEXT_VJUST_GRID] = just == JUST_RIGHT;
            Delta_Text(OP_TEXT_JUST);
        });
        Show_State();
    });
    return box;
}

QWidget* a_text_panel::Build_Style() {
    auto* box = new QWidget;
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(3);
    auto toggle = [&](a_toggle_enum t, const char* name, const QString& text, const QString& tip) {
        auto* b = new QToolButton;
        b->setObjectName(name);
        b->setText(text);
        b->setCheckable(true);
        b->setToolTip(tip);
        b->setMinimumSize(28, 24);
        QFont f = b->font();
        f.setBold(t == TEXT_BOLD_TOGGLE);
        f.setItalic(t == TEXT_ITAL_TOGGLE);
        b->setFont(f);
        connect(b, &QToolButton::clicked, this, [this, t](bool on) {
            Act([t, on] { Text_Style_Toggle(t, on); });
            Show_State();
        });
        toggles_.emplace_back(t, b);
        row->addWidget(b);
    };
    toggle(TEXT_BOLD_TOGGLE, "textBold", tr("B"), tr("Bold letters"));
    toggle(TEXT_ITAL_TOGGLE, "textItalic", tr("I"), tr("Italic letters"));
    row->addSpacing(8);
    row->addWidget(new QLabel(tr("Color")));
    row->addWidget(Color_Button(PAINT_COLORBAR));
    row->addStretch(1);
    return box;
}

QWidget* a_text_panel::Build_Effect(const char* name, const QString& title, a_toggle_enum toggle, a_bar_enum bar,
                                    std::initializer_list<a_slider_enum> sliders) {
    auto* box = new QWidget;
    auto* column = new QVBoxLayout(box);
    column->setContentsMargins(0, 6, 0, 0);
    column->setSpacing(2);
    auto* row = new QHBoxLayout;
    auto* b = new QToolButton;
    b->setObjectName(name);
    b->setText(title);
    b->setCheckable(true);
    b->setToolTip(tr("%1 around the letters, on or off").arg(title));
    b->setMinimumWidth(70);
    b->setStyleSheet("QToolButton { font-weight: bold; }");
    connect(b, &QToolButton::clicked, this, [this, toggle](bool on) {
        Act([toggle, on] {
            gs.toggle_vals[toggle] = on;
            Delta_Text_Major();
        });
        Show_State();
    });
    toggles_.emplace_back(toggle, b);
    row->addWidget(b);
    row->addStretch(1);
    row->addWidget(Color_Button(bar));
    column->addLayout(row);
    auto* rest = new QWidget;
    Add_Sliders(rest, sliders);
    column->addWidget(rest);
    return box;
}

QToolButton* a_text_panel::Color_Button(a_bar_enum bar) {
    auto* b = new QToolButton;
    b->setObjectName(QString("textColor%1").arg(int(bar)));
    b->setFixedSize(40, 22);
    b->setToolTip(bar == PAINT_COLORBAR ? tr("Color of the letters")
                  : bar == TEXT_OUTL_COLORBAR ? tr("Color of the outline")
                  : bar == TEXT_GLOW_COLORBAR ? tr("Color of the glow")
                                              : tr("Color of the shadow"));
    auto* palette = new a_palette_popup(bar, b);
    palette->chosen = [this, bar](int index) {
        Act([bar, index] { Text_Color_Select(bar, index); });
        Show_State();
    };
    palette->chosen_colour = [this, bar](QColor c) {
        Act([bar, c] { return Text_Color_Set(bar, a_win_pixel32{uint8_t(c.blue()), uint8_t(c.green()), uint8_t(c.red()), 0}); });
        Show_State();
    };
    connect(b, &QToolButton::clicked, palette, [b, palette] { palette->Pop_Up(b); });
    colors_.emplace_back(bar, b);
    return b;
}

void a_text_panel::Add_Sliders(QWidget* box, std::initializer_list<a_slider_enum> sliders) {
    auto* column = new QVBoxLayout(box);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    for (a_slider_enum s : sliders) {
        auto* w = new a_slider_widget(s);
        w->setToolTip(Slider_Tip(s));
        sliders_.push_back(w);
        column->addWidget(w);
    }
}

void a_text_panel::Schedule_Refresh() {
    if (pending_) return;
    pending_ = true;
    QTimer::singleShot(0, this, [this] {
        pending_ = false;
        if (load_ && isVisible()) Refresh();
    });
}

void a_text_panel::Refresh() {
    load_ = false;
    Text_Sliders_Attach();
    Fill_Fonts();
    // A clone repeats its master's design: it is changed there.
    const bool clone = g_doc.up && g_doc.up->clonef;
    clone_note_->setVisible(clone);
    controls_->setEnabled(g_doc.up && !clone);
    for (a_toggle_enum t : {TEXT_OUTL_TOGGLE, TEXT_GLOW_TOGGLE, TEXT_SHAD_TOGGLE})
        gs.toggle_disabled[t] = !controls_->isEnabled();
    if (clone)
        clone_note_->setText(tr("Label %1 repeats the design of label %2: choose label %2 to change it.")
                                 .arg(g_doc.upx)
                                 .arg(Find_Clone_Master(g_doc.upx)));
    if (const a_om_rec* om = g_doc.up && !clone ? First_Selected_Text() : nullptr) OM_To_Sliders(*om);
    Show_State();
}

void a_text_panel::Show_State() {
    showing_ = true;
    const int layout = Layout_Now();
    if (QAbstractButton* b = layouts_->button(layout)) b->setChecked(true);
    const int font_row = gs.bar_selection[FONT_BAR] - 1;
    fonts_->setCurrentRow(font_row >= 0 && font_row < fonts_->count() ? font_row : -1);
    if (font_row >= 0 && font_row < fonts_->count()) fonts_->scrollToItem(fonts_->item(font_row));

    // Spirals run from the centre outwards and justify nothing; vertical
    // text takes the top or bottom; text along the outline its start or end.
    const bool contour = layout == LAYOUT_CONTOUR, vert = layout == LAYOUT_VERT;
    for (QAbstractButton* b : hjust_->buttons()) b->setEnabled(!Is_Spiral(layout) && !vert);
    hjust_->button(JUST_CENTER)->setEnabled(!Is_Spiral(layout) && !vert && !contour);
    for (QAbstractButton* b : vjust_->buttons()) b->setEnabled(vert);
    const int h = contour ? int(gs.grid_vals[TEXT_CJUST_GRID] ? JUST_RIGHT : JUST_LEFT) : gs.grid_vals[TEXT_HJUST_GRID];
    if (QAbstractButton* b = hjust_->button(h)) b->setChecked(true);
    if (QAbstractButton* b = vjust_->button(gs.grid_vals[TEXT_VJUST_GRID] ? JUST_RIGHT : JUST_LEFT))
        b->setChecked(true);

    // With letters of the edited block selected, the style shows theirs.
    const bool range = Is_Text_Range();
    if (range) Set_Style_Sliders();
    range_->setEnabled(range);
    for (auto& [t, b] : toggles_) {
        const a_toggle_enum shown = !range ? t
                                    : t == TEXT_BOLD_TOGGLE ? TEXTR_BOLD_TOGGLE
                                    : t == TEXT_ITAL_TOGGLE ? TEXTR_ITAL_TOGGLE
                                                            : t;
        b->setChecked(gs.toggle_vals[shown]);
    }
    // This runs after every action: a style sheet is set only when it changes.
    for (auto& [bar, b] : colors_) {
        const QString sheet =
            QString("QToolButton { background: %1; border: 1px solid %2; border-radius: 3px; }"
                    "QToolButton:hover { border: 2px solid %3; }")
                .arg(To_QColor(g_text_swatches[Swatch_Of(bar)]).name(), Border_Colour().name(),
                     Accent_Colour().name());
        if (b->styleSheet() != sheet) b->setStyleSheet(sheet);
    }
    for (a_slider_widget* w : sliders_) {
        w->setVisible(Slider_Applies(w->Slider(), layout));
        w->Show_Value();
    }
    showing_ = false;
}
