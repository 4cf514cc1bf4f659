#include "paint/fills.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "paint/border_fill.h"
#include "pixels/pixmap.h"

namespace {

uint32_t Mix(uint32_t a, uint32_t b, double t) {
    uint32_t out = 0;
    for (int s = 0; s <= 16; s += 8) {
        double ca = (a >> s) & 0xFF, cb = (b >> s) & 0xFF;
        out |= uint32_t(std::lround(ca + (cb - ca) * t)) << s;
    }
    return out;
}

// v's fraction in 0 .. 1 (a cast, not floor: floor is a library call here).
double Frac(double v) {
    if (!(std::abs(v) < 1e15)) return 0;
    double f = v - double(int64_t(v));
    return f < 0 ? f + 1 : f;
}

// atan2 to within 1e-5 radians, several times faster than the library's: a
// gradient's run has 4096 steps, 0.0015 radians each round the radar.
double Fast_Atan2(double y, double x) {
    const double ax = std::abs(x), ay = std::abs(y);
    const double big = std::max(ax, ay);
    if (big == 0) return 0;
    const double a = std::min(ax, ay) / big, s = a * a;
    double r = ((((-0.0117212 * s + 0.05265332) * s - 0.11643287) * s + 0.19354346) * s - 0.33262347) * s +
               0.99997726;
    r *= a;
    if (ay > ax) r = std::numbers::pi / 2 - r;
    if (x < 0) r = std::numbers::pi - r;
    return y < 0 ? -r : r;
}

uint32_t Pixel32(const GWorld& w, int x, int y) {
    const Rect& b = w.pix.bounds;
    x = b.left + ((x - b.left) % Rect_Width(b) + Rect_Width(b)) % Rect_Width(b);
    y = b.top + ((y - b.top) % Rect_Height(b) + Rect_Height(b)) % Rect_Height(b);
    return reinterpret_cast<const uint32_t*>(PixMap_Row(w.pix, y))[x - b.left] & 0xFFFFFF;
}

uint8_t Pixel8(const GWorld& w, int x, int y) {
    const Rect& b = w.pix.bounds;
    x = b.left + ((x - b.left) % Rect_Width(b) + Rect_Width(b)) % Rect_Width(b);
    y = b.top + ((y - b.top) % Rect_Height(b) + Rect_Height(b)) % Rect_Height(b);
    return PixMap_Row(w.pix, y)[x - b.left];
}

// Mixes `rgb` at weight a (0 .. 255) over the cell; 32-bit and 8-bit rows.
void Over(uint32_t& w, uint8_t& m, uint32_t rgb, unsigned a) {
    if (a == 0) return;
    if (a == 255) {  // covers it whole: most cells of a fill
        w = rgb | (w & 0xFF000000u);
        m = 255;
        return;
    }
    unsigned keep = m * (255 - a) / 255, nm = a + keep;
    uint32_t out = 0;
    for (int s = 0; s <= 16; s += 8) {
        unsigned cw = (w >> s) & 0xFF, cs = (rgb >> s) & 0xFF;
        out |= ((cs * a + cw * keep + nm / 2) / nm) << s;
    }
    w = out | (w & 0xFF000000u);
    m = uint8_t(nm);
}

}  // namespace

uint32_t Grad_Color(const a_grad_rec& g, double t) {
    int n = std::clamp(g.nbands, 1, int(MAXGRADBANDS));
    if (n == 1) return g.bands[0] & 0xFFFFFF;
    t = std::clamp(t, 0.0, 1.0) * (n - 1);
    int i = std::min(int(t), n - 2);
    return Mix(g.bands[i], g.bands[i + 1], t - i) & 0xFFFFFF;
}

a_grad_ctx Grad_Setup(const a_grad_rec& g, const a_paint_state& p, const Rect& area, bool colours) {
    a_grad_ctx c;
    c.g = &g;
    c.area = area;
    c.cx = (area.left + area.right) / 2.0, c.cy = (area.top + area.bottom) / 2.0;
    if (g.center.h != -1 || g.center.v != -1) c.cx = g.center.h + 0.5, c.cy = g.center.v + 0.5;
    c.w = std::max(1, Rect_Width(area)), c.h = std::max(1, Rect_Height(area));
    c.half = std::max(c.w, c.h) / 2.0;
    c.ang = p.grad_angle * std::numbers::pi / 180.0;
    c.ca = std::cos(c.ang), c.sa = std::sin(c.ang);
    c.twist = (p.grad_twist - 800) / 800.0;  // -1 .. 1 turns over the radius
    c.rep = p.grad_rep;
    if (!colours) return c;
    c.colours.resize(a_grad_ctx::GRAD_STEPS + 1);
    for (int i = 0; i <= a_grad_ctx::GRAD_STEPS; ++i)
        c.colours[size_t(i)] = Grad_Color(g, double(i) / a_grad_ctx::GRAD_STEPS);
    return c;
}

