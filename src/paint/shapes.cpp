#include "paint/shapes.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>

namespace {

Point P(double v, double h) { return Point{int16_t(std::lround(v)), int16_t(std::lround(h))}; }

// Steps for a curve of radius r: one point every two cells or so.
int Curve_Steps(double r, double turn) { return std::clamp(int(r * turn / 2), 4, 2000); }

void Add_Quarter(std::vector<Point>& out, double cv, double ch, double rv, double rh, double from) {
    const double half_pi = std::numbers::pi / 2;
    int n = Curve_Steps(std::max(rv, rh), half_pi);
    for (int i = 0; i <= n; ++i) {
        double a = from + half_pi * i / n;
        out.push_back(P(cv - rv * std::sin(a), ch + rh * std::cos(a)));
    }
}

}  // namespace

Rect Drag_Box(Point anchor, Point now, bool from_center, bool constrain) {
    int dh = now.h - anchor.h, dv = now.v - anchor.v;
    if (constrain) {
        int d = std::max(std::abs(dh), std::abs(dv));
        dh = dh < 0 ? -d : d, dv = dv < 0 ? -d : d;
    }
    int left, right, top, bottom;
    if (from_center) {
        left = anchor.h - std::abs(dh), right = anchor.h + std::abs(dh);
        top = anchor.v - std::abs(dv), bottom = anchor.v + std::abs(dv);
    } else {
        left = std::min(anchor.h + 0, anchor.h + dh), right = std::max(anchor.h + 0, anchor.h + dh);
        top = std::min(anchor.v + 0, anchor.v + dv), bottom = std::max(anchor.v + 0, anchor.v + dv);
    }
    auto c = [](int v) { return int16_t(std::clamp(v, -16000, 16000)); };
    return Rect{c(top), c(left), c(bottom + 1), c(right + 1)};
}

std::vector<Point> Rect_Outline(const Rect& b) {
    int16_t r = int16_t(b.right - 1), bt = int16_t(b.bottom - 1);
    return {Point{b.top, b.left}, Point{b.top, r}, Point{bt, r}, Point{bt, b.left}};
}

std::vector<Point> RoundRect_Outline(const Rect& b, int corner) {
    double w = Rect_Width(b) - 1, h = Rect_Height(b) - 1;
    double rad = std::min(w, h) * std::clamp(corner, 0, 80) / 160.0;
    if (rad < 1) return Rect_Outline(b);
    const double pi = std::numbers::pi;
    double top = b.top, left = b.left, right = b.right - 1, bottom = b.bottom - 1;
    std::vector<Point> out;
    Add_Quarter(out, top + rad, right - rad, rad, rad, 0);            // top right
    Add_Quarter(out, top + rad, left + rad, rad, rad, pi / 2);        // top left
    Add_Quarter(out, bottom - rad, left + rad, rad, rad, pi);         // bottom left
    Add_Quarter(out, bottom - rad, right - rad, rad, rad, 3 * pi / 2);  // bottom right
    return out;
}

std::vector<Point> Oval_Outline(const Rect& b) {
    double rv = (Rect_Height(b) - 1) / 2.0, rh = (Rect_Width(b) - 1) / 2.0;
    double cv = b.top + rv, ch = b.left + rh;
    int n = 4 * Curve_Steps(std::max(rv, rh), std::numbers::pi / 2);
    std::vector<Point> out;
    for (int i = 0; i < n; ++i) {
        double a = 2 * std::numbers::pi * i / n;
        out.push_back(P(cv - rv * std::sin(a), ch + rh * std::cos(a)));
    }
    return out;
}

std::vector<Point> Arc_Outline(Point a, Point b, bool wedge) {
    // The oval's centre is the box corner level with `a` and below/above `b`.
    Point corner{a.v, b.h};
    double rh = std::abs(b.h - a.h), rv = std::abs(b.v - a.v);
    std::vector<Point> out;
    int n = Curve_Steps(std::max(rv, rh), std::numbers::pi / 2);
    double sh = a.h < b.h ? -1 : 1, sv = b.v < a.v ? -1 : 1;
    for (int i = 0; i <= n; ++i) {
        double t = std::numbers::pi / 2 * i / n;
        out.push_back(P(corner.v + sv * rv * std::sin(t), corner.h + sh * rh * std::cos(t)));
    }
    if (wedge) out.push_back(corner);
    return out;
}
