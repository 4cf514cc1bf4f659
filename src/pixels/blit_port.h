// Blits with worlds and the current port (a world or a window) as source or
// destination; for a world they reduce to the pixel-map forms on its pixels.
// A world argument of nullptr stands for the current port.
// Process-wide state: the current port (reads), the blend weight (reads).
#pragma once
#include <cstdint>

#include "platform/geometry.h"
#include "pixels/blit.h"
#include "pixels/gworld.h"

// The current port's pixels as a map; false when it has none (the screen).
[[nodiscard]] bool Current_Port_PixMap(PixMap& pm);
// A window's (any port's) pixels as a map; false when it has none.
[[nodiscard]] bool Port_PixMap(a_port* port, PixMap& pm);

// The same with the current port as source or destination. A world's port
// reduces to its pixel map; for a window the window's bits are used.
void Pix_To_Port(const PixMap& src, const Rect& src_rect, const Rect& dst_rect, int mode,
                 const Rect* clip);
void Port_To_Pix(PixMap& dst, const Rect& src_rect, const Rect& dst_rect, int mode,
                 const Rect* clip);
void Port_To_Port(GWorld* src, GWorld* dst, const Rect& src_rect, const Rect& dst_rect, int mode,
                  const Rect* clip);
void Pix_To_PortM(const PixMap& src, const PixMap& mask, const Rect& src_rect,
                  const Rect& mask_rect, const Rect& dst_rect, const Rect* clip);
void Port_To_PixM(const PixMap& mask, PixMap& dst, const Rect& src_rect, const Rect& mask_rect,
                  const Rect& dst_rect);
void Port_To_PortM(GWorld* src, GWorld* mask, GWorld* dst, const Rect& src_rect,
                   const Rect& mask_rect, const Rect& dst_rect);
// 8-bit mask onto the current port (deep-mask copy).
void Pix_To_Port_Deep(const PixMap& src, const PixMap& mask, const Rect& src_rect,
                      const Rect& mask_rect, const Rect& dst_rect, const Rect* clip);
void Port_To_Port_Deep(GWorld* src, GWorld* mask, GWorld* dst, const Rect& src_rect,
                       const Rect& mask_rect, const Rect& dst_rect, const Rect* clip);

// Windows are ports of their own (the window's backing pixels).
void Win_To_Win(a_port* src_win, a_port* dst_win, const Rect& src_rect, const Rect& dst_rect,
                int mode, const Rect* clip);
void Pix_To_Win(const PixMap& src, a_port* win, const Rect& src_rect, const Rect& dst_rect, int mode,
                const Rect* clip);
void Pix_To_WinM(const PixMap& src, const PixMap& mask, a_port* win, const Rect& src_rect,
                 const Rect& mask_rect, const Rect& dst_rect, const Rect* clip);

// `src_pix` blended at `opacity` percent over the current port, inside
// `src_mask` only.
void CopyMask_Blend(int opacity, const PixMap& src_pix, const PixMap& src_mask,
                    const Rect& dst_bounds, const Rect* clip);

enum a_channel : uint8_t { B_CHANNEL = 0, G_CHANNEL = 1, R_CHANNEL = 2, A_CHANNEL = 3 };
// One byte of each 32-bit pixel in `box` into the 8-bit dst at the same
// place; `used` is the bounding box of the non-zero values, or all zero.
void Extract_Channel(a_channel channel, const GWorld* src_world, GWorld* dst_world, const Rect& box,
                     Rect& used);

// Keep an area of the current port (a window) in a new world, and put it
// back (the world is disposed).
void Save_Screen(const Rect& area, GWorld*& saved);
void Restore_Screen(GWorld*& saved, const Rect& area);

// Draws mw into the current port from fore's bounds onto dest: a plain copy
// without a mask, the deep-mask copy with one. `clip` nullptr: no clip.
void Draw_Cached_MWorld(const a_masked_gworld& mw, const Rect& dest, const Rect* clip);
