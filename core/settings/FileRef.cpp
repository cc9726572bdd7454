#include "core/settings/FileRef.h"

#include <filesystem>

#include "core/platform/PlatformError.h"
#include "core/settings/FileSystem.h"

namespace zv {

namespace fs = std::filesystem;

FileRef FileRef::Get(const std::string& path) {
    if (!FileExists(path))
        throw PlatformError::FileNotFound();
    std::error_code error;
    const fs::path full = fs::absolute(path, error);
    if (error)
        throw PlatformError::FileNotFound();
    FileRef file;
    file.path_ = full.string();
    file.Size();
    return file;
}

std::string FileRef::Name() const {
    return fs::path(path_).filename().string();
}

double FileRef::Size() const {
    if (IsEmpty())
        throw PlatformError::FileNotFound();
    std::error_code error;
    // file_size refuses folders, so a file replaced by a folder counts as gone.
    const auto size = fs::file_size(path_, error);
    if (error)
        throw PlatformError::FileNotFound();
    lastSize_ = static_cast<double>(size);
    return lastSize_;
}

}  // namespace zv
