#include "dialogs/layout_dialogs.h"

#include <QtWidgets/QComboBox>
#include <QtWidgets/QDialogButtonBox>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QFormLayout>
#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QLabel>
#include <QtWidgets/QScrollArea>
#include <QtWidgets/QVBoxLayout>

#include <algorithm>

#include "base/messages.h"
#include "base/string_ids.h"
#include "panels/chooser_panel.h"
#include "model/document.h"
#include "model/notices.h"
#include "pictures.h"
#include "templates/catalogue.h"

namespace {

constexpr int kSheetBox = 260;
constexpr int kEmptyString = 260;

QString Kind_Text(int kind) {
    std::u16string s;
    UnitKind_To_Str(s, kind);
    return QString::fromStdU16String(s);
}

QLabel* Sheet_Label(const a_template& t, const QString& caption) {
    auto* label = new QLabel;
    QImage sheet = Sheet_Picture(t, QSize(kSheetBox, kSheetBox));
    if (!sheet.isNull()) label->setPixmap(QPixmap::fromImage(sheet));
    label->setAlignment(Qt::AlignCenter);
    label->setToolTip(caption);
    return label;
}

QWidget* Sheet_Column(const a_template& t, const QString& caption) {
    auto* w = new QWidget;
    auto* column = new QVBoxLayout(w);
    auto* title = new QLabel(caption);
    QFont f = title->font();
    f.setBold(true);
    title->setFont(f);
    column->addWidget(title, 0, Qt::AlignHCenter);
    column->addWidget(Sheet_Label(t, caption));
    return w;
}

}  // namespace

a_remap_dialog::a_remap_dialog(a_remap_rec& rec, QWidget* parent) : QDialog(parent), rec_(rec) {
    setObjectName("remapDialog");
    setWindowTitle(tr("To Different Layout"));
    const a_template& t = *rec.templ;
    auto* note = new QLabel(tr("Choose which label of your project each label of the new layout shows."));
    note->setWordWrap(true);
    auto* sheets = new QHBoxLayout;
    sheets->addWidget(Sheet_Column(g_doc.doc_template, tr("Now")));
    sheets->addWidget(Sheet_Column(t, tr("New layout")));

    std::string empty;
    GetIndString(empty, MAIN_STR_ID, kEmptyString);
    auto* table = new QWidget;
    auto* form = new QFormLayout(table);
    for (uint32_t r = 1; r <= t.nunits; ++r) {
        auto* box = new QComboBox;
        box->setObjectName(QString("remapRow%1").arg(r));
        box->setToolTip(tr("The label of your project whose design this new label shows"));
        box->addItem(QString::fromStdString(empty), 0u);
        for (uint32_t i = 1; i <= rec.sig.nsig; ++i) {
            uint32_t old = rec.sig.sig[i].src_ux;
            box->addItem(tr("Label %1 (%2)").arg(old).arg(Kind_Text(g_doc.doc_template.units[old].kind)), old);
        }
        uint32_t shown = r <= rec.rows.size() ? rec.rows[r - 1] : 0;
        box->setCurrentIndex(std::max(0, box->findData(shown)));
        form->addRow(tr("New label %1 (%2)").arg(r).arg(Kind_Text(t.units[r].kind)), box);
        rows_.push_back(box);
    }
    auto* scroll = new QScrollArea;
    scroll->setWidget(table);
    scroll->setWidgetResizable(true);
    scroll->setMinimumHeight(std::min(240, 40 + 34 * int(t.nunits)));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setToolTip(tr("Change to the new layout with these labels"));
    buttons->button(QDialogButtonBox::Cancel)->setToolTip(tr("Keep the present layout"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* column = new QVBoxLayout(this);
    column->addWidget(note);
    column->addLayout(sheets);
    column->addWidget(scroll, 1);
    column->addWidget(buttons);
}

void a_remap_dialog::Apply() {
    for (size_t r = 0; r < rows_.size() && r < rec_.rows.size(); ++r)
        rec_.rows[r] = rows_[r]->currentData().toUInt();
    Remap_From_Dialog(rec_);
}

a_layout_dialogs::a_layout_dialogs(QWidget* window) : QObject(window), window_(window) {
    setObjectName("layoutDialogs");
    ask_template = [this] { return Choose_Template(); };
    ask_remap = [](a_remap_dialog& dialog) { return dialog.exec() == QDialog::Accepted; };
    choose_token_ = g_doc_services.choose_template.Install([this] { return ask_template ? ask_template() : 0; });
    remap_token_ = g_doc_services.ask_complex_remap.Install(
        [this](const a_template& t, a_unit_mapping* map, uint32_t nsig, const a_sig_source* sig) {
            return Remap(t, map, nsig, sig);
        });
}

a_layout_dialogs::~a_layout_dialogs() {
    g_doc_services.ask_complex_remap.Remove(remap_token_);
    g_doc_services.choose_template.Remove(choose_token_);
}

int a_layout_dialogs::Choose_Template() {
    QDialog dialog(window_);
    dialog.setWindowTitle(tr("To Different Layout"));
    auto* chooser = new a_chooser_panel;
    auto* column = new QVBoxLayout(&dialog);
    column->addWidget(chooser);
    int chosen = 0;
    connect(chooser, &a_chooser_panel::Chosen, &dialog, [&](int index) {
        chosen = index;
        dialog.accept();
    });
    connect(chooser, &a_chooser_panel::Cancelled, &dialog, &QDialog::reject);
    chooser->Reload();
    dialog.resize(window_ ? window_->size() * 9 / 10 : QSize(900, 600));
    return dialog.exec() == QDialog::Accepted ? chosen : 0;
}

bool a_layout_dialogs::Remap(const a_template& t, a_unit_mapping* map, uint32_t nsig, const a_sig_source* sig) {
    auto rec = std::make_unique<a_remap_rec>();
    rec->templ = &t;
    std::copy(map, map + MAXNUNITS + 1, rec->map);
    rec->sig.nsig = std::min<uint32_t>(nsig, MAXNUNITS);
    std::copy(sig, sig + rec->sig.nsig + 1, rec->sig.sig);
    Remap_Init_Rows(*rec);
    a_remap_dialog dialog(*rec, window_);
    if (!ask_remap || !ask_remap(dialog)) return false;
    dialog.Apply();
    std::copy(rec->map, rec->map + MAXNUNITS + 1, map);
    return true;
}
