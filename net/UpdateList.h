#pragma once

#include "data/Edition.h"
#include "platform/SjisString.h"

#include <functional>
#include <string_view>
#include <vector>

// The update list: fixed-column lines naming the latest release of the
// program and of four data files. Everything here works on raw bytes; codes
// and dates are never converted to numbers.

// One line cut at its columns (counted from 1): kind 1-3, release code 5-7,
// release date and time 9-27, address from 29 (at most 255 bytes). A short
// line gives shortened or empty fields.
struct UpdateLine {
    SjisString Kind;
    SjisString Code;
    SjisString Date;
    SjisString Address;
};
UpdateLine CutUpdateLine(std::string_view line);

// a > b comparing bytes as unsigned values; a proper prefix is the smaller.
bool BytesGreater(const SjisString& a, const SjisString& b);

// The address requested for the update list or a download: as typed, with
// each blank as "%20" the way a browser sends it (the client refuses an
// address with a blank); nothing else is changed.
SjisString RequestAddress(const SjisString& address);

// The file a data kind is saved to in the program's folder ("" for others).
SjisString FileNameForKind(const SjisString& kind);
// True for a name FileNameForKind gives.
bool IsDownloadFileName(std::string_view name);
// The song master list layout a kind must match: the guitar edition for
// "GFV", the drum edition for "DMV", none (nullptr) for the rest.
const Edition* MasterListLayoutForKind(const SjisString& kind);

// [check] keeps, per data kind, the release code, a blank and the release
// date and time of the file last downloaded.
extern const char* const kCheckSection;
extern const char* const kDefaultCheckValue; // "000 0000/00/00 00:00:00"
SjisString CheckValueOf(const UpdateLine& line);

// What the evaluation of a list does, in order: log lines, and the notice
// that a newer program exists (shown where it stands in the sequence).
struct UpdateEvent {
    enum Type { Log, NewAppNotice } Kind;
    SjisString Text;
};

struct UpdateEvaluation {
    std::vector<UpdateEvent> Events;
    std::vector<SjisString> Downloads; // whole lines of the data kinds found newer, in list order
};

// Gets a data kind and returns its stored [check] value or the default.
using ReadCheckValue = std::function<SjisString(const SjisString& kind)>;

// Evaluates a list against the program's own release code and the stored
// [check] values.
UpdateEvaluation EvaluateUpdateList(const SjisString& text, const SjisString& ownReleaseCode,
                                    const ReadCheckValue& readCheck);

// The same evaluation handing each event and each queued line on as it
// arises, so that a long list is not held a second time as results. The
// views last only for the call.
void EvaluateUpdateList(std::string_view text, const SjisString& ownReleaseCode,
                        const ReadCheckValue& readCheck,
                        const std::function<void(UpdateEvent::Type kind, std::string_view text)>& onEvent,
                        const std::function<void(std::string_view line)>& onDownload);

// Fixed texts of the update page.
const SjisString& AskDownloadText();   // the download question
const SjisString& ConnectingLogText(); // "サーバーへ接続中..."
const SjisString& ReceivedLogText();   // "ファイルを取得しました"
