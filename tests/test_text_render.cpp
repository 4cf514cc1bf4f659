// Text rendering: glyph coverage, the distance map and colour table of
// outline and glow, the shadow, and golden pictures of effect text.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>
#include <tuple>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "effects_fixtures.h"
#include "golden_image.h"
#include "pixels/blit_port.h"
#include "pixels/syspix.h"
#include "platform/fonts.h"
#include "platform/glyphs.h"
#include "text/glow.h"
#include "render/compositor.h"
#include "text/om_render.h"
#include "text/text_blocks.h"
#include "text/text_layout.h"
#include "text/text_draw.h"
#include "text/text_shadow.h"

namespace {

constexpr char16_t kSans[] = u"DejaVu Sans";
constexpr char16_t kSymbola[] = u"Symbola";  // the emoji fallback face

void Require_Font(const std::u16string& family) {
    ASSERT_NE(Font_Find(family), 0) << "font missing: install it with scripts/bootstrap";
}

a_win_pixel32 Px(uint8_t r, uint8_t g, uint8_t b, uint8_t a = 0) { return a_win_pixel32{b, g, r, a}; }

// A w x h 8-bit coverage map at (0, 0).
a_gworld_ptr Cover(int w, int h) {
    a_gworld_ptr c = Make_GWorld(8, Rect{0, 0, int16_t(h), int16_t(w)});
    Set_GWorld_CTable(c.get(), gray_ctable);
    return c;
}
uint8_t& At8(GWorld* w, int x, int y) { return PixMap_Row(w->pix, y)[x - w->pix.bounds.left]; }

// The distance map as the sweeps define it: each line walked on its own, rows,
// columns, then the diagonals from the top row by column, then from the sides.
a_distance_map Line_By_Line(const PixMap& cover, int w, int h) {
    a_distance_map m;
    m.bounds = Rect{0, 0, int16_t(h), int16_t(w)};
    m.d.assign(size_t(w) * size_t(h), GLOW_FAR);
    for (int y = 0; y < h; ++y) Scan_Line(cover, 0, y, 1, 0, GLOW_STEP_STRAIGHT, m);
    for (int x = 0; x < w; ++x) Scan_Line(cover, x, 0, 0, 1, GLOW_STEP_STRAIGHT, m);
    for (int x = 0; x < w; ++x) {
        Scan_Line(cover, x, 0, 1, 1, GLOW_STEP_DIAGONAL, m);
        Scan_Line(cover, x, 0, -1, 1, GLOW_STEP_DIAGONAL, m);
    }
    for (int y = 1; y < h; ++y) {
        Scan_Line(cover, 0, y, 1, 1, GLOW_STEP_DIAGONAL, m);
        Scan_Line(cover, w - 1, y, -1, 1, GLOW_STEP_DIAGONAL, m);
    }
    return m;
}


// Glyphs drawn alone into a fresh black world; the coverage of the green channel.
std::vector<uint8_t> Draw(const std::vector<a_glyph>& glyphs, int w, int h) {
    a_gworld_ptr world = Make_GWorld(32, Rect{0, 0, int16_t(h), int16_t(w)});
    Glyphs_Draw(World_Bits(world.get()), glyphs.data(), int(glyphs.size()), 255);
    std::vector<uint8_t> g;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) g.push_back(PixMap_Row(world->pix, y)[4 * x + 1]);
    return g;
}
long Ink(const std::vector<uint8_t>& g) {
    long s = 0;
    for (uint8_t v : g) s += v;
    return s;
}
long Diff(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
    long s = 0;
    for (size_t i = 0; i < a.size(); ++i) s += std::abs(int(a[i]) - int(b[i]));
    return s;
}
a_glyph Glyph(std::u16string text, std::u16string family, int size, int x, int y, int angle = 0) {
    a_glyph g{.nunits = int(text.size()), .family = std::move(family), .pixel_size = size,
              .x = x, .y = y, .angle = angle};
    for (size_t i = 0; i < text.size() && i < 2; ++i) g.units[i] = text[i];
    return g;
}

a_placed_char Placed(char16_t ch, int x, int y, int t, float size = 36) {
    return a_placed_char{.units = {ch, 0}, .family = kSans, .size = size, .bold = true,
                         .x = int16_t(x), .y = int16_t(y), .t = int16_t(t), .drawn = ch != u' '};
}

int Max_Mask(const a_masked_gworld& mw) {
    int m = 0;
    const PixMap& p = mw.mask->pix;
    for (int y = p.bounds.top; y < p.bounds.bottom; ++y)
        for (int x = 0; x < Rect_Width(p.bounds); ++x) m = std::max(m, int(PixMap_Row(p, y)[x]));
    return m;
}

}  // namespace

