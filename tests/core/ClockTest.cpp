#include "platform/Clock.h"

#include <gtest/gtest.h>

TEST(Clock, FormatsThePatternsTheProgramUses) {
    LocalTime time{2026, 3, 7, 9, 5, 4};
    EXPECT_EQ(FormatTime(time, "mm/dd hh:nn"), "03/07 09:05");
    EXPECT_EQ(FormatTime(time, "yyyy/mm/dd hh:nn:ss"), "2026/03/07 09:05:04");
    EXPECT_EQ(FormatTime(time, "mmddhhnn"), "03070905");
    EXPECT_EQ(FormatTime(time, "yyyy/m/d"), "2026/3/7");
}

TEST(Clock, FixedTimeReplacesTheRealClockUntilCleared) {
    SetFixedNow(LocalTime{2001, 2, 3, 4, 5, 6});
    EXPECT_EQ(FormatTime(Now(), "yyyy/mm/dd hh:nn:ss"), "2001/02/03 04:05:06");
    SetFixedNow(std::nullopt);
    EXPECT_GE(Now().Year, 2024);
}
