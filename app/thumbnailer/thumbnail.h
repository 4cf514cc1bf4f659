// The picture a file manager shows for a project: its stored preview, or its
// first unit drawn as it prints when it has none, scaled to the size asked.
// Process-wide state: the document g_doc while a unit is drawn (reads and
// writes, through the project reader).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/port.h"

// 32-bit pixels, rows top-down, in the byte order of the program's maps.
struct a_thumb_image {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> bytes;  // 4 per pixel
};

// `bits` scaled so that its longer side is `size`: by whole-area averaging
// when it is larger, bilinear when it is smaller.
a_thumb_image Thumb_Scale(const a_port_bits& bits, int size);
// The project's thumbnail at `size`; false with a one-line reason.
bool Thumb_Make(const std::string& project, int size, a_thumb_image& out, std::string& error);
// Writes it as PNG through the atomic save; false with a reason.
bool Thumb_Write(const std::string& path, a_thumb_image& image, std::string& error);
