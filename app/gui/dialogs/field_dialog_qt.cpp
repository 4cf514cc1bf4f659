#include "dialogs/field_dialog_qt.h"

#include <QtCore/QSignalBlocker>
#include <QtGui/QPainter>
#include <QtWidgets/QCheckBox>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QDialogButtonBox>
#include <QtWidgets/QGridLayout>
#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QLabel>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QVBoxLayout>

#include <algorithm>

#include "base/messages.h"
#include "base/prefs.h"
#include "base/string_ids.h"

namespace {

enum : int { HEADER_HEIGHT = 24, PREVIEW_MARGIN = 8, PREVIEW_WIDTH = 560, PREVIEW_HEIGHT = 190 };

// The styles of the track number as the pop-up shows them, values 1..7.
const char* const kStyles[TRACKNUM_STYLES] = {"1)", "1]", "(1)", "[1]", "1:", "1.", "1"};

QString Str(int index) {
    std::string s;
    GetIndString(s, MAIN_STR_ID, index);
    return QString::fromStdString(s);
}

bool Bit(uint32_t set, uint32_t f) { return f < 32 && (set >> f & 1u) != 0; }

}  // namespace

a_field_preview::a_field_preview(const a_field_dialog& d, QWidget* parent) : QWidget(parent), d_(d) {
    setObjectName("fieldPreview");
    setMinimumSize(PREVIEW_WIDTH, PREVIEW_HEIGHT);
}

QSize a_field_preview::sizeHint() const { return {PREVIEW_WIDTH, PREVIEW_HEIGHT}; }

void a_field_preview::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QColor header(PREVIEW_HEADER_GREY, PREVIEW_HEADER_GREY, PREVIEW_HEADER_GREY);
    const QRect band(0, 0, width(), HEADER_HEIGHT);
    const QRect body(0, HEADER_HEIGHT, width(), height() - HEADER_HEIGHT);
    p.fillRect(band, header);
    p.fillRect(body, QColor(PREVIEW_BODY_GREY, PREVIEW_BODY_GREY, PREVIEW_BODY_GREY));
    QFont title = font();
    title.setPointSize(PREVIEW_TITLE_POINTS);
    p.setFont(title);
    p.setPen(Qt::black);
    p.drawText(band, Qt::AlignCenter, tr("Preview"));

    QFont lines = font();
    lines.setPixelSize(PREVIEW_LINE_STEP - 2);
    p.setFont(lines);
    p.setClipRect(body);
    const QFontMetrics fm(lines);
    int x = PREVIEW_MARGIN;
    for (uint32_t i = 0; i < d_.preview.nchunks() && x < width(); ++i) {
        if (i > 0) {
            p.fillRect(QRect(x, body.top(), PREVIEW_SEPARATOR, body.height()), header);
            x += PREVIEW_SEPARATOR + PREVIEW_MARGIN / 2;
        }
        int widest = 0, y = body.top() + PREVIEW_FIRST_LINE;
        for (const std::u16string& line : FieldDialog_Preview_Lines(d_, i)) {
            QString s = QString::fromStdU16String(line);
            widest = std::max(widest, fm.horizontalAdvance(s));
            if (y - fm.ascent() < body.bottom()) p.drawText(x, y, s);
            y += PREVIEW_LINE_STEP;
        }
        x += widest + PREVIEW_MARGIN / 2;
    }
}

