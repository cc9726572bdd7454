#pragma once

#include <array>
#include <string>

namespace zv {

// Number of recent-file entries in the File menu.
constexpr int kRecentFileCount = 5;

// The captions of the recent-file entries from section History of the settings
// file: entry k shows key k as "&k: " and the file's path when a file exists
// there, and is empty (hidden) otherwise. Entries keep their positions.
std::array<std::string, kRecentFileCount> RecentFileCaptions();

}  // namespace zv
