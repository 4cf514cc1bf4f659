// The Edit and Arrange menus through the command dispatcher, and the two
// private block formats of the clipboard read back from what we write and
// from damaged bytes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "block_fixtures.h"
#include "images/photo_scrap.h"
#include "model/history_ops.h"
#include "platform/clipboard.h"
#include "platform/image_codec.h"
#include "platform/sound.h"
#include "shell/commands.h"
#include "shell/edit_cmds.h"
#include "shell/mainloop.h"
#include "shell/menus.h"
#include "render/compositor.h"
#include "text/text_blocks.h"
#include "text/text_edit.h"
#include "text/text_scrap.h"
#include "ui/interface.h"

namespace {

class EditCommands : public BlockTest {
protected:
    void SetUp() override {
        BlockTest::SetUp();
        Commands_Init();  // as the program starts them; they stay for the other tests
        (void)g_doc_services.history_pending.Install([this](int op) { pending.push_back(op); });
    }
    void TearDown() override {
        Phase_Set(NODOC_PHASE);
        BlockTest::TearDown();
    }
    static bool Run(int command) {
        return DoMenuEvent(false, false, Menu_Item(command), Menu_Category(command));
    }
    int Text_Block(const char16_t* text) { return Text_New2(text, nullptr, Point{-1000, -1000}, false); }
    std::u16string Text_Of(int omx) { return OM_To_Str(*Item(omx).om); }
    std::vector<int> pending;
};

std::string Photo_Or_Text_Key(const a_pasted_ph_rec& p) {
    return std::to_string(p.ojkind) + "/" + std::to_string(p.ph.dst_box.left) + "/" +
           std::to_string(p.ph.spec.source.sid) + "/" + std::to_string(p.ph.spec.edge_kind);
}
std::string Photo_Or_Text_Key(const a_om_rec& om) {
    std::u16string s = OM_To_Str(om);
    return std::string(s.begin(), s.end()) + "/" + std::to_string(om.size) + "/" + std::to_string(om.glowf);
}

// Every cut of a scrap is refused with a reason and leaves the record alone;
// the whole scrap comes back equal.
template <typename T, typename Read>
void Check_Scrap(const std::vector<uint8_t>& bytes, const T& original, Read read) {
    T back{};
    std::string why;
    ASSERT_TRUE(read(bytes, back, why)) << why;
    EXPECT_EQ(Photo_Or_Text_Key(back), Photo_Or_Text_Key(original));
    for (size_t n = 0; n < bytes.size(); n += 1 + n / 8) {
        T sentinel = original;
        why.clear();
        EXPECT_FALSE(read(std::vector<uint8_t>(bytes.begin(), bytes.begin() + long(n)), sentinel, why)) << n;
        EXPECT_FALSE(why.empty());
        EXPECT_EQ(Photo_Or_Text_Key(sentinel), Photo_Or_Text_Key(original));
    }
    std::vector<uint8_t> later = bytes;
    later[4] = 2;  // a version we do not know
    EXPECT_FALSE(read(later, back, why));
    EXPECT_NE(why.find("version 2"), std::string::npos) << why;
}

}  // namespace

TEST_F(EditCommands, ScrapsComeBackWholeAndDamagedOnesChangeNothing) {
    a_pasted_ph_rec photo;
    photo.ojkind = SYMBOL_BLOCK;
    photo.ph.dst_box = Box_At(10, 12, 30, 20);
    photo.ph.dst_center = Rect_Centre(photo.ph.dst_box);
    photo.ph.spec.source.kind = SOURCE_CLIPBOARD;
    photo.ph.spec.source.sid = 77;
    photo.ph.spec.edge_kind = EDGE_ROUGH;
    Check_Scrap(Photo_Block_Clip_Bytes(photo), photo, Photo_Block_From_Clip);
    std::vector<uint8_t> slot = Photo_Block_Clip_Bytes(photo);
    slot[6] = TEXT_BLOCK;  // no picture kind
    a_pasted_ph_rec back;
    std::string why;
    EXPECT_FALSE(Photo_Block_From_Clip(slot, back, why));

    a_om_rec& om = *Item(Text_Block(u"Side A\r\nSide \U0001F600")).om;
    om.size = 40;
    om.glowf = true;
    Check_Scrap(Text_Block_Clip_Bytes(om), om, Text_Block_From_Clip);
}

