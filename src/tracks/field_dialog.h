// The field dialog's model: which fields of a song table are shown, which
// start a new column, the track-number style, and the preview of the chunks
// they make. Every change is stored into the kept choice at once (as the
// dialog does on each click); Cancel puts the previous choice back.
// Process-wide state: the field choice of the preferences (reads and
// writes); asks through the dialog service.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "base/notice.h"
#include "tracks/song_table.h"

enum : int {
    FIELD_DIALOG_MAX = 14,       // fields offered
    FIELD_DIALOG_ONE_HEADING = 5, // up to this many fields, one "Start Column" heading
    DLOG_FIELDS = 1210,          // the dialog's layout number
    // The preview: a header band over the body, lines 13 pixels apart from
    // 12 below the body's top, 20-pixel separators between columns.
    PREVIEW_LINE_STEP = 13,
    PREVIEW_FIRST_LINE = 12,
    PREVIEW_SEPARATOR = 20,
    PREVIEW_HEADER_GREY = 220,
    PREVIEW_BODY_GREY = 200,
    PREVIEW_TITLE_POINTS = 14,
};

struct a_field_dialog {
    uint32_t nitems = 0;              // fields offered besides the track number
    bool second_heading = false;      // the second "Start Column" heading shows
    uint32_t saved_f = 0, saved_c = 0;
    int16_t saved_fmt = 1;
    std::vector<std::string> labels;  // check-box labels: labels[0] the track number
    a_chunk_table preview;            // the chunks the choice makes now
};

// Opens the panel over `t`: the table keeps at most its first 14 fields, the
// choice is remembered for Cancel and defaulted when empty.
void FieldDialog_Open(a_field_dialog& d, a_song_table& t);
// A click on field f's "shown" box (0 the track number), on its "start
// column" box, or a style from the pop-up (1..7); each redraws the preview.
void FieldDialog_Toggle_Shown(a_field_dialog& d, const a_song_table& t, uint32_t f);
void FieldDialog_Toggle_Column(a_field_dialog& d, const a_song_table& t, uint32_t f);
void FieldDialog_Set_Style(a_field_dialog& d, const a_song_table& t, int style);
// OK is accepted only with at least one field shown.
bool FieldDialog_Can_OK(const a_field_dialog& d);
void FieldDialog_Cancel(a_field_dialog& d);
// The preview's lines of chunk i (0-based), split at carriage returns.
std::vector<std::u16string> FieldDialog_Preview_Lines(const a_field_dialog& d, uint32_t i);

// The window's field dialog over the panel: it changes the choice through the
// clicks above and answers true for OK. Without an owner the dialog service
// is asked with the panel as it stands.
extern a_service<bool(a_field_dialog& d, const a_song_table& t)> g_field_dialog_ui;

// The dialog: true with `chunks` made from the chosen fields when it was
// confirmed; false (and the previous choice back) when cancelled.
// `adjust` lets a caller (a test, the command line) set the panel before the
// answer is taken; the window does it by clicks.
[[nodiscard]] bool Ask_FieldDialog(a_song_table& t, a_chunk_table& chunks,
                                   void (*adjust)(a_field_dialog&, const a_song_table&) = nullptr);
