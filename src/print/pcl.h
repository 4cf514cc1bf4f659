// The PCL raster file that Amtren FlexLabel and FlexStick disc printers take:
// unit 1 at 300 dots per inch, each row as runs of one colour.
// Process-wide state: the document g_doc, the selected medium, g_print_options and the unit cache
// (reads; the cache is replaced and freed).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "pixels/gworld.h"

constexpr double FLEX_DOTS_PER_MM = 300 / 25.4;

struct a_pcl_settings {
    int density = 4;    // low byte written
    bool gray = false;
};

// Runs of equal colour, flushed into a growing row so that no run length or
// row can overflow a buffer.
class a_run_stack {
public:
    void Start(uint32_t colour, int64_t length);
    void Stak_Pixel(uint32_t pixel);  // 32-bit B, G, R, A in memory order
    void Stak_Op();                   // flushes the current run
    std::vector<uint8_t>& Row() { return row_; }

private:
    uint32_t colour_ = 0;  // 0x00RRGGBB
    int64_t length_ = 0;
    std::vector<uint8_t> row_;
};

void Emit_SS(const std::string& ss, std::vector<uint8_t>& out);
// The raster of a 32-bit map placed at `dest` (300-dpi dots on the sheet).
void Emit_Pix(const Rect& dest, const PixMap& pix, const a_pcl_settings& s,
              std::vector<uint8_t>& out);
// src_bounds of src_world scaled onto a 32-bit world of dst_bounds' size, then its raster;
// false when that world cannot be made.
[[nodiscard]] bool Emit_GWorld(const Rect& dst_bounds, const Rect& src_bounds,
                               const GWorld* src_world, const a_pcl_settings& s,
                               std::vector<uint8_t>& out);
// The whole job for unit 1 of the document: header, raster, trailer. False
// when unit 1 cannot be rendered or its place is outside what a row can hold.
[[nodiscard]] bool Emit_PCL(std::vector<uint8_t>& out);
// Emit_PCL into `path` through the atomic save.
[[nodiscard]] bool Flex_Write_PRN(const std::string& path, std::string* error = nullptr);

// The 90-byte job header and 11-byte trailer.
std::string PCL_Header();
std::string PCL_Trailer();
// Where unit `ux`, adjusted for print, lands in 300-dpi dots.
Rect Flex_Dest(uint32_t ux);
