// The effects pipeline's fast paths against the plain ones on random inputs:
// 8-bit mask resampling against the mask widened through the colour
// resampler, the identity copy against resampling, band-limited edge masks
// against a walk over every pixel, sizing from an art header against a
// decoded picture.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <random>
#include <vector>

#include "artdb/pixt.h"
#include "artdb_fixtures.h"
#include "effects_fixtures.h"
#include "pixels/blit.h"
#include "pixels/hq_blit.h"
#include "platform/mask_resample.h"
#include "render/edges.h"
#include "render/effects.h"
#include "render/effects_cache.h"

namespace {

// A mask as the pipeline makes them: flat areas with hard steps, a soft ramp
// and a half-opaque frame.
a_gworld_ptr Random_Mask(std::mt19937& rng, int w, int h) {
    a_gworld_ptr m = Make_GWorld(8, Rect{0, 0, int16_t(h), int16_t(w)});
    PixMap8_Fill(m->pix, m->pix.bounds, 255);
    for (int i = 0; i < 4; ++i) {
        int t = int(rng() % h), l = int(rng() % w);
        Rect r{int16_t(t), int16_t(l), int16_t(t + 1 + rng() % (h - t)),
               int16_t(l + 1 + rng() % (w - l))};
        PixMap8_Fill(m->pix, r, uint8_t(rng()));
    }
    for (int x = 0; x < w / 3; ++x)
        for (int y = 0; y < h; ++y) PixMap_Row(m->pix, y)[x] = uint8_t(x * 255 / (w / 3));
    PixMap_Frame(m->pix, m->pix.bounds, 127);
    return m;
}

a_pixel_view View(const PixMap& pm) {
    return a_pixel_view{pm.baseAddr, PixMap_RowBytes(pm), Rect_Width(pm.bounds),
                        Rect_Height(pm.bounds)};
}

// The plain route: the mask widened to grey 32-bit pixels, drawn by the
// colour resampler, read back from the blue byte.
std::vector<uint8_t> Mask_Via_Colour(const PixMap& mask, const double m[6], int w, int h) {
    a_gworld_ptr grey = Make_GWorld(32, mask.bounds);
    for (int y = 0; y < Rect_Height(mask.bounds); ++y)
        for (int x = 0; x < Rect_Width(mask.bounds); ++x)
            reinterpret_cast<uint32_t*>(PixMap_Row(grey->pix, y))[x] =
                PixMap_Row(mask, y)[x] * 0x010101u;
    a_gworld_ptr big = Make_GWorld(32, Rect{0, 0, int16_t(h), int16_t(w)});
    a_pixel_view out = View(big->pix);
    EXPECT_TRUE(Resample_Affine(View(grey->pix), out, m, 0, 0, w, h));
    std::vector<uint8_t> v(size_t(w) * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) v[size_t(y) * w + x] = PixMap_Row(big->pix, y)[4 * x];
    return v;
}

// The old edge walks, over every pixel.
void Feather_Sides_Everywhere(int corner, int feather, PixMap& mask) {
    int w = Rect_Width(mask.bounds), h = Rect_Height(mask.bounds);
    int L = std::max(w, h) / 2, S = std::min(w, h) / 2;
    int F = std::min(S, feather * L / 100), R = std::min(S, std::max(F, corner * L / 100));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            bool in_corner = (x < R || x >= w - R) && (y < R || y >= h - R);
            int d = std::min({x + 1, y + 1, w - x, h - y});
            uint8_t& m = PixMap_Row(mask, y)[x];
            if (!in_corner && F > 0 && d <= F) m = uint8_t(m * (d * 255 / (F + 1)) / 255);
        }
}

void Rough_Everywhere(int border, int rough, PixMap& mask) {
    int w = Rect_Width(mask.bounds), h = Rect_Height(mask.bounds);
    a_rough_cuts c = Calc_Rough_Cuts(border, rough, w, h);
    if (c.top.empty()) return;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            int cut = std::min({y - c.top[size_t(x)], h - 1 - y - c.bottom[size_t(x)],
                                x - c.left[size_t(y)], w - 1 - x - c.right[size_t(y)]});
            uint8_t& m = PixMap_Row(mask, y)[x];
            if (cut < 0) m = 0;
            if (cut == 0) m = uint8_t(m * 128 / 255);
        }
}

}  // namespace

