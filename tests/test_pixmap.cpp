// Pixel maps: row lengths, headers, shared tables, colour conversions and
// byte orders.
#include <gtest/gtest.h>

#include <set>

#include "pixmap_fixtures.h"
#include "pixels/pixmap.h"

TEST(PixMap, MapsTooWideForTheRowFieldAreRefused) {
    EXPECT_TRUE(PixMap_Fits(R(0, 0, 10, 4095), 32));
    EXPECT_FALSE(PixMap_Fits(R(0, 0, 10, 4096), 32));
    EXPECT_FALSE(PixMap_Fits(R(0, 0, 10, 10), 12));
    EXPECT_FALSE(PixMap_Fits(R(10, 0, 0, 10), 8));
    PixMap pm;
    EXPECT_FALSE(New_PixMap_Try(pm, R(0, 0, 1, 5000), 32, nullptr));
    EXPECT_TRUE(Is_Null_PixMap(pm));
}

TEST(PixMap, SharedTablesAndPalette) {
    uint32_t pal[256];
    CTabHandle_To_Map(nullptr, pal);
    EXPECT_EQ(pal[0], 0xFFFFFFu);
    EXPECT_EQ(pal[255], 0u);
    std::set<uint32_t> distinct(pal, pal + 256);
    EXPECT_EQ(distinct.size(), 256u);
    EXPECT_EQ(CTab_Nearest(gray_ctable, 0x000000), 255);
    EXPECT_EQ(CTab_Nearest(gray_ctable, 0x808080), 127);
    EXPECT_EQ(CTab_Nearest(nullptr, 0xFF0000), 35);  // pure red in the cube
    // Tables are compared by identity: an equal copy is a different table.
    a_color_table* copy = New_CTable(gray_ctable->c, 256);
    EXPECT_NE(CTabHandle(copy), gray_ctable);
    Dispose_CTable(copy);
    EXPECT_EQ(copy, nullptr);
}

TEST(PixMap, SixteenBitColoursRoundTrip) {
    for (uint32_t p = 0; p < 0x8000; ++p) {
        a_win_pixel32 c;
        RGB16_To_RGB32(uint16_t(p), c);
        uint16_t back;
        RGB32_To_RGB16(c, back);
        ASSERT_EQ(back, p);
        ASSERT_EQ(Pix32_To_16(Pix16_To_32(uint16_t(p))), p);
    }
    a_win_pixel32 c{0xFF, 0x80, 0x08, 0x55};
    uint16_t v;
    RGB32_To_RGB16(c, v);
    EXPECT_EQ(v, (1 << 10) | (16 << 5) | 31);
    EXPECT_EQ(Pix32_To_16(0x550880FF), v);
}

TEST(PixMap, HsvFollowsTheIntegerRules) {
    struct {
        a_pixel24 rgb;
        a_hsv_color hsv;
    } cases[] = {
        {{255, 0, 0}, {0, 255, 255}},     {{0, 255, 0}, {120, 255, 255}},
        {{0, 0, 255}, {240, 255, 255}},   {{0, 128, 255}, {210, 255, 255}},  // h truncates: -30 + 240
        {{255, 0, 128}, {330, 255, 255}}, {{0, 0, 0}, {0, 0, 0}},
        {{90, 90, 90}, {0, 0, 90}},       {{200, 100, 50}, {20, 191, 200}},
    };
    for (const auto& c : cases) {
        a_hsv_color hsv;
        RGB_To_HSV(c.rgb, hsv);
        EXPECT_EQ(hsv, c.hsv) << int(c.rgb.r) << "," << int(c.rgb.g) << "," << int(c.rgb.b);
    }
    // Back: the six sectors, and grey when unsaturated.
    struct {
        a_hsv_color hsv;
        a_pixel24 rgb;
    } back[] = {
        {{0, 255, 255}, {255, 0, 0}},   {{60, 255, 255}, {255, 255, 0}}, {{120, 255, 255}, {0, 255, 0}},
        {{180, 255, 255}, {0, 255, 255}}, {{240, 255, 255}, {0, 0, 255}}, {{300, 255, 255}, {255, 0, 255}},
        {{77, 0, 140}, {140, 140, 140}},  {{30, 255, 255}, {255, 129, 0}},
    };
    for (const auto& c : back) {
        a_pixel24 rgb;
        HSV_To_RGB(c.hsv, rgb);
        EXPECT_EQ(rgb, c.rgb) << c.hsv.h;
    }
    // A round trip stays close for every colour of a coarse grid.
    for (int r = 0; r < 256; r += 15)
        for (int g = 0; g < 256; g += 15)
            for (int b = 0; b < 256; b += 15) {
                a_pixel24 in{uint8_t(r), uint8_t(g), uint8_t(b)}, out;
                a_hsv_color hsv;
                RGB_To_HSV(in, hsv);
                ASSERT_GE(hsv.h, 0);
                ASSERT_LT(hsv.h, 360);
                HSV_To_RGB(hsv, out);
                ASSERT_NEAR(out.r, r, 8) << r << "," << g << "," << b;
                ASSERT_NEAR(out.g, g, 8) << r << "," << g << "," << b;
                ASSERT_NEAR(out.b, b, 8) << r << "," << g << "," << b;
            }
}

TEST(PixMap, BigEndianPixelsAreReversedInsideTheWidthOnly) {
    a_test_map m32(R(0, 0, 2, 2), 32);
    m32.Put(0, 0, 0x11223344);
    m32.Put(1, 1, 0xAABBCCDD);
    Mac_Win_PixMap32(m32.get().baseAddr, 1, 2, PixMap_RowBytes(m32.get()));
    EXPECT_EQ(m32.Get(0, 0), 0x44332211u);
    EXPECT_EQ(m32.Get(1, 1), 0xAABBCCDDu);  // outside the given width
    a_test_map m16(R(0, 0, 1, 3), 16);
    m16.Put(0, 0, 0x1234);
    m16.Put(2, 0, 0x5678);
    Mac_Win_PixMap16(m16.get().baseAddr, 2, 1, PixMap_RowBytes(m16.get()));
    EXPECT_EQ(m16.Get(0, 0), 0x3412u);
    EXPECT_EQ(m16.Get(2, 0), 0x5678u);
}

TEST(PixMap, CursorsAddressTheMapsOwnCoordinates) {
    a_test_map m1(R(-3, 7, 2, 47), 1), m8(R(-3, 7, 2, 12), 8), m32(R(100, 200, 102, 203), 32);
    BitA_Init(m1.get());
    BitA_PutDot(40, -1, 1);
    EXPECT_EQ(BitA_GetDot(40, -1), 1u);
    EXPECT_EQ(PixMap_Row(m1.get(), -1)[4], 0x80 >> 1);  // column 33 of the row
    BitA_Stop();
    PixA_Init(m8.get());
    PixA_SetFactor(128);
    PixA_ScaleDot(11, 1, 200);
    EXPECT_EQ(m8.Get(11, 1), 100u);
    PixA_Stop();
    Pix32A_Init(m32.get());
    Pix32B_Init(m32.get());
    Pix32A_PutDot(202, 101, 0x01020304);
    EXPECT_EQ(Pix32B_GetDot(202, 101), 0x01020304u);
    GenericPixA_Init(m8.get());
    EXPECT_EQ(GenericPixA_GetDot(11, 1), 100u);
    Pix32A_Stop();
    Pix32B_Stop();
    GenericPixA_Stop();
}
