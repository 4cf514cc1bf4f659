#include "pixels/syspix.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

#include "platform/region_build.h"
#include "pixels/clones.h"
#include "pixels/pixcursor.h"
#include "base/messages.h"

namespace {

int Width(const PixMap& pm) { return Rect_Width(pm.bounds); }
int Height(const PixMap& pm) { return Rect_Height(pm.bounds); }

// What "outside the picture" is at each depth: white.
uint32_t White_Of(int depth) {
    switch (depth) {
        case 16: return 0x7FFF;
        case 24:
        case 32: return 0x00FFFFFF;
        default: return 0;  // index 0 / clear bit: white in the shared tables
    }
}

// `out` takes over `in` (header and buffer); `in` becomes null.
void Move_PixMap(PixMap& in, PixMap& out) {
    out = in;
    Null_PixMap(in);
}

void Need_Depth(const PixMap& pm) {
    if (!Is_Valid_Depth(pm.pixelSize)) InternalError();
}

}  // namespace

// ---- flips ------------------------------------------------------------------

void PixMap1_FlipX(PixMap& pm) {
    int w = Width(pm);
    for (int y = pm.bounds.top; y < pm.bounds.bottom; ++y) {
        uint8_t* row = PixMap_Row(pm, y);
        for (int i = 0, j = w - 1; i < j; ++i, --j) {
            uint32_t a = Row_GetDot(row, 1, i), b = Row_GetDot(row, 1, j);
            Row_PutDot(row, 1, i, b);
            Row_PutDot(row, 1, j, a);
        }
    }
}

void PixMap_FlipX(PixMap& pm) {
    Need_Depth(pm);
    if (pm.pixelSize == 1) {
        PixMap1_FlipX(pm);
        return;
    }
    int bpp = pm.pixelSize / 8, w = Width(pm);
    for (int y = pm.bounds.top; y < pm.bounds.bottom; ++y) {
        uint8_t* row = PixMap_Row(pm, y);
        for (int i = 0, j = w - 1; i < j; ++i, --j)
            std::swap_ranges(row + i * bpp, row + (i + 1) * bpp, row + j * bpp);
    }
}

void PixMap_FlipY(PixMap& pm) {
    Need_Depth(pm);
    size_t n = size_t(PixMap_RowBytes(pm));
    for (int a = pm.bounds.top, b = pm.bounds.bottom - 1; a < b; ++a, --b)
        std::swap_ranges(PixMap_Row(pm, a), PixMap_Row(pm, a) + n, PixMap_Row(pm, b));
}

void PixMap_Rotate_180(PixMap& pm) {
    PixMap_FlipX(pm);
    PixMap_FlipY(pm);
}

// ---- rotation ---------------------------------------------------------------

