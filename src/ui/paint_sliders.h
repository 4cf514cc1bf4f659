// The paint sliders and the paint tools' parameters: the sliders' values
// (opacity, spacing, line thickness, corner, spray radius, the gradient's
// angle, twist and repeats, symmetry count, and the stamp's size, turn,
// spacing, darkness, colour shift, skews, bends and stretch) are copied into
// g_paint before each stroke.
// Process-wide state: the interface record gs (reads), the paint parameters g_paint (writes).
#pragma once

// Copies the paint sliders' values into g_paint, clamped to their ranges.
void Paint_Sync_Sliders();
