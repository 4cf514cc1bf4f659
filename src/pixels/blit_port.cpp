#include "pixels/blit_port.h"

#include "platform/port.h"
#include "pixels/syspix.h"
#include "base/messages.h"

namespace {

// A world's pixels, or the current port's for nullptr.
[[nodiscard]] bool World_PixMap(GWorld* w, PixMap& pm) {
    if (w) {
        pm = w->pix;
        return true;
    }
    return Current_Port_PixMap(pm);
}

}  // namespace

bool Current_Port_PixMap(PixMap& pm) {
    if (GWorld* w = Get_GWorld()) {
        pm = w->pix;
        return true;
    }
    return Port_PixMap(Port_Get(), pm);
}

bool Port_PixMap(a_port* port, PixMap& pm) {
    if (!port) return false;
    const a_port_bits& bits = Port_Bits(port);
    if (!bits.base || !PixMap_Fits(bits.bounds, bits.depth) || bits.rowbytes > ROWBYTES_MASK)
        return false;
    New_Empty_PixMap(pm, bits.bounds, bits.depth, nullptr);
    pm.baseAddr = bits.base;
    pm.rowBytes = int16_t(bits.rowbytes);
    return true;
}

void Pix_To_Port(const PixMap& src, const Rect& src_rect, const Rect& dst_rect, int mode,
                 const Rect* clip) {
    PixMap dst;
    if (Current_Port_PixMap(dst)) Pix_To_Pix(src, dst, src_rect, dst_rect, mode, clip);
}

void Port_To_Pix(PixMap& dst, const Rect& src_rect, const Rect& dst_rect, int mode,
                 const Rect* clip) {
    PixMap src;
    if (Current_Port_PixMap(src)) Pix_To_Pix(src, dst, src_rect, dst_rect, mode, clip);
}

void Port_To_Port(GWorld* src, GWorld* dst, const Rect& src_rect, const Rect& dst_rect, int mode,
                  const Rect* clip) {
    PixMap s, d;
    if (World_PixMap(src, s) && World_PixMap(dst, d)) Pix_To_Pix(s, d, src_rect, dst_rect, mode, clip);
}

void Pix_To_PortM(const PixMap& src, const PixMap& mask, const Rect& src_rect,
                  const Rect& mask_rect, const Rect& dst_rect, const Rect* clip) {
    PixMap dst;
    if (Current_Port_PixMap(dst)) Pix_To_PixM(src, mask, dst, src_rect, mask_rect, dst_rect, clip);
}

void Port_To_PixM(const PixMap& mask, PixMap& dst, const Rect& src_rect, const Rect& mask_rect,
                  const Rect& dst_rect) {
    PixMap src;
    if (Current_Port_PixMap(src)) Pix_To_PixM(src, mask, dst, src_rect, mask_rect, dst_rect);
}

void Port_To_PortM(GWorld* src, GWorld* mask, GWorld* dst, const Rect& src_rect,
                   const Rect& mask_rect, const Rect& dst_rect) {
    PixMap s, d;
    if (!mask || !World_PixMap(src, s) || !World_PixMap(dst, d)) return;
    Pix_To_PixM(s, mask->pix, d, src_rect, mask_rect, dst_rect);
}

void Pix_To_Port_Deep(const PixMap& src, const PixMap& mask, const Rect& src_rect,
                      const Rect& mask_rect, const Rect& dst_rect, const Rect* clip) {
    if (mask.pixelSize != 8) InternalError();
    Pix_To_PortM(src, mask, src_rect, mask_rect, dst_rect, clip);
}

void Port_To_Port_Deep(GWorld* src, GWorld* mask, GWorld* dst, const Rect& src_rect,
                       const Rect& mask_rect, const Rect& dst_rect, const Rect* clip) {
    PixMap s, d;
    if (!mask || !World_PixMap(src, s) || !World_PixMap(dst, d)) return;
    if (mask->pix.pixelSize != 8) InternalError();
    Pix_To_PixM(s, mask->pix, d, src_rect, mask_rect, dst_rect, clip);
}

void Win_To_Win(a_port* src_win, a_port* dst_win, const Rect& src_rect, const Rect& dst_rect,
                int mode, const Rect* clip) {
    PixMap s, d;
    if (Port_PixMap(src_win, s) && Port_PixMap(dst_win, d)) Pix_To_Pix(s, d, src_rect, dst_rect, mode, clip);
}

