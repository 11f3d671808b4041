#pragma once

#include <functional>

class QDialog;

// Shows a dialog modally and returns its result (QDialog::Accepted or
// Rejected). Tests install a ModalScript that is called in place of exec():
// it can fill the dialog's fields, click its buttons and return the result.
// Scripts nest: the newest is in force, and the one before it again when it ends.
int RunModal(QDialog& dialog);

class ModalScript {
  public:
    using Handler = std::function<int(QDialog&)>;
    explicit ModalScript(Handler handler);
    ~ModalScript();
    ModalScript(const ModalScript&) = delete;
    ModalScript& operator=(const ModalScript&) = delete;

    int Runs() const { return runs_; }

  private:
    friend int RunModal(QDialog& dialog);
    Handler handler_;
    int runs_ = 0;
    ModalScript* outer_; // in force again when this one ends
};

// Rejects every dialog now running modally (used when the program is asked to quit).
void RejectOpenModals();
