#pragma once

#include <array>
#include <optional>
#include <string>

namespace zv {

// Number of recent-file entries in the File menu.
constexpr int kRecentFileCount = 5;

// The captions of the recent-file entries from section History of the settings
// file: entry k shows key k as "&k: " and the file's path when a file exists
// there, and is empty (hidden) otherwise. Entries keep their positions.
std::array<std::string, kRecentFileCount> RecentFileCaptions();

// The file of entry k, when the settings file lists one that exists.
std::optional<std::string> RecentFilePath(int k);

// Puts `path` first in section History: no entry twice, at most
// kRecentFileCount, files that have gone dropped. Keys "0" to "4" as before.
void RememberRecentFile(const std::string& path);

}  // namespace zv
