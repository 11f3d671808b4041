#include "data/TextHelpers.h"

namespace {

bool IsBlankOrControl(char c) {
    return static_cast<unsigned char>(c) <= 0x20;
}

SjisString LastBytes(const SjisString& filler, const SjisString& text, int32_t width) {
    if (width <= 0) return SjisString();
    SjisString whole = filler + text;
    return whole.substr(whole.size() - static_cast<std::size_t>(width));
}

} // namespace

SjisString TrimText(const SjisString& text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && IsBlankOrControl(text[begin]))
        ++begin;
    while (end > begin && IsBlankOrControl(text[end - 1]))
        --end;
    return text.substr(begin, end - begin);
}

SjisString PadLeft(const SjisString& text, int32_t width) {
    return LastBytes(SjisString(width > 0 ? static_cast<std::size_t>(width) : 0, ' '), text, width);
}

bool IsDigits(const SjisString& text) {
    // A text of digits alone is never blank, so only emptiness needs a check.
    if (text.empty()) return false;
    for (char c : text)
        if (c < '0' || c > '9') return false;
    return true;
}

SjisString ZeroPad(const SjisString& text, int32_t width) {
    return LastBytes(SjisString(width > 0 ? static_cast<std::size_t>(width) : 0, '0'), TrimText(text), width);
}

SjisString SanitizeFieldText(const SjisString& text) {
    SjisString out;
    out.reserve(text.size());
    for (char c : text) {
        if (c == '\n') continue;
        if (c == '\t') {
            out += "    ";
        } else if (static_cast<unsigned char>(c) < 0x20) {
            out += ' ';
        } else {
            out += c;
        }
    }
    return out;
}

std::vector<SjisString> SplitLines(std::string_view text) {
    std::vector<SjisString> lines;
    ForEachSplitLine(text, [&lines](std::string_view line) { lines.emplace_back(line); });
    return lines;
}

void ForEachSplitLine(std::string_view text, const std::function<void(std::string_view line)>& line) {
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n') continue;
        line(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < text.size()) line(text.substr(start));
}
