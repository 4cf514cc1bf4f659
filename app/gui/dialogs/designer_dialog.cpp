#include "dialogs/designer_dialog.h"

#include <QtWidgets/QCheckBox>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QFileDialog>
#include <QtWidgets/QGridLayout>
#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QVBoxLayout>

#include <cerrno>
#include <cstddef>
#include <cstring>
#include <memory>

#include "base/messages.h"
#include "base/string_ids.h"
#include "dialogs/file_dialogs.h"
#include "pictures.h"
#include "platform/files.h"
#include "print/print_doc.h"
#include "templates/catalogue.h"
#include "templates/expand.h"
#include "templates/layout_text.h"
#include "templates/user_catalogue.h"

namespace {

QString Des(int n) { return QString::fromStdU16String(Get_Translated_UString(n, DESIGN_STR_ID)); }

const QSize kPreview(300, 380);

// The real fields of a section, by item, and the group field each shows.
struct a_real_field {
    int item;
    size_t offset;  // in a_cunit
};
const a_real_field kSectionReals[] = {
    {DES_LEFT, offsetof(a_cunit, bboxleft)},     {DES_TOP, offsetof(a_cunit, bboxtop)},       {DES_UWIDTH, offsetof(a_cunit, bboxwidth)},
    {DES_UHEIGHT, offsetof(a_cunit, bboxheight)}, {DES_PITCHX, offsetof(a_cunit, pitchx)},     {DES_PITCHY, offsetof(a_cunit, pitchy)},
    {DES_MEAS1, offsetof(a_cunit, meas1)},       {DES_MEAS2, offsetof(a_cunit, meas2)},       {DES_MEAS3, offsetof(a_cunit, meas3)},
    {DES_MEAS4, offsetof(a_cunit, meas4)},       {DES_BLEEDW, offsetof(a_cunit, bleedleft)},  {DES_BLEEDN, offsetof(a_cunit, bleedtop)},
    {DES_BLEEDE, offsetof(a_cunit, bleedright)}, {DES_BLEEDS, offsetof(a_cunit, bleedbottom)},
};
const std::pair<int, a_unit_flag> kSectionFlags[] = {
    {DES_STAGGERED, UNIT_STAGGERED}, {DES_SHORTODD, UNIT_SHORTODD},   {DES_CLOBBERS, UNIT_CLOBBERS},
    {DES_NOTINDEXED, UNIT_NOTINDEXED}, {DES_CROPMARKS, UNIT_CROPMARKS},
};

// The name as the label holds it: UTF-8, cut on a character to 31 bytes.
void Set_Label(char (&label)[32], const QString& name) {
    QByteArray bytes = name.toUtf8();
    int n = std::min<int>(int(bytes.size()), 31);
    while (n > 0 && n < bytes.size() && (uint8_t(bytes[n]) & 0xC0) == 0x80) --n;
    Label_Set(label, bytes.left(n).toStdString());
}

QString Field_Text(float v) { return QString::fromStdString(Set_EntryF(v)); }

}  // namespace

a_designer_dialog::a_designer_dialog(QWidget* parent) : QDialog(parent), d_(std::make_unique<a_askdesign_rec>()) {
    setObjectName("designer");
    setWindowTitle(Des(DES_STR_TITLE));
    AskDes_Init(*d_);
    Build();
    Load_Fields();
    Store();
}

a_designer_dialog::~a_designer_dialog() = default;

QLineEdit* a_designer_dialog::Real_Field(int item, QWidget* parent) {
    auto* f = new QLineEdit(parent);
    f->setObjectName(QString("designField%1").arg(item));
    f->setMaximumWidth(90);
    fields_[item] = f;
    connect(f, &QLineEdit::textEdited, this, [this] { Store(); });
    return f;
}

