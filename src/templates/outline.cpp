#include "templates/outline.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "platform/port.h"
#include "templates/mapping.h"

const a_pattern kOvalDashPat{{0xE1, 0xC3, 0x87, 0x0F, 0x1E, 0x3C, 0x78, 0xF0}};

namespace {

// Sine and cosine of tenths of a degree, scaled by 16384.
int ISin(int tenths) { return int(std::lround(std::sin(tenths * std::numbers::pi / 1800) * 16384)); }
int ICos(int tenths) { return int(std::lround(std::cos(tenths * std::numbers::pi / 1800) * 16384)); }

// The point of a circle at an angle: right of the centre at 0, counter-clockwise.
Point Circle_Point(int cx, int cy, int radius, int tenths) {
    return Point{int16_t(cy - std::lround(double(radius) * ISin(tenths) / 16384)),
                 int16_t(cx + std::lround(double(radius) * ICos(tenths) / 16384))};
}

void Chord(int cx, int cy, int radius, int a0, int a1) {
    Point p = Circle_Point(cx, cy, radius, a0), q = Circle_Point(cx, cy, radius, a1);
    MoveTo(p.h, p.v);
    LineTo(q.h, q.v);
}

// Dashed chords from `from` to `to` (tenths, counter-clockwise), the last
// dash cut at `to`.
void Arc_Dashed(int cx, int cy, int radius, int from, int to, int dash) {
    if (radius <= 0) return;
    int s = Circle_Dash_Step(radius, dash);
    for (int a = from; a < to; a += s + s * 3 / 2) Chord(cx, cy, radius, a, std::min(a + s, to));
}

// The arc solid: framed as part of the circle's oval with the port's arc,
// whose angles start at twelve o'clock and grow clockwise in degrees.
void Arc_Solid(int cx, int cy, int radius, int from, int to) {
    if (radius <= 0) return;
    Rect box{int16_t(cy - radius), int16_t(cx - radius), int16_t(cy + radius + 1),
             int16_t(cx + radius + 1)};
    FrameArc(box, 90 - to / 10, (to - from) / 10);
}

void Arc(int cx, int cy, int radius, int from, int to, int dashlen, int linekind) {
    if (linekind == 0) Arc_Dashed(cx, cy, radius, from, to, dashlen * 4 / 5);
    else Arc_Solid(cx, cy, radius, from, to);
}

// Saves the pen size and sets a square pen for the lifetime of the object.
class a_pen_scope {
public:
    explicit a_pen_scope(int thick) : saved_(GetPenSize()) { PenSize(thick, thick); }
    ~a_pen_scope() { PenSize(saved_.h, saved_.v); }
    a_pen_scope(const a_pen_scope&) = delete;
    a_pen_scope& operator=(const a_pen_scope&) = delete;

private:
    Point saved_;
};

void Fold_Line(const Rect& b, int x, int dashlen, int dashthick, int linekind) {
    Outline_Shape_Line(x, b.top, x, b.bottom - 1, dashlen, dashthick, linekind);
}

void Fold_Lines(const a_iunit& iu, int dashlen, int dashthick, int linekind, bool is_test) {
    const Rect& b = iu.bbox;
    const int16_t* m = iu.imeas;
    switch (iu.shape) {
        case SHAPE_BOOKLET:
            if (m[0] == 0) {
                Fold_Line(b, (b.left + b.right) / 2, dashlen, dashthick, linekind);
            } else {
                Fold_Line(b, (b.left + b.right - m[0]) / 2, dashlen, dashthick, linekind);
                Fold_Line(b, (b.left + b.right + m[0]) / 2, dashlen, dashthick, linekind);
            }
            break;
        case SHAPE_MULTIPART: {
            int x = b.left + m[0];
            Fold_Line(b, x, dashlen, dashthick, linekind);
            for (int k = 1; k < 3 && m[k] != 0; ++k) {
                x += m[k];
                Fold_Line(b, x, dashlen, dashthick, linekind);
            }
            break;
        }
        case SHAPE_SLIMLINE:
            if (!is_test) Fold_Line(b, b.left + m[0], dashlen, dashthick, linekind);
            break;
        case SHAPE_JEWELBASE:
            if (!is_test) {
                Fold_Line(b, b.left + m[0], dashlen, dashthick, linekind);
                Fold_Line(b, b.right - m[0], dashlen, dashthick, linekind);
            }
            break;
        default: break;
    }
}

void Cut_Contour(const a_iunit& iu, int bleed_flag, int dashlen, int dashthick, int linekind) {
    const Rect& b = iu.bbox;
    Point c = Rect_Centre(b);
    switch (iu.shape) {
        case SHAPE_NOTHING: break;
        case SHAPE_ROUNDRECT:
            Outline_Shape_RoundRect(b, iu.imeas[0], dashlen, dashthick, linekind);
            break;
        case SHAPE_CIRCLE:
            Outline_Shape_Circle(c.h, c.v, Rect_Width(b), dashlen, dashthick, linekind);
            break;
        case SHAPE_OVAL: Outline_Shape_Oval(b, dashlen, dashthick, linekind); break;
        case SHAPE_RING:
            Outline_Shape_Circle(c.h, c.v, Rect_Width(b), dashlen, dashthick, linekind);
            Outline_Shape_Circle(c.h, c.v, iu.imeas[0], dashlen, dashthick, linekind);
            if (iu.imeas[1] != 0)
                Outline_Shape_Circle(c.h, c.v, iu.imeas[1], dashlen, dashthick, linekind);
            break;
        case SHAPE_AUDIOFACE: Outline_Shape_Audio(iu, bleed_flag, dashlen, dashthick, linekind); break;
        case SHAPE_BIZHOCKEY:
            Outline_Shape_Hockey(c.h, c.v, Rect_Width(b) / 2, Rect_Height(b) / 2, dashlen, dashthick,
                                 linekind);
            Outline_Shape_Circle(c.h, c.v, iu.imeas[0], dashlen, dashthick, linekind);
            break;
        case SHAPE_BIZRECT:
            Outline_Shape_RoundRect(b, iu.imeas[1], dashlen, dashthick, linekind);
            Outline_Shape_Circle(c.h, c.v, iu.imeas[0], dashlen, dashthick, linekind);
            break;
        default: Outline_Shape_Rect(b, dashlen, dashthick, linekind); break;
    }
}

bool Has_Centre_Cross(int kind) {
    return kind == UNIT_CD || kind == UNIT_CD_CORE || kind == UNIT_MINICD_RING ||
           kind == UNIT_MINICD_HOCKEY || kind == UNIT_MINICD_RECT;
}

}  // namespace

