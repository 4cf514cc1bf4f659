#include "paint/atoms.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "paint/bucket.h"
#include "paint/fills.h"
#include "paint/raster.h"
#include "pixels/pixcolor.h"
#include "pixels/pixmap.h"
#include "pixels/syspix.h"

namespace {

bool Has_Layer(const a_atom_rec& atom) { return atom.paint_world && atom.mask_world; }

// Lays c with the atom's fill and notes what changed.
void Lay(a_atom_rec& atom, const a_paint_state& p, const a_coverage& c, int fill) {
    if (Rect_IsEmpty(c.bounds)) return;
    Rect area = Rect_IsEmpty(atom.grad_area) ? c.bounds : atom.grad_area;
    Apply_Coverage(c, p, fill, area, *atom.paint_world, *atom.mask_world);
    atom.dirty = Rect_Union(atom.dirty, c.bounds);
}

void Dabs(a_atom_rec& atom, const a_paint_state& p, int diameter, int fill) {
    if (!Has_Layer(atom)) return;
    a_coverage c;
    for (const Point& pt : atom.list.pts) {
        Cov_Disc(c, pt, diameter, atom.clip);
        Lay(atom, p, c, fill);
    }
}

void Polyline(a_atom_rec& atom, const a_paint_state& p, int thickness, bool closed) {
    if (!Has_Layer(atom) || atom.list.pts.empty()) return;
    a_coverage c;
    Cov_Reset(c, Points_Bounds(atom.list.pts, thickness / 2 + 2), atom.clip);
    Cov_Add_Polyline(c, atom.list.pts, closed, thickness);
    Lay(atom, p, c, atom.fill);
}

// The inside and the cells the outline passes through: a dragged box keeps
// both its corners.
void Solid(a_atom_rec& atom, const a_paint_state& p) {
    if (!Has_Layer(atom)) return;
    a_coverage c;
    Cov_Polygon(c, atom.list.pts, atom.clip);
    Cov_Add_Polyline(c, atom.list.pts, true, 1);
    Lay(atom, p, c, atom.fill);
}

// The border laid inside the outline's box: the band's own coverage decides
// which cells it paints.
void Border_Frame(a_atom_rec& atom, const a_paint_state& p) {
    if (!Has_Layer(atom) || atom.list.pts.empty()) return;
    a_coverage c;
    const Rect box = Points_Bounds(atom.list.pts, 0);
    Cov_Reset(c, box, atom.clip);
    std::fill(c.a.begin(), c.a.end(), uint8_t(255));
    atom.grad_area = box;
    Lay(atom, p, c, BORDER_FILL);
}

uint32_t Next(uint32_t& s) {
    s ^= s << 13, s ^= s >> 17, s ^= s << 5;
    return s;
}
double Unit(uint32_t& s) { return (Next(s) & 0xFFFFFF) / double(0x1000000); }

// The stamp's tone: darkness through its map, then the hue turned (128 is
// half a turn); consecutive equal colours reuse the last answer.
struct a_stamp_tone {
    uint8_t dark[256];
    bool darken = false;
    int degrees = 0;
    uint32_t last_in = 0xFFFFFFFFu, last_out = 0;
    explicit a_stamp_tone(const a_paint_state& p) : darken(p.stamp_darkness != 50),
                                                    degrees(p.stamp_colorshift * 180 / 128) {
        if (darken) Calc_Darkness_Map(p.stamp_darkness, 255, dark);
    }
    uint32_t operator()(uint32_t rgb) {
        if (!darken && degrees == 0) return rgb;
        if (rgb == last_in) return last_out;
        last_in = rgb;
        uint32_t out = rgb;
        if (darken) out = uint32_t(dark[(out >> 16) & 0xFF]) << 16 | uint32_t(dark[(out >> 8) & 0xFF]) << 8 | dark[out & 0xFF];
        if (degrees != 0) out = Color_Shift_Hue(out, degrees) & 0xFFFFFF;
        return last_out = out;
    }
};

// The bends as the pixel maps bend: rows shifted along a parabola by the
// horizontal bend (in percent of the height), then the widened picture's
// columns by the vertical one (in percent of its width).
struct a_stamp_bend {
    int w = 0, h = 0, ax = 0, ay = 0, bw = 0, bh = 0;
    a_stamp_bend(const a_paint_state& p, int sw, int sh) : w(sw), h(sh) {
        ax = p.stamp_bendx * h / 100;
        bw = w + std::abs(ax);
        ay = p.stamp_bendy * bw / 100;
        bh = h + std::abs(ay);
    }
    static int Shift(int i, int a, int n) {
        const int s = Calc_Parabola(i, std::abs(a), n - 1);
        return a < 0 ? std::abs(a) - s : s;
    }
    // The unbent picture's cell under the bent picture's (u, v); false off it.
    bool Source(int u, int v, int& x, int& y) const {
        y = ay ? v - Shift(u, ay, bw) : v;
        if (y < 0 || y >= h) return false;
        x = ax ? u - Shift(y, ax, h) : u;
        return x >= 0 && x < w;
    }
};

// The stamp bent, turned, scaled, stretched and skewed, centred on `at`, in its tone.
void Stamp_Coverage(const a_masked_gworld& st, const a_paint_state& p, Point at, double scale,
                    int angle, bool mirror, const Rect& clip, a_coverage& c) {
    c = a_coverage{};
    if (!st.fore) return;
    const PixMap& fp = st.fore->pix;
    if (Rect_Width(fp.bounds) <= 0 || Rect_Height(fp.bounds) <= 0) return;
    const a_stamp_bend bend(p, Rect_Width(fp.bounds), Rect_Height(fp.bounds));
    a_stamp_tone tone(p);
    const double sw = bend.bw, sh = bend.bh;
    const double sx = scale * (100 + p.stamp_stretch) / 100.0, sy = scale * (100 - p.stamp_stretch) / 100.0;
    const double kx = p.stamp_skewx / 100.0, ky = p.stamp_skewy / 100.0;
    const double a = (p.stamp_rotate + angle) * std::numbers::pi / 180.0, ca = std::cos(a), sa = std::sin(a);
    // Forward: source offset (u, v) from its centre → destination offset.
    auto fwd = [&](double u, double v, double& x, double& y) {
        double px = u * sx + v * sy * kx, py = v * sy + u * sx * ky;
        if (mirror) px = -px;
        x = px * ca + py * sa, y = -px * sa + py * ca;
    };
    double minx = 1e9, maxx = -1e9, miny = 1e9, maxy = -1e9;
    for (double u : {-sw / 2, sw / 2})
        for (double v : {-sh / 2, sh / 2}) {
            double x, y;
            fwd(u, v, x, y);
            minx = std::min(minx, x), maxx = std::max(maxx, x), miny = std::min(miny, y), maxy = std::max(maxy, y);
        }
    auto c16 = [](double v) { return int16_t(std::clamp(v, -16000.0, 16000.0)); };
    Cov_Reset(c, Rect{c16(at.v + std::floor(miny)), c16(at.h + std::floor(minx)), c16(at.v + std::ceil(maxy) + 1),
                      c16(at.h + std::ceil(maxx) + 1)},
              clip);
    if (Rect_IsEmpty(c.bounds)) return;
    c.rgb.assign(c.a.size(), 0);
    // The inverse of fwd's linear part, for sampling.
    double m00, m01, m10, m11;
    {
        double x0, y0, x1, y1;
        fwd(1, 0, x0, y0), fwd(0, 1, x1, y1);
        double det = x0 * y1 - x1 * y0;
        if (std::abs(det) < 1e-9) return;
        m00 = y1 / det, m01 = -x1 / det, m10 = -y0 / det, m11 = x0 / det;
    }
    const int w = Rect_Width(c.bounds);
    for (int y = c.bounds.top; y < c.bounds.bottom; ++y)
        for (int x = c.bounds.left; x < c.bounds.right; ++x) {
            double dx = x + 0.5 - (at.h + 0.5), dy = y + 0.5 - (at.v + 0.5);
            double u = m00 * dx + m01 * dy + sw / 2, v = m10 * dx + m11 * dy + sh / 2;
            int ix, iy;
            if (u < 0 || v < 0 || u >= sw || v >= sh || !bend.Source(int(u), int(v), ix, iy)) continue;
            ix += fp.bounds.left, iy += fp.bounds.top;
            size_t at_c = size_t(y - c.bounds.top) * size_t(w) + size_t(x - c.bounds.left);
            c.a[at_c] = st.mask ? PixMap_Row(st.mask->pix, iy)[ix - st.mask->pix.bounds.left] : 255;
            c.rgb[at_c] = tone(reinterpret_cast<const uint32_t*>(PixMap_Row(fp, iy))[ix - fp.bounds.left] & 0xFFFFFF);
        }
}

void Stamps(a_atom_rec& atom, const a_paint_state& p, double scale) {
    if (!Has_Layer(atom) || !p.stamp) return;
    a_coverage c;
    for (const Point& pt : atom.list.pts) {
        Stamp_Coverage(*p.stamp, p, pt, scale, atom.angle, atom.mirror, atom.clip, c);
        Lay(atom, p, c, atom.fill == ERASER_FILL ? ERASER_FILL : COLOR_FILL);
    }
}

}  // namespace

