// Canvas backgrounds: fallbacks across classes, cover fit and borrowed
// natural sizes, solid colours, the per-unit cache, repair of missing
// pictures, and the canvas commands.
#include <gtest/gtest.h>

#include <memory>

#include "artdb_fixtures.h"
#include "effects_fixtures.h"
#include "signals_guard.h"
#include "model/history.h"
#include "model/document.h"
#include "platform/dialogs.h"
#include "render/canvas.h"
#include "render/effects_cache.h"
#include "ui/canvas_cmds.h"
#include "ui/interface.h"

namespace {

// 32-bit pixels: `inner` (top, left, bottom, right) green, the rest red.
std::vector<uint8_t> Framed(int w, int h, Rect inner) {
    std::vector<uint8_t> px(size_t(w) * h * 4);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            bool in = y >= inner.top && y < inner.bottom && x >= inner.left && x < inner.right;
            uint8_t* p = &px[(size_t(y) * w + x) * 4];
            p[1] = in ? 255 : 0;
            p[2] = in ? 0 : 255;
        }
    return px;
}

std::vector<uint8_t> Picture(int w, int h, Rect inner) {
    return Picture_Record(w, h, 32, Framed(w, h, inner), a_pixt_codec::RAW);
}

std::vector<uint8_t> Thumb() {
    return Picture(4, 4, Rect{0, 0, 4, 4});
}

class Canvas : public testing::Test {
  protected:
    void SetUp() override {
        std::vector<a_db_entry> e = {
            Entry({2, 0, 1, 1}, Thumb()),
            Entry({2, 0, 301, 1}, Thumb()),
            Entry({2, 2, 1, 1}, Thumb()),
            Entry({2, 2, 302, 1}, Thumb()),
            // A rectangle picture whose middle 600 x 600 is green.
            Entry({1, 1, 301, 1}, Picture(800, 600, Rect{0, 100, 600, 700})),
            // A class-5 picture whose centred 810 x 640 is green.
            Entry({1, 5, 302, 1}, Picture(1280, 870, Rect{115, 235, 755, 1045})),
        };
        ASSERT_EQ(Open_Db(Db_Bytes(e)), OPEN_OKAY);
        Cache_Clear();
    }
    void TearDown() override {
        OP_CloseNewest();
        Cache_Clear();
    }
};

bool All_Green(const GWorld* w) {
    const Rect& b = w->pix.bounds;
    for (int y = b.top; y < b.bottom; ++y)
        for (int x = b.left; x < b.right; ++x) {
            uint32_t p = Pixel32(w, x, y);
            if (((p >> 16) & 0xFF) > 8 || ((p >> 8) & 0xFF) < 247) return false;
        }
    return true;
}

}  // namespace

TEST_F(Canvas, FallbackChainAndRepairOfAMissingPicture) {
    a_keyset full;
    EXPECT_TRUE(Find_Full_Canvas(full, a_keyset{2, 0, 301, 1}));  // disc -> rectangle
    EXPECT_EQ(full, (a_keyset{1, 1, 301, 1}));
    EXPECT_TRUE(Find_Full_Canvas(full, a_keyset{2, 2, 302, 1}));  // jewel base -> class 5
    EXPECT_EQ(full, (a_keyset{1, 5, 302, 1}));
    EXPECT_FALSE(Find_Full_Canvas(full, a_keyset{2, 4, 301, 1}));  // 4 -> 3, which ends
    EXPECT_EQ(full, (a_keyset{1, 3, 301, 1}));
    EXPECT_TRUE(Find_Full_Canvas(full, a_keyset{2, 3, 1, 1}));  // white needs no picture
    // A missing picture is repaired to white with one alert.
    a_doc_unit u;
    Init_CV(u.canv.cv);
    u.canv.cv.canvas_key = a_keyset{2, 0, 307, 7};
    Dialog_ScriptAnswers({});
    EXPECT_FALSE(Canvas_Verify(u, UNIT_CD));
    EXPECT_EQ(u.canv.cv.canvas_key, (a_keyset{2, 0, 1, 1}));
    EXPECT_EQ(Dialog_History().size(), 1u);
    EXPECT_TRUE(Canvas_Verify(u, UNIT_CD));
    EXPECT_EQ(Dialog_History().size(), 1u);
    EXPECT_EQ(Key_To_CanvX(a_keyset{2, 0, 301, 1}, 0), 2);
    EXPECT_EQ(Key_To_CanvX(a_keyset{2, 0, 309, 9}, 0), 1);
}

