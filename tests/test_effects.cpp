// The stages of the effects pipeline against small hand-computed cases.
#include <gtest/gtest.h>

#include "effects_fixtures.h"
#include "render/edges.h"
#include "render/effects.h"

namespace {

a_spec Plain() {
    a_spec s;
    Null_Spec(s);
    return s;
}

}  // namespace

TEST(EffectsSpec, KeyRules) {
    a_spec a = Plain(), b = Plain();
    a.source.kind = b.source.kind = SOURCE_CLIPBOARD;
    a.source.sid = b.source.sid = 7;
    b.constrainf = true;
    b.hintx = 99;
    EXPECT_TRUE(Equal_Spec(true, a, b));  // editing state and hint are not key
    b.subset = Rect{0, 0, 5, 5};
    EXPECT_FALSE(Equal_Spec(true, a, b));
    EXPECT_TRUE(Equal_Spec(false, a, b));
    b = a;
    b.edge_bord_color = a_win_pixel32{1, 2, 3, 0};  // colours only count with an edge
    EXPECT_TRUE(Equal_Spec(true, a, b));
    a.edge_kind = b.edge_kind = EDGE_BORDER;
    EXPECT_FALSE(Equal_Spec(true, a, b));
    b = a;
    b.shad_dx = 9;  // shadow values only count with the shadow on
    EXPECT_TRUE(Equal_Spec(true, a, b));
    a.shadf = b.shadf = true;
    EXPECT_FALSE(Equal_Spec(true, a, b));
    b = a;
    b.edge_kind = a.edge_kind = EDGE_ROUGH;
    b.edge_border = 3;  // the rough edge is cut into the border band
    EXPECT_FALSE(Equal_Spec(true, a, b));
}

TEST(EffectsSpec, CleanAndSources) {
    a_spec s = Plain();
    s.source.kind = SOURCE_CLIPBOARD;
    s.source.key = a_keyset{1, 2, 3, 4};
    s.source.path.name = "/tmp/x.png";
    Clean_Spec(s);
    EXPECT_EQ(s.source.key, a_keyset{});
    EXPECT_TRUE(s.source.path.name.empty());
    EXPECT_TRUE(Is_Angle_Even(-1800));
    EXPECT_FALSE(Is_Angle_Even(450));
    Point out;
    Apply_Scaling_Pt(500, 1500, Point{7, 9}, out);
    EXPECT_EQ(out, (Point{11, 5}));  // (9 * 500 + 500) / 1000 = 5; (7 * 1500 + 500) / 1000 = 11
}

TEST(EffectsBasic, ScalingFlipAndSizeGuard) {
    a_masked_gworld in = Solid_MW(20, 10, 0xFF0000);
    PixMap32_Fill(in.fore->pix, Rect{0, 0, 10, 10}, 0x0000FF);  // left half blue
    a_spec s = Plain();
    s.scalingh = s.scalingv = 500;
    s.flipx = true;
    a_masked_gworld out;
    Apply_Basic(FOR_SCREEN, s, true, in, out);
    EXPECT_EQ(out.bounds, (Rect{0, 0, 5, 10}));
    EXPECT_EQ(out.mask, nullptr);
    EXPECT_EQ(Pixel32(out.fore, 8, 2), 0x0000FFu);  // blue is on the right now
    EXPECT_EQ(Pixel32(out.fore, 1, 2), 0xFF0000u);
    Dispose_MW(out);
    // A one-pixel-wide crop grows until it is two pixels wide.
    s = Plain();
    s.subset = Rect{0, 3, 10, 4};
    Apply_Basic(FOR_SIZING, s, true, in, out);
    EXPECT_EQ(out.bounds, (Rect{0, 0, 10, 2}));
    EXPECT_EQ(out.fore, nullptr);
    // Too large shrinks by steps of 100 per mille while above 300.
    a_spec big = Plain();
    big.scalingh = big.scalingv = 6000;
    EXPECT_EQ(Calc_Basic_Bounds(big, true, Rect{0, 0, 1000, 1000}), (Rect{0, 0, 4000, 4000}));
    Dispose_MW(in);
}

