#include "images/iff_reader.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "artdb/compress.h"
#include "images/byte_reader.h"
#include "images/image_files.h"

namespace {

// Amiga display modes of the CAMG chunk that change what the indices mean.
enum : uint32_t { CAMG_EHB = 0x80, CAMG_HAM = 0x800 };

struct a_iff_state {
    bool pbm = false;
    bool have_bmhd = false;
    bool have_cmap = false;
    uint32_t camg = 0;
    a_BMHD_rec bmhd;
};

[[nodiscard]] bool Read_BMHD(a_byte_reader r, a_BMHD_rec& h) {
    h.w = r.U16BE();
    h.h = r.U16BE();
    h.x = int16_t(r.U16BE());
    h.y = int16_t(r.U16BE());
    h.nplanes = r.U8();
    h.masking = r.U8();
    h.compression = r.U8();
    h.pad1 = r.U8();
    h.transparent = r.U16BE();
    h.xaspect = r.U8();
    h.yaspect = r.U8();
    h.pageWidth = int16_t(r.U16BE());
    h.pageHeight = int16_t(r.U16BE());
    return !r.failed;
}

void Read_CMAP(const uint8_t* p, size_t len, a_picture_scan_rec& scan) {
    for (a_win_pixel32& c : scan.ctable) c = a_win_pixel32{};
    size_t n = std::min<size_t>(len / 3, 256);
    for (size_t k = 0; k < n; ++k)
        scan.ctable[k] = a_win_pixel32{p[3 * k + 2], p[3 * k + 1], p[3 * k], 0};
    scan.ncolors = int16_t(n);
}

void Grey_Ramp(int nplanes, a_picture_scan_rec& scan) {
    int n = 1 << nplanes;
    for (int k = 0; k < n; ++k) {
        auto v = uint8_t(n > 1 ? k * 255 / (n - 1) : 0);
        scan.ctable[k] = a_win_pixel32{v, v, v, 0};
    }
}

// Bytes of one stored row: every plane (and the mask plane) of ILBM, or the
// chunky pixels of PBM, each padded to an even length.
size_t Row_Len(const a_iff_state& st) {
    size_t w = st.bmhd.w;
    if (st.pbm) return (w + 1) & ~size_t(1);
    size_t planes = st.bmhd.nplanes + (st.bmhd.masking == MASK_HASMASK ? 1 : 0);
    return planes * ((w + 15) / 16 * 2);
}

// One stored row into pixel indices (and mask coverage when there is a mask plane).
void Unplane_Row(const a_iff_state& st, const uint8_t* row, uint8_t* px, uint8_t* mask) {
    int w = st.bmhd.w;
    if (st.pbm) {
        std::memcpy(px, row, size_t(w));
        return;
    }
    size_t plane_len = (size_t(w) + 15) / 16 * 2;
    std::memset(px, 0, size_t(w));
    for (int p = 0; p < st.bmhd.nplanes; ++p) {
        const uint8_t* plane = row + size_t(p) * plane_len;
        for (int x = 0; x < w; ++x)
            if (plane[x >> 3] & (0x80 >> (x & 7))) px[x] |= uint8_t(1 << p);
    }
    if (!mask) return;
    const uint8_t* plane = row + size_t(st.bmhd.nplanes) * plane_len;
    for (int x = 0; x < w; ++x) mask[x] = (plane[x >> 3] & (0x80 >> (x & 7))) ? 255 : 0;
}

[[nodiscard]] int Check_BMHD(const a_iff_state& st) {
    const a_BMHD_rec& h = st.bmhd;
    if (h.nplanes > 8) return ILBM_TOO_DEEP;
    if (h.nplanes == 0 || (st.pbm && h.nplanes != 8)) return ILBM_BAD_HEADER;
    if (h.w == 0 || h.h == 0 || h.w > ILBM_MAX_WIDTH || h.h > INT16_MAX) return ILBM_BAD_HEADER;
    if (h.compression > COMP_RUN) return ILBM_BAD_HEADER;
    return 0;
}

[[nodiscard]] int Expand_Body(bool alerts, const a_iff_state& st, const uint8_t* body, size_t len,
                a_picture_scan_rec& scan) {
    const a_BMHD_rec& h = st.bmhd;
    // The least a body of that size can take: every row, or two bytes per
    // packed run of 128.
    size_t row_len = Row_Len(st), used = 0;
    size_t least = h.compression == COMP_RUN ? (row_len + 127) / 128 * 2 : row_len;
    if (len / least < size_t(h.h)) return ILBM_BAD_BODY;
    int err = Scan_New_Body(alerts, h.w, h.h, 8, scan);
    if (err != SCAN_OK) return err;
    bool has_mask = !st.pbm && h.masking == MASK_HASMASK;
    if (has_mask && New_GWorld(scan.body.bounds, 8, gray_ctable, scan.body.mask) != 0)
        return ILBM_BAD_BODY;
    std::vector<uint8_t> row(row_len);
    for (int y = 0; y < h.h; ++y) {
        Scan_Progress(h.h, y);
        if (h.compression == COMP_RUN) {
            size_t n = 0;
            if (!PackBits_Unpack(body + used, len - used, row.data(), row_len, &n))
                return ILBM_BAD_BODY;
            used += n;
        } else {
            if (len - used < row_len) return ILBM_BAD_BODY;
            std::memcpy(row.data(), body + used, row_len);
            used += row_len;
        }
        uint8_t* mask = has_mask ? PixMap_Row(scan.body.mask->pix, y) : nullptr;
        Unplane_Row(st, row.data(), PixMap_Row(scan.body.fore->pix, y), mask);
    }
    if (len - used > 1) return ILBM_BAD_BODY;  // one pad byte at most
    Scan_Drop_Plain_Mask(scan);
    return SCAN_OK;
}

// Extra half-bright: 6 planes whose upper 32 colours are the lower 32 at half
// brightness. Files without a CAMG chunk say so by a palette of 32.
void Half_Bright(const a_iff_state& st, a_picture_scan_rec& scan) {
    if (st.bmhd.nplanes != 6 || (st.camg & CAMG_HAM)) return;
    if (!(st.camg & CAMG_EHB) && scan.ncolors != 32) return;
    for (int k = 0; k < 32; ++k) {
        const a_win_pixel32& c = scan.ctable[k];
        scan.ctable[k + 32] = a_win_pixel32{uint8_t(c.b / 2), uint8_t(c.g / 2), uint8_t(c.r / 2), 0};
    }
    scan.ncolors = 64;
}

// HAM6 channels are 4 bits wide: a modified channel is its 4 bits times 17,
// so a palette colour must be read at the same scale, from the high nibble
// of each stored byte, or held and modified components would not match.
void Ham6_Palette(a_picture_scan_rec& scan) {
    auto four = [](uint8_t v) { return uint8_t((v >> 4) * 17); };
    for (int k = 0; k < 16; ++k) {
        a_win_pixel32& c = scan.ctable[k];
        c = a_win_pixel32{four(c.b), four(c.g), four(c.r), c.a};
    }
}

// Hold-and-modify (6 or 8 planes): the top two bits of each index either
// pick a palette colour or replace one component of the pixel to the left.
// The picture becomes 32-bit.
[[nodiscard]] int Hold_And_Modify(bool alerts, a_picture_scan_rec& scan) {
    a_gworld_ptr indexed(scan.body.fore);
    int planes = scan.depth, shift = planes - 2, bits = planes - 2;
    if (bits == 4) Ham6_Palette(scan);
    scan.body.fore = nullptr;
    int err = Scan_New_Body(alerts, Rect_Width(indexed->pix.bounds), Rect_Height(indexed->pix.bounds), 32, scan);
    if (err != SCAN_OK) return err;
    const Rect& b = indexed->pix.bounds;
    for (int y = b.top; y < b.bottom; ++y) {
        const uint8_t* src = PixMap_Row(indexed->pix, y);
        auto* dst = reinterpret_cast<a_win_pixel32*>(PixMap_Row(scan.body.fore->pix, y));
        a_win_pixel32 c = scan.ctable[0];
        for (int x = 0; x < Rect_Width(b); ++x) {
            int data = src[x] & ((1 << bits) - 1);
            auto level = uint8_t(bits == 4 ? data * 17 : (data << 2) | (data >> 4));
            switch (src[x] >> shift) {
                case 0: c = scan.ctable[data]; break;
                case 1: c.b = level; break;
                case 2: c.r = level; break;
                default: c.g = level; break;
            }
            dst[x] = a_win_pixel32{c.b, c.g, c.r, 255};
        }
    }
    return SCAN_OK;
}

[[nodiscard]] int Read_Chunks(bool alerts, a_byte_reader& r, size_t end, a_iff_state& st,
                a_picture_scan_rec& scan) {
    bool have_body = false;
    while (r.pos + 8 <= end) {
        const uint8_t* id = r.Take(4);
        uint32_t len = r.U32BE();
        if (len > end - r.pos) return std::memcmp(id, "BODY", 4) == 0 ? int(ILBM_BAD_BODY) : int(ILBM_BAD_CHUNK);
        const uint8_t* p = r.Take(len);
        if (std::memcmp(id, "BMHD", 4) == 0) {
            if (len < 20 || !Read_BMHD(a_byte_reader{p, len}, st.bmhd)) return ILBM_BAD_HEADER;
            if (int err = Check_BMHD(st)) return err;
            st.have_bmhd = true;
        } else if (std::memcmp(id, "CAMG", 4) == 0 && len >= 4) {
            st.camg = a_byte_reader{p, len}.U32BE();
        } else if (std::memcmp(id, "CMAP", 4) == 0) {
            Read_CMAP(p, len, scan);
            st.have_cmap = true;
        } else if (std::memcmp(id, "BODY", 4) == 0) {
            if (!st.have_bmhd || have_body) return ILBM_BAD_BODY;
            if (int err = Expand_Body(alerts, st, p, len, scan)) return err;
            have_body = true;
        }
        if ((len & 1) && r.pos < end) (void)r.Skip(1);  // pad byte; a missing one ends the loop
    }
    return have_body ? int(SCAN_OK) : int(ILBM_BAD_BODY);
}

}  // namespace

