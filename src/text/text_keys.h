// The keys of text editing: the finders of positions (by character, word,
// line and the current line's ends), the moves, selections and deletions
// built on them, and the key table that maps a keystroke onto them.
// Process-wide state: the edit record g_ed (reads and writes) through
// text/text_edit.h.
#pragma once
#include <cstdint>

#include "model/text_rec.h"

// White characters: spaces, hard breaks and overflow; false at nxyl.
bool Is_White(const a_om_rec& om, int pos);
int Find_Bak_Word(const a_om_rec& om, int pos);
int Find_Fwd_Word(const a_om_rec& om, int pos);
int Find_Bak_CurrLine(const a_om_rec& om, int pos);
int Find_Fwd_CurrLine(const a_om_rec& om, int pos);
// The position on the line before (after) the caret's nearest to `target`,
// a distance along the line; 1 (nxyl) when there is no such line.
int Find_Bak_Line(const a_om_rec& om, int pos, int32_t target);
int Find_Fwd_Line(const a_om_rec& om, int pos, int32_t target);
// On a spiral: the position a whole turn on (or back) nearest the same
// angle about the centre; the end (start) with less than half a turn there.
int Find_Spiral_Turn(const a_om_rec& om, int pos, bool forward);
// The distance along the line of the caret before character pos (at nxyl,
// the end of the last character).
int32_t Pos_UD(const a_om_rec& om, int pos);

// How a keystroke's finder acts on the selection.
enum a_edit_move : uint8_t {
    MOVE_CHAR, MOVE_WORD, MOVE_LINE, MOVE_CURRLINE, MOVE_ENDS
};
// Collapse to a caret at the found position (by character with a
// selection: its near end); extend (backward moves sel_lo, forward sel_hi);
// delete from the found position to the selection's other end. False, with
// the refusal sound, when nothing moved or nothing was deleted.
bool Edit_Move(a_edit_move how, bool forward);
bool Edit_Extend(a_edit_move how, bool forward);
bool Edit_Delete(a_edit_move how, bool forward);

// Modifier bits of a keystroke.
enum : uint8_t { EMOD_SHIFT = 1, EMOD_OPTION = 2, EMOD_CONTROL = 4, EMOD_COMMAND = 8 };
// Keys that are not characters, by the virtual codes the event layer uses.
enum : uint8_t {
    EKEY_BACK = 0x08, EKEY_RETURN = 0x0D, EKEY_ESCAPE = 0x1B, EKEY_END = 0x23, EKEY_HOME = 0x24,
    EKEY_LEFT = 0x25, EKEY_UP = 0x26, EKEY_RIGHT = 0x27, EKEY_DOWN = 0x28, EKEY_ENTER = 0x29,
    EKEY_DELETE = 0x2E,
};
// One keystroke while a block is edited: `vkey` the key, `ch` the character
// it typed (0 for none; 127 Delete). True when editing took it.
bool Edit_KeyDown(uint8_t vkey, char16_t ch, uint8_t mods);