void a_designer_dialog::Build() {
    auto* form = new QGridLayout;
    form->setVerticalSpacing(3);
    int row = 0;
    auto check = [&](int item) {
        auto* l = new QLabel(this);
        l->setObjectName(QString("designCheck%1").arg(item));
        l->setStyleSheet("color: #b00000");
        l->setWordWrap(true);
        l->setMinimumWidth(200);
        checks_[item] = l;
        form->addWidget(l, row, 2);
    };
    auto line = [&](int label_str, QWidget* field, int item) {
        form->addWidget(new QLabel(Des(label_str), this), row, 0);
        form->addWidget(field, row, 1);
        check(item);
        ++row;
    };
    auto combo = [&](const char* name, int first_str, int count) {
        auto* c = new QComboBox(this);
        c->setObjectName(name);
        for (int i = 0; i < count; ++i) c->addItem(Des(first_str + i));
        return c;
    };

    name_ = new QLineEdit(this);
    name_->setObjectName("designName");
    name_->setMaxLength(31);
    connect(name_, &QLineEdit::textEdited, this, [this] { Store(); });
    line(4, name_, DES_NAME);
    cdprinter_ = new QCheckBox(Des(6), this);
    cdprinter_->setObjectName("designCdPrinter");
    connect(cdprinter_, &QCheckBox::toggled, this, [this] { Store(); });
    form->addWidget(cdprinter_, row++, 1);
    paper_ = combo("designPaper", DES_STR_PAPER1, NDESIGN_PAPERS);
    connect(paper_, &QComboBox::activated, this, [this](int i) {
        AskDes_SetPaper(*d_, i + 1);
        Load_Fields();
        Store();
    });
    line(7, paper_, DES_PAPER);
    line(9, Real_Field(DES_WIDTH, this), DES_WIDTH);
    line(11, Real_Field(DES_HEIGHT, this), DES_HEIGHT);
    orient_ = combo("designOrientation", DES_STR_PORTRAIT, 2);
    connect(orient_, &QComboBox::activated, this, [this](int i) {
        AskDes_SetOrientation(*d_, i + 1);
        Store();
    });
    line(13, orient_, DES_ORIENT);
    pitch_ = combo("designPitch", DES_STR_PITCHBETWEEN, 2);
    connect(pitch_, &QComboBox::activated, this, [this](int i) {
        AskDes_SetPitch(*d_, i + 1);
        Store();
    });
    line(15, pitch_, DES_PITCH);
    units_ = combo("designUnits", DES_STR_MM, 2);
    connect(units_, &QComboBox::activated, this, [this](int i) {
        AskDes_SetUnits(*d_, i + 1);
        Load_Fields();
        Store();
    });
    line(17, units_, DES_UNITS);
    section_ = new QComboBox(this);
    section_->setObjectName("designSection");
    for (int i = 1; i <= MAXNGROUPS; ++i) section_->addItem(QString::number(i));
    connect(section_, &QComboBox::activated, this, [this](int i) {
        d_->sectionx = i + 1;  // the group shown changes; nothing is stored
        Load_Section();
        Show_Checks();
    });
    line(19, section_, DES_SECTION);
    kind_ = new QComboBox(this);
    kind_->setObjectName("designKind");
    for (int k = 0; k < NUNIT_KINDS; ++k) {
        std::u16string name;
        UnitKind_To_Str(name, k);
        kind_->addItem(QString::fromStdU16String(name));
    }
    connect(kind_, &QComboBox::activated, this, [this] { Store(); });
    line(21, kind_, DES_KIND);
    for (int item : {DES_NX, DES_NY}) {
        auto* f = new QLineEdit(this);
        f->setObjectName(QString("designField%1").arg(item));
        f->setMaximumWidth(90);
        fields_[item] = f;
        connect(f, &QLineEdit::textEdited, this, [this] { Store(); });
        line(item - 1, f, item);
    }
    for (const a_real_field& r : kSectionReals) line(r.item - 1, Real_Field(r.item, this), r.item);
    auto* boxes = new QGridLayout;
    int b = 0;
    for (const auto& [item, bit] : kSectionFlags) {
        auto* c = new QCheckBox(Des(item), this);
        c->setObjectName(QString("designFlag%1").arg(item));
        flags_[item] = c;
        connect(c, &QCheckBox::toggled, this, [this] { Store(); });
        boxes->addWidget(c, b / 2, b % 2);
        ++b;
    }
    auto* clear = new QPushButton(Des(DES_CLEAR), this);
    clear->setObjectName("designClear");
    connect(clear, &QPushButton::clicked, this, [this] {
        AskDes_ClearSection(*d_);
        Load_Section();
        Store();
    });
    boxes->addWidget(clear, b / 2, b % 2);
    form->addLayout(boxes, row++, 0, 1, 3);

    preview_ = new QLabel(this);
    preview_->setObjectName("designPreview");
    preview_->setFixedSize(kPreview);
    preview_->setAlignment(Qt::AlignCenter);
    preview_->setStyleSheet("background: #808080");
    status_ = new QLabel(this);
    status_->setObjectName("designStatus");
    status_->setWordWrap(true);
    status_->setMaximumWidth(kPreview.width());
    mine_ = new QComboBox(this);
    mine_->setObjectName("designMine");
    auto* edit = new QPushButton(tr("Edit"), this);
    edit->setObjectName("designEdit");
    auto* remove = new QPushButton(tr("Delete"), this);
    remove->setObjectName("designDelete");
    connect(edit, &QPushButton::clicked, this, &a_designer_dialog::Edit_Mine);
    connect(remove, &QPushButton::clicked, this, &a_designer_dialog::Delete_Mine);
    auto* mine_row = new QHBoxLayout;
    mine_row->addWidget(mine_, 1);
    mine_row->addWidget(edit);
    mine_row->addWidget(remove);
    auto* side = new QVBoxLayout;
    side->addWidget(preview_);
    side->addWidget(new QLabel(tr("My layouts:"), this));
    side->addLayout(mine_row);
    side->addWidget(status_);
    side->addStretch(1);

    auto* top = new QHBoxLayout;
    top->addLayout(form);
    top->addLayout(side);

    auto button = [this](const QString& text, const char* name) {
        auto* p = new QPushButton(text, this);
        p->setObjectName(name);
        p->setAutoDefault(false);
        return p;
    };
    auto* import = button(tr("Import Layouts…"), "designImport");
    add_ = button(tr("Add to My Layouts"), "designAdd");
    print_ = button(Des(DES_PRINT), "designPrint");
    export_ = button(Des(DES_EXPORT), "designExport");
    auto* cancel = button(Des(DES_CANCEL), "designCancel");
    connect(import, &QPushButton::clicked, this, &a_designer_dialog::Import);
    connect(add_, &QPushButton::clicked, this, &a_designer_dialog::Add_To_Mine);
    connect(print_, &QPushButton::clicked, this, &a_designer_dialog::Print_Pattern);
    connect(export_, &QPushButton::clicked, this, &a_designer_dialog::Export);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(import);
    buttons->addStretch(1);
    for (QPushButton* p : {add_, print_, export_, cancel}) buttons->addWidget(p);

    auto* all = new QVBoxLayout(this);
    all->addLayout(top);
    all->addLayout(buttons);
    Refill_Mine();
}

