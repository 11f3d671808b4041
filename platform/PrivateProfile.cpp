#include "platform/PrivateProfile.h"

#include "platform/AppError.h"
#include "platform/AtomicFile.h"
#include "platform/Cp932.h"
#include "platform/FolderLock.h"

#include <deque>
#include <string_view>
#include <vector>

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Case-insensitive for ASCII letters only; the trail byte of a double-byte
// character is compared exactly, since it may fall into the letter range.
bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (IsSjisLeadByte(static_cast<unsigned char>(a[i])) && i + 1 < a.size()) {
            if (a[i] != b[i] || a[i + 1] != b[i + 1]) return false;
            ++i;
        } else if (AsciiLower(a[i]) != AsciiLower(b[i])) {
            return false;
        }
    }
    return true;
}

enum class Kind { Other, Section, Key, Comment };

struct Line {
    std::string_view body; // without its line end
    std::string_view end;  // "\r\n", "\n" or "" for a last line without one
    Kind kind = Kind::Other;
    std::string_view name;  // section or key name, trimmed
    std::string_view value; // raw text after the first "=" of a key line
};

std::vector<Line> ParseLines(std::string_view text) {
    std::vector<Line> lines;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t lf = text.find('\n', pos);
        Line line;
        if (lf == std::string_view::npos) {
            line.body = text.substr(pos);
            pos = text.size();
        } else {
            std::size_t bodyEnd = (lf > pos && text[lf - 1] == '\r') ? lf - 1 : lf;
            line.body = text.substr(pos, bodyEnd - pos);
            line.end = text.substr(bodyEnd, lf + 1 - bodyEnd);
            pos = lf + 1;
        }
        std::string_view trimmed = TrimBlanks(line.body);
        std::size_t close = trimmed.rfind(']');
        std::size_t equals = trimmed.find('=');
        if (!trimmed.empty() && trimmed.front() == '[' && close != std::string_view::npos) {
            line.kind = Kind::Section;
            line.name = TrimBlanks(trimmed.substr(1, close - 1));
        } else if (!trimmed.empty() && trimmed.front() == ';') {
            line.kind = Kind::Comment;
        } else if (equals != std::string_view::npos) {
            line.kind = Kind::Key;
            line.name = TrimBlanks(trimmed.substr(0, equals));
            line.value = trimmed.substr(equals + 1);
        }
        lines.push_back(line);
    }
    return lines;
}

// Index of the first header of the section, or lines.size().
std::size_t FindSection(const std::vector<Line>& lines, std::string_view section) {
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (lines[i].kind == Kind::Section && SameName(lines[i].name, section)) return i;
    return lines.size();
}

SjisString CutToLimit(std::string_view s) {
    return SjisString(s.substr(0, kProfileValueLimit));
}

SjisString WithoutLineBreaks(std::string_view s) {
    SjisString out(s);
    for (char& c : out)
        if (c == '\r' || c == '\n') c = ' ';
    return out;
}

} // namespace

SjisString ProfileLookup(const std::string& text, const SjisString& section, const SjisString& key,
                         const SjisString& def) {
    const std::vector<Line> lines = ParseLines(text);
    const std::string_view wantSection = TrimBlanks(section);
    const std::string_view wantKey = TrimBlanks(key);
    for (std::size_t i = FindSection(lines, wantSection) + 1; i < lines.size(); ++i) {
        if (lines[i].kind == Kind::Section) break;
        if (lines[i].kind != Kind::Key || !SameName(lines[i].name, wantKey)) continue;
        std::string_view value = TrimBlanks(lines[i].value);
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
            value.back() == value.front())
            value = value.substr(1, value.size() - 2);
        return CutToLimit(value);
    }
    return CutToLimit(def);
}

std::string ProfileUpdate(const std::string& text, const SjisString& section, const SjisString& key,
                          const SjisString& value) {
    static constexpr std::string_view kCrLf = "\r\n";
    std::vector<Line> lines = ParseLines(text);
    const SjisString cleanSection(TrimBlanks(WithoutLineBreaks(section)));
    const SjisString cleanKey(TrimBlanks(WithoutLineBreaks(key)));
    const SjisString cleanValue = WithoutLineBreaks(value);

    // Texts of replaced or added lines must outlive the views into them.
    std::deque<std::string> made;
    auto makeLine = [&](std::string body) {
        made.push_back(std::move(body));
        Line line;
        line.body = made.back();
        line.end = kCrLf;
        return line;
    };

    std::size_t header = FindSection(lines, cleanSection);
    if (header == lines.size()) {
        if (!lines.empty()) {
            if (lines.back().end.empty()) lines.back().end = kCrLf;
            // A blank line between the sections, unless the file already ends with one.
            if (!TrimBlanks(lines.back().body).empty()) lines.push_back(makeLine(""));
        }
        lines.push_back(makeLine("[" + cleanSection + "]"));
        lines.push_back(makeLine(cleanKey + "=" + cleanValue));
    } else {
        std::size_t lastNonBlank = header;
        bool replaced = false;
        for (std::size_t i = header + 1; i < lines.size() && lines[i].kind != Kind::Section; ++i) {
            if (lines[i].kind == Kind::Key && SameName(lines[i].name, cleanKey)) {
                lines[i] = makeLine(std::string(lines[i].name) + "=" + cleanValue);
                replaced = true;
                break;
            }
            if (!TrimBlanks(lines[i].body).empty()) lastNonBlank = i;
        }
        if (!replaced) {
            if (lines[lastNonBlank].end.empty()) lines[lastNonBlank].end = kCrLf;
            lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(lastNonBlank) + 1,
                         makeLine(cleanKey + "=" + cleanValue));
        }
    }

    std::string out;
    out.reserve(text.size() + cleanKey.size() + cleanValue.size() + cleanSection.size() + 16);
    for (const Line& line : lines) {
        out += line.body;
        out += line.end;
    }
    return out;
}

std::string ReadProfileText(const std::string& path) {
    std::string text;
    try {
        if (!ReadWholeFile(path, text)) text.clear();
    } catch (const AppError&) {
        text.clear();
    }
    return text;
}

SjisString ReadProfileString(const std::string& path, const SjisString& section, const SjisString& key,
                             const SjisString& def) {
    return ProfileLookup(ReadProfileText(path), section, key, def);
}

bool WriteProfileString(const std::string& path, const SjisString& section, const SjisString& key,
                        const SjisString& value) {
    return WriteProfileStrings(path, {{section, key, value}});
}

bool WriteProfileStrings(const std::string& path, const std::vector<ProfileWrite>& writes,
                         std::chrono::milliseconds patience) {
    const FolderLock lock(FolderOf(path), patience);
    if (!lock.Held()) return false;
    std::string text;
    try {
        if (!ReadWholeFile(path, text)) text.clear();
        for (const ProfileWrite& write : writes)
            text = ProfileUpdate(text, write.Section, write.Key, write.Value);
        WriteFileAtomic(path, text, 0600);
    } catch (const AppError&) {
        return false;
    }
    return true;
}
