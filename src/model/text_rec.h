// A text block's record: its style, its characters with their overrides and
// computed places, overflow marks, and the layout and pixel caches.
// Process-wide state: none.
#pragma once
#include <cstdint>
#include <vector>

#include "pixels/gworld.h"
#include "platform/geometry.h"
#include "platform/pixels.h"
#include "templates/expand.h"

enum : int {
    MAX_NXYL = 4000,          // characters plus the end marker
    MAX_TEXT_CHARS = 3999,
    MAX_OVERFLOWS = 10,
    MAX_TEXT_BLOCKS = 400,    // a unit's blocks
    MAX_PATH_SEGS = 300,
    MAX_PATH_STEPS = 10000,
    MAX_FRAME_POINTS = 4000,
    MAX_TEXT_LINES = 1000
};

enum a_text_layout : uint8_t {
    LAYOUT_HORZ = 0,
    LAYOUT_90 = 1,
    LAYOUT_CIRC_CW = 2,
    LAYOUT_SPIRAL_CW = 3,
    LAYOUT_CONTOUR = 4,
    LAYOUT_VERT = 5,
    LAYOUT_270 = 6,
    LAYOUT_CIRC_CCW = 7,
    LAYOUT_SPIRAL_CCW = 8,
    LAYOUT_SPOKE = 9,
    NLAYOUTS = 10
};

// Largest size in points per layout, indexed by a_text_layout.
constexpr int16_t TEXT_LAYOUT_SIZE_LIMITS[NLAYOUTS] = {288, 288, 144, 72, 144, 144, 288, 144, 72, 72};

enum a_horz_just : uint8_t { JUST_LEFT = 0, JUST_CENTER = 1, JUST_RIGHT = 2 };

enum a_char_category : uint8_t {
    CC_REGULAR = 0,
    CC_SPACE = 1,
    CC_HARDBREAK = 2,
    CC_OVERFLOW = 3,
    CC_EOS = 4,
    CC_IGNORE = 5
};

enum : char16_t { CHAR_HARDBREAK = 13, CHAR_LINEFEED = 10, CHAR_EOS = 1 };

// One character. The members cc_char .. cc_pad are the user's text and
// overrides (stored); mm_x .. mm_pad are recomputed by layout.
struct a_xyl_char {
    char16_t cc_char = 0;
    uint32_t cc_fontx = 0;  // 0: the block's font
    a_win_pixel32 cc_color;
    int16_t cc_nudgex = 0;  // extra advance before the character
    int16_t cc_nudgey = 0;  // shift across the baseline, positive below
    int16_t cc_nudget = 0;  // extra turn about its centre, tenths of a degree
    int16_t cc_size = 100;  // percent of the block's size; 0 and 100 unchanged
    bool cc_boldf = false;
    bool cc_italf = false;
    bool cc_undf = false;
    bool cc_pad = false;
    int16_t mm_x = 0;  // origin: left end of the baseline, unit pixels
    int16_t mm_y = 0;
    int16_t mm_t = 0;  // rotation, tenths of a degree, counter-clockwise on screen
    int16_t mm_width = 0;
    int32_t mm_ud = 0;  // distance along the line
    uint8_t mm_cat = CC_REGULAR;  // a_char_category
    bool mm_pad = false;
};

enum a_text_effect : uint8_t { EFFECT_BOLD = 0, EFFECT_ITALIC = 1 };

// A font as drawn.
struct a_fontspec {
    uint32_t fontID = 1;  // number in the font list
    int32_t size = 12;    // pixels
    int32_t angle = 0;    // tenths of a degree
    float hscale = 1.0f;
    float vscale = 1.0f;
    float hskew = 0;
    float vskew = 0;
    uint8_t effects = 0;  // set of a_text_effect
};

// One character resolved for measuring and drawing.
struct a_net_char {
    char16_t nn_char = 0;
    uint8_t nn_cat = CC_REGULAR;
    int16_t nn_x = 0;
    int16_t nn_y = 0;
    int16_t nn_width = 0;
    a_fontspec nn_font;
    float nn_fontsizeR = 0;
};

struct a_overflow_rec {
    int32_t id = 0;
    Point pos;
};

// Paths ------------------------------------------------------------------

enum a_path_shape : uint8_t { SPOKE_PATH = 0, SPIRAL_PATH = 1, CONTOUR_PATH = 2, RECT_PATH = 3 };
enum a_path_content : uint8_t { ARRAY_OF_LINES = 0, ARRAY_OF_POINTS = 1 };

