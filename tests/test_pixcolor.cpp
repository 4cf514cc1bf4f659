// Colour operations on whole maps: darkness, hue shift, HSV targets, grey.
#include <gtest/gtest.h>

#include "pixmap_fixtures.h"
#include "pixels/pixcolor.h"

TEST(PixColor, DarknessMapsAndTheirEnds) {
    uint8_t m[256];
    Calc_Darkness_Map(25, 255, m);
    EXPECT_EQ(m[255], 127);
    EXPECT_EQ(m[10], 5);
    Calc_Darkness_Map(75, 255, m);
    EXPECT_EQ(m[0], 127);
    EXPECT_EQ(m[255], 255);
    Calc_Darkness_Map(100, 31, m);
    EXPECT_EQ(m[0], 31);
    for (int val = 0; val <= 100; val += 5) {
        Calc_Darkness_Map(val, 255, m);
        for (int i = 1; i < 256; ++i) ASSERT_GE(m[i], m[i - 1]) << val;
    }
}

TEST(PixColor, DarknessOnEachDepth) {
    a_test_map c(R(0, 0, 1, 2), 32);
    c.Put(0, 0, 0x7F336699);
    c.Put(1, 0, 0x00000000);
    PixMap_Darkness(c.get(), 50);
    EXPECT_EQ(c.Get(0, 0), 0x7F336699u);
    PixMap_Darkness(c.get(), 100);
    EXPECT_EQ(c.Get(0, 0), 0x7FFFFFFFu);
    EXPECT_EQ(c.Get(1, 0), 0x00FFFFFFu);
    PixMap_Darkness(c.get(), 0);
    EXPECT_EQ(c.Get(0, 0), 0u);
    a_test_map h(R(0, 0, 1, 1), 16);
    h.Put(0, 0, 20 << 10 | 10 << 5 | 4);
    PixMap_Darkness(h.get(), 25);
    EXPECT_EQ(h.Get(0, 0), uint32_t(10 << 10 | 5 << 5 | 2));
    PixMap_Darkness(h.get(), 100);
    EXPECT_EQ(h.Get(0, 0), 0x7FFFu);
    // Eight-bit maps only darken: 100 keeps them, 0 makes every pixel black.
    a_test_map p(R(0, 0, 1, 3), 8);
    p.Put(0, 0, 0);   // white in the main palette
    p.Put(1, 0, 35);  // red
    p.Put(2, 0, 42);
    PixMap_Darkness(p.get(), 100);
    EXPECT_EQ(p.Get(1, 0), 35u);
    EXPECT_EQ(p.Get(2, 0), 42u);
    PixMap_Darkness(p.get(), 60);
    uint32_t pal[256];
    CTabHandle_To_Map(nullptr, pal);
    EXPECT_EQ(pal[p.Get(1, 0)], 0x990000u);  // 255 * 60% = 153
    PixMap_Darkness(p.get(), 0);
    EXPECT_EQ(pal[p.Get(0, 0)], 0u);
}

TEST(PixColor, HueShiftAndTargets) {
    a_test_map h(R(0, 0, 1, 2), 16);
    h.Put(0, 0, 31 << 10);  // red
    h.Put(1, 0, 0x4210);    // grey has no hue
    PixMap_ColorShift(h.get(), 120);
    EXPECT_EQ(h.Get(0, 0), uint32_t(31 << 5));
    EXPECT_EQ(h.Get(1, 0), 0x4210u);
    PixMap_ColorShift(h.get(), -480);
    EXPECT_EQ(h.Get(0, 0), uint32_t(31 << 10));
    a_test_map p(R(0, 0, 1, 1), 8);
    p.Put(0, 0, 35);  // red in the main palette
    PixMap_ColorShift(p.get(), 240);
    uint32_t pal[256];
    CTabHandle_To_Map(nullptr, pal);
    EXPECT_EQ(pal[p.Get(0, 0)], 0x0000FFu);

    a_test_map c(R(0, 0, 1, 3), 32);
    c.Put(0, 0, 0x55FF0000);  // red
    c.Put(1, 0, 0x000000FF);  // blue
    c.Put(2, 0, 0x00808080);
    PixMap32_HSV(c.get(), 120, 72, 50, 50);  // all the way to green, value kept
    EXPECT_EQ(c.Get(0, 0), 0x5500FF00u);
    EXPECT_EQ(c.Get(1, 0), 0x0000FF00u);
    EXPECT_EQ(c.Get(2, 0), 0x00808080u);
    PixMap32_HSV(c.get(), 0, 0, 25, 50);  // half the value
    EXPECT_EQ(c.Get(0, 0), 0x55007F00u);
    PixMap32_HSV(c.get(), 0, 0, 100, 50);  // all the way to full value
    EXPECT_EQ(c.Get(0, 0), 0x5500FF00u);
}

TEST(PixColor, GreyIsDarknessAndAlphaFollowsIt) {
    a_test_map c(R(2, 2, 3, 5), 32);
    c.Put(2, 2, 0x00FFFFFF);
    c.Put(3, 2, 0x00000000);
    c.Put(4, 2, 0x00FF0000);
    PixMap g;
    PixMap_Gray(c.get(), g);
    EXPECT_EQ(g.pmTable, gray_ctable);
    EXPECT_EQ(g.bounds, c.get().bounds);
    EXPECT_EQ(PixMap_Row(g, 2)[0], 0);
    EXPECT_EQ(PixMap_Row(g, 2)[1], 255);
    EXPECT_EQ(PixMap_Row(g, 2)[2], 255 - 76);
    Dispose_PixMap(g);
    Pix32_To_Alpha(c.get());
    EXPECT_EQ(c.Get(3, 2), 0xFF000000u);
    EXPECT_EQ(c.Get(2, 2), 0x00FFFFFFu);
    a_test_map h(R(0, 0, 1, 1), 16);
    h.Put(0, 0, 0x7FFF);
    PixMap_Gray(h.get(), g);
    EXPECT_EQ(PixMap_Row(g, 0)[0], 255 - 248);
    Dispose_PixMap(g);
    // Remapping an 8-bit map into another table.
    a_test_map p(R(0, 0, 1, 2), 8, gray_ctable);
    p.Put(0, 0, 0);
    p.Put(1, 0, 255);
    PixMap8_To_8(p.get(), gray_ctable2);
    EXPECT_EQ(p.Get(0, 0), 255u);
    EXPECT_EQ(p.Get(1, 0), 0u);
    EXPECT_EQ(p.get().pmTable, gray_ctable2);
}
