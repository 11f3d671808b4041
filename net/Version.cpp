#include "net/Version.h"

#include "platform/AppError.h"
#include "platform/Cp932.h"
#include "platform/IntConv.h"

#include <cstdio>
#include <vector>

namespace {

const char* const kOwnFileVersionText = "3.2.25.67";

std::vector<SjisString> SplitVersion(const SjisString& value) {
    std::vector<SjisString> pieces;
    SjisString piece;
    bool quoted = false;
    auto flush = [&] {
        if (!piece.empty()) pieces.push_back(piece);
        piece.clear();
    };
    for (char c : value) {
        if (c == '"') {
            quoted = !quoted;
        } else if (!quoted && (c == '.' || c == '\r' || c == '\n')) {
            flush();
        } else {
            piece += c;
        }
    }
    flush();
    return pieces;
}

SjisString MissingPieceMessage(std::size_t index) {
    static const SjisString kText = Utf8ToSjis("リストのインデックスが範囲を超えています");
    return kText + " (" + std::to_string(index) + ")";
}

} // namespace

void ReadFileVersion(const std::optional<SjisString>& value, int32_t& major, int32_t& minor, int32_t& release,
                     int32_t& build) {
    if (!value) return;
    const std::vector<SjisString> pieces = SplitVersion(*value);
    int32_t numbers[4];
    for (std::size_t i = 0; i < 4; ++i) {
        if (i >= pieces.size()) throw AppError(MissingPieceMessage(i));
        numbers[i] = StrToInt(pieces[i]);
    }
    major = numbers[0];
    minor = numbers[1];
    release = numbers[2];
    build = numbers[3];
}

void GetOwnFileVersion(int32_t& major, int32_t& minor, int32_t& release, int32_t& build) {
    ReadFileVersion(SjisString(kOwnFileVersionText), major, minor, release, build);
}

SjisString ReleaseCode(int32_t release) {
    char buffer[24];
    std::snprintf(buffer, sizeof buffer, "R%2d", static_cast<int>(release));
    return buffer;
}
