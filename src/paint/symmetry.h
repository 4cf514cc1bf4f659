// Repeating a painting step about the unit's symmetry centre: n copies
// 360 ÷ n degrees apart (cyclic), and with the mirror kind as many again
// mirrored. Angles are whole degrees; sine and cosine are integers scaled by
// 16384 so that every copy lands on the same cells each time.
// Process-wide state: the document's current unit (its symmetry centre).
#pragma once
#include "paint/atoms.h"

int Int_Sin(int degrees);  // round(sin × 16384)
int Int_Cos(int degrees);
// `p` turned by `degrees` about `center` (counter-clockwise on the screen),
// mirrored left for right first when `mirror`.
Point Sym_Transform(Point p, Point center, int degrees, bool mirror);

// Paints the step's copies i = 0 (1 without the original) .. n − 1 with Doc_Atom.
void Gen_Symmetry(a_atom_rec& atom, a_atom_proc proc, bool mirror, bool include_original,
                  const a_paint_state& p);
// The step painted once, or with its symmetric copies when the symmetry is
// on, the tool honours it and the fill is neither a border nor a marquee.
void Imprint(a_atom_rec& atom, int tool, bool draw_original, a_atom_proc proc, const a_paint_state& p);
