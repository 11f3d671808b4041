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

#include <sys/stat.h>
#include <vector>

const char* const kSettingsFileName = "vostrane.ini";

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

bool IsCurrentDirectory(const std::string& folder) {
    struct stat here, there;
    return ::stat(".", &here) == 0 && ::stat(folder.c_str(), &there) == 0 && here.st_dev == there.st_dev &&
           here.st_ino == there.st_ino;
}

std::optional<ExitSaveProblem> FindExitSaveProblem(const SjisString& base) {
    std::vector<std::string> saves;
    if (DataLoadComplete())
        for (const char* extension : kPlayerFileExtensions)
            saves.push_back(AppDir + base + extension);
    saves.push_back(IniFileName);
    for (const std::string& path : saves) {
        std::string folder;
        switch (ProbeReplace(path, &folder)) {
        case ReplaceProbe::Replaceable:
            continue;
        case ReplaceProbe::FolderRefuses:
            return ExitSaveProblem{DataLoadComplete(), folder};
        case ReplaceProbe::FileRefuses:
            return ExitSaveProblem{path != IniFileName, path};
        }
    }
    return std::nullopt;
}

SjisString ExitSaveWarningText(const ExitSaveProblem& problem) {
    static const SjisString kCannotWrite = Utf8ToSjis(" に書き込めません。\r\n");
    static const SjisString kResults = Utf8ToSjis("入力した結果と設定は終了時に保存されません。");
    static const SjisString kSettings = Utf8ToSjis("設定は終了時に保存されません。");
    return PathForMessage(problem.Path) + kCannotWrite + (problem.PlayerFiles ? kResults : kSettings);
}
