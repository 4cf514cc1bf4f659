// Blits: the fast workers against a plain reference on random rectangles,
// modes, masks, depth conversions and the port forms.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <random>
#include <vector>

#include "pixmap_fixtures.h"
#include "platform/port.h"
#include "pixels/blit.h"
#include "pixels/blit_port.h"
#include "pixels/gworld.h"
#include "pixels/hq_blit.h"
#include "pixels/syspix.h"

namespace {

uint32_t Ref_Blend(uint32_t s, uint32_t d, unsigned w) {
    if (w >= 255) return (s & 0xFFFFFF) | (d & 0xFF000000);
    if (w == 0) return d;
    uint32_t out = d & 0xFF000000;
    for (int sh = 0; sh < 24; sh += 8)
        out |= ((((s >> sh) & 0xFF) * w + ((d >> sh) & 0xFF) * (255 - w)) >> 8) << sh;
    return out;
}

// The 32-bit blit as the rules state it, one pixel at a time. The mask (8-bit,
// same size as the source rectangle) may be null.
void Ref_Blt32(const a_test_map& src, const a_test_map* mask, a_test_map& dst, const Rect& s,
               const Rect& d, int mode, unsigned w, const Rect* clip) {
    int sw = Rect_Width(s), sh = Rect_Height(s), dw = Rect_Width(d), dh = Rect_Height(d);
    if (sw <= 0 || sh <= 0 || dw <= 0 || dh <= 0) return;
    const Rect& sb = src.get().bounds;
    const Rect& db = dst.get().bounds;
    for (int y = d.top; y < d.bottom; ++y)
        for (int x = d.left; x < d.right; ++x) {
            if (x < db.left || x >= db.right || y < db.top || y >= db.bottom) continue;
            if (clip && (x < clip->left || x >= clip->right || y < clip->top || y >= clip->bottom)) continue;
            int sx = s.left + int(std::floor((x - d.left + 0.5) * sw / dw));
            int sy = s.top + int(std::floor((y - d.top + 0.5) * sh / dh));
            if (sx < sb.left || sx >= sb.right || sy < sb.top || sy >= sb.bottom) continue;
            uint32_t sv = src.Get(sx, sy), dv = dst.Get(x, y), out = dv;
            if (mask) {
                unsigned m = mask->Get(sx - s.left + mask->get().bounds.left, sy - s.top + mask->get().bounds.top);
                out = m == 255 ? sv : m == 0 ? dv : Ref_Blend(sv, dv, m);
            } else if (mode == srcCopy) {
                out = sv;
            } else if (mode == blend) {
                out = Ref_Blend(sv, dv, w);
            } else if (mode == transparent) {
                out = (sv & 0xFFFFFF) == 0xFFFFFF ? dv : sv;
            } else if (mode == ALPHA) {
                unsigned a = sv >> 24;
                out = a == 255 ? sv : a == 0 ? dv : Ref_Blend(sv, dv, a);
            }
            dst.Put(x, y, out);
        }
}

Rect Random_Rect(std::mt19937& rng, const Rect& around) {
    std::uniform_int_distribution<int> pos(-6, 6), len(1, 24);
    int top = around.top + pos(rng), left = around.left + pos(rng);
    return R(top, left, top + len(rng), left + len(rng));
}

// A source with some white pixels and some fully clear or opaque extra bytes,
// so that transparent and ALPHA meet their special cases.
void Spice(a_test_map& m, std::mt19937& rng) {
    m.Random(rng);
    for (int y = m.get().bounds.top; y < m.get().bounds.bottom; ++y)
        for (int x = m.get().bounds.left; x < m.get().bounds.right; ++x) {
            unsigned k = rng() % 6;
            if (k == 0) m.Put(x, y, m.Get(x, y) | 0xFFFFFF);
            if (k == 1) m.Put(x, y, m.Get(x, y) & 0xFFFFFF);
            if (k == 2) m.Put(x, y, m.Get(x, y) | 0xFF000000);
        }
}

bool Same_Pixels(const a_test_map& a, const a_test_map& b) {
    for (int y = a.get().bounds.top; y < a.get().bounds.bottom; ++y)
        for (int x = a.get().bounds.left; x < a.get().bounds.right; ++x)
            if (a.Get(x, y) != b.Get(x, y)) {
                ADD_FAILURE() << "first difference at " << x << "," << y << ": " << std::hex
                              << a.Get(x, y) << " vs " << b.Get(x, y);
                return false;
            }
    return true;
}

// The RGB of a world's pixel, which must lie inside it.
uint32_t Rgb(const GWorld* w, int x, int y) {
    uint32_t p = 0;
    EXPECT_TRUE(Get_GWorld_Pixel(w, x, y, p)) << x << ", " << y;
    return p & 0xFFFFFF;
}

}  // namespace

