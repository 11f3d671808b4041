#pragma once

#include <string>

// Text as the program holds it: Shift-JIS (code page 932) bytes. Every length,
// width, column and limit on such text counts bytes, so a double-byte
// character counts as two.
using SjisString = std::string;