TEST(EffectsBasic, RotationPrepSoftensTheFrameOfOpaquePictures) {
    a_masked_gworld mw = Solid_MW(6, 4, 0x102030);
    Rotation_Prep(FOR_COLLAGE, mw);
    EXPECT_EQ(mw.mask, nullptr);
    Rotation_Prep(FOR_SCREEN, mw);
    ASSERT_NE(mw.mask, nullptr);
    EXPECT_EQ(Mask8(mw.mask, 0, 0), 127);
    EXPECT_EQ(Mask8(mw.mask, 5, 2), 127);
    EXPECT_EQ(Mask8(mw.mask, 2, 1), 255);
    a_masked_gworld out;
    Apply_Rotation(FOR_SCREEN, 900, mw, out);  // consumes mw
    EXPECT_EQ(out.bounds, (Rect{0, 0, 6, 4}));
    EXPECT_EQ(Pixel32(out.fore, 2, 3), 0x102030u);
    EXPECT_EQ(Mask8(out.mask, 2, 3), 255);
    Dispose_MW(out);
}

TEST(EffectsColour, KnockoutClearsNearWhiteAndSoftensItsNeighbours) {
    a_masked_gworld mw = Solid_MW(5, 1, 0xF0F0F0, true);
    PixMap32_Fill(mw.fore->pix, Rect{0, 2, 1, 3}, 0xFAFCFF);  // (250, 252, 255)
    Apply_Knockout_W(5, mw.fore, mw.mask);
    EXPECT_EQ(Mask8(mw.mask, 2, 0), 0);
    EXPECT_EQ(Mask8(mw.mask, 1, 0), 0x50);  // beside the hole
    EXPECT_EQ(Mask8(mw.mask, 3, 0), 0x50);
    EXPECT_EQ(Mask8(mw.mask, 0, 0), 255);  // marks do not chain
    Dispose_MW(mw);
}

TEST(EffectsMask, OpacityAndBlur) {
    a_masked_gworld mw = Solid_MW(5, 5, 0, true, 200);
    Apply_Opacity(50, mw.bounds, mw);
    EXPECT_EQ(Mask8(mw.mask, 0, 0), 100);
    a_masked_gworld plain = Solid_MW(2, 2, 0);
    Apply_Opacity(80, plain.bounds, plain);  // the mask is made first
    EXPECT_EQ(Mask8(plain.mask, 1, 1), 204);
    Dispose_MW(plain);
    PixMap8_Fill(mw.mask->pix, mw.bounds, 0);
    PixMap8_Fill(mw.mask->pix, Rect{2, 2, 3, 3}, 255);
    Blur_PixMap8(mw.mask->pix, mw.bounds, 1);
    EXPECT_EQ(Mask8(mw.mask, 2, 2), (255 * 4 + 8) >> 4);
    EXPECT_EQ(Mask8(mw.mask, 1, 2), (255 * 2 + 8) >> 4);
    EXPECT_EQ(Mask8(mw.mask, 1, 1), (255 + 8) >> 4);
    EXPECT_EQ(Mask8(mw.mask, 0, 0), 0);
    Dispose_MW(mw);
}