TEST(Blit, WorkersAgreeWithThePlainRulesAtEveryEdge) {
    std::mt19937 rng(7);
    const int modes[] = {srcCopy, blend, transparent, ALPHA};
    const unsigned weights[] = {0, 1, 128, 254, 255};
    for (int round = 0; round < 600; ++round) {
        a_test_map src(R(3, -4, 18, 16), 32);
        Spice(src, rng);
        a_test_map dst(R(-2, 5, 14, 25), 32), ref(R(-2, 5, 14, 25), 32);
        dst.Random(rng);
        for (int y = -2; y < 14; ++y)
            for (int x = 5; x < 25; ++x) ref.Put(x, y, dst.Get(x, y));
        Rect s = Random_Rect(rng, src.get().bounds);
        Rect d = round % 3 == 0 ? R(s.top - 4, s.left + 9, s.bottom - 4, s.right + 9)  // same size
                                : Random_Rect(rng, dst.get().bounds);
        Rect c = Random_Rect(rng, dst.get().bounds);
        const Rect* clip = round % 4 == 1 ? &c : nullptr;
        int mode = modes[round % 4];
        unsigned w = weights[(round / 4) % 5];
        Set_Blend_Value(int(std::ceil(w * 100.0 / 255)));
        w = Get_Blend_Weight();
        Pix_To_Pix(src.get(), dst.get(), s, d, mode, clip);
        Ref_Blt32(src, nullptr, ref, s, d, mode, w, clip);
        ASSERT_TRUE(Same_Pixels(dst, ref)) << "round " << round << " mode " << mode << " w " << w;
    }
    Set_Blend_Value(100);
}

TEST(Blit, DeepMaskAgreesWithThePlainRules) {
    std::mt19937 rng(11);
    for (int round = 0; round < 200; ++round) {
        a_test_map src(R(0, 0, 12, 12), 32);
        src.Random(rng);
        Rect s = R(rng() % 6, rng() % 6, 6 + rng() % 7, 6 + rng() % 7);
        a_test_map mask(R(40, 40, 40 + Rect_Height(s), 40 + Rect_Width(s)), 8, gray_ctable);
        mask.Random(rng);
        for (int k = 0; k < 20; ++k) {
            mask.Put(40 + int(rng() % Rect_Width(s)), 40 + int(rng() % Rect_Height(s)), k % 2 ? 255 : 0);
        }
        a_test_map dst(R(0, 0, 16, 16), 32), ref(R(0, 0, 16, 16), 32);
        dst.Random(rng);
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) ref.Put(x, y, dst.Get(x, y));
        Rect d = round % 2 ? Random_Rect(rng, dst.get().bounds)
                           : R(s.top + 3, s.left - 2, s.bottom + 3, s.right - 2);
        Pix_To_PixM(src.get(), mask.get(), dst.get(), s, mask.get().bounds, d);
        Ref_Blt32(src, &mask, ref, s, d, srcCopy, 255, nullptr);
        ASSERT_TRUE(Same_Pixels(dst, ref)) << "round " << round;
    }
}

// The opacity's weight for one scope; the pixels each weight gives are
// checked against the plain rules above.
TEST(Blit, BlendScopesPutTheWeightBack) {
    Set_Blend_Value(100);
    {
        a_blend_scope half(50);
        EXPECT_EQ(Get_Blend_Weight(), 127);
    }
    EXPECT_EQ(Get_Blend_Weight(), 255);
    Set_Blend_Value(140);
    EXPECT_EQ(Get_Blend_Weight(), 255);
    Set_Blend_Value(100);
}

