#include "panels/paint_panel.h"

#include <QtGui/QPainter>
#include <QtGui/QPainterPath>
#include <QtWidgets/QButtonGroup>
#include <QtWidgets/QCheckBox>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QGridLayout>
#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QLabel>
#include <QtWidgets/QSpinBox>
#include <QtWidgets/QTabWidget>
#include <QtWidgets/QToolButton>
#include <QtWidgets/QVBoxLayout>

#include <cmath>
#include <string>

#include "base/messages.h"
#include "look.h"
#include "paint/paint_state.h"
#include "panels/art_thumbs.h"
#include "panels/panel_parts.h"
#include "ui/interface.h"
#include "ui/paint_sliders.h"
#include "ui/sliders.h"
#include "ui/text_cmds.h"
#include "widgets/palette_popup.h"
#include "widgets/slider_widget.h"

namespace {

constexpr int kIcon = 26;

// The palette's order: painting tools first, then the shapes, then the helpers.
const int kToolOrder[NPAINT_TOOLS] = {
    BRUSH_TOOL, ERASER_TOOL, SPRAY_TOOL, STAMP_TOOL,       //
    LINE_TOOL,  FRECT_TOOL,  FOVAL_TOOL, FFURTER_TOOL,     //
    SRECT_TOOL, SOVAL_TOOL,  SFURTER_TOOL, SPOLYGON_TOOL,  //
    BUCKET_TOOL, DROPPER_TOOL, GRABBER_TOOL, SELECT_TOOL,
};

// The first of a category stands in until the person picks one, so a tool
// or fill that needs art always has some.
void Ensure_Art() {
    const a_paint_state& p = g_paint;
    if (!p.stamp && (p.tool == STAMP_TOOL || p.fill_kind == STAMP_FILL || p.spray_method == STAMP_SPRAY))
        for (const a_keyset& k : Category_Keys(STAMP_ART_CATEGORY))
            if (Window_Use_Stamp(k)) break;
    if (!p.pattern && p.fill_kind == PATTERN_FILL)
        for (const a_keyset& k : Category_Keys(PATTERN_ART_CATEGORY))
            if (Window_Use_Pattern(k)) break;
    if (!p.border && p.fill_kind == BORDER_FILL)
        for (const a_keyset& k : Border_Keys())
            if (Window_Use_Border(k)) break;
}

// The stamp's own sliders, shown while something prints or fills with the stamp.
const a_slider_enum kStampSliders[] = {STAMP_SIZE_SLIDER,      STAMP_ROTATE_SLIDER,  STAMP_SPACING_SLIDER,
                                       STAMP_DARKNESS_SLIDER,  STAMP_COLORSHIFT_SLIDER, STAMP_STRETCH_SLIDER,
                                       STAMP_SKEWX_SLIDER,     STAMP_SKEWY_SLIDER,   STAMP_BENDX_SLIDER,
                                       STAMP_BENDY_SLIDER};

QString List_String(int index) {
    std::string s;
    GetIndString(s, 200, index);
    return QString::fromStdString(s);
}

// The tool's picture, drawn here: a dark glyph on a transparent square.
QIcon Tool_Icon(int tool) {
    QPixmap pm(kIcon, kIcon);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor ink(40, 48, 64), fill(90, 140, 210);
    p.setPen(QPen(ink, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    const QRectF box(5, 7, 16, 12);
    auto solid = [&] { p.setBrush(fill); };
    switch (tool) {
        case BRUSH_TOOL:
            p.drawLine(QPointF(20, 4), QPointF(11, 15));
            p.setBrush(ink);
            p.drawEllipse(QRectF(5, 14, 7, 7));
            break;
        case ERASER_TOOL: {
            QPolygonF e({QPointF(4, 17), QPointF(13, 7), QPointF(22, 12), QPointF(14, 22)});
            p.setBrush(QColor(235, 160, 170));
            p.drawPolygon(e);
            p.drawLine(QPointF(8, 13), QPointF(17, 19));
            break;
        }
        case SPRAY_TOOL:
            p.drawRect(QRectF(4, 11, 8, 12));
            p.drawLine(QPointF(8, 11), QPointF(8, 7));
            p.setPen(Qt::NoPen);
            p.setBrush(ink);
            for (QPointF d : {QPointF(15, 5), QPointF(19, 8), QPointF(16, 10), QPointF(21, 4), QPointF(20, 12),
                              QPointF(14, 8), QPointF(22, 9)})
                p.drawEllipse(d, 1, 1);
            break;
        case STAMP_TOOL:
            p.drawRect(QRectF(10, 4, 6, 9));
            solid();
            p.drawRect(QRectF(5, 13, 16, 5));
            p.drawLine(QPointF(5, 22), QPointF(21, 22));
            break;
        case LINE_TOOL: p.drawLine(QPointF(5, 21), QPointF(21, 5)); break;
        case FRECT_TOOL: p.drawRect(box); break;
        case SRECT_TOOL: solid(); p.drawRect(box); break;
        case FOVAL_TOOL: p.drawEllipse(box); break;
        case SOVAL_TOOL: solid(); p.drawEllipse(box); break;
        case FFURTER_TOOL: p.drawArc(QRectF(4, 6, 26, 26), 90 * 16, 90 * 16); break;
        case SFURTER_TOOL: solid(); p.drawPie(QRectF(4, 6, 26, 26), 90 * 16, 90 * 16); break;
        case SPOLYGON_TOOL:
            solid();
            p.drawPolygon(QPolygonF({QPointF(5, 19), QPointF(9, 6), QPointF(20, 9), QPointF(17, 15),
                                     QPointF(21, 21)}));
            break;
        case BUCKET_TOOL: {
            p.save();
            p.translate(12, 13);
            p.rotate(-30);
            p.setBrush(QColor(230, 230, 230));
            p.drawRect(QRectF(-6, -6, 12, 12));
            p.restore();
            p.setPen(Qt::NoPen);
            p.setBrush(fill);
            QPainterPath drop;
            drop.moveTo(20, 13);
            drop.cubicTo(23, 18, 23, 21, 20, 21);
            drop.cubicTo(17, 21, 17, 18, 20, 13);
            p.drawPath(drop);
            break;
        }
        case DROPPER_TOOL:
            p.setPen(QPen(ink, 2.4, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(7, 19), QPointF(17, 9));
            p.setBrush(ink);
            p.drawEllipse(QRectF(16, 4, 6, 6));
            p.setPen(QPen(fill, 1.2));
            p.drawLine(QPointF(5, 21), QPointF(7, 19));
            break;
        case GRABBER_TOOL: {
            p.setBrush(QColor(250, 225, 195));
            QPainterPath hand;
            hand.addRoundedRect(QRectF(7, 11, 12, 11), 4, 4);
            for (int i = 0; i < 4; ++i) hand.addRoundedRect(QRectF(7 + i * 3, 4 + (i % 3 ? 0 : 2), 3, 10), 1.5, 1.5);
            p.drawPath(hand.simplified());
            break;
        }
        default:  // the marquee
            p.setPen(QPen(ink, 1.4, Qt::DashLine));
            p.drawRect(box);
            break;
    }
    return QIcon(pm);
}

QIcon Swatch_Icon(uint32_t rgb) {
    QPixmap pm(30, 14);
    pm.fill(QColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF));
    QPainter p(&pm);
    p.setPen(QColor(90, 90, 90));
    p.drawRect(0, 0, 29, 13);
    return QIcon(pm);
}

uint32_t Rgb(QColor c) { return uint32_t(c.red()) << 16 | uint32_t(c.green()) << 8 | uint32_t(c.blue()); }

const a_slider_enum kSliders[] = {PAINT_OPACITY_SLIDER, BRUSH_SPACING_SLIDER, LINE_THICKNESS_SLIDER,
                                  PAINT_CORNER_SLIDER,  SPRAY_RADIUS_SLIDER,  GRAD_ANGLE_SLIDER,
                                  SYMMETRY_COUNT_SLIDER};

QString Slider_Tip(a_slider_enum s) {
    switch (s) {
        case PAINT_OPACITY_SLIDER: return QObject::tr("Opacity of the paint");
        case BRUSH_SPACING_SLIDER: return QObject::tr("Distance between the brush's dabs, in pixels");
        case LINE_THICKNESS_SLIDER: return QObject::tr("Width of lines and hollow shapes, in pixels");
        case PAINT_CORNER_SLIDER: return QObject::tr("Rounded corners of rectangles");
        case SPRAY_RADIUS_SLIDER: return QObject::tr("Reach of the spray, in pixels");
        case GRAD_ANGLE_SLIDER: return QObject::tr("Direction of the gradient, in degrees");
        default: return QObject::tr("Copies around the center");
    }
}

}  // namespace

bool Paint_Choose_Key(int key) {
    if (key < 'A' || key > 'z') return false;
    const int tool = Tool_For_Key(char(key));
    if (tool == NULL_TOOL) return false;
    g_paint.tool = tool;
    Ensure_Art();
    return true;
}

a_paint_panel::a_paint_panel(QWidget* parent) : QWidget(parent) {
    setObjectName("paintPanel");
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(10, 4, 10, 10);
    outer->setSpacing(4);
    outer->addWidget(Panel_Heading(tr("Tools")));
    outer->addWidget(Build_Tools());
    outer->addWidget(Panel_Heading(tr("Options")));
    auto* size_row = new QHBoxLayout;
    size_row->addWidget(new QLabel(tr("Brush size")));
    size_ = new QSpinBox;
    size_->setObjectName("paintSize");
    size_->setRange(1, 120);
    size_->setToolTip(tr("The brush's width, in pixels of the label"));
    connect(size_, &QSpinBox::valueChanged, this, [this] { Changed(); });
    size_row->addWidget(size_);
    size_row->addStretch(1);
    outer->addLayout(size_row);
    for (a_slider_enum s : kSliders) {
        if (s == SYMMETRY_COUNT_SLIDER) continue;  // with the symmetry below
        auto* w = new a_slider_widget(s);
        w->setToolTip(Slider_Tip(s));
        sliders_.push_back(w);
        outer->addWidget(w);
    }
    auto* spread_row = new QHBoxLayout;
    spread_row->addWidget(new QLabel(tr("Spray")));
    spread_ = new QComboBox;
    spread_->setObjectName("paintSpread");
    spread_->setToolTip(tr("How the spray's dots spread from the middle"));
    for (int i = 0; i < 4; ++i) spread_->addItem(List_String(78 + i));
    connect(spread_, &QComboBox::currentIndexChanged, this, [this] { Changed(); });
    spread_row->addWidget(spread_, 1);
    outer->addLayout(spread_row);
    outer->addWidget(Build_Tool_Choices());
    outer->addLayout(Build_Marquee());
    outer->addWidget(Panel_Heading(tr("Fill")));
    outer->addWidget(Build_Fill());
    outer->addWidget(Build_Art());
    outer->addWidget(Build_Stamp());
    outer->addWidget(Panel_Heading(tr("Symmetry")));
    outer->addWidget(Build_Symmetry());
    outer->addStretch(1);
    Refresh();
}

// The window's art goes with the window.
a_paint_panel::~a_paint_panel() { Window_Forget_Art(); }

QWidget* a_paint_panel::Build_Tools() {
    auto* box = new QWidget;
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(2);
    tools_ = new QButtonGroup(this);
    for (int i = 0; i < NPAINT_TOOLS; ++i) {
        const int tool = kToolOrder[i];
        auto* b = new QToolButton;
        b->setObjectName(QString("paintTool%1").arg(tool));
        b->setIcon(Tool_Icon(tool));
        b->setIconSize(QSize(kIcon, kIcon));
        b->setCheckable(true);
        b->setAutoRaise(true);
        const QString name = QString::fromStdString(Tool_Name(tool));
        b->setToolTip(name);
        tools_->addButton(b, tool);
        grid->addWidget(b, i / 4, i % 4);
    }
    connect(tools_, &QButtonGroup::idClicked, this, [this](int tool) {
        g_paint.tool = tool;
        Ensure_Art();
        Refresh();
    });
    return box;
}

QToolButton* a_paint_panel::Colour_Button(const char* name, const QString& tip, bool second) {
    auto* b = new QToolButton;
    b->setObjectName(name);
    b->setIconSize(QSize(30, 14));
    b->setToolTip(tip);
    auto* palette = new a_palette_popup(PAINT_COLORBAR, b);
    palette->setObjectName(second ? "paintPalette2" : "paintPalette1");
    auto set = [this, second](uint32_t rgb) {
        if (second) g_paint.fill_gradient.bands[1] = rgb;
        else g_paint.fill_color32 = g_paint.fill_gradient.bands[0] = rgb;
        Refresh();
    };
    palette->chosen = [set](int index) {
        const a_win_pixel32 c = Palette_Color(index);
        set(uint32_t(c.r) << 16 | uint32_t(c.g) << 8 | c.b);
    };
    palette->chosen_colour = [set](QColor c) { set(Rgb(c)); };
    connect(b, &QToolButton::clicked, palette, [b, palette] { palette->Pop_Up(b); });
    return b;
}

QLayout* a_paint_panel::Build_Marquee() {
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(tr("Selection")));
    marquee_ = new QComboBox;
    marquee_->setObjectName("paintMarquee");
    marquee_->setToolTip(tr("The shape the Copy / Move tool selects with"));
    marquee_->addItem(tr("Rectangle"), int(RECT_MARQUEE));
    marquee_->addItem(tr("Oval"), int(OVAL_MARQUEE));
    marquee_->addItem(tr("Lasso"), int(LASSO_MARQUEE));
    connect(marquee_, &QComboBox::currentIndexChanged, this, [this] { Changed(); });
    row->addWidget(marquee_, 1);
    return row;
}

QWidget* a_paint_panel::Build_Fill() {
    auto* box = new QWidget;
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);
    fill_ = new QComboBox;
    fill_->setObjectName("paintFill");
    fill_->setToolTip(tr("What shapes and the bucket fill with"));
    fill_->addItem(tr("Color"), int(COLOR_FILL));
    fill_->addItem(tr("Gradient"), int(GRADIENT_FILL));
    fill_->addItem(tr("Pattern"), int(PATTERN_FILL));
    fill_->addItem(tr("Stamp"), int(STAMP_FILL));
    fill_->addItem(tr("Border"), int(BORDER_FILL));
    connect(fill_, &QComboBox::currentIndexChanged, this, [this] { Changed(); });
    grad_kind_ = new QComboBox;
    grad_kind_->setObjectName("paintGradient");
    grad_kind_->setToolTip(tr("The gradient's kind"));
    for (int k = 0; k < NGRAD_KINDS; ++k) grad_kind_->addItem(List_String(69 + k));
    connect(grad_kind_, &QComboBox::currentIndexChanged, this, [this] { Changed(); });
    colour_ = Colour_Button("paintColor", tr("The paint's color (the gradient's first)"), false);
    colour2_ = Colour_Button("paintColor2", tr("The gradient's second color"), true);
    grid->addWidget(fill_, 0, 0);
    grid->addWidget(colour_, 0, 1);
    grid->addWidget(grad_kind_, 1, 0);
    grid->addWidget(colour2_, 1, 1);
    grad_reverse_ = new QCheckBox(tr("Reversed"));
    grad_reverse_->setObjectName("paintGradReverse");
    grad_reverse_->setToolTip(tr("The gradient's colors the other way round"));
    connect(grad_reverse_, &QCheckBox::toggled, this, [this] { Changed(); });
    grid->addWidget(grad_reverse_, 2, 0);
    for (a_slider_enum sl : {GRAD_TWIST_SLIDER, GRAD_REP_SLIDER}) {
        auto* w = new a_slider_widget(sl);
        sliders_.push_back(w);
        grad_sliders_.push_back(w);
        grid->addWidget(w, 3 + (sl == GRAD_REP_SLIDER), 0, 1, 2);
    }
    return box;
}