namespace {

struct a_rot {
    int sin14, cos14;  // fixed point, 16384 = 1
    int neww, newh;
};

a_rot Calc_Rot(int angle, int w, int h) {
    double rad = angle * M_PI / 1800.0;
    a_rot r;
    r.sin14 = int(std::lround(std::sin(rad) * 16384));
    r.cos14 = int(std::lround(std::cos(rad) * 16384));
    int as = std::abs(r.sin14), ac = std::abs(r.cos14);
    r.neww = (h * as + w * ac + 8192) / 16384;
    r.newh = (w * as + h * ac + 8192) / 16384;
    return r;
}

int Round14(int64_t v) { return int(v >= 0 ? (v + 8192) / 16384 : -((-v + 8192) / 16384)); }
int Floor_Half(int v) { return v >= 0 ? v / 2 : -((-v + 1) / 2); }

void New_Rotated(const PixMap& in, int neww, int newh, PixMap& out) {
    New_PixMap(out, Rect{0, 0, int16_t(newh), int16_t(neww)}, in.pixelSize, in.pmTable);
}

// Counter-clockwise on the screen (rows run down); each output pixel is taken
// from the source through the inverse rotation about both centres, worked at
// doubled coordinates so that the centres are whole numbers.
void Rotate_Nearest(int angle, const PixMap& in, PixMap& out) {
    int w = Width(in), h = Height(in), depth = in.pixelSize;
    a_rot r = Calc_Rot(angle, w, h);
    New_Rotated(in, r.neww, r.newh, out);
    uint32_t white = White_Of(depth);
    for (int row = 0; row < r.newh; ++row) {
        uint8_t* d = PixMap_Row(out, row);
        int y2 = 2 * row + 1 - r.newh;
        for (int col = 0; col < r.neww; ++col) {
            int x2 = 2 * col + 1 - r.neww;
            int sx2 = Round14(int64_t(x2) * r.cos14 - int64_t(y2) * r.sin14);
            int sy2 = Round14(int64_t(x2) * r.sin14 + int64_t(y2) * r.cos14);
            int sx = Floor_Half(sx2 + w - 1), sy = Floor_Half(sy2 + h - 1);
            uint32_t v = white;
            if (sx >= 0 && sx < w && sy >= 0 && sy < h)
                v = Row_GetDot(PixMap_Row(in, in.bounds.top + sy), depth, sx);
            Row_PutDot(d, depth, col, v);
        }
    }
}

// The bilinear frame: for output pixel centres, the source position in
// 1024ths of a pixel relative to source pixel centres.
struct a_bilinear {
    int w, h, neww, newh;
    double s, c;
};

a_bilinear Bilinear_Frame(int angle, const PixMap& src) {
    int w = Width(src), h = Height(src);
    a_rot r = Calc_Rot(angle, w, h);
    double rad = angle * M_PI / 1800.0;
    return a_bilinear{w, h, r.neww, r.newh, std::sin(rad), std::cos(rad)};
}

// Source position of the first pixel of an output row, and its steps per
// output column, in 2^-20 pixels with pixel centres at whole numbers. The
// samples use 1024ths (the position shifted down by 10); the finer steps keep
// the drift along a row far below one 1024th.
void Bilinear_Start(const a_bilinear& b, int row, int64_t& fx, int64_t& fy, int64_t& dx, int64_t& dy) {
    double ox = 0.5 - b.neww / 2.0, oy = row + 0.5 - b.newh / 2.0;
    double sx = ox * b.c - oy * b.s + b.w / 2.0 - 0.5;
    double sy = ox * b.s + oy * b.c + b.h / 2.0 - 0.5;
    fx = std::llround(sx * 1048576);
    fy = std::llround(sy * 1048576);
    dx = std::llround(b.c * 1048576);
    dy = std::llround(b.s * 1048576);
}

inline int64_t Floor1024(int64_t v) { return v >= 0 ? v >> 10 : -((-v + 1023) >> 10); }

// One output pixel from its four neighbours; only those inside the source
// take part. Colour channels are divided by the weight taking part (or the
// full weight with zerof, so that edges fade out); the fourth byte always by
// the full weight. Weights are 1024ths squared: sums stay below 2^32.
template <int Channels, typename Fetch>
uint32_t Bilinear_Pixel(const a_bilinear& b, bool zerof, int64_t fx, int64_t fy, Fetch fetch) {
    int64_t x0 = Floor1024(fx), y0 = Floor1024(fy);
    uint32_t ax = uint32_t(fx - x0 * 1024), ay = uint32_t(fy - y0 * 1024);
    const uint32_t wt[4] = {(1024 - ax) * (1024 - ay), ax * (1024 - ay), (1024 - ax) * ay, ax * ay};
    bool inside = x0 >= 0 && y0 >= 0 && x0 + 1 < b.w && y0 + 1 < b.h;
    uint32_t acc[4] = {0, 0, 0, 0};
    uint32_t wsum = 0;
    for (int k = 0; k < 4; ++k) {
        int64_t x = x0 + (k & 1), y = y0 + (k >> 1);
        if (!inside && (x < 0 || y < 0 || x >= b.w || y >= b.h || wt[k] == 0)) continue;
        uint32_t v = fetch(int(x), int(y));
        for (int ch = 0; ch < Channels; ++ch) acc[ch] += ((v >> (8 * ch)) & 0xFF) * wt[k];
        wsum += wt[k];
    }
    if (wsum == 0) return 0;
    uint32_t div = zerof || inside ? 1048576u : wsum, out = 0;
    for (int ch = 0; ch < Channels; ++ch) {
        uint32_t v = ch == 3 ? acc[ch] >> 20 : acc[ch] / div;
        out |= std::min<uint32_t>(255, v) << (8 * ch);
    }
    return out;
}

template <int Channels, typename Fetch, typename Store>
void Bilinear_Rows(const a_bilinear& b, bool zerof, a_progress_fn progressf, Fetch fetch, Store store) {
    if (progressf) progressf(-1, -1);
    for (int row = 0; row < b.newh; ++row) {
        int64_t fx, fy, dx, dy;
        Bilinear_Start(b, row, fx, fy, dx, dy);
        for (int col = 0; col < b.neww; ++col, fx += dx, fy += dy)
            store(col, row, Bilinear_Pixel<Channels>(b, zerof, fx >> 10, fy >> 10, fetch));
        if (progressf) progressf(b.newh, row);
    }
    if (progressf) progressf(-2, -2);
}

}  // namespace

