#include "platform/port.h"

#include <QPolygon>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <numbers>

#include "platform/region_qt.h"

struct a_port {
    a_port_bits bits;
    uint32_t fore = kBlackColor;
    uint32_t back = kWhiteColor;
    Point pen_loc;
    Point pen_size{1, 1};  // v = height, h = width
    a_pattern pen_pat = kBlackPat;
    int16_t pen_mode = PEN_COPY;
    bool clip_open = true;
    QRegion clip;
};

namespace {

a_port* current_port = nullptr;

enum a_verb { VERB_PAINT, VERB_ERASE, VERB_INVERT, VERB_FILL };

// ---- pixel values ---------------------------------------------------------

uint32_t Red(uint32_t c) { return (c >> 16) & 0xFF; }
uint32_t Green(uint32_t c) { return (c >> 8) & 0xFF; }
uint32_t Blue(uint32_t c) { return c & 0xFF; }

uint32_t Index8_Color(const a_port_bits& bits, int k) {
    if (bits.ctable && k < bits.nctable) return bits.ctable[k] & 0xFFFFFF;
    int g = 255 - k;
    return Port_RGB(uint8_t(g), uint8_t(g), uint8_t(g));
}

uint32_t Nearest_Index8(const a_port_bits& bits, uint32_t rgb) {
    if (!bits.ctable || bits.nctable <= 0) {
        uint32_t gray = (77 * Red(rgb) + 151 * Green(rgb) + 28 * Blue(rgb)) >> 8;
        return 255 - std::min<uint32_t>(gray, 255);
    }
    int best = 0;
    long best_d = -1;
    for (int k = 0; k < bits.nctable && k < 256; ++k) {
        uint32_t c = Index8_Color(bits, k);
        long dr = long(Red(c)) - long(Red(rgb)), dg = long(Green(c)) - long(Green(rgb)),
             db = long(Blue(c)) - long(Blue(rgb));
        long d = dr * dr + dg * dg + db * db;
        if (best_d < 0 || d < best_d) best = k, best_d = d;
        if (d == 0) break;
    }
    return uint32_t(best);
}

// The stored value of a colour at the port's depth.
uint32_t Pixel_Value(const a_port_bits& bits, uint32_t rgb) {
    switch (bits.depth) {
        case 1: return ((77 * Red(rgb) + 151 * Green(rgb) + 28 * Blue(rgb)) >> 8) < 128 ? 1 : 0;
        case 8: return Nearest_Index8(bits, rgb);
        case 16: return ((Red(rgb) >> 3) << 10) | ((Green(rgb) >> 3) << 5) | (Blue(rgb) >> 3);
        default: return rgb & 0xFFFFFF;
    }
}

// Writes or inverts a run of pixels [x0, x1) of one row; `bit(x)` says which
// pixels the operation touches (the pattern after the mode's NOT).
struct a_row_op {
    bool invert = false;     // XOR modes and Invert*
    bool write_set = false;  // where bit set: put set_value
    bool write_clear = false;
    uint32_t set_value = 0;
    uint32_t clear_value = 0;
};

void Put_Pixel(const a_port_bits& bits, uint8_t* row, int col, uint32_t v) {
    switch (bits.depth) {
        case 1: {
            uint8_t m = uint8_t(0x80 >> (col & 7));
            row[col >> 3] = v ? uint8_t(row[col >> 3] | m) : uint8_t(row[col >> 3] & ~m);
            break;
        }
        case 8: row[col] = uint8_t(v); break;
        case 16: {
            uint16_t w = uint16_t(v);
            std::memcpy(row + 2 * col, &w, 2);
            break;
        }
        case 24:
            row[3 * col] = uint8_t(v), row[3 * col + 1] = uint8_t(v >> 8);
            row[3 * col + 2] = uint8_t(v >> 16);
            break;
        default: {  // 32: B, G, R kept, the fourth byte left alone
            uint8_t* p = row + 4 * col;
            p[0] = uint8_t(v), p[1] = uint8_t(v >> 8), p[2] = uint8_t(v >> 16);
        }
    }
}

void Invert_Pixel(const a_port_bits& bits, uint8_t* row, int col) {
    switch (bits.depth) {
        case 1: row[col >> 3] ^= uint8_t(0x80 >> (col & 7)); break;
        case 8: row[col] ^= 0xFF; break;
        case 16: {
            uint16_t w;
            std::memcpy(&w, row + 2 * col, 2);
            w ^= 0x7FFF;
            std::memcpy(row + 2 * col, &w, 2);
            break;
        }
        case 24: for (int k = 0; k < 3; ++k) row[3 * col + k] ^= 0xFF; break;
        default: for (int k = 0; k < 3; ++k) row[4 * col + k] ^= 0xFF;
    }
}

// Whole words, the fourth byte kept: a loop the compiler vectorises.
void Fill_Solid32(uint8_t* row, int x0, int x1, uint32_t v) {
    for (int x = x0; x < x1; ++x) {
        uint32_t w;
        std::memcpy(&w, row + 4 * x, 4);
        w = (w & 0xFF000000u) | v;
        std::memcpy(row + 4 * x, &w, 4);
    }
}

void Run_Row(const a_port_bits& bits, const a_row_op& op, const a_pattern& pat, bool not_pat,
             int y, int x0, int x1) {
    uint8_t* row = bits.base + ptrdiff_t(y - bits.bounds.top) * bits.rowbytes;
    int left = bits.bounds.left;
    uint8_t pbits = pat.rows[y & 7];
    if (not_pat) pbits = uint8_t(~pbits);
    if (pbits == 0xFF && !op.invert && op.write_set) {
        // Solid runs of the common depths: masks (8) and colour worlds (32).
        if (bits.depth == 32) return Fill_Solid32(row, x0 - left, x1 - left, op.set_value);
        if (bits.depth == 8)
            return void(std::memset(row + (x0 - left), int(op.set_value), size_t(x1 - x0)));
    }
    for (int x = x0; x < x1; ++x) {
        bool set = (pbits >> (7 - (x & 7))) & 1;
        int col = x - left;
        if (set) {
            if (op.invert) Invert_Pixel(bits, row, col);
            else if (op.write_set) Put_Pixel(bits, row, col, op.set_value);
        } else if (op.write_clear) {
            Put_Pixel(bits, row, col, op.clear_value);
        }
    }
}

// ---- drawing a region of pixels -------------------------------------------

// Pixels we can draw into: a depth we know and rows long enough for it.
bool Bits_Usable(const a_port_bits& bits) {
    bool known = bits.depth == 1 || bits.depth == 8 || bits.depth == 16 || bits.depth == 24 ||
                 bits.depth == 32;
    long need = (long(Rect_Width(bits.bounds)) * bits.depth + 7) / 8;
    return bits.base && known && bits.rowbytes >= need;
}

void Draw_Shape(const QRegion& shape, a_verb verb, const a_pattern* fill_pat = nullptr) {
    a_port* port = current_port;
    if (!port || !Bits_Usable(port->bits) || shape.isEmpty()) return;
    const a_port_bits& bits = port->bits;
    QRegion area = shape & QRegion(Rect_ToQ(bits.bounds));
    if (!port->clip_open) area &= port->clip;
    if (area.isEmpty()) return;

    a_row_op op;
    a_pattern pat = kBlackPat;
    bool not_pat = false;
    uint32_t fore = Pixel_Value(bits, port->fore), back = Pixel_Value(bits, port->back);
    switch (verb) {
        case VERB_ERASE: op.write_set = true, op.set_value = back; break;
        case VERB_INVERT: op.invert = true; break;
        case VERB_FILL:
            pat = *fill_pat;
            op.write_set = op.write_clear = true, op.set_value = fore, op.clear_value = back;
            break;
        case VERB_PAINT: {
            pat = port->pen_pat;
            int mode = port->pen_mode & 7;
            not_pat = mode >= 4;
            switch (mode & 3) {
                case 0: op.write_set = op.write_clear = true; break;
                case 1: op.write_set = true; break;
                case 2: op.invert = true; break;
                default: op.write_set = true, fore = back; break;
            }
            op.set_value = fore, op.clear_value = back;
            break;
        }
    }
    for (const QRect& q : area)
        for (int y = q.top(); y <= q.bottom(); ++y)
            Run_Row(bits, op, pat, not_pat, y, q.left(), q.right() + 1);
}

// ---- shapes ---------------------------------------------------------------

Point PenDims() { return current_port ? current_port->pen_size : Point{}; }

QRegion Frame_Of(const QRegion& outer, const QRegion& inner) { return outer - inner; }

int16_t Clamp16(int v) { return int16_t(std::clamp(v, -32768, 32767)); }

Rect Inset(const Rect& r, int dh, int dv) {
    return Rect{Clamp16(r.top + dv), Clamp16(r.left + dh), Clamp16(r.bottom - dv),
                Clamp16(r.right - dh)};
}

QRegion RectFrame(const Rect& r) {
    Point pen = PenDims();
    return Frame_Of(QRegion(Rect_ToQ(r)), QRegion(Rect_ToQ(Inset(r, pen.h, pen.v))));
}

QRegion OvalFrame(const Rect& r) {
    Point pen = PenDims();
    return Frame_Of(QRegion_Oval(r), QRegion_Oval(Inset(r, pen.h, pen.v)));
}

QRegion RoundRectFrame(const Rect& r, int ow, int oh) {
    Point pen = PenDims();
    return Frame_Of(QRegion_RoundRect(r, ow, oh),
                    QRegion_RoundRect(Inset(r, pen.h, pen.v), ow - 2 * pen.h, oh - 2 * pen.v));
}

// The pixels a pen of w x h covers walking from a to b (Bresenham), as one
// run per row: the path is monotone, so the pens of one row touch.
QRegion Line_Region(Point a, Point b, int w, int h) {
    if (w <= 0 || h <= 0) return QRegion();
    int x0 = a.h, y0 = a.v, x1 = b.h, y1 = b.v;
    int top = std::min(y0, y1), rows = std::abs(y1 - y0) + h;
    std::vector<int> lo(size_t(rows), INT32_MAX), hi(size_t(rows), INT32_MIN);
    int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
    int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1, err = dx + dy;
    for (;;) {
        for (int k = 0; k < h; ++k) {
            size_t row = size_t(y0 - top + k);
            lo[row] = std::min(lo[row], x0);
            hi[row] = std::max(hi[row], x0 + w);
        }
        if (x0 == x1 && y0 == y1) break;
        int e2 = 2 * err;
        if (e2 >= dy) err += dy, x0 += sx;
        if (e2 <= dx) err += dx, y0 += sy;
    }
    QVector<QRect> rects;
    for (int k = 0; k < rows; ++k) rects.push_back(QRect(lo[size_t(k)], top + k, hi[size_t(k)] - lo[size_t(k)], 1));
    QRegion rgn;
    rgn.setRects(rects.constData(), int(rects.size()));
    return rgn;
}

// The wedge from the centre of `r` between two angles (degrees, 0 up,
// clockwise), reaching well beyond the rectangle.
QRegion Wedge(const Rect& r, int start, int arc) {
    if (arc == 0) return QRegion();
    if (std::abs(arc) >= 360) return QRegion(Rect_ToQ(r));
    double cx = (r.left + r.right) / 2.0, cy = (r.top + r.bottom) / 2.0;
    double reach = Rect_Width(r) + Rect_Height(r) + 2;
    QPolygon poly;
    poly << QPoint(int(std::lround(cx)), int(std::lround(cy)));
    int steps = std::max(2, std::abs(arc) / 5 + 1);
    for (int k = 0; k <= steps; ++k) {
        double deg = start + double(arc) * k / steps;
        double rad = deg * std::numbers::pi / 180;
        poly << QPoint(int(std::lround(cx + reach * std::sin(rad))),
                       int(std::lround(cy - reach * std::cos(rad))));
    }
    return QRegion(poly, Qt::OddEvenFill);
}

QRegion Poly_Frame(const a_polygon& poly) {
    Point pen = PenDims();
    QRegion out;
    for (size_t k = 1; k < poly.pts.size(); ++k)
        out |= Line_Region(poly.pts[k - 1], poly.pts[k], pen.h, pen.v);
    return out;
}

}  // namespace