TEST(EffectsEdges, BorderBandsAndScallopCuts) {
    a_spec s = Plain();
    s.edge_kind = EDGE_SCALLOP;
    s.edge_border = 1;
    s.edge_outline = 1;
    s.edge_scallop = 10;
    s.edge_bord_color = a_win_pixel32{0, 0, 255, 0};
    s.edge_outl_color = a_win_pixel32{0, 255, 0, 0};
    a_masked_gworld in = Solid_MW(4, 4, 0x0000FF), out;
    Apply_Edge(FOR_SCREEN, s, in, out);
    EXPECT_EQ(out.bounds, (Rect{-2, -2, 6, 6}));
    EXPECT_EQ(Pixel32(out.fore, -2, 0), 0xFF0000u);                       // border
    EXPECT_EQ(Pixel32(out.fore, -1, 0), 0x00FF00u);                       // outline
    EXPECT_EQ(Pixel32(out.fore, 0, 0), 0x0000FFu);                        // picture
    for (int x = -2; x < 6; ++x) EXPECT_EQ(Mask8(out.mask, x, -2), 255);  // a plain frame
    Dispose_MW(out);
    // Border 8, scallop 60: the cut at each cell's start reaches 4 deep.
    s.edge_border = 8;
    s.edge_scallop = 60;
    in = Solid_MW(40, 40, 0x0000FF);
    Apply_Edge(FOR_SCREEN, s, in, out);
    EXPECT_EQ(out.bounds, (Rect{-9, -9, 49, 49}));
    EXPECT_EQ(Mask8(out.mask, -9 + 17, -9), 0);  // second cell's first column
    EXPECT_EQ(Mask8(out.mask, -9 + 17, -6), 0);
    EXPECT_EQ(Mask8(out.mask, -9 + 17, -5), 255);
    EXPECT_EQ(Mask8(out.mask, -9 + 8, -8), 255);                                  // a bump
    EXPECT_EQ(Mask8(out.mask, 48, 20 - 9 + 0), Mask8(out.mask, -9, 20 - 9 + 0));  // sides alike
    Dispose_MW(out);
    // Plain border without a mask stays opaque (no mask made).
    s.edge_kind = EDGE_BORDER;
    in = Solid_MW(4, 4, 0);
    Apply_Edge(FOR_SCREEN, s, in, out);
    EXPECT_EQ(out.mask, nullptr);
    Dispose_MW(out);
}

// An opaque picture carries its shadow inline: the moved rectangle covers
// 4..13 on both axes and the picture stays whole and opaque; blurred, the
// shadow spreads into the grown margin, evenly on both sides.
TEST(EffectsShadow, OpaquePictureCarriesItsShadowInline) {
    for (int radius : {0, 2}) {
        SCOPED_TRACE(radius);
        a_masked_gworld in = Solid_MW(10, 10, 0x00FF00), body, shad;
        Apply_Shadow(4, 4, 100, radius, a_win_pixel32{}, in, body, shad);
        EXPECT_EQ(shad.fore, nullptr);
        EXPECT_EQ(body.bounds, (Rect{0, 0, int16_t(14 + radius), int16_t(14 + radius)}));
        EXPECT_EQ(Mask8(body.mask, 5, 5), 255);
        EXPECT_EQ(Pixel32(body.fore, 5, 5), 0x00FF00u);
        EXPECT_EQ(Pixel32(body.fore, 12, 12), 0u);
        EXPECT_EQ(Mask8(body.mask, 11, 11), 255);  // beyond two passes' reach of the edges
        if (radius == 0) {
            EXPECT_EQ(Mask8(body.mask, 12, 12), 255);
            EXPECT_EQ(Mask8(body.mask, 12, 1), 0);  // beside the picture, above the shadow
        } else {
            EXPECT_LT(Mask8(body.mask, 13, 12), 255);
            EXPECT_GT(Mask8(body.mask, 2, 12), 0);
            EXPECT_EQ(Mask8(body.mask, 2, 12), Mask8(body.mask, 15, 12));
            EXPECT_EQ(Mask8(body.mask, 1, 12), 0);  // two passes spread two pixels
        }
        Dispose_MW(body);
    }
}

