// Colour values shared by the pixel maps and the preferences record, which
// sit in layers that cannot include each other.
// Process-wide state: none.
#pragma once
#include <cstdint>

// One 32-bit pixel as it lies in memory: read as a word it is 0xAARRGGBB.
// The fourth byte is an extra channel that most operations leave alone.
struct a_win_pixel32 {
    uint8_t b = 0;
    uint8_t g = 0;
    uint8_t r = 0;
    uint8_t a = 0;
    bool operator==(const a_win_pixel32&) const = default;
};
static_assert(sizeof(a_win_pixel32) == 4);

// A colour value (not a row format).
struct a_pixel24 {
    uint8_t r = 0;
    uint8_t g = 0;
    uint8_t b = 0;
    bool operator==(const a_pixel24&) const = default;
};
