// Pixel maps for tests: owned maps, filled and read by coordinates.
#pragma once
#include <cstdint>
#include <random>

#include "pixels/pixcursor.h"
#include "pixels/pixmap.h"

// An owned bare map, filled and read by coordinates.
struct a_test_map : a_pixmap_owner {
    a_test_map(const Rect& bounds, int depth, CTabHandle ctab = nullptr)
        : a_pixmap_owner(Make_PixMap(bounds, depth, ctab)) {}
    uint32_t Get(int x, int y) const {
        const PixMap& pm = get();
        return Row_GetDot(PixMap_Row(pm, y), pm.pixelSize, x - pm.bounds.left);
    }
    void Put(int x, int y, uint32_t v) {
        PixMap& pm = get();
        Row_PutDot(PixMap_Row(pm, y), pm.pixelSize, x - pm.bounds.left, v);
    }
    void Fill(uint32_t v) {
        const Rect& b = get().bounds;
        for (int y = b.top; y < b.bottom; ++y)
            for (int x = b.left; x < b.right; ++x) Put(x, y, v);
    }
    void Random(std::mt19937& rng) {
        const Rect& b = get().bounds;
        for (int y = b.top; y < b.bottom; ++y)
            for (int x = b.left; x < b.right; ++x) Put(x, y, uint32_t(rng()));
    }
};

inline Rect R(int top, int left, int bottom, int right) {
    return Rect{int16_t(top), int16_t(left), int16_t(bottom), int16_t(right)};
}
