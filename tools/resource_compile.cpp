// Build step: reads the string lists (data/strings/<lang>.txt) and the menus
// (data/menus/<lang>.txt) and writes the program's resource table as a C++
// source file. The string files also carry the window's texts keyed by their
// English wording ("tr" lines), compiled into one text table per language. Any malformed line stops the build with "file:line: message".
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "generated_output.h"
#include "platform/codepage.h"
#include "platform/resources.h"
#include "shell/shortcut.h"
#include "base/string_ids.h"

namespace {

struct a_pos {
    std::string file;
    int line = 0;
};

[[noreturn]] void Fail(const a_pos& p, const std::string& message) {
    std::fprintf(stderr, "%s:%d: %s\n", p.file.c_str(), p.line, message.c_str());
    std::exit(1);
}

enum a_item_kind : uint8_t { ITEM_PLAIN = 0, ITEM_SEPARATOR = 1, ITEM_SUBMENU = 2 };

struct a_item {
    int number = 0;
    a_item_kind kind = ITEM_PLAIN;
    int submenu = 0;
    std::string text;
    bool same = false;  // written "=": the English item's text
    a_pos pos;
};

struct a_menu_data {
    std::string title;
    std::vector<a_item> items;
    a_pos pos;
};

struct a_language {
    std::map<std::pair<int, int>, std::pair<std::string, a_pos>> strings;  // (list, index)
    std::map<int, a_menu_data> menus;
    std::map<std::string, std::string> window_texts;  // English wording -> this language's
};

a_language g_lang[NLANGUAGES];
std::map<int, std::pair<std::vector<int>, a_pos>> g_bars;

constexpr size_t kMaxWindowText = 2000;
// Stands for "=" until the English text is known; a control character no
// text may hold.
constexpr const char* kSameAsEnglish = "\x01=";

const int kLists[] = {MAIN_STR_ID,     INSTALL_STR_ID, ALERT_STR_ID,  ADJUST_STR_ID,
                      UNITKIND_STR_ID, UNDO_STR_ID,    DESIGN_STR_ID, IDENTITY_STR_ID};

// Reads the words of one line: numbers, words and quoted texts.
class a_line_reader {
  public:
    a_line_reader(const std::string& s, const a_pos& p) : s_(s), p_(p) {}

    bool At_End() {
        Skip_Blanks();
        return i_ >= s_.size();
    }
    bool Peek(char c) {
        Skip_Blanks();
        return i_ < s_.size() && s_[i_] == c;
    }
    std::string Word() {
        Skip_Blanks();
        size_t start = i_;
        while (i_ < s_.size() && s_[i_] != ' ' && s_[i_] != '\t') ++i_;
        return s_.substr(start, i_ - start);
    }
    int Number(const char* what, int lo, int hi) {
        std::string w = Word();
        if (w.empty() || w.find_first_not_of("0123456789") != std::string::npos || w.size() > 6)
            Fail(p_, std::string("expected ") + what);
        int n = std::stoi(w);
        if (n < lo || n > hi)
            Fail(p_, std::string(what) + " " + w + " is outside " + std::to_string(lo) + ".." +
                         std::to_string(hi));
        return n;
    }
    std::string Text(size_t limit = 255) {
        Skip_Blanks();
        if (i_ >= s_.size() || s_[i_] != '"') Fail(p_, "expected a text in double quotes");
        std::string out;
        for (++i_; i_ < s_.size(); ++i_) {
            char c = s_[i_];
            if (c == '"') {
                ++i_;
                Check_Text(out, limit);
                return out;
            }
            if (c != '\\') {
                out += c;
                continue;
            }
            if (++i_ >= s_.size()) break;
            switch (s_[i_]) {
                case '"':
                    out += '"';
                    break;
                case '\\':
                    out += '\\';
                    break;
                case 'r':
                    out += '\r';
                    break;
                case 'n':
                    out += '\n';
                    break;
                case 't':
                    out += '\t';
                    break;
                default:
                    Fail(p_, std::string("unknown escape \\") + s_[i_]);
            }
        }
        Fail(p_, "text without its closing double quote");
    }
    void Expect_End() {
        if (!At_End()) Fail(p_, "unexpected \"" + s_.substr(i_) + "\" at the end of the line");
    }

