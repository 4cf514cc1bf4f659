// The Collage phase's panel: the kind of collage as pictures (grid, one
// ring, two rings, square, lotus), its sliders, photos poured in from files
// or the clipboard, the selected slots duplicated, cleared, turned and
// sized, and OK (one photo of the whole collage) or Cancel.
#pragma once
#include <QtWidgets/QWidget>

#include <functional>
#include <vector>

#include "block_watch.h"
#include "platform/geometry.h"

class QButtonGroup;
class QCheckBox;
class QLabel;
class QPushButton;
class a_slider_widget;

class a_collage_panel : public QWidget {
    Q_OBJECT
  public:
    explicit a_collage_panel(QWidget* parent = nullptr);
    // The pack's state shown again (while the panel is shown).
    void Refresh();
    // Image files dropped on `area` fill the empty slots, in order, while
    // the collage is open.
    void Accept_Drops_On(QWidget* area);
    // Pours files into the slots and says what did not fit or could not be read.
    void Add_Photos(const QStringList& paths);
    // The file dialog; tests put their answer here.
    std::function<QStringList()> ask_photos;

  signals:
    // The label's working area took another size (the collage's kind or
    // grid changed, or the collage began or ended): the view resizes.
    void boundsChanged();

  private:
    QWidget* Build_Kinds();
    QWidget* Build_Slots();
    a_slider_widget* Slider(int slider, const QString& tip);

    QLabel* note_;
    QLabel* report_;
    QButtonGroup* kinds_;
    QCheckBox* upright_;
    QWidget* slot_controls_;
    std::vector<std::pair<a_slider_widget*, unsigned>> sliders_;  // slider, kinds it serves (bits)
    a_slider_widget* item_size_ = nullptr;
    Rect last_bounds_;
    a_block_watch watch_;  // last: it stops first
};
