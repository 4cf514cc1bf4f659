#include "tracks/field_dialog.h"

#include <algorithm>

#include "base/messages.h"
#include "base/prefs.h"
#include "base/string_ids.h"
#include "platform/dialogs.h"

a_service<bool(a_field_dialog& d, const a_song_table& t)> g_field_dialog_ui;

namespace {

void Redraw(a_field_dialog& d, const a_song_table& t) { SongTable_To_Chunks(t, d.preview); }

uint32_t Field_Bit(uint32_t f) { return f < 32 ? 1u << f : 0; }

}  // namespace

void FieldDialog_Open(a_field_dialog& d, a_song_table& t) {
    d = a_field_dialog{};
    t.nfields = std::min<uint32_t>(t.nfields, FIELD_DIALOG_MAX);
    d.nitems = t.nfields;
    d.second_heading = t.nfields > FIELD_DIALOG_ONE_HEADING;
    d.saved_f = g_songfields_f;
    d.saved_c = g_songfields_c;
    d.saved_fmt = g_tracknum_fmt;
    Calc_Default_Fields(t);
    // A choice kept from a wider table must not show fields this one lacks.
    uint32_t mask = t.nfields >= 31 ? ~0u : (2u << t.nfields) - 1;
    g_songfields_f &= mask;
    g_songfields_c &= mask;
    if (g_tracknum_fmt < 1 || g_tracknum_fmt > TRACKNUM_STYLES) g_tracknum_fmt = 1;
    std::string label;
    GetIndString(label, MAIN_STR_ID, STR_TRACK_NUMBER);
    d.labels.push_back(label);
    for (uint32_t f = 1; f <= t.nfields; ++f) d.labels.push_back(t.fieldnames[f]);
    Redraw(d, t);
}

void FieldDialog_Toggle_Shown(a_field_dialog& d, const a_song_table& t, uint32_t f) {
    if (f > d.nitems) return;
    g_songfields_f ^= Field_Bit(f);
    Redraw(d, t);
}

void FieldDialog_Toggle_Column(a_field_dialog& d, const a_song_table& t, uint32_t f) {
    if (f < 1 || f > d.nitems) return;
    g_songfields_c ^= Field_Bit(f);
    Redraw(d, t);
}

void FieldDialog_Set_Style(a_field_dialog& d, const a_song_table& t, int style) {
    if (style < 1 || style > TRACKNUM_STYLES) return;
    g_tracknum_fmt = int16_t(style);
    Redraw(d, t);
}

bool FieldDialog_Can_OK(const a_field_dialog& d) {
    uint32_t mask = d.nitems >= 31 ? ~0u : (2u << d.nitems) - 1;
    return (g_songfields_f & mask) != 0;
}

void FieldDialog_Cancel(a_field_dialog& d) {
    g_songfields_f = d.saved_f;
    g_songfields_c = d.saved_c;
    g_tracknum_fmt = d.saved_fmt;
    d.preview = a_chunk_table{};
}

std::vector<std::u16string> FieldDialog_Preview_Lines(const a_field_dialog& d, uint32_t i) {
    std::vector<std::u16string> lines;
    if (i >= d.preview.chunks.size()) return lines;
    const std::u16string& c = d.preview.chunks[i];
    size_t start = 0;
    for (;;) {
        size_t cr = c.find(u'\r', start);
        lines.push_back(c.substr(start, cr == std::u16string::npos ? std::u16string::npos : cr - start));
        if (cr == std::u16string::npos) return lines;
        start = cr + 1;
    }
}

bool Ask_FieldDialog(a_song_table& t, a_chunk_table& chunks,
                     void (*adjust)(a_field_dialog&, const a_song_table&)) {
    a_field_dialog d;
    FieldDialog_Open(d, t);
    if (adjust) adjust(d, t);
    a_dialog_request req;
    req.layout = DLOG_FIELDS;
    GetIndString(req.message, MAIN_STR_ID, STR_SELECT_FIELDS);
    std::string ok, cancel;
    GetIndString(ok, MAIN_STR_ID, STR_OK);
    GetIndString(cancel, MAIN_STR_ID, STR_CANCEL);
    req.buttons = {ok, cancel};
    req.default_button = 0;
    req.keys = {{DKEY_RETURN, false, 0}, {DKEY_ENTER, false, 0}, {DKEY_ESCAPE, false, 1}};
    bool confirmed = g_field_dialog_ui.Call_Or([&req] { return Dialog_Ask(req) == 0; }, d, t);
    if (!confirmed || !FieldDialog_Can_OK(d)) {
        FieldDialog_Cancel(d);
        chunks = a_chunk_table{};
        return false;
    }
    chunks = std::move(d.preview);
    return true;
}
