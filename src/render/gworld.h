// Offscreen worlds: pixel memory of our own with a depth and bounds.
#pragma once
#include <cstdint>
#include <vector>

#include "platform/geometry.h"

struct GWorld {
    int depth = 32;
    Rect bounds;
    int32_t rowbytes = 0;
    std::vector<uint8_t> pixels;
};

// A new world of `depth` bits per pixel on `bounds`, cleared to zero; nullptr
// when memory is short.
GWorld* New_GWorld(int depth, const Rect& bounds);
void Dispose_GWorld(GWorld*& world);
GWorld* Copy_GWorld(const GWorld* world);