// The shape parameters; a path is regenerated only when these bytes change
// (32 for spokes, 21 for a spiral, 33 for contour rows).
#pragma pack(push, 1)
struct a_spoke_spec {
    int32_t nspokes;
    float perspoke, start, originx, originy, inner, outer, twist;
};
struct a_spiral_spec {
    float originx, originy, radius, polarangle, lspacing;
    bool clockwise;
};
struct a_contour_spec {
    float centerx, centery, starty, margin, outer, lspacing, ascent, descent;
    uint8_t justify;
    float hole;  // radius the rows keep clear of about the centre (0: no hole)
};
#pragma pack(pop)
static_assert(sizeof(a_spoke_spec) == 32 && sizeof(a_spiral_spec) == 21 &&
              sizeof(a_contour_spec) == 37);

struct a_generic_path_spec {
    uint8_t shape = RECT_PATH;  // a_path_shape
    union {
        a_spoke_spec spoke;
        a_spiral_spec spiral;
        a_contour_spec contour;
    } u{};
};

// One straight segment.
struct a_linear_path {
    float endpointx = 0, endpointy = 0;  // start of the baseline
    float avail = 0;                      // usable length
    float baseangle = 0;                  // degrees
    float base_sin = 0, base_cos = 1;     // direction along the line, y downward
    float charangle = 0;                  // degrees, the negative of the character turn
};

struct a_points_path_step {
    float x = 0, y = 0;
    float t = 0;   // character angle, degrees
    float hs = 1;  // width factor of the spoke ring here
};
// Steps lie 10 pixels apart along the path.
struct a_points_path {
    int32_t lastn = 0;
    std::vector<a_points_path_step> steps;  // 0 .. lastn
};

struct a_path_cache {
    bool valid = false;  // spec holds the shape the paths were made for
    a_generic_path_spec spec;
    uint8_t content = ARRAY_OF_LINES;  // a_path_content
    uint32_t npaths = 0;
    std::vector<a_linear_path> lines;   // ARRAY_OF_LINES: path px is lines[px - 1]
    std::vector<a_points_path> points;  // ARRAY_OF_POINTS
    float overflowx = 0, overflowy = 0;  // where lines beyond the last path are marked
};

// The block's selection outline: points in order; a point with v = h =
// FRAME_BREAK separates the polygons of several spokes.
enum : int16_t { FRAME_BREAK = -32768 };
struct a_om_pointlist {
    int32_t max = MAX_FRAME_POINTS;
    int32_t npoints = 0;
    Point pts[MAX_FRAME_POINTS];
};

enum a_cache_progress : uint8_t { READY_COORD = 0, READY_BITS = 1 };

struct a_text_cache {
    uint8_t progress = 0;  // set of a_cache_progress
    a_path_cache path;
    a_om_pointlist frame;
    float tot_along = 0;  // widest line of straight layouts
    a_coord_mapping mapping;
    a_masked_gworld text;  // owned
    a_masked_gworld shad;  // owned
};

struct a_om_rec {
    Rect bbox;
    Point anchor;
    Point rotcenter;
    bool boldf = false, italf = false, outlf = false, glowf = false, shadf = false, undf = false;
    uint8_t layout = LAYOUT_HORZ;  // a_text_layout
    uint8_t justify = JUST_LEFT;   // a_horz_just
    uint32_t fontx = 1;
    int16_t size = 14;
    int16_t lineangle = 0;
    int16_t polarangle = 0;
    int16_t radius = 95;
    int16_t hspacing = 100;
    int16_t vspacing = 100;
    int16_t stretch_h = 0, stretch_v = 0;
    int16_t skew_h = 0, skew_v = 0;
    int16_t glow_radius = 8, glow_opacity = 90, glow_style = -1;
    int16_t shad_dx = 4, shad_dy = 4, shad_opacity = 75, shad_radius = 1;
    int16_t outl_radius = 2;
    int16_t spoke_outerd = 95;
    int16_t spoke_thickness = 80;
    int16_t spoke_totangle = 360;
    int16_t spoke_twist = 5;
    int16_t contour_margin = 5;
    int16_t targwidth = 0;
    int16_t opacity = 100;
    a_win_pixel32 base_color{0, 0, 0, 0};
    a_win_pixel32 glow_color{0, 200, 255, 0};  // gold: a white glow vanishes on the white canvas
    a_win_pixel32 shad_color{0, 0, 0, 0};
    a_win_pixel32 outl_color{255, 255, 255, 0};
    int32_t nxyl = 1;
    a_xyl_char xyl[MAX_NXYL + 1];  // 1 .. nxyl; index 0 unused
    uint32_t noverflows = 0;
    a_overflow_rec overflows[MAX_OVERFLOWS + 1];  // 1 .. noverflows
    a_text_cache cache;

    a_om_rec();
};

// Every member zero, then cc_size 100.
void Set_XYL_Defaults(a_xyl_char& c);
// Empties the render caches (disposing their worlds) and the paths.
void OM_Clear_Caches(a_om_rec& om);
// Forgets the caches without disposing them (for a fresh copy that shares
// the source's worlds).
void OM_Forget_Caches(a_om_rec& om);
// Frees the paths and forgets their spec.
void Flush_Path_Cache(a_path_cache& pc);