namespace {

// The four-neighbour weighting of pixels whose neighbours all lie inside,
// a run of a row at a time: the weights sum to the full 1048576, so each
// channel is its weighted sum shifted down by 20. `at` is each pixel's
// top-left neighbour (an index into the source), `ax`/`ay` its fractions.
// Plain 32-bit arithmetic per channel, which the compiler vectorises.
CIRQUEL_CLONES
void Interior_Run(const uint32_t* __restrict src, int32_t stride, const int32_t* __restrict at,
                  const uint32_t* __restrict ax, const uint32_t* __restrict ay, int n,
                  uint32_t* __restrict out) {
    for (int i = 0; i < n; ++i) {
        int32_t k = at[i];
        uint32_t p00 = src[k], p10 = src[k + 1], p01 = src[k + stride], p11 = src[k + stride + 1];
        uint32_t w00 = (1024 - ax[i]) * (1024 - ay[i]), w10 = ax[i] * (1024 - ay[i]);
        uint32_t w01 = (1024 - ax[i]) * ay[i], w11 = ax[i] * ay[i];
        uint32_t v = 0;
        for (int ch = 0; ch < 32; ch += 8) {
            uint32_t sum = ((p00 >> ch) & 0xFF) * w00 + ((p10 >> ch) & 0xFF) * w10 +
                           ((p01 >> ch) & 0xFF) * w01 + ((p11 >> ch) & 0xFF) * w11;
            v |= (sum >> 20) << ch;
        }
        out[i] = v;
    }
}

void Rotate32_Rows(const a_bilinear& b, bool zerof, a_progress_fn progressf, const PixMap& s, PixMap& d) {
    auto fetch = [&](int x, int y) {
        uint32_t v;
        std::memcpy(&v, PixMap_Row(s, s.bounds.top + y) + 4 * x, 4);
        return v;
    };
    const uint32_t* base = reinterpret_cast<const uint32_t*>(s.baseAddr);
    int32_t stride = PixMap_RowBytes(s) / 4;
    std::vector<int32_t> at(size_t(b.neww));
    std::vector<uint32_t> ax(size_t(b.neww)), ay(size_t(b.neww));
    if (progressf) progressf(-1, -1);
    for (int row = 0; row < b.newh; ++row) {
        int64_t fx, fy, dx, dy;
        Bilinear_Start(b, row, fx, fy, dx, dy);
        uint32_t* out = reinterpret_cast<uint32_t*>(PixMap_Row(d, row));
        int col = 0;
        while (col < b.neww) {
            // A run of interior pixels, gathered first and weighed together.
            int start = col, k = 0;
            for (; col < b.neww; ++col, fx += dx, fy += dy, ++k) {
                int64_t x0 = fx >> 20, y0 = fy >> 20;  // floor: the shift is arithmetic
                if (uint64_t(x0) >= uint64_t(b.w - 1) || uint64_t(y0) >= uint64_t(b.h - 1)) break;
                at[size_t(k)] = int32_t(y0 * stride + x0);
                ax[size_t(k)] = uint32_t((fx >> 10) & 1023);
                ay[size_t(k)] = uint32_t((fy >> 10) & 1023);
            }
            if (k > 0) Interior_Run(base, stride, at.data(), ax.data(), ay.data(), k, out + start);
            if (col >= b.neww) break;
            int64_t x0 = fx >> 20, y0 = fy >> 20;
            bool none = x0 < -1 || y0 < -1 || x0 >= b.w || y0 >= b.h;
            out[col] = none ? 0 : Bilinear_Pixel<4>(b, zerof, fx >> 10, fy >> 10, fetch);
            ++col, fx += dx, fy += dy;
        }
        if (progressf) progressf(b.newh, row);
    }
    if (progressf) progressf(-2, -2);
}

}  // namespace

