// Canvas backgrounds: plain white, a solid colour, or an art-database picture
// chosen for the unit's shape class (with fallbacks to pictures made for
// other shapes), cut and scaled into the unit, with a per-unit cache of the
// rendered picture.
// Process-wide state: the document g_doc and the interface record gs (reads); installs the canvas
// services of the document; the effects cache.
#pragma once
#include <cstdint>

#include "artdb/keyset.h"
#include "platform/geometry.h"
#include "model/canvas_spec.h"
#include "pixels/gworld.h"

struct a_cached_canvas;
struct a_doc_unit;

enum : int16_t {
    CANVAS_CATEGORY = 2,       // palette entries and thumbnails (2, class, c, d)
    CANVAS_FULL_CATEGORY = 1,  // full-size pictures (1, class, c, d)
    NCANV_CLASSES = 7,
    CANV_CLASS_NONE = 6,  // shapes without canvas pictures
};

// The control defaults Init_CV uses (those of the canvas sliders).
enum : int16_t {
    CANV_DARKNESS_DEFAULT = 50,
    CANV_FUZZ_IN_DEFAULT = 0,
    CANV_FUZZ_OUT_DEFAULT = 0,
    CANV_SAT_DEFAULT = 50,
    CANV_HUE_DEFAULT = 0,
    CANV_DIST_DEFAULT = 0,
};

// The canvas class (key component b) of each unit kind.
int16_t UNIT_TO_CANV_PREFIX(int kind);
// The natural picture size of a class; 0 x 0 for class 6.
Point Canvas_Natural_Size(int canv_class);

// Cleared, with the adjustments at their controls' defaults.
void Init_CV(a_canvas_spec& cv);
// What a new unit of `kind` starts with: the white canvas of its class.
void Default_Canvas(int kind, a_canvas_spec& cv);
bool Is_CanvKey_White(const a_keyset& key);
bool Is_Canvas_Uncolored(const a_canvas_spec& cv);
bool Is_No_Canvas(const a_canvas_spec& cv);
// 1-based position of key among the class's palette entries; 1 when absent.
int Key_To_CanvX(const a_keyset& key, int canv_class);
void CanvX_To_Key(a_keyset& key, int index, int canv_class);
int Canvas_Count(int canv_class);
// The full-size picture for a canvas, falling back across classes
// (0 -> 1 -> 2 -> 5 -> 3, 4 -> 3); true for white, which needs none.
[[nodiscard]] bool Find_Full_Canvas(a_keyset& full, const a_keyset& key);

// The picture of `cv` for a unit of `kind`, cover-fitted (or cut at the
// natural size of a borrowed class's picture) onto r of dst; white when the
// art database has no picture for it.
void Render_Picture_Canvas(GWorld* dst, const Rect& r, const a_canvas_spec& cv, int kind);
void Render_Solid_Canvas(GWorld* dst, const Rect& r, const a_canvas_spec& cv);
// The colour a white-keyed canvas paints (0x00RRGGBB).
uint32_t Solid_Canvas_Color(const a_canvas_spec& cv);
// Draws the unit's canvas: onto all of dst with `absolute`, else onto the
// unit's cell rectangle `bounds` mapped through the top mapping; only within
// `clip` (dst pixels) when given. With `use_cache` a picture canvas is kept
// in canv.cached_world at the size it is drawn and reused while that size and
// the canvas description stay the same.
void Render_Canvas(const Rect& bounds, GWorld* dst, a_cached_canvas& canv, int kind, bool use_cache,
                   bool absolute, const Rect* clip = nullptr);
// A canvas whose picture is missing becomes the first of its class, with
// alert 19; false when it had to be repaired.
[[nodiscard]] bool Canvas_Verify(a_doc_unit& unit, int kind);
// One palette cell: the thumbnail of entry `index` of the class, centred.
void Canvas_DrawElement(GWorld* dst, const Rect& cell, int index, int canv_class);

// Installs the document's canvas hooks.
void Canvas_Init();
void Canvas_Stop();
