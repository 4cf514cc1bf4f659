// PNG files of 32-bit pixels, for the command-line tool and golden tests.
// Writing goes through the atomic save, so a failed write leaves any
// previous file intact.
// Process-wide state: none.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/port.h"

// How hard the encoder squeezes: SMALL for files that are kept (goldens),
// the toolkit's writer; FAST for pictures written for a person to look at
// now, our own writer (platform/png_writer.h).
enum class a_png_effort { SMALL, FAST };

// Writes 32-bit `bits` as an opaque RGB PNG; false with a message on failure.
[[nodiscard]] bool Png_Write(const std::string& path, const a_port_bits& bits,
                             std::string* error = nullptr,
                             a_png_effort effort = a_png_effort::SMALL);

// A decoded picture: pixels 0x00RRGGBB, rows top-down.
struct a_png_image {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
};
[[nodiscard]] bool Png_Read(const std::string& path, a_png_image& image, std::string* error = nullptr);
