// Reading and writing layout text.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstring>
#include <random>

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

// The designer's export reads field by field and is written back byte for
// byte; several records read in order.
TEST(LayoutText, ReadsAndWritesTheDesignersExport) {
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
    EXPECT_EQ(Layout_Write(t, true), kDesignerExample);
    // Many records, with comments anywhere between them.
    std::string second = kDesignerExample;
    second.replace(second.find("\"Test\"") + 1, 4, "Tsst");
    std::vector<a_ctemplate> two;
    ASSERT_TRUE(Layout_Parse(kDesignerExample + std::string("(* a note\n over lines *)\n") + second,
                             two, err)) << err.message;
    ASSERT_EQ(two.size(), 2u);
    EXPECT_STREQ(two[1].label, "Tsst");
}

// parse(write(t)) = t, byte for byte, for every record the reader can give.
TEST(LayoutText, WhatItWritesReadsBackAsTheSameRecord) {
    auto expect_round_trip = [](const a_ctemplate& t) {
        std::vector<a_ctemplate> again;
        a_layout_error err;
        std::string text = Layout_Write(t, false);
        ASSERT_TRUE(Layout_Parse(text, again, err)) << err.message << "\n" << text;
        ASSERT_EQ(again.size(), 1u);
        EXPECT_EQ(std::memcmp(&t, &again[0], sizeof t), 0) << text;
    };
    expect_round_trip(Record("ACE__0177___", "Ace 177 series",
                             {Group("UNIT_AUDIO_JCARD", 2, 2, 1, 0.25, 4, 4, 1, 0,
                                    "UNIT_PERIMETERBLEED, UNIT_FLIPX", 2, 2.5),
                              Group("UNIT_VHS_SPINE", 1, 4, 0.5, 5, 5.75, 0.75, 0, 0.75,
                                    "UNIT_NOTINDEXED")},
                             "IS_LANDSCAPE, IS_PITCHBETWEEN, IS_INCHES, IS_DYMO_MONET"));
    // Sizes four decimals would round away, and a fifth decimal.
    expect_round_trip(Record("S", "Tiny", {Group("UNIT_RECT", 1, 1, -0.0, 1e-30, .000048, 5)}, "",
                             .000048, 297));
    expect_round_trip(Record("S", "Fine", {Group("UNIT_CD", 1, 1, 1.23457, 0, 3e38, 1e-45)}));
    for (int i = 1; i <= Catalogue_Count(); ++i) {
        a_ctemplate t;
        Get_CTemplate(t, i);
        expect_round_trip(t);
    }
    // Records of every field at random, their reals of any finite value.
    std::mt19937 rng(4);
    auto real = [&rng](bool positive) {
        for (;;) {
            float f = std::bit_cast<float>(uint32_t(rng()));
            if (positive) f = std::fabs(f);
            if (std::isfinite(f) && (!positive || f > 0)) return f;
        }
    };
    auto text = [&rng](char* out, size_t most) {
        size_t n = 1 + rng() % most;
        for (size_t k = 0; k < n; ++k) {
            char c = char(0x20 + rng() % 0xE0);
            out[k] = (c == '"' || c == 0x7F) ? 'x' : c;
        }
    };
    for (int r = 0; r < 300; ++r) {
        a_ctemplate t{};
        text(t.sort, sizeof t.sort);
        text(t.label, sizeof t.label - 1);
        t.platforms = uint8_t(1 + rng() % 3);
        t.tflags = rng() & 0x3FF;
        t.papersize = a_fpoint{real(true), real(true)};
        t.nunits = 1 + rng() % MAXNGROUPS;
        for (int g = 0; g < MAXNGROUPS; ++g) {
            if (g > 0 && rng() % 3 == 0) continue;
            a_cunit& u = t.units[g];
            u.kind = uint8_t(1 + rng() % (NUNIT_KINDS - 1));
            u.uflags = rng() & 0x1FFF;
            u.nx = 1 + rng() % 5;
            u.ny = 1 + rng() % 5;
            float v[14];
            for (int k = 0; k < 14; ++k) v[k] = real(k == 2 || k == 3);
            std::memcpy(&u.bboxleft, v, sizeof v);
        }
        expect_round_trip(t);
    }
}

// Each refusal names its fault (and, where asked, its line).
TEST(LayoutText, RefusesMalformedRecordsAndWhatCouldNotBeASheet) {
    const std::string good = kDesignerExample;
    auto with = [&good](const std::string& what, const std::string& by) {
        std::string t = good;
        return t.replace(t.find(what), what.size(), by);
    };
    auto sheet = [](const std::string& group, int n = 1, const std::string& label = "L",
                    const std::string& paper = "100, 100") {
        return "{ \"S\", \"" + label + "\", BOTH, a_template_flag_set { }, { " + paper + " }, " +
               std::to_string(n) + ", {" + group +
               ", EMPTY_UNIT, EMPTY_UNIT, EMPTY_UNIT, EMPTY_UNIT, EMPTY_UNIT }},";
    };
    const std::string disc = Group("UNIT_CD", 1, 1, 0, 0, 50, 50);
    struct a_case { std::string text, message; int line; };  // line 0: not checked
    const a_case cases[] = {
        {good + "{ \"X\", \"unterminated", "unterminated string", 5},
        {"(* never closed", "unterminated comment", 0},
        {with("UNIT_CD", "UNIT_XX"), "unknown unit kind 'UNIT_XX'", 3},
        {with("IS_PITCHBETWEEN", "IS_SIDEWAYS"), "unknown flag 'IS_SIDEWAYS'", 0},
        {with("118.0000", "11x.0000"), "bad number '11x.0000'", 0},
        // A NUL or other control character in a name would not survive writing.
        {with("Test", std::string("A4\0 tail", 7)), "control character in string", 2},
        {with("\"SORT", "\"\tORT"), "control character in string", 0},
        // EMPTY_UNIT is how an empty group is written, so one that holds anything is refused.
        {with("UNIT_CD", "UNIT_EMPTY"), "a group of kind UNIT_EMPTY must hold nothing", 0},
        {sheet(Group("UNIT_RECT", 16, 16, 0, 0, 1, 1)), "layout has more than 250 labels", 0},
        {sheet(Group("UNIT_RECT", 0, 4, 0, 0, 1, 1)), "layout has no labels", 0},
        {sheet(Group("UNIT_RECT", 1, 1, 0, 0, 0, 5)), "label width and height must be positive", 0},
        {sheet(disc, 7), "number of groups must be 1 to 6", 0},
        {sheet(disc, 1, std::string(32, 'x')), "layout name longer than 31 characters", 0},
        {sheet(disc, 1, "L", "0, 100"), "paper size must be positive", 0},
        {sheet(Group("UNIT_RECT", -1, 1, 0, 0, 5, 5)), "bad count '-1'", 0},
    };
    for (const a_case& c : cases) {
        SCOPED_TRACE(c.message);
        const a_layout_error e = Parse_Error(c.text);
        EXPECT_EQ(e.message, c.message);
        if (c.line) {
            EXPECT_EQ(e.line, c.line);
        }
    }
    EXPECT_EQ(Parse_Error(with("EMPTY_UNIT, ", "")).message.rfind("expected ','", 0), 0u);
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
