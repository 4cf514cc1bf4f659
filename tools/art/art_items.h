// What the art generators hand to the art compiler: every record of the
// shipped art database in a plain form, before it is encoded. The generators
// (tools/art/gen_*.cpp) fill a list of items; the compiler encodes each one
// as its record kind and writes the database with a sorted map.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct a_art_key {
    int16_t a = 0, b = 0, c = 0, d = 0;
};

// How a picture record's pixel data is stored.
enum class a_art_codec { RAW, PACKBITS, LZW, JPEG };

// A picture: 8-bit grey/indexed or 32-bit pixels, top-down rows without
// padding. 32-bit pixels are in native order: bytes blue, green, red, alpha
// (alpha or pad). 8-bit pixels of a grey picture are coverage, 255 = full.
struct a_art_picture {
    int width = 0;
    int height = 0;
    int depth = 32;                // 8 or 32
    bool gray = false;             // 8-bit coverage picture (the grey colour table)
    bool transparent = false;      // drawn with the transparent mode
    a_art_codec codec = a_art_codec::PACKBITS;
    int jpeg_quality = 90;         // for a_art_codec::JPEG
    std::vector<uint8_t> pixels;   // width * height * depth / 8 bytes
};

// A gradient: colour bands from first to last, native 32-bit pixels
// (0xAARRGGBB as a uint32_t on a little-endian machine: bytes B, G, R, A).
struct a_art_gradient {
    std::vector<uint32_t> bands;
};

// One border of the border directory: the key of its picture and the corner,
// side and filler pieces within that picture.
struct a_art_border {
    a_art_key key;
    int16_t klass = 0;
    // top, left, bottom, right in the picture's pixels
    int16_t corn_piece[4] = {};
    int16_t side_piece[4] = {};
    int16_t sliv_piece[4] = {};
};

// A sound: 16-bit signed mono samples at `rate` samples per second.
struct a_art_sound {
    int rate = 22050;
    std::vector<int16_t> samples;
};

enum class a_art_kind { PICTURE, GRADIENT, BORDER_DIRECTORY, SOUND };

// The about-box picture, key (12, ART_ABOUT_PICTURE_ID, 0, 0): start-up
// refuses a database without it.
constexpr int16_t ART_ABOUT_PICTURE_ID = 128;

struct a_art_item {
    a_art_key key;
    a_art_kind kind = a_art_kind::PICTURE;
    std::string name;                   // what it shows, for listings and contact sheets
    a_art_picture picture;              // kind PICTURE
    a_art_gradient gradient;            // kind GRADIENT
    std::vector<a_art_border> borders;  // kind BORDER_DIRECTORY
    a_art_sound sound;                  // kind SOUND
};

// Fills `items` with every record of the shipped database, deterministically
// (the same items in the same order on every run). `data_dir` is data/art/.
// Returns false with `error` set when a source cannot be read.
bool Art_Generate_All(const std::string& data_dir, std::vector<a_art_item>& items,
                      std::string& error);
