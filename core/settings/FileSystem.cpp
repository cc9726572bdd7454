#include "core/settings/FileSystem.h"

#include <filesystem>

#include "core/platform/PlatformError.h"

namespace zv {

namespace fs = std::filesystem;

bool FileExists(const std::string& path) {
    std::error_code ignored;
    return !path.empty() && fs::is_regular_file(path, ignored);
}

bool FolderExists(const std::string& path) {
    std::error_code ignored;
    return !path.empty() && fs::is_directory(path, ignored);
}

void DeleteFile(const std::string& path) {
    // A folder is no file: removing it here would take an empty folder away.
    if (!FileExists(path))
        throw PlatformError::FileNotFound();
    std::error_code error;
    if (!fs::remove(path, error) || error)
        throw PlatformError::PermissionDenied();
}

}  // namespace zv