TEST(TextGlow, BlendAndTableMatchHandComputedEntries) {
    a_win_pixel32 net;
    Blend_Pixels(128, Px(100, 0, 255, 255), Px(0, 255, 0, 0), net);
    EXPECT_EQ(net, Px(50, 127, 128, 128));
    Blend_Pixels(0, Px(100, 0, 255, 255), Px(1, 2, 3, 4), net);
    EXPECT_EQ(net, Px(1, 2, 3, 4));
    Blend_Pixels(255, Px(100, 0, 255, 255), Px(1, 2, 3, 4), net);
    EXPECT_EQ(net, Px(100, 0, 255, 255));

    // Outline 3 and glow 4: outline to 24, blend to 30, glow to 48.
    a_glow_look look{.base_color = Px(10, 20, 30), .outlf = true, .outl_color = Px(255, 0, 0),
                     .outl_radius = 3, .glowf = true, .glow_color = Px(0, 0, 255),
                     .glow_radius = 4, .glow_opacity = 50};
    std::vector<a_win_pixel32> t = Glow_Table(look);
    ASSERT_EQ(t.size(), 48u);
    EXPECT_EQ(t[0], Px(10, 20, 30, 255));
    EXPECT_EQ(t[11], Px(10, 20, 30, 255));
    EXPECT_EQ(t[12], Px(255, 0, 0, 255));
    EXPECT_EQ(t[23], Px(255, 0, 0, 255));
    EXPECT_EQ(t[24], Px(255, 0, 0, 255));
    EXPECT_EQ(t[27], Px(127, 0, 128, 255));  // weight 127 of outline
    EXPECT_EQ(t[30], Px(0, 0, 255, 95));     // 127 × 18 / 24
    EXPECT_EQ(t[47], Px(0, 0, 255, 5));

    // Outline 1 alone: letters plus 12 fading twelfths; opacity 50 halves both.
    look.glowf = false;
    look.outl_radius = 1;
    look.base_opacity = 50;
    t = Glow_Table(look);
    ASSERT_EQ(t.size(), 24u);
    EXPECT_EQ(t[11].a, 127);
    EXPECT_EQ(t[12], Px(255, 0, 0, 127));
    EXPECT_EQ(t[18].a, 63);
    EXPECT_EQ(t[23].a, 10);

    // Glow 2 alone: falls from 12 to 24.
    look.outlf = false;
    look.glowf = true;
    look.glow_radius = 2;
    look.glow_opacity = 100;
    t = Glow_Table(look);
    ASSERT_EQ(t.size(), 24u);
    EXPECT_EQ(t[12], Px(0, 0, 255, 255));
    EXPECT_EQ(t[18].a, 127);
    // A glow scaled down to 0 pixels still ends after the letters.
    look.glow_radius = 0;
    EXPECT_EQ(Glow_Table(look).size(), 18u);
}

