#include "ui/NumericField.h"

#include <QApplication>
#include <QFocusEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QWheelEvent>

#include <algorithm>

NumericField::NumericField(int minimum, int maximum, int maxDigits, QWidget* parent)
    : QSpinBox(parent), maxDigits_(maxDigits) {
    setRange(minimum, maximum);
    setKeyboardTracking(true);
    setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
    lineEdit()->installEventFilter(this);
    // The spin box writes its text with the edit's signals blocked, so both
    // sources are watched and NoteText reports each new text once.
    connect(lineEdit(), &QLineEdit::textChanged, this, [this] { NoteText(); });
    connect(this, &QSpinBox::textChanged, this, [this] { NoteText(); });
    lastText_ = lineEdit()->text();
}

int NumericField::Parse(const QString& text) const {
    bool ok = false;
    const qlonglong number = text.trimmed().toLongLong(&ok);
    if (!ok) return minimum();
    return static_cast<int>(std::clamp<qlonglong>(number, minimum(), maximum()));
}

int NumericField::Value() const {
    return Parse(lineEdit()->text());
}

void NumericField::SetValue(int value) {
    QSpinBox::setValue(std::clamp(value, minimum(), maximum()));
    NoteText();
}

void NumericField::NoteText() {
    const QString text = lineEdit()->text();
    if (text == lastText_) return;
    lastText_ = text;
    emit Changed();
}

QValidator::State NumericField::validate(QString& input, int& /*pos*/) const {
    // A sign and up to maxDigits digits; anything in between typing steps is fine.
    int i = 0;
    if (i < input.size() && (input[i] == u'-' || input[i] == u'+')) ++i;
    const int digits = static_cast<int>(input.size()) - i;
    if (digits > maxDigits_) return QValidator::Invalid;
    for (; i < input.size(); ++i)
        if (!input[i].isDigit() || input[i].unicode() > '9') return QValidator::Invalid;
    return QValidator::Acceptable;
}

int NumericField::valueFromText(const QString& text) const {
    return Parse(text);
}

QString NumericField::textFromValue(int value) const {
    // The locale's own digits (Arabic-Indic, say) would read back as the minimum.
    return QString::number(value);
}

void NumericField::stepBy(int steps) {
    SetValue(Value() + steps);
    selectAll();
}

QAbstractSpinBox::StepEnabled NumericField::stepEnabled() const {
    // Always both: a step from a typed "150" must still land on the range.
    return StepUpEnabled | StepDownEnabled;
}

void NumericField::wheelEvent(QWheelEvent* event) {
    event->ignore();
}

void NumericField::focusOutEvent(QFocusEvent* event) {
    // The spin box rewrites the text from its value here: "150" becomes "100".
    QSpinBox::focusOutEvent(event);
    NoteText();
}

bool NumericField::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lineEdit()) {
        if (event->type() == QEvent::MouseButtonPress &&
            static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            pressed_ = true;
        } else if (event->type() == QEvent::MouseButtonRelease &&
                   static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton && pressed_) {
            pressed_ = false;
            emit Clicked();
        }
    }
    return QSpinBox::eventFilter(watched, event);
}

int WheelStep(QPoint angleDelta, Qt::KeyboardModifiers modifiers) {
    const int delta = angleDelta.y() != 0 ? angleDelta.y() : angleDelta.x();
    const int sign = (delta > 0) - (delta < 0);
    const bool shift = modifiers.testFlag(Qt::ShiftModifier);
    const bool ctrl = modifiers.testFlag(Qt::ControlModifier);
    const int factor = shift && ctrl ? 1000 : ctrl ? 100 : shift ? 10 : 1;
    return sign * factor;
}

NumericWheelFilter::NumericWheelFilter(QWidget* window) : QObject(window), window_(window) {
    window->installEventFilter(this);
    for (QWidget* child : window->findChildren<QWidget*>()) {
        child->installEventFilter(this);
        // Qt hands the focus to a wheel-focus control under the mouse before
        // any filter sees the wheel event.
        if (child->focusPolicy() == Qt::WheelFocus) child->setFocusPolicy(Qt::StrongFocus);
    }
}

NumericField* NumericWheelFilter::FocusedField() const {
    for (QWidget* w = window_->focusWidget(); w != nullptr && w != window_; w = w->parentWidget())
        if (auto* field = qobject_cast<NumericField*>(w)) return field;
    return nullptr;
}

bool NumericWheelFilter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::Wheel) return QObject::eventFilter(watched, event);
    // An open picker list scrolls with the wheel as usual.
    if (QApplication::activePopupWidget() != nullptr) return false;
    auto* wheel = static_cast<QWheelEvent*>(event);
    if (NumericField* field = FocusedField()) {
        const int step = WheelStep(wheel->angleDelta(), wheel->modifiers());
        if (step != 0 && field->isEnabled()) field->SetValue(field->Value() + step);
        wheel->accept();
        return true;
    }
    // Over the focused control (or handed on to it below) the event takes its usual way.
    QWidget* focus = window_->focusWidget();
    if (watched == focus) return false;
    if (focus != nullptr) {
        // Sent, not posted: a sent wheel event goes to its receiver alone.
        QWheelEvent handed(focus->mapFromGlobal(wheel->globalPosition()), wheel->globalPosition(),
                           wheel->pixelDelta(), wheel->angleDelta(), wheel->buttons(), wheel->modifiers(),
                           wheel->phase(), wheel->inverted(), wheel->source(), wheel->pointingDevice());
        QApplication::sendEvent(focus, &handed);
    }
    wheel->accept();
    return true;
}
