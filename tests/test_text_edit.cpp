// Editing a text block's characters at the caret: replacing a selection,
// surrogate pairs kept whole, right-to-left typing and the entry limit; the
// keys' moves on every layout, the mouse's positions, overrides and their
// undo, leaving editing, and circular text dragged around its centre.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <unistd.h>

#include "block_fixtures.h"
#include "model/arrange.h"
#include "model/block_moves.h"
#include "model/history.h"
#include "render/compositor.h"
#include "text/text_caret.h"
#include "text/text_edit.h"
#include "text/text_keys.h"
#include "text_fixtures.h"
#include "ui/text_cmds.h"

namespace {

struct a_text_module_scope_local {
    a_text_module_scope_local() { Text_Init(); }
    ~a_text_module_scope_local() { Text_Stop(); }
};

class TextEdit : public BlockTest {
protected:
    void SetUp() override {
        BlockTest::SetUp();
        g_ed = a_edit_rec{};
    }
    void TearDown() override {
        g_ed = a_edit_rec{};
        BlockTest::TearDown();
    }
    a_om_rec& Edit(const char16_t* text) {
        const int omx = Text_New2(text, nullptr, Point{-1000, -1000}, false);
        EXPECT_TRUE(Text_Edit(omx));
        return *Item(omx).om;
    }
    // A block of `layout`, left-justified where the layout allows, laid out and edited.
    a_om_rec& Edit_On(uint8_t layout, const char16_t* text) {
        const int omx = Text_New2(text, nullptr, Point{-1000, -1000}, false);
        a_om_rec& om = *Item(omx).om;
        om.fontx = uint32_t(Need_Font(u"DejaVu Sans"));
        om.layout = layout;
        om.size = 14;
        om.radius = 80;
        om.rotcenter = Rect_Centre(U().paintbounds);
        om.anchor = Point{int16_t(U().paintbounds.bottom / 3), 40};
        om.cache.progress = 0;
        OM_Recalc(om, omx);
        EXPECT_TRUE(Text_Edit(omx));
        return om;
    }
    static bool Key(uint8_t vkey, uint8_t mods = 0) { return Edit_KeyDown(vkey, 0, mods); }
    static bool Type(char16_t ch, uint8_t mods = 0) { return Edit_KeyDown(0, ch, mods); }
    static std::pair<int, int> Sel() { return {g_ed.sel_lo, g_ed.sel_hi}; }
};

using P = std::pair<int, int>;
const uint8_t kLines[] = {LAYOUT_HORZ, LAYOUT_CIRC_CW, LAYOUT_CIRC_CCW, LAYOUT_VERT, LAYOUT_90};
const uint8_t kLayouts[] = {LAYOUT_HORZ,       LAYOUT_CIRC_CW, LAYOUT_CIRC_CCW, LAYOUT_SPIRAL_CW,
                            LAYOUT_SPIRAL_CCW, LAYOUT_VERT,    LAYOUT_90};

TEST_F(TextEdit, TypingReplacesTheSelectionReusingItsEntriesAndKeepsPairsWhole) {
    a_om_rec& om = Edit(u"Hello world");
    EXPECT_EQ(g_ed.sel_lo, om.nxyl);  // the caret starts at the end
    for (int i = 1; i <= 5; ++i) om.xyl[i].cc_size = int16_t(110 + i);
    Set_Sel_Range(1, 6);  // "Hello"
    ASSERT_TRUE(Text_Inject_Unicode(u"Hey"));
    EXPECT_EQ(OM_To_Str(om), u"Hey world");
    // The first three entries keep their overrides; the rest went with the deleted ones.
    EXPECT_EQ(om.xyl[1].cc_size, 111);
    EXPECT_EQ(om.xyl[3].cc_size, 113);
    EXPECT_EQ(om.xyl[4].cc_char, u' ');
    EXPECT_EQ(om.xyl[4].cc_size, 100);
    EXPECT_EQ(g_ed.sel_lo, 4);
    EXPECT_EQ(g_ed.sel_hi, 4);
    EXPECT_TRUE(om.cache.progress & (1u << READY_COORD)) << "laid out again";

    // A pair typed at the caret is two entries and one character.
    ASSERT_TRUE(Text_Inject_Unicode(u"\U0001F600\r\n"));
    EXPECT_EQ(OM_To_Str(om), u"Hey\U0001F600\r\n world");
    EXPECT_EQ(g_ed.sel_lo, 7);
    EXPECT_EQ(om.xyl[5].mm_width, 0);  // measured with its first half
    EXPECT_EQ(om.xyl[6].mm_cat, CC_HARDBREAK);
    Set_Sel_Empty(5);  // between the halves
    EXPECT_EQ(g_ed.sel_lo, 4);
    EXPECT_EQ(Find_Fwd_Char(om, 4), 6);
    EXPECT_EQ(Find_Bak_Char(om, 6), 4);
    Set_Sel_Range(5, 5);
    Set_Sel_Range(2, 5);  // the far end moves past the pair
    EXPECT_EQ(g_ed.sel_hi, 6);

    // Hebrew letters typed one after another keep the caret in place.
    Set_Sel_Empty(1);
    ASSERT_TRUE(Text_Inject_Unicode(u"\u05D0"));
    ASSERT_TRUE(Text_Inject_Unicode(u"\u05D1"));
    EXPECT_EQ(OM_To_Str(om).substr(0, 2), u"\u05D1\u05D0");
    EXPECT_EQ(g_ed.sel_lo, 1);
}

TEST_F(TextEdit, AFullBlockShortensAnInsertionAndNeverKeepsHalfAPair) {
    a_om_rec& om = Edit(std::u16string(MAX_TEXT_CHARS - 2, u'x').c_str());
    ASSERT_EQ(om.nxyl, MAX_NXYL - 2);
    // Three units, room for two: the pair would be cut in half, so only the letter goes in.
    ASSERT_TRUE(Text_Inject_Unicode(u"a\U0001F600"));
    EXPECT_EQ(om.nxyl, MAX_NXYL - 1);
    EXPECT_EQ(om.xyl[om.nxyl - 1].cc_char, u'a');
    sounds.clear();
    EXPECT_FALSE(Text_Inject_Unicode(u"\U0001F600"));
    EXPECT_EQ(sounds, std::vector<int>{SND_BLOCK_WARNING});
    ASSERT_TRUE(Text_Inject_Unicode(u"b"));
    EXPECT_EQ(om.nxyl, MAX_NXYL);
    EXPECT_EQ(om.xyl[MAX_NXYL].mm_cat, CC_EOS);
    sounds.clear();
    EXPECT_FALSE(Text_Inject_Unicode(u"c"));
    EXPECT_EQ(sounds, std::vector<int>{SND_BLOCK_WARNING});
    // Replacing a selection needs no free entry.
    Set_Sel_Range(1, 3);
    ASSERT_TRUE(Text_Inject_Unicode(u"\U0001F600"));
    EXPECT_EQ(om.nxyl, MAX_NXYL);
    EXPECT_EQ(OM_To_Str(om).substr(0, 3), u"\U0001F600x");

    // Without editing, a string is a new block.
    Edit_Leave();
    const int before = U().oj.nlist;
    ASSERT_TRUE(Text_Inject_Unicode(u"new"));
    EXPECT_EQ(U().oj.nlist, before + 1);
}

// The moves find the same positions whatever path the lines follow: words
// and line ends by the characters, up and down by the distance along the
// line, kept over a short line in between.
TEST_F(TextEdit, MovesFindTheSamePositionsOnEveryLayout) {
    for (uint8_t layout : kLines) {
        SCOPED_TRACE("layout " + std::to_string(layout));
        // Positions: "abcdef" 1..6, break 7, "ab" 8..9, break 10, "abcdef" 11..16, end 17.
        a_om_rec& om = Edit_On(layout, u"abcdef\r\nab\r\nabcdef");
        ASSERT_EQ(om.nxyl, 17);
        Set_Sel_Empty(6);
        const int down[] = {10, 16, 17};  // over the short line and back to the column; then the end
        for (int want : down) {
            EXPECT_TRUE(Key(EKEY_DOWN));
            EXPECT_EQ(Sel(), P(want, want));
        }
        Set_Sel_Empty(16);
        const int up[] = {10, 6, 1};
        for (int want : up) {
            EXPECT_TRUE(Key(EKEY_UP));
            EXPECT_EQ(Sel(), P(want, want));
        }
        Key(EKEY_DOWN);  // the column is kept through the start
        EXPECT_EQ(Sel(), P(10, 10));
        Set_Sel_Empty(1);  // a click forgets it
        Key(EKEY_DOWN);
        EXPECT_EQ(Sel(), P(8, 8));
        Key(EKEY_DOWN, EMOD_SHIFT);
        EXPECT_EQ(Sel(), P(8, 11));
        Key(EKEY_RIGHT, EMOD_SHIFT | EMOD_COMMAND);  // to the end of the line
        EXPECT_EQ(Sel(), P(8, 17));
        Key(EKEY_LEFT);  // a selection collapses to its near end
        EXPECT_EQ(Sel(), P(8, 8));
        EXPECT_EQ(Find_Fwd_Word(om, 1), 8);
        EXPECT_EQ(Find_Bak_Word(om, 11), 8);
        EXPECT_EQ(Find_Bak_CurrLine(om, 9), 8);
        EXPECT_EQ(Find_Fwd_CurrLine(om, 9), 10);
        Edit_Leave();
    }
    // A spiral's lines are its turns: down is the next turn at the same
    // angle, up the turn before; a turn's end is as far as it goes.
    for (uint8_t layout : {LAYOUT_SPIRAL_CW, LAYOUT_SPIRAL_CCW}) {
        SCOPED_TRACE("layout " + std::to_string(layout));
        a_om_rec& om = Edit_On(layout, std::u16string(90, u'o').c_str());
        const Point c = om.rotcenter;
        auto polar = [&](int p) {
            const a_caret_spot s = Caret_Spot(om, p);
            return std::pair{std::atan2(-(s.y - c.v), double(s.x - c.h)) * 180 / 3.14159265358979323846,
                             std::hypot(s.x - c.h, s.y - c.v)};
        };
        Set_Sel_Empty(5);
        Key(EKEY_DOWN);
        const int below = g_ed.sel_lo;
        ASSERT_GT(below, 5);
        ASSERT_LT(below, om.nxyl);
        EXPECT_NEAR(std::remainder(polar(below).first - polar(5).first, 360), 0, 8);
        EXPECT_GT(std::abs(polar(below).second - polar(5).second), 10) << "another turn";
        Key(EKEY_UP);
        EXPECT_EQ(g_ed.sel_lo, 5);
        Key(EKEY_UP);
        EXPECT_EQ(g_ed.sel_lo, 1);
        Edit_Leave();
    }
}

// The key table on one line: words, line ends, deletions and the refusal
// sound where nothing moves; a pair is one character to every key.
TEST_F(TextEdit, KeysMoveSelectAndDeleteAsTheTableSays) {
    a_om_rec& om = Edit_On(LAYOUT_HORZ, u"one two  thr\U0001F600e");
    const int end = om.nxyl;  // 17
    EXPECT_EQ(Sel(), P(end, end));
    sounds.clear();
    EXPECT_TRUE(Key(EKEY_END));
    EXPECT_EQ(sounds, std::vector<int>{SND_BLOCK_WARNING});  // already there
    Key(EKEY_LEFT);  // 'e'
    Key(EKEY_LEFT);  // over the pair
    EXPECT_EQ(Sel(), P(13, 13));
    Key(EKEY_RIGHT, EMOD_SHIFT);
    EXPECT_EQ(Sel(), P(13, 15));
    Key(EKEY_LEFT, EMOD_CONTROL);  // word left from the selection's start
    EXPECT_EQ(Sel(), P(10, 10));
    Key(EKEY_LEFT, EMOD_OPTION);
    EXPECT_EQ(Sel(), P(5, 5));
    Key(EKEY_RIGHT, EMOD_SHIFT | EMOD_OPTION);
    EXPECT_EQ(Sel(), P(5, 10));
    Type(u'X');  // replaces "two  "
    EXPECT_EQ(OM_To_Str(om), u"one Xthr\U0001F600e");
    Type(0x08, EMOD_OPTION);  // the previous word
    EXPECT_EQ(OM_To_Str(om), u"one thr\U0001F600e");
    Set_Sel_Empty(10);  // after the pair
    Type(0x08);
    EXPECT_EQ(OM_To_Str(om), u"one thre");
    Key(EKEY_HOME);
    Type(127);  // Delete
    EXPECT_EQ(OM_To_Str(om), u"ne thre");
    Type(127, EMOD_COMMAND);  // to the end of the line
    EXPECT_EQ(OM_To_Str(om), u"");
    sounds.clear();
    Type(0x08);
    Key(EKEY_LEFT);
    EXPECT_EQ(sounds, (std::vector<int>{SND_BLOCK_WARNING, SND_BLOCK_WARNING}));
    // A pair typed as two keystrokes is one character; half of one is none.
    Type(0xD83D);
    Type(0xDE00);
    Type(0xDE00);
    Key(EKEY_RETURN);
    EXPECT_EQ(OM_To_Str(om), u"\U0001F600\r\n");
    EXPECT_FALSE(Key(0x21));  // Page Up is not the editor's
    EXPECT_FALSE(Type(u'c', EMOD_CONTROL));  // nor a command's letter
}

// A click finds each position at its own caret spot on every layout; double
// and triple clicks take the word and the line (the last through the end).
TEST_F(TextEdit, ClicksFindThePositionUnderThemOnEveryLayout) {
    for (uint8_t layout : kLayouts) {
        SCOPED_TRACE("layout " + std::to_string(layout));
        a_om_rec& om = Edit_On(layout, u"Hi there\r\nsecond");
        for (int p = 1; p <= om.nxyl; ++p) {
            const a_caret_spot s = Caret_Spot(om, p);
            EXPECT_EQ(Text_Pos_At(om, s.x + 0.4f, s.y - 0.4f), p);
        }
        const a_caret_spot at_t = Caret_Spot(om, 5);  // in "there"
        Track_Text_Range(at_t.x, at_t.y, 2, false);
        EXPECT_EQ(Sel(), P(4, 9));
        Track_Text_Range(at_t.x, at_t.y, 1, false);
        const a_caret_spot at_c = Caret_Spot(om, 13);
        Track_Text_Drag(at_c.x, at_c.y);
        EXPECT_EQ(Sel(), P(5, 13));
        Track_Text_Range(at_c.x, at_c.y, 3, false);
        EXPECT_EQ(Sel(), P(10, om.nxyl));
        Edit_Leave();
    }
}

// The caret blinks 60 ticks on and 15 off, shows again at once when it
// moves, and is drawn only with an empty selection.
TEST_F(TextEdit, TheCaretBlinksAndFollowsTheSelection) {
    a_om_rec& om = Edit_On(LAYOUT_CIRC_CW, u"Blink");
    g_caret = a_caret{};
    EXPECT_TRUE(Caret_Tick(1000));
    EXPECT_TRUE(g_caret.drawn);
    EXPECT_FALSE(Caret_Tick(1059));
    EXPECT_TRUE(Caret_Tick(1060));
    EXPECT_FALSE(g_caret.drawn);
    EXPECT_TRUE(Caret_Tick(1075));
    EXPECT_TRUE(g_caret.drawn);
    Set_Sel_Empty(2);
    EXPECT_TRUE(Caret_Tick(1080));  // moved: drawn where it is now
    EXPECT_TRUE(g_caret.drawn && g_caret.pos == 2);
    Set_Sel_Range(1, 3);
    EXPECT_TRUE(Caret_Tick(1081));
    EXPECT_FALSE(g_caret.drawn);
    // The I-beam is turned with its character: its stem runs across the line.
    const a_caret_spot s = Caret_Spot(om, 3);
    float x[9], y[9];
    Caret_Shape(s, 20, x, y);
    const double stem = std::atan2(-(y[4] - y[3]), x[4] - x[3]) * 1800 / 3.14159265358979323846;
    EXPECT_NEAR(std::remainder(stem - (s.t - 900), 3600), 0, 2) << s.t;
}

// Overrides go on the selected characters only, each change one step that
// undo takes back; a colour of their own shows in the letters.
TEST_F(TextEdit, OverridesApplyToTheSelectionAndUndoTakesThemBack) {
    namespace fs = std::filesystem;
    const fs::path runtime = fs::temp_directory_path() / ("text_edit_undo_" + std::to_string(::getpid()));
    fs::remove_all(runtime);
    fs::create_directory(runtime);
    fs::permissions(runtime, fs::perms::owner_all);
    ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    g_doc_services.history_emit = {};
    History_Init();
    gs.curr_phase = TEXT_PHASE;
    a_om_rec* om = &Edit_On(LAYOUT_CIRC_CW, u"make it bold");
    History_Base();
    const uint32_t id = g_ed.edit_objid;
    Set_Sel_Range(9, 13);  // "bold"
    History_Begin_Interaction();
    ASSERT_TRUE(Text_Style_Toggle(TEXT_BOLD_TOGGLE, true));
    History_End_Interaction();
    EXPECT_FALSE(gs.toggle_vals[TEXT_BOLD_TOGGLE]) << "the block's own toggle is not changed";
    for (int i = 1; i < om->nxyl; ++i) EXPECT_EQ(om->xyl[i].cc_boldf, i >= 9) << i;
    History_Begin_Interaction();
    gs.slider_vals[TEXTR_SIZE_SLIDER] = 150;
    ASSERT_TRUE(Delta_Text_Override());
    History_End_Interaction();
    EXPECT_EQ(om->xyl[9].cc_size, 150);
    EXPECT_TRUE(om->xyl[9].cc_boldf) << "the other overrides stay";
    EXPECT_EQ(om->xyl[8].cc_size, 100);

    Undo_Silent();
    om = Edited_OM();
    ASSERT_NE(om, nullptr) << "the edited block is found again by its id";
    EXPECT_EQ(g_ed.edit_objid, id);
    EXPECT_EQ(om->xyl[9].cc_size, 100);
    EXPECT_TRUE(om->xyl[9].cc_boldf);
    Undo_Silent();
    om = Edited_OM();
    ASSERT_NE(om, nullptr);
    EXPECT_FALSE(om->xyl[9].cc_boldf);
    Edit_Leave();
    History_Stop();
    ::unsetenv("XDG_RUNTIME_DIR");
    fs::remove_all(runtime);
}

// Leaving: OK keeps the typing as one step, Cancel takes it back, and a
// block made for the editing goes when nothing stays in it.
TEST_F(TextEdit, LeavingKeepsOrTakesBackTheTyping) {
    a_om_rec& om = Edit(u"Title");
    history.clear();
    Edit_OK();
    EXPECT_TRUE(history.empty()) << "nothing changed, no step";
    ASSERT_TRUE(Text_Edit(U().oj.nlist));
    Type(u's');
    Key(EKEY_ENTER);  // the keypad's Enter is OK
    EXPECT_EQ(history, std::vector<int>{OP_TEXT_EDIT});
    EXPECT_EQ(Edited_OM(), nullptr);
    EXPECT_EQ(OM_To_Str(om), u"Titles");

    const int n = U().oj.nlist;
    ASSERT_TRUE(Text_New());
    ASSERT_EQ(U().oj.nlist, n + 1);
    ASSERT_TRUE(g_ed.edit_new);
    history.clear();
    Edit_OK();
    EXPECT_EQ(U().oj.nlist, n) << "an empty new block goes";
    EXPECT_TRUE(history.empty());
}

// Dragging circular text turns it about its centre by the mouse's angle
// there: the middle of the line follows the mouse a quarter turn round.
TEST_F(TextEdit, DraggingCircularTextTurnsItAboutItsCentre) {
    a_text_module_scope_local text_module;
    for (uint8_t layout : {LAYOUT_CIRC_CW, LAYOUT_CIRC_CCW, LAYOUT_SPIRAL_CW}) {
        SCOPED_TRACE("layout " + std::to_string(layout));
        a_om_rec& om = Edit_On(layout, u"Around the disc");
        Edit_Leave();
        const int omx = U().oj.nlist;
        Select({omx});
        const Point c = om.rotcenter;
        const int16_t angle = om.polarangle;
        auto mid_angle = [&] {
            const a_xyl_char& m = om.xyl[om.nxyl / 2];
            return std::atan2(-(m.mm_y - c.v), double(m.mm_x - c.h)) * 180 / 3.14159265358979323846;
        };
        const double before = mid_angle();
        const Point start{int16_t(c.v - 100), c.h};                 // above the centre
        const Point left{c.v, int16_t(c.h - 100)};                  // a quarter turn counter-clockwise
        Track_Step(TRACK_INIT, omx, false, start, start);
        Track_Step(TRACK_MOVE, omx, false, start, Point{int16_t(c.v - 70), int16_t(c.h - 70)});
        Track_Step(TRACK_STOP, omx, false, start, left);
        EXPECT_EQ(om.rotcenter, c);
        EXPECT_EQ(om.polarangle, angle + 90 > 180 ? angle - 270 : angle + 90);
        EXPECT_NEAR(std::remainder(mid_angle() - before - 90, 360), 0, 3);
        Align_Horz(1, 4);  // text about a centre stays centred
        EXPECT_EQ(om.rotcenter, c);
    }
    // Straight text aligns by its anchor.
    a_om_rec& line = Edit_On(LAYOUT_HORZ, u"Straight");
    Edit_Leave();
    Select({U().oj.nlist});
    Align_Horz(1, 4);
    EXPECT_EQ(line.anchor.h, U().paintbounds.right / 4);
    Align_Vert(1, 2);
    EXPECT_EQ(line.anchor.v, U().paintbounds.bottom / 2);
}

}  // namespace
