#include "panels/canvas_panel.h"

#include <QtWidgets/QApplication>
#include <QtWidgets/QGridLayout>
#include <QtWidgets/QLabel>
#include <QtWidgets/QListWidget>
#include <QtWidgets/QScrollArea>
#include <QtWidgets/QToolButton>
#include <QtWidgets/QVBoxLayout>

#include <utility>

#include "look.h"
#include "model/document.h"
#include "panels/panel_parts.h"
#include "pixels/gworld.h"
#include "pixels/syspix.h"
#include "render/canvas.h"
#include "shell/mainloop.h"
#include "widgets/slider_widget.h"
#include "ui/canvas_cmds.h"
#include "ui/interface.h"

namespace {

enum : int { THUMB_CELL = 64 };

// The solid colours offered: hue and distance from white, as the colour
// sliders take them.
struct a_solid {
    int hue, dist;
};
const a_solid kSolids[] = {{0, 0},    {0, 40},   {30, 40},  {55, 40},  {120, 30}, {175, 36},
                           {210, 40}, {240, 36}, {275, 36}, {320, 30}, {0, 72},   {220, 72}};

int Current_Class() {
    return g_doc.up ? UNIT_TO_CANV_PREFIX(g_doc.doc_template.Unit(g_doc.upx).kind) : -1;
}

QColor Solid_Colour(const a_solid& s) {
    a_canvas_spec cv;
    Init_CV(cv);
    cv.canvas_color_hue = int16_t(s.hue);
    cv.canvas_color_dist = int16_t(s.dist);
    return QColor::fromRgb(Solid_Canvas_Color(cv));
}

QImage Palette_Thumb(int index, int canv_class) {
    Rect cell{0, 0, THUMB_CELL, THUMB_CELL};
    a_gworld_ptr world = Make_GWorld(32, cell);
    if (!world) return {};
    Canvas_DrawElement(world.get(), cell, index, canv_class);
    a_port_bits bits = World_Bits(world.get());
    return QImage(bits.base, THUMB_CELL, THUMB_CELL, bits.rowbytes, QImage::Format_RGB32).copy();
}

}  // namespace

a_canvas_panel::a_canvas_panel(QWidget* parent) : QWidget(parent) {
    QVBoxLayout* column = Panel_Frame(this, "canvasPanel", clone_note_, controls_);

    column->addWidget(Panel_Heading(tr("Canvas")));
    palette_ = new QListWidget;
    palette_->setToolTip(tr("The backgrounds made for this label's shape; click one to fill the label with it"));
    palette_->setObjectName("canvasPalette");
    palette_->setViewMode(QListView::IconMode);
    palette_->setIconSize(QSize(52, 52));
    palette_->setGridSize(QSize(60, 60));
    palette_->setMovement(QListView::Static);
    palette_->setResizeMode(QListView::Adjust);
    palette_->setMinimumHeight(126);  // two rows; more when the window is taller
    connect(palette_, &QListWidget::itemClicked, this, [](QListWidgetItem* item) {
        int index = item->data(Qt::UserRole).toInt();
        bool keep = QApplication::keyboardModifiers() & Qt::AltModifier;
        Act([&] {
            gs.bar_selection[CANVAS_BAR] = int16_t(index);
            Canvas_Select(keep);
        });
    });
    column->addWidget(palette_, 1);

    column->addWidget(Panel_Heading(tr("Solid color")));
    column->addWidget(Build_Solids());
    column->addWidget(Panel_Heading(tr("Turn and mirror")));
    column->addWidget(Build_Turns());
    column->addWidget(Panel_Heading(tr("Adjust")));
    for (a_slider_enum s : {CANV_DARKNESS_SLIDER, COLOR_HUE_SLIDER, COLOR_DIST_SLIDER, CANV_FUZZ_OUT_SLIDER,
                            CANV_FUZZ_IN_SLIDER}) {
        auto* w = new a_slider_widget(s);
        sliders_.push_back(w);
        column->addWidget(w);
    }
}

