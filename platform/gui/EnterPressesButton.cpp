#include "platform/gui/EnterPressesButton.h"

#include <QEvent>
#include <QKeyEvent>
#include <QPushButton>
#include <QWidget>

namespace {

class EnterFilter : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress && PressButtonOnEnter(watched, *static_cast<QKeyEvent*>(event)))
            return true;
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

bool PressButtonOnEnter(QObject* target, const QKeyEvent& key) {
    if (key.key() != Qt::Key_Return && key.key() != Qt::Key_Enter) return false;
    if ((key.modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) return false;
    auto* button = qobject_cast<QPushButton*>(target);
    if (button == nullptr || !button->isEnabled()) return false;
    if (!key.isAutoRepeat()) button->click();
    return true;
}

void EnterPressesFocusedButton(QWidget& dialog) {
    auto* filter = new EnterFilter(&dialog);
    for (QPushButton* button : dialog.findChildren<QPushButton*>())
        button->installEventFilter(filter);
}