TEST(Blit, NearestScalingPicksPixelCentres) {
    a_test_map src(R(0, 0, 4, 4), 8), up(R(0, 0, 8, 8), 8), down(R(0, 0, 2, 2), 8);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) src.Put(x, y, uint32_t(10 * y + x));
    Pix_To_Pix(src.get(), up.get(), src.get().bounds, up.get().bounds, srcCopy, nullptr);
    Pix_To_Pix(src.get(), down.get(), src.get().bounds, down.get().bounds, srcCopy, nullptr);
    EXPECT_EQ((std::vector<uint32_t>{up.Get(0, 0), up.Get(1, 1), up.Get(2, 1), up.Get(7, 7)}),
              (std::vector<uint32_t>{0, 0, 1, 33}));
    EXPECT_EQ((std::vector<uint32_t>{down.Get(0, 0), down.Get(1, 1)}), (std::vector<uint32_t>{11, 33}));
    // Empty rectangles draw nothing.
    down.Fill(99);
    Pix_To_Pix(src.get(), down.get(), R(0, 0, 0, 4), down.get().bounds, srcCopy, nullptr);
    Pix_To_Pix(src.get(), down.get(), src.get().bounds, R(1, 1, 1, 2), srcCopy, nullptr);
    Pix_To_Pix(src.get(), down.get(), R(50, 50, 54, 54), down.get().bounds, srcCopy, nullptr);
    EXPECT_EQ(down.Get(0, 0), 99u);
}

TEST(Blit, OverlappingCopiesWithinOneMap) {
    a_test_map m(R(0, 0, 6, 1), 8);
    for (int y = 0; y < 6; ++y) m.Put(0, y, uint32_t(y + 1));
    Pix_To_Pix(m.get(), m.get(), R(0, 0, 4, 1), R(2, 0, 6, 1), srcCopy, nullptr);  // down by two
    const uint32_t want[6] = {1, 2, 1, 2, 3, 4};
    for (int y = 0; y < 6; ++y) EXPECT_EQ(m.Get(0, y), want[y]) << y;
}

TEST(Blit, DepthConversions) {
    a_test_map g8(R(0, 0, 1, 3), 8, gray_ctable), c32(R(0, 0, 1, 3), 32);
    for (int x : {0, 1, 2}) g8.Put(x, 0, uint32_t(std::array{0, 255, 55}[size_t(x)]));
    c32.Fill(0xAB000000);
    Pix_To_Pix(g8.get(), c32.get(), g8.get().bounds, c32.get().bounds, srcCopy, nullptr);
    // The fourth byte is the destination's.
    EXPECT_EQ((std::vector<uint32_t>{c32.Get(0, 0), c32.Get(1, 0), c32.Get(2, 0)}),
              (std::vector<uint32_t>{0xABFFFFFF, 0xAB000000, 0xABC8C8C8}));

    a_test_map c16(R(0, 0, 1, 3), 16), c24(R(0, 0, 1, 3), 24), back32(R(0, 0, 1, 3), 32);
    c32.Put(0, 0, 0x00FF8008);
    Pix_To_Pix(c32.get(), c16.get(), c32.get().bounds, c16.get().bounds, srcCopy, nullptr);
    EXPECT_EQ(c16.Get(0, 0), uint32_t(31 << 10 | 16 << 5 | 1));
    Pix_To_Pix(c16.get(), c24.get(), c16.get().bounds, c24.get().bounds, srcCopy, nullptr);
    EXPECT_EQ(c24.Get(0, 0), 0xF88008u);
    Pix_To_Pix(c24.get(), back32.get(), c24.get().bounds, back32.get().bounds, srcCopy, nullptr);
    EXPECT_EQ(back32.Get(0, 0) & 0xFFFFFF, 0xF88008u);
    Pix_To_Pix(c32.get(), c24.get(), c32.get().bounds, c24.get().bounds, srcCopy, nullptr);
    EXPECT_EQ(c24.Get(0, 0), 0xFF8008u);
    // Scaled conversions: 16 -> 32 at twice the size.
    a_test_map big(R(0, 0, 2, 6), 32);
    Pix_To_Pix(c16.get(), big.get(), c16.get().bounds, big.get().bounds, srcCopy, nullptr);
    EXPECT_EQ(big.Get(1, 1) & 0xFFFFFF, 0xF88008u);
}

