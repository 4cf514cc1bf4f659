#include "paint/border_fill.h"

#include <algorithm>

namespace {

bool Inside(const Rect& piece, const Rect& picture) {
    return !Rect_IsEmpty(piece) && piece.left >= picture.left && piece.top >= picture.top &&
           piece.right <= picture.right && piece.bottom <= picture.bottom;
}

// The picture's cell (along, depth) of `piece`: depth 0 is the outer edge.
bool Sample(const a_border_art& b, const Rect& piece, int along, int depth, uint32_t& rgb, uint8_t& alpha) {
    const int x = piece.left + along, y = piece.top + depth;
    const GWorld& fore = *b.picture->fore;
    rgb = reinterpret_cast<const uint32_t*>(PixMap_Row(fore.pix, y))[x - fore.pix.bounds.left] & 0xFFFFFF;
    const GWorld* mask = b.picture->mask;
    alpha = mask ? PixMap_Row(mask->pix, y)[x - mask->pix.bounds.left] : 255;
    return alpha != 0;
}

// An edge `length` long, at `along` from its start corner's outer end.
bool Edge(const a_border_art& b, int length, int along, int depth, uint32_t& rgb, uint8_t& alpha) {
    const int t = Rect_Width(b.corn), sw = Rect_Width(b.side), fw = Rect_Width(b.sliv);
    const int run = along - t, sides = std::max(0, length - 2 * t) / sw;
    if (run < sides * sw) return Sample(b, b.side, run % sw, depth, rgb, alpha);
    return Sample(b, b.sliv, (run - sides * sw) % fw, depth, rgb, alpha);
}

}  // namespace

bool Border_Usable(const a_border_art& b) {
    if (!b.picture || !b.picture->fore) return false;
    const Rect& pic = b.picture->fore->pix.bounds;
    if (b.picture->mask && !(b.picture->mask->pix.bounds == pic)) return false;
    const int t = Rect_Height(b.corn);
    return Inside(b.corn, pic) && Inside(b.side, pic) && Inside(b.sliv, pic) && Rect_Width(b.corn) == t &&
           Rect_Height(b.side) == t && Rect_Height(b.sliv) == t;
}

bool Border_Color(const a_border_art& b, const Rect& frame, int x, int y, uint32_t& rgb, uint8_t& alpha) {
    if (!Border_Usable(b) || x < frame.left || x >= frame.right || y < frame.top || y >= frame.bottom)
        return false;
    const int t = Rect_Width(b.corn), w = Rect_Width(frame), h = Rect_Height(frame);
    const int dl = x - frame.left, dr = frame.right - 1 - x, dt = y - frame.top, db = frame.bottom - 1 - y;
    // Which edge zone the cell is in; a frame narrower than two corners splits at its middle.
    const int hz = dl < t && dl <= dr ? -1 : dr < t && dr < dl ? 1 : 0;
    const int vz = dt < t && dt <= db ? -1 : db < t && db < dt ? 1 : 0;
    // The top-left corner turned a quarter clockwise for each corner further round.
    if (hz < 0 && vz < 0) return Sample(b, b.corn, dl, dt, rgb, alpha);
    if (hz > 0 && vz < 0) return Sample(b, b.corn, dt, dr, rgb, alpha);
    if (hz > 0 && vz > 0) return Sample(b, b.corn, dr, db, rgb, alpha);
    if (hz < 0 && vz > 0) return Sample(b, b.corn, db, dl, rgb, alpha);
    if (vz < 0) return Edge(b, w, dl, dt, rgb, alpha);
    if (hz > 0) return Edge(b, h, dt, dr, rgb, alpha);
    if (vz > 0) return Edge(b, w, dr, db, rgb, alpha);
    if (hz < 0) return Edge(b, h, db, dl, rgb, alpha);
    return false;
}
