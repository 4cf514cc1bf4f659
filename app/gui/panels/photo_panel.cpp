#include "panels/photo_panel.h"

#include <QtCore/QFile>
#include <QtGui/QImageReader>
#include <QtWidgets/QButtonGroup>
#include <QtWidgets/QCheckBox>
#include <QtWidgets/QFileDialog>
#include <QtWidgets/QGridLayout>
#include <QtWidgets/QLabel>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QToolButton>
#include <QtWidgets/QVBoxLayout>

#include <string>

#include "block_watch.h"
#include "dialogs/crop_dialog.h"
#include "drop_open.h"
#include "images/photo_blocks.h"
#include "model/document.h"
#include "model/notices.h"
#include "model/ph_blocks.h"
#include "model/selection.h"
#include "panels/panel_parts.h"
#include "platform/folders.h"
#include "platform/input_file.h"
#include "widgets/slider_widget.h"
#include "ui/interface.h"
#include "ui/photo_cmds.h"
#include "ui/photo_sliders.h"

namespace {

constexpr int kPreviewBox = 180;

const char* const kPictureFilter =
    "Pictures (*.png *.jpg *.jpeg *.bmp *.gif *.tif *.tiff *.psd *.pict *.pct *.iff *.ilbm "
    "*.PNG *.JPG *.JPEG *.BMP *.GIF *.TIF *.TIFF *.PSD *.PICT *.PCT *.IFF *.ILBM);;All files (*)";

// The single selected photo block, or OMX_NONE.
int One_Photo() {
    int omx = OMX_NONE;
    if (!g_doc.doc_open || !g_doc.up || !Is_One_Selected(omx)) return OMX_NONE;
    const a_oj_item* it = Curr_Item(omx);
    return it && it->kind == PHOTO_BLOCK ? omx : OMX_NONE;
}

int Selected_Photos() {
    if (!g_doc.doc_open || !g_doc.up) return 0;
    int n = 0;
    for (int omx = OMX_START; Selection_Enum(omx);) n += Curr_Item(omx)->kind == PHOTO_BLOCK;
    return n;
}

// A picture file's preview for the file dialog: read at a reduced size.
class a_picture_preview : public QLabel {
  public:
    a_picture_preview() {
        setObjectName("photoPreview");
        setFixedSize(kPreviewBox, kPreviewBox);
        setAlignment(Qt::AlignCenter);
        setFrameShape(QFrame::StyledPanel);
        setStyleSheet("background: palette(base); " + Soft_Text_Style());
    }
    void Show_Path(const QString& path) {
        // Opened as all outside data is: a FIFO the user points at would hold the window.
        a_input_file input;
        QFile file;
        const bool regular = input.Open(path.toStdString()) == a_input_open::OK &&
                             file.open(input.fd(), QIODevice::ReadOnly);
        QImageReader reader(&file);
        QSize size = regular ? reader.size() : QSize();
        if (!size.isValid()) {
            setPixmap({});
            setText(regular ? tr("No preview") : QString());
            return;
        }
        reader.setScaledSize(
            size.scaled(QSize(kPreviewBox - 12, kPreviewBox - 12), Qt::KeepAspectRatio));
        setPixmap(QPixmap::fromImage(reader.read()));
    }
};

}  // namespace

QStringList Picture_Dialog(QWidget* parent, const QString& title, bool many) {
    QFileDialog dialog(parent, title, QString::fromStdString(Documents_Folder()),
                       QObject::tr(kPictureFilter));
    dialog.setOption(QFileDialog::DontUseNativeDialog);  // room for the preview beside the list
    dialog.setFileMode(many ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
    auto* preview = new a_picture_preview;
    if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout()))
        grid->addWidget(preview, 0, grid->columnCount(), grid->rowCount(), 1, Qt::AlignTop);
    QObject::connect(&dialog, &QFileDialog::currentChanged, preview, &a_picture_preview::Show_Path);
    dialog.resize(860, 480);
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles() : QStringList();
}

