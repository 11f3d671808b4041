#pragma once

#include "platform/SjisString.h"

#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

// Small text operations on Shift-JIS bytes; every width counts bytes.

// The text without leading and trailing blanks and control characters (bytes up to 0x20).
SjisString TrimText(const SjisString& text);

// The text right-aligned in width: the last width bytes of width blanks
// followed by the text. A longer text loses its first bytes; width <= 0 gives "".
SjisString PadLeft(const SjisString& text, int32_t width);

// True when the text is not blank and every byte is '0'..'9'.
bool IsDigits(const SjisString& text);

// The last width bytes of width zeros followed by the trimmed text.
SjisString ZeroPad(const SjisString& text, int32_t width);

// Makes a text safe for one field of a TAB-separated line: CR becomes a blank,
// LF is dropped, TAB becomes four blanks, any other byte below 0x20 a blank.
SjisString SanitizeFieldText(const SjisString& text);

// The lines of a text that ends them with CR LF, LF or a lone CR. A final line
// end adds no empty line.
std::vector<SjisString> SplitLines(std::string_view text);
// The same lines handed to `line` one by one, as views into the text: a long
// text is not copied whole a second time.
void ForEachSplitLine(std::string_view text, const std::function<void(std::string_view line)>& line);
