// The settable fields of a text block by name, with the ranges its sliders
// allow, and the layouts by name: one table for every reader of block
// descriptions (the design description, the command line).
// Process-wide state: none.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "model/text_rec.h"
#include "text/text_metrics.h"

enum a_text_field_kind : uint8_t { FIELD_INT, FIELD_BOOL, FIELD_COLOR, FIELD_JUSTIFY };

struct a_text_field {
    const char* name;  // as the member of a_om_rec
    a_text_field_kind kind;
    int lo = 0, hi = 0;  // FIELD_INT and FIELD_JUSTIFY
    int16_t a_om_rec::*i = nullptr;
    bool a_om_rec::*b = nullptr;
    a_win_pixel32 a_om_rec::*c = nullptr;
};

// nullptr for a name that is no field.
const a_text_field* Find_Text_Field(std::string_view name);
const a_text_field* Text_Fields(int& count);

// "horz", "90", "circ-cw", ...; -1 for an unknown name.
int Find_Text_Layout(std::string_view name);
const char* Text_Layout_Name(int layout);
// "horz|90|270|..." for messages.
std::string Text_Layout_Names();

// "#RRGGBB" into a colour; false when malformed.
bool Parse_Text_Color(std::string_view s, a_win_pixel32& c);

// A new block's layout and size on unit u, with that layout's usual line
// angle and justification, at the unit's default place.
void OM_Start_Layout(a_om_rec& om, const a_text_unit& u, int layout, int size);
