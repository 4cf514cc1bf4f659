#include "images/psd_file.h"

#include <algorithm>
#include <cstring>

#include "artdb/compress.h"
#include "images/byte_reader.h"
#include "images/image_files.h"

namespace {

enum : uint16_t { MODE_GREY = 1, MODE_INDEXED = 2, MODE_RGB = 3 };
enum : uint16_t { RES_RESOLUTION = 0x03ED };

struct a_psd_header {
    uint16_t channels = 0;
    uint32_t height = 0, width = 0;
    uint16_t depth = 0, mode = 0;
    bool merged_alpha = false;  // the first extra channel is the composite's transparency
    int dpi_h = 0, dpi_v = 0;
};

int Colour_Channels(const a_psd_header& h) { return h.mode == MODE_RGB ? 3 : 1; }

[[nodiscard]] int Read_Header(a_byte_reader& r, a_psd_header& h) {
    if (!r.Has(26)) return PSD_SHORT;
    if (!r.Tag("8BPS")) return PSD_NOT_PSD;
    if (r.U16BE() != 1) return PSD_BAD_HEADER;
    (void)r.Skip(6);  // reserved; within the 26 bytes checked above
    h.channels = r.U16BE();
    h.height = r.U32BE();
    h.width = r.U32BE();
    h.depth = r.U16BE();
    h.mode = r.U16BE();
    if (h.channels < 1 || h.channels > 56 || h.width == 0 || h.height == 0) return PSD_BAD_HEADER;
    if (h.depth != 8 || (h.mode != MODE_GREY && h.mode != MODE_INDEXED && h.mode != MODE_RGB))
        return SCAN_DEEP_IMAGE;
    if (h.channels < Colour_Channels(h)) return PSD_BAD_HEADER;
    return 0;
}

int Fixed_Dpi(uint32_t fixed) { return int((fixed + 0x8000) >> 16); }

// The resolution record among the image resources.
void Read_Resources(const uint8_t* p, size_t len, a_psd_header& h) {
    a_byte_reader r{p, len};
    while (r.Has(12) && r.Tag("8BIM")) {
        uint16_t id = r.U16BE();
        uint8_t name_len = r.U8();
        // The name with its length byte is even; a short record fails the Take below.
        (void)r.Skip(name_len + ((name_len & 1) ? 0 : 1));
        uint32_t size = r.U32BE();
        const uint8_t* data = r.Take(size);
        if (!data) return;
        if (size & 1) (void)r.Skip(1);  // padding; a missing byte ends the loop
        if (id == RES_RESOLUTION && size >= 16) {
            a_byte_reader res{data, size};
            h.dpi_h = Fixed_Dpi(res.U32BE());
            (void)res.Skip(4);  // within the 16 bytes checked
            h.dpi_v = Fixed_Dpi(res.U32BE());
        }
    }
}

// A negative layer count says the first extra channel holds the transparency
// of the composite.
void Read_Layer_Info(const uint8_t* p, size_t len, a_psd_header& h) {
    a_byte_reader r{p, len};
    if (r.U32BE() == 0) return;
    auto count = int16_t(r.U16BE());
    h.merged_alpha = !r.failed && count < 0 && h.mode != MODE_INDEXED && h.channels > Colour_Channels(h);
}

// Indexed files keep their palette as 256 reds, 256 greens, 256 blues.
void Read_Palette(const uint8_t* p, size_t len, a_picture_scan_rec& scan) {
    if (len < 768) return;
    for (int k = 0; k < 256; ++k) scan.ctable[k] = a_win_pixel32{p[512 + k], p[256 + k], p[k], 0};
    scan.ncolors = 256;
}

[[nodiscard]] int Read_Sections(a_byte_reader& r, a_psd_header& h, a_picture_scan_rec& scan) {
    uint32_t len = r.U32BE();  // colour mode data
    const uint8_t* colours = r.Take(len);
    if (colours && h.mode == MODE_INDEXED) Read_Palette(colours, len, scan);
    len = r.U32BE();
    const uint8_t* res = r.Take(len);
    if (res) Read_Resources(res, len, h);
    len = r.U32BE();
    const uint8_t* layers = r.Take(len);
    if (layers) Read_Layer_Info(layers, len, h);
    return r.failed ? PSD_SHORT : 0;
}

// Row y of channel c into the body: indices as they are; in a BGRA pixel
// the channel's byte (grey fills three, the extra channel the fourth).
void Put_Channel(const a_psd_header& h, int c, int y, const uint8_t* src, const PixMap& pm) {
    if (h.mode == MODE_INDEXED) {
        std::memcpy(PixMap_Row(pm, y), src, h.width);
        return;
    }
    auto* row = reinterpret_cast<a_win_pixel32*>(PixMap_Row(pm, y));
    int colours = Colour_Channels(h);
    for (uint32_t x = 0; x < h.width; ++x) {
        a_win_pixel32& px = row[x];
        if (c == colours) px.a = src[x];
        else if (colours == 1) px.r = px.g = px.b = src[x];
        else (c == 0 ? px.r : c == 1 ? px.g : px.b) = src[x];
    }
}

[[nodiscard]] int Read_Raw(a_byte_reader& r, const a_psd_header& h, int nread, a_picture_scan_rec& scan) {
    size_t plane = size_t(h.width) * h.height;
    const PixMap& pm = scan.body.fore->pix;
    for (int c = 0; c < nread; ++c)
        for (uint32_t y = 0; y < h.height; ++y) {
            Scan_Progress(int(h.height), int(y));
            const uint8_t* src = r.data + r.pos + plane * c + size_t(y) * h.width;
            Put_Channel(h, c, int(y), src, pm);
        }
    return 0;
}

// The table of packed row lengths, every channel's rows, must be there; the
// rows read must each be long enough to unpack a whole row (two bytes per
// run of 128 at best) and together fit in what follows the table.
[[nodiscard]] bool Counts_Fit(const a_byte_reader& r, const a_psd_header& h, int nread) {
    size_t table = size_t(h.channels) * h.height * 2;
    if (r.Left() < table) return false;
    const uint8_t* counts = r.data + r.pos;
    size_t least = (size_t(h.width) + 127) / 128 * 2, total = 0;
    for (size_t k = 0; k < size_t(nread) * h.height; ++k) {
        size_t n = size_t(counts[2 * k] << 8 | counts[2 * k + 1]);
        if (n < least) return false;
        total += n;
    }
    return total <= r.Left() - table;
}

[[nodiscard]] int Read_RLE(a_byte_reader& r, const a_psd_header& h, int nread, a_picture_scan_rec& scan) {
    const uint8_t* counts = r.Take(size_t(h.channels) * h.height * 2);
    std::vector<uint8_t> line(h.width);
    const PixMap& pm = scan.body.fore->pix;
    for (int c = 0; c < nread; ++c)
        for (uint32_t y = 0; y < h.height; ++y) {
            Scan_Progress(int(h.height), int(y));
            size_t k = size_t(c) * h.height + y;
            size_t n = size_t(counts[2 * k] << 8 | counts[2 * k + 1]);
            const uint8_t* src = r.Take(n);
            if (!src || !PackBits_Unpack(src, n, line.data(), h.width)) return PSD_BAD_PIXELS;
            Put_Channel(h, c, int(y), line.data(), pm);
        }
    return 0;
}

[[nodiscard]] int Read_Image(bool alerts, a_byte_reader& r, const a_psd_header& h, a_picture_scan_rec& scan) {
    uint16_t compression = r.U16BE();
    if (r.failed) return PSD_SHORT;
    if (compression > 1) return PSD_BAD_COMPRESSION;
    int nread = Colour_Channels(h) + (h.merged_alpha ? 1 : 0);
    int err = Scan_Check_Size(alerts, int(std::min<uint32_t>(h.width, SCAN_MAX_WIDTH)),
                              int(std::min<uint32_t>(h.height, SCAN_MAX_HEIGHT + 1u)));
    if (err != SCAN_OK) return err;
    // The data must hold what the header claims before anything is made for it.
    if (compression == 0 && r.Left() < uint64_t(h.width) * h.height * nread) return PSD_BAD_PIXELS;
    if (compression == 1 && !Counts_Fit(r, h, nread)) return PSD_BAD_PIXELS;
    err = Scan_New_Body(alerts, int(h.width), int(h.height), h.mode == MODE_INDEXED ? 8 : 32, scan);
    if (err != SCAN_OK) return err;
    if (!h.merged_alpha && h.mode != MODE_INDEXED) {
        auto* px = reinterpret_cast<a_win_pixel32*>(scan.body.fore->pix.baseAddr);
        size_t n = PixMap_Len(scan.body.fore->pix) / 4;
        for (size_t i = 0; i < n; ++i) px[i].a = 255;
    }
    err = compression == 0 ? Read_Raw(r, h, nread, scan) : Read_RLE(r, h, nread, scan);
    if (err == 0 && h.merged_alpha) Scan_Alpha_Mask(scan);
    return err;
}

void Put_Resolution(std::vector<uint8_t>& out, int dpi) {
    Put_U32BE(out, 28);  // the resources section: one record
    Put_Tag(out, "8BIM");
    Put_U16BE(out, RES_RESOLUTION);
    Put_U16BE(out, 0);  // empty name, padded to even
    Put_U32BE(out, 16);
    for (int axis = 0; axis < 2; ++axis) {
        Put_U32BE(out, uint32_t(dpi) << 16);
        Put_U16BE(out, 1);  // pixels per inch
        Put_U16BE(out, 1);  // shown in inches
    }
}

}  // namespace

