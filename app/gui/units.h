// The numbers of the window in the units a person uses. The model keeps its
// own units (tenths of a degree, per mille, tenths of a millimetre, pixels of
// the unit's surface, radii in per cent of half the shorter side); every
// field converts here, at the edge, and nowhere else.
#pragma once
#include <QtCore/QString>

#include "ui/sliders.h"

// How a slider's value is shown: `Shown = model × per_model`, with so many
// decimals and the unit written after the number (empty for plain numbers).
struct a_shown_unit {
    double per_model = 1;
    int decimals = 0;
    QString suffix;
};

// Millimetres per cell of the current unit, across and down; false with no
// document or an empty unit.
bool Unit_Millimetres(double& mm_h, double& mm_v);

// The shown unit of a slider; lengths in pixels of the unit and radii follow
// the current unit's size (plain pixels and per cent when there is none).
a_shown_unit Shown_Unit(a_slider_enum slider);
double Shown_Value(a_slider_enum slider, int model);
// The model value nearest to a shown one, within the slider's range.
int Model_Value(a_slider_enum slider, double shown);
