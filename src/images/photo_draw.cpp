#include "images/photo_draw.h"

#include "model/ph_blocks.h"
#include "pixels/blit.h"
#include "pixels/blit_port.h"
#include "platform/port.h"
#include "model/notices.h"
#include "render/compositor.h"
#include "render/effects.h"
#include "render/effects_cache.h"

namespace {

constexpr uint32_t FRAME_RED = Port_RGB(240, 0, 0);
constexpr uint32_t FRAME_GREEN = Port_RGB(0, 240, 0);
constexpr a_pattern DASH_PAT{{0xF0, 0xF0, 0xF0, 0xF0, 0x0F, 0x0F, 0x0F, 0x0F}};

bool Has_Source(const a_spec& spec) {
    int ix = 0;
    return spec.source.kind == SOURCE_DATABASE || Find_Basis(spec.source.sid, ix);
}

void Draw_Missing(const Rect& box, const Rect& clip, GWorld* dest) {
    if (Rect_IsEmpty(box)) return;
    a_gworld_ptr pattern = Make_GWorld(32, Rect{0, 0, int16_t(Rect_Height(box)), int16_t(Rect_Width(box))});
    if (!pattern) return;
    Fill_Missing_Pattern(pattern.get());
    Rect cl = Rect_IsEmpty(clip) ? box : Rect_Sect(clip, box);
    if (Rect_IsEmpty(cl)) return;
    Port_To_Port(pattern.get(), dest, Get_GWorld_Bounds(pattern.get()), box, srcCopy, &cl);
}

}  // namespace

void Draw_Photo_Component(const a_ph_rec& ph, const a_masked_gworld& src, const Rect& dest_rect,
                          const Rect& clipr, GWorld* dest) {
    if (!src.fore || !dest) return;
    Rect clip = dest_rect;
    if (!Rect_IsEmpty(clipr)) {
        clip = Rect_Sect(clipr, dest_rect);
        if (Rect_IsEmpty(clip)) return;
    }
    a_port_scope port(dest);
    RGBForeColor(kBlackColor);
    RGBBackColor(kWhiteColor);
    if (src.mask) {
        Port_To_Port_Deep(src.fore, src.mask, dest, src.bounds, src.bounds, dest_rect, &clip);
    } else if (ph.spec.opacity == 100) {
        Port_To_Port(src.fore, dest, src.bounds, dest_rect, srcCopy, &clip);
    } else {
        a_blend_scope weight(ph.spec.opacity);
        Port_To_Port(src.fore, dest, src.bounds, dest_rect, blend, &clip);
    }
}

void PH_Draw_Mapped(a_ph_rec& ph, GWorld* dest, const Rect& clip, const a_coord_mapping& m,
                    bool for_print) {
    a_cache_result c;
    bool have = Has_Source(ph.spec);
    if (have) {
        Cache_Get(for_print ? FOR_PRINTING : FOR_SCREEN, ph.spec, c);
        have = c.body.fore != nullptr;
    }
    if (!have) {
        if (!for_print) Draw_Missing(Cells_To_Pixels(m, ph.dst_box), clip, dest);
        return;
    }
    const int w = Rect_Width(c.union_), h = Rect_Height(c.union_);
    const int left = ph.dst_center.h - w / 2, top = ph.dst_center.v - h / 2;
    const int dh = left - c.union_.left, dv = top - c.union_.top;
    auto place = [&](const Rect& r) { return Cells_To_Pixels(m, Rect_Offset(r, dh, dv)); };
    if (c.shad.fore) Draw_Photo_Component(ph, c.shad, place(c.shad.bounds), clip, dest);
    Draw_Photo_Component(ph, c.body, place(c.body.bounds), clip, dest);
}

void PH_Draw(a_ph_rec& ph, const Rect& clip, GWorld* dest, bool for_print) {
    PH_Draw_Mapped(ph, dest, clip, a_coord_mapping{}, for_print);
}

namespace {
a_listener_token g_photo_draw_token = 0;
}

void Photo_Draw_Init() {
    g_photo_draw_token = g_doc_services.draw.photo.Install(PH_Draw_Mapped);
}

void Photo_Draw_Stop() { g_doc_services.draw.photo.Remove(g_photo_draw_token); }

void PH_Draw_Frame(GWorld* dest, const Rect& frame, bool visible, bool hilite, bool single,
                   const a_ph_rec& ph) {
    if (!dest || Rect_IsEmpty(frame)) return;
    a_port_scope port(dest);
    PenNormal();
    RGBForeColor(hilite ? FRAME_RED : FRAME_GREEN);
    RGBBackColor(kWhiteColor);
    if (!visible) {
        PenMode(PEN_OR);
        PenPat(DASH_PAT);
    }
    FrameRect(frame);
    PenNormal();
    if (hilite && single && Is_Photo_Corner_Visible(ph)) {
        Rect corners[4];
        Calc_Frame_Corners(frame, corners);
        for (const Rect& r : corners) PaintRect(r);
    }
}
