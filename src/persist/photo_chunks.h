// The photo record inside a block table: the effect description of a photo,
// symbol or collage-slot block, the codec of its file and its place on the
// unit. Version 2000 carries a version word; version 1 starts with the
// source. Codes of four characters are stored in reverse character order.
// Process-wide state: the open chunk stream g_chunk (reads and writes).
#pragma once
#include <cstdint>

#include "model/photo_rec.h"
#include "persist/project_file.h"

constexpr int16_t PH_RECORD_VERSION = 2000;

void Write_Source(const a_source_desc& s);
// False for a source kind this program does not know (nothing more is read).
[[nodiscard]] bool Read_Source(a_source_desc& s);
void Write_PH_Spec(const a_spec& spec);
void Read_PH_Spec(a_spec& spec);
void Write_PH(const a_ph_rec& ph);
// `table_version` is the block table's (1 or 2). A wrong version word, a bad
// sentinel or an unknown source kind or edge style is a checksum defect and
// leaves `ph` partly read: the caller stops on it.
void Read_PH(a_ph_rec& ph, int16_t table_version, a_defect_set& defects);

// A codec code as read back (reversed): the five codes older writers stored
// in character order become the program's own ("GEPJ" -> "JPEG" ...).
void Canonicalize_Codec(char codec[4]);
void Reverse_Code(char code[4]);
