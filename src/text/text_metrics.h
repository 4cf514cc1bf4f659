// Sizes of text on a unit: points to pixels, radius percent to pixels, the
// pixel size of one character, a character resolved to its effective font,
// and the block's ascent, descent and line spacing.
// Process-wide state: the stack of points-to-pixels factors (reads and writes).
#pragma once
#include "render/compositor.h"  // Push_TextSize_Mapping, Pop_TextSize_Mapping
#include "model/text_rec.h"
#include "platform/fonts.h"
#include "templates/template.h"

// The unit a block is laid out on: its pixel area and its height in millimetres.
struct a_text_unit {
    Rect bounds;
    float px_per_pt = 1;  // pixels per point on this unit
    uint8_t kind = 0;     // a_unit_kind
    // A round unit (a disc) centred on bounds: its diameter and its hole's in
    // pixels; both 0 for other shapes.
    int16_t disc = 0, hole = 0;
};
// The current unit of the document (a 1200-pixel, 120 mm disc without one).
a_text_unit Curr_Text_Unit();
// The unit `ux` of the open document.
a_text_unit Doc_Text_Unit(uint32_t ux);
// A unit of an expanded template on `bounds`.
a_text_unit Text_Unit_Of(const a_unit& spec, const Rect& bounds);

// Points to pixels by the compositor's text-size mapping (1 when none is
// pushed).
float Points_To_PixelsR(float points);
int Points_To_Pixels(float points);

int Radius_To_Pixels(const a_text_unit& u, int percent);
int Pixels_To_Radius(const a_text_unit& u, int pixels);
inline int Calc_Contour_Radius(const a_text_unit& u) { return Radius_To_Pixels(u, 100); }

// Pixel size of a character of `pointsize` with a size override in percent
// (0 and 100: none), at least 2 pixels and at most the layout's largest size.
float Calc_Text_Size(float pointsize, int override, int layout);
// The character at `pos` with its effective font.
a_net_char Calc_Net_Char(const a_om_rec& om, int pos);
// The null spec with the block's font, pixel size, bold and italic.
a_fontspec Calc_Base_Font(const a_om_rec& om);
a_font_key Font_Key(const a_fontspec& spec, float pixels);
void Calc_AscentDescent(const a_om_rec& om, int& ascent, int& descent);
int Calc_VSpacing(const a_om_rec& om);

// UTF-16 pairs: a high surrogate followed by a low one is one character.
inline bool Is_High_Surrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
inline bool Is_Low_Surrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }
// The entry at `pos` is the second half of a pair whose first half precedes it.
bool Is_Pair_Trail(const a_om_rec& om, int pos);
// The block's stretch and slant as drawn: widths and heights grow by
// stretch_h and stretch_v percent, letters lean by skew_h and rise by skew_v
// hundredths of their size.
void Text_Shape(const a_om_rec& om, float& hscale, float& vscale, float& hskew, float& vskew);