void a_designer_dialog::Load_Fields() {
    loading_ = true;
    const a_ctemplate& t = d_->ctemplate;
    name_->setText(QString::fromUtf8(Label_Text(t.label).c_str()));
    cdprinter_->setChecked(Has_Flag(t.tflags, IS_CDPRINTER));
    paper_->setCurrentIndex(d_->paper_popx - 1);
    a_fpoint p = CTemplate_Paper(t);
    fields_[DES_WIDTH]->setText(Field_Text(p.x));
    fields_[DES_HEIGHT]->setText(Field_Text(p.y));
    orient_->setCurrentIndex(d_->orient_popx - 1);
    pitch_->setCurrentIndex(d_->pitch_popx - 1);
    units_->setCurrentIndex(d_->units_popx - 1);
    loading_ = false;
    Load_Section();
}

void a_designer_dialog::Load_Section() {
    loading_ = true;
    const a_cunit g = AskDes_Section(*d_);
    section_->setCurrentIndex(d_->sectionx - 1);
    kind_->setCurrentIndex(g.kind);
    fields_[DES_NX]->setText(QString::number(g.nx));
    fields_[DES_NY]->setText(QString::number(g.ny));
    for (const a_real_field& r : kSectionReals) fields_[r.item]->setText(Field_Text(CUnit_Real(g, r.offset)));
    for (const auto& [item, bit] : kSectionFlags) flags_[item]->setChecked(Has_Flag(g.uflags, bit));
    loading_ = false;
}

