// Regions: sets of pixels made of rectangles, shapes and set operations.
// A region is a handle of our own; what holds the pixels is the platform's.
// Rectangles are half-open (top/left inclusive, bottom/right exclusive), as
// everywhere in our pixel geometry.
// Process-wide state: none.
#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/geometry.h"

struct a_region;

a_region* Rgn_New();  // empty
void Rgn_Dispose(a_region*& rgn);
struct a_region_deleter {
    void operator()(a_region* rgn) const { Rgn_Dispose(rgn); }
};
using a_region_ptr = std::unique_ptr<a_region, a_region_deleter>;
inline a_region_ptr Make_Region() { return a_region_ptr(Rgn_New()); }  // empty
void Rgn_Copy(const a_region* src, a_region* dst);

void Rgn_SetEmpty(a_region* rgn);
void Rgn_SetRect(a_region* rgn, const Rect& r);
// The ellipse inscribed in `r`: a pixel belongs when its centre lies inside.
void Rgn_SetOval(a_region* rgn, const Rect& r);
// `r` with corners rounded by an ellipse `ovalw` wide and `ovalh` high.
void Rgn_SetRoundRect(a_region* rgn, const Rect& r, int ovalw, int ovalh);
// The inside of a closed polygon (even-odd rule).
void Rgn_SetPoly(a_region* rgn, const Point* pts, int npts);

// dst := a op b; dst may be a or b.
void Rgn_Union(const a_region* a, const a_region* b, a_region* dst);
void Rgn_Sect(const a_region* a, const a_region* b, a_region* dst);
void Rgn_Diff(const a_region* a, const a_region* b, a_region* dst);
void Rgn_Xor(const a_region* a, const a_region* b, a_region* dst);

void Rgn_Offset(a_region* rgn, int dh, int dv);
// Shrinks (positive) or grows (negative) the region by dh across and dv down.
void Rgn_Inset(a_region* rgn, int dh, int dv);
// Scales the region as if `src` were stretched onto `dst`.
void Rgn_Map(a_region* rgn, const Rect& src, const Rect& dst);

bool Rgn_IsEmpty(const a_region* rgn);
Rect Rgn_Bounds(const a_region* rgn);  // empty rect for an empty region
bool Rgn_Equal(const a_region* a, const a_region* b);
bool Rgn_ContainsPoint(const a_region* rgn, Point pt);
bool Rgn_RectIn(const a_region* rgn, const Rect& r);  // any pixel in common
int64_t Rgn_Area(const a_region* rgn);                // pixel count
// The disjoint rectangles that make up the region, top to bottom.
void Rgn_GetRects(const a_region* rgn, std::vector<Rect>& rects);
