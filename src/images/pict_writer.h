// PICT files (version 2): one 32-bit direct-pixels record, each row packed
// component by component, with the resolution in the extended header and the
// pixel map.
// Process-wide state: none.
#pragma once
#include <cstdint>
#include <vector>

struct PixMap;

// Appends the file: the 512-byte leader, the picture and its end. False for
// a map that is not 32-bit.
[[nodiscard]] bool Write_PICT(const PixMap& pm, int dpi, std::vector<uint8_t>& out);
