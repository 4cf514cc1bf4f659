#include "model/history.h"

#include <vector>

#include "base/messages.h"
#include "base/string_ids.h"
#include "model/document.h"
#include "model/notices.h"
#include "model/paint_backup.h"
#include "model/selection.h"
#include "model/snapshot.h"
#include "model/undo_files.h"
#include "platform/private_folder.h"
#include "platform/sound.h"

a_hist_rec g_hist;
a_history_op pending_op = OP_NOP;

namespace {

enum : int { SND_HISTORY_CLICK = 130 };

a_listener_token g_tokens[5] = {};

// The step whose document the file holds, 0 for none: undoing or redoing
// back to it leaves the document unchanged again.
uint32_t g_saved_seq = 0;

void Play(int snd) {
    g_doc_services.play_sound.Call_Or([snd] { Sound_Play(snd); }, snd);
}

a_history_op To_Op(int op) {
    return op > OP_NOP && op < NHISTORY_OPS ? static_cast<a_history_op>(op) : OP_NOP;
}

// The newest snapshot is written to its undo file only when it is about to
// leave memory: a step nothing follows (the one an opening records, say)
// costs no file.
bool g_newest_unwritten = false;

// `reused`: the slot a new step is about to take; its old snapshot is not kept.
void Write_Newest(int reused) {
    if (!g_newest_unwritten || ram.slot < 0) return;
    g_newest_unwritten = false;
    if (ram.slot == reused) return;
    Background_Start();
    Background_Write(g_hist.list[ram.slot], ram.slot);
}

void Record_Step(int op_code) {
    a_history_op op = To_Op(op_code);
    if (op == OP_NOP) return;
    Wait_Background();
    Write_Newest(Modulo(g_hist.curr + 1));
    g_hist.curr = Modulo(g_hist.curr + 1);
    a_hist_state& s = g_hist.list[g_hist.curr];
    s.seq = ++g_hist.cumseq;
    s.op = op;
    s.unit = g_doc.upx;
    g_hist.hi = Modulo(g_hist.curr + 1);
    if (g_hist.hi == g_hist.lo) g_hist.lo = Modulo(g_hist.lo + 1);
    s.file_ok = false;  // until the new snapshot is written
    g_newest_unwritten = Doc_To_RAM(g_hist.curr);
    if (op != OP_START) g_doc.doc_changed = true;
    pending_op = OP_NOP;
    g_doc_notices.history.Emit();
}

void Set_Pending(int op) { pending_op = To_Op(op); }

void Start_Base() {
    for (a_hist_state& s : g_hist.list) Delete_Undo_File(s);
    g_newest_unwritten = false;
    RAM_Dispose();
    g_hist.curr = -1;
    g_hist.lo = g_hist.hi = 0;
    Record_Step(OP_START);
    g_saved_seq = g_hist.list[g_hist.curr].seq;
}

void Mark_Saved() { g_saved_seq = g_hist.curr >= 0 ? g_hist.list[g_hist.curr].seq : 0; }

void Flush() {
    Wait_Background();
    Write_Newest(-1);
    RAM_Dispose();
    g_doc_notices.history.Emit();
}

// What the phases reload after the document changed under them.
void Refresh_After_Restore() {
    g_doc_notices.history.Emit();
    // Every composite is stale, whether or not a view listens for the notice.
    for (uint32_t ux = 1; ux <= g_doc.doc_template.nunits; ++ux) {
        if (a_doc_unit* u = g_doc.doc_units[ux]) u->render_dirty = u->paintbounds;
        Notice_Unit_Dirty(ux);
    }
    if (g_doc.up && !g_doc.up->clonef) {
        switch (g_block_bar) {
            case PHOTO_BAR: Obj_Select_None_Except(PHOTO_BLOCK); break;
            case SYMBOL_BAR: Obj_Select_None_Except(SYMBOL_BLOCK); break;
            case TEXT_BAR: Obj_Select_None_Except(TEXT_BLOCK); break;
            default: break;
        }
    }
    g_doc_notices.block_count.Emit();
    g_doc_notices.selection.Emit();
    g_doc_notices.restored.Emit();
}

// The undo or redo with its sound; the refusal sound when it cannot be done.
void Step_To(int slot, int snd) {
    bool ok = slot >= 0 && Restore_State(slot);
    if (!ok) return Play(SND_REFUSED);
    if (snd) Play(snd);
}

int Kept_Steps() { return Modulo(g_hist.hi - g_hist.lo); }

}  // namespace

bool Is_Restorable(int slot) {
    return slot >= 0 && slot < NHIST_SLOTS &&
           (slot == ram.slot || g_hist.list[slot].file_ok || !g_hist.list[slot].kept.empty());
}

int Modulo(int slot) {
    if (slot < 0) return slot + NHIST_SLOTS;
    if (slot >= NHIST_SLOTS) return slot - NHIST_SLOTS;
    return slot;
}

void History_Null() {
    for (a_hist_state& s : g_hist.list) s = a_hist_state{};
    g_hist.lo = g_hist.hi = 0;
    g_hist.curr = -1;
    g_hist.cumseq = 0;
    g_saved_seq = 0;
    pending_op = OP_NOP;
    g_newest_unwritten = false;
    RAM_Dispose();
}

void History_Init() {
    History_Null();
    Undo_Files_Forget_Told();
    (void)Private_Folders_Sweep();  // undo files of programs that were killed
    g_tokens[0] = g_doc_services.history_emit.Install(Record_Step);
    g_tokens[1] = g_doc_services.history_pending.Install(Set_Pending);
    g_tokens[2] = g_doc_services.history_base.Install(Start_Base);
    g_tokens[3] = g_doc_services.history_flush.Install(Flush);
    g_tokens[4] = g_doc_services.history_saved.Install(Mark_Saved);
}

