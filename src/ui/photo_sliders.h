// Which slider, toggle, grid and swatch shows each adjustable field of a
// photo or symbol block, both ways.
// Process-wide state: the interface record gs (reads and writes).
#pragma once
#include "model/photo_rec.h"
#include "ui/sliders.h"

// The record's values into the controls (stored without running actions).
void PH_To_Sliders(const a_ph_rec& ph);
// The controls' values into the record; constrained blocks take both
// scalings from the single size slider.
void Sliders_To_PH(a_ph_rec& ph);
// One slider's value into the record, when that slider serves the block's
// kind (the symbol sliders serve symbols, the photo size, angle and opacity
// photos; the single size only a constrained photo, the two sizes an
// unconstrained one). False when it does not.
bool Slider_To_PH(a_slider_enum slider, a_ph_rec& ph);
