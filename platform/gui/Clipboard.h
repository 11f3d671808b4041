#pragma once

#include "platform/SjisString.h"

// The text clipboard. Tests install a ClipboardRecorder to read back what was
// put there without touching the desktop's clipboard.
void SetClipboardText(const SjisString& text);

class ClipboardRecorder {
  public:
    ClipboardRecorder();
    ~ClipboardRecorder();
    ClipboardRecorder(const ClipboardRecorder&) = delete;
    ClipboardRecorder& operator=(const ClipboardRecorder&) = delete;

    const SjisString& Text() const { return text_; }
    int Sets() const { return sets_; }

  private:
    friend void SetClipboardText(const SjisString& text);
    SjisString text_;
    int sets_ = 0;
};
