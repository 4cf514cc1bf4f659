#include "tracks/inject_plan.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>

namespace {

int16_t To16(int64_t v) { return int16_t(std::clamp<int64_t>(v, INT16_MIN, INT16_MAX)); }

// Pages in a row: the row's width and height.
a_inject_page Row_Of(const std::vector<a_inject_page>& pages, size_t from, size_t to) {
    a_inject_page row;
    for (size_t i = from; i < to; ++i) {
        row.w += pages[i].w + (i > from ? INJECT_PAGE_GAP : 0);
        row.h = std::max(row.h, pages[i].h);
    }
    return row;
}

// The row's pages left to right from (top, left).
void Lay_Row(const std::vector<a_inject_page>& pages, size_t from, size_t to, int top, int left,
             std::vector<Point>& at) {
    for (size_t i = from; i < to; ++i) {
        at[i] = Point{To16(top), To16(left)};
        left += pages[i].w + INJECT_PAGE_GAP;
    }
}

// Half the width of the disc's chord at distance d from its centre (-1 beyond it).
double Half_Chord(int outer, double d) {
    double q = double(outer) * outer - d * d;
    return q < 0 ? -1 : std::sqrt(q);
}

// The row centred across the box with its top at `first` (kept inside the box).
bool Place_Rect(const a_inject_area& a, const std::vector<a_inject_page>& pages, bool force, int first,
                std::vector<Point>& at) {
    const a_inject_page row = Row_Of(pages, 0, pages.size());
    const int w = Rect_Width(a.box), h = Rect_Height(a.box);
    if (!force && (row.w > w || row.h > h)) return false;
    const int top = std::max<int>(a.box.top, std::min(first, a.box.bottom - row.h));
    Lay_Row(pages, 0, pages.size(), top, a.box.left + (w - row.w) / 2, at);
    return true;
}

// The row above (up) or below the hole, centred in the room it has there.
bool Place_Over_Hole(const a_inject_area& a, const std::vector<a_inject_page>& pages, bool up,
                     std::vector<Point>& at) {
    const a_inject_page row = Row_Of(pages, 0, pages.size());
    const double reach = Half_Chord(a.outer, row.w / 2.0);  // how far the row's outer corners may go
    const double near = a.hole, far = reach - row.h;         // the row's edge nearer the centre
    if (reach < 0 || far < near) return false;
    const int d = int(std::lround((near + far) / 2));
    const int top = up ? a.centre.v - d - row.h : a.centre.v + d;
    at.resize(pages.size());
    Lay_Row(pages, 0, pages.size(), top, a.centre.h - row.w / 2, at);
    return true;
}

// The first half of the pages in a row above the hole, the rest in a row
// below it, each row centred across the disc.
bool Place_Around_Hole(const a_inject_area& a, const std::vector<a_inject_page>& pages, std::vector<Point>& at) {
    if (pages.size() < 2) return false;
    const size_t half = (pages.size() + 1) / 2;
    std::vector<Point> upper, lower;
    const std::vector<a_inject_page> top(pages.begin(), pages.begin() + long(half)),
        bottom(pages.begin() + long(half), pages.end());
    if (!Place_Over_Hole(a, top, true, upper) || !Place_Over_Hole(a, bottom, false, lower)) return false;
    std::copy(upper.begin(), upper.end(), at.begin());
    std::copy(lower.begin(), lower.end(), at.begin() + long(half));
    return true;
}

// The first half of the pages left of the hole, the rest right of it, both
// centred on the disc's middle line, as far in as both allow.
bool Place_Beside_Hole(const a_inject_area& a, const std::vector<a_inject_page>& pages, bool force,
                       std::vector<Point>& at) {
    if (pages.size() < 2) return false;
    const size_t half = (pages.size() + 1) / 2;
    const a_inject_page left = Row_Of(pages, 0, half), right = Row_Of(pages, half, pages.size());
    const int h = std::max(left.h, right.h);
    const double reach = Half_Chord(a.outer, h / 2.0);
    const double far = std::min(reach - left.w, reach - right.w);  // each side's inner edge at most
    if (!force && (reach < 0 || far < a.hole)) return false;
    const int x = force ? a.hole : int(std::lround((a.hole + far) / 2));
    const int top = a.centre.v - h / 2;
    Lay_Row(pages, 0, half, top, a.centre.h - x - left.w, at);
    Lay_Row(pages, half, pages.size(), top, a.centre.h + x, at);
    return true;
}

// A disc without a hole: the row on its centre.
bool Place_Centred(const a_inject_area& a, const std::vector<a_inject_page>& pages, std::vector<Point>& at) {
    const a_inject_page row = Row_Of(pages, 0, pages.size());
    if (Half_Chord(a.outer, row.h / 2.0) < row.w / 2.0) return false;
    Lay_Row(pages, 0, pages.size(), a.centre.v - row.h / 2, a.centre.h - row.w / 2, at);
    return true;
}

// How much of the placement's pages lies over blocks already there, in
// square pixels: 0 when it is clear of them.
int64_t Overlap_With_Taken(const a_inject_area& a, const std::vector<a_inject_page>& pages,
                           const std::vector<Point>& at) {
    int64_t sum = 0;
    for (size_t i = 0; i < pages.size(); ++i) {
        const int64_t top = at[i].v, left = at[i].h, bottom = top + pages[i].h, right = left + pages[i].w;
        for (const Rect& t : a.taken) {
            const int64_t w = std::min<int64_t>(right, t.right) - std::max<int64_t>(left, t.left);
            const int64_t h = std::min<int64_t>(bottom, t.bottom) - std::max<int64_t>(top, t.top);
            if (w > 0 && h > 0) sum += w * h;
        }
    }
    return sum;
}

using a_rule = std::function<bool(std::vector<Point>&)>;

// The places tried in order, each filling `at` when the pages fit there.
std::vector<a_rule> Rules_Of(const a_inject_area& a, const std::vector<a_inject_page>& pages) {
    std::vector<a_rule> rules;
    if (a.outer <= 0) {
        rules.push_back([&](std::vector<Point>& at) { return Place_Rect(a, pages, false, a.first_line, at); });
        for (const Rect& t : a.taken) {
            const int below = t.bottom + INJECT_SPACING;
            if (below > a.box.top && below < a.box.bottom)
                rules.push_back([&a, &pages, below](std::vector<Point>& at) {
                    return Place_Rect(a, pages, false, below, at);
                });
        }
        rules.push_back([&](std::vector<Point>& at) { return Place_Rect(a, pages, false, a.box.top, at); });
        return rules;
    }
    if (a.hole == 0) rules.push_back([&](std::vector<Point>& at) { return Place_Centred(a, pages, at); });
    rules.push_back([&](std::vector<Point>& at) { return Place_Over_Hole(a, pages, true, at); });
    rules.push_back([&](std::vector<Point>& at) { return Place_Over_Hole(a, pages, false, at); });
    rules.push_back([&](std::vector<Point>& at) { return Place_Around_Hole(a, pages, at); });
    rules.push_back([&](std::vector<Point>& at) { return Place_Beside_Hole(a, pages, false, at); });
    return rules;
}

}  // namespace

