#include "data/TextHelpers.h"

#include "tests/TestSupport.h"

#include <gtest/gtest.h>

namespace {

TEST(TextHelpers, PadLeft) {
    struct {
        std::string text;
        int width;
        std::string expected;
    } cases[] = {
        {"12", 5, "   12"}, {"123456", 3, "456"}, {"", 2, "  "},     {"abc", 0, ""},
        {"abc", -2, ""},    {"7", 3, "  7"},      {"abc", 3, "abc"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PadLeft(c.text, c.width), c.expected) << c.text << "/" << c.width;
    // Widths count bytes: a double-byte character takes two.
    EXPECT_EQ(PadLeft(Sj("曲"), 4), "  " + Sj("曲"));
}

TEST(TextHelpers, IsDigits) {
    struct {
        std::string text;
        bool expected;
    } cases[] = {
        {"007", true}, {"0", true},   {"", false},    {"   ", false}, {" 7", false},
        {"7 ", false}, {"-1", false}, {"1.5", false}, {"\t7", false}, {"\x01", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsDigits(c.text), c.expected) << "'" << c.text << "'";
    EXPECT_FALSE(IsDigits(Sj("１２"))); // full-width digits are no digits
}

TEST(TextHelpers, ZeroPad) {
    struct {
        std::string text;
        int width;
        std::string expected;
    } cases[] = {
        {"12", 5, "00012"}, {" 12 ", 4, "0012"}, {"123456", 3, "456"},
        {"", 2, "00"},      {"x", 0, ""},        {"ab", 2, "ab"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ZeroPad(c.text, c.width), c.expected) << c.text << "/" << c.width;
}

TEST(TextHelpers, TrimTextRemovesBlanksAndControls) {
    EXPECT_EQ(TrimText(" \t\r\x01"
                       "a b\n "),
              "a b");
    EXPECT_EQ(TrimText(" \r\n"), "");
    EXPECT_EQ(TrimText(Sj("ギター")), Sj("ギター"));
}

TEST(TextHelpers, SanitizeFieldText) {
    struct {
        std::string text;
        std::string expected;
    } cases[] = {
        {"a\tb", "a    b"}, {"a\r\nb", "a b"},      {"a\nb", "ab"},
        {"\x01\x1f", "  "}, {"a b\x7f", "a b\x7f"}, {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SanitizeFieldText(c.text), c.expected);
    // Double-byte characters never hold bytes below 0x20.
    EXPECT_EQ(SanitizeFieldText(Sj("フルコン\t表")), Sj("フルコン    表"));
}

TEST(TextHelpers, SplitLinesAtCrLfLfOrLoneCr) {
    using Lines = std::vector<SjisString>;
    EXPECT_EQ(SplitLines("a\r\nb\nc\rd"), (Lines{"a", "b", "c", "d"}));
    EXPECT_EQ(SplitLines("a\r\n"), (Lines{"a"}));
    EXPECT_EQ(SplitLines("a\r\n\r\nb\r\n"), (Lines{"a", "", "b"}));
    EXPECT_EQ(SplitLines("a\r\rb"), (Lines{"a", "", "b"}));
    EXPECT_EQ(SplitLines("a\r\r\nb"), (Lines{"a", "", "b"}));
    EXPECT_EQ(SplitLines("\n"), (Lines{""}));
    EXPECT_EQ(SplitLines(""), Lines{});
}

} // namespace
