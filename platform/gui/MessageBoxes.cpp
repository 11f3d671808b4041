#include "platform/gui/MessageBoxes.h"

#include "platform/Cp932.h"
#include "platform/gui/LongOperation.h"
#include "platform/gui/QtText.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>

#include <utility>

namespace {
MessageBoxScript* script = nullptr;
SjisString title;
QPointer<QMessageBox> openBox;

BoxAnswer ToAnswer(int button) {
    switch (button) {
    case QMessageBox::Yes:
        return BoxAnswer::Yes;
    case QMessageBox::No:
        return BoxAnswer::No;
    case QMessageBox::Cancel:
        return BoxAnswer::Cancel;
    default:
        return BoxAnswer::Ok;
    }
}

// The player is asked to act, so the box does not show the wait cursor of the
// work that opened it; the work's cursor is back when the box has gone.
class LiftWaitCursor {
  public:
    LiftWaitCursor() : lifted_(WaitCursorShown()) {
        if (lifted_) QApplication::setOverrideCursor(Qt::ArrowCursor);
    }
    ~LiftWaitCursor() {
        if (lifted_) QApplication::restoreOverrideCursor();
    }
    LiftWaitCursor(const LiftWaitCursor&) = delete;
    LiftWaitCursor& operator=(const LiftWaitCursor&) = delete;

  private:
    bool lifted_;
};
} // namespace

BoxAnswer ShowBox(BoxKind kind, const SjisString& text) {
    LiftWaitCursor lift;
    if (script != nullptr) {
        script->shown_.push_back({kind, text, WaitCursorShown()});
        if (kind != BoxKind::YesNo && kind != BoxKind::YesNoCancel) return BoxAnswer::Ok;
        if (script->answers_.empty()) return BoxAnswer::No;
        BoxAnswer answer = script->answers_.front();
        script->answers_.pop_front();
        return answer;
    }

    QMessageBox box(nullptr);
    box.setWindowTitle(SjisToQString(title));
    box.setText(SjisToQString(text));
    switch (kind) {
    case BoxKind::Notice:
        box.setIcon(QMessageBox::NoIcon);
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case BoxKind::Information:
        box.setIcon(QMessageBox::Information);
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case BoxKind::Warning:
        box.setIcon(QMessageBox::Warning);
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case BoxKind::Error:
        box.setIcon(QMessageBox::Critical);
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case BoxKind::YesNo:
        box.setIcon(QMessageBox::Information);
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    case BoxKind::YesNoCancel:
        box.setIcon(QMessageBox::Information);
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    }
    openBox = &box;
    int result = box.exec();
    openBox = nullptr;
    if (kind == BoxKind::YesNo && result != QMessageBox::Yes) return BoxAnswer::No;
    return ToAnswer(result);
}

void SetMessageBoxTitle(const SjisString& text) {
    title = text;
}

SjisString DefaultErrorText(const SjisString& message) {
    if (message.empty()) return message;
    // Find where the last character starts.
    std::size_t last = 0;
    for (std::size_t i = 0; i < message.size();) {
        last = i;
        const bool lead = IsSjisLeadByte(static_cast<unsigned char>(message[i]));
        i += (lead && i + 1 < message.size()) ? 2 : 1;
    }
    return static_cast<unsigned char>(message[last]) > '.' ? message + "." : message;
}

void ShowNotice(const SjisString& text) {
    ShowBox(BoxKind::Notice, text);
}
void ShowInformation(const SjisString& text) {
    ShowBox(BoxKind::Information, text);
}
void ShowWarning(const SjisString& text) {
    ShowBox(BoxKind::Warning, text);
}
void ShowDefaultError(const SjisString& text) {
    ShowBox(BoxKind::Error, DefaultErrorText(text));
}
BoxAnswer AskYesNo(const SjisString& text) {
    return ShowBox(BoxKind::YesNo, text);
}
BoxAnswer AskYesNoCancel(const SjisString& text) {
    return ShowBox(BoxKind::YesNoCancel, text);
}

MessageBoxScript::MessageBoxScript() : outer_(std::exchange(script, this)) {}
MessageBoxScript::~MessageBoxScript() {
    script = outer_;
}

std::vector<std::string> MessageBoxScript::ShownUtf8() const {
    std::vector<std::string> texts;
    for (const ShownBox& box : shown_)
        texts.push_back(SjisToUtf8(box.Text));
    return texts;
}

void CloseOpenMessageBoxes() {
    if (openBox) openBox->reject();
}
