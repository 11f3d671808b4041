#include "data/NumberText.h"

#include <charconv>
#include <cstdlib>
#include <string>

namespace {

SjisString AtLeast(SjisString text, std::size_t width) {
    if (text.size() < width) text.insert(0, width - text.size(), ' ');
    return text;
}

} // namespace

SjisString FormatFixed2(double value) {
    char buffer[400]; // the largest double in fixed notation has 309 digits
    auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 2);
    if (error != std::errc()) return "0.00";
    return AtLeast(SjisString(buffer, end), 3);
}

SjisString HundredthsText(int32_t value) {
    const int64_t v = value;
    const int64_t magnitude = v < 0 ? -v : v;
    SjisString text = std::to_string(magnitude / 100) + '.';
    const int64_t cents = magnitude % 100;
    text += static_cast<char>('0' + cents / 10);
    text += static_cast<char>('0' + cents % 10);
    if (v < 0) text.insert(0, 1, '-');
    return text;
}

SjisString FormatInt3(int64_t value) {
    return AtLeast(std::to_string(value), 3);
}
