#include "image_fixtures.h"

#include <algorithm>
#include <cstdio>

void Add16BE(a_bytes& b, unsigned v) {
    b.push_back(uint8_t(v >> 8));
    b.push_back(uint8_t(v));
}
void Add32BE(a_bytes& b, uint32_t v) {
    Add16BE(b, v >> 16);
    Add16BE(b, v & 0xFFFF);
}
void Add16LE(a_bytes& b, unsigned v) {
    b.push_back(uint8_t(v));
    b.push_back(uint8_t(v >> 8));
}
void Add32LE(a_bytes& b, uint32_t v) {
    Add16LE(b, v & 0xFFFF);
    Add16LE(b, v >> 16);
}
void AddTag(a_bytes& b, const char* four) { b.insert(b.end(), four, four + 4); }

a_bytes Pack_Row(const a_bytes& row) {
    a_bytes out;
    bool same = true;
    for (uint8_t v : row) same &= v == row[0];
    if (same && row.size() >= 2 && row.size() <= 128) {
        out.push_back(uint8_t(257 - row.size()));
        out.push_back(row[0]);
        return out;
    }
    for (size_t i = 0; i < row.size(); i += 128) {
        size_t n = std::min<size_t>(128, row.size() - i);
        out.push_back(uint8_t(n - 1));
        out.insert(out.end(), row.begin() + long(i), row.begin() + long(i + n));
    }
    return out;
}

namespace {

void Add_Chunk(a_bytes& b, const char* id, const a_bytes& data) {
    AddTag(b, id);
    Add32BE(b, uint32_t(data.size()));
    b.insert(b.end(), data.begin(), data.end());
    if (data.size() & 1) b.push_back(0);
}

// One stored IFF row of row y.
a_bytes IFF_Row(const a_iff_spec& s, int y) {
    a_bytes row;
    if (s.pbm) {
        for (int x = 0; x < s.w; ++x) row.push_back(s.pixels[size_t(y * s.w + x)]);
        if (s.w & 1) row.push_back(0);
        return row;
    }
    int plane_len = (s.w + 15) / 16 * 2;
    int planes = std::min(s.planes, 8) + (s.mask.empty() ? 0 : 1);
    for (int p = 0; p < planes; ++p) {
        a_bytes plane(size_t(plane_len), 0);
        for (int x = 0; x < s.w; ++x) {
            bool bit = p < std::min(s.planes, 8) ? (s.pixels[size_t(y * s.w + x)] >> p) & 1
                                                  : s.mask[size_t(y * s.w + x)] != 0;
            if (bit) plane[size_t(x / 8)] |= uint8_t(0x80 >> (x % 8));
        }
        row.insert(row.end(), plane.begin(), plane.end());
    }
    return row;
}

}  // namespace

a_bytes Make_IFF(const a_iff_spec& s) {
    a_bytes bmhd;
    Add16BE(bmhd, unsigned(s.w));
    Add16BE(bmhd, unsigned(s.h));
    Add32BE(bmhd, 0);
    bmhd.push_back(uint8_t(s.planes));
    bmhd.push_back(uint8_t(s.mask.empty() ? s.masking : 1));
    bmhd.push_back(s.packed ? 1 : 0);
    bmhd.push_back(0);
    Add16BE(bmhd, unsigned(s.transparent));
    bmhd.push_back(10);
    bmhd.push_back(11);
    Add16BE(bmhd, unsigned(s.w));
    Add16BE(bmhd, unsigned(s.h));
    a_bytes body;
    for (int y = 0; y < s.h; ++y) {
        a_bytes row = IFF_Row(s, y);
        if (s.packed) row = Pack_Row(row);
        body.insert(body.end(), row.begin(), row.end());
    }
    a_bytes form;
    AddTag(form, s.pbm ? "PBM " : "ILBM");
    Add_Chunk(form, "BMHD", bmhd);
    if (!s.cmap.empty()) Add_Chunk(form, "CMAP", s.cmap);
    if (s.odd_chunk) Add_Chunk(form, "ANNO", a_bytes{'h', 'i', '!'});
    if (s.camg) {
        a_bytes camg;
        Add32BE(camg, s.camg);
        Add_Chunk(form, "CAMG", camg);
    }
    Add_Chunk(form, "BODY", body);
    a_bytes out;
    AddTag(out, "FORM");
    Add32BE(out, uint32_t(form.size()));
    out.insert(out.end(), form.begin(), form.end());
    return out;
}

