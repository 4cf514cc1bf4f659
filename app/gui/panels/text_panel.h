// The Text phase's panel: New Text, the font bar, the layout and
// justification grids, the text sliders, the style and effect toggles and
// the colour bars of letters, outline, glow and shadow. The controls show
// the first selected text block (or the settings new text takes) and change
// it through the text commands, each change one action and one history step.
#pragma once
#include <QtWidgets/QWidget>

#include <initializer_list>
#include <utility>
#include <vector>

#include "base/notice.h"
#include "ui/interface.h"

class QButtonGroup;
class QLabel;
class QListWidget;
class QToolButton;
class a_slider_widget;

class a_text_panel : public QWidget {
    Q_OBJECT
public:
    explicit a_text_panel(QWidget* parent = nullptr);
    ~a_text_panel() override;
    // The first selected text block into the controls.
    void Refresh();

private:
    QWidget* Build_Fonts();
    QWidget* Build_Layouts();
    QWidget* Build_Justify();
    QWidget* Build_Style();
    QWidget* Build_Effect(const char* name, const QString& title, a_toggle_enum toggle, a_bar_enum bar,
                          std::initializer_list<a_slider_enum> sliders);
    QToolButton* Color_Button(a_bar_enum bar);
    void Add_Sliders(QWidget* box, std::initializer_list<a_slider_enum> sliders);
    void Fill_Fonts();
    void Show_State();  // every control from the interface state
    void Schedule_Refresh();

    QLabel* clone_note_;
    QWidget* controls_;
    QWidget* range_ = nullptr;  // the selected letters' own sliders
    QListWidget* fonts_ = nullptr;
    QButtonGroup* layouts_ = nullptr;
    QButtonGroup* hjust_ = nullptr;
    QButtonGroup* vjust_ = nullptr;
    std::vector<std::pair<a_toggle_enum, QToolButton*>> toggles_;
    std::vector<std::pair<a_bar_enum, QToolButton*>> colors_;
    std::vector<a_slider_widget*> sliders_;
    int fonts_filled_ = -1;
    bool showing_ = false;  // controls being set from the state: no actions
    bool load_ = false;     // the selection changed: load it before showing
    bool pending_ = false;
    a_listener_token tokens_[5] = {};
};
