// Tab- or bar-separated track lists: the text exports of music programs, in
// UTF-16 (with or without a byte-order mark) or 8-bit text, with CR, CR LF or
// LF line ends. The first line names the fields, each further line is a song.
// Process-wide state: none.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "tracks/song_table.h"

// Bytes looked at when recognising a tab export.
constexpr size_t TAB_SNIFF_BYTES = 5000;

// True when the first line of `head` (up to its first CR or LF) holds at
// least one tab or '|' byte (two fields) and a line end follows it.
bool Is_iTunes_Tabbed(std::string_view head);

// The file's bytes as UTF-8 text: UTF-16 in either byte order (told by its
// byte-order mark, or by where the zero bytes fall), else 8-bit text as it
// stands. A UTF-8 byte-order mark is dropped.
std::string Tab_Text_From_Bytes(std::string_view bytes);

// '|' when the first line (at most 1001 bytes) holds more '|' than tabs.
char Scan_For_Delimiter(std::string_view text);

enum : int { TAB_END = -1, TAB_LINE_END = -2 };

// Reading state over one text.
struct a_tab_reader {
    std::string_view text;
    size_t pos = 0;
    char delim = '\t';
    int pushed = 0;        // a pushed-back character; 0 when none
};
// The next byte, TAB_LINE_END for CR, CR LF or LF, TAB_END at the end.
int ParseTab_GetChar(a_tab_reader& r);
// The next field (without its delimiter, at most 1023 bytes). A line end or
// the end stops a field and comes as a token of its own: then `code` is
// TAB_LINE_END or TAB_END, else 0.
void ParseTab_GetToken(a_tab_reader& r, std::string& token, int& code);

// The header line's fields (at most 30), then one song per line (at most
// 600). False, with the table empty, when the header has fewer than two fields.
[[nodiscard]] bool Parse_Tracks_Tabbed(std::string_view text, a_song_table& t);

// A plain list, one song name per line (the list people type or copy from a
// web page): each line that is not blank is a song with one field, "Name".
// False, with the table empty, when the text is not UTF-8, holds control
// characters other than tab and line ends, or has no line.
[[nodiscard]] bool Parse_Tracks_Plain(std::string_view text, a_song_table& t);