// Dots, spots or the stamp.
QWidget* a_paint_panel::Build_Spray_Method() {
    spray_method_ = new QComboBox;
    spray_method_->setObjectName("paintSprayMethod");
    spray_method_->setToolTip(tr("What the spray sprays: dots, spots or the stamp"));
    spray_method_->addItem(tr("Dots"));
    spray_method_->addItem(tr("Spots"));
    spray_method_->addItem(tr("Stamps"));
    connect(spray_method_, &QComboBox::currentIndexChanged, this, [this] { Changed(); });
    return spray_method_;
}

// The eraser's size or shape.
QWidget* a_paint_panel::Build_Tool_Choices() {
    auto* box = new QWidget;
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);
    eraser_ = new QComboBox;
    eraser_->setObjectName("paintEraser");
    eraser_->setToolTip(tr("The eraser's size, or the shape it erases"));
    for (int i = 0; i <= 8; ++i) eraser_->addItem(QString::number(Eraser_Diameter(i)));
    eraser_->addItem(tr("Rectangle"));
    eraser_->addItem(tr("Oval"));
    eraser_->addItem(tr("Polygon"));
    connect(eraser_, &QComboBox::currentIndexChanged, this, [this] { Changed(); });
    grid->addWidget(Build_Spray_Method(), 0, 1);  // under the spread
    grid->addWidget(new QLabel(tr("Eraser")), 1, 0);
    grid->addWidget(eraser_, 1, 1);
    grid->setColumnStretch(1, 1);
    return box;
}