void PixMap_Rotate_Bilinear(a_progress_fn progressf, bool zerof, int angle, PixMap& src, PixMap& dst) {
    if (src.pixelSize != 16 && src.pixelSize != 32) InternalError();
    a_bilinear b = Bilinear_Frame(angle, src);
    New_Rotated(src, b.neww, b.newh, dst);
    const PixMap& s = src;
    PixMap& d = dst;
    if (src.pixelSize == 32) {
        Rotate32_Rows(b, zerof, progressf, s, d);
    } else {
        auto fetch = [&](int x, int y) {
            return Pix16_To_32(uint16_t(Row_GetDot(PixMap_Row(s, s.bounds.top + y), 16, x)));
        };
        auto store = [&](int x, int y, uint32_t v) { Row_PutDot(PixMap_Row(d, y), 16, x, Pix32_To_16(v)); };
        Bilinear_Rows<3>(b, zerof, progressf, fetch, store);
    }
}

void PixMap_Rotate_Bilinear8(a_progress_fn progressf, bool zerof, int angle, PixMap& src, PixMap& dst) {
    if (src.pixelSize != 8) InternalError();
    a_bilinear b = Bilinear_Frame(angle, src);
    New_Rotated(src, b.neww, b.newh, dst);
    const PixMap& s = src;
    PixMap& d = dst;
    auto fetch = [&](int x, int y) { return uint32_t(PixMap_Row(s, s.bounds.top + y)[x]); };
    auto store = [&](int x, int y, uint32_t v) { PixMap_Row(d, y)[x] = uint8_t(v); };
    Bilinear_Rows<1>(b, zerof, progressf, fetch, store);
}

void PixMap_Rotate(a_rotate_filter filter, bool zerof, int angle, PixMap& in, PixMap& out) {
    Need_Depth(in);
    angle %= 3600;
    if (angle < 0) angle += 3600;
    if (angle == 0) {
        Move_PixMap(in, out);
        return;
    }
    if (filter == BILINEAR && in.pixelSize >= 8 && in.pixelSize != 24) {
        if (in.pixelSize == 8)
            PixMap_Rotate_Bilinear8(nullptr, zerof, angle, in, out);
        else
            PixMap_Rotate_Bilinear(nullptr, zerof, angle, in, out);
        return;
    }
    if (angle == 1800) {
        PixMap_Copy(in, out);
        out.bounds = Rect{0, 0, int16_t(Height(in)), int16_t(Width(in))};
        PixMap_Rotate_180(out);
        return;
    }
    Rotate_Nearest(angle, in, out);
}

// ---- skew and bend ----------------------------------------------------------

