#pragma once

#include "platform/SjisString.h"

// The computer's name as the access code uses it: the host name up to its
// first "." and at most 15 bytes; empty when it cannot be read.
SjisString ComputerName();

// The cut itself, for a given host name.
SjisString ShortComputerName(const SjisString& hostName);
