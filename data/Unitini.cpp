#include "data/Unitini.h"

#include "platform/Cp932.h"
#include "platform/IntConv.h"
#include "platform/PrivateProfile.h"

#include <cstdio>

SjisString IniFileName;

namespace {

IniFailureHandler& FailureHandler() {
    static IniFailureHandler handler;
    return handler;
}

} // namespace

SjisString IniReadString(const SjisString& section, const SjisString& key, const SjisString& def) {
    return ReadProfileString(IniFileName, section, key, def);
}

void IniWriteString(const SjisString& section, const SjisString& key, const SjisString& value) {
    if (WriteProfileString(IniFileName, section, key, value)) return;
    static const SjisString kFailed = Utf8ToSjis("書込みに失敗しました");
    const SjisString message = kFailed + "\r" + IniFileName;
    if (FailureHandler()) {
        FailureHandler()(message);
    } else {
        std::fprintf(stderr, "%s\n", SjisToUtf8(message).c_str());
    }
}

void SetIniFailureHandler(IniFailureHandler handler) {
    FailureHandler() = std::move(handler);
}

bool IniStrToBool(const SjisString& text) {
    if (text == "1") return true;
    if (text.size() != 4) return false;
    SjisString upper = text;
    for (char& c : upper)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return upper == "TRUE";
}

SjisString BoolToIniStr(bool value) {
    return value ? "TRUE" : "FALSE";
}

int32_t DigitsToInt(const SjisString& text) {
    SjisString digits;
    for (char c : text)
        if (c >= '0' && c <= '9') digits += c;
    if (digits.empty()) return 0;
    return StrToInt(digits);
}