TEST(Blit, OneBitMapsExpandToTheForeAndBackColours) {
    a_gworld_ptr w = Make_GWorld(32, R(0, 0, 1, 8));
    a_test_map bits(R(0, 0, 1, 8), 1);
    bits.Put(2, 0, 1);
    Push_GWorld(w.get());
    RGBForeColor(0x0000FF);
    RGBBackColor(0x00FF00);
    Pix_To_Port(bits.get(), bits.get().bounds, w->pix.bounds, srcCopy, nullptr);
    Pop_GWorld();
    EXPECT_EQ(Rgb(w.get(), 2, 0), 0x0000FFu);
    EXPECT_EQ(Rgb(w.get(), 3, 0), 0x00FF00u);
    // Into a mask: set bits are black (255), clear ones white (0).
    a_test_map m8(R(0, 0, 1, 8), 8, gray_ctable);
    m8.Fill(7);
    Pix_To_Pix(bits.get(), m8.get(), bits.get().bounds, m8.get().bounds, srcCopy, nullptr);
    EXPECT_EQ(m8.Get(2, 0), 255u);
    EXPECT_EQ(m8.Get(3, 0), 0u);
    // 1 -> 1 with srcXor toggles.
    a_test_map b2(R(0, 0, 1, 8), 1);
    b2.Put(2, 0, 1);
    b2.Put(5, 0, 1);
    Pix_To_Pix(bits.get(), b2.get(), bits.get().bounds, b2.get().bounds, srcXor, nullptr);
    EXPECT_EQ(b2.Get(2, 0), 0u);
    EXPECT_EQ(b2.Get(5, 0), 1u);
}

TEST(Blit, EightBitModes) {
    a_test_map src(R(0, 0, 1, 3), 8, gray_ctable), dst(R(0, 0, 1, 3), 8, gray_ctable);
    src.Put(0, 0, 255);
    src.Put(1, 0, 0x0F);
    src.Put(2, 0, 0xF0);
    dst.Fill(0x3C);
    Pix_To_Pix(src.get(), dst.get(), src.get().bounds, dst.get().bounds, transparent, nullptr);
    EXPECT_EQ(dst.Get(0, 0), 0x3Cu);  // 255 leaves the destination
    EXPECT_EQ(dst.Get(1, 0), 0x0Fu);
    dst.Fill(0x3C);
    Pix_To_Pix(src.get(), dst.get(), src.get().bounds, dst.get().bounds, notSrcBic, nullptr);
    EXPECT_EQ(dst.Get(0, 0), 0x3Cu);
    EXPECT_EQ(dst.Get(1, 0), 0x0Cu);
    EXPECT_EQ(dst.Get(2, 0), 0x30u);
}

TEST(Blit, OneBitMasksForEveryDepthPair) {
    a_test_map mask(R(0, 0, 1, 4), 1);
    mask.Put(1, 0, 1);
    mask.Put(3, 0, 1);
    for (int depth : {8, 16, 24, 32}) {
        a_test_map src(R(0, 0, 1, 4), depth), dst(R(0, 0, 1, 4), depth);
        src.Fill(depth == 16 ? 0x1234 : 0x55);
        Pix_To_PixM(src.get(), mask.get(), dst.get(), src.get().bounds, mask.get().bounds, dst.get().bounds);
        EXPECT_EQ(dst.Get(0, 0), 0u) << depth;
        EXPECT_EQ(dst.Get(1, 0), src.Get(1, 0)) << depth;
        EXPECT_EQ(dst.Get(3, 0), src.Get(3, 0)) << depth;
    }
    // Another depth goes through a converted copy of the source.
    a_test_map src(R(0, 0, 1, 4), 32), dst(R(0, 0, 1, 4), 16);
    src.Fill(0x00FF0000);
    Pix_To_PixM(src.get(), mask.get(), dst.get(), src.get().bounds, mask.get().bounds, dst.get().bounds);
    EXPECT_EQ(dst.Get(1, 0), uint32_t(31 << 10));
    EXPECT_EQ(dst.Get(2, 0), 0u);
}

TEST(BlitDeathTest, PairsWithoutAWorkerAreFatal) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    a_test_map m8(R(0, 0, 2, 2), 8), m16(R(0, 0, 2, 2), 16), m32(R(0, 0, 2, 2), 32);
    EXPECT_DEATH(Pix_To_Pix(m8.get(), m16.get(), m8.get().bounds, m16.get().bounds, srcCopy, nullptr), "");
    EXPECT_DEATH(Pix_To_Pix(m32.get(), m8.get(), m8.get().bounds, m8.get().bounds, srcCopy, nullptr), "");
    EXPECT_DEATH(Pix_To_PixM(m32.get(), m16.get(), m32.get(), m8.get().bounds, m8.get().bounds, m8.get().bounds), "");
}

