#include "platform/gui/BusyRequest.h"

#include <QGuiApplication>
#include <QWidget>

#include <algorithm>
#include <exception>

namespace {

int depth = 0;

// Runs every pending event, not only input: safe only once the handler has
// nothing left to change (~BusyRequest).
void ProcessQueuedEvents() {
    // Fetches what the window system holds for us (on X11 after a round trip,
    // so nothing clicked before now is still on its way) and delivers it.
    QGuiApplication::sync();
}

} // namespace

BusyRequest::BusyRequest(QWidget& window, std::initializer_list<QWidget*> controls)
    : window_(window), controls_(Disable(controls)), errorsAtStart_(std::uncaught_exceptions()),
      outermost_(depth++ == 0) {}

BusyRequest::~BusyRequest() {
    --depth;
    const bool failed = std::uncaught_exceptions() > errorsAtStart_;
    if (!failed && outermost_) ProcessQueuedEvents();
    for (const Control& control : controls_)
        control.Widget->setEnabled(failed ? control.EnabledAfterFailure
                                          : control.EnabledAtEnd.value_or(control.EnabledAfterFailure));
}

std::vector<BusyRequest::Control> BusyRequest::Disable(std::initializer_list<QWidget*> controls) {
    std::vector<Control> states;
    states.reserve(controls.size()); // nothing is disabled when this fails
    for (QWidget* widget : controls) {
        // The control's own state, whatever its parent's.
        states.push_back({widget, !widget->testAttribute(Qt::WA_ForceDisabled), std::nullopt});
        widget->setEnabled(false);
    }
    return states;
}

void BusyRequest::PaintBeforeRequest() {
    PaintBeforeBlocking(window_);
}

void BusyRequest::SetFailureState(std::initializer_list<QWidget*> controls, bool enabled) {
    for (Control& control : controls_)
        if (std::ranges::find(controls, control.Widget) != controls.end())
            control.EnabledAfterFailure = enabled;
}

void BusyRequest::SetEndState(std::initializer_list<QWidget*> controls, bool enabled) {
    for (Control& control : controls_)
        if (std::ranges::find(controls, control.Widget) != controls.end()) control.EnabledAtEnd = enabled;
}
