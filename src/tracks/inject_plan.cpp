#include "tracks/inject_plan.h"

#include <algorithm>
#include <cstdint>

int Inject_Shrunk_Size(int total, int unit_width, int lo, int hi) {
    if (total <= unit_width || total <= 0) return INJECT_SIZE;
    int64_t size = int64_t(INJECT_SIZE) * std::max(unit_width, 0) / total;
    return int(std::clamp<int64_t>(size, lo, hi));
}

std::vector<Point> Inject_Anchors(const std::vector<int>& widths, const std::vector<int>& heights,
                                  int unit_width, int unit_height) {
    std::vector<Point> out;
    int64_t total = 0;
    for (int w : widths) total += w;
    int64_t gaps = widths.empty() ? 0 : int64_t(widths.size() - 1) * INJECT_SPACING;
    int64_t leftover = std::max<int64_t>(INJECT_MIN_LEFTOVER, unit_width - total - gaps);
    int64_t position = leftover / 2;
    for (size_t i = 0; i < widths.size(); ++i) {
        int h = i < heights.size() ? heights[i] : 0;
        Point p;
        p.h = int16_t(std::clamp<int64_t>(position, INT16_MIN, INT16_MAX));
        p.v = int16_t(std::clamp<int64_t>(unit_height / 5 + h / 2, INT16_MIN, INT16_MAX));
        out.push_back(p);
        position += widths[i] + INJECT_SPACING;
    }
    return out;
}

Point Inject_First_Anchor(int i, int unit_height) {
    Point p;
    p.v = int16_t(unit_height / 8);
    p.h = int16_t(std::clamp(50 * i, int(INT16_MIN), int(INT16_MAX)));
    return p;
}
