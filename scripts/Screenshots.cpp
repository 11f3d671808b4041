// Writes a PNG of every window of one edition, drawn under the offscreen
// platform, so the whole program can be looked at without running it:
//   vos_screenshots sorvik|dallune <folder>
// The windows are the program's own, created in the edition's order and
// filled from the example song list with made-up results; every file is
// written to a temporary folder that is removed afterwards.

#include "data/DataUnit.h"
#include "data/Edition.h"
#include "data/Unitini.h"
#include "export/ExportForm.h"
#include "net/AccForm.h"
#include "net/PropertyForm.h"
#include "net/SendForm.h"
#include "platform/Cp932.h"
#include "platform/ProgramDir.h"
#include "platform/gui/DesktopFonts.h"
#include "platform/gui/MessageBoxes.h"
#include "platform/gui/ModalRun.h"
#include "platform/gui/QtText.h"
#include "ui/ListRows.h"
#include "ui/MainForm.h"
#include "ui/MusicEditForm.h"
#include "ui/ProgramMain.h"
#include "ui/ResultForm.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>

#include <cstdio>
#include <cstdlib>
#include <string>

#ifndef VOS_SOURCE_DIR
#error "VOS_SOURCE_DIR names the source tree (examples/)"
#endif

namespace {

QString outDir;
QString prefix;
int written = 0;

void Settle() {
    for (int i = 0; i < 3; ++i)
        QApplication::processEvents();
}

void Save(QWidget& window, const QString& name) {
    Settle();
    const QString path = QDir(outDir).filePath(prefix + UiText("-") + name + UiText(".png"));
    if (!window.grab().save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        std::exit(1);
    }
    ++written;
}

// Shows a dialog on its own, grabs it and hides it again.
void SaveDialog(QDialog& dialog, const QString& name) {
    dialog.show();
    Save(dialog, name);
    dialog.hide();
}

// Runs `open`, which shows one message box through the program's seam; the
// box is grabbed as soon as it stands and closed (Cancel or No where it asks).
template <typename Open> void SaveBox(const QString& name, Open open) {
    QTimer::singleShot(0, [name] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            Save(*box, UiText("box-") + name);
            CloseOpenMessageBoxes();
        }
    });
    open();
}

// Made-up results on most charts, so the lists show their colours and best charts.
void FillResults() {
    const int charts = ChartCount();
    for (int i = 0; i < MusicCount; ++i) {
        TMusicList& song = MusicTable[static_cast<std::size_t>(i)];
        if (i % 4 == 3) continue; // some songs stay unplayed
        for (int c = 0; c < charts; ++c) {
            if (song.Level[static_cast<std::size_t>(c)] == 0 || (i + c) % 3 == 0) continue;
            TChartResult& chart = song.SkillList.Chart[static_cast<std::size_t>(c)];
            chart.Rate = 5000 + (i * 937 + c * 311) % 4900;
            chart.InputMode = InputRate;
        }
        if (i % 5 == 0) song.Comment = Utf8ToSjis("もう少しでフルコンボ");
        song.UpdateTime = "03/07 21:" + std::to_string(10 + i % 50);
        song.Favorite = i % 7 == 0;
    }
    // One chart of song 0 in each input mode, for the result dialog.
    TMusicList& first = MusicTable[0];
    first.SkillList.Chart[0] = TChartResult{.PerfectPct = 76,
                                            .GreatPct = 16,
                                            .GoodPct = 3,
                                            .PoorPct = 1,
                                            .MissPct = 1,
                                            .ComboPct = 43,
                                            .PerfectCount = 412,
                                            .GreatCount = 88,
                                            .GoodCount = 21,
                                            .PoorCount = 6,
                                            .MissCount = 9,
                                            .ComboCount = 233,
                                            .InputMode = InputCounts,
                                            .TotalNotes = 536};
    first.SkillList.Chart[1] = TChartResult{.PerfectPct = 81,
                                            .GreatPct = 12,
                                            .GoodPct = 4,
                                            .PoorPct = 1,
                                            .MissPct = 2,
                                            .ComboPct = 64,
                                            .InputMode = InputPercents};
    first.SkillList.Chart[2] = TChartResult{.Rate = 9350, .InputMode = InputRate};
}