  private:
    void Skip_Blanks() {
        while (i_ < s_.size() && (s_[i_] == ' ' || s_[i_] == '\t')) ++i_;
    }
    void Check_Text(const std::string& t, size_t limit) {
        if (!Is_Valid_Utf8(t)) Fail(p_, "text is not valid UTF-8");
        if (t.size() > limit)
            Fail(p_, "text is " + std::to_string(t.size()) + " bytes; at most " + std::to_string(limit));
    }
    const std::string& s_;
    a_pos p_;
    size_t i_ = 0;
};

int Language_Of(const std::string& path) {
    size_t slash = path.find_last_of('/');
    std::string name = path.substr(slash == std::string::npos ? 0 : slash + 1);
    size_t dot = name.rfind('.');
    if (dot != std::string::npos) name.resize(dot);
    for (int i = 0; i < NLANGUAGES; ++i)
        if (name == kLanguageCodes[i]) return i;
    Fail({path, 0}, "file name is not a language code (en, de, ...)");
}

// Calls `each` with every line that is neither blank nor a comment.
template <typename F>
void For_Lines(const std::string& path, F each) {
    std::ifstream in(path, std::ios::binary);
    if (!in) Fail({path, 0}, "cannot read");
    std::string line;
    a_pos p{path, 0};
    while (std::getline(in, line)) {
        ++p.line;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        size_t first = line.find_first_not_of(" \t");
        if (first == std::string::npos || line[first] == '#') continue;
        each(line, p);
    }
}

// A window text: `tr "ENGLISH"` in English, `tr "ENGLISH" "TRANSLATION"` in
// the other languages.
void Read_Window_Text(a_line_reader& r, int lang, const a_pos& p) {
    std::string english = r.Text(kMaxWindowText);
    if (lang != LANG_ENGLISH && r.Peek('=')) {  // deliberately the English wording
        if (r.Word() != "=") Fail(p, "expected = or a text");
        r.Expect_End();
        if (!g_lang[lang].window_texts.emplace(english, english).second)
            Fail(p, "window text \"" + english + "\" is given twice");
        return;
    }
    std::string text = lang == LANG_ENGLISH ? english : r.Text(kMaxWindowText);
    r.Expect_End();
    if (text.empty()) Fail(p, "an empty translation; leave the line out until it is written");
    if (!g_lang[lang].window_texts.emplace(english, text).second)
        Fail(p, "window text \"" + english + "\" is given twice");
}

void Read_Strings(const std::string& path) {
    int lang = Language_Of(path);
    For_Lines(path, [&](const std::string& line, const a_pos& p) {
        a_line_reader r(line, p);
        if (r.Peek('t')) {
            if (r.Word() != "tr") Fail(p, "expected tr or a list id");
            Read_Window_Text(r, lang, p);
            return;
        }
        int list = r.Number("list id", 0, 32767);
        bool known = false;
        for (int l : kLists) known |= l == list;
        if (!known) Fail(p, "list " + std::to_string(list) + " is not a base list id");
        if (list == IDENTITY_STR_ID && lang != LANG_ENGLISH)
            Fail(p, "the identity list 1000 is not translated");
        int index = r.Number("string index", 1, 4000);
        // "=": deliberately the English text, filled in once all files are read.
        const bool same = lang != LANG_ENGLISH && r.Peek('=');
        if (same && r.Word() != "=") Fail(p, "expected = or a text");
        std::string text = same ? std::string(kSameAsEnglish) : r.Text();
        r.Expect_End();
        if (!g_lang[lang].strings.emplace(std::pair(list, index), std::pair(text, p)).second)
            Fail(p, "string " + std::to_string(list) + " " + std::to_string(index) +
                        " is given twice");
    });
}

bool Is_Menu_Id(int id) {
    return id == 80 || id == 81 || (id >= 100 && id <= 1200 && id % 20 == 0);
}

void Read_Menus(const std::string& path) {
    int lang = Language_Of(path);
    a_menu_data* menu = nullptr;
    int menu_id = 0;
    For_Lines(path, [&](const std::string& line, const a_pos& p) {
        a_line_reader r(line, p);
        if (r.Peek('b')) {
            if (r.Word() != "bar") Fail(p, "expected bar, menu or an item number");
            if (lang != LANG_ENGLISH) Fail(p, "menu bars are given only in English");
            int id = r.Number("menu bar id", 1, 32767);
            std::vector<int> menus;
            while (!r.At_End()) menus.push_back(r.Number("menu id", 1, 32767));
            if (menus.empty()) Fail(p, "a menu bar without menus");
            if (!g_bars.emplace(id, std::pair(menus, p)).second) Fail(p, "menu bar given twice");
            return;
        }
        if (r.Peek('m')) {
            if (r.Word() != "menu") Fail(p, "expected bar, menu or an item number");
            menu_id = r.Number("menu id", 1, 32767);
            if (!Is_Menu_Id(menu_id))
                Fail(p, "menu ids are 80, 81 or multiples of 20 from 100 to 1200");
            a_menu_data m;
            m.title = r.Text();
            m.pos = p;
            r.Expect_End();
            auto [it, fresh] = g_lang[lang].menus.emplace(menu_id, m);
            if (!fresh) Fail(p, "menu " + std::to_string(menu_id) + " is given twice");
            menu = &it->second;
            return;
        }
        if (!menu) Fail(p, "an item before the first menu");
        a_item item;
        item.pos = p;
        item.number = r.Number("command number", 1, 32767);
        int expected = menu_id + static_cast<int>(menu->items.size()) + 1;
        if (item.number != expected)
            Fail(p, "item " + std::to_string(item.number) + " should be numbered " +
                        std::to_string(expected) + " (menu id + position)");
        if (expected - menu_id > 19) Fail(p, "a menu holds at most 19 items");
        if (r.Peek('-')) {
            if (r.Word() != "-") Fail(p, "expected - or a text");
            item.kind = ITEM_SEPARATOR;
        } else {
            if (lang != LANG_ENGLISH && r.Peek('=')) {
                if (r.Word() != "=") Fail(p, "expected = or a text");
                item.same = true;  // the English text, filled in once all files are read
            } else {
                item.text = r.Text();
            }
            if (r.Peek('>')) {
                if (r.Word() != ">") Fail(p, "expected > and a menu id");
                item.kind = ITEM_SUBMENU;
                item.submenu = r.Number("submenu id", 1, 32767);
            }
        }
        r.Expect_End();
        menu->items.push_back(item);
    });
}

// Every translation must have its English original, and a translated menu
// the same items as the English one, so commands mean the same everywhere.
void Check_Translations() {
    const a_language& en = g_lang[LANG_ENGLISH];
    for (int lang = 1; lang < NLANGUAGES; ++lang) {
        for (auto& [key, value] : g_lang[lang].strings) {
            auto e = en.strings.find(key);
            if (e == en.strings.end())
                Fail(value.second, "string " + std::to_string(key.first) + " " +
                                       std::to_string(key.second) + " has no English original");
            if (value.first == kSameAsEnglish) value.first = e->second.first;
        }
        for (auto& [id, m] : g_lang[lang].menus) {
            auto e = en.menus.find(id);
            if (e == en.menus.end())
                Fail(m.pos, "menu " + std::to_string(id) + " has no English original");
            if (e->second.items.size() != m.items.size())
                Fail(m.pos, "menu " + std::to_string(id) + " has " +
                                std::to_string(m.items.size()) + " items; the English one has " +
                                std::to_string(e->second.items.size()));
            for (size_t i = 0; i < m.items.size(); ++i) {
                if (m.items[i].kind != e->second.items[i].kind ||
                    m.items[i].submenu != e->second.items[i].submenu)
                    Fail(m.items[i].pos, "item differs in kind from the English one");
                if (m.items[i].same) m.items[i].text = e->second.items[i].text;
            }
        }
    }
}

void Check_English_Menus() {
    const a_language& en = g_lang[LANG_ENGLISH];
    for (const auto& [id, bar] : g_bars)
        for (int m : bar.first)
            if (!en.menus.count(m))
                Fail(bar.second, "menu " + std::to_string(m) + " is not defined");
    for (const auto& [id, m] : en.menus) {
        for (const a_item& item : m.items) {
            if (item.kind == ITEM_SUBMENU && !en.menus.count(item.submenu))
                Fail(item.pos, "submenu " + std::to_string(item.submenu) + " is not defined");
            size_t tab = item.text.find('\t');
            a_shortcut s;
            if (tab != std::string::npos && !Shortcut_Parse(item.text.substr(tab + 1), s))
                Fail(item.pos, "shortcut \"" + item.text.substr(tab + 1) + "\" is not understood");
        }
    }
}

void Put16(std::string& b, int v) {
    b += static_cast<char>((v >> 8) & 0xFF);
    b += static_cast<char>(v & 0xFF);
}

void Put_PString(std::string& b, const std::string& s) {
    b += static_cast<char>(s.size());
    b += s;
}

using a_table = std::map<std::pair<uint32_t, int>, std::string>;

void Build_String_Lists(a_table& table) {
    for (int lang = 0; lang < NLANGUAGES; ++lang) {
        std::map<int, std::map<int, std::string>> lists;
        for (const auto& [key, value] : g_lang[lang].strings)
            lists[key.first][key.second] = value.first;
        for (const auto& [list, strings] : lists) {
            int count = strings.rbegin()->first;
            std::string b;
            Put16(b, count);
            for (int i = 1; i <= count; ++i) {
                auto it = strings.find(i);
                Put_PString(b, it == strings.end() ? std::string() : it->second);
            }
            int id = list == IDENTITY_STR_ID ? list : list + lang;
            table[{RES_STRLIST, id}] = b;
        }
    }
}

// Per language other than English: a 16-bit count, then the pairs sorted by
// their English wording, each text with a 16-bit length.
void Build_Window_Texts(a_table& table) {
    for (int lang = 1; lang < NLANGUAGES; ++lang) {
        const auto& texts = g_lang[lang].window_texts;
        if (texts.empty()) continue;
        std::string b;
        Put16(b, static_cast<int>(texts.size()));
        for (const auto& [english, text] : texts) {
            Put16(b, static_cast<int>(english.size()));
            b += english;
            Put16(b, static_cast<int>(text.size()));
            b += text;
        }
        table[{RES_WINTEXT, lang}] = b;
    }
}

void Build_Menus(a_table& table) {
    for (int lang = 0; lang < NLANGUAGES; ++lang) {
        for (const auto& [id, m] : g_lang[lang].menus) {
            std::string b;
            Put_PString(b, m.title);
            b += static_cast<char>(m.items.size());
            for (const a_item& item : m.items) {
                b += static_cast<char>(item.kind);
                if (item.kind == ITEM_SUBMENU) Put16(b, item.submenu);
                Put_PString(b, item.text);
            }
            int rid = (id == 80 || id == 81) ? id : id + lang;
            table[{RES_MENU, rid}] = b;
        }
    }
    for (const auto& [id, bar] : g_bars) {
        std::string b;
        Put16(b, static_cast<int>(bar.first.size()));
        for (int m : bar.first) Put16(b, m);
        table[{RES_MENUBAR, id}] = b;
    }
}

std::string Emit(const a_table& table) {
    std::string out =
        "// Generated by resource_compile from data/strings and data/menus; do not edit.\n"
        "#include \"platform/resources.h\"\n\n"
        "const a_resource_entry g_resource_index[] = {\n";
    std::string bytes;
    for (const auto& [key, b] : table) {
        out += "    {" + std::to_string(key.first) + "u, " + std::to_string(key.second) + ", " +
               std::to_string(bytes.size()) + "u, " + std::to_string(b.size()) + "u},\n";
        bytes += b;
    }
    out += "};\nconst size_t g_resource_count = " + std::to_string(table.size()) + ";\n\n";
    out += "const uint8_t g_resource_bytes[] =\n    \"";
    size_t column = 0;
    for (unsigned char c : bytes) {
        if (column > 90) {
            out += "\"\n    \"";
            column = 0;
        }
        size_t before = out.size();
        Append_Literal_Byte(out, c);
        column += out.size() - before;
    }
    out += "\";\nconst size_t g_resource_bytes_size = " + std::to_string(bytes.size()) + ";\n";
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr,
                     "usage: resource_compile OUTPUT.cpp --strings FILE... --menus FILE...\n");
        return 2;
    }
    bool menus = false;
    for (int i = 2; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--strings")
            menus = false;
        else if (a == "--menus")
            menus = true;
        else if (menus)
            Read_Menus(a);
        else
            Read_Strings(a);
    }
    Check_Translations();
    Check_English_Menus();
    a_table table;
    Build_String_Lists(table);
    Build_Window_Texts(table);
    Build_Menus(table);
    return Write_Generated(argv[1], Emit(table)) ? 0 : 1;
}
