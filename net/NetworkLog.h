#pragma once

#include "net/HttpClient.h"
#include "platform/Clock.h"
#include "platform/SjisString.h"

#include <string>
#include <vector>

// The file the log is written to, in the current directory.
extern const char* const kNetworkLogFileName;

// The send dialog's network log: lines in memory for the whole run, written
// out whole (each line ended by CR LF) after every send and receive.
class NetworkLog {
  public:
    NetworkLog() : lines_{"VOSTRANE.NET"} {}

    void Add(const SjisString& line) { lines_.push_back(line); }
    void Add(const std::vector<SjisString>& lines) {
        lines_.insert(lines_.end(), lines.begin(), lines.end());
    }
    const std::vector<SjisString>& Lines() const { return lines_; }

    // All lines, each followed by CR LF.
    SjisString Text() const;
    // Replaces the file (a bare name lands in the current directory); a new
    // one is readable by its owner alone, as it holds the account. Raises
    // AppError "ファイル %s を作成できません" when it cannot be written.
    void WriteFile(const std::string& path) const;

  private:
    std::vector<SjisString> lines_;
};

// The log lines of one notice of the HTTP client; connect and disconnect
// lines carry the time as "yyyy/mm/dd hh:nn:ss".
std::vector<SjisString> NoticeLogLines(const HttpNotice& notice, const LocalTime& now);

// The eight-line block of a failed request.
std::vector<SjisString> ErrorBlockLines(const std::string& url, int statusCode, const std::string& statusLine,
                                        const std::string& libraryVersion);