TEST(EffectsFast, MaskResampleAgreesWithTheColourResampler) {
    std::mt19937 rng(7);
    for (int round = 0; round < 12; ++round) {
        int sw = 20 + int(rng() % 90), sh = 20 + int(rng() % 90);
        a_gworld_ptr mask = Random_Mask(rng, sw, sh);
        double t = (int(rng() % 3600) - 1800) * M_PI / 1800, s = 0.3 + (rng() % 300) / 100.0;
        double flip = rng() % 2 ? -1 : 1, c = std::cos(t) * s, n = std::sin(t) * s;
        int w = int(std::ceil((std::abs(c) + std::abs(n)) * (sw + sh))) + 2, h = w;
        double m[6] = {c * flip, n, w / 2.0 - (c * flip * sw + n * sh) / 2,
                       -n * flip, c, h / 2.0 - (-n * flip * sw + c * sh) / 2};
        std::vector<uint8_t> plain = Mask_Via_Colour(mask->pix, m, w, h);
        a_gworld_ptr out = Make_GWorld(8, Rect{0, 0, int16_t(h), int16_t(w)});
        a_pixel_view ov = View(out->pix);
        ASSERT_TRUE(Resample_Affine_Mask(View(mask->pix), ov, m, 0, 0, w, h));
        // The two filters round their weights differently: steps may move by
        // a few levels, but a shifted or mis-scaled mask would differ by far more.
        long total = 0;
        int worst = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                int d = std::abs(PixMap_Row(out->pix, y)[x] - plain[size_t(y) * w + x]);
                total += d;
                worst = std::max(worst, d);
            }
        EXPECT_LE(worst, 16) << "round " << round;
        EXPECT_LT(double(total) / (w * h), 0.5) << "round " << round;
    }
}

TEST(EffectsFast, IdentityIsACopyOfWhatTheResamplerGives) {
    std::mt19937 rng(11);
    for (int round = 0; round < 6; ++round) {
        int w = 10 + int(rng() % 60), h = 10 + int(rng() % 60);
        a_masked_gworld_owner in;
        in->bounds = Rect{0, 0, int16_t(h), int16_t(w)};
        in->fore = Make_GWorld(32, in->bounds).release();
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                reinterpret_cast<uint32_t*>(PixMap_Row(in->fore->pix, y))[x] = uint32_t(rng());
        in->mask = Random_Mask(rng, w, h).release();
        a_spec s;
        Null_Spec(s);
        int t = int(rng() % (h / 2)), l = int(rng() % (w / 2));
        s.subset = Rect{int16_t(t), int16_t(l), int16_t(t + 2 + rng() % (h - t - 1)),
                        int16_t(l + 2 + rng() % (w - l - 1))};
        s.angle = round % 2 ? 0 : 300;  // a turn left for later is no turn here
        a_masked_gworld_owner out;
        Apply_Basic(FOR_SCREEN, s, false, *in, *out);
        ASSERT_EQ(out->bounds, Rect_Offset(s.subset, -s.subset.left, -s.subset.top));
        // The plain route: through the unit matrix, as any other spec goes.
        double unit[6] = {1, 0, double(-s.subset.left), 0, 1, double(-s.subset.top)};
        a_gworld_ptr fore = Make_GWorld(32, out->bounds);
        PixMap32_Fill(fore->pix, out->bounds, 0x00FFFFFF);
        Port_To_Port_Matrix(in->fore, fore.get(), s.subset, unit, nullptr);
        a_gworld_ptr mask = Make_GWorld(8, out->bounds);
        a_pixel_view mv = View(mask->pix);
        a_pixel_view sub{PixMap_Row(in->mask->pix, s.subset.top) + s.subset.left,
                         PixMap_RowBytes(in->mask->pix), Rect_Width(s.subset),
                         Rect_Height(s.subset)};
        const double at_corner[6] = {1, 0, 0, 0, 1, 0};  // the view starts at the crop
        ASSERT_TRUE(Resample_Affine_Mask(sub, mv, at_corner, 0, 0, mv.width, mv.height));
        for (int y = 0; y < Rect_Height(out->bounds); ++y) {
            ASSERT_EQ(0, std::memcmp(PixMap_Row(out->fore->pix, y), PixMap_Row(fore->pix, y),
                                     size_t(4 * mv.width)))
                << "round " << round << " row " << y;
            ASSERT_EQ(0, std::memcmp(PixMap_Row(out->mask->pix, y), PixMap_Row(mask->pix, y),
                                     size_t(mv.width)))
                << "round " << round << " row " << y;
        }
    }
}