void Atom_Brush(a_atom_rec& atom, const a_paint_state& p) { Dabs(atom, p, p.brush_size, atom.fill); }
void Atom_Eraser(a_atom_rec& atom, const a_paint_state& p) {
    Dabs(atom, p, Eraser_Diameter(p.eraser_choice), ERASER_FILL);
}
void Atom_BrushLine(a_atom_rec& atom, const a_paint_state& p) { Polyline(atom, p, p.brush_size, false); }
void Atom_Line(a_atom_rec& atom, const a_paint_state& p) { Polyline(atom, p, p.line_thickness, false); }

void Atom_Spray(a_atom_rec& atom, const a_paint_state& p) {
    switch (p.spray_method) {
        case BITMAP_SPRAY: return Atom_Spray_Bitmap(atom, p);
        case STAMP_SPRAY: return Atom_Spray_Stamp(atom, p);
        default: return Atom_Spray_Pointlist(atom, p);
    }
}
void Atom_Spray_Pointlist(a_atom_rec& atom, const a_paint_state& p) { Dabs(atom, p, 1, atom.fill); }
void Atom_Spray_Bitmap(a_atom_rec& atom, const a_paint_state& p) { Dabs(atom, p, 3, atom.fill); }
void Atom_Spray_Stamp(a_atom_rec& atom, const a_paint_state& p) { Stamps(atom, p, p.stamp_size / 40.0); }

