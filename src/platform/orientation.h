// The orientation tag (EXIF 0x0112) of image files whose decoders may ignore
// it: TIFF files, and the EXIF blocks of WebP ("EXIF" chunk) and PNG ("eXIf"
// chunk) files. Reads outside bytes: every offset is checked against the
// data before use.
// Process-wide state: none.
#pragma once
#include <cstddef>
#include <cstdint>

// The stored orientation, 1 (as stored) to 8; 0 when the data holds none
// or is not one of the formats above. 2 mirrors left-right, 3 turns half
// round, 4 mirrors top-bottom, 5 transposes, 6 turns a quarter clockwise,
// 7 transverses, 8 turns a quarter anticlockwise.
[[nodiscard]] int Image_Orientation(const uint8_t* data, size_t size);

// The orientation tag in a TIFF structure (the file itself, or an EXIF
// block without its "Exif\0\0" prefix); 0 when there is none.
[[nodiscard]] int Tiff_Orientation(const uint8_t* data, size_t size);
