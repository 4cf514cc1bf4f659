// Every notice and service of the core, saved when a test starts and put back
// when it ends, so a test may subscribe and install what it likes without
// disturbing the modules that installed theirs at start-up (or the next test).
#pragma once
#include "base/messages.h"
#include "base/prefs.h"
#include "model/effect_spec.h"
#include "model/notices.h"
#include "templates/chooser.h"
#include "ui/sliders.h"

class a_signals_guard {
public:
    // With `clear`, everything starts empty inside the guard: the document's
    // defaults, as if no module above it had started.
    explicit a_signals_guard(bool clear = false)
        : doc_notices_(g_doc_notices),
          doc_services_(g_doc_services),
          message_services_(g_message_services),
          start_choice_(g_prefs_start_choice),
          slider_signals_(g_slider_signals),
          chooser_notices_(g_chooser_notices),
          spec_controls_(g_spec_controls) {
        if (!clear) return;
        g_doc_notices = a_doc_notices{};
        g_doc_services = a_doc_services{};
        g_message_services = a_message_services{};
        g_prefs_start_choice = a_service<int()>{};
        g_slider_signals = a_slider_signals{};
        g_chooser_notices = a_chooser_notices{};
        g_spec_controls = a_service<void(a_spec&)>{};
    }
    ~a_signals_guard() {
        g_doc_notices = doc_notices_;
        g_doc_services = doc_services_;
        g_message_services = message_services_;
        g_prefs_start_choice = start_choice_;
        g_slider_signals = slider_signals_;
        g_chooser_notices = chooser_notices_;
        g_spec_controls = spec_controls_;
    }
    a_signals_guard(const a_signals_guard&) = delete;
    a_signals_guard& operator=(const a_signals_guard&) = delete;

private:
    a_doc_notices doc_notices_;
    a_doc_services doc_services_;
    a_message_services message_services_;
    a_service<int()> start_choice_;
    a_slider_signals slider_signals_;
    a_chooser_notices chooser_notices_;
    a_service<void(a_spec&)> spec_controls_;
};
