// What covers the outside of a unit's shape: washed out on screen (the design
// shows faintly through a mask of 225 over the pasteboard grey), pure white in
// print, a feathered edge for discs whose canvas has soft edges.
// Process-wide state: the document g_doc (reads), the current port while the
// mask is made.
#pragma once
#include <cstdint>

#include "pixels/gworld.h"

struct a_doc_unit;

enum : uint8_t { OUTER_SCREEN_VALUE = 225, OUTER_PRINT_VALUE = 255 };

// Whether printing cuts the centre hole out of a disc (a print choice; on by default).
extern bool g_print_holes;

// The unit's kind allows soft edges and its canvas asks for them.
bool Is_Unit_Fuzzed(const a_doc_unit& up, uint32_t ux);
// The outer mask of unit ux over `bounds` (the unit mapped there): both
// outputs disposed first, left null for a unit without one (rectangles).
void Calc_Outer_Mask(bool is_printing, uint32_t ux, const a_doc_unit& up, const Rect& bounds,
                     GWorld*& outer_world, GWorld*& outer_mask);
// Keeps the unit's outer-mask layer current for `targr`.
void Outer_Mask_Check(uint32_t ux, a_doc_unit& up, const Rect& targr);
// Covers `r` of dst with the outer world through its mask.
void Draw_Outer_Mask(GWorld* outer_world, GWorld* outer_mask, GWorld* dst, const Rect& r);
