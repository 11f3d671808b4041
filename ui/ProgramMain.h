#pragma once

#include "data/Edition.h"
#include "platform/PrivateProfile.h"

#include <functional>
#include <memory>
#include <vector>

class QWidget;
class MainForm;
class ExportForm;
class ResultForm;
class PropertyForm;
class MusicEditForm;
class SendForm;
class AccForm;

// The program entry of both editions: creates the windows in the edition's
// order, runs the event loop until the main window closes, then runs the
// destruction handlers in reverse order, deletes the windows and releases the
// data. The edition must be set before. Returns the exit code.
int ProgramMain(int argc, char** argv);

// ProgramMain once the application object stands and has its title: refuses
// a second copy of the edition in the program's folder, then runs the windows.
int RunProgram();

// The program's windows while they exist; null before their creation and after
// their deletion. Handlers reach the dialogs through here.
struct ProgramWindows {
    MainForm* Main = nullptr;
    ExportForm* Export = nullptr;
    ResultForm* Result = nullptr;
    PropertyForm* Property = nullptr;
    MusicEditForm* MusicEdit = nullptr;
    SendForm* Send = nullptr;
    AccForm* Acc = nullptr;
};
ProgramWindows& Windows();

// One created window with its destruction handler (empty when it has none).
struct CreatedWindow {
    std::unique_ptr<QWidget> Window;
    std::function<void()> Destroy;
};
// Creates one window and runs its creation handler; an error of the handler
// is shown in the default error box and the window stays.
using WindowFactory = std::function<CreatedWindow()>;

// The edition's windows in creation order; the main window comes first.
std::vector<WindowFactory> CreationOrder(const Edition& edition);

// The windows of one run.
class WindowSet {
  public:
    WindowSet() = default;
    ~WindowSet();
    WindowSet(const WindowSet&) = delete;
    WindowSet& operator=(const WindowSet&) = delete;

    // Creates each window in order, each creation handler right after its window.
    void Create(const std::vector<WindowFactory>& order);
    // Runs the destruction handlers in reverse order of creation, each on its
    // own, and writes the settings they leave in one go; then deletes the
    // windows, also in reverse order.
    void Destroy();
    // The first window created: the application's main window.
    QWidget* First() const;

  private:
    std::vector<CreatedWindow> windows_;
};

// Releases the data once every window is gone: settings file name, program
// folder, server address, the song table.
void ReleaseProgramData();

// Shows a failed settings write in a plain notice.
void InstallIniFailureNotice();

// The settings the windows would write at exit if it came now, gathered
// without writing them. Called where no IniWriteBatch is open.
std::vector<ProfileWrite> ExitSettingsNow();

// Warns, once the main window is up, when the exit's saves would fail.
void WarnWhenExitCannotSave();
