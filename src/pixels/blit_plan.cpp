#include "pixels/blit_plan.h"

#include <algorithm>

namespace {

// One axis: destination range [d0, d1) over source range [s0, s1) (and the
// mask's [m0, m1)), nearest pixel centres. Destination positions whose source
// or mask falls off its map are trimmed from the ends; the mapping is
// monotone, so they can only lie at the ends.
struct a_axis {
    int d0, d1, dlo, dhi;  // rectangle and the part inside dst and clip
    int s0, s1, slo, shi;  // rectangle and the source map's extent
    int m0, m1, mlo, mhi;  // likewise for the mask (unused without one)
    bool masked;
};

int Map_Pos(int i, int from0, int from_len, int to_len) {
    if (from_len == to_len) return from0 + i;
    return from0 + int((int64_t(2 * i + 1) * from_len) / (int64_t(2) * to_len));
}

[[nodiscard]] bool Plan_Axis(const a_axis& a, int& start, std::vector<int>& s, std::vector<int>& m) {
    int dlen = a.d1 - a.d0, slen = a.s1 - a.s0, mlen = a.m1 - a.m0;
    s.clear();
    m.clear();
    if (dlen <= 0 || slen <= 0 || (a.masked && mlen <= 0)) return false;
    int lo = std::max(a.d0, a.dlo), hi = std::min(a.d1, a.dhi);
    auto ok = [&](int d) {
        int sv = Map_Pos(d - a.d0, a.s0, slen, dlen);
        if (sv < a.slo || sv >= a.shi) return false;
        if (!a.masked) return true;
        int mv = Map_Pos(d - a.d0, a.m0, mlen, dlen);
        return mv >= a.mlo && mv < a.mhi;
    };
    while (lo < hi && !ok(lo)) ++lo;
    while (hi > lo && !ok(hi - 1)) --hi;
    if (lo >= hi) return false;
    start = lo;
    s.resize(size_t(hi - lo));
    for (int d = lo; d < hi; ++d) s[size_t(d - lo)] = Map_Pos(d - a.d0, a.s0, slen, dlen);
    if (a.masked) {
        m.resize(size_t(hi - lo));
        for (int d = lo; d < hi; ++d) m[size_t(d - lo)] = Map_Pos(d - a.d0, a.m0, mlen, dlen);
    }
    return true;
}

}  // namespace

bool Blt_Plan(const PixMap& src, const Rect& src_rect, const PixMap& dst, const Rect& dst_rect,
              const Rect* clip, const PixMap* mask, const Rect* mask_rect, a_blt_plan& plan) {
    bool masked = mask && mask_rect;
    Rect c = clip ? *clip : dst.bounds;
    Rect mr = masked ? *mask_rect : Rect{};
    Rect mb = masked ? mask->bounds : Rect{};
    a_axis ax{dst_rect.left, dst_rect.right, std::max(dst.bounds.left, c.left),
              std::min(dst.bounds.right, c.right), src_rect.left, src_rect.right,
              src.bounds.left, src.bounds.right, mr.left, mr.right, mb.left, mb.right, masked};
    a_axis ay{dst_rect.top, dst_rect.bottom, std::max(dst.bounds.top, c.top),
              std::min(dst.bounds.bottom, c.bottom), src_rect.top, src_rect.bottom,
              src.bounds.top, src.bounds.bottom, mr.top, mr.bottom, mb.top, mb.bottom, masked};
    if (!Plan_Axis(ax, plan.x0, plan.sx, plan.mx) || !Plan_Axis(ay, plan.y0, plan.sy, plan.my))
        return false;
    plan.w = int(plan.sx.size());
    plan.h = int(plan.sy.size());
    plan.same = Rect_Width(src_rect) == Rect_Width(dst_rect) &&
                Rect_Height(src_rect) == Rect_Height(dst_rect);
    return true;
}
