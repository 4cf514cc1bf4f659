#include "images/pack_regions.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <vector>

namespace {

constexpr double PI = 3.14159265358979323846;
constexpr int COMPOSITE_SIDE = 1200;
constexpr int MIN_INNER_RADIUS = 30;
constexpr int PETAL_STEPS = 48;  // points along each side of a petal

double Radians(double degrees) { return degrees * PI / 180.0; }
double Degrees(double radians) { return radians * 180.0 / PI; }

template <typename T>
void Clamp_Field(T& v, int lo, int hi) {
    v = T(std::clamp(int(v), lo, hi));
}

Point Centre_Of(const a_pack_spec& spec) { return Rect_Centre(Calc_Composite_Bounds(spec)); }

// The point at radius r and angle a on the square whose inscribed circle
// has that radius: the ring's polar grid pushed out onto a square outline.
Point Square_XY(Point c, double r, int tenths) {
    const double a = Radians(tenths / 10.0);
    const double k = std::max(std::fabs(std::cos(a)), std::fabs(std::sin(a)));
    return Cyl_To_XY(c, r / k, tenths);
}

Point XY(bool square, Point c, double r, int tenths) {
    return square ? Square_XY(c, r, tenths) : Cyl_To_XY(c, r, tenths);
}

int Clock_Regions(const a_pack_spec& spec, int n, double r_in, double r_out, a_slot* slots,
                  int first, bool square) {
    const Point c = Centre_Of(spec);
    const double T = spec.clock_totangle;
    const double base = 90.0 - (360.0 - T) / 2.0;
    const double g = Calc_Clock_Radii(spec).gap;
    std::vector<Point> pts;
    for (int i = 1; i <= n && first < PACK_MAX_SLOTS; ++i, ++first) {
        const double ta = base + spec.clock_start - (i - 1) * T / n;
        const double tb = base + spec.clock_start - i * T / n;
        const int a1 = int(std::lround(10.0 * ta));
        int a2o = int(std::lround(10.0 * Degrees(Radians(tb) + g / r_out)));
        int a2i = int(std::lround(10.0 * Degrees(Radians(tb) + g / r_in)));
        // A gap wider than the slot leaves a slot of no width at that radius
        // rather than an edge that runs back over itself.
        a2o = std::min(a2o, a1);
        a2i = std::min(a2i, a1);
        pts.clear();
        pts.push_back(XY(square, c, r_in, a1));
        for (int a = a1; a >= a2o; --a) pts.push_back(XY(square, c, r_out, a));
        for (int a = a2i; a <= a1; ++a) pts.push_back(XY(square, c, r_in, a));
        a_slot& s = slots[first];
        Rgn_SetPoly(s.slot_rgn.get(), pts.data(), int(pts.size()));
        const int m = ((a2o + a2i) / 2 + a1) / 2;
        s.slot_base_angle = int16_t(spec.orient == 0 ? m - 900 : 0);
        s.slot_rgn_center = XY(square, c, r_in + (55 - 1) * (r_out - r_in) / (100 - 1), m);
        s.slot_dirty = true;
    }
    return first;
}

// A petal on the axis at `tenths` from r_in to r_out, widest (half_width
// pixels) a little inside its middle, pointed at both ends.
void Petal_Poly(Point c, int tenths, double r_in, double r_out, double half_width,
                std::vector<Point>& pts) {
    const double a = Radians(tenths / 10.0);
    const double ux = std::cos(a), uy = -std::sin(a);  // along the axis, screen coordinates
    const double vx = -uy, vy = ux;                      // across it
    pts.clear();
    for (int side = 1; side >= -1; side -= 2) {
        for (int k = 0; k <= PETAL_STEPS; ++k) {
            const double t = side > 0 ? double(k) / PETAL_STEPS : 1.0 - double(k) / PETAL_STEPS;
            const double rho = r_in + t * (r_out - r_in);
            const double w = side * half_width * std::pow(std::sin(PI * t), 0.6);
            pts.push_back(Point{int16_t(std::lround(c.v + rho * uy + w * vy)),
                                int16_t(std::lround(c.h + rho * ux + w * vx))});
        }
    }
}

}  // namespace