namespace {

// Pictures whose green part is exactly what one rule takes: any other rule
// would show red.
class CanvasRules : public testing::Test {
  protected:
    void SetUp() override {
        std::vector<a_db_entry> e = {
            // A class-3 wrap: a DVD insert (class 4) borrows its front, the
            // natural 584 x 870 ending 12 pixels inside the right edge.
            Entry({1, 3, 306, 1}, Picture(1280, 870, Rect{0, 684, 870, 1268})),
            // A class-2 picture borrowed by the mini hockey and mini rectangle
            // (640 wide, as high as the unit's proportions say: 640 x 480).
            Entry({1, 2, 304, 1}, Picture(1000, 700, Rect{110, 180, 590, 820})),
            // A class-5 picture 1270 wide is taken with cover fit even when
            // borrowed: for a unit 635 x 250, the middle 500 rows.
            Entry({1, 5, 305, 1}, Picture(1270, 870, Rect{185, 0, 685, 1270})),
        };
        ASSERT_EQ(Open_Db(Db_Bytes(e)), OPEN_OKAY);
        Cache_Clear();
    }
    void TearDown() override {
        OP_CloseNewest();
        Cache_Clear();
    }
    bool Renders_Green(const a_keyset& key, int kind, int w, int h) {
        a_gworld_ptr world = Make_GWorld(32, Rect{0, 0, int16_t(h), int16_t(w)});
        a_canvas_spec cv;
        Init_CV(cv);
        cv.canvas_key = key;
        Render_Picture_Canvas(world.get(), world->pix.bounds, cv, kind);
        return All_Green(world.get());
    }
};

}  // namespace

TEST_F(CanvasRules, ClassFourHockeyMiniRectangleAnd1270Wide) {
    EXPECT_TRUE(Renders_Green({2, 4, 306, 1}, UNIT_DVDBOX_INSERT, 292, 435));
    EXPECT_TRUE(Renders_Green({2, 0, 304, 1}, UNIT_MINICD_HOCKEY, 320, 240));
    EXPECT_TRUE(Renders_Green({2, 1, 304, 1}, UNIT_MINICD_RECT, 320, 240));
    // Any other disc takes the natural 640 x 640 of its class.
    EXPECT_FALSE(Renders_Green({2, 0, 304, 1}, UNIT_CD, 320, 240));
    EXPECT_TRUE(Renders_Green({2, 2, 305, 1}, UNIT_JEWEL_BASE, 635, 250));
}

TEST_F(Canvas, TheUnitCacheIsReusedWhileNothingChanges) {
    GWorld* w = New_GWorld(32, Rect{0, 0, 60, 60});
    a_cached_canvas canv;
    Init_CV(canv.cv);
    canv.cv.canvas_key = a_keyset{2, 0, 301, 1};
    Rect b = w->pix.bounds;
    Render_Canvas(b, w, canv, UNIT_CD, true, false);
    GWorld* first = canv.cached_world;
    ASSERT_NE(first, nullptr);
    PixMap32_Fill(first->pix, b, 0x0000FF);  // a reuse shows this
    Render_Canvas(b, w, canv, UNIT_CD, true, false);
    EXPECT_EQ(canv.cached_world, first);
    EXPECT_EQ(Pixel32(w, 30, 30), 0x0000FFu);
    canv.cv.canvas_flipx = true;  // a change remakes it
    Render_Canvas(b, w, canv, UNIT_CD, true, false);
    EXPECT_EQ(canv.cached_cv, canv.cv);
    EXPECT_TRUE(All_Green(w));
    canv.cv.canvas_key = a_keyset{2, 0, 1, 1};  // white drops the cache
    Render_Canvas(b, w, canv, UNIT_CD, true, false);
    EXPECT_EQ(canv.cached_world, nullptr);
    EXPECT_EQ(Pixel32(w, 30, 30), 0xFFFFFFu);
    Dispose_GWorld(w);
}

