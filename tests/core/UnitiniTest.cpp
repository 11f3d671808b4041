#include "data/Unitini.h"

#include "data/Edition.h"
#include "platform/AppError.h"
#include "tests/TestSupport.h"

#include <filesystem>
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

// The exit's keys written in one go give the same bytes as the same keys one
// by one, on a file with foreign sections and keys, comments, odd letter
// case, quotes and keys written twice; a read meanwhile sees the keys
// written before it.
TEST_F(Unitini, ABatchWritesWhatSingleWritesWould) {
    const std::string rich = "; written by hand\r\n[Config]\r\nPLAY = '2'\r\nother=keep\r\n\r\n"
                             "[foreign]\nx=\"1\"\n;note\n[LIST]\r\nswa=FALSE\r\nswA=dup\r\n[form]";
    const std::vector<ProfileWrite> writes = {
        {"config", "play", "0"},    {"list", "swA", "TRUE"}, {"list", "swN", "FALSE"},
        {"form", "top", "4"},       {"result", "auto", "1"}, {"list", "swA", "FALSE"},
        {"ExportText", "sw0", "1"}, {"config", "PLAY", "1"},
    };
    WriteFileBytes(IniFileName, rich);
    for (const ProfileWrite& write : writes)
        IniWriteString(write.Section, write.Key, write.Value);
    const std::string oneByOne = ReadFileBytes(IniFileName);

    WriteFileBytes(IniFileName, rich);
    {
        IniWriteBatch batch;
        for (const ProfileWrite& write : writes)
            IniWriteString(write.Section, write.Key, write.Value);
        EXPECT_EQ(IniReadString("CONFIG", "play", "x"), "1");
        EXPECT_EQ(IniReadString("foreign", "x", ""), "1");
        // An image taken now reads the same; each question is its own.
        const IniImage image;
        EXPECT_EQ(image.Read("CONFIG", "play", "x"), "1");
        EXPECT_EQ(image.Read("foreign", "x", ""), "1");
        EXPECT_EQ(image.Read("form", "x", "d1"), "d1");
        EXPECT_EQ(image.Read("form", "x", "d2"), "d2");
        EXPECT_EQ(image.Read("form", "top", "d1"), "4");
        EXPECT_EQ(ReadFileBytes(IniFileName), rich); // nothing written yet
    }
    EXPECT_EQ(ReadFileBytes(IniFileName), oneByOne);
    EXPECT_TRUE(messages.empty());
}

// A batch that cannot be written (here: the disk fills half-way) reports
// once, not once a key, and leaves the old file as it was. In a child
// process, so the size limit reaches no other test.
TEST_F(Unitini, AFailedBatchReportsOnceAndKeepsTheOldFile) {
    const std::string old = "[form]\r\ntop=1\r\n" + std::string(100, ';') + "\r\n";
    WriteFileBytes(IniFileName, old);
    EXPECT_TRUE(PassesInChildProcess([&] {
        LimitFileSize(64);
        {
            IniWriteBatch batch;
            for (int k = 0; k < 40; ++k)
                IniWriteString("list", "sw" + std::to_string(k), "FALSE");
        }
        return messages.size() == 1 && messages[0] == Sj("書込みに失敗しました") + "\r" + IniFileName;
    }));
    EXPECT_EQ(ReadFileBytes(IniFileName), old);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
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
    EXPECT_EQ(ErrorOf([] { DigitsToInt("2,147,483,648"); }), Sj("'2147483648' は整数ではありません"));
}

} // namespace