// Thumbnails of the patterns, stamps and borders; a click paints with that one.
QWidget* a_paint_panel::Build_Art() {
    art_ = new QTabWidget;
    art_->setObjectName("paintArt");
    auto pick = [this](int fill, bool (*use)(const a_keyset&)) {
        return [this, fill, use](const a_keyset& key) {
            if (!use(key)) return;
            // The stamp tool and the stamp spray print it; anything else fills with it.
            const bool prints = fill == STAMP_FILL && (g_paint.tool == STAMP_TOOL ||
                                                       (g_paint.tool == SPRAY_TOOL && g_paint.spray_method == STAMP_SPRAY));
            if (!prints) g_paint.fill_kind = fill;
            Refresh();
        };
    };
    patterns_ = Art_Palette("paintPatterns", tr("Tiles the bucket and the shapes fill with; click one to fill with it"),
                            pick(PATTERN_FILL, Window_Use_Pattern));
    stamps_ = Art_Palette("paintStamps", tr("Pictures the stamp tool prints; click one to use it"),
                          pick(STAMP_FILL, Window_Use_Stamp));
    borders_ = Art_Palette("paintBorders", tr("Frames drawn with the hollow rectangle; click one to draw it in the Paint phase"),
                           pick(BORDER_FILL, Window_Use_Border));
    art_->addTab(patterns_, tr("Patterns"));
    art_->addTab(stamps_, tr("Stamps"));
    art_->addTab(borders_, tr("Borders"));
    art_->setMinimumHeight(250);
    art_->setTabPosition(QTabWidget::West);  // three names along the side fit the narrow panel
    // The thumbnails flow into whatever width the panel has; they never widen it.
    art_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    return art_;
}

