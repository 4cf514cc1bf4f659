// Reading a project into the document: every record is checked, every
// damage recorded as a defect, and reading goes on only while no serious
// defect is set. Also the two probes of the open dialog.
// Process-wide state: the document g_doc (writes); the open chunk stream
// g_chunk (reads); the effects cache (writes); the media entries of the
// preferences (reads and writes); the dialog service; the last report.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "base/notice.h"
#include "persist/project_file.h"
#include "pixels/pixmap.h"

// The most bytes a project may have; larger files are refused unread.
constexpr size_t DISC_MAX_BYTES = size_t(1) << 30;

// What the last Read_DISC found.
struct a_disc_report {
    a_defect_set defects = 0;
    std::vector<std::string> notes;  // one line each, for the user
    uint32_t text_blocks = 0;        // text blocks read
    int missing_pictures = 0;        // shown as the missing-picture pattern
    int unknown_blocks = 0;          // blocks of a kind unknown here, read as photos
};
const a_disc_report& Disc_Report();
// The report as a reader fills it.
a_disc_report& Disc_Report_Edit();
void Disc_Report_Clear();
void Disc_Report_Note(const std::string& note);

// The font remapping dialog: the substitute's number for a missing font
// (with its stored sample, which may be a null map); 0 keeps it missing.
// Without an owner the base proportional font is taken, and the question is
// logged through the dialog service.
extern a_service<uint32_t(const a_font_map_entry& entry, const PixMap& sample)> g_font_subst_dialog;

// Reads the project at `path` into g_doc, closing the open document first.
// True when no serious defect was found; otherwise no document is left open.
// With `append` (the import mode) the design of the project's unit of the
// current unit's number is added to the current unit instead
// (Import_DISC_Bytes), and a project of the previous
// major version (version 7) into the current unit (Read_V3_Into); without
// `append` such a project answers with alert 53.
[[nodiscard]] bool Read_DISC(bool append, const std::string& path);
// The same over bytes in memory; `path` names the project's folder for
// repairs (may be empty).
[[nodiscard]] bool Read_DISC_Bytes(std::vector<uint8_t>& bytes, const std::string& path);

// The reading itself: the project into g_doc, which is replaced (its old
// document closed) once the template reads; nothing is finished.
[[nodiscard]] bool Read_Project(std::vector<uint8_t>& bytes, const std::string& path, bool& replaced);
void Read_Unit(uint32_t ux, a_defect_set& defects);
void Read_Object_Table(a_doc_unit& u, uint32_t ux, a_defect_set& defects);
void Ask_Font_Subst(std::vector<a_font_map_entry>& table);

[[nodiscard]] bool Is_DISC_File(const std::string& path);
// The stored 32-bit preview into `preview` (a new map the caller disposes);
// false when the file has none, or one of another depth.
[[nodiscard]] bool Scan_DISC_Preview(PixMap& preview, const std::string& path);
