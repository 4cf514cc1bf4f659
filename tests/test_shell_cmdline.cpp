// The command line: its tokenizer, the three forms of the one-line command
// and the argument list a Linux user types.
#include <gtest/gtest.h>

#include "shell/cmdline.h"

namespace {

std::vector<std::string> Parms(std::string_view line) {
    std::vector<std::string> out;
    size_t pos = 0;
    for (std::string p = Get_Next_Parm(line, pos); !p.empty(); p = Get_Next_Parm(line, pos)) out.push_back(p);
    return out;
}

void Expect_Message(const a_shell_command& c, const char* text, const std::string& caption) {
    EXPECT_EQ(c.action, a_shell_action::END);
    ASSERT_EQ(c.messages.size(), 1u);
    EXPECT_EQ(c.messages[0].text, text);
    EXPECT_EQ(c.messages[0].caption, caption);
}

}  // namespace

TEST(ShellCmdline, TokenizerSplitsAtBlanksOutsideQuotes) {
    EXPECT_EQ(Parms("  a.cd4   b  "), (std::vector<std::string>{"a.cd4", "b"}));
    EXPECT_EQ(Parms("\"C:/My Discs/x.cd4\" y"), (std::vector<std::string>{"C:/My Discs/x.cd4", "y"}));
    // A quote only toggles; it may sit inside a word, and an open one runs to the end.
    EXPECT_EQ(Parms("ab\"c d\"e \"f g"), (std::vector<std::string>{"abc de", "f g"}));
    // Only the space separates: a tab is part of the word.
    EXPECT_EQ(Parms("a\tb c"), (std::vector<std::string>{"a\tb", "c"}));
    EXPECT_TRUE(Parms("    ").empty());

    size_t pos = 0;
    int16_t v = 99;
    std::string text;
    EXPECT_TRUE(Get_Next_Int("-12 +7 x 40000 5x", pos, v, text));
    EXPECT_EQ(v, -12);
    EXPECT_TRUE(Get_Next_Int("-12 +7 x 40000 5x", pos, v, text));
    EXPECT_EQ(v, 7);
    for (const char* bad : {"x", "40000", "5x"}) {
        EXPECT_FALSE(Get_Next_Int("-12 +7 x 40000 5x", pos, v, text)) << bad;
        EXPECT_EQ(text, bad);
        EXPECT_EQ(v, 7);  // unchanged
    }
    EXPECT_FALSE(Get_Next_Int("", pos = 0, v, text));
}

TEST(ShellCmdline, OpenAndPrintForms) {
    EXPECT_EQ(Parse_Shell_Line("").action, a_shell_action::NONE);
    a_shell_command c = Parse_Shell_Line("\"My Disc.cd4\"");
    EXPECT_EQ(c.action, a_shell_action::OPEN);
    EXPECT_EQ(c.path, "My Disc.cd4");
    // The print switch alone is a normal start; with a path it prints.
    EXPECT_EQ(Parse_Shell_Line("/p").action, a_shell_action::NONE);
    c = Parse_Shell_Line("/P \"a b.cd4\"");
    EXPECT_EQ(c.action, a_shell_action::PRINT);
    EXPECT_EQ(c.path, "a b.cd4");
    c = Parse_Shell_Line("/print x.cd4");  // only the letter after "/" decides
    EXPECT_EQ(c.action, a_shell_action::PRINT);

    c = Parse_Shell_Args({"/home/me/discs/x.cd4"});
    EXPECT_EQ(c.action, a_shell_action::OPEN);
    EXPECT_EQ(c.path, "/home/me/discs/x.cd4");
    c = Parse_Shell_Args({"--print", "/tmp/a b.cd4"});
    EXPECT_EQ(c.action, a_shell_action::PRINT);
    EXPECT_EQ(c.path, "/tmp/a b.cd4");
    EXPECT_EQ(Parse_Shell_Args({"--print"}).action, a_shell_action::NONE);
    c = Parse_Shell_Args({"/p", "/tmp/a b.cd4"});
    EXPECT_EQ(c.action, a_shell_action::PRINT);
    EXPECT_EQ(c.path, "/tmp/a b.cd4");
}

TEST(ShellCmdline, BatchSwitches) {
    a_shell_command c = Parse_Shell_Line("/IF a.cd4 /CX 5");
    EXPECT_EQ(c.action, a_shell_action::PRINT);
    EXPECT_EQ(c.path, "a.cd4");
    EXPECT_TRUE(c.messages.empty());
    EXPECT_TRUE(c.overrides.Has(IF_PARM) && c.overrides.Has(CX_PARM));
    EXPECT_EQ(c.overrides.cx, 5);

    c = Parse_Shell_Line("/ofile out.pdf /cy -3 /DO 1 /di 2 /DS 3 /S7 \"side B\" /if x.cd4");
    EXPECT_EQ(c.action, a_shell_action::PRINT);
    EXPECT_EQ(c.path, "x.cd4");
    const a_override_spec& o = c.overrides;
    EXPECT_EQ(o.of_file, "out.pdf");
    EXPECT_EQ(o.cy, -3);
    EXPECT_EQ(o.do_, 1);
    EXPECT_EQ(o.di, 2);
    EXPECT_EQ(o.ds, 3);
    EXPECT_EQ(o.s[7], "side B");
    EXPECT_EQ(o.flags, 0xFF & ~(1 << CX_PARM));

    Expect_Message(Parse_Shell_Line("/CX five /IF a.cd4"), "Parameter not numeric", "five");
    Expect_Message(Parse_Shell_Line("/IF a.cd4 b"), "Parameter doesn't begin with /", "b");
    Expect_Message(Parse_Shell_Line("/CX 5"), "Missing input file spec", "/CX 5");
    Expect_Message(Parse_Shell_Line("/IF"), "Missing input file spec", "/IF");
    Expect_Message(Parse_Shell_Line("/QX 1"), "Bad parameter in command line", "/QX");
    Expect_Message(Parse_Shell_Line("/SX a /IF a.cd4"), "Bad parameter in command line", "/SX");
    Expect_Message(Parse_Shell_Line("/CX 70000 /IF a.cd4"), "Parameter not numeric", "70000");

    // Over 255 bytes the line is refused whole, never cut to another path;
    // 255 bytes still go.
    std::string path = "/tmp/" + std::string(243, 'x') + ".cd4";
    EXPECT_EQ(Parse_Shell_Line("/p " + path).action, a_shell_action::PRINT);
    Expect_Message(Parse_Shell_Line("/p " + path + "x"), "Command line too long", ("/p " + path).substr(0, 255));
    Expect_Message(Parse_Shell_Args({"--print", path + "xxxxxx"}), "Command line too long",
                   ("--print " + path + "xxxxxx").substr(0, 255));
    EXPECT_EQ(Parse_Shell_Args({path + "xxxxxx"}).action, a_shell_action::END);

    // The argument list keeps a blank inside a value as one parameter.
    c = Parse_Shell_Args({"/IF", "/tmp/my disc.cd4", "/S1", "a b"});
    EXPECT_EQ(c.action, a_shell_action::PRINT);
    EXPECT_EQ(c.path, "/tmp/my disc.cd4");
    EXPECT_EQ(c.overrides.s[1], "a b");
}