// The sweeps never exceed a direct search along each pixel's own row,
// column and diagonals, over a scatter of letter pixels; distances bend round
// corners, so that a glow is round rather than a star.
TEST(TextGlow, DistanceMapSweeps) {
    const int w = 23, h = 17;
    a_gworld_ptr cover = Cover(w, h);
    std::vector<Point> on;
    for (int i = 0; i < 9; ++i) {
        int x = (i * 7 + 3) % w, y = (i * 5 + 2) % h;
        At8(cover.get(), x, y) = 255;
        on.push_back(Point{int16_t(y), int16_t(x)});
    }
    a_distance_map map;
    Calc_Glow_Distance(cover->pix, Rect{0, 0, int16_t(h), int16_t(w)}, map);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            int in_line = GLOW_FAR;
            double euclid = 1e9;
            for (Point p : on) {
                int dx = std::abs(x - p.h), dy = std::abs(y - p.v);
                if (dy == 0) in_line = std::min(in_line, 12 * dx);
                else if (dx == 0) in_line = std::min(in_line, 12 * dy);
                else if (dx == dy) in_line = std::min(in_line, 17 * dx);
                euclid = std::min(euclid, 12 * std::hypot(dx, dy));
            }
            ASSERT_LE(map.At(x, y), in_line) << x << ", " << y;
            ASSERT_GE(map.At(x, y), euclid - 0.5) << x << ", " << y;
        }

    // The row-at-a-time sweeps give exactly what the line-by-line ones give,
    // on wide, tall and square maps of sparse and dense partial coverage.
    std::mt19937 rng(11);
    for (auto [cw, ch, density] : {std::tuple{61, 23, 9}, {19, 70, 40}, {33, 33, 90}, {1, 9, 50}, {9, 1, 50}}) {
        a_gworld_ptr c = Cover(cw, ch);
        for (int y = 0; y < ch; ++y)
            for (int x = 0; x < cw; ++x)
                if (int(rng() % 100) < density) At8(c.get(), x, y) = uint8_t(1 + rng() % 255);
        const Rect r{0, 0, int16_t(ch), int16_t(cw)};
        a_distance_map fast;
        Calc_Glow_Distance(c->pix, r, fast);
        EXPECT_EQ(fast.d, Line_By_Line(c->pix, cw, ch).d) << cw << " x " << ch;
    }
    // With a reach, far pixels are skipped: every distance under it is the
    // same, and none of the skipped ones comes under it.
    for (int reach : {12, 60, 200}) {
        const int cw = 300, ch = 170;
        a_gworld_ptr c = Cover(cw, ch);
        At8(c.get(), 7, 9) = 255;
        for (int x = 40; x < 260; ++x) At8(c.get(), x, 90 + x / 40) = 200;  // a slanted stroke
        const Rect r{0, 0, int16_t(ch), int16_t(cw)};
        a_distance_map all = Line_By_Line(c->pix, cw, ch), near;
        Calc_Glow_Distance(c->pix, r, near, reach);
        int differ = 0;
        for (size_t i = 0; i < all.d.size(); ++i)
            if (std::min<int>(all.d[i], reach) != std::min<int>(near.d[i], reach)) ++differ;
        EXPECT_EQ(differ, 0) << "reach " << reach;
    }

    // One letter pixel, partly covered: its own table value, neighbours a
    // step, and off the lines a bend (twelve times the true distance, within 10 %).
    a_gworld_ptr one = Cover(15, 15);
    At8(one.get(), 7, 7) = 128;
    Calc_Glow_Distance(one->pix, Rect{0, 0, 15, 15}, map);
    EXPECT_EQ(map.At(7, 7), 127 * 12 / 255);
    EXPECT_EQ(map.At(8, 7), 12);
    EXPECT_EQ(map.At(5, 7), 24);
    EXPECT_EQ(map.At(6, 6), 17);
    EXPECT_EQ(map.At(9, 8), 29);  // a step along the row, then one diagonal
    for (int y = 1; y < 14; ++y)
        for (int x = 1; x < 14; ++x) {
            double e = 12 * std::hypot(x - 7, y - 7);
            if (e > 0) {
                EXPECT_NEAR(map.At(x, y), e, 0.1 * e) << x << ", " << y;
            }
        }
}

TEST(TextShadow, BoxShiftAndDensity) {
    a_shadow_box b = Calc_Shadow_Box(Rect{10, 20, 30, 40}, -4, 3, 2);
    EXPECT_EQ(b.left, 14);
    EXPECT_EQ(b.right, 42);
    EXPECT_EQ(b.top, 8);
    EXPECT_EQ(b.bottom, 35);
    b = Calc_Shadow_Box(Rect{10, 20, 30, 40}, 0, 5, 0);  // dx 0 moves the left edge by 0
    EXPECT_EQ(b.left, 20);
    EXPECT_EQ(b.right, 40);
    EXPECT_EQ(b.bottom, 35);

    a_gworld_ptr letters = Cover(60, 40);
    At8(letters.get(), 25, 15) = 100;
    Rect used{15, 25, 16, 26};
    GWorld *world = nullptr, *mask = nullptr;
    Rect total;
    // Letters at density 100 cast a shadow of density 200: the value doubles.
    Calc_Text_Shadow(used, letters->pix, world, mask, total, Px(1, 2, 3), 0, 3, -4, 200, 100);
    ASSERT_NE(mask, nullptr);
    EXPECT_EQ(mask->pix.bounds, (Rect{15, 21, 19, 26}));
    EXPECT_EQ(total, (Rect{15, 21, 19, 26}));
    EXPECT_EQ(At8(mask, 21, 18), 200);
    EXPECT_EQ(Pixel32(world, 21, 18), 0x010203u);
    Dispose_GWorld(world);
    Dispose_GWorld(mask);
    // Letters without density cast nothing (and divide by nothing).
    Calc_Text_Shadow(used, letters->pix, world, mask, total, Px(1, 2, 3), 1, 3, -4, 200, 0);
    ASSERT_NE(mask, nullptr);
    int sum = 0;
    for (int y = mask->pix.bounds.top; y < mask->pix.bounds.bottom; ++y)
        for (int x = mask->pix.bounds.left; x < mask->pix.bounds.right; ++x) sum += At8(mask, x, y);
    EXPECT_EQ(sum, 0);
    Dispose_GWorld(world);
    Dispose_GWorld(mask);
}

