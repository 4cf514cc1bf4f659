// The drawing port: QuickDraw-style drawing state over pixel memory of our
// own. Drawing is not antialiased and follows the classic pixel rules: a pen
// hangs below and to the right of its path; a rectangle's frame lies inside
// it. Operations draw into the current port; with no current port (the
// screen, which has no pixels of ours) they draw nothing. No toolkit types
// appear here.
// Process-wide state: the current drawing port and its pen, colours and clip (reads and writes).
#pragma once
#include <cstdint>
#include <vector>

#include "platform/geometry.h"

struct a_region;

// The pixels a port draws into. `base` is the top-left pixel of `bounds`;
// depths 1, 8, 16, 24 and 32 with the layouts of our pixel maps. `ctable`
// (entries 0x00RRGGBB) gives the colours of 8-bit indexes; without one, index
// k is grey 255 - k (the table of masks).
struct a_port_bits {
    uint8_t* base = nullptr;
    int32_t rowbytes = 0;
    int16_t depth = 32;
    Rect bounds;
    const uint32_t* ctable = nullptr;
    int nctable = 0;
};

struct a_port;  // one drawing port's state

a_port* Port_New(const a_port_bits& bits);
void Port_Dispose(a_port*& port);
void Port_SetBits(a_port* port, const a_port_bits& bits);  // after the memory moved or resized
const a_port_bits& Port_Bits(const a_port* port);  // port not null
void Port_Set(a_port* port);  // make current; nullptr = the screen
a_port* Port_Get();

// Colours are 0x00RRGGBB.
constexpr uint32_t Port_RGB(uint8_t r, uint8_t g, uint8_t b) {
    return (uint32_t(r) << 16) | (uint32_t(g) << 8) | b;
}
constexpr uint32_t kBlackColor = 0x000000;
constexpr uint32_t kWhiteColor = 0xFFFFFF;

// Pen transfer modes, numbered as the pattern modes of the classic port:
// where the pattern bit is set (clear for the NOT modes) COPY puts the fore
// colour, OR puts the fore colour, XOR inverts, BIC puts the back colour;
// where it is clear COPY puts the back colour and the others leave the pixel.
enum a_pen_mode : int16_t {
    PEN_COPY = 8, PEN_OR, PEN_XOR, PEN_BIC, PEN_NOTCOPY, PEN_NOTOR, PEN_NOTXOR, PEN_NOTBIC
};

// 8 x 8 bits, row 0 first, the most significant bit leftmost; aligned to
// the port's coordinates.
struct a_pattern {
    uint8_t rows[8];
};
constexpr a_pattern kBlackPat{{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}};
constexpr a_pattern kWhitePat{{0, 0, 0, 0, 0, 0, 0, 0}};
constexpr a_pattern kGrayPat{{0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55}};

// Drawing state of the current port.
void RGBForeColor(uint32_t rgb);
void RGBBackColor(uint32_t rgb);
uint32_t GetForeColor();
uint32_t GetBackColor();
void PenSize(int width, int height);
Point GetPenSize();  // h = width, v = height
void PenPat(const a_pattern& pat);
void PenMode(int mode);  // a_pen_mode; 0..7 act as the pattern mode of the same low bits
void PenNormal();        // 1 x 1, solid, PEN_COPY
Point GetPen();

void MoveTo(int h, int v);
void Move(int dh, int dv);
// Both end points are drawn; the pen rectangle hangs below and right of each.
void LineTo(int h, int v);
void Line(int dh, int dv);

void FrameRect(const Rect& r);
void PaintRect(const Rect& r);
void EraseRect(const Rect& r);  // back colour, whatever the pen
void InvertRect(const Rect& r);
void FillRect(const Rect& r, const a_pattern& pat);  // fore/back colours, copy mode

void FrameOval(const Rect& r);
void PaintOval(const Rect& r);
void EraseOval(const Rect& r);
void InvertOval(const Rect& r);
void FillOval(const Rect& r, const a_pattern& pat);

void FrameRoundRect(const Rect& r, int ovalw, int ovalh);
void PaintRoundRect(const Rect& r, int ovalw, int ovalh);
void EraseRoundRect(const Rect& r, int ovalw, int ovalh);
void InvertRoundRect(const Rect& r, int ovalw, int ovalh);
void FillRoundRect(const Rect& r, int ovalw, int ovalh, const a_pattern& pat);

// Arcs of the oval in `r`: angles in degrees, 0 at twelve o'clock, growing
// clockwise; `arc` may be negative.
void FrameArc(const Rect& r, int start, int arc);
void PaintArc(const Rect& r, int start, int arc);
void EraseArc(const Rect& r, int start, int arc);
void InvertArc(const Rect& r, int start, int arc);
void FillArc(const Rect& r, int start, int arc, const a_pattern& pat);

// Polygons: a list of points; framing draws from each point to the next
// (close one by repeating the first point).
struct a_polygon {
    std::vector<Point> pts;
};
void FramePoly(const a_polygon& poly);
void PaintPoly(const a_polygon& poly);
void ErasePoly(const a_polygon& poly);
void InvertPoly(const a_polygon& poly);
void FillPoly(const a_polygon& poly, const a_pattern& pat);

void FrameRgn(const a_region* rgn);  // the inner edge, pen-sized
void PaintRgn(const a_region* rgn);
void EraseRgn(const a_region* rgn);
void InvertRgn(const a_region* rgn);
void FillRgn(const a_region* rgn, const a_pattern& pat);

// Clipping: drawing lands only inside the clip and the port's bounds. A new
// port's clip is wide open.
void SetClip(const a_region* rgn);
void GetClip(a_region* rgn);
void ClipRect(const Rect& r);
void ClipWideOpen();

// Text drawing (fonts, strings, rotated text) joins the port with the text
// module; its state will live beside the pen's.
