#include "templates/mapping.h"

#include <algorithm>
#include <cmath>

#include "base/messages.h"

namespace {

a_coord_mapping cstack[MAX_MAPPING_DEPTH];
int ncstack = 0;
const a_coord_mapping kIdentity{};

}  // namespace

int16_t Round_Pixel(double v) {
    if (!(v == v)) return 0;  // NaN from a degenerate mapping
    return int16_t(std::clamp(std::round(v), -32768.0, 32767.0));
}

void Push_Mapping(const a_coord_mapping& mapping) {
    if (ncstack >= MAX_MAPPING_DEPTH) InternalError();
    cstack[ncstack++] = mapping;
}

void Pop_Mapping() {
    if (ncstack <= 0) InternalError();
    --ncstack;
}

int Mapping_Depth() { return ncstack; }

const a_coord_mapping& Top_Mapping() { return ncstack > 0 ? cstack[ncstack - 1] : kIdentity; }

namespace {
Point Map_Through(const a_coord_mapping& m, a_fpoint pt) {
    return Point{Round_Pixel(m.originy + double(m.multy) * (pt.y - m.fdecy)),
                 Round_Pixel(m.originx + double(m.multx) * (pt.x - m.fdecx))};
}
}  // namespace

Point Map_FPoint(a_fpoint pt) { return Map_Through(Top_Mapping(), pt); }

Rect Map_FRect(const a_frect& fr) {
    Point tl = Map_FPoint(fr.topLeft()), br = Map_FPoint(fr.botRight());
    return Rect{tl.v, tl.h, br.v, br.h};
}

Point Apply_Mapping_Point(const a_coord_mapping& m, Point pt) {
    return Point{Round_Pixel(double(m.multy) * pt.v), Round_Pixel(double(m.multx) * pt.h)};
}

Rect Apply_Mapping_Rect(const a_coord_mapping& m, const Rect& r) {
    Point tl = Apply_Mapping_Point(m, Point{r.top, r.left});
    Point br = Apply_Mapping_Point(m, Point{r.bottom, r.right});
    return Rect{tl.v, tl.h, br.v, br.h};
}

bool Equal_CMapping(const a_coord_mapping& a, const a_coord_mapping& b) {
    return a.fdecx == b.fdecx && a.fdecy == b.fdecy && a.multx == b.multx &&
           a.multy == b.multy && a.originx == b.originx && a.originy == b.originy &&
           a.netbox == b.netbox;
}

void Calc_Fit_Mapping(const a_frect& src, const Rect& dest, a_coord_mapping& m) {
    double sw = double(src.right) - src.left, sh = double(src.bottom) - src.top;
    double mx = sw > 0 ? Rect_Width(dest) / sw : 0, my = sh > 0 ? Rect_Height(dest) / sh : 0;
    double mult = std::max(0.0, std::min(mx, my));
    m.fdecx = src.left;
    m.fdecy = src.top;
    m.multx = m.multy = float(mult);
    m.originx = float((dest.left + dest.right - mult * sw) / 2);
    m.originy = float((dest.top + dest.bottom - mult * sh) / 2);
    Point tl = Map_Through(m, src.topLeft()), br = Map_Through(m, src.botRight());
    m.netbox = Rect{tl.v, tl.h, br.v, br.h};
}

void Push_Fit_Mapping(const a_frect& fsource, const Rect& dest) {
    a_coord_mapping m;
    Calc_Fit_Mapping(fsource, dest, m);
    Push_Mapping(m);
}
