#include "core/engine/EntryKind.h"

#include <system_error>

namespace zv {

EntryKind KindOnDisk(const std::filesystem::path& path, std::string& linkTarget) {
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::symlink_status(path, error);
    if (error)
        return EntryKind::File;
    if (std::filesystem::is_symlink(status)) {
        linkTarget = std::filesystem::read_symlink(path, error).string();
        return EntryKind::Link;
    }
    return std::filesystem::is_directory(status) ? EntryKind::Folder : EntryKind::File;
}

}  // namespace zv