int Scan_ILBM(bool alerts, const uint8_t* data, size_t size, a_picture_scan_rec& scan) {
    Null_Scan(scan);
    a_byte_reader r{data, size};
    if (size < 12) return ILBM_SHORT;
    if (!r.Tag("FORM")) return ILBM_NOT_IFF;
    size_t end = std::min<size_t>(size, size_t(r.U32BE()) + 8);
    a_iff_state st;
    const uint8_t* type = r.Take(4);
    st.pbm = std::memcmp(type, "PBM ", 4) == 0;
    if (!st.pbm && std::memcmp(type, "ILBM", 4) != 0) return ILBM_NOT_IFF;
    int err = Read_Chunks(alerts, r, end, st, scan);
    if (err != SCAN_OK) {
        Dispose_Scan(scan);
        return err;
    }
    if (!st.have_cmap) Grey_Ramp(st.bmhd.nplanes, scan);
    scan.depth = st.bmhd.nplanes;
    Half_Bright(st, scan);
    if ((st.camg & CAMG_HAM) && !st.pbm && (scan.depth == 6 || scan.depth == 8)) {
        err = Hold_And_Modify(alerts, scan);
        if (err != SCAN_OK) Dispose_Scan(scan);
        return err;
    }
    if (st.bmhd.masking == MASK_HASTRANS && st.bmhd.transparent < 256) {
        scan.transp = true;
        scan.transpx = uint8_t(st.bmhd.transparent);
    }
    return SCAN_OK;
}
