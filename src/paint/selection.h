// The Copy / Move tool: a marquee (rectangle, oval or lasso) picks cells of
// the paint layer; dragging inside moves their pixels (Alt: a copy), Delete
// clears them, the arrow keys nudge them, and a pasted picture arrives as a
// floating selection. Every change of pixels is one history step of its own
// and is in the layer at once, so saving, printing and undo see what the
// view shows. The selection never follows the symmetry.
// Process-wide state: the selection g_sel and its tracker (reads and
// writes), g_paint.marquee_method, the current unit's layer; records history
// steps and listens to the document's notices (a restored step, another
// unit or document drops the selection).
#pragma once
#include <cstdint>
#include <functional>
#include <vector>

#include "paint/raster.h"
#include "paint/trackers.h"

struct a_masked_gworld;

// A point of the outline in cells, on cell corners: cell (h, v) spans h .. h + 1.
struct a_cell_pointf {
    double h = 0, v = 0;
};

// Which cells a marquee dragged from `anchor` to `now` selects (255 inside),
// over the box clipped to `clip`; `constrain` makes a square or circle.
a_coverage Marquee_Shape(int method, Point anchor, Point now, bool constrain, const Rect& clip);
// The cells inside the lasso through `pts` (even-odd, cell centres).
a_coverage Lasso_Shape(const std::vector<Point>& pts, const Rect& clip);

// The tracker's side of Paint_MouseDown and the rest for SELECT_TOOL.
void Selection_MouseDown(const a_paint_event& e);
void Selection_MouseMove(const a_paint_event& e);
void Selection_MouseUp(const a_paint_event& e);
// Escape: a drag in progress goes back to where it began (a marquee is
// dropped); otherwise the selection is let go where it lies. False when
// there was nothing to end.
bool Selection_Escape();
bool Selection_Tracking();

bool Selection_Active();
bool Selection_Floating();  // its pixels are lifted (moved, copied or pasted)
bool Selection_Contains(Point cell);
Rect Selection_Bounds();
// The live outline: the marquee being dragged, else the selection's.
std::vector<a_cell_pointf> Selection_Outline();

// Lets the selection go; the pixels stay where they are.
void Selection_Drop();
// Clears the selected pixels (a floating selection is taken away): one step.
bool Selection_Delete();
// Moves the selection and its pixels by (dh, dv) cells (`copy`: leaving
// them where they were too): one step.
bool Selection_Nudge(int dh, int dv, bool copy = false);
// The selected pixels as a picture of the selection's size (owned by the
// caller; mask 0 outside the shape); false without a selection.
bool Selection_Image(a_masked_gworld& out);
// Where a paste lands: the middle of what the view shows, in cells (the
// unit's middle without a view).
extern std::function<Point()> g_selection_paste_centre;
// The picture becomes a floating selection centred on `centre`, shrunk to
// fit the unit when larger, on a layer made for it if need be, with the
// Copy / Move tool chosen: one step. Choosing another tool lets a
// selection go.
bool Selection_Paste(const a_masked_gworld& picture, Point centre);

void Selection_Init();
void Selection_Stop();
