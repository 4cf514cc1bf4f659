// The art generators: the shipped items (counts, keys, sizes, byte counts),
// the same items on every run, clear refusals of bad recipes, the canvas
// fallback geometry, seamless patterns, and contact sheets against goldens.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <tuple>

#include "art_canvas_classes.h"
#include "art_families.h"
#include "art_items.h"
#include "art_sheet.h"

namespace fs = std::filesystem;

namespace {

const std::string DATA = std::string(CIRQUEL_SOURCE_DIR) + "/data/art/";

using a_key_tuple = std::tuple<int, int, int, int>;

a_key_tuple Tuple(const a_art_key& k) { return {k.a, k.b, k.c, k.d}; }

std::vector<a_art_item> Family(a_art_family family, const std::string& file) {
    std::vector<a_art_recipe> recipes;
    std::vector<a_art_item> items;
    std::string error;
    EXPECT_TRUE(Art_Read_Recipes(DATA + file, recipes, error)) << error;
    EXPECT_TRUE(family(recipes, items, error)) << error;
    return items;
}

// A data folder with the given files' contents, the others empty.
fs::path Data_Dir(const char* name, const std::map<std::string, std::string>& files) {
    fs::path dir = fs::temp_directory_path() / (std::string("cirquel_artgen_") + name);
    fs::remove_all(dir);
    fs::create_directories(dir);
    for (const char* f : {"canvases.txt", "stamps.txt", "patterns.txt", "symbols.txt",
                          "gradients.txt", "borders.txt", "sounds.txt", "interface.txt"}) {
        std::ofstream out(dir / f);
        auto it = files.find(f);
        if (it != files.end()) out << it->second;
    }
    return dir;
}

// The first `n` item lines of a shipped recipe file.
std::string First_Lines(const std::string& file, int n) {
    std::ifstream in(DATA + file);
    std::string line, out;
    while (n > 0 && std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        out += line + "\n";
        --n;
    }
    return out;
}

std::string Generate_Error(const std::map<std::string, std::string>& files) {
    std::vector<a_art_item> items;
    std::string error;
    EXPECT_FALSE(Art_Generate_All(Data_Dir("bad", files).string(), items, error));
    EXPECT_TRUE(items.empty());
    return error;
}

bool Same_Items(const a_art_item& x, const a_art_item& y) {
    const a_art_picture &p = x.picture, &q = y.picture;
    bool borders = x.borders.size() == y.borders.size();
    for (size_t i = 0; borders && i < x.borders.size(); ++i) {
        const a_art_border &a = x.borders[i], &b = y.borders[i];
        borders = Tuple(a.key) == Tuple(b.key) && a.klass == b.klass &&
                  std::equal(a.corn_piece, a.corn_piece + 4, b.corn_piece) &&
                  std::equal(a.side_piece, a.side_piece + 4, b.side_piece) &&
                  std::equal(a.sliv_piece, a.sliv_piece + 4, b.sliv_piece);
    }
    return Tuple(x.key) == Tuple(y.key) && x.kind == y.kind && x.name == y.name &&
           p.width == q.width && p.height == q.height && p.depth == q.depth &&
           p.gray == q.gray && p.transparent == q.transparent && p.codec == q.codec &&
           p.jpeg_quality == q.jpeg_quality && p.pixels == q.pixels &&
           x.gradient.bands == y.gradient.bands && borders &&
           x.sound.rate == y.sound.rate && x.sound.samples == y.sound.samples;
}

}  // namespace

