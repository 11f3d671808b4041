#pragma once

#include "data/DataUnit.h"
#include "platform/Clock.h"
#include "platform/SjisString.h"

#include <cstdint>
#include <string>

class HttpClient;

// The web service's requests and replies. Every address is the server
// address followed directly by the path and query. The account name,
// password and access code are percent-encoded like the comment, so no
// byte of theirs can break the request (a blank is refused by libcurl, a "#"
// would cut the query); letters and digits travel unchanged.

// "cl_adduser.asp?..." (a new account) or, with accessOnly, "cl_addac.asp?..."
// (a new access code for an existing account).
SjisString ApplicationUrl(const SjisString& server, bool accessOnly, const SjisString& account,
                          const SjisString& password, const SjisString& accessCode);
SjisString DeleteUserUrl(const SjisString& server, const SjisString& account, const SjisString& password,
                         const SjisString& accessCode);
// The send request with its queued record groups (each "&" + group).
SjisString SendUrl(const SjisString& server, const SjisString& account, const SjisString& accessCode,
                   const SjisString& gameCode, int32_t count, const SjisString& pendingQuery);
SjisString RecompUrl(const SjisString& server, const SjisString& account, const SjisString& gameCode);
SjisString ReceiveUrl(const SjisString& server, const SjisString& account, const SjisString& accessCode,
                      const SjisString& gameCode, bool all);
// The player's public page: shown, never requested.
SjisString PublicPageUrl(const SjisString& server, const SjisString& gameCode, const SjisString& account);

// Sending modes, the items of the mode list in order.
enum class TransferMode { ChangedOnly = 0, All = 1 };

// Whether the send loop sends the song: ChangedOnly needs the Changed mark and
// a best chart, All a best skill above 0.
bool IsSelectedForSend(const TMusicList& music, TransferMode mode);

// The song code as "%4.4d": at least four digits, a "-" before a negative code.
SjisString FormatSongCode(int32_t code);
// One four-digit value field. The value is clamped to 0..9999 first, so a rate
// of 100.00 % travels as "9999" rather than losing its leading digit.
SjisString FormatRecordValue(int32_t value);
// "spdata=" + record of the song's best chart + "&comment=" + the first 100
// bytes of the comment, percent-encoded. Needs a best chart.
SjisString SendRecordGroup(const TMusicList& music);

// Reply tokens, compared with the whole body byte for byte.
enum class ReplyToken { Success, AlreadyRegistered, InvalidCharacters, Missing, Other };
ReplyToken EvaluateReply(const std::string& body);

// Applies a receive reply to songs 0..MusicCount-1 and returns the number of
// lines whose song was found. A line whose song code, chart index or kind is
// not an integer raises AppError; the lines before it stay applied.
int32_t ApplyReceivedLines(const std::string& body);

// "%d件 更新しました。"
SjisString ReceivedCountMessage(int32_t count);
// "エラーが発生しました。CODE:%d MESSAGE:%s"
SjisString RequestErrorMessage(int statusCode, const std::string& statusLine);
// The same for the client's last failed request. While the client has had no
// reply (code -1) the status line would be empty, so the message says why
// the request failed instead.
SjisString RequestErrorMessage(const HttpClient& client);

// The pieces of a request address the error block shows: the path runs from
// the "/" after the host to the last "/" before the query, the query starts
// at "?". The port is 80 unless the address names another.
struct RequestUrlParts {
    std::string Host;
    int Port = 80;
    std::string Path;
    std::string Query;
};
RequestUrlParts SplitRequestUrl(const std::string& url);
