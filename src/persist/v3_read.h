// Projects of the previous major version (chunk streams of version 7), read
// as they stand: one picture of a fixed size chosen by an old layout kind,
// its paint, its fonts, its text and its photos, in the old units. Every
// size, count and length is checked against what the chunk holds before it
// is used; a damaged file gives a defect and nothing else. Bringing the
// result onto a unit is v3_import's.
//
// The old photo record, as this program reads it: the source kind byte (1
// an art-database Key, 2 a Path, 3 the Int16 number of a picture the file
// carries as "PICT"/"PMSK", a pixel map with its optional 8-bit mask), then
// by version (1, 2, 3) six, eight or nine Int16 — scaling h and v (per cent,
// 5 .. 600), angle (whole degrees, -180 .. 180), darkness (0 .. 100, 50
// unchanged), saturation (0 .. 100), hue (0 .. 359); then opacity (0 ..
// 100) and corner (0 .. 100); then feather (0 .. 20) — two, three or four
// booleans (flip h, flip v; invert; near-white transparent), the crop Rect
// (source pixels), the centre Point and the box Rect (old picture pixels).
//
// Process-wide state: the open chunk stream g_chunk (reads).
#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "artdb/keyset.h"
#include "persist/project_file.h"
#include "pixels/gworld.h"
#include "pixels/pixmap.h"
#include "platform/geometry.h"
#include "platform/pixels.h"

constexpr uint16_t V3_FILE_VERSION = 7;
constexpr int V3_NKINDS = 17;
constexpr int V3_NSIZES = 36;
constexpr int16_t V3_CANV_VERSION = 3;
constexpr int16_t V3_FONT_VERSION = 1;
constexpr int V3_MAX_CHARS = 4000;
constexpr int V3_CHAR_BYTES = 12;

// The old picture's size (width, height) by old layout kind 0 .. 16.
Point V3_Kind_Size(int kind);  // h = width, v = height
// The point size of old size index 0 .. 35; an index outside is taken as
// the nearest end of the table.
int SliderToPoints(int index);

struct a_v3_canvas {
    a_keyset key;
    bool flipx = false, flipy = false, invert = false;
    int16_t nrot = 0;  // quarter turns
    uint8_t kind = 0;  // the old layout kind
    int16_t darkness = 50;
};

struct a_v3_font {
    int16_t old_number = 0;
    std::string name;  // 8-bit, the system code page
};

struct a_v3_text {
    int16_t version = 3;
    Point anchor;  // as stored
    int16_t font = 0;
    int16_t size_index = 0;
    bool boldf = false, italf = false, outlf = false, glowf = false, shadf = false;
    bool has_effects = false;  // version 3: the glow, shadow and outline fields are there
    int16_t glow_radius = 0, glow_opacity = 0;
    a_win_pixel32 glow_color;
    int16_t shad_dx = 0, shad_dy = 0, shad_opacity = 0, shad_radius = 0;
    a_win_pixel32 shad_color;
    int16_t outl_radius = 0;
    a_win_pixel32 outl_color;
    uint8_t layout = 0;  // old layout byte
    uint8_t justify = 0;
    int16_t line_spacing = 0;
    int16_t radius = 0;  // as stored
    int16_t line_angle = 0;  // tenths of a degree
    a_win_pixel32 base_color;
    std::vector<uint8_t> chars;  // Mac Roman: each record's first and (non-zero) second byte
};

enum a_v3_source : uint8_t { V3_SOURCE_KEY = 1, V3_SOURCE_PATH = 2, V3_SOURCE_EMBEDDED = 3 };

struct a_v3_photo {
    int16_t version = 3;
    uint8_t source = V3_SOURCE_KEY;  // a_v3_source
    a_keyset key;
    std::string path;
    int16_t embedded = 0;
    int16_t scaleh = 100, scalev = 100, angle = 0, darkness = 50, sat = 50, hue = 0;
    int16_t opacity = 100, corner = 0, feather = 0;
    bool flipx = false, flipy = false, invert = false, wtransp = false;
    Rect crop;
    Point center;
    Rect box;
};

// A whole old project. Owns its pictures (free them with V3_Dispose).
struct a_v3_project {
    a_v3_canvas canvas;
    PixMap layr;  // the paint picture (null when none)
    PixMap mask;  // its mask
    std::vector<a_v3_font> fonts;
    std::vector<a_v3_text> texts;
    std::vector<a_v3_photo> photos;
    std::map<int16_t, a_masked_gworld> pictures;  // embedded, by number
};
void V3_Dispose(a_v3_project& p);

// The preamble of `file`: signature 0xCDCD and version 7 (defects as for
// a project: DEFECT_FILE_SIGNATURE, DEFECT_FILE_VERSION).
[[nodiscard]] bool Read_V3_Preamble(const std::vector<uint8_t>& file, a_defect_set& defects);
bool Is_V3_Bytes(const std::vector<uint8_t>& file);
[[nodiscard]] bool Is_V3_File(const std::string& path);

// The whole file into `out`; false, with the defect recorded and `out`
// empty, at the first damage: no "CANV" (DEFECT_UNIT_MISSING), a "CANV"
// version other than 3 or an old layout kind above 16 (DEFECT_UNIT_VERSION),
// no "FONT" or one of another version (DEFECT_FONTTABLE_MISSING /
// _VERSION), no "TEXT", a "TEXT" or "PHOT" of an unknown version, a photo
// source kind other than 1 .. 3 or an old layout byte outside its version's
// table (DEFECT_V3), a count the chunk cannot hold, more than 4000
// characters, a justification above 2 or a record running past its chunk
// (DEFECT_CHECKSUM).
[[nodiscard]] bool Read_V3_Bytes(std::vector<uint8_t>& file, a_v3_project& out, a_defect_set& defects);
