#include "net/UpdateList.h"

#include "data/Edition.h"
#include "data/TextHelpers.h"
#include "platform/Cp932.h"

#include <cstring>

const char* const kCheckSection = "check";
const char* const kDefaultCheckValue = "000 0000/00/00 00:00:00";

namespace {

struct KindInfo {
    const char* Kind;
    const char* FileName;
    const char* NewerUtf8;
    const char* CurrentUtf8;
};

const KindInfo kDataKinds[] = {
    {"GFV", "GuitarFreaksV3.txt", "「GuitarFreaks V3」の曲データが更新されています",
     "「GuitarFreaks V3」の曲データは最新です"},
    {"DMV", "DrumManiaV3.txt", "「DrumMania V3」の曲データが更新されています",
     "「DrumMania V3」の曲データは最新です"},
    {"GD1", "gfdmgd1.dat", "データベースデータ１が更新されています", "データベースデータ１は最新です"},
    {"GD2", "gfdmgd2.dat", "データベースデータ２が更新されています", "データベースデータ２は最新です"},
};

const KindInfo* FindDataKind(const SjisString& kind) {
    for (const KindInfo& info : kDataKinds)
        if (kind == info.Kind) return &info;
    return nullptr;
}

// Bytes [first, first + length) of the text, counted from 0; short text gives less.
SjisString Cut(const SjisString& text, std::size_t first, std::size_t length) {
    if (first >= text.size()) return SjisString();
    return text.substr(first, length);
}

void Log(UpdateEvaluation& out, const SjisString& text) {
    out.Events.push_back({UpdateEvent::Log, text});
}

void LogRelease(UpdateEvaluation& out, const UpdateLine& line) {
    static const SjisString kCode = Utf8ToSjis(" リリースコード：");
    static const SjisString kDate = Utf8ToSjis(" リリース日時：");
    Log(out, kCode + line.Code);
    Log(out, kDate + line.Date);
}

} // namespace

UpdateLine CutUpdateLine(const SjisString& line) {
    return {Cut(line, 0, 3), Cut(line, 4, 3), Cut(line, 8, 19), Cut(line, 28, 255)};
}

bool BytesGreater(const SjisString& a, const SjisString& b) {
    const std::size_t common = a.size() < b.size() ? a.size() : b.size();
    const int order = std::memcmp(a.data(), b.data(), common); // memcmp compares as unsigned char
    if (order != 0) return order > 0;
    return a.size() > b.size();
}

SjisString RequestAddress(const SjisString& address) {
    SjisString request;
    request.reserve(address.size());
    for (char byte : address) {
        if (byte == ' ') {
            request += "%20";
        } else {
            request += byte;
        }
    }
    return request;
}

SjisString FileNameForKind(const SjisString& kind) {
    const KindInfo* info = FindDataKind(kind);
    return info != nullptr ? info->FileName : "";
}

const Edition* MasterListLayoutForKind(const SjisString& kind) {
    if (kind == "GFV") return &GuitarEdition();
    if (kind == "DMV") return &DrumEdition();
    return nullptr;
}

SjisString CheckValueOf(const UpdateLine& line) {
    return line.Code + " " + line.Date;
}

UpdateEvaluation EvaluateUpdateList(const SjisString& text, const SjisString& ownReleaseCode,
                                    const std::function<SjisString(const SjisString& kind)>& readCheck) {
    static const SjisString kNewApp = Utf8ToSjis(
        "「ギタドラのPelorin」の新しいバージョンが存在します！\r\nダウンロードサイトで確認してください");
    static const SjisString kAppNewer = Utf8ToSjis("アプリケーションの新しいバージョンを確認しました");
    static const SjisString kAppCurrent = Utf8ToSjis("アプリケーションは最新です");

    UpdateEvaluation out;
    for (const SjisString& raw : SplitLines(text)) {
        const UpdateLine line = CutUpdateLine(raw);
        if (line.Kind == "APP") {
            if (BytesGreater(line.Code, ownReleaseCode)) {
                out.Events.push_back({UpdateEvent::NewAppNotice, kNewApp});
                Log(out, kAppNewer);
                LogRelease(out, line);
            } else {
                Log(out, kAppCurrent);
            }
            continue;
        }
        const KindInfo* info = FindDataKind(line.Kind);
        if (info == nullptr) continue;

        const SjisString stored = readCheck(line.Kind);
        const SjisString storedCode = Cut(stored, 0, 3);
        const SjisString storedDate = Cut(stored, 4, 19);
        if (BytesGreater(line.Code, storedCode) || BytesGreater(line.Date, storedDate)) {
            Log(out, Utf8ToSjis(info->NewerUtf8));
            LogRelease(out, line);
            out.Downloads.push_back(raw);
        } else {
            Log(out, Utf8ToSjis(info->CurrentUtf8));
        }
    }
    return out;
}

const SjisString& AskDownloadText() {
    static const SjisString kText = Utf8ToSjis("データが更新されています。\r\nダウンロードしますか？");
    return kText;
}

const SjisString& ConnectingLogText() {
    static const SjisString kText = Utf8ToSjis("サーバーへ接続中...");
    return kText;
}

const SjisString& ReceivedLogText() {
    static const SjisString kText = Utf8ToSjis("ファイルを取得しました");
    return kText;
}
