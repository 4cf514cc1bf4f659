// The border directory (7, 0, 0, 0): which border pictures the art holds and
// where their corner, side and filler pieces lie within each picture.
// Process-wide state: none (reads the open art files).
#pragma once
#include "artdb/art_records.h"

enum : int16_t { BORDER_CATEGORY = 7 };

// The directory read and checked: false (and no entries) when it is absent
// or damaged. Entries whose pieces do not fit their picture are left out.
bool Border_Directory(a_bord_res& res);
// The entry of the border whose picture has `key`; false when there is none.
bool Border_Find(const a_keyset& key, a_bord_spec& spec);
