// Which slider, toggle, grid and swatch shows each adjustable field of a
// photo or symbol block, both ways.
// Process-wide state: the interface record gs (reads and writes).
#pragma once
#include "model/photo_rec.h"

// The record's values into the controls (stored without running actions).
void PH_To_Sliders(const a_ph_rec& ph);
// The controls' values into the record; constrained blocks take both
// scalings from the single size slider.
void Sliders_To_PH(a_ph_rec& ph);
