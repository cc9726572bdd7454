#include "desktop/dialogs/MountedDrives.h"

#include <QStorageInfo>
#include <algorithm>
#include <filesystem>

namespace zv {

std::vector<Drive> MountedDrives::List() const {
    std::vector<Drive> drives;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        const std::string root = volume.rootPath().toStdString();
        std::error_code ignored;
        // Single files can be mounted too; only a folder is something to browse.
        if (!std::filesystem::is_directory(root, ignored))
            continue;
        std::string text = root;
        if (!volume.name().isEmpty())
            text += " [" + volume.name().toStdString() + "]";
        drives.push_back({root, text});
    }
    std::sort(drives.begin(), drives.end(), [](const Drive& a, const Drive& b) {
        if ((a.root == "/") != (b.root == "/"))
            return a.root == "/";
        return a.root < b.root;
    });
    // A volume mounted twice is still one drive.
    drives.erase(std::unique(drives.begin(), drives.end(),
                             [](const Drive& a, const Drive& b) { return a.root == b.root; }),
                 drives.end());
    if (drives.empty() || drives.front().root != "/")
        drives.insert(drives.begin(), {"/", "/"});
    return drives;
}

bool MountedDrives::IsReady(const std::string& root) const {
    return QStorageInfo(QString::fromStdString(root)).isReady();
}

double MountedDrives::Capacity(const std::string& root) const {
    return static_cast<double>(QStorageInfo(QString::fromStdString(root)).bytesTotal());
}

}  // namespace zv
