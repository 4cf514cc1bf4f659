// Plain geometry shared by every layer: pixel points and rectangles (16-bit,
// top/left inclusive, bottom/right exclusive) and millimetre points and
// rectangles (floats) of templates and sheets.
// Process-wide state: none.
#pragma once
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