TEST(EffectsShadow, MaskedPictureGetsASeparateBlurredShadow) {
    a_masked_gworld in = Solid_MW(10, 10, 0x00FF00, true), body, shad;
    Apply_Shadow(4, 3, 50, 2, a_win_pixel32{}, in, body, shad);
    EXPECT_EQ(body.bounds, (Rect{0, 0, 10, 10}));
    EXPECT_EQ(shad.bounds, (Rect{1, 2, 15, 16}));
    EXPECT_EQ(Mask8(shad.mask, 8, 8), 127);  // 255 * 50 / 100, deep inside
    EXPECT_LT(Mask8(shad.mask, 4, 3), 127);  // softened at the corner
    EXPECT_EQ(Pixel32(shad.fore, 8, 8), 0u);
    Dispose_MW(body);
    Dispose_MW(shad);
}

TEST(EffectsChain, RotationBeforeOrAfterTheShadowByAngle) {
    a_spec s = Plain();
    s.shadf = true;
    s.shad_radius = 0;
    a_masked_gworld in = Solid_MW(40, 20, 0x808080), body, shad;
    s.angle = 900;  // even: turned first, shadow offset stays on screen
    Apply_Effects(FOR_SCREEN, s, in, body, shad);
    EXPECT_EQ(body.bounds, (Rect{0, 0, 40, 20}));
    EXPECT_EQ(shad.bounds, (Rect{4, 4, 44, 24}));
    Dispose_MW(body);
    Dispose_MW(shad);
    s.angle = 450;  // after: the shadow turns with the picture
    Dispose_MW(in);
    in = Solid_MW(40, 20, 0x808080, true);
    Apply_Effects(FOR_SCREEN, s, in, body, shad);
    EXPECT_EQ(body.bounds.top, 0);
    EXPECT_EQ(body.bounds.left, 0);
    // A counter-clockwise turn carries the down-right offset to straight right.
    Point bc = Rect_Centre(body.bounds), sc = Rect_Centre(shad.bounds);
    EXPECT_NEAR(sc.h - bc.h, 6, 1);
    EXPECT_NEAR(sc.v - bc.v, 0, 1);
    Dispose_MW(body);
    Dispose_MW(shad);
    // Sizing gives the same bounds without pixels.
    a_masked_gworld sb, ss;
    Apply_Effects(FOR_SIZING, s, in, sb, ss);
    EXPECT_EQ(sb.fore, nullptr);
    Apply_Effects(FOR_SCREEN, s, in, body, shad);
    EXPECT_EQ(sb.bounds, body.bounds);
    EXPECT_EQ(ss.bounds, shad.bounds);
    Dispose_MW(body);
    Dispose_MW(shad);
    Dispose_MW(in);
}

TEST(EffectsChain, ColourStagesInOrder) {
    a_spec s = Plain();
    s.invert = true;
    s.darkness = 0;  // black first, then inverted: white
    a_masked_gworld in = Solid_MW(3, 3, 0x336699), body, shad;
    Apply_Effects(FOR_PRINTING, s, in, body, shad);
    EXPECT_EQ(Pixel32(body.fore, 1, 1), 0xFFFFFFu);
    Dispose_MW(body);
    s = Plain();
    s.wtransp = true;
    s.opacity = 50;
    PixMap32_Fill(in.fore->pix, Rect{0, 0, 3, 1}, 0xFFFFFF);
    Apply_Effects(FOR_PRINTING, s, in, body, shad);
    EXPECT_EQ(Mask8(body.mask, 0, 1), 0);
    EXPECT_EQ(Mask8(body.mask, 2, 1), 127);
    EXPECT_EQ(Mask8(body.mask, 1, 1), 0x50 * 50 / 100);
    Dispose_MW(body);
    Dispose_MW(in);
}

namespace {

// A w x h picture: blue on the left half (or the top half with `top`), red
// on the other, so that any turn or mirror shows.
a_masked_gworld Halves(int w, int h, bool top = false) {
    a_masked_gworld mw = Solid_MW(w, h, 0xFF0000);
    Rect half = top ? Rect{0, 0, int16_t(h / 2), int16_t(w)} : Rect{0, 0, int16_t(h), int16_t(w / 2)};
    PixMap32_Fill(mw.fore->pix, half, 0x0000FF);
    return mw;
}

}  // namespace

