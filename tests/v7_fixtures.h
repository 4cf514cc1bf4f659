// Projects of the previous major version, written by a small writer of our
// own from the old format's data model (big-endian bytes put one by one, not
// through the chunk stream the reader uses): one per class of old layout
// kind, with paint, text, a photo and a canvas, and damaged copies of them.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "artdb/keyset.h"
#include "platform/geometry.h"

struct a_v7_text {
    int16_t version = 3;  // of the "TEXT" chunk; every text of a file has it
    Point anchor;         // as stored (versions 1 and 2: four times the place)
    int16_t font = 1;
    int16_t size_index = 20;
    bool bold = false, italic = false, outline = false, glow = false, shadow = false;
    int16_t glow_radius = 6, glow_opacity = 80;
    uint8_t glow_rgb[3] = {255, 200, 0};
    int16_t shad_dx = 3, shad_dy = 5, shad_opacity = 60, shad_radius = 2;
    uint8_t shad_rgb[3] = {0, 0, 80};
    int16_t outl_radius = 3;
    uint8_t outl_rgb[3] = {255, 255, 255};
    uint8_t layout = 0;
    uint8_t justify = 1;
    int16_t radius = 0;
    int16_t line_angle = 0;
    uint8_t base_rgb[3] = {200, 0, 0};
    std::string chars;     // Mac Roman, one record a byte, without the end mark
    int16_t count = -1;    // stored character count; -1: the records written
};

struct a_v7_photo {
    uint8_t source = 3;  // 1 key, 2 path, 3 embedded
    a_keyset key;
    std::string path;
    int16_t embedded = 1;
    int16_t scaleh = 50, scalev = 50, angle = 30, darkness = 50, sat = 50, hue = 0;
    int16_t opacity = 80, corner = 10, feather = 4;
    bool flipx = true, flipy = false, invert = false, wtransp = false;
    Rect crop;
    Point center;  // old picture pixels
};

struct a_v7_project {
    uint8_t kind = 0;  // old layout kind
    a_keyset canvas_key{2, 0, 1, 1};
    bool flipx = false, flipy = false, invert = false;
    int16_t nrot = 0;
    bool has_darkness = true;
    int16_t darkness = 50;
    int16_t canvas_version = 3;
    // Paint: the rectangle painted in `paint_rgb` (old pixels); none when empty.
    Rect painted;
    uint8_t paint_rgb[3] = {0, 0, 255};
    int mask_depth = 8;  // 1 or 8
    bool write_fonts = true;
    std::vector<std::pair<int16_t, std::string>> fonts = {{1, "DejaVu Sans"}};
    bool write_text = true;
    std::vector<a_v7_text> texts;
    int16_t photo_version = 3;
    std::vector<a_v7_photo> photos;
    // Embedded picture 1: w x h of one colour with a full mask.
    Point picture_size{120, 180};
    uint8_t picture_rgb[3] = {0, 160, 0};
};

std::vector<uint8_t> Write_V7(const a_v7_project& p);

struct a_v7_fixture {
    std::string name;
    std::vector<uint8_t> bytes;
    int defect = -1;  // the defect it is refused with; -1: it imports
};
// The classes of old layout kind (square, wide, tall, strip, and the older
// text records), each with paint, texts, an embedded photo and a canvas;
// then damaged copies: cut, bad counts, bad kinds.
a_v7_project V7_Sample(uint8_t kind);
std::vector<a_v7_fixture> V7_Fixtures();
