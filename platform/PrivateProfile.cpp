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

enum class Kind {
    Blank,   // nothing but blanks
    Section, // "[name]"
    Key,     // "name=value"
    BareKey, // a name without "=": no value, but a write of its key fills it in
    Comment, // ";" and anything
};

struct Line {
    std::string_view body; // without its line end
    std::string_view end;  // "\r\n", "\n", "\r" or "" for a last line without one
    Kind kind = Kind::Blank;
    std::string_view name;  // section or key name, trimmed
    std::string_view value; // raw text after the first "=" of a key line
};

// Files saved by some editors start with a UTF-8 byte-order mark; it is no
// part of the first line, and a rewrite keeps it where it was.
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

std::string_view WithoutByteOrderMark(std::string_view text) {
    if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark) text.remove_prefix(kByteOrderMark.size());
    return text;
}

// A line ends at CR LF, at LF or at a lone CR, as files written on other
// systems have them. Neither byte is ever the trail byte of a double-byte
// character, so cutting byte by byte is safe.
std::vector<Line> ParseLines(std::string_view text) {
    std::vector<Line> lines;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t stop = text.find_first_of("\r\n", pos);
        Line line;
        if (stop == std::string_view::npos) {
            line.body = text.substr(pos);
            pos = text.size();
        } else {
            const std::size_t endSize = text.compare(stop, 2, "\r\n") == 0 ? 2 : 1;
            line.body = text.substr(pos, stop - pos);
            line.end = text.substr(stop, endSize);
            pos = stop + endSize;
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
        } else if (!trimmed.empty()) {
            line.kind = Kind::BareKey;
            line.name = trimmed;
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
    const std::vector<Line> lines = ParseLines(WithoutByteOrderMark(text));
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
    const std::string_view content = WithoutByteOrderMark(text);
    std::vector<Line> lines = ParseLines(content);
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
        std::size_t bareLine = lines.size();
        bool replaced = false;
        for (std::size_t i = header + 1; i < lines.size() && lines[i].kind != Kind::Section; ++i) {
            if (lines[i].kind == Kind::Key && SameName(lines[i].name, cleanKey)) {
                lines[i] = makeLine(std::string(lines[i].name) + "=" + cleanValue);
                replaced = true;
                break;
            }
            if (lines[i].kind == Kind::BareKey && bareLine == lines.size() &&
                SameName(lines[i].name, cleanKey))
                bareLine = i;
            if (!TrimBlanks(lines[i].body).empty()) lastNonBlank = i;
        }
        // A bare "key" line is what other readers of the file find first, so
        // the value goes there rather than into a second line of that key.
        if (!replaced && bareLine < lines.size()) {
            lines[bareLine] = makeLine(std::string(lines[bareLine].name) + "=" + cleanValue);
            replaced = true;
        }
        if (!replaced) {
            if (lines[lastNonBlank].end.empty()) lines[lastNonBlank].end = kCrLf;
            lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(lastNonBlank) + 1,
                         makeLine(cleanKey + "=" + cleanValue));
        }
    }

    std::string out(text.substr(0, text.size() - content.size())); // the byte-order mark, if any
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

std::optional<std::string> RewriteProfile(const std::string& path, const std::vector<ProfileWrite>& writes) {
    std::string text;
    try {
        if (!ReadWholeFile(path, text)) text.clear();
    } catch (const AppError&) {
        return std::nullopt;
    }
    for (const ProfileWrite& write : writes)
        text = ProfileUpdate(text, write.Section, write.Key, write.Value);
    // What could not be read back must not be written.
    if (text.size() > kLocalFileLimit) return std::nullopt;
    return text;
}

ReplaceProbe ProbeProfileWrite(const std::string& path, const std::vector<ProfileWrite>& writes,
                               std::string* folderTried) {
    const ReplaceProbe replace = ProbeReplace(path, kPrivateFileMode, folderTried);
    if (replace != ReplaceProbe::Replaceable) return replace;
    return RewriteProfile(path, writes) ? ReplaceProbe::Replaceable : ReplaceProbe::FileRefuses;
}

bool WriteProfileStrings(const std::string& path, const std::vector<ProfileWrite>& writes,
                         std::chrono::milliseconds patience) {
    // A folder that cannot be locked is still written, whole and atomically.
    const FolderLock lock(FolderOf(path), patience);
    if (lock.Busy()) return false;
    const std::optional<std::string> text = RewriteProfile(path, writes);
    if (!text) return false;
    try {
        WriteFileAtomic(path, *text, kPrivateFileMode);
    } catch (const AppError&) {
        return false;
    }
    return true;
}

ProfileImage::ProfileImage(std::string text) : text_(std::move(text)) {}

SjisString ProfileImage::Lookup(const SjisString& section, const SjisString& key,
                                const SjisString& def) const {
    const auto question = std::forward_as_tuple(section, key, def);
    auto known = answers_.find(question);
    if (known == answers_.end())
        known = answers_.emplace(question, ProfileLookup(text_, section, key, def)).first;
    return known->second;
}

ProfileImage ReadProfileImage(const std::string& path) {
    return ProfileImage(ReadProfileText(path));
}
