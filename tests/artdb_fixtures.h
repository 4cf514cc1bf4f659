// Small art databases made with our own writer, for the art-database tests.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "artdb/art_writer.h"
#include "artdb/database.h"
#include "platform/dialogs.h"

// Runs a statement that ends the program with an alert, with the alert logged.
template <typename F>
inline void Loud(F f) {
    Dialog_SetQuiet(false);
    f();
}

inline a_db_entry Entry(a_keyset key, std::vector<uint8_t> data) {
    a_db_entry e;
    e.key = key;
    e.data = std::move(data);
    return e;
}

inline std::vector<uint8_t> Db_Bytes(std::vector<a_db_entry> entries) {
    std::vector<uint8_t> file;
    std::string error;
    if (!Build_Database(std::move(entries), file, error)) ADD_FAILURE() << error;
    return file;
}

inline a_openfile_result Open_Db(const std::vector<uint8_t>& bytes) {
    return OP_OpenMemory(bytes.data(), bytes.size());
}

// A 32-bit picture whose pixels depend on position, so that misplaced bytes show.
inline std::vector<uint8_t> Pattern32(int w, int h, uint32_t seed = 1) {
    std::vector<uint8_t> px(size_t(w) * h * 4);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint8_t* p = &px[(size_t(y) * w + x) * 4];
            p[0] = uint8_t(x * 7 + seed);
            p[1] = uint8_t(y * 3);
            p[2] = uint8_t((x / 8 + y / 8) * 40);
            p[3] = 255;
        }
    return px;
}

inline std::vector<uint8_t> Picture_Record(int w, int h, int depth, const std::vector<uint8_t>& px,
                                           a_pixt_codec codec, uint8_t flags = 0) {
    a_pixt_source s;
    s.width = w;
    s.height = h;
    s.depth = depth;
    s.stride = size_t(w) * (depth / 8);
    s.pixels = px.data();
    s.flags = flags;
    std::vector<uint8_t> out;
    std::string error;
    if (!Encode_Picture(s, codec, 90, out, error)) ADD_FAILURE() << error;
    return out;
}
