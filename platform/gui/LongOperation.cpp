#include "platform/gui/LongOperation.h"

#include <QApplication>
#include <QWidget>

void RunLongOperation(QWidget* window, const std::function<void()>& work) {
    struct Restore {
        QWidget* window;
        ~Restore() {
            if (window != nullptr) window->setEnabled(true);
            QApplication::restoreOverrideCursor();
        }
    };
    if (window != nullptr) window->setEnabled(false);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    Restore restore{window};
    QApplication::processEvents();
    work();
}