void Atom_Stamp(a_atom_rec& atom, const a_paint_state& p) {
    if (atom.list.pts.size() > 1) atom.list.pts.resize(1);
    Stamps(atom, p, p.stamp_size / 10.0);
}

void Atom_Bucket(a_atom_rec& atom, const a_paint_state& p) {
    if (!Has_Layer(atom) || atom.list.pts.empty()) return;
    a_coverage c;
    Flood_Region(*atom.paint_world, *atom.mask_world, atom.list.pts[0], atom.clip, c);
    if (Rect_IsEmpty(atom.grad_area)) atom.grad_area = c.bounds;
    Lay(atom, p, c, atom.fill);
}

bool Pick_Color(const GWorld& world, const GWorld& mask, Point cell, uint32_t& rgb) {
    const Rect& b = mask.pix.bounds;
    if (cell.h < b.left || cell.h >= b.right || cell.v < b.top || cell.v >= b.bottom) return false;
    if (PixMap_Row(mask.pix, cell.v)[cell.h - b.left] < 128) return false;
    rgb = reinterpret_cast<const uint32_t*>(PixMap_Row(world.pix, cell.v))[cell.h - world.pix.bounds.left] & 0xFFFFFF;
    return true;
}

void Atom_Eyedropper(a_atom_rec& atom, const a_paint_state&) {
    uint32_t rgb;
    if (Has_Layer(atom) && !atom.list.pts.empty() &&
        Pick_Color(*atom.paint_world, *atom.mask_world, atom.list.pts[0], rgb)) {
        g_paint.fill_color32 = rgb;
        g_paint.fill_kind = COLOR_FILL;
    }
}

void Atom_FOval(a_atom_rec& atom, const a_paint_state& p) { Polyline(atom, p, p.line_thickness, true); }
void Atom_FRect(a_atom_rec& atom, const a_paint_state& p) {
    if (atom.fill == BORDER_FILL) return Border_Frame(atom, p);
    Polyline(atom, p, p.line_thickness, true);
}
void Atom_FRoundRect(a_atom_rec& atom, const a_paint_state& p) { Polyline(atom, p, p.line_thickness, true); }
void Atom_SOval(a_atom_rec& atom, const a_paint_state& p) { Solid(atom, p); }
void Atom_SRect(a_atom_rec& atom, const a_paint_state& p) { Solid(atom, p); }
void Atom_SRoundRect(a_atom_rec& atom, const a_paint_state& p) { Solid(atom, p); }
void Atom_SPolygon(a_atom_rec& atom, const a_paint_state& p) { Solid(atom, p); }
void Atom_Furter(a_atom_rec& atom, const a_paint_state& p) {
    if (atom.solid) return Solid(atom, p);
    Polyline(atom, p, p.line_thickness, false);
}

std::vector<Point> Spray_Points(Point at, int radius, int spread, int n, uint32_t& seed) {
    if (seed == 0) seed = 0x9E3779B9u;
    std::vector<Point> out;
    out.reserve(size_t(std::max(n, 0)));
    for (int i = 0; i < n; ++i) {
        double u = Unit(seed), t = Unit(seed) * 2 * std::numbers::pi, r;
        switch (spread) {
            case SPREAD_UNIFORM: r = std::sqrt(u); break;       // even over the disc
            case SPREAD_LOOSE: r = std::pow(u, 0.35); break;     // thicker at the rim
            case SPREAD_TIGHT: r = u * u; break;                 // crowded in the middle
            default: r = (u + Unit(seed)) / 2; r = std::abs(2 * r - 1); break;  // peaked
        }
        r *= radius;
        out.push_back(Point{int16_t(at.v + std::lround(r * std::sin(t))),
                            int16_t(at.h + std::lround(r * std::cos(t)))});
    }
    return out;
}