QWidget* a_paint_panel::Build_Stamp() {
    stamp_box_ = new QWidget;
    auto* column = new QVBoxLayout(stamp_box_);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(Panel_Heading(tr("Stamp")));
    for (a_slider_enum sl : kStampSliders) {
        auto* w = new a_slider_widget(sl);
        sliders_.push_back(w);
        column->addWidget(w);
    }
    return stamp_box_;
}

void a_paint_panel::Fill_Art() {
    art_filled_ = true;
    const QColor ink(0x30, 0x34, 0x3a);
    for (const a_keyset& key : Category_Keys(PATTERN_ART_CATEGORY))
        Art_Palette_Add(patterns_, key, Art_Thumb(key, ink), tr("Fill with this pattern"));
    for (const a_keyset& key : Category_Keys(STAMP_ART_CATEGORY))
        Art_Palette_Add(stamps_, key, Art_Thumb(key, ink), tr("Paint with this stamp"));
    for (const a_keyset& key : Border_Keys())
        Art_Palette_Add(borders_, key, Border_Thumb(key), tr("Draw this border with the hollow rectangle"));
}

QWidget* a_paint_panel::Build_Symmetry() {
    auto* box = new QWidget;
    auto* column = new QVBoxLayout(box);
    column->setContentsMargins(0, 0, 0, 0);
    symmetry_ = new QCheckBox(tr("Repeat around the center"));
    symmetry_->setObjectName("paintSymmetry");
    symmetry_->setToolTip(tr("Every stroke repeated around the cross, which you can drag"));
    connect(symmetry_, &QCheckBox::toggled, this, [this] { Changed(); });
    sym_kind_ = new QComboBox;
    sym_kind_->setObjectName("paintSymmetryKind");
    sym_kind_->setToolTip(tr("Turned copies, or turned and mirrored"));
    sym_kind_->addItem(tr("Turned"));
    sym_kind_->addItem(tr("Mirrored"));
    connect(sym_kind_, &QComboBox::currentIndexChanged, this, [this] { Changed(); });
    column->addWidget(symmetry_);
    column->addWidget(sym_kind_);
    auto* count = new a_slider_widget(SYMMETRY_COUNT_SLIDER);
    count->setToolTip(Slider_Tip(SYMMETRY_COUNT_SLIDER));
    sliders_.push_back(count);
    column->addWidget(count);
    return box;
}

