#include "tracks/tab_text.h"

#include <algorithm>

#include "platform/codepage.h"

namespace {

constexpr size_t TAB_TOKEN_MAX = 1023;
constexpr size_t TAB_FIRST_LINE_MAX = 1001;

std::u16string Units_From(std::string_view b, bool big_endian) {
    std::u16string out;
    out.reserve(b.size() / 2);
    for (size_t i = 0; i + 1 < b.size(); i += 2) {
        auto hi = uint8_t(b[big_endian ? i : i + 1]), lo = uint8_t(b[big_endian ? i + 1 : i]);
        out.push_back(char16_t(hi << 8 | lo));
    }
    return out;
}

// Without a mark, UTF-16 shows itself by zero bytes: a track list is mostly
// ASCII, whose high bytes are zero.
int Guess_Utf16(std::string_view b) {
    size_t n = std::min<size_t>(b.size(), TAB_SNIFF_BYTES) & ~size_t(1);
    size_t even = 0, odd = 0;
    for (size_t i = 0; i < n; i += 2) {
        even += b[i] == 0;
        odd += b[i + 1] == 0;
    }
    if (n >= 2 && odd * 4 >= n && even == 0) return 1;  // little-endian
    if (n >= 2 && even * 4 >= n && odd == 0) return 2;  // big-endian
    return 0;
}

}  // namespace

bool Is_iTunes_Tabbed(std::string_view head) {
    head = head.substr(0, TAB_SNIFF_BYTES);
    size_t end = head.find_first_of("\r\n");
    if (end == std::string_view::npos) return false;
    std::string_view first = head.substr(0, end);
    // Two fields are one delimiter apart.
    return std::count(first.begin(), first.end(), '\t') + std::count(first.begin(), first.end(), '|') >= 1;
}

std::string Tab_Text_From_Bytes(std::string_view b) {
    if (b.size() >= 2 && uint8_t(b[0]) == 0xFF && uint8_t(b[1]) == 0xFE)
        return Utf16_To_Utf8(Units_From(b.substr(2), false));
    if (b.size() >= 2 && uint8_t(b[0]) == 0xFE && uint8_t(b[1]) == 0xFF)
        return Utf16_To_Utf8(Units_From(b.substr(2), true));
    if (b.size() >= 3 && b.substr(0, 3) == "\xEF\xBB\xBF") return std::string(b.substr(3));
    switch (Guess_Utf16(b)) {
    case 1: return Utf16_To_Utf8(Units_From(b, false));
    case 2: return Utf16_To_Utf8(Units_From(b, true));
    default: return std::string(b);
    }
}

char Scan_For_Delimiter(std::string_view text) {
    text = text.substr(0, TAB_FIRST_LINE_MAX);
    text = text.substr(0, std::min(text.find_first_of("\r\n"), text.size()));
    auto bars = std::count(text.begin(), text.end(), '|');
    auto tabs = std::count(text.begin(), text.end(), '\t');
    return bars > tabs ? '|' : '\t';
}

int ParseTab_GetChar(a_tab_reader& r) {
    if (r.pushed) {
        int c = r.pushed;
        r.pushed = 0;
        return c;
    }
    // A stray NUL byte is skipped: only the buffer's end ends the list.
    while (r.pos < r.text.size() && r.text[r.pos] == '\0') ++r.pos;
    if (r.pos >= r.text.size()) return TAB_END;
    char c = r.text[r.pos++];
    if (c == '\r') {
        if (r.pos < r.text.size() && r.text[r.pos] == '\n') ++r.pos;
        return TAB_LINE_END;
    }
    if (c == '\n') return TAB_LINE_END;
    return uint8_t(c);
}

void ParseTab_GetToken(a_tab_reader& r, std::string& token, int& code) {
    token.clear();
    code = 0;
    for (;;) {
        int c = ParseTab_GetChar(r);
        if (c == TAB_END || c == TAB_LINE_END) {
            if (token.empty()) code = c;
            else r.pushed = c;
            return;
        }
        if (c == uint8_t(r.delim)) return;
        if (token.size() < TAB_TOKEN_MAX) token.push_back(char(c));
    }
}

bool Parse_Tracks_Tabbed(std::string_view text, a_song_table& t) {
    SongTable_Init(t);
    a_tab_reader r{text, 0, Scan_For_Delimiter(text), 0};
    std::string token;
    int code = 0;
    for (;;) {
        ParseTab_GetToken(r, token, code);
        if (code) break;
        if (t.nfields >= SONG_MAX_FIELDS) continue;
        ++t.nfields;
        SongTable_SetField(t, t.nfields, token, FieldName_To_Type(token));
    }
    if (t.nfields < 2) {
        SongTable_Init(t);
        return false;
    }
    a_song* song = nullptr;
    bool in_line = false;  // a song began on this line: kept, or counted past the table's size
    uint32_t f = 0;
    while (code != TAB_END) {
        ParseTab_GetToken(r, token, code);
        if (code == TAB_LINE_END) {
            song = nullptr;  // a blank line makes no song
            in_line = false;
            continue;
        }
        if (code == TAB_END) break;
        if (!in_line) {
            in_line = true;
            song = SongTable_NewSong(t);
            f = 0;
        }
        if (song && ++f <= t.nfields) (*song)[f] = Convert_Field(t.fieldtypes[f], token, FIELD_SYSTEM);
    }
    return true;
}

bool Parse_Tracks_Plain(std::string_view text, a_song_table& t) {
    SongTable_Init(t);
    const bool controls = std::any_of(text.begin(), text.end(), [](char c) {
        const auto u = uint8_t(c);
        return (u < 0x20 && c != '\t' && c != '\r' && c != '\n') || u == 0x7F;
    });
    if (controls || !Is_Valid_Utf8(text)) return false;
    SongTable_SetField(t, 1, "Name", "<string>");
    t.nfields = 1;
    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.find_first_of("\r\n", at);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(at, end - at);
        while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
        while (!line.empty() && (line.back() == ' ' || line.back() == '\t')) line.remove_suffix(1);
        if (!line.empty())
            if (a_song* song = SongTable_NewSong(t)) (*song)[1] = Convert_Field("<string>", line, FIELD_SYSTEM);
        at = end + 1;
    }
    if (t.nsongs() == 0) {
        SongTable_Init(t);
        return false;
    }
    return true;
}
