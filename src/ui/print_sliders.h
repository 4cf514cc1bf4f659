// The media adjustments of direct disc printers on the print panel: the
// sliders show the selected medium's sizes for the document's direct-print
// kind, and a change writes them back to the medium.
// Process-wide state: gs.slider_vals and the slider table (writes the print
// sliders' values, range and actions); the selected medium through the
// print adjustments.
#pragma once
#include <vector>

#include "ui/interface.h"
#include "ui/sliders.h"

// The sliders shown for the open document: inner and outer diameter (and
// the flat side of hockey media), or the hole, width and height of rectangular media;
// none when the document is not for a direct printer.
std::vector<a_slider_enum> Print_Adjust_Sliders();
// Loads the sliders from the selected medium (on entering the print phase
// and after another medium is chosen).
void Print_Sliders_Load();
void Print_Sliders_Attach();

// The other print options of the panel, kept in gs and handed to printing:
// the copies, the FlexLabel density and grey printing, the FlexStick speed
// and the LaserJet centring.
void Print_Options_Load();  // gs from the options printing reads
// LASERJET_TOGGLE (which moves the print on narrow paper: the views follow)
// or FLEX_GRAY_TOGGLE.
void Print_Toggle_Set(a_toggle_enum toggle, bool on);
