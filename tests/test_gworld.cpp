// Offscreen worlds: creation, copies, the port stack, drawing landing in the
// world's memory, masked worlds and the document's layer worlds.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <cstdlib>
#include <string>

#include "model/document.h"
#include "pixmap_fixtures.h"
#include "platform/dialogs.h"
#include "platform/port.h"
#include "pixels/blit.h"
#include "pixels/blit_port.h"
#include "pixels/gworld.h"

namespace {

uint32_t Pixel(const GWorld* w, int x, int y) {
    uint32_t p = 0xDEADBEEF;
    EXPECT_TRUE(Get_GWorld_Pixel(w, x, y, p));
    return p;
}

}  // namespace

TEST(GWorld, NewWorldsAreBlackAndKeepTheirCoordinates) {
    GWorld* w = nullptr;
    ASSERT_EQ(New_GWorld(R(-10, 20, 30, 53), 8, gray_ctable, w), 0);
    EXPECT_EQ(Get_GWorld_Bounds(w), R(-10, 20, 30, 53));
    EXPECT_EQ(PixMap_RowBytes(w->pix), 36);
    EXPECT_EQ(Pixel(w, 52, 29), 0u);
    uint32_t p;
    EXPECT_FALSE(Get_GWorld_Pixel(w, 53, 0, p));
    EXPECT_FALSE(Get_GWorld_Pixel(w, 20, -11, p));
    Dispose_GWorld(w);
    EXPECT_EQ(w, nullptr);
    Dispose_GWorld(w);  // nothing for nullptr
    EXPECT_NE(New_GWorld(R(0, 0, 1, 5000), 32, nullptr, w), 0);
    EXPECT_EQ(w, nullptr);
    EXPECT_NE(New_GWorld(R(0, 0, 4, 4), 12, nullptr, w), 0);
}

TEST(GWorld, DrawingThroughThePortLandsInTheWorldsMemory) {
    GWorld* w = New_GWorld(32, R(100, 200, 110, 220));
    ASSERT_NE(w, nullptr);
    uint8_t* base = Get_GWorld_BaseAddr(w);
    {
        a_port_scope port(w);
        EXPECT_EQ(Get_GWorld(), w);
        RGBForeColor(0xFF0000);
        PaintRect(R(102, 205, 104, 207));
    }
    EXPECT_EQ(Get_GWorld(), nullptr) << "the scope puts the previous port back";
    EXPECT_EQ(Get_GWorld_BaseAddr(w), base);  // pixels never move
    EXPECT_EQ(Pixel(w, 205, 102) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(Pixel(w, 206, 103) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(Pixel(w, 207, 103), 0u);
    EXPECT_EQ(Pixel(w, 204, 102), 0u);
    Dispose_GWorld(w);
}

TEST(GWorld, ThePortStackRestoresFiveDeep) {
    GWorld* w[6] = {};
    for (auto& x : w) x = New_GWorld(8, R(0, 0, 2, 2));
    Set_GWorld(w[5]);
    for (int i = 0; i < 5; ++i) Push_GWorld(w[i]);
    EXPECT_EQ(GWorld_Stack_Depth(), 5);
    EXPECT_EQ(Get_GWorld(), w[4]);
    EXPECT_EQ(Port_Get(), w[4]->port);
    for (int i = 4; i >= 1; --i) {
        Pop_GWorld();
        EXPECT_EQ(Get_GWorld(), w[i - 1]);
    }
    Pop_GWorld();
    EXPECT_EQ(Get_GWorld(), w[5]);
    EXPECT_EQ(Port_Get(), w[5]->port);
    // A world disposed while saved on the stack is not made current again.
    Set_GWorld(w[0]);
    Push_GWorld(w[1]);
    GWorld* gone = New_GWorld(8, R(0, 0, 1, 1));
    Set_GWorld(gone);
    Push_GWorld(w[2]);
    Dispose_GWorld(gone);
    Pop_GWorld();
    EXPECT_EQ(Get_GWorld(), nullptr);
    EXPECT_EQ(Port_Get(), nullptr);
    Pop_GWorld();
    EXPECT_EQ(Get_GWorld(), w[0]);
    // Disposing the current world leaves no dangling current port.
    Set_GWorld(w[5]);
    Dispose_GWorld(w[5]);
    EXPECT_EQ(Get_GWorld(), nullptr);
    EXPECT_EQ(Port_Get(), nullptr);
    for (int i = 0; i < 5; ++i) Dispose_GWorld(w[i]);
}

TEST(GWorldDeathTest, NestingDeeperThanFiveIsFatal) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(
        {
            GWorld* w = New_GWorld(8, R(0, 0, 2, 2));
            for (int i = 0; i < 6; ++i) Push_GWorld(w);
        },
        "");
    EXPECT_DEATH(Pop_GWorld(), "");
}

// What the children of the death test do; functions of their own, since a
// directive cannot stand inside the macro's arguments.
static void Refuse_Big_Allocations() {
    Dialog_SetQuiet(false);
#ifndef __SANITIZE_ADDRESS__
    rlimit cap{size_t(256) << 20, size_t(256) << 20};  // the same refusal without it
    (void)setrlimit(RLIMIT_DATA, &cap);  // a refused cap leaves the allocation to decide
#endif
}

static void Make_A_Big_Canvas() {
    Refuse_Big_Allocations();
    GWorld* w = nullptr;
    New_GWorldF("Big canvas", R(0, 0, 32000, 4000), 32, nullptr, w);
}

static void Try_A_Big_Canvas() {
    Refuse_Big_Allocations();
    GWorld* w = nullptr;
    const bool refused = New_GWorld(R(0, 0, 32000, 4000), 32, nullptr, w) != 0 && !w;
    std::_Exit(refused ? 3 : 4);
}

// The out-of-memory report names the world that could not be made; a world
// whose caller checks the answer is only refused, and the program goes on.
// The children run with allocations above 64 MB refused, as a machine out
// of memory would refuse them.
TEST(GWorldDeathTest, OutOfMemoryNamesTheWorldOrLeavesItToTheCaller) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    std::string saved = getenv("ASAN_OPTIONS") ? getenv("ASAN_OPTIONS") : "";
    setenv("ASAN_OPTIONS", (saved + ":allocator_may_return_null=1:max_allocation_size_mb=64").c_str(), 1);
    EXPECT_EXIT(Make_A_Big_Canvas(), testing::ExitedWithCode(70),
                "run out of memory\\.  \\[Big canvas  512000000\\]");
    EXPECT_EXIT(Try_A_Big_Canvas(), testing::ExitedWithCode(3), "");
    setenv("ASAN_OPTIONS", saved.c_str(), 1);
}