// ---- port records ---------------------------------------------------------

a_port* Port_New(const a_port_bits& bits) {
    auto* port = new a_port;
    port->bits = bits;
    return port;
}

void Port_Dispose(a_port*& port) {
    if (port == current_port) current_port = nullptr;
    delete port;
    port = nullptr;
}

void Port_SetBits(a_port* port, const a_port_bits& bits) {
    if (port) port->bits = bits;
}

const a_port_bits& Port_Bits(const a_port* port) { return port->bits; }
void Port_Set(a_port* port) { current_port = port; }
a_port* Port_Get() { return current_port; }

// ---- state ----------------------------------------------------------------

void RGBForeColor(uint32_t rgb) {
    if (current_port) current_port->fore = rgb & 0xFFFFFF;
}
void RGBBackColor(uint32_t rgb) {
    if (current_port) current_port->back = rgb & 0xFFFFFF;
}
uint32_t GetForeColor() { return current_port ? current_port->fore : kBlackColor; }
uint32_t GetBackColor() { return current_port ? current_port->back : kWhiteColor; }

void PenSize(int width, int height) {
    if (current_port)
        current_port->pen_size = Point{int16_t(std::clamp(height, 0, 32767)),
                                       int16_t(std::clamp(width, 0, 32767))};
}
Point GetPenSize() { return PenDims(); }
void PenPat(const a_pattern& pat) {
    if (current_port) current_port->pen_pat = pat;
}
void PenMode(int mode) {
    if (current_port) current_port->pen_mode = int16_t(PEN_COPY + (mode & 7));
}
void PenNormal() {
    if (!current_port) return;
    current_port->pen_size = Point{1, 1};
    current_port->pen_pat = kBlackPat;
    current_port->pen_mode = PEN_COPY;
}
Point GetPen() { return current_port ? current_port->pen_loc : Point{}; }

