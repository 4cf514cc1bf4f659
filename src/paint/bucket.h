// The bucket's region: the 4-connected cells of the layer that look like the
// seed cell (both unpainted, or painted with the same colour and cover).
// Process-wide state: none.
#pragma once
#include "paint/raster.h"
#include "pixels/gworld.h"

// The region as a coverage map (255 inside) over its bounding box, within clip.
void Flood_Region(const GWorld& world, const GWorld& mask, Point seed, const Rect& clip,
                  a_coverage& out);
