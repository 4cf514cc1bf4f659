// The canvas a user chose for a unit (stored per unit, 29 bytes on disk).
// Process-wide state: none.
#pragma once
#include <cstdint>

#include "artdb/keyset.h"

struct a_canvas_spec {
    a_keyset canvas_key;  // art category 2; c = 1, d = 1 is the white canvas
    uint16_t canvas_nrot = 0;
    int16_t canvas_angle = 0;
    int16_t canvas_darkness = 0;
    int16_t canvas_scaling = 0;
    int16_t canvas_fuzz_in = 0;
    int16_t canvas_fuzz_out = 0;
    int16_t canvas_color_sat = 0;
    int16_t canvas_color_hue = 0;
    int16_t canvas_color_dist = 0;
    bool canvas_flipx = false;
    bool canvas_flipy = false;
    bool canvas_invert = false;
    bool operator==(const a_canvas_spec&) const = default;
};