double Grad_Position(const a_grad_ctx& c, int x, int y) {
    const double pi = std::numbers::pi;
    const a_grad_rec& g = *c.g;
    double dx = x + 0.5 - c.cx, dy = y + 0.5 - c.cy;
    const double inv = 0.5 / c.half;  // multiplied, not divided: this runs for every cell
    double along = (dx * c.ca - dy * c.sa) * inv + 0.5;
    double t = 0;
    switch (g.kind) {
        case GRAD_LINEAR: t = along; break;
        case GRAD_RIDGES: t = 1 - std::abs(2 * Frac(along * 2) - 1); break;
        case GRAD_CIRCULAR: {
            double r = std::sqrt(dx * dx + dy * dy);
            t = r / c.half;
            if (c.twist != 0) t += c.twist * std::sin(std::atan2(dy, dx) * 4) * 0.1;
            break;
        }
        case GRAD_CONTOUR: {
            const Rect& a = c.area;
            double edge = std::min({x + 0.5 - a.left, a.right - x - 0.5, y + 0.5 - a.top, a.bottom - y - 0.5});
            t = 1 - std::clamp(edge / (std::min(c.w, c.h) / 2.0), 0.0, 1.0);
            break;
        }
        case GRAD_RADAR: {
            double r = c.twist != 0 ? std::sqrt(dx * dx + dy * dy) : 0;
            t = Frac((Fast_Atan2(-dy, dx) - c.ang) * (0.5 / pi) + c.twist * r * 2 * inv);
            break;
        }
        default: {  // wavy
            double across = (dx * c.sa + dy * c.ca) * inv;
            t = along + 0.08 * std::sin(across * 2 * pi * 3 + c.twist * pi);
            break;
        }
    }
    t = std::clamp(t, 0.0, 1.0);
    if (c.rep > 1) t = t >= 1 ? 1 : Frac(t * c.rep);
    return g.reverse ? 1 - t : t;
}

double Grad_Position(const a_grad_rec& g, const a_paint_state& p, const Rect& area, int x, int y) {
    return Grad_Position(Grad_Setup(g, p, area, false), x, y);
}

bool Fill_Color(const a_paint_state& p, int fill_kind, const Rect& area, int x, int y,
                uint32_t& rgb, uint8_t& alpha, const a_grad_ctx* grad) {
    alpha = 255;
    switch (fill_kind) {
        case PATTERN_FILL:
            if (!p.pattern || Rect_IsEmpty(p.pattern->pix.bounds)) break;
            rgb = Pixel32(*p.pattern, x, y);
            return true;
        case GRADIENT_FILL:
            rgb = grad ? grad->Colour(Grad_Position(*grad, x, y))
                       : Grad_Color(p.fill_gradient, Grad_Position(p.fill_gradient, p, area, x, y));
            return true;
        case STAMP_FILL:
            if (!p.stamp || !p.stamp->fore || Rect_IsEmpty(p.stamp->fore->pix.bounds)) break;
            rgb = Pixel32(*p.stamp->fore, x, y);
            alpha = p.stamp->mask ? Pixel8(*p.stamp->mask, x, y) : 255;
            return alpha != 0;
        case BORDER_FILL: return p.border && Border_Color(*p.border, area, x, y, rgb, alpha);
        default: break;
    }
    rgb = p.fill_color32 & 0xFFFFFF;
    return true;
}

void Apply_Coverage(const a_coverage& c, const a_paint_state& p, int fill_kind, const Rect& area,
                    GWorld& world, GWorld& mask) {
    Rect r = Rect_Sect(c.bounds, world.pix.bounds);
    if (Rect_IsEmpty(r)) return;
    unsigned opacity = unsigned(std::clamp(p.opacity, 0, 100)) * 255 / 100;
    bool own = !c.rgb.empty();
    a_grad_ctx grad;
    if (fill_kind == GRADIENT_FILL) grad = Grad_Setup(p.fill_gradient, p, area);
    int cw = Rect_Width(c.bounds);
    for (int y = r.top; y < r.bottom; ++y) {
        auto* wrow = reinterpret_cast<uint32_t*>(PixMap_Row(world.pix, y)) - world.pix.bounds.left;
        uint8_t* mrow = PixMap_Row(mask.pix, y) - mask.pix.bounds.left;
        const uint8_t* crow = c.Row(y) - c.bounds.left;
        for (int x = r.left; x < r.right; ++x) {
            unsigned a = crow[x] * opacity / 255;
            if (a == 0) continue;
            if (fill_kind == ERASER_FILL) {
                mrow[x] = uint8_t(mrow[x] * (255 - a) / 255);
                continue;
            }
            uint32_t rgb;
            uint8_t alpha;
            if (own) {
                rgb = c.rgb[size_t(y - c.bounds.top) * size_t(cw) + size_t(x - c.bounds.left)];
                alpha = 255;
            } else if (!Fill_Color(p, fill_kind, area, x, y, rgb, alpha, &grad)) {
                continue;
            }
            Over(wrow[x], mrow[x], rgb, a * alpha / 255);
        }
    }
}