TEST(EffectsFast, EdgeMasksInTheirBandAgreeWithAWalkOverEveryPixel) {
    std::mt19937 rng(3);
    for (int round = 0; round < 40; ++round) {
        int w = 1 + int(rng() % 120), h = 1 + int(rng() % 120);
        a_gworld_ptr start = Random_Mask(rng, std::max(w, 3), std::max(h, 3));
        Rect b{0, 0, int16_t(h), int16_t(w)};
        a_gworld_ptr fast = Make_GWorld(8, b), plain = Make_GWorld(8, b), solid = Make_GWorld(8, b);
        Pix_To_Pix(start->pix, fast->pix, b, b, srcCopy, nullptr);
        Pix_To_Pix(start->pix, plain->pix, b, b, srcCopy, nullptr);
        if (round % 2) {
            int border = int(rng() % 41), rough = 1 + int(rng() % 20);
            Calc_Rough_Mask(border, rough, b, fast->pix);
            Rough_Everywhere(border, rough, plain->pix);
        } else {
            // The corner tiles are the same code either way: read them off a
            // solid mask and multiply them in.
            int corner = int(rng() % 101), feather = int(rng() % 41);
            Calc_Feather_Mask(corner, feather, fast->pix);
            PixMap8_Fill(solid->pix, b, 255);
            Calc_Feather_Mask(corner, feather, solid->pix);
            Feather_Sides_Everywhere(corner, feather, plain->pix);
            int L = std::max(w, h) / 2, S = std::min(w, h) / 2;
            int R = std::min(S, std::max(std::min(S, feather * L / 100), corner * L / 100));
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x)
                    if ((x < R || x >= w - R) && (y < R || y >= h - R)) {
                        uint8_t& m = PixMap_Row(plain->pix, y)[x];
                        m = uint8_t(m * PixMap_Row(solid->pix, y)[x] / 255);
                    }
        }
        for (int y = 0; y < h; ++y)
            ASSERT_EQ(0,
                      std::memcmp(PixMap_Row(fast->pix, y), PixMap_Row(plain->pix, y), size_t(w)))
                << "round " << round << " (" << w << " x " << h << ") row " << y;
    }
}

TEST(EffectsFast, SizingArtReadsOnlyTheHeaderAndAgreesWithTheDecodedPicture) {
    Cache_Init_For(0);
    a_keyset key{11, 0, 500, 1};
    std::vector<uint8_t> db = Db_Bytes(
        {Entry(key, Picture_Record(37, 23, 32, Pattern32(37, 23), a_pixt_codec::PACKBITS))});
    ASSERT_EQ(Open_Db(db), OPEN_OKAY);
    Rect bounds;
    ASSERT_TRUE(KPixt_Bounds(key, bounds));
    EXPECT_EQ(bounds, (Rect{0, 0, 23, 37}));
    EXPECT_FALSE(KPixt_Bounds(a_keyset{11, 0, 501, 1}, bounds));
    a_spec s;
    Null_Spec(s);
    s.source.kind = SOURCE_DATABASE;
    s.source.key = key;
    s.angle = 450;
    s.shadf = true;
    s.feather = 10;
    a_cache_result sized, shown;
    Cache_Get(FOR_SIZING, s, sized);
    EXPECT_EQ(sized.body.fore, nullptr);
    Cache_Get(FOR_SCREEN, s, shown);
    ASSERT_NE(shown.body.fore, nullptr);
    EXPECT_EQ(sized.union_, shown.union_);
    EXPECT_EQ(sized.body.bounds, shown.body.bounds);
    Cache_Clear();
    OP_CloseNewest();
    Cache_Init();
}
