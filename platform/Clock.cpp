#include "platform/Clock.h"

#include <ctime>

namespace {
std::optional<LocalTime> fixedNow;

void AppendNumber(std::string& out, int value, int width) {
    std::string digits = std::to_string(value);
    if (static_cast<int>(digits.size()) < width) out.append(width - digits.size(), '0');
    out += digits;
}
} // namespace

LocalTime Now() {
    if (fixedNow) return *fixedNow;
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec};
}

void SetFixedNow(std::optional<LocalTime> fixed) {
    fixedNow = fixed;
}

std::string FormatTime(const LocalTime& time, std::string_view pattern) {
    struct Token {
        std::string_view text;
        int LocalTime::*field;
        int width;
    };
    static constexpr Token kTokens[] = {
        {"yyyy", &LocalTime::Year, 4}, {"mm", &LocalTime::Month, 2},  {"m", &LocalTime::Month, 1},
        {"dd", &LocalTime::Day, 2},    {"d", &LocalTime::Day, 1},     {"hh", &LocalTime::Hour, 2},
        {"nn", &LocalTime::Minute, 2}, {"ss", &LocalTime::Second, 2},
    };
    std::string out;
    while (!pattern.empty()) {
        bool matched = false;
        for (const Token& token : kTokens) {
            if (pattern.starts_with(token.text)) {
                AppendNumber(out, time.*token.field, token.width);
                pattern.remove_prefix(token.text.size());
                matched = true;
                break;
            }
        }
        if (!matched) {
            out += pattern.front();
            pattern.remove_prefix(1);
        }
    }
    return out;
}