void Pix_To_Win(const PixMap& src, a_port* win, const Rect& src_rect, const Rect& dst_rect, int mode,
                const Rect* clip) {
    PixMap d;
    if (Port_PixMap(win, d)) Pix_To_Pix(src, d, src_rect, dst_rect, mode, clip);
}

void Pix_To_WinM(const PixMap& src, const PixMap& mask, a_port* win, const Rect& src_rect,
                 const Rect& mask_rect, const Rect& dst_rect, const Rect* clip) {
    PixMap d;
    if (Port_PixMap(win, d)) Pix_To_PixM(src, mask, d, src_rect, mask_rect, dst_rect, clip);
}

void CopyMask_Blend(int opacity, const PixMap& src_pix, const PixMap& src_mask,
                    const Rect& dst_bounds, const Rect* clip) {
    PixMap port;
    if (!Current_Port_PixMap(port)) return;
    a_blend_scope weight(opacity);
    Rect area = Rect_Sect(dst_bounds, port.bounds);
    if (Rect_IsEmpty(area)) return;
    a_pixmap_owner colour_owner = Make_PixMap(area, src_pix.pixelSize, src_pix.pmTable);
    a_pixmap_owner mask_owner = Make_PixMap(area, src_mask.pixelSize, src_mask.pmTable);
    PixMap& colour = *colour_owner;
    PixMap& mask = *mask_owner;
    RGBForeColor(kBlackColor);
    RGBBackColor(kWhiteColor);
    // The source's bounds lie on dst_bounds: the area maps to the same part
    // of the source, offset by their difference.
    int dh = src_pix.bounds.left - dst_bounds.left, dv = src_pix.bounds.top - dst_bounds.top;
    Rect from = Rect_Offset(area, dh, dv);
    int mh = src_mask.bounds.left - dst_bounds.left, mv = src_mask.bounds.top - dst_bounds.top;
    Rect mfrom = Rect_Offset(area, mh, mv);
    Pix_To_Pix(port, colour, area, area, srcCopy, nullptr);
    Pix_To_Pix(src_pix, colour, from, area, blend, nullptr);
    Pix_To_Pix(src_mask, mask, mfrom, area, srcCopy, nullptr);
    Pix_To_PixM(colour, mask, port, area, area, area, clip);
}

void Extract_Channel(a_channel channel, const GWorld* src_world, GWorld* dst_world, const Rect& box,
                     Rect& used) {
    used = Rect{};
    if (!src_world || !dst_world) return;
    const PixMap& s = src_world->pix;
    PixMap& d = dst_world->pix;
    if (s.pixelSize != 32 || d.pixelSize != 8) InternalError();
    Rect r = Rect_Sect(Rect_Sect(box, s.bounds), d.bounds);
    for (int y = r.top; y < r.bottom; ++y) {
        const uint8_t* sp = PixMap_Row(s, y) + 4 * (r.left - s.bounds.left) + channel;
        uint8_t* dp = PixMap_Row(d, y) + (r.left - d.bounds.left);
        for (int x = 0; x < r.right - r.left; ++x) dp[x] = sp[4 * x];
    }
    if (!Rect_IsEmpty(r)) Asm32_PixMap8_Bounding(d, r, used);
}

void Save_Screen(const Rect& area, GWorld*& saved) {
    saved = nullptr;
    PixMap port;
    if (!Current_Port_PixMap(port)) return;
    New_GWorldF("Save screen", area, port.pixelSize, port.pmTable, saved);
    Pix_To_Pix(port, saved->pix, area, area, srcCopy, nullptr);
}

void Restore_Screen(GWorld*& saved, const Rect& area) {
    if (!saved) return;
    PixMap port;
    if (Current_Port_PixMap(port)) Pix_To_Pix(saved->pix, port, saved->pix.bounds, area, srcCopy, nullptr);
    Dispose_GWorld(saved);
}

void Draw_Cached_MWorld(const a_masked_gworld& mw, const Rect& dest, const Rect* clip) {
    if (!mw.fore) return;
    RGBForeColor(kBlackColor);
    RGBBackColor(kWhiteColor);
    const Rect& from = mw.fore->pix.bounds;
    if (!mw.mask)
        Pix_To_Port(mw.fore->pix, from, dest, srcCopy, clip);
    else
        Pix_To_Port_Deep(mw.fore->pix, mw.mask->pix, from, mw.mask->pix.bounds, dest, clip);
}
