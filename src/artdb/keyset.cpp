#include "artdb/keyset.h"

#include <charconv>

int Compare_Keys(const a_keyset& x, const a_keyset& y) {
    const int16_t xs[4] = {x.a, x.b, x.c, x.d};
    const int16_t ys[4] = {y.a, y.b, y.c, y.d};
    for (int i = 0; i < 4; ++i) {
        if (xs[i] != ys[i]) return xs[i] < ys[i] ? -1 : 1;
    }
    return 0;
}

bool Equal_Keys(const a_keyset& x, const a_keyset& y) {
    return x == y;
}

void Null_Key(a_keyset& key) {
    key = a_keyset{};
}

bool Is_Null_Key(const a_keyset& key) {
    return key == a_keyset{};
}

bool Is_Multiple_Key(const a_keyset& key) {
    return key.a == KEY_WILDCARD || key.b == KEY_WILDCARD || key.c == KEY_WILDCARD ||
           key.d == KEY_WILDCARD;
}

std::string Key_To_String(const a_keyset& key) {
    return std::to_string(key.a) + "." + std::to_string(key.b) + "." + std::to_string(key.c) + "." +
           std::to_string(key.d);
}

bool Key_From_String(const std::string& text, a_keyset& key) {
    int16_t parts[4];
    const char* p = text.data();
    const char* end = p + text.size();
    for (int i = 0; i < 4; ++i) {
        auto [next, ec] = std::from_chars(p, end, parts[i]);
        if (ec != std::errc() || next == p) return false;
        p = next;
        if (i < 3) {
            if (p == end || *p != '.') return false;
            ++p;
        }
    }
    if (p != end) return false;
    key = a_keyset{parts[0], parts[1], parts[2], parts[3]};
    return true;
}
