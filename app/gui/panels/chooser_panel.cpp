#include "panels/chooser_panel.h"

#include <QtCore/QCoreApplication>
#include <QtGui/QKeyEvent>
#include <QtWidgets/QButtonGroup>
#include <QtWidgets/QGridLayout>
#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QListWidget>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QToolButton>
#include <QtWidgets/QVBoxLayout>

#include <cmath>
#include <memory>

#include "base/string_ids.h"
#include "pictures.h"
#include "templates/catalogue.h"
#include "templates/chooser.h"
#include "templates/expand.h"
#include "templates/recent_layouts.h"
#include "templates/template.h"

namespace {

QString Q(const std::u16string& s) { return QString::fromStdU16String(s); }

enum : int { TEMPLATE_ROLE = Qt::UserRole + 1 };

bool Is_Round(int kind) {
    return kind == UNIT_CIRCLE || kind == UNIT_CD || kind == UNIT_CD_CORE || kind == UNIT_MINICD_RING;
}

// To a tenth of a millimetre, without a trailing ".0".
QString Millimetres(double mm) { return QString::number(std::round(mm * 10) / 10, 'g', 6); }

// A group's kind and size: "CD / DVD Ø 117 mm", "Jewel Case Lid 121 × 120 mm".
QString Group_Text(const a_cunit& u, double mm_per_unit) {
    std::u16string kind;
    UnitKind_To_Str(kind, u.kind);
    const double w = u.bboxwidth * mm_per_unit, h = u.bboxheight * mm_per_unit;
    QString size = Is_Round(u.kind) ? QString::fromUtf8("\u00D8 %1 mm").arg(Millimetres(w))
                                    : QString::fromUtf8("%1 \u00D7 %2 mm").arg(Millimetres(w), Millimetres(h));
    return Q(kind) + " " + size;
}

}  // namespace

// What the list says of a stock under its name: each kind of label with its
// size, and how many labels a sheet holds.
QString a_chooser_panel::Summary(int index) {
    const a_ctemplate& t = TList_Get(index);
    QStringList groups;
    uint32_t count = 0;
    for (uint32_t g = 0; g < CTemplate_NGroups(t); ++g) {
        const a_cunit& u = t.units[g];
        if (u.kind == UNIT_EMPTY) continue;
        count += u.nx * u.ny;
        if (Has_Flag(u.uflags, UNIT_NOTINDEXED)) continue;
        QString text = Group_Text(u, Has_Flag(t.tflags, IS_INCHES) ? 25.4 : 1.0);
        if (!groups.contains(text)) groups << text;
    }
    return tr("%1, %n per sheet", "", int(count)).arg(groups.join(", "));
}

namespace {

QLabel* Heading(const QString& text) {
    auto* l = new QLabel(text);
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
    return l;
}

}  // namespace

