// Sliders: the table's invariants, clamping, setting with its action and undo
// step, stepping with grid snapping, sounds and repeat pacing, thumb mapping.
#include <gtest/gtest.h>

#include <iterator>
#include <utility>
#include <vector>

#include "signals_guard.h"
#include "platform/clock.h"
#include "platform/sound.h"
#include "ui/interface.h"
#include "text/text_fields.h"
#include "ui/sliders.h"

namespace {

struct a_test_clock final : a_clock {
    uint64_t ms = 1000;
    uint64_t slept = 0;
    uint64_t Milliseconds() override { return ms; }
    DateTimeRec Now() override { return DateTimeRec{}; }
    void Sleep(uint32_t n) override { ms += n, slept += n; }
};

struct a_busy_player final : a_sound_player {
    bool playing = false;
    std::vector<int> played;
    void Play(int snd) override { played.push_back(snd); }
    bool IsPlaying() override { return playing; }
};

std::vector<a_slider_enum> g_actions;
std::vector<int> g_pending;
int g_picker_refreshes = 0;

class SliderTest : public testing::Test {
protected:
    void SetUp() override {
        saved_clock_ = Clock_Install(&clock_);
        saved_sound_ = Sound_IsEnabled();
        Sound_Enable(true);
        Sound_ClearLog();
        Sliders_Build();
        g_actions.clear();
        g_pending.clear();
        g_picker_refreshes = 0;
        tokens_[0] = g_doc_services.history_pending.Install([](int op) { g_pending.push_back(op); });
        tokens_[1] = g_slider_signals.color_picker.Subscribe([] { ++g_picker_refreshes; });
    }
    void TearDown() override {
        Clock_Install(saved_clock_);
        Sound_Install(nullptr);
        Sound_Enable(saved_sound_);
        Sliders_Build();
    }
    static void Watch(a_slider_enum s) {
        Slider_Set_Action(s, [](a_slider_enum x) { g_actions.push_back(x); });
    }
    static int Val(a_slider_enum s) { return gs.slider_vals[s]; }
    a_test_clock clock_;
    a_clock* saved_clock_ = nullptr;
    a_signals_guard signals_{true};
    a_listener_token tokens_[2] = {};
    bool saved_sound_ = true;
};

}  // namespace

TEST_F(SliderTest, TableHoldsEverySliderInRangeWithItsDefault) {
    for (int i = 1; i < NSLIDERS; ++i) {
        a_slider_enum s = static_cast<a_slider_enum>(i);
        const a_slider_item& it = g_sliders[s];
        SCOPED_TRACE(i);
        EXPECT_LE(it.minval, it.defaultval);
        EXPECT_LE(it.defaultval, it.maxval);
        EXPECT_GT(it.normal_step, 0) << "every slider can be stepped";
        EXPECT_EQ(Val(s), it.defaultval);
        EXPECT_FALSE(Slider_Name(s).empty());
        if (s != PRINT_OUTERD_SLIDER) {
            EXPECT_LT(it.minval, it.maxval);
        }
    }
}

TEST_F(SliderTest, ComputedDefaultsFollowTheBrushAndTheDirectKind) {
    (void)g_slider_signals.brush_width.Install([] { return 40; });  // the guard removes it
    Sliders_Build();
    EXPECT_EQ(g_sliders[BRUSH_SPACING_SLIDER].defaultval, Calc_Default_BSpacing(40));
    EXPECT_EQ(Val(BRUSH_SPACING_SLIDER), Calc_Default_BSpacing(40));
    EXPECT_EQ(Calc_Default_BSpacing(0), 1);
    EXPECT_EQ(Calc_Default_BSpacing(10000), 60);

    EXPECT_EQ(Val(PRINT_OUTERD_SLIDER), 0);
    Slider_Set_Direct_Kind(1);
    EXPECT_EQ(Val(PRINT_OUTERD_SLIDER), 1000) << "the value moves into the new range";
    for (int kind = 2; kind <= 4; ++kind) {
        Slider_Set_Direct_Kind(kind);
        EXPECT_EQ(Val(PRINT_OUTERD_SLIDER), 800) << kind;
    }
    Slider_Set_Direct_Kind(0);
    EXPECT_EQ(Val(PRINT_OUTERD_SLIDER), 0);
}

