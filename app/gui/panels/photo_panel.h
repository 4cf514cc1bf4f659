// The Photos phase's panel: adding photos from files, and for the selected
// photo its size, turn, look, colour, edge, shadow, crop and picture file.
// The controls show the selected photo and are disabled while none is
// selected; every change is one action of the program and one undo step.
#pragma once
#include <QtWidgets/QWidget>

#include <functional>
#include <vector>

#include "block_watch.h"

class QButtonGroup;
class QCheckBox;
class QLabel;
class QPushButton;
class a_slider_widget;

// Picture files chosen in a file dialog with a preview beside the list
// (`many`: several at once); empty when cancelled.
QStringList Picture_Dialog(QWidget* parent, const QString& title, bool many);

class a_photo_panel : public QWidget {
    Q_OBJECT
  public:
    explicit a_photo_panel(QWidget* parent = nullptr);
    // The selected photo shown again (while the panel is shown).
    void Refresh();
    // Image files dropped on `area` become photos of the current label.
    void Accept_Drops_On(QWidget* area);
    // The file dialogs; tests put their answers here. Add asks for several
    // pictures, Replace and Fix for one.
    std::function<QStringList()> ask_photos;
    std::function<QString(const QString& title)> ask_photo;

  private:
    QWidget* Build_Add();
    QWidget* Build_Geometry();
    QWidget* Build_Look();
    QWidget* Build_Edge();
    QWidget* Build_Shadow();
    QWidget* Build_File();
    a_slider_widget* Slider(int slider, const QString& tip);
    QCheckBox* Toggle(const char* name, const QString& text, const QString& tip, int toggle);
    void Add_Photos(const QStringList& paths);
    void Crop();
    void Choose_File(bool fix);

    QLabel* note_;
    QWidget* controls_;
    QWidget* edge_sliders_[4] = {};
    QWidget* shadow_sliders_;
    QWidget* border_swatches_;
    QWidget* outline_swatches_;
    QButtonGroup* edge_style_;
    std::vector<a_slider_widget*> sliders_;
    std::vector<std::pair<QCheckBox*, int>> toggles_;
    a_slider_widget* size_ = nullptr;
    a_slider_widget* size_h_ = nullptr;
    a_slider_widget* size_v_ = nullptr;
    QPushButton* crop_ = nullptr;
    QPushButton* replace_ = nullptr;
    QPushButton* fix_ = nullptr;
    a_block_watch watch_;  // last: it stops first
};
