#include "panels/panel_parts.h"

#include <QtWidgets/QGridLayout>
#include <QtWidgets/QLabel>
#include <QtWidgets/QToolButton>
#include <QtWidgets/QVBoxLayout>

QLabel* Panel_Note(const char* name) {
    auto* note = new QLabel;
    note->setObjectName(name);
    note->setWordWrap(true);
    note->setStyleSheet(Soft_Text_Style() + " padding: 6px 0;");
    return note;
}

QVBoxLayout* Controls_Column(QWidget*& controls) {
    controls = new QWidget;
    auto* column = new QVBoxLayout(controls);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(4);
    return column;
}

QVBoxLayout* Panel_Frame(QWidget* panel, const char* name, QLabel*& note, QWidget*& controls) {
    panel->setObjectName(name);
    auto* outer = new QVBoxLayout(panel);
    outer->setContentsMargins(10, 4, 10, 10);
    note = Panel_Note("");
    outer->addWidget(note);
    QVBoxLayout* column = Controls_Column(controls);
    outer->addWidget(controls, 1);
    return column;
}

QToolButton* Panel_Button(const char* name, const QString& text, const QString& tip,
                          bool checkable) {
    auto* b = new QToolButton;
    b->setObjectName(name);
    b->setText(text);
    b->setToolTip(tip);
    b->setCheckable(checkable);
    b->setMinimumSize(32, 26);
    return b;
}

QColor To_QColor(a_win_pixel32 p) {
    return QColor(p.r, p.g, p.b);
}

a_win_pixel32 To_Pixel(QColor c) {
    return a_win_pixel32{uint8_t(c.blue()), uint8_t(c.green()), uint8_t(c.red()), 0};
}

const std::vector<QColor>& Swatch_Colours() {
    static const std::vector<QColor> colours = {
        QColor(255, 255, 255), QColor(0, 0, 0),      QColor(128, 128, 128), QColor(31, 58, 140),
        QColor(200, 40, 50),   QColor(236, 128, 32), QColor(240, 200, 40),  QColor(40, 140, 70),
        QColor(40, 150, 200),  QColor(120, 60, 160), QColor(230, 110, 160), QColor(120, 80, 40)};
    return colours;
}

namespace {

void Style_Swatch(QToolButton* b, QColor c, bool current) {
    const QString accent = Accent_Colour().name();
    b->setStyleSheet(QString("QToolButton { background: %1; border: %2; border-radius: 3px; }"
                             "QToolButton:hover { border: 2px solid %3; }")
                         .arg(c.name(), current ? "3px solid " + accent : "1px solid " + Border_Colour().name(),
                              accent));
}

}  // namespace

QWidget* Swatch_Grid(const char* prefix, const QString& tip, std::function<void(QColor)> chosen) {
    auto* box = new QWidget;
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(4);
    int i = 0;
    for (const QColor& c : Swatch_Colours()) {
        auto* b = new QToolButton;
        b->setObjectName(QString("%1%2").arg(prefix).arg(i));
        b->setFixedSize(28, 22);
        Style_Swatch(b, c, false);
        b->setToolTip(tip);
        b->setCheckable(true);
        b->setProperty("swatch", c);
        QObject::connect(b, &QToolButton::clicked, box, [c, chosen] { chosen(c); });
        grid->addWidget(b, i / 6, i % 6);
        ++i;
    }
    return box;
}

void Swatch_Mark(QWidget* grid, QColor current) {
    for (QToolButton* b : grid->findChildren<QToolButton*>()) {
        const QColor c = b->property("swatch").value<QColor>();
        const bool marked = c == current;
        if (b->property("marked").toBool() != marked) Style_Swatch(b, c, marked);
        b->setProperty("marked", marked);
        const QSignalBlocker quiet(b);
        b->setChecked(marked);
    }
}
