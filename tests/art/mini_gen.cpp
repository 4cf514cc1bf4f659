// A small generator of every record kind, standing in for the art
// generators in tests: the compiler, the command-line tool and the contact
// sheet are checked against the database it makes.
#include <algorithm>
#include <cmath>

#include "mini_gen.h"

namespace {

a_art_item Picture(a_art_key key, const char* name, int w, int h, int depth, a_art_codec codec) {
    a_art_item item;
    item.key = key;
    item.name = name;
    item.picture.width = w;
    item.picture.height = h;
    item.picture.depth = depth;
    item.picture.gray = depth == 8;
    item.picture.codec = codec;
    item.picture.pixels.assign(size_t(w) * h * depth / 8, 0);
    return item;
}

void Put(a_art_item& item, int x, int y, uint8_t b, uint8_t g, uint8_t r) {
    uint8_t* p = &item.picture.pixels[(size_t(y) * item.picture.width + x) * 4];
    p[0] = b, p[1] = g, p[2] = r, p[3] = 255;
}

// Colour at (x, y) of a picture of size w × h, by recipe.
template <typename F>
a_art_item Painted(a_art_key key, const char* name, int w, int h, a_art_codec codec, F colour) {
    a_art_item item = Picture(key, name, w, h, 32, codec);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint8_t b, g, r;
            colour(x, y, b, g, r);
            Put(item, x, y, b, g, r);
        }
    return item;
}

// A grey coverage picture: a ring between two radii, soft at its edges.
a_art_item Ring(a_art_key key, const char* name, int size, double inner, double outer,
                a_art_codec codec) {
    a_art_item item = Picture(key, name, size, size, 8, codec);
    double c = (size - 1) / 2.0;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            double d = std::hypot(x - c, y - c);
            double cover = std::clamp(std::min(d - inner, outer - d) + 0.5, 0.0, 1.0);
            item.picture.pixels[size_t(y) * size + x] = uint8_t(std::lround(cover * 255));
        }
    return item;
}

}  // namespace

void Art_Generate_Mini(std::vector<a_art_item>& items) {
    items.clear();
    items.push_back(Painted({2, 0, 1, 1}, "white", 64, 64, a_art_codec::PACKBITS,
                            [](int, int, uint8_t& b, uint8_t& g, uint8_t& r) { b = g = r = 255; }));
    items.push_back(Painted({2, 0, 1, 2}, "dusk", 64, 64, a_art_codec::JPEG,
                            [](int x, int y, uint8_t& b, uint8_t& g, uint8_t& r) {
                                r = uint8_t(40 + y * 3);
                                g = uint8_t(20 + x);
                                b = uint8_t(200 - y * 2);
                            }));
    items.push_back(Painted({8, 0, 0, 1}, "checks", 48, 48, a_art_codec::LZW,
                            [](int x, int y, uint8_t& b, uint8_t& g, uint8_t& r) {
                                bool on = ((x / 8) + (y / 8)) % 2 == 0;
                                r = on ? 220 : 30, g = on ? 60 : 120, b = on ? 40 : 200;
                            }));
    items.back().picture.transparent = true;
    items.push_back(Painted({10, 0, 0, 1}, "stripes", 32, 32, a_art_codec::RAW,
                            [](int x, int y, uint8_t& b, uint8_t& g, uint8_t& r) {
                                r = g = b = ((x + y) / 4) % 2 ? 250 : 90;
                            }));
    items.push_back(Ring({11, 0, 0, 1}, "disc", 48, -1, 20, a_art_codec::LZW));
    items.push_back(Ring({11, 0, 0, 2}, "ring", 48, 12, 20, a_art_codec::PACKBITS));
    items.push_back(Painted({7, 1, 0, 0}, "rope border", 48, 16, a_art_codec::PACKBITS,
                            [](int x, int y, uint8_t& b, uint8_t& g, uint8_t& r) {
                                r = uint8_t(120 + ((x + 2 * y) % 8) * 12), g = uint8_t(r - 40),
                                b = 40;
                            }));
    items.push_back(Painted({12, ART_ABOUT_PICTURE_ID, 0, 0}, "about box", 96, 64,
                            a_art_codec::PACKBITS,
                            [](int x, int y, uint8_t& b, uint8_t& g, uint8_t& r) {
                                r = uint8_t(x * 2), g = uint8_t(y * 3), b = 160;
                            }));
    a_art_item grad;
    grad.key = {3, 1, 0, 0};
    grad.kind = a_art_kind::GRADIENT;
    grad.name = "sunset";
    grad.gradient.bands = {0xFF203080, 0xFF8040A0, 0xFFF08040, 0xFFFFE0A0};
    items.push_back(grad);
    a_art_item dir;
    dir.key = {7, 0, 0, 0};
    dir.kind = a_art_kind::BORDER_DIRECTORY;
    dir.name = "borders";
    a_art_border rope;
    rope.key = {7, 1, 0, 0};
    rope.klass = 1;
    const int16_t corn[4] = {0, 0, 16, 16}, side[4] = {0, 16, 16, 40}, sliv[4] = {0, 40, 16, 48};
    std::copy(corn, corn + 4, rope.corn_piece);
    std::copy(side, side + 4, rope.side_piece);
    std::copy(sliv, sliv + 4, rope.sliv_piece);
    dir.borders.push_back(rope);
    items.push_back(dir);
    a_art_item click;
    click.key = {6, 130, 0, 0};
    click.kind = a_art_kind::SOUND;
    click.name = "menu opened";
    for (int i = 0; i < 1100; ++i)
        click.sound.samples.push_back(
            int16_t(std::lround(8000 * std::sin(i * 0.2) * std::exp(-i / 300.0))));
    items.push_back(click);
}
