#include "images/bmp_reader.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "images/byte_reader.h"
#include "images/image_files.h"

namespace {

enum : uint32_t { BI_RGB = 0, BI_RLE8 = 1, BI_RLE4 = 2, BI_BITFIELDS = 3, BI_ALPHABITFIELDS = 6 };

struct a_bmp_header {
    uint32_t size = 0;
    int32_t width = 0;
    int32_t height = 0;
    uint16_t bpp = 0;
    uint32_t compression = BI_RGB;
    uint32_t xppm = 0, yppm = 0;
    uint32_t used = 0;
    uint32_t masks[4] = {};  // red, green, blue, alpha
    bool core = false;       // palette entries of three bytes
};

bool Known_Header_Size(uint32_t n) {
    return n == 12 || n == 40 || n == 52 || n == 56 || n == 64 || n == 108 || n == 124;
}

[[nodiscard]] int Read_Info(a_byte_reader& r, size_t start, a_bmp_header& h) {
    h.size = r.U32LE();
    if (r.failed) return BMP_SHORT;
    if (!Known_Header_Size(h.size)) return BMP_BAD_HEADER;
    if (h.size == 12) {
        h.core = true;
        h.width = r.U16LE();
        h.height = int16_t(r.U16LE());
        r.U16LE();  // planes
        h.bpp = r.U16LE();
    } else {
        h.width = int32_t(r.U32LE());
        h.height = int32_t(r.U32LE());
        r.U16LE();  // planes
        h.bpp = r.U16LE();
        h.compression = r.U32LE();
        r.U32LE();  // image size
        h.xppm = r.U32LE();
        h.yppm = r.U32LE();
        h.used = r.U32LE();
        r.U32LE();  // important colours
        int nmasks = h.size == 64 ? 0 : h.size >= 56 ? 4 : h.size >= 52 ? 3 : 0;
        for (int k = 0; k < nmasks; ++k) h.masks[k] = r.U32LE();
    }
    (void)r.Seek(start + h.size);  // past the end sets `failed`, answered below
    // Version 3 headers keep their bit fields after the header.
    if (h.size == 40 && (h.compression == BI_BITFIELDS || h.compression == BI_ALPHABITFIELDS))
        for (int k = 0; k < (h.compression == BI_ALPHABITFIELDS ? 4 : 3); ++k) h.masks[k] = r.U32LE();
    return r.failed ? BMP_SHORT : 0;
}

[[nodiscard]] int Check_Format(a_bmp_header& h) {
    // OS/2 headers of 64 bytes number Huffman and 24-bit run lengths 3 and 4.
    if (h.size == 64 && h.compression >= BI_BITFIELDS) return BMP_BAD_COMPRESSION;
    switch (h.compression) {
        case BI_RGB: break;
        case BI_RLE8: if (h.bpp != 8) return BMP_BAD_COMPRESSION; break;
        case BI_RLE4: if (h.bpp != 4) return BMP_BAD_COMPRESSION; break;
        case BI_BITFIELDS:
        case BI_ALPHABITFIELDS: if (h.bpp != 16 && h.bpp != 32) return BMP_BAD_COMPRESSION; break;
        default: return BMP_BAD_COMPRESSION;
    }
    if (h.bpp != 1 && h.bpp != 4 && h.bpp != 8 && h.bpp != 16 && h.bpp != 24 && h.bpp != 32)
        return BMP_BAD_FORMAT;
    if (h.width <= 0 || h.height == 0 || h.height == INT32_MIN) return BMP_BAD_FORMAT;
    bool rle = h.compression == BI_RLE8 || h.compression == BI_RLE4;
    if (rle && h.height < 0) return BMP_BAD_FORMAT;  // run lengths are bottom-up only
    if (h.compression == BI_RGB && h.bpp == 16) {
        h.masks[0] = 0x7C00, h.masks[1] = 0x03E0, h.masks[2] = 0x001F, h.masks[3] = 0;
    } else if (h.compression == BI_RGB && h.bpp == 32) {
        h.masks[0] = 0xFF0000, h.masks[1] = 0xFF00, h.masks[2] = 0xFF, h.masks[3] = 0;
    }
    return 0;
}

[[nodiscard]] int Read_Palette(a_byte_reader& r, const a_bmp_header& h, a_picture_scan_rec& scan) {
    uint32_t n = h.bpp <= 8 ? (h.used ? h.used : 1u << h.bpp) : h.used;
    if (n > 256 && h.bpp <= 8) return BMP_BAD_PALETTE;
    size_t entry = h.core ? 3 : 4;
    if (n > r.Left() / entry) return BMP_BAD_PALETTE;
    const uint8_t* p = r.Take(n * entry);
    if (h.bpp > 8) return 0;  // a suggestion for 8-bit displays; not needed
    for (uint32_t k = 0; k < n; ++k)
        scan.ctable[k] = a_win_pixel32{p[k * entry], p[k * entry + 1], p[k * entry + 2], 0};
    scan.ncolors = int16_t(n);
    return 0;
}

// One bit field of a pixel word scaled to 0..255; an empty field reads `none`.
struct a_field {
    uint32_t mask = 0;
    int shift = 0;
    uint32_t max = 0;
    uint8_t none = 0;
    explicit a_field(uint32_t m, uint8_t empty) : mask(m), none(empty) {
        if (!m) return;
        shift = std::countr_zero(m);
        max = m >> shift;
    }
    uint8_t Get(uint32_t v) const {
        if (!mask) return none;
        return uint8_t(uint64_t((v & mask) >> shift) * 255 / max);
    }
};

void Direct_Row(const a_bmp_header& h, const uint8_t* src, a_win_pixel32* dst) {
    if (h.bpp == 24) {
        for (int x = 0; x < h.width; ++x, src += 3) dst[x] = a_win_pixel32{src[0], src[1], src[2], 255};
        return;
    }
    a_field r(h.masks[0], 0), g(h.masks[1], 0), b(h.masks[2], 0), a(h.masks[3], 255);
    for (int x = 0; x < h.width; ++x) {
        uint32_t v;
        if (h.bpp == 16) {
            v = uint32_t(src[0] | src[1] << 8);
            src += 2;
        } else {
            v = uint32_t(src[0]) | uint32_t(src[1]) << 8 | uint32_t(src[2]) << 16 | uint32_t(src[3]) << 24;
            src += 4;
        }
        dst[x] = a_win_pixel32{b.Get(v), g.Get(v), r.Get(v), a.Get(v)};
    }
}

void Indexed_Row(const a_bmp_header& h, const uint8_t* src, uint8_t* dst) {
    for (int x = 0; x < h.width; ++x) {
        if (h.bpp == 8) dst[x] = src[x];
        else if (h.bpp == 4) dst[x] = (src[x >> 1] >> ((x & 1) ? 0 : 4)) & 0x0F;
        else dst[x] = (src[x >> 3] >> (7 - (x & 7))) & 1;
    }
}

size_t Stride(const a_bmp_header& h) { return (size_t(h.width) * h.bpp + 31) / 32 * 4; }

// Whether the data holds every row the header claims; the last row may lack
// its padding.
bool Rows_Present(const a_byte_reader& r, const a_bmp_header& h, int height) {
    size_t last = (size_t(h.width) * h.bpp + 7) / 8;
    return r.Left() >= last && (r.Left() - last) / Stride(h) >= size_t(height - 1);
}

void Plain_Rows(a_byte_reader& r, const a_bmp_header& h, int height, a_picture_scan_rec& scan) {
    size_t stride = Stride(h);
    const PixMap& pm = scan.body.fore->pix;
    for (int i = 0; i < height; ++i) {
        Scan_Progress(height, i);
        const uint8_t* src = r.data + r.pos + stride * size_t(i);
        int y = h.height < 0 ? i : height - 1 - i;
        if (h.bpp <= 8) Indexed_Row(h, src, PixMap_Row(pm, y));
        else Direct_Row(h, src, reinterpret_cast<a_win_pixel32*>(PixMap_Row(pm, y)));
    }
}

// Walks 8- and 4-bit run lengths, bottom-up, handing each pixel to put(x, y,
// index); `codes` counts the codes read and `rows` the rows the walk reached.
// Positions stop at the row's end, where every later pixel is dropped anyway.
template <class Put>
[[nodiscard]] int Walk_Runs(a_byte_reader r, const a_bmp_header& h, int height, bool report,
                            Put put, size_t& codes, int& rows) {
    bool four = h.compression == BI_RLE4;
    int x = 0, y = 0;
    auto pixel = [&](uint8_t v) {
        if (x < h.width) put(x++, y, v);
    };
    codes = 0;
    while (y < height && r.Has(2)) {
        uint8_t n = r.U8(), c = r.U8();
        ++codes;
        if (n > 0) {
            for (int k = 0; k < n; ++k) pixel(four ? ((k & 1) ? c & 0x0F : c >> 4) : c);
        } else if (c == 0) {
            x = 0, ++y;
            if (report) Scan_Progress(height, y);
        } else if (c == 1) {
            break;
        } else if (c == 2) {
            x = std::min(x + r.U8(), int(h.width));
            y += r.U8();
        } else {
            size_t bytes = four ? (c + 1u) / 2 : c;
            const uint8_t* p = r.Take(bytes + (bytes & 1));
            if (!p) return BMP_BAD_PIXELS;
            for (int k = 0; k < c; ++k) pixel(four ? ((k & 1) ? p[k / 2] & 0x0F : p[k / 2] >> 4) : p[k]);
        }
    }
    rows = std::min(height, y + 1);
    return r.failed ? BMP_BAD_PIXELS : 0;
}

// Before anything is made: every row needs a code of its own, and the codes
// must reach the last row, so a short stream cannot claim a huge picture.
[[nodiscard]] int Check_Runs(const a_byte_reader& r, const a_bmp_header& h, int height) {
    size_t codes = 0;
    int rows = 0;
    int err = Walk_Runs(r, h, height, false, [](int, int, uint8_t) {}, codes, rows);
    if (err == 0 && (rows < height || codes < size_t(height))) err = BMP_BAD_PIXELS;
    return err;
}

// Rows the codes skip stay index 0.
[[nodiscard]] int Run_Rows(const a_byte_reader& r, const a_bmp_header& h, int height,
                           a_picture_scan_rec& scan) {
    const PixMap& pm = scan.body.fore->pix;
    auto put = [&](int x, int y, uint8_t v) { PixMap_Row(pm, height - 1 - y)[x] = v; };
    size_t codes = 0;
    int rows = 0;
    return Walk_Runs(r, h, height, true, put, codes, rows);
}

int Dpi(uint32_t ppm) { return ppm > 1000000 ? 0 : int(std::lround(ppm * 0.0254)); }

[[nodiscard]] int Read_Pixels(bool alerts, a_byte_reader& r, const a_bmp_header& h, a_picture_scan_rec& scan) {
    int height = std::abs(h.height);
    bool rle = h.compression == BI_RLE8 || h.compression == BI_RLE4;
    int err = Scan_Check_Size(alerts, h.width, height);
    if (err != SCAN_OK) return err;
    if (!rle && !Rows_Present(r, h, height)) return BMP_BAD_PIXELS;
    if (rle && (err = Check_Runs(r, h, height)) != 0) return err;
    err = Scan_New_Body(alerts, h.width, height, h.bpp <= 8 ? 8 : 32, scan);
    if (err != SCAN_OK) return err;
    if (rle && (err = Run_Rows(r, h, height, scan)) != 0) return err;
    if (!rle) Plain_Rows(r, h, height, scan);
    if (h.bpp > 8 && h.masks[3]) Scan_Alpha_Mask(scan);
    return 0;
}

}  // namespace

int Scan_BMP_2(bool alerts, bool isfile, const uint8_t* data, size_t size,
               a_picture_scan_rec& scan) {
    Null_Scan(scan);
    a_byte_reader r{data, size};
    uint32_t offbits = 0;
    if (isfile) {
        if (!r.Has(14)) return BMP_SHORT;
        if (data[0] != 'B' || data[1] != 'M') return BMP_NOT_BMP;
        (void)r.Seek(10);  // within the 14 bytes checked above
        offbits = r.U32LE();
    }
    a_bmp_header h;
    int err = Read_Info(r, r.pos, h);
    if (err == 0) err = Check_Format(h);
    // A file says where its pixels start; deep pictures need no palette then.
    if (err == 0 && !(isfile && h.bpp > 8)) err = Read_Palette(r, h, scan);
    if (err == 0 && isfile && (offbits < 14 + h.size || !r.Seek(offbits))) err = BMP_BAD_PIXELS;
    if (err == 0) err = Read_Pixels(alerts, r, h, scan);
    if (err != 0) {
        Dispose_Scan(scan);
        return err;
    }
    scan.depth = int16_t(h.bpp);
    scan.dpi_h = Dpi(h.xppm);
    scan.dpi_v = Dpi(h.yppm);
    return 0;
}
