// New documents from the catalogue and switching to another layout.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "model/photo_rec.h"
#include "signals_guard.h"
#include "model/document.h"
#include "model/layout_switch.h"
#include "pixels/gworld.h"
#include "pixels/pixmap.h"
#include "platform/dialogs.h"
#include "base/prefs.h"
#include "templates/catalogue.h"
#include "templates/recent_layouts.h"

namespace {

std::unique_ptr<a_template> Kinds(const std::vector<uint8_t>& kinds) {
    auto t = std::make_unique<a_template>();
    t->nunits = static_cast<uint32_t>(kinds.size());
    for (size_t i = 0; i < kinds.size(); ++i) {
        t->units[i + 1].kind = kinds[i];
        t->units[i + 1].bbox = {0, float(i * 130), 120, float(i * 130 + 120)};
    }
    return t;
}

a_doc_unit& U(uint32_t ux) { return *g_doc.doc_units[ux]; }

void Design(uint32_t ux, uint32_t source) {
    a_oj_item it;
    it.objid = NextUniqueID();
    it.kind = PHOTO_BLOCK;
    it.ph = New_PH_Rec();
    it.ph->spec.source.sid = source;
    EXPECT_TRUE(OMast_Append(U(ux).oj, it));
}

uint32_t Source_Of(uint32_t ux) {
    const a_oj_master& oj = U(ux).oj;
    return oj.nlist >= 2 && oj.list[2].ph ? oj.list[2].ph->spec.source.sid : 0;
}

struct a_switch_script {
    int chosen = 0;
    bool save_ok = true;
    int saves = 0;
    int remap_dialogs = 0;
    bool remap_ok = true;
};
a_switch_script g_script;

class LayoutSwitch : public testing::Test {
protected:
    void SetUp() override {
        g_script = a_switch_script{};
        Dialog_ScriptAnswers({});
        (void)g_doc_services.save_document.Install([] {
            ++g_script.saves;
            return g_script.save_ok;
        });
        (void)g_doc_services.choose_template.Install([] { return g_script.chosen; });
        (void)g_doc_services.ask_complex_remap.Install(
            [](const a_template&, a_unit_mapping*, uint32_t, const a_sig_source*) {
                ++g_script.remap_dialogs;
                return g_script.remap_ok;
            });
    }
    void TearDown() override { Doc_Dispose(); }
    a_signals_guard signals_{true};  // the services above are removed with it
    static void Map(const a_template& t, a_template_mapping& map, bool& exact) {
        a_sig_list sig;
        Calc_Template_Mapping(t, map, sig, exact);
    }
};

}  // namespace

TEST_F(LayoutSwitch, NewDocumentFromTheWorkingListIsRemembered) {
    a_pref_rec saved = g_pref;
    int index = Find_Template("A-ONE 29125");
    Proj_PickLayout2(index);
    EXPECT_EQ(g_doc.doc_template.nunits, 2u);
    EXPECT_TRUE(U(2).clonef);
    EXPECT_NE(RecentLay_Find("A-ONE 29125"), 0);
    g_pref = saved;
}

