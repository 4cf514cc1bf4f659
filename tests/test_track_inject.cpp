// Imported track lists become text blocks on the current unit: the columns
// as plain blocks side by side, the interface's text settings made plain,
// the shrink when too wide, one history step.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>

#include "block_fixtures.h"
#include "golden_image.h"
#include "model/document.h"
#include "pixels/gworld.h"
#include "render/compositor.h"
#include "templates/catalogue.h"
#include "templates/expand.h"
#include "model/history_ops.h"
#include "platform/dialogs.h"
#include "text/text_blocks.h"
#include "text/om_render.h"
#include "text/text_paths.h"
#include "track_fixtures.h"
#include "tracks/import.h"
#include "tracks/inject.h"
#include "tracks/inject_plan.h"
#include "ui/interface.h"
#include "ui/sliders.h"

namespace {

class TrackInjectTest : public BlockTest {
protected:
    // A jewel-case booklet: 120 mm square.
    void SetUp() override {
        BlockTest::SetUp();
        auto t = One_Unit_Template(false);
        t->units[1].bbox = {0, 0, 120, 120};
        Doc_New(*t);
        base_ = U().oj.nlist;
    }
    int Unit_Width() { return Rect_Width(Curr_Text_Unit().bounds); }
    // The k-th block made here (a fresh unit already holds its paint layer).
    const a_om_rec& Om(int k) { return *Item(base_ + k).om; }
    bool Selected(int k) { return Is_Obj_Selected(base_ + k); }
    int base_ = 0;
};

// The interface record and the sliders, put back afterwards (the interface's
// services are those installed at start-up).
struct a_text_sliders_guard {
    a_text_sliders_guard() { std::copy(std::begin(g_sliders), std::end(g_sliders), std::begin(sliders)); }
    ~a_text_sliders_guard() {
        gs = saved;
        std::copy(std::begin(sliders), std::end(sliders), std::begin(g_sliders));
    }
    a_interface_rec saved = gs;
    a_slider_item sliders[NSLIDERS];
};

std::string Twenty_Songs() {
    std::string s = "Name\tArtist\tTotal Time\r";
    for (int i = 1; i <= 20; ++i)
        s += "Song " + std::to_string(i) + "\tBand\t" + std::to_string(60000 + i * 1000) + "\r";
    return s;
}

TEST_F(TrackInjectTest, ConfirmedTabListBecomesTwoSelectedBlocksAndOneStep) {
    a_field_choice_guard guard;
    a_text_sliders_guard sliders;
    gs.grid_vals[TEXT_LAYOUT_GRID] = LAYOUT_CIRC_CW;  // settings an import must undo
    gs.grid_vals[TEXT_HJUST_GRID] = JUST_CENTER;
    gs.slider_vals[TEXT_LINEANGLE_SLIDER] = 450;
    gs.slider_vals[TEXT_SIZE_SLIDER] = 30;
    a_scratch_folder dir("inject");
    std::string path = dir.Put("songs.txt", Twenty_Songs());
    g_songfields_f = 1u | 2u | 8u;  // number, Name, Total Time
    g_songfields_c = 8u;            // Total Time starts the second column
    Dialog_SetQuiet(true);
    Dialog_ScriptAnswers({0});
    Do_iTunes(path);
    Dialog_ScriptAnswers({});
    Dialog_SetQuiet(false);

    ASSERT_EQ(U().oj.nlist, base_ + 2);
    std::u16string titles = OM_To_Str(Om(1)), times = OM_To_Str(Om(2));
    EXPECT_EQ(U8(titles).substr(0, 20), "1)  Song 1\r\n2)  Song");
    EXPECT_NE(U8(titles).find("20)  Song 20"), std::string::npos);
    EXPECT_EQ(U8(times).substr(0, 10), "1:01\r\n1:02");
    EXPECT_NE(U8(times).find("1:20"), std::string::npos);
    EXPECT_EQ(history, std::vector<int>{OP_IMPORT});
    EXPECT_EQ(gs.grid_vals[TEXT_LAYOUT_GRID], LAYOUT_HORZ);
    EXPECT_EQ(gs.grid_vals[TEXT_HJUST_GRID], JUST_LEFT);
    EXPECT_EQ(gs.slider_vals[TEXT_LINEANGLE_SLIDER], 0);
    EXPECT_EQ(gs.slider_vals[TEXT_SIZE_SLIDER], INJECT_SIZE);
    for (int omx : {1, 2}) {
        const a_om_rec& om = Om(omx);
        EXPECT_TRUE(Selected(omx));
        EXPECT_EQ(om.layout, LAYOUT_HORZ);
        EXPECT_EQ(om.justify, JUST_LEFT);
        EXPECT_EQ(om.lineangle, 0);
        EXPECT_EQ(om.size, INJECT_SIZE);
        EXPECT_TRUE(om.cache.progress & (1u << READY_COORD));
    }
    // Side by side, 20 pixels apart, centred across the unit, the first
    // baseline's letters a fifth down it: the anchor is the first baseline.
    const Rect& ub = Curr_Text_Unit().bounds;
    const Rect f1 = Frame_Bounds(Om(1).cache.frame), f2 = Frame_Bounds(Om(2).cache.frame);
    EXPECT_EQ(f2.left, f1.right + INJECT_SPACING);
    EXPECT_LE(std::abs(f1.left - ub.left - (ub.right - f2.right)), 1);
    EXPECT_EQ(f1.top, ub.top + Rect_Height(ub) / 5);
    EXPECT_LT(f1.top, Om(1).anchor.v);
    EXPECT_EQ(Om(1).anchor.v, Om(2).anchor.v);
}

TEST_F(TrackInjectTest, TooWideShrinksAndAFullUnitTakesWhatFits) {
    // One line of about three quarters of the unit fits: its width at size 10.
    a_chunk_table probe;
    probe.chunks = {std::u16string(10, u'M')};
    ASSERT_EQ(Inject_Chunks(probe), 1);
    EXPECT_TRUE(probe.chunks.empty());
    const std::u16string line(size_t(0.75 * Unit_Width() / (Rect_Width(Om(1).bbox) / 10.0)), u'M');
    probe.chunks = {line};
    ASSERT_EQ(Inject_Chunks(probe), 1);
    ASSERT_EQ(Om(2).size, INJECT_SIZE);
    Clear_Record();

    // Two such lines are too wide together: both shrink, to the largest size
    // at which they fit the printable box side by side.
    a_chunk_table wide;
    wide.chunks = {line, line};
    ASSERT_EQ(Inject_Chunks(wide), 2);
    const a_text_unit u = Curr_Text_Unit();
    const Rect box = Inject_Area(u.bounds, u.disc, u.hole).box;
    EXPECT_LT(Om(3).size, INJECT_SIZE);
    EXPECT_EQ(Om(4).size, Om(3).size);
    EXPECT_GE(Frame_Bounds(Om(3).cache.frame).left, box.left);
    EXPECT_LE(Frame_Bounds(Om(4).cache.frame).right, box.right);
    EXPECT_FALSE(Selected(2));
    EXPECT_EQ(history, std::vector<int>{OP_IMPORT});

    // Nothing to place: no block, no step.
    a_chunk_table none;
    EXPECT_EQ(Inject_Chunks(none), 0);
    EXPECT_EQ(history.size(), 1u);

    while (U().oj.nlist < MAX_TEXT_BLOCKS - 1) Add(Rect{0, 0, 10, 10});
    a_chunk_table two;
    two.chunks = {u"A", u"B"};
    EXPECT_EQ(Inject_Chunks(two), 1);
    EXPECT_EQ(U().oj.nlist, MAX_TEXT_BLOCKS);
}

// Lists of 5, 20 and 100 songs imported through the Import menu's path onto
// a disc and a booklet of the catalogue: every song is there, the letters
// lie inside the printable area (for the disc the ring between hole and
// edge) whenever the list fits it at 5 points or more, and the pictures are
// the goldens.
class TrackGoldenTest : public TrackInjectTest {
protected:
    void Open(const std::string& label, uint32_t unit) {
        const int tx = Find_Template(label);
        ASSERT_NE(tx, 0) << label;
        auto t = std::make_unique<a_template>();
        Expand_Template(TList_Get(tx), *t);
        Doc_Dispose();
        Doc_New(*t);
        Select_Doc_Unit(unit);
        base_ = U().oj.nlist;
    }
    // True when the import said the list runs past the label's edge.
    bool Import(int n) {
        a_field_choice_guard guard;
        a_scratch_folder dir("golden");
        std::string s = "Name\tArtist\tTotal Time\r";
        for (int i = 1; i <= n; ++i)
            s += "Song number " + std::to_string(i) + "\tThe Band\t" + std::to_string(120000 + i * 7000) + "\r";
        const std::string path = dir.Put("songs.txt", s);
        g_songfields_f = 1u | 2u | 4u | 8u;  // number, Name, Artist, Total Time
        g_songfields_c = 2u | 8u;            // Name and Total Time start columns
        Dialog_SetQuiet(true);
        Dialog_ScriptAnswers({0});
        Do_iTunes(path);
        const auto& told = Dialog_History();
        const bool too_long = std::any_of(told.begin(), told.end(), [](const a_dialog_request& r) {
            return r.message.find("too long for this label") != std::string::npos;
        });
        Dialog_ScriptAnswers({});
        Dialog_SetQuiet(false);
        return too_long;
    }
    // Every letter of the new blocks inside the area.
    void Expect_Inside(const std::string& what) {
        const a_text_unit u = Curr_Text_Unit();
        const a_inject_area a = Inject_Area(u.bounds, u.disc, u.hole);
        for (int omx = base_ + 1; omx <= U().oj.nlist; ++omx) {
            const a_om_rec& om = *Item(omx).om;
            for (int i = 1; i < om.nxyl; ++i) {
                const a_xyl_char& c = om.xyl[i];
                ASSERT_NE(c.mm_cat, CC_OVERFLOW) << what;
                if (c.mm_cat != CC_REGULAR) continue;
                const int top = c.mm_y - om.size * 3, bottom = c.mm_y + om.size;  // generous for 10 px/mm
                for (int x : {int(c.mm_x), c.mm_x + c.mm_width})
                    for (int y : {top, bottom}) {
                        if (a.outer == 0) {
                            ASSERT_TRUE(x >= u.bounds.left && x <= u.bounds.right && y >= u.bounds.top &&
                                        y <= u.bounds.bottom) << what << " block " << omx << " char " << i;
                            continue;
                        }
                        const double d = std::hypot(x - a.centre.h, y - a.centre.v);
                        ASSERT_LE(d, Rect_Width(u.bounds) / 2.0) << what << " block " << omx << " char " << i;
                        ASSERT_GE(d, u.hole / 2.0) << what << " block " << omx << " char " << i;
                    }
            }
        }
    }
    std::u16string All_Text() {
        std::u16string s;
        for (int omx = base_ + 1; omx <= U().oj.nlist; ++omx) s += OM_To_Str(*Item(omx).om) + u"\r\n";
        return s;
    }
};

TEST_F(TrackGoldenTest, ListsOfFiveTwentyAndAHundredSongsOnADiscAndABooklet) {
    a_text_sliders_guard sliders;
    Text_Draw_Init();  // the compositor's text drawing, as at start-up
    const struct {
        const char* label;
        uint32_t unit;
        const char* name;
    } stocks[] = {{"A-ONE 29125", 1, "cd"}, {"Generic jewel front 2-up US", 1, "booklet"}};
    for (const auto& stock : stocks)
        for (int n : {5, 20, 100}) {
            const std::string what = std::string(stock.name) + " " + std::to_string(n);
            Open(stock.label, stock.unit);
            const bool told = Import(n);
            ASSERT_GT(U().oj.nlist, base_) << what;
            // Only the list that runs past the disc's edge says so.
            EXPECT_EQ(told, n == 100 && std::string(stock.name) == "cd") << what;
            const std::u16string text = All_Text();
            for (int i : {1, n / 2, n})
                EXPECT_NE(text.find(u"Song number " + Utf8_To_Utf16(std::to_string(i)) + u" / The Band"),
                          std::u16string::npos) << what << " song " << i;
            if (n <= 20 || std::string(stock.name) == "booklet") Expect_Inside(what);
            GWorld* w = nullptr;
            Render_Unit_Print(g_doc.upx, U(), U().paintbounds, w);
            a_gworld_ptr world(w);
            ASSERT_TRUE(world);
            EXPECT_TRUE(Matches_Golden("tracks_" + std::string(stock.name) + "_" + std::to_string(n),
                                       World_Bits(world.get())));
        }
}

}  // namespace
