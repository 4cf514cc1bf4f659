#include "ui/paint_sliders.h"

#include "paint/paint_state.h"
#include "ui/interface.h"
#include "ui/sliders.h"

void Paint_Sync_Sliders() {
    a_paint_state& p = g_paint;
    p.opacity = gs.slider_vals[PAINT_OPACITY_SLIDER];
    p.brush_spacing = gs.slider_vals[BRUSH_SPACING_SLIDER];
    p.line_thickness = gs.slider_vals[LINE_THICKNESS_SLIDER];
    p.corner = gs.slider_vals[PAINT_CORNER_SLIDER];
    p.spray_radius = gs.slider_vals[SPRAY_RADIUS_SLIDER];
    p.grad_angle = gs.slider_vals[GRAD_ANGLE_SLIDER];
    p.symmetry_count = gs.slider_vals[SYMMETRY_COUNT_SLIDER];
    Paint_Clamp(p);
}
