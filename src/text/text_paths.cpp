#include "text/text_paths.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kRad = kPi / 180.0;

size_t Spec_Bytes(uint8_t shape) {
    switch (shape) {
        case SPOKE_PATH: return sizeof(a_spoke_spec);
        case SPIRAL_PATH: return sizeof(a_spiral_spec);
        case CONTOUR_PATH: return sizeof(a_contour_spec);
        default: return 0;
    }
}

void Add_Step(a_points_path& p, double x, double y, double t, double hs) {
    p.steps.push_back(a_points_path_step{float(x), float(y), float(t), float(hs)});
}

void Finish_Points(a_points_path& p) { p.lastn = int32_t(p.steps.size()) - 1; }

int16_t Clamp16(double v) { return int16_t(std::clamp(v, -32767.0, 32767.0)); }

}  // namespace

bool Is_Equal_Path_Spec(const a_generic_path_spec& a, const a_generic_path_spec& b) {
    if (a.shape != b.shape) return false;
    return std::memcmp(&a.u, &b.u, Spec_Bytes(a.shape)) == 0;
}

void Gen_Path(a_path_cache& pc, const a_generic_path_spec& spec) {
    if (pc.valid && Is_Equal_Path_Spec(pc.spec, spec)) return;
    Flush_Path_Cache(pc);
    pc.spec = spec;
    pc.valid = true;
    switch (spec.shape) {
        case SPOKE_PATH: Calc_Spoke_Path(pc, spec.u.spoke); break;
        case SPIRAL_PATH: Calc_Spiral_Path(pc, spec.u.spiral); break;
        case CONTOUR_PATH: Calc_Contour_Path(pc, spec.u.contour); break;
        default: break;
    }
}

void Calc_Spiral_Path(a_path_cache& pc, const a_spiral_spec& s) {
    pc.content = ARRAY_OF_POINTS;
    pc.overflowx = s.originx;
    pc.overflowy = s.originy;
    int sign = s.clockwise ? -1 : 1;
    double r = s.clockwise ? s.radius - 0.75 * s.lspacing : s.radius - 0.25 * s.lspacing;
    double factor = s.clockwise ? 0.9 : 1.0;
    double theta = (s.polarangle - 90.0 * sign) * kRad;
    a_points_path p;
    while (r >= 30 && p.steps.size() < MAX_PATH_STEPS) {
        Add_Step(p, s.originx + r * std::cos(theta), s.originy - r * std::sin(theta),
                 theta / kRad + 90.0 * sign, factor);
        double dtheta = 10.0 / r;
        r -= s.lspacing * dtheta / (2 * kPi);  // one line spacing per turn
        theta += sign * dtheta;
    }
    Finish_Points(p);
    pc.points.push_back(std::move(p));
    pc.npaths = 1;
}

void Calc_Spoke_Path(a_path_cache& pc, const a_spoke_spec& s) {
    pc.content = ARRAY_OF_POINTS;
    pc.overflowx = s.originx;
    pc.overflowy = s.originy;
    double span = s.outer - s.inner;
    double k = span > 0 ? 1.0 / span : 0;
    double outer_factor = 1.0 - 0.1 * std::min(double(s.twist), 25.0) / 25.0;
    int n = std::clamp(int(s.nspokes), 0, int(MAX_PATH_SEGS));
    for (int sp = 1; sp <= n; ++sp) {
        double a0 = s.start - (sp - 1) * s.perspoke;
        a_points_path p;
        for (double radius = s.outer; radius >= s.inner && p.steps.size() < MAX_PATH_STEPS;
             radius -= 10) {
            double rr = std::clamp(radius, double(s.inner), double(s.outer));
            double f = rr - s.inner;
            double pa = (a0 - s.twist * k * f) * kRad;
            double hs = 1.0 + (outer_factor - 1.0) * f * k;
            Add_Step(p, s.originx + rr * std::cos(pa), s.originy - rr * std::sin(pa),
                     a0 - 2 * s.twist * k * f, hs);
        }
        std::reverse(p.steps.begin(), p.steps.end());  // from inner to outer
        Finish_Points(p);
        pc.points.push_back(std::move(p));
    }
    pc.npaths = uint32_t(n);
}

namespace {

// Half the width the hole of radius `hole` takes of the row from `top` to
// `bottom` (about the centre); 0 when the row passes it.
double Hole_Half_Width(double hole, double top, double bottom) {
    if (hole <= 0 || top >= hole || bottom <= -hole) return 0;
    const double nearest = top <= 0 && bottom >= 0 ? 0 : std::min(std::abs(top), std::abs(bottom));
    return std::sqrt(std::max(0.0, hole * hole - nearest * nearest));
}

}  // namespace

