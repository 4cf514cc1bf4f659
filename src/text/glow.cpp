#include "text/glow.h"

#include <algorithm>
#include <cstddef>

namespace {

// Longest table a look may ask for; radii far past any slider or print scale
// are cut here rather than allocating without bound.
constexpr int kMaxTable = GLOW_FAR;

int Alpha_Of(int percent) { return 255 * std::clamp(percent, 0, 100) / 100; }

a_win_pixel32 With_Alpha(a_win_pixel32 c, int alpha) {
    c.a = uint8_t(std::clamp(alpha, 0, 255));
    return c;
}

// Alpha falling linearly from `top` at `from` to 0 at `to`.
int Falling(int top, int i, int from, int to) {
    if (to <= from) return 0;
    return top * (to - i) / (to - from);
}

void Outline_Entries(const a_glow_look& look, int outline_end, int glow_start, int glow_end,
                     std::vector<a_win_pixel32>& t) {
    int outline_alpha = Alpha_Of(look.base_opacity);
    for (int i = 12; i < outline_end; ++i) t[size_t(i)] = With_Alpha(look.outl_color, outline_alpha);
    if (look.glowf) {
        int glow_alpha = Alpha_Of(look.glow_opacity);
        for (int i = outline_end; i < glow_start; ++i) {
            a_win_pixel32 c;
            Blend_Pixels(Falling(outline_alpha, i, outline_end, glow_start), look.outl_color,
                         look.glow_color, c);
            t[size_t(i)] = With_Alpha(c, outline_alpha);
        }
        for (int i = glow_start; i < glow_end; ++i)
            t[size_t(i)] = With_Alpha(look.glow_color, Falling(glow_alpha, i, outline_end, glow_end));
    } else {
        for (int k = 0; k < 12; ++k)
            t[size_t(outline_end + k)] = With_Alpha(look.outl_color, outline_alpha * (12 - k) / 12);
    }
}

// Pixels from (x, y) by (dx, dy) inside `b`, at most GLOW_MAX_LINE.
int Line_Length(const Rect& b, int x, int y, int dx, int dy) {
    if (x < b.left || x >= b.right || y < b.top || y >= b.bottom) return 0;
    int n = GLOW_MAX_LINE;
    if (dx > 0) n = std::min(n, (b.right - 1 - x) / dx + 1);
    if (dx < 0) n = std::min(n, (x - b.left) / -dx + 1);
    if (dy > 0) n = std::min(n, (b.bottom - 1 - y) / dy + 1);
    if (dy < 0) n = std::min(n, (y - b.top) / -dy + 1);
    return n;
}

// One direction of a line: `v` the coverage, `cells` the map's first cell.
void Sweep(const uint8_t* v, int n, uint16_t* cells, ptrdiff_t map_step, int step, bool back) {
    int run = GLOW_FAR;
    bool was_covered = false;
    for (int k = 0; k < n; ++k) {
        int i = back ? n - 1 - k : k;
        if (v[i] > 0) {
            run = (255 - v[i]) * step / 255;
            was_covered = true;
        } else if (was_covered) {
            run = step;
            was_covered = false;
        } else {
            run = std::min(run + step, int(GLOW_FAR));
        }
        // The stored value carries on: a later sweep continues from what
        // earlier ones found, so distances bend round corners instead of
        // reaching only the pixels in line with a letter.
        uint16_t& cell = cells[ptrdiff_t(i) * map_step];
        if (run < cell) cell = uint16_t(run);
        else run = cell;
    }
}

}  // namespace

void Blend_Pixels(int propA, const a_win_pixel32& colorA, const a_win_pixel32& colorB,
                  a_win_pixel32& net) {
    int p = std::clamp(propA, 0, 255);
    auto mix = [p](uint8_t a, uint8_t b) { return uint8_t((b * (255 - p) + a * p) / 255); };
    net.b = mix(colorA.b, colorB.b);
    net.g = mix(colorA.g, colorB.g);
    net.r = mix(colorA.r, colorB.r);
    net.a = mix(colorA.a, colorB.a);
}

