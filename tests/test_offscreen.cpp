// Offscreen areas reach the window as exactly their dirty part; the clip
// stack limits drawing and gives back the clip it saved.
#include <gtest/gtest.h>

#include "effects_fixtures.h"
#include "pixels/gworld.h"
#include "platform/port.h"
#include "render/offscreen.h"

namespace {

constexpr uint32_t kRed = 0xFF0000, kBlue = 0x0000FF, kWhite = 0xFFFFFF;

struct a_window {
    a_gworld_ptr world = Make_GWorld(32, Rect{0, 0, 40, 60});
    a_window() {
        Set_GWorld(world.get());
        RGBForeColor(kWhite);
        PaintRect(Rect{0, 0, 40, 60});
    }
    uint32_t At(int x, int y) const { return Pixel32(world.get(), x, y) & 0xFFFFFF; }
};

void Paint(const Rect& r, uint32_t rgb) {
    RGBForeColor(rgb);
    PaintRect(r);
}

}  // namespace

TEST(Offscreen, OnlyTheInvalidatedPartReachesTheWindowAndOnlyOnce) {
    a_window win;
    Off_Init();
    a_off_area area;
    Off_Open(Rect{0, 0, 40, 60}, area);
    Off_Load(area, Rect{0, 0, 40, 60});  // the area starts as the window shows
    Off_Push(area);
    EXPECT_EQ(Off_Depth(), 1);
    Paint(Rect{5, 5, 15, 15}, kRed);     // drawn and invalidated
    Off_InvalRect(Rect{5, 5, 15, 15});
    Paint(Rect{20, 30, 30, 50}, kBlue);  // drawn, not invalidated
    Off_InvalRect(Rect{-10, -10, -1, -1});  // outside the world: nothing
    Off_Pop();
    EXPECT_EQ(Off_Depth(), 0);
    Off_UpdateDirty();
    EXPECT_EQ(win.At(10, 10), kRed);
    EXPECT_EQ(win.At(40, 25), kWhite);  // the blue was never invalidated
    EXPECT_EQ(win.At(4, 4), kWhite);
    // The dirty part was emptied: drawing on the window is not overwritten again.
    Paint(Rect{5, 5, 15, 15}, kBlue);
    Off_UpdateDirty();
    EXPECT_EQ(win.At(10, 10), kBlue);
    Off_Close(area);
    EXPECT_EQ(area.gworld, nullptr);
}

TEST(Offscreen, ClipStackLimitsDrawingAndRestoresTheSavedClip) {
    a_window win;
    InitClip();
    PushClip(Rect{10, 10, 20, 20});
    PushClip(Rect{0, 0, 40, 60});  // a wider clip inside the first one
    EXPECT_EQ(Clip_Depth(), 2);
    PopClip();
    Paint(Rect{0, 0, 40, 60}, kRed);
    EXPECT_EQ(win.At(15, 15), kRed);
    EXPECT_EQ(win.At(5, 5), kWhite);
    PopClip();
    EXPECT_EQ(Clip_Depth(), 0);
    Paint(Rect{0, 0, 40, 60}, kBlue);
    EXPECT_EQ(win.At(5, 5), kBlue);
}

TEST(OffscreenDeathTest, StacksRefuseToGrowPastTheirDepth) {
    EXPECT_EXIT(
        {
            a_window win;
            InitClip();
            for (int i = 0; i <= MAX_CLIP_DEPTH; ++i) PushClip(Rect{0, 0, 10, 10});
        },
        testing::ExitedWithCode(70), "");
    EXPECT_EXIT(
        {
            Off_Init();
            a_off_area areas[MAX_OFF_DEPTH + 1];
            for (a_off_area& a : areas) {
                Off_Open(Rect{0, 0, 4, 4}, a);
                Off_Push(a);
            }
        },
        testing::ExitedWithCode(70), "");
}
