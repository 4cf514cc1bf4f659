// The font list: the installed families, sorted and filtered, numbered from 1
// in this run, with their character set, pitch and attributes; and the
// measuring of text in one of them. The core sees numbers and UTF-16 names.
// Process-wide state: the loaded font list and a small cache of measured
// fonts (reads and writes, loaded once).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

enum : int { MAX_FONT_FAMILIES = 8000, FONT_NAME_UNITS = 128 };

enum a_font_attrib : uint8_t {
    IS_PI_FONT = 0,        // symbols and ornaments
    IS_SP_FONT = 1,        // special scripts shown under their own names
    IS_ASIAN_FONT = 2,     // the Shift-JIS character set
    IS_NONROMAN_FONT = 3   // any other set but 0 and 255
};
enum : uint8_t { FONT_CHARSET_ANSI = 0, FONT_CHARSET_SYMBOL = 2, FONT_CHARSET_SHIFTJIS = 128 };
enum : uint8_t { FONT_PITCH_FIXED = 1, FONT_PITCH_VARIABLE = 2 };

struct a_family_item {
    int32_t order = 0;         // sort key: place in the list
    std::u16string fontname;   // at most FONT_NAME_UNITS - 1 units
    uint8_t charset = FONT_CHARSET_ANSI;
    uint8_t pitch = FONT_PITCH_VARIABLE;
    uint8_t attrib = 0;        // set of a_font_attrib
};

int Font_Count();
// Entry `fontx` (1 .. Font_Count()); nullptr when out of range.
const a_family_item* Font_Item(int fontx);
// Family name of font `fontx`; empty when out of range.
std::u16string Font_Name(int fontx);
// Font number of the family called `name` (exact, then ignoring case); 0 when none.
int Font_Find(const std::u16string& name);
// The family used where no other is named or the named one is missing.
int Font_Base_Proportional();

// Whether a family of this name is listed, and its flags from its name and
// character set (the rules of the list, open to tests).
bool Font_Name_Excluded(const std::u16string& name);
uint8_t Font_Attribs(const std::u16string& name, uint8_t charset);

// Replaces the system's families by a list of one's own (tests); an empty
// list goes back to the system's.
void Fonts_Use_List(const std::vector<std::u16string>& families);

// One font as measured: family number, pixel size and style.
struct a_font_key {
    int fontx = 0;
    float pixels = 12;
    bool bold = false;
    bool italic = false;
    bool operator==(const a_font_key&) const = default;
};
// Advance width in pixels of `n` UTF-16 units (one character, or a
// surrogate pair) in that font; characters it lacks fall back as drawn.
float Font_Text_Width(const a_font_key& key, const char16_t* s, int n);
// Ascent and descent in pixels.
void Font_Ascent_Descent(const a_font_key& key, float& ascent, float& descent);
