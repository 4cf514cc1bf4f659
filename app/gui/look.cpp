#include "look.h"

#include <QtGui/QPalette>
#include <QtWidgets/QApplication>
#include <QtWidgets/QLabel>

namespace {

// `t` of the way from role a to role b.
QColor Mix(QPalette::ColorRole a, QPalette::ColorRole b, double t) {
    const QPalette p = QApplication::palette();
    const QColor x = p.color(a), y = p.color(b);
    return QColor::fromRgbF(float(x.redF() + (y.redF() - x.redF()) * t),
                            float(x.greenF() + (y.greenF() - x.greenF()) * t),
                            float(x.blueF() + (y.blueF() - x.blueF()) * t));
}

}  // namespace

QColor Panel_Colour() { return Mix(QPalette::Window, QPalette::Base, 0.35); }
QColor Border_Colour() { return Mix(QPalette::Window, QPalette::Mid, 0.6); }
QColor Soft_Text_Colour() { return Mix(QPalette::WindowText, QPalette::Window, 0.35); }
QColor Accent_Colour() { return QApplication::palette().color(QPalette::Highlight); }

QString Soft_Text_Style() { return "color: " + Soft_Text_Colour().name() + ";"; }

QLabel* Panel_Heading(const QString& text) {
    auto* l = new QLabel(text);
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
    l->setContentsMargins(0, 6, 0, 0);
    return l;
}
