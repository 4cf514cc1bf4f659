// Unit shapes: the shape of each unit kind, a unit in integer pixels, the
// region of each shape (to mask and clip a unit's picture), the LightScribe
// burn ring, and the sheet rectangle.
// Process-wide state: the current port while it draws.
#pragma once
#include <cstdint>

#include "platform/geometry.h"
#include "platform/port.h"
#include "templates/template.h"

struct a_region;

enum a_shape : uint8_t {
    SHAPE_NOTHING = 0, SHAPE_RECT = 1, SHAPE_ROUNDRECT = 2, SHAPE_CIRCLE = 3, SHAPE_OVAL = 4,
    SHAPE_RING = 5, SHAPE_AUDIOFACE = 6, SHAPE_BOOKLET = 7, SHAPE_MULTIPART = 8,
    SHAPE_SLIMLINE = 9, SHAPE_JEWELBASE = 10, SHAPE_BIZHOCKEY = 11, SHAPE_BIZRECT = 12
};

extern const a_shape UNIT_TO_SHAPE[NUNIT_KINDS];
a_shape Unit_Shape(int kind);  // SHAPE_NOTHING for a kind out of range

// A unit in integer pixels: `ibleed` holds the four bleeds as top, left,
// bottom, right; `imeas` the four measures.
struct a_iunit {
    a_shape shape = SHAPE_NOTHING;
    Rect bbox;
    Rect ibleed;
    int16_t imeas[4] = {};
};

// Through the top mapping of the mapping stack.
void Map_Unit(a_iunit& iunit, const a_unit& xunit);

// Replaces `rgn` with the unit's shape; without `holes` the outline only.
void Calc_Unit_Region(a_region* rgn, const a_iunit& iunit, bool holes);
void Calc_Ring_Region(a_region* rgn, const a_iunit& iunit, bool holes);
void Calc_Audio_Region(a_region* rgn, const a_iunit& iunit, bool holes);
void Calc_BizHockey_Region(a_region* rgn, const a_iunit& iunit, bool holes);
void Calc_BizRect_Region(a_region* rgn, const a_iunit& iunit, bool holes);

// The circle of `diameter` centred on the box (integer halving, as holes are placed).
Rect Centred_Circle_Box(const Rect& box, int diameter);

// The shape of template unit `funit` mapped onto `bounds` (rgn) and the rest
// of `bounds` (not_rgn).
void Calc_Hole_Rgns(a_region* not_rgn, a_region* rgn, const Rect& bounds, const a_unit& funit,
                    bool holes);

// LightScribe coverage settings: 1 title, 2 content, 3 full.
enum : int { DEFAULT_LS_COVERAGE = 3, NLS_COVERAGES = 3 };
// The burn ring of a disc drawn on `bounds` (rgn) and the rest (not_rgn); a
// setting out of range counts as the default.
void Calc_LS_Rgns(a_region* not_rgn, a_region* rgn, const Rect& bounds,
                  int coverage = DEFAULT_LS_COVERAGE);
// Inner and outer diameters (mm) of a coverage setting.
void LS_Coverage_Diameters(int coverage, float& inner, float& outer);

// The cut of each top corner of an audio face: height × 7 ÷ 64.
int Audio_Slant(const Rect& bbox);

bool Has_Outer_Mask(const a_unit& unit);

// The sheet, (0, 0, width, height) in the template's frame.
void Calc_Paper_Rect(a_frect& fbox, const a_template& t);

// The unit as printing places it. Alignment and nudging come with printing;
// until then: with `bleed` the box grows by the bleeds and a disc's hole
// shrinks by the top and bottom bleed; without, the unit as cut, its bleeds 0.
a_unit Calc_Print_Unit(const a_unit& in, bool bleed);

// The feathered disc mask over an 8-bit map (`mask.depth` must be 8) that
// covers the disc grown by its bleeds: `spec` is the disc with its box and
// hole as cut and its four bleeds; feathers are percentages of the mask width.
// False (and nothing written) for a map that is not 8-bit or has no pixels.
[[nodiscard]] bool Calc_Circular_Mask(const a_port_bits& mask, const a_unit& spec, int outer_feather,
                        int inner_feather, uint8_t outer_translucency);
