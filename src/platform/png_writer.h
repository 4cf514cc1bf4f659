// A fast PNG encoder for pictures written for a person to look at now: one
// fixed row filter and the quickest zlib level, which take a fraction of the
// time of the toolkit's writer for files somewhat larger.
// Process-wide state: none.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Rows of 32-bit native pixels (bytes blue, green, red, alpha); the alpha
// byte is written only when `alpha` (straight, not premultiplied), else the
// file is opaque RGB.
struct a_png_rows {
    const uint8_t* base = nullptr;
    int width = 0;
    int height = 0;
    size_t rowbytes = 0;
    bool alpha = false;
};

// The whole file in `out`; false with a message for a picture without rows
// or beyond the format's limits.
[[nodiscard]] bool Png_Encode_Fast(const a_png_rows& rows, std::vector<uint8_t>& out,
                                   std::string* error = nullptr);
// Encodes and saves through the atomic save: a failed save leaves any
// previous file intact.
[[nodiscard]] bool Png_Save_Fast(const std::string& path, const a_png_rows& rows,
                                 std::string* error = nullptr);