a_inject_area Inject_Area(const Rect& bounds, int disc, int hole) {
    a_inject_area a;
    a.centre = Rect_Centre(bounds);
    const int side = std::min(Rect_Width(bounds), Rect_Height(bounds));
    const int margin = std::max(4, side / 40);
    a.box = Rect_Inset(bounds, margin);
    a.first_line = bounds.top + Rect_Height(bounds) / 5;
    if (disc > 0) {
        a.outer = std::max(0, disc / 2 - margin);
        a.hole = hole > 0 ? hole / 2 + margin : 0;
    }
    return a;
}

bool Inject_Place(const a_inject_area& a, const std::vector<a_inject_page>& pages, bool force,
                  std::vector<Point>& at, bool* clear) {
    bool unused = false;
    bool& is_clear = clear ? *clear : unused;
    is_clear = false;
    at.assign(pages.size(), Point{});
    if (pages.empty()) return is_clear = true;
    std::vector<Point> least, tried(pages.size());
    int64_t least_over = 0;
    for (const a_rule& rule : Rules_Of(a, pages)) {
        tried.assign(pages.size(), Point{});
        if (!rule(tried)) continue;
        const int64_t over = Overlap_With_Taken(a, pages, tried);
        if (over == 0) {
            at = tried;
            return is_clear = true;
        }
        if (least.empty() || over < least_over) least = tried, least_over = over;
    }
    if (!least.empty()) {
        at = least;
        return true;
    }
    if (!force) return false;
    if (a.outer <= 0) return Place_Rect(a, pages, true, a.first_line, at);
    // Nothing fits: beside the hole when there are two pages or more, else
    // above it, reaching past the edge.
    if (Place_Beside_Hole(a, pages, true, at)) return true;
    const a_inject_page row = Row_Of(pages, 0, pages.size());
    Lay_Row(pages, 0, pages.size(), a.centre.v - a.hole - row.h, a.centre.h - row.w / 2, at);
    return true;
}

void Inject_Page_Lines(int nlines, int pages, int page, int& first, int& end) {
    pages = std::max(1, pages);
    const int per = (std::max(0, nlines) + pages - 1) / pages;
    first = std::min(nlines, page * per);
    end = std::min(nlines, first + per);
}
