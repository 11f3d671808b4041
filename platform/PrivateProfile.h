#pragma once

#include "platform/AtomicFile.h"
#include "platform/SjisString.h"

#include <chrono>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

// Our own private-profile (ini) file: "[section]" lines followed by
// "key=value" lines, code page 932. Every call reads the file afresh; a write
// rewrites it at once, keeping every line it does not change byte for byte.
//
// Rules: a line ends at CR LF, LF or a lone CR, as files from other systems
// have them; a UTF-8 byte-order mark at the start is passed over (and kept by
// a write). Section and key names match without regard to ASCII case after
// trimming blanks; the first matching section and the first matching key in
// it win; a value is everything after the first "=", trimmed of blanks, with
// one pair of matching surrounding quotes (' or ") removed; lines starting
// with ";" are comments; there are no inline comments. A bare "key" line
// without "=" holds no value.

// Longest value a read returns, in bytes.
constexpr std::size_t kProfileValueLimit = 2047;

// The value of key in section of the profile text, or `def` when the section
// or key is missing. Cut to kProfileValueLimit bytes.
SjisString ProfileLookup(const std::string& text, const SjisString& section, const SjisString& key,
                         const SjisString& def);

// The profile text with key in section set to value: the first matching key
// is replaced in place (or, where the section has none, its first bare "key"
// line), a new key goes after the last non-blank line of the section, a new
// section at the end. CR and LF in the value become blanks so a value cannot
// add lines. New and replaced lines end with CR LF; every other line keeps
// its bytes and its line end.
std::string ProfileUpdate(const std::string& text, const SjisString& section, const SjisString& key,
                          const SjisString& value);

// The whole file at path; empty when it is missing or cannot be read (not a
// plain file, too large).
std::string ReadProfileText(const std::string& path);

// Reads a value from the file at path; a missing or unreadable file gives the default.
SjisString ReadProfileString(const std::string& path, const SjisString& section, const SjisString& key,
                             const SjisString& def);

// One key of a section set to a value.
struct ProfileWrite {
    SjisString Section;
    SjisString Key;
    SjisString Value;
};

// How long a write waits for a write of another process (the other edition
// in the same folder) to finish.
constexpr std::chrono::milliseconds kProfileLockPatience{3000};

// Applies the writes, in order, to the file at path and replaces it whole, so
// that it is always either the old or the new file. The read, the changes and
// the replacement happen under one lock on the file's folder, so writers in
// two processes never lose each other's keys (a folder without read
// permission cannot be locked and is written without it). A new file is
// readable by its owner only (it holds the account's password); a replaced
// one keeps its mode. Returns false, with the file as it was, when the file
// cannot be read or written (read-only, a missing folder, not a plain file),
// would grow beyond what the reader takes, or the lock is not had within
// `patience`.
bool WriteProfileStrings(const std::string& path, const std::vector<ProfileWrite>& writes,
                         std::chrono::milliseconds patience = kProfileLockPatience);

// The writer's own preparation, shared with the start-up check so the two
// cannot disagree: the file as the writes would leave it, or nothing when the
// old file cannot be read (no permission, not a plain file, a link that cannot
// be followed, above what the reader takes) or the new text would be larger
// than the reader takes.
std::optional<std::string> RewriteProfile(const std::string& path, const std::vector<ProfileWrite>& writes);

// Whether WriteProfileStrings of the writes could go through now: the
// replacement of the file (ProbeReplace, with the mode a new settings file
// gets), then RewriteProfile. Writes nothing.
ReplaceProbe ProbeProfileWrite(const std::string& path, const std::vector<ProfileWrite>& writes,
                               std::string* folderTried = nullptr);

// One write of WriteProfileStrings.
bool WriteProfileString(const std::string& path, const SjisString& section, const SjisString& key,
                        const SjisString& value);

// One reading of a profile file for many lookups that must see the same
// version of it. Each lookup answers as ProfileLookup on the text read, and
// is kept, so asking the same key again costs no second parse.
class ProfileImage {
  public:
    explicit ProfileImage(std::string text);

    SjisString Lookup(const SjisString& section, const SjisString& key, const SjisString& def) const;

  private:
    std::string text_;
    mutable std::map<std::tuple<SjisString, SjisString, SjisString>, SjisString, std::less<>> answers_;
};

// The file at path as ReadProfileString reads it, read once.
ProfileImage ReadProfileImage(const std::string& path);
