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
#include "art_draw.h"
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
                             "lights=#ffcc66 seed=3 palette=0-3 full=3\n";
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
    const struct {
        const char *file, *recipes, *says;
    } cases[] = {
        {"canvases.txt", "# c\ncanvas c=1 d=1 design=swirl name=x\n", "canvases.txt:2"},
        {"canvases.txt", "canvas c=1 d=1 design=swirl name=x\n", "swirl"},
        // Class 3 ends the fallback chain, so a disc picture cannot serve it.
        {"canvases.txt", "canvas c=2 d=1 design=white name=x palette=3 full=0\n", "fallback"},
        // A DVD insert (584 x 870) cannot be cut from a wrap (1280 x 640).
        {"canvases.txt", "canvas c=2 d=1 design=white name=x palette=4 full=3\n",
         "smaller picture of class 3"},
        {"gradients.txt", "gradient id=1 name=x colors=#12345\n", "colour"},
        {"symbols.txt", "symbol c=1 d=1 font=dejavu code=E000 name=x\n", "U+E000"},
        // Three 8-pixel stripes do not divide a 64-pixel tile: a seam.
        {"patterns.txt", "pattern c=1 d=1 kind=stripes colors=#000000,#ffffff,#ff0000 name=x\n",
         "divide"},
        // 32000 would make a key naming the whole category.
        {"sounds.txt", "sound id=32000 name=x\n", "1 to 31999"},
        {"sounds.txt", "sound id=130 name=x ms=100000\n", "ms"},
        {"stamps.txt", "stamp c=1 d=1 shape=heart colors=#ff0000 name=\"x\n", "quotes"},
        {"stamps.txt",
         "stamp c=1 d=1 shape=heart colors=#ff0000 name=a\nstamp c=1 d=1 shape=star colors=#ff0000 name=b\n",
         "8.0.1.1 (b) is made twice"},
    };
    for (const auto& c : cases) {
        std::string e = Generate_Error({{c.file, c.recipes}});
        EXPECT_NE(e.find(c.says), std::string::npos) << c.recipes << " gave: " << e;
    }
    std::vector<a_art_item> items;
    std::string e;
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

namespace {

void Expect_Golden(const std::vector<a_art_item>& items, int category, const char* name) {
    a_art_picture sheet = Art_Contact_Sheet(items, category, -1);
    ASSERT_GT(sheet.width, 0) << name;
    std::string golden = std::string(CIRQUEL_SOURCE_DIR) + "/tests/golden/" + name;
    if (std::getenv("CIRQUEL_UPDATE_GOLDEN")) {
        ASSERT_TRUE(Art_Write_Png(golden, sheet)) << golden;
        return;
    }
    a_art_picture want;
    ASSERT_TRUE(Art_Read_Png(golden, want))
        << "no golden " << golden << " (run with CIRQUEL_UPDATE_GOLDEN=1 to write it)";
    ASSERT_EQ(want.width, sheet.width) << name;
    ASSERT_EQ(want.height, sheet.height) << name;
    size_t off = 0;
    for (size_t i = 0; i < sheet.pixels.size(); ++i)
        off += std::abs(int(sheet.pixels[i]) - int(want.pixels[i])) > 8;
    EXPECT_LT(off, sheet.pixels.size() / 200) << "differs from " << golden;
}

}  // namespace

// Contact sheets against goldens that were looked at: the quick families
// whole, and a sample of canvases in every class they are offered in.
TEST(ArtGenerators, ContactSheetsMatchGoldens) {
    Expect_Golden(Family(Art_Gen_Interface, "interface.txt"), 12, "art_interface.png");
    Expect_Golden(Family(Art_Gen_Patterns, "patterns.txt"), 10, "art_patterns.png");
    Expect_Golden(Family(Art_Gen_Borders, "borders.txt"), 7, "art_borders.png");
    Expect_Golden(Family(Art_Gen_Stamps, "stamps.txt"), 8, "art_stamps.png");

    std::vector<a_art_recipe> all, sample;
    std::string error;
    ASSERT_TRUE(Art_Read_Recipes(DATA + "canvases.txt", all, error)) << error;
    for (const a_art_recipe& r : all)
        for (const char* name : {"White", "Sunset glow", "Golden lights", "Cream paper",
                                 "Rainbow rings", "Vinyl record", "Sheet music", "Winter snow"})
            if (r.Text("name") == name) sample.push_back(r);
    ASSERT_EQ(sample.size(), 8u);
    std::vector<a_art_item> canvases;
    ASSERT_TRUE(Art_Gen_Canvases(sample, canvases, error)) << error;
    Expect_Golden(canvases, 2, "art_canvas_thumbnails.png");
}

