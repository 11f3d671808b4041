#include "data/Unitini.h"

#include "data/AppError.h"
#include "editions/Editions.h"
#include "tests/TestSupport.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

class Unitini : public testing::Test {
  protected:
    void SetUp() override {
        ResetData(GuitarEdition());
        IniFileName = dir.File("vostrane.ini");
        SetIniFailureHandler([this](const SjisString& message) { messages.push_back(message); });
    }
    void TearDown() override {
        SetIniFailureHandler(nullptr);
        IniFileName.clear();
    }

    TempDir dir;
    std::vector<SjisString> messages;
};

TEST_F(Unitini, WriteThenReadSameKey) {
    EXPECT_EQ(IniReadString("list", "swA", "FALSE"), "FALSE");
    IniWriteString("list", "swA", "TRUE");
    EXPECT_EQ(IniReadString("list", "swA", "anything"), "TRUE");
    EXPECT_EQ(IniReadString("LIST", "SWA", "anything"), "TRUE");
    EXPECT_TRUE(messages.empty());
}

TEST_F(Unitini, FailedWriteReportsPathAndGoesOn) {
    ASSERT_EQ(mkdir(IniFileName.c_str(), 0755), 0);
    IniWriteString("list", "swA", "TRUE");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], Sj("書込みに失敗しました") + "\r" + IniFileName);
}

TEST(IniConversions, IniStrToBool) {
    for (const char* text : {"1", "TRUE", "true", "True", "tRuE"})
        EXPECT_TRUE(IniStrToBool(text)) << text;
    for (const char* text : {"", "0", "01", " TRUE", "TRUE ", "FALSE", "FLASE", "yes", "2"})
        EXPECT_FALSE(IniStrToBool(text)) << text;
    EXPECT_EQ(BoolToIniStr(true), "TRUE");
    EXPECT_EQ(BoolToIniStr(false), "FALSE");
}

TEST(IniConversions, DigitsToInt) {
    struct {
        std::string text;
        int32_t value;
    } cases[] = {
        {"80", 80},
        {" 80 ", 80},
        {"-5", 5},
        {"1a2", 12},
        {"007", 7},
        {"", 0},
        {"abc", 0},
        {"2147483647", 2147483647},
        {"0000000000080", 80},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DigitsToInt(c.text), c.value) << c.text;
}

TEST(IniConversions, DigitsToIntAboveRangeNamesTheDigits) {
    try {
        DigitsToInt("2,147,483,648");
        FAIL();
    } catch (const AppError& e) {
        EXPECT_EQ(e.what(), Sj("'2147483648' は整数ではありません"));
    }
}

} // namespace
