#include "platform/region.h"

#include <QPolygon>
#include <QVector>
#include <algorithm>
#include <cmath>

#include "platform/region_qt.h"

namespace {

int16_t Clamp16(int v) { return int16_t(std::clamp(v, -32768, 32767)); }

// One run of pixels per row, collected top to bottom; equal neighbouring rows
// are merged into one rectangle.
class a_span_builder {
public:
    void Add(int row, int x0, int x1) {
        if (x1 <= x0) return;
        if (!rects_.empty()) {
            QRect& last = rects_.back();
            if (last.left() == x0 && last.right() + 1 == x1 && last.bottom() + 1 == row) {
                last.setBottom(row);
                return;
            }
        }
        rects_.push_back(QRect(x0, row, x1 - x0, 1));
    }
    QRegion Region() const {
        QRegion rgn;
        if (!rects_.isEmpty()) rgn.setRects(rects_.constData(), int(rects_.size()));
        return rgn;
    }

private:
    QVector<QRect> rects_;
};

// Pixel x is inside when its centre x + 0.5 lies within [lo, hi].
int FirstInside(double lo) { return int(std::ceil(lo - 0.5)); }
int EndInside(double hi) { return int(std::floor(hi - 0.5)) + 1; }

// Half-width of an ellipse of radii rx, ry at distance dy from its centre row.
double HalfWidth(double rx, double ry, double dy) {
    double t = dy / ry;
    return t >= 1 ? -1 : rx * std::sqrt(1 - t * t);
}

QRegion Eroded_H(const QRegion& rgn, int d) {
    QRegion out = rgn;
    for (int k = 1; k <= d; ++k) out &= rgn.translated(k, 0) & rgn.translated(-k, 0);
    return out;
}

QRegion Eroded_V(const QRegion& rgn, int d) {
    QRegion out = rgn;
    for (int k = 1; k <= d; ++k) out &= rgn.translated(0, k) & rgn.translated(0, -k);
    return out;
}

QRegion Dilated(const QRegion& rgn, int dh, int dv) {
    QRegion out = rgn;
    for (int k = 1; k <= dh; ++k) out |= rgn.translated(k, 0) | rgn.translated(-k, 0);
    QRegion across = out;
    for (int k = 1; k <= dv; ++k) out |= across.translated(0, k) | across.translated(0, -k);
    return out;
}

}  // namespace

