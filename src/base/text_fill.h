// %1 ... %9 of a message filled with its values, in one pass: a value that
// itself holds "%2" stays as it is. Header-only, so that the build's own
// tools (which link no message module) make the same English messages.
#pragma once
#include <string>
#include <string_view>
#include <vector>

inline std::string Fill_Values(std::string_view text, const std::vector<std::string>& values) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        size_t n = i + 1 < text.size() && text[i] == '%' ? size_t(text[i + 1] - '1') : values.size();
        if (n < values.size()) out += values[n], ++i;
        else out += text[i];
    }
    return out;
}
