#include "paint/paint_state.h"

#include <algorithm>
#include <cctype>

#include "base/messages.h"

a_paint_state g_paint;

// ring, dropper, symmetry, paints, from_corner, from_center, single_point, key
const a_tool_desc g_tool_desc[NPAINT_TOOLS] = {
    {1, true, true, true, false, false, true, 'B'},    // brush
    {2, false, true, true, false, false, true, 'E'},   // eraser
    {1, true, true, true, false, false, true, 'J'},    // spray
    {1, true, true, true, false, false, false, 'P'},   // solid polygon
    {1, true, true, true, true, true, false, 'O'},     // solid oval
    {1, true, true, true, true, false, false, 'A'},    // solid arc
    {1, true, true, true, true, true, false, 'U'},     // solid rectangle
    {0, false, false, false, false, false, false, 'H'},  // grabber
    {3, true, true, true, false, false, true, 'S'},    // stamp
    {4, false, false, true, true, false, false, 'M'},  // copy / move
    {1, true, false, true, false, false, true, 'G'},   // bucket: one region, filled once
    {1, true, true, true, true, false, false, 'L'},    // line
    {1, true, true, true, true, true, false, 'V'},     // hollow oval
    {1, true, true, true, true, false, false, 'C'},    // hollow arc
    {1, true, true, true, true, true, false, 'T'},     // hollow rectangle
    {0, false, false, false, false, false, true, 'I'},  // eyedropper
};

int Eraser_Diameter(int choice) {
    static const int sizes[9] = {2, 4, 6, 10, 16, 24, 32, 48, 64};
    return sizes[std::clamp(choice, 0, 8)];
}

void Paint_Clamp(a_paint_state& p) {
    p.opacity = std::clamp(p.opacity, 6, 100);
    p.line_thickness = std::clamp(p.line_thickness, 1, 40);
    p.corner = std::clamp(p.corner, 0, 80);
    p.brush_size = std::clamp(p.brush_size, 1, 120);
    p.brush_spacing = std::clamp(p.brush_spacing, 1, 60);
    p.eraser_choice = std::clamp(p.eraser_choice, 0, 11);
    p.spray_radius = std::clamp(p.spray_radius, 5, 40);
    p.spray_spread = std::clamp(p.spray_spread, 0, 3);
    p.spray_method = std::clamp(p.spray_method, 0, 2);
    p.stamp_size = std::clamp(p.stamp_size, 1, 19);
    p.stamp_rotate = std::clamp(p.stamp_rotate, -180, 180);
    p.stamp_spacing = std::clamp(p.stamp_spacing, 1, 60);
    p.stamp_stretch = std::clamp(p.stamp_stretch, -50, 50);
    p.stamp_skewx = std::clamp(p.stamp_skewx, -100, 100);
    p.stamp_skewy = std::clamp(p.stamp_skewy, -100, 100);
    p.stamp_bendx = std::clamp(p.stamp_bendx, -50, 50);
    p.stamp_bendy = std::clamp(p.stamp_bendy, -50, 50);
    p.stamp_darkness = std::clamp(p.stamp_darkness, 5, 95);
    p.stamp_colorshift = std::clamp(p.stamp_colorshift, -128, 128);
    p.grad_twist = std::clamp(p.grad_twist, 0, 1600);
    p.grad_angle = std::clamp(p.grad_angle, -180, 180);
    p.grad_rep = std::clamp(p.grad_rep, 1, 5);
    p.symmetry_count = std::clamp(p.symmetry_count, 1, 30);
    p.symmetry_kind = std::clamp(p.symmetry_kind, 0, 1);
    p.fill_gradient.nbands = std::clamp(p.fill_gradient.nbands, 1, int(MAXGRADBANDS));
    p.fill_gradient.kind = std::clamp(p.fill_gradient.kind, 0, NGRAD_KINDS - 1);
    p.fill_color32 &= 0xFFFFFF;
    p.marquee_method = std::clamp(p.marquee_method, 0, 2);
}

std::string Tool_Name(int tool) {
    std::string s;
    if (tool >= 0 && tool < NPAINT_TOOLS) GetIndString(s, 200, 51 + tool);
    return s;
}

int Tool_For_Key(char key) {
    char up = char(std::toupper(static_cast<unsigned char>(key)));
    for (int t = 0; t < NPAINT_TOOLS; ++t)
        if (g_tool_desc[t].shortcut == up) return t;
    return NULL_TOOL;
}
