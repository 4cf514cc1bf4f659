// Plain geometry shared by every layer: pixel points and rectangles (16-bit,
// top/left inclusive, bottom/right exclusive) and millimetre points and
// rectangles (floats) of templates and sheets.
// Process-wide state: none.
#pragma once
#include <algorithm>
#include <cstdint>

struct Point {
    int16_t v = 0;
    int16_t h = 0;
    bool operator==(const Point&) const = default;
};

struct Rect {
    int16_t top = 0;
    int16_t left = 0;
    int16_t bottom = 0;
    int16_t right = 0;
    bool operator==(const Rect&) const = default;
};

// Trivial (no member initialisers) so that it can live inside byte-packed records.
struct a_fpoint {
    float x;
    float y;
    bool operator==(const a_fpoint&) const = default;
};

struct a_frect {
    float left = 0;
    float top = 0;
    float right = 0;
    float bottom = 0;
    bool operator==(const a_frect&) const = default;
    a_fpoint topLeft() const { return a_fpoint{left, top}; }
    a_fpoint botRight() const { return a_fpoint{right, bottom}; }
};

struct a_ratio {
    int16_t num = 1;
    int16_t den = 1;
    bool operator==(const a_ratio&) const = default;
};

inline int Rect_Width(const Rect& r) { return r.right - r.left; }
inline int Rect_Height(const Rect& r) { return r.bottom - r.top; }
inline bool Rect_IsEmpty(const Rect& r) { return r.bottom <= r.top || r.right <= r.left; }
inline Point Rect_Centre(const Rect& r) {
    return Point{static_cast<int16_t>((r.top + r.bottom) / 2),
                 static_cast<int16_t>((r.left + r.right) / 2)};
}
// Moved by dh across and dv down.
inline Rect Rect_Offset(const Rect& r, int dh, int dv) {
    return Rect{int16_t(r.top + dv), int16_t(r.left + dh), int16_t(r.bottom + dv),
                int16_t(r.right + dh)};
}
// Shrunk by d on every side (grown when d is negative).
inline Rect Rect_Inset(const Rect& r, int d) {
    return Rect{int16_t(r.top + d), int16_t(r.left + d), int16_t(r.bottom - d),
                int16_t(r.right - d)};
}
// The smallest rectangle holding both; an empty one adds nothing.
inline Rect Rect_Union(const Rect& a, const Rect& b) {
    if (Rect_IsEmpty(a)) return b;
    if (Rect_IsEmpty(b)) return a;
    return Rect{std::min(a.top, b.top), std::min(a.left, b.left), std::max(a.bottom, b.bottom),
                std::max(a.right, b.right)};
}
// The common part of two rectangles; the all-zero rectangle when none.
inline Rect Rect_Sect(const Rect& a, const Rect& b) {
    Rect r{std::max(a.top, b.top), std::max(a.left, b.left), std::min(a.bottom, b.bottom),
           std::min(a.right, b.right)};
    return Rect_IsEmpty(r) ? Rect{} : r;
}
// A w by h rectangle centred in `in` (rounded towards the top left).
inline Rect Rect_Centred(const Rect& in, int w, int h) {
    int left = in.left + (Rect_Width(in) - w) / 2, top = in.top + (Rect_Height(in) - h) / 2;
    return Rect{int16_t(top), int16_t(left), int16_t(top + h), int16_t(left + w)};
}
