// Every built-in record makes a usable sheet.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>
#include <map>
#include <memory>
#include <set>
#include <tuple>
#include <vector>

#include "templates/catalogue.h"
#include "templates/expand.h"

namespace {

constexpr float kTolerance = 0.5f;  // mm

std::string Name(const a_ctemplate& c) { return Label_Text(c.label); }

bool Is_Round(int kind) {
    return kind == UNIT_CD || kind == UNIT_CD_CORE || kind == UNIT_MINICD_RING || kind == UNIT_CIRCLE;
}

float Width(const a_unit& u) { return u.bbox.right - u.bbox.left; }
float Height(const a_unit& u) { return u.bbox.bottom - u.bbox.top; }

// Why a unit's measures cannot belong to its box, or "" when they fit.
std::string Measure_Fault(const a_unit& u) {
    const float w = Width(u), h = Height(u), hole = u.meas[0];
    switch (u.kind) {
        case UNIT_CD:
        case UNIT_CD_CORE:
        case UNIT_MINICD_RING:
            if (hole < 0 || hole >= std::min(w, h)) return "hole does not fit the disc";
            if (u.meas[1] != 0 && (u.meas[1] <= hole || u.meas[1] >= std::min(w, h)))
                return "hub ring not between hole and edge";
            return "";
        case UNIT_MINICD_HOCKEY:
        case UNIT_MINICD_RECT:
            return hole < 0 || hole >= std::min(w, h) ? "hole does not fit the card disc" : "";
        case UNIT_VISITING2: case UNIT_CD_WALLET: case UNIT_MINICD_LID2: case UNIT_JEWEL_LID2:
        case UNIT_SUPER_INSERT2: case UNIT_DVDBOX_INSERT2: case UNIT_DVDBOX_WRAP:
        case UNIT_VHS_WRAP: case UNIT_VCD_WRAP: case UNIT_BLURAY_WRAP:
            return hole < 0 || hole >= w ? "spine wider than the booklet" : "";
        case UNIT_JEWEL_BASE:
            return hole <= 0 || 2 * hole >= w ? "spines do not fit the tray card" : "";
        default:
            return "";
    }
}

// Units of one sheet may not overlap (beyond the makers' rounding), except
// round labels whose circles stay apart and that are clipped to them.
std::string Overlap_Fault(const a_template& t) {
    for (uint32_t i = 1; i <= t.nunits; ++i) {
        for (uint32_t j = i + 1; j <= t.nunits; ++j) {
            const a_unit &a = t.units[i], &b = t.units[j];
            float ox = std::min(a.bbox.right, b.bbox.right) - std::max(a.bbox.left, b.bbox.left);
            float oy = std::min(a.bbox.bottom, b.bbox.bottom) - std::max(a.bbox.top, b.bbox.top);
            if (ox <= kTolerance || oy <= kTolerance) continue;
            if (Is_Round(a.kind) && Is_Round(b.kind) && Has_Flag(a.uflags, UNIT_CLOBBERS) &&
                Has_Flag(b.uflags, UNIT_CLOBBERS)) {
                float dx = (a.bbox.left + a.bbox.right - b.bbox.left - b.bbox.right) / 2;
                float dy = (a.bbox.top + a.bbox.bottom - b.bbox.top - b.bbox.bottom) / 2;
                if (std::hypot(dx, dy) >= (Width(a) + Width(b)) / 2 - kTolerance) continue;
            }
            return "units " + std::to_string(i) + " and " + std::to_string(j) + " overlap";
        }
    }
    return "";
}

// A brand as the user reads it, ignoring case, spaces and punctuation.
std::string Folded(const std::string& brand) {
    std::string out;
    for (unsigned char ch : brand)
        if (std::isalnum(ch)) out += char(std::tolower(ch));
    return out;
}

// What makes two sheets one: paper, frame, and every unit's kind, box and
// measures, to 0.1 mm.
using a_sheet_key = std::vector<long>;

a_sheet_key Sheet_Key(const a_ctemplate& c, const a_template& t) {
    auto tenth = [](float mm) { return std::lround(mm * 10); };
    std::vector<std::vector<long>> units;
    for (uint32_t ux = 1; ux <= t.nunits; ++ux) {
        const a_unit& u = t.units[ux];
        units.push_back({u.kind, tenth(u.bbox.left), tenth(u.bbox.top), tenth(u.bbox.right),
                         tenth(u.bbox.bottom), tenth(u.meas[0]), tenth(u.meas[1]), tenth(u.meas[2]),
                         tenth(u.meas[3])});
    }
    std::sort(units.begin(), units.end());
    a_sheet_key key{tenth(c.papersize.x), tenth(c.papersize.y), long(Has_Flag(c.tflags, IS_LANDSCAPE))};
    for (const auto& u : units) key.insert(key.end(), u.begin(), u.end());
    return key;
}

// A label that names a maker's part or printer model: a word after the
// brand with a digit in it.
bool Names_A_Part(const std::string& label) {
    size_t space = label.find(' ');
    if (space == std::string::npos) return false;
    std::string rest = label.substr(space + 1);
    size_t at = 0;
    while (at < rest.size()) {
        size_t end = rest.find(' ', at);
        if (end == std::string::npos) end = rest.size();
        std::string word = rest.substr(at, end - at);
        if (std::any_of(word.begin(), word.end(), [](unsigned char ch) { return std::isdigit(ch); }))
            return true;
        at = end + 1;
    }
    return false;
}

}  // namespace