QTreeWidgetItem* RowWithBestChart(QTreeWidget* list) {
    for (int r = 0; r < list->topLevelItemCount(); ++r) {
        QTreeWidgetItem* row = list->topLevelItem(r);
        const int32_t index = RowSongIndex(*row);
        if (index >= 0 && index < MusicCount &&
            MusicTable[static_cast<std::size_t>(index)].SkillList.BestCode >= 4)
            return row;
    }
    return list->topLevelItem(0);
}

void SaveMainWindow(MainForm& main, const QSize& size) {
    const QString tag = UiText("main-%1x%2-").arg(size.width()).arg(size.height());
    main.resize(size);

    main.PageControl1->setCurrentWidget(main.TabSheet1);
    if (QTreeWidgetItem* row = RowWithBestChart(main.LVmain)) {
        main.LVmain->setCurrentItem(row);
        main.LVmainClick(main.LVmain);
    }
    Save(main, tag + UiText("1-songs"));

    main.PageControl1->setCurrentWidget(main.TabSheet3);
    Save(main, tag + UiText("2-batch"));

    main.PageControl1->setCurrentWidget(main.TabSheet2);
    main.cbWhere->setCurrentIndex(4); // the longest caption
    main.cbWhereChange();
    if (QTreeWidgetItem* row = RowWithBestChart(main.LVskill)) main.LVskill->setCurrentItem(row);
    Save(main, tag + UiText("3-advice"));
    main.PageControl1->setCurrentWidget(main.TabSheet1);
}

void SaveResultDialog(ResultForm& result) {
    const char* const modes[3] = {"counts", "percents", "rate"};
    for (int difficulty = 0; difficulty < 3; ++difficulty) {
        ModalScript script([&](QDialog& dialog) {
            dialog.show();
            Save(dialog, UiText("result-") + UiText(modes[difficulty]));
            dialog.hide();
            return int(QDialog::Rejected);
        });
        result.EditResult(0, difficulty, 0);
    }
}

void SaveMusicEdit(MusicEditForm& edit) {
    ModalScript script([&](QDialog& dialog) {
        dialog.show();
        auto* pages = dialog.findChild<QTabWidget*>();
        for (int page = 0; page < pages->count(); ++page) {
            pages->setCurrentIndex(page);
            Save(dialog, UiText("songinfo-%1").arg(page + 1));
        }
        pages->setCurrentIndex(0);
        dialog.hide();
        return int(QDialog::Rejected);
    });
    edit.EditMusic(0);
}

void SaveBoxes(SendForm& send, PropertyForm& property) {
    const SjisString server = ServerAddress;
    ServerAddress.clear();
    SaveBox(UiText("notice-no-server"), [&] { send.btnSendClick(); });
    ServerAddress = server;
    SaveBox(UiText("ask-delete-account"), [&] { send.btnDelClick(); });
    SaveBox(UiText("notice-settings-stored"), [&] { property.btnUpdateClick(); });
    // A newer program is announced first, then the download question (answered No).
    int step = 0;
    const auto grabNext = [&](const auto& self) -> void {
        QTimer::singleShot(0, [&, self] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr) return;
            Save(*box, step++ == 0 ? UiText("box-notice-new-program") : UiText("box-ask-download"));
            CloseOpenMessageBoxes();
            if (step < 2) self(self);
        });
    };
    grabNext(grabNext);
    property.CheckUpdateList("APP R99 2030/01/01 00:00:00 http://127.0.0.1/\r\n"
                             "GFV 999 2030/01/01 00:00:00 http://127.0.0.1/g.txt\r\n");
    SaveBox(UiText("error"), [] { ShowDefaultError(Utf8ToSjis("'12x' は整数ではありません")); });
}