TEST(TextRender, OpacityAndShadowStrength) {
    Require_Font(kSans);
    std::vector<a_placed_char> chars{Placed(u'H', 20, 60, 0), Placed(u'I', 50, 60, 0)};
    Rect bbox{0, 0, 80, 100};
    a_coord_mapping m;
    a_text_look look;
    look.shadf = true;
    look.shad.radius = 0;
    look.shad.opacity = 100;
    a_masked_gworld_owner t100, s100, t50, s50;
    Render_Placed_Text(chars, bbox, look, m, t100.get(), s100.get());
    look.opacity = 50;
    Render_Placed_Text(chars, bbox, look, m, t50.get(), s50.get());
    ASSERT_TRUE(t100->mask && s100->mask && t50->mask && s50->mask);
    EXPECT_EQ(Max_Mask(t100.get()), 255);
    EXPECT_LE(Max_Mask(t50.get()), 127);
    EXPECT_GE(Max_Mask(t50.get()), 120);
    EXPECT_NEAR(Max_Mask(s50.get()), Max_Mask(s100.get()), 3);
    // The shadow lies down and to the right by (4, 4).
    EXPECT_EQ(s100->bounds.left, t100->bounds.left);
    EXPECT_EQ(s100->bounds.right, t100->bounds.right + 4);
    EXPECT_EQ(s100->bounds.bottom, t100->bounds.bottom + 4);

    // Spaces and overflowing characters draw nothing and cast nothing.
    std::vector<a_placed_char> blank{Placed(u' ', 20, 60, 0), Placed(u'W', 50, 60, 0)};
    blank[1].drawn = false;
    look.outlf = look.glowf = true;
    a_masked_gworld_owner tb, sb;
    Render_Placed_Text(blank, bbox, look, m, tb.get(), sb.get());
    EXPECT_EQ(tb->fore, nullptr);
    EXPECT_EQ(sb->fore, nullptr);
    // An area no world can hold renders nothing rather than failing.
    m.multx = m.multy = 400;
    Render_Placed_Text(chars, bbox, look, m, tb.get(), sb.get());
    EXPECT_EQ(tb->fore, nullptr);
}

// A surrogate pair is one glyph; a family without it falls back to one that
// has it (Symbola here) instead of drawing an empty box.
TEST(TextGlyphs, SurrogatePairAndFallback) {
    Require_Font(kSans);
    Require_Font(kSymbola);
    const std::u16string grin = u"\U0001F600";
    auto sans_pair = Draw({Glyph(grin, kSans, 40, 10, 50)}, 64, 64);
    auto symbola = Draw({Glyph(grin, kSymbola, 40, 10, 50)}, 64, 64);
    auto nofont = Draw({Glyph(u"\u0378", kSans, 40, 10, 50)}, 64, 64);  // unassigned: the empty box
    a_glyph high = Glyph(grin.substr(0, 1), kSans, 40, 10, 50);
    auto halves = Draw({high, Glyph(grin.substr(1, 1), kSans, 40, 34, 50)}, 64, 64);
    ASSERT_GT(Ink(symbola), 255 * 100);
    // A face that has it drew a whole picture (faces differ in their design).
    EXPECT_GT(Ink(sans_pair), Ink(symbola) / 2);
    EXPECT_LT(Ink(sans_pair), Ink(symbola) * 2);
    EXPECT_GT(Diff(sans_pair, nofont), Ink(symbola) / 2);
    EXPECT_GT(Diff(sans_pair, halves), Ink(symbola) / 2);
    EXPECT_EQ(Glyph_Text(high), u"\uFFFD");
    EXPECT_GT(Glyph_Advance(Glyph(grin, kSans, 40, 0, 0)), 20.0);
}

