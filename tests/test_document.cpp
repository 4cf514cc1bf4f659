// The document: units, clone runs, copies of unit content, clones, selection.
#include <gtest/gtest.h>

#include <memory>

#include "model/photo_rec.h"
#include "model/clones.h"
#include "platform/sound.h"
#include "signals_guard.h"
#include "model/document.h"
#include "platform/dialogs.h"
#include "pixels/gworld.h"
#include "template_fixtures.h"
#include "model/text_rec.h"

namespace {

std::unique_ptr<a_template> Template_Of(const std::vector<std::string>& groups) {
    auto t = std::make_unique<a_template>();
    Expand_Template(Record("T", "Test", groups), *t);
    return t;
}

// Units of kinds "A" (rectangles) and "B" (discs) in the order given.
std::unique_ptr<a_template> Kinds(const std::string& pattern) {
    auto t = std::make_unique<a_template>();
    t->nunits = static_cast<uint32_t>(pattern.size());
    for (size_t i = 0; i < pattern.size(); ++i) {
        a_unit& u = t->units[i + 1];
        u.kind = pattern[i] == 'A' ? UNIT_RECT : UNIT_CD;
        u.bbox = {0, float(i * 50), 40, float(i * 50 + 40)};
    }
    return t;
}

a_doc_unit& U(uint32_t ux) { return *g_doc.doc_units[ux]; }

void Add_Photo(a_doc_unit& u, uint32_t source) {
    a_oj_item it;
    it.objid = NextUniqueID();
    it.kind = PHOTO_BLOCK;
    it.ph = New_PH_Rec();
    it.ph->spec.source.sid = source;
    ASSERT_TRUE(OMast_Append(u.oj, it));
}

class Document : public testing::Test {
protected:
    void SetUp() override { Dialog_ScriptAnswers({}); }
    void TearDown() override { Doc_Dispose(); }
    a_signals_guard signals_{true};
};

}  // namespace

// Runs of one kind share their first unit's design; new units start with one
// paint block and centred points; 250 units open and all go again.
TEST_F(Document, NewDocumentsUnitsAndCloneRuns) {
    Doc_New(*Kinds("AABB"));
    EXPECT_TRUE(g_doc.doc_open && g_doc.doc_new);
    EXPECT_FALSE(g_doc.doc_changed);
    EXPECT_EQ(g_doc.doc_ncopies, 1);
    EXPECT_EQ(g_doc.doc_path.name, "Untitled");
    EXPECT_EQ(g_doc.upx, 1u);
    const bool clone[] = {false, true, false, true};
    for (uint32_t ux = 1; ux <= 4; ++ux) EXPECT_EQ(U(ux).clonef, clone[ux - 1]) << ux;
    EXPECT_EQ(U(2).groupx, 2u);
    EXPECT_EQ(U(3).groupx, 1u);
    EXPECT_EQ(Find_Clone_Master(4), 3u);
    const a_doc_unit& disc = U(3);
    ASSERT_EQ(disc.oj.nlist, 1);
    EXPECT_EQ(disc.oj.list[1].kind, PAINT_BLOCK);
    EXPECT_EQ(disc.oj.list[1].flags, 1u << VISIBLE_FLAG);
    EXPECT_NE(disc.oj.list[1].objid, U(1).oj.list[1].objid);
    EXPECT_EQ(disc.paintbounds, (Rect{0, 0, 1200, 1200}));
    EXPECT_EQ(disc.symmetry_center, (Point{600, 600}));
    EXPECT_EQ(disc.edit_focus, disc.ruler_origin);
    EXPECT_EQ(disc.static_[TOTAL_LAYER].targ_seq, 1u);
    EXPECT_EQ(disc.static_[PAINT1_LAYER].world, nullptr);
    EXPECT_TRUE(disc.printf);
    Doc_New(*Kinds("ABAB"));
    for (uint32_t ux = 1; ux <= 4; ++ux) EXPECT_FALSE(U(ux).clonef) << ux;

    auto t = Template_Of({Group("UNIT_RECT", 10, 25, 0, 0, 10, 10, 10, 10)});
    ASSERT_EQ(t->nunits, 250u);
    Doc_New(*t);
    EXPECT_NE(g_doc.doc_units[250], nullptr);
    EXPECT_EQ(U(250).groupx, 250u);
    Doc_Dispose();
    for (a_doc_unit* u : g_doc.doc_units) EXPECT_EQ(u, nullptr);
    EXPECT_EQ(g_doc.up, nullptr);
}

