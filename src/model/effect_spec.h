// The effect description of a photo or symbol block: where its picture
// comes from and every adjustment made to it. It is also the key of the
// effects cache, so the comparison rules live here with the record.
// Process-wide state: the controls service g_spec_controls (reads).
#pragma once
#include <cstdint>
#include <string>

#include "artdb/keyset.h"
#include "base/notice.h"
#include "platform/geometry.h"
#include "platform/pixels.h"

enum a_source_kind : uint8_t {
    SOURCE_NULL = 0,
    SOURCE_DATABASE = 1,   // art-database item by key
    SOURCE_EXTFILE = 2,    // external file by path
    SOURCE_CLIPBOARD = 3,  // pasted pixels, held only in the cache
    SOURCE_EMPTYSLOT = 4,  // an unfilled collage slot
    SOURCE_COLLAGE = 5,    // collage pack picture
};

// Where an external file lives: volume, parent folder and name. On this
// platform `name` carries the whole path and the numbers stay 0.
struct a_fsspec {
    int16_t vRefNum = 0;
    int32_t parID = 0;
    std::string name;
    bool operator==(const a_fsspec&) const = default;
};

struct a_source_desc {
    uint16_t sid = 0;  // key of the decoded source picture in the cache
    a_source_kind kind = SOURCE_NULL;
    a_keyset key;   // SOURCE_DATABASE
    a_fsspec path;  // SOURCE_EXTFILE
    bool operator==(const a_source_desc&) const = default;
};

enum a_edge_kind : int16_t { EDGE_NONE = 0, EDGE_BORDER = 1, EDGE_SCALLOP = 2, EDGE_ROUGH = 3 };

struct a_spec {
    a_source_desc source;
    int16_t angle = 0;        // tenths of a degree, counter-clockwise
    int16_t scalingh = 1000;  // per mille
    int16_t scalingv = 1000;
    int16_t darkness = 50;  // 50 unchanged
    int16_t opacity = 100;  // percent
    int16_t corner = 0;     // percent
    int16_t feather = 0;
    int16_t edge_kind = EDGE_NONE;
    int16_t edge_border = 8;
    int16_t edge_outline = 1;
    int16_t edge_scallop = 60;
    int16_t edge_rough = 10;
    int16_t color_sat = 50;
    int16_t color_hue = 0;
    int16_t color_dist = 0;
    int16_t shad_dx = 4;
    int16_t shad_dy = 4;
    int16_t shad_opacity = 75;
    int16_t shad_radius = 2;
    bool flipx = false;
    bool flipy = false;
    bool invert = false;
    bool wtransp = false;     // near-white is transparent
    bool shadf = false;       // drop shadow on
    bool constrainf = false;  // editing state only: not part of the key
    bool is_symbol = false;   // the source is a coverage image painted in symbol_color
    a_win_pixel32 symbol_color;
    a_win_pixel32 edge_bord_color;
    a_win_pixel32 edge_outl_color;
    Rect subset;        // crop in source pixels; empty: the whole source
    int32_t hintx = 0;  // cache entry that last served an equal spec: a hint, not key
    // Every field, the hint included; the cache's rules are Equal_Spec.
    bool operator==(const a_spec&) const = default;
};

enum a_cache_purpose : uint8_t {
    FOR_SAVING = 0,
    FOR_PRINTING = 1,
    FOR_COLLAGE = 2,
    FOR_SCREEN = 3,
    FOR_SIZING = 4,
};

// The fields the interface decides (edge style, constrainf, edge colours);
// the interface installs it. Without it those fields keep the record's defaults.
extern a_service<void(a_spec& spec)> g_spec_controls;

// Every adjustable field at its control's default.
void Null_Spec(a_spec& spec);
// Zeroes what the source kind does not use, so equal sources compare equal.
void Clean_Spec(a_spec& spec);
bool Equal_Source(const a_source_desc& s1, const a_source_desc& s2);
// Everything that changes the pixels; `subsetf` adds the crop. An edge style
// outside 0..3 is an internal error.
bool Equal_Spec(bool subsetf, const a_spec& spec1, const a_spec& spec2);
bool Is_Angle_Even(int angle);  // |angle| a multiple of 900
bool Is_Edge_Used(const a_spec& spec);
// out = (in * scaling + 500) / 1000 per axis (h along x, v along y).
void Apply_Scaling_Pt(int scalingh, int scalingv, Point in, Point& out);