// Which old unit each new one copies or clones, and whether the mapping is
// exact (no dialog). Unit u of the old layout is designed with source 4 + u.
TEST_F(LayoutSwitch, MappingsCopyThenCloneAndAskOnlyWhenADesignHasNoHome) {
    struct a_want { uint32_t ux; int kind; int from; };  // from -1: any
    struct a_case {
        std::vector<uint8_t> old_kinds;
        std::vector<uint32_t> designed;
        std::vector<uint8_t> new_kinds;
        uint32_t unindexed;  // a new unit that may stay empty, or 0
        bool exact;
        std::vector<a_want> want;
    };
    const a_case cases[] = {
        {{UNIT_CD, UNIT_JEWEL_LID1}, {}, {UNIT_VHS_FACE, UNIT_VHS_SPINE}, 0, true, {{1, UMP_EMPTY, -1}}},
        {{UNIT_CD, UNIT_CD}, {1}, {UNIT_CD, UNIT_CD}, 0, true, {{1, UMP_COPY, 1}, {2, UMP_CLONE, 1}}},
        // An insert with no new home asks the user.
        {{UNIT_CD, UNIT_JEWEL_LID1}, {1, 2}, {UNIT_CD, UNIT_CD}, 0, false, {{2, UMP_CLONE, -1}}},
        {{UNIT_CD}, {1}, {UNIT_CD, UNIT_JEWEL_SPINE}, 0, false, {}},
        {{UNIT_CD}, {1}, {UNIT_CD, UNIT_JEWEL_SPINE}, 2, true, {}},
        // The face copies old 2, disc 2 copies old 1, discs 3 and 4 walk back
        // over clones to disc 2: a clone's parent is a copy of the same kind.
        {{UNIT_CD, UNIT_VHS_FACE}, {1, 2}, {UNIT_VHS_FACE, UNIT_CD, UNIT_CD, UNIT_CD}, 0, true,
         {{1, UMP_COPY, 2}, {2, UMP_COPY, 1}, {3, UMP_CLONE, 2}, {4, UMP_CLONE, 2}}},
    };
    for (size_t k = 0; k < std::size(cases); ++k) {
        SCOPED_TRACE(k);
        const a_case& c = cases[k];
        Doc_New(*Kinds(c.old_kinds));
        for (uint32_t ux : c.designed) Design(ux, 4 + ux);
        auto t = Kinds(c.new_kinds);
        if (c.unindexed) t->units[c.unindexed].uflags = Flag_Bit(UNIT_NOTINDEXED);
        a_template_mapping map;
        bool exact = !c.exact;
        Map(*t, map, exact);
        EXPECT_EQ(exact, c.exact);
        for (const a_want& w : c.want) {
            EXPECT_EQ(int(map[w.ux].mapkind), w.kind) << "unit " << w.ux;
            if (w.from >= 0) {
                EXPECT_EQ(map[w.ux].ux, uint32_t(w.from)) << "unit " << w.ux;
            }
        }
    }
}

TEST_F(LayoutSwitch, RemapDialogRowsAndTheirResult) {
    auto t = Kinds({UNIT_CD, UNIT_CD, UNIT_CD, UNIT_VHS_FACE, UNIT_VHS_FACE});
    auto rec = std::make_unique<a_remap_rec>();
    rec->templ = t.get();
    rec->map[1] = {UMP_COPY, 4};
    rec->map[2] = {UMP_CLONE, 1};
    rec->map[3] = {UMP_EMPTY, 0};
    rec->map[4] = {UMP_COPY, 7};
    rec->map[5] = {UMP_COPY, 4};
    Remap_Init_Rows(*rec);
    EXPECT_EQ(rec->rows, (std::vector<uint32_t>{4, 4, 0, 7, 4}));
    rec->rows = {4, 4, 4, 7, 7};
    Remap_From_Dialog(*rec);
    EXPECT_EQ(rec->map[1], (a_unit_mapping{UMP_COPY, 4}));
    EXPECT_EQ(rec->map[2], (a_unit_mapping{UMP_CLONE, 1}));
    EXPECT_EQ(rec->map[3], (a_unit_mapping{UMP_CLONE, 1}));
    EXPECT_EQ(rec->map[4], (a_unit_mapping{UMP_COPY, 7}));
    EXPECT_EQ(rec->map[5], (a_unit_mapping{UMP_CLONE, 4}));
    rec->rows = {0, 4, 4, 0, 7};
    Remap_From_Dialog(*rec);
    EXPECT_EQ(rec->map[1].mapkind, UMP_EMPTY);
    EXPECT_EQ(rec->map[2], (a_unit_mapping{UMP_COPY, 4}));
    EXPECT_EQ(rec->map[3], (a_unit_mapping{UMP_CLONE, 2}));
    EXPECT_EQ(rec->map[5], (a_unit_mapping{UMP_COPY, 7}));
}

TEST_F(LayoutSwitch, SwitchingCarriesDesignsAndStartsClean) {
    Doc_New(*Kinds({UNIT_CD, UNIT_VHS_FACE}));
    Design(1, 5);
    Design(2, 6);
    g_doc.doc_changed = true;
    g_doc.doc_path.name = "/tmp/party.cd4";
    g_script.chosen = Find_Template("UAL 565 series");  // faces and spines: the disc has no home
    Dialog_ScriptAnswers({1});                          // Don't Save
    EXPECT_EQ(Switch_Layout(), SWITCH_DONE);
    ASSERT_EQ(Dialog_History().size(), 1u);
    EXPECT_EQ(Dialog_History()[0].message,
              "Save changes to \"party.cd4\" before switching layouts?");
    EXPECT_EQ(g_script.remap_dialogs, 1);
    EXPECT_EQ(g_doc.doc_template.nunits, 8u);
    EXPECT_EQ(Source_Of(1), 6u);  // the old face
    EXPECT_TRUE(U(2).clonef);
    EXPECT_FALSE(U(5).clonef);  // first spine: an empty master
    EXPECT_EQ(Source_Of(5), 0u);
    EXPECT_FALSE(g_doc.doc_changed);
    EXPECT_EQ(g_doc.doc_path.name, "/tmp/party.cd4");
    EXPECT_EQ(g_doc.upx, 1u);
}

