// JPEG through the toolkit's image codecs, on plain bytes and pixels.
// Pixels are 32-bit native (bytes blue, green, red, pad).
// Process-wide state: none.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// The picture size stated by the data, without decoding it.
[[nodiscard]] bool Jpeg_Size(const uint8_t* data, size_t size, int& width, int& height);
// Decodes into `dst`: `height` rows of `rowbytes` bytes. False when the data
// is not a JPEG of exactly `width` × `height`.
[[nodiscard]] bool Jpeg_Decode(const uint8_t* data, size_t size, int width, int height, uint8_t* dst,
                 int rowbytes);
// Encodes rows of `rowbytes` bytes at `quality` (0-100); the same input gives
// the same bytes.
[[nodiscard]] bool Jpeg_Encode(const uint8_t* pixels, int width, int height, int rowbytes, int quality,
                 std::vector<uint8_t>& out);
