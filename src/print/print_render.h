// A unit's picture for print, and the one-entry cache of it that a page,
// an export and a raster file share: the rendered master, turned and
// mirrored by its flags.
// Process-wide state: the document g_doc (reads), the unit cache (reads and writes), the current
// port while a unit is drawn.
#pragma once
#include <cstdint>

#include "pixels/gworld.h"

struct a_region;

// Every place a unit is rendered for print passes here: the compositor's
// print picture (canvas, every visible block, white outside the shape) on a
// 32-bit world of the unit's design bounds, or of the same shape grown to
// the unit's printed size at `dpi` when that has more dots (a disc's 1200
// design pixels are about 260 per inch on paper). `dpi` 0: design bounds.
enum : int { kMaxPrintScale = 4 };
Rect Print_Unit_Bounds(uint32_t ux, int dpi);
a_gworld_ptr Print_Render_Unit(uint32_t ux, int dpi);

// In place, on 32-bit worlds.
void World_Rotate_180(GWorld* w);
void World_FlipX(GWorld* w);
void World_FlipY(GWorld* w);
// The 180° turn, then left-right, then top-bottom, by the unit flags.
void Apply_Unit_Flips(GWorld* w, uint32_t uflags);

// The cache holds master `ux` rendered (at `dpi`, as above) and flipped;
// replaced by another.
void UnitCache_Init(uint32_t ux, int dpi = 0);
void UnitCache_Stop();
uint32_t UnitCache_Unit();      // 0 when empty
uint64_t UnitCache_Generation();  // a new number for every picture the cache renders
GWorld* UnitCache_World();      // nullptr when empty

// No clip (empty region) unless the unit clobbers its neighbours: then the
// ellipse inscribed in `destbox`, built on a 640 × 640 square and scaled.
void Calc_Unit_Clipping(a_region* rgn, const Rect& destbox, uint32_t ux);
