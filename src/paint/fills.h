// Laying a coverage map on the paint layer: the fill gives each cell its
// colour (a colour, the pattern tile, the gradient, the stamp tiled) and the
// coverage times the opacity its weight; the eraser clears the mask instead.
// Process-wide state: none (the parameters come as arguments).
#pragma once
#include <cstdint>
#include <vector>

#include "paint/paint_state.h"
#include "paint/raster.h"

// The gradient's colour at t in 0 .. 1 across its bands.
uint32_t Grad_Color(const a_grad_rec& g, double t);
// Where in 0 .. 1 the gradient of `p` puts the cell (x, y) of an area `area`
// (its centre is the gradient's centre unless that is set).
double Grad_Position(const a_grad_rec& g, const a_paint_state& p, const Rect& area, int x, int y);
// The same with what does not change from cell to cell worked out once.
struct a_grad_ctx {
    const a_grad_rec* g = nullptr;
    Rect area;
    double cx = 0, cy = 0, w = 1, h = 1, half = 1, ang = 0, ca = 1, sa = 0, twist = 0;
    int rep = 1;
    // The gradient's colours at GRAD_STEPS + 1 even steps of its run: a fill
    // looks a colour up per cell instead of mixing the bands each time.
    static constexpr int GRAD_STEPS = 4096;
    std::vector<uint32_t> colours;
    uint32_t Colour(double t) const { return colours[size_t(t * GRAD_STEPS + 0.5)]; }
};
// `colours`: the colour table too (a fill), not only the geometry.
a_grad_ctx Grad_Setup(const a_grad_rec& g, const a_paint_state& p, const Rect& area, bool colours = true);
double Grad_Position(const a_grad_ctx& c, int x, int y);

// The colour of cell (x, y) under the fill; false where the fill leaves it
// (a stamp tile's transparent cells, cells off the border's band). `alpha` is
// its own coverage 0 .. 255.
bool Fill_Color(const a_paint_state& p, int fill_kind, const Rect& area, int x, int y,
                uint32_t& rgb, uint8_t& alpha, const a_grad_ctx* grad = nullptr);

// Lays c on world (32-bit) and mask (8-bit), both on the same bounds. The
// eraser fill clears the mask by the coverage; every other fill paints
// "over": the mask grows and the colour mixes in by coverage × opacity.
void Apply_Coverage(const a_coverage& c, const a_paint_state& p, int fill_kind, const Rect& area,
                    GWorld& world, GWorld& mask);
