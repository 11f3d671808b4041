#pragma once

#include <optional>
#include <string>

// The folder of the running executable with a trailing "/": every data file
// and the settings file live there. Tests point it at a folder of their own;
// std::nullopt returns to the executable's folder.
std::string ProgramDirectory();
void SetProgramDirectoryForTests(std::optional<std::string> dir);

// True when the folder is the process's current directory.
bool IsCurrentDirectory(const std::string& folder);
