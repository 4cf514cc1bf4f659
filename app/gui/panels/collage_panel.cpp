#include "panels/collage_panel.h"

#include <QtCore/QFileInfo>
#include <QtCore/QTimer>
#include <QtGui/QDropEvent>
#include <QtGui/QPainter>
#include <QtGui/QPainterPath>
#include <QtWidgets/QButtonGroup>
#include <QtWidgets/QCheckBox>
#include <QtWidgets/QGridLayout>
#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QLabel>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QToolButton>
#include <QtWidgets/QVBoxLayout>

#include <cmath>
#include <string>

#include "drop_open.h"
// The pack's field `slots` meets Qt's keyword of that name.
#undef slots
#include "images/pack.h"
#define slots Q_SLOTS
#include "model/document.h"
#include "model/selection.h"
#include "panels/panel_parts.h"
#include "panels/photo_panel.h"
#include "shell/collage_cmds.h"
#include "shell/edit_cmds.h"
#include "ui/interface.h"
#include "ui/pack_sliders.h"
#include "widgets/slider_widget.h"

namespace {

constexpr int kIcon = 40;
constexpr unsigned RINGS = (1u << PACK_CLOCK1) | (1u << PACK_CLOCK2) | (1u << PACK_CLOCKSQ) | (1u << PACK_LOTUS);
constexpr unsigned GRID = 1u << PACK_GRID;
constexpr unsigned ALL = RINGS | GRID;

// The little picture of a kind: what its slots look like.
QIcon Kind_Icon(int kind) {
    QPixmap pm(kIcon, kIcon);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(60, 70, 90), 1.4));
    p.setBrush(QColor(150, 185, 225));
    const QPointF c(kIcon / 2.0, kIcon / 2.0);
    auto wedges = [&](double r_in, double r_out, int n, bool square) {
        for (int i = 0; i < n; ++i) {
            const double a0 = 90 - i * 360.0 / n - 4, a1 = 90 - (i + 1) * 360.0 / n + 4;
            QPainterPath path;
            auto at = [&](double r, double a) {
                const double rad = a * M_PI / 180;
                const double k = square ? std::max(std::fabs(std::cos(rad)), std::fabs(std::sin(rad))) : 1.0;
                return c + QPointF(r / k * std::cos(rad), -r / k * std::sin(rad));
            };
            path.moveTo(at(r_in, a0));
            for (double a = a0; a >= a1; a -= 2) path.lineTo(at(r_out, a));
            for (double a = a1; a <= a0; a += 2) path.lineTo(at(r_in, a));
            path.closeSubpath();
            p.drawPath(path);
        }
    };
    switch (kind) {
        case PACK_GRID:
            for (int j = 0; j < 3; ++j)
                for (int i = 0; i < 3; ++i) p.drawRect(QRectF(5 + i * 10.5, 5 + j * 10.5, 9, 9));
            break;
        case PACK_CLOCK1: wedges(9, 18, 6, false); break;
        case PACK_CLOCK2:
            wedges(13.5, 18.5, 6, false);
            wedges(7, 12.5, 4, false);
            break;
        case PACK_CLOCKSQ: wedges(8, 16, 6, true); break;
        default:
            for (int k = 0; k < 12; ++k) {
                const bool front = k % 2 == 0;
                p.save();
                p.translate(c);
                p.rotate(-90 + k * 30);
                p.setBrush(front ? QColor(150, 185, 225) : QColor(110, 140, 190));
                p.drawEllipse(QRectF(6, front ? -4.5 : -3.5, front ? 13 : 11, front ? 9 : 7));
                p.restore();
            }
    }
    return QIcon(pm);
}

QString File_Names(const std::vector<std::string>& paths) {
    QStringList names;
    for (const std::string& p : paths) names << QFileInfo(QString::fromStdString(p)).fileName();
    return names.join(", ");
}

// Drops of picture files on the editing area while a collage is open; other
// drops go on to the photo panel's dropper and the window.
class a_collage_dropper : public QObject {
  public:
    a_collage_dropper(QWidget* area, a_collage_panel* panel) : QObject(area), panel_(panel) {
        area->setAcceptDrops(true);
        area->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const auto t = event->type();
        if ((t != QEvent::DragEnter && t != QEvent::DragMove && t != QEvent::Drop) || !Pack_Active())
            return QObject::eventFilter(watched, event);
        auto* e = static_cast<QDropEvent*>(event);
        QStringList paths = Dropped_Pictures(e->mimeData());
        if (paths.isEmpty()) return QObject::eventFilter(watched, event);
        e->acceptProposedAction();
        if (t == QEvent::Drop) QTimer::singleShot(0, panel_, [p = panel_, paths] { p->Add_Photos(paths); });
        return true;
    }

  private:
    a_collage_panel* panel_;
};

}  // namespace

