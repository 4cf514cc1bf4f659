#include "art_recipes.h"

#include <fstream>
#include <sstream>

#include "art_draw.h"

namespace {

bool Parse_Int(const std::string& s, int& out) {
    if (s.empty()) return false;
    size_t i = (s[0] == '-') ? 1 : 0;
    if (i == s.size()) return false;
    for (size_t j = i; j < s.size(); ++j)
        if (s[j] < '0' || s[j] > '9') return false;
    if (s.size() > 9) return false;
    out = std::stoi(s);
    return true;
}

std::vector<std::string> Split(const std::string& s, char sep) {
    std::vector<std::string> parts;
    std::string part;
    std::istringstream in(s);
    while (std::getline(in, part, sep)) parts.push_back(part);
    return parts;
}

// Splits a line into words; a quoted run (after '=') may hold spaces.
bool Split_Words(const std::string& line, std::vector<std::string>& words) {
    std::string word;
    bool quoted = false, any = false;
    for (char ch : line) {
        if (ch == '"') {
            quoted = !quoted;
            any = true;
        } else if (!quoted && (ch == ' ' || ch == '\t')) {
            if (any) words.push_back(word);
            word.clear();
            any = false;
        } else {
            word += ch;
            any = true;
        }
    }
    if (any) words.push_back(word);
    return !quoted;
}

}  // namespace

void a_art_recipe::Fail(const std::string& what) const {
    if (problem.empty()) problem = what;
}

std::string a_art_recipe::Text(const std::string& key, const std::string& fallback) const {
    auto it = fields.find(key);
    return it == fields.end() ? fallback : it->second;
}

int a_art_recipe::Int(const std::string& key, int fallback) const {
    if (!Has(key)) return fallback;
    return Int(key);
}

int a_art_recipe::Int(const std::string& key) const {
    int v = 0;
    if (!Parse_Int(Text(key), v)) Fail("field " + key + " needs a whole number");
    return v;
}

int a_art_recipe::Key(const std::string& key) const {
    int v = Int(key);
    if (v < 1 || v > 31999) Fail("field " + key + " must be 1 to 31999");
    return v;
}

double a_art_recipe::Real(const std::string& key, double fallback) const {
    if (!Has(key)) return fallback;
    std::istringstream in(Text(key));
    double v = 0;
    if (!(in >> v) || !in.eof()) {
        Fail("field " + key + " needs a number");
        return fallback;
    }
    return v;
}

QColor a_art_recipe::Color(const std::string& key, const QColor& fallback) const {
    if (!Has(key)) return fallback;
    return Color(key);
}

QColor a_art_recipe::Color(const std::string& key) const {
    QColor c;
    if (!Art_Parse_Color(Text(key), c)) Fail("field " + key + " needs a colour #rrggbb");
    return c;
}

std::vector<QColor> a_art_recipe::Colors(const std::string& key) const {
    std::vector<QColor> out;
    for (const std::string& part : Split(Text(key), ',')) {
        QColor c;
        if (!Art_Parse_Color(part, c)) {
            Fail("field " + key + " needs colours #rrggbb separated by commas");
            return {};
        }
        out.push_back(c);
    }
    if (out.empty()) Fail("field " + key + " needs at least one colour");
    return out;
}

std::vector<int> a_art_recipe::Ints(const std::string& key) const {
    std::vector<int> out;
    for (const std::string& part : Split(Text(key), ',')) {
        size_t dash = part.find('-', 1);
        int lo = 0, hi = 0;
        bool ok = dash == std::string::npos
                      ? Parse_Int(part, lo) && Parse_Int(part, hi)
                      : Parse_Int(part.substr(0, dash), lo) && Parse_Int(part.substr(dash + 1), hi);
        if (!ok || hi < lo || hi - lo > 1000) {
            Fail("field " + key + " needs numbers such as 0-5 or 1,3");
            return {};
        }
        for (int v = lo; v <= hi; ++v) out.push_back(v);
    }
    if (out.empty()) Fail("field " + key + " is missing");
    return out;
}

bool Art_Read_Recipes(const std::string& path, std::vector<a_art_recipe>& out,
                      std::string& error) {
    std::ifstream in(path);
    if (!in) {
        error = "cannot read " + path;
        return false;
    }
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        size_t start = line.find_first_not_of(" \t\r");
        if (start == std::string::npos || line[start] == '#') continue;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::vector<std::string> words;
        std::string where = path + ":" + std::to_string(number);
        if (!Split_Words(line, words)) {
            error = where + ": unbalanced quotes";
            return false;
        }
        a_art_recipe r;
        r.kind = words[0];
        r.where = where;
        for (size_t i = 1; i < words.size(); ++i) {
            size_t eq = words[i].find('=');
            if (eq == std::string::npos || eq == 0) {
                error = where + ": expected key=value, found \"" + words[i] + "\"";
                return false;
            }
            if (!r.fields.emplace(words[i].substr(0, eq), words[i].substr(eq + 1)).second) {
                error = where + ": field " + words[i].substr(0, eq) + " given twice";
                return false;
            }
        }
        out.push_back(std::move(r));
    }
    return true;
}

bool Art_Recipe_Problem(const a_art_recipe& recipe, std::string& error) {
    if (recipe.problem.empty()) return false;
    error = recipe.where + ": " + recipe.problem;
    return true;
}
