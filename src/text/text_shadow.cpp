#include "text/text_shadow.h"

#include <algorithm>
#include <cmath>

#include "pixels/syspix.h"
#include "render/effects.h"

namespace {

// Offsets and blur beyond any slider at any print scale are cut here, so a
// damaged record cannot ask for a shadow box outside the 16-bit plane.
constexpr int kMaxShift = 4000;
constexpr int kMaxRadius = 100;

int Scaled(int v, float mult, int limit) {
    double s = std::round(double(v) * double(mult));
    return int(std::clamp(s, double(-limit), double(limit)));
}

bool Fits_World(const a_shadow_box& b) {
    auto in16 = [](int v) { return v >= INT16_MIN && v <= INT16_MAX; };
    if (!in16(b.top) || !in16(b.left) || !in16(b.bottom) || !in16(b.right)) return false;
    Rect r{int16_t(b.top), int16_t(b.left), int16_t(b.bottom), int16_t(b.right)};
    return !Rect_IsEmpty(r) && PixMap_Fits(r, 32);
}

}  // namespace

a_shadow_box Calc_Shadow_Box(const Rect& base_used, int dx, int dy, int radius) {
    a_shadow_box b{base_used.top, base_used.left, base_used.bottom, base_used.right};
    (dx < 1 ? b.left : b.right) += dx;
    (dy < 1 ? b.top : b.bottom) += dy;
    b.top -= radius;
    b.left -= radius;
    b.bottom += radius;
    b.right += radius;
    return b;
}

void Calc_Text_Shadow(const Rect& base_used, const PixMap& base_mask, GWorld*& shad_world,
                      GWorld*& shad_mask, Rect& total_used, const a_win_pixel32& shad_color,
                      int shad_radius, int shad_dy, int shad_dx, int shad_density,
                      int char_density) {
    shad_world = shad_mask = nullptr;
    total_used = base_used;
    int radius = std::max(shad_radius, 0);
    a_shadow_box b = Calc_Shadow_Box(base_used, shad_dx, shad_dy, radius);
    if (Rect_IsEmpty(base_used) || !Fits_World(b)) return;
    Rect box{int16_t(b.top), int16_t(b.left), int16_t(b.bottom), int16_t(b.right)};
    a_gworld_ptr world = Make_GWorld(32, box), mask = Make_GWorld(8, box);
    if (!world || !mask) return;
    Set_GWorld_CTable(mask.get(), gray_ctable);
    PixMap& m = mask->pix;
    // Letters with no density cast nothing; otherwise rescale to the shadow's own.
    bool rescale = char_density > 0 && shad_density != char_density;
    int sd = std::clamp(shad_density, 0, 255);
    Rect from = Rect_Sect(base_used, base_mask.bounds);
    for (int y = from.top; y < from.bottom && char_density > 0; ++y) {
        const uint8_t* src = PixMap_Row(base_mask, y) - base_mask.bounds.left;
        uint8_t* dst = PixMap_Row(m, y + shad_dy) - m.bounds.left + shad_dx;
        for (int x = from.left; x < from.right; ++x) {
            int v = src[x];
            if (rescale) v = std::min(255, v * sd / char_density);
            dst[x] = uint8_t(v);
        }
    }
    if (radius > 0) Blur_PixMap8(m, box, radius);
    uint32_t word = uint32_t(shad_color.b) | uint32_t(shad_color.g) << 8 | uint32_t(shad_color.r) << 16;
    PixMap32_Fill(world->pix, box, word);
    shad_world = world.release();
    shad_mask = mask.release();
    total_used = Rect_Union(box, base_used);
}

void Do_Shadow(const a_shadow_look& look, const a_coord_mapping& mapping, int char_density,
               const a_masked_gworld& text, Rect& total_used, a_masked_gworld& shad) {
    Null_MW(shad);
    total_used = text.bounds;
    if (!text.mask || Rect_IsEmpty(text.bounds)) return;
    int dx = Scaled(look.dx, mapping.multx, kMaxShift);
    int dy = Scaled(look.dy, mapping.multy, kMaxShift);
    int radius = std::max(0, Scaled(look.radius, mapping.multy, kMaxRadius));
    int density = 255 * std::clamp(look.opacity, 0, 100) / 100;
    Calc_Text_Shadow(text.bounds, text.mask->pix, shad.fore, shad.mask, total_used, look.color,
                     radius, dy, dx, density, char_density);
    if (shad.fore) shad.bounds = shad.fore->pix.bounds;
}