// Unclone takes the master's content: a text block keeps its id and leaves
// the source its cache; a photo is a copy of its own.
TEST_F(Document, UncloneCopiesTheMastersBlocksAndLeavesTheSourceCache) {
    Doc_New(*Kinds("AA"));
    a_oj_item text;
    text.objid = NextUniqueID();
    text.kind = TEXT_BLOCK;
    text.om = New_OM_Rec();
    text.om->nxyl = 5;
    text.om->cache.progress = 3;
    text.om->cache.text.fore = New_GWorld(8, Rect{0, 0, 4, 4});
    ASSERT_TRUE(OMast_Append(U(1).oj, text));
    Add_Photo(U(1), 42);
    U(1).edit_focus = Point{10, 20};
    Unclone(2);
    EXPECT_FALSE(U(2).clonef);
    EXPECT_EQ(U(2).edit_focus, (Point{10, 20}));
    EXPECT_TRUE(g_doc.doc_changed);
    const a_oj_item& copy = U(2).oj.list[2];
    EXPECT_EQ(copy.objid, text.objid);
    ASSERT_NE(copy.om, nullptr);
    EXPECT_NE(copy.om, text.om);
    EXPECT_EQ(copy.om->nxyl, 5);
    EXPECT_EQ(copy.om->cache.progress, 0u);
    EXPECT_EQ(copy.om->cache.text.fore, nullptr);
    EXPECT_NE(U(1).oj.list[2].om->cache.text.fore, nullptr);
    EXPECT_EQ(U(1).oj.list[2].om->cache.progress, 3u);
    ASSERT_NE(U(2).oj.list[3].ph, nullptr);
    EXPECT_NE(U(2).oj.list[3].ph, U(1).oj.list[3].ph);
    EXPECT_EQ(U(2).oj.list[3].ph->spec.source.sid, 42u);
}

TEST_F(Document, PaintLayerTravelsWithCopiesOnly) {
    Doc_New(*Kinds("AAA"));
    a_doc_unit& m = U(1);
    m.paintinuse = true;
    m.static_[PAINT1_LAYER].world = New_GWorld(32, m.paintbounds);
    m.static_[PAINT1_LAYER].mask = New_GWorld(8, m.paintbounds);
    m.static_[PAINT1_LAYER].targ_seq = m.static_[PAINT1_LAYER].curr_seq = 3;
    m.static_[TOTAL_LAYER].world = New_GWorld(32, m.paintbounds);
    Copy_Unit_Content(3, 1);
    EXPECT_FALSE(U(3).clonef);
    EXPECT_TRUE(U(3).paintinuse);
    ASSERT_NE(U(3).static_[PAINT1_LAYER].world, nullptr);
    EXPECT_NE(U(3).static_[PAINT1_LAYER].world, m.static_[PAINT1_LAYER].world);
    EXPECT_EQ(U(3).static_[PAINT1_LAYER].curr_seq, 3u);
    EXPECT_EQ(U(3).static_[TOTAL_LAYER].world, nullptr);  // composites are rebuilt
    EXPECT_EQ(U(3).groupx, 3u);                          // kept from the destination
    Dispose_Unit_Content(U(3));
    EXPECT_FALSE(U(3).paintinuse);
    EXPECT_EQ(U(3).static_[PAINT1_LAYER].world, nullptr);
    EXPECT_EQ(U(3).oj.nlist, 0);
}

