#include "widgets/unit_list.h"

#include "look.h"
#include "model/document.h"
#include "pictures.h"

a_unit_list::a_unit_list(QWidget* parent) : QListWidget(parent) {
    setObjectName("unitList");
    setToolTip(tr("The labels of the sheet; click one to work on it"));
    setViewMode(QListView::IconMode);
    setFlow(QListView::TopToBottom);
    setWrapping(false);
    setIconSize(QSize(96, 96));
    setMovement(QListView::Static);
    setGridSize(QSize(116, 124));
    setWordWrap(true);
    setFixedWidth(132);
    setStyleSheet(QString("QListWidget { background: %1; border: none; border-left: 1px solid %2; }")
                      .arg(Panel_Colour().name(), Border_Colour().name()));
}

// "Label 2", with what sets it apart: a clone, or left out of printing.
QString a_unit_list::Unit_Caption(uint32_t ux) {
    QString text = tr("Label %1").arg(ux);
    const a_doc_unit* u = g_doc.doc_units[ux];
    if (u && u->clonef) text += tr(", clone");
    if (u && !u->printf) text += tr(", no print");
    return text;
}

void a_unit_list::Refresh() {
    blockSignals(true);
    clear();
    if (g_doc.doc_open) {
        const a_template& t = g_doc.doc_template;
        for (uint32_t ux = 1; ux <= t.nunits; ++ux) addItem(new QListWidgetItem(Unit_Caption(ux)));
        if (g_doc.upx >= 1 && int(g_doc.upx) <= count()) setCurrentRow(int(g_doc.upx) - 1);
    }
    blockSignals(false);
    Refresh_Pictures();
}

void a_unit_list::Refresh_Pictures() {
    for (int r = 0; r < count(); ++r) {
        uint32_t ux = uint32_t(r) + 1;
        // Drawn at the screen's device pixels: sharp at 200 %.
        QPixmap picture = QPixmap::fromImage(Unit_Print_Picture(ux, iconSize() * devicePixelRatioF()));
        picture.setDevicePixelRatio(devicePixelRatioF());
        item(r)->setIcon(QIcon(picture));
        item(r)->setText(Unit_Caption(ux));
    }
    if (g_doc.upx >= 1 && int(g_doc.upx) <= count() && currentRow() != int(g_doc.upx) - 1) {
        blockSignals(true);
        setCurrentRow(int(g_doc.upx) - 1);
        blockSignals(false);
    }
}
