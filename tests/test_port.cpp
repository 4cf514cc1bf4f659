// The drawing port: the classic pixel rules, transfer modes, clipping and
// every pixel depth.
#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <vector>

#include "pixmap_fixtures.h"
#include "platform/port.h"
#include "platform/region.h"
#include "port_canvas.h"

namespace {

constexpr uint32_t kRed = Port_RGB(255, 0, 0);
constexpr uint32_t kGreen = Port_RGB(0, 255, 0);

struct a_px {
    int x, y;
    uint32_t want;
};
// Each listed pixel of the canvas holds its colour (its byte below 32 bits).
void Expect_At(a_test_canvas& c, std::initializer_list<a_px> pixels) {
    for (const a_px& p : pixels) EXPECT_EQ(c.At(p.x, p.y), p.want) << "at " << p.x << ", " << p.y;
}

}  // namespace

TEST(Port, FramesLieInsideAndPensHangBelowRight) {
    a_test_canvas c(40, 30);
    PenSize(3, 2);
    FrameRect(R(5, 5, 25, 35));
    EXPECT_EQ(c.Count(kBlackColor), 20 * 30 - 16 * 24);
    // (31, 8) is inside the 3-pixel side, below the 2-pixel top.
    Expect_At(c, {{34, 24, kBlackColor}, {35, 24, kWhiteColor}, {31, 8, kWhiteColor},
                  {32, 8, kBlackColor}, {20, 6, kBlackColor}, {20, 7, kWhiteColor}});

    EraseRect(c.bits.bounds);
    PenSize(2, 3);
    MoveTo(2, 2);
    LineTo(5, 2);  // both ends drawn, the pen 2 wide and 3 high below and right
    EXPECT_EQ(c.Count(kBlackColor), 5 * 3);
    Expect_At(c, {{6, 4, kBlackColor}, {7, 2, kWhiteColor}});
    EXPECT_EQ(GetPen(), (Point{2, 5}));
    // A diagonal 1-pixel line has one pixel per row and column.
    EraseRect(c.bits.bounds);
    PenNormal();
    MoveTo(0, 0);
    Line(9, 9);
    EXPECT_EQ(c.Count(kBlackColor), 10);
    EXPECT_EQ(c.At(9, 9), kBlackColor);
    // A zero pen draws nothing.
    PenSize(0, 4);
    LineTo(20, 20);
    EXPECT_EQ(c.Count(kBlackColor), 10);
}

TEST(Port, OvalsRoundRectsAndArcs) {
    a_test_canvas c(100, 100);
    PaintOval(R(0, 0, 100, 100));
    int disc = c.Count(kBlackColor);
    EXPECT_NEAR(disc, 7854, 80);
    InvertOval(R(0, 0, 100, 100));
    EXPECT_EQ(c.Count(kBlackColor), 0);
    // A framed oval is the oval less the oval inset by the pen.
    PenSize(4, 4);
    FrameOval(R(0, 0, 100, 100));
    EXPECT_NEAR(c.Count(kBlackColor), 7854 - 6648, 60);  // diameters 100 and 92
    EXPECT_EQ(c.At(50, 50), kWhiteColor);
    EraseRect(c.bits.bounds);
    PenNormal();
    // Arcs: 0 at twelve o'clock, clockwise; the first quarter is the upper right.
    PaintArc(R(0, 0, 100, 100), 0, 90);
    EXPECT_NEAR(c.Count(kBlackColor), disc / 4, 60);
    Expect_At(c, {{75, 25, kBlackColor}, {25, 25, kWhiteColor}, {75, 75, kWhiteColor}});
    EraseRect(c.bits.bounds);
    PaintArc(R(0, 0, 100, 100), 90, -180);  // counter-clockwise from three o'clock: the top half
    Expect_At(c, {{50, 20, kBlackColor}, {50, 80, kWhiteColor}});
    EraseRect(c.bits.bounds);
    FrameRoundRect(R(10, 10, 90, 90), 30, 30);
    Expect_At(c, {{10, 10, kWhiteColor}, {50, 10, kBlackColor}, {89, 50, kBlackColor}});
}

TEST(Port, TransferModesAndPatterns) {
    a_test_canvas c(R(0, 0, 8, 16), 32, kGreen);
    RGBForeColor(kRed);
    PenPat(kGrayPat);
    PenMode(PEN_OR);  // set bits take the fore colour, clear bits are left
    PaintRect(c.bits.bounds);
    EXPECT_EQ(c.Count(kRed), 64);
    Expect_At(c, {{0, 0, kRed}, {1, 0, kGreen}, {0, 1, kGreen}});
    PenMode(PEN_COPY);  // clear bits take the back colour
    PaintRect(c.bits.bounds);
    EXPECT_EQ(c.Count(kWhiteColor), 64);
    PenMode(PEN_NOTCOPY);
    PaintRect(c.bits.bounds);
    Expect_At(c, {{0, 0, kWhiteColor}, {1, 0, kRed}});
    // XOR twice restores; BIC puts the back colour.
    std::vector<uint8_t> before = c.mem;
    uint32_t pixel = c.At(1, 1);
    PenPat(kBlackPat);
    PenMode(PEN_XOR);
    PaintRect(R(1, 1, 7, 9));
    EXPECT_EQ(c.At(1, 1), pixel ^ 0xFFFFFF);
    PaintRect(R(1, 1, 7, 9));
    EXPECT_EQ(c.mem, before);
    PenMode(PEN_BIC);
    RGBBackColor(kGreen);
    PaintRect(c.bits.bounds);
    EXPECT_EQ(c.Count(kGreen), 128);
    // Fills ignore the pen: pattern in fore and back colours.
    FillRect(R(0, 0, 8, 8), kWhitePat);
    EXPECT_EQ(c.At(3, 3), kGreen);
}

