// Photo, symbol and collage-slot blocks as the block list sees them: making
// and duplicating a block, where new blocks go, moving a block's centre, and
// the frame with its four corner handles. What needs the picture itself (its
// size, its pixels) is the images layer's.
// Process-wide state: the document g_doc (reads and writes the current unit's blocks).
#pragma once
#include <cstdint>

#include "model/blocks.h"
#include "model/photo_rec.h"
#include "platform/geometry.h"

struct a_doc_unit;

// The current unit; an internal error when there is none.
a_doc_unit& Curr_Unit();
// Block omx of the current unit, or nullptr outside 1..nlist.
a_oj_item* Curr_Item(int omx);
// The photo record of block omx, or nullptr (no such block, no record).
a_ph_rec* Curr_PH(int omx);
bool Has_PH_Kind(uint8_t kind);  // photo, symbol and slot blocks

// Appends a block of `ojkind` with a cleared spec, a new id and only
// VISIBLE_FLAG, puts it under every text block and reports its index. A full
// unit is an internal error: callers check Curr_Unit().oj.nlist first.
a_ph_rec* PH_New(uint8_t ojkind, int& newx);
// A block appended at index `index` (the last) goes down to the first text
// block's place, so pictures stay under text; `index` is its final place.
void Check_Layer_Order(int& index);
// A copy of block `basis` 40 cells right and down (or 10 cells from the top
// left when that comes within 10 cells of the right or bottom edge), marked
// PENDING_FLAG. False, and nothing made, when the unit is full.
[[nodiscard]] bool PH_Dup(uint8_t kind, int basis, int& newx);

// Where a new block goes: the unit's centre, or, when block basex sits on
// the cascade from the centre, 40 cells right and down of it (back at the
// centre near the unit's right or bottom edge).
void Calc_New_Center(int basex, Point& center);
// Either coordinate may be KEEP_COORD; dst_box moves with the centre (a
// collage slot's stays: its centre is its photo's offset in the slot).
void Photo_Set_Center(int omx, Point new_center);
// Moves the centre by (dx, dy); `constrain` keeps only the larger move (dx on
// a tie). Photo and symbol centres stay inside the unit; slots are free.
void Photo_Delta_XY1(int omx, bool constrain, int dx, int dy);

// Handles are shown while the block is not rotated.
bool Is_Photo_Corner_Visible(const a_ph_rec& ph);
// Handle squares of side min(14, min(w, h) / 2) on the corners: top left, top
// right, bottom right, bottom left.
void Calc_Frame_Corners(const Rect& frame, Rect corners[4]);
// 1..4 a handle (grown by a pixel each side, when handles show), 5 inside the
// frame, 0 outside.
int Calc_Photo_Part(const a_ph_rec& ph, Point click, const Rect& frame);
// The same for block omx; a handle counts as inside (5) when more than one
// block is selected.
int PH_Is_Inside(int omx, Point click);
// The corner facing handle `part` (1..4).
int Opposite_Corner(int part);
