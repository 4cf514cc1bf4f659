// Art_Generate_All: reads each recipe file of data/art/ and runs its family.
#include <QtGui/QGuiApplication>

#include <set>
#include <tuple>

#include "art_families.h"
#include "platform/app.h"

namespace {

struct a_family_file {
    const char* file;
    a_art_family generate;
};

// Fixed order: the items come out the same on every run.
const a_family_file FAMILIES[] = {
    {"canvases.txt", Art_Gen_Canvases},
    {"stamps.txt", Art_Gen_Stamps},
    {"patterns.txt", Art_Gen_Patterns},
    {"symbols.txt", Art_Gen_Symbols},
    {"gradients.txt", Art_Gen_Gradients},
    {"borders.txt", Art_Gen_Borders},
    {"sounds.txt", Art_Gen_Sounds},
    {"interface.txt", Art_Gen_Interface},
};

// Two recipes naming the same record would leave one of them out of the
// database; refuse them here, where the name can still be shown.
bool Keys_Unique(const std::vector<a_art_item>& items, std::string& error) {
    std::set<std::tuple<int, int, int, int>> seen;
    for (const a_art_item& item : items) {
        const a_art_key& k = item.key;
        if (!seen.insert({k.a, k.b, k.c, k.d}).second) {
            error = "key " + std::to_string(k.a) + "." + std::to_string(k.b) + "." +
                    std::to_string(k.c) + "." + std::to_string(k.d) + " (" + item.name +
                    ") is made twice";
            return false;
        }
    }
    return true;
}

}  // namespace

a_art_item Art_Picture_Item(a_art_key key, const std::string& name, a_art_picture picture) {
    a_art_item item;
    item.key = key;
    item.kind = a_art_kind::PICTURE;
    item.name = name;
    item.picture = std::move(picture);
    return item;
}

bool Art_Generate_All(const std::string& data_dir, std::vector<a_art_item>& items,
                      std::string& error) {
    // Glyphs and antialiased drawing need the toolkit's font service.
    if (!Platform_Init(true) || !qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        error = "the drawing toolkit could not start";
        return false;
    }
    std::string dir = data_dir;
    if (!dir.empty() && dir.back() != '/') dir += '/';
    std::vector<a_art_item> out;
    for (const a_family_file& family : FAMILIES) {
        std::vector<a_art_recipe> recipes;
        if (!Art_Read_Recipes(dir + family.file, recipes, error)) return false;
        if (!family.generate(recipes, out, error)) return false;
    }
    if (!Keys_Unique(out, error)) return false;
    items = std::move(out);
    return true;
}