TEST_F(SliderTest, SettingClampsRunsTheActionOnceAndLeavesOneUndoStep) {
    Watch(PHOTO_SIZE_SLIDER);
    Slider_SetVal(90000, PHOTO_SIZE_SLIDER);
    EXPECT_EQ(Val(PHOTO_SIZE_SLIDER), 6000);
    EXPECT_EQ(g_actions, (std::vector<a_slider_enum>{PHOTO_SIZE_SLIDER}));
    EXPECT_EQ(g_pending, (std::vector<int>{OP_PHOTO_SIZE}));
    Slider_SetVal(6000, PHOTO_SIZE_SLIDER);
    Slider_SetVal(7000, PHOTO_SIZE_SLIDER);  // clamps to the value it has
    EXPECT_EQ(g_actions.size(), 1u);

    Slider_SetRel(-10, PHOTO_SIZE_SLIDER);
    EXPECT_EQ(Val(PHOTO_SIZE_SLIDER), 5990);
    Slider_Default(PHOTO_SIZE_SLIDER);
    EXPECT_EQ(Val(PHOTO_SIZE_SLIDER), 1000);
    EXPECT_EQ(g_actions.size(), 3u);

    // A slider that makes no undo step leaves a pending one alone.
    Slider_SetVal(5, GRIDLINES_DASH_SLIDER);
    EXPECT_EQ(g_pending.size(), 3u);

    // Loading a selection into the sliders runs no action and makes no step.
    Slider_Blast(-99999, PHOTO_SIZE_SLIDER);
    Slider_Blast_Invis(123, PHOTO_ANGLE_SLIDER);
    EXPECT_EQ(Val(PHOTO_SIZE_SLIDER), 50);
    EXPECT_EQ(Val(PHOTO_ANGLE_SLIDER), 123);
    EXPECT_EQ(g_actions.size(), 3u);
    EXPECT_EQ(g_pending.size(), 3u);
    Slider_Blast(400, COLOR_HUE_SLIDER);
    EXPECT_EQ(Val(COLOR_HUE_SLIDER), 359);
    EXPECT_EQ(g_picker_refreshes, 1);

    // Ids from outside are refused rather than indexed.
    Slider_SetVal(3, static_cast<a_slider_enum>(NSLIDERS));
    Slider_SetVal(3, NULL_SLIDER);
    EXPECT_EQ(Slider_Limit_Value(3, static_cast<a_slider_enum>(-1)), 0);
}

TEST_F(SliderTest, SteppingSnapsToTheGridOfTheStep) {
    struct a_case {
        int from;
        bool up;
        int to;
    };
    // Stamp rotation steps by 5 normally.
    const a_case cases[] = {{23, true, 25},   {23, false, 20},   {25, true, 30},  {25, false, 20},
                            {-23, true, -20}, {-23, false, -25}, {0, true, 5},    {0, false, -5},
                            {-25, true, -20}, {-25, false, -30}, {178, true, 180}};
    for (const a_case& c : cases) {
        Slider_Blast_Invis(c.from, STAMP_ROTATE_SLIDER);
        Do_PlusMinus(false, false, c.up, STAMP_ROTATE_SLIDER);
        EXPECT_EQ(Val(STAMP_ROTATE_SLIDER), c.to) << c.from << (c.up ? " up" : " down");
    }
    // Big and tiny steps of the same slider: 45 and 1.
    Slider_Blast_Invis(23, STAMP_ROTATE_SLIDER);
    Do_PlusMinus(false, true, true, STAMP_ROTATE_SLIDER);
    EXPECT_EQ(Val(STAMP_ROTATE_SLIDER), 45);
    Do_PlusMinus(true, false, false, STAMP_ROTATE_SLIDER);
    EXPECT_EQ(Val(STAMP_ROTATE_SLIDER), 44);
    // Both asked: the big step wins when offered.
    Do_PlusMinus(true, true, true, STAMP_ROTATE_SLIDER);
    EXPECT_EQ(Val(STAMP_ROTATE_SLIDER), 45);

    // No big step offered: the normal step, or the tiny one when also asked and offered.
    Slider_Blast_Invis(10, STAMP_SIZE_SLIDER);
    Do_PlusMinus(false, true, true, STAMP_SIZE_SLIDER);
    EXPECT_EQ(Val(STAMP_SIZE_SLIDER), 11);
    g_sliders[TEXT_VSPACING_SLIDER].big_step = 0;  // tiny 1, normal 2
    Slider_Blast_Invis(100, TEXT_VSPACING_SLIDER);
    Do_PlusMinus(true, true, true, TEXT_VSPACING_SLIDER);
    EXPECT_EQ(Val(TEXT_VSPACING_SLIDER), 101);
    Do_PlusMinus(false, true, true, TEXT_VSPACING_SLIDER);
    EXPECT_EQ(Val(TEXT_VSPACING_SLIDER), 102);

    // A step procedure replaces the fixed steps.
    Slider_Set_IncProc(TEXT_SIZE_SLIDER, [](a_slider_enum, int value, int, bool up) {
        return up ? value : -value / 2;  // doubles, halves
    });
    Slider_Blast_Invis(14, TEXT_SIZE_SLIDER);
    Do_PlusMinus(false, false, true, TEXT_SIZE_SLIDER);
    EXPECT_EQ(Val(TEXT_SIZE_SLIDER), 28);
    Do_PlusMinus(false, false, true, TEXT_SIZE_SLIDER);
    EXPECT_EQ(Val(TEXT_SIZE_SLIDER), 56);
    // As built, before any block, the limit is that of the horizontal
    // layout, the one new text starts with.
    for (int want : {112, 224, 288}) {
        Do_PlusMinus(false, false, true, TEXT_SIZE_SLIDER);
        EXPECT_EQ(Val(TEXT_SIZE_SLIDER), want) << "clamped at 288";
    }
}

