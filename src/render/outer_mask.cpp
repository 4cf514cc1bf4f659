#include "render/outer_mask.h"

#include <cstring>
#include <vector>

#include "model/doc_media.h"
#include "model/document.h"
#include "pixels/blit.h"
#include "platform/port.h"
#include "platform/region.h"
#include "templates/shapes.h"

bool g_print_holes = true;

namespace {

constexpr uint32_t kPasteboardGrey = Port_RGB(128, 128, 128);

bool Is_Disc_Kind(int kind) { return Unit_Shape(kind) == SHAPE_RING; }

const a_unit& Template_Unit(uint32_t ux) { return g_doc.doc_template.Unit(ux); }

void Fill_Mask(GWorld* mask, const a_region* rgn, uint8_t value) {
    std::vector<Rect> rects;
    Rgn_GetRects(rgn, rects);
    const Rect b = Get_GWorld_Bounds(mask);
    for (const Rect& r0 : rects) {
        Rect r = Rect_Sect(r0, b);
        for (int y = r.top; y < r.bottom; ++y)
            std::memset(PixMap_Row(mask->pix, y) + (r.left - b.left), value, size_t(Rect_Width(r)));
    }
}

void Paint_Region(GWorld* world, const a_region* rgn, uint32_t rgb) {
    a_port_scope port(world);
    RGBForeColor(rgb);
    PaintRgn(rgn);
    RGBForeColor(kBlackColor);
}

}  // namespace

bool Is_Unit_Fuzzed(const a_doc_unit& up, uint32_t ux) {
    if (ux < 1 || ux > g_doc.doc_template.nunits) return false;
    const a_canvas_spec& cv = up.canv.cv;
    return Is_Disc_Kind(Template_Unit(ux).kind) && (cv.canvas_fuzz_in != 0 || cv.canvas_fuzz_out != 0);
}

void Calc_Outer_Mask(bool is_printing, uint32_t ux, const a_doc_unit& up, const Rect& bounds,
                     GWorld*& outer_world, GWorld*& outer_mask) {
    Dispose_GWorld(outer_world);
    Dispose_GWorld(outer_mask);
    if (ux < 1 || ux > g_doc.doc_template.nunits || Rect_IsEmpty(bounds)) return;
    // On a direct printer the picture covers the medium in the tray, so the
    // shape and its hole are the medium's.
    const a_unit unit = Calc_Medium_Unit(ux);
    const bool ls = Has_Flag(g_doc.doc_template.tflags, IS_LIGHTSCRIBE) && Is_Disc_Kind(unit.kind);
    if (!ls && !Has_Outer_Mask(unit)) return;
    New_GWorldF("Calc_Outer_Mask", bounds, 32, nullptr, outer_world);
    New_GWorldF("Calc_Outer_Mask", bounds, 8, gray_ctable, outer_mask);
    a_region_ptr rgn = Make_Region(), not_rgn = Make_Region();
    if (ls)
        Calc_LS_Rgns(not_rgn.get(), rgn.get(), bounds);
    else
        Calc_Hole_Rgns(not_rgn.get(), rgn.get(), bounds, Calc_Print_Unit(unit, true),
                       !is_printing || g_print_holes);
    {
        a_port_scope port(outer_world);
        RGBBackColor(kWhiteColor);
        EraseRect(bounds);
    }
    if (!is_printing) Paint_Region(outer_world, not_rgn.get(), kPasteboardGrey);
    const uint8_t outside = is_printing ? OUTER_PRINT_VALUE : OUTER_SCREEN_VALUE;
    if (!ls && Is_Unit_Fuzzed(up, ux) &&
        Calc_Circular_Mask(World_Bits(outer_mask), unit, up.canv.cv.canvas_fuzz_out,
                           up.canv.cv.canvas_fuzz_in, outside))
        return;
    GWorld_Zero(outer_mask);
    Fill_Mask(outer_mask, not_rgn.get(), outside);
}

void Outer_Mask_Check(uint32_t ux, a_doc_unit& up, const Rect& targr) {
    a_cached_gworld& layer = up.static_[OUTERMASK_LAYER];
    if (layer.curr_seq == layer.targ_seq && layer.bounds == targr && layer.world) return;
    Calc_Outer_Mask(false, ux, up, targr, layer.world, layer.mask);
    layer.bounds = targr;
    layer.curr_seq = layer.targ_seq;
}

void Draw_Outer_Mask(GWorld* outer_world, GWorld* outer_mask, GWorld* dst, const Rect& r) {
    if (!outer_world || !outer_mask || !dst) return;
    Pix_To_PixM(outer_world->pix, outer_mask->pix, dst->pix, r, r, r);
}
