#pragma once

#include "platform/SjisString.h"

#include <optional>
#include <string>
#include <string_view>

// The name of the settings file in the program's folder.
extern const char* const kSettingsFileName;

// True for the name of a file the program writes into its folder: both
// editions' song master lists and player files, the settings file and the
// downloaded database files; with `currentDirectoryToo` (the program's
// folder is also the current directory) the network log and the exports.
bool IsProgramFileName(std::string_view name, bool currentDirectoryToo);

// True when the folder is the process's current directory.
bool IsCurrentDirectory(const std::string& folder);

// Where the exit's saves would fail, as the writer's own probes find it now:
// the player's three files in the order they are saved (unless the start-up
// load was incomplete, which keeps them from being saved at all), then the
// settings file. Nothing when every save can go through.
struct ExitSaveProblem {
    bool PlayerFiles = false; // the results are at stake, not only the settings
    std::string Path;         // the folder when it takes no file, else the first refusing file
};
std::optional<ExitSaveProblem> FindExitSaveProblem(const SjisString& base);

// "<path> に書き込めません。" and what will not be saved.
SjisString ExitSaveWarningText(const ExitSaveProblem& problem);
