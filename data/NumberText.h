#pragma once

#include "platform/SjisString.h"

#include <cstdint>

// Numbers as the lists, frames and exports print them. Always "." as the
// decimal separator: QApplication adopts the environment's locale, so the C
// library's printf could print "47,21".

// "%3.2f" of a value.
SjisString FormatFixed2(double value);

// "%3.2f" of value / 100 for a fixed-point value held x 100; exact.
SjisString HundredthsText(int32_t value);

// "%3d": at least three characters, the digit always written.
SjisString FormatInt3(int64_t value);
