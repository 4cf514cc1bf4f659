// The paths text is laid along: straight segments and point paths sampled
// every 10 pixels (spiral, spokes), rows of a disc (contour), the path cache
// keyed by its spec bytes, and the selection outlines built from them.
// Process-wide state: none.
#pragma once
#include "model/text_rec.h"

bool Is_Equal_Path_Spec(const a_generic_path_spec& a, const a_generic_path_spec& b);
// Regenerates the block's paths unless `spec` equals the stored one.
void Gen_Path(a_path_cache& pc, const a_generic_path_spec& spec);

void Calc_Spiral_Path(a_path_cache& pc, const a_spiral_spec& s);
void Calc_Spoke_Path(a_path_cache& pc, const a_spoke_spec& s);
void Calc_Contour_Path(a_path_cache& pc, const a_contour_spec& s);

// Length of path px (1-based): `avail` of a segment, lastn * 10 of a point path.
float Path_Max_Along(const a_path_cache& pc, uint32_t px);
// The point at distance `targ` along path px and the character angle there,
// tenths of a degree.
void Find_On_Path(const a_path_cache& pc, uint32_t px, int targ, int& ix, int& iy, int& it);

int Validate_Contour_Anchor(int centerv, int radius, int anchorv);

// Frames -----------------------------------------------------------------

void Frame_Clear(a_om_pointlist& f);
void Frame_Add(a_om_pointlist& f, float x, float y);
void Frame_Break(a_om_pointlist& f);
// A rectangle along direction (cos, sin) from two baseline starts, `length`
// long, each side pushed out by its padding + 4.
void Calc_Rect_Frame(a_om_pointlist& f, a_fpoint first, a_fpoint last, float length, float cs,
                     float sn, float north, float south, float east, float west);
// One closed polygon per point path around its steps up to limit/10 (all
// when limit is 0): descent below the baseline, ascent above.
void Path_To_Frame(const a_path_cache& pc, a_om_pointlist& f, int limit, int ascent, int descent);
// The disc outline of contour text cut off above the anchor.
void Calc_Frame_Contour(a_om_pointlist& f, Point center, int radius, int anchor_v, bool fast);
// Bounds of the frame's points; the empty rectangle when it has none.
Rect Frame_Bounds(const a_om_pointlist& f);
// Whether `pt` lies inside one of the frame's polygons (even-odd).
bool Frame_Contains(const a_om_pointlist& f, Point pt);