int Calc_Parabola(int x, int a, int n) {
    if (n <= 0) return 0;
    int64_t t = int64_t(2 * x - n) * (2 * x - n) / n;
    return int(a - t * a / n);
}

namespace {

// Each row (or column) moved along by shift(i); the output grows by |a|.
template <typename Shift>
void Shear(bool along_x, int a, PixMap& in, PixMap& out, Shift shift) {
    Need_Depth(in);
    if (a == 0) {
        Move_PixMap(in, out);
        return;
    }
    int w = Width(in), h = Height(in), depth = in.pixelSize, extra = std::abs(a);
    int ow = along_x ? w + extra : w, oh = along_x ? h : h + extra;
    New_PixMap(out, Rect{0, 0, int16_t(oh), int16_t(ow)}, depth, in.pmTable);
    uint32_t white = White_Of(depth);
    for (int y = 0; y < oh; ++y) {
        uint8_t* d = PixMap_Row(out, y);
        for (int x = 0; x < ow; ++x) Row_PutDot(d, depth, x, white);
    }
    int n = along_x ? h : w;
    for (int i = 0; i < n; ++i) {
        int s = shift(i, n);
        if (a < 0) s = extra - s;
        if (along_x) {
            const uint8_t* src = PixMap_Row(in, in.bounds.top + i);
            uint8_t* d = PixMap_Row(out, i);
            for (int x = 0; x < w; ++x) Row_PutDot(d, depth, x + s, Row_GetDot(src, depth, x));
        } else {
            for (int y = 0; y < h; ++y)
                Row_PutDot(PixMap_Row(out, y + s), depth, i,
                           Row_GetDot(PixMap_Row(in, in.bounds.top + y), depth, i));
        }
    }
}

}  // namespace

void PixMap_SkewX(int val, PixMap& in, PixMap& out) {
    int a = val * Height(in) / 100;
    Shear(true, a, in, out, [&](int i, int n) { return n > 1 ? std::abs(a) * i / (n - 1) : 0; });
}

void PixMap_SkewY(int val, PixMap& in, PixMap& out) {
    int a = val * Width(in) / 100;
    Shear(false, a, in, out, [&](int i, int n) { return n > 1 ? std::abs(a) * i / (n - 1) : 0; });
}

void PixMap_BendX(int val, PixMap& in, PixMap& out) {
    int a = val * Height(in) / 100;
    Shear(true, a, in, out, [&](int i, int n) { return Calc_Parabola(i, std::abs(a), n - 1); });
}

void PixMap_BendY(int val, PixMap& in, PixMap& out) {
    int a = val * Width(in) / 100;
    Shear(false, a, in, out, [&](int i, int n) { return Calc_Parabola(i, std::abs(a), n - 1); });
}

// ---- bounding boxes ---------------------------------------------------------

namespace {

template <typename NonZero>
void Bounding(const PixMap& pm, const Rect& search, Rect& bounds, NonZero nonzero) {
    bounds = Rect{};
    int top = std::max(search.top, pm.bounds.top), bottom = std::min(search.bottom, pm.bounds.bottom);
    int left = std::max(search.left, pm.bounds.left), right = std::min(search.right, pm.bounds.right);
    bool any = false;
    Rect r{INT16_MAX, INT16_MAX, INT16_MIN, INT16_MIN};
    for (int y = top; y < bottom; ++y) {
        const uint8_t* row = PixMap_Row(pm, y);
        for (int x = left; x < right; ++x) {
            if (!nonzero(row, x - pm.bounds.left)) continue;
            any = true;
            r.top = std::min<int16_t>(r.top, int16_t(y));
            r.bottom = std::max<int16_t>(r.bottom, int16_t(y + 1));
            r.left = std::min<int16_t>(r.left, int16_t(x));
            r.right = std::max<int16_t>(r.right, int16_t(x + 1));
        }
    }
    if (any) bounds = r;
}

}  // namespace