int Scan_PSD(bool alerts, const uint8_t* data, size_t size, a_picture_scan_rec& scan) {
    Null_Scan(scan);
    a_byte_reader r{data, size};
    a_psd_header h;
    int err = Read_Header(r, h);
    if (err == 0) err = Read_Sections(r, h, scan);
    if (err == 0) err = Read_Image(alerts, r, h, scan);
    if (err != 0) {
        Dispose_Scan(scan);
        return err;
    }
    scan.depth = int16_t(8 * (Colour_Channels(h) + (h.merged_alpha ? 1 : 0)));
    scan.dpi_h = h.dpi_h;
    scan.dpi_v = h.dpi_v;
    return 0;
}

bool Write_PSD(const PixMap& pm, int dpi, std::vector<uint8_t>& out) {
    if (pm.pixelSize != 32 || Rect_IsEmpty(pm.bounds) || dpi <= 0 || dpi > 0x7FFF) return false;
    int w = Rect_Width(pm.bounds), h = Rect_Height(pm.bounds);
    Put_Tag(out, "8BPS");
    Put_U16BE(out, 1);
    Put_Zeros(out, 6);
    Put_U16BE(out, 3);
    Put_U32BE(out, uint32_t(h));
    Put_U32BE(out, uint32_t(w));
    Put_U16BE(out, 8);
    Put_U16BE(out, MODE_RGB);
    Put_U32BE(out, 0);  // colour mode data
    Put_Resolution(out, dpi);
    Put_U32BE(out, 0);  // layers and masks
    Put_U16BE(out, 1);  // run-length
    size_t counts = out.size();
    Put_Zeros(out, size_t(3) * h * 2);
    std::vector<uint8_t> line(static_cast<size_t>(w)), packed;
    for (int c = 0; c < 3; ++c)
        for (int y = 0; y < h; ++y) {
            const auto* px = reinterpret_cast<const a_win_pixel32*>(PixMap_Row(pm, pm.bounds.top + y));
            for (int x = 0; x < w; ++x) line[x] = c == 0 ? px[x].r : c == 1 ? px[x].g : px[x].b;
            packed.clear();
            PackBits_Pack(line.data(), line.size(), packed);
            size_t k = counts + 2 * (size_t(c) * h + y);
            out[k] = uint8_t(packed.size() >> 8);
            out[k + 1] = uint8_t(packed.size());
            out.insert(out.end(), packed.begin(), packed.end());
        }
    return true;
}
