// Windows bitmaps: files ("BM" and the 14-byte file header first) and the
// device-independent bitmaps of the clipboard (the information header first).
// Core, version 3, 4 and 5 headers and the 64-byte OS/2 one; 1, 4, 8, 16, 24 and 32 bits; plain rows,
// 8- and 4-bit run lengths and bit fields; rows bottom-up or top-down.
// Process-wide state: the scan progress display (reads).
#pragma once
#include <cstddef>
#include <cstdint>

struct a_picture_scan_rec;

// Failure codes of Scan_BMP_2 (0 is success).
enum : int {
    BMP_SHORT = 2,          // the headers are cut short
    BMP_NOT_BMP = 3,        // a file without "BM"
    BMP_BAD_HEADER = 4,     // an information header of unknown size
    BMP_BAD_FORMAT = 5,     // bits per pixel, size or row order out of range
    BMP_BAD_PALETTE = 7,    // more colours than 256, or fewer bytes than it claims
    BMP_BAD_PIXELS = 8,     // pixel data missing, short, or before the headers
    BMP_BAD_COMPRESSION = 9 // a compression other than plain, run lengths or bit fields
};

// Up to 8 bits per pixel decode to an 8-bit body with the palette; deeper
// pictures to 32-bit, with a mask when an alpha bit field carries coverage.
[[nodiscard]] int Scan_BMP_2(bool alerts, bool isfile, const uint8_t* data, size_t size,
               a_picture_scan_rec& scan);
