// The description of a photo, symbol or collage-slot block. Its pixels live in
// the effects cache, keyed by this description.
#pragma once
#include <cstdint>

struct a_ph_rec {
    uint32_t source_id = 0;  // which picture the block shows (0 = none yet)
    bool operator==(const a_ph_rec&) const = default;
};