void MoveTo(int h, int v) {
    if (current_port) current_port->pen_loc = Point{Clamp16(v), Clamp16(h)};
}
void Move(int dh, int dv) {
    Point p = GetPen();
    MoveTo(p.h + dh, p.v + dv);
}
void LineTo(int h, int v) {
    if (!current_port) return;
    Point to{Clamp16(v), Clamp16(h)};
    Point pen = PenDims();
    Draw_Shape(Line_Region(current_port->pen_loc, to, pen.h, pen.v), VERB_PAINT);
    current_port->pen_loc = to;
}
void Line(int dh, int dv) {
    Point p = GetPen();
    LineTo(p.h + dh, p.v + dv);
}

// ---- rectangles, ovals, round rectangles, arcs, polygons, regions ----------

void FrameRect(const Rect& r) { Draw_Shape(RectFrame(r), VERB_PAINT); }
void PaintRect(const Rect& r) { Draw_Shape(QRegion(Rect_ToQ(r)), VERB_PAINT); }
void EraseRect(const Rect& r) { Draw_Shape(QRegion(Rect_ToQ(r)), VERB_ERASE); }
void InvertRect(const Rect& r) { Draw_Shape(QRegion(Rect_ToQ(r)), VERB_INVERT); }
void FillRect(const Rect& r, const a_pattern& pat) {
    Draw_Shape(QRegion(Rect_ToQ(r)), VERB_FILL, &pat);
}

