#pragma once

#include <string>

namespace zv {

// The executable's base name, which names the settings file and prefixes error
// captions: "zarvopack" for the desktop program and its command-line tool alike.
const std::string& ExeBaseName();

// The folder the running executable lies in.
std::string ProgramFolder();
// Points the program folder elsewhere (tests, tools that run from another place);
// an empty folder goes back to the executable's own.
void SetProgramFolder(const std::string& folder);

// The settings file: the program folder, the base name and ".dat".
std::string SettingsFilePath();

}  // namespace zv
