// Editing the characters of one text block: which block is edited, its
// caret and selection (the edit record's positions, from 1 before the first
// character to nxyl before the end marker), making room and inserting
// strings. A surrogate pair is one character: no position falls between its
// halves and no insertion keeps half of one.
// Process-wide state: the edit record g_ed (reads and writes), the
// document's current unit.
#pragma once
#include <vector>

#include "model/text_rec.h"

// Starts editing block omx of the current unit with the caret at its end;
// false when omx is no text block. `is_new`: the block was made for it.
bool Text_Edit(int omx, bool is_new = false);
// Editing ends; the changes stay. Without a history step: Edit_OK and
// Edit_Cancel are the ways out that a person takes.
void Edit_Leave();
// Editing ends keeping the changes, as one OP_TEXT_EDIT step when the
// characters changed since editing began (or since the last step made
// while editing).
void Edit_OK();
// Editing ends and the changes since the last step go: the step is made and
// silently undone. A block made for this editing goes with it.
void Edit_Cancel();
// The edited block's characters changed (the next Edit_OK has a step to make),
// and a step was just made that holds them.
void Edit_Changed();
void Edit_Recorded();
bool Edit_Has_Changes();
// The block being edited when it is on the current unit (and its index).
a_om_rec* Edited_OM(int* omx = nullptr);

// The selection from a to b in either order, limited to the block and kept
// off the inside of surrogate pairs; marks the block for drawing.
void Set_Sel_Range(int a, int b);
void Set_Sel_Empty(int pos);
bool Is_Text_Range();

// Shifts characters at .. nxyl up by n and zero-fills the n new entries;
// shifts them down over n entries at `at`.
void Ins_N(a_om_rec& om, int n, int at);
void Del_N(a_om_rec& om, int n, int at);
// Room to replace the selection by `len` characters, reusing the selected
// entries first (their overrides carry over); len is cut to the free
// entries. The length made room for, or -1 refused (no room at all) with
// the refusal sound. Inside a text change.
int Prepare_For_Insertion(int len);
// Replaces the selection by the string (line feeds dropped) and puts the
// caret after it, or at its start when the text is right-to-left.
bool Ed_Ins_UBuf(const char16_t* ubuf);

// The selected characters deleted, leaving a caret; false with nothing selected.
bool Del_Range();

// Per-character overrides set on every selected character: the x nudge
// goes to the first one only (it opens a gap before the run).
struct a_char_overrides {
    int16_t size = 100;   // percent of the block's size
    int16_t angle = 0;    // tenths of a degree
    int16_t dx = 0, dy = 0;
    bool bold = false, italic = false, underline = false;
};
// False with no selection.
bool Apply_Overrides(const a_char_overrides& o);
// The overrides of the first selected character (the override sliders
// show them).
a_char_overrides Sel_Overrides();
// A colour (alpha 0: the block's) or a font (0: the block's) for every
// selected character; false with no selection.
bool Apply_Range_Color(a_win_pixel32 color);
bool Apply_Range_Font(uint32_t fontx);

bool Is_Semitic(char16_t c);
// One character back and forward from pos, a pair counting as one.
int Find_Bak_Char(const a_om_rec& om, int pos);
int Find_Fwd_Char(const a_om_rec& om, int pos);

// Replaces the selection by a run of characters with their overrides (as
// the clipboard holds it), cut to the free entries without halving a pair;
// the caret goes after it. False, with the refusal sound, with no room.
bool Ed_Ins_Run(const std::vector<a_xyl_char>& run);