int Circle_Dash_Step(int radius, int dash) {
    return radius > 0 ? std::max(dash * 573 / radius, 2) : 2;
}

void Dashed_Line(int x0, int y0, int x1, int y1, int dash) {
    if (dash <= 0) dash = 1;
    uint32_t fore = GetForeColor(), back = GetBackColor();
    auto step = [dash](int v, int end) {
        return v < end ? std::min(v + dash, end) : std::max(v - dash, end);
    };
    int x = x0, y = y0;
    MoveTo(x, y);
    bool in_fore = true;
    while (x != x1 || y != y1) {
        x = step(x, x1);
        y = step(y, y1);
        RGBForeColor(in_fore ? fore : back);
        LineTo(x, y);
        in_fore = !in_fore;
    }
    RGBForeColor(fore);
}

void Frame_Circle_Dashed(int cx, int cy, int radius, int dash) {
    if (radius <= 0) return;
    int s = Circle_Dash_Step(radius, dash);
    for (int a = 0; a < 3600; a += s + s * 3 / 2) Chord(cx, cy, radius, a, a + s);
}

void Frame_Rect_Dashed(const Rect& r, int dash) {
    if (Rect_IsEmpty(r)) return;
    if (dash <= 0) dash = 1;
    a_pen_scope pen(1);
    uint32_t fore = GetForeColor();
    // One side from (h, v) along +h or +v to its last pixel, restarting the
    // alternation; gaps are painted white.
    auto side = [&](int h, int v, bool across, int last) {
        int pos = across ? h : v;
        MoveTo(h, v);
        bool is_dash = true;
        while (pos < last) {
            pos = std::min(pos + dash, last);
            if (!is_dash) RGBForeColor(kWhiteColor);
            across ? LineTo(pos, v) : LineTo(h, pos);
            if (!is_dash) RGBForeColor(fore);
            is_dash = !is_dash;
        }
    };
    side(r.left, r.top, true, r.right - 1);
    side(r.left, r.bottom - 1, true, r.right - 1);
    side(r.left, r.top, false, r.bottom - 1);
    side(r.right - 1, r.top, false, r.bottom - 1);
}

