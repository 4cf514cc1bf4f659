// UTF-8 / UTF-16 conversion with the Windows-1252 fallback.
#include <gtest/gtest.h>

#include "platform/codepage.h"

// Both ways, a character beyond the BMP included; an unpaired surrogate
// becomes the replacement character.
TEST(Codepage, Utf8RoundTripAndUnpairedSurrogates) {
    std::string s = "Fenêtre – \xF0\x9F\x8E\xB5 Ω";
    std::u16string u = Utf8_To_Utf16(s);
    EXPECT_EQ(u, u"Fenêtre – \U0001F3B5 Ω");
    EXPECT_EQ(Utf16_To_Utf8(u), s);
    EXPECT_EQ(Utf8_To_Utf16(""), u"");
    const std::u16string unpaired = {u'a', char16_t(0xD800), u'b', char16_t(0xDC00)};
    EXPECT_EQ(Utf16_To_Utf8(unpaired), "a\xEF\xBF\xBD" "b\xEF\xBF\xBD");
}

TEST(Codepage, InvalidUtf8IsReadAsWindows1252) {
    EXPECT_EQ(Utf8_To_Utf16("caf\xE9"), u"café");
    EXPECT_EQ(Utf8_To_Utf16("\x80 \x93quoted\x94 \x81"), u"€ “quoted” \u0081");
    // Overlong forms, encoded surrogates, truncated sequences are not UTF-8.
    EXPECT_FALSE(Is_Valid_Utf8("\xC0\xAF"));
    EXPECT_FALSE(Is_Valid_Utf8("\xED\xA0\x80"));
    EXPECT_FALSE(Is_Valid_Utf8("\xE2\x82"));
    EXPECT_FALSE(Is_Valid_Utf8("\xF4\x90\x80\x80"));
    EXPECT_EQ(Utf8_To_Utf16("\xE2\x82"), u"â‚");
}

TEST(Codepage, CutKeepsWholeCharacters) {
    EXPECT_EQ(Utf8_Cut("abc", 5), 3u);
    EXPECT_EQ(Utf8_Cut("abé", 3), 2u);  // é is two bytes at 2..3
    EXPECT_EQ(Utf8_Cut("abé", 4), 4u);
    EXPECT_EQ(Utf8_Cut("a\xF0\x9F\x8E\xB5z", 4), 1u);
    EXPECT_EQ(Utf8_Cut("ab\xE9\xE9", 3), 3u);  // Windows-1252: every byte is one character
}
