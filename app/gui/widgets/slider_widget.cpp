#include "widgets/slider_widget.h"

#include <QtGui/QWheelEvent>
#include <QtWidgets/QApplication>
#include <QtWidgets/QGridLayout>
#include <QtWidgets/QLabel>
#include <QtWidgets/QSlider>
#include <QtWidgets/QSpinBox>
#include <QtWidgets/QToolButton>

#include <algorithm>
#include <cmath>

#include "shell/mainloop.h"
#include "ui/interface.h"
#include "units.h"

namespace {

// The wheel turns a slider or its field only once it has the focus: over a
// panel the wheel scrolls the panel, as it does in other desktop programs.
class a_track : public QSlider {
public:
    using QSlider::QSlider;
protected:
    void wheelEvent(QWheelEvent* e) override {
        if (hasFocus()) QSlider::wheelEvent(e);
        else e->ignore();
    }
};

class a_number : public QDoubleSpinBox {
protected:
    void wheelEvent(QWheelEvent* e) override {
        if (hasFocus()) QDoubleSpinBox::wheelEvent(e);
        else e->ignore();
    }
};

QToolButton* Step_Button(const QString& text) {
    auto* b = new QToolButton;
    b->setText(text);
    b->setAutoRepeat(true);  // held, it steps again like the table's pacing
    b->setAutoRepeatDelay(300);
    b->setAutoRepeatInterval(3 * 16);
    b->setFixedSize(22, 22);
    return b;
}

}  // namespace

a_slider_widget::a_slider_widget(a_slider_enum slider, QWidget* parent)
    : QWidget(parent), slider_(slider) {
    const a_slider_item& item = g_sliders[slider];
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 2, 0, 2);
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(1);
    auto* name = new QLabel(QString::fromStdString(Slider_Name(slider)));
    number_ = new a_number;
    number_->setFocusPolicy(Qt::StrongFocus);
    number_->setButtonSymbols(QAbstractSpinBox::NoButtons);
    number_->setAlignment(Qt::AlignRight);
    number_->setFixedWidth(70);
    number_->setKeyboardTracking(false);  // one step when the typing is done
    track_ = new a_track(Qt::Horizontal);
    track_->setFocusPolicy(Qt::StrongFocus);
    track_->setRange(item.minval, item.maxval);
    track_->setPageStep(std::max<int>(1, item.big_step ? item.big_step : item.normal_step));
    track_->setTracking(false);  // a whole drag is one change
    QToolButton* minus = Step_Button(QStringLiteral("−"));
    QToolButton* plus = Step_Button(QStringLiteral("+"));
    setToolTip(name->text());  // panels give a fuller tip; the parts show their row's
    grid->addWidget(name, 0, 0, 1, 3);
    grid->addWidget(number_, 0, 3);
    grid->addWidget(minus, 1, 0);
    grid->addWidget(track_, 1, 1, 1, 2);
    grid->addWidget(plus, 1, 3, Qt::AlignRight);
    grid->setColumnStretch(1, 1);
    setObjectName(QString("slider%1").arg(int(slider)));

    connect(track_, &QSlider::valueChanged, this, [this](int v) { Set(v); });
    connect(number_, &QDoubleSpinBox::valueChanged, this,
            [this](double shown) { Set(Model_Value(slider_, shown)); });
    connect(minus, &QToolButton::clicked, this, [this] { Step(false); });
    connect(plus, &QToolButton::clicked, this, [this] { Step(true); });
    redraw_token_ = g_slider_signals.redraw.Subscribe([this](a_slider_enum s) {
        if (s == slider_) Show_Value();
    });
    picker_token_ = g_slider_signals.color_picker.Subscribe([this] { Show_Value(); });
    Show_Value();
}

a_slider_widget::~a_slider_widget() {
    g_slider_signals.redraw.Unsubscribe(redraw_token_);
    g_slider_signals.color_picker.Unsubscribe(picker_token_);
}

void a_slider_widget::Show_Value() {
    showing_ = true;
    // Some ranges follow the document (the outer diameter of a tray's disc).
    const a_slider_item& item = g_sliders[slider_];
    track_->setRange(item.minval, item.maxval);
    // The unit follows the current unit's size (radii, pixel lengths).
    const a_shown_unit unit = Shown_Unit(slider_);
    number_->setDecimals(unit.decimals);
    number_->setSuffix(unit.suffix);
    number_->setSingleStep(std::max(unit.per_model * std::max<int>(1, item.normal_step),
                                    std::pow(10.0, -unit.decimals)));
    number_->setRange(Shown_Value(slider_, item.minval), Shown_Value(slider_, item.maxval));
    int v = gs.slider_vals[slider_];
    track_->setValue(v);
    number_->setValue(Shown_Value(slider_, v));
    showing_ = false;
}

void a_slider_widget::Set(int value) {
    if (showing_ || value == gs.slider_vals[slider_]) return;
    Interaction_Begin();
    Slider_SetVal(value, slider_);
    Interaction_End();
    Show_Value();
}

void a_slider_widget::Step(bool plus) {
    Qt::KeyboardModifiers m = QApplication::keyboardModifiers();
    Interaction_Begin();
    // The table's own stepping: limits, step sizes and the refusal sound.
    Do_PlusMinus(m & Qt::ControlModifier, m & Qt::ShiftModifier, plus, slider_);
    Interaction_End();
    Show_Value();
}