TEST(TextMarks, SelectionHighlightFollowsAngle) {
    a_gworld_ptr w = Make_GWorld(32, Rect{0, 0, 100, 100});
    std::vector<a_placed_char> chars{Placed(u'A', 50, 50, 900, 20)};
    chars[0].width = 12;
    Draw_Selected_Range(w.get(), chars, 0, 1, a_coord_mapping{});
    EXPECT_EQ(Pixel32(w.get(), 45, 45), 0xFF5050u);  // above the turned baseline: left of it
    EXPECT_EQ(Pixel32(w.get(), 58, 45), 0u);   // more than 30 % of the size below it
    EXPECT_EQ(Pixel32(w.get(), 45, 30), 0u);          // the top edge of a turned box is above 38
    a_port_scope scope(w.get());
    OM_Draw_Frame({Point{10, 10}, Point{10, 90}, Point{90, 90}, Point{90, 10}}, a_coord_mapping{},
                  true, true, false);
    EXPECT_EQ(Pixel32(w.get(), 50, 10), 0xF00000u);
}

namespace {

// Characters of `text` around a circle clockwise from the top, upright as
// read from outside: each turned by its angle from twelve o'clock.
std::vector<a_placed_char> On_Circle(const std::u16string& text, double cx, double cy, double r,
                                     float size) {
    std::vector<double> adv;
    double total = 0;
    for (char16_t ch : text) {
        a_glyph g = Glyph(std::u16string(1, ch), kSans, int(size), 0, 0);
        g.bold = true;
        adv.push_back(Glyph_Advance(g));
        total += adv.back();
    }
    std::vector<a_placed_char> chars;
    double along = -total / 2;
    for (size_t i = 0; i < text.size(); ++i) {
        double phi = (along + adv[i] / 2) / r;  // the character's middle, radians clockwise
        double px = cx + r * std::sin(phi), py = cy - r * std::cos(phi);
        double ox = px - adv[i] / 2 * std::cos(phi), oy = py - adv[i] / 2 * std::sin(phi);
        chars.push_back(Placed(text[i], int(std::lround(ox)), int(std::lround(oy)),
                               int(std::lround(-phi * 1800 / std::numbers::pi)), size));
        along += adv[i];
    }
    return chars;
}

a_text_look Effect_Look() {
    return a_text_look{.base_color = Px(250, 250, 255), .outlf = true, .outl_color = Px(20, 30, 120),
                       .outl_radius = 2, .glowf = true, .glow_color = Px(255, 200, 40),
                       .glow_radius = 16, .glow_opacity = 90, .shadf = true,
                       .shad = {.color = Px(0, 0, 0), .dx = 6, .dy = 6, .opacity = 75, .radius = 3}};
}

testing::AssertionResult Golden_Of(const char* name, const std::vector<a_placed_char>& chars,
                                   const Rect& area) {
    a_gworld_ptr page = Make_GWorld(32, area);
    PixMap32_Fill(page->pix, area, 0x1E2A44);
    Render_Placed_Text_Onto(chars, Rect_Inset(area, 50), Effect_Look(), a_coord_mapping{},
                            page.get());
    return Matches_Golden(name, World_Bits(page.get()));
}

// One layout laid out on a 300-pixel, 120 mm disc and rendered with the
// effect look into `tile`.
void Render_Layout(GWorld* tile, int layout, const char16_t* text, int size) {
    const a_text_unit u{Rect{0, 0, 300, 300}, 300 / 120.0f * 25.4f / 72, 0};
    auto om = std::make_unique<a_om_rec>();
    om->fontx = uint32_t(Font_Find(kSans));
    om->layout = uint8_t(layout);
    om->size = int16_t(size);
    om->justify = layout == LAYOUT_CONTOUR ? JUST_LEFT : JUST_CENTER;
    om->lineangle = layout == LAYOUT_90 ? 900 : layout == LAYOUT_270 ? 2700 : 0;
    om->rotcenter = Point{150, 150};
    om->anchor = layout == LAYOUT_HORZ ? Point{130, 150} : layout == LAYOUT_CONTOUR ? Point{40, 150}
                 : layout == LAYOUT_90 ? Point{150, 170} : Point{150, 130};
    om->spoke_totangle = 300;
    UniStr_To_OM(*om, text);
    OM_Recalc_On(*om, 1, u);
    Push_TextSize_Mapping(u.px_per_pt);
    const std::vector<a_placed_char> chars = OM_Placed_Chars(*om);
    Pop_TextSize_Mapping();
    a_text_look look = Effect_Look();
    look.glow_radius = 6;
    look.shad.dx = look.shad.dy = 3;
    Render_Placed_Text_Onto(chars, om->bbox, look, a_coord_mapping{}, tile);
}

}  // namespace

