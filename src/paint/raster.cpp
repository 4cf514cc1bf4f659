#include "paint/raster.h"

#include <algorithm>
#include <cmath>

void Cov_Reset(a_coverage& c, const Rect& r, const Rect& clip) {
    c.bounds = Rect_Sect(r, clip);
    c.a.assign(size_t(Rect_Width(c.bounds)) * size_t(Rect_Height(c.bounds)), 0);
    c.rgb.clear();
}

namespace {

// Maximum of the covered disc into c (already sized).
void Add_Disc(a_coverage& c, double cx, double cy, double r) {
    if (Rect_IsEmpty(c.bounds)) return;
    int top = std::max<int>(c.bounds.top, int(std::floor(cy - r - 1)));
    int bottom = std::min<int>(c.bounds.bottom, int(std::ceil(cy + r + 1)));
    int left = std::max<int>(c.bounds.left, int(std::floor(cx - r - 1)));
    int right = std::min<int>(c.bounds.right, int(std::ceil(cx + r + 1)));
    for (int y = top; y < bottom; ++y) {
        uint8_t* row = c.Row(y) - c.bounds.left;
        double dy = y + 0.5 - cy;
        for (int x = left; x < right; ++x) {
            double dx = x + 0.5 - cx, d = std::sqrt(dx * dx + dy * dy);
            double cover = std::clamp(r + 0.5 - d, 0.0, 1.0);
            uint8_t v = uint8_t(std::lround(cover * 255));
            if (v > row[x]) row[x] = v;
        }
    }
}

}  // namespace

void Cov_Disc(a_coverage& c, Point at, int diameter, const Rect& clip) {
    double r = std::max(diameter, 1) / 2.0;
    int g = int(r) + 2;
    Cov_Reset(c, Rect{int16_t(at.v - g), int16_t(at.h - g), int16_t(at.v + g + 1), int16_t(at.h + g + 1)},
              clip);
    Add_Disc(c, at.h + 0.5, at.v + 0.5, r);
}

Rect Points_Bounds(const std::vector<Point>& pts, int grow) {
    if (pts.empty()) return Rect{};
    int top = pts[0].v, bottom = pts[0].v, left = pts[0].h, right = pts[0].h;
    for (const Point& p : pts) {
        top = std::min<int>(top, p.v), bottom = std::max<int>(bottom, p.v);
        left = std::min<int>(left, p.h), right = std::max<int>(right, p.h);
    }
    auto c16 = [](int v) { return int16_t(std::clamp(v, -32000, 32000)); };
    return Rect{c16(top - grow), c16(left - grow), c16(bottom + 1 + grow), c16(right + 1 + grow)};
}

void Cov_Polygon(a_coverage& c, const std::vector<Point>& pts, const Rect& clip) {
    Cov_Reset(c, Points_Bounds(pts, 0), clip);
    if (pts.size() < 3 || Rect_IsEmpty(c.bounds)) return;
    std::vector<double> xs;
    for (int y = c.bounds.top; y < c.bounds.bottom; ++y) {
        double sy = y + 0.5;
        xs.clear();
        for (size_t i = 0, n = pts.size(); i < n; ++i) {
            const Point& a = pts[i];
            const Point& b = pts[(i + 1) % n];
            double ay = a.v + 0.5, by = b.v + 0.5;
            if ((ay <= sy) == (by <= sy)) continue;
            xs.push_back(a.h + 0.5 + (sy - ay) * (b.h - a.h) / (by - ay));
        }
        std::sort(xs.begin(), xs.end());
        uint8_t* row = c.Row(y) - c.bounds.left;
        for (size_t i = 0; i + 1 < xs.size(); i += 2) {
            int x0 = std::max<int>(c.bounds.left, int(std::ceil(xs[i] - 0.5)));
            int x1 = std::min<int>(c.bounds.right, int(std::ceil(xs[i + 1] - 0.5)));
            for (int x = x0; x < x1; ++x) row[x] = 255;
        }
    }
}

void Cov_Add_Polyline(a_coverage& c, const std::vector<Point>& pts, bool closed, int thickness) {
    if (pts.empty()) return;
    double r = std::max(thickness, 1) / 2.0;
    // Centres of even-sized pens sit on cell corners, of odd ones on cell centres.
    double off = (std::max(thickness, 1) % 2) ? 0.5 : 0.0;
    size_t n = pts.size(), segs = closed ? n : n - 1;
    if (n == 1) return Add_Disc(c, pts[0].h + off, pts[0].v + off, r);
    // Pens a few cells apart overlap enough; fewer discs keep thick rims fast.
    int step = std::max(1, int(r / 2)), k = 0;
    for (size_t i = 0; i < segs; ++i)
        Bresenham(pts[i], pts[(i + 1) % n], [&](Point p) {
            if (k++ % step == 0) Add_Disc(c, p.h + off, p.v + off, r);
        });
    Add_Disc(c, pts[closed ? 0 : n - 1].h + off, pts[closed ? 0 : n - 1].v + off, r);
}