// One run over the shipped recipes (it is the slow part, so every check of
// the whole set shares it).
TEST(ArtGenerators, ShippedItemsAreCompleteAndWellFormed) {
    std::vector<a_art_item> items;
    std::string error;
    ASSERT_TRUE(Art_Generate_All(DATA, items, error)) << error;

    std::set<a_key_tuple> keys;
    std::map<int, int> per_category;
    std::map<int, int> palette_per_class;
    std::set<a_key_tuple> full_canvases;
    for (const a_art_item& item : items) {
        EXPECT_TRUE(keys.insert(Tuple(item.key)).second)
            << "key " << item.key.a << "." << item.key.b << "." << item.key.c << "."
            << item.key.d << " given twice";
        ++per_category[item.key.a];
        EXPECT_FALSE(item.name.empty());
        if (item.kind == a_art_kind::PICTURE) {
            const a_art_picture& p = item.picture;
            ASSERT_TRUE(p.depth == 8 || p.depth == 32) << item.name;
            EXPECT_GT(p.width, 0);
            EXPECT_GT(p.height, 0);
            EXPECT_EQ(p.pixels.size(), size_t(p.width) * p.height * (p.depth / 8)) << item.name;
            EXPECT_EQ(p.gray, p.depth == 8) << item.name;
            // JPEG has no alpha: transparent art must use a lossless codec.
            if (p.transparent) {
                EXPECT_NE(p.codec, a_art_codec::JPEG) << item.name;
            }
        }
        if (item.key.a == 1) full_canvases.insert(Tuple(item.key));
        if (item.key.a == 2) ++palette_per_class[item.key.b];
    }
    EXPECT_GE(per_category[8], 60);
    EXPECT_GE(per_category[10], 40);
    EXPECT_GE(per_category[11], 200);
    EXPECT_GE(per_category[3], 20);
    for (int klass = 0; klass < 6; ++klass) EXPECT_GE(palette_per_class[klass], 25) << klass;

    for (const a_art_item& item : items) {
        const a_art_picture& p = item.picture;
        switch (item.key.a) {
            case 1: {
                a_canvas_size natural = Art_Canvas_Natural_Size(item.key.b);
                EXPECT_EQ(p.width, natural.width) << item.name;
                EXPECT_EQ(p.height, natural.height) << item.name;
                EXPECT_FALSE(p.transparent);
                break;
            }
            case 2: {
                EXPECT_LE(p.width, 96);
                EXPECT_LE(p.height, 64);
                // Every palette entry reaches a full picture along the chain.
                bool has[ART_CANVAS_CLASSES] = {};
                for (int k = 0; k < ART_CANVAS_CLASSES; ++k)
                    has[k] = full_canvases.count({1, k, item.key.c, item.key.d}) != 0;
                EXPECT_GE(Canvas_Resolve(item.key.b, has), 0) << item.name;
                break;
            }
            case 8:
                EXPECT_TRUE(p.transparent && p.depth == 32) << item.name;
                break;
            case 11: {
                ASSERT_TRUE(p.gray) << item.name;
                size_t ink = 0;
                for (uint8_t v : p.pixels) ink += v;
                double cover = double(ink) / (255.0 * p.pixels.size());
                EXPECT_GT(cover, 0.01) << item.name << " is blank";
                EXPECT_LT(cover, 0.9) << item.name << " is a solid block";
                break;
            }
            case 3:
                EXPECT_GE(item.gradient.bands.size(), 2u);
                for (uint32_t band : item.gradient.bands) EXPECT_EQ(band >> 24, 0xFFu);
                break;
        }
    }

    // The white canvas comes first in every class and is white.
    for (int klass = 0; klass < 6; ++klass) {
        auto first = keys.lower_bound({2, klass, INT16_MIN, INT16_MIN});
        ASSERT_NE(first, keys.end());
        EXPECT_EQ(*first, a_key_tuple(2, klass, 1, 1)) << "class " << klass;
    }
    for (const a_art_item& item : items)
        if (item.key.a == 1 && item.key.c == 1 && item.key.d == 1) {
            for (uint8_t v : item.picture.pixels) ASSERT_EQ(v, 255) << "class " << item.key.b;
        }

    // Some canvases borrow their full picture, so the fallback is exercised.
    size_t palette = 0;
    for (const a_key_tuple& k : keys) palette += std::get<0>(k) == 2;
    EXPECT_LT(full_canvases.size(), palette);

    // Start-up needs the about box; the numbered sounds are all there.
    EXPECT_TRUE(keys.count({12, ART_ABOUT_PICTURE_ID, 0, 0}));
    for (int id : {130, 132, 136, 137, 167, 179}) EXPECT_TRUE(keys.count({6, id, 0, 0})) << id;

    // Every border of the directory has its picture, with the pieces inside.
    for (const a_art_item& item : items) {
        if (item.kind != a_art_kind::BORDER_DIRECTORY) continue;
        EXPECT_EQ(Tuple(item.key), a_key_tuple(7, 0, 0, 0));
        EXPECT_GE(item.borders.size(), 10u);
        for (const a_art_border& b : item.borders) {
            auto pic = std::find_if(items.begin(), items.end(), [&](const a_art_item& i) {
                return Tuple(i.key) == Tuple(b.key) && i.kind == a_art_kind::PICTURE;
            });
            ASSERT_NE(pic, items.end());
            for (const int16_t* r : {b.corn_piece, b.side_piece, b.sliv_piece}) {
                EXPECT_TRUE(r[0] >= 0 && r[1] >= 0 && r[0] < r[2] && r[1] < r[3]);
                EXPECT_LE(r[2], pic->picture.height);
                EXPECT_LE(r[3], pic->picture.width);
            }
        }
    }
}

