// Every built-in record makes a usable sheet.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <set>

#include "templates/catalogue.h"
#include "templates/expand.h"

namespace {

constexpr float kTolerance = 0.5f;  // mm

std::string Name(const a_ctemplate& c) { return Label_Text(c.label); }

}  // namespace

TEST(CatalogueIntegrity, EveryRecordExpandsToUnitsOnItsSheet) {
    auto t = std::make_unique<a_template>();
    int checked = 0;
    for (int i = 1; i <= Catalogue_Count(); ++i) {
        a_ctemplate c;
        Get_CTemplate(c, i);
        Expand_Template(c, *t);
        ASSERT_GE(t->nunits, 1u) << Name(c);
        ASSERT_LE(t->nunits, unsigned(MAXNUNITS)) << Name(c);
        a_fpoint paper = CTemplate_Paper(c);
        // Landscape records place units in the turned sheet.
        float w = Has_Flag(c.tflags, IS_LANDSCAPE) ? paper.y : paper.x;
        float h = Has_Flag(c.tflags, IS_LANDSCAPE) ? paper.x : paper.y;
        for (uint32_t ux = 1; ux <= t->nunits; ++ux) {
            const a_unit& u = t->units[ux];
            Rect b;
            Calc_Unit_Bounds(u, b);
            EXPECT_FALSE(Rect_IsEmpty(b)) << Name(c) << " unit " << ux;
            // Disc-printer trays give the print area relative to the printer's
            // origin, which may reach past the nominal tray (FlexLabel does).
            if (Has_Flag(c.tflags, IS_CDPRINTER)) continue;
            EXPECT_GE(u.bbox.left, -kTolerance) << Name(c) << " unit " << ux;
            EXPECT_GE(u.bbox.top, -kTolerance) << Name(c) << " unit " << ux;
            EXPECT_LE(u.bbox.right, w + kTolerance) << Name(c) << " unit " << ux;
            EXPECT_LE(u.bbox.bottom, h + kTolerance) << Name(c) << " unit " << ux;
        }
        ++checked;
    }
    EXPECT_EQ(checked, Catalogue_Count());
}

TEST(CatalogueIntegrity, LabelsAreUniqueAndEveryRecordIsOnBothPlatforms) {
    std::set<std::string> labels;
    for (int i = 1; i <= Catalogue_Count(); ++i) {
        a_ctemplate c;
        Get_CTemplate(c, i);
        EXPECT_TRUE(labels.insert(Name(c)).second) << Name(c);
        EXPECT_EQ(+c.platforms, 3) << Name(c);
        EXPECT_EQ(c.label[31], '\0') << Name(c);
    }
}

TEST(CatalogueIntegrity, BrandsEachFormOneRun) {
    std::set<std::string> seen;
    std::string previous;
    for (int i = 1; i <= TList_Count(); ++i) {
        std::string brand;
        Extract_Brand(brand, TList_Get(i).label);
        if (brand == previous) continue;
        EXPECT_TRUE(seen.insert(brand).second) << "brand " << brand << " appears in two runs";
        previous = brand;
    }
    EXPECT_GE(seen.size(), 60u);
}

TEST(CatalogueIntegrity, EveryUnitKindHasASheet) {
    std::set<int> kinds;
    for (int i = 1; i <= TList_Count(); ++i) {
        const a_ctemplate& c = TList_Get(i);
        for (uint32_t g = 0; g < CTemplate_NGroups(c); ++g)
            if (c.units[g].nx && c.units[g].ny) kinds.insert(c.units[g].kind);
    }
    for (int k = UNIT_CIRCLE; k < NUNIT_KINDS; ++k) EXPECT_TRUE(kinds.count(k)) << "kind " << k;
}

TEST(CatalogueIntegrity, TellingRecordsAreExactlyAsGiven) {
    a_ctemplate c = TList_Get(Find_Template("Compulabel 312862"));
    EXPECT_EQ(std::string(c.sort, 12), "COMPU_312862");
    EXPECT_EQ(+c.tflags, Flag_Bit(IS_INCHES));
    EXPECT_EQ(+c.nunits, 2u);
    EXPECT_EQ(+c.units[0].uflags, Flag_Bit(UNIT_STAGGERED) | Flag_Bit(UNIT_SHORTODD));
    EXPECT_FLOAT_EQ(+c.units[0].meas1, 0.669291f);
    EXPECT_FLOAT_EQ(+c.units[1].bboxtop, 6.132f);
    c = TList_Get(Find_Template("UAL 565 series"));
    EXPECT_EQ(+c.nunits, 5u);
    EXPECT_EQ(+c.units[4].kind, UNIT_EMPTY);
    c = TList_Get(Find_Template("DYMO DiscPainter"));
    EXPECT_EQ(+c.tflags, Flag_Bit(IS_CDPRINTER) | Flag_Bit(IS_DYMO_MONET) | Flag_Bit(IS_SHOWNOPAPER));
}
