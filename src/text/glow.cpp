#include "text/glow.h"

#include <algorithm>
#include <cstddef>
#include <vector>

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

// The sweeps of every line of one direction side by side, a row at a time:
// `run` and `lit` hold each line's running distance and whether its last
// pixel was a letter's. Lines of one direction share no pixel, so this gives
// exactly what walking them one by one gives, and the loop vectorises.
struct a_line_states {
    std::vector<uint16_t> run;
    std::vector<uint8_t> lit;
    void Reset(int n) {
        run.assign(size_t(n), GLOW_FAR);
        lit.assign(size_t(n), 0);
    }
};

void Step_Row(const uint8_t* v, uint16_t* cells, uint16_t* run, uint8_t* lit, int n, int step) {
    for (int i = 0; i < n; ++i) {
        const int c = v[i];
        const int covered = (255 - c) * step / 255;
        const int next = lit[i] ? step : std::min(run[i] + step, int(GLOW_FAR));
        const int r = std::min(c > 0 ? covered : next, int(cells[i]));
        cells[i] = uint16_t(r);
        run[i] = uint16_t(r);
        lit[i] = uint8_t(c > 0);
    }
}

// Which tiles of the map can hold a distance under `reach`. A distance grows
// by at least twelve a pixel (seventeen a diagonal step), so a pixel further
// than reach / 12 from every letter pixel never gets under it, and what a
// sweep carries across such pixels is at least `reach` too: leaving them out
// changes no distance under `reach`.
struct a_near_tiles {
    static constexpr int kSize = 32;
    int tw = 0, th = 0;
    std::vector<uint8_t> near;
    bool At(int x, int k) const { return near[size_t(k / kSize) * size_t(tw) + size_t(x / kSize)] != 0; }
};

void Find_Near_Tiles(const PixMap& cover, const Rect& b, int reach, a_near_tiles& t) {
    const int w = Rect_Width(b), h = Rect_Height(b), T = a_near_tiles::kSize;
    t.tw = (w + T - 1) / T, t.th = (h + T - 1) / T;
    std::vector<uint8_t> ink(size_t(t.tw) * size_t(t.th), 0);
    for (int k = 0; k < h; ++k) {
        const uint8_t* row = PixMap_Row(cover, b.top + k) + (b.left - cover.bounds.left);
        for (int tx = 0; tx < t.tw; ++tx) {
            uint8_t& tile = ink[size_t(k / T) * size_t(t.tw) + size_t(tx)];
            for (int x = tx * T, end = std::min(w, x + T); x < end && !tile; ++x) tile = row[x] != 0;
        }
    }
    const int grow = reach / (GLOW_STEP_STRAIGHT * T) + 1;
    t.near.assign(ink.size(), 0);
    for (int ty = 0; ty < t.th; ++ty)
        for (int tx = 0; tx < t.tw; ++tx) {
            if (!ink[size_t(ty) * size_t(t.tw) + size_t(tx)]) continue;
            for (int y = std::max(0, ty - grow); y <= std::min(t.th - 1, ty + grow); ++y)
                for (int x = std::max(0, tx - grow); x <= std::min(t.tw - 1, tx + grow); ++x)
                    t.near[size_t(y) * size_t(t.tw) + size_t(x)] = 1;
        }
}

// The pixels [x, x + n) of map row k that lie in near tiles, as runs.
template <typename F>
void Near_Runs(const a_near_tiles& t, int k, int x, int n, F&& run) {
    const int end = x + n, T = a_near_tiles::kSize;
    while (x < end) {
        const int stop = std::min(end, (x / T + 1) * T);
        const bool near = t.At(x, k);
        int to = stop;
        while (to < end && t.At(to, k) == near) to = std::min(end, to + T);
        run(x, to - x, near);
        x = to;
    }
}

// One pass over the rows (down, or up with `back`) of the lines starting on
// the map's top row: columns (shift 0), or diagonals leaning right (+1) or
// left (-1), whose pixel on row k lies k columns further that way. Lines
// crossing far tiles start afresh after them.
void Top_Lines_Pass(const PixMap& cover, a_distance_map& map, const a_near_tiles& t, int shift,
                    int step, bool back, a_line_states& s) {
    const Rect& b = map.bounds;
    const int w = Rect_Width(b), h = Rect_Height(b);
    s.Reset(w);
    for (int j = 0; j < h; ++j) {
        const int k = back ? h - 1 - j : j;
        const int off = shift == 0 ? 0 : k;
        const int n = w - off;
        if (n <= 0) continue;
        const int first_x = shift > 0 ? off : 0;    // map column of the row's first pixel
        const int first_line = shift < 0 ? off : 0;  // and the line it belongs to
        const uint8_t* v = PixMap_Row(cover, b.top + k) + (b.left - cover.bounds.left);
        uint16_t* cells = map.d.data() + size_t(k) * size_t(w);
        Near_Runs(t, k, first_x, n, [&](int x, int len, bool near) {
            const size_t line = size_t(first_line + x - first_x);
            if (near) {
                Step_Row(v + x, cells + x, s.run.data() + line, s.lit.data() + line, len, step);
            } else {
                std::fill_n(s.run.data() + line, len, GLOW_FAR);
                std::fill_n(s.lit.data() + line, len, uint8_t(0));
            }
        });
    }
}