TEST(Blit, ExtractChannel) {
    GWorld* src = New_GWorld(32, R(0, 0, 10, 10));
    GWorld* dst = New_GWorld(8, R(0, 0, 10, 10));
    Rect used{1, 1, 1, 1};
    Extract_Channel(R_CHANNEL, src, dst, R(2, 2, 8, 8), used);
    EXPECT_EQ(used, Rect{});
    Row_PutDot(PixMap_Row(src->pix, 4), 32, 6, 0x00AB0000);
    Row_PutDot(PixMap_Row(src->pix, 3), 32, 3, 0xCD00000F);
    Extract_Channel(R_CHANNEL, src, dst, R(2, 2, 8, 8), used);
    EXPECT_EQ(used, R(4, 6, 5, 7));
    EXPECT_EQ(PixMap_Row(dst->pix, 4)[6], 0xAB);
    Extract_Channel(A_CHANNEL, src, dst, R(0, 0, 10, 10), used);
    EXPECT_EQ(used, R(3, 3, 4, 4));
    Dispose_GWorld(src);
    Dispose_GWorld(dst);
}

TEST(Blit, MaskedBlendOverThePort) {
    GWorld* w = New_GWorld(32, R(0, 0, 1, 3));
    PixMap_Row(w->pix, 0)[0] = 100;  // blue of pixel 0
    a_test_map src(R(10, 10, 11, 13), 32), mask(R(10, 10, 11, 13), 8, gray_ctable);
    src.Fill(0x000000C8);  // blue 200
    mask.Put(10, 10, 255);
    mask.Put(12, 10, 255);
    Push_GWorld(w);
    CopyMask_Blend(50, src.get(), mask.get(), R(0, 0, 1, 3), nullptr);
    Pop_GWorld();
    EXPECT_EQ(PixMap_Row(w->pix, 0)[0], (200 * 127 + 100 * 128) >> 8);
    EXPECT_EQ(PixMap_Row(w->pix, 0)[4], 0);  // outside the mask
    EXPECT_EQ(PixMap_Row(w->pix, 0)[8], (200 * 127) >> 8);
    Set_Blend_Value(100);
    Dispose_GWorld(w);
}

TEST(Blit, FilteredScalingIsSmoothAndKeepsFlatColours) {
    a_test_map src(R(0, 0, 2, 2), 32), dst(R(0, 0, 8, 8), 32);
    src.Put(0, 0, 0x000000FF);
    src.Put(1, 0, 0x000000FF);
    dst.Fill(0x5A000000);
    Bicubic_Blt(src.get(), dst.get(), src.get().bounds, dst.get().bounds);
    EXPECT_EQ(dst.Get(0, 0), 0x5A0000FFu);  // corners keep their colour and the extra byte
    EXPECT_EQ(dst.Get(7, 7) & 0xFFFFFF, 0u);
    uint32_t mid = dst.Get(4, 4) & 0xFF;
    EXPECT_GT(mid, 0u);
    EXPECT_LT(mid, 255u);
    // ditherCopy between sizes without a clip takes the filtered path.
    a_test_map flat(R(0, 0, 5, 5), 32), out(R(0, 0, 13, 17), 32);
    flat.Fill(0x00336699);
    Pix_To_Pix(flat.get(), out.get(), flat.get().bounds, out.get().bounds, ditherCopy, nullptr);
    for (int y = 0; y < 13; ++y)
        for (int x = 0; x < 17; ++x) ASSERT_EQ(out.Get(x, y), 0x00336699u);
}

