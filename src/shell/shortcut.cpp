#include "shell/shortcut.h"

#include <vector>

namespace {

[[nodiscard]] bool Parse_Key(std::string_view word, int& key) {
    if (word.size() == 1 && word[0] > ' ' && word[0] < 0x7F) {
        char c = word[0];
        key = (c >= 'a' && c <= 'z') ? c - 'a' + 'A' : c;
        return true;
    }
    if (word.size() < 2 || word.size() > 3 || word[0] != 'F') return false;
    int n = 0;
    for (char c : word.substr(1)) {
        if (c < '0' || c > '9') return false;
        n = n * 10 + (c - '0');
    }
    if (n < 1 || n > 15) return false;
    key = SHORTCUT_F1 + n - 1;
    return true;
}

}  // namespace

bool Shortcut_Parse(std::string_view text, a_shortcut& s) {
    s = a_shortcut{};
    std::vector<std::string_view> words;
    size_t start = 0;
    for (size_t i = 0; i <= text.size(); ++i) {
        if (i == text.size() || text[i] == ' ') {
            if (i == start) return false;  // empty text, or two blanks in a row
            words.push_back(text.substr(start, i - start));
            start = i + 1;
        }
    }
    for (size_t i = 0; i + 1 < words.size(); ++i) {
        if (words[i] == "Ctrl")
            s.mods |= SHORTCUT_CTRL;
        else if (words[i] == "Alt")
            s.mods |= SHORTCUT_ALT;
        else if (words[i] == "Shift")
            s.mods |= SHORTCUT_SHIFT;
        else
            return false;
    }
    return Parse_Key(words.back(), s.key);
}
