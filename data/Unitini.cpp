#include "data/Unitini.h"

#include "platform/AtomicFile.h"
#include "platform/Cp932.h"
#include "platform/IntConv.h"
#include "platform/PrivateProfile.h"

#include <cstdio>
#include <utility>

const char* const kSettingsFileName = "vostrane.ini";

SjisString IniFileName;

namespace {

IniFailureHandler& FailureHandler() {
    static IniFailureHandler handler;
    return handler;
}

// The writes of the outermost open batch, if any.
std::vector<ProfileWrite>*& Gathered() {
    static std::vector<ProfileWrite>* writes = nullptr;
    return writes;
}

void ReportFailedWrite() {
    static const SjisString kFailed = Utf8ToSjis("書込みに失敗しました");
    const SjisString message = kFailed + "\r" + PathForMessage(IniFileName);
    if (FailureHandler()) {
        FailureHandler()(message);
    } else {
        std::fprintf(stderr, "%s\n", SjisToUtf8(message).c_str());
    }
}

// The file as the gathered writes will leave it.
std::string GatheredText() {
    std::string text = ReadProfileText(IniFileName);
    for (const ProfileWrite& write : *Gathered())
        text = ProfileUpdate(text, write.Section, write.Key, write.Value);
    return text;
}

} // namespace

SjisString IniReadString(const SjisString& section, const SjisString& key, const SjisString& def) {
    if (Gathered() == nullptr) return ReadProfileString(IniFileName, section, key, def);
    return ProfileLookup(GatheredText(), section, key, def);
}

IniImage::IniImage()
    : image_(Gathered() == nullptr ? ReadProfileImage(IniFileName) : ProfileImage(GatheredText())) {}

SjisString IniImage::Read(const SjisString& section, const SjisString& key, const SjisString& def) const {
    return image_.Lookup(section, key, def);
}

void IniWriteString(const SjisString& section, const SjisString& key, const SjisString& value) {
    if (Gathered() != nullptr) {
        Gathered()->push_back({section, key, value});
    } else if (!WriteProfileString(IniFileName, section, key, value)) {
        ReportFailedWrite();
    }
}

IniWriteBatch::IniWriteBatch() : outermost_(Gathered() == nullptr) {
    if (outermost_) Gathered() = &writes_;
}

IniWriteBatch::~IniWriteBatch() {
    Commit();
    if (outermost_) Gathered() = nullptr;
}

void IniWriteBatch::Commit() {
    if (!outermost_ || writes_.empty()) return;
    const std::vector<ProfileWrite> writes = TakeWrites();
    if (!WriteProfileStrings(IniFileName, writes)) ReportFailedWrite();
}

std::vector<ProfileWrite> IniWriteBatch::TakeWrites() {
    return std::exchange(writes_, {});
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
