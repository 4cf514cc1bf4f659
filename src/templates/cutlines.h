// Cut lines and the grid overlay drawn over a unit's design, and the centre
// cross of discs.
// Process-wide state: the current port while it draws.
#pragma once
#include <cstdint>

#include "platform/geometry.h"
#include "platform/port.h"
#include "templates/template.h"

constexpr uint32_t kDefaultCutlinesColor = Port_RGB(255, 0, 0);
constexpr uint32_t kDefaultGridlinesColor = Port_RGB(30, 30, 220);

// Where the label edge falls inside the artwork: the unit placed for printing
// with its bleed is mapped onto `shown` (the design surface as shown) and
// its outline without the bleed is drawn dashed in `color`.
void Draw_CutLines(const a_unit& unit, const Rect& shown, uint32_t color);
// The same through the mapping already pushed.
void Draw_Cutlines2(const a_unit& unit, uint32_t color);

// The grid settings (from the grid sliders and the colour preference).
struct a_grid_spec {
    Point origin;           // the unit's ruler origin, design pixels
    int horz = 10;          // horizontal divisions: lines every width ÷ (2 × horz)
    int vert = 10;          // vertical divisions
    int dash = 10;          // dash length; solid at dash_max
    int dash_max = 10;
    int opacity = 30;       // percent, for grids drawn into masks
    uint32_t color = kDefaultGridlinesColor;
};

// Each of red, green and blue lowered by 20, not below 0.
uint32_t Calc_Darker_Color(uint32_t rgb);
// The grid over `bounds` (design pixels); into a mask (8-bit, grey table)
// the lines carry the opacity as their grey level.
void Draw_Grid_Lines(bool is_mask, const Rect& bounds, const a_grid_spec& grid);
