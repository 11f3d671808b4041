#include "platform/gui/QuitSignals.h"

#include "platform/gui/MessageBoxes.h"
#include "platform/gui/ModalRun.h"

#include <QApplication>
#include <QDialog>
#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <stdexcept>
#include <unistd.h>

namespace {

constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};
int pipeFds[2] = {-1, -1};
struct sigaction previous[3];

extern "C" void OnQuitSignal(int) {
    const int saved = errno;
    const char byte = 1;
    // A full pipe already holds a request; nothing is lost by dropping this one.
    [[maybe_unused]] ssize_t written = write(pipeFds[1], &byte, 1);
    errno = saved;
}

} // namespace

QuitSignals::QuitSignals() {
    if (pipeFds[0] != -1) throw std::logic_error("QuitSignals exists already");
    if (pipe2(pipeFds, O_CLOEXEC | O_NONBLOCK) != 0)
        throw std::runtime_error("cannot create the signal pipe");
    notifier_ = new QSocketNotifier(pipeFds[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] { Activated(); });

    struct sigaction action {};
    action.sa_handler = OnQuitSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < std::size(kSignals); ++i)
        sigaction(kSignals[i], &action, &previous[i]);
}

QuitSignals::~QuitSignals() {
    for (std::size_t i = 0; i < std::size(kSignals); ++i)
        sigaction(kSignals[i], &previous[i], nullptr);
    delete notifier_;
    close(pipeFds[0]);
    close(pipeFds[1]);
    pipeFds[0] = pipeFds[1] = -1;
}

void QuitSignals::SetMainWindow(QWidget* window) {
    window_ = window;
    if (pending_) QTimer::singleShot(0, this, [this] { CloseWhenFree(); });
}

void QuitSignals::Activated() {
    char buffer[64];
    int count = 0;
    for (ssize_t n; (n = read(pipeFds[0], buffer, sizeof buffer)) > 0;)
        count += static_cast<int>(n);
    if (count == 0) return;
    received_ += count;
    pending_ = true;
    CloseWhenFree();
}

void QuitSignals::CloseWhenFree() {
    // Whatever runs modally is rejected first; the main window closes once the
    // modal runs have returned to the loop below them.
    if (QWidget* modal = QApplication::activeModalWidget()) {
        RejectOpenModals();
        CloseOpenMessageBoxes();
        if (auto* dialog = qobject_cast<QDialog*>(modal); dialog != nullptr && dialog->isVisible())
            dialog->reject();
        QTimer::singleShot(10, this, [this] { CloseWhenFree(); });
        return;
    }
    if (window_ == nullptr) return; // acted on when the window is set
    pending_ = false;
    window_->close();
}
