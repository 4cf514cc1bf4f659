// Text blocks on the current unit: creating them from strings, duplicating
// and pasting, placing new ones, the change brackets that lay them out
// again, moving by each layout's rule, and the services the block
// operations use.
// Process-wide state: the document's current unit (reads and writes), the
// change-bracket counter, the text services.
#pragma once
#include <string>

#include "base/notice.h"
#include "model/selection.h"
#include "model/text_rec.h"
#include "text/text_metrics.h"

// What the interface gives new blocks; without an owner a block keeps the
// sliders' defaults and the base font.
struct a_text_services {
    a_service<void(a_om_rec& om)> sliders_to_om;
    a_service<int()> radius_value;       // the radius slider's value
    a_service<void(int omx)> begin_edit; // text editing on a new empty block
};
extern a_text_services g_text_services;

void Text_Init();
void Text_Stop();

// A new block on the current unit with the interface's settings; its index.
int OM_New();
// Replaces the characters by the NUL-terminated string `ss` (line feeds
// dropped, at most MAX_TEXT_CHARS kept, never half a surrogate pair).
void UniStr_To_OM(a_om_rec& om, const char16_t* ss);
std::u16string OM_To_Str(const a_om_rec& om);  // each CR followed by a LF
// With `fit`, straight and vertical text larger than the unit is made smaller
// to fit it (Text_Fit_Unit).
void Text_New4(int& omx, const char16_t* ss, int radius, Point anchor, Point center, bool fit);
// The size made smaller until the block's frame fits the current unit, not
// below the smallest size; true when the size changed. Only for
// blocks that move freely (circular, spiral, spoke and contour text is laid
// out about the unit already).
bool Text_Fit_Unit(a_om_rec& om, int omx);
// The first baseline's anchor of a new straight block of `size` points on
// a disc: halfway between the edge and the hole, where the text begins
// (left), is centred (centre) or ends (right) on the chord its letters allow.
// False, and nothing changed, for other units and layouts.
bool Disc_Straight_Anchor(const a_text_unit& u, int size, uint8_t justify, uint8_t layout, Point& anchor);
// anchor.h == -1000: no anchor given; on a disc a plain straight block is
// then placed by Disc_Straight_Anchor.
int Text_New2(const char16_t* ubuf, const a_om_rec* basis, Point tanchor, bool fit);
bool Text_Inject_Unicode(const char16_t* ubuf);
bool Text_Inject_Roman(const char* abuf);
bool Text_New_At(Point anchor);
bool Text_New();
// A block holding `ss` with the interface's settings, placed below the first
// selected text block when there is one, and then the only selection: one
// history step. OMX_NONE, with the refusal sound, when the unit is full.
int Text_New_String(const char16_t* ss);
// The characters of text block omx replaced by `ss` (read as UniStr_To_OM
// reads it; the characters' own overrides go) and laid out again: one
// history step. False when omx is no text block or its text is the same.
bool Text_Replace(int omx, const char16_t* ss);
bool OM_Dup(const a_om_rec& basis, int& newx);
bool Do_Paste_OM(const a_om_rec& pasted, int& newx);
// Where a new block without a basis goes on unit `u`.
void Default_Text_Placement(const a_text_unit& u, Point& anchor, Point& center);
void Calc_New_Anchor(const a_om_rec* basis, int& radius, Point& anchor, Point& center);

void Begin_Text_Change(int omx);
void End_Text_Change(int omx);
// Lays the block out unless its layout is current.
void OM_BringUpToDate(int omx);
a_om_rec* Curr_OM(int omx);

// The layout's size limit applied to `size`.
int16_t Clamp_Text_Size(int size, int layout);

// New justification of straight text, moving the anchor along the line so
// that the text stays where it is.
void Set_Text_Block_HJust(a_om_rec& om, uint8_t newjust);
// Moves the anchor to `target` (a coordinate of -10000 stays) by the move class.
void Text_AlignTo(a_om_rec& om, Point target);

a_move_class Text_Move_Class(const a_om_rec& om);
void Text_Move_XY(a_om_rec& om, int dx, int dy);
// New centre; delta.h pixels of radius, delta.v tenths of a degree of angle.
void Text_Move_Polar(a_om_rec& om, const a_text_unit& u, Point new_center, Point delta);
// The mouse dragged from `start` to `now` (cells): the block turns about its
// centre by the angle between them, in whole degrees.
void Text_Drag_Polar(a_om_rec& om, const a_text_unit& u, Point start, Point now);
// One arrow press (signs -1, 0, 1; signy -1 is up) by the block's move
// class: straight text moves 1 cell, 10 with shift, in screen pixels turned
// into cells by `cells_per_pixel` (contour text only up and down);
// circular, spiral and spoke text turns 1 degree a horizontal press
// (against the arrow for clockwise text and spokes) and grows by 5 screen
// pixels (at least one percent) an upward press, ten times as much with
// shift, within the sliders' ranges. False when nothing moved.
bool Text_Nudge(a_om_rec& om, const a_text_unit& u, int signx, int signy, bool shift,
                a_ratio cells_per_pixel = a_ratio{});
// The arrow keys in the text phase: the first selected text block nudged,
// laid out, drawn again and one history step; the refusal sound at a limit.
bool Text_Nudge_Selected(int signx, int signy, bool shift, a_ratio cells_per_pixel = a_ratio{});
