#include "tracks/song_table.h"

#include <algorithm>

#include "base/messages.h"
#include "base/prefs.h"
#include "base/string_ids.h"
#include "platform/codepage.h"

namespace {

std::string Cut_Name(std::string_view s) {
    return std::string(s.substr(0, Utf8_Cut(s, SONG_NAME_BYTES)));
}

// A whole token of decimal digits; false for anything else or too many digits.
bool Parse_Number(std::string_view s, uint64_t& out) {
    if (s.empty() || s.size() > 18) return false;
    uint64_t v = 0;
    for (char c : s) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + uint64_t(c - '0');
    }
    out = v;
    return true;
}

bool Bit(uint32_t set, uint32_t f) { return f < 32 && (set >> f) & 1u; }

void Append_Capped(std::u16string& chunk, std::u16string_view text) {
    size_t room = chunk.size() < CHUNK_MAX_CHARS ? CHUNK_MAX_CHARS - chunk.size() : 0;
    chunk.append(text.substr(0, room));
}

}  // namespace

void SongTable_Init(a_song_table& t) {
    t = a_song_table{};
    t.fieldnames[0] = "#";
    t.fieldtypes[0] = "<integer>";
}

void SongTable_SetField(a_song_table& t, uint32_t f, std::string_view name, std::string_view type) {
    if (f < 1 || f > SONG_MAX_FIELDS) return;
    t.fieldnames[f] = Cut_Name(name);
    t.fieldtypes[f] = Cut_Name(type);
}

a_song* SongTable_NewSong(a_song_table& t) {
    ++t.offered;
    if (t.songs.size() >= SONG_MAX_SONGS) return nullptr;
    t.songs.emplace_back();
    return &t.songs.back();
}

bool SongTable_Was_Cut(const a_song_table& t) { return t.offered > t.songs.size(); }

void SongTable_Cut_Alert(const a_song_table& t) {
    if (!SongTable_Was_Cut(t)) return;
    Param_Text(std::to_string(t.songs.size()), std::to_string(t.offered));
    OK_Alert(ALERT_TRACKS_CUT, false);
}

std::string FieldName_To_Type(std::string_view name, std::string_view given) {
    if (name == "Time") return "<sec>";
    if (name == "Size") return "<kbyte>";
    if (name == "Total Time") return "<msec>";
    if (!given.empty()) return std::string(given);
    return "<string>";
}

std::string Seconds_To_String(uint64_t seconds) {
    uint64_t s = seconds % 60;
    return std::to_string(seconds / 60) + ":" + (s < 10 ? "0" : "") + std::to_string(s);
}

std::u16string Convert_Field(std::string_view type, std::string_view token, a_field_encoding encoding) {
    std::string text(token);
    uint64_t v = 0;
    if (Parse_Number(token, v)) {
        if (type == "<sec>") text = Seconds_To_String(v);
        else if (type == "<msec>") text = Seconds_To_String((v + 500) / 1000);
        else if (type == "<kbyte>") text = std::to_string(std::max<uint64_t>(1, (v + 500) / 1000)) + "K";
    }
    // The system code page is UTF-8 with a Windows-1252 fallback; a UTF-8
    // value decodes the same way.
    (void)encoding;
    std::u16string out = Utf8_To_Utf16(text);
    if (out.size() > SONG_MAX_CHARS) out.resize(SONG_MAX_CHARS);
    return out;
}

std::u16string SongX_To_Str(uint32_t n) {
    std::u16string num = Utf8_To_Utf16(std::to_string(n));
    switch (g_tracknum_fmt) {
    case 2: return num + u"]";
    case 3: return u"(" + num + u")";
    case 4: return u"[" + num + u"]";
    case 5: return num + u":";
    case 6: return num + u".";
    case 7: return num;
    default: return num + u")";
    }
}

void Calc_Default_Fields(const a_song_table& t) {
    if (g_songfields_f != 0) return;
    uint32_t shown = 1, starts = 0;
    for (uint32_t f = 1; f <= t.nfields && f <= SONG_MAX_FIELDS; ++f) {
        const std::string& name = t.fieldnames[f];
        if (name == "Artist" || name == "Name" || name == "Total Time") shown |= 1u << f;
        if (name == "Name" || name == "Total Time") starts |= 1u << f;
    }
    if (shown == 1) shown = 1u | 2u | 4u;
    g_songfields_f = shown;
    g_songfields_c = starts;
}

void SongTable_To_Chunks(const a_song_table& t, a_chunk_table& out) {
    out = a_chunk_table{};
    out.nlines = int16_t(std::min<size_t>(t.songs.size(), SONG_MAX_SONGS));
    uint32_t last_song_chunks = 0;
    uint32_t nf = std::min<uint32_t>(t.nfields, SONG_MAX_FIELDS);
    for (uint32_t s = 0; s < t.songs.size() && s < SONG_MAX_SONGS; ++s) {
        uint32_t chunk = 0;  // chunks of this song so far
        int prev = -1;       // previous shown field
        for (uint32_t f = 0; f <= nf; ++f) {
            if (!Bit(g_songfields_f, f)) continue;
            bool first = prev < 0;
            if (first || Bit(g_songfields_c, f)) {
                if (chunk >= CHUNK_MAX) break;
                ++chunk;
                if (out.chunks.size() < chunk) out.chunks.emplace_back();
                if (s > 0) Append_Capped(out.chunks[chunk - 1], u"\r");
            } else {
                Append_Capped(out.chunks[chunk - 1], prev > 0 ? u" / " : u"  ");
            }
            Append_Capped(out.chunks[chunk - 1], f == 0 ? SongX_To_Str(s + 1) : t.songs[s][f]);
            prev = int(f);
        }
        last_song_chunks = chunk;
    }
    out.chunks.resize(std::min<size_t>(out.chunks.size(), last_song_chunks));
}