QRect Rect_ToQ(const Rect& r) {
    if (Rect_IsEmpty(r)) return QRect();
    return QRect(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

Rect Rect_FromQ(const QRect& r) {
    if (r.isEmpty()) return Rect{};
    return Rect{Clamp16(r.top()), Clamp16(r.left()), Clamp16(r.bottom() + 1),
                Clamp16(r.right() + 1)};
}

QRegion QRegion_RoundRect(const Rect& r, int ovalw, int ovalh) {
    if (Rect_IsEmpty(r)) return QRegion();
    int w = Rect_Width(r), h = Rect_Height(r);
    double rx = std::clamp(ovalw, 0, w) / 2.0, ry = std::clamp(ovalh, 0, h) / 2.0;
    if (rx <= 0 || ry <= 0) return QRegion(Rect_ToQ(r));
    a_span_builder spans;
    for (int y = r.top; y < r.bottom; ++y) {
        double cy = y + 0.5, dy = 0;
        if (cy < r.top + ry) dy = r.top + ry - cy;
        else if (cy > r.bottom - ry) dy = cy - (r.bottom - ry);
        double hw = HalfWidth(rx, ry, dy);
        if (hw < 0) continue;
        spans.Add(y, FirstInside(r.left + rx - hw), EndInside(r.right - rx + hw));
    }
    return spans.Region();
}

QRegion QRegion_Oval(const Rect& r) {
    return QRegion_RoundRect(r, Rect_Width(r), Rect_Height(r));
}

QRegion QRegion_Poly(const Point* pts, int npts) {
    if (!pts || npts < 3) return QRegion();
    QPolygon poly;
    for (int k = 0; k < npts; ++k) poly << QPoint(pts[k].h, pts[k].v);
    return QRegion(poly, Qt::OddEvenFill);
}

QRegion QRegion_Inset(const QRegion& rgn, int dh, int dv) {
    if (dh < 0 || dv < 0) {
        // Mixed signs are rare; grow first, then shrink what remains.
        QRegion grown = Dilated(rgn, std::max(-dh, 0), std::max(-dv, 0));
        return Eroded_V(Eroded_H(grown, std::max(dh, 0)), std::max(dv, 0));
    }
    return Eroded_V(Eroded_H(rgn, dh), dv);
}

a_region* Rgn_New() { return new a_region; }

void Rgn_Dispose(a_region*& rgn) {
    delete rgn;
    rgn = nullptr;
}

void Rgn_Copy(const a_region* src, a_region* dst) { dst->r = src->r; }
void Rgn_SetEmpty(a_region* rgn) { rgn->r = QRegion(); }
void Rgn_SetRect(a_region* rgn, const Rect& r) { rgn->r = QRegion(Rect_ToQ(r)); }
void Rgn_SetOval(a_region* rgn, const Rect& r) { rgn->r = QRegion_Oval(r); }

void Rgn_SetRoundRect(a_region* rgn, const Rect& r, int ovalw, int ovalh) {
    rgn->r = QRegion_RoundRect(r, ovalw, ovalh);
}

void Rgn_SetPoly(a_region* rgn, const Point* pts, int npts) { rgn->r = QRegion_Poly(pts, npts); }

void Rgn_Union(const a_region* a, const a_region* b, a_region* dst) { dst->r = a->r | b->r; }
void Rgn_Sect(const a_region* a, const a_region* b, a_region* dst) { dst->r = a->r & b->r; }
void Rgn_Diff(const a_region* a, const a_region* b, a_region* dst) { dst->r = a->r - b->r; }
void Rgn_Xor(const a_region* a, const a_region* b, a_region* dst) { dst->r = a->r ^ b->r; }

void Rgn_Offset(a_region* rgn, int dh, int dv) { rgn->r.translate(dh, dv); }

void Rgn_Inset(a_region* rgn, int dh, int dv) { rgn->r = QRegion_Inset(rgn->r, dh, dv); }

void Rgn_Map(a_region* rgn, const Rect& src, const Rect& dst) {
    int sw = Rect_Width(src), sh = Rect_Height(src);
    if (sw <= 0 || sh <= 0) {
        rgn->r = QRegion();
        return;
    }
    int dw = Rect_Width(dst), dh = Rect_Height(dst);
    // Kept within the 16-bit range of our geometry, whatever the scale.
    auto place = [](double v) { return int(std::clamp(std::floor(v), -32768.0, 32767.0)); };
    auto mapx = [&](int x) { return place(dst.left + double(x - src.left) * dw / sw); };
    auto mapy = [&](int y) { return place(dst.top + double(y - src.top) * dh / sh); };
    QRegion out;
    for (const QRect& q : rgn->r) {
        int l = mapx(q.left()), t = mapy(q.top());
        int rr = mapx(q.right() + 1), b = mapy(q.bottom() + 1);
        if (rr > l && b > t) out |= QRect(l, t, rr - l, b - t);
    }
    rgn->r = out;
}

bool Rgn_IsEmpty(const a_region* rgn) { return rgn->r.isEmpty(); }
Rect Rgn_Bounds(const a_region* rgn) { return Rect_FromQ(rgn->r.boundingRect()); }
bool Rgn_Equal(const a_region* a, const a_region* b) { return a->r == b->r; }

bool Rgn_ContainsPoint(const a_region* rgn, Point pt) {
    return rgn->r.contains(QPoint(pt.h, pt.v));
}

bool Rgn_RectIn(const a_region* rgn, const Rect& r) {
    return !Rect_IsEmpty(r) && rgn->r.intersects(Rect_ToQ(r));
}

int64_t Rgn_Area(const a_region* rgn) {
    int64_t area = 0;
    for (const QRect& q : rgn->r) area += int64_t(q.width()) * q.height();
    return area;
}

void Rgn_GetRects(const a_region* rgn, std::vector<Rect>& rects) {
    rects.clear();
    rects.reserve(size_t(rgn->r.rectCount()));
    for (const QRect& q : rgn->r) rects.push_back(Rect_FromQ(q));
}
