#include "shell/window_pos.h"

#include <algorithm>

Rect Calc_Default_WindowPos(const Rect& available) {
    int aw = available.right - available.left;
    int ah = available.bottom - available.top;
    int w = std::min(aw, 1024);
    int h = std::min(ah, 750);
    int left = available.left + (aw - w) / 2;
    int top = available.top + std::min((ah - h) / 2, 45);
    return Rect{int16_t(top), int16_t(left), int16_t(top + h), int16_t(left + w)};
}

bool Screen_Large_Enough(int width, int height) {
    return width >= MIN_SCREEN_WIDTH && height >= MIN_SCREEN_HEIGHT;
}

bool Window_Fully_Visible(const Rect& w, const Rect& s) {
    if (w.right <= w.left || w.bottom <= w.top) return false;
    return w.left >= s.left && w.top >= s.top && w.right <= s.right && w.bottom <= s.bottom;
}

Rect Restored_WindowPos(const Rect& saved, const std::vector<Rect>& screens) {
    if (screens.empty()) return saved;
    Rect r = saved;
    r.right = int16_t(r.left + std::max(Rect_Width(r), int(MIN_WINDOW_WIDTH)));
    r.bottom = int16_t(r.top + std::max(Rect_Height(r), int(MIN_WINDOW_HEIGHT)));
    Rect framed = r;
    framed.top = int16_t(r.top - TITLE_BAR_ROOM);
    if (Rect_Width(saved) > 0 && Rect_Height(saved) > 0)
        for (const Rect& s : screens)
            if (Window_Fully_Visible(framed, s)) return r;
    return Calc_Default_WindowPos(screens.front());
}
