// A unit's design as one picture, for the project's preview and the unit
// export: its canvas, its photo, symbol and slot blocks and its paint layer.
// Text blocks are not drawn here. The compositor replaces this function with
// its own rendering of the unit when it arrives.
// Process-wide state: the document g_doc (reads); the effects cache (reads
// and writes).
#pragma once
#include <cstdint>

#include "pixels/gworld.h"

// A 32-bit world of the unit's paint area; null when the unit has no area
// or memory is short. A clone shows its master's design.
a_gworld_ptr Render_Unit_Picture(uint32_t ux);
