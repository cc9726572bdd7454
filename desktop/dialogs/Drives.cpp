#include "desktop/dialogs/Drives.h"

#include <algorithm>
#include <filesystem>

namespace zv {

namespace {

namespace fs = std::filesystem;

// Whether `root` is `path` itself or one of the folders above it.
bool Contains(const fs::path& root, const fs::path& path) {
    const fs::path base = root.lexically_normal();
    const fs::path full = path.lexically_normal();
    auto [rootEnd, pathEnd] = std::mismatch(base.begin(), base.end(), full.begin(), full.end());
    // A root written with a trailing separator ends in an empty name.
    return rootEnd == base.end() || (std::next(rootEnd) == base.end() && rootEnd->empty());
}

}  // namespace

int DriveOf(const std::vector<Drive>& drives, const std::string& path) {
    int found = -1;
    std::size_t longest = 0;
    for (std::size_t i = 0; i < drives.size(); ++i) {
        const std::string& root = drives[i].root;
        if (Contains(root, path) && (found < 0 || root.size() > longest)) {
            found = static_cast<int>(i);
            longest = root.size();
        }
    }
    return found;
}

}  // namespace zv
