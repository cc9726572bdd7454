#pragma once

#include <QString>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace zv {

// One file a scan found, as it was when the scan read it.
struct GatheredFile {
    // Index of its folder in GatheredFiles::folders.
    std::size_t folder = 0;
    QString name;
    double size = 0;
    // Last modification, in milliseconds since 1970 (UTC).
    std::int64_t modified = 0;
};

// The files of the add-files dialog's last scan, in the order they were found.
// The list's rows refer to them by their position.
struct GatheredFiles {
    // The full paths of the folders that held files.
    std::vector<QString> folders;
    std::vector<GatheredFile> files;

    bool Empty() const { return files.empty(); }
    // The full path of file i.
    std::string Path(std::size_t i) const;
    // The length of the longest size text ("#,##0") among the files.
    int WidestSizeText() const;
};

}  // namespace zv
