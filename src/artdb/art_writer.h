// Writes art databases: record encodings of every kind and the file with its
// sorted map. Used by the art compiler and by tests that need small or
// damaged databases.
// Process-wide state: none.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "artdb/art_records.h"
#include "artdb/keyset.h"

enum class a_pixt_codec { RAW, PACKBITS, LZW, JPEG };

// Pixels to encode: 8, 16 or 32 bits, native order, rows `stride` bytes apart.
struct a_pixt_source {
    int width = 0;
    int height = 0;
    int depth = 32;
    size_t stride = 0;
    const uint8_t* pixels = nullptr;
    uint8_t flags = 0;  // PIXT_TRANSPARENT, PIXT_GRAY, PIXT_GRAY2; codec bits are set here
};

// Row bytes of a decoded picture: rows padded to a multiple of four bytes.
int KPixt_RowBytes(int width, int depth);

// A picture record: header, then the data in `codec` (JPEG needs 32 bits).
[[nodiscard]] bool Encode_Picture(const a_pixt_source& src, a_pixt_codec codec, int jpeg_quality,
                    std::vector<uint8_t>& out, std::string& error);
// Native 32-bit colours (0xAARRGGBB) to a gradient record.
std::vector<uint8_t> Encode_Gradient(const std::vector<uint32_t>& bands);
std::vector<uint8_t> Encode_Border_Directory(const a_bord_res& res);
// 16-bit mono samples to a RIFF WAVE record.
std::vector<uint8_t> Encode_Sound(int rate, const std::vector<int16_t>& samples);

struct a_db_entry {
    a_keyset key;
    std::vector<uint8_t> data;
    uint16_t cachex = 0;
    uint8_t priority = 0;
    uint8_t flags = 0;
};

// The whole database file: header, map sorted by key, records in key order.
// False on duplicate keys, more than 65,535 entries or a file over 2 GB.
[[nodiscard]] bool Build_Database(std::vector<a_db_entry> entries, std::vector<uint8_t>& file,
                    std::string& error);
// Builds and saves atomically.
[[nodiscard]] bool Save_Database(const std::string& path, std::vector<a_db_entry> entries, std::string& error);
