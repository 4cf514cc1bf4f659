// The blocks of a unit: photos, symbols, collage slots, text and the paint
// block, in stacking order (index 1 drawn first).
// Process-wide state: the counter of unique block ids (reads and writes).
#pragma once
#include <cstdint>

struct a_ph_rec;
struct a_om_rec;

enum a_oj_kind : uint8_t {
    PHOTO_BLOCK = 0,
    SYMBOL_BLOCK = 1,
    SLOT_BLOCK = 2,
    TEXT_BLOCK = 3,
    PAINT_BLOCK = 4
};
enum a_oj_flag : uint8_t { SELECTED_FLAG = 0, PENDING_FLAG = 1, VISIBLE_FLAG = 2 };
using a_oj_kind_set = uint8_t;

enum : int { MAXNOBJECTS = 400 };

// One block. Owns its record: `ph` for photo, symbol and slot blocks, `om`
// for text blocks, null otherwise; the paint block has neither.
struct a_oj_item {
    uint32_t objid = 0;  // unique while the program runs (NextUniqueID)
    uint8_t flags = 0;  // set of a_oj_flag
    uint8_t kind = PAINT_BLOCK;
    a_ph_rec* ph = nullptr;  // photo, symbol and slot blocks
    a_om_rec* om = nullptr;  // text blocks
};

// A unit's blocks; owns every item's record.
struct a_oj_master {
    uint32_t seq = 0;   // change counter
    int32_t nlist = 0;  // 0 .. MAXNOBJECTS
    a_oj_item list[MAXNOBJECTS + 1];  // 1 .. nlist; index 0 unused
};

extern uint32_t g_uniqueid;
uint32_t NextUniqueID();

// Fresh records; the block that takes one owns it.
a_ph_rec* New_PH_Rec();
a_om_rec* New_OM_Rec();

// Copies a block. With `allocflag` the photo and text records are duplicated;
// without it the photo record is copied into dst's own (a text record is
// always duplicated). dst's former records are not freed.
void OJ_Copy(a_oj_item& dst, const a_oj_item& src, bool allocflag);
// Deep copy into an empty dst: nothing is shared with src.
void OMast_Copy(a_oj_master& dst, const a_oj_master& src);
// Frees every block and its record, leaving an empty list.
void OMast_Dispose(a_oj_master& oj);
// Frees block ojx (1-based) and closes the gap.
void Obj_Dispose(a_oj_master& oj, int ojx);
// Appends a block; false when the list is full.
[[nodiscard]] bool OMast_Append(a_oj_master& oj, const a_oj_item& item);
