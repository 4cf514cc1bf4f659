// Good-quality resampling of 32-bit pixels (B, G, R, extra byte) held in
// memory of the caller's. Only the colour bytes of the destination change;
// its fourth bytes are kept.
// Process-wide state: none.
#pragma once
#include <cstdint>

struct a_pixel_view {
    uint8_t* base = nullptr;  // top-left pixel
    int32_t rowbytes = 0;
    int width = 0;
    int height = 0;
};

// The whole of `src` scaled onto the whole of `dst` (smooth: box-averaged
// when shrinking, bilinear when growing).
[[nodiscard]] bool Resample_Scale(const a_pixel_view& src, a_pixel_view& dst);

// `src` drawn onto `dst` through x' = m[0]x + m[1]y + m[2],
// y' = m[3]x + m[4]y + m[5] (pixel-edge coordinates of the two views),
// bilinear, with antialiased edges; only dst pixels inside [cx0, cx1) x
// [cy0, cy1) change.
[[nodiscard]] bool Resample_Affine(const a_pixel_view& src, a_pixel_view& dst, const double m[6], int cx0,
                     int cy0, int cx1, int cy1);
