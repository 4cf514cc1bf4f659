// The finished picture of each unit: its canvas, then every visible block in
// stacking order, then the outer mask. For the screen it is kept in the
// unit's layers and rebuilt only where something changed; for printing it is
// built afresh at printer resolution.
// Process-wide state: the document g_doc (reads and writes the units' layers,
// dirty areas and print scale), the edit state g_ed, the view's zoom
// g_merge_zoom, the mapping and text-size stacks, the current port; calls the
// block drawing services of the document.
#pragma once
#include <cstdint>

#include "model/document.h"
#include "pixels/gworld.h"
#include "templates/expand.h"

// The text block being edited: its unit (1-based), id and index, and the
// selection. Positions run from 1 (before the first character) to nxyl
// (before the end marker); characters sel_lo .. sel_hi - 1 are selected and
// equal values are a caret before character sel_lo.
struct a_edit_rec {
    uint32_t edit_ux = 0;
    uint32_t edit_objid = 0;  // 0: no text is being edited
    int edit_omx = 0;
    int32_t edit_lineud_x = 0;  // column kept by repeated up and down moves
    bool edit_lineud = false;
    bool edit_new = false;      // the block was made for this editing
    int sel_lo = 1;
    int sel_hi = 1;
    int sel_omx = 0;            // the block the selection belongs to
};
extern a_edit_rec g_ed;

// Device pixels per cell of the document view (1 : 1 at 100 % on an
// ordinary screen, 2 : 1 on one of twice the density).
extern a_ratio g_merge_zoom;
// Device pixels per screen pixel of that view: what a person calls one
// pixel when a key moves a block by one.
extern double g_merge_dpr;

// A cell rectangle through m: each edge round(origin + mult × (x − fdec)).
Rect Cells_To_Pixels(const a_coord_mapping& m, const Rect& r);
// The mapping from the unit's cells onto `total` (no offsets at 0, 0).
a_coord_mapping Unit_Layer_Mapping(const a_doc_unit& up, const Rect& total);

// Text sizes in pixels per point while a unit is drawn: (25.4 ÷ 72) × the
// unit's pixel height ÷ its height in millimetres. Four deep.
void Push_TextSize_Mapping(float pixels_per_point);
void Pop_TextSize_Mapping();
float TextSize_Mapping();  // 1 when none is pushed
float Unit_TextSize(uint32_t ux, const Rect& total);

// Screen.
void Current_Unit_UpToDate();
void Current_Unit_Merge_Check(Rect& merge_bounds, GWorld*& merge_world);
void Unit_Merge_Check(uint32_t ux, a_doc_unit& up, const Rect& targ_bounds, GWorld*& gworld);
void PrintPrevew_Unit_Merge_Check(uint32_t ux, a_doc_unit& up, const Rect& udest,
                                  Rect& merge_bounds, GWorld*& merge_world);
void Render_Unit_Screen(uint32_t ux, a_doc_unit& up, const Rect& subset, const Rect& total);
// One block over `dirty` (cells) of gworld, through m.
void Merge_Object(a_doc_unit& up, int omx, a_oj_item& obj, const Rect& dirty, GWorld* gworld,
                  const a_coord_mapping& m);
void Merge_Text_Block(a_doc_unit& up, int omx, a_om_rec& om, const Rect& dirty, GWorld* destworld,
                      const a_coord_mapping& m, bool overlay);
void OM_Ensure_Cache_Bits(a_om_rec& om, const a_coord_mapping& m);
void Merge_Paint_Layer(a_doc_unit& up, const Rect& subset, GWorld* gworld, const a_coord_mapping& m);
// Everything of the unit (every unit) is rebuilt at the next merge.
void Unit_PostRender(a_doc_unit& up);
void All_Units_PostRender();
void Check_Text_Formats(uint32_t ux);

// Print: a new world of `total` (the caller owns it) with the unit at that size.
void Render_Unit_Print(uint32_t ux, a_doc_unit& up, const Rect& total, GWorld*& gworld);
void Print_Object(a_doc_unit& up, a_oj_item& obj, GWorld* gworld, const a_coord_mapping& m);
void Print_Text_Block(a_om_rec& om, GWorld* gworld, const a_coord_mapping& m);
void Print_Paint_Layer(a_doc_unit& up, GWorld* gworld, const a_coord_mapping& m);

// Unit ux's rectangle at `dpi`, at 0, 0 (its size as cut, without bleed).
Rect Unit_Print_Bounds(uint32_t ux, int dpi);

// The record that holds unit ux's design: its own, or its clone master's.
a_doc_unit* Design_Unit(uint32_t ux);