// Every layout through layout and rendering: straight text reads across,
// 90 and 270 degrees up and down, the stack downward; circular text runs
// over the top (clockwise) and under the bottom (counter-clockwise), upright
// from outside; spirals wind inward; spokes fan out from the centre;
// contour rows fill the disc below the anchor.
TEST(TextRenderGolden, EveryLayoutWithEffects) {
    Require_Font(kSans);
    struct a_case { int layout; const char16_t* text; int size; };
    const a_case cases[] = {
        {LAYOUT_HORZ, u"Cirquel\rLabels", 28},
        {LAYOUT_90, u"Ninety", 28},
        {LAYOUT_270, u"Two-seventy", 28},
        {LAYOUT_VERT, u"CD\rDVD", 22},
        {LAYOUT_CIRC_CW, u"Summer Holiday 2026", 24},
        {LAYOUT_CIRC_CCW, u"Side A \u2022 Side B", 24},
        {LAYOUT_SPIRAL_CW, u"Round and round the disc the words go, inward to the hole", 14},
        {LAYOUT_SPIRAL_CCW, u"Round and round the disc the words go, inward to the hole", 14},
        {LAYOUT_SPOKE, u"One\rTwo\rThree\rFour\rFive", 16},
        {LAYOUT_CONTOUR, u"01 Morning Song\r02 The Long Road\r03 Harbour Lights\r"
                         u"04 Summer Holiday\r05 Night Drive\r06 Home Again", 16},
    };
    const Rect sheet_box{0, 0, 600, 1500};
    a_gworld_ptr sheet = Make_GWorld(32, sheet_box);
    for (int k = 0; k < 10; ++k) {
        const Rect box{0, 0, 300, 300};
        a_gworld_ptr tile = Make_GWorld(32, box);
        PixMap32_Fill(tile->pix, box, 0x1E2A44);
        Render_Layout(tile.get(), cases[k].layout, cases[k].text, cases[k].size);
        const int x0 = (k % 5) * 300, y0 = (k / 5) * 300;
        for (int y = 0; y < 300; ++y)
            std::memcpy(PixMap_Row(sheet->pix, y0 + y) + x0 * 4, PixMap_Row(tile->pix, y), 300 * 4);
    }
    EXPECT_TRUE(Matches_Golden("text_every_layout", World_Bits(sheet.get())));
}

TEST(TextRenderGolden, StraightAndCircularWithEffects) {
    Require_Font(kSans);
    std::vector<a_placed_char> word;
    int x = 30;
    for (char16_t ch : std::u16string(u"Cirquel 2026")) {
        a_placed_char c = Placed(ch, x, 90, 0, 48);
        a_glyph g = Glyph(std::u16string(1, ch), kSans, 48, 0, 0);
        g.bold = true;
        x += int(std::lround(Glyph_Advance(g)));
        word.push_back(c);
    }
    EXPECT_TRUE(Golden_Of("text_straight_effects", word, Rect{0, 0, 140, 400}));
    std::vector<a_placed_char> ring = On_Circle(u"SUMMER HOLIDAY 2026", 200, 200, 150, 28);
    EXPECT_TRUE(Golden_Of("text_circle_effects", ring, Rect{0, 0, 400, 400}));
}

namespace {

// The letters' mask and colour as rendering over the block's whole box
// makes them: the reference the glyph-area rendering must equal.
struct a_full_render {
    a_gworld_ptr mask, rgb;
    Rect used;
};

a_full_render Full_Render(const std::vector<a_placed_char>& chars, const Rect& bbox,
                          const a_text_look& look) {
    Rect box = Rect_Inset(bbox, -50);
    a_full_render r{Make_GWorld(8, box), Make_GWorld(32, box), Rect{}};
    a_gworld_ptr work = Make_GWorld(32, box), cover = Make_GWorld(8, box);
    std::vector<a_glyph> glyphs;
    for (const a_placed_char& c : chars) {
        if (!c.drawn) continue;
        a_glyph g = Glyph(std::u16string(c.units, c.nunits), c.family, int(c.size), c.x, c.y, c.t);
        g.bold = c.bold;
        g.italic = c.italic;
        glyphs.push_back(g);
    }
    Glyphs_Draw(World_Bits(work.get()), glyphs.data(), int(glyphs.size()), 255);
    Rect used;
    Extract_Channel(G_CHANNEL, work.get(), cover.get(), box, used);
    if (Rect_IsEmpty(used)) return r;
    if (!look.outlf && !look.glowf) {
        r.mask = std::move(cover);  // plain letters: the coverage is the mask
        r.used = used;
        return r;
    }
    const a_glow_look g{.base_color = look.base_color, .outlf = look.outlf,
                        .outl_color = look.outl_color, .outl_radius = look.outl_radius,
                        .glowf = look.glowf, .glow_color = look.glow_color,
                        .glow_radius = look.glow_radius, .glow_opacity = look.glow_opacity};
    int grow = (g.glowf ? g.glow_radius : 0) + (g.outlf ? g.outl_radius : 0) + 4;
    a_distance_map map;
    Calc_Glow_Distance(cover->pix, Rect_Sect(Rect_Inset(used, -grow), box), map);
    Distance_To_Glow(r.used, r.mask->pix, r.rgb->pix, map, g);
    return r;
}

}  // namespace