QWidget* a_canvas_panel::Build_Solids() {
    auto* box = new QWidget;
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(4);
    int i = 0;
    for (const a_solid& s : kSolids) {
        auto* b = new QToolButton;
        b->setObjectName(QString("solid%1").arg(i));
        b->setFixedSize(28, 22);
        b->setStyleSheet(QString("QToolButton { background: %1; border: 1px solid %2; border-radius: 3px; }"
                                 "QToolButton:hover { border: 2px solid %3; }")
                             .arg(Solid_Colour(s).name(), Border_Colour().name(), Accent_Colour().name()));
        b->setToolTip(s.dist == 0 ? tr("White") : tr("Solid color"));
        connect(b, &QToolButton::clicked, this, [s] { Act([&] { Canvas_Select_Solid(s.hue, s.dist); }); });
        grid->addWidget(b, i / 6, i % 6);
        ++i;
    }
    return box;
}

QWidget* a_canvas_panel::Build_Turns() {
    auto* box = new QWidget;
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(4);
    auto button = [&](const char* name, const QString& text, const QString& tip, bool checkable) {
        QToolButton* b = Panel_Button(name, text, tip, checkable);
        row->addWidget(b);
        return b;
    };
    QToolButton* ccw = button("canvasRotateLeft", QStringLiteral("⟲"), tr("Turn a quarter to the left"), false);
    QToolButton* cw = button("canvasRotateRight", QStringLiteral("⟳"), tr("Turn a quarter to the right"), false);
    flipx_ = button("canvasFlipX", QStringLiteral("⇆"), tr("Mirror left to right"), true);
    flipy_ = button("canvasFlipY", QStringLiteral("⇅"), tr("Mirror top to bottom"), true);
    invert_ = button("canvasInvert", tr("Invert"), tr("Invert the colours"), true);
    row->addStretch(1);
    connect(ccw, &QToolButton::clicked, this, [] { Act(Canvas_Rotate_CCW); });
    connect(cw, &QToolButton::clicked, this, [] { Act(Canvas_Rotate_CW); });
    using a_command = void (*)();
    for (auto [b, command] : {std::pair<QToolButton*, a_command>{flipx_, Canvas_FlipX},
                              std::pair<QToolButton*, a_command>{flipy_, Canvas_FlipY},
                              std::pair<QToolButton*, a_command>{invert_, Canvas_Invert}})
        connect(b, &QToolButton::clicked, this, [this, command] {
            Act(command);
            Refresh();
        });
    return box;
}

void a_canvas_panel::Fill_Palette(int canv_class) {
    palette_class_ = canv_class;
    palette_->clear();
    int n = canv_class >= 0 ? Canvas_Count(canv_class) : 0;
    for (int i = 1; i <= n; ++i) {
        auto* item = new QListWidgetItem(QIcon(QPixmap::fromImage(Palette_Thumb(i, canv_class))), QString());
        item->setData(Qt::UserRole, i);
        // The art database names no canvases: its place and record say which.
        a_keyset key;
        CanvX_To_Key(key, i, canv_class);
        item->setToolTip(Is_CanvKey_White(key) ? tr("White: no picture, any solid colour")
                                               : tr("Background %1 of %2 for this label's shape (art record %3)")
                                                     .arg(i)
                                                     .arg(n)
                                                     .arg(QString::fromStdString(Key_To_String(key))));
        palette_->addItem(item);
    }
}

void a_canvas_panel::Refresh() {
    Canvas_Sliders_Attach();
    int cls = Current_Class();
    if (cls != palette_class_) Fill_Palette(cls);
    // A clone repeats its master's design: it is changed there.
    bool clone = g_doc.up && g_doc.up->clonef;
    clone_note_->setVisible(clone);
    controls_->setEnabled(!clone);
    if (clone)
        clone_note_->setText(tr("Label %1 repeats the design of label %2: choose label %2 to change it.")
                                 .arg(g_doc.upx)
                                 .arg(Find_Clone_Master(g_doc.upx)));
    if (!g_doc.up || clone) return;
    const a_canvas_spec& cv = g_doc.up->canv.cv;
    CV_To_Sliders(cv);
    for (a_slider_widget* w : sliders_) w->Show_Value();
    flipx_->setChecked(cv.canvas_flipx);
    flipy_->setChecked(cv.canvas_flipy);
    invert_->setChecked(cv.canvas_invert);
    int index = Key_To_CanvX(cv.canvas_key, cls);
    gs.bar_selection[CANVAS_BAR] = int16_t(index);
    palette_->blockSignals(true);
    if (!Is_CanvKey_White(cv.canvas_key) && index >= 1 && index <= palette_->count())
        palette_->setCurrentRow(index - 1);
    else
        palette_->setCurrentRow(-1);
    palette_->blockSignals(false);
}
