#include "net/Encode.h"

#include "net/AccessCode.h"
#include "net/ComputerName.h"
#include "tests/TestSupport.h"

#include <gtest/gtest.h>

TEST(UrlEncode, KeepsOnlyAsciiLettersAndDigits) {
    struct Case {
        std::string text;
        std::string encoded;
    };
    const Case cases[] = {
        {"", ""},
        {"abcXYZ019", "abcXYZ019"},
        {"a b+c", "a%20b%2Bc"},
        {"-._~*%&=?#/", "%2D%2E%5F%7E%2A%25%26%3D%3F%23%2F"},
        {"\x82\xA0", "%82%A0"},
        {Sj("ア"), "%83A"}, // a trail byte that is a letter stays a letter
        {std::string("\0\x7F\xFF", 3), "%00%7F%FF"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(UrlEncode(c.text), c.encoded) << c.text;
}

TEST(MD5String, GivesLowerCaseHexOfTheBytes) {
    EXPECT_EQ(MD5String(""), "d41d8cd98f00b204e9800998ecf8427e");
    EXPECT_EQ(MD5String("abc"), "900150983cd24fb0d6963f7d28e17f72");
    EXPECT_EQ(MD5String(Sj("ア")), "7fc5d0fd0070e427853ba264cc1b667e");
}

TEST(ComputerName, IsTheHostNameCutAtItsFirstDotAndTo15Bytes) {
    EXPECT_EQ(ShortComputerName("desk.example.org"), "desk");
    EXPECT_EQ(ShortComputerName("abcdefghijklmnopqrstuvwxyz"), "abcdefghijklmno");
    EXPECT_EQ(ShortComputerName("abcdefghijklmnopq.lan"), "abcdefghijklmno");
    EXPECT_EQ(ShortComputerName(""), "");
    EXPECT_LE(ComputerName().size(), 15u);
    EXPECT_EQ(ComputerName().find('.'), std::string::npos);
}
