// What the document tells the layers above it, and what it asks of them.
//
// Notices (any number of listeners): something changed. Views, panels,
// sliders and caches subscribe in their X_Init and unsubscribe in X_Stop.
// Services (one owner each): a question that wants one answer, or work that
// one module does for the document. The history steps are services, so
// that the document's own code records steps without depending on the
// history and runs without one (tools and tests that need no undo).
//
// Process-wide state: g_doc_notices and g_doc_services (tests save and
// restore them with one guard).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "base/notice.h"
#include "model/history_ops.h"
#include "platform/geometry.h"

struct a_canvas_spec;
struct a_coord_mapping;
struct a_template;
struct GWorld;
struct a_unit_mapping;
struct a_sig_source;

struct a_doc_notices {
    // Part of a unit must be drawn again: unit number (1-based) and the area
    // in the unit's cells; an empty area means the whole unit.
    a_notice<uint32_t, const Rect&> unit_dirty;
    // The unit's composite changed: show this area (cells) of unit ux again.
    a_notice<uint32_t, const Rect&> unit_refresh;
    // The window title: program name, then " - " and the document's name.
    a_notice<const std::string&> title;
    // The document was replaced or emptied: everything derived from the old
    // one (effects cache, views) is stale.
    a_notice<> replaced;
    // The current unit changed to this one (1-based; never a clone).
    a_notice<uint32_t> unit_selected;
    // The selection of blocks changed (sliders, layer bar and status follow).
    a_notice<> selection;
    // Blocks were added or removed on the current unit.
    a_notice<> block_count;
    // The undo ring or the step shown changed: the history panel, the
    // navigator and the Edit menu follow.
    a_notice<> history;
    // The document now shows another step: views, the layer bar, the canvas
    // sliders and the preview panels reload.
    a_notice<> restored;
};

struct a_om_rec;
struct a_ph_rec;
struct a_doc_unit;
struct a_paint_stroke_desc;

// What the block operations need of text blocks; the text module installs
// them. Without it a text block has no box, is never hit and does not move.
struct a_text_block_services {
    a_service<Rect(const a_om_rec& om)> bbox;                  // its frame on the unit
    a_service<bool(const a_om_rec& om, Point cell, int& part)> is_inside;
    a_service<void(a_om_rec& om, int dx, int dy)> move;          // by its own rule
    // Dragged from `start` to `now` (cells): text about a centre turns about it.
    a_service<void(a_om_rec& om, Point start, Point now)> drag;
    // Its anchor to a point of the unit (a coordinate of -10000 stays); text
    // about a centre stays where it is.
    a_service<void(a_om_rec& om, Point target)> align_to;
    a_service<int(const a_om_rec& om)> move_class;              // a_move_class
    a_service<bool(int omx, int& newx)> dup;                    // OM_Dup; false when full
};

// How the compositor draws the blocks it does not know: the photo module
// installs `photo`, the text module the text services. `m` maps the unit's
// cells to the pixels of `dest`; `clip` is in those pixels (empty: none).
// Without an owner a block of that kind is not drawn.
struct a_block_draw_services {
    a_service<void(a_ph_rec& ph, GWorld* dest, const Rect& clip, const a_coord_mapping& m,
                   bool for_print)>
        photo;
    // The text block laid out and its screen pictures made for `m` (OM_Ensure_Cache_Bits).
    a_service<void(a_om_rec& om, const a_coord_mapping& m)> text_ensure;
    // A collage slot block (the collage module's own drawing of block omx).
    a_service<void(a_doc_unit& up, int omx, GWorld* dest, const Rect& clip, const a_coord_mapping& m)>
        slot;
    // Its cached shadow, then text; with `overlay` the selection highlight first.
    a_service<void(a_om_rec& om, GWorld* dest, const Rect& clip, const a_coord_mapping& m,
                   bool overlay)>
        text_merge;
    // Rendered afresh at print scale and drawn whole.
    a_service<void(a_om_rec& om, GWorld* dest, const a_coord_mapping& m)> text_print;
    a_service<void(a_om_rec& om)> text_up_to_date;  // OM_BringUpToDate
    // The overflow marks of the unit's visible text blocks over its screen
    // picture `dest` (Draw_Overflow_Marks).
    a_service<void(const a_doc_unit& up, GWorld* dest, const a_coord_mapping& m)> overflow_marks;
};

struct a_doc_services {
    a_service<void(int op)> history_emit;     // record one undo step
    a_service<void(int op)> history_pending;  // step recorded when the interaction ends
    a_service<void()> history_base;           // start a new undo base
    a_service<void()> history_flush;          // drop the snapshot kept in memory
    a_service<void()> history_saved;          // the step shown is what the file now holds
    // The canvas a unit of this kind starts with.
    a_service<void(int kind, a_canvas_spec& cv)> default_canvas;
    a_service<bool(const a_canvas_spec& cv)> is_no_canvas;
    a_service<void(int snd)> play_sound;
    a_service<bool()> sound_playing;  // an earlier sound still sounds
    a_text_block_services text;
    a_block_draw_services draw;
    // Load a photo or symbol block's values into the sliders, toggles and
    // swatches (the interface owns them).
    a_service<void(const a_ph_rec& ph)> ph_to_sliders;
    // Whether a collage slot block's region holds the cell (the collage owns
    // the regions); without it a slot is hit anywhere in its box.
    a_service<bool(int omx, Point cell)> slot_contains;
    // Plays described strokes onto the current unit's paint layer, recording
    // no steps (the paint module installs it); false with a message.
    a_service<bool(const std::vector<a_paint_stroke_desc>& strokes, std::string& error)> paint_strokes;
    a_service<bool()> save_document;   // Save; false when it failed
    a_service<int()> choose_template;  // the chooser dialog; 0 when cancelled
    // The remap dialog; false when cancelled.
    a_service<bool(const a_template& t, a_unit_mapping* map, uint32_t nsig,
                   const a_sig_source* sig)>
        ask_complex_remap;
};

extern a_doc_notices g_doc_notices;
extern a_doc_services g_doc_services;

// The whole of a unit must be drawn again.
inline void Notice_Unit_Dirty(uint32_t ux) { g_doc_notices.unit_dirty.Emit(ux, Rect{}); }
// The undo history's entries, each doing nothing when no history is installed.
// Records one undo step.
inline void History_Emit(int op) { g_doc_services.history_emit.Call_Or([] {}, op); }
// Remembers a step to record when the interaction ends.
inline void History_Set_Pending(int op) { g_doc_services.history_pending.Call_Or([] {}, op); }
// A fresh history for a document just opened, created or remapped.
inline void History_Base() { g_doc_services.history_base.Call_Or([] {}); }
// Drops the in-memory snapshot (after saving, before a remap, on closing).
inline void History_Flush() { g_doc_services.history_flush.Call_Or([] {}); }
