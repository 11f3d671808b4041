#pragma once

#include <optional>
#include <string>
#include <string_view>

// Local date and time, read through one seam so tests can fix the clock.
struct LocalTime {
    int Year = 2000;
    int Month = 1; // 1..12
    int Day = 1;   // 1..31
    int Hour = 0;
    int Minute = 0;
    int Second = 0;
};

LocalTime Now();

// Tests fix the clock with a value; std::nullopt returns to the real one.
void SetFixedNow(std::optional<LocalTime> fixed);

// Formats with the tokens yyyy, mm (month, two digits), m (month), dd, d, hh,
// nn (minute), ss; every other character is copied. The separators are always
// "/" and ":", whatever the locale.
std::string FormatTime(const LocalTime& time, std::string_view pattern);
