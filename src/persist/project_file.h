// The project file: one chunk stream after a 4-byte preamble (signature
// 0xCDCD, format version 8) holding the whole document. This module writes
// and reads its chunks one record at a time; each reader records what is
// wrong in a set of defects and leaves the rest to the caller, which goes on
// only while no serious defect is set.
//
// Process-wide state: the open chunk stream g_chunk (reads and writes); the
// document g_doc and the media entries of the preferences g_pref (reads and
// writes, for the media settings).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "model/document.h"
#include "templates/template.h"

constexpr uint16_t DISC_SIGNATURE = 0xCDCD;
constexpr uint16_t DISC_VERSION = 8;
constexpr int32_t DISC_PREAMBLE_BYTES = 4;
constexpr uint16_t DISC_SENTINEL = 0x1234;

// Bit n of a defect set is member n.
enum a_defect : uint8_t {
    DEFECT_FILE_OPEN = 0,
    DEFECT_FILE_SIGNATURE = 1,
    DEFECT_FILE_VERSION = 2,
    DEFECT_IO_ERROR = 3,
    DEFECT_UNIT_MISSING = 4,
    DEFECT_UNIT_VERSION = 5,
    DEFECT_OBJTABLE_MISSING = 6,
    DEFECT_OBJTABLE_VERSION = 7,
    DEFECT_UHDR_MISSING = 8,
    DEFECT_UHDR_VERSION = 9,
    DEFECT_TMPL_MISSING = 10,
    DEFECT_TMPL_VERSION = 11,
    DEFECT_FONTTABLE_MISSING = 12,
    DEFECT_FONTTABLE_VERSION = 13,
    DEFECT_EMBED_VERSION = 14,
    DEFECT_V3 = 15,
    DEFECT_CHECKSUM = 16,
    DEFECT_FONT_NOTAVAIL = 17,
};
using a_defect_set = uint32_t;

inline void Add_Defect(a_defect_set& set, a_defect d) { set |= a_defect_set(1) << d; }
inline bool Has_Defect(a_defect_set set, a_defect d) { return (set >> d) & 1; }
// Only a missing font is not serious: the user picks a substitute.
inline bool No_Serious_Defects(a_defect_set set) { return (set & 0xFFFDFFFFu) == 0; }

// The preamble at the start of `file`; false when the signature or the
// version is wrong (recorded), or the file is shorter than the preamble.
[[nodiscard]] bool Read_V4_Preamble(const std::vector<uint8_t>& file, a_defect_set& defects);
void Write_V4_Preamble();

// "TMPL", 1: the expanded template. The reader refuses (as a template
// defect) a version other than 3, paper outside 50 .. 1000 mm, more units
// than a document holds or than the chunk's length can carry, and unit
// kinds this program does not know.
void Write_Template(const a_template& t);
void Read_Template(a_template& t, a_defect_set& defects);
// "LAYT", 1: the layout text of the sheet when it is one of the user's own
// (or carried by a project opened before), so that the project brings its
// sheet to a machine whose catalogue lacks it. Older projects have none.
// The reader validates the text as any layout file: one record, named as the
// template, passing the designer's checks, not a built-in sheet's name;
// anything else is a template defect. `sheet` receives the record.
void Write_Sheet_Text(const a_template& t);
void Read_Sheet_Text(const a_template& t, a_ctemplate& sheet, bool& found, a_defect_set& defects);
void Write_UnitSpec(const a_unit& u);
void Read_UnitSpec(a_unit& u);

// "UNIT", ux: a unit's header (its flags, points and canvas choice). The
// reader records a missing chunk, a version other than 5, a sentinel other
// than 0x1234, and values no unit can have (a clone as unit 1, a paint area
// larger than any sheet).
void Write_UnitHeader(const a_doc_unit& u, uint32_t ux);
void Read_UnitHeader(a_doc_unit& u, uint32_t ux, a_defect_set& defects);

// "DIRE", 1: the document's current media entry, written only for a
// template of a direct disc printer. Reading takes only version 1: an entry
// of the preferences with the same label (first 63 characters) becomes the
// document's; otherwise the stored entry replaces the third one.
void Write_Media_Specs();
void Read_Media_Specs();

// "PAI1" and "MSK1", ux: a unit's paint layer, its 32-bit world and 8-bit
// mask, both stored only over the bounding box of the painted pixels.
// Reading makes the unit's paint layer exactly when a "PAI1" is there, on
// the unit's paint area, and copies the stored pixels to their places.
void Write_Paint_Layer(const a_doc_unit& u, uint32_t ux);
void Read_Paint_Layer(a_doc_unit& u, uint32_t ux);

// "FONT", 1: the fonts of the document's text blocks, each once, at most 400:
// this run's number of the font and its family name. Reading maps every
// stored number to this run's number of the same family (0 when it is not
// installed, which is recorded as a missing font), repairing names stored
// with their bytes swapped.
constexpr uint32_t MAX_FONT_TABLE = 400;
struct a_font_map_entry {
    std::u16string name;
    uint32_t stored_fontx = 0;  // the number in the file
    uint32_t new_fontx = 0;     // this run's number; 0 while missing
};
void Write_Font_Table(const std::vector<uint32_t>& fontxs);
void Read_Font_Table(std::vector<a_font_map_entry>& table, a_defect_set& defects);
// The font that replaces stored number `fontx` when a text block is read:
// its entry's new number, 1 for an entry still missing, the base
// proportional font for a number the table does not list.
uint32_t Find_In_Mapping_Table(const std::vector<a_font_map_entry>& table, uint32_t fontx);
// A name whose first three units have a zero low byte and a non-zero high
// byte was stored with its bytes swapped.
bool Is_Wrong_Endian_UString(const char16_t* name);
void Swap_Endian_UString(char16_t* name, size_t units);
