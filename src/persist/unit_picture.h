// A unit's finished design as one picture, drawn by the compositor's print
// path (canvas, every visible block including text, paint, the outer shape),
// for the project's preview and the unit export.
// Process-wide state: the document g_doc (reads; the print scale is kept as
// it was); the effects cache and the text caches (reads and writes).
#pragma once
#include <cstdint>

#include "pixels/gworld.h"
#include "platform/geometry.h"

// A 32-bit world of `size` (at 0, 0) with unit ux drawn to fill it; null
// when the unit or the size is unusable or memory is short. A clone shows
// its master's design.
a_gworld_ptr Render_Unit_Sized(uint32_t ux, const Rect& size);
// The unit at one pixel per cell (the size of its paint area).
a_gworld_ptr Render_Unit_Picture(uint32_t ux);
