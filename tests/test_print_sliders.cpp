// The print panel's media sliders for direct disc printers: which show, that
// they load the selected medium, and that a change reaches the medium.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "base/prefs.h"
#include "model/doc_media.h"
#include "model/document.h"
#include "templates/catalogue.h"
#include "templates/expand.h"
#include "ui/interface.h"
#include "ui/print_sliders.h"

namespace {

void Open(const char* label) {
    int index = Find_Template(std::string(label));
    ASSERT_GT(index, 0) << label;
    auto t = std::make_unique<a_template>();
    Expand_Template(TList_Get(index), *t);
    Doc_New(*t);
}

class PrintSliders : public testing::Test {
protected:
    void SetUp() override {
        saved_ = g_pref;
        Print_Sliders_Attach();
    }
    void TearDown() override {
        for (a_slider_enum s : {PRINT_INNERD_SLIDER, PRINT_OUTERD_SLIDER, PRINT_BIZSIDE_SLIDER, PRINT_WIDTH_SLIDER,
                                PRINT_HEIGHT_SLIDER})
            Slider_Set_Action(s, nullptr);
        Doc_Dispose();
        Slider_Set_Direct_Kind(NOT_DIRECT);
        g_pref = saved_;
    }
    a_pref_rec saved_;
};

}  // namespace

TEST_F(PrintSliders, ShowAndChangeTheSelectedMediumByDirectKind) {
    Open("DYMO DiscPainter");
    EXPECT_EQ(Print_Adjust_Sliders(), (std::vector<a_slider_enum>{PRINT_INNERD_SLIDER, PRINT_OUTERD_SLIDER}));
    a_print_media_spec m;
    Get_Media_Specs(m);
    m.adj[MEDIA_OUTERD] = 1150;
    m.adj[MEDIA_INNERD] = 220;
    Set_Media_Specs(m);
    Print_Sliders_Load();
    EXPECT_EQ(g_sliders[PRINT_OUTERD_SLIDER].maxval, 1200);
    EXPECT_EQ(gs.slider_vals[PRINT_OUTERD_SLIDER], 1150);
    EXPECT_EQ(gs.slider_vals[PRINT_INNERD_SLIDER], 220);
    // A change is written to the medium, the other size kept.
    Slider_SetVal(1120, PRINT_OUTERD_SLIDER);
    Get_Media_Specs(m);
    EXPECT_EQ(m.adj[MEDIA_OUTERD], 1120);
    EXPECT_EQ(m.adj[MEDIA_INNERD], 220);
    // Out of range: the medium gets the slider's limit, not the number typed.
    Slider_SetVal(5000, PRINT_OUTERD_SLIDER);
    Get_Media_Specs(m);
    EXPECT_EQ(m.adj[MEDIA_OUTERD], 1200);

    // A card's hole is loaded with its width and height, so moving one of
    // them keeps the card's hole, not what the disc's slider last held.
    Slider_SetVal(450, PRINT_INNERD_SLIDER);
    Open("Epson R200 card");
    EXPECT_EQ(Print_Adjust_Sliders(),
              (std::vector<a_slider_enum>{PRINT_INNERD_SLIDER, PRINT_WIDTH_SLIDER, PRINT_HEIGHT_SLIDER}));
    Get_Media_Specs(m);
    const int16_t card_hole = m.adj[MEDIA_INNERD];
    ASSERT_NE(card_hole, 450);
    Print_Sliders_Load();
    EXPECT_EQ(gs.slider_vals[PRINT_INNERD_SLIDER], card_hole);
    Slider_SetVal(860, PRINT_WIDTH_SLIDER);
    Get_Media_Specs(m);
    EXPECT_EQ(m.adj[MEDIA_OUTERD], 860);
    EXPECT_EQ(m.adj[MEDIA_INNERD], card_hole);

    Open("Alea Pingo Photo II Hockey");
    EXPECT_EQ(Print_Adjust_Sliders().size(), 3u);
    Print_Sliders_Load();
    EXPECT_EQ(g_sliders[PRINT_OUTERD_SLIDER].maxval, 800);

    Open("A-ONE 29125");
    EXPECT_TRUE(Print_Adjust_Sliders().empty());
    // Not a direct printer: a slider change leaves every medium alone.
    const a_pref_rec before = g_pref;
    Print_Sliders_Load();
    Slider_SetVal(300, PRINT_INNERD_SLIDER);
    EXPECT_EQ(std::memcmp(&before.print_media, &g_pref.print_media, sizeof before.print_media), 0);
}
