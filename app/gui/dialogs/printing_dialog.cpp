#include "dialogs/printing_dialog.h"

#include <QtCore/QCoreApplication>
#include <QtWidgets/QLabel>
#include <QtWidgets/QProgressBar>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QVBoxLayout>

#include <algorithm>

#include "platform/printer.h"
#include "print/print_doc.h"

a_printing_dialog::a_printing_dialog(QWidget* parent) : QDialog(parent) {
    setObjectName("printingDialog");
    setWindowTitle(tr("Printing"));
    setWindowModality(Qt::ApplicationModal);
    auto* column = new QVBoxLayout(this);
    text_ = new QLabel;
    text_->setObjectName("printingText");
    text_->setMinimumWidth(260);
    column->addWidget(text_);
    bar_ = new QProgressBar;
    bar_->setObjectName("printingProgress");
    bar_->setTextVisible(false);
    column->addWidget(bar_);
    stop_ = new QPushButton(tr("Stop"));
    stop_->setObjectName("stopPrinting");
    stop_->setToolTip(tr("Stop the print job"));
    column->addWidget(stop_, 0, Qt::AlignRight);
    connect(stop_, &QPushButton::clicked, this, [this] {
        VP_Abort();
        stop_->setEnabled(false);
        text_->setText(tr("Stopping…"));
    });
    token_ = g_printing_dialog.Install([this](int page, int pages) { Step(page, pages); });
}

a_printing_dialog::~a_printing_dialog() { g_printing_dialog.Remove(token_); }

void a_printing_dialog::Step(int page, int pages) {
    if (page == PRINTING_ENDED) {
        hide();
        return;
    }
    if (page == 0) {
        stop_->setEnabled(true);
        bar_->setRange(0, pages);
        bar_->setValue(0);
        show();
    }
    if (stop_->isEnabled()) {
        text_->setText(page == 0 ? tr("Preparing the job…") : tr("Printing page %1 of %2").arg(page).arg(pages));
        bar_->setValue(std::max(0, page - 1));
    }
    if (page > 0 && page != shown_page_) emit Page_Shown(page, pages);
    shown_page_ = page;
    // The dialog is drawn and Stop is taken here, between the pieces of the job.
    QCoreApplication::processEvents();
}
