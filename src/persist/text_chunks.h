// The text record inside a block table, read into a structure of its own:
// the document's text record does not carry these fields yet, so the records
// a project holds are kept here, by block, and written back unchanged.
// Version 3000 with characters of 35 bytes (their own version word, 4000);
// block tables of version 1 hold characters of 15 bytes without it. Every
// record read ends with the end mark (code 1).
// Process-wide state: the open chunk stream g_chunk (reads and writes); the
// kept records, by block id (reads and writes).
#pragma once
#include <cstdint>
#include <vector>

#include "persist/project_file.h"
#include "platform/geometry.h"
#include "platform/pixels.h"

constexpr int16_t OM_RECORD_VERSION = 3000;
constexpr int16_t XYL_VERSION = 4000;
constexpr uint32_t MAX_TEXT_CHARS = 4000;
constexpr uint16_t TEXT_END_MARK = 1;

// Counts of the layouts and justifications a text record may name.
constexpr uint8_t NTEXT_LAYOUTS = 10;
constexpr uint8_t NHORZ_JUSTS = 3;

struct a_text_char {
    uint16_t cc_char = 0;
    uint32_t cc_fontx = 0;
    a_win_pixel32 cc_color;
    int16_t cc_nudgex = 0, cc_nudgey = 0, cc_nudget = 0, cc_size = 0;
    bool cc_boldf = false, cc_italf = false, cc_undf = false, cc_pad = false;
    // Layout results: stored only by block tables of version 1.
    int16_t mm_x = 0, mm_y = 0, mm_t = 0;
    uint8_t mm_cat = 0;
};

struct a_text_chunk_rec {
    Rect bbox;
    Point anchor, rotcenter;
    bool boldf = false, italf = false, outlf = false, glowf = false, shadf = false, undf = false;
    uint8_t layout = 0;   // a_text_layout
    uint8_t justify = 0;  // a_horz_just
    uint32_t fontx = 0;
    int16_t size = 0, lineangle = 0, polarangle = 0, radius = 0, hspacing = 0, vspacing = 0,
            stretch_h = 0, stretch_v = 0, skew_h = 0, skew_v = 0, glow_radius = 0,
            glow_opacity = 0, glow_style = 0, shad_dx = 0, shad_dy = 0, shad_opacity = 0,
            shad_radius = 0, outl_radius = 0, spoke_outerd = 0, spoke_thickness = 0,
            spoke_totangle = 0, spoke_twist = 0, contour_margin = 0, targwidth = 0, opacity = 0;
    a_win_pixel32 base_color, glow_color, shad_color, outl_color;
    std::vector<a_text_char> chars;
};

void Write_OM(const a_text_chunk_rec& om);
// A wrong version word or sentinel, more than 4000 characters or more than
// the chunk holds, or a layout or justification out of range is a checksum
// defect (the caller stops on it).
void Read_OM(a_text_chunk_rec& om, int16_t table_version, a_defect_set& defects);
void Write_XYL(const std::vector<a_text_char>& chars);
void Read_XYL(std::vector<a_text_char>& chars, uint32_t n);
void Read_XYL_400S(std::vector<a_text_char>& chars, uint32_t n);  // 15-byte characters
// Appends the end mark when the last character is not one.
void Add_End_Mark(std::vector<a_text_char>& chars);

// The kept record of text block `objid`; null when none was read.
a_text_chunk_rec* Text_Record_Of(uint32_t objid);
void Text_Record_Keep(uint32_t objid, a_text_chunk_rec rec);
void Text_Records_Clear();
// A record for a text block that has none kept: defaults and the end mark.
a_text_chunk_rec Default_Text_Record();
