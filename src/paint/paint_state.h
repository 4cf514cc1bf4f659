// The paint tools' names, their descriptions and the paint parameters the
// atoms read. The interface fills g_paint from its sliders, toggles and
// palette bars; designs and tests set it directly.
// Process-wide state: g_paint (the window and the design reader write it; the
// trackers and atoms read it, the eyedropper writes its fill colour).
#pragma once
#include <cstdint>
#include <string>

#include "pixels/gworld.h"
#include "platform/geometry.h"

struct a_border_art;

enum a_tool : int {
    BRUSH_TOOL = 0, ERASER_TOOL, SPRAY_TOOL, SPOLYGON_TOOL, SOVAL_TOOL, SFURTER_TOOL, SRECT_TOOL,
    GRABBER_TOOL, STAMP_TOOL, SELECT_TOOL, BUCKET_TOOL, LINE_TOOL, FOVAL_TOOL, FFURTER_TOOL,
    FRECT_TOOL, DROPPER_TOOL,
    SYMMETRY_TOOL, ZOOM_TOOL, TEXT_TOOL, PHOTO_TOOL, PACK_TOOL, BRUSHLINE_TOOL, ERASERLINE_TOOL,
    FROUNDRECT_TOOL, SROUNDRECT_TOOL, NULL_TOOL,
    NPAINT_TOOLS = DROPPER_TOOL + 1
};

enum a_fill_kind : int {
    NULL_FILL = 0, COLOR_FILL, PATTERN_FILL, GRADIENT_FILL, STAMP_FILL, BORDER_FILL, ERASER_FILL,
    TRACKING_MARQUEE, GETTING_MARQUEE
};

enum a_grad_kind : int {
    GRAD_LINEAR = 0, GRAD_RIDGES, GRAD_CIRCULAR, GRAD_CONTOUR, GRAD_RADAR, GRAD_WAVY, NGRAD_KINDS
};

enum a_symmetry_kind : int { CYCLIC_SYMMETRY = 0, MIRROR_SYMMETRY = 1 };
enum a_spray_method : int { POINTLIST_SPRAY = 0, BITMAP_SPRAY, STAMP_SPRAY };
enum a_spray_spread : int { SPREAD_UNIFORM = 0, SPREAD_LOOSE, SPREAD_NORMAL, SPREAD_TIGHT };
enum a_marquee_method : int { RECT_MARQUEE = 0, OVAL_MARQUEE = 1, LASSO_MARQUEE = 2 };

// Eraser-size choices: 0 .. 8 erase with a round eraser of that step's size,
// 9 by rectangle, 10 by oval, 11 by polygon.
enum : int { ERASE_BY_RECT = 9, ERASE_BY_OVAL = 10, ERASE_BY_POLYGON = 11 };
int Eraser_Diameter(int choice);  // cells, for choices 0 .. 8

enum : int { MAXGRADBANDS = 8 };
// A gradient: colour bands (0x00RRGGBB) spread evenly over the gradient's run.
struct a_grad_rec {
    int nbands = 2;
    uint32_t bands[MAXGRADBANDS] = {0x000000, 0xFFFFFF};
    int kind = GRAD_LINEAR;
    bool reverse = false;
    Point center{-1, -1};  // cells; the middle of the filled area when both are -1
    bool operator==(const a_grad_rec&) const = default;
};

struct a_tool_desc {
    int ring_kind = 0;      // the palette ring shown with the tool
    bool dropper = false;   // Option-click picks a colour instead
    bool symmetry = false;  // repeated about the symmetry centre
    bool paints = false;    // changes pixels
    bool from_corner = false, from_center = false;
    bool single_point = false;
    char shortcut = 0;
};
extern const a_tool_desc g_tool_desc[NPAINT_TOOLS];

// The parameters every atom reads: the slider values (same ranges as the
// sliders), the fill and the art the fills use. Pictures are borrowed.
struct a_paint_state {
    int tool = BRUSH_TOOL;
    int fill_kind = COLOR_FILL;
    uint32_t fill_color32 = 0x000000;  // 0x00RRGGBB
    a_grad_rec fill_gradient;
    int opacity = 100;         // PAINT_OPACITY_SLIDER 6 .. 100
    int line_thickness = 2;    // LINE_THICKNESS_SLIDER 1 .. 40
    int corner = 0;            // PAINT_CORNER_SLIDER 0 .. 80
    int brush_size = 12;       // the brush's diameter in cells, 1 .. 120
    int brush_spacing = 3;     // BRUSH_SPACING_SLIDER 1 .. 60, cells
    int eraser_choice = 3;
    int spray_radius = 20;     // SPRAY_RADIUS_SLIDER 5 .. 40, cells
    int spray_spread = SPREAD_NORMAL;
    int spray_method = POINTLIST_SPRAY;
    int stamp_size = 10;       // STAMP_SIZE_SLIDER 1 .. 19, 10 is 1 : 1
    int stamp_rotate = 0;      // STAMP_ROTATE_SLIDER -180 .. 180 degrees
    int stamp_spacing = 30;    // STAMP_SPACING_SLIDER 1 .. 60, cells
    int stamp_stretch = 0;     // STAMP_STRETCH_SLIDER -50 .. 50 percent wider (taller below 0)
    int stamp_skewx = 0, stamp_skewy = 0;  // -100 .. 100 percent
    int grad_twist = 800;      // GRAD_TWIST_SLIDER 0 .. 1600, 800 none
    int grad_angle = 0;        // GRAD_ANGLE_SLIDER -180 .. 180 degrees
    int grad_rep = 1;          // GRAD_REP_SLIDER 1 .. 5
    bool symmetry_on = false;
    int symmetry_kind = CYCLIC_SYMMETRY;
    int symmetry_count = 6;    // SYMMETRY_COUNT_SLIDER 1 .. 30
    int marquee_method = RECT_MARQUEE;
    const a_masked_gworld* stamp = nullptr;  // the current stamp (mask may be null)
    const GWorld* pattern = nullptr;         // a 32-bit tile
    // The stamp's warps and tone, and the current border (borrowed).
    int stamp_bendx = 0, stamp_bendy = 0;  // STAMP_BENDX/Y_SLIDER -50 .. 50 percent
    int stamp_darkness = 50;   // STAMP_DARKNESS_SLIDER 5 .. 95, 50 unchanged
    int stamp_colorshift = 0;  // STAMP_COLORSHIFT_SLIDER -128 .. 128, 128 half a turn of hue
    const a_border_art* border = nullptr;
};
extern a_paint_state g_paint;

// Clamps every value into its slider's range.
void Paint_Clamp(a_paint_state& p);
// The tool's name as its palette shows it ("Brush Tool (B)"), from string list 200.
std::string Tool_Name(int tool);
// The tool whose shortcut is `key` (upper or lower case); NULL_TOOL for none.
int Tool_For_Key(char key);