TEST(ArtGenerators, SameItemsOnEveryRun) {
    // A few recipes of every family, so that the check stays quick.
    std::map<std::string, std::string> files;
    for (const char* f : {"canvases.txt", "stamps.txt", "patterns.txt", "symbols.txt",
                          "gradients.txt", "borders.txt", "sounds.txt", "interface.txt"})
        files[f] = First_Lines(f, 4);
    files["canvases.txt"] += "canvas c=9 d=1 design=bokeh name=\"b\" background=#000000,#202040 "
                             "lights=#ffcc66 seed=3 full=3\n";
    fs::path dir = Data_Dir("same", files);
    std::vector<a_art_item> first, second;
    std::string error;
    ASSERT_TRUE(Art_Generate_All(dir.string(), first, error)) << error;
    ASSERT_TRUE(Art_Generate_All(dir.string(), second, error)) << error;
    ASSERT_EQ(first.size(), second.size());
    ASSERT_GT(first.size(), 20u);
    for (size_t i = 0; i < first.size(); ++i)
        EXPECT_TRUE(Same_Items(first[i], second[i])) << "item " << i << " " << first[i].name;
}

TEST(ArtGenerators, BadRecipesAreRefusedWithTheirPlace) {
    std::string e = Generate_Error({{"canvases.txt", "# c\ncanvas c=1 d=1 design=swirl name=x\n"}});
    EXPECT_NE(e.find("canvases.txt:2"), std::string::npos) << e;
    EXPECT_NE(e.find("swirl"), std::string::npos) << e;

    // Class 3 ends the fallback chain, so a disc picture cannot serve it.
    e = Generate_Error({{"canvases.txt", "canvas c=2 d=1 design=white name=x palette=3 full=0\n"}});
    EXPECT_NE(e.find("fallback"), std::string::npos) << e;

    e = Generate_Error({{"gradients.txt", "gradient id=1 name=x colors=#12345\n"}});
    EXPECT_NE(e.find("colour"), std::string::npos) << e;

    e = Generate_Error({{"symbols.txt", "symbol c=1 d=1 font=dejavu code=E000 name=x\n"}});
    EXPECT_NE(e.find("U+E000"), std::string::npos) << e;

    // Three 8-pixel stripes do not divide a 64-pixel tile: a seam.
    e = Generate_Error({{"patterns.txt",
                         "pattern c=1 d=1 kind=stripes colors=#000000,#ffffff,#ff0000 name=x\n"}});
    EXPECT_NE(e.find("divide"), std::string::npos) << e;

    e = Generate_Error({{"sounds.txt", "sound id=130 name=x ms=100000\n"}});
    EXPECT_NE(e.find("ms"), std::string::npos) << e;

    e = Generate_Error({{"stamps.txt", "stamp c=1 d=1 shape=heart colors=#ff0000 name=\"x\n"}});
    EXPECT_NE(e.find("quotes"), std::string::npos) << e;

    std::vector<a_art_item> items;
    EXPECT_FALSE(Art_Generate_All("/nonexistent/art", items, e));
    EXPECT_NE(e.find("/nonexistent/art/canvases.txt"), std::string::npos) << e;
}

TEST(ArtGenerators, CanvasFallbackGeometry) {
    bool only_square[ART_CANVAS_CLASSES] = {false, true, false, false, false, false};
    EXPECT_EQ(Canvas_Resolve(0, only_square), 1);
    EXPECT_EQ(Canvas_Resolve(4, only_square), -1);  // 4 -> 3 ends there
    bool only_wrap[ART_CANVAS_CLASSES] = {false, false, false, true, false, false};
    for (int k = 0; k < 6; ++k) EXPECT_EQ(Canvas_Resolve(k, only_wrap), 3) << k;

    // A disc borrowing the square picture covers it whole.
    EXPECT_EQ(Canvas_Source_Rect(0, 1, 640, 640), QRect(0, 0, 640, 640));
    // A jewel base borrowing the wide case picture takes its centred 810 x 640.
    EXPECT_EQ(Canvas_Source_Rect(2, 5, 1280, 870), QRect(235, 115, 810, 640));
    // A DVD insert borrowing the wrap sits 12 pixels in from the right,
    // clipped to the picture's height.
    EXPECT_EQ(Canvas_Source_Rect(4, 3, 1280, 640), QRect(684, 0, 584, 640));
}