// Every field into the design, then its checks and its preview.
void a_designer_dialog::Store() {
    if (loading_) return;
    a_ctemplate& t = d_->ctemplate;
    Set_Label(t.label, name_->text());
    t.tflags = cdprinter_->isChecked() ? (t.tflags | Flag_Bit(IS_CDPRINTER)) : (t.tflags & ~Flag_Bit(IS_CDPRINTER));
    t.papersize.x = Get_EntryF(fields_[DES_WIDTH]->text().toStdString());
    t.papersize.y = Get_EntryF(fields_[DES_HEIGHT]->text().toStdString());
    d_->paper_popx = Design_Paper_Item(CTemplate_Paper(t));  // typed sizes are Custom unless a preset
    paper_->setCurrentIndex(d_->paper_popx - 1);
    a_cunit g{};
    g.kind = uint8_t(std::max(kind_->currentIndex(), 0));
    g.nx = Get_EntryC(fields_[DES_NX]->text().toStdString());
    g.ny = Get_EntryC(fields_[DES_NY]->text().toStdString());
    for (const a_real_field& r : kSectionReals) CUnit_Set_Real(g, r.offset, Get_EntryF(fields_[r.item]->text().toStdString()));
    for (const auto& [item, bit] : kSectionFlags)
        if (flags_[item]->isChecked()) g.uflags = g.uflags | Flag_Bit(bit);
    AskDes_StoreSection(*d_, g);
    AskDes_Store(*d_);
    Show_Checks();
    Show_Preview();
}

void a_designer_dialog::Show_Checks() {
    for (auto& [item, label] : checks_) label->clear();
    for (const a_design_problem& p : Design_Problems(d_->ctemplate)) {
        int item = p.item;
        QString text = QString::fromStdString(p.text);
        if (p.section != 0 && p.section != d_->sectionx) {
            // Another group's fault: beside the section menu, with its number.
            Param_Text(std::to_string(p.section), p.text);
            std::string s;
            Get_Translated_String(DES_STR_IN_SECTION, DESIGN_STR_ID, s);
            text = QString::fromStdString(s);
            item = DES_SECTION;
        }
        QLabel* l = checks_.count(item) ? checks_[item] : checks_[DES_SECTION];
        l->setText(l->text().isEmpty() ? text : l->text() + "\n" + text);
    }
    for (QPushButton* p : {export_, print_, add_}) p->setEnabled(d_->valid);
}

// The sheet with every group that can be placed, even while another is
// still wrong: the preview follows the typing.
void a_designer_dialog::Show_Preview() {
    auto sheet = std::make_unique<a_template>();
    a_ctemplate shown = AskDes_Record(*d_);
    uint32_t kept = 0;
    uint64_t labels = 0;
    for (uint32_t g = 0; g < CTemplate_NGroups(shown); ++g) {
        const a_cunit u = shown.units[g];
        if (Is_Unit_Valid(u) != UNITV_VALID || !(u.bboxwidth > 0 && u.bboxheight > 0)) continue;
        shown.units[kept++] = u;
        labels += CUnit_Count(u);
    }
    for (uint32_t g = kept; g < MAXNGROUPS; ++g) shown.units[g] = a_cunit{};
    shown.nunits = kept;
    const a_fpoint paper = CTemplate_Paper(shown);
    sheet->papersize = paper;
    sheet->tflags = shown.tflags;
    if (labels <= MAXNUNITS) Expand_Template(shown, *sheet);
    QImage img = paper.x >= 10 && paper.y >= 10 && paper.x <= 2000 && paper.y <= 2000 ? Sheet_Picture(*sheet, kPreview) : QImage();
    preview_->setPixmap(QPixmap::fromImage(img));
    d_->dispvalid = true;
}