// Turns inside the basic transform go the way positive angles mean:
// counter-clockwise on screen, so the left side ends at the bottom; flips
// mirror the picture about the axis named.
TEST(EffectsChain, EarlyTurnsAndFlipsMoveThePictureTheRightWay) {
    a_masked_gworld in = Halves(40, 20), body, shad;
    a_spec s = Plain();
    s.angle = 900;
    Apply_Effects(FOR_COLLAGE, s, in, body, shad);
    ASSERT_EQ(body.bounds, (Rect{0, 0, 40, 20}));
    EXPECT_EQ(Pixel32(body.fore, 10, 35), 0x0000FFu);  // the left half, now at the bottom
    EXPECT_EQ(Pixel32(body.fore, 10, 5), 0xFF0000u);
    Dispose_MW(body);
    s.angle = -900;
    Apply_Effects(FOR_COLLAGE, s, in, body, shad);
    EXPECT_EQ(Pixel32(body.fore, 10, 5), 0x0000FFu);  // clockwise: the left half on top
    Dispose_MW(body);
    Dispose_MW(in);

    in = Halves(20, 10, true);
    s = Plain();
    s.flipy = true;
    Apply_Effects(FOR_COLLAGE, s, in, body, shad);
    ASSERT_EQ(body.bounds, (Rect{0, 0, 10, 20}));
    EXPECT_EQ(Pixel32(body.fore, 5, 8), 0x0000FFu);  // top half now at the bottom
    EXPECT_EQ(Pixel32(body.fore, 5, 1), 0xFF0000u);
    Dispose_MW(body);
    s.flipx = true;  // both ways: a half turn
    Apply_Effects(FOR_COLLAGE, s, in, body, shad);
    EXPECT_EQ(Pixel32(body.fore, 2, 8), 0x0000FFu);
    Dispose_MW(body);
    Dispose_MW(in);
}

// A symbol's grey coverage through scaling, a turn and opacity: the colour
// is the symbol colour wherever it shows, the mask follows the ink.
TEST(EffectsChain, SymbolThroughTheWholeChain) {
    for (int depth : {8, 32}) {
        SCOPED_TRACE(depth);
        a_masked_gworld in;
        in.bounds = Rect{0, 0, 10, 20};
        New_GWorldF("test", in.bounds, depth, depth == 8 ? gray_ctable : nullptr, in.fore);
        if (depth == 8) {
            PixMap8_Fill(in.fore->pix, in.bounds, 0);                      // paper: no ink
            PixMap8_Fill(in.fore->pix, Rect{0, 0, 10, 10}, 255);           // ink on the left
        } else {
            PixMap32_Fill(in.fore->pix, in.bounds, 0xFFFFFF);
            PixMap32_Fill(in.fore->pix, Rect{0, 0, 10, 10}, 0x000000);
        }
        a_spec s = Plain();
        s.is_symbol = true;
        s.symbol_color = a_win_pixel32{0, 0, 200, 0};
        s.scalingh = s.scalingv = 2000;
        s.angle = 1800;
        s.opacity = 50;
        a_masked_gworld body, shad;
        Apply_Effects(FOR_SCREEN, s, in, body, shad);
        ASSERT_EQ(body.bounds, (Rect{0, 0, 20, 40}));
        ASSERT_NE(body.mask, nullptr);
        EXPECT_EQ(Pixel32(body.fore, 30, 10), 0xC80000u);  // the ink, turned to the right
        EXPECT_EQ(Mask8(body.mask, 30, 10), 127);           // full ink at half opacity
        EXPECT_EQ(Mask8(body.mask, 10, 10), 0);             // paper stays clear
        EXPECT_EQ(shad.fore, nullptr);
        Dispose_MW(body);
        Dispose_MW(in);
    }
}
