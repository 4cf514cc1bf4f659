#include "render/edges.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "pixels/blit.h"
#include "pixels/syspix.h"

namespace {

struct a_cached_scallop {
    PixMap cell;
    int totedge = -1;
    int scallop = -1;
};
a_cached_scallop g_cached_scallop;

uint32_t Word(const a_win_pixel32& p) {
    return uint32_t(p.r) << 16 | uint32_t(p.g) << 8 | p.b;
}

GWorld* New_World(int depth, const Rect& bounds) {
    GWorld* w = nullptr;
    New_GWorldF("Apply_Edge", bounds, depth, depth == 8 ? gray_ctable : nullptr, w);
    return w;
}

// Opacity of a pixel `d` pixels in from the edge (1 the outermost) over a
// feather of F: d * 255 / (F + 1), solid past the feather.
inline int Ramp(int d, int F) {
    return d > F ? 255 : d * 255 / (F + 1);
}

void Multiply(uint8_t& m, int v) {
    m = uint8_t(m * v / 255);
}

// The corner tile: radius R, feather following the curve. Index [y][x] from
// the corner itself.
std::vector<uint8_t> Corner_Tile(int R, int F) {
    std::vector<uint8_t> t(size_t(R) * R);
    for (int y = 0; y < R; ++y)
        for (int x = 0; x < R; ++x) {
            double dx = R - (x + 0.5), dy = R - (y + 0.5);
            double e = R - std::sqrt(dx * dx + dy * dy);  // depth inside the curve
            int v;
            if (e <= 0)
                v = 0;
            else if (F == 0)
                v = e >= 1 ? 255 : int(e * 255);  // a hard corner, its edge pixel shaded
            else
                v = Ramp(int(std::ceil(e)), F);
            t[size_t(y) * R + x] = uint8_t(v);
        }
    return t;
}

// Column x of the cell: rows above b clear, row b partly, below it solid.
void Scallop_Column(PixMap& cell, int x, int L, int D) {
    int half = D / 2;
    float h = float(half * std::cos(x * 2 * M_PI / L) + half);
    int b = int(h);
    float f = h - float(b);
    int v = int(f * 255 + 0.5f);
    if (b >= D) return;
    PixMap_Row(cell, b)[x] = uint8_t(255 - v);
    for (int y = b + 1; y < D; ++y) PixMap_Row(cell, y)[x] = 255;
}

// A copy of the cell rotated so that its row 0 lies along another side.
a_pixmap_owner Rotate_Cell(const PixMap& cell, int angle) {
    a_pixmap_owner tmp, out;
    PixMap_Copy(cell, *tmp);
    PixMap_Rotate(NEAREST, false, angle, *tmp, *out);
    return out;
}

void And_Rect(const PixMap& cell, PixMap& mask, const Rect& src, const Rect& dst) {
    Pix_To_Pix(cell, mask, src, dst, notSrcBic, nullptr);
}

// Runs of the cell along a side: horizontal runs start at bounds.left and
// step right; vertical runs start at bounds.top and step down; the last copy
// is cut where the side ends.
void Run_Horizontal(const PixMap& cell, const Rect& bounds, int top, PixMap& mask) {
    int cw = Rect_Width(cell.bounds), ch = Rect_Height(cell.bounds);
    for (int x = bounds.left; x < bounds.right; x += cw) {
        int w = std::min(cw, bounds.right - x);
        And_Rect(cell, mask, Rect{0, 0, int16_t(ch), int16_t(w)},
                 Rect{int16_t(top), int16_t(x), int16_t(top + ch), int16_t(x + w)});
    }
}

void Run_Vertical(const PixMap& cell, const Rect& bounds, int left, PixMap& mask) {
    int cw = Rect_Width(cell.bounds), ch = Rect_Height(cell.bounds);
    for (int y = bounds.top; y < bounds.bottom; y += ch) {
        int h = std::min(ch, bounds.bottom - y);
        And_Rect(cell, mask, Rect{0, 0, int16_t(h), int16_t(cw)},
                 Rect{int16_t(y), int16_t(left), int16_t(y + h), int16_t(left + cw)});
    }
}

// A deterministic walk: the same seed gives the same edge.
struct a_lcg {
    uint32_t s;
    int Next(int n) {
        s = s * 1664525u + 1013904223u;
        return int((s >> 8) % uint32_t(n));
    }
};

// Calls visit(x, y) once for every pixel of a w x h area that lies within
// `band` pixels of its edge: whole rows at the top and bottom, the two ends
// of the rows between. Edge masks change nothing deeper in.
template <class Visit>
void For_Each_In_Band(int w, int h, int band, Visit visit) {
    if (band <= 0) return;
    for (int y = 0; y < h; ++y) {
        bool whole = y < band || y >= h - band;
        int left_end = whole ? w : std::min(band, w);
        for (int x = 0; x < left_end; ++x) visit(x, y);
        for (int x = std::max(w - band, left_end); x < w; ++x) visit(x, y);
    }
}

// Cut depths along one side of `len` pixels: random steps, smoothed less the
// rougher the edge, scaled to at most `amp`.
std::vector<int> Rough_Depths(int len, int amp, int rough, uint32_t seed) {
    std::vector<int> raw(static_cast<size_t>(len) + 1);
    std::vector<int> out(static_cast<size_t>(len));
    a_lcg g{seed * 2654435761u + uint32_t(rough) * 40503u + uint32_t(len)};
    for (int& v : raw) v = g.Next(1000);
    int win = std::max(0, (21 - rough) / 3);
    for (int i = 0; i < len; ++i) {
        int sum = 0, n = 0;
        for (int k = std::max(0, i - win); k <= std::min(len, i + win); ++k, ++n)
            sum += raw[size_t(k)];
        out[size_t(i)] = (sum / n) * (amp + 1) / 1000;
    }
    return out;
}

}  // namespace

