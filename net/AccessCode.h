#pragma once

#include "platform/Clock.h"
#include "platform/SjisString.h"

// MD5 of the bytes as 32 lower-case hexadecimal digits.
SjisString MD5String(const SjisString& text);

// The access code: MD5 of the service label, the time "yyyy/mm/dd hh:nn:ss",
// the account name, "/", the password, "/" and the computer name.
SjisString BuildAccessCode(const LocalTime& time, const SjisString& account, const SjisString& password,
                           const SjisString& computerName);
