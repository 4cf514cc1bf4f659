// Recipe files of data/art/: one item per line, a kind word followed by
// key=value fields; values with spaces are quoted; '#' starts a comment line.
//   canvas c=2 d=1 design=gradient name="Ocean blue" colors=#1e3c72,#2a5298
// Accessors note the first bad or missing field in `problem`, so a generator
// reads all it needs and then checks once.
#pragma once
#include <QtGui/QColor>

#include <map>
#include <string>
#include <vector>

struct a_art_recipe {
    std::string kind;
    std::map<std::string, std::string> fields;
    std::string where;  // "file:line" for messages
    mutable std::string problem;

    bool Has(const std::string& key) const { return fields.count(key) != 0; }
    std::string Text(const std::string& key, const std::string& fallback = "") const;
    int Int(const std::string& key, int fallback) const;
    int Int(const std::string& key) const;  // required
    // A required key component: 1 to 31999, since 32000 names a whole
    // category and larger values do not fit.
    int Key(const std::string& key) const;
    double Real(const std::string& key, double fallback) const;
    QColor Color(const std::string& key, const QColor& fallback) const;
    QColor Color(const std::string& key) const;  // required
    std::vector<QColor> Colors(const std::string& key) const;  // required, comma list
    // "0-5" or "1,3,5" or "0-2,4"; required.
    std::vector<int> Ints(const std::string& key) const;
    void Fail(const std::string& what) const;
};

// Reads `path`; false with `error` set when the file cannot be read or a
// line cannot be split into fields.
bool Art_Read_Recipes(const std::string& path, std::vector<a_art_recipe>& out,
                      std::string& error);

// The first problem of a list of recipes, as "file:line: problem".
bool Art_Recipe_Problem(const a_art_recipe& recipe, std::string& error);
