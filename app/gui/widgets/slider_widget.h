// A slider of the slider table as a person sees it: its name, a track with
// a thumb, the number, and − / + buttons that step with the table's steps
// (Shift: the big step, Ctrl: the tiny one) and refuse at the ends with the
// refusal sound. The value lives in gs; this widget only shows it.
// Dragging the thumb changes the value once, when it is let go.
#pragma once
#include <QtWidgets/QWidget>

#include "base/notice.h"
#include "ui/sliders.h"

class QLabel;
class QSlider;
class QSpinBox;

class a_slider_widget : public QWidget {
    Q_OBJECT
public:
    // A change runs the slider's action, as one action of the program.
    explicit a_slider_widget(a_slider_enum slider, QWidget* parent = nullptr);
    ~a_slider_widget() override;
    a_slider_enum Slider() const { return slider_; }
    void Show_Value();  // from gs

private:
    void Set(int value);
    void Step(bool plus);

    a_slider_enum slider_;
    QSlider* track_;
    QSpinBox* number_;
    bool showing_ = false;
    a_listener_token redraw_token_ = 0, picker_token_ = 0;
};
