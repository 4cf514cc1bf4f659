// The current unit's paint layer as the tools see it: creating it on the
// first stroke, painting one step into it (Doc_Atom), and the stroke's
// bracket: the backup taken when it starts (so a rubber band or a cancel can
// put cells back) and the one history step recorded when it ends.
// Process-wide state: the document's current unit (its layer, paintinuse and
// dirty areas), the paint backup, g_stroke; records history steps.
#pragma once
#include "paint/atoms.h"

struct a_stroke_rec {
    bool active = false;
    int op = 0;         // its a_history_op
    Rect dirty;         // cells changed since it started
    bool created = false;  // the stroke brought the layer into existence
    int paint_from = 0;    // where the paint block stood before the stroke raised it
};
extern a_stroke_rec g_stroke;
// False while strokes are played back without a view: nothing is composed
// until they are all painted.
extern bool g_paint_redraw;

// The current unit's layer world and mask, or false when it has none.
bool Paint_Layer(GWorld*& world, GWorld*& mask);
// Brings the current unit's layer into existence (paintinuse set); false
// without a unit. A new layer's block goes where a new picture goes, over
// the pictures and under the text, so that the first stroke is seen;
// `from` is where it stood (0 when it did not move).
bool Paint_Layer_Ensure(bool* created = nullptr, int* from = nullptr);

// Paints one step with proc into the current unit's layer and marks the
// changed cells, grown by the line thickness, to be composed again.
void Doc_Atom(a_atom_rec& atom, a_atom_proc proc, const a_paint_state& p);
// A fresh atom on the current unit's layer with the current fill.
a_atom_rec New_Atom(const a_paint_state& p);

// Starts a stroke recorded as `op`: the backup takes the layer as it is.
// `created`: the layer was made for this stroke (a cancel removes it again).
void Stroke_Begin(int op, bool created);
// Puts back the cells the stroke changed so far (a rubber band's last frame).
void Stroke_Restore();
// Ends it: one history step when it changed anything. Cancelled, its cells
// go back and a layer it created is removed again; nothing is recorded.
void Stroke_End(bool cancelled);
// The changed area composed again and shown (the view's repaint).
void Paint_Redraw();