a_collage_panel::a_collage_panel(QWidget* parent)
    : QWidget(parent), watch_(this, [this] { if (isVisible()) Refresh(); }) {
    setObjectName("collagePanel");
    ask_photos = [this] { return Picture_Dialog(window(), tr("Add Photos to the Collage"), true); };
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(10, 4, 10, 10);
    outer->setSpacing(4);
    note_ = Panel_Note("collageNote");
    outer->addWidget(note_);
    outer->addWidget(Panel_Heading(tr("Kind")));
    outer->addWidget(Build_Kinds());
    outer->addWidget(Panel_Heading(tr("Layout")));
    const struct {
        int slider;
        unsigned kinds;
        const char* tip;
    } kSliders[] = {
        {PACK_CLOCK_NOUTER_SLIDER, (1u << PACK_CLOCK1) | (1u << PACK_CLOCK2) | (1u << PACK_CLOCKSQ),
         "Photos in the (outer) ring"},
        {PACK_CLOCK_NINNER_SLIDER, 1u << PACK_CLOCK2, "Photos in the inner ring"},
        {PACK_LOTUS_N_SLIDER, 1u << PACK_LOTUS, "Petals in each of the two rows"},
        {PACK_CLOCK_TOTANGLE_SLIDER, RINGS & ~(1u << PACK_LOTUS), "How much of the circle the ring covers, in degrees"},
        {PACK_CLOCK_START_SLIDER, RINGS, "Where the first photo starts, in degrees from the top"},
        {PACK_CLOCK_SPACING_SLIDER, RINGS & ~(1u << PACK_LOTUS), "The gap between photos"},
        {PACK_CLOCK_THICKNESS_SLIDER, RINGS, "The ring's width, in percent of its outer radius"},
        {PACK_CLOCK_OUTERD_SLIDER, RINGS, "The ring's outer diameter, in percent of the collage"},
        {PACK_GRID_NX_SLIDER, GRID, "Photos across"},
        {PACK_GRID_NY_SLIDER, GRID, "Photos down"},
        {PACK_GRID_SPACING_SLIDER, GRID, "Gap between photos, in percent of a cell"},
        {PACK_GRID_CORNER_SLIDER, GRID, "Rounded corners, in percent of a cell"},
        {PACK_OUTLINE_SLIDER, ALL, "A dark outline around each photo, in pixels"},
    };
    for (const auto& s : kSliders) {
        a_slider_widget* w = Slider(s.slider, tr(s.tip));
        sliders_.back().second = s.kinds;
        outer->addWidget(w);
    }
    upright_ = new QCheckBox(tr("Photos upright"));
    upright_->setObjectName("collageUpright");
    upright_->setToolTip(tr("Keep every photo upright instead of turning it with the ring"));
    connect(upright_, &QCheckBox::toggled, this, [this](bool on) {
        Act([&] { Pack_Set_Orient(on ? 1 : 0); });
        Refresh();
    });
    outer->addWidget(upright_);
    outer->addWidget(Panel_Heading(tr("Photos")));
    outer->addWidget(Build_Slots());
    report_ = Panel_Note("collageReport");
    outer->addWidget(report_);

    auto* ok = new QPushButton(tr("OK"));
    ok->setObjectName("collageOK");
    ok->setToolTip(tr("Make the collage one photo on the label"));
    auto* cancel = new QPushButton(tr("Cancel"));
    cancel->setObjectName("collageCancel");
    cancel->setToolTip(tr("Leave the collage; the label stays as it was"));
    connect(ok, &QPushButton::clicked, this, [] { Act(Collage_OK); });
    connect(cancel, &QPushButton::clicked, this, [] { Act(Collage_Cancel); });
    auto* buttons = new QWidget;
    auto* row = new QHBoxLayout(buttons);
    row->setContentsMargins(0, 8, 0, 0);
    row->addWidget(ok);
    row->addWidget(cancel);
    outer->addWidget(buttons);
    outer->addStretch(1);
}

a_slider_widget* a_collage_panel::Slider(int slider, const QString& tip) {
    auto* w = new a_slider_widget(a_slider_enum(slider));
    w->setToolTip(tip);
    sliders_.push_back({w, ALL});
    return w;
}

QWidget* a_collage_panel::Build_Kinds() {
    auto* box = new QWidget;
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(2);
    kinds_ = new QButtonGroup(this);
    kinds_->setExclusive(true);
    const char* const kTips[PACK_NKINDS] = {"A grid of square cells", "One ring of photos",
                                            "Two rings of photos", "A ring of photos on a square",
                                            "A lotus of petals in two rows"};
    for (int k = 0; k < PACK_NKINDS; ++k) {
        QToolButton* b = Panel_Button(qPrintable(QString("collageKind%1").arg(k)), QString(), tr(kTips[k]), true);
        b->setIcon(Kind_Icon(k));
        b->setIconSize(QSize(kIcon, kIcon));
        kinds_->addButton(b, k);
        row->addWidget(b);
    }
    row->addStretch(1);
    connect(kinds_, &QButtonGroup::idClicked, this, [this](int kind) {
        Act([&] { Pack_Set_Kind(kind); });
        Refresh();
    });
    return box;
}

