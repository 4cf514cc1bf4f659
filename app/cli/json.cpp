#include "json.h"

#include <charconv>
#include <cmath>
#include <cstdio>

std::string Json_String(std::string_view s) {
    std::string out = "\"";
    for (unsigned char c : s) {
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default:
                if (c < 0x20) {
                    char buf[8];
                    std::snprintf(buf, sizeof buf, "\\u%04x", c);
                    out += buf;
                } else {
                    out += static_cast<char>(c);
                }
        }
    }
    return out + "\"";
}

std::string Json_Number(double v) {
    if (!std::isfinite(v)) return "null";
    char buf[32];
    // Shortest text that reads back as the same float.
    auto [p, ec] = std::to_chars(buf, buf + sizeof buf, static_cast<float>(v));
    if (ec != std::errc()) return "null";
    return std::string(buf, p);
}
