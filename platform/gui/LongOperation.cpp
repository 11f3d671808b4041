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

void DeliverQueuedInput() {
    // Fetches what the window system holds for us (on X11 after a round trip,
    // so nothing clicked before now is still on its way) and delivers it.
    QGuiApplication::sync();
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