// Copy and paste a text block, cut it, paste plain text as a new block; a
// damaged block of ours refuses the paste even with text beside it.
TEST_F(EditCommands, CopyCutAndPasteThroughTheClipboard) {
    Phase_Set(TEXT_PHASE);
    const int first = Text_Block(u"Summer 2026");
    Select({first});
    const int n = U().oj.nlist;
    ASSERT_TRUE(Run(MENU_EDIT + 5));  // copy
    EXPECT_EQ(Clipboard_Text(), u"Summer 2026");
    ASSERT_TRUE(Run(MENU_EDIT + 6));  // paste
    ASSERT_EQ(U().oj.nlist, n + 1);
    EXPECT_EQ(Text_Of(n + 1), u"Summer 2026");
    EXPECT_EQ(pending.back(), int(OP_TEXT_PASTE));
    EXPECT_TRUE(Edit_Copy(true));  // cut the pasted copy, now selected
    EXPECT_EQ(U().oj.nlist, n);

    Phase_Set(PHOTO_PHASE);
    ASSERT_TRUE(Clipboard_Put(u"Track one", {}));
    ASSERT_TRUE(Run(MENU_EDIT + 6));
    EXPECT_EQ(gs.curr_phase, TEXT_PHASE);
    ASSERT_EQ(U().oj.nlist, n + 1);
    EXPECT_EQ(Text_Of(n + 1), u"Track one");

    ASSERT_TRUE(Clipboard_Put(u"fallback", {a_clip_format{TEXT_BLOCK_CLIP_FORMAT, {'C', 'T', 'X', 'T', 1, 0, 9}}}));
    Sound_ClearLog();
    EXPECT_FALSE(Edit_Paste());
    EXPECT_EQ(U().oj.nlist, n + 1);
    EXPECT_EQ(Edit_Paste_Refusal(), "the clipboard's text block is damaged");
    EXPECT_EQ(Sound_Log(), std::vector<int>{SND_REFUSED});

    // A picture another program put there becomes a photo block.
    std::vector<uint32_t> pixels(24 * 16, 0xFF2040C0u);
    std::vector<uint8_t> png;
    ASSERT_TRUE(Codec_Encode(reinterpret_cast<const uint8_t*>(pixels.data()), 24, 16, 24 * 4, "png", -1, 72, png));
    ASSERT_TRUE(Clipboard_Put(u"", {a_clip_format{"image/png", png}}));
    ASSERT_TRUE(Run(MENU_EDIT + 6));
    EXPECT_EQ(gs.curr_phase, PHOTO_PHASE);
    ASSERT_EQ(U().oj.nlist, n + 2);
    int pasted = 0;  // photos go under the text
    for (int i = 1; i <= U().oj.nlist; ++i)
        if (Item(i).kind == PHOTO_BLOCK && Item(i).ph->spec.source.kind == SOURCE_CLIPBOARD) pasted = i;
    EXPECT_GT(pasted, 0);

    // Copy empties the clipboard first, even where it has nothing to put.
    Phase_Set(CANVAS_PHASE);
    ASSERT_TRUE(Clipboard_Put(u"from another program", {}));
    Sound_ClearLog();
    ASSERT_TRUE(Run(MENU_EDIT + 5));  // the command runs; nothing to copy in this phase
    EXPECT_EQ(Sound_Log(), std::vector<int>{SND_REFUSED});
    EXPECT_EQ(Clipboard_Text(), u"");
    std::vector<uint8_t> none;
    EXPECT_FALSE(Clipboard_Get("image/png", 1 << 20, none));
}

