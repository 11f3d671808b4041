#pragma once

#include "platform/PrivateProfile.h"
#include "platform/SjisString.h"

#include <cstdint>
#include <functional>
#include <vector>

// The name of the settings file in the program's folder.
extern const char* const kSettingsFileName;

// The settings file: AppDir + kSettingsFileName, set at start-up before the first read.
extern SjisString IniFileName;

// The key's value, or `def` when the file, the section or the key is missing;
// at most 2047 bytes. Sees the writes an open IniWriteBatch holds.
SjisString IniReadString(const SjisString& section, const SjisString& key, const SjisString& def);

// The settings file read once, for a run of reads that must not each read
// and parse the file again (the update check reads [check] for every line of
// a list). Read gives what IniReadString gave when the image was taken,
// including the writes an open IniWriteBatch held then.
class IniImage {
  public:
    IniImage();
    SjisString Read(const SjisString& section, const SjisString& key, const SjisString& def) const;

  private:
    ProfileImage image_;
};

// Writes the key: at once, replacing the whole file, or into the open
// IniWriteBatch. On failure the message "書込みに失敗しました" + CR + the
// path goes to the failure handler; the caller always goes on.
void IniWriteString(const SjisString& section, const SjisString& key, const SjisString& value);

// While one lives, IniWriteString only gathers its writes, and the batch
// writes them all in one replacement of the file: the exit's many keys cost
// one write, and a file that cannot be written is reported once, not once a
// key. The result is what the same writes one by one would give. A batch
// opened inside another leaves its writes to the outer one.
class IniWriteBatch {
  public:
    IniWriteBatch();
    // Commits what is left.
    ~IniWriteBatch();
    IniWriteBatch(const IniWriteBatch&) = delete;
    IniWriteBatch& operator=(const IniWriteBatch&) = delete;

    // Writes what was gathered (reporting a failure once) and starts afresh.
    void Commit();
    // The writes gathered so far, taken out of the batch unwritten.
    std::vector<ProfileWrite> TakeWrites();

  private:
    std::vector<ProfileWrite> writes_;
    bool outermost_;
};

// Receives the message of a failed write. The windows install one that shows
// it in a message box; without one it goes to standard error.
using IniFailureHandler = std::function<void(const SjisString& message)>;
void SetIniFailureHandler(IniFailureHandler handler);

// "1", or "TRUE" in any letter case; nothing is trimmed.
bool IniStrToBool(const SjisString& text);
SjisString BoolToIniStr(bool value);

// The number written by the text's decimal digits alone, in order; 0 when it
// has none. Raises AppError "'%s' は整数ではありません" with the digit string when
// the number exceeds 2147483647.
int32_t DigitsToInt(const SjisString& text);