TEST_F(LayoutSwitch, CancelAndFailedSaveLeaveTheDocumentAnExactMappingAsksNothing) {
    Doc_New(*Kinds({UNIT_CD}));
    Design(1, 5);
    g_doc.doc_changed = true;
    a_doc_unit* before = g_doc.doc_units[1];
    g_script.chosen = Find_Template("A-ONE 29125");
    Dialog_ScriptAnswers({2});
    EXPECT_EQ(Switch_Layout(), SWITCH_CANCELLED);
    g_script.save_ok = false;
    Dialog_ScriptAnswers({0});
    EXPECT_EQ(Switch_Layout(), SWITCH_SAVE_FAILED);
    EXPECT_EQ(g_script.saves, 1);
    g_doc.doc_changed = false;
    g_script.chosen = 0;  // chooser cancelled
    EXPECT_EQ(Switch_Layout(), SWITCH_CANCELLED);
    g_script.chosen = Find_Template("UAL 565 series");
    g_script.remap_ok = false;
    EXPECT_EQ(Switch_Layout(), SWITCH_CANCELLED);
    EXPECT_EQ(g_doc.doc_units[1], before);
    EXPECT_EQ(Source_Of(1), 5u);
    EXPECT_EQ(g_doc.doc_template.nunits, 1u);
    // An exact mapping switches without the dialog.
    g_script.chosen = Find_Template("A-ONE 29125");
    EXPECT_EQ(Switch_Layout(), SWITCH_DONE);
    EXPECT_EQ(g_script.remap_dialogs, 1);  // the cancelled one only
    EXPECT_EQ(Source_Of(1), 5u);
    EXPECT_TRUE(U(2).clonef);
}

// A disc's design moved to a smaller, wider label keeps its proportions:
// places keep their share of each side, sizes follow the height, and the
// paint layer is resampled to the new unit's own bounds.
TEST_F(LayoutSwitch, ADesignIsScaledToANewUnitOfAnotherSize) {
    Doc_New(*Kinds({UNIT_CD}));  // 1200 x 1200 cells on 120 mm
    Design(1, 5);
    a_ph_rec& ph = *U(1).oj.list[2].ph;
    ph.dst_center = Point{600, 300};
    ph.spec.scalingh = 1000;
    ph.spec.scalingv = 100;
    U(1).paintinuse = true;
    Sync_Existence(PAINT1_LAYER, U(1), true);
    for (int y = 400; y < 800; ++y) std::memset(PixMap_Row(U(1).static_[PAINT1_LAYER].mask->pix, y), 0xA0, 1200);

    a_template label;
    label.nunits = 1;
    label.units[1].kind = UNIT_RECT;
    label.units[1].bbox = {0, 0, 60, 30};  // 709 x 354 cells
    a_template_mapping map;
    map[1] = a_unit_mapping{UMP_COPY, 1};
    Do_Remap(label, map);

    const a_doc_unit& u = U(1);
    EXPECT_EQ(u.paintbounds, (Rect{0, 0, 354, 709}));
    const a_ph_rec& moved = *u.oj.list[2].ph;
    EXPECT_EQ(moved.dst_center, (Point{177, 177}));
    EXPECT_EQ(moved.spec.scalingh, 295);
    EXPECT_EQ(moved.spec.scalingv, PHOTO_MIN_SCALING);  // 30 would be below the least
    const a_cached_gworld& paint = u.static_[PAINT1_LAYER];
    ASSERT_TRUE(u.paintinuse);
    ASSERT_NE(paint.world, nullptr);
    EXPECT_EQ(paint.world->pix.bounds, u.paintbounds);
    EXPECT_EQ(paint.mask->pix.bounds, u.paintbounds);
    EXPECT_EQ(PixMap_Row(paint.mask->pix, 177)[700], 0xA0);  // rows 400..799 become 118..265
    EXPECT_EQ(PixMap_Row(paint.mask->pix, 100)[300], 0);
    EXPECT_EQ(PixMap_Row(paint.mask->pix, 280)[300], 0);
}
