// Printing the document: the job, the page and each unit placed on the
// sheet; crop marks, test pages with colour bars and corner marks, and the
// export of one unit as a picture.
// Process-wide state: the document g_doc (reads), the printer job, the mapping stack and the unit
// cache (reads and writes), the dialog service.
#pragma once
#include <cstdint>
#include <string>

#include "base/notice.h"
#include "platform/printer.h"
#include "templates/template.h"

enum a_print_purpose : int { PURPOSE_TEST_BARS = 0, PURPOSE_TEST = 1, PURPOSE_PRINT = 2 };

// Where the page goes; the printer layer's job without what the document sets.
struct a_print_target {
    a_vp_target target = VP_QUEUE;
    std::string queue;
    std::string pdf_path;
    int dpi = 300;
};
extern a_print_target g_print_target;

// The printing dialog of a job, with its stop button (VP_Abort); the
// interface installs it. Called with page 0 when the job starts, with the
// page being printed (1 .. pages) before it and again between its labels, so
// that the window can take a press of the stop button, and with
// PRINTING_ENDED when the job is over.
enum : int { PRINTING_ENDED = -1 };
extern a_service<void(int page, int pages)> g_printing_dialog;

// Alert 48 when nothing is to be printed; the Letter-size DVD-wrap question.
bool Print_Doc();   // with the printer dialog
bool Print1_Doc();  // without it
bool Print_Doc1(bool askjob);
bool Print_Test();  // a test page of the document
// A test page, without colour bars, of another template (a layout being
// designed), its labels numbered and the sheet ruled in millimetres: the
// document, open or not, is left as it was.
bool Print_Template(const a_template& targ_template);
// True when the job was started and finished. A stopped job ends with alert
// 20, a failed one with alert 15 (a PDF file) or 106.
bool Print_Doc2(bool askjob, int purpose);
void Print_Doc3(int purpose);
void Print_Unit(uint32_t ux, int purpose);
void Print_Unit2(uint32_t ux);

bool Is_Null_Print();
// Where unit `ux` lands on the page, in device dots (sheet mapping pushed).
Rect Print_Dest_Rect(uint32_t ux, bool bleedf);
// Crop marks of a cut unit, drawn into the page's overlay.
void Print_CropMarks(uint32_t ux);
void Print_Paper_Test(uint32_t ux, bool colorbarf);
void Print_Direct_Test(uint32_t ux, bool colorbarf);
void Draw_Corner_Mark(const std::string& msg, int cornerx, int cornery);
uint32_t Calc_Color_Bar_Unit();
void Draw_Color_Bars(const Rect& box, int kind, bool colorbarf);
std::string Get_Template_Name();

// The unit rendered with its turns and mirrors (a clone: its master's
// picture), as a picture at `dpi` (rendered again at that size where the
// design surface is coarser, as a disc's is); alert 49 with the error number on failure,
// and the reason in `error` when asked.
bool Export_Unit(const std::string& path, int format, uint32_t ux, std::string* error = nullptr,
                 int dpi = 300);
// The resolutions an export or a PDF is offered at, and the Export menu's choice.
constexpr int EXPORT_DPIS[] = {300, 600};
extern int g_export_dpi;
// An item of the Export menu: the save dialog offers the document's name
// with the format's suffix, then the current unit is exported at g_export_dpi.
void Export_Project(int16_t format);
// The current unit's picture as a one-page PDF of the unit's size, at `dpi`,
// through the atomic save: a failure keeps any old file and says why (alert 15).
bool Export_Unit_PDF(const std::string& path, uint32_t ux, int dpi, std::string* error = nullptr);
// The save dialog in the format's place asks for a PDF named after the project.
constexpr int16_t FMT_PDF_EXPORT = -1;
void Export_Project_PDF();
