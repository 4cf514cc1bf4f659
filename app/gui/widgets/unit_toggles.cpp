#include "widgets/unit_toggles.h"

#include <QtWidgets/QCheckBox>
#include <QtWidgets/QVBoxLayout>

#include "look.h"
#include "model/clones.h"
#include "model/document.h"
#include "shell/mainloop.h"

a_unit_toggles::a_unit_toggles(QWidget* parent) : QWidget(parent) {
    setObjectName("unitToggles");
    setAttribute(Qt::WA_StyledBackground);
    setFixedWidth(132);
    setStyleSheet(QString("#unitToggles { background: %1; border-left: 1px solid %2; border-top: 1px solid %2; }")
                      .arg(Panel_Colour().name(), Border_Colour().name()));
    clone_ = new QCheckBox(tr("Same as before"));
    clone_->setObjectName("cloneToggle");
    clone_->setToolTip(tr("Show the design of the label before it (a clone)"));
    print_ = new QCheckBox(tr("Print"));
    print_->setObjectName("printToggle");
    print_->setToolTip(tr("Print this label with the sheet"));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(8, 6, 8, 6);
    column->setSpacing(4);
    column->addWidget(clone_);
    column->addWidget(print_);
    connect(clone_, &QCheckBox::clicked, this, &a_unit_toggles::Clone_Clicked);
    connect(print_, &QCheckBox::clicked, this, &a_unit_toggles::Print_Clicked);
    Refresh();
}

void a_unit_toggles::Refresh() {
    const a_doc_unit* u = g_doc.doc_open && g_doc.upx >= 1 ? g_doc.doc_units[g_doc.upx] : nullptr;
    clone_->setEnabled(u != nullptr && g_doc.upx > 1);
    print_->setEnabled(u != nullptr);
    clone_->setChecked(u && u->clonef);
    print_->setChecked(u && u->printf);
}

// The model decides (the first of a run is refused, a design asks first);
// the box then shows what it decided.
void a_unit_toggles::Clone_Clicked() {
    if (g_doc.doc_open && g_doc.upx >= 1) {
        Interaction_Begin();
        (void)Clone_Toggle(g_doc.upx);
        Interaction_End();
    }
    Refresh();
    emit Unit_Changed();
}

void a_unit_toggles::Print_Clicked() {
    if (g_doc.doc_open && g_doc.upx >= 1) {
        Interaction_Begin();
        Print_Toggle(g_doc.upx);
        Interaction_End();
    }
    Refresh();
    emit Unit_Changed();
}
