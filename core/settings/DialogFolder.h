#pragma once

#include <string>

namespace zv {

// The folder a file dialog starts in: the folder of the project at hand
// (`projectPath`, empty for an untitled one), else the folder the user last
// chose a file in (settings file), else the home folder.
std::string DialogStartFolder(const std::string& projectPath);

// Remembers the folder of a file the user chose, for the next dialog.
void RememberDialogFolder(const std::string& chosenPath);

}  // namespace zv
