#include "print/print_render.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "model/document.h"
#include "pixels/pixmap.h"
#include "platform/region.h"
#include "persist/unit_picture.h"
#include "print/print_adjust.h"
#include "templates/expand.h"
#include "templates/shapes.h"

namespace {

struct a_unit_cache {
    uint32_t ux = 0;
    int dpi = 0;
    uint64_t generation = 0;
    a_gworld_ptr world;
};
a_unit_cache g_cache;

uint32_t* Row(GWorld* w, int y) {
    return reinterpret_cast<uint32_t*>(w->pix.baseAddr + std::ptrdiff_t(y) * (w->pix.rowBytes & 0x3FFF));
}

int W(const GWorld* w) { return Rect_Width(w->pix.bounds); }
int H(const GWorld* w) { return Rect_Height(w->pix.bounds); }

}  // namespace

Rect Print_Unit_Bounds(uint32_t ux, int dpi) {
    const a_unit& spec = g_doc.doc_template.Unit(ux);
    Rect bounds;
    Calc_Unit_Bounds(spec, bounds);
    if (dpi <= 0 || Rect_IsEmpty(bounds)) return bounds;
    a_unit u;
    Calc_Adjusted_Unit(u, spec, Calc_Direct_Print_Kind(), 1, false, true);
    double k = dpi / 25.4;
    double scale = std::max((u.bbox.right - u.bbox.left) * k / Rect_Width(bounds),
                            (u.bbox.bottom - u.bbox.top) * k / Rect_Height(bounds));
    if (!(scale > 1)) return bounds;
    scale = std::min(scale, double(kMaxPrintScale));
    long w = std::lround(Rect_Width(bounds) * scale), h = std::lround(Rect_Height(bounds) * scale);
    if (w > 32000 || h > 32000) return bounds;
    return Rect{bounds.top, bounds.left, int16_t(bounds.top + h), int16_t(bounds.left + w)};
}

a_gworld_ptr Print_Render_Unit(uint32_t ux, int dpi) {
    if (ux < 1 || ux > g_doc.doc_template.nunits || !g_doc.doc_units[ux]) return nullptr;
    // Through the one print rendering that leaves the document's print scale as it was.
    return Render_Unit_Sized(ux, Print_Unit_Bounds(ux, dpi));
}

void World_Rotate_180(GWorld* w) {
    World_FlipX(w);
    World_FlipY(w);
}

void World_FlipX(GWorld* w) {
    if (!w || w->pix.pixelSize != 32) return;
    for (int y = 0; y < H(w); ++y) std::reverse(Row(w, y), Row(w, y) + W(w));
}

void World_FlipY(GWorld* w) {
    if (!w || w->pix.pixelSize != 32) return;
    for (int top = 0, bottom = H(w) - 1; top < bottom; ++top, --bottom)
        std::swap_ranges(Row(w, top), Row(w, top) + W(w), Row(w, bottom));
}

void Apply_Unit_Flips(GWorld* w, uint32_t uflags) {
    if (Has_Flag(uflags, UNIT_ROTATE180)) World_Rotate_180(w);
    if (Has_Flag(uflags, UNIT_FLIPX)) World_FlipX(w);
    if (Has_Flag(uflags, UNIT_FLIPY)) World_FlipY(w);
}

void UnitCache_Init(uint32_t ux, int dpi) {
    if (g_cache.ux == ux && g_cache.dpi == dpi && g_cache.world) return;
    UnitCache_Stop();
    g_cache.world = Print_Render_Unit(ux, dpi);
    if (!g_cache.world) return;
    Apply_Unit_Flips(g_cache.world.get(), g_doc.doc_template.Unit(ux).uflags);
    g_cache.ux = ux;
    g_cache.dpi = dpi;
    ++g_cache.generation;
}

void UnitCache_Stop() {
    g_cache.world.reset();
    g_cache.ux = 0;
    g_cache.dpi = 0;
}

uint32_t UnitCache_Unit() { return g_cache.ux; }
uint64_t UnitCache_Generation() { return g_cache.generation; }
GWorld* UnitCache_World() { return g_cache.world.get(); }

void Calc_Unit_Clipping(a_region* rgn, const Rect& destbox, uint32_t ux) {
    Rgn_SetEmpty(rgn);
    if (!Has_Flag(g_doc.doc_template.Unit(ux).uflags, UNIT_CLOBBERS)) return;
    // Scaled from a fixed square so that every unit's ellipse has the same steps.
    a_region_ptr square = Make_Region();
    Rgn_SetOval(square.get(), Rect{0, 0, 640, 640});
    Rgn_Map(square.get(), Rect{0, 0, 640, 640}, destbox);
    Rgn_Copy(square.get(), rgn);
}