namespace {

QPushButton* Wide_Button(const char* name, const QString& text, const QString& tip) {
    auto* b = new QPushButton(text);
    b->setObjectName(name);
    b->setToolTip(tip);
    return b;
}

// Widgets in a line: a row keeps them to the left, a column to the top.
QWidget* Line(QBoxLayout::Direction direction, std::initializer_list<QWidget*> widgets) {
    auto* box = new QWidget;
    auto* line = new QBoxLayout(direction, box);
    line->setContentsMargins(0, 0, 0, 0);
    line->setSpacing(4);
    for (QWidget* w : widgets) line->addWidget(w);
    if (direction == QBoxLayout::LeftToRight) line->addStretch(1);
    return box;
}

QWidget* Row(std::initializer_list<QWidget*> widgets) { return Line(QBoxLayout::LeftToRight, widgets); }
QWidget* Column(std::initializer_list<QWidget*> widgets) { return Line(QBoxLayout::TopToBottom, widgets); }

}  // namespace

a_photo_panel::a_photo_panel(QWidget* parent)
    : QWidget(parent), watch_(this, [this] { if (isVisible()) Refresh(); }) {
    setObjectName("photoPanel");
    ask_photos = [this] { return Picture_Dialog(window(), tr("Add Photos"), true); };
    ask_photo = [this](const QString& title) {
        QStringList one = Picture_Dialog(window(), title, false);
        return one.isEmpty() ? QString() : one.first();
    };
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(10, 4, 10, 10);
    outer->setSpacing(4);
    outer->addWidget(Build_Add());
    note_ = Panel_Note("photoNote");
    outer->addWidget(note_);
    QVBoxLayout* column = Controls_Column(controls_);
    column->addWidget(Panel_Heading(tr("Size and turn")));
    column->addWidget(Build_Geometry());
    column->addWidget(Panel_Heading(tr("Look")));
    column->addWidget(Build_Look());
    column->addWidget(Panel_Heading(tr("Edge")));
    column->addWidget(Build_Edge());
    column->addWidget(Panel_Heading(tr("Shadow")));
    column->addWidget(Build_Shadow());
    column->addWidget(Panel_Heading(tr("Picture file")));
    column->addWidget(Build_File());
    outer->addWidget(controls_);
    outer->addStretch(1);

}

a_slider_widget* a_photo_panel::Slider(int slider, const QString& tip) {
    auto* w = new a_slider_widget(a_slider_enum(slider));
    w->setToolTip(tip);
    sliders_.push_back(w);
    return w;
}

QCheckBox* a_photo_panel::Toggle(const char* name, const QString& text, const QString& tip,
                                 int toggle) {
    auto* c = new QCheckBox(text);
    c->setObjectName(name);
    c->setToolTip(tip);
    toggles_.push_back({c, toggle});
    connect(c, &QCheckBox::toggled, this, [this, toggle](bool on) {
        Act([&] { Photo_Set_Toggle(a_toggle_enum(toggle), on); });
        Refresh();
    });
    return c;
}

QWidget* a_photo_panel::Build_Add() {
    QPushButton* add = Wide_Button(
        "addPhotos", tr("Add Photos…"),
        tr("Put pictures from files on this label (up to %1 at once)").arg(PHOTO_MAX_FILES));
    connect(add, &QPushButton::clicked, this, [this] {
        if (!g_doc.doc_open) return;
        QStringList paths = ask_photos ? ask_photos() : QStringList();
        if (!paths.isEmpty()) Add_Photos(paths);
    });
    return add;
}

