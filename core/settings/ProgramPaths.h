#pragma once

#include <string>

#include "core/platform/Status.h"

namespace zv {

// The executable's base name, which names the settings file and prefixes error
// captions: "zarvopack" for the desktop program and its command-line tool alike.
const std::string& ExeBaseName();

// The folder the running executable lies in.
std::string ProgramFolder();
// Points the program folder elsewhere (tests, tools that run from another place);
// an empty folder goes back to the executable's own. While it points elsewhere
// the settings file is the one in that folder, whether it exists or not.
void SetProgramFolder(const std::string& folder);

// The user's home folder: $HOME, or their entry in the password database.
std::string HomeFolder();
// A base folder of the user's own files as the XDG convention names it: the
// environment variable's value when it is an absolute path, else `fallback`
// below the home folder (".config" for XDG_CONFIG_HOME, ".cache" for
// XDG_CACHE_HOME).
std::string UserBaseFolder(const char* variable, const std::string& fallback);

// Where the settings file in use lies.
struct SettingsLocation {
    std::string path;
    // A settings file beside the executable makes a portable copy (a program
    // folder on a stick) that keeps its settings with it; otherwise each user
    // has their own in their configuration folder.
    bool besideProgram = false;
};

// The settings file for a program in `programFolder`: the one beside it when
// it exists, otherwise $XDG_CONFIG_HOME/zarvopack/zarvopack.dat (by default
// under ~/.config), whether that exists yet or not.
SettingsLocation FindSettingsFile(const std::string& programFolder);

// The settings file in use; chosen once per run unless the program folder is
// pointed elsewhere.
SettingsLocation SettingsFile();
std::string SettingsFilePath();

// The folder of the shipped defaults in an installed tree: share/zarvopack
// beside the bin folder that holds the program.
std::string ShippedDataFolder(const std::string& programFolder);

// Gives a user who has no settings file yet a private copy of the shipped
// defaults (`defaults`), in a folder only they can enter. A file that exists,
// or a settings file beside the program, is left as it is; without shipped
// defaults only the folder is made, and the keys' own defaults apply.
Status PrepareSettingsFile(const SettingsLocation& settings, const std::string& defaults);
// The same for the settings file in use and this program's shipped defaults.
Status PrepareSettingsFile();

}  // namespace zv
