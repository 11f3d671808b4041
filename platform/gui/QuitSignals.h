#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

class QSocketNotifier;

// Turns SIGTERM, SIGINT and SIGHUP into a close of the main window through the
// event loop, so the exit saves run (a logout or Ctrl-C must not lose the
// player's results). Open modal dialogs and message boxes are rejected first.
// The handler only writes a byte to a pipe; the event loop reads it, so a
// signal that arrives while a handler blocks acts when the handler returns.
// One instance at a time; it restores the previous signal actions when destroyed.
class QuitSignals : public QObject {
    Q_OBJECT
  public:
    QuitSignals();
    ~QuitSignals() override;
    QuitSignals(const QuitSignals&) = delete;
    QuitSignals& operator=(const QuitSignals&) = delete;

    // The window to close; a signal that came before is acted on now.
    void SetMainWindow(QWidget* window);
    // Signals received so far.
    int Received() const { return received_; }

  private:
    void Activated();
    void CloseWhenFree();

    QSocketNotifier* notifier_ = nullptr;
    QPointer<QWidget> window_;
    bool pending_ = false;
    int received_ = 0;
};