void Asm32_PixMap1_Bounding(const PixMap& pm, const Rect& search, Rect& bounds) {
    Bounding(pm, search, bounds, [](const uint8_t* row, int x) { return Row_GetDot(row, 1, x) != 0; });
}

void Asm32_PixMap8_Bounding(const PixMap& pm, const Rect& search, Rect& bounds) {
    Bounding(pm, search, bounds, [](const uint8_t* row, int x) { return row[x] != 0; });
}

void PixMap_Bounding(const PixMap& pm, const Rect& search, Rect& bounds) {
    Need_Depth(pm);
    switch (pm.pixelSize) {
        case 1: Asm32_PixMap1_Bounding(pm, search, bounds); return;
        case 8: Asm32_PixMap8_Bounding(pm, search, bounds); return;
        default: {
            int depth = pm.pixelSize;
            Bounding(pm, search, bounds,
                     [depth](const uint8_t* row, int x) { return Row_GetDot(row, depth, x) != 0; });
        }
    }
}

bool PixMap_Compare(const PixMap& a, const PixMap& b) {
    if (a.pixelSize != b.pixelSize || Rect_Width(a.bounds) != Rect_Width(b.bounds) ||
        Rect_Height(a.bounds) != Rect_Height(b.bounds))
        return false;
    int w = Rect_Width(a.bounds), depth = a.pixelSize;
    for (int y = 0; y < Rect_Height(a.bounds); ++y) {
        const uint8_t* ra = PixMap_Row(a, a.bounds.top + y);
        const uint8_t* rb = PixMap_Row(b, b.bounds.top + y);
        for (int x = 0; x < w; ++x)
            if (Row_GetDot(ra, depth, x) != Row_GetDot(rb, depth, x)) return false;
    }
    return true;
}

// ---- fills and frames -------------------------------------------------------

namespace {

void Fill_Any(PixMap& pm, const Rect& r, uint32_t value) {
    Rect c = Rect_Sect(pm.bounds, r);
    int depth = pm.pixelSize;
    for (int y = c.top; y < c.bottom; ++y) {
        uint8_t* row = PixMap_Row(pm, y);
        if (depth == 8) {
            std::memset(row + (c.left - pm.bounds.left), int(value & 0xFF), size_t(c.right - c.left));
            continue;
        }
        if (depth == 32) {
            uint32_t* p = reinterpret_cast<uint32_t*>(row) + (c.left - pm.bounds.left);
            std::fill(p, p + (c.right - c.left), value);
            continue;
        }
        for (int x = c.left; x < c.right; ++x) Row_PutDot(row, depth, x - pm.bounds.left, value);
    }
}

}  // namespace

void PixMap8_Fill(PixMap& pm, const Rect& r, uint8_t value) {
    if (pm.pixelSize != 8) InternalError();
    Fill_Any(pm, r, value);
}

void PixMap16_Fill(PixMap& pm, const Rect& r, uint16_t value) {
    if (pm.pixelSize != 16) InternalError();
    Fill_Any(pm, r, value);
}

void PixMap32_Fill(PixMap& pm, const Rect& r, uint32_t value) {
    if (pm.pixelSize != 32) InternalError();
    Fill_Any(pm, r, value);
}

void PixMap_Frame(PixMap& pm, const Rect& r, uint32_t value) {
    Need_Depth(pm);
    if (Rect_IsEmpty(r)) return;
    Fill_Any(pm, Rect{r.top, r.left, int16_t(r.top + 1), r.right}, value);
    Fill_Any(pm, Rect{int16_t(r.bottom - 1), r.left, r.bottom, r.right}, value);
    Fill_Any(pm, Rect{r.top, r.left, r.bottom, int16_t(r.left + 1)}, value);
    Fill_Any(pm, Rect{r.top, int16_t(r.right - 1), r.bottom, r.right}, value);
}