const a_pack_field PACK_FIELDS[] = {
    {"clock_nouter", &a_pack_spec::clock_nouter, 2, 16},
    {"clock_ninner", &a_pack_spec::clock_ninner, 2, 16},
    {"clock_totangle", &a_pack_spec::clock_totangle, 45, 360},
    {"clock_start", &a_pack_spec::clock_start, -180, 180},
    {"clock_spacing", &a_pack_spec::clock_spacing, 0, 10},
    {"clock_thickness", &a_pack_spec::clock_thickness, 20, 100},
    {"clock_outerd", &a_pack_spec::clock_outerd, 50, 100},
    {"grid_nx", &a_pack_spec::grid_nx, 1, 12},
    {"grid_ny", &a_pack_spec::grid_ny, 1, 12},
    {"grid_spacing", &a_pack_spec::grid_spacing, 0, 10},
    {"grid_corner", &a_pack_spec::grid_corner, 0, 100},
    {"lotus_n", &a_pack_spec::lotus_n, 4, 16},
    {"outline", &a_pack_spec::outline, 0, 20},
};
const int PACK_NFIELDS = int(std::size(PACK_FIELDS));

namespace {
const char* const kKindNames[PACK_NKINDS] = {"grid", "ring", "ring2", "square", "lotus"};
}

const a_pack_field* Find_Pack_Field(const std::string& name) {
    for (const a_pack_field& f : PACK_FIELDS)
        if (name == f.name) return &f;
    return nullptr;
}

int Find_Pack_Kind(const std::string& name) {
    for (int k = 0; k < PACK_NKINDS; ++k)
        if (name == kKindNames[k]) return k;
    return -1;
}

const char* Pack_Kind_Name(int kind) { return kind >= 0 && kind < PACK_NKINDS ? kKindNames[kind] : ""; }

void Clamp_Pack_Spec(a_pack_spec& spec) {
    spec.version = 1;
    spec.packkind = uint8_t(std::min<int>(spec.packkind, PACK_NKINDS - 1));
    spec.pad = 0;
    for (const a_pack_field& f : PACK_FIELDS) Clamp_Field(spec.*f.field, f.lo, f.hi);
}

Rect Calc_Composite_Bounds(const a_pack_spec& spec) {
    int w = COMPOSITE_SIDE, h = COMPOSITE_SIDE;
    if (spec.packkind == PACK_GRID && spec.grid_nx > 0 && spec.grid_ny > 0) {
        if (spec.grid_nx < spec.grid_ny) w = spec.grid_nx * COMPOSITE_SIDE / spec.grid_ny;
        else h = spec.grid_ny * COMPOSITE_SIDE / spec.grid_nx;
    }
    return Rect{0, 0, int16_t(h), int16_t(w)};
}

int Pack_Slot_Count(const a_pack_spec& spec) {
    switch (spec.packkind) {
        case PACK_GRID: return std::min(PACK_MAX_SLOTS, spec.grid_nx * spec.grid_ny);
        case PACK_CLOCK2: return spec.clock_nouter + spec.clock_ninner;
        case PACK_LOTUS: return 2 * spec.lotus_n;
        default: return spec.clock_nouter;
    }
}

a_clock_radii Calc_Clock_Radii(const a_pack_spec& spec) {
    a_clock_radii r;
    r.outer = spec.clock_outerd * 6.0;
    r.inner = std::max(r.outer * (100 - spec.clock_thickness) / 100.0, double(MIN_INNER_RADIUS));
    r.gap = Radians(spec.clock_totangle * spec.clock_spacing / 1000.0) * r.outer;
    return r;
}

int Sin16384(int tenths) { return int(std::lround(16384.0 * std::sin(Radians(tenths / 10.0)))); }
int Cos16384(int tenths) { return int(std::lround(16384.0 * std::cos(Radians(tenths / 10.0)))); }

Point Cyl_To_XY(Point centre, double r, int tenths) {
    return Point{int16_t(centre.v - std::lround(r * Sin16384(tenths) / 16384.0)),
                 int16_t(centre.h + std::lround(r * Cos16384(tenths) / 16384.0))};
}

int Calc_Clock_Regions(const a_pack_spec& spec, int n, double r_in, double r_out, a_slot* slots,
                       int first) {
    return Clock_Regions(spec, n, r_in, r_out, slots, first, false);
}

int Calc_Square_Regions(const a_pack_spec& spec, a_slot* slots, int first) {
    const a_clock_radii r = Calc_Clock_Radii(spec);
    return Clock_Regions(spec, spec.clock_nouter, r.inner, r.outer, slots, first, true);
}

