// The shadow of text: the letters' mask shifted, brought to the shadow's own
// density and blurred by the shared 8-bit blur.
// Process-wide state: none.
#pragma once
#include <cstdint>

#include "pixels/gworld.h"
#include "templates/expand.h"

// The shadow box: `base_used` extended by dx toward its sign (the left edge
// for dx < 1, else the right) and by dy likewise, grown by `radius` on every
// side. Computed in full integers; the caller checks it fits a world.
struct a_shadow_box {
    int top = 0, left = 0, bottom = 0, right = 0;
};
a_shadow_box Calc_Shadow_Box(const Rect& base_used, int dx, int dy, int radius);

// The shadow of the letters `base_mask` (8-bit, covering base_used) into a
// new shadow world and mask on the shadow box. Mask values are scaled by
// shad_density / char_density so that the shadow's strength does not
// depend on the letters' opacity. `total_used` becomes the union of the
// shadow box and base_used. A box no world can hold gives no shadow and
// total_used = base_used.
void Calc_Text_Shadow(const Rect& base_used, const PixMap& base_mask, GWorld*& shad_world,
                      GWorld*& shad_mask, Rect& total_used, const a_win_pixel32& shad_color,
                      int shad_radius, int shad_dy, int shad_dx, int shad_density,
                      int char_density);

// The shadow settings of a block, in unit pixels and percent.
struct a_shadow_look {
    a_win_pixel32 color;
    int dx = 4, dy = 4;
    int opacity = 75;
    int radius = 1;
};

// Scales the shadow by the mapping and makes `shad` from the letters `text`
// (whose bounds are their used box); `shad` stays empty when there is
// nothing to cast.
void Do_Shadow(const a_shadow_look& look, const a_coord_mapping& mapping, int char_density,
               const a_masked_gworld& text, Rect& total_used, a_masked_gworld& shad);
