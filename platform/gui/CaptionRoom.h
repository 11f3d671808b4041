#pragma once

#include <QPushButton>

// At a push button's bare size hint a caption in the program's font comes
// within a few pixels of the button's edges; these buttons keep room.
inline constexpr int kCaptionRoom = 8;

// Widens `button` by kCaptionRoom on each side of its size hint.
inline void KeepCaptionRoom(QPushButton& button) {
    button.setMinimumWidth(button.sizeHint().width() + 2 * kCaptionRoom);
}
