// Editing a text block's characters at the caret: replacing a selection,
// surrogate pairs kept whole, right-to-left typing and the entry limit.
#include <gtest/gtest.h>

#include <string>

#include "block_fixtures.h"
#include "render/compositor.h"
#include "text/text_edit.h"
#include "text_fixtures.h"

namespace {

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
};

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

}  // namespace