a_chooser_panel::a_chooser_panel(QWidget* parent) : QWidget(parent) {
    setObjectName("chooser");
    by_brand_ = new QToolButton;
    by_brand_->setText(tr("By maker"));
    by_kind_ = new QToolButton;
    by_kind_->setText(tr("By kind"));
    by_brand_->setObjectName("byMaker");
    by_kind_->setObjectName("byKind");
    by_brand_->setToolTip(tr("List the makers; choose one to see its label stock"));
    by_kind_->setToolTip(tr("List the kinds of label; choose one to see its label stock"));
    auto* sort = new QButtonGroup(this);
    for (QToolButton* b : {by_brand_, by_kind_}) {
        b->setCheckable(true);
        b->setToolButtonStyle(Qt::ToolButtonTextOnly);
        b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        sort->addButton(b);
    }
    kinds_ = new QListWidget;
    kinds_->setObjectName("kindList");
    kinds_->setToolTip(tr("Choose a maker or a kind to narrow the list of label stock"));
    filter_ = new QLineEdit;
    filter_->setObjectName("templateFilter");
    filter_->setPlaceholderText(tr("Find by maker, code, kind or size, e.g. avery cd"));
    filter_->setClearButtonEnabled(true);
    filter_->setToolTip(filter_->placeholderText());
    templates_ = new QListWidget;
    templates_->setObjectName("templateList");
    templates_->setUniformItemSizes(true);
    templates_->setToolTip(tr("Click the label stock printed on your sheets' packet; a double click chooses it"));
    preview_ = new QLabel;
    preview_->setObjectName("sheetPreview");
    preview_->setAlignment(Qt::AlignCenter);
    preview_->setMinimumSize(240, 300);
    preview_->setStyleSheet("background: #6f7680; border-radius: 4px;");
    title_ = new QLabel;
    QFont tf = title_->font();
    tf.setPointSizeF(tf.pointSizeF() * 1.3);
    tf.setBold(true);
    title_->setFont(tf);
    details_ = new QLabel;
    details_->setWordWrap(true);
    ok_ = new QPushButton(tr("OK"));
    ok_->setObjectName("chooserOk");
    ok_->setDefault(true);
    ok_->setToolTip(tr("Design on the chosen label stock"));
    auto* cancel = new QPushButton(tr("Cancel"));
    cancel->setObjectName("chooserCancel");
    cancel->setToolTip(tr("Go back without choosing"));

    auto* left = new QVBoxLayout;
    auto* sorts = new QHBoxLayout;
    sorts->setSpacing(0);
    sorts->addWidget(by_brand_);
    sorts->addWidget(by_kind_);
    left->addWidget(Heading(tr("Show")));
    left->addLayout(sorts);
    left->addWidget(kinds_, 1);
    auto* middle = new QVBoxLayout;
    middle->addWidget(Heading(tr("Label stock")));
    middle->addWidget(filter_);
    middle->addWidget(templates_, 1);
    auto* right = new QVBoxLayout;
    right->addWidget(preview_, 1);
    right->addWidget(title_);
    right->addWidget(details_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cancel);
    buttons->addWidget(ok_);
    right->addLayout(buttons);
    auto* grid = new QHBoxLayout(this);
    grid->setContentsMargins(16, 12, 16, 12);
    grid->setSpacing(16);
    grid->addLayout(left, 2);
    grid->addLayout(middle, 3);
    grid->addLayout(right, 4);

    connect(by_brand_, &QToolButton::clicked, this, [this] { Set_Sort(SORT_BY_BRAND); });
    connect(by_kind_, &QToolButton::clicked, this, [this] { Set_Sort(SORT_BY_KIND); });
    connect(kinds_, &QListWidget::currentRowChanged, this, &a_chooser_panel::Kind_Row_Changed);
    connect(filter_, &QLineEdit::textChanged, this, [this] { Fill_Templates(); });
    connect(templates_, &QListWidget::currentItemChanged, this, [this] { Show_Preview(); });
    connect(templates_, &QListWidget::itemDoubleClicked, this, [this] { Accept(); });
    connect(filter_, &QLineEdit::returnPressed, this, [this] { Accept(); });
    connect(ok_, &QPushButton::clicked, this, [this] { Accept(); });
    connect(cancel, &QPushButton::clicked, this, [this] { emit Cancelled(); });
    filter_->installEventFilter(this);
}

a_chooser_panel::~a_chooser_panel() = default;

// The list's own keys work while typing in the filter.
bool a_chooser_panel::eventFilter(QObject* watched, QEvent* e) {
    if (watched == filter_ && e->type() == QEvent::KeyPress) {
        int key = static_cast<QKeyEvent*>(e)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_PageUp || key == Qt::Key_PageDown) {
            QKeyEvent copy(QEvent::KeyPress, key, static_cast<QKeyEvent*>(e)->modifiers());
            QCoreApplication::sendEvent(templates_, &copy);
            return true;
        }
    }
    return QWidget::eventFilter(watched, e);
}

void a_chooser_panel::Reload() {
    Build_Template_List();
    summaries_.clear();
    maker_key_ = kind_key_ = 0;
    RecentLay_BuildList();
    Build_Paper_Lists();
    (g_chooser_sort == SORT_BY_KIND ? by_kind_ : by_brand_)->setChecked(true);
    filter_->clear();
    Fill_Kinds();
    Fill_Templates();
    Show_Other_Filter();
    filter_->setFocus();
}

void a_chooser_panel::Set_Sort(int sort) {
    g_chooser_sort = a_chooser_sort(sort);
    Build_Paper_Lists();
    // The list shown again has its earlier choice back.
    const uint32_t key = g_chooser_sort == SORT_BY_KIND ? kind_key_ : maker_key_;
    for (size_t i = 1; key != 0 && i < paper_kind_desc.items.size(); ++i)
        if (paper_kind_desc.items[i].key == key) PaperKind_Set(int(i) + 1);
    Fill_Kinds();
    Fill_Templates();
    Show_Other_Filter();
}

// The choice in the list not shown still narrows the stocks.
bool a_chooser_panel::Other_Filter_Passes(int index) const {
    if (g_chooser_sort == SORT_BY_BRAND) return kind_key_ == 0 || Is_Kind_In_Template(index, int(kind_key_));
    if (maker_key_ == 0 || int(maker_key_) > TList_Count()) return true;
    std::string maker, other;
    Extract_Brand(maker, TList_Get(int(maker_key_)).label);
    Extract_Brand(other, TList_Get(index).label);
    return maker == other;
}

// The button of the list not shown names the choice kept in it.
void a_chooser_panel::Show_Other_Filter() {
    auto chosen = [](uint32_t key, bool maker) {
        if (key == 0) return QString();
        if (maker) {
            if (int(key) > TList_Count()) return QString();
            std::string brand;
            Extract_Brand(brand, TList_Get(int(key)).label);
            return Q(Filter_Template_Name(brand));
        }
        std::u16string kind;
        UnitKind_To_Str(kind, int(key));
        return Q(kind);
    };
    const QString maker = chosen(maker_key_, true), kind = chosen(kind_key_, false);
    by_brand_->setText(g_chooser_sort == SORT_BY_KIND && !maker.isEmpty() ? tr("Maker: %1").arg(maker)
                                                                          : tr("By maker"));
    by_kind_->setText(g_chooser_sort == SORT_BY_BRAND && !kind.isEmpty() ? tr("Kind: %1").arg(kind)
                                                                         : tr("By kind"));
}

