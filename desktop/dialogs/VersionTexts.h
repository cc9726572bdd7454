#pragma once

#include <string>

#include "core/settings/ProgramPaths.h"

namespace zv {

// "Version " followed by major, ".", minor and the revision with at least two
// digits, nothing between them: 1, 1, 4 give "Version 1.104".
std::string VersionText(int major, int minor, int revision);

// The one-line rights notice.
std::string RightsNotice();

// The disclaimer: its lines joined by "\r\n", the author named in the last.
std::string DisclaimerText();

// Which settings file is in use, and whether it is the portable one beside
// the program.
std::string SettingsFileText(const SettingsLocation& settings);

}  // namespace zv
