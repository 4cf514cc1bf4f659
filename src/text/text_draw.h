// Drawing laid-out text: placed characters drawn as grey coverage, turned
// into letters with outline and glow, and their shadow; the selection
// highlight behind edited characters and a block's frame outline.
// Process-wide state: the current port (drawing sets and restores it) and
// the distance map kept between renders (rendering runs on one thread).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "pixels/gworld.h"
#include "templates/expand.h"
#include "text/glow.h"
#include "text/text_shadow.h"

// One character where layout put it, in the unit's pixels.
struct a_placed_char {
    char16_t units[2] = {0, 0};
    uint8_t nunits = 1;     // 2 for a surrogate pair: one character
    uint32_t fontx = 0;     // font number; 0 or unknown: `family`, then the base font
    std::u16string family;
    float size = 12;        // unrounded pixel size
    bool bold = false;
    bool italic = false;
    int16_t x = 0;          // baseline origin
    int16_t y = 0;
    int16_t t = 0;          // tenths of a degree, counter-clockwise on screen
    int16_t width = 0;      // advance along the line
    bool drawn = true;      // false for spaces, breaks and overflowing characters
    a_win_pixel32 color;    // alpha 0: the block's colour
    float hscale = 1, vscale = 1, hskew = 0, vskew = 0;  // stretch and slant (a_glyph)
};

// A block's look: letters, outline, glow and shadow. Radii and offsets in
// unit pixels, opacities in percent.
struct a_text_look {
    a_win_pixel32 base_color;
    int opacity = 100;
    bool outlf = false;
    a_win_pixel32 outl_color;
    int outl_radius = 2;
    bool glowf = false;
    a_win_pixel32 glow_color;
    int glow_radius = 8;
    int glow_opacity = 90;
    bool shadf = false;
    a_shadow_look shad;
};

// Size ×= multy (rounded), x and y scaled by multx and multy and rounded.
void Apply_Mapping_To_Char(a_placed_char& c, const a_coord_mapping& mapping);

// The letters (outline and glow included) into `text` and, with a shadow,
// the shadow into `shad`; each masked world's bounds are its used box, and
// either stays empty (no fore) when nothing shows. `bbox` is the block's
// box in unit pixels; output pixels are unit pixels scaled by the mapping.
// An area no world can hold renders nothing.
void Render_Placed_Text(const std::vector<a_placed_char>& chars, const Rect& bbox,
                        const a_text_look& look, const a_coord_mapping& mapping,
                        a_masked_gworld& text, a_masked_gworld& shad);

// Renders as above and draws shadow, then letters, through their masks into
// `dest` (a 32-bit world in output pixels).
void Render_Placed_Text_Onto(const std::vector<a_placed_char>& chars, const Rect& bbox,
                             const a_text_look& look, const a_coord_mapping& mapping,
                             GWorld* dest);

// The highlight behind characters sel_start .. sel_end - 1 into `world`:
// each a box on its baseline from 85 % of its size above to 30 % below,
// widened by 15 % of the size toward selected neighbours, turned by its
// angle about its origin, in RGB (255, 80, 80).
void Draw_Selected_Range(GWorld* world, const std::vector<a_placed_char>& chars, int sel_start,
                         int sel_end, const a_coord_mapping& mapping);

// A block's frame outline (unit pixels) into the current port, 2 pixels
// wide, solid when visible and dashed otherwise: green, red when
// highlighted, amber for the block being edited.
void OM_Draw_Frame(const std::vector<Point>& frame, const a_coord_mapping& mapping, bool hilite,
                   bool visible, bool editing);

// One overflow mark centred on `centre` (output pixels) in the current port:
// a disc 16 pixels across in RGB (229, 112, 8), framed with a one-pixel black
// pen, and a black plus whose bars are 60 % by 20 % of the disc.
enum : int { OVERFLOW_MARK_SIZE = 16 };
void Draw_Overflow_Mark(Point centre);

// The layer list's thumbnail of a text block: the word "TEXT" in black,
// centred in `r` of `world` (its own coordinates), as large as fits.
void Draw_Text_Thumbnail(GWorld* world, const Rect& r);
