// Importing a project of the previous major version into the current unit
// of the open document: its paint, text blocks and photos are carried from
// the old picture (`map_src`, fixed by the old layout kind) onto the unit's
// paint area (`map_dst`), places by each axis, sizes by the height; its
// canvas choice comes along when the unit's shape has that canvas. The
// file is read and checked whole before anything changes: a damaged one,
// or one that would overfill the unit, leaves the document as it was.
// Process-wide state: the document g_doc (reads and writes its current
// unit); the effects cache (writes); the last report of disc_read.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "model/photo_rec.h"
#include "model/text_rec.h"
#include "persist/v3_read.h"

// From the old picture onto the unit: the two rectangles and the unit's
// height in points.
struct a_v3_mapping {
    Rect map_src;
    Rect map_dst;
    double unit_points = 0;
};

// Each coordinate carried linearly from map_src's range onto map_dst's.
void Apply_Mapping(const Rect& map_src, const Rect& map_dst, Point old, Point& out);
// The mapping for old layout kind `kind` onto unit `ux` of the open document.
a_v3_mapping V3_Mapping_For(int kind, uint32_t ux);

// The old fonts' new numbers: each name looked up among the installed
// fonts, font 1 when it is not there (`missf` set).
struct a_v3_font_map {
    int16_t old_number = 0;
    uint32_t fontx = 1;
};
void Font_Table_Read(const std::vector<a_v3_font>& fonts, bool& missf, std::vector<a_v3_font_map>& mapping);
uint32_t Use_Mapping(const std::vector<a_v3_font_map>& mapping, int16_t old);

// The old characters as UTF-16: Mac Roman, each carriage return followed by
// a line feed, up to the end mark, at most 3999 units.
std::u16string V3_OM_To_Str(const std::vector<uint8_t>& chars);
// An old text record as a new block's record (not yet laid out).
void V3_Text_Convert(const a_v3_text& t, const a_v3_mapping& m, uint32_t fontx, Point center, a_om_rec& om);
// An old photo record's adjustments and place (its source is the caller's).
void V3_Photo_Convert(const a_v3_photo& p, const a_v3_mapping& m, a_ph_rec& ph);

// The import of the old project in `bytes` (read from `path`, whose folder
// is searched for linked pictures that moved) into the current unit. False,
// with the defects in Disc_Report() and nothing changed, when the file is
// damaged or the unit cannot take its blocks.
[[nodiscard]] bool Read_V3_Into(std::vector<uint8_t>& bytes, const std::string& path);
// The same from the file.
[[nodiscard]] bool Read_V3(const std::string& path);
