#pragma once

#include "platform/gui/LongOperation.h"

#include <initializer_list>
#include <optional>
#include <vector>

class QWidget;

// A window busy with a handler's blocking requests, for as long as it lives:
// the controls given are disabled in the order given (disabling the focused
// one moves the focus on to the next), and the wait cursor is up.
//
// When it ends, the input queued while the requests blocked is let through
// first, so a click made meanwhile finds its button still disabled instead of
// starting a second request; then each control gets the state the handler
// decided for its outcome. Letting the input through runs every pending
// event, so it is done only as the handler's last step: by the outermost one,
// and not while an error unwinds (the error box that follows is modal and
// keeps the queued clicks from the window). An error gives the controls their
// failure states, so the window stays usable.
class BusyRequest {
  public:
    BusyRequest(QWidget& window, std::initializer_list<QWidget*> controls);
    ~BusyRequest();
    BusyRequest(const BusyRequest&) = delete;
    BusyRequest& operator=(const BusyRequest&) = delete;

    // Paints the window as its controls now stand; called right before each
    // request (PaintBeforeBlocking).
    void PaintBeforeRequest();

    // The state the given controls of this request get after a failed
    // request, also when an error leaves the handler. Unless set: their state
    // before the request.
    void SetFailureState(std::initializer_list<QWidget*> controls, bool enabled);
    // The state they get for the outcome the handler has reached. Unless set:
    // their failure state.
    void SetEndState(std::initializer_list<QWidget*> controls, bool enabled);

  private:
    struct Control {
        QWidget* Widget;
        bool EnabledAfterFailure;
        std::optional<bool> EnabledAtEnd;
    };
    static std::vector<Control> Disable(std::initializer_list<QWidget*> controls);

    QWidget& window_;
    std::vector<Control> controls_; // disabled before the wait cursor goes up
    WaitCursor wait_;
    int errorsAtStart_;
    bool outermost_;
};
