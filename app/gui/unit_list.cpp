#include "sheet_view.h"

#include "model/document.h"
#include "pictures.h"

a_sheet_view::a_sheet_view(QWidget* parent) : QLabel(parent) {
    setObjectName("sheetView");
    setAlignment(Qt::AlignCenter);
    setMinimumSize(200, 200);
    setStyleSheet("background: #6f7680;");  // the pasteboard
}

void a_sheet_view::Refresh() {
    if (!g_doc.doc_open) {
        clear();
        return;
    }
    QSize box = size() - QSize(40, 40);
    setPixmap(QPixmap::fromImage(Sheet_Picture(g_doc.doc_template, box.expandedTo(QSize(60, 60)))));
}

void a_sheet_view::resizeEvent(QResizeEvent* e) {
    QLabel::resizeEvent(e);
    Refresh();
}

a_unit_list::a_unit_list(QWidget* parent) : QListWidget(parent) {
    setObjectName("unitList");
    setViewMode(QListView::IconMode);
    setFlow(QListView::TopToBottom);
    setWrapping(false);
    setIconSize(QSize(96, 96));
    setMovement(QListView::Static);
    setSpacing(6);
    setFixedWidth(132);
}

void a_unit_list::Refresh() {
    clear();
    if (!g_doc.doc_open) return;
    const a_template& t = g_doc.doc_template;
    for (uint32_t ux = 1; ux <= t.nunits; ++ux) {
        QImage picture = Unit_Picture(t, ux, iconSize());
        addItem(new QListWidgetItem(QIcon(QPixmap::fromImage(picture)), tr("Label %1").arg(ux)));
    }
    if (g_doc.upx >= 1 && int(g_doc.upx) <= count()) setCurrentRow(int(g_doc.upx) - 1);
}
