#include "ui/ProgramFiles.h"

#include "data/DataFiles.h"
#include "data/DataUnit.h"
#include "data/Edition.h"
#include "data/Unitini.h"
#include "export/ExportDocument.h"
#include "net/NetworkLog.h"
#include "net/UpdateList.h"
#include "platform/AtomicFile.h"
#include "platform/Cp932.h"

#include <vector>

bool IsProgramFileName(std::string_view name, bool currentDirectoryToo) {
    // The song master lists are among the downloads.
    if (name == kSettingsFileName || IsDownloadFileName(name)) return true;
    for (const Edition* edition : {&GuitarEdition(), &DrumEdition()}) {
        for (const char* extension : kPlayerFileExtensions)
            if (name == edition->GameName + extension) return true;
        if (currentDirectoryToo && IsExportFileName(name, *edition)) return true;
    }
    return currentDirectoryToo && name == kNetworkLogFileName;
}

std::optional<ExitSaveProblem> FindExitSaveProblem(const SjisString& base,
                                                   const std::vector<ProfileWrite>& exitSettings) {
    ExitSaveProblem problem;
    std::string folder; // the folder the last probe tried
    const auto refuses = [&](ReplaceProbe probe, const std::string& path) {
        if (probe == ReplaceProbe::Replaceable) return false;
        if (problem.Path.empty()) problem.Path = probe == ReplaceProbe::FolderRefuses ? folder : path;
        return true;
    };
    if (DataLoadComplete())
        for (const char* extension : kPlayerFileExtensions) {
            const std::string path = AppDir + base + extension;
            const ReplaceProbe probe = ProbeReplace(path, kOrdinaryFileMode, &folder);
            if (refuses(probe, path)) problem.PlayerFiles = true;
        }
    const ReplaceProbe probe = ProbeProfileWrite(IniFileName, exitSettings, &folder);
    problem.Settings = refuses(probe, IniFileName);
    if (!problem.PlayerFiles && !problem.Settings) return std::nullopt;
    return problem;
}

SjisString ExitSaveWarningText(const ExitSaveProblem& problem) {
    static const SjisString kCannotWrite = Utf8ToSjis(" に書き込めません。\r\n");
    static const SjisString kBoth = Utf8ToSjis("入力した結果と設定は終了時に保存されません。");
    static const SjisString kResults = Utf8ToSjis("入力した結果は終了時に保存されません。");
    static const SjisString kSettings = Utf8ToSjis("設定は終了時に保存されません。");
    const SjisString& lost = !problem.Settings ? kResults : problem.PlayerFiles ? kBoth : kSettings;
    return PathForMessage(problem.Path) + kCannotWrite + lost;
}