void Calc_Contour_Path(a_path_cache& pc, const a_contour_spec& s) {
    pc.content = ARRAY_OF_LINES;
    double rho = s.outer / 2 - s.outer * s.margin / 400;
    double y = std::max(double(s.starty - s.centery), -rho);
    double height = s.ascent + s.descent;
    // A line spacing under one pixel would never leave the disc.
    double step = std::max(1.0, double(s.lspacing));
    auto add = [&](double x, double b, double length) {
        a_linear_path seg;
        seg.endpointx = float(x);
        seg.endpointy = float(s.centery + b);
        seg.avail = float(length);
        pc.lines.push_back(seg);
    };
    while (y <= rho && y + height <= rho && pc.lines.size() < MAX_PATH_SEGS) {
        double b = y + s.ascent;
        double c = std::sqrt(std::max(0.0, rho * rho - b * b));
        // A row across the hole is two, one each side of it: what is
        // printed over the hole is lost with it.
        const double gap = Hole_Half_Width(s.hole, y, y + height);
        if (gap <= 0) {
            add(s.centerx - c, b, 2 * c);
        } else if (c - gap >= 2.0 * s.ascent && pc.lines.size() + 2 <= MAX_PATH_SEGS) {
            add(s.centerx - c, b, c - gap);
            add(s.centerx + gap, b, c - gap);
        }
        y += step;
    }
    if (pc.lines.empty()) {
        a_linear_path seg;
        seg.endpointx = s.centerx - 10;
        seg.endpointy = float(s.centery + rho - 20);
        seg.avail = 20;
        pc.lines.push_back(seg);
    }
    pc.npaths = uint32_t(pc.lines.size());
    pc.overflowx = s.centerx;
    pc.overflowy = float(s.centery + rho + 20);
}

float Path_Max_Along(const a_path_cache& pc, uint32_t px) {
    if (px < 1 || px > pc.npaths) return 0;
    if (pc.content == ARRAY_OF_LINES) return px <= pc.lines.size() ? pc.lines[px - 1].avail : 0;
    if (px > pc.points.size()) return 0;
    return float(std::max(0, pc.points[px - 1].lastn) * 10);
}

void Find_On_Path(const a_path_cache& pc, uint32_t px, int targ, int& ix, int& iy, int& it) {
    ix = int(pc.overflowx);
    iy = int(pc.overflowy);
    it = 0;
    targ = std::max(targ, 0);
    if (pc.content == ARRAY_OF_LINES) {
        if (px < 1 || px > pc.lines.size()) return;
        const a_linear_path& seg = pc.lines[px - 1];
        double d = std::min(double(targ), double(seg.avail));
        ix = int(std::lround(d * seg.base_cos + seg.endpointx));
        iy = int(std::lround(d * seg.base_sin + seg.endpointy));
        it = int(std::lround(-seg.charangle * 10));
        return;
    }
    if (px < 1 || px > pc.points.size() || pc.points[px - 1].steps.empty()) return;
    const a_points_path& p = pc.points[px - 1];
    int step = targ / 10, rem = targ % 10;
    if (step >= p.lastn) step = p.lastn, rem = 0;
    const a_points_path_step& a = p.steps[size_t(step)];
    double x = a.x, y = a.y, t = a.t;
    if (rem != 0) {
        const a_points_path_step& b = p.steps[size_t(step) + 1];
        double w = rem / 10.0;
        x = a.x * (1 - w) + b.x * w;
        y = a.y * (1 - w) + b.y * w;
        t = a.t * (1 - w) + b.t * w;
    }
    t = std::fmod(t, 360.0);
    if (t < 0) t += 360;
    ix = int(std::lround(x));
    iy = int(std::lround(y));
    it = int(std::lround(t * 10));
}

int Validate_Contour_Anchor(int centerv, int radius, int anchorv) {
    int lo = centerv - radius + 50, hi = centerv + radius - 50;
    if (hi < lo) return centerv;  // a unit too small for the margin: the middle
    return std::clamp(anchorv, lo, hi);
}

// Frames -----------------------------------------------------------------

void Frame_Clear(a_om_pointlist& f) {
    f.max = MAX_FRAME_POINTS;
    f.npoints = 0;
}

void Frame_Add(a_om_pointlist& f, float x, float y) {
    if (f.npoints >= std::min(f.max, int32_t(MAX_FRAME_POINTS))) return;
    f.pts[f.npoints++] = Point{Clamp16(std::trunc(y)), Clamp16(std::trunc(x))};
}

void Frame_Break(a_om_pointlist& f) {
    if (f.npoints > 0 && f.npoints < f.max) f.pts[f.npoints++] = Point{FRAME_BREAK, FRAME_BREAK};
}