a_field_dialog_qt::a_field_dialog_qt(a_field_dialog& d, const a_song_table& t, QWidget* parent)
    : QDialog(parent), d_(d), t_(t) {
    setObjectName("fieldDialog");
    setWindowTitle(tr("Import Tracks"));
    auto* title = new QLabel(Str(STR_SELECT_FIELDS));
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);

    // The track number: its box and its style.
    shown_.assign(d.nitems + 1, nullptr);
    column_.assign(d.nitems + 1, nullptr);
    auto* number = new QHBoxLayout;
    shown_[0] = new QCheckBox(QString::fromStdString(d.labels.at(0)));
    shown_[0]->setObjectName("fieldShown0");
    shown_[0]->setToolTip(tr("Show %1 in the song table").arg(shown_[0]->text()));
    style_ = new QComboBox;
    style_->setObjectName("trackStyle");
    style_->setToolTip(tr("How the track numbers are written"));
    for (const char* s : kStyles) style_->addItem(s);
    number->addWidget(shown_[0]);
    number->addWidget(style_);
    number->addStretch(1);
    connect(shown_[0], &QCheckBox::clicked, this, [this] {
        FieldDialog_Toggle_Shown(d_, t_, 0);
        Show_Choice();
    });
    connect(style_, &QComboBox::activated, this, [this](int index) {
        FieldDialog_Set_Style(d_, t_, index + 1);
        Show_Choice();
    });

    // The fields, in two groups side by side when there are many.
    auto* groups = new QHBoxLayout;
    uint32_t split = d.second_heading ? (d.nitems + 1) / 2 : d.nitems;
    groups->addWidget(Field_Group(1, split, Str(STR_START_COLUMN)));
    if (d.second_heading) groups->addWidget(Field_Group(split + 1, d.nitems, Str(STR_START_COLUMN)));
    groups->addStretch(1);

    preview_ = new a_field_preview(d, this);
    auto* buttons = new QDialogButtonBox;
    ok_ = buttons->addButton(Str(STR_OK), QDialogButtonBox::AcceptRole);
    ok_->setObjectName("fieldsOk");
    ok_->setToolTip(tr("Place the song table with the fields ticked"));
    ok_->setDefault(true);
    QPushButton* cancel = buttons->addButton(Str(STR_CANCEL), QDialogButtonBox::RejectRole);
    cancel->setObjectName("fieldsCancel");
    cancel->setToolTip(tr("Import nothing"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* column = new QVBoxLayout(this);
    column->addWidget(title);
    column->addLayout(number);
    column->addLayout(groups);
    column->addWidget(preview_, 1);
    column->addWidget(buttons);
    Show_Choice();
}

QWidget* a_field_dialog_qt::Field_Group(uint32_t first, uint32_t last, const QString& heading) {
    auto* group = new QWidget;
    auto* grid = new QGridLayout(group);
    grid->setContentsMargins(0, 4, 12, 4);
    grid->setHorizontalSpacing(16);
    grid->setVerticalSpacing(2);
    auto* head = new QLabel(heading);
    head->setAlignment(Qt::AlignCenter);
    grid->addWidget(head, 0, 1);
    for (uint32_t f = first; f <= last; ++f) {
        int row = int(f - first) + 1;
        shown_[f] = new QCheckBox(QString::fromStdString(d_.labels.at(f)));
        shown_[f]->setObjectName(QString("fieldShown%1").arg(f));
        shown_[f]->setToolTip(tr("Show %1 in the song table").arg(shown_[f]->text()));
        column_[f] = new QCheckBox;
        column_[f]->setObjectName(QString("fieldColumn%1").arg(f));
        column_[f]->setToolTip(tr("%1 starts a new column").arg(shown_[f]->text()));
        grid->addWidget(shown_[f], row, 0);
        grid->addWidget(column_[f], row, 1, Qt::AlignCenter);
        connect(shown_[f], &QCheckBox::clicked, this, [this, f] {
            FieldDialog_Toggle_Shown(d_, t_, f);
            Show_Choice();
        });
        connect(column_[f], &QCheckBox::clicked, this, [this, f] {
            FieldDialog_Toggle_Column(d_, t_, f);
            Show_Choice();
        });
    }
    grid->setRowStretch(int(last - first) + 2, 1);
    return group;
}

void a_field_dialog_qt::Show_Choice() {
    for (uint32_t f = 0; f < shown_.size(); ++f) {
        shown_[f]->setChecked(Bit(g_songfields_f, f));
        if (column_[f]) column_[f]->setChecked(Bit(g_songfields_c, f));
    }
    QSignalBlocker quiet(style_);
    style_->setCurrentIndex(std::clamp<int>(g_tracknum_fmt, 1, TRACKNUM_STYLES) - 1);
    style_->setEnabled(Bit(g_songfields_f, 0));
    ok_->setEnabled(FieldDialog_Can_OK(d_));
    preview_->update();
}
