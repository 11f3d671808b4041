#pragma once

#include "platform/SjisString.h"

#include <string>
#include <string_view>

// Conversions between the program's Shift-JIS bytes (code page 932) and UTF-8.
// glibc's "CP932" table is used on purpose: its "SHIFT_JIS" table maps 0x5C to
// the yen sign and 0x7E to an overline, which would corrupt ASCII text.

// Encodes UTF-8 text. Returns false (and leaves `out` unspecified) when a
// character has no code in CP932 or the input is not valid UTF-8.
bool TryUtf8ToSjis(std::string_view utf8, SjisString& out);

// Encodes UTF-8 text that is known to be encodable (the program's own fixed
// texts). Throws std::invalid_argument otherwise.
SjisString Utf8ToSjis(std::string_view utf8);

// Decodes for display; never fails. A byte that cannot be decoded (0x80, 0xA0,
// 0xFD-0xFF, a lone lead byte, an unassigned code) becomes U+FFFD.
std::string SjisToUtf8(std::string_view sjis);

// True for the first byte of a double-byte character (0x81-0x9F, 0xE0-0xFC).
constexpr bool IsSjisLeadByte(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}
