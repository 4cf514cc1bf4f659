#include "render/gworld.h"

#include <cstddef>
#include <new>

GWorld* New_GWorld(int depth, const Rect& bounds) {
    auto* w = new (std::nothrow) GWorld;
    if (!w) return nullptr;
    w->depth = depth;
    w->bounds = bounds;
    int width = Rect_IsEmpty(bounds) ? 0 : Rect_Width(bounds);
    int height = Rect_IsEmpty(bounds) ? 0 : Rect_Height(bounds);
    w->rowbytes = ((width * depth + 31) / 32) * 4;
    try {
        w->pixels.assign(size_t(w->rowbytes) * height, 0);
    } catch (const std::bad_alloc&) {
        delete w;
        return nullptr;
    }
    return w;
}

void Dispose_GWorld(GWorld*& world) {
    delete world;
    world = nullptr;
}

GWorld* Copy_GWorld(const GWorld* world) {
    if (!world) return nullptr;
    return new (std::nothrow) GWorld(*world);
}
