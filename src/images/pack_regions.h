// The shapes of a collage: the pack settings (`a_pack_spec`) copied from the
// pack controls, the composite's size, and each slot's region, centre and the
// turn the layout gives its photo, for the grid, one ring, two rings, the
// square and the lotus.
// Process-wide state: none.
#pragma once
#include <cstdint>
#include <string>

#include "platform/geometry.h"
#include "platform/region.h"

enum a_pack_kind : uint8_t {
    PACK_GRID = 0,
    PACK_CLOCK1 = 1,   // one ring
    PACK_CLOCK2 = 2,   // two rings
    PACK_CLOCKSQ = 3,  // the ring's slots on a square
    PACK_LOTUS = 4,
};
constexpr int PACK_NKINDS = 5;

#pragma pack(push, 1)
struct a_pack_spec {
    uint16_t version = 1;
    uint8_t packkind = PACK_CLOCK1;  // a_pack_kind
    uint8_t pad = 0;
    uint16_t orient = 0;  // 0: photos follow the ring; otherwise upright
    int16_t clock_nouter = 6;
    int16_t clock_ninner = 4;
    int16_t clock_totangle = 360;  // degrees
    int16_t clock_start = 0;       // degrees
    int16_t clock_spacing = 3;
    int16_t clock_thickness = 50;  // percent of the outer radius
    int16_t clock_outerd = 95;     // percent
    int16_t grid_nx = 6;
    int16_t grid_ny = 6;
    int16_t grid_spacing = 3;  // percent of a cell
    int16_t grid_corner = 0;   // percent of the cell
    int16_t lotus_n = 6;
    int16_t outline = 0;
    bool operator==(const a_pack_spec&) const = default;
};
#pragma pack(pop)
static_assert(sizeof(a_pack_spec) == 32);

constexpr int PACK_MAX_SLOTS = 144;
constexpr int FIRST_SLOT = 10000;  // slot numbers run 10000 .. 10143

struct a_slot {
    int16_t slot_base_angle = 0;   // tenths of a degree: the layout's turn
    int16_t slot_extra_angle = 0;  // tenths of a degree: the user's own turn
    a_region_ptr slot_rgn = Make_Region();
    Point slot_rgn_center;
    bool slot_dirty = false;
};

// The pack settings' numeric fields by name, with their controls' ranges, for the
// design files and the command line.
struct a_pack_field {
    const char* name;
    int16_t a_pack_spec::*field;
    int16_t lo, hi;
};
extern const a_pack_field PACK_FIELDS[];
extern const int PACK_NFIELDS;
const a_pack_field* Find_Pack_Field(const std::string& name);
// "grid", "ring", "ring2", "square", "lotus": the kind, or -1.
int Find_Pack_Kind(const std::string& name);
const char* Pack_Kind_Name(int kind);

// Every field within its control's range (hand-made settings from a design
// file or the command line goes through this before any region is built).
void Clamp_Pack_Spec(a_pack_spec& spec);
// The composite: square cells for the grid (1200 on the longer side), else
// 1200 x 1200 with the ring centre at (600, 600).
Rect Calc_Composite_Bounds(const a_pack_spec& spec);
// How many slots the kind lays out.
int Pack_Slot_Count(const a_pack_spec& spec);

struct a_clock_radii {
    double outer = 0;  // R
    double inner = 0;  // r, at least 30
    double gap = 0;    // g: arc length between slots, pixels
};
a_clock_radii Calc_Clock_Radii(const a_pack_spec& spec);

// The program's integer sine and cosine, scaled by 16384, of tenths of a degree.
int Sin16384(int tenths);
int Cos16384(int tenths);
// The point at radius r and angle `tenths` (anticlockwise from the right).
Point Cyl_To_XY(Point centre, double r, int tenths);

// One ring of n slots between r_in and r_out into slots[first ..]; returns
// the slot after the last.
int Calc_Clock_Regions(const a_pack_spec& spec, int n, double r_in, double r_out, a_slot* slots,
                       int first);
int Calc_Grid_Regions(const a_pack_spec& spec, a_slot* slots, int first);
int Calc_Square_Regions(const a_pack_spec& spec, a_slot* slots, int first);
int Calc_Lotus_Regions(const a_pack_spec& spec, a_slot* slots, int first);
// All the kind's regions into slots[0 ..]; the rest are emptied. Returns the
// count laid out.
int Pack_Rebuild_Regions(const a_pack_spec& spec, a_slot* slots);

// Wraps into -1800 .. 1800.
void Normalize_180(int16_t& angle);
