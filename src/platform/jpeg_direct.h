// Plain colour JPEG decoded straight into 32-bit rows by the JPEG library,
// without the toolkit's intermediate 24-bit rows and their conversion: the
// same pixels, written once. Everything else is left to the toolkit.
// Process-wide state: none.
#pragma once
#include <cstddef>
#include <cstdint>

// The file's pixel density as its JFIF header states it.
struct a_jpeg_density {
    int unit = 0;  // 0: none (an aspect ratio), 1: per inch, 2: per centimetre
    int x = 0;
    int y = 0;
    bool incomplete = false;  // the data ended early or broke off: the library filled in the rest
};

// Decodes a three-component (YCbCr or RGB) JPEG into `dst` (rows of
// `rowbytes`; bytes blue, green, red, 255) at `eighths` / 8 of its size,
// which must come to exactly `width` × `height` (the library rounds each side
// up). False, with `dst` in no particular state, for any other picture or
// damage the library refuses.
[[nodiscard]] bool Jpeg_Decode_Direct(const uint8_t* data, size_t size, int width, int height,
                                      uint8_t* dst, int rowbytes, a_jpeg_density& density,
                                      int eighths = 8);
