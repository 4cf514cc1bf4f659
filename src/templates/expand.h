// Expansion of a catalogue record into units in millimetres, the pixel size
// of each unit's design surface, and the sheet-to-pixel mapping.
// Process-wide state: none.
#pragma once
#include "templates/template.h"

struct a_coord_mapping {
    float fdecx = 0;  // sheet x (mm) at the unit's left pixel edge
    float fdecy = 0;
    float multx = 1;  // pixels per millimetre across
    float multy = 1;
    float originx = 0;  // pixel x of the bounds' left edge
    float originy = 0;
    Rect netbox;
};

enum a_direct_print_kind : uint8_t {
    NOT_DIRECT = 0,
    CD_DIRECT = 1,
    MINICD_DIRECT = 2,
    HOCKEY_DIRECT = 3,
    RECT_DIRECT = 4
};

enum : int { BOUNDS_UNIT_CD = 1200 };

void Expand_Template(a_ctemplate ctemplate, a_template& xtemplate);
float Make_Nice_Number(float in);
void Calc_Unit_Bounds(const a_unit& spec, Rect& bounds);
void Calc_Unit_Mapping(const a_unit& spec, const Rect& bounds, a_coord_mapping& mapping);
a_direct_print_kind Calc_Direct_Print_KindT(const a_template& doc_template);