void a_chooser_panel::Fill_Kinds() {
    QSignalBlocker block(kinds_);
    kinds_->clear();
    for (const a_list_item& item : paper_kind_desc.items) kinds_->addItem(Q(item.text));
    kinds_->setCurrentRow(paper_kind_desc.selected - 1);
}

void a_chooser_panel::Kind_Row_Changed(int row) {
    if (row < 0 || row >= int(paper_kind_desc.items.size())) return;
    (g_chooser_sort == SORT_BY_KIND ? kind_key_ : maker_key_) = paper_kind_desc.items[size_t(row)].key;
    PaperKind_Set(row + 1);
    Fill_Templates();
}

// The model's list, recently used stocks first, narrowed to the stocks whose
// name (maker, product code), kinds or sizes hold every word typed.
void a_chooser_panel::Fill_Templates() {
    QStringList words = filter_->text().split(' ', Qt::SkipEmptyParts);
    if (summaries_.size() != size_t(TList_Count()) + 1) {
        summaries_.assign(size_t(TList_Count()) + 1, QString());
        for (int i = 1; i <= TList_Count(); ++i) summaries_[size_t(i)] = Summary(i);
    }
    auto matches = [&](int index, const QString& name) {
        if (!Other_Filter_Passes(index)) return false;
        const QString& summary = summaries_[size_t(index)];
        for (const QString& w : words)
            if (!name.contains(w, Qt::CaseInsensitive) && !summary.contains(w, Qt::CaseInsensitive))
                return false;
        return true;
    };
    int keep = Selected_Template();
    QSignalBlocker block(templates_);
    templates_->clear();
    std::vector<int> shown;
    auto add = [&](int index, const QString& name, bool recent) {
        auto* item = new QListWidgetItem(name + "\n" + summaries_[size_t(index)]);
        item->setData(TEMPLATE_ROLE, index);
        item->setData(NAME_ROLE, name);
        if (recent) {
            QFont f = item->font();
            f.setBold(true);
            item->setFont(f);
            item->setToolTip(tr("Recently used"));
        }
        templates_->addItem(item);
        shown.push_back(index);
    };
    for (int i = 1; i <= RecentLay_Count(); ++i) {
        int index = recent_layouts[i];
        bool listed = false;
        for (const a_list_item& it : paper_list_desc.items) listed |= int(it.key) == index;
        QString name = Q(Filter_Template_Name(Label_Text(TList_Get(index).label)));
        if (listed && matches(index, name)) add(index, name, true);
    }
    for (const a_list_item& it : paper_list_desc.items) {
        if (std::find(shown.begin(), shown.end(), int(it.key)) != shown.end()) continue;
        if (matches(int(it.key), Q(it.text))) add(int(it.key), Q(it.text), false);
    }
    int row = 0;
    for (int r = 0; r < templates_->count(); ++r)
        if (templates_->item(r)->data(TEMPLATE_ROLE).toInt() == keep) row = r;
    if (templates_->count() > 0) templates_->setCurrentRow(row);
    Show_Preview();
}

int a_chooser_panel::Selected_Template() const {
    QListWidgetItem* item = templates_->currentItem();
    return item ? item->data(TEMPLATE_ROLE).toInt() : 0;
}

void a_chooser_panel::Show_Preview() {
    int index = Selected_Template();
    ok_->setEnabled(index != 0);
    if (index == 0) {
        preview_->clear();
        title_->setText(tr("No label stock matches"));
        details_->clear();
        return;
    }
    auto t = std::make_unique<a_template>();
    Expand_Template(TList_Get(index), *t);
    QSize box = preview_->size() - QSize(24, 24);
    preview_->setPixmap(QPixmap::fromImage(Sheet_Picture(*t, box.expandedTo(QSize(60, 60)))));
    title_->setText(QString::fromStdU16String(Filter_Template_Name(Label_Text(t->label))));
    std::string paper;
    PaperSize_To_Str(paper, t->papersize);
    QString size = tr("%1 × %2 mm").arg(double(t->papersize.x), 0, 'f', 0).arg(double(t->papersize.y), 0, 'f', 0);
    QString labels = t->nunits == 1 ? tr("1 label") : tr("%1 labels").arg(t->nunits);
    details_->setText(paper.empty() ? tr("%1 on a sheet of %2").arg(labels, size)
                                    : tr("%1 on %2 paper (%3)").arg(labels, QString::fromStdString(paper), size));
}

void a_chooser_panel::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    Show_Preview();
}

void a_chooser_panel::Accept() {
    if (int index = Selected_Template()) emit Chosen(index);
}
