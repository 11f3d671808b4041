#include "net/NetworkLog.h"

#include "net/WebProtocol.h"
#include "platform/AtomicFile.h"
#include "platform/Cp932.h"

const char* const kNetworkLogFileName = "network_log.txt";

namespace {

SjisString StatusName(HttpStatus status) {
    static const SjisString kResolving = Utf8ToSjis("ホスト名解決中");
    static const SjisString kConnecting = Utf8ToSjis("接続中");
    static const SjisString kConnected = Utf8ToSjis("接続完了");
    static const SjisString kDisconnecting = Utf8ToSjis("接続解除中");
    static const SjisString kDisconnected = Utf8ToSjis("接続解除");
    static const SjisString kText = Utf8ToSjis("通知メッセージを生成中");
    switch (status) {
    case HttpStatus::Resolving:
        return kResolving;
    case HttpStatus::Connecting:
        return kConnecting;
    case HttpStatus::Connected:
        return kConnected;
    case HttpStatus::Disconnecting:
        return kDisconnecting;
    case HttpStatus::Disconnected:
        return kDisconnected;
    case HttpStatus::Text:
        return kText;
    }
    return "???";
}

SjisString WorkModeName(HttpWorkMode mode) {
    switch (mode) {
    case HttpWorkMode::Read:
        return "Read";
    case HttpWorkMode::Write:
        return "Write";
    }
    return "???";
}

} // namespace

SjisString NetworkLog::Text() const {
    SjisString text;
    for (const SjisString& line : lines_)
        text += line + "\r\n";
    return text;
}

void NetworkLog::WriteFile(const std::string& path) const {
    WriteFileAtomic(path, Text(), kPrivateFileMode);
}

std::vector<SjisString> NoticeLogLines(const HttpNotice& notice, const LocalTime& now) {
    using Kind = HttpNotice::Kind;
    switch (notice.kind) {
    case Kind::Connected:
        return {"Connected", FormatTime(now, "yyyy/mm/dd hh:nn:ss")};
    case Kind::Disconnected:
        return {"Disconnected", FormatTime(now, "yyyy/mm/dd hh:nn:ss")};
    case Kind::Redirect:
        return {"Redirect:" + notice.text + " " + std::to_string(notice.count)};
    case Kind::Status:
        return {"Status:" + StatusName(notice.status) + " " + notice.text};
    case Kind::WorkBegin:
        return {"WorkBegin"};
    case Kind::Work:
        return {"Work:" + WorkModeName(notice.mode) + " " + std::to_string(notice.count) + " bytes"};
    case Kind::WorkEnd:
        return {"WorkEnd"};
    }
    return {};
}

std::vector<SjisString> ErrorBlockLines(const std::string& url, int statusCode, const std::string& statusLine,
                                        const std::string& libraryVersion) {
    RequestUrlParts parts = SplitRequestUrl(url);
    return {
        "!!!!EERROR!!!!",
        " Host:" + parts.Host,
        " Port:" + std::to_string(parts.Port),
        " URL:" + parts.Path,
        "     " + parts.Query,
        " ResponseCode:" + std::to_string(statusCode),
        " ResponseText:" + statusLine,
        " Version:" + libraryVersion,
    };
}
