#pragma once

#include "platform/SjisString.h"

#include <cstdint>

// The one conversion of a text to a 32-bit integer. Accepts leading blanks, a
// sign, and hexadecimal written with a "$" or "0x" prefix; hexadecimal may use
// all 32 bits ("$FFFFFFFF" is -1). Empty text, trailing characters or a value
// outside 32 bits are refused.
bool TryStrToInt(const SjisString& text, int32_t& value);

// As TryStrToInt, but raises AppError "'%s' は整数ではありません" with the text.
int32_t StrToInt(const SjisString& text);

// The conversion error's message for a text.
SjisString NotIntegerMessage(const SjisString& text);
