// The effects pipeline: an effect specification applied to a source picture,
// giving a body and, when the shadow needs one, a separate shadow. Each stage
// takes masked worlds and returns new ones; the VAR output receives
// ownership. With FOR_SIZING only bounds flow through the stages.
// Process-wide state: the current port and the blend weight while it draws (sets and restores
// them).
#pragma once
#include <cstdint>

#include "artdb/keyset.h"
#include "platform/port.h"
#include "model/effect_spec.h"
#include "pixels/gworld.h"

// The whole chain in its fixed order. `in` stays the caller's.
void Apply_Effects(a_cache_purpose purpose, const a_spec& spec, const a_masked_gworld& in,
                   a_masked_gworld& body, a_masked_gworld& shad);
// Crop, scale, flips and (with do_rotation) rotation in one resampling.
void Apply_Basic(a_cache_purpose purpose, const a_spec& spec, bool do_rotation,
                 const a_masked_gworld& in, a_masked_gworld& out);
// The size Apply_Basic gives, after its size guard.
Rect Calc_Basic_Bounds(const a_spec& spec, bool do_rotation, const Rect& src_rect);
// For the screen and print: an opaque picture gets a mask whose outer frame
// is half opaque, so that rotated edges come out soft.
void Rotation_Prep(a_cache_purpose purpose, a_masked_gworld& in);
// Consumes `in`.
void Apply_Rotation(a_cache_purpose purpose, int angle, a_masked_gworld& in, a_masked_gworld& out);
// Rotation by angle (tenths, counter-clockwise) about the centre of src_rect;
// dst_w is new, on the rotated bounding box at (0, 0).
void Rotate_GWorld(int angle, const Rect& src_rect, GWorld* src_w, Rect& dst_rect, GWorld*& dst_w);
// A 32-bit world of symbol_color whose mask is the input's grey coverage.
void Colorize_Symbol(const a_win_pixel32& symbol_color, const a_masked_gworld& in,
                     a_masked_gworld& out);
// Near-white (squared distance to white at most 3 * tolerance^2) becomes clear;
// solid pixels next to clear ones along rows or columns become 80.
void Apply_Knockout(int tolerance, const PixMap& src, PixMap& msk);
void Apply_Knockout_W(int tolerance, GWorld* srcw, GWorld* mskw);
void Apply_Opacity(int opacity, const Rect& bounds, a_masked_gworld& mw);
// Consumes `in`: a masked input gives body and a separate shadow; an opaque
// rectangle gives one world with the shadow painted around it.
void Apply_Shadow(int shad_dx, int shad_dy, int shad_opacity, int shad_radius,
                  const a_win_pixel32& shad_color, a_masked_gworld& in, a_masked_gworld& body,
                  a_masked_gworld& shad);
void Apply_Complex_Shadow(int dx, int dy, int radius, const uint8_t map[256],
                          const a_win_pixel32& color, a_masked_gworld& in, a_masked_gworld& body,
                          a_masked_gworld& shad);
void Apply_Inline_Shadow(int dx, int dy, int radius, const uint8_t map[256],
                         const a_win_pixel32& color, a_masked_gworld& in, a_masked_gworld& body);
// `radius` passes of the (1 2 1) x (1 2 1) / 16 kernel over `subset`.
void Blur_PixMap8(PixMap& pix, const Rect& subset, int radius);

// Gives the masked world an opaque mask when it has none.
void Fill_World_White(GWorld* world, const Rect& bounds);
// The full-width top and bottom strips and the side strips of outer around inner.
void Rects_Around_Rect(const Rect& outer, const Rect& inner, Rect& r1, Rect& r2, Rect& r3,
                       Rect& r4);
// An 8-bit picture expanded to 32 bits through its own colour table.
void Canvas8_To_32(const a_keyset& key, const PixMap& canv8, GWorld*& canv32);
// What a missing picture shows: a grey and white check.
void Fill_Missing_Pattern(GWorld* world);
// Shadow, then body, drawn through their masks onto a new world of `area`
// filled with `paper` (0x00RRGGBB): a rendered block as it would sit on a page.
GWorld* Composite_Result(const a_masked_gworld& body, const a_masked_gworld& shad, const Rect& area,
                         uint32_t paper);
void Swap_MW(a_masked_gworld& a, a_masked_gworld& b);
void Dispose_Masked_World(a_masked_gworld& mw);
