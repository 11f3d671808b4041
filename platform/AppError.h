#pragma once

#include "platform/SjisString.h"

#include <stdexcept>

// An error that carries one of the program's own message texts (Shift-JIS
// bytes). Handlers let it leave; the event guard shows it in the default
// error box.
class AppError : public std::runtime_error {
  public:
    explicit AppError(const SjisString& message) : std::runtime_error(message) {}
};