TEST_F(SliderTest, SteppingSoundsRefusesAtTheEndsIsPacedAndNeedsAnActiveSlider) {
    Watch(PHOTO_ANGLE_SLIDER);
    Slider_Blast_Invis(1800, PHOTO_ANGLE_SLIDER);
    uint64_t start = clock_.ms;
    Do_PlusMinus(false, true, true, PHOTO_ANGLE_SLIDER);
    EXPECT_EQ(Val(PHOTO_ANGLE_SLIDER), 1800);
    EXPECT_EQ(Sound_Log(), (std::vector<int>{SND_REFUSED}));
    EXPECT_TRUE(g_actions.empty());
    EXPECT_EQ(clock_.ms, start) << "the core never sleeps; the caller's timer paces";
    // A held button steps again only after three ticks of the clock.
    uint32_t last = TickCount();
    EXPECT_FALSE(Slider_Repeat_Due(last));
    clock_.ms += 2 * 16;
    EXPECT_FALSE(Slider_Repeat_Due(last));
    clock_.ms += 16;
    EXPECT_TRUE(Slider_Repeat_Due(last));
    EXPECT_EQ(last, TickCount());
    EXPECT_FALSE(Slider_Repeat_Due(last));

    Sound_ClearLog();
    Do_PlusMinus(false, false, false, PHOTO_ANGLE_SLIDER);
    EXPECT_EQ(Val(PHOTO_ANGLE_SLIDER), 1790);
    EXPECT_EQ(Sound_Log(), (std::vector<int>{SND_CLICK}));
    EXPECT_EQ(g_actions.size(), 1u);

    // No click over a sound still playing; the step happens all the same.
    a_busy_player player;
    player.playing = true;
    Sound_Install(&player);
    Sound_ClearLog();
    Do_PlusMinus(false, false, false, PHOTO_ANGLE_SLIDER);
    EXPECT_EQ(Val(PHOTO_ANGLE_SLIDER), 1780);
    EXPECT_TRUE(player.played.empty());
    // Sound switched off in the options: silence, still stepping.
    Sound_Install(nullptr);
    Sound_Enable(false);
    Do_PlusMinus(false, false, false, PHOTO_ANGLE_SLIDER);
    EXPECT_EQ(Val(PHOTO_ANGLE_SLIDER), 1770);
    EXPECT_TRUE(Sound_Log().empty());

    // The keyboard steps only active sliders.
    Sound_Enable(true);
    Slider_Via_Keyboard(true, false, false, TEXT_SIZE_SLIDER);
    EXPECT_EQ(Val(TEXT_SIZE_SLIDER), 14);
    EXPECT_EQ(Sound_Log(), (std::vector<int>{SND_REFUSED}));
    g_sliders[TEXT_SIZE_SLIDER].basic.active = true;
    Slider_Via_Keyboard(true, false, false, TEXT_SIZE_SLIDER);
    Slider_Via_Keyboard(true, false, false, TEXT_SIZE_SLIDER);
    Slider_Via_Keyboard(false, false, false, TEXT_SIZE_SLIDER);
    EXPECT_EQ(Val(TEXT_SIZE_SLIDER), 15);
}

TEST_F(SliderTest, ResetShowsOnlyForShownChangedSliders) {
    std::vector<a_slider_enum> redrawn;
    static std::vector<a_slider_enum>* sink;
    sink = &redrawn;
    (void)g_slider_signals.redraw.Subscribe([](a_slider_enum s) { sink->push_back(s); });
    EXPECT_FALSE(Is_Reset_Visible(PHOTO_OPACITY_SLIDER));
    Slider_SetVal(50, PHOTO_OPACITY_SLIDER);
    EXPECT_FALSE(Is_Reset_Visible(PHOTO_OPACITY_SLIDER)) << "not shown";
    EXPECT_TRUE(redrawn.empty());
    g_sliders[PHOTO_OPACITY_SLIDER].basic.shown = true;
    EXPECT_TRUE(Is_Reset_Visible(PHOTO_OPACITY_SLIDER));
    Slider_Default(PHOTO_OPACITY_SLIDER);
    EXPECT_FALSE(Is_Reset_Visible(PHOTO_OPACITY_SLIDER));
    EXPECT_EQ(redrawn, (std::vector<a_slider_enum>{PHOTO_OPACITY_SLIDER}));
    Slider_SetVal(60, PHOTO_OPACITY_SLIDER);
    g_sliders[PHOTO_OPACITY_SLIDER].show_reset = false;
    EXPECT_FALSE(Is_Reset_Visible(PHOTO_OPACITY_SLIDER));
}