void FrameOval(const Rect& r) { Draw_Shape(OvalFrame(r), VERB_PAINT); }
void PaintOval(const Rect& r) { Draw_Shape(QRegion_Oval(r), VERB_PAINT); }
void EraseOval(const Rect& r) { Draw_Shape(QRegion_Oval(r), VERB_ERASE); }
void InvertOval(const Rect& r) { Draw_Shape(QRegion_Oval(r), VERB_INVERT); }
void FillOval(const Rect& r, const a_pattern& pat) { Draw_Shape(QRegion_Oval(r), VERB_FILL, &pat); }

void FrameRoundRect(const Rect& r, int ow, int oh) {
    Draw_Shape(RoundRectFrame(r, ow, oh), VERB_PAINT);
}
void PaintRoundRect(const Rect& r, int ow, int oh) {
    Draw_Shape(QRegion_RoundRect(r, ow, oh), VERB_PAINT);
}
void EraseRoundRect(const Rect& r, int ow, int oh) {
    Draw_Shape(QRegion_RoundRect(r, ow, oh), VERB_ERASE);
}
void InvertRoundRect(const Rect& r, int ow, int oh) {
    Draw_Shape(QRegion_RoundRect(r, ow, oh), VERB_INVERT);
}
void FillRoundRect(const Rect& r, int ow, int oh, const a_pattern& pat) {
    Draw_Shape(QRegion_RoundRect(r, ow, oh), VERB_FILL, &pat);
}

