#include "images/photo_crop.h"

#include <algorithm>

namespace {

int To_Dialog(const a_crop_rec& cr, int v) { return v * cr.reduction.num / cr.reduction.den; }
int To_Source(const a_crop_rec& cr, int v) { return v * cr.reduction.den / cr.reduction.num; }

}  // namespace

void Crop_Layout(const Rect& picture, const Rect& crop, const Rect& screen, a_crop_rec& cr) {
    cr = a_crop_rec{};
    const int w = std::max(1, Rect_Width(picture)), h = std::max(1, Rect_Height(picture));
    const int maxw = std::max(CROP_MIN_W, Rect_Width(screen) * 95 / 100);
    const int maxh = std::max(CROP_MIN_H, Rect_Height(screen) * 95 / 100);
    const int availw = maxw - 2 * CROP_MARGIN, availh = maxh - 2 * CROP_MARGIN;
    if (2 * w <= availw && 2 * h <= availh) cr.reduction = a_ratio{2, 1};
    else if (w <= availw && h <= availh) cr.reduction = a_ratio{1, 1};
    else if (int64_t(availw) * h <= int64_t(availh) * w) cr.reduction = a_ratio{int16_t(availw), int16_t(w)};
    else cr.reduction = a_ratio{int16_t(availh), int16_t(h)};
    const int pw = To_Dialog(cr, w), ph = To_Dialog(cr, h);
    cr.off = Rect{0, 0, int16_t(std::max(CROP_MIN_H, ph + 2 * CROP_MARGIN)),
                  int16_t(std::max(CROP_MIN_W, pw + 2 * CROP_MARGIN))};
    cr.bb_pix = Rect{CROP_MARGIN, CROP_MARGIN, int16_t(CROP_MARGIN + ph), int16_t(CROP_MARGIN + pw)};
    cr.crop = Rect_IsEmpty(crop) ? picture : Rect_Sect(crop, picture);
    Crop_Calc_Handles(cr);
}

void Crop_Calc_Handles(a_crop_rec& cr) {
    // Source origin at 0: readers give every picture bounds (0, 0, h, w).
    const Rect& c = cr.crop;
    const int l = cr.bb_pix.left + To_Dialog(cr, c.left), t = cr.bb_pix.top + To_Dialog(cr, c.top);
    const int r = cr.bb_pix.left + To_Dialog(cr, c.right), b = cr.bb_pix.top + To_Dialog(cr, c.bottom);
    cr.crop_s = Rect{int16_t(t), int16_t(l), int16_t(b), int16_t(r)};
    const int d = CROP_HANDLE_DEPTH, o = CROP_HANDLE_OVER;
    cr.bb_l = Rect{int16_t(t - o), int16_t(l - d), int16_t(b + o), int16_t(l)};
    cr.bb_t = Rect{int16_t(t - d), int16_t(l - o), int16_t(t), int16_t(r + o)};
    cr.bb_r = Rect{int16_t(t - o), int16_t(r), int16_t(b + o), int16_t(r + d)};
    cr.bb_b = Rect{int16_t(b), int16_t(l - o), int16_t(b + d), int16_t(r + o)};
}

void Crop_Drag_Side(a_crop_rec& cr, const Rect& picture, int side, Point where) {
    Rect& c = cr.crop;
    const int h = To_Source(cr, where.h - cr.bb_pix.left), v = To_Source(cr, where.v - cr.bb_pix.top);
    switch (side) {
        case 1: c.left = int16_t(std::clamp(h, int(picture.left), c.right - 1)); break;
        case 2: c.top = int16_t(std::clamp(v, int(picture.top), c.bottom - 1)); break;
        case 3: c.right = int16_t(std::clamp(h, c.left + 1, int(picture.right))); break;
        case 4: c.bottom = int16_t(std::clamp(v, c.top + 1, int(picture.bottom))); break;
        default: return;
    }
    Crop_Calc_Handles(cr);
}
