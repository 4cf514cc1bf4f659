// The template designer's state: one catalogue record being described by
// hand (name, paper, orientation, units, pitch rule, six groups), its checks,
// and its export as layout text. The dialog that shows it is the window's;
// this module holds no window and never touches the document.
// Process-wide state: the count of exports since start.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "templates/template.h"

// Dialog items whose fields and menus the checks and the window share.
enum a_design_item : int {
    DES_EXPORT = 1, DES_CANCEL = 2, DES_PRINT = 3, DES_NAME = 5, DES_CDPRINTER = 6,
    DES_PAPER = 8, DES_WIDTH = 10, DES_HEIGHT = 12, DES_ORIENT = 14, DES_PITCH = 16,
    DES_UNITS = 18, DES_SECTION = 20, DES_KIND = 22, DES_NX = 24, DES_NY = 26,
    DES_LEFT = 28, DES_TOP = 30, DES_UWIDTH = 32, DES_UHEIGHT = 34, DES_PITCHX = 36,
    DES_PITCHY = 38, DES_MEAS1 = 40, DES_MEAS2 = 42, DES_MEAS3 = 44, DES_MEAS4 = 46,
    DES_BLEEDW = 48, DES_BLEEDN = 50, DES_BLEEDE = 52, DES_BLEEDS = 54,
    DES_STAGGERED = 55, DES_SHORTODD = 56, DES_CLOBBERS = 57, DES_NOTINDEXED = 58,
    DES_CROPMARKS = 59, DES_CLEAR = 60,
    // Strings of the designer's list after the item labels.
    DES_STR_PAPER1 = 61, DES_STR_PORTRAIT = 70, DES_STR_MM = 72, DES_STR_PITCHBETWEEN = 74,
    DES_STR_LAYOUT = 76, DES_STR_TITLE = 77,
    // Why a design cannot be exported, shown beside the field concerned.
    DES_STR_NO_NAME = 78, DES_STR_PAPER_RANGE = 79, DES_STR_NO_GROUP = 80,
    DES_STR_PARTLY = 81, DES_STR_TOO_MANY = 82, DES_STR_OFF_SHEET = 83, DES_STR_IN_SECTION = 84
};

enum : int { NDESIGN_PAPERS = 9, DESIGN_PAPER_CUSTOM = 9 };
// Width x height in millimetres of paper menu item 1 .. 8 (9 is Custom).
a_fpoint Design_Paper_Size(int paper_popx);
// The menu item of a size; Custom when it is none of the eight.
int Design_Paper_Item(a_fpoint size);

enum a_unit_validity { UNITV_EMPTY, UNITV_VALID };

struct a_askdesign_rec {
    a_ctemplate ctemplate{};  // the design; `sort` and `platforms` are not edited
    a_template xtemplate;     // the sorted design expanded, for the preview and the test page
    bool xavail = false;
    bool valid = false;
    bool dispvalid = false;
    int sectionx = 1;     // 1 .. 6
    int orient_popx = 1;  // 1 portrait, 2 landscape
    int paper_popx = 1;   // 1 .. 9
    int units_popx = 1;   // 1 millimetres, 2 inches
    int pitch_popx = 1;   // 1 space between labels, 2 left edge to left edge
    // The geometry as it stood before the last change of units, so that going
    // back gives the very values that were typed.
    a_ctemplate before_units{};
    bool have_before = false;
};

// One failed check: the dialog item it belongs beside and what is wrong.
struct a_design_problem {
    int item = 0;
    int section = 0;  // 1 .. 6 for a group's problem, 0 for the sheet's
    std::string text;
};

// Section 1, portrait, millimetres, space-between pitch, US Letter.
void AskDes_Init(a_askdesign_rec& d);
void AskDes_SetPaper(a_askdesign_rec& d, int paper_popx);
void AskDes_SetOrientation(a_askdesign_rec& d, int orient_popx);
void AskDes_SetPitch(a_askdesign_rec& d, int pitch_popx);
// Converts every group's box, pitch and measures; bleeds and paper stay
// millimetres. Converting back restores values left untouched exactly.
void AskDes_SetUnits(a_askdesign_rec& d, int units_popx);
void AskDes_ClearSection(a_askdesign_rec& d);
// The shown group; its flags keep only the five the dialog offers.
a_cunit& AskDes_Section(a_askdesign_rec& d);
void AskDes_StoreSection(a_askdesign_rec& d, const a_cunit& shown);
// Re-checks validity and expands the design when it is valid.
void AskDes_Store(a_askdesign_rec& d);
// A design read back into the dialog (a user's sheet being edited).
void AskDes_Load(a_askdesign_rec& d, const a_ctemplate& t);

a_unit_validity Is_Unit_Valid(const a_cunit& cunit);
bool AskDes_IsValid(const a_askdesign_rec& d);
// Every failed check of a record, in the order of the dialog's fields.
std::vector<a_design_problem> Design_Problems(const a_ctemplate& t);
// Groups of a kind other than UNIT_EMPTY to the front, in their order.
void Sort_CTemplate(a_ctemplate& dst, const a_ctemplate& src);
// The record the design stands for: sorted, placeholder sort key, both platforms.
a_ctemplate AskDes_Record(const a_askdesign_rec& d);
// The layout text of the design, in the catalogue's own line form.
std::string AskDes_Save2(const a_askdesign_rec& d);
// "LAYOUT" and the number of this export since start, from 1.
std::string AskDes_Export_Name();

// A real field of a packed group by its offset (offsetof(a_cunit, bboxleft)):
// the fields are unaligned, so they are copied, never referred to.
float CUnit_Real(const a_cunit& g, size_t offset);
void CUnit_Set_Real(a_cunit& g, size_t offset, float value);

// Field text of a real: the shortest that reads back as the same value.
std::string Set_EntryF(float value);
// A field that does not read as a number is 0.
float Get_EntryF(const std::string& text);
uint32_t Get_EntryC(const std::string& text);