TEST(ArtRecipes, LinesSplitIntoFields) {
    fs::path dir = Data_Dir("recipes", {});
    {
        std::ofstream out(dir / "r.txt", std::ios::binary);
        out << "# comment\r\n\r\n  stamp c=1 name=\"Red heart\" colors=#ff0000,#80ff0000\r\n"
            << "canvas palette=0-2,4 full=5 angle=-30.5\n";
    }
    std::vector<a_art_recipe> recipes;
    std::string error;
    ASSERT_TRUE(Art_Read_Recipes((dir / "r.txt").string(), recipes, error)) << error;
    ASSERT_EQ(recipes.size(), 2u);
    const a_art_recipe& a = recipes[0];
    EXPECT_EQ(a.kind, "stamp");
    EXPECT_EQ(a.Text("name"), "Red heart");
    EXPECT_EQ(a.where, (dir / "r.txt").string() + ":3");
    std::vector<QColor> colors = a.Colors("colors");
    ASSERT_EQ(colors.size(), 2u);
    EXPECT_EQ(colors[1].alpha(), 0x80);
    EXPECT_EQ(colors[1].red(), 0xff);
    const a_art_recipe& b = recipes[1];
    EXPECT_EQ(b.Ints("palette"), (std::vector<int>{0, 1, 2, 4}));
    EXPECT_DOUBLE_EQ(b.Real("angle", 0), -30.5);
    EXPECT_EQ(b.Int("missing", 7), 7);
    EXPECT_TRUE(b.problem.empty()) << b.problem;

    // Each bad field is noted once, the first one wins.
    b.Int("full");
    EXPECT_TRUE(b.problem.empty());
    b.Ints("angle");
    b.Color("palette");
    EXPECT_NE(b.problem.find("angle"), std::string::npos) << b.problem;
    a.Int("name");
    a.Real("name", 0);
    EXPECT_NE(a.problem.find("name"), std::string::npos);
    a_art_recipe range, big;  // a falling range; a number too long for an int
    range.fields = {{"r", "5-3"}};
    big.fields = {{"x", "12345678901"}};
    (void)range.Ints("r");
    (void)big.Int("x");
    EXPECT_FALSE(range.problem.empty());
    EXPECT_FALSE(big.problem.empty());
    for (const char* bad : {"canvas c=1 c=2\n", "canvas c=1 loose\n", "canvas =3\n"}) {
        std::ofstream(dir / "bad.txt") << bad;
        recipes.clear();
        EXPECT_FALSE(Art_Read_Recipes((dir / "bad.txt").string(), recipes, error)) << bad;
        EXPECT_NE(error.find("bad.txt:1"), std::string::npos) << error;
    }
}

TEST(ArtDraw, PicturesKeepTheirPixelsExactly) {
    // Odd widths: toolkit rows are padded, pictures are not.
    QImage gray(5, 3, QImage::Format_Grayscale8);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) gray.scanLine(y)[x] = uchar(y * 5 + x);
    a_art_picture g = Art_Picture_Gray(gray, a_art_codec::PACKBITS);
    ASSERT_EQ(g.pixels.size(), 15u);
    for (int i = 0; i < 15; ++i) EXPECT_EQ(g.pixels[size_t(i)], i);
    EXPECT_TRUE(g.gray);
    EXPECT_EQ(g.depth, 8);

    // Coverage comes from alpha when there is one.
    QImage shape(3, 1, QImage::Format_ARGB32);
    shape.setPixel(0, 0, qRgba(0, 0, 0, 0));
    shape.setPixel(1, 0, qRgba(0, 0, 0, 128));
    shape.setPixel(2, 0, qRgba(0, 0, 0, 255));
    EXPECT_EQ(Art_Picture_Gray(shape, a_art_codec::PACKBITS).pixels,
              (std::vector<uint8_t>{0, 128, 255}));

    // Drawing happens premultiplied; stored pixels are straight: a
    // half-clear red stays full red.
    QImage pre(1, 1, QImage::Format_ARGB32_Premultiplied);
    pre.fill(QColor(255, 0, 0, 128));
    a_art_picture a = Art_Picture_Alpha(pre, a_art_codec::LZW);
    EXPECT_TRUE(a.transparent);
    EXPECT_EQ(a.pixels, (std::vector<uint8_t>{0, 0, 255, 128}));  // B, G, R, A

    // Opaque pictures carry alpha 255 whatever the source held.
    QImage clear(2, 1, QImage::Format_ARGB32);
    clear.fill(QColor(10, 20, 30, 0));
    a_art_picture o = Art_Picture_Opaque(clear, a_art_codec::JPEG);
    EXPECT_FALSE(o.transparent);
    EXPECT_EQ(o.pixels[3], 255);
    EXPECT_EQ(o.pixels[7], 255);

    // And back to an image for sheets: same size, same colours.
    QImage back = Art_Picture_Image(a);
    EXPECT_EQ(back.size(), QSize(1, 1));
    EXPECT_EQ(back.pixel(0, 0), qRgba(255, 0, 0, 128));
}

TEST(ArtDraw, TiledNoiseRepeatsAndStaysInRange) {
    a_art_noise noise(42);
    for (float x : {0.3f, 5.7f, 12.25f})
        for (float y : {0.1f, 3.9f}) {
            EXPECT_NEAR(noise.Tiled(x, y, 16, 4), noise.Tiled(x + 16, y + 4, 16, 4), 1e-5);
            EXPECT_NEAR(noise.Tiled_Fbm(x, y, 8, 8, 3), noise.Tiled_Fbm(x + 8, y - 8, 8, 8, 3), 1e-5);
            float f = noise.Fbm(x * 13, y * 7, 6), t = noise.Turbulence(x, y, 5);
            EXPECT_TRUE(f >= 0 && f <= 1) << f;
            EXPECT_TRUE(t >= 0 && t <= 1) << t;
        }
    // Seeds make different fields; the same seed the same one.
    EXPECT_NE(a_art_noise(1).At(3.5f, 2.5f), a_art_noise(2).At(3.5f, 2.5f));
    EXPECT_EQ(a_art_noise(1).At(3.5f, 2.5f), a_art_noise(1).At(3.5f, 2.5f));
}
