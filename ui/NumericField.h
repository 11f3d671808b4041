#pragma once

#include <QObject>
#include <QPoint>
#include <QSpinBox>

// A whole-number field with up/down arrows. Unlike the stock spin box it
// accepts intermediate text while typing ("150", "-5", "") and reads the text
// itself, so its value is never stale: text that is not a number reads as the
// minimum, and every read is brought into the range. Digits are ASCII whatever
// the locale, so what it shows it reads back. A typed value outside the
// range is corrected in the text when the field loses the focus. It reports
// every change of its text once (typed or set by the program) and every click
// into it. It takes no wheel events of its own: NumericWheelFilter steps it.
class NumericField : public QSpinBox {
    Q_OBJECT

  public:
    NumericField(int minimum, int maximum, int maxDigits, QWidget* parent = nullptr);

    // The current text as a number, brought into the range.
    int Value() const;
    // Sets the value brought into the range; reports a change when the text changes.
    void SetValue(int value);

    // The edit part, where the text is typed and clicked.
    using QSpinBox::lineEdit;

  signals:
    void Changed();
    void Clicked();

  protected:
    QValidator::State validate(QString& input, int& pos) const override;
    int valueFromText(const QString& text) const override;
    QString textFromValue(int value) const override;
    void stepBy(int steps) override;
    StepEnabled stepEnabled() const override;
    void wheelEvent(QWheelEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    int Parse(const QString& text) const;
    void NoteText();

    int maxDigits_;
    QString lastText_;
    bool pressed_ = false;
};

// The step of one wheel event: the sign of the vertical delta (of the
// horizontal one when the vertical is 0; some platforms turn Shift+wheel
// sideways), times 10 with Shift, 100 with Ctrl, 1000 with both. The size of
// the delta does not matter.
int WheelStep(QPoint angleDelta, Qt::KeyboardModifiers modifiers);

// Installed on a window and every widget in it, so that the wheel acts on the
// focused control as on the desktop the window was designed for, never on the
// control under the mouse: while a NumericField of that window has the focus,
// every wheel event over the window steps that field (WheelStep, clamped);
// otherwise the event goes to the focused control alone (a picker changes its
// item, a text field ignores it). No control of the window takes the focus
// from the wheel.
class NumericWheelFilter : public QObject {
    Q_OBJECT

  public:
    explicit NumericWheelFilter(QWidget* window);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    NumericField* FocusedField() const;

    QWidget* window_;
};
