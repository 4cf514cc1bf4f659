// Golden pictures: a 32-bit picture compared with tests/golden/NAME.png
// within a tolerance. Running with CIRQUEL_UPDATE_GOLDENS=1 in the
// environment (scripts/update-goldens) rewrites the files instead; a normal
// run never does. On a mismatch the picture made is left in the temporary
// folder for a look.
#pragma once
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/files.h"
#include "platform/png.h"

inline testing::AssertionResult Matches_Golden(const std::string& name, const a_port_bits& bits) {
    std::string path = std::string(CIRQUEL_SOURCE_DIR) + "/tests/golden/" + name + ".png";
    const char* update = std::getenv("CIRQUEL_UPDATE_GOLDENS");
    std::string error;
    if (update && std::string(update) == "1") {
        if (!Png_Write(path, bits, &error)) return testing::AssertionFailure() << error;
        return testing::AssertionSuccess() << "rewrote " << path;
    }
    a_png_image golden;
    if (!Png_Read(path, golden, &error)) return testing::AssertionFailure() << error;
    int w = Rect_Width(bits.bounds), h = Rect_Height(bits.bounds);
    if (golden.width != w || golden.height != h)
        return testing::AssertionFailure() << name << ": " << w << " x " << h << ", golden "
                                           << golden.width << " x " << golden.height;
    // A channel may differ by 8; at most 1 pixel in 2000 may differ more.
    long bad = 0;
    for (int y = 0; y < h; ++y) {
        const uint8_t* row = bits.base + size_t(y) * size_t(bits.rowbytes);
        for (int x = 0; x < w; ++x) {
            uint32_t want = golden.pixels[size_t(y) * size_t(w) + size_t(x)];
            for (int k = 0; k < 3; ++k) {
                int got = row[4 * x + k], expect = int((want >> (8 * k)) & 0xFF);
                if (std::abs(got - expect) > 8) {
                    ++bad;
                    break;
                }
            }
        }
    }
    if (bad * 2000 <= long(w) * h) return testing::AssertionSuccess();
    std::string made = Temp_Folder() + "/" + name + ".actual.png";
    if (!Png_Write(made, bits, nullptr, a_png_effort::FAST)) made = "nothing (could not write " + made + ")";
    return testing::AssertionFailure() << name << ": " << bad << " pixels differ; made " << made;
}
