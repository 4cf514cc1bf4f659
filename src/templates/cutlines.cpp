#include "templates/cutlines.h"

#include <algorithm>
#include <cmath>

#include "templates/expand.h"
#include "templates/mapping.h"
#include "templates/outline.h"
#include "templates/shapes.h"

void Draw_Cutlines2(const a_unit& unit, uint32_t color) {
    uint32_t fore = GetForeColor();
    Point pen = GetPenSize();
    RGBForeColor(color);
    PenSize(1, 1);
    Rect used;
    Outline_Shape(used, 1, true, 5, 1, 0, false, unit);
    PenSize(pen.h, pen.v);
    RGBForeColor(fore);
}

void Draw_CutLines(const a_unit& unit, const Rect& shown, uint32_t color) {
    a_coord_mapping m;
    Calc_Unit_Mapping(Calc_Print_Unit(unit, true), shown, m);
    Push_Mapping(m);
    Draw_Cutlines2(unit, color);
    Pop_Mapping();
}

uint32_t Calc_Darker_Color(uint32_t rgb) {
    auto down = [](uint32_t c) { return uint8_t(c > 20 ? c - 20 : 0); };
    return Port_RGB(down((rgb >> 16) & 0xFF), down((rgb >> 8) & 0xFF), down(rgb & 0xFF));
}

namespace {

// A mask's grey level is its opacity: index k of the grey table is grey 255 - k.
uint32_t Mask_Color(int percent) {
    int k = std::clamp(percent, 0, 100) * 255 / 100;
    auto g = uint8_t(255 - k);
    return Port_RGB(g, g, g);
}

// One grid line from `from` to `to` (inclusive) along one axis at `at`;
// dashes of `dash` pixels every `dash_max` unless the dash is at its maximum.
void Grid_Line(bool vertical, int at, int from, int to, const a_grid_spec& grid) {
    int period = std::max(grid.dash_max, 1);
    int len = grid.dash >= grid.dash_max ? to - from + 1 : std::max(grid.dash, 1);
    for (int pos = from; pos <= to; pos += (len > to - from ? to - from + 1 : period)) {
        int end = std::min(pos + len - 1, to);
        vertical ? MoveTo(at, pos) : MoveTo(pos, at);
        vertical ? LineTo(at, end) : LineTo(end, at);
    }
}

// Line positions at origin ± multiples of `step`, within [lo, hi).
template <typename F>
void Each_Position(int origin, double step, int lo, int hi, F draw) {
    if (!(step > 0)) return;
    for (int k = 0;; ++k) {
        int plus = int(std::lround(origin + k * step)), minus = int(std::lround(origin - k * step));
        if (plus >= lo && plus < hi) draw(plus, k == 0);
        if (k > 0 && minus >= lo && minus < hi) draw(minus, false);
        if (plus >= hi && minus < lo) break;
    }
}

}  // namespace

void Draw_Grid_Lines(bool is_mask, const Rect& b, const a_grid_spec& grid) {
    if (Rect_IsEmpty(b) || grid.horz <= 0 || grid.vert <= 0) return;
    uint32_t fore = GetForeColor();
    Point pen = GetPenSize();
    PenSize(1, 1);
    uint32_t plain = is_mask ? Mask_Color(grid.opacity) : grid.color;
    uint32_t dark = is_mask ? Mask_Color(std::min(grid.opacity + 20, 100)) : Calc_Darker_Color(grid.color);
    double stepx = double(Rect_Width(b)) / (2 * grid.horz);
    double stepy = double(Rect_Height(b)) / (2 * grid.vert);
    Each_Position(grid.origin.h, stepx, b.left, b.right, [&](int x, bool centre) {
        RGBForeColor(centre ? dark : plain);
        Grid_Line(true, x, b.top, b.bottom - 1, grid);
    });
    Each_Position(grid.origin.v, stepy, b.top, b.bottom, [&](int y, bool centre) {
        RGBForeColor(centre ? dark : plain);
        Grid_Line(false, y, b.left, b.right - 1, grid);
    });
    RGBForeColor(dark);
    PaintRect(Rect{int16_t(grid.origin.v - 1), int16_t(grid.origin.h - 1),
                   int16_t(grid.origin.v + 2), int16_t(grid.origin.h + 2)});
    PenSize(pen.h, pen.v);
    RGBForeColor(fore);
}
