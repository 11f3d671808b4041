#include "net/Version.h"

#include "platform/AppError.h"

#include <gtest/gtest.h>

namespace {

struct Numbers {
    int32_t major = -1, minor = -1, release = -1, build = -1;
    bool operator==(const Numbers&) const = default;
};

Numbers Read(const std::optional<SjisString>& value) {
    Numbers n;
    ReadFileVersion(value, n.major, n.minor, n.release, n.build);
    return n;
}

TEST(Version, TheBuildCarriesRelease25AndCodesAlignInTwo) {
    int32_t major = 0, minor = 0, release = 0, build = 0;
    GetOwnFileVersion(major, minor, release, build);
    EXPECT_EQ((Numbers{major, minor, release, build}), (Numbers{3, 2, 25, 67}));
    EXPECT_EQ(ReleaseCode(release), "R25");
    EXPECT_EQ(ReleaseCode(5), "R 5");
    EXPECT_EQ(ReleaseCode(0), "R 0");
    EXPECT_EQ(ReleaseCode(100), "R100");
}

TEST(Version, ParsesPiecesSplitAtDotsAndLineEnds) {
    struct {
        std::string value;
        Numbers expected;
    } cases[] = {
        {"3.2.25.67", {3, 2, 25, 67}},       {"1.0.5.0.99", {1, 0, 5, 0}},    // further pieces are ignored
        {"..1..2.\r\n3.4.", {1, 2, 3, 4}},                                    // empty pieces are dropped
        {"1\r2\n3\r\n4", {1, 2, 3, 4}},      {"\"7\".8.9.10", {7, 8, 9, 10}}, // a quoted stretch is one piece
        {" 1.-2.$10.0x1F", {1, -2, 16, 31}}, // the integer conversion's own forms
    };
    for (const auto& c : cases)
        EXPECT_EQ(Read(c.value), c.expected) << c.value;
    EXPECT_EQ(Read(std::nullopt), (Numbers{})); // no value leaves the numbers alone
}

TEST(Version, TooFewPiecesOrANonNumberRaiseAndChangeNothing) {
    for (const char* value : {"3.2.25", "", "...", "3.2.x.67", "3.2.25.6 7", "\"3.2\".25.67.1"}) {
        Numbers n;
        EXPECT_THROW(ReadFileVersion(SjisString(value), n.major, n.minor, n.release, n.build), AppError)
            << value;
        EXPECT_EQ(n, (Numbers{})) << value;
    }
}

} // namespace