TEST(ArtGenerators, PatternTilesRepeatWithoutSeams) {
    for (const a_art_item& item : Family(Art_Gen_Patterns, "patterns.txt")) {
        const a_art_picture& p = item.picture;
        auto at = [&](int x, int y, int ch) {
            return int(p.pixels[(size_t(y) * p.width + x) * 4 + ch]);
        };
        // The step across the tile's edge is no rougher than steps inside it.
        auto step = [&](bool across_x, int i) {
            long sum = 0;
            for (int j = 0; j < p.width; ++j)
                for (int ch = 0; ch < 3; ++ch)
                    sum += across_x ? std::abs(at(i, j, ch) - at((i + 1) % p.width, j, ch))
                                    : std::abs(at(j, i, ch) - at(j, (i + 1) % p.height, ch));
            return double(sum);
        };
        for (bool across_x : {true, false}) {
            double worst_inside = 0;
            for (int i = 0; i + 1 < p.width; ++i) worst_inside = std::max(worst_inside, step(across_x, i));
            EXPECT_LE(step(across_x, p.width - 1), worst_inside * 1.1 + 64)
                << item.name << (across_x ? " left-right" : " top-bottom");
        }
    }
}

TEST(ArtGenerators, SoundsAreShortAndClickFree) {
    for (const a_art_item& item : Family(Art_Gen_Sounds, "sounds.txt")) {
        const std::vector<int16_t>& s = item.sound.samples;
        ASSERT_FALSE(s.empty()) << item.name;
        EXPECT_LE(s.size(), size_t(item.sound.rate)) << item.name << " is longer than a second";
        int peak = 0;
        for (int16_t v : s) peak = std::max(peak, std::abs(int(v)));
        EXPECT_GT(peak, 3000) << item.name << " is nearly silent";
        EXPECT_LT(peak, 32767) << item.name << " clips";
        // Fading in and out: no step at either end.
        EXPECT_LT(std::abs(int(s.front())), 2000) << item.name;
        EXPECT_LT(std::abs(int(s.back())), 500) << item.name;
    }
}

// Contact sheets of the quick families against goldens that were looked at.
TEST(ArtGenerators, ContactSheetsMatchGoldens) {
    struct a_case {
        a_art_family family;
        const char* file;
        int category;
        const char* golden;
    };
    for (const a_case& c : {a_case{Art_Gen_Interface, "interface.txt", 12, "art_interface.png"},
                            a_case{Art_Gen_Patterns, "patterns.txt", 10, "art_patterns.png"},
                            a_case{Art_Gen_Borders, "borders.txt", 7, "art_borders.png"}}) {
        a_art_picture sheet = Art_Contact_Sheet(Family(c.family, c.file), c.category, -1);
        ASSERT_GT(sheet.width, 0) << c.golden;
        std::string golden = std::string(CIRQUEL_SOURCE_DIR) + "/tests/golden/" + c.golden;
        if (std::getenv("CIRQUEL_UPDATE_GOLDEN")) {
            ASSERT_TRUE(Art_Write_Png(golden, sheet)) << golden;
            continue;
        }
        a_art_picture want;
        ASSERT_TRUE(Art_Read_Png(golden, want))
            << "no golden " << golden << " (run with CIRQUEL_UPDATE_GOLDEN=1 to write it)";
        ASSERT_EQ(want.width, sheet.width) << c.golden;
        ASSERT_EQ(want.height, sheet.height) << c.golden;
        size_t off = 0;
        for (size_t i = 0; i < sheet.pixels.size(); ++i)
            off += std::abs(int(sheet.pixels[i]) - int(want.pixels[i])) > 8;
        EXPECT_LT(off, sheet.pixels.size() / 200) << "differs from " << golden;
    }
}
