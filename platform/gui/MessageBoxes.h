#pragma once

#include "platform/SjisString.h"

#include <deque>
#include <vector>

// Every message box of the program goes through here. Boxes have no parent
// widget (a box parented to a disabled window could come up disabled) and are
// captioned with the application title. While a box waits for the player it
// lifts the wait cursor of the work around it (platform/gui/LongOperation.h).
//
// Tests install a MessageBoxScript: boxes are then not shown but recorded, and
// answered from the script's queue. Scripts nest: the newest is in force, and
// the one before it again when it ends.

enum class BoxKind { Notice, Information, Warning, Error, YesNo, YesNoCancel };
enum class BoxAnswer { Ok, Yes, No, Cancel };

// The caption of every box: the edition's application title, set at start.
void SetMessageBoxTitle(const SjisString& title);

// Plain notice: no icon, one OK button.
void ShowNotice(const SjisString& text);
// One OK button with the information or the warning icon.
void ShowInformation(const SjisString& text);
void ShowWarning(const SjisString& text);
// The default error box: error icon, one OK button; the text gets "." appended
// when its last character sorts after ".".
void ShowDefaultError(const SjisString& text);
// Typed questions with the information icon.
BoxAnswer AskYesNo(const SjisString& text);
BoxAnswer AskYesNoCancel(const SjisString& text);

// The text the default error box shows for an error message.
SjisString DefaultErrorText(const SjisString& message);

struct ShownBox {
    BoxKind Kind;
    SjisString Text;              // as shown (the error box's text includes the appended ".")
    bool UnderWaitCursor = false; // the wait cursor was still up while the box waited
};

class MessageBoxScript {
  public:
    MessageBoxScript();
    ~MessageBoxScript();
    MessageBoxScript(const MessageBoxScript&) = delete;
    MessageBoxScript& operator=(const MessageBoxScript&) = delete;

    // Answers for the next questions, in order. A question with no answer
    // queued gets No (a box with one OK button needs none).
    void Answer(BoxAnswer answer) { answers_.push_back(answer); }

    const std::vector<ShownBox>& Shown() const { return shown_; }
    // Shown texts decoded to UTF-8, for readable assertions.
    std::vector<std::string> ShownUtf8() const;
    void Clear() { shown_.clear(); }

  private:
    friend BoxAnswer ShowBox(BoxKind kind, const SjisString& text);
    std::deque<BoxAnswer> answers_;
    std::vector<ShownBox> shown_;
    MessageBoxScript* outer_; // in force again when this one ends
};

// Closes any box currently shown (used when the program is asked to quit).
void CloseOpenMessageBoxes();
