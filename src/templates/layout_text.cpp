#include "templates/layout_text.h"

#include <bit>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "base/text_fill.h"
#include "templates/unit_kinds.h"

namespace {

bool Layout_Fail(a_layout_error& err, int line, const char* english, std::vector<std::string> values) {
    err.line = line;
    err.english = english;
    err.message = Fill_Values(english, values);
    err.values = std::move(values);
    return false;
}


const a_cunit kNoGroup{};

enum a_token_kind { TOK_END, TOK_STRING, TOK_IDENT, TOK_NUMBER, TOK_PUNCT };

struct a_token {
    a_token_kind kind = TOK_END;
    std::string_view text;
    int line = 1;
};

// Splits layout text into tokens, skipping white space and comments.
class a_lexer {
public:
    explicit a_lexer(std::string_view s) : s_(s) {}

    [[nodiscard]] bool Next(a_token& t, a_layout_error& err) {
        if (!Skip(err)) return false;
        t.line = line_;
        if (pos_ >= s_.size()) {
            t.kind = TOK_END;
            t.text = {};
            return true;
        }
        char c = s_[pos_];
        size_t start = pos_;
        if (c == '"') {
            ++pos_;
            while (pos_ < s_.size() && s_[pos_] != '"' && !Is_Control(s_[pos_])) ++pos_;
            if (pos_ < s_.size() && s_[pos_] != '"' && s_[pos_] != '\n' && s_[pos_] != '\r')
                return Fail(err, "control character in string");
            if (pos_ >= s_.size() || s_[pos_] != '"') return Fail(err, "unterminated string");
            t.kind = TOK_STRING;
            t.text = s_.substr(start + 1, pos_ - start - 1);
            ++pos_;
            return true;
        }
        if (std::isalpha(static_cast<unsigned char>(c)) || c == '_') {
            while (pos_ < s_.size() && (std::isalnum(static_cast<unsigned char>(s_[pos_])) ||
                                        s_[pos_] == '_'))
                ++pos_;
            t.kind = TOK_IDENT;
            t.text = s_.substr(start, pos_ - start);
            return true;
        }
        if (std::isdigit(static_cast<unsigned char>(c)) || c == '-' || c == '+' || c == '.') {
            ++pos_;
            while (pos_ < s_.size() && (std::isalnum(static_cast<unsigned char>(s_[pos_])) ||
                                        s_[pos_] == '.' ||
                                        ((s_[pos_] == '-' || s_[pos_] == '+') &&
                                         (s_[pos_ - 1] == 'e' || s_[pos_ - 1] == 'E'))))
                ++pos_;
            t.kind = TOK_NUMBER;
            t.text = s_.substr(start, pos_ - start);
            return true;
        }
        if (c == '{' || c == '}' || c == ',') {
            ++pos_;
            t.kind = TOK_PUNCT;
            t.text = s_.substr(start, 1);
            return true;
        }
        return Fail(err, "unexpected character '%1'", {std::string(1, c)});
    }

private:
    // A name holds no control characters: a NUL would cut it short on writing,
    // a line end would split it.
    static bool Is_Control(char c) {
        auto u = static_cast<unsigned char>(c);
        return u < 0x20 || u == 0x7F;
    }

    bool Skip(a_layout_error& err) {
        while (pos_ < s_.size()) {
            char c = s_[pos_];
            if (c == '\n') {
                ++line_;
                ++pos_;
            } else if (c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v') {
                ++pos_;
            } else if (c == '(' && pos_ + 1 < s_.size() && s_[pos_ + 1] == '*') {
                int open_line = line_;
                size_t end = s_.find("*)", pos_ + 2);
                if (end == std::string_view::npos) {
                    line_ = open_line;
                    return Fail(err, "unterminated comment");
                }
                for (size_t i = pos_; i < end; ++i)
                    if (s_[i] == '\n') ++line_;
                pos_ = end + 2;
            } else {
                break;
            }
        }
        return true;
    }

    [[nodiscard]] bool Fail(a_layout_error& err, const char* english, std::vector<std::string> values = {}) {
        return Layout_Fail(err, line_, english, std::move(values));
    }

    std::string_view s_;
    size_t pos_ = 0;
    int line_ = 1;
};

// Recursive-descent reader of one record at a time.
class a_parser {
public:
    explicit a_parser(std::string_view s) : lex_(s) {}

    bool Start(a_layout_error& err) { return Advance(err); }
    bool AtEnd() const { return tok_.kind == TOK_END; }
    int Line() const { return tok_.line; }

