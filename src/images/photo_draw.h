// Drawing photo and symbol blocks: the rendered block from the effects cache
// onto a unit's world (shadow first, then body), the missing-picture pattern
// for a block whose source has gone, and the block's frame with its handles.
// Process-wide state: the effects cache (reads and writes), the current port and the blend weight
// while drawing (set and restored).
#pragma once
#include "model/photo_rec.h"
#include "templates/expand.h"
#include "pixels/gworld.h"

// Draws block `ph` into `dest` (unit coordinates), within `clip` when it is
// not empty. Print shows nothing for a missing picture; the screen shows the
// missing pattern over its box.
void PH_Draw(a_ph_rec& ph, const Rect& clip, GWorld* dest, bool for_print);
// The same through `m` (cells to the pixels of `dest`); `clip` in those pixels.
void PH_Draw_Mapped(a_ph_rec& ph, GWorld* dest, const Rect& clip, const a_coord_mapping& m,
                    bool for_print);
// One masked world onto `dest` at `dest_rect`: a copy (or a blend at the
// block's opacity) without a mask, the deep-mask copy with one.
void Draw_Photo_Component(const a_ph_rec& ph, const a_masked_gworld& src, const Rect& dest_rect,
                          const Rect& clipr, GWorld* dest);
// The block's frame as shown at `frame` (already mapped into the view):
// dashed when hidden, red when highlighted, else green; a highlighted single
// selection shows its corner handles while it is not rotated.
void PH_Draw_Frame(GWorld* dest, const Rect& frame, bool visible, bool hilite, bool single,
                   const a_ph_rec& ph);

// Installs PH_Draw_Mapped as the compositor's photo and symbol drawing.
void Photo_Draw_Init();
void Photo_Draw_Stop();
