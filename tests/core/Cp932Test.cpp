#include "platform/Cp932.h"

#include <gtest/gtest.h>

TEST(Cp932, AsciiBackslashAndTildeStayBytes) {
    EXPECT_EQ(Utf8ToSjis("a\\b~c"), "a\\b~c");
    EXPECT_EQ(SjisToUtf8("a\\b~c"), "a\\b~c");
}

TEST(Cp932, DoubleByteTextRoundTrips) {
    // "ソ" has the trail byte 0x5C, "表" too.
    SjisString text = Utf8ToSjis("ソ表能");
    EXPECT_EQ(text, "\x83\x5C\x95\x5C\x94\x5C");
    EXPECT_EQ(SjisToUtf8(text), "ソ表能");
}

TEST(Cp932, UndecodableBytesShowAsReplacement) {
    const std::string fffd = "\xEF\xBF\xBD";
    EXPECT_EQ(SjisToUtf8("a\x80"
                         "b"),
              "a" + fffd + "b");
    EXPECT_EQ(SjisToUtf8("a\xA0"
                         "b"),
              "a" + fffd + "b");
    EXPECT_EQ(SjisToUtf8("\xFD\xFE\xFF"), fffd + fffd + fffd);
    EXPECT_EQ(SjisToUtf8("a\x82"), "a" + fffd); // lone lead byte at the end
}

TEST(Cp932, UnencodableTextIsRefused) {
    SjisString out;
    EXPECT_FALSE(TryUtf8ToSjis("\xF0\x9F\x8E\xB8", out)); // an emoji
    EXPECT_THROW(Utf8ToSjis("\xC3\xA9\xF0\x9F\x8E\xB8"), std::invalid_argument);
    EXPECT_TRUE(TryUtf8ToSjis("ギター", out));
}