QWidget* a_photo_panel::Build_Geometry() {
    size_ =
        Slider(PHOTO_SIZE_SLIDER, tr("The photo's size, in tenths of a percent of its picture"));
    size_h_ =
        Slider(PHOTO_SIZEH_SLIDER, tr("The photo's width, in tenths of a percent of its picture"));
    size_v_ =
        Slider(PHOTO_SIZEV_SLIDER, tr("The photo's height, in tenths of a percent of its picture"));
    QCheckBox* keep =
        Toggle("photoConstrain", tr("Keep proportions"),
               tr("One size for width and height; off, each has its own"), PHOTO_CONSTRAIN_TOGGLE);
    a_slider_widget* angle =
        Slider(PHOTO_ANGLE_SLIDER, tr("The photo's turn, in tenths of a degree"));

    QToolButton* ccw =
        Panel_Button("photoRotateLeft", QStringLiteral("⟲"), tr("Turn a quarter to the left"));
    QToolButton* cw =
        Panel_Button("photoRotateRight", QStringLiteral("⟳"), tr("Turn a quarter to the right"));
    QToolButton* fx = Panel_Button("photoFlipX", QStringLiteral("⇆"), tr("Mirror left to right"));
    QToolButton* fy = Panel_Button("photoFlipY", QStringLiteral("⇅"), tr("Mirror top to bottom"));
    QToolButton* inv = Panel_Button("photoInvert", tr("Invert"), tr("Invert the photo's colors"));
    using a_command = void (*)();
    for (auto [b, command] : {std::pair<QToolButton*, a_command>{ccw, Photo_Rotate_CCW},
                              std::pair<QToolButton*, a_command>{cw, Photo_Rotate_CW},
                              std::pair<QToolButton*, a_command>{fx, Photo_FlipX},
                              std::pair<QToolButton*, a_command>{fy, Photo_FlipY},
                              std::pair<QToolButton*, a_command>{inv, Photo_Invert}})
        connect(b, &QToolButton::clicked, this, [command] { Act(command); });

    QToolButton* fit_w =
        Panel_Button("photoFitWidth", tr("Width"), tr("As wide as the label, centred across it"));
    QToolButton* fit_h = Panel_Button("photoFitHeight", tr("Height"),
                                      tr("As high as the label, centred up and down"));
    QToolButton* cover =
        Panel_Button("photoCover", tr("Cover"), tr("Cover the whole label, proportions kept"));
    QToolButton* stretch = Panel_Button("photoStretch", tr("Stretch"),
                                        tr("Stretched to the label's width and height"));
    for (auto [b, fit] : {std::pair<QToolButton*, a_command>{fit_w, Photo_Fit_H},
                          std::pair<QToolButton*, a_command>{fit_h, Photo_Fit_V},
                          std::pair<QToolButton*, a_command>{cover, Photo_Cover_P},
                          std::pair<QToolButton*, a_command>{stretch, Photo_Cover_D}})
        connect(b, &QToolButton::clicked, this, [fit] { Act([fit] { Photo_Fit_Command(fit); }); });

    crop_ =
        Wide_Button("photoCrop", tr("Crop…"), tr("Choose the part of the picture the photo shows"));
    connect(crop_, &QPushButton::clicked, this, [this] { Crop(); });
    auto* fit_label = new QLabel(tr("Fit to the label:"));
    return Column({size_, size_h_, size_v_, keep, angle, Row({ccw, cw, fx, fy, inv}), fit_label,
                   Row({fit_w, fit_h, cover, stretch}), crop_});
}

QWidget* a_photo_panel::Build_Look() {
    QCheckBox* wtransp =
        Toggle("photoWhiteClear", tr("White is see-through"),
               tr("Near-white parts of the picture let the background show"), PHOTO_WTRANSP_TOGGLE);
    return Column(
        {Slider(PHOTO_DARKNESS_SLIDER, tr("Lighter or darker; 50 leaves the picture as it is")),
         Slider(PHOTO_OPACITY_SLIDER, tr("How much of the background shows through, in percent")),
         Slider(PHOTO_CORNER_SLIDER, tr("Rounded corners, in percent of the shorter side")),
         Slider(PHOTO_FEATHER_SLIDER, tr("A soft edge fading into the background")),
         Slider(COLOR_HUE_SLIDER, tr("The hue the photo is tinted with")),
         Slider(COLOR_DIST_SLIDER, tr("How strongly the photo is tinted")),
         Slider(COLOR_SAT_SLIDER, tr("Color strength; 50 leaves it as it is")), wtransp});
}