const PixMap& Calc_Scallop_Cell(int targ_totedge, int targ_scallop) {
    a_cached_scallop& c = g_cached_scallop;
    if (c.totedge == targ_totedge && c.scallop == targ_scallop) return c.cell;
    Dispose_PixMap(c.cell);
    c.totedge = targ_totedge;
    c.scallop = targ_scallop;
    int L = 2 * targ_totedge + 1;
    int D = targ_totedge * targ_scallop / 100;
    if (D & 1) ++D;
    if (D <= 0 || L <= 0) return c.cell;
    New_PixMap(c.cell, Rect{0, 0, int16_t(D), int16_t(L)}, 8, gray_ctable);
    for (int x = 0; x < L; ++x) Scallop_Column(c.cell, x, L, D);
    return c.cell;
}

void Apply_Edge_Cell(const PixMap& cell, const Rect& bounds, PixMap& mask) {
    if (Is_Null_PixMap(cell)) return;
    int ch = Rect_Height(cell.bounds);
    Run_Horizontal(cell, bounds, bounds.top, mask);
    a_pixmap_owner turned = Rotate_Cell(cell, -900);
    Run_Vertical(*turned, bounds, bounds.right - Rect_Width(turned->bounds), mask);
    turned = Rotate_Cell(cell, -1800);
    Run_Horizontal(*turned, bounds, bounds.bottom - ch, mask);
    turned = Rotate_Cell(cell, -2700);
    Run_Vertical(*turned, bounds, bounds.left, mask);
}

void Calc_Scallop_Mask(int totedge, int scallop, const Rect& bounds, PixMap& mask) {
    const PixMap& cell = Calc_Scallop_Cell(totedge, scallop);
    if (!Is_Null_PixMap(cell)) Apply_Edge_Cell(cell, bounds, mask);
}

a_rough_cuts Calc_Rough_Cuts(int border, int rough, int w, int h) {
    a_rough_cuts c;
    if (border <= 0 || w <= 0 || h <= 0) return c;
    rough = std::clamp(rough, 1, 20);
    c.amp = border * (rough + 10) / 30;  // deeper bites the rougher the edge
    c.top = Rough_Depths(w, c.amp, rough, 1);
    c.bottom = Rough_Depths(w, c.amp, rough, 2);
    c.left = Rough_Depths(h, c.amp, rough, 3);
    c.right = Rough_Depths(h, c.amp, rough, 4);
    return c;
}

void Calc_Rough_Mask(int border, int rough, const Rect& bounds, PixMap& mask) {
    int w = Rect_Width(bounds), h = Rect_Height(bounds);
    a_rough_cuts c = Calc_Rough_Cuts(border, rough, w, h);
    if (c.top.empty()) return;
    // No depth exceeds amp, so nothing past amp + 1 pixels from the edge is cut.
    For_Each_In_Band(w, h, c.amp + 1, [&](int x, int y) {
        int cut = std::min({y - c.top[size_t(x)], h - 1 - y - c.bottom[size_t(x)],
                            x - c.left[size_t(y)], w - 1 - x - c.right[size_t(y)]});
        uint8_t& m = PixMap_Row(mask, bounds.top + y)[bounds.left - mask.bounds.left + x];
        if (cut < 0)
            m = 0;
        else if (cut == 0)
            Multiply(m, 128);  // one soft pixel along the cut
    });
}

