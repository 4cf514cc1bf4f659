// The data blocks of an undo snapshot, by field: a unit's header, one block
// with its record, a layer world's pixels. Each writer has a reader that
// checks every value it takes before anything of the document is touched,
// and false when the bytes are not exactly one well-formed block.
// Process-wide state: none.
#pragma once
#include <cstdint>
#include <vector>

#include "model/blocks.h"
#include "model/canvas_spec.h"
#include "model/photo_rec.h"
#include "model/undo_bytes.h"
#include "platform/geometry.h"
#include "templates/template.h"

struct a_doc_unit;
struct GWorld;

// A unit's header as the snapshot holds it.
struct a_ram_unitd {
    a_unit spec;  // the template's record of this unit
    Rect bounds;  // paintbounds
    bool clonef = false;
    bool printf = true;
    uint32_t groupx = 0;
    Point symmetry_center;
    Point ruler_origin;
    Point edit_focus;
    a_canvas_spec cv;
};

// A layer world is kept as its tiles that differ from its blank value (the
// erased colour, or 0 for a mask): a stroke on a disc costs the tiles that
// hold paint, not the whole 1200 x 1200 layer; a tile of one value (a filled
// area) costs one cell.
enum : int { LAYER_TILE = 64 };
// A layer world's header: its bounds, depth, colour table, blank value and
// the number of tiles that follow (each its index, then its rows, or one
// cell when the index carries the flat bit).
struct a_ram_gworld {
    Rect bounds;
    int16_t pixelsize = 0;
    uint32_t pmtable = 0;  // 0 none, 1 the gray table
    uint32_t blank = 0;    // every cell of a tile not kept
    uint32_t ntiles = 0;
};

void Save_UNITD(a_undo_writer& w, const a_unit& spec, const a_doc_unit& u);
[[nodiscard]] bool Read_UNITD(a_undo_reader& r, a_ram_unitd& d);

void Save_PH(a_undo_writer& w, const a_ph_rec& ph);
[[nodiscard]] bool Read_PH(a_undo_reader& r, a_ph_rec& ph);

// flags, kind, the record's length n and the record (none for the paint block).
void OJ_To_Buf(a_undo_writer& w, const a_oj_item& item);
// A new block (its own records, a fresh id); false leaves `item` empty.
[[nodiscard]] bool Buf_To_OJ(a_undo_reader& r, a_oj_item& item);

// An 8- or 32-bit world (other depths are an internal error).
void GWorld_To_Buf(a_undo_writer& w, const GWorld& world, uint32_t blank);
[[nodiscard]] bool Read_GWorld_Header(a_undo_reader& r, a_ram_gworld& h);
// Whether a world made on `bounds` with this depth and table takes the pixels.
bool GWorld_Fits(const a_ram_gworld& h, const Rect& bounds, int depth, bool gray);
// Whether the tiles after the header are in order, inside the grid and
// exactly fill what is left.
[[nodiscard]] bool Check_GWorld_Tiles(a_undo_reader& r, const a_ram_gworld& h);
// The world set to the blank value, then each tile copied in; a reader
// that Check_GWorld_Tiles accepted.
void Buf_To_GWorld(a_undo_reader& r, const a_ram_gworld& h, GWorld& world);