void FrameArc(const Rect& r, int start, int arc) {
    Draw_Shape(OvalFrame(r) & Wedge(r, start, arc), VERB_PAINT);
}
void PaintArc(const Rect& r, int start, int arc) {
    Draw_Shape(QRegion_Oval(r) & Wedge(r, start, arc), VERB_PAINT);
}
void EraseArc(const Rect& r, int start, int arc) {
    Draw_Shape(QRegion_Oval(r) & Wedge(r, start, arc), VERB_ERASE);
}
void InvertArc(const Rect& r, int start, int arc) {
    Draw_Shape(QRegion_Oval(r) & Wedge(r, start, arc), VERB_INVERT);
}
void FillArc(const Rect& r, int start, int arc, const a_pattern& pat) {
    Draw_Shape(QRegion_Oval(r) & Wedge(r, start, arc), VERB_FILL, &pat);
}

namespace {
QRegion Poly_Inside(const a_polygon& poly) {
    return QRegion_Poly(poly.pts.data(), int(poly.pts.size()));
}
}  // namespace

void FramePoly(const a_polygon& poly) {
    Draw_Shape(Poly_Frame(poly), VERB_PAINT);
    if (current_port && !poly.pts.empty()) current_port->pen_loc = poly.pts.back();
}
void PaintPoly(const a_polygon& poly) { Draw_Shape(Poly_Inside(poly), VERB_PAINT); }
void ErasePoly(const a_polygon& poly) { Draw_Shape(Poly_Inside(poly), VERB_ERASE); }
void InvertPoly(const a_polygon& poly) { Draw_Shape(Poly_Inside(poly), VERB_INVERT); }
void FillPoly(const a_polygon& poly, const a_pattern& pat) {
    Draw_Shape(Poly_Inside(poly), VERB_FILL, &pat);
}

void FrameRgn(const a_region* rgn) {
    Point pen = PenDims();
    Draw_Shape(rgn->r - QRegion_Inset(rgn->r, pen.h, pen.v), VERB_PAINT);
}
void PaintRgn(const a_region* rgn) { Draw_Shape(rgn->r, VERB_PAINT); }
void EraseRgn(const a_region* rgn) { Draw_Shape(rgn->r, VERB_ERASE); }
void InvertRgn(const a_region* rgn) { Draw_Shape(rgn->r, VERB_INVERT); }
void FillRgn(const a_region* rgn, const a_pattern& pat) { Draw_Shape(rgn->r, VERB_FILL, &pat); }

// ---- clipping -------------------------------------------------------------

void SetClip(const a_region* rgn) {
    if (!current_port) return;
    current_port->clip_open = false;
    current_port->clip = rgn->r;
}

void GetClip(a_region* rgn) {
    if (!current_port) return rgn->r = QRegion(), void();
    rgn->r = current_port->clip_open ? QRegion(Rect_ToQ(current_port->bits.bounds))
                                     : current_port->clip;
}

void ClipRect(const Rect& r) {
    if (!current_port) return;
    current_port->clip_open = false;
    current_port->clip = QRegion(Rect_ToQ(r));
}

void ClipWideOpen() {
    if (current_port) current_port->clip_open = true, current_port->clip = QRegion();
}
