// The Clip art phase's panel: the art database's symbols and stamps as grids
// of thumbnails, a click putting one on the current label (a symbol as a
// symbol block, a stamp as a photo of its own pixels); the colour of clip
// art; and the size, turn and opacity of the selected symbol. Every change
// is one action and one undo step. A border is a paint fill: choosing one
// goes to the Paint phase with the hollow rectangle drawing that border.
#pragma once
#include <QtWidgets/QWidget>

#include <vector>

#include "block_watch.h"

class QLabel;
class QListWidget;
class QTabWidget;
class a_slider_widget;

class a_symbol_panel : public QWidget {
    Q_OBJECT
  public:
    explicit a_symbol_panel(QWidget* parent = nullptr);
    // The selected symbol shown again; the palettes are filled the first time.
    void Refresh();

  private:
    QListWidget* Palette(const char* name, bool stamps);
    void Fill_Palettes();

    QTabWidget* tabs_;
    QListWidget* symbols_;
    QListWidget* stamps_;
    QListWidget* borders_;
    QLabel* note_;
    QLabel* colour_;
    QWidget* swatches_;
    QWidget* controls_;
    std::vector<a_slider_widget*> sliders_;
    bool filled_ = false;
    a_block_watch watch_;  // last: it stops first
};