// While a block is edited the clipboard holds characters: our run keeps
// their overrides, plain text comes from anywhere, and a damaged run of ours
// changes nothing.
TEST_F(EditCommands, CharactersCopiedAndPastedKeepTheirOverrides) {
    Phase_Set(TEXT_PHASE);
    const int omx = Text_Block(u"Hello \U0001F600 world");
    a_om_rec& om = *Item(omx).om;
    for (int i = 2; i <= 5; ++i) om.xyl[i].cc_size = int16_t(120 + i), om.xyl[i].cc_nudgey = int16_t(i);
    om.xyl[7].cc_color = a_win_pixel32{0, 0, 255, 255};
    ASSERT_TRUE(Text_Edit(omx));
    Set_Sel_Range(2, 9);  // "ello " and the pair
    pending.clear();
    ASSERT_TRUE(Run(MENU_EDIT + 4));  // cut
    EXPECT_EQ(Clipboard_Text(), u"ello \U0001F600");
    EXPECT_EQ(Text_Of(omx), u"H world");
    EXPECT_EQ(pending, std::vector<int>{OP_TEXT_CUT});
    Set_Sel_Empty(om.nxyl);
    ASSERT_TRUE(Run(MENU_EDIT + 6));  // paste at the end
    EXPECT_EQ(Text_Of(omx), u"H worldello \U0001F600");
    EXPECT_EQ(pending.back(), int(OP_TEXT_PASTE));
    const int at = 8;  // where the run went
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(om.xyl[at + i].cc_size, 122 + i);
        EXPECT_EQ(om.xyl[at + i].cc_nudgey, 2 + i);
    }
    EXPECT_EQ(om.xyl[at + 5].cc_color, (a_win_pixel32{0, 0, 255, 255}));
    EXPECT_EQ(g_ed.sel_lo, om.nxyl);

    // Select All takes every character; plain text from another program replaces them.
    ASSERT_TRUE(Run(MENU_EDIT + 7));
    EXPECT_EQ(g_ed.sel_lo, 1);
    EXPECT_EQ(g_ed.sel_hi, om.nxyl);
    ASSERT_TRUE(Clipboard_Put(u"Side B\r\nTrack 1", {}));
    ASSERT_TRUE(Run(MENU_EDIT + 6));
    EXPECT_EQ(Text_Of(omx), u"Side B\r\nTrack 1");

    // A damaged run is refused with its reason, the text as it was.
    std::vector<uint8_t> bytes = Text_Run_Clip_Bytes(om, 1, 5);
    bytes.resize(bytes.size() - 3);
    ASSERT_TRUE(Clipboard_Put(u"fallback", {a_clip_format{TEXT_RUN_CLIP_FORMAT, bytes}}));
    Sound_ClearLog();
    EXPECT_FALSE(Edit_Paste());
    EXPECT_EQ(Edit_Paste_Refusal(), "the clipboard's text run is damaged");
    EXPECT_EQ(Text_Of(omx), u"Side B\r\nTrack 1");
    // Leaving the text phase ends the editing.
    Phase_Set(PHOTO_PHASE);
    EXPECT_EQ(Edited_OM(), nullptr);
}

// Select All and None, the arrange commands on the selection.
TEST_F(EditCommands, SelectAndArrangeThroughTheMenus) {
    Phase_Set(PHOTO_PHASE);
    const int a = Add(Box_At(10, 10, 20, 20)), b = Add(Box_At(60, 40, 30, 20));
    ASSERT_TRUE(Run(MENU_EDIT + 7));
    EXPECT_EQ(Selection_Count(), 2);
    ASSERT_TRUE(Run(MENU_EDIT + 8));
    EXPECT_EQ(Selection_Count(), 0);

    Select({a});
    const Rect& unit = U().paintbounds;
    ASSERT_TRUE(Run(MENU_ARRANGE + 6));  // centre
    EXPECT_EQ(Rect_Centre(Box(a)).h, unit.right / 2);
    EXPECT_EQ(Rect_Centre(Box(a)).v, unit.bottom / 2);
    ASSERT_TRUE(Run(MENU_HMOVE + 1));  // across to 1/4
    EXPECT_EQ(Rect_Centre(Box(a)).h, unit.right / 4);
    ASSERT_TRUE(Run(MENU_VMOVE + 5));  // down to 3/4
    EXPECT_EQ(Rect_Centre(Box(a)).v, unit.bottom * 3 / 4);
    ASSERT_EQ(b, U().oj.nlist);
    ASSERT_TRUE(Run(MENU_ARRANGE + 1));  // to the front: over b
    EXPECT_EQ(Rect_Centre(Item(U().oj.nlist).ph->dst_box).h, unit.right / 4);
    EXPECT_EQ(Item(U().oj.nlist - 1).ph->dst_box, Box_At(60, 40, 30, 20));
    // Scaling to fit is a step of its own, so Undo takes back the fit.
    Select({U().oj.nlist});
    Item(U().oj.nlist).ph->spec.subset = Rect{0, 0, 30, 60};  // the picture it shows
    pending.clear();
    const Rect before = Box(U().oj.nlist);
    ASSERT_TRUE(Run(MENU_ARRANGE + 12));
    EXPECT_NE(Box(U().oj.nlist), before);
    EXPECT_EQ(pending, std::vector<int>{OP_PHOTO_SIZE});
}
