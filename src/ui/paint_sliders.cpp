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
    p.grad_twist = gs.slider_vals[GRAD_TWIST_SLIDER];
    p.grad_rep = gs.slider_vals[GRAD_REP_SLIDER];
    p.stamp_size = gs.slider_vals[STAMP_SIZE_SLIDER];
    p.stamp_rotate = gs.slider_vals[STAMP_ROTATE_SLIDER];
    p.stamp_spacing = gs.slider_vals[STAMP_SPACING_SLIDER];
    p.stamp_darkness = gs.slider_vals[STAMP_DARKNESS_SLIDER];
    p.stamp_colorshift = gs.slider_vals[STAMP_COLORSHIFT_SLIDER];
    p.stamp_skewx = gs.slider_vals[STAMP_SKEWX_SLIDER];
    p.stamp_skewy = gs.slider_vals[STAMP_SKEWY_SLIDER];
    p.stamp_bendx = gs.slider_vals[STAMP_BENDX_SLIDER];
    p.stamp_bendy = gs.slider_vals[STAMP_BENDY_SLIDER];
    p.stamp_stretch = gs.slider_vals[STAMP_STRETCH_SLIDER];
    Paint_Clamp(p);
}
