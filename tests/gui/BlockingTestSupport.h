#pragma once

// Checks for windows that block the GUI thread in a request: what the screen
// shows meanwhile, and input that queues up meanwhile.

#include <QCoreApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPixmap>
#include <QScreen>
#include <QWidget>

// True when the screen shows the window as its controls now stand, that is,
// everything changed since has been painted. (The offscreen platform's screen
// is the window's backing store, compared with a fresh rendering of it.)
inline bool ScreenShowsWindowAsItStands(QWidget& window) {
    const QImage shown = window.screen()->grabWindow(window.winId()).toImage();
    const QImage now = window.grab().toImage();
    return !shown.isNull() &&
           shown.convertToFormat(QImage::Format_RGB32) == now.convertToFormat(QImage::Format_RGB32);
}

// Queues a left click on the widget's centre, as the window system holds the
// clicks made while the GUI thread is blocked.
inline void QueueClick(QWidget& widget) {
    const QPointF centre = QRectF(widget.rect()).center();
    const QPointF global = widget.mapToGlobal(centre);
    QCoreApplication::postEvent(&widget, new QMouseEvent(QEvent::MouseButtonPress, centre, global,
                                                         Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
    QCoreApplication::postEvent(&widget, new QMouseEvent(QEvent::MouseButtonRelease, centre, global,
                                                         Qt::LeftButton, Qt::NoButton, Qt::NoModifier));
}