int Calc_Grid_Regions(const a_pack_spec& spec, a_slot* slots, int first) {
    const Rect cb = Calc_Composite_Bounds(spec);
    const int cw = Rect_Width(cb) / spec.grid_nx, ch = Rect_Height(cb) / spec.grid_ny;
    const int w = cw * (100 - spec.grid_spacing) / 100, h = ch * (100 - spec.grid_spacing) / 100;
    for (int j = 1; j <= spec.grid_ny; ++j) {
        for (int i = 1; i <= spec.grid_nx && first < PACK_MAX_SLOTS; ++i, ++first) {
            const int top = (j - 1) * ch, left = (i - 1) * cw;
            const Rect r{int16_t(top), int16_t(left), int16_t(top + h), int16_t(left + w)};
            a_slot& s = slots[first];
            Rgn_SetRoundRect(s.slot_rgn.get(), r, w * spec.grid_corner / 100, h * spec.grid_corner / 100);
            s.slot_rgn_center = Rect_Centre(r);
            s.slot_base_angle = 0;
            s.slot_dirty = true;
        }
    }
    return first;
}

int Calc_Lotus_Regions(const a_pack_spec& spec, a_slot* slots, int first) {
    const Point c = Centre_Of(spec);
    const a_clock_radii r = Calc_Clock_Radii(spec);
    const int n = spec.lotus_n;
    const double step = 360.0 / (2 * n);  // between neighbouring petals of both sets
    const double mid = r.inner + (55 - 1) * (r.outer - r.inner) / (100 - 1);
    std::vector<Point> pts;
    a_region_ptr front = Make_Region(), inside = Make_Region();
    // Wide back petals of a thin lotus would reach past the composite.
    Rgn_SetRect(inside.get(), Calc_Composite_Bounds(spec));
    for (int set = 0; set < 2; ++set) {
        // The front petals reach the outer radius and touch at their widest;
        // the back ones, between them, are wider and a little shorter.
        const double r_out = set == 0 ? r.outer : r.inner + 0.9 * (r.outer - r.inner);
        const double half_angle = set == 0 ? 0.95 * step : 1.6 * step;
        const double half_width = mid * std::sin(Radians(std::min(half_angle, 80.0)));
        for (int k = 0; k < n && first < PACK_MAX_SLOTS; ++k, ++first) {
            const double axis = 90.0 + spec.clock_start - (2 * k + set) * step;
            const int m = int(std::lround(10.0 * axis));
            a_slot& s = slots[first];
            Petal_Poly(c, m, r.inner, r_out, half_width, pts);
            Rgn_SetPoly(s.slot_rgn.get(), pts.data(), int(pts.size()));
            Rgn_Sect(s.slot_rgn.get(), inside.get(), s.slot_rgn.get());
            if (set == 0) Rgn_Union(front.get(), s.slot_rgn.get(), front.get());
            else Rgn_Diff(s.slot_rgn.get(), front.get(), s.slot_rgn.get());
            // Turned like a ring's slot, so that every photo's top points
            // outward along its petal.
            s.slot_base_angle = int16_t(spec.orient == 0 ? m - 900 : 0);
            s.slot_rgn_center = Cyl_To_XY(c, set == 0 ? mid : r.inner + 0.75 * (r_out - r.inner), m);
            s.slot_dirty = true;
        }
    }
    return first;
}

int Pack_Rebuild_Regions(const a_pack_spec& spec, a_slot* slots) {
    for (int i = 0; i < PACK_MAX_SLOTS; ++i) {
        Rgn_SetEmpty(slots[i].slot_rgn.get());
        slots[i].slot_base_angle = 0;
        slots[i].slot_rgn_center = Point{};
        slots[i].slot_dirty = true;
    }
    const a_clock_radii r = Calc_Clock_Radii(spec);
    switch (spec.packkind) {
        case PACK_GRID: return Calc_Grid_Regions(spec, slots, 0);
        case PACK_CLOCK1: return Calc_Clock_Regions(spec, spec.clock_nouter, r.inner, r.outer, slots, 0);
        case PACK_CLOCK2: {
            const double mid = (r.inner + r.outer) / 2.0;
            // The 0.9 g separation, but never more than half of the ring's width.
            const double half_sep = std::min(0.45 * r.gap, (r.outer - r.inner) / 4.0);
            int next = Calc_Clock_Regions(spec, spec.clock_nouter, mid + half_sep, r.outer, slots, 0);
            return Calc_Clock_Regions(spec, spec.clock_ninner, r.inner, mid - half_sep, slots, next);
        }
        case PACK_CLOCKSQ: return Calc_Square_Regions(spec, slots, 0);
        case PACK_LOTUS: return Calc_Lotus_Regions(spec, slots, 0);
        default: return 0;
    }
}

void Normalize_180(int16_t& angle) {
    int a = angle;
    while (a > 1800) a -= 3600;
    while (a < -1800) a += 3600;
    angle = int16_t(a);
}
