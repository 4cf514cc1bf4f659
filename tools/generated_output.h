// Helpers shared by the build steps that write C++ sources.
#pragma once
#include <cstdio>
#include <fstream>
#include <string>

// One byte inside a C++ string literal; octal escapes are always three
// digits so that a following digit cannot join them.
inline void Append_Literal_Byte(std::string& out, unsigned char c) {
    if (c >= 0x20 && c < 0x7F && c != '"' && c != '\\' && c != '?') {
        out += static_cast<char>(c);
    } else {
        char esc[8];
        std::snprintf(esc, sizeof esc, "\\%03o", c);
        out += esc;
    }
}

// Writes `text` to a temporary file and renames it over `path`, so that a
// failed build step never leaves a half-written source behind.
inline bool Write_Generated(const char* path, const std::string& text) {
    std::string tmp = std::string(path) + ".tmp";
    {
        std::ofstream f(tmp, std::ios::binary);
        f << text;
        if (!f.flush()) {
            std::fprintf(stderr, "%s: cannot write\n", tmp.c_str());
            return false;
        }
    }
    if (std::rename(tmp.c_str(), path) != 0) {
        std::fprintf(stderr, "%s: cannot rename into place\n", path);
        return false;
    }
    return true;
}
