#include "net/WebProtocol.h"

#include "data/TextHelpers.h"
#include "net/Encode.h"
#include "net/HttpClient.h"
#include "platform/AppError.h"
#include "platform/Cp932.h"
#include "platform/IntConv.h"

#include <algorithm>
#include <cstdio>

namespace {

SjisString AccountQuery(const SjisString& account, const SjisString& password, const SjisString& accessCode) {
    return "id=" + UrlEncode(account) + "&pass=" + UrlEncode(password) + "&access=" + UrlEncode(accessCode);
}

// Columns are counted in bytes from 1; a column beyond the line's end is empty.
std::string Columns(const std::string& line, std::size_t first, std::size_t length) {
    if (first - 1 >= line.size()) return std::string();
    return line.substr(first - 1, length);
}

int32_t NumberOrZero(const std::string& line, std::size_t first) {
    int32_t value = 0;
    return TryStrToInt(Columns(line, first, 4), value) ? value : 0;
}

// Why a request that got no reply failed.
SjisString FailureReason(const HttpClient& client) {
    switch (client.Failure()) {
    case HttpFailure::NoLibrary:
        return Utf8ToSjis("通信ライブラリ libcurl を読み込めません");
    case HttpFailure::HttpsAddress:
        return Utf8ToSjis("https のアドレスには対応していません");
    case HttpFailure::UnknownHost:
        return Utf8ToSjis("ホスト名を解決できません");
    case HttpFailure::CannotConnect:
        return Utf8ToSjis("サーバーに接続できません");
    case HttpFailure::NoResponse:
        return Utf8ToSjis("サーバーから応答がありません");
    case HttpFailure::None:
    case HttpFailure::Other:
        break;
    }
    // libcurl's own text is ASCII, so it is Shift-JIS as it stands.
    return client.ErrorText();
}

} // namespace

SjisString ApplicationUrl(const SjisString& server, bool accessOnly, const SjisString& account,
                          const SjisString& password, const SjisString& accessCode) {
    return server + (accessOnly ? "cl_addac.asp?" : "cl_adduser.asp?") +
           AccountQuery(account, password, accessCode);
}

SjisString DeleteUserUrl(const SjisString& server, const SjisString& account, const SjisString& password,
                         const SjisString& accessCode) {
    return server + "cl_deluser.asp?" + AccountQuery(account, password, accessCode);
}

SjisString SendUrl(const SjisString& server, const SjisString& account, const SjisString& accessCode,
                   const SjisString& gameCode, int32_t count, const SjisString& pendingQuery) {
    return server + "cl_send.asp?id=" + UrlEncode(account) + "&access=" + UrlEncode(accessCode) +
           "&game=" + gameCode + "&cnt=" + std::to_string(count) + pendingQuery;
}

SjisString RecompUrl(const SjisString& server, const SjisString& account, const SjisString& gameCode) {
    return server + "edit_recomp.asp?userid=" + UrlEncode(account) + "&acid=import&edit=" + gameCode;
}

SjisString ReceiveUrl(const SjisString& server, const SjisString& account, const SjisString& accessCode,
                      const SjisString& gameCode, bool all) {
    return server + "cl_recv.asp?id=" + UrlEncode(account) + "&access=" + UrlEncode(accessCode) +
           "&game=" + gameCode + (all ? "&mode=all" : "&mode=upd");
}

SjisString PublicPageUrl(const SjisString& server, const SjisString& gameCode, const SjisString& account) {
    return server + gameCode + ".asp?id=" + account;
}

bool IsSelectedForSend(const TMusicList& music, TransferMode mode) {
    if (mode == TransferMode::ChangedOnly) return music.Changed && music.SkillList.BestChart != -1;
    return music.SkillList.BestSkill > 0;
}

SjisString FormatSongCode(int32_t code) {
    char text[16];
    std::snprintf(text, sizeof text, "%4.4d", static_cast<int>(code));
    return text;
}

SjisString FormatRecordValue(int32_t value) {
    return ZeroPad(std::to_string(std::clamp<int32_t>(value, 0, 9999)), 4);
}

SjisString SendRecordGroup(const TMusicList& music) {
    const TSkillList& skills = music.SkillList;
    int chart = std::clamp<int32_t>(skills.BestChart, 0, kMaxChartCount - 1);
    const TChartResult& result = skills.Chart[static_cast<std::size_t>(chart)];

    SjisString record =
        FormatSongCode(music.Code) + std::to_string(skills.BestChart) + std::to_string(result.InputMode);
    if (result.InputMode == InputRate) {
        record += FormatRecordValue(result.Rate);
    } else if (result.InputMode == InputPercents) {
        for (int32_t value : {result.PerfectPct, result.GreatPct, result.GoodPct, result.PoorPct,
                              result.MissPct, result.ComboPct})
            record += FormatRecordValue(value);
    } else if (result.InputMode == InputCounts) {
        for (int32_t value : {result.PerfectCount, result.GreatCount, result.GoodCount, result.PoorCount,
                              result.MissCount, result.ComboCount})
            record += FormatRecordValue(value);
    }
    return "spdata=" + record + "&comment=" + UrlEncode(music.Comment.substr(0, 100));
}

