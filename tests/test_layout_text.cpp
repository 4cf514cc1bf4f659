// Reading and writing layout text.
#include <gtest/gtest.h>

#include <cstring>

#include "template_fixtures.h"
#include "templates/layout_text.h"

namespace {

const char kDesignerExample[] =
    "(* LAYOUT Version 4.00 *)\r\n"
    "{ \"SORT________\", \"Test\", BOTH, a_template_flag_set { IS_PITCHBETWEEN },  (* paper *) { "
    "148.0000, 296.0000 }, 1, \r\n"
    "{{ UNIT_CD, a_unit_flag_set {  }, 1, 2, (* BBOX *) 15.0000, 15.0000, 118.0000, 118.0000, "
    "(* PITCH *) 0.0000, 30.0000, (* BLEED *) 2.0000, 2.0000, 2.0000, 2.0000, (* MEAS *) 41.0000, "
    "0.0000, 0.0000, 0.0000 }, \r\n"
    "EMPTY_UNIT, EMPTY_UNIT, EMPTY_UNIT, EMPTY_UNIT, EMPTY_UNIT }},\r\n";

a_layout_error Parse_Error(const std::string& text) {
    std::vector<a_ctemplate> out;
    a_layout_error err;
    EXPECT_FALSE(Layout_Parse(text, out, err)) << text;
    EXPECT_TRUE(out.empty());
    return err;
}

}  // namespace

TEST(LayoutText, ReadsTheDesignersExport) {
    std::vector<a_ctemplate> out;
    a_layout_error err;
    ASSERT_TRUE(Layout_Parse(kDesignerExample, out, err)) << err.message;
    ASSERT_EQ(out.size(), 1u);
    const a_ctemplate& t = out[0];
    EXPECT_EQ(std::string(t.sort, 12), "SORT________");
    EXPECT_STREQ(t.label, "Test");
    EXPECT_EQ(+t.platforms, 3);
    EXPECT_EQ(+t.tflags, Flag_Bit(IS_PITCHBETWEEN));
    EXPECT_EQ(CTemplate_Paper(t), (a_fpoint{148, 296}));
    EXPECT_EQ(+t.nunits, 1u);
    EXPECT_EQ(+t.units[0].kind, UNIT_CD);
    EXPECT_EQ(+t.units[0].ny, 2u);
    EXPECT_FLOAT_EQ(+t.units[0].pitchy, 30);
    EXPECT_FLOAT_EQ(+t.units[0].meas1, 41);
    for (int g = 1; g < 6; ++g) EXPECT_EQ(t.units[g].kind, UNIT_EMPTY);
}

TEST(LayoutText, WritesExactlyWhatTheDesignerWrites) {
    std::vector<a_ctemplate> out;
    a_layout_error err;
    ASSERT_TRUE(Layout_Parse(kDesignerExample, out, err));
    EXPECT_EQ(Layout_Write(out[0], true), kDesignerExample);
}

TEST(LayoutText, RoundTripKeepsEveryByte) {
    a_ctemplate t = Record("ACE__0177___", "Ace 177 series",
                           {Group("UNIT_AUDIO_JCARD", 2, 2, 1, 0.25, 4, 4, 1, 0,
                                  "UNIT_PERIMETERBLEED, UNIT_FLIPX", 2, 2.5),
                            Group("UNIT_VHS_SPINE", 1, 4, 0.5, 5, 5.75, 0.75, 0, 0.75,
                                  "UNIT_NOTINDEXED")},
                           "IS_LANDSCAPE, IS_PITCHBETWEEN, IS_INCHES, IS_DYMO_MONET");
    std::vector<a_ctemplate> again;
    a_layout_error err;
    ASSERT_TRUE(Layout_Parse(Layout_Write(t, false), again, err)) << err.message;
    ASSERT_EQ(again.size(), 1u);
    EXPECT_EQ(std::memcmp(&t, &again[0], sizeof t), 0);
}

