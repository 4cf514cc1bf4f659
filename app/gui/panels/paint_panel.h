// The Paint phase's panel: the sixteen tools as a palette of buttons, the
// options the chosen tool reads (size, opacity, spacing, spray spread,
// corner, the fill and its colours, the spray's method and the eraser's
// size), the pickers of the art (patterns, stamps, borders) with the stamp's
// sliders, and the symmetry toggle, kind and count.
// The values live in g_paint and the sliders' gs values; the panel only
// shows and sets them.
#pragma once
#include <QtWidgets/QWidget>

#include <vector>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLayout;
class QListWidget;
class QSpinBox;
class QTabWidget;
class QToolButton;
class a_slider_widget;

// The tool picked by its single-key shortcut; false when `key` is none.
bool Paint_Choose_Key(int key);

class a_paint_panel : public QWidget {
    Q_OBJECT
  public:
    explicit a_paint_panel(QWidget* parent = nullptr);
    ~a_paint_panel() override;
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

    // The art pickers and the tools' further choices.
    QWidget* Build_Tool_Choices();
    QWidget* Build_Spray_Method();
    QWidget* Build_Art();
    QWidget* Build_Stamp();
    void Fill_Art();
    QCheckBox* grad_reverse_ = nullptr;
    QComboBox* spray_method_ = nullptr;
    QComboBox* eraser_ = nullptr;
    QTabWidget* art_ = nullptr;
    QListWidget* patterns_ = nullptr;
    QListWidget* stamps_ = nullptr;
    QListWidget* borders_ = nullptr;
    QWidget* stamp_box_ = nullptr;
    std::vector<a_slider_widget*> grad_sliders_;
    bool art_filled_ = false;
};