TEST(Blit, MatrixTransformsLandWhereTheMatrixSays) {
    a_gworld_ptr src = Make_GWorld(32, R(0, 0, 4, 4));
    a_gworld_ptr dst = Make_GWorld(32, R(100, 100, 120, 120));
    PixMap32_Fill(src->pix, src->pix.bounds, 0x00FF0000);
    // A quarter turn about the origin, then moved to (110, 105): source (1, 2)
    // lands on (110 - 2.5, 105 + 1.5).
    const double m[6] = {0, -1, 110, 1, 0, 105};
    Port_To_Port_Matrix(src.get(), dst.get(), src->pix.bounds, m, nullptr);
    EXPECT_EQ(Rgb(dst.get(), 107, 106), 0xFF0000u);
    EXPECT_EQ(Rgb(dst.get(), 111, 106), 0u);
    EXPECT_EQ(Rgb(dst.get(), 107, 110), 0u);
    // A clip keeps the rest untouched, the fourth byte included.
    GWorld_Zero(dst.get());
    const double shift[6] = {1, 0, 100, 0, 1, 100};
    Rect clip = R(100, 100, 102, 102);
    Port_To_Port_Matrix(src.get(), dst.get(), src->pix.bounds, shift, &clip);
    EXPECT_EQ(Rgb(dst.get(), 101, 101), 0xFF0000u);
    uint32_t p = 1;
    EXPECT_TRUE(Get_GWorld_Pixel(dst.get(), 102, 101, p));
    EXPECT_EQ(p, 0u);
}

namespace {

// A grey 32-bit twin of an 8-bit map: each value in bytes 0..2.
void Grey_Twin(const PixMap& v8, PixMap& g32) {
    const Rect& b = v8.bounds;
    for (int y = b.top; y < b.bottom; ++y)
        for (int x = b.left; x < b.right; ++x)
            Row_PutDot(PixMap_Row(g32, y), 32, x - b.left,
                       Row_GetDot(PixMap_Row(v8, y), 8, x - b.left) * 0x010101u);
}

bool Same_Values(const PixMap& v8, const PixMap& g32) {
    const Rect& b = v8.bounds;
    for (int y = b.top; y < b.bottom; ++y)
        for (int x = b.left; x < b.right; ++x) {
            uint32_t v = Row_GetDot(PixMap_Row(v8, y), 8, x - b.left);
            uint32_t g = Row_GetDot(PixMap_Row(g32, y), 32, x - b.left) & 0xFF;
            if (v != g) {
                ADD_FAILURE() << "first difference at " << x << "," << y << ": " << v << " vs " << g;
                return false;
            }
        }
    return true;
}

}  // namespace

// Masks and grey maps are resampled as values: an 8-bit destination ends up
// as the 32-bit resampler leaves the same values held as grey pixels, on
// random rectangles, matrices and clips, partly off both maps.
TEST(Blit, ResamplersFillEightBitMapsLikeGreyPixels) {
    std::mt19937 rng(11);
    for (int round = 0; round < 60; ++round) {
        a_gworld_ptr s8 = Make_GWorldF("test", R(3, -4, 18, 16), 8, gray_ctable);
        a_gworld_ptr s32 = Make_GWorldF("test", R(3, -4, 18, 16), 32, nullptr);
        a_gworld_ptr d8 = Make_GWorldF("test", R(-2, 5, 14, 25), 8, gray_ctable);
        a_gworld_ptr d32 = Make_GWorldF("test", R(-2, 5, 14, 25), 32, nullptr);
        for (GWorld* w : {s8.get(), d8.get()})
            for (int y = w->pix.bounds.top; y < w->pix.bounds.bottom; ++y)
                for (int x = 0; x < Rect_Width(w->pix.bounds); ++x) PixMap_Row(w->pix, y)[x] = uint8_t(rng());
        Grey_Twin(s8->pix, s32->pix);
        Grey_Twin(d8->pix, d32->pix);
        Rect s = Random_Rect(rng, s8->pix.bounds);
        if (round % 2 == 0) {
            Rect d = Random_Rect(rng, d8->pix.bounds);
            Bicubic_Blt(s8->pix, d8->pix, s, d);
            Bicubic_Blt(s32->pix, d32->pix, s, d);
        } else {
            double a = std::uniform_real_distribution<double>(0, 6.3)(rng);
            double k = std::uniform_real_distribution<double>(0.4, 2.5)(rng);
            const double m[6] = {k * std::cos(a), -k * std::sin(a), double(int(rng() % 20)),
                                 k * std::sin(a), k * std::cos(a), double(int(rng() % 16) - 2)};
            Rect c = Random_Rect(rng, d8->pix.bounds);
            const Rect* clip = round % 4 == 1 ? &c : nullptr;
            Port_To_Port_Matrix(s8.get(), d8.get(), s, m, clip);
            Port_To_Port_Matrix(s32.get(), d32.get(), s, m, clip);
        }
        ASSERT_TRUE(Same_Values(d8->pix, d32->pix)) << "round " << round;
    }
    // A 1-bit source reaches an 8-bit destination through its fore and back
    // colours, as the plain blit takes it.
    a_test_map bits(R(0, 0, 4, 4), 1), out(R(0, 0, 8, 8), 8, gray_ctable);
    bits.Fill(1);
    Bicubic_Blt(bits.get(), out.get(), bits.get().bounds, out.get().bounds);
    EXPECT_EQ(out.Get(3, 5), 255u);  // black: full coverage in the grey table
}

