// The key of an art-database record: four signed components, category first.
#pragma once
#include <cstdint>

enum : int16_t { KEY_WILDCARD = 32000 };

struct a_keyset {
    int16_t a = 0;  // category
    int16_t b = 0;
    int16_t c = 0;
    int16_t d = 0;
    bool operator==(const a_keyset&) const = default;
};
