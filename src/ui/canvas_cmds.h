// The canvas commands of the current unit: quarter turns, flips, inversion,
// the canvas sliders, the palette's choice and clearing the paint layer.
// Each changes the unit's canvas, redraws and records one undo step.
// Process-wide state: the document g_doc and the interface record gs (reads and writes); sends the
// document notices.
#pragma once

#include "model/canvas_spec.h"
#include "ui/sliders.h"

void Canvas_Rotate_CW();
void Canvas_Rotate_CCW();
void Canvas_FlipX();
void Canvas_FlipY();
void Canvas_Invert();
// A canvas slider changed: the step recorded is that slider's label.
void Delta_Canvas(a_slider_enum slider);
// An edge-softness slider changed: the outer mask is remade too.
void Canvas_Fuzz_Delta();
// The palette's selected entry for the unit's class; with `keep_adjustments`
// (the Alt key) the darkness, tint and softness stay.
void Canvas_Select(bool keep_adjustments);
// The white canvas tinted to a solid colour (hue 0 .. 359, distance from
// white 0 .. 72 as the colour sliders take them), as one step.
void Canvas_Select_Solid(int hue, int dist);
// Removes the unit's paint layer; with none, the refusal sound.
void Paint_Clear_All();
// The canvas sliders (darkness, softness, hue, distance, saturation) act on
// the current unit's canvas; the colour sliders serve other phases too.
void Canvas_Sliders_Attach();
void Sliders_To_CV(a_canvas_spec& cv);
void CV_To_Sliders(const a_canvas_spec& cv);