// Without a picture a canvas is a solid colour; a palette cell shows the
// thumbnail centred on white.
TEST_F(Canvas, SolidColoursAndPaletteCells) {
    a_canvas_spec cv;
    Init_CV(cv);
    EXPECT_TRUE(Is_Canvas_Uncolored(cv));
    EXPECT_EQ(Solid_Canvas_Color(cv), 0xFFFFFFu);
    cv.canvas_color_hue = 120;
    cv.canvas_color_dist = 72;
    EXPECT_EQ(Solid_Canvas_Color(cv), 0x00FF00u);
    cv.canvas_darkness = 0;
    EXPECT_EQ(Solid_Canvas_Color(cv), 0x000000u);
    cv.canvas_key = a_keyset{2, 0, 1, 1};
    EXPECT_FALSE(Is_No_Canvas(cv));

    GWorld* w = New_GWorld(32, Rect{0, 0, 10, 10});
    PixMap32_Fill(w->pix, w->pix.bounds, 0x123456);
    Canvas_DrawElement(w, w->pix.bounds, 2, 0);  // (2, 0, 301, 1): a green 4 x 4
    EXPECT_EQ(Pixel32(w, 0, 0), 0xFFFFFFu);
    EXPECT_EQ(Pixel32(w, 3, 3), 0x00FF00u);
    EXPECT_EQ(Pixel32(w, 6, 6), 0x00FF00u);
    EXPECT_EQ(Pixel32(w, 7, 7), 0xFFFFFFu);
    Dispose_GWorld(w);
}

namespace {

int g_steps = 0;
int g_last_op = 0;
void Count_Step(int op) {
    ++g_steps;
    g_last_op = op;
}

}  // namespace

TEST(CanvasCommands, NewUnitsStartWhiteAndCommandsRecordSteps) {
    auto t = std::make_unique<a_template>();
    t->nunits = 1;
    t->units[1].kind = UNIT_CD;
    t->units[1].bbox = {0, 0, 120, 120};
    Doc_New(*t);
    ASSERT_NE(g_doc.up, nullptr);
    EXPECT_EQ(g_doc.up->canv.cv.canvas_key, (a_keyset{2, 0, 1, 1}));
    EXPECT_TRUE(Is_Unit_Empty(*g_doc.up));
    a_signals_guard guard;
    // The history the shell started records the steps; the guard unsubscribes.
    (void)g_doc_notices.history.Subscribe([] { Count_Step(g_hist.list[g_hist.curr].op); });
    g_steps = 0;
    for (int i = 0; i < 4; ++i) Canvas_Rotate_CW();
    EXPECT_EQ(g_doc.up->canv.cv.canvas_nrot, 0);
    EXPECT_EQ(g_steps, 4);
    EXPECT_EQ(g_last_op, OP_CANVAS_ROTATE);
    Canvas_Rotate_CCW();
    EXPECT_EQ(g_doc.up->canv.cv.canvas_nrot, 3);
    Slider_SetVal(20, CANV_DARKNESS_SLIDER);
    Delta_Canvas(CANV_DARKNESS_SLIDER);
    EXPECT_EQ(g_doc.up->canv.cv.canvas_darkness, 20);
    EXPECT_EQ(g_last_op, OP_CANVAS_ADJUST);
    Canvas_Select(false);  // resets the adjustments and their sliders
    EXPECT_EQ(g_doc.up->canv.cv.canvas_darkness, 50);
    EXPECT_EQ(gs.slider_vals[CANV_DARKNESS_SLIDER], 50);
    EXPECT_EQ(g_last_op, OP_CANVAS_SELECT);
    int before = g_steps;
    Paint_Clear_All();  // nothing to clear: no step
    EXPECT_EQ(g_steps, before);
    Doc_Dispose();
}
