// The drawing port: QuickDraw-style drawing state over pixel memory of our
// own. Drawing is not antialiased and follows the classic pixel rules: a pen
// hangs below and to the right of its path; a rectangle's frame lies inside it.
// No toolkit types appear here.
#pragma once
#include <cstdint>

#include "platform/geometry.h"

struct a_region;

// The pixels a port draws into. `base` is the top-left pixel of `bounds`;
// `ctable` (entries 0x00RRGGBB) is used for 8-bit and 1-bit bits.
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
const a_port_bits& Port_Bits(const a_port* port);
void Port_Set(a_port* port);  // make current; nullptr = the screen
a_port* Port_Get();
