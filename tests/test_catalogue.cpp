// The working list, names, brands, the chooser lists and the letter bar.
#include <gtest/gtest.h>

#include <cstring>
#include <set>

#include "template_fixtures.h"
#include "templates/catalogue.h"
#include "templates/chooser.h"

namespace {

std::u16string Shown(const std::string& label) { return Filter_Template_Name(label); }

a_ctemplate Sheet(const std::string& sort, const std::string& label, const std::string& kind,
                  const std::string& flags = "") {
    return Record(sort, label, {Group(kind, 1, 2, 10, 10, 50, 50, 0, 60, flags)});
}

}  // namespace

// Every indexed catalogue record, sorted by its whole bytes (plain paper
// first, as its sort keys begin with '-'), found by its whole label only.
TEST(WorkingList, HoldsEveryIndexedRecordSortedAndFindsWholeLabels) {
    int indexed = 0;
    for (int i = 1; i <= Catalogue_Count(); ++i) {
        a_ctemplate t;
        Get_CTemplate(t, i);
        indexed += Is_Template_In_Cat(a_unit_kind_set().set(), t);
    }
    ASSERT_GT(TList_Count(), 0);
    EXPECT_EQ(TList_Count(), indexed);
    for (int i = 2; i <= TList_Count(); ++i)
        ASSERT_LT(std::memcmp(&TList_Get(i - 1), &TList_Get(i), sizeof(a_ctemplate)), 0) << i;
    EXPECT_EQ(TList_Get(1).sort[0], '-');

    int i = Find_Template("A-ONE 29125");
    ASSERT_GT(i, 0);
    EXPECT_STREQ(TList_Get(i).label, "A-ONE 29125");
    EXPECT_EQ(Find_Template("A-ONE 2912"), 0);
    EXPECT_EQ(Find_Template(""), 0);
}

using CatalogueFilter = CustomListTest;

TEST_F(CatalogueFilter, RecordsWithOnlyUnindexedGroupsDropOut) {
    a_ctemplate hidden = Sheet("BBB___000001", "Bee hidden", "UNIT_CD", "UNIT_NOTINDEXED");
    a_ctemplate disc = Sheet("BBB___000002", "Bee disc", "UNIT_CD");
    a_unit_kind_set cds;
    cds.set(UNIT_CD);
    EXPECT_FALSE(Is_Template_In_Cat(cds, hidden));
    EXPECT_FALSE(Is_Template_In_Cat(a_unit_kind_set().set(), hidden));
    EXPECT_TRUE(Is_Template_In_Cat(a_unit_kind_set(), hidden));  // the empty set takes all
    a_ctemplate mac_only = disc;
    mac_only.platforms = 1;
    EXPECT_FALSE(Is_Template_In_Cat(a_unit_kind_set(), mac_only));

    Use({hidden, disc});
    EXPECT_EQ(TList_Count(), 1);
    g_chooser_sort = SORT_BY_KIND;
    Build_Paper_Lists();
    ASSERT_EQ(paper_kind_desc.items.size(), 2u);  // "All kinds" and CD / DVD
    EXPECT_EQ(paper_kind_desc.items[1].key, unsigned(UNIT_CD));
}

TEST_F(CatalogueFilter, BrandRunsAreListedOncePerRunAndChoosingOneListsBoth) {
    Use({Sheet("RIMA__000001", "Rimage 1", "UNIT_CD"), Sheet("RQUE__000001", "R-Quest 1", "UNIT_CD"),
         Sheet("RZZZ__000001", "Rimage 2", "UNIT_CD")});
    g_chooser_sort = SORT_BY_BRAND;
    Build_Paper_Lists();
    ASSERT_EQ(paper_kind_desc.items.size(), 4u);
    EXPECT_EQ(paper_kind_desc.items[0].text, u"All brands");
    EXPECT_EQ(paper_kind_desc.items[1].text, u"Rimage");
    EXPECT_EQ(paper_kind_desc.items[2].text, u"R-Quest");
    EXPECT_EQ(paper_kind_desc.items[3].text, u"Rimage");
    PaperKind_Set(4);
    ASSERT_EQ(paper_list_desc.items.size(), 2u);
    EXPECT_EQ(paper_list_desc.items[0].text, u"Rimage 1");
    EXPECT_EQ(paper_list_desc.items[1].text, u"Rimage 2");
    EXPECT_EQ(Get_Selected_TemplateX(), 1);
    PaperKind_Set(1);
    EXPECT_EQ(paper_list_desc.items.size(), 3u);
}

TEST_F(CatalogueFilter, KindListIsSortedAfterAllKinds) {
    Use({Sheet("AAA___000001", "A1", "UNIT_VHS_SPINE"), Sheet("AAA___000002", "A2", "UNIT_CD"),
         Sheet("AAA___000003", "A3", "UNIT_BLURAY_WRAP"), Sheet("AAA___000004", "A4", "UNIT_CD")});
    g_chooser_sort = SORT_BY_KIND;
    Build_Paper_Lists();
    std::vector<std::u16string> names;
    for (const a_list_item& it : paper_kind_desc.items) names.push_back(it.text);
    EXPECT_EQ(names, (std::vector<std::u16string>{u"All kinds", u"Blu-ray Case Wrap", u"CD / DVD",
                                                  u"VHS Spine"}));
    PaperKind_Set(3);  // CD / DVD
    EXPECT_EQ(paper_list_desc.items.size(), 2u);
}

