// The key of an art-database record: four signed components, category first.
// Process-wide state: none.
#pragma once
#include <cstdint>
#include <string>

enum : int16_t { KEY_WILDCARD = 32000 };

struct a_keyset {
    int16_t a = 0;  // category
    int16_t b = 0;
    int16_t c = 0;
    int16_t d = 0;
    bool operator==(const a_keyset&) const = default;
};

// Lexicographic order, each component signed: negative, zero or positive.
int Compare_Keys(const a_keyset& x, const a_keyset& y);
bool Equal_Keys(const a_keyset& x, const a_keyset& y);
void Null_Key(a_keyset& key);
bool Is_Null_Key(const a_keyset& key);
// Any component is the wildcard: the key names a whole run of records.
bool Is_Multiple_Key(const a_keyset& key);

// "a.b.c.d" in decimal, and back; false when the text is not four 16-bit numbers.
std::string Key_To_String(const a_keyset& key);
[[nodiscard]] bool Key_From_String(const std::string& text, a_keyset& key);
