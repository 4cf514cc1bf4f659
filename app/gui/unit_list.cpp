#include "unit_list.h"

#include "model/document.h"
#include "pictures.h"

a_unit_list::a_unit_list(QWidget* parent) : QListWidget(parent) {
    setObjectName("unitList");
    setViewMode(QListView::IconMode);
    setFlow(QListView::TopToBottom);
    setWrapping(false);
    setIconSize(QSize(96, 96));
    setMovement(QListView::Static);
    setGridSize(QSize(116, 124));
    setFixedWidth(132);
    setStyleSheet("QListWidget { background: #eceef1; border: none; border-left: 1px solid #c9cdd3; }");
}

void a_unit_list::Refresh() {
    blockSignals(true);
    clear();
    if (g_doc.doc_open) {
        const a_template& t = g_doc.doc_template;
        for (uint32_t ux = 1; ux <= t.nunits; ++ux) addItem(new QListWidgetItem(tr("Label %1").arg(ux)));
        if (g_doc.upx >= 1 && int(g_doc.upx) <= count()) setCurrentRow(int(g_doc.upx) - 1);
    }
    blockSignals(false);
    Refresh_Pictures();
}

void a_unit_list::Refresh_Pictures() {
    for (int r = 0; r < count(); ++r)
        item(r)->setIcon(QIcon(QPixmap::fromImage(Unit_Print_Picture(uint32_t(r) + 1, iconSize()))));
    if (g_doc.upx >= 1 && int(g_doc.upx) <= count() && currentRow() != int(g_doc.upx) - 1) {
        blockSignals(true);
        setCurrentRow(int(g_doc.upx) - 1);
        blockSignals(false);
    }
}
