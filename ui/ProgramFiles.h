#pragma once

#include "platform/PrivateProfile.h"
#include "platform/SjisString.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// True for the name of a file the program writes into its folder: both
// editions' song master lists and player files, the settings file and the
// downloaded database files; with `currentDirectoryToo` (the program's
// folder is also the current directory) the network log and the exports.
bool IsProgramFileName(std::string_view name, bool currentDirectoryToo);

// What the exit's saves would lose, as the writers' own steps find it now:
// the player's three files in the order they are saved (unless the start-up
// load was incomplete, which keeps them from being saved at all), then the
// settings file with the writes the exit would make. Nothing when every save
// can go through.
struct ExitSaveProblem {
    std::string Path;         // the first refusal: the folder when it takes no file, else the file
    bool PlayerFiles = false; // the results would not be saved
    bool Settings = false;    // the settings would not be saved
};
std::optional<ExitSaveProblem> FindExitSaveProblem(const SjisString& base,
                                                   const std::vector<ProfileWrite>& exitSettings);

// "<path> に書き込めません。" and what will not be saved.
SjisString ExitSaveWarningText(const ExitSaveProblem& problem);