QWidget* a_photo_panel::Build_Edge() {
    auto* styles = new QWidget;
    auto* row = new QHBoxLayout(styles);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(4);
    edge_style_ = new QButtonGroup(this);
    edge_style_->setExclusive(true);
    const struct {
        const char* text;
        const char* tip;
    } kStyles[] = {{"None", "No edge"},
                   {"Border", "A border of one color with an outline inside it"},
                   {"Scallop", "A border with a scalloped outer edge"},
                   {"Rough", "A border with a torn, rough outer edge"}};
    for (int i = EDGE_NONE; i <= EDGE_ROUGH; ++i) {
        QToolButton* b = Panel_Button(qPrintable(QString("edgeStyle%1").arg(i)),
                                      tr(kStyles[i].text), tr(kStyles[i].tip), true);
        edge_style_->addButton(b, i);
        row->addWidget(b);
    }
    row->addStretch(1);
    connect(edge_style_, &QButtonGroup::idClicked, this, [this](int style) {
        Act([&] { Photo_Set_Edge_Style(style); });
        Refresh();
    });
    edge_sliders_[0] =
        Slider(PHOTO_EDGE_BORDER_SLIDER, tr("The border's width, in pixels of the label"));
    edge_sliders_[1] =
        Slider(PHOTO_EDGE_OUTLINE_SLIDER, tr("The outline's width, between border and picture"));
    edge_sliders_[2] = Slider(PHOTO_EDGE_SCALLOP_SLIDER, tr("How deep the scallops are"));
    edge_sliders_[3] = Slider(PHOTO_EDGE_ROUGH_SLIDER, tr("How rough the torn edge is"));
    border_swatches_ = Swatch_Grid("borderColour", tr("The border's color"), [this](QColor c) {
        Act([&] { Photo_Set_Edge_Color(false, To_Pixel(c)); });
        Refresh();
    });
    outline_swatches_ = Swatch_Grid("outlineColour", tr("The outline's color"), [this](QColor c) {
        Act([&] { Photo_Set_Edge_Color(true, To_Pixel(c)); });
        Refresh();
    });
    return Column({styles, edge_sliders_[0], edge_sliders_[1], edge_sliders_[2], edge_sliders_[3],
                   new QLabel(tr("Border color")), border_swatches_,
                   new QLabel(tr("Outline color")), outline_swatches_});
}

QWidget* a_photo_panel::Build_Shadow() {
    QCheckBox* on = Toggle("photoShadow", tr("Drop shadow"), tr("A soft shadow under the photo"),
                           PHOTO_SHADOW_TOGGLE);
    shadow_sliders_ =
        Column({Slider(PHOTO_SHAD_DX_SLIDER, tr("How far the shadow falls to the right")),
                Slider(PHOTO_SHAD_DY_SLIDER, tr("How far the shadow falls downwards")),
                Slider(PHOTO_SHAD_OPACITY_SLIDER, tr("How dark the shadow is, in percent")),
                Slider(PHOTO_SHAD_RADIUS_SLIDER, tr("How soft the shadow's edge is"))});
    return Column({on, shadow_sliders_});
}

QWidget* a_photo_panel::Build_File() {
    replace_ =
        Wide_Button("photoReplace", tr("Replace…"), tr("Show another picture file in this photo"));
    fix_ = Wide_Button("photoFix", tr("Find…"),
                       tr("The photo's picture file is missing: find it again"));
    connect(replace_, &QPushButton::clicked, this, [this] { Choose_File(false); });
    connect(fix_, &QPushButton::clicked, this, [this] { Choose_File(true); });
    return Row({replace_, fix_});
}

