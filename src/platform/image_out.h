// Pictures leaving the program for people to look at: PNG files and contact
// sheets of labelled tiles. Pixels are 32-bit native (blue, green, red, pad).
// Process-wide state: none.
#pragma once
#include <string>
#include <vector>

struct a_rgb_image {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> bgra;  // width * 4 bytes per row
    bool alpha = false;         // the fourth byte is straight alpha, not pad
};

[[nodiscard]] bool Image_Save_PNG(const std::string& path, const a_rgb_image& image, std::string& error);

struct a_sheet_tile {
    a_rgb_image image;
    std::string label;
};

// Tiles in rows of `columns`, each scaled to fit a `cell`-pixel square with
// its label underneath, on a light background.
a_rgb_image Contact_Sheet(const std::vector<a_sheet_tile>& tiles, int columns, int cell);
