#include "platform/IntConv.h"

#include "platform/AppError.h"
#include "tests/TestSupport.h"

#include <gtest/gtest.h>

namespace {

struct IntCase {
    std::string text;
    int32_t value;
};

TEST(IntConv, AcceptsBlanksSignAndHexPrefixes) {
    const IntCase cases[] = {
        {"0", 0},
        {"12", 12},
        {"007", 7},
        {"  12", 12},
        {"+7", 7},
        {"-5", -5},
        {" -5", -5},
        {"$1F", 31},
        {"$1f", 31},
        {"0x1f", 31},
        {"0X10", 16},
        {"-$10", -16},
        {"$FFFFFFFF", -1},
        {"$7FFFFFFF", INT32_MAX},
        {"2147483647", INT32_MAX},
        {"-2147483648", INT32_MIN},
        {std::string(20, '0') + "42", 42},
    };
    for (const IntCase& c : cases) {
        int32_t value = 99;
        EXPECT_TRUE(TryStrToInt(c.text, value)) << c.text;
        EXPECT_EQ(value, c.value) << c.text;
        EXPECT_EQ(StrToInt(c.text), c.value) << c.text;
    }
}

TEST(IntConv, RefusesEmptyTrailingAndOutOfRange) {
    const char* cases[] = {
        "",    " ",   "-",   "+",   "$",          "0x",          "12 ",        "1a",
        "1.5", "+-1", "- 1", "x10", "2147483648", "-2147483649", "$100000000", "99999999999999999999"};
    for (const char* text : cases) {
        int32_t value = 0;
        EXPECT_FALSE(TryStrToInt(text, value)) << text;
        EXPECT_THROW(StrToInt(text), AppError) << text;
    }
    EXPECT_EQ(ErrorOf([] { StrToInt("12a"); }), Sj("'12a' は整数ではありません"));
}

} // namespace