QToolButton* a_paint_panel::Tool_Button(int tool) const {
    return static_cast<QToolButton*>(tools_->button(tool));
}

void a_paint_panel::Changed() {
    if (showing_) return;
    g_paint.brush_size = size_->value();
    g_paint.spray_spread = spread_->currentIndex();
    g_paint.fill_kind = fill_->currentData().toInt();
    g_paint.fill_gradient.kind = grad_kind_->currentIndex();
    g_paint.symmetry_on = symmetry_->isChecked();
    g_paint.symmetry_kind = sym_kind_->currentIndex() == 1 ? MIRROR_SYMMETRY : CYCLIC_SYMMETRY;
    g_paint.marquee_method = marquee_->currentData().toInt();
    g_paint.fill_gradient.reverse = grad_reverse_->isChecked();
    g_paint.spray_method = spray_method_->currentIndex();
    g_paint.eraser_choice = eraser_->currentIndex();
    Paint_Clamp(g_paint);
    Ensure_Art();
    Refresh();
}

void a_paint_panel::Refresh() {
    showing_ = true;
    Paint_Sync_Sliders();
    if (QAbstractButton* b = tools_->button(g_paint.tool)) b->setChecked(true);
    size_->setValue(g_paint.brush_size);
    spread_->setCurrentIndex(g_paint.spray_spread);
    fill_->setCurrentIndex(std::max(0, fill_->findData(g_paint.fill_kind)));
    grad_kind_->setCurrentIndex(g_paint.fill_gradient.kind);
    grad_kind_->setEnabled(g_paint.fill_kind == GRADIENT_FILL);
    colour2_->setEnabled(g_paint.fill_kind == GRADIENT_FILL);
    symmetry_->setChecked(g_paint.symmetry_on);
    sym_kind_->setCurrentIndex(g_paint.symmetry_kind == MIRROR_SYMMETRY ? 1 : 0);
    colour_->setIcon(Swatch_Icon(g_paint.fill_color32));
    colour2_->setIcon(Swatch_Icon(g_paint.fill_gradient.bands[1]));
    marquee_->setCurrentIndex(std::max(0, marquee_->findData(g_paint.marquee_method)));
    marquee_->setEnabled(g_paint.tool == SELECT_TOOL);
    grad_reverse_->setChecked(g_paint.fill_gradient.reverse);
    grad_reverse_->setEnabled(g_paint.fill_kind == GRADIENT_FILL);
    for (a_slider_widget* w : grad_sliders_) w->setEnabled(g_paint.fill_kind == GRADIENT_FILL);
    spray_method_->setCurrentIndex(g_paint.spray_method);
    eraser_->setCurrentIndex(g_paint.eraser_choice);
    if (!art_filled_) Fill_Art();
    const a_paint_art& art = Window_Paint_Art();
    Art_Palette_Mark(patterns_, g_paint.pattern ? art.pattern_key : a_keyset{});
    Art_Palette_Mark(stamps_, g_paint.stamp ? art.stamp_key : a_keyset{});
    Art_Palette_Mark(borders_, g_paint.border ? art.border_key : a_keyset{});
    stamp_box_->setVisible(g_paint.tool == STAMP_TOOL || g_paint.fill_kind == STAMP_FILL ||
                           (g_paint.tool == SPRAY_TOOL && g_paint.spray_method == STAMP_SPRAY));
    for (a_slider_widget* w : sliders_) w->Show_Value();
    showing_ = false;
}