TEST_F(SliderTest, ThumbMapsLinearlyOntoTheRange) {
    const a_slider_enum s = PHOTO_ANGLE_SLIDER;  // -1800 .. 1800
    const int travel = g_sliders[s].thumb_travel;
    EXPECT_EQ(Slider_ThumbToValue(0, s), -1800);
    EXPECT_EQ(Slider_ThumbToValue(travel, s), 1800);
    EXPECT_EQ(Slider_ThumbToValue(travel / 2, s), 0);
    EXPECT_EQ(Slider_ThumbToValue(-40, s), -1800);
    EXPECT_EQ(Slider_ThumbToValue(travel + 40, s), 1800);
    EXPECT_EQ(Slider_ValueToThumb(99999, s), travel);
    // Every thumb position comes back from its value (so both ends map back too).
    for (int t = 0; t <= travel; ++t)
        EXPECT_EQ(Slider_ValueToThumb(Slider_ThumbToValue(t, s), s), t);
    // A slider with more positions than values: every value is reachable.
    const a_slider_enum q = PRINT_QUALITY_SLIDER;  // 2 .. 4
    for (int v = 2; v <= 4; ++v) EXPECT_EQ(Slider_ThumbToValue(Slider_ValueToThumb(v, q), q), v);
    // An empty range (outer diameter before a medium is chosen) never divides by zero.
    EXPECT_EQ(Slider_ThumbToValue(30, PRINT_OUTERD_SLIDER), 0);
    EXPECT_EQ(Slider_ValueToThumb(0, PRINT_OUTERD_SLIDER), travel);
}

// Block descriptions (design files, the command line) accept what the sliders do.
TEST(TextFieldRanges, AgreeWithTheSliders) {
    const std::pair<const char*, a_slider_enum> pairs[] = {
        {"hspacing", TEXT_HSPACING_SLIDER}, {"vspacing", TEXT_VSPACING_SLIDER},
        {"radius", TEXT_RADIUS_SLIDER}, {"lineangle", TEXT_LINEANGLE_SLIDER},
        {"polarangle", TEXT_POLARANGLE_SLIDER}, {"spoke_outerd", TEXT_SPOKE_OUTERD_SLIDER},
        {"spoke_thickness", TEXT_SPOKE_THICKNESS_SLIDER}, {"spoke_totangle", TEXT_SPOKE_TOTANGLE_SLIDER},
        {"spoke_twist", TEXT_SPOKE_TWIST_SLIDER}, {"contour_margin", TEXT_CMARGIN_SLIDER},
        {"stretch_h", TEXT_STRETCH_H_SLIDER}, {"stretch_v", TEXT_STRETCH_V_SLIDER},
        {"skew_h", TEXT_SKEW_H_SLIDER}, {"skew_v", TEXT_SKEW_V_SLIDER},
        {"shad_dx", TEXT_SHAD_DX_SLIDER}, {"shad_dy", TEXT_SHAD_DY_SLIDER},
        {"shad_opacity", TEXT_SHAD_OPACITY_SLIDER}, {"shad_radius", TEXT_SHAD_RADIUS_SLIDER},
        {"glow_opacity", TEXT_GLOW_OPACITY_SLIDER}, {"glow_radius", TEXT_GLOW_RADIUS_SLIDER},
        {"outl_radius", TEXT_OUTL_RADIUS_SLIDER}, {"opacity", TEXT_OPACITY_SLIDER},
    };
    int count = 0, ints = 0;
    const a_text_field* fields = Text_Fields(count);
    for (int i = 0; i < count; ++i) ints += fields[i].kind == FIELD_INT;
    EXPECT_EQ(ints, int(std::size(pairs)));
    for (const auto& [name, slider] : pairs) {
        const a_text_field* f = Find_Text_Field(name);
        ASSERT_NE(f, nullptr) << name;
        EXPECT_EQ(f->lo, g_sliders[slider].minval) << name;
        EXPECT_EQ(f->hi, g_sliders[slider].maxval) << name;
    }
}