void Calc_Rect_Frame(a_om_pointlist& f, a_fpoint first, a_fpoint last, float length, float cs,
                     float sn, float north, float south, float east, float west) {
    Frame_Clear(f);
    length = std::max(length, 20.0f);
    // Outward unit vectors: north is above the first baseline, east ahead of the line.
    float nx = sn, ny = -cs, ex = cs, ey = sn;
    float n = north + 4, s = south + 4, e = east + 4, w = west + 4;
    a_fpoint c1{first.x + nx * n - ex * w, first.y + ny * n - ey * w};
    a_fpoint c2{first.x + ex * length + nx * n + ex * e, first.y + ey * length + ny * n + ey * e};
    a_fpoint c3{last.x + ex * length - nx * s + ex * e, last.y + ey * length - ny * s + ey * e};
    a_fpoint c4{last.x - nx * s - ex * w, last.y - ny * s - ey * w};
    for (const a_fpoint& c : {c1, c2, c3, c4, c1}) Frame_Add(f, c.x, c.y);
}

namespace {

// Direction of travel at step i, of unit length; a path without one (a
// single step, or coincident steps) reads along its characters' angle.
void Step_Direction(const a_points_path& p, int i, double& dx, double& dy) {
    const auto& s = p.steps;
    int a = i < p.lastn ? i : i - 1, b = a + 1;
    if (a >= 0 && b <= p.lastn) {
        dx = s[size_t(b)].x - s[size_t(a)].x;
        dy = s[size_t(b)].y - s[size_t(a)].y;
        double len = std::hypot(dx, dy);
        if (len > 1e-6) {
            dx /= len, dy /= len;
            return;
        }
    }
    double t = s[size_t(i)].t * kRad;
    dx = std::cos(t);
    dy = -std::sin(t);
}

}  // namespace

void Path_To_Frame(const a_path_cache& pc, a_om_pointlist& f, int limit, int ascent, int descent) {
    Frame_Clear(f);
    if (pc.content != ARRAY_OF_POINTS) return;
    for (const a_points_path& p : pc.points) {
        if (p.lastn < 0) continue;
        int last = limit > 0 ? std::min(p.lastn, limit / 10) : p.lastn;
        Frame_Break(f);
        int first_point = f.npoints;
        double dx, dy;
        for (int i = 0; i <= last; ++i) {  // below the baseline: right of travel
            Step_Direction(p, i, dx, dy);
            Frame_Add(f, float(p.steps[size_t(i)].x - dy * descent), float(p.steps[size_t(i)].y + dx * descent));
        }
        for (int i = last; i >= 0; --i) {  // above the characters: left of travel
            Step_Direction(p, i, dx, dy);
            Frame_Add(f, float(p.steps[size_t(i)].x + dy * ascent), float(p.steps[size_t(i)].y - dx * ascent));
        }
        if (first_point < f.npoints) Frame_Add(f, f.pts[first_point].h, f.pts[first_point].v);
    }
}

void Calc_Frame_Contour(a_om_pointlist& f, Point center, int radius, int anchor_v, bool fast) {
    Frame_Clear(f);
    double r = radius + 4;
    double cut = Validate_Contour_Anchor(center.v, radius, anchor_v) - 4;
    double dy = std::clamp(cut - center.v, -r, r);
    double c = std::sqrt(std::max(0.0, r * r - dy * dy));
    double a0 = std::asin(-dy / r);  // the cut line's right end, angle up from the right
    double a1 = -kPi - a0;           // its left end, walking clockwise under the centre
    double step = (fast ? 5 : 2) * kRad;
    Frame_Add(f, float(center.h + c), float(cut));
    for (double a = a0 - step; a > a1; a -= step)
        Frame_Add(f, float(center.h + r * std::cos(a)), float(center.v - r * std::sin(a)));
    Frame_Add(f, float(center.h - c), float(cut));
    Frame_Add(f, float(center.h + c), float(cut));
}

Rect Frame_Bounds(const a_om_pointlist& f) {
    bool any = false;
    Rect r;
    for (int i = 0; i < f.npoints; ++i) {
        Point p = f.pts[i];
        if (p.v == FRAME_BREAK && p.h == FRAME_BREAK) continue;
        if (!any) {
            r = Rect{p.v, p.h, p.v, p.h};
            any = true;
        }
        r.top = std::min(r.top, p.v);
        r.left = std::min(r.left, p.h);
        r.bottom = std::max(r.bottom, p.v);
        r.right = std::max(r.right, p.h);
    }
    return r;
}

bool Frame_Contains(const a_om_pointlist& f, Point pt) {
    bool inside = false;
    int start = 0;
    for (int i = 0; i <= f.npoints; ++i) {
        bool end = i == f.npoints || (f.pts[i].v == FRAME_BREAK && f.pts[i].h == FRAME_BREAK);
        if (!end) continue;
        for (int j = start, k = i - 1; j < i; k = j++) {  // edges of polygon start .. i-1
            if (k < start) k = i - 1;
            const Point a = f.pts[j], b = f.pts[k];
            if ((a.v > pt.v) != (b.v > pt.v) &&
                pt.h < (b.h - a.h) * double(pt.v - a.v) / double(b.v - a.v) + a.h)
                inside = !inside;
        }
        start = i + 1;
    }
    return inside;
}
