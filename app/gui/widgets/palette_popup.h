// The colour bars' palette as a popup grid of cells, the bar's choice
// framed; a click on a cell chooses that entry and closes the popup.
#pragma once
#include <QtWidgets/QWidget>

#include <functional>

#include "ui/interface.h"

class a_palette_popup : public QWidget {
public:
    a_palette_popup(a_bar_enum bar, QWidget* parent);
    // Shown under `below`.
    void Pop_Up(QWidget* below);
    std::function<void(int index)> chosen;  // the palette entry, 1-based
    // The centre of palette entry `index`, in this widget.
    static QPoint Cell_Centre(int index);

protected:
    void paintEvent(QPaintEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    a_bar_enum bar_;
};
