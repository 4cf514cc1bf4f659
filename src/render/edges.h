// The edge stage of the effects pipeline: rounded and feathered corners, and
// the border, scallop and rough edge styles with their bands and masks.
// Process-wide state: the kept scallop cell (reads and writes).
#pragma once
#include <cstdint>
#include <vector>

#include "model/effect_spec.h"
#include "pixels/gworld.h"

// Consumes `in`. Style 0 shapes the mask by corner and feather; styles 1..3
// grow the picture by a border band and an outline band.
void Apply_Edge(a_cache_purpose purpose, const a_spec& spec, a_masked_gworld& in,
                a_masked_gworld& out);
void Apply_Edge_None(const a_spec& spec, a_masked_gworld& in, a_masked_gworld& out);
void Apply_Edge_Some(const a_spec& spec, a_masked_gworld& in, a_masked_gworld& out);
// Rounds the corners (radius from `corner` percent) and softens the sides
// over `feather` pixels, multiplied into the 8-bit mask.
void Calc_Feather_Mask(int corner, int feather, PixMap& mask);

// One scallop cell: 2 * totedge + 1 long, totedge * scallop / 100 (made even)
// deep, row 0 the outer edge; empty when the depth is 0. The last cell is
// kept and given again for the same numbers.
const PixMap& Calc_Scallop_Cell(int targ_totedge, int targ_scallop);
void Calc_Scallop_Mask(int totedge, int scallop, const Rect& bounds, PixMap& mask);
// Copies of the cell along the four sides of bounds, each only removing
// opacity (destination AND cell).
void Apply_Edge_Cell(const PixMap& cell, const Rect& bounds, PixMap& mask);
// A jagged outer edge cut into the band `border` pixels wide; `rough` 1..20
// makes it coarser. The same numbers always give the same edge.
void Calc_Rough_Mask(int border, int rough, const Rect& bounds, PixMap& mask);
// The rough edge's cut depths for a w x h area, per column (top, bottom) and
// per row (left, right), none deeper than amp; empty when border is 0.
struct a_rough_cuts {
    int amp = 0;
    std::vector<int> top, bottom, left, right;
};
a_rough_cuts Calc_Rough_Cuts(int border, int rough, int w, int h);
void Edges_Stop();  // frees the kept scallop cell
