#pragma once

#include <functional>

class QWidget;

// Work that holds the GUI thread: an export, a blocking request. Nothing is
// painted and no input is handled while it runs, so the window shows its new
// state before, the wait cursor stays up during, and input that queued up
// meanwhile is let through before the window is usable again (for a request,
// BusyRequest.h).

// Shows the wait cursor for as long as it lives. Each one restores what it
// set, also when an error leaves its scope; they nest. A message box lifts it
// while it waits for the player (MessageBoxes.cpp).
class WaitCursor {
  public:
    WaitCursor();
    ~WaitCursor();
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

// True while a WaitCursor is in force and no message box has lifted it.
bool WaitCursorShown();

// Paints the window at once as its controls now stand, without processing
// pending events: a request about to block would otherwise leave the old
// picture (buttons drawn enabled, old texts) on the screen until it ends.
void PaintBeforeBlocking(QWidget& window);

// For tests: while one lives, PaintBeforeBlocking hands it each window it has
// just painted, before the request goes out. Watches nest: the newest is in
// force, and the one before it again when it ends.
class BlockingPaintWatch {
  public:
    using Handler = std::function<void(QWidget&)>;
    explicit BlockingPaintWatch(Handler handler);
    ~BlockingPaintWatch();
    BlockingPaintWatch(const BlockingPaintWatch&) = delete;
    BlockingPaintWatch& operator=(const BlockingPaintWatch&) = delete;

  private:
    friend void PaintBeforeBlocking(QWidget& window);
    Handler handler_;
    BlockingPaintWatch* outer_;
};

// Runs a long piece of work (an export): disables the window, shows the wait
// cursor and lets pending events run once before the work; enables the window
// and restores the cursor afterwards, also when the work fails (the error then
// goes on to the caller, after the window is usable again).
void RunLongOperation(QWidget* window, const std::function<void()>& work);
