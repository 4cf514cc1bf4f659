// Characters drawn as grey coverage into 32-bit pixels of our own, each
// turned about its baseline origin, and their advances. Characters the
// named family lacks come from the platform's font fallback; a character is
// one or two UTF-16 units (a surrogate pair draws as one glyph). No toolkit
// types appear here.
// Process-wide state: none of ours (the toolkit's font caches).
#pragma once
#include <cstdint>
#include <string>

#include "platform/port.h"

struct a_glyph {
    char16_t units[2] = {0, 0};
    int nunits = 1;         // 1, or 2 for a surrogate pair
    std::u16string family;  // a missing family falls back to the platform's choice
    int pixel_size = 12;    // the em height in pixels
    bool bold = false;
    bool italic = false;
    int x = 0;              // baseline origin, in the coordinates of the pixels' bounds
    int y = 0;
    int angle = 0;          // tenths of a degree, counter-clockwise on screen
    // The letter's own shape before it is turned: widths and heights times
    // hscale and vscale, leaning right by hskew of its height and rising by
    // vskew of its width.
    float hscale = 1, vscale = 1, hskew = 0, vskew = 0;
};

// The text one glyph stands for: a well-formed pair, one unit that is not a
// surrogate, or U+FFFD for a lone or broken surrogate.
std::u16string Glyph_Text(const a_glyph& g);

// Draws into 32-bit B,G,R,A pixels over a black ground: every channel of a
// covered pixel becomes grey × coverage / 255 (antialiased, no subpixel
// colour), where glyphs overlap the greater value stays. Pixels outside
// `bits.bounds` are never touched.
void Glyphs_Draw(const a_port_bits& bits, const a_glyph* glyphs, int count, uint8_t grey);

// A box holding every pixel Glyphs_Draw may touch for the glyph, turned as
// drawn, in the coordinates of its origin (x, y); cut to the 16-bit plane.
Rect Glyph_Box(const a_glyph& g);

// The advance of the glyph along its baseline in pixels (unturned).
double Glyph_Advance(const a_glyph& g);

// Ends the drawing's idle helper threads (the toolkit's shared pool, which
// glyphs and large fills are handed to) and waits until each has left the
// process. A process forked afterwards keeps none of them and would wait on
// them for ever; it starts its own instead.
void Drawing_Threads_Release();