// One pass over the records: each expands to units on its sheet whose
// measures fit; labels and sort keys are unique; every record is on both
// platforms. A sheet is listed under one name per brand: a maker may sell
// one sheet under several part numbers, and printer makers share a tray
// between models, but a generic sheet or a sheet listed by what it is may not
// be listed again under another name.
TEST(CatalogueIntegrity, EveryRecordExpandsToUnitsOnItsSheetUnderOneName) {
    auto t = std::make_unique<a_template>();
    std::set<std::string> labels, keys;
    std::map<std::pair<std::string, a_sheet_key>, std::string> named;
    for (int i = 1; i <= Catalogue_Count(); ++i) {
        a_ctemplate c;
        Get_CTemplate(c, i);
        Expand_Template(c, *t);
        const std::string label = Name(c);
        SCOPED_TRACE(label);
        EXPECT_TRUE(labels.insert(label).second);
        EXPECT_TRUE(keys.insert(std::string(c.sort, sizeof c.sort)).second);
        EXPECT_EQ(+c.platforms, 3);
        EXPECT_EQ(c.label[31], '\0');
        ASSERT_GE(t->nunits, 1u);
        ASSERT_LE(t->nunits, unsigned(MAXNUNITS));
        a_fpoint paper = CTemplate_Paper(c);
        // Landscape records place units in the turned sheet.
        float w = Has_Flag(c.tflags, IS_LANDSCAPE) ? paper.y : paper.x;
        float h = Has_Flag(c.tflags, IS_LANDSCAPE) ? paper.x : paper.y;
        EXPECT_EQ(Overlap_Fault(*t), "");
        for (uint32_t ux = 1; ux <= t->nunits; ++ux) {
            const a_unit& u = t->units[ux];
            Rect b;
            Calc_Unit_Bounds(u, b);
            EXPECT_FALSE(Rect_IsEmpty(b)) << " unit " << ux;
            EXPECT_EQ(Measure_Fault(u), "") << " unit " << ux;
            // Disc-printer trays give the print area relative to the printer's
            // origin, which may reach past the nominal tray (FlexLabel does).
            if (Has_Flag(c.tflags, IS_CDPRINTER)) continue;
            EXPECT_TRUE(u.bbox.left >= -kTolerance && u.bbox.top >= -kTolerance &&
                        u.bbox.right <= w + kTolerance && u.bbox.bottom <= h + kTolerance)
                << " unit " << ux << " is off the sheet";
        }
        std::string brand;
        Extract_Brand(brand, c.label);
        bool tray = Has_Flag(c.tflags, IS_CDPRINTER) || (t->nunits == 1 && Is_Round(t->units[1].kind));
        auto [it, fresh] = named.emplace(std::make_pair(brand, Sheet_Key(c, *t)), label);
        if (fresh || (tray && brand != "Generic")) continue;
        EXPECT_TRUE(brand != "Generic" && Names_A_Part(label) && Names_A_Part(it->second))
            << label << " is the sheet of " << it->second;
    }
}

// Brands each form one run under one spelling, and every unit kind has a sheet.
TEST(CatalogueIntegrity, BrandsFormOneRunEachAndEveryUnitKindHasASheet) {
    std::set<std::string> seen;
    std::map<std::string, std::string> spelling;  // folded -> as written
    std::set<int> kinds;
    std::string previous;
    for (int i = 1; i <= TList_Count(); ++i) {
        const a_ctemplate& c = TList_Get(i);
        for (uint32_t g = 0; g < CTemplate_NGroups(c); ++g)
            if (c.units[g].nx && c.units[g].ny) kinds.insert(c.units[g].kind);
        std::string brand;
        Extract_Brand(brand, c.label);
        if (brand == previous) continue;
        EXPECT_TRUE(seen.insert(brand).second) << "brand " << brand << " appears in two runs";
        auto [it, fresh] = spelling.emplace(Folded(brand), brand);
        EXPECT_TRUE(fresh || it->second == brand) << it->second << " is also spelt " << brand;
        previous = brand;
    }
    for (int k = UNIT_CIRCLE; k < NUNIT_KINDS; ++k) EXPECT_TRUE(kinds.count(k)) << "kind " << k;
    // At least the size of the catalogue the program is described with. The
    // brands are the 85 real makers of the converted gLabels and LibreOffice
    // sheets and of the printer trays, Generic for sheets no maker is known to
    // sell, and plain paper.
    EXPECT_GE(TList_Count(), 2774);
    EXPECT_GE(seen.size(), 87u);
    EXPECT_TRUE(seen.count("Generic"));
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
