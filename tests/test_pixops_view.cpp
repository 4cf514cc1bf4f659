// One picture of the pixel operations a person can judge at a glance: a
// bilinear rotation composited by its fourth byte, a feathered deep-mask
// copy, nearest and filtered enlargements, and an HSV pull, against a golden.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "golden_image.h"
#include "pixmap_fixtures.h"
#include "pixels/blit.h"
#include "pixels/hq_blit.h"
#include "pixels/pixcolor.h"
#include "pixels/syspix.h"

namespace {

// Colour gradients under a checker of stripes, with a white disc in the middle.
void Paint_Pattern(a_test_map& m) {
    int w = Rect_Width(m.get().bounds), h = Rect_Height(m.get().bounds);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint32_t r = uint32_t(x * 255 / (w - 1)), g = uint32_t(y * 255 / (h - 1));
            uint32_t b = ((x / 12 + y / 12) % 2) ? 255 : 40;
            double dx = x - w / 2.0, dy = y - h / 2.0;
            if (dx * dx + dy * dy < (h / 3.5) * (h / 3.5)) r = g = b = 250;
            m.Put(x, y, 0xFF000000 | r << 16 | g << 8 | b);
        }
}

}  // namespace

TEST(PixOpsView, OperationsComposedOntoOnePicture) {
    a_test_map pic(R(0, 0, 360, 480), 32), pat(R(0, 0, 120, 160), 32);
    for (int y = 0; y < 360; ++y)
        for (int x = 0; x < 480; ++x) pic.Put(x, y, ((x / 10 + y / 10) % 2) ? 0xC0C0C0 : 0x909090);
    Paint_Pattern(pat);

    PixMap rot;
    PixMap_Rotate(BILINEAR, true, 300, pat.get(), rot);
    Rect at = R(5, 5, 5 + Rect_Height(rot.bounds), 5 + Rect_Width(rot.bounds));
    Pix_To_Pix(rot, pic.get(), rot.bounds, at, ALPHA, nullptr);
    Dispose_PixMap(rot);

    a_test_map mask(R(0, 0, 120, 160), 8, gray_ctable);
    for (int y = 0; y < 120; ++y)
        for (int x = 0; x < 160; ++x) {
            double r = std::hypot(x - 80.0, y - 60.0);
            mask.Put(x, y, uint32_t(std::clamp((58 - r) / 14.0, 0.0, 1.0) * 255));
        }
    Pix_To_PixM(pat.get(), mask.get(), pic.get(), pat.get().bounds, mask.get().bounds, R(10, 300, 130, 460));

    Rect corner = R(6, 90, 26, 120);  // a few stripes: hard edges, then soft ones
    Pix_To_Pix(pat.get(), pic.get(), corner, R(200, 10, 360, 250), srcCopy, nullptr);
    Bicubic_Blt(pat.get(), pic.get(), corner, R(200, 240, 360, 480));

    PixMap32_HSV(pat.get(), 120, 50, 40, 50);
    Pix_To_Pix(pat.get(), pic.get(), pat.get().bounds, R(140, 300, 200, 380), srcCopy, nullptr);

    a_port_bits bits{pic.get().baseAddr, PixMap_RowBytes(pic.get()), 32, pic.get().bounds};
    EXPECT_TRUE(Matches_Golden("pixops_composite", bits));
}
