#include "platform/gui/Clipboard.h"

#include "platform/AppError.h"
#include "platform/Cp932.h"
#include "platform/gui/QtText.h"

#include <QClipboard>
#include <QGuiApplication>

namespace {
ClipboardRecorder* recorder = nullptr;
}

void SetClipboardText(const SjisString& text) {
    if (recorder != nullptr) {
        recorder->text_ = text;
        ++recorder->sets_;
        return;
    }
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (clipboard == nullptr) {
        static const SjisString kCannotOpen = Utf8ToSjis("クリップボードを開くことができません");
        throw AppError(kCannotOpen);
    }
    clipboard->setText(SjisToQString(text));
}

ClipboardRecorder::ClipboardRecorder() {
    recorder = this;
}
ClipboardRecorder::~ClipboardRecorder() {
    if (recorder == this) recorder = nullptr;
}
