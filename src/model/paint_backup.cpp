#include "model/paint_backup.h"

#include <algorithm>
#include <cstring>

#include "pixels/gworld.h"
#include "pixels/pixmap.h"

a_doc_layer g_undo_layer;
a_static_layer g_undo_layerx = PAINT1_LAYER;

namespace {

// The part of `r` inside the world, or an empty rectangle.
Rect Clip(const Rect& r, const Rect& world) {
    Rect c{std::max(r.top, world.top), std::max(r.left, world.left),
           std::min(r.bottom, world.bottom), std::min(r.right, world.right)};
    if (c.bottom <= c.top || c.right <= c.left) return Rect{};
    return c;
}

// Whether the backup world can be copied back into `dst` pixel for pixel.
bool Same_Shape(const GWorld* backup, const GWorld* dst) {
    return backup && dst && backup->pix.bounds == dst->pix.bounds &&
           backup->pix.pixelSize == dst->pix.pixelSize;
}

void Copy_Rows(const GWorld& from, GWorld& to, const Rect& r) {
    int bpp = from.pix.pixelSize / 8;
    size_t n = size_t(Rect_Width(r)) * bpp;
    for (int y = r.top; y < r.bottom; ++y) {
        size_t at = size_t(r.left - from.pix.bounds.left) * bpp;
        std::memcpy(PixMap_Row(to.pix, y) + at, PixMap_Row(from.pix, y) + at, n);
    }
}

bool Mask_Set(const GWorld& mask, int x, int y) {
    const Rect& b = mask.pix.bounds;
    if (x < b.left || x >= b.right || y < b.top || y >= b.bottom) return false;
    return PixMap_Row(mask.pix, y)[x - b.left] != 0;
}

void Copy_Pixels_Not_Masked(const GWorld& from, GWorld& to, const Rect& r, const GWorld& mask) {
    int bpp = from.pix.pixelSize / 8;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) {
            if (Mask_Set(mask, x, y)) continue;
            size_t at = size_t(x - from.pix.bounds.left) * bpp;
            std::memcpy(PixMap_Row(to.pix, y) + at, PixMap_Row(from.pix, y) + at, bpp);
        }
}

a_cached_gworld* Layer() {
    return g_doc.up ? &g_doc.up->static_[g_undo_layerx] : nullptr;
}

template <typename F>
void For_Both(F&& copy) {
    a_cached_gworld* layer = Layer();
    if (!layer) return;
    if (Same_Shape(g_undo_layer.world, layer->world)) copy(*g_undo_layer.world, *layer->world);
    if (Same_Shape(g_undo_layer.mask, layer->mask)) copy(*g_undo_layer.mask, *layer->mask);
}

}  // namespace

void Undo_SaveLayer(a_static_layer layerx) {
    g_undo_layerx = layerx;
    a_cached_gworld* layer = Layer();
    if (!layer) return Undo_Dispose();
    Copy_GWorld(layer->world, g_undo_layer.world);
    Copy_GWorld(layer->mask, g_undo_layer.mask);
    g_undo_layer.seq = layer->curr_seq;
    g_undo_layer.inuse = g_undo_layer.world != nullptr;
}

void Undo_RestoreRect(const Rect& bounds) {
    For_Both([&](const GWorld& from, GWorld& to) {
        Rect r = Clip(bounds, from.pix.bounds);
        if (Rect_Width(r) > 0) Copy_Rows(from, to, r);
    });
}

void Undo_PaintNotMask(const Rect& bounds, const GWorld& mask) {
    For_Both([&](const GWorld& from, GWorld& to) {
        Rect r = Clip(bounds, from.pix.bounds);
        if (Rect_Width(r) > 0) Copy_Pixels_Not_Masked(from, to, r, mask);
    });
}

void Undo_Dispose() {
    Dispose_GWorld(g_undo_layer.world);
    Dispose_GWorld(g_undo_layer.mask);
    g_undo_layer.seq = 0;
    g_undo_layer.inuse = false;
}
