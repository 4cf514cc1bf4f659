// Pixel maps for tests: owned maps, filled and read by coordinates.
#pragma once
#include <cstdint>
#include <random>

#include "pixels/pixcursor.h"
#include "pixels/pixmap.h"

// A bare map that frees itself.
struct a_test_map {
    PixMap pm;
    a_test_map(const Rect& bounds, int depth, CTabHandle ctab = nullptr) {
        New_PixMap(pm, bounds, depth, ctab);
    }
    ~a_test_map() { Dispose_PixMap(pm); }
    a_test_map(const a_test_map&) = delete;
    a_test_map& operator=(const a_test_map&) = delete;
    uint32_t Get(int x, int y) const { return Row_GetDot(PixMap_Row(pm, y), pm.pixelSize, x - pm.bounds.left); }
    void Put(int x, int y, uint32_t v) { Row_PutDot(PixMap_Row(pm, y), pm.pixelSize, x - pm.bounds.left, v); }
    void Fill(uint32_t v) {
        for (int y = pm.bounds.top; y < pm.bounds.bottom; ++y)
            for (int x = pm.bounds.left; x < pm.bounds.right; ++x) Put(x, y, v);
    }
    void Random(std::mt19937& rng) {
        for (int y = pm.bounds.top; y < pm.bounds.bottom; ++y)
            for (int x = pm.bounds.left; x < pm.bounds.right; ++x) Put(x, y, uint32_t(rng()));
    }
};

inline Rect R(int top, int left, int bottom, int right) {
    return Rect{int16_t(top), int16_t(left), int16_t(bottom), int16_t(right)};
}
