// The printer: CUPS queues through the toolkit's print support and PDF
// files through its PDF writer into an atomic save; one job of one page at
// a time, in device dots. A third target paints into memory, for tests and
// previews.
// Process-wide state: the one open job (reads and writes).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/cups_job.h"
#include "platform/geometry.h"
#include "platform/port.h"

struct a_region;

enum a_vp_target : uint8_t { VP_QUEUE, VP_PDF, VP_IMAGE };

struct a_vp_job {
    std::string name;          // the spooler's job name
    std::string title;         // the document's name (the PDF's title)
    int flags = 0;             // bit 0: a DiscPainter template
    a_fpoint paper_fed{0, 0};  // millimetres, as the sheet enters the printer
    bool landscape = false;    // device coordinates in the landscape frame
    bool ask = false;          // the print dialog, where a window can show it
    int copies = 1;
    a_vp_target target = VP_QUEUE;
    std::string queue;         // "" for the default queue
    std::string pdf_path;
    int dpi = 300;             // page resolution
    // A DiscPainter template's settings, sent as the job options its queue's
    // PPD offers when the job goes to a DiscPainter queue.
    std::vector<a_job_option> options;
};

struct a_printer_desc {
    std::string name;        // the CUPS queue
    std::string make_model;  // as the driver names the printer
    std::string location;
    bool is_default = false;
    bool is_discpainter = false;
};

std::vector<a_printer_desc> Printer_List();
// A DYMO DiscPainter (Copytrax Monet class) driver by its name.
bool Is_DiscPainter_Name(const std::string& make_model);
// The first DiscPainter queue, "" when none is installed.
std::string DiscPainter_Queue();
// True when a queue can be printed to: the one chosen, else the default.
bool Is_Printer_Avail();
// The queue later jobs go to ("" for the default); false for an unknown one.
bool Print_Setup(const std::string& queue);
std::string Printer_Chosen();

enum a_vp_result : uint8_t { VP_OK, VP_NO_PRINTER, VP_CANCELLED, VP_FAILED };
// Starts a job; on VP_OK VP_Stop must follow. A DiscPainter template's job
// without a queue of its own goes to the DiscPainter queue when there is
// one; there it is written as PDF and sent with its options, without a
// dialog.
a_vp_result VP_Init(const a_vp_job& job);
bool VP_OpenDoc();
// Starts the page: sets the resolution and `paperbox`.
bool VP_OpenPage();
int VP_Resolution();
// The sheet in device dots; its top-left is minus the printable area's offsets.
Rect VP_PaperBox();
// Stretches 32-bit pixels onto `destbox`, inside `clip` when it is not empty.
// `photo` lets a PDF keep them as JPEG; else they stay lossless. The same
// non-zero `key` within a page names the same unchanged pixels (a clone's
// master), which a PDF then holds once.
void VP_Blt(const a_region* clip, const Rect& destbox, const a_port_bits& bits, bool photo,
            uint64_t key = 0);
// The same with white left transparent (lines and marks over the page).
void VP_Blt_Overlay(const Rect& destbox, const a_port_bits& bits);
// Text in the interface font at `points`, with its baseline at v; `centred`
// centres it on h, else it starts at h.
void VP_Text(int h, int v, const std::string& utf8, double points, uint32_t rgb, bool centred);
void VP_ClosePage();
void VP_CloseDoc();
// The user's stop button.
void VP_Abort();
// Whether the stop button was pressed in the open job.
bool VP_Stopped();
// Ends the job; VP_CANCELLED when the user stopped it (the document was
// then aborted), VP_FAILED when it could not be finished.
a_vp_result VP_Stop(int flags);

// Why the last job failed, in one line ("path: reason" for a PDF file);
// empty when it did not fail or nothing said why.
std::string VP_Error();

// The last page of a VP_IMAGE job: 32-bit pixels (B, G, R, pad), rows of w.
bool VP_Page_Image(std::vector<uint32_t>& pixels, int& w, int& h);
