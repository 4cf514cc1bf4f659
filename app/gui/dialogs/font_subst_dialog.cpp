#include "dialogs/font_subst_dialog.h"

#include <QtWidgets/QComboBox>
#include <QtWidgets/QDialogButtonBox>
#include <QtWidgets/QFormLayout>
#include <QtWidgets/QLabel>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QVBoxLayout>

#include "base/messages.h"
#include "base/string_ids.h"
#include "pixels/pixmap.h"
#include "platform/fonts.h"

namespace {

enum : int { SAMPLE_POINTS = 20 };

QString Str(int index) {
    std::string s;
    GetIndString(s, MAIN_STR_ID, index);
    return QString::fromStdString(s);
}

}  // namespace

QImage Font_Sample_Image(const PixMap& sample) {
    if (Is_Null_PixMap(sample) || sample.pixelSize != 8) return {};
    int w = Rect_Width(sample.bounds), h = Rect_Height(sample.bounds);
    int row = sample.rowBytes & ROWBYTES_MASK;
    if (w <= 0 || h <= 0 || row < w) return {};
    QImage out(w, h, QImage::Format_Grayscale8);
    for (int y = 0; y < h; ++y) {
        const uint8_t* from = sample.baseAddr + size_t(y) * size_t(row);
        uchar* to = out.scanLine(y);
        for (int x = 0; x < w; ++x) to[x] = uchar(255 - from[x]);
    }
    return out;
}

a_font_subst_dialog::a_font_subst_dialog(const a_font_map_entry& entry, const PixMap& sample, QWidget* parent)
    : QDialog(parent), missing_(QString::fromStdU16String(entry.name)) {
    setObjectName("fontSubstDialog");
    setWindowTitle(tr("Missing Font"));
    auto* prompt = new QLabel(Str(STR_FONT_SUBST));
    auto* name = new QLabel(missing_);
    QFont bold = name->font();
    bold.setBold(true);
    name->setFont(bold);
    name->setObjectName("missingFontName");

    auto* stored = new QLabel;
    stored->setObjectName("storedSample");
    QImage picture = Font_Sample_Image(sample);
    if (picture.isNull()) stored->setText(tr("(no sample kept)"));
    else stored->setPixmap(QPixmap::fromImage(picture));

    fonts_ = new QComboBox;
    fonts_->setObjectName("substituteFont");
    fonts_->setToolTip(tr("The font that the missing font's text is shown in"));
    for (int f = 1; f <= Font_Count(); ++f)
        fonts_->addItem(QString::fromStdU16String(Font_Name(f)), f);
    fonts_->setCurrentIndex(std::max(0, fonts_->findData(Font_Base_Proportional())));
    substitute_ = new QLabel(missing_);
    substitute_->setObjectName("substituteSample");
    substitute_->setMinimumHeight(48);
    substitute_->setStyleSheet("background: white; padding: 4px;");
    connect(fonts_, &QComboBox::currentIndexChanged, this, [this] { Show_Substitute(); });

    auto* form = new QFormLayout;
    form->addRow(tr("Missing font:"), name);
    form->addRow(tr("As it looked:"), stored);
    form->addRow(tr("Substitute:"), fonts_);
    form->addRow(tr("As it will look:"), substitute_);
    auto* buttons = new QDialogButtonBox;
    QPushButton* ok = buttons->addButton(Str(STR_OK), QDialogButtonBox::AcceptRole);
    ok->setDefault(true);
    ok->setToolTip(tr("Use the substitute font for this text"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* column = new QVBoxLayout(this);
    column->addWidget(prompt);
    column->addLayout(form);
    column->addWidget(buttons);
    Show_Substitute();
}

uint32_t a_font_subst_dialog::Chosen() const {
    bool ok = false;
    uint32_t f = fonts_->currentData().toUInt(&ok);
    return ok && f != 0 ? f : uint32_t(Font_Base_Proportional());
}

void a_font_subst_dialog::Show_Substitute() {
    QFont f(fonts_->currentText());
    f.setPointSize(SAMPLE_POINTS);
    substitute_->setFont(f);
}
