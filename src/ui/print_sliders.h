// The media adjustments of direct disc printers on the print panel: the
// sliders show the selected medium's sizes for the document's direct-print
// kind, and a change writes them back to the medium.
// Process-wide state: gs.slider_vals and the slider table (writes the print
// sliders' values, range and actions); the selected medium through the
// print adjustments.
#pragma once
#include <vector>

#include "ui/sliders.h"

// The sliders shown for the open document: inner and outer diameter (and
// the flat side of hockey media), or width and height of rectangular media;
// none when the document is not for a direct printer.
std::vector<a_slider_enum> Print_Adjust_Sliders();
// Loads the sliders from the selected medium (on entering the print phase
// and after another medium is chosen).
void Print_Sliders_Load();
void Print_Sliders_Attach();
