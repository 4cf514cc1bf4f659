// The small drawing state the renderers and interactive tools share: the clip
// stack of the current port, and offscreen areas (a world plus the region of
// it still to be copied to the window), so a tool step reaches the window as
// one copy.
// Process-wide state: the clip stack, the offscreen stack and the area last
// popped (reads and writes), the current port.
#pragma once
#include "pixels/gworld.h"
#include "platform/region.h"

enum : int { MAX_CLIP_DEPTH = 2, MAX_OFF_DEPTH = 3 };

// Empties the clip stack and opens the current port's clip wide.
void InitClip();
// Save the current port's clip and set a rectangle (a region); two deep.
void PushClip(const Rect& newclip);
void PushClipRgn(const a_region* newclip);
void PopClip();
int Clip_Depth();

// A 32-bit world and the part of it not yet copied to the window. Owns both.
struct a_off_area {
    GWorld* gworld = nullptr;
    a_region* dirty = nullptr;
};

void Off_Init();  // empties the stack and forgets the last area
// A world of gbounds (fatal on failure) with an empty dirty region.
void Off_Open(const Rect& gbounds, a_off_area& area);
void Off_Close(a_off_area& area);
// Make the area's world current (the port is saved); three deep.
void Off_Push(a_off_area& area);
// Restores the port and remembers the area for Off_UpdateDirty.
void Off_Pop();
int Off_Depth();
// Adds to the top area's dirty region, limited to its world's bounds.
void Off_InvalRect(const Rect& dirty);
void Off_InvalRgn(const a_region* dirty);
// Copies the last popped area's dirty part to the current port and empties it.
void Off_UpdateDirty();
// Parts of the last popped area (Off_UpdateRect) or of `off` to the current port.
void Off_UpdateRect(const Rect& src, const Rect& dst);
void Off_UpdateRgn(const a_off_area& off, const Rect& src, const Rect& dst, const a_region* rgn);
// The current port's pixels in bbox into the area's world at the same place.
void Off_Load(a_off_area& off, const Rect& bbox);