void Scan_Line(const PixMap& cover, int x, int y, int dx, int dy, int step, a_distance_map& map) {
    const Rect& b = map.bounds;
    int n = Line_Length(b, x, y, dx, dy);
    if (n <= 0) return;
    const ptrdiff_t cover_step = dx + ptrdiff_t(dy) * PixMap_RowBytes(cover);
    const ptrdiff_t map_step = dx + ptrdiff_t(dy) * Rect_Width(b);
    const uint8_t* src = PixMap_Row(cover, y) + (x - cover.bounds.left);
    uint16_t* cells = map.d.data() + size_t(y - b.top) * size_t(Rect_Width(b)) + size_t(x - b.left);
    uint8_t v[GLOW_MAX_LINE];
    for (int k = 0; k < n; ++k) v[k] = src[k * cover_step];
    // Forward, then back, each with its own running distance.
    Sweep(v, n, cells, map_step, step, false);
    Sweep(v, n, cells, map_step, step, true);
}

void Calc_Glow_Distance(const PixMap& cover, const Rect& rect, a_distance_map& map) {
    map.bounds = Rect_Sect(rect, cover.bounds);
    const Rect& b = map.bounds;
    int w = Rect_Width(b), h = Rect_Height(b);
    map.d.assign(size_t(std::max(w, 0)) * size_t(std::max(h, 0)), GLOW_FAR);
    if (map.d.empty()) return;
    for (int y = b.top; y < b.bottom; ++y) Scan_Line(cover, b.left, y, 1, 0, GLOW_STEP_STRAIGHT, map);
    for (int x = b.left; x < b.right; ++x) Scan_Line(cover, x, b.top, 0, 1, GLOW_STEP_STRAIGHT, map);
    for (int x = b.left; x < b.right; ++x) {
        Scan_Line(cover, x, b.top, 1, 1, GLOW_STEP_DIAGONAL, map);
        Scan_Line(cover, x, b.top, -1, 1, GLOW_STEP_DIAGONAL, map);
    }
    for (int y = b.top + 1; y < b.bottom; ++y) {
        Scan_Line(cover, b.left, y, 1, 1, GLOW_STEP_DIAGONAL, map);
        Scan_Line(cover, b.right - 1, y, -1, 1, GLOW_STEP_DIAGONAL, map);
    }
}

std::vector<a_win_pixel32> Glow_Table(const a_glow_look& look) {
    int outl = std::clamp(look.outl_radius, 1, kMaxTable / 12);
    int glow = std::clamp(look.glow_radius, 1, kMaxTable / 12);
    int outline_end = 12, glow_start = 12;
    if (look.outlf) {
        outline_end = (outl - 1) * 12 / 2 + 12;
        glow_start = outline_end + 6;
    }
    int glow_end = look.glowf ? glow * 12 / 2 + outline_end : glow_start;
    int n = 12;
    if (look.outlf) n = look.glowf ? std::max(glow_end, glow_start) : outline_end + 12;
    else if (look.glowf) n = glow_end;
    std::vector<a_win_pixel32> t(size_t(std::min(n, kMaxTable)));
    if (int(t.size()) < n) return t;  // unreachable with the clamps above
    for (int i = 0; i < 12; ++i) t[size_t(i)] = With_Alpha(look.base_color, Alpha_Of(look.base_opacity));
    if (look.outlf) {
        Outline_Entries(look, outline_end, glow_start, glow_end, t);
    } else if (look.glowf) {
        int glow_alpha = Alpha_Of(look.glow_opacity);
        for (int i = 12; i < glow_end; ++i)
            t[size_t(i)] = With_Alpha(look.glow_color, Falling(glow_alpha, i, 12, glow_end));
    }
    return t;
}

void Distance_To_Glow(Rect& used, PixMap& mask, PixMap& rgb, const a_distance_map& map,
                      const a_glow_look& look) {
    std::vector<a_win_pixel32> table = Glow_Table(look);
    used = Rect{};
    const Rect& b = map.bounds;
    int n = int(table.size());
    int minx = b.right, maxx = b.left - 1, miny = b.bottom, maxy = b.top - 1;
    for (int y = b.top; y < b.bottom; ++y) {
        uint8_t* mrow = PixMap_Row(mask, y) - mask.bounds.left;
        auto* crow = reinterpret_cast<a_win_pixel32*>(PixMap_Row(rgb, y)) - rgb.bounds.left;
        for (int x = b.left; x < b.right; ++x) {
            int d = map.At(x, y);
            if (d >= n) continue;
            a_win_pixel32 c = table[size_t(d)];
            mrow[x] = c.a;
            c.a = 0;
            crow[x] = c;
            minx = std::min(minx, x);
            maxx = std::max(maxx, x);
            miny = std::min(miny, y);
            maxy = std::max(maxy, y);
        }
    }
    if (maxx >= minx) used = Rect{int16_t(miny), int16_t(minx), int16_t(maxy + 1), int16_t(maxx + 1)};
}
