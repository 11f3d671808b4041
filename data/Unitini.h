#pragma once

#include "data/SjisString.h"

#include <cstdint>
#include <functional>

// The settings file: AppDir + "vostrane.ini", set at start-up before the first read.
extern SjisString IniFileName;

// The key's value, or `def` when the file, the section or the key is missing;
// at most 2047 bytes.
SjisString IniReadString(const SjisString& section, const SjisString& key, const SjisString& def);

// Writes the key. On failure the message "書込みに失敗しました" + CR + the
// path goes to the failure handler; the caller always goes on.
void IniWriteString(const SjisString& section, const SjisString& key, const SjisString& value);

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
