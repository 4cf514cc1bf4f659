#include "platform/region_build.h"

#include "platform/region_qt.h"

namespace {

// Halves joined pairwise, so that each union works on regions of similar
// size: n log n, where adding one rectangle at a time costs n squared.
QRegion Union_Of(const Rect* rects, int n) {
    if (n == 1) return QRegion(Rect_ToQ(rects[0]));
    int half = n / 2;
    return Union_Of(rects, half).united(Union_Of(rects + half, n - half));
}

}  // namespace

void Rgn_SetRects(a_region* rgn, const Rect* rects, int n) {
    if (!rgn) return;
    rgn->r = n > 0 ? Union_Of(rects, n) : QRegion();
}