int Run(const Edition& edition, const QString& folder) {
    SetEdition(edition);
    SetMessageBoxTitle(edition.AppTitle);
    outDir = folder;
    prefix = edition.PlayModes > 1 ? UiText("sorvik") : UiText("dallune");

    QTemporaryDir data;
    if (!data.isValid()) return 1;
    const std::string dir = QDir(data.path()).absolutePath().toStdString() + "/";
    SetProgramDirectoryForTests(dir);
    const QString master = QString::fromStdString(edition.GameName) + UiText(".txt");
    QFile::copy(UiText(VOS_SOURCE_DIR "/examples/") + master, QString::fromStdString(dir) + master);
    // An account, so the send/receive dialog shows its filled form.
    QFile ini(QString::fromStdString(dir) + UiText(kSettingsFileName));
    if (ini.open(QIODevice::WriteOnly)) {
        ini.write("[link]\r\naccount=player01\r\npassword=secret\r\n"
                  "access=0123456789abcdef0123456789abcdef\r\nserver=http://127.0.0.1:9/svc/\r\n");
        ini.close();
    }
    InstallIniFailureNotice();

    WindowSet windows;
    windows.Create(CreationOrder(edition));
    ProgramWindows& w = Windows();
    FillResults();
    w.Main->show();
    w.Main->btnCompClick();

    SaveMainWindow(*w.Main, QSize(600, 450));
    SaveMainWindow(*w.Main, QSize(1200, 800));
    SaveResultDialog(*w.Result);
    SaveMusicEdit(*w.MusicEdit);
    SaveDialog(*w.Send, UiText("send"));
    SaveDialog(*w.Acc, UiText("account"));
    w.Property->FillSettings(ServerAddress, 80, 20, 20, 100);
    auto* propertyPages = w.Property->findChild<QTabWidget*>(UiText("PageControl1"));
    for (int page = 0; page < propertyPages->count(); ++page) {
        propertyPages->setCurrentIndex(page);
        SaveDialog(*w.Property, UiText("settings-%1").arg(page + 1));
    }
    propertyPages->setCurrentIndex(0);
    auto* exportPages = w.Export->findChild<QTabWidget*>(UiText("pagExport"));
    for (int page = 0; page < exportPages->count(); ++page) {
        exportPages->setCurrentIndex(page);
        SaveDialog(*w.Export, UiText("export-%1").arg(page + 1));
    }
    exportPages->setCurrentIndex(0);
    SaveBoxes(*w.Send, *w.Property);

    w.Main->hide();
    windows.Destroy();
    ReleaseProgramData();
    SetProgramDirectoryForTests(std::nullopt);
    std::printf("%s: %d pictures in %s\n", qPrintable(prefix), written, qPrintable(folder));
    return 0;
}

QtMessageHandler standardHandler = nullptr;

// The offscreen platform says so for every fixed-size window, and a headless
// session has no runtime folder; nothing to act on.
void QuietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.contains(UiText("propagateSizeHints")) || message.contains(UiText("XDG_RUNTIME_DIR"))) return;
    if (standardHandler != nullptr) {
        standardHandler(type, context, message);
    } else {
        std::fprintf(stderr, "%s\n", qPrintable(message));
    }
}

} // namespace

int main(int argc, char** argv) {
    // The offscreen platform with a desktop-sized screen: on its default 800 x 600
    // a message box wraps lines that a desktop shows whole.
    QTemporaryDir platform;
    const QString config = platform.filePath(UiText("screen.json"));
    QFile file(config);
    if (!platform.isValid() || !file.open(QIODevice::WriteOnly)) return 1;
    file.write(R"({"screens": [{"name": "desktop", "x": 0, "y": 0, "width": 1920, "height": 1080,
                   "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
    file.close();
    setenv("QT_QPA_PLATFORM", (UiText("offscreen:configfile=") + config).toLocal8Bit().constData(), 1);
    if (argc != 3 || (std::string(argv[1]) != "sorvik" && std::string(argv[1]) != "dallune")) {
        std::fprintf(stderr, "usage: %s sorvik|dallune <folder>\n", argv[0]);
        return 2;
    }
    standardHandler = qInstallMessageHandler(QuietHandler);
    QApplication app(argc, argv);
    InstallApplicationFont();
    const QString folder = QString::fromLocal8Bit(argv[2]);
    if (!QDir().mkpath(folder)) return 1;
    return Run(std::string(argv[1]) == "sorvik" ? GuitarEdition() : DrumEdition(), folder);
}