    [[nodiscard]] bool Record(a_ctemplate& t, a_layout_error& err) {
        t = a_ctemplate{};
        std::string_view sort, label, plat;
        if (!Punct('{', err) || !String(sort, err) || !Punct(',', err)) return false;
        if (sort.size() > sizeof t.sort) return Fail(err, "sort key longer than 12 characters");
        std::memcpy(t.sort, sort.data(), sort.size());
        if (!String(label, err) || !Punct(',', err)) return false;
        if (label.empty()) return Fail(err, "empty layout name");
        if (label.size() > sizeof t.label - 1) return Fail(err, "layout name longer than 31 characters");
        std::memcpy(t.label, label.data(), label.size());
        if (!Ident(plat, err) || !Punct(',', err)) return false;
        if (plat == "BOTH") t.platforms = 3;
        else if (plat == "MAC") t.platforms = 1u << PLATFORM_MAC;
        else if (plat == "WIN") t.platforms = 1u << PLATFORM_WIN;
        else return Fail(err, "unknown platform set '%1'", {std::string(plat)});
        uint32_t tflags = 0;
        if (!FlagSet("a_template_flag_set", TemplateFlag_FromName, tflags, err)) return false;
        t.tflags = tflags;
        float w = 0, h = 0;
        if (!Punct(',', err) || !Punct('{', err) || !Real(w, err) || !Punct(',', err) ||
            !Real(h, err) || !Punct('}', err) || !Punct(',', err))
            return false;
        if (!(w > 0 && h > 0)) return Fail(err, "paper size must be positive");
        t.papersize.x = w;
        t.papersize.y = h;
        uint32_t n = 0;
        int n_line = tok_.line;
        if (!Count(n, err) || !Punct(',', err)) return false;
        if (n < 1 || n > MAXNGROUPS) return FailAt(err, n_line, "number of groups must be 1 to 6");
        t.nunits = n;
        if (!Punct('{', err)) return false;
        uint64_t total = 0;
        for (int g = 0; g < MAXNGROUPS; ++g) {
            if (g > 0 && !Punct(',', err)) return false;
            if (!Group(t.units[g], err)) return false;
            if (static_cast<uint32_t>(g) < n) total += CUnit_Count(t.units[g]);
        }
        if (!Punct('}', err)) return false;
        int end_line = tok_.line;
        if (!Punct('}', err)) return false;
        if (IsPunct(',') && !Advance(err)) return false;
        if (total > MAXNUNITS) return FailAt(err, end_line, "layout has more than 250 labels");
        if (total == 0) return FailAt(err, end_line, "layout has no labels");
        return true;
    }

private:
    [[nodiscard]] bool Group(a_cunit& u, a_layout_error& err) {
        u = a_cunit{};
        if (tok_.kind == TOK_IDENT && tok_.text == "EMPTY_UNIT") return Advance(err);
        std::string_view kind;
        int kind_line = tok_.line;
        if (!Punct('{', err) || !Ident(kind, err) || !Punct(',', err)) return false;
        int k = UnitKind_FromName(kind);
        if (k < 0) return FailAt(err, kind_line, "unknown unit kind '%1'", {std::string(kind)});
        u.kind = static_cast<uint8_t>(k);
        uint32_t uflags = 0;
        if (!FlagSet("a_unit_flag_set", UnitFlag_FromName, uflags, err)) return false;
        u.uflags = uflags;
        uint32_t nx = 0, ny = 0;
        if (!Punct(',', err) || !Count(nx, err) || !Punct(',', err) || !Count(ny, err)) return false;
        u.nx = nx;
        u.ny = ny;
        float v[14];
        for (float& f : v)
            if (!Punct(',', err) || !Real(f, err)) return false;
        u.bboxleft = v[0];
        u.bboxtop = v[1];
        u.bboxwidth = v[2];
        u.bboxheight = v[3];
        u.pitchx = v[4];
        u.pitchy = v[5];
        u.bleedleft = v[6];
        u.bleedtop = v[7];
        u.bleedright = v[8];
        u.bleedbottom = v[9];
        u.meas1 = v[10];
        u.meas2 = v[11];
        u.meas3 = v[12];
        u.meas4 = v[13];
        int close_line = tok_.line;
        if (!Punct('}', err)) return false;
        // Written back, an empty group is EMPTY_UNIT: anything it held would be lost.
        if (u.kind == UNIT_EMPTY && std::memcmp(&u, &kNoGroup, sizeof u) != 0)
            return FailAt(err, close_line, "a group of kind UNIT_EMPTY must hold nothing");
        if (nx > 0 && ny > 0 && u.kind != UNIT_EMPTY && !(u.bboxwidth > 0 && u.bboxheight > 0))
            return FailAt(err, close_line, "label width and height must be positive");
        return true;
    }