void PixMap1_FillPattern(PixMap& pm, const uint8_t pattern[8]) {
    if (pm.pixelSize != 1) InternalError();
    int w = Rect_Width(pm.bounds);
    for (int y = 0; y < Rect_Height(pm.bounds); ++y) {
        uint8_t* row = PixMap_Row(pm, pm.bounds.top + y);
        uint8_t pat = pattern[y & 7];
        for (int x = 0; x < w; ++x) Row_PutDot(row, 1, x, (pat >> (7 - (x & 7))) & 1);
    }
}

bool Is_PixMap1_Empty(const PixMap& pm) {
    if (pm.pixelSize != 1) InternalError();
    Rect r;
    Asm32_PixMap1_Bounding(pm, pm.bounds, r);
    return Rect_IsEmpty(r);
}

// ---- region rectangles ------------------------------------------------------

bool PixMap1_To_Rects(const PixMap& pm, std::vector<Rect>& rects, Rect& bounds) {
    if (pm.pixelSize != 1) InternalError();
    std::vector<Rect> out;
    int w = Rect_Width(pm.bounds);
    Rect u{INT16_MAX, INT16_MAX, INT16_MIN, INT16_MIN};
    for (int y = pm.bounds.top; y < pm.bounds.bottom; ++y) {
        const uint8_t* row = PixMap_Row(pm, y);
        int x = 0;
        while (x < w) {
            if (!Row_GetDot(row, 1, x)) {
                ++x;
                continue;
            }
            int start = x;
            while (x < w && Row_GetDot(row, 1, x)) ++x;
            Rect run{int16_t(y), int16_t(pm.bounds.left + start), int16_t(y + 1),
                     int16_t(pm.bounds.left + x)};
            if (!out.empty() && out.back().left == run.left && out.back().right == run.right &&
                out.back().bottom == run.top) {
                out.back().bottom = run.bottom;
            } else if (out.size() < size_t(MAX_N_RECTS)) {
                out.push_back(run);
            } else {
                continue;  // past the cap further runs are dropped
            }
            u = Rect{std::min(u.top, out.back().top), std::min(u.left, out.back().left),
                     std::max(u.bottom, out.back().bottom), std::max(u.right, out.back().right)};
        }
    }
    if (out.empty()) return false;
    rects = std::move(out);
    bounds = u;
    return true;
}

void PixMap1_To_Region(const PixMap& pm, a_region* rgn) {
    std::vector<Rect> rects;
    Rect bounds;
    if (rgn && PixMap1_To_Rects(pm, rects, bounds)) Rgn_SetRects(rgn, rects.data(), int(rects.size()));
}

// ---- depth reductions and byte orders ---------------------------------------

namespace {

void To_1(const PixMap& pm, PixMap& bits, int depth, uint32_t white) {
    if (pm.pixelSize != depth) InternalError();
    New_PixMap(bits, pm.bounds, 1, mono_ctable);
    int w = Rect_Width(pm.bounds);
    for (int y = pm.bounds.top; y < pm.bounds.bottom; ++y) {
        const uint8_t* s = PixMap_Row(pm, y);
        uint8_t* d = PixMap_Row(bits, y);
        for (int x = 0; x < w; ++x)
            if ((Row_GetDot(s, depth, x) & white) != white) Row_PutDot(d, 1, x, 1);
    }
}

}  // namespace

void PixMap32_To_1(const PixMap& pm, PixMap& bits) { To_1(pm, bits, 32, 0xFFFFFF); }
void PixMap16_To_1(const PixMap& pm, PixMap& bits) { To_1(pm, bits, 16, 0x7FFF); }

void Reverse_Bytes(uint8_t* p, size_t n) {
    for (size_t i = 0; i + 4 <= n; i += 4) {
        std::swap(p[i], p[i + 3]);
        std::swap(p[i + 1], p[i + 2]);
    }
}

void Swap_Bytes(uint8_t* p, size_t n) {
    for (size_t i = 0; i + 2 <= n; i += 2) std::swap(p[i], p[i + 1]);
}
