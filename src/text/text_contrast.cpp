#include "text/text_contrast.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "pixels/gworld.h"
#include "platform/port.h"

namespace {

double Channel(uint8_t c) {
    const double v = c / 255.0;
    return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
}

double Luminance(a_win_pixel32 p) { return 0.2126 * Channel(p.r) + 0.7152 * Channel(p.g) + 0.0722 * Channel(p.b); }

// The mean colour of the world's pixels within `area`, every other row and
// column (enough for a mean); false when the two do not meet.
bool Mean_Under(const GWorld* world, const Rect& area, a_win_pixel32& mean) {
    if (!world) return false;
    const a_port_bits bits = World_Bits(world);
    if (!bits.base || bits.depth != 32) return false;
    const int top = std::max<int>(area.top, bits.bounds.top), bottom = std::min<int>(area.bottom, bits.bounds.bottom);
    const int left = std::max<int>(area.left, bits.bounds.left), right = std::min<int>(area.right, bits.bounds.right);
    if (top >= bottom || left >= right) return false;
    double sum[3] = {0, 0, 0};
    long n = 0;
    for (int v = top; v < bottom; v += 2) {
        const uint8_t* row = bits.base + long(v - bits.bounds.top) * bits.rowbytes;
        for (int h = left; h < right; h += 2) {
            a_win_pixel32 p;
            std::memcpy(&p, row + long(h - bits.bounds.left) * 4, 4);
            sum[0] += p.r, sum[1] += p.g, sum[2] += p.b;
            ++n;
        }
    }
    mean.r = uint8_t(std::lround(sum[0] / double(n)));
    mean.g = uint8_t(std::lround(sum[1] / double(n)));
    mean.b = uint8_t(std::lround(sum[2] / double(n)));
    return true;
}

}  // namespace

double Contrast_Ratio(a_win_pixel32 a, a_win_pixel32 b) {
    const double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

a_win_pixel32 Readable_Colour(const GWorld* world, const Rect& cells, const Rect& area, a_win_pixel32 wanted) {
    if (!world || Rect_Width(cells) <= 0 || Rect_Height(cells) <= 0) return wanted;
    const Rect b = Get_GWorld_Bounds(world);
    const double kx = double(Rect_Width(b)) / Rect_Width(cells), ky = double(Rect_Height(b)) / Rect_Height(cells);
    auto at = [](int from, double k, int origin, int v) { return int16_t(std::lround(origin + (v - from) * k)); };
    const Rect in_world{at(cells.top, ky, b.top, area.top), at(cells.left, kx, b.left, area.left),
                        at(cells.top, ky, b.top, area.bottom), at(cells.left, kx, b.left, area.right)};
    a_win_pixel32 under;
    if (!Mean_Under(world, in_world, under) || Contrast_Ratio(wanted, under) >= TEXT_MIN_CONTRAST) return wanted;
    const a_win_pixel32 black{0, 0, 0, wanted.a}, white{255, 255, 255, wanted.a};
    return Contrast_Ratio(black, under) >= Contrast_Ratio(white, under) ? black : white;
}
