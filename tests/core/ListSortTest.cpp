#include "ui/ListSort.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

int Sign(int value) {
    return (value > 0) - (value < 0);
}

} // namespace

TEST(ListSort, ComparesBytesUnsignedWithOnlyAsciiLettersFolded) {
    struct Case {
        SjisString A, B;
        int Expected;
    };
    const std::vector<Case> cases = {
        {"abc", "ABC", 0},
        {"apple", "Banana", -1}, // folded: A < B
        {"_", "a", 1},           // 'a' sorts as 'A' (0x41), below '_' (0x5F)
        {"{", "[", 1},           // 0x7B is no letter: not folded
        {"ab", "abc", -1},       // a proper prefix is smaller
        {"", "a", -1},
        {"\x82\xA0", "z", 1},        // lead bytes compare unsigned
        {"\x83\x61", "\x83\x41", 0}, // trail bytes are folded too
        {"\xE0", "\xC0", 1},         // no folding beyond ASCII
        {" 90", "180", -1},          // text, not numbers
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Sign(CompareListText(c.A, c.B)), c.Expected) << c.A << " / " << c.B;
        EXPECT_EQ(Sign(CompareListText(c.B, c.A)), -c.Expected) << c.B << " / " << c.A;
    }
}

TEST(ListSort, SortsStablyInBothDirections) {
    // Rows 1 and 3 hold equal text: neither goes before the other, so they keep their order.
    EXPECT_FALSE(SortsBefore("a", "A", 1) || SortsBefore("A", "a", 1) || SortsBefore("a", "A", -1));
    const std::vector<SjisString> keys = {"b", "a", "c", "A"};
    EXPECT_EQ(SortedRowOrder(keys, 1), (std::vector<std::size_t>{1, 3, 0, 2}));
    EXPECT_EQ(SortedRowOrder(keys, -1), (std::vector<std::size_t>{2, 0, 1, 3}));
    // Right-aligned numbers sort by value; free text does not.
    EXPECT_EQ(SortedRowOrder({" 10", "  9", "100"}, 1), (std::vector<std::size_t>{1, 0, 2}));
    EXPECT_EQ(SortedRowOrder({"90", "180"}, 1), (std::vector<std::size_t>{1, 0}));
}
