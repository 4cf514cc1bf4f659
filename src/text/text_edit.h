// Editing the characters of one text block: which block is edited, its
// caret and selection (the edit record's positions, from 1 before the first
// character to nxyl before the end marker), making room and inserting
// strings. A surrogate pair is one character: no position falls between its
// halves and no insertion keeps half of one.
// Process-wide state: the edit record g_ed (reads and writes), the
// document's current unit.
#pragma once
#include "model/text_rec.h"

// Starts editing block omx of the current unit with the caret at its end;
// false when omx is no text block. `is_new`: the block was made for it.
bool Text_Edit(int omx, bool is_new = false);
// Editing ends; the changes stay.
void Edit_Leave();
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

bool Is_Semitic(char16_t c);
// One character back and forward from pos, a pair counting as one.
int Find_Bak_Char(const a_om_rec& om, int pos);
int Find_Fwd_Char(const a_om_rec& om, int pos);