    [[nodiscard]] bool FlagSet(std::string_view keyword, int (*from_name)(std::string_view), uint32_t& set,
                 a_layout_error& err) {
        std::string_view word;
        if (!Ident(word, err)) return false;
        if (word != keyword) return Fail(err, "expected %1", {std::string(keyword)});
        if (!Punct('{', err)) return false;
        set = 0;
        while (!IsPunct('}')) {
            if (set != 0 && !Punct(',', err)) return false;
            std::string_view name;
            int line = tok_.line;
            if (!Ident(name, err)) return false;
            int bit = from_name(name);
            if (bit < 0) return FailAt(err, line, "unknown flag '%1'", {std::string(name)});
            set |= Flag_Bit(bit);
        }
        return Advance(err);
    }

    [[nodiscard]] bool Real(float& f, a_layout_error& err) {
        if (tok_.kind != TOK_NUMBER) return Expected("a number", err);
        std::string_view s = tok_.text;
        if (!s.empty() && s[0] == '+') s.remove_prefix(1);
        auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), f);
        if (ec != std::errc() || p != s.data() + s.size() || !std::isfinite(f))
            return Fail(err, "bad number '%1'", {std::string(tok_.text)});
        return Advance(err);
    }

    [[nodiscard]] bool Count(uint32_t& n, a_layout_error& err) {
        if (tok_.kind != TOK_NUMBER) return Expected("a whole number", err);
        std::string_view s = tok_.text;
        auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), n);
        if (ec != std::errc() || p != s.data() + s.size() || n > 100000)
            return Fail(err, "bad count '%1'", {std::string(tok_.text)});
        return Advance(err);
    }

    bool String(std::string_view& s, a_layout_error& err) {
        if (tok_.kind != TOK_STRING) return Expected("a quoted string", err);
        s = tok_.text;
        return Advance(err);
    }

    [[nodiscard]] bool Ident(std::string_view& s, a_layout_error& err) {
        if (tok_.kind != TOK_IDENT) return Expected("a name", err);
        s = tok_.text;
        return Advance(err);
    }

    [[nodiscard]] bool Punct(char c, a_layout_error& err) {
        if (!IsPunct(c)) return Expected(std::string("'") + c + "'", err);
        return Advance(err);
    }

    bool IsPunct(char c) const { return tok_.kind == TOK_PUNCT && tok_.text[0] == c; }

    [[nodiscard]] bool Expected(const std::string& what, a_layout_error& err) {
        if (tok_.kind == TOK_END) return Fail(err, "expected %1, found the end of the file", {what});
        return Fail(err, "expected %1, found '%2'", {what, std::string(tok_.text)});
    }

    [[nodiscard]] bool Advance(a_layout_error& err) { return lex_.Next(tok_, err); }
    [[nodiscard]] bool Fail(a_layout_error& err, const char* english, std::vector<std::string> values = {}) {
        return Layout_Fail(err, tok_.line, english, std::move(values));
    }
    [[nodiscard]] static bool FailAt(a_layout_error& err, int line, const char* english,
                                     std::vector<std::string> values = {}) {
        return Layout_Fail(err, line, english, std::move(values));
    }

    a_lexer lex_;
    a_token tok_;
};

// Four decimals, as the designer writes; a value that four decimals would
// change (a tiny size, a fifth decimal) is written in the shortest form that
// reads back as the same float, so that what was read is what is written.
std::string Real_Text(float f) {
    char buf[64];
    int n = std::snprintf(buf, sizeof buf, "%.4f", static_cast<double>(f));
    float back = 0;
    auto [p, ec] = std::from_chars(buf, buf + n, back);
    if (ec == std::errc() && std::bit_cast<uint32_t>(back) == std::bit_cast<uint32_t>(f)) return buf;
    char* end = std::to_chars(buf, buf + sizeof buf, f).ptr;
    return std::string(buf, end);
}