void Outline_Shape_Line(int x0, int y0, int x1, int y1, int dashlen, int dashthick, int linekind) {
    a_pen_scope pen(dashthick);
    if (linekind != 0) {
        MoveTo(x0, y0);
        LineTo(x1, y1);
    } else if (x0 == x1 || y0 == y1) {
        Dashed_Line(x0, y0, x1, y1, dashlen);
    } else {
        Dashed_Line(x0, y0, x1, y1, dashlen * 3 / 5);
    }
}

void Outline_Shape_Rect(const Rect& r, int dashlen, int dashthick, int linekind) {
    if (linekind == 0) {
        Frame_Rect_Dashed(r, dashlen);
        return;
    }
    a_pen_scope pen(dashthick);
    FrameRect(r);
}

void Outline_Shape_Circle(int cx, int cy, int diameter, int dashlen, int dashthick, int linekind) {
    if (diameter <= 0) return;
    a_pen_scope pen(dashthick);
    if (linekind == 0) {
        Frame_Circle_Dashed(cx, cy, (diameter - dashthick) / 2, dashlen * 4 / 5);
        return;
    }
    int top = cy - diameter / 2, left = cx - diameter / 2;
    FrameOval(Rect{int16_t(top), int16_t(left), int16_t(top + diameter), int16_t(left + diameter)});
}

void Outline_Shape_Oval(const Rect& r, int /*dashlen*/, int dashthick, int linekind) {
    a_pen_scope pen(dashthick);
    if (linekind == 0) PenPat(kOvalDashPat);
    FrameOval(r);
    PenPat(kBlackPat);
}

void Outline_Shape_Fillet(int cx, int cy, int radius, int from, int to, int dashlen, int dashthick,
                          int linekind) {
    a_pen_scope pen(dashthick);
    Arc(cx, cy, radius, from, to, dashlen, linekind);
}

void Outline_Shape_RoundRect(const Rect& r, int radius, int dashlen, int dashthick, int linekind) {
    if (radius < 2) {
        Outline_Shape_Rect(r, dashlen, dashthick, linekind);
        return;
    }
    if (linekind != 0) {
        a_pen_scope pen(dashthick);
        FrameRoundRect(r, 2 * radius, 2 * radius);
        return;
    }
    // Dashed: four sides between four fillets, all inside the rectangle.
    int l = r.left, t = r.top, rr = r.right - dashthick, b = r.bottom - dashthick;
    radius = std::min({radius, (rr - l) / 2, (b - t) / 2});
    Outline_Shape_Line(l + radius, t, rr - radius, t, dashlen, dashthick, linekind);
    Outline_Shape_Line(l + radius, b, rr - radius, b, dashlen, dashthick, linekind);
    Outline_Shape_Line(l, t + radius, l, b - radius, dashlen, dashthick, linekind);
    Outline_Shape_Line(rr, t + radius, rr, b - radius, dashlen, dashthick, linekind);
    Outline_Shape_Fillet(rr - radius, t + radius, radius, 0, 900, dashlen, dashthick, linekind);
    Outline_Shape_Fillet(l + radius, t + radius, radius, 900, 1800, dashlen, dashthick, linekind);
    Outline_Shape_Fillet(l + radius, b - radius, radius, 1800, 2700, dashlen, dashthick, linekind);
    Outline_Shape_Fillet(rr - radius, b - radius, radius, 2700, 3600, dashlen, dashthick, linekind);
}