a_bytes Make_BMP(const a_bmp_spec& s) {
    a_bytes info;
    bool core = s.header == 12;
    bool fields = s.alpha || s.compression == 3;
    Add32LE(info, uint32_t(s.header));
    if (core) {
        Add16LE(info, unsigned(s.w));
        Add16LE(info, unsigned(s.h));
        Add16LE(info, 1);
        Add16LE(info, unsigned(s.bpp));
    } else {
        Add32LE(info, uint32_t(s.w));
        Add32LE(info, uint32_t(s.top_down ? -s.h : s.h));
        Add16LE(info, 1);
        Add16LE(info, unsigned(s.bpp));
        Add32LE(info, fields ? 3 : s.compression);
        Add32LE(info, 0);
        Add32LE(info, 11811);  // 300 dpi
        Add32LE(info, 2835);   // 72 dpi
        Add32LE(info, uint32_t(s.palette.size()));
        Add32LE(info, 0);
        if (s.header >= 108) {
            Add32LE(info, 0x00FF0000);
            Add32LE(info, 0x0000FF00);
            Add32LE(info, 0x000000FF);
            Add32LE(info, s.alpha ? 0xFF000000 : 0);
        } else if (fields) {
            info.resize(size_t(s.header), 0);
            Add32LE(info, 0x00FF0000);
            Add32LE(info, 0x0000FF00);
            Add32LE(info, 0x000000FF);
        }
        if (info.size() < size_t(s.header)) info.resize(size_t(s.header), 0);
    }
    for (uint32_t c : s.palette) {
        info.push_back(uint8_t(c));
        info.push_back(uint8_t(c >> 8));
        info.push_back(uint8_t(c >> 16));
        if (!core) info.push_back(0);
    }
    a_bytes pixels = s.rle;
    if (s.rle.empty()) {
        size_t stride = (size_t(s.w) * s.bpp + 31) / 32 * 4;
        for (int i = 0; i < s.h; ++i) {
            int y = s.top_down ? i : s.h - 1 - i;
            a_bytes row(stride, 0);
            for (int x = 0; x < s.w; ++x) {
                uint32_t v = s.pixels[size_t(y * s.w + x)];
                if (s.bpp == 8) row[size_t(x)] = uint8_t(v);
                else if (s.bpp == 4) row[size_t(x / 2)] |= uint8_t(v << ((x & 1) ? 0 : 4));
                else if (s.bpp == 1) row[size_t(x / 8)] |= uint8_t((v & 1) << (7 - x % 8));
                else
                    for (int k = 0; k < s.bpp / 8; ++k) row[size_t(x * s.bpp / 8 + k)] = uint8_t(v >> (8 * k));
            }
            pixels.insert(pixels.end(), row.begin(), row.end());
        }
    }
    a_bytes out;
    if (s.file) {
        out = {'B', 'M'};
        Add32LE(out, uint32_t(14 + info.size() + pixels.size()));
        Add32LE(out, 0);
        Add32LE(out, uint32_t(14 + info.size()));
    }
    out.insert(out.end(), info.begin(), info.end());
    out.insert(out.end(), pixels.begin(), pixels.end());
    return out;
}

