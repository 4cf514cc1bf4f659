// A sample of a font as the font palette shows it: its family name drawn in
// the font, black on white, as 8-bit values (0 black .. 255 white).
// Process-wide state: none (needs the toolkit started).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// width * height bytes, row by row; all white when the family is empty.
std::vector<uint8_t> Font_Sample_Gray(const std::u16string& family, int width, int height);
