// The coordinate-mapping stack: sheet millimetres to pixels through the top
// mapping. Process-wide and shallow: callers keep within four entries.
// Process-wide state: the stack of mappings (reads and writes).
#pragma once
#include "platform/geometry.h"
#include "templates/expand.h"

enum : int { MAX_MAPPING_DEPTH = 4 };

// Pushing a fifth mapping or popping an empty stack is an internal error.
void Push_Mapping(const a_coord_mapping& mapping);
void Pop_Mapping();
int Mapping_Depth();
// The top mapping; the identity (one pixel per millimetre) when the stack is empty.
const a_coord_mapping& Top_Mapping();

// Through the top mapping, each coordinate rounded half away from zero.
Point Map_FPoint(a_fpoint pt);
Rect Map_FRect(const a_frect& fr);
// Scale only: round(multx × h), round(multy × v).
Point Apply_Mapping_Point(const a_coord_mapping& mapping, Point pt);
Rect Apply_Mapping_Rect(const a_coord_mapping& mapping, const Rect& r);
bool Equal_CMapping(const a_coord_mapping& a, const a_coord_mapping& b);

// Fits `fsource` into `dest` keeping proportions, centred.
void Calc_Fit_Mapping(const a_frect& fsource, const Rect& dest, a_coord_mapping& mapping);
void Push_Fit_Mapping(const a_frect& fsource, const Rect& dest);

// Rounds half away from zero and clamps into the 16-bit pixel range.
int16_t Round_Pixel(double v);
