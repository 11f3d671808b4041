#pragma once

#include "platform/gui/MessageBoxes.h"

#include <exception>
#include <utility>

// Runs one event handler. An error that leaves it is shown in the default
// error box and the program goes on: no exception may cross the Qt event loop.
template <typename Handler> void Guarded(Handler&& handler) {
    try {
        std::forward<Handler>(handler)();
    } catch (const std::exception& error) {
        ShowDefaultError(error.what());
    } catch (...) {
        ShowDefaultError("Unknown error");
    }
}

// Wraps a handler for QObject::connect.
template <typename Handler> auto GuardedSlot(Handler handler) {
    return [handler = std::move(handler)](auto&&... args) {
        Guarded([&] { handler(std::forward<decltype(args)>(args)...); });
    };
}
