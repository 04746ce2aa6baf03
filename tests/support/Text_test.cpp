#include <gtest/gtest.h>

#include "support/Text.hpp"

using namespace brimtor;

TEST(Text, CaseFoldingAndSplittingTouchOnlyAsciiLettersAndCrLf)
{
    EXPECT_TRUE(IEquals("HREF=\"X", "href=\"x"));
    EXPECT_FALSE(IEquals("abc", "abcd"));
    // Latin-1 and UTF-8 bytes are compared as they are, never folded.
    EXPECT_FALSE(IEquals("\xC9t\xE9", "\xE9t\xE9"));
    EXPECT_EQ(ToLowerAscii("\xC3\x89T\xC3\xA9"), "\xC3\x89t\xC3\xA9");
    EXPECT_FALSE(IStartsWith("ht", "http://"));
    EXPECT_EQ(IFind("abcABC", "abc", 1), 3u);
    EXPECT_EQ(IFind("abc", "abcd"), std::string::npos);
    EXPECT_EQ(IFind("", ""), 0u);
}

TEST(Text, LinesEndAsTheFirstLineEnds)
{
    using Lines = std::vector<std::string>;
    // A CR LF file (or one without line ends) splits as it always has: a lone CR or LF stays.
    EXPECT_EQ(LineEndOf(""), "\r\n");
    EXPECT_EQ(LineEndOf("\nb\r\n"), "\n");
    EXPECT_EQ(SplitLines(""), Lines{""});
    EXPECT_EQ(SplitLines("a\r\r\nb\n\r\n\r\nc"), (Lines{"a\r", "b\n", "", "c"}));
    // An LF file: every LF ends a line, with a CR right before it; a lone CR stays.
    EXPECT_EQ(SplitLines("a\nb\rc\r\nd\n"), (Lines{"a", "b\rc", "d", ""}));
}

TEST(Text, TrimmingProperCaseAndRounding)
{
    EXPECT_EQ(TrimSpaces("  a b  "), "a b");
    EXPECT_EQ(TrimSpaces("\ta\t"), "\ta\t");  // only blanks
    // Every code up to blank goes at both ends; 8-bit letters above 127 stay.
    EXPECT_EQ(TrimBlanks(" \t\r\n\x01" "a b\x1f \x7f\r\n"), "a b\x1f \x7f");
    EXPECT_EQ(TrimBlanks(std::string("\0x\0", 3)), "x");
    EXPECT_EQ(TrimBlanks("\xa0x\xa0"), "\xa0x\xa0");
    EXPECT_EQ(TrimBlanks(" \t\r\n"), "");
    // Every separator starts a word; punctuation does not.
    EXPECT_EQ(ProperCase("a\tb\nc\vd\fe\rf"), "A\tB\nC\vD\fE\rF");
    EXPECT_EQ(ProperCase("news-and-VIEWS (DAILY)"), "News-and-views (daily)");
    EXPECT_EQ(ProperCase("  two  blanks "), "  Two  Blanks ");
    EXPECT_EQ(RoundHalfEven(1.5), 2);
    EXPECT_EQ(RoundHalfEven(2.5), 2);
    EXPECT_EQ(RoundHalfEven(-2.5), -2);
    EXPECT_EQ(RoundHalfEven(2.5000001), 3);
}
