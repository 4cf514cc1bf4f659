#include "platform/orientation.h"

#include <cstring>

namespace {

constexpr uint16_t kOrientationTag = 0x0112;
constexpr uint16_t kTypeShort = 3;

bool Has(const uint8_t* data, size_t size, size_t pos, const char* magic, size_t n) {
    return pos <= size && size - pos >= n && std::memcmp(data + pos, magic, n) == 0;
}

uint32_t Be32(const uint8_t* p) {
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

uint32_t Le32(const uint8_t* p) {
    return uint32_t(p[3]) << 24 | uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
}

// WebP: RIFF chunks of little-endian length, padded to even lengths.
int Webp_Orientation(const uint8_t* data, size_t size) {
    size_t pos = 12;
    while (pos <= size && size - pos >= 8) {
        size_t len = Le32(data + pos + 4);
        if (len > size - pos - 8) return 0;
        if (Has(data, size, pos, "EXIF", 4)) {
            const uint8_t* p = data + pos + 8;
            // Some writers keep the JPEG marker's "Exif\0\0" in front.
            if (Has(p, len, 0, "Exif\0\0", 6)) return Tiff_Orientation(p + 6, len - 6);
            return Tiff_Orientation(p, len);
        }
        pos += 8 + len + (len & 1);
    }
    return 0;
}

// PNG: chunks of big-endian length, type, data and a CRC.
int Png_Orientation(const uint8_t* data, size_t size) {
    size_t pos = 8;
    while (pos <= size && size - pos >= 12) {
        size_t len = Be32(data + pos);
        if (len > size - pos - 12) return 0;
        if (Has(data, size, pos + 4, "eXIf", 4)) return Tiff_Orientation(data + pos + 8, len);
        if (Has(data, size, pos + 4, "IEND", 4)) return 0;
        pos += 12 + len;
    }
    return 0;
}

}  // namespace

int Tiff_Orientation(const uint8_t* data, size_t size) {
    if (size < 8) return 0;
    bool le = Has(data, size, 0, "II*\0", 4);
    if (!le && !Has(data, size, 0, "MM\0*", 4)) return 0;
    auto u16 = [&](size_t at) { return le ? uint16_t(data[at] | data[at + 1] << 8) : uint16_t(data[at] << 8 | data[at + 1]); };
    auto u32 = [&](size_t at) { return le ? Le32(data + at) : Be32(data + at); };
    size_t ifd = u32(4);
    if (ifd > size - 2) return 0;
    size_t n = u16(ifd);
    if (n > (size - ifd - 2) / 12) return 0;
    for (size_t k = 0; k < n; ++k) {
        size_t e = ifd + 2 + 12 * k;
        if (u16(e) != kOrientationTag) continue;
        if (u16(e + 2) != kTypeShort || u32(e + 4) < 1) return 0;
        int v = u16(e + 8);  // a single short sits at the start of the value field
        return v >= 1 && v <= 8 ? v : 0;
    }
    return 0;
}

int Image_Orientation(const uint8_t* data, size_t size) {
    if (!data) return 0;
    if (Has(data, size, 0, "RIFF", 4) && Has(data, size, 8, "WEBP", 4))
        return Webp_Orientation(data, size);
    if (Has(data, size, 0, "\x89PNG\r\n\x1a\n", 8)) return Png_Orientation(data, size);
    return Tiff_Orientation(data, size);
}
