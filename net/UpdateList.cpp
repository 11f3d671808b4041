#include "net/UpdateList.h"

#include "data/Edition.h"
#include "data/TextHelpers.h"
#include "platform/Cp932.h"

#include <cstring>
#include <iterator>
#include <optional>
#include <vector>

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

// The kind's position in kDataKinds.
std::optional<std::size_t> FindDataKind(const SjisString& kind) {
    for (std::size_t i = 0; i < std::size(kDataKinds); ++i)
        if (kind == kDataKinds[i].Kind) return i;
    return std::nullopt;
}

// The log texts of a data kind in Shift-JIS, converted once rather than once a line.
struct KindTexts {
    SjisString Newer;
    SjisString Current;
};

// The texts of kDataKinds[index].
const KindTexts& TextsOf(std::size_t index) {
    static const std::vector<KindTexts> texts = [] {
        std::vector<KindTexts> all;
        for (const KindInfo& kind : kDataKinds)
            all.push_back({Utf8ToSjis(kind.NewerUtf8), Utf8ToSjis(kind.CurrentUtf8)});
        return all;
    }();
    return texts[index];
}

// Bytes [first, first + length) of the text, counted from 0; short text gives less.
SjisString Cut(std::string_view text, std::size_t first, std::size_t length) {
    if (first >= text.size()) return SjisString();
    return SjisString(text.substr(first, length));
}

} // namespace

UpdateLine CutUpdateLine(std::string_view line) {
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
    const std::optional<std::size_t> index = FindDataKind(kind);
    return index ? kDataKinds[*index].FileName : "";
}

bool IsDownloadFileName(std::string_view name) {
    for (const KindInfo& info : kDataKinds)
        if (name == info.FileName) return true;
    return false;
}

const Edition* MasterListLayoutForKind(const SjisString& kind) {
    if (kind == "GFV") return &GuitarEdition();
    if (kind == "DMV") return &DrumEdition();
    return nullptr;
}

SjisString CheckValueOf(const UpdateLine& line) {
    return line.Code + " " + line.Date;
}

void EvaluateUpdateList(std::string_view text, const SjisString& ownReleaseCode,
                        const ReadCheckValue& readCheck,
                        const std::function<void(UpdateEvent::Type kind, std::string_view text)>& onEvent,
                        const std::function<void(std::string_view line)>& onDownload) {
    static const SjisString kNewApp = Utf8ToSjis(
        "「ギタドラのPelorin」の新しいバージョンが存在します！\r\nダウンロードサイトで確認してください");
    static const SjisString kAppNewer = Utf8ToSjis("アプリケーションの新しいバージョンを確認しました");
    static const SjisString kAppCurrent = Utf8ToSjis("アプリケーションは最新です");
    static const SjisString kCode = Utf8ToSjis(" リリースコード：");
    static const SjisString kDate = Utf8ToSjis(" リリース日時：");

    SjisString release; // one buffer for every release line
    const auto logRelease = [&](const UpdateLine& line) {
        release.assign(kCode).append(line.Code);
        onEvent(UpdateEvent::Log, release);
        release.assign(kDate).append(line.Date);
        onEvent(UpdateEvent::Log, release);
    };

    ForEachSplitLine(text, [&](std::string_view raw) {
        const UpdateLine line = CutUpdateLine(raw);
        if (line.Kind == "APP") {
            if (BytesGreater(line.Code, ownReleaseCode)) {
                onEvent(UpdateEvent::NewAppNotice, kNewApp);
                onEvent(UpdateEvent::Log, kAppNewer);
                logRelease(line);
            } else {
                onEvent(UpdateEvent::Log, kAppCurrent);
            }
            return;
        }
        const std::optional<std::size_t> index = FindDataKind(line.Kind);
        if (!index) return;

        const SjisString stored = readCheck(line.Kind);
        const SjisString storedCode = Cut(stored, 0, 3);
        const SjisString storedDate = Cut(stored, 4, 19);
        if (BytesGreater(line.Code, storedCode) || BytesGreater(line.Date, storedDate)) {
            onEvent(UpdateEvent::Log, TextsOf(*index).Newer);
            logRelease(line);
            onDownload(raw);
        } else {
            onEvent(UpdateEvent::Log, TextsOf(*index).Current);
        }
    });
}

UpdateEvaluation EvaluateUpdateList(const SjisString& text, const SjisString& ownReleaseCode,
                                    const ReadCheckValue& readCheck) {
    UpdateEvaluation out;
    EvaluateUpdateList(
        text, ownReleaseCode, readCheck,
        [&out](UpdateEvent::Type kind, std::string_view event) {
            out.Events.push_back({kind, SjisString(event)});
        },
        [&out](std::string_view line) { out.Downloads.emplace_back(line); });
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