void Calc_Feather_Mask(int corner, int feather, PixMap& mask) {
    const Rect& b = mask.bounds;
    int w = Rect_Width(b), h = Rect_Height(b);
    int L = std::max(w, h) / 2, S = std::min(w, h) / 2;
    int F = std::min(S, feather * L / 100);
    int R = std::min(S, std::max(F, corner * L / 100));
    // The sides: distance d from the nearest edge, outside the corner squares.
    For_Each_In_Band(w, h, F, [&](int x, int y) {
        bool in_corner = (x < R || x >= w - R) && (y < R || y >= h - R);
        if (in_corner) return;
        int d = std::min({x + 1, y + 1, w - x, h - y});
        if (d <= F) Multiply(PixMap_Row(mask, b.top + y)[x], Ramp(d, F));
    });
    if (R <= 0) return;
    std::vector<uint8_t> tile = Corner_Tile(R, F);
    for (int ty = 0; ty < R; ++ty)
        for (int tx = 0; tx < R; ++tx) {
            int v = tile[size_t(ty) * R + tx];
            Multiply(PixMap_Row(mask, b.top + ty)[tx], v);
            Multiply(PixMap_Row(mask, b.top + ty)[w - 1 - tx], v);
            Multiply(PixMap_Row(mask, b.bottom - 1 - ty)[tx], v);
            Multiply(PixMap_Row(mask, b.bottom - 1 - ty)[w - 1 - tx], v);
        }
}

void Apply_Edge_None(const a_spec& spec, a_masked_gworld& in, a_masked_gworld& out) {
    out = in;
    Null_MW(in);
    if (!out.fore || (spec.corner == 0 && spec.feather == 0)) return;
    Force_Mask_To_Exist(out.bounds, out);
    Calc_Feather_Mask(spec.corner, spec.feather, out.mask->pix);
}

void Apply_Edge_Some(const a_spec& spec, a_masked_gworld& in, a_masked_gworld& out) {
    int border = std::max<int>(spec.edge_border, 0), outline = std::max<int>(spec.edge_outline, 0);
    int tot = border + outline;
    if (tot == 0) {
        out = in;
        Null_MW(in);
        return;
    }
    Null_MW(out);
    out.bounds = Rect_Inset(in.bounds, -tot);
    if (!in.fore) {
        Dispose_MW(in);
        return;
    }
    out.fore = New_World(32, out.bounds);
    PixMap32_Fill(out.fore->pix, out.bounds, Word(spec.edge_bord_color));
    PixMap32_Fill(out.fore->pix, Rect_Inset(out.bounds, border), Word(spec.edge_outl_color));
    Pix_To_Pix(in.fore->pix, out.fore->pix, in.bounds, in.bounds, srcCopy, nullptr);
    if (spec.edge_kind != EDGE_BORDER || in.mask) {
        out.mask = New_World(8, out.bounds);
        PixMap& m = out.mask->pix;
        PixMap8_Fill(m, out.bounds, 255);
        if (spec.edge_kind == EDGE_SCALLOP)
            Calc_Scallop_Mask(border, spec.edge_scallop, out.bounds, m);
        if (spec.edge_kind == EDGE_ROUGH) Calc_Rough_Mask(border, spec.edge_rough, out.bounds, m);
        if (in.mask)
            Pix_To_Pix(in.mask->pix, m, in.bounds, in.bounds, srcCopy, nullptr);
        else
            PixMap8_Fill(m, in.bounds, 255);
    }
    Dispose_MW(in);
}

void Apply_Edge(a_cache_purpose /*purpose*/, const a_spec& spec, a_masked_gworld& in,
                a_masked_gworld& out) {
    if (spec.edge_kind == EDGE_NONE)
        Apply_Edge_None(spec, in, out);
    else
        Apply_Edge_Some(spec, in, out);
}

void Edges_Stop() {
    Dispose_PixMap(g_cached_scallop.cell);
    g_cached_scallop = a_cached_scallop{};
}