void History_Stop() {
    g_doc_services.history_emit.Remove(g_tokens[0]);
    g_doc_services.history_pending.Remove(g_tokens[1]);
    g_doc_services.history_base.Remove(g_tokens[2]);
    g_doc_services.history_flush.Remove(g_tokens[3]);
    g_doc_services.history_saved.Remove(g_tokens[4]);
    Background_Stop();
    Undo_Dispose();
    for (a_hist_state& s : g_hist.list) Delete_Undo_File(s);
    Private_Folder_Remove();
    History_Null();
}

void History_Begin_Interaction() { pending_op = OP_NOP; }

void History_End_Interaction() {
    if (pending_op != OP_NOP) History_Emit(pending_op);
}

void Calc_Undo_Avail(int& redox, int& undox) {
    redox = undox = -1;
    if (!g_doc.doc_open || g_hist.lo == g_hist.hi || g_hist.curr < 0) return;
    int u = Modulo(g_hist.curr - 1), r = Modulo(g_hist.curr + 1);
    if (g_hist.curr != g_hist.lo && Is_Restorable(u)) undox = u;
    if (g_hist.curr != Modulo(g_hist.hi - 1) && Is_Restorable(r)) redox = r;
}

void Is_Undo_Avail(a_history_op& op_redo, a_history_op& op_undo) {
    int redox, undox;
    Calc_Undo_Avail(redox, undox);
    op_undo = undox >= 0 ? g_hist.list[g_hist.curr].op : OP_NOP;
    op_redo = redox >= 0 ? g_hist.list[redox].op : OP_NOP;
}

a_undo_menu_items Undo_Menu_Items() {
    a_history_op op_redo, op_undo;
    Is_Undo_Avail(op_redo, op_undo);
    if (g_block_bar == COLLAGE_BAR) op_redo = op_undo = OP_NOP;
    a_undo_menu_items m;
    Get_DLOG_String(STR_UNDO, m.undo_text);
    Get_DLOG_String(STR_REDO, m.redo_text);
    m.undo_enabled = op_undo != OP_NOP;
    m.redo_enabled = op_redo != OP_NOP;
    if (m.undo_enabled) m.undo_text += " " + Calc_Op_Label(op_undo);
    if (m.redo_enabled) m.redo_text += " " + Calc_Op_Label(op_redo);
    return m;
}

bool History_Drop_After(int slot) {
    if (slot < 0 || slot >= NHIST_SLOTS || g_hist.lo == g_hist.hi || g_hist.curr < 0) return false;
    if (Modulo(slot - g_hist.lo) >= Modulo(g_hist.hi - g_hist.lo)) return false;  // no longer kept
    Wait_Background();
    g_hist.curr = slot;
    g_hist.hi = Modulo(slot + 1);
    pending_op = OP_NOP;
    if (g_doc.doc_open) g_doc.doc_changed = g_doc.doc_new || g_hist.list[slot].seq != g_saved_seq;
    g_doc_notices.history.Emit();
    return true;
}

bool Restore_State(int slot) {
    if (slot < 0 || slot >= NHIST_SLOTS || !g_doc.doc_open) return false;
    Wait_Background();
    a_hist_state& s = g_hist.list[slot];
    std::vector<uint8_t> file;
    if (slot == ram.slot) {
        if (!Check_Image(ram.image.data(), ram.image.size())) InternalError();  // our own bytes
        RAM_To_Doc();
    } else {
        if (!Read_Undo_File(s, file)) {
            s.file_ok = false;  // never tried again
            g_doc_notices.history.Emit();
            return false;
        }
        Image_To_Doc(file.data(), file.size());
    }
    g_hist.curr = slot;
    // Back at the saved step the document is as its file; one never saved
    // stays changed.
    g_doc.doc_changed = g_doc.doc_new || s.seq != g_saved_seq;
    Refresh_After_Restore();
    return true;
}

void Undo_Button() {
    int redox, undox;
    Calc_Undo_Avail(redox, undox);
    Step_To(undox, SND_UNDO);
}

void Redo_Button() {
    int redox, undox;
    Calc_Undo_Avail(redox, undox);
    Step_To(redox, SND_REDO);
}

void Undo_Silent() {
    int redox, undox;
    Calc_Undo_Avail(redox, undox);
    Step_To(undox, 0);
}

std::string Calc_Op_Label(a_history_op op) {
    if (op <= OP_NOP || op >= NHISTORY_OPS) return "NOP";
    std::string s;
    Get_Translated_String(op, UNDO_STR_ID, s);
    return s;
}

Rect Calc_Hist_Box(const Rect& frame, int n) {
    Rect r = frame;
    r.top = int16_t(frame.top + n * HIST_BOX_HEIGHT);
    r.bottom = int16_t(r.top + HIST_BOX_HEIGHT);
    return r;
}

int History_Find(const Rect& frame, Point pt) {
    if (!g_doc.doc_open) return -1;
    for (int n = 0; n < Kept_Steps(); ++n) {
        Rect r = Calc_Hist_Box(frame, n);
        if (pt.h >= r.left && pt.h < r.right && pt.v >= r.top && pt.v < r.bottom)
            return Modulo(g_hist.lo + n);
    }
    return -1;
}

void History_MouseDown(const Rect& frame, Point pt) {
    int slot = History_Find(frame, pt);
    if (slot < 0 || slot == g_hist.curr || !Is_Restorable(slot) || !Restore_State(slot))
        return Play(SND_REFUSED);
    Play(SND_HISTORY_CLICK);
}