TEST(LayoutText, ManyRecordsAndCommentsAnywhere) {
    std::string second = kDesignerExample;
    second.replace(second.find("\"Test\"") + 1, 4, "Tsst");
    std::string two = std::string(kDesignerExample) + "(* a note\n over lines *)\n" + second;
    std::vector<a_ctemplate> out;
    a_layout_error err;
    ASSERT_TRUE(Layout_Parse(two, out, err)) << err.message;
    ASSERT_EQ(out.size(), 2u);
    EXPECT_STREQ(out[1].label, "Tsst");
}

TEST(LayoutText, MalformedRecordsNameTheirLine) {
    std::string good = kDesignerExample;
    EXPECT_EQ(Parse_Error(good + "{ \"X\", \"unterminated").message, "unterminated string");
    EXPECT_EQ(Parse_Error(good + "{ \"X\", \"unterminated").line, 5);
    EXPECT_EQ(Parse_Error("(* never closed").message, "unterminated comment");

    std::string bad_kind = good;
    bad_kind.replace(bad_kind.find("UNIT_CD"), 7, "UNIT_XX");
    a_layout_error e = Parse_Error(bad_kind);
    EXPECT_EQ(e.line, 3);
    EXPECT_EQ(e.message, "unknown unit kind 'UNIT_XX'");

    std::string bad_flag = good;
    bad_flag.replace(bad_flag.find("IS_PITCHBETWEEN"), 15, "IS_SIDEWAYS");
    EXPECT_EQ(Parse_Error(bad_flag).message, "unknown flag 'IS_SIDEWAYS'");

    std::string bad_number = good;
    bad_number.replace(bad_number.find("118.0000"), 8, "11x.0000");
    EXPECT_EQ(Parse_Error(bad_number).message, "bad number '11x.0000'");

    std::string missing_group = good;
    missing_group.replace(missing_group.find("EMPTY_UNIT, "), 12, "");
    EXPECT_EQ(Parse_Error(missing_group).message.rfind("expected ','", 0), 0u);
}

TEST(LayoutText, RefusesWhatCouldNotBeASheet) {
    auto text = [](const std::string& groups, int n = 1, const std::string& label = "L",
                   const std::string& paper = "100, 100") {
        return "{ \"S\", \"" + label + "\", BOTH, a_template_flag_set { }, { " + paper + " }, " +
               std::to_string(n) + ", {" + groups + " }},";
    };
    std::string empties = ", EMPTY_UNIT, EMPTY_UNIT, EMPTY_UNIT, EMPTY_UNIT, EMPTY_UNIT";
    std::string disc = Group("UNIT_CD", 1, 1, 0, 0, 50, 50);
    EXPECT_EQ(Parse_Error(text(Group("UNIT_RECT", 16, 16, 0, 0, 1, 1) + empties)).message,
              "layout has more than 250 labels");
    EXPECT_EQ(Parse_Error(text(Group("UNIT_RECT", 0, 4, 0, 0, 1, 1) + empties)).message,
              "layout has no labels");
    EXPECT_EQ(Parse_Error(text(Group("UNIT_RECT", 1, 1, 0, 0, 0, 5) + empties)).message,
              "label width and height must be positive");
    EXPECT_EQ(Parse_Error(text(disc + empties, 7)).message, "number of groups must be 1 to 6");
    EXPECT_EQ(Parse_Error(text(disc + empties, 1, std::string(32, 'x'))).message,
              "layout name longer than 31 characters");
    EXPECT_EQ(Parse_Error(text(disc + empties, 1, "L", "0, 100")).message,
              "paper size must be positive");
    EXPECT_EQ(Parse_Error(text(Group("UNIT_RECT", -1, 1, 0, 0, 5, 5) + empties)).message,
              "bad count '-1'");
}

TEST(LayoutText, UnitCountsFollowShortOddRows) {
    a_cunit g{};
    g.nx = 3;
    g.ny = 5;
    EXPECT_EQ(CUnit_Count(g), 15u);
    g.uflags = Flag_Bit(UNIT_SHORTODD);
    EXPECT_EQ(CUnit_Count(g), 13u);
    g.ny = 0;
    EXPECT_EQ(CUnit_Count(g), 0u);
}
