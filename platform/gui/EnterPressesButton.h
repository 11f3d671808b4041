#pragma once

class QKeyEvent;
class QObject;
class QWidget;

// On the desktop the dialogs were designed for, Enter presses the focused push
// button. Qt does so only for "auto-default" buttons, which would also make
// Enter in any field press the dialog's first button; this presses the
// focused button alone.

// Presses `target` when it is an enabled push button and `key` is Enter or
// keypad Enter without Shift, Ctrl or Alt; a held key presses it once. Returns
// whether the key was Enter on such a button (it is then used up).
bool PressButtonOnEnter(QObject* target, const QKeyEvent& key);

// Makes Enter press each push button of `dialog` that has the focus.
void EnterPressesFocusedButton(QWidget& dialog);
