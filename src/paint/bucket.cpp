#include "paint/bucket.h"

#include <vector>

#include "pixels/pixmap.h"

namespace {

// What decides whether two cells belong to one region.
struct a_cell_key {
    const GWorld& world;
    const GWorld& mask;
    uint32_t Get(int x, int y) const {
        uint8_t m = PixMap_Row(mask.pix, y)[x - mask.pix.bounds.left];
        if (m == 0) return 0xFF000000u;  // every unpainted cell looks alike
        uint32_t c = reinterpret_cast<const uint32_t*>(PixMap_Row(world.pix, y))[x - world.pix.bounds.left];
        return (c & 0xFFFFFF) | (uint32_t(m == 255 ? 0xFE : m) << 24);
    }
};

}  // namespace

void Flood_Region(const GWorld& world, const GWorld& mask, Point seed, const Rect& clip,
                  a_coverage& out) {
    Rect area = Rect_Sect(Rect_Sect(clip, world.pix.bounds), mask.pix.bounds);
    out = a_coverage{};
    if (seed.h < area.left || seed.h >= area.right || seed.v < area.top || seed.v >= area.bottom)
        return;
    a_cell_key key{world, mask};
    const uint32_t want = key.Get(seed.h, seed.v);
    const int w = Rect_Width(area), h = Rect_Height(area);
    std::vector<uint8_t> in(size_t(w) * size_t(h), 0);
    auto at = [&](int x, int y) -> uint8_t& { return in[size_t(y - area.top) * size_t(w) + size_t(x - area.left)]; };
    auto fits = [&](int x, int y) { return !at(x, y) && key.Get(x, y) == want; };
    int top = seed.v, bottom = seed.v, left = seed.h, right = seed.h;
    // Spans: each popped seed fills its row both ways, then seeds the rows above and below.
    std::vector<Point> stack{seed};
    while (!stack.empty()) {
        Point s = stack.back();
        stack.pop_back();
        if (!fits(s.h, s.v)) continue;
        int x0 = s.h, x1 = s.h;
        while (x0 > area.left && fits(x0 - 1, s.v)) --x0;
        while (x1 + 1 < area.right && fits(x1 + 1, s.v)) ++x1;
        for (int x = x0; x <= x1; ++x) at(x, s.v) = 1;
        top = std::min<int>(top, s.v), bottom = std::max<int>(bottom, s.v);
        left = std::min(left, x0), right = std::max(right, x1);
        for (int dy : {-1, 1}) {
            int y = s.v + dy;
            if (y < area.top || y >= area.bottom) continue;
            bool run = false;
            for (int x = x0; x <= x1; ++x) {
                bool f = fits(x, y);
                if (f && !run) stack.push_back(Point{int16_t(y), int16_t(x)});
                run = f;
            }
        }
    }
    out.bounds = Rect{int16_t(top), int16_t(left), int16_t(bottom + 1), int16_t(right + 1)};
    int ow = Rect_Width(out.bounds);
    out.a.assign(size_t(ow) * size_t(Rect_Height(out.bounds)), 0);
    for (int y = top; y <= bottom; ++y)
        for (int x = left; x <= right; ++x)
            if (at(x, y)) out.a[size_t(y - top) * size_t(ow) + size_t(x - left)] = 255;
}
