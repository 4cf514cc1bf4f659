// Small masked worlds for the effects, cache and canvas tests.
#pragma once
#include <cstdint>

#include <gtest/gtest.h>

#include "pixels/gworld.h"
#include "pixels/syspix.h"

// A w x h masked world at (0, 0) of one colour (0x00RRGGBB); with `mask`
// an 8-bit mask of value `m`.
inline a_masked_gworld Solid_MW(int w, int h, uint32_t color, bool mask = false, uint8_t m = 255) {
    a_masked_gworld mw;
    mw.bounds = Rect{0, 0, int16_t(h), int16_t(w)};
    New_GWorldF("test", mw.bounds, 32, nullptr, mw.fore);
    PixMap32_Fill(mw.fore->pix, mw.bounds, color);
    if (mask) {
        New_GWorldF("test", mw.bounds, 8, gray_ctable, mw.mask);
        PixMap8_Fill(mw.mask->pix, mw.bounds, m);
    }
    return mw;
}

inline uint32_t Pixel32(const GWorld* w, int x, int y) {
    uint32_t v = 0;
    EXPECT_TRUE(Get_GWorld_Pixel(w, x, y, v)) << x << ", " << y;
    return v & 0xFFFFFF;
}

inline int Mask8(const GWorld* w, int x, int y) {
    uint32_t v = 0;
    if (!Get_GWorld_Pixel(w, x, y, v)) return -1;
    return int(v);
}