// Flags in the designer's order first, then any others by bit number.
template <size_t N>
std::string Flags(uint32_t set, const unsigned (&order)[N], std::string_view (*name)(int)) {
    std::string out;
    auto add = [&](unsigned bit) {
        if (!out.empty()) out += ", ";
        out += name(static_cast<int>(bit));
    };
    for (unsigned bit : order)
        if (Has_Flag(set, bit)) add(bit);
    for (unsigned bit = 0; bit < 32; ++bit) {
        bool listed = false;
        for (unsigned o : order) listed |= (o == bit);
        if (!listed && Has_Flag(set, bit) && !name(static_cast<int>(bit)).empty()) add(bit);
    }
    return out;
}

std::string Group_Text(const a_cunit& u) {
    static const unsigned kOrder[] = {UNIT_STAGGERED,      UNIT_CLOBBERS,       UNIT_SHORTODD,
                                      UNIT_PERIMETERBLEED, UNIT_PERIMETERPLUSH, UNIT_PERIMETERPLUSV,
                                      UNIT_CROPMARKS,      UNIT_NOTINDEXED};
    std::string s = "{ " + std::string(UnitKind_Name(u.kind)) + ", a_unit_flag_set { " +
                    Flags(u.uflags, kOrder, UnitFlag_Name) + " }, " + std::to_string(u.nx) +
                    ", " + std::to_string(u.ny);
    const float v[14] = {u.bboxleft, u.bboxtop,   u.bboxwidth, u.bboxheight, u.pitchx,
                         u.pitchy,   u.bleedleft, u.bleedtop,  u.bleedright, u.bleedbottom,
                         u.meas1,    u.meas2,     u.meas3,     u.meas4};
    for (int i = 0; i < 14; ++i) {
        s += ", ";
        if (i == 0) s += "(* BBOX *) ";
        if (i == 4) s += "(* PITCH *) ";
        if (i == 6) s += "(* BLEED *) ";
        if (i == 10) s += "(* MEAS *) ";
        s += Real_Text(v[i]);
    }
    s += " }";
    return s;
}

std::string Fixed_Text(const char* p, size_t n) { return std::string(p, strnlen(p, n)); }

}  // namespace

uint64_t CUnit_Count(const a_cunit& g) {
    if (g.nx == 0 || g.ny == 0) return 0;
    if (!Has_Flag(g.uflags, UNIT_SHORTODD)) return uint64_t{g.nx} * g.ny;
    uint64_t even_rows = g.ny / 2, odd_rows = g.ny - even_rows;
    return odd_rows * g.nx + even_rows * (g.nx - 1);
}

bool Layout_Parse(std::string_view text, std::vector<a_ctemplate>& out, a_layout_error& error,
                  std::vector<int>* lines) {
    std::vector<a_ctemplate> records;
    std::vector<int> starts;
    a_parser p(text);
    if (!p.Start(error)) return false;
    while (!p.AtEnd()) {
        a_ctemplate t;
        starts.push_back(p.Line());
        if (!p.Record(t, error)) return false;
        records.push_back(t);
    }
    out.insert(out.end(), records.begin(), records.end());
    if (lines) lines->insert(lines->end(), starts.begin(), starts.end());
    return true;
}

std::string Layout_Write(const a_ctemplate& t, bool placeholder_sort) {
    static const unsigned kOrder[] = {IS_LANDSCAPE, IS_PITCHBETWEEN, IS_CDPRINTER, IS_INCHES};
    const char* crlf = "\r\n";
    std::string s = "(* LAYOUT Version 4.00 *)";
    s += crlf;
    std::string sort = placeholder_sort ? "SORT________" : Fixed_Text(t.sort, sizeof t.sort);
    a_fpoint paper = CTemplate_Paper(t);
    std::string plat = t.platforms == 3 ? "BOTH" : (t.platforms & 1) ? "MAC" : "WIN";
    s += "{ \"" + sort + "\", \"" + Fixed_Text(t.label, sizeof t.label) + "\", " + plat +
         ", a_template_flag_set { " + Flags(t.tflags, kOrder, TemplateFlag_Name) +
         " },  (* paper *) { " + Real_Text(paper.x) + ", " + Real_Text(paper.y) + " }, " +
         std::to_string(t.nunits) + ", " + crlf + "{";
    for (int g = 0; g < MAXNGROUPS; ++g) {
        const a_cunit& u = t.units[g];
        bool last = g == MAXNGROUPS - 1;
        if (u.kind == UNIT_EMPTY) {
            s += "EMPTY_UNIT";
            if (!last) s += ", ";
        } else {
            s += Group_Text(u);
            if (!last) s += ", ";
            s += crlf;
        }
    }
    s += " }},";
    s += crlf;
    return s;
}
