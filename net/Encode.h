#pragma once

#include "platform/SjisString.h"

// Percent-encoding byte by byte: ASCII letters and digits are copied, every
// other byte becomes "%" and two upper-case hexadecimal digits. Double-byte
// characters are not units, so a trail byte that is a letter stays as it is
// (0x83 0x41 -> "%83A"). Unlike the usual URL escapers "-", ".", "_" and "~"
// are encoded too.
SjisString UrlEncode(const SjisString& text);