TEST(GWorld, CopiesResizesAndHandOvers) {
    GWorld* a = New_GWorld(8, R(5, 5, 9, 12));
    a->pix.pmTable = gray_ctable2;
    PixMap_Row(a->pix, 7)[3] = 42;
    GWorld* b = nullptr;
    Copy_GWorld(a, b);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(Get_GWorld_Bounds(b), R(5, 5, 9, 12));
    EXPECT_EQ(b->pix.pmTable, gray_ctable2);
    EXPECT_EQ(Pixel(b, 8, 7), 42u);
    // Into a world of another size: it takes the source's bounds.
    GWorld* c = New_GWorld(8, R(0, 0, 100, 100));
    Copy_GWorld(a, c);
    EXPECT_EQ(Get_GWorld_Bounds(c), R(5, 5, 9, 12));
    EXPECT_EQ(Pixel(c, 8, 7), 42u);
    // Into a world of another depth: it takes the source's depth as well.
    GWorld* deep = New_GWorld(32, R(5, 5, 9, 12));
    Copy_GWorld(a, deep);
    EXPECT_EQ(Get_GWorld_PixelSize(deep), 8);
    EXPECT_EQ(Pixel(deep, 8, 7), 42u);
    Dispose_GWorld(deep);
    Copy_GWorld(nullptr, c);
    EXPECT_EQ(c, nullptr);
    GWorld* d = Copy_GWorld(a);
    EXPECT_EQ(Pixel(d, 8, 7), 42u);
    // Resizing to the same bounds keeps the contents; to others it does not.
    Resize_GWorld(d, R(5, 5, 9, 12));
    EXPECT_EQ(Pixel(d, 8, 7), 42u);
    Resize_GWorld(d, R(0, 0, 3, 3));
    EXPECT_EQ(Get_GWorld_Bounds(d), R(0, 0, 3, 3));
    EXPECT_EQ(d->pix.pmTable, gray_ctable2);
    PixMap pm;
    GWorld_To_PixMap(b, pm);
    EXPECT_EQ(b, nullptr);
    EXPECT_EQ(pm.pmTable, gray_ctable);  // 8-bit maps become masks
    EXPECT_EQ(PixMap_Row(pm, 7)[3], 42);
    Dispose_PixMap(pm);
    GWorld_Zero(a);
    EXPECT_EQ(Pixel(a, 8, 7), 0u);
    Dispose_GWorld(a);
    Dispose_GWorld(d);
}

