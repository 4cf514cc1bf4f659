// Scaling a decoded picture down to the most printing can use (image_files.h).
#include <algorithm>
#include <vector>

#include "images/image_files.h"
#include "platform/image_codec.h"

namespace {

// Sums of the source pixels that fall on one row of the result.
struct a_row_sums {
    std::vector<uint64_t> b, g, r, m;
    explicit a_row_sums(size_t n) : b(n), g(n), r(n), m(n) {}
    void Clear() {
        for (auto* v : {&b, &g, &r, &m}) std::fill(v->begin(), v->end(), 0);
    }
};

// The source colour of pixel `x` of row `y`: through the palette for an indexed body.
a_win_pixel32 Source_Pixel(const a_picture_scan_rec& scan, int y, int x) {
    const PixMap& pm = scan.body.fore->pix;
    const uint8_t* row = PixMap_Row(pm, pm.bounds.top + y);
    if (pm.pixelSize == 8) return scan.ctable[row[x]];
    return reinterpret_cast<const a_win_pixel32*>(row)[x];
}

void Add_Row(const a_picture_scan_rec& scan, int y, const std::vector<int>& to, a_row_sums& sums) {
    const int w = int(to.size());
    const uint8_t* mask = scan.body.mask ? PixMap_Row(scan.body.mask->pix, scan.body.mask->pix.bounds.top + y)
                                         : nullptr;
    for (int x = 0; x < w; ++x) {
        a_win_pixel32 c = Source_Pixel(scan, y, x);
        size_t d = size_t(to[size_t(x)]);
        sums.b[d] += c.b;
        sums.g[d] += c.g;
        sums.r[d] += c.r;
        if (mask) sums.m[d] += mask[x];
    }
}

void Put_Row(const a_row_sums& sums, const std::vector<uint64_t>& count, uint64_t rows, a_win_pixel32* dst,
             uint8_t* mask) {
    for (size_t d = 0; d < count.size(); ++d) {
        uint64_t n = count[d] * rows, half = n / 2;
        dst[d] = a_win_pixel32{uint8_t((sums.b[d] + half) / n), uint8_t((sums.g[d] + half) / n),
                               uint8_t((sums.r[d] + half) / n), 255};
        if (mask) mask[d] = uint8_t((sums.m[d] + half) / n);
    }
}

}  // namespace

bool Scan_Fit(a_picture_scan_rec& scan) {
    if (!scan.body.fore) return true;
    const int w = Rect_Width(scan.body.bounds), h = Rect_Height(scan.body.bounds);
    int fw = w, fh = h;
    Codec_Fit(w, h, SCAN_FIT_WIDTH, SCAN_FIT_HEIGHT, SCAN_FIT_PIXELS, fw, fh);
    if (fw == w && fh == h) return true;
    const Rect bounds{0, 0, int16_t(fh), int16_t(fw)};
    a_masked_gworld made;
    made.bounds = bounds;
    if (New_GWorld_Unfilled(bounds, 32, nullptr, made.fore) != 0) return false;
    if (scan.body.mask && New_GWorld_Unfilled(bounds, 8, gray_ctable, made.mask) != 0) {
        Dispose_MW(made);
        return false;
    }
    // Box averages: source column x falls on column x * fw / w, rows likewise.
    std::vector<int> to(static_cast<size_t>(w));
    std::vector<uint64_t> count(static_cast<size_t>(fw));
    for (int x = 0; x < w; ++x) {
        to[size_t(x)] = int(int64_t(x) * fw / w);
        ++count[size_t(to[size_t(x)])];
    }
    a_row_sums sums{size_t(fw)};
    int y = 0;
    for (int dy = 0; dy < fh; ++dy) {
        sums.Clear();
        uint64_t rows = 0;
        for (; y < h && int64_t(y) * fh / h == dy; ++y, ++rows) Add_Row(scan, y, to, sums);
        auto* dst = reinterpret_cast<a_win_pixel32*>(PixMap_Row(made.fore->pix, dy));
        Put_Row(sums, count, rows, dst, made.mask ? PixMap_Row(made.mask->pix, dy) : nullptr);
    }
    Dispose_MW(scan.body);
    scan.body = made;
    if (scan.body.mask) Scan_Drop_Plain_Mask(scan);
    return true;
}