a_bytes Make_PSD(const a_psd_spec& s) {
    a_bytes out;
    AddTag(out, "8BPS");
    Add16BE(out, 1);
    out.insert(out.end(), 6, 0);
    Add16BE(out, unsigned(s.channels.size()));
    Add32BE(out, uint32_t(s.h));
    Add32BE(out, uint32_t(s.w));
    Add16BE(out, unsigned(s.depth));
    Add16BE(out, unsigned(s.mode));
    Add32BE(out, uint32_t(s.colour_data.size()));
    out.insert(out.end(), s.colour_data.begin(), s.colour_data.end());
    a_bytes res;
    if (s.dpi) {
        AddTag(res, "8BIM");
        Add16BE(res, 0x03ED);
        Add16BE(res, 0);
        Add32BE(res, 16);
        for (int k = 0; k < 2; ++k) {
            Add32BE(res, uint32_t(s.dpi) << 16);
            Add16BE(res, 1);
            Add16BE(res, 2);
        }
        AddTag(res, "8BIM");  // a record the reader does not know, with a name
        Add16BE(res, 0x0400);
        res.push_back(3);
        res.insert(res.end(), {'a', 'b', 'c'});
        Add32BE(res, 3);
        res.insert(res.end(), {1, 2, 3, 0});
    }
    Add32BE(out, uint32_t(res.size()));
    out.insert(out.end(), res.begin(), res.end());
    if (s.merged_alpha) {
        Add32BE(out, 8);
        Add32BE(out, 2);
        Add16BE(out, 0xFFFF);  // layer count -1
        Add16BE(out, 0);
    } else {
        Add32BE(out, 0);
    }
    Add16BE(out, s.rle ? 1 : 0);
    if (!s.rle) {
        for (const a_bytes& c : s.channels) out.insert(out.end(), c.begin(), c.end());
        return out;
    }
    std::vector<a_bytes> rows;
    for (const a_bytes& c : s.channels)
        for (int y = 0; y < s.h; ++y)
            rows.push_back(Pack_Row(a_bytes(c.begin() + y * s.w, c.begin() + (y + 1) * s.w)));
    for (const a_bytes& r : rows) Add16BE(out, unsigned(r.size()));
    for (const a_bytes& r : rows) out.insert(out.end(), r.begin(), r.end());
    return out;
}

a_bytes Make_GIF(int w, int h, const std::vector<uint8_t>& pixels,
                 const std::vector<uint32_t>& palette, int transparent) {
    a_bytes out = {'G', 'I', 'F', '8', '9', 'a'};
    Add16LE(out, unsigned(w));
    Add16LE(out, unsigned(h));
    out.insert(out.end(), {0xF7, 0, 0});  // global table of 256
    for (int k = 0; k < 256; ++k) {
        uint32_t c = k < int(palette.size()) ? palette[size_t(k)] : 0;
        out.insert(out.end(), {uint8_t(c >> 16), uint8_t(c >> 8), uint8_t(c)});
    }
    if (transparent >= 0)
        out.insert(out.end(), {0x21, 0xF9, 4, 1, 0, 0, uint8_t(transparent), 0});
    out.push_back(0x2C);
    Add32LE(out, 0);
    Add16LE(out, unsigned(w));
    Add16LE(out, unsigned(h));
    out.push_back(0);
    out.push_back(8);  // minimum code size
    // 9-bit codes, a clear code before every 254 literals so the table never grows.
    a_bytes codes;
    uint32_t acc = 0;
    int nbits = 0;
    auto put = [&](unsigned code) {
        acc |= code << nbits;
        nbits += 9;
        while (nbits >= 8) {
            codes.push_back(uint8_t(acc));
            acc >>= 8;
            nbits -= 8;
        }
    };
    for (size_t i = 0; i < pixels.size(); ++i) {
        if (i % 254 == 0) put(256);
        put(pixels[i]);
    }
    put(257);
    if (nbits > 0) codes.push_back(uint8_t(acc));
    for (size_t i = 0; i < codes.size(); i += 255) {
        size_t n = std::min<size_t>(255, codes.size() - i);
        out.push_back(uint8_t(n));
        out.insert(out.end(), codes.begin() + long(i), codes.begin() + long(i + n));
    }
    out.push_back(0);
    out.push_back(0x3B);
    return out;
}

namespace {

// One IFD entry of a single short or long value, in the file's byte order.
void Add_Entry(a_bytes& b, bool be, unsigned tag, unsigned type, uint32_t count, uint32_t value) {
    auto a16 = [&](unsigned v) { be ? Add16BE(b, v) : Add16LE(b, v); };
    auto a32 = [&](uint32_t v) { be ? Add32BE(b, v) : Add32LE(b, v); };
    a16(tag);
    a16(type);
    a32(count);
    if (type == 3 && count == 1) {
        a16(value);
        a16(0);
    } else {
        a32(value);
    }
}

uint32_t Crc32(const uint8_t* p, size_t n) {
    uint32_t c = 0xFFFFFFFF;
    for (size_t i = 0; i < n; ++i) {
        c ^= p[i];
        for (int k = 0; k < 8; ++k) c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1)));
    }
    return ~c;
}

}  // namespace