// Rows, each near run swept on its own both ways.
void Row_Pass(const PixMap& cover, a_distance_map& map, const a_near_tiles& t) {
    const Rect& b = map.bounds;
    const int w = Rect_Width(b), h = Rect_Height(b);
    for (int k = 0; k < h; ++k) {
        const uint8_t* v = PixMap_Row(cover, b.top + k) + (b.left - cover.bounds.left);
        uint16_t* cells = map.d.data() + size_t(k) * size_t(w);
        Near_Runs(t, k, 0, w, [&](int x, int len, bool near) {
            if (!near) return;
            Sweep(v + x, len, cells + x, 1, GLOW_STEP_STRAIGHT, false);
            Sweep(v + x, len, cells + x, 1, GLOW_STEP_STRAIGHT, true);
        });
    }
}

// Whether the diagonal from map pixel (x, k) by (dx, 1) touches a near tile.
bool Diagonal_Near(const a_near_tiles& t, int w, int h, int x, int k, int dx) {
    for (; x >= 0 && x < w && k < h; x += dx, ++k)
        if (t.At(x, k)) return true;
    return false;
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

void Calc_Glow_Distance(const PixMap& cover, const Rect& rect, a_distance_map& map, int reach) {
    map.bounds = Rect_Sect(rect, cover.bounds);
    const Rect& b = map.bounds;
    int w = Rect_Width(b), h = Rect_Height(b);
    map.d.assign(size_t(std::max(w, 0)) * size_t(std::max(h, 0)), GLOW_FAR);
    if (map.d.empty()) return;
    thread_local a_near_tiles tiles;
    thread_local a_line_states states;
    Find_Near_Tiles(cover, b, reach, tiles);
    if (w > GLOW_MAX_LINE || h > GLOW_MAX_LINE) {
        // Lines longer than a sweep walks: one at a time, each cut short.
        for (int y = b.top; y < b.bottom; ++y) Scan_Line(cover, b.left, y, 1, 0, GLOW_STEP_STRAIGHT, map);
        for (int x = b.left; x < b.right; ++x) Scan_Line(cover, x, b.top, 0, 1, GLOW_STEP_STRAIGHT, map);
        for (int x = b.left; x < b.right; ++x) {
            Scan_Line(cover, x, b.top, 1, 1, GLOW_STEP_DIAGONAL, map);
            Scan_Line(cover, x, b.top, -1, 1, GLOW_STEP_DIAGONAL, map);
        }
    } else {
        Row_Pass(cover, map, tiles);
        // Columns, then the diagonals from the top row: each leaning-left one
        // meets only leaning-right ones that start left of it, so all of the
        // latter first is the same as taking them in turn by column.
        for (int shift : {0, 1, -1}) {
            const int step = shift == 0 ? GLOW_STEP_STRAIGHT : GLOW_STEP_DIAGONAL;
            Top_Lines_Pass(cover, map, tiles, shift, step, false, states);
            Top_Lines_Pass(cover, map, tiles, shift, step, true, states);
        }
    }
    // The diagonals from the sides, one at a time, those touching no near tile left out.
    for (int k = 1; k < h; ++k) {
        if (Diagonal_Near(tiles, w, h, 0, k, 1)) Scan_Line(cover, b.left, b.top + k, 1, 1, GLOW_STEP_DIAGONAL, map);
        if (Diagonal_Near(tiles, w, h, w - 1, k, -1))
            Scan_Line(cover, b.right - 1, b.top + k, -1, 1, GLOW_STEP_DIAGONAL, map);
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
    const int n = int(table.size()), w = Rect_Width(b);
    int minx = b.right, maxx = b.left - 1, miny = b.bottom, maxy = b.top - 1;
    for (int y = b.top; y < b.bottom; ++y) {
        uint8_t* mrow = PixMap_Row(mask, y) - mask.bounds.left;
        auto* crow = reinterpret_cast<a_win_pixel32*>(PixMap_Row(rgb, y)) - rgb.bounds.left;
        const uint16_t* drow = map.d.data() + size_t(y - b.top) * size_t(w) - b.left;
        int first = b.right, last = b.left - 1;
        for (int x = b.left; x < b.right; ++x) {
            const int d = drow[x];
            if (d >= n) continue;
            a_win_pixel32 c = table[size_t(d)];
            mrow[x] = c.a;
            c.a = 0;
            crow[x] = c;
            first = std::min(first, x);
            last = x;
        }
        if (last < first) continue;
        minx = std::min(minx, first), maxx = std::max(maxx, last);
        miny = std::min(miny, y), maxy = y;
    }
    if (maxx >= minx) used = Rect{int16_t(miny), int16_t(minx), int16_t(maxy + 1), int16_t(maxx + 1)};
}
