#include "ui/ProgramMain.h"

#include "data/DataUnit.h"
#include "data/Unitini.h"
#include "export/ExportForm.h"
#include "net/AccForm.h"
#include "net/PropertyForm.h"
#include "net/SendForm.h"
#include "platform/Cp932.h"
#include "platform/InstanceLock.h"
#include "platform/ProgramDir.h"
#include "platform/gui/DesktopFonts.h"
#include "platform/gui/EventGuard.h"
#include "platform/gui/MessageBoxes.h"
#include "platform/gui/QuitSignals.h"
#include "ui/MainForm.h"
#include "ui/MusicEditForm.h"
#include "ui/ProgramFiles.h"
#include "ui/ResultForm.h"

#include <QApplication>
#include <QTimer>

namespace {

// A form whose creation and destruction handlers ProgramMain runs: the
// creation handler right after the window, the destruction handler in the
// reverse pass at exit.
template <typename Form> CreatedWindow Handled(Form* ProgramWindows::*slot) {
    auto form = std::make_unique<Form>();
    Form* raw = form.get();
    Windows().*slot = raw;
    Guarded([raw] { raw->FormCreate(); });
    return {std::move(form), [raw] { raw->FormDestroy(); }};
}

// A form whose constructor runs its own creation handler (and whose
// destructor, where it has one, its destruction handler).
template <typename Form, typename... Args>
CreatedWindow SelfHandled(Form* ProgramWindows::*slot, Args&... args) {
    auto form = std::make_unique<Form>(args...);
    Windows().*slot = form.get();
    return {std::move(form), {}};
}

// One factory per window; a new window needs one here and one line in each
// edition's order below.
CreatedWindow CreateMainForm() {
    return Handled(&ProgramWindows::Main);
}
CreatedWindow CreateExportForm() {
    return Handled(&ProgramWindows::Export);
}
CreatedWindow CreateResultForm() {
    return Handled(&ProgramWindows::Result);
}
CreatedWindow CreatePropertyForm() {
    return SelfHandled(&ProgramWindows::Property);
}
CreatedWindow CreateMusicEditForm() {
    return SelfHandled(&ProgramWindows::MusicEdit);
}
CreatedWindow CreateSendForm() {
    return SelfHandled(&ProgramWindows::Send);
}
CreatedWindow CreateAccForm() {
    return SelfHandled(&ProgramWindows::Acc, *Windows().Send);
}

} // namespace

ProgramWindows& Windows() {
    static ProgramWindows windows;
    return windows;
}

std::vector<WindowFactory> CreationOrder(const Edition& edition) {
    // The main window first: its creation handler sets up the data the others
    // read. SendForm before AccForm: AccForm copies the account SendForm read.
    if (edition.PlayModes > 1) {
        return {CreateMainForm,      CreateExportForm, CreateResultForm, CreatePropertyForm,
                CreateMusicEditForm, CreateSendForm,   CreateAccForm};
    }
    return {CreateMainForm,     CreateResultForm, CreateExportForm, CreateMusicEditForm,
            CreatePropertyForm, CreateSendForm,   CreateAccForm};
}

WindowSet::~WindowSet() {
    Destroy();
}

void WindowSet::Create(const std::vector<WindowFactory>& order) {
    for (const WindowFactory& factory : order)
        windows_.push_back(factory());
}

void WindowSet::Destroy() {
    // Qt's parent ownership would delete in its own order: the handlers run
    // here explicitly, the dialogs' before the main window's. Their settings
    // reach the file in one write when the last has run.
    {
        IniWriteBatch settings;
        for (auto it = windows_.rbegin(); it != windows_.rend(); ++it)
            if (it->Destroy) Guarded(it->Destroy);
    }
    // No handler may reach a window being deleted.
    Windows() = ProgramWindows{};
    while (!windows_.empty())
        windows_.pop_back();
}

QWidget* WindowSet::First() const {
    return windows_.empty() ? nullptr : windows_.front().Window.get();
}

void ReleaseProgramData() {
    IniFileName.clear();
    AppDir.clear();
    ServerAddress.clear();
    ClearMusicTable();
    MusicCount = 0;
    TotalSkill = 0;
    MusicNames.clear();
}

void InstallIniFailureNotice() {
    SetIniFailureHandler([](const SjisString& message) { ShowNotice(message); });
}

std::vector<ProfileWrite> ExitSettingsNow() {
    // The batch gathers the writes; taken out, they never reach the file.
    IniWriteBatch gathered;
    const ProgramWindows& windows = Windows();
    if (windows.Result != nullptr) windows.Result->WriteSettings();
    if (windows.Export != nullptr) windows.Export->WriteSettings();
    if (windows.Main != nullptr) windows.Main->WriteSettings();
    return gathered.TakeWrites();
}

void WarnWhenExitCannotSave() {
    const std::optional<ExitSaveProblem> problem =
        FindExitSaveProblem(CurrentEdition().GameName, ExitSettingsNow());
    if (problem) ShowWarning(ExitSaveWarningText(*problem));
}

// The leading part of the name a running copy claims. Copies of earlier
// builds claim it too and must keep seeing this one, so it never changes.
constexpr const char* kInstanceLockPrefix = "vostrane";

int RunProgram() {
    // A second copy in the same folder would undo the first one's results
    // with its own stale table at exit: it touches nothing there. The claim
    // is held until the last exit write is done.
    const InstanceLock instance(kInstanceLockPrefix, ProgramDirectory(), CurrentEdition().GameCode);
    if (instance.AlreadyRunning()) {
        static const SjisString kRunning = Utf8ToSjis(" は既に起動しています。");
        ShowInformation(CurrentEdition().AppTitle + kRunning);
        return 0;
    }

    // The main window's Closed ends the loop; a message box closed before the
    // window is shown must not.
    QApplication::setQuitOnLastWindowClosed(false);
    QuitSignals quitSignals;
    InstallIniFailureNotice();

    int exitCode = 0;
    {
        WindowSet windows;
        windows.Create(CreationOrder(CurrentEdition()));
        MainForm* main = Windows().Main;
        QObject::connect(main, &MainForm::Closed, qApp, [] { QCoreApplication::exit(0); });
        quitSignals.SetMainWindow(main);
        main->show();
        // Said while there is still an evening of results to lose, not at exit.
        QTimer::singleShot(0, main, GuardedSlot(WarnWhenExitCannotSave));
        exitCode = QApplication::exec();
        quitSignals.SetMainWindow(nullptr);
        windows.Destroy();
    }
    ReleaseProgramData();
    return exitCode;
}

int ProgramMain(int argc, char** argv) {
    QApplication app(argc, argv);
    InstallApplicationFont();
    SetMessageBoxTitle(CurrentEdition().AppTitle);
    return RunProgram();
}
