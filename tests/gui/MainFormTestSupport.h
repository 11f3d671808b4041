#pragma once

// Shared set-up of the main-window tests: a fresh table and folder, the
// program folder pointed there, message boxes recorded.

#include "data/DataFiles.h"
#include "data/DataUnit.h"
#include "data/Unitini.h"
#include "platform/ProgramDir.h"
#include "platform/gui/MessageBoxes.h"
#include "tests/TestSupport.h"

#include <initializer_list>
#include <string>
#include <vector>

// One master-list line of the current edition: name, BPM "150", the levels
// (missing ones 0), the flags set, short name, memo, code.
inline SjisString SongLine(const char* nameUtf8, const std::string& code, std::initializer_list<int> levels,
                           std::initializer_list<int> flags = {}) {
    SjisString line = Sj(nameUtf8) + "\t150";
    std::vector<int> level(levels);
    level.resize(static_cast<std::size_t>(ChartCount()), 0);
    for (int value : level)
        line += "\t" + std::to_string(value);
    for (int f = 0; f < kFlagCount; ++f) {
        bool set = false;
        for (int g : flags)
            set = set || g == f;
        line += set ? "\t1" : "\t0";
    }
    return line + "\tshort\tmemo\t" + code;
}

inline void WriteLines(const std::string& path, std::initializer_list<SjisString> lines) {
    SjisString bytes;
    for (const SjisString& line : lines)
        bytes += line + "\r\n";
    WriteFileBytes(path, bytes);
}

class ProgramFolder {
  public:
    explicit ProgramFolder(const Edition& edition) {
        ResetData(edition);
        SetDataLoadComplete(false);
        SetProgramDirectoryForTests(dir.Dir());
    }
    ~ProgramFolder() {
        SetProgramDirectoryForTests(std::nullopt);
        SetIniFailureHandler({});
        SetDataLoadComplete(false);
        IniFileName.clear();
        AppDir.clear();
    }
    ProgramFolder(const ProgramFolder&) = delete;
    ProgramFolder& operator=(const ProgramFolder&) = delete;

    std::string File(const std::string& name) const { return dir.File(name); }
    std::string GameFile(const char* extension) const {
        return dir.File(CurrentEdition().GameName + extension);
    }
    std::string Ini() const { return dir.File("vostrane.ini"); }

    TempDir dir;
    MessageBoxScript boxes;
};