TEST(Port, DrawingStaysInsideBoundsAndClip) {
    a_test_canvas c(R(100, 200, 120, 230));  // a port whose frame does not start at 0, 0
    PaintRect(R(0, 0, 1000, 1000));
    EXPECT_EQ(c.Count(kBlackColor), 20 * 30);
    EXPECT_TRUE(c.Guard_Intact());
    EraseRect(c.bits.bounds);
    ClipRect(R(105, 205, 110, 215));
    PaintOval(R(90, 190, 130, 240));
    EXPECT_EQ(c.Count(kBlackColor), 5 * 10);
    a_region* rgn = Rgn_New();
    GetClip(rgn);
    EXPECT_EQ(Rgn_Bounds(rgn), R(105, 205, 110, 215));
    Rgn_SetOval(rgn, R(100, 200, 120, 230));
    SetClip(rgn);
    EraseRect(c.bits.bounds);
    PaintRect(c.bits.bounds);
    EXPECT_EQ(c.Count(kBlackColor), Rgn_Area(rgn));
    ClipWideOpen();
    EraseRect(c.bits.bounds);
    PenSize(2, 2);
    FrameRgn(rgn);  // the region's inner edge, two pixels deep
    Expect_At(c, {{215, 110, kWhiteColor}, {215, 100, kBlackColor}, {215, 101, kBlackColor},
                  {215, 102, kWhiteColor}});
    Rgn_Dispose(rgn);
    MoveTo(-30000, -30000);
    LineTo(30000, 30000);
    EXPECT_TRUE(c.Guard_Intact());
}

TEST(Port, EveryDepthStoresItsOwnPixels) {
    {
        a_test_canvas c(R(0, 0, 2, 16), 1, 0);
        PaintRect(R(0, 3, 1, 11));  // black sets bits, most significant leftmost
        EXPECT_EQ((std::vector<uint8_t>{c.Row(0)[0], c.Row(0)[1], c.Row(1)[0]}),
                  (std::vector<uint8_t>{0x1F, 0xE0, 0}));
        InvertRect(R(0, 0, 1, 8));
        EXPECT_EQ(c.Row(0)[0], 0xE0);
    }
    {
        a_test_canvas c(R(0, 0, 1, 4), 8, 0);  // no table: the mask table, black is 255
        PaintRect(R(0, 0, 1, 2));
        RGBForeColor(Port_RGB(128, 128, 128));
        PaintRect(R(0, 2, 1, 3));
        Expect_At(c, {{0, 0, 255}, {2, 0, 127}, {3, 0, 0}});
        const uint32_t table[3] = {kWhiteColor, kRed, kGreen};
        a_port_bits bits = c.bits;
        bits.ctable = table;
        bits.nctable = 3;
        Port_SetBits(c.port, bits);
        RGBForeColor(Port_RGB(10, 240, 5));
        PaintRect(c.bits.bounds);
        EXPECT_EQ(c.At(1, 0), 2u);  // the nearest entry
    }
    {
        a_test_canvas c(R(0, 0, 1, 2), 16, 0);
        RGBForeColor(Port_RGB(255, 8, 16));
        PaintRect(c.bits.bounds);
        uint16_t w;
        std::memcpy(&w, c.Row(0), 2);
        EXPECT_EQ(w, (31 << 10) | (1 << 5) | 2);
    }
    {
        a_test_canvas c(R(0, 0, 1, 3), 24, 0);
        RGBForeColor(Port_RGB(1, 2, 3));
        PaintRect(R(0, 1, 1, 2));
        EXPECT_EQ(std::vector<uint8_t>(c.Row(0) + 2, c.Row(0) + 6),
                  (std::vector<uint8_t>{0, 3, 2, 1}));
    }
    {
        a_test_canvas c(R(0, 0, 1, 1), 32, 0xAB000000);
        RGBForeColor(kRed);
        PaintRect(c.bits.bounds);
        EXPECT_EQ(c.Row(0)[3], 0xAB);  // the fourth byte is left alone
        EXPECT_EQ(c.At(0, 0), kRed);
    }
}

TEST(Port, UnusablePixelsOrNoPortDrawNothing) {
    a_test_canvas c(R(0, 0, 4, 8), 8, 0);
    a_port_bits bits = c.bits;
    bits.rowbytes = 4;  // shorter than an 8-pixel row
    Port_SetBits(c.port, bits);
    PaintRect(c.bits.bounds);
    bits.rowbytes = c.bits.rowbytes;
    bits.depth = 12;
    Port_SetBits(c.port, bits);
    PaintRect(c.bits.bounds);
    EXPECT_EQ(c.Count(0), 32);
    EXPECT_TRUE(c.Guard_Intact());
    // Nor does drawing without a current port.
    Port_Set(nullptr);
    PaintRect(R(0, 0, 10, 10));
    LineTo(5, 5);
    EXPECT_EQ(GetForeColor(), kBlackColor);
    Port_Set(c.port);
}
