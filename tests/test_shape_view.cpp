// Pictures of unit shapes and sheets against golden images: one unit of
// every shape class and three telling sheets.
#include <gtest/gtest.h>

#include <vector>

#include "golden_image.h"
#include "templates/catalogue.h"
#include "templates/expand.h"
#include "templates/shape_view.h"

namespace {

struct a_picture {
    std::vector<uint8_t> mem;
    a_port_bits bits;
    explicit a_picture(const Rect& bounds) {
        bits.bounds = bounds;
        bits.rowbytes = 4 * Rect_Width(bounds);
        mem.assign(size_t(bits.rowbytes) * size_t(Rect_Height(bounds)), 0);
        bits.base = mem.data();
    }
};

bool Load(const std::string& label, a_template& t) {
    int index = Find_Template(label);
    if (index == 0) return false;
    Expand_Template(TList_Get(index), t);
    return true;
}

struct a_shape_case {
    const char* golden;
    const char* label;
    uint32_t unit;
    a_shape_view_options options;
};

const a_shape_case kShapeCases[] = {
    {"shape_rect", "Generic jewel spines A4", 1, {}},
    {"shape_roundrect", "Avery 2160", 1, {false, false, true, 0}},
    {"shape_circle", "Avery 5193", 1, {}},
    {"shape_oval", "Begalabel V-100", 1, {}},
    {"shape_ring", "A-ONE 29125", 1, {true, true, false, 0}},
    {"shape_ring_lightscribe", "A-ONE 29125", 1, {true, false, false, 2}},
    {"shape_audioface", "Generic cassette set A4", 3, {true, true, false, 0}},
    {"shape_booklet", "Generic jewel booklet A4", 1, {}},
    {"shape_multipart", "Generic cassette set A4", 1, {}},
    {"shape_slimline", "Generic jewel slim 2-up A4", 1, {}},
    {"shape_jewelbase", "Generic jewel tray 2-up A4", 1, {false, true, false, 0}},
    {"shape_bizhockey", "Generic hockey CD 8-up A4", 1, {true, true, false, 0}},
    {"shape_bizrect", "Generic card CD 8-up US", 1, {true, false, false, 0}},
};

}  // namespace

TEST(ShapeView, OneUnitOfEveryShapeClass) {
    auto* t = new a_template;
    for (const a_shape_case& c : kShapeCases) {
        SCOPED_TRACE(c.golden);
        ASSERT_TRUE(Load(c.label, *t)) << c.label;
        ASSERT_LE(c.unit, t->nunits);
        Rect bounds;
        Calc_Unit_Bounds(t->units[c.unit], bounds);
        a_picture pic(bounds);
        Draw_Shape_View(t->units[c.unit], c.options, pic.bits);
        EXPECT_TRUE(Matches_Golden(c.golden, pic.bits));
    }
    delete t;
}

TEST(ShapeView, ThreeSheets) {
    auto* t = new a_template;
    const char* const cases[][2] = {{"sheet_discs", "A-ONE 29125"},
                                    {"sheet_cassette", "Generic cassette set A4"},
                                    {"sheet_wallet_landscape", "Generic CD wallet A4"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c[0]);
        ASSERT_TRUE(Load(c[1], *t)) << c[1];
        Rect bounds;
        ASSERT_TRUE(Calc_Sheet_View_Bounds(*t, DEFAULT_SHEET_DPI, bounds));
        a_picture pic(bounds);
        Draw_Sheet_View(*t, DEFAULT_SHEET_DPI, pic.bits);
        EXPECT_TRUE(Matches_Golden(c[0], pic.bits));
    }
    Rect bounds;
    EXPECT_FALSE(Calc_Sheet_View_Bounds(*t, 5000, bounds));  // beyond 16-bit pixel geometry
    t->papersize = a_fpoint{0, 0};
    EXPECT_FALSE(Calc_Sheet_View_Bounds(*t, 72, bounds));
    delete t;
}