// Rendering works only on the glyphs' area grown by the effects' reach; the
// result must equal a rendering over the whole box, byte for byte, for
// letters of any size, angle and face near and across the box's edges.
TEST(TextRender, GlyphAreaEqualsWholeBox) {
    Require_Font(kSans);
    Require_Font(kSymbola);
    std::mt19937 rng(11);
    auto pick = [&rng](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    const std::u16string letters = u"AgjQW@fy|,\u00C5\u0434\U0001F600";
    for (int round = 0; round < 12; ++round) {
        Rect bbox{0, 0, int16_t(pick(60, 400)), int16_t(pick(60, 400))};
        std::vector<a_placed_char> chars;
        for (int i = pick(1, 8); i > 0; --i) {
            size_t k = size_t(pick(0, int(letters.size()) - 1));
            if (k > 0 && letters[k] >= 0xDC00 && letters[k] <= 0xDFFF) --k;
            a_placed_char c = Placed(letters[k], pick(-40, bbox.right + 40), pick(-40, bbox.bottom + 40),
                                     pick(-1800, 1800), float(pick(6, 90)));
            if (letters[k] >= 0xD800 && letters[k] <= 0xDBFF) {
                c.units[1] = letters[k + 1];
                c.nunits = 2;
            }
            c.italic = pick(0, 1) != 0;
            c.bold = pick(0, 1) != 0;
            chars.push_back(c);
        }
        a_text_look look = Effect_Look();
        look.shadf = false;
        look.outlf = round % 3 != 0;
        look.glowf = round % 2 != 0;
        look.outl_radius = pick(1, 6);
        look.glow_radius = pick(1, 30);
        a_full_render want = Full_Render(chars, bbox, look);
        a_masked_gworld_owner text, shad;
        Render_Placed_Text(chars, bbox, look, a_coord_mapping{}, text.get(), shad.get());
        ASSERT_EQ(Rect_IsEmpty(want.used), text->fore == nullptr) << "round " << round;
        if (!text->fore) continue;
        EXPECT_EQ(text->bounds, want.used) << "round " << round;
        const Rect& have = text->mask->pix.bounds;
        long wrong = 0;
        for (int y = want.mask->pix.bounds.top; y < want.mask->pix.bounds.bottom; ++y)
            for (int x = want.mask->pix.bounds.left; x < want.mask->pix.bounds.right; ++x) {
                uint8_t m = At8(want.mask.get(), x, y);
                bool inside = x >= have.left && x < have.right && y >= have.top && y < have.bottom;
                uint8_t got = inside ? At8(text->mask, x, y) : 0;
                if (got != m) ++wrong;
                if (!inside || m == 0 || !(look.outlf || look.glowf)) continue;
                auto row = [](GWorld* w, int x, int y) {
                    return reinterpret_cast<const uint32_t*>(PixMap_Row(w->pix, y))[x - w->pix.bounds.left];
                };
                if (row(text->fore, x, y) != row(want.rgb.get(), x, y)) ++wrong;
            }
        EXPECT_EQ(wrong, 0) << "round " << round;
    }
}

namespace {

// One straight line of text laid out on a 300-pixel disc with `shape` applied
// to the record, rendered plain in white onto black.
a_gworld_ptr Render_Shaped(const char16_t* text, void (*shape)(a_om_rec&)) {
    const a_text_unit u{Rect{0, 0, 120, 400}, 300 / 120.0f * 25.4f / 72, 0};
    auto om = std::make_unique<a_om_rec>();
    om->fontx = uint32_t(Font_Find(kSans));
    om->size = 30;
    om->justify = JUST_LEFT;
    om->anchor = Point{80, 20};
    UniStr_To_OM(*om, text);
    shape(*om);
    OM_Recalc_On(*om, 1, u);
    Push_TextSize_Mapping(u.px_per_pt);
    const std::vector<a_placed_char> chars = OM_Placed_Chars(*om);
    Pop_TextSize_Mapping();
    a_gworld_ptr w = Make_GWorld(32, u.bounds);
    PixMap32_Fill(w->pix, u.bounds, 0);
    Render_Placed_Text_Onto(chars, om->bbox, a_text_look{.base_color = Px(255, 255, 255)}, a_coord_mapping{},
                            w.get());
    return w;
}

// The inked box of a picture, and the mean column of the ink above and below `mid`.
struct a_ink {
    Rect box;
    double top_x = 0, bottom_x = 0;
    long red = 0;  // pixels red rather than white
};
a_ink Ink_Of(GWorld* w, int mid) {
    a_ink k;
    double st = 0, sb = 0, nt = 0, nb = 0;
    const Rect b = w->pix.bounds;
    for (int y = b.top; y < b.bottom; ++y)
        for (int x = b.left; x < b.right; ++x) {
            const uint8_t* p = PixMap_Row(w->pix, y) + 4 * x;
            if (p[2] < 128) continue;
            k.box = Rect_Union(k.box, Rect{int16_t(y), int16_t(x), int16_t(y + 1), int16_t(x + 1)});
            k.red += p[1] < 80 && p[0] < 80;
            (y < mid ? st : sb) += x;
            (y < mid ? nt : nb) += 1;
        }
    k.top_x = nt ? st / nt : 0;
    k.bottom_x = nb ? sb / nb : 0;
    return k;
}

}  // namespace

// Stretch widens and heightens the letters and the line with them; slant
// leans their tops right; a character's own colour shows in it alone. The
// four side by side are a golden picture.
TEST(TextRenderGolden, StretchSlantAndOwnColour) {
    Require_Font(kSans);
    const char16_t* word = u"Stretch";
    a_gworld_ptr plain = Render_Shaped(word, [](a_om_rec&) {});
    a_gworld_ptr wide = Render_Shaped(word, [](a_om_rec& om) { om.stretch_h = 60; });
    a_gworld_ptr tall = Render_Shaped(word, [](a_om_rec& om) { om.stretch_v = 50; });
    a_gworld_ptr lean = Render_Shaped(word, [](a_om_rec& om) { om.skew_h = 40; });
    a_gworld_ptr red = Render_Shaped(word, [](a_om_rec& om) {
        for (int i = 3; i <= 5; ++i) om.xyl[i].cc_color = Px(230, 20, 20, 255);  // "ret"
    });
    const a_ink p = Ink_Of(plain.get(), 65), w = Ink_Of(wide.get(), 65), t = Ink_Of(tall.get(), 65),
                l = Ink_Of(lean.get(), 65), r = Ink_Of(red.get(), 65);
    EXPECT_NEAR(double(Rect_Width(w.box)) / Rect_Width(p.box), 1.6, 0.1);
    EXPECT_NEAR(double(Rect_Height(t.box)) / Rect_Height(p.box), 1.5, 0.12);
    EXPECT_NEAR(t.box.bottom, p.box.bottom, 1) << "taller on the same baseline";
    // An upright stroke: its top half leans right of its bottom by the slant of half its height.
    a_gworld_ptr stroke = Render_Shaped(u"l", [](a_om_rec& om) { om.skew_h = 40; });
    a_gworld_ptr upright = Render_Shaped(u"l", [](a_om_rec&) {});
    const a_ink s = Ink_Of(stroke.get(), 70), u = Ink_Of(upright.get(), 70);
    EXPECT_NEAR(u.top_x - u.bottom_x, 0, 1);
    EXPECT_NEAR(s.top_x - s.bottom_x, 0.4 * Rect_Height(u.box) / 2, 2) << "the top leans right";
    (void)l;
    EXPECT_EQ(p.red, 0);
    EXPECT_GT(r.red, 100);
    EXPECT_LT(r.box.right - r.box.left, Rect_Width(p.box) + 2);
    const Rect tile{0, 0, 120, 400};
    const Rect sheet_box{0, 0, 600, 400};
    a_gworld_ptr sheet = Make_GWorld(32, sheet_box);
    GWorld* rows[] = {plain.get(), wide.get(), tall.get(), lean.get(), red.get()};
    for (int k = 0; k < 5; ++k)
        for (int y = 0; y < 120; ++y)
            std::memcpy(PixMap_Row(sheet->pix, k * 120 + y), PixMap_Row(rows[k]->pix, y), size_t(Rect_Width(tile)) * 4);
    EXPECT_TRUE(Matches_Golden("text_stretch_slant_colour", World_Bits(sheet.get())));
}
