// Art of the database made ready for the paint fills: a stamp and a border
// picture as a colour world with the picture's alpha as its mask, a pattern
// as a 32-bit tile. Whoever paints owns an a_paint_art (the window one for
// its pickers, a design one per stroke) and lends it to a_paint_state.
// Process-wide state: none (reads the open art files).
#pragma once
#include "artdb/keyset.h"
#include "paint/border_fill.h"
#include "paint/paint_state.h"

enum : int16_t { STAMP_ART_CATEGORY = 8, PATTERN_ART_CATEGORY = 10 };

struct a_paint_art {
    a_masked_gworld_owner stamp;
    a_gworld_ptr pattern;
    a_masked_gworld_owner border_picture;
    a_border_art border;  // points into border_picture
    a_keyset stamp_key, pattern_key, border_key;  // null: none loaded
};

// Each replaces what `art` held of its kind; false (and nothing changed) when
// the key names no picture of that category, or no border of the directory.
bool Paint_Load_Stamp(const a_keyset& key, a_paint_art& art);
bool Paint_Load_Pattern(const a_keyset& key, a_paint_art& art);
bool Paint_Load_Border(const a_keyset& key, a_paint_art& art);
// `p` borrows what `art` holds (null where nothing is loaded).
void Paint_Lend_Art(const a_paint_art& art, a_paint_state& p);