TEST(Blit, InverseTableAndSubtraction) {
    static uint8_t inverse[32768];
    uint32_t table[256];
    CTabHandle_To_Map(gray_ctable, table);
    table[0] |= 0x01000000;  // white excluded
    Asm32_Calc_Inverse(table, inverse);
    // The first of equal distances wins: greys 248..255 all reduce to 31.
    EXPECT_EQ(inverse[0], 248);     // black
    EXPECT_EQ(inverse[0x7FFF], 1);  // white, with entry 0 excluded
    EXPECT_EQ(inverse[(16 << 10) | (16 << 5) | 16], 120);
    a_test_map mask(R(0, 0, 1, 3), 1), fore(R(0, 0, 1, 3), 8), back(R(0, 0, 1, 3), 8);
    mask.Fill(1);
    mask.Put(2, 0, 0);
    for (int x = 0; x < 3; ++x) {
        fore.Put(x, 0, uint32_t(std::array{5, 6, 9}[size_t(x)]));
        back.Put(x, 0, uint32_t(std::array{5, 7, 9}[size_t(x)]));
    }
    // Equal under the mask: white and unmasked; different: kept; mask clear: untouched.
    Asm32_PixMap8_Subtract(mask.get(), fore.get(), back.get());
    EXPECT_EQ((std::vector<uint32_t>{fore.Get(0, 0), fore.Get(1, 0), fore.Get(2, 0)}),
              (std::vector<uint32_t>{255, 6, 9}));
    EXPECT_EQ((std::vector<uint32_t>{mask.Get(0, 0), mask.Get(1, 0)}), (std::vector<uint32_t>{0, 1}));
    EXPECT_EQ(Asm32_Fraction(300, 200, 7), 8571);
    EXPECT_EQ(Asm32_Fraction(1, 1, 0), 0);
    EXPECT_EQ(Asm32_Fraction32(100000, 30000, 7), 428571428);
}

TEST(Blit, WindowsAreDrawnThroughTheirOwnPixels) {
    // A window's backing pixels, as the interface layer hands them over.
    std::vector<uint32_t> back(6 * 4, 0);
    a_port_bits bits;
    bits.base = reinterpret_cast<uint8_t*>(back.data());
    bits.rowbytes = 6 * 4;
    bits.bounds = R(0, 0, 4, 6);
    a_port* win = Port_New(bits);
    a_test_map src(R(0, 0, 2, 2), 32), mask(R(0, 0, 2, 2), 1);
    src.Fill(0x00ABCDEF);
    mask.Put(1, 1, 1);
    Pix_To_Win(src.get(), win, src.get().bounds, R(1, 1, 3, 3), srcCopy, nullptr);
    EXPECT_EQ(back[1 * 6 + 1], 0x00ABCDEFu);
    EXPECT_EQ(back[3 * 6 + 3], 0u);
    Pix_To_WinM(src.get(), mask.get(), win, src.get().bounds, mask.get().bounds, R(2, 4, 4, 6), nullptr);
    EXPECT_EQ(back[3 * 6 + 5], 0x00ABCDEFu);
    EXPECT_EQ(back[2 * 6 + 4], 0u);
    Win_To_Win(win, win, R(1, 1, 2, 2), R(0, 0, 1, 1), srcCopy, nullptr);
    EXPECT_EQ(back[0], 0x00ABCDEFu);
    // Saving an area of the current window and putting it back.
    Push_Window(win);
    GWorld* saved = nullptr;
    Save_Screen(R(1, 1, 3, 3), saved);
    ASSERT_NE(saved, nullptr);
    back[1 * 6 + 1] = 0;
    Restore_Screen(saved, R(1, 1, 3, 3));
    EXPECT_EQ(saved, nullptr);
    EXPECT_EQ(back[1 * 6 + 1], 0x00ABCDEFu);
    Pop_Window();
    Port_Dispose(win);
}
