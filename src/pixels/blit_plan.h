// How a blit walks its maps: the destination area left after clipping and,
// for each destination column and row, the source (and mask) pixel it takes.
// Shared by the blit workers; not for use outside render/.
// Process-wide state: none.
#pragma once
#include <cstdint>
#include <vector>

#include "platform/geometry.h"
#include "pixels/clones.h"
#include "pixels/pixmap.h"

struct a_blt_plan {
    int x0 = 0, y0 = 0, w = 0, h = 0;  // destination area, dst coordinates
    bool same = false;                 // sizes equal: columns and rows advance together
    std::vector<int> sx, sy;           // source column and row of each destination one
    std::vector<int> mx, my;           // the same for the mask, when there is one
};

// False when nothing is left to draw. `mask`/`mask_rect` may be null.
[[nodiscard]] bool Blt_Plan(const PixMap& src, const Rect& src_rect, const PixMap& dst, const Rect& dst_rect,
              const Rect* clip, const PixMap* mask, const Rect* mask_rect, a_blt_plan& plan);
