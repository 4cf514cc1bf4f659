#include "tracks/itunes_xml.h"

#include <cstdlib>

#include "platform/codepage.h"

namespace {

int Next_Byte(a_xml_rec& x) {
    if (x.undo_char >= 0) {
        int c = x.undo_char;
        x.undo_char = -1;
        return c;
    }
    for (;;) {
        if (x.pos >= x.data.size()) return -1;
        int c = uint8_t(x.data[x.pos++]);
        if (c == '\r') continue;
        if (c == '\n') ++x.linenum;
        return c;
    }
}

std::string Utf8_Of(uint32_t cp) {
    if (cp == 0 || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return {};
    std::string out;
    if (cp < 0x80) {
        out += char(cp);
    } else if (cp < 0x800) {
        out += char(0xC0 | cp >> 6);
        out += char(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += char(0xE0 | cp >> 12);
        out += char(0x80 | (cp >> 6 & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    } else {
        out += char(0xF0 | cp >> 18);
        out += char(0x80 | (cp >> 12 & 0x3F));
        out += char(0x80 | (cp >> 6 & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    }
    return out;
}

// One entity's text between '&' and ';'; empty when it is none we know.
std::string Entity_Text(std::string_view name) {
    if (name == "amp") return "&";
    if (name == "lt") return "<";
    if (name == "gt") return ">";
    if (name == "quot") return "\"";
    if (name == "apos") return "'";
    if (name.size() < 2 || name[0] != '#' || name.size() > 10) return {};
    bool hex = name[1] == 'x' || name[1] == 'X';
    std::string digits(name.substr(hex ? 2 : 1));
    if (digits.empty()) return {};
    char* end = nullptr;
    unsigned long cp = std::strtoul(digits.c_str(), &end, hex ? 16 : 10);
    if (*end != '\0' || digits[0] == '-' || digits[0] == '+') return {};
    return Utf8_Of(uint32_t(std::min<unsigned long>(cp, 0x110000)));
}

bool Is_Close_Tag(const std::string& t) { return t.size() >= 2 && t[0] == '<' && t[1] == '/'; }
bool Is_Empty_Tag(const std::string& t) { return t.size() >= 3 && t[t.size() - 2] == '/'; }

// Skips a nested <array> or <dict> value whose opening tag was just read.
void Skip_Nested(a_xml_rec& x) {
    int depth = 1;
    std::string t;
    for (;;) {
        GetTokenXML(x, t);
        if (t.empty()) return;
        if (t == "<array>" || t == "<dict>") ++depth;
        else if (t == "</array>" || t == "</dict>") --depth;
        if (depth == 0) return;
    }
}

// The value after a key: its text (decoded) and whether it is one the fields
// may hold. Booleans give their tag; nested and binary values are skipped.
bool Read_Value(a_xml_rec& x, std::string& value) {
    std::string type;
    GetTokenXML(x, type);
    value.clear();
    if (type == "<true/>" || type == "<false/>") {
        value = type;
        return true;
    }
    if (type.empty() || type[0] != '<' || Is_Close_Tag(type)) {
        UnGetTokenXML(x, type);
        return false;
    }
    if (Is_Empty_Tag(type)) return type == "<string/>";
    if (type == "<array>" || type == "<dict>") {
        Skip_Nested(x);
        return false;
    }
    std::string text;
    GetTokenXML(x, text);
    if (!Is_Close_Tag(text)) {
        value = Decode_XML_Entities(text);
        std::string close;
        GetTokenXML(x, close);
        if (!Is_Close_Tag(close)) UnGetTokenXML(x, close);
    }
    return type == "<string>" || type == "<integer>" || type == "<real>" || type == "<date>";
}

// "<key>", the name, "</key>": the name, or false when the tokens differ.
bool Read_Key(a_xml_rec& x, std::string& name) {
    std::string t;
    GetTokenXML(x, t);
    if (t == "</key>") {
        name.clear();
        return true;
    }
    name = Decode_XML_Entities(t);
    GetTokenXML(x, t);
    return t == "</key>";
}

bool Expect(a_xml_rec& x, const char* tag) {
    std::string t;
    GetTokenXML(x, t);
    return t == tag;
}

int Find_Field_Name(const a_xml_input& in, const std::string& name) {
    for (uint32_t f = 1; f <= in.nfields; ++f)
        if (in.fieldnames[f] == name) return int(f);
    return 0;
}

// The stored track whose Track ID is `id`; 0 when none.
uint32_t Find_Track(const a_xml_input& in, const std::string& id) {
    for (size_t i = 0; i < in.tracks.size(); ++i)
        if (in.tracks[i][1] == id) return uint32_t(i + 1);
    return 0;
}

void Read_Tracks(a_xml_rec& x, a_xml_input& in) {
    std::string t, id;
    std::array<std::string, SONG_MAX_FIELDS + 1> fields;
    for (;;) {
        GetTokenXML(x, t);
        if (t != "<key>") return;
        if (!Read_Key(x, id) || !Expect(x, "<dict>")) return;
        fields = {};
        if (!Parse_Track_Preset(x, in, fields)) return;
        // Tracks past the table's size are read over, not kept.
        if (in.tracks.size() < SONG_MAX_SONGS) in.tracks.push_back(fields);
    }
}

void Read_Playlist(a_xml_rec& x, a_xml_input& in) {
    std::string t, key, id;
    for (;;) {
        GetTokenXML(x, t);
        if (t != "<dict>") return;
        if (!Expect(x, "<key>") || !Read_Key(x, key) || !Read_Value(x, id)) return;
        if (!Expect(x, "</dict>")) return;
        uint32_t track = Find_Track(in, id);
        if (track) in.songs.push_back(track);  // all of them: those past the table are counted
    }
}

}  // namespace

void GetTokenXML(a_xml_rec& x, std::string& token) {
    token.clear();
    if (x.undo_flag) {
        x.undo_flag = false;
        token = x.undo_token;
        return;
    }
    x.state = 0;
    int c = Next_Byte(x);
    while (c >= 0 && c <= ' ') c = Next_Byte(x);
    if (c < 0) return;
    if (c == '<') {
        x.state = 2;
        while (c >= 0) {
            if (token.size() < XML_TOKEN_MAX) token.push_back(char(c));
            if (c == '>') break;
            c = Next_Byte(x);
        }
    } else {
        x.state = 1;
        while (c >= 0 && c != '<') {
            if (token.size() < XML_TOKEN_MAX) token.push_back(char(c));
            c = Next_Byte(x);
        }
        if (c == '<') x.undo_char = c;
    }
    x.state = 0;
}

void UnGetTokenXML(a_xml_rec& x, const std::string& token) {
    x.undo_token = token;
    x.undo_flag = true;
}

std::string Decode_XML_Entities(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size();) {
        size_t semi = s[i] == '&' ? s.find(';', i + 1) : std::string_view::npos;
        if (semi != std::string_view::npos && semi - i <= 12) {
            std::string text = Entity_Text(s.substr(i + 1, semi - i - 1));
            if (!text.empty()) {
                out += text;
                i = semi + 1;
                continue;
            }
        }
        out += s[i++];
    }
    return out;
}

void XML_Preset_Fields(a_xml_input& in) {
    static const char* const names[] = {"#", "Track ID", "Name", "Artist", "Composer", "Album",
                                        "Genre", "Year", "Size", "Total Time", "Comments"};
    in = a_xml_input{};
    in.nfields = 10;
    for (uint32_t f = 0; f <= in.nfields; ++f) {
        in.fieldnames[f] = names[f];
        in.fieldtypes[f] = "<string>";
    }
    in.fieldtypes[0] = in.fieldtypes[1] = "<integer>";
    in.fieldtypes[8] = "<kbyte>";
    in.fieldtypes[9] = "<msec>";
}

bool Parse_Track_Preset(a_xml_rec& x, const a_xml_input& in,
                        std::array<std::string, SONG_MAX_FIELDS + 1>& fields) {
    bool stored = false;
    std::string t, key, value;
    for (;;) {
        GetTokenXML(x, t);
        if (t != "<key>") {
            if (t == "</dict>") return stored;
            return false;
        }
        if (!Read_Key(x, key)) return false;
        if (!Read_Value(x, value)) continue;
        if (int f = Find_Field_Name(in, key)) {
            fields[size_t(f)] = value;
            stored = true;
        }
    }
}

bool Parse_Tracks_XML(std::string_view data, a_song_table& t) {
    SongTable_Init(t);
    a_xml_input in;
    XML_Preset_Fields(in);
    a_xml_rec x;
    x.data = data;
    std::string tok, key;
    for (;;) {
        GetTokenXML(x, tok);
        if (tok.empty()) break;
        if (tok != "<key>") continue;
        if (!Read_Key(x, key)) continue;
        if (key == "Tracks" && Expect(x, "<dict>")) {
            Read_Tracks(x, in);
        } else if (key == "Playlist Items" && Expect(x, "<array>")) {
            Read_Playlist(x, in);
            break;  // only the first playlist
        }
    }
    if (in.songs.empty()) return false;
    t.nfields = in.nfields;
    for (uint32_t f = 1; f <= in.nfields; ++f) SongTable_SetField(t, f, in.fieldnames[f], in.fieldtypes[f]);
    for (uint32_t track : in.songs) {
        a_song* song = SongTable_NewSong(t);
        if (!song) continue;
        for (uint32_t f = 1; f <= in.nfields; ++f)
            (*song)[f] = Convert_Field(in.fieldtypes[f], in.tracks[track - 1][f], FIELD_UTF8);
    }
    return true;
}

bool Is_XML_File(std::string_view head) {
    if (head.substr(0, 3) == "\xEF\xBB\xBF") head.remove_prefix(3);
    return head.substr(0, 4) == "<?xm";
}
