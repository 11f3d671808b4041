#pragma once

#include "platform/SjisString.h"

// The two floating-point errors the formulas can raise. They carry the texts
// the platform's own floating-point exceptions show, because players know
// them from the default error box.

// Division of a non-zero value by zero.
const SjisString& ZeroDivideText();
// 0 / 0, NaN, or a value too large to truncate to a 64-bit integer.
const SjisString& InvalidOpText();

[[noreturn]] void RaiseZeroDivide();
[[noreturn]] void RaiseInvalidOp();
