// The undo history: a ring of 16 slots holding up to 15 steps (one slot
// always stays free), each a snapshot of the whole document taken after an
// operation. The newest snapshot stays in memory; it is written to an undo
// file of its own when a newer step or a flush is about to replace it. A step
// whose snapshot could not be kept or written, or whose file proves damaged,
// is never restored: undo to it is refused and the ring stays as it is.
//
// History_Init installs the recording behind History_Emit, History_Set_Pending,
// History_Base and History_Flush (model/notices.h), so the document, block,
// canvas and slider code reach it without knowing it; without it they record
// nothing.
// Process-wide state: g_hist, pending_op, the snapshot `ram` and the undo files in the private
// folder (reads and writes); the document g_doc (reads; restoring writes); sends the document
// notices and plays sounds.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "model/history_ops.h"
#include "platform/geometry.h"

enum : int { NHIST_SLOTS = 16 };

struct a_hist_state {
    uint32_t seq = 0;   // the step's number from cumseq
    uint32_t unit = 0;  // the current unit when it was recorded
    a_history_op op = OP_NOP;
    std::string path;      // its undo file; empty when the slot has none
    int32_t len = 0;       // bytes in the file
    bool file_ok = false;  // the file holds the step, whole
    // The step's image when its file could not be written: the most
    // recent of those stay in memory instead.
    std::vector<uint8_t> kept;
};

struct a_hist_rec {
    a_hist_state list[NHIST_SLOTS];
    int32_t lo = 0;     // slot of the oldest kept step
    int32_t hi = 0;     // slot after the newest (lo == hi: empty)
    int32_t curr = -1;  // slot the document shows; -1 none
    uint32_t cumseq = 0;
};

extern a_hist_rec g_hist;
extern a_history_op pending_op;  // recorded when the interaction ends; OP_NOP none

// One step of wrap-around into 0 .. 15.
int Modulo(int slot);

// Program start: no slot has a file, indices and counter 0, no snapshot.
void History_Null();
// Installs the recording services; History_Stop removes them and deletes
// every undo file with the private folder.
void History_Init();
void History_Stop();

// The bracket of every command, key and click: Begin clears pending_op; End
// records it (a whole slider drag becomes one step). The caller brings the
// current unit up to date before End.
void History_Begin_Interaction();
void History_End_Interaction();

// Whether the step in `slot` can be shown again: it is the snapshot in
// memory, or its undo file holds it whole.
bool Is_Restorable(int slot);
// The slots to restore for redo and undo; -1 when not available.
void Calc_Undo_Avail(int& redox, int& undox);
// The operations the Edit menu names (OP_NOP when not available).
void Is_Undo_Avail(a_history_op& op_redo, a_history_op& op_undo);
struct a_undo_menu_items {
    std::string undo_text, redo_text;  // "Undo" / "Redo", a blank and the label
    bool undo_enabled = false, redo_enabled = false;
};
// Both are disabled while collage slots are being filled.
a_undo_menu_items Undo_Menu_Items();

// Forgets the steps after the one in `slot`, which the document shows
// again (a collage's own steps once it is left: they describe slots that
// are gone). False, and nothing changed, when that step is no longer kept.
bool History_Drop_After(int slot);
// Makes the document show the step in `slot`; false (nothing changed) when
// that step cannot be restored.
[[nodiscard]] bool Restore_State(int slot);
void Undo_Button();  // with its sound, or the refusal sound
void Redo_Button();
void Undo_Silent();

// The history panel's model: one box per kept step, oldest on top.
enum : int { HIST_BOX_HEIGHT = 18 };
std::string Calc_Op_Label(a_history_op op);
// The box of the n-th kept step (0 the oldest) in a panel of `frame`.
Rect Calc_Hist_Box(const Rect& frame, int n);
// The slot of the step whose box is under `pt`; -1 beside the boxes.
int History_Find(const Rect& frame, Point pt);
// A click in the panel: restores that step (sound 130), or the refusal
// sound for the current step, an unrestorable one and beside the boxes.
void History_MouseDown(const Rect& frame, Point pt);
