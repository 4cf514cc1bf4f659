// The Paint phase's panel: the sixteen tools as a palette of buttons, the
// options the chosen tool reads (size, opacity, spacing, spray spread,
// corner, the fill and its colours) and the symmetry toggle, kind and count.
// The values live in g_paint and the sliders' gs values; the panel only
// shows and sets them.
#pragma once
#include <QtWidgets/QWidget>

#include <vector>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLayout;
class QSpinBox;
class QToolButton;
class a_slider_widget;

// The tool picked by its single-key shortcut; false when `key` is none.
bool Paint_Choose_Key(int key);

class a_paint_panel : public QWidget {
    Q_OBJECT
  public:
    explicit a_paint_panel(QWidget* parent = nullptr);
    // g_paint shown again.
    void Refresh();
    QToolButton* Tool_Button(int tool) const;

  private:
    QWidget* Build_Tools();
    QWidget* Build_Fill();
    QWidget* Build_Symmetry();
    QLayout* Build_Marquee();  // the Copy / Move tool's shape
    QToolButton* Colour_Button(const char* name, const QString& tip, bool second);
    void Changed();  // a control moved: g_paint follows

    QButtonGroup* tools_;
    QSpinBox* size_;
    QComboBox* spread_;
    QComboBox* fill_;
    QComboBox* grad_kind_;
    QCheckBox* symmetry_;
    QComboBox* sym_kind_;
    QComboBox* marquee_ = nullptr;
    QToolButton* colour_ = nullptr;
    QToolButton* colour2_ = nullptr;
    std::vector<a_slider_widget*> sliders_;
    bool showing_ = false;
};