void a_designer_dialog::Refill_Mine() {
    mine_->clear();
    for (const a_ctemplate& t : User_Catalogue()) {
        QString label = QString::fromUtf8(Label_Text(t.label).c_str());
        mine_->addItem(QString::fromStdU16String(Filter_Template_Name(Label_Text(t.label))), label);
    }
}

QString a_designer_dialog::Ask_File(bool save, const QString& proposed) {
    if (ask_file) return ask_file(save, proposed);
    const QString filter = tr("Layout files (*.layout *.txt)");
    if (save)
        return Ask_Save_Path(this, QString::fromStdU16String(Get_Translated_UString(STR_SAVE_AS, MAIN_STR_ID)), proposed,
                             filter, "layout");
    return QFileDialog::getOpenFileName(this, tr("Import Layouts…"), QString(), filter);
}

void a_designer_dialog::Tell(const QString& text) { status_->setText(text); }

void a_designer_dialog::Export() {
    if (!d_->valid) return;
    QString path = Ask_File(true, QString::fromStdString(AskDes_Export_Name()) + ".layout");
    if (path.isEmpty()) return;
    const std::string text = AskDes_Save2(*d_);
    std::string error;
    if (!File_SaveAtomic(path.toStdString(), text.data(), text.size(), &error)) {
        Param_Text(std::to_string(errno));
        OK_Alert_Detail(ALERT_EXPORT_FAILED, error);
        return;
    }
    Tell(path);
}

void a_designer_dialog::Add_To_Mine() {
    if (!d_->valid) return;
    std::string error;
    if (User_Catalogue_Add_Text(AskDes_Save2(*d_), Label_Text(d_->ctemplate.label), error)) {
        Build_Template_List();
        Refill_Mine();
        Tell(tr("Added to your layouts: %1").arg(QString::fromUtf8(Label_Text(d_->ctemplate.label).c_str())));
    } else {
        Tell(QString::fromStdString(error));
    }
}

void a_designer_dialog::Import() {
    QString path = Ask_File(false, QString());
    if (path.isEmpty()) return;
    std::string error;
    std::vector<std::string> added;
    if (!User_Catalogue_Add_File(path.toStdString(), error, &added)) {
        Tell(QString::fromStdString(error));
        return;
    }
    Build_Template_List();
    Refill_Mine();
    QStringList names;
    for (const std::string& n : added) names << QString::fromStdString(n);
    Tell(tr("Added to your layouts: %1").arg(names.join(", ")));
}

void a_designer_dialog::Edit_Mine() {
    if (mine_->currentIndex() < 0) return;
    char label[32];
    Label_Set(label, mine_->currentData().toString().toStdString());
    if (const a_ctemplate* t = User_Template(label)) {
        AskDes_Load(*d_, *t);
        Load_Fields();
        Store();
    }
}

void a_designer_dialog::Delete_Mine() {
    if (mine_->currentIndex() < 0) return;
    const QString label = mine_->currentData().toString();
    std::string error;
    if (!User_Catalogue_Remove(label.toStdString(), error)) return Tell(QString::fromStdString(error));
    Build_Template_List();
    Refill_Mine();
    Tell(tr("Deleted: %1").arg(label));
}

void a_designer_dialog::Print_Pattern() {
    if (d_->valid) (void)Print_Template(d_->xtemplate);
}

void Run_Designer(QWidget* parent) {
    a_designer_dialog d(parent);
    d.exec();
}
