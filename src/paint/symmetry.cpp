#include "paint/symmetry.h"

#include <array>
#include <cmath>
#include <numbers>

#include "model/document.h"
#include "paint/paint_layer.h"

namespace {

const std::array<int16_t, 360>& Sine_Table() {
    static const std::array<int16_t, 360> table = [] {
        std::array<int16_t, 360> t{};
        for (int d = 0; d < 360; ++d)
            t[size_t(d)] = int16_t(std::lround(std::sin(d * std::numbers::pi / 180.0) * 16384));
        return t;
    }();
    return table;
}

// (x + 8192) ÷ 16384 rounded down, so that -0.7 becomes -1 as 0.7 becomes 1:
// truncating division would pull every copy left of or above the centre
// one cell towards it.
int Scale_Down(int64_t x) { return int(std::floor((x + 8192) / 16384.0)); }

}  // namespace

int Int_Sin(int degrees) { return Sine_Table()[size_t(((degrees % 360) + 360) % 360)]; }
int Int_Cos(int degrees) { return Int_Sin(degrees + 90); }

Point Sym_Transform(Point p, Point center, int degrees, bool mirror) {
    int64_t s = Int_Sin(degrees), c = Int_Cos(degrees);
    int64_t dh = p.h - center.h, dv = p.v - center.v;
    int h = Scale_Down(dh * c + dv * s);
    int v = Scale_Down(c * dv - s * dh);
    return Point{int16_t(center.v + v), int16_t(mirror ? center.h - h : center.h + h)};
}

void Gen_Symmetry(a_atom_rec& atom, a_atom_proc proc, bool mirror, bool include_original,
                  const a_paint_state& p) {
    const int n = std::clamp(p.symmetry_count, 1, 30);
    const Point center = g_doc.up ? g_doc.up->symmetry_center : Point{};
    const a_grad_rec& g = p.fill_gradient;
    const bool flips = g.kind == GRAD_LINEAR || g.kind == GRAD_RIDGES || g.kind == GRAD_RADAR ||
                       g.kind == GRAD_WAVY;
    for (int i = include_original ? 0 : 1; i < n; ++i) {
        const int angle = i * 360 / n;
        a_atom_rec copy = atom;
        for (Point& pt : copy.list.pts) pt = Sym_Transform(pt, center, angle, mirror);
        copy.angle = atom.angle + angle;
        copy.mirror = atom.mirror != mirror;
        a_paint_state q = p;
        if (atom.fill == GRADIENT_FILL) {
            if (g.center.h != -1 || g.center.v != -1)
                q.fill_gradient.center = Sym_Transform(g.center, center, angle, mirror);
            q.grad_angle = p.grad_angle - angle;
            if (mirror && flips) q.fill_gradient.reverse = !g.reverse;
        }
        Doc_Atom(copy, proc, q);
        atom.dirty = Rect_Union(atom.dirty, copy.dirty);
    }
}

void Imprint(a_atom_rec& atom, int tool, bool draw_original, a_atom_proc proc, const a_paint_state& p) {
    bool honours = tool < 0 || tool >= NPAINT_TOOLS || g_tool_desc[tool].symmetry;
    if (p.symmetry_on && honours && atom.fill != BORDER_FILL && atom.fill != GETTING_MARQUEE) {
        Gen_Symmetry(atom, proc, false, draw_original, p);
        if (p.symmetry_kind == MIRROR_SYMMETRY) Gen_Symmetry(atom, proc, true, true, p);
        return;
    }
    if (draw_original) Doc_Atom(atom, proc, p);
}