TEST(GWorld, MaskedWorldsDrawThroughTheirMask) {
    a_masked_gworld mw;
    New_MW("test", R(0, 0, 2, 3), mw);
    EXPECT_EQ(mw.fore->pix.pixelSize, 32);
    EXPECT_EQ(mw.mask->pix.pmTable, gray_ctable);
    for (int x = 0; x < 3; ++x)
        for (int y = 0; y < 2; ++y) Row_PutDot(PixMap_Row(mw.fore->pix, y), 32, x, 0x00FF0000);
    PixMap_Row(mw.mask->pix, 0)[0] = 255;
    PixMap_Row(mw.mask->pix, 0)[1] = 128;
    GWorld* dst = New_GWorld(32, R(10, 10, 12, 13));
    Push_GWorld(dst);
    Draw_Cached_MWorld(mw, R(10, 10, 12, 13), nullptr);
    Pop_GWorld();
    EXPECT_EQ(Pixel(dst, 10, 10), 0x00FF0000u);
    EXPECT_EQ(Pixel(dst, 11, 10), uint32_t((255 * 128) >> 8) << 16);
    EXPECT_EQ(Pixel(dst, 12, 10), 0u);
    EXPECT_EQ(Pixel(dst, 10, 11), 0u);
    // Without a mask it is a plain copy; without fore nothing is drawn.
    Dispose_GWorld(mw.mask);
    GWorld_Zero(dst);
    Push_GWorld(dst);
    Draw_Cached_MWorld(mw, R(10, 10, 12, 13), nullptr);
    Pop_GWorld();
    EXPECT_EQ(Pixel(dst, 12, 11), 0x00FF0000u);
    GWorld* imitation = nullptr;
    Imitate_GWorld(R(0, 0, 5, 5), mw.fore, imitation);
    EXPECT_EQ(Get_GWorld_PixelSize(imitation), 32);
    EXPECT_EQ(Get_GWorld_Bounds(imitation), R(0, 0, 5, 5));
    Dispose_GWorld(imitation);
    Imitate_GWorld(R(0, 0, 5, 5), nullptr, imitation);
    EXPECT_EQ(imitation, nullptr);
    Dispose_MW(mw);
    EXPECT_EQ(mw.fore, nullptr);
    Dispose_GWorld(dst);
}

TEST(GWorld, DocumentLayersComeAndGo) {
    a_doc_unit u;
    u.paintbounds = R(0, 0, 20, 30);
    Sync_Existence(PAINT1_LAYER, u, true);
    a_cached_gworld& layer = u.static_[PAINT1_LAYER];
    ASSERT_NE(layer.world, nullptr);
    ASSERT_NE(layer.mask, nullptr);
    EXPECT_EQ(layer.bounds, u.paintbounds);
    EXPECT_EQ(Pixel(layer.world, 29, 19) & 0xFFFFFF, 0xFFFFFFu);  // erased to the back colour
    EXPECT_EQ(Pixel(layer.mask, 29, 19), 0u);                     // nothing covered yet
    EXPECT_EQ(layer.mask->pix.pmTable, gray_ctable);
    GWorld* before = layer.world;
    Sync_Existence(PAINT1_LAYER, u, true);  // already there: kept
    EXPECT_EQ(layer.world, before);
    Sync_Existence(PAINT1_LAYER, u, false);
    EXPECT_EQ(layer.world, nullptr);
    EXPECT_EQ(layer.mask, nullptr);
}

// The owners beside the C-style calls: under the sanitizers a double free or
// a leak on any of these hand-overs fails the run.
TEST(GWorld, OwnersFreeExactlyOnce) {
    a_masked_gworld_owner a = Make_MW("test", R(0, 0, 4, 4));
    GWorld* fore = a->fore;
    a_masked_gworld_owner b = std::move(a);
    EXPECT_EQ(a->fore, nullptr);  // a moved-from owner holds nothing to free
    EXPECT_EQ(b->fore, fore);
    b = Make_MW("test", R(0, 0, 2, 2));  // frees the first pair
    EXPECT_EQ(b->bounds, R(0, 0, 2, 2));
    a_masked_gworld raw = b.release();
    EXPECT_EQ(b->mask, nullptr);
    a_masked_gworld_owner c(raw);  // adopts, leaving the record empty
    EXPECT_EQ(raw.fore, nullptr);
    Dispose_MW(raw);  // nothing left to free twice

    a_pixmap_owner m = Make_PixMap(R(0, 0, 3, 3), 8, gray_ctable);
    m = std::move(m);
    EXPECT_FALSE(Is_Null_PixMap(*m));  // moving onto itself keeps the map
    m.reset();
    EXPECT_TRUE(Is_Null_PixMap(*m));

    a_gworld_ptr w = Make_GWorldF("test", R(0, 0, 2, 2), 32, nullptr);
    GWorld* handed = w.release();
    Dispose_GWorld(handed);
    EXPECT_EQ(Make_GWorld(12, R(0, 0, 2, 2)), nullptr);  // no such depth: null, nothing leaks
}
