// What the document needs of the layers above it (undo history, effects
// cache, views, canvas defaults, dialogs). Those layers install their
// functions at start-up; each hook left empty does nothing.
#pragma once
#include <cstdint>
#include <string>

#include "model/history_ops.h"
#include "platform/sound.h"

struct a_canvas_spec;
struct a_template;
struct a_unit_mapping;
struct a_sig_source;

struct a_doc_hooks {
    void (*history_emit)(int op) = nullptr;  // record one undo step
    void (*history_pending)(int op) = nullptr;  // step recorded when the interaction ends
    void (*history_base)() = nullptr;        // start a new undo base
    void (*history_flush)() = nullptr;       // forget every step
    void (*cache_clear)() = nullptr;         // empty the effects cache
    void (*views_refresh)() = nullptr;       // redraw the panels and views
    void (*title_changed)(const std::string& title) = nullptr;
    void (*unit_selected)(uint32_t ux) = nullptr;  // canvas palette and sliders follow the unit
    void (*default_canvas)(int kind, a_canvas_spec& cv) = nullptr;
    bool (*is_no_canvas)(const a_canvas_spec& cv) = nullptr;
    void (*play_sound)(int snd) = nullptr;
    bool (*save_document)() = nullptr;      // Save; false when it failed
    int (*choose_template)() = nullptr;     // the chooser dialog; 0 when cancelled
    bool (*ask_complex_remap)(const a_template& t, a_unit_mapping* map, uint32_t nsig,
                              const a_sig_source* sig) = nullptr;  // false when cancelled
};

extern a_doc_hooks g_doc_hooks;
