#include "platform/gui/LongOperation.h"

#include <QApplication>
#include <QCursor>
#include <QWidget>

#include <utility>

namespace {
BlockingPaintWatch* watch = nullptr;
}

WaitCursor::WaitCursor() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

WaitCursor::~WaitCursor() {
    QApplication::restoreOverrideCursor();
}

bool WaitCursorShown() {
    const QCursor* cursor = QApplication::overrideCursor();
    return cursor != nullptr && cursor->shape() == Qt::WaitCursor;
}

void PaintBeforeBlocking(QWidget& window) {
    window.repaint();
    if (watch != nullptr) watch->handler_(window);
}

BlockingPaintWatch::BlockingPaintWatch(Handler handler)
    : handler_(std::move(handler)), outer_(std::exchange(watch, this)) {}

BlockingPaintWatch::~BlockingPaintWatch() {
    watch = outer_;
}

void RunLongOperation(QWidget* window, const std::function<void()>& work) {
    struct Enable {
        QWidget* window;
        ~Enable() {
            if (window != nullptr) window->setEnabled(true);
        }
    };
    if (window != nullptr) window->setEnabled(false);
    Enable enable{window};
    WaitCursor wait;
    QApplication::processEvents();
    work();
}