TEST_F(CatalogueFilter, LetterBarSkipsPlainPaperAndFindsTheNextLetter) {
    Use({Sheet("-AAA_A0000__", "@A one", "UNIT_RECT"), Sheet("BETA__000001", "Beta 1", "UNIT_CD"),
         Sheet("DELTA_000001", "Delta 1", "UNIT_CD")});
    EXPECT_EQ(PaperBar_Find('A'), 2);
    EXPECT_EQ(PaperBar_Find('C'), 3);
    EXPECT_EQ(PaperBar_Find('Z'), 32000);
    EXPECT_EQ(PaperBar_Find('E'), 32000);
}

TEST_F(CatalogueFilter, KeysMoveTheSelectionAndSoundAtTheLimits) {
    std::vector<a_ctemplate> many;
    for (int i = 0; i < 30; ++i)
        many.push_back(Sheet("MANY__" + std::to_string(100000 + i), "Many " + std::to_string(i), "UNIT_CD"));
    Use(many);
    static int limits = 0;
    limits = 0;
    a_listener_token token = g_chooser_notices.at_limit.Subscribe([] { ++limits; });
    g_chooser_sort = SORT_BY_BRAND;
    Build_Paper_Lists();
    paper_list_desc.visible_lines = 10;
    EXPECT_TRUE(PaperList_KeyFilter(VK_UP_KEY));
    EXPECT_EQ(limits, 1);
    EXPECT_TRUE(PaperList_KeyFilter(VK_NEXT_KEY));
    EXPECT_EQ(paper_list_desc.selected, 10);
    EXPECT_TRUE(PaperList_KeyFilter(VK_END_KEY));
    EXPECT_EQ(paper_list_desc.selected, 30);
    EXPECT_TRUE(PaperList_KeyFilter(VK_NEXT_KEY));
    EXPECT_EQ(limits, 2);
    EXPECT_TRUE(PaperList_KeyFilter(VK_PRIOR_KEY));
    EXPECT_EQ(paper_list_desc.selected, 21);
    EXPECT_TRUE(PaperList_KeyFilter(VK_HOME_KEY));
    EXPECT_EQ(paper_list_desc.selected, 1);
    EXPECT_FALSE(PaperList_KeyFilter('A'));
    g_chooser_notices.at_limit.Unsubscribe(token);
}

TEST(TemplateNames, EscapesAndUnderscores) {
    EXPECT_EQ(Shown("@A @L (A4)"), u"Plain paper landscape (A4)");
    EXPECT_EQ(Shown("Ace 100 series @P"), u"Ace 100 series portrait");
    EXPECT_EQ(Shown("Letter Paper (8@2 x 11 inches)"), u"Letter Paper (8\u00BD x 11 inches)");
    EXPECT_EQ(Shown("CD_Stomper Pro CD 2-up US"), u"CD Stomper Pro CD 2-up US");
    EXPECT_EQ(Shown("@C"), u"corner");
    EXPECT_EQ(Shown("x@Zy"), u"x@Zy");
    EXPECT_EQ(Shown("x@@Ay"), u"x@Plain papery");
    EXPECT_EQ(Shown("ends@"), u"ends@");
    EXPECT_EQ(Shown("Z\xC3\xBCrich_@P"), u"Zürich portrait");  // UTF-8, the system code page
    EXPECT_EQ(Shown("Caf\xE9_@P"), u"Café portrait");            // not UTF-8: Windows-1252
    EXPECT_EQ(Shown("@2").size(), 1u);
}

TEST(TemplateNames, BrandIsTheFirstWord) {
    char label[32];
    std::string brand;
    Label_Set(label, "Data_Becker 12345");
    Extract_Brand(brand, label);
    EXPECT_EQ(brand, "Data Becker");
    Label_Set(label, "NoSpaceAtAll");
    Extract_Brand(brand, label);
    EXPECT_EQ(brand, "NoSpaceAtAll");
    std::memset(label, 'x', sizeof label);  // a full label with no NUL
    Extract_Brand(brand, label);
    EXPECT_EQ(brand.size(), 32u);
}

TEST(PaperSizes, ExactComparisonAndNames) {
    std::string name;
    PaperSize_To_Str(name, a_fpoint{215.9f, 279.4f});
    EXPECT_EQ(name, "US Letter");
    PaperSize_To_Str(name, a_fpoint{210, 297});
    EXPECT_EQ(name, "A4");
    PaperSize_To_Str(name, a_fpoint{210.01f, 297});
    EXPECT_EQ(name, "");
    EXPECT_TRUE(Is_Equal_PaperSize(a_fpoint{150, 270}, a_fpoint{150, 270}));
    EXPECT_FALSE(Is_Equal_PaperSize(a_fpoint{150, 270}, a_fpoint{270, 150}));
}
