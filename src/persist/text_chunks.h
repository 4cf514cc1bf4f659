// The text record inside a block table, read into and written from the
// block's own record. Version 3000 with characters of 35 bytes (their own
// version word, 4000); block tables of version 1 hold characters of 15 bytes
// without it. Only the stored members are written; layout results are
// recomputed, so a record read has empty caches. Every record read ends with
// the end mark.
// Process-wide state: the open chunk stream g_chunk (reads and writes).
#pragma once
#include <cstdint>

#include "model/text_rec.h"
#include "persist/project_file.h"

constexpr int16_t OM_RECORD_VERSION = 3000;
constexpr int16_t XYL_VERSION = 4000;

void Write_OM(const a_om_rec& om);
// A wrong version word or sentinel, more characters than the block holds or
// the chunk has, or a layout or justification out of range is a checksum
// defect (the caller stops on it and frees the record).
void Read_OM(a_om_rec& om, int16_t table_version, a_defect_set& defects);
void Write_XYL(const a_om_rec& om, int32_t n);  // characters 1 .. n
void Read_XYL(a_om_rec& om, int32_t n);
void Read_XYL_400S(a_om_rec& om, int32_t n);  // 15-byte characters
// Appends the end mark when the last character is not one; false when the
// block has no room for it.
bool Add_End_Mark(a_om_rec& om);