a_bytes Make_TIFF(int w, int h, const std::vector<uint32_t>& pixels, int orientation, bool be) {
    const unsigned n = orientation ? 10 : 9;
    const uint32_t bps_at = 8 + 2 + 12 * n + 4, data_at = bps_at + 6;
    a_bytes b;
    b.insert(b.end(), be ? "MM" : "II", (be ? "MM" : "II") + 2);
    be ? Add16BE(b, 42) : Add16LE(b, 42);
    be ? Add32BE(b, 8) : Add32LE(b, 8);
    be ? Add16BE(b, n) : Add16LE(b, n);
    Add_Entry(b, be, 256, 3, 1, uint32_t(w));
    Add_Entry(b, be, 257, 3, 1, uint32_t(h));
    Add_Entry(b, be, 258, 3, 3, bps_at);           // bits per sample: 8, 8, 8
    Add_Entry(b, be, 259, 3, 1, 1);                // no compression
    Add_Entry(b, be, 262, 3, 1, 2);                // RGB
    Add_Entry(b, be, 273, 4, 1, data_at);          // the one strip
    if (orientation) Add_Entry(b, be, 274, 3, 1, uint32_t(orientation));
    Add_Entry(b, be, 277, 3, 1, 3);                // samples per pixel
    Add_Entry(b, be, 278, 3, 1, uint32_t(h));      // rows per strip
    Add_Entry(b, be, 279, 4, 1, uint32_t(w * h * 3));
    be ? Add32BE(b, 0) : Add32LE(b, 0);  // no further directory
    for (int k = 0; k < 3; ++k) be ? Add16BE(b, 8) : Add16LE(b, 8);
    for (uint32_t p : pixels) b.insert(b.end(), {uint8_t(p >> 16), uint8_t(p >> 8), uint8_t(p)});
    return b;
}

a_bytes Exif_Block(int orientation) {
    a_bytes b = {'I', 'I', 42, 0};
    Add32LE(b, 8);
    Add16LE(b, 1);
    Add_Entry(b, false, 0x0112, 3, 1, uint32_t(orientation));
    Add32LE(b, 0);
    return b;
}

a_bytes Webp_With_Exif(const a_bytes& simple, int w, int h, const a_bytes& exif) {
    a_bytes image(simple.begin() + 12, simple.end());  // the image chunk, after RIFF....WEBP
    a_bytes body;
    AddTag(body, "WEBP");
    AddTag(body, "VP8X");
    Add32LE(body, 10);
    body.insert(body.end(), {0x08, 0, 0, 0});  // flags: EXIF present
    auto add24 = [&](uint32_t v) { body.insert(body.end(), {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16)}); };
    add24(uint32_t(w - 1));
    add24(uint32_t(h - 1));
    body.insert(body.end(), image.begin(), image.end());
    AddTag(body, "EXIF");
    Add32LE(body, uint32_t(exif.size()));
    body.insert(body.end(), exif.begin(), exif.end());
    if (exif.size() & 1) body.push_back(0);
    a_bytes b;
    AddTag(b, "RIFF");
    Add32LE(b, uint32_t(body.size()));
    b.insert(b.end(), body.begin(), body.end());
    return b;
}

a_bytes Png_Chunk(const char* type, const a_bytes& data) {
    a_bytes chunk;
    Add32BE(chunk, uint32_t(data.size()));
    AddTag(chunk, type);
    chunk.insert(chunk.end(), data.begin(), data.end());
    Add32BE(chunk, Crc32(chunk.data() + 4, chunk.size() - 4));
    return chunk;
}

a_bytes Png_With_Exif(const a_bytes& png, const a_bytes& exif) {
    const size_t after_ihdr = 8 + 12 + 13;
    const a_bytes chunk = Png_Chunk("eXIf", exif);
    a_bytes b(png.begin(), png.begin() + long(after_ihdr));
    b.insert(b.end(), chunk.begin(), chunk.end());
    b.insert(b.end(), png.begin() + long(after_ihdr), png.end());
    return b;
}
