#include "desktop/dialogs/GatheredFiles.h"

#include <filesystem>

#include "core/settings/TextNumber.h"

namespace zv {

std::string GatheredFiles::Path(std::size_t i) const {
    const GatheredFile& file = files.at(i);
    return (std::filesystem::path(folders.at(file.folder).toStdString()) / file.name.toStdString())
        .string();
}

int GatheredFiles::WidestSizeText() const {
    // A larger number never has a shorter text, so the largest size has the
    // widest one.
    double largest = 0;
    for (const GatheredFile& file : files)
        largest = std::max(largest, file.size);
    return files.empty() ? 0 : static_cast<int>(FormatGrouped(largest).size());
}

}  // namespace zv
