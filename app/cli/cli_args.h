// Small pieces shared by the subcommand files: the one-line refusal and
// checked numbers from the command line.
#pragma once
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <string>
#include <vector>

#include "base/message_text.h"
#include "base/messages.h"

// "cirquel-cli NAME: message" on stderr; returns the bad-input status 2.
inline int Cli_Fail(const char* name, const std::string& message) {
    std::fprintf(stderr, "cirquel-cli %s: %s\n", name, message.c_str());
    return 2;
}

// `english` in the messages' language, its %1 ... %9 replaced by `values` in
// one pass (a value holding "%2" stays as it is).
inline std::string Cli_Text(const char* english, std::initializer_list<std::string> values = {}) {
    return Message_Text(english, std::vector<std::string>(values));
}

// A whole number in [lo, hi] (decimal, or 0x hexadecimal with base 0);
// false for anything else.
inline bool Cli_Parse_Long(const std::string& s, long lo, long hi, long& out, int base = 10) {
    char* end = nullptr;
    long v = std::strtol(s.c_str(), &end, base);
    if (s.empty() || *end != '\0' || v < lo || v > hi) return false;
    out = v;
    return true;
}

// Alert texts carry line breaks and tabs meant for a dialog: one line of them.
inline std::string One_Line(const std::string& s) {
    std::string out;
    for (char c : s) {
        bool space = c == '\r' || c == '\n' || c == '\t';
        if (space && (out.empty() || out.back() == ' ')) continue;
        out += space ? ' ' : c;
    }
    return out;
}

inline bool Cli_Parse_Int(const std::string& s, int lo, int hi, int& out) {
    long v = 0;
    if (!Cli_Parse_Long(s, lo, hi, v)) return false;
    out = int(v);
    return true;
}