QWidget* a_collage_panel::Build_Slots() {
    slot_controls_ = new QWidget;
    auto* grid = new QGridLayout(slot_controls_);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(4);
    auto* add = new QPushButton(tr("Add Photos…"));
    add->setObjectName("collageAdd");
    add->setToolTip(tr("Fill the empty slots with pictures from files (up to %1 at once)").arg(PACK_MAX_FILES));
    connect(add, &QPushButton::clicked, this, [this] {
        QStringList paths = ask_photos ? ask_photos() : QStringList();
        if (!paths.isEmpty()) Add_Photos(paths);
    });
    grid->addWidget(add, 0, 0, 1, 4);
    struct a_button {
        const char* name;
        QString text, tip;
        std::function<void()> act;
    };
    const a_button kButtons[] = {
        {"collagePaste", tr("Paste"), tr("The clipboard's picture into the next empty slot"),
         [] { (void)Edit_Paste(); }},
        {"collageDup", tr("Copy"), tr("The selected photos again, in the next empty slots"), Pack_DupSlot},
        {"collageClear", tr("Clear"), tr("Empty the selected slots"), Pack_ClearSlot},
        {"collageTurnLeft", QStringLiteral("⟲ 90°"), tr("Turn the selected photos a quarter to the left"),
         [] { Pack_Rotate_Selected(900); }},
        {"collageTurnRight", QStringLiteral("⟳ 90°"), tr("Turn the selected photos a quarter to the right"),
         [] { Pack_Rotate_Selected(-900); }},
        {"collageNudgeLeft", QStringLiteral("⟲ 5°"), tr("Turn the selected photos a little to the left"),
         [] { Pack_Rotate_Selected(50); }},
        {"collageNudgeRight", QStringLiteral("⟳ 5°"), tr("Turn the selected photos a little to the right"),
         [] { Pack_Rotate_Selected(-50); }},
    };
    int i = 0;
    for (const a_button& b : kButtons) {
        QToolButton* w = Panel_Button(b.name, b.text, b.tip);
        auto act = b.act;
        connect(w, &QToolButton::clicked, this, [this, act] {
            Act(act);
            Refresh();
        });
        grid->addWidget(w, 1 + i / 4, i % 4);
        ++i;
    }
    item_size_ = new a_slider_widget(PACK_ITEM_SIZE_SLIDER);
    item_size_->setToolTip(tr("The selected photos' size in their slots, in tenths of a percent"));
    grid->addWidget(item_size_, 3, 0, 1, 4);
    return slot_controls_;
}

void a_collage_panel::Accept_Drops_On(QWidget* area) { new a_collage_dropper(area, this); }

void a_collage_panel::Add_Photos(const QStringList& paths) {
    if (!Pack_Active()) return;
    std::vector<std::string> files;
    for (const QString& p : paths) files.push_back(p.toStdString());
    a_pack_get_result r;
    Act([&] { r = Pack_Get(files); });
    QStringList lines;
    if (r.refused)
        lines << tr("Every slot holds a photo: clear one, or add slots, first.");
    else if (!r.unplaced.empty())
        lines << tr("No empty slot for %n photo(s): %1", "", int(r.unplaced.size())).arg(File_Names(r.unplaced));
    if (!r.failed.empty())
        lines << tr("Could not read %n file(s): %1", "", int(r.failed.size())).arg(File_Names(r.failed));
    report_->setText(lines.join("\n"));
    Refresh();
}

void a_collage_panel::Refresh() {
    Pack_Sliders_Attach();
    const Rect bounds = g_doc.up ? g_doc.up->paintbounds : Rect{};
    if (bounds != last_bounds_) {
        last_bounds_ = bounds;
        emit boundsChanged();
    }
    const bool open = Pack_Active();
    const int kind = std::clamp<int>(gs.grid_vals[PACK_KIND_GRID], 0, PACK_NKINDS - 1);
    if (QAbstractButton* b = kinds_->button(kind)) b->setChecked(true);
    {
        const QSignalBlocker quiet(upright_);
        upright_->setChecked(gs.grid_vals[PACK_ORIENT_GRID] != 0);
    }
    upright_->setVisible(kind != PACK_GRID);
    for (auto [w, kinds] : sliders_) {
        w->setVisible(kinds & (1u << kind));
        w->Show_Value();
    }
    int selected = 0, filled = 0;
    if (open) {
        for (int omx = OMX_START; Selection_Enum(omx);) selected += Omx_To_Slotx(omx) >= 0;
        for (int s = 0; s < Pack_Slot_Blocks(); ++s) filled += !Is_Slot_Empty(FIRST_SLOT + s);
        int one = OMX_NONE;
        if (Is_One_Selected(one)) Slot_To_Sliders(one);
    }
    item_size_->Show_Value();
    item_size_->setEnabled(selected > 0);
    slot_controls_->setEnabled(open);
    if (!open) {
        note_->setText(tr("Choose Collage in the phase bar to start a collage on this label."));
    } else if (filled == 0) {
        note_->setText(tr("Drop photos on the slots, or add them from files: each fills the next empty slot."));
    } else {
        note_->setText(tr("%1 of %2 slots hold a photo. Click one to turn, size or clear it; drag it onto "
                          "another slot to swap them.")
                           .arg(filled)
                           .arg(g_pack->totnslots));
    }
    report_->setVisible(!report_->text().isEmpty());
}