void Outline_Shape_Audio(const a_iunit& iu, int bleed_flag, int dashlen, int dashthick,
                         int linekind) {
    const Rect& bb = iu.bbox;
    int s = Audio_Slant(bb);
    int l = bb.left, t = bb.top, r = bb.right - dashthick, b = bb.bottom - dashthick;
    const int pts[7][2] = {{l, b}, {l, t + s}, {l + s, t}, {r - s, t}, {r, t + s}, {r, b}, {l, b}};
    for (int k = 0; k + 1 < 7; ++k)
        Outline_Shape_Line(pts[k][0], pts[k][1], pts[k + 1][0], pts[k + 1][1], dashlen, dashthick,
                           linekind);
    // The tape window: a slot with round ends.
    int w = iu.imeas[2], hv = iu.imeas[3];
    if (bleed_flag == 1) {
        w -= iu.ibleed.left + iu.ibleed.right;
        hv -= iu.ibleed.top + iu.ibleed.bottom;
    }
    if (w <= 0 || hv <= 0) return;
    int rad = hv / 2;
    int left = (bb.left + bb.right - w) / 2 + iu.imeas[0], right = left + w - dashthick;
    int top = bb.top + iu.imeas[1] + iu.ibleed.top, bottom = top + hv - dashthick;
    int arc_r = (hv - dashthick) / 2, cy = top + arc_r;
    Outline_Shape_Line(left + rad, top, right - rad, top, dashlen, dashthick, linekind);
    Outline_Shape_Line(left + rad, bottom, right - rad, bottom, dashlen, dashthick, linekind);
    Outline_Shape_Fillet(left + arc_r, cy, arc_r, 900, 2700, dashlen, dashthick, linekind);
    Outline_Shape_Fillet(right - arc_r, cy, arc_r, -900, 900, dashlen, dashthick, linekind);
}

void Outline_Shape_Hockey(int cx, int cy, int radius, int side, int dashlen, int dashthick,
                          int linekind) {
    if (radius <= 0 || side <= 0) return;
    side = std::min(side, radius);
    int top = cy - side, bottom = cy + side - dashthick;
    int r = radius - (dashthick + 1) / 2;
    int half = int(std::lround(std::sqrt(double(r) * r - double(side) * side)));
    Outline_Shape_Line(cx - half, top, cx + half, top, dashlen, dashthick, linekind);
    Outline_Shape_Line(cx - half, bottom, cx + half, bottom, dashlen, dashthick, linekind);
    int theta = int(std::lround(std::atan2(double(side), double(half)) * 1800 / std::numbers::pi));
    Outline_Shape_Fillet(cx, cy, r, -theta, theta, dashlen, dashthick, linekind);
    Outline_Shape_Fillet(cx, cy, r, 1800 - theta, 1800 + theta, dashlen, dashthick, linekind);
}

void Outline_Shape2(const a_iunit& iu, int bleed_flag, int dashlen, int dashthick, int linekind,
                    bool do_inside, bool do_outside, bool is_test) {
    a_pen_scope pen(dashthick);
    if (do_outside) Cut_Contour(iu, bleed_flag, dashlen, dashthick, linekind);
    if (do_inside) Fold_Lines(iu, dashlen, dashthick, linekind, is_test);
}

void Outline_Shape(Rect& used_bbox, int bleed_flag, bool crosshair, int dashlen, int dashthick,
                   int linekind, bool is_test, const a_unit& unit) {
    a_unit placed = Calc_Print_Unit(unit, bleed_flag == 2);
    a_iunit iu;
    Map_Unit(iu, placed);
    // Folds belong to the true outline; measured from a bleed-grown edge
    // they would land the bleed's width off.
    Outline_Shape2(iu, bleed_flag, dashlen, dashthick, linekind, bleed_flag != 2, true, is_test);
    if (crosshair && Has_Centre_Cross(unit.kind)) {
        Point c = Rect_Centre(iu.bbox);
        Draw_Crosshair(c.h, c.v, dashlen);
    }
    used_bbox = iu.bbox;
}

void Draw_Crosshair(int x, int y, int /*dashlen*/) {
    a_pen_scope pen(2);
    MoveTo(x - 8, y);
    LineTo(x + 8, y);
    MoveTo(x, y - 8);
    LineTo(x, y + 8);
}
