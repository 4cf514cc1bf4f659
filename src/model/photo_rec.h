// The description of a photo, symbol or collage-slot block. Its pixels live in
// the effects cache, keyed by this description.
// Process-wide state: none.
#pragma once
#include <cstdint>

#include "platform/geometry.h"
#include "model/effect_spec.h"

// Owned by its block; holds no pointers, so a copy shares nothing.
struct a_ph_rec {
    a_spec spec;            // what to show and how
    char codec[4] = {};     // file-format code of the imported file; empty otherwise
    Point dst_center;       // centre of the block on the unit, in unit cells
    Rect dst_box;           // bounding box on the unit (derived)
};