ReplyToken EvaluateReply(const std::string& body) {
    if (body == "VOSTRANE.NET:0") return ReplyToken::Success;
    if (body == "VOSTRANE.NET:1") return ReplyToken::AlreadyRegistered;
    if (body == "VOSTRANE.NET:2") return ReplyToken::InvalidCharacters;
    if (body == "VOSTRANE.NET:9") return ReplyToken::Missing;
    return ReplyToken::Other;
}

int32_t ApplyReceivedLines(const std::string& body) {
    int32_t count = 0;
    const int highestChart = ChartCount() - 1;
    for (const std::string& line : SplitLines(body)) {
        if (TrimText(line).empty()) continue;

        // The song is looked up before any other column is read, so a line of
        // an unknown song is skipped even when the rest of it is unreadable;
        // with no songs at all nothing is read.
        if (MusicCount <= 0) continue;
        int32_t code = StrToInt(Columns(line, 1, 4));
        TMusicList* music = nullptr;
        for (int32_t i = 0; i < MusicCount; ++i) {
            if (MusicTable[static_cast<std::size_t>(i)].Code == code) {
                music = &MusicTable[static_cast<std::size_t>(i)];
                break;
            }
        }
        if (music == nullptr) continue;

        int32_t chart = StrToInt(Columns(line, 5, 1));
        if (chart > highestChart) chart = 0;
        int32_t kind = StrToInt(Columns(line, 6, 1));
        TChartResult& result = music->SkillList.Chart[static_cast<std::size_t>(chart)];

        result.RecvValue = NumberOrZero(line, 59);
        // The comment may come with TABs or control bytes that would break the
        // comments file.
        SjisString comment = SanitizeFieldText(Columns(line, 63, 100));
        if (kind == 0) {
            int32_t* counts[] = {&result.PerfectCount, &result.GreatCount, &result.GoodCount,
                                 &result.PoorCount,    &result.MissCount,  &result.ComboCount};
            for (std::size_t k = 0; k < 6; ++k)
                *counts[k] = NumberOrZero(line, 7 + 4 * k);
            result.TotalNotes = NumberOrZero(line, 55);
            music->Comment = comment;
            result.InputMode = InputCounts;
        } else if (kind == 1) {
            int32_t* percents[] = {&result.PerfectPct, &result.GreatPct, &result.GoodPct,
                                   &result.PoorPct,    &result.MissPct,  &result.ComboPct};
            for (std::size_t k = 0; k < 6; ++k)
                *percents[k] = NumberOrZero(line, 31 + 4 * k);
            music->Comment = comment;
            result.InputMode = InputPercents;
        } else if (kind == 2) {
            result.Rate = NumberOrZero(line, 55);
            result.InputMode = InputRate;
            music->Comment = comment;
        }
        ++count;
    }
    return count;
}

SjisString ReceivedCountMessage(int32_t count) {
    static const SjisString kTail = Utf8ToSjis("件 更新しました。");
    return std::to_string(count) + kTail;
}

SjisString RequestErrorMessage(int statusCode, const std::string& statusLine) {
    static const SjisString kHead = Utf8ToSjis("エラーが発生しました。CODE:");
    return kHead + std::to_string(statusCode) + " MESSAGE:" + statusLine;
}

SjisString RequestErrorMessage(const HttpClient& client) {
    if (client.StatusCode() != -1) return RequestErrorMessage(client.StatusCode(), client.StatusLine());
    return RequestErrorMessage(-1, FailureReason(client));
}

RequestUrlParts SplitRequestUrl(const std::string& url) {
    RequestUrlParts parts;
    std::size_t scheme = url.find("://");
    std::size_t authorityStart = scheme == std::string::npos ? 0 : scheme + 3;
    std::size_t authorityEnd = url.find_first_of("/?#", authorityStart);
    if (authorityEnd == std::string::npos) authorityEnd = url.size();
    std::string authority = url.substr(authorityStart, authorityEnd - authorityStart);
    std::size_t at = authority.rfind('@');
    if (at != std::string::npos) authority.erase(0, at + 1);

    std::size_t colon = authority.rfind(':');
    std::size_t bracket = authority.rfind(']');
    if (colon != std::string::npos && (bracket == std::string::npos || colon > bracket)) {
        int32_t port = 0;
        std::string digits = authority.substr(colon + 1);
        if (IsDigits(digits) && TryStrToInt(digits, port)) parts.Port = port;
        authority.erase(colon);
    }
    parts.Host = authority;

    std::size_t query = url.find('?', authorityEnd);
    std::string path =
        url.substr(authorityEnd, query == std::string::npos ? std::string::npos : query - authorityEnd);
    std::size_t lastSlash = path.rfind('/');
    parts.Path = lastSlash == std::string::npos ? "/" : path.substr(0, lastSlash + 1);
    if (query != std::string::npos) parts.Query = url.substr(query);
    return parts;
}
