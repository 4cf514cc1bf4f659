// Photoshop files: the flattened composite of 8-bit RGB, greyscale and
// indexed files, raw or run-length, read; 8-bit RGB written with its
// resolution.
// Process-wide state: the scan progress display (reads).
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

struct a_picture_scan_rec;
struct PixMap;

// Failure codes of Scan_PSD (0 is success; SCAN_DEEP_IMAGE for other modes
// and depths).
enum : int {
    PSD_SHORT = 2,           // a section is cut short
    PSD_NOT_PSD = 3,         // no "8BPS"
    PSD_BAD_HEADER = 4,      // version, channel count or size out of range
    PSD_BAD_PIXELS = 8,      // image data shorter than the header claims
    PSD_BAD_COMPRESSION = 9  // neither raw nor run-length
};

// Decodes into a 32-bit body (8-bit with the palette for indexed files); the
// merged transparency channel, when the file has one, becomes the mask.
[[nodiscard]] int Scan_PSD(bool alerts, const uint8_t* data, size_t size, a_picture_scan_rec& scan);

// Appends a 32-bit map as an RGB Photoshop file, run-length packed, with
// `dpi` in its resolution record. False for another depth.
[[nodiscard]] bool Write_PSD(const PixMap& pm, int dpi, std::vector<uint8_t>& out);
