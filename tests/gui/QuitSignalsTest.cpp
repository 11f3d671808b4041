#include "platform/gui/QuitSignals.h"
#include "data/Edition.h"
#include "platform/gui/MessageBoxes.h"
#include "platform/gui/ModalRun.h"
#include "tests/gui/MainFormTestSupport.h"
#include "ui/MainForm.h"
#include "ui/ProgramMain.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>

namespace {

// Lets the event loop run until the window is hidden or two seconds passed.
bool WaitUntilClosed(const QWidget& window) {
    QElapsedTimer timer;
    timer.start();
    while (window.isVisible() && timer.elapsed() < 2000)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    return !window.isVisible();
}

} // namespace

TEST(QuitSignals, EachSignalClosesTheMainWindowThroughTheEventLoop) {
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
        QuitSignals quit;
        QWidget window;
        window.show();
        quit.SetMainWindow(&window);
        raise(signal);
        EXPECT_TRUE(window.isVisible()); // nothing happens inside the signal handler
        EXPECT_TRUE(WaitUntilClosed(window)) << signal;
        EXPECT_EQ(quit.Received(), 1);
    }
}

TEST(QuitSignals, AnOpenModalDialogOrMessageBoxIsClosedFirst) {
    for (const bool box : {false, true}) {
        QuitSignals quit;
        QWidget window;
        window.show();
        quit.SetMainWindow(&window);
        QTimer::singleShot(0, [] { raise(SIGTERM); });
        if (box) {
            ShowNotice("waiting");
        } else {
            QDialog dialog;
            EXPECT_EQ(RunModal(dialog), QDialog::Rejected);
        }
        EXPECT_TRUE(WaitUntilClosed(window)) << box;
    }
}

TEST(QuitSignals, ASignalBeforeTheWindowExistsActsWhenItIsSet) {
    QuitSignals quit;
    raise(SIGINT);
    QApplication::processEvents();
    QWidget window;
    window.show();
    QApplication::processEvents();
    EXPECT_TRUE(window.isVisible());
    quit.SetMainWindow(&window);
    EXPECT_TRUE(WaitUntilClosed(window));
}

TEST(QuitSignals, TheExitSavesRunAfterASignal) {
    ProgramFolder folder(GuitarEdition());
    WriteLines(folder.GameFile(".txt"), {SongLine("Alpha", "5", {10})});
    QuitSignals quit;
    WindowSet windows;
    windows.Create(CreationOrder(CurrentEdition()));
    MainForm* main = Windows().Main;
    bool closed = false;
    QObject::connect(main, &MainForm::Closed, [&] { closed = true; });
    quit.SetMainWindow(main);
    main->show();
    MusicTable[0].Comment = "late";
    raise(SIGTERM);
    EXPECT_TRUE(WaitUntilClosed(*main));
    EXPECT_TRUE(closed);
    windows.Destroy();
    EXPECT_EQ(ReadFileBytes(folder.GameFile(".comment")), "Alpha\tlate\t\t0\r\n");
}
