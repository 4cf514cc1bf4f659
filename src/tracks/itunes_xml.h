// Library and playlist exports of iTunes and Apple Music (an XML property
// list): the tracks' preset fields, in the order of the first playlist.
// Process-wide state: none.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "tracks/song_table.h"

constexpr size_t XML_TOKEN_MAX = 1023;

// Tokenizer state over a file's bytes.
struct a_xml_rec {
    std::string_view data;
    size_t pos = 0;
    std::string undo_token;
    bool undo_flag = false;
    int undo_char = -1;     // a pushed-back byte; -1 when none
    int state = 0;          // 0 between tokens, 1 in text, 2 in a tag
    uint32_t linenum = 0;   // line feeds read
};

// The next token: a whole tag ("<key>", "<true/>") or the text up to the
// next tag, inner spaces kept; at most 1023 bytes; empty at the end.
void GetTokenXML(a_xml_rec& x, std::string& token);
void UnGetTokenXML(a_xml_rec& x, const std::string& token);

// The five predefined entities and character references decoded; anything
// else that starts with '&' is kept as it stands.
std::string Decode_XML_Entities(std::string_view s);

// The working table of the reader: tracks by their fields, and the playlist
// as track numbers.
struct a_xml_input {
    uint32_t nfields = 0;
    std::array<std::string, SONG_MAX_FIELDS + 1> fieldnames;
    std::array<std::string, SONG_MAX_FIELDS + 1> fieldtypes;
    std::vector<std::array<std::string, SONG_MAX_FIELDS + 1>> tracks;  // tracks[0] is track 1
    std::vector<uint32_t> songs;  // 1-based track numbers, playlist order
};

// #, Track ID, Name, Artist, Composer, Album, Genre, Year, Size, Total Time,
// Comments.
void XML_Preset_Fields(a_xml_input& in);

// The fields of the list found in one track's dictionary; the reader stands
// after its "<dict>". True when any field was stored (into `fields`).
bool Parse_Track_Preset(a_xml_rec& x, const a_xml_input& in,
                        std::array<std::string, SONG_MAX_FIELDS + 1>& fields);

// The first playlist's songs with the preset fields. False, the table empty,
// when the playlist holds no song the file describes.
[[nodiscard]] bool Parse_Tracks_XML(std::string_view data, a_song_table& t);

// The first four bytes are "<?xm" (after a UTF-8 byte-order mark, if any).
bool Is_XML_File(std::string_view head);