void a_photo_panel::Accept_Drops_On(QWidget* area) {
    new a_picture_dropper(area, [this](const QStringList& paths) { Add_Photos(paths); });
}

void a_photo_panel::Add_Photos(const QStringList& paths) {
    if (!g_doc.doc_open) return;
    std::vector<std::string> files;
    for (const QString& p : paths) files.push_back(p.toStdString());
    Act([&] {
        if (gs.curr_phase != PHOTO_PHASE) Phase_Set(PHOTO_PHASE);
        (void)Photo_New(files);
    });
    Refresh();
}

void a_photo_panel::Crop() {
    int omx = One_Photo();
    if (omx == OMX_NONE) return;
    Rect bounds;
    QImage picture = Block_Source_Picture(*Curr_PH(omx), bounds);
    if (picture.isNull()) return;
    a_crop_dialog dialog(picture, Curr_PH(omx)->spec.subset, window());
    if (dialog.exec() != QDialog::Accepted) return;
    Rect crop = dialog.Crop();
    Act([&] { Photo_Crop2(crop); });
}

void a_photo_panel::Choose_File(bool fix) {
    int omx = One_Photo();
    if (omx == OMX_NONE || !ask_photo) return;
    QString path =
        ask_photo(fix ? tr("Find the Photo's Picture") : tr("Replace the Photo's Picture"));
    if (path.isEmpty()) return;
    Act([&] { (void)Photo_Fix2(omx, path.toStdString()); });
    Refresh();
}

void a_photo_panel::Refresh() {
    Photo_Sliders_Attach();
    const int omx = One_Photo();
    const int count = Selected_Photos();
    controls_->setEnabled(count > 0);
    if (omx != OMX_NONE) PH_To_Sliders(*Curr_PH(omx));
    const bool missing = omx != OMX_NONE && Is_Photo_Missing(omx);
    if (!g_doc.doc_open)
        note_->setText({});
    else if (count == 0)
        note_->setText(tr("Add photos, or click one on the label to change it."));
    else if (missing)
        note_->setText(tr("This photo's picture file is missing. Find it, or replace it."));
    else if (count > 1)
        note_->setText(tr("%1 photos are selected: a change applies to each.").arg(count));
    else
        note_->setText({});
    note_->setVisible(!note_->text().isEmpty());

    for (a_slider_widget* w : sliders_) w->Show_Value();
    for (auto [box, toggle] : toggles_) {
        const QSignalBlocker quiet(box);
        box->setChecked(gs.toggle_vals[toggle]);
    }
    const bool constrained = gs.toggle_vals[PHOTO_CONSTRAIN_TOGGLE];
    size_->setVisible(constrained);
    size_h_->setVisible(!constrained);
    size_v_->setVisible(!constrained);
    const int style = gs.grid_vals[EDGE_STYLE_GRID];
    if (QAbstractButton* b = edge_style_->button(style)) b->setChecked(true);
    edge_sliders_[0]->setEnabled(style != EDGE_NONE);
    edge_sliders_[1]->setEnabled(style != EDGE_NONE);
    edge_sliders_[2]->setVisible(style == EDGE_SCALLOP);
    edge_sliders_[3]->setVisible(style == EDGE_ROUGH);
    Swatch_Mark(border_swatches_, To_QColor(gs.edge_bord_color));
    Swatch_Mark(outline_swatches_, To_QColor(gs.edge_outl_color));
    shadow_sliders_->setEnabled(gs.toggle_vals[PHOTO_SHADOW_TOGGLE]);
    crop_->setEnabled(omx != OMX_NONE && !missing);
    replace_->setEnabled(omx != OMX_NONE);
    fix_->setEnabled(Calc_Hilite_PhFix());
}