TEST_F(Document, CloneToggleRules) {
    static std::vector<int> ops, sounds;
    ops.clear();
    sounds.clear();
    (void)g_doc_services.history_emit.Install([](int op) { ops.push_back(op); });
    (void)g_doc_services.play_sound.Install([](int s) { sounds.push_back(s); });
    Doc_New(*Kinds("AAAB"));
    // The first unit of a run cannot become a clone.
    EXPECT_EQ(Clone_Toggle(1), CLONE_REFUSED);
    EXPECT_EQ(Clone_Toggle(4), CLONE_REFUSED);
    EXPECT_EQ(sounds, (std::vector<int>{SND_REFUSED, SND_REFUSED}));
    // A clone becomes independent at once.
    EXPECT_EQ(Clone_Toggle(2), CLONE_TOGGLED);
    EXPECT_FALSE(U(2).clonef);
    // An empty unit becomes a clone without a question.
    EXPECT_EQ(Clone_Toggle(2), CLONE_TOGGLED);
    EXPECT_TRUE(U(2).clonef);
    EXPECT_TRUE(Dialog_History().empty());
    EXPECT_EQ(U(2).oj.nlist, 0);
    // A designed unit asks first; Cancel keeps it.
    EXPECT_EQ(Clone_Toggle(3), CLONE_TOGGLED);
    Add_Photo(U(3), 1);
    Dialog_ScriptAnswers({1});
    EXPECT_EQ(Clone_Toggle(3), CLONE_CANCELLED);
    EXPECT_FALSE(U(3).clonef);
    ASSERT_EQ(Dialog_History().size(), 1u);
    EXPECT_EQ(Dialog_History()[0].buttons, (std::vector<std::string>{"OK", "Cancel"}));
    EXPECT_NE(Dialog_History()[0].message.find("original label"), std::string::npos);
    Dialog_ScriptAnswers({0});
    EXPECT_EQ(Clone_Toggle(3), CLONE_TOGGLED);
    EXPECT_TRUE(U(3).clonef);
    // The print toggle flips one unit, clone or not, as one step.
    g_doc.doc_changed = false;
    Print_Toggle(3);
    EXPECT_FALSE(U(3).printf);
    EXPECT_TRUE(U(2).printf);
    EXPECT_TRUE(g_doc.doc_changed);
    Print_Toggle(3);
    EXPECT_TRUE(U(3).printf);
    EXPECT_EQ(ops, (std::vector<int>{OP_UNCLONE, OP_CLONE, OP_UNCLONE, OP_CLONE, OP_TOGGLEPRINT, OP_TOGGLEPRINT}));
}

// Selecting the current unit again does nothing; a clone does not move the
// canvas palette; the window title follows the document's name.
TEST_F(Document, SelectingUnitsAndTheWindowTitle) {
    static int refreshes = 0, selections = 0;
    static std::string title;
    refreshes = selections = 0;
    (void)g_doc_notices.unit_dirty.Subscribe([](uint32_t, const Rect&) { ++refreshes; });
    (void)g_doc_notices.unit_selected.Subscribe([](uint32_t) { ++selections; });
    (void)g_doc_notices.title.Subscribe([](const std::string& t) { title = t; });
    Doc_New(*Kinds("AAB"));
    EXPECT_EQ(title, "Cirquel - Untitled");
    EXPECT_EQ(Calc_Direct_Print_Kind(), NOT_DIRECT);
    int r = refreshes, s = selections;
    Select_Doc_Unit(1);
    EXPECT_EQ(refreshes, r);
    Select_Doc_Unit(2);  // a clone: the canvas palette does not follow it
    EXPECT_EQ(g_doc.up, g_doc.doc_units[2]);
    EXPECT_EQ(selections, s);
    Select_Doc_Unit(3);
    EXPECT_EQ(selections, s + 1);
    EXPECT_EQ(refreshes, r + 2);
    Doc_Name_Changed("");
    EXPECT_EQ(title, "Cirquel");
}
