#pragma once

#include "platform/SjisString.h"

#include <cstdint>
#include <optional>

// The program's own file version. This platform has no version resource, so
// the build carries the value as a constant and reads it through the same
// parsing a resource value would get.

// Reads a FileVersion value into the four numbers. No value leaves them
// unchanged. The value is split at ".", CR and LF; empty pieces are dropped
// and a stretch between double quotes stays one piece (without its quotes).
// The first four pieces are read as integers in order: a missing piece or one
// that is not an integer raises AppError, and then no output is changed.
// Further pieces are ignored.
void ReadFileVersion(const std::optional<SjisString>& value, int32_t& major, int32_t& minor, int32_t& release,
                     int32_t& build);

// ReadFileVersion of the value every build carries, "3.2.25.67".
void GetOwnFileVersion(int32_t& major, int32_t& minor, int32_t& release, int32_t& build);

// "R" and the release number right-aligned in two characters ("R25", "R 5",
// "R100"), the form the update list uses.
SjisString ReleaseCode(int32_t release);
