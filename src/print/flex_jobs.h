// Jobs for disc publishers: the FlexStick folder (ticket, preview, raster
// file) and the FlexLabel print file; the DiscPainter driver's private
// settings filled from the selected medium.
// Process-wide state: the document g_doc, the selected medium and g_print_options (reads); the
// dialog service; the folder-choice service.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "base/notice.h"
#include "base/prefs.h"
#include "platform/cups_job.h"

// The folder the user picks for a FlexStick job when no stick is mounted
// (title: the prompt); "" when cancelled. The interface installs it.
extern a_service<std::string(const std::string& title)> g_flex_folder_choice;

struct a_flex_ticket {
    int copies = 1;
    int speed = 2;  // 1 .. 4: L, M, H, D
    bool burn = true;
    bool print = true;
    bool verify = false;
};
// The 24 ticket bytes, e.g. "<024,01,A,0003,0003,M,1>". A speed outside
// 1..4 counts as the slider's default (2) and copies are kept to 1..9999,
// so that the ticket always has its fixed form.
std::string Flex_Ticket_Text(const a_flex_ticket& t);
[[nodiscard]] bool Flex_Write_Ticket(const std::string& path, const a_flex_ticket& t);
// The project's thumbnail (unit 1) as JPEG at 72 dpi.
[[nodiscard]] bool Flex_Write_Preview(const std::string& path);
[[nodiscard]] bool Flex_Preview_Bytes(std::vector<uint8_t>& out);

// The mount point named "FlexStix" among the mounted removable media
// (`mounts`; the system's under /media and /run/media when empty); "" when none.
std::string Find_FlexStix(const std::vector<std::string>& mounts = {});
// The job's folder: the stick, or after the question a chosen folder.
[[nodiscard]] bool Flex_Calc_Folder(bool& is_stick, std::string& folder);
// Writes flexset.txt, flexlabl.jpg and flexlabl.pcl into `folder` as one
// job: all three are made and written whole before any takes its name, so a
// failure leaves the old job as it was; the ticket is named last. Alert 15
// on failure, with the reason in `error`. A stick is then ejected, and
// alert 59 says it is ready to be removed.
[[nodiscard]] bool FlexStick_Write_Folder(const std::string& folder, bool is_stick,
                                          const a_flex_ticket& t, std::string* error = nullptr);
[[nodiscard]] bool FlexStick_Write_Job();
// "FlexWare Files/Print Files/Output.prn" under `documents` (the XDG
// documents folder when empty); alert 60 on success, 15 on failure.
[[nodiscard]] bool FlexLabel_Write_Job(const std::string& documents = "");

// The DiscPainter driver's private area (68 bytes, little-endian) inside
// its driver-extra bytes, found by its "DYMO" signature.
enum : int { MONET_PRIVATE_SIZE = 68 };
struct a_monet_private {
    char signature[4];
    uint32_t version;
    int32_t print_quality;
    int32_t ink_density[4];
    int32_t media_size;  // 1 = 80 mm disc, 3 = 120 mm disc
    int32_t full_80_inner, full_80_outer, part_80_inner, part_80_outer;
    int32_t full_120_inner, full_120_outer, part_120_inner, part_120_outer;
    int32_t beep;
};
static_assert(sizeof(a_monet_private) == MONET_PRIVATE_SIZE);
// Offset of the signature in `extra`, or -1.
long Find_Monet_Private(const uint8_t* extra, size_t size);
// Fills the record found in `extra` from `media` (a value outside its
// control's range becomes the control's default); false when none is found.
[[nodiscard]] bool Fill_Monet_Private(uint8_t* extra, size_t size, const a_print_media_spec& media,
                                      bool is_120mm);
// The record filled from `media` as the driver's private area would be, and
// its values as job options by name (the diameters of the disc size only),
// with the page size as the PPD's first paper (120 mm) or second (80 mm).
std::vector<a_job_option> Monet_Job_Options(const a_print_media_spec& media, bool is_120mm);
