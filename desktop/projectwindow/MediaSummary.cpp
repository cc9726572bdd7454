#include "desktop/projectwindow/MediaSummary.h"

#include <algorithm>

#include "core/project/UnplacedItem.h"

namespace zv {

MediaSummary SummariseMedia(const std::vector<ProjectItem>& items, const RunSettings& settings,
                            double capacity) {
    MediaSummary summary;
    summary.capacity = capacity;
    summary.fileSystemAllowed = settings.FsAllowance == FileSystemAllowance::Iso9660;
    int highest = 0;
    for (const ProjectItem& item : items)
        highest = std::max<int>(highest, item.medium);
    if (highest == 0)
        return summary;

    summary.media.resize(static_cast<size_t>(highest));
    for (int n = 1; n <= highest; ++n)
        summary.media[static_cast<size_t>(n - 1)].number = n;
    const bool estimated = summary.fileSystemAllowed && capacity > 0;
    const FileSystemEstimate estimate =
        estimated ? FileSystemOfItems(items, capacity) : FileSystemEstimate{};
    for (size_t i = 0; i < items.size(); ++i) {
        if (items[i].medium <= 0)
            continue;
        MediumFigures& medium = summary.media[static_cast<size_t>(items[i].medium - 1)];
        const double bytes = items[i].Bytes();
        ++medium.items;
        medium.bytes += bytes;
        if (estimated)
            medium.fileSystem += estimate.itemSizes[i] - bytes;
    }
    for (MediumFigures& medium : summary.media) {
        if (estimated)
            medium.fileSystem += estimate.mediumReserve;
        if (capacity > 0) {
            const double used = medium.bytes + medium.fileSystem;
            medium.free = capacity - used;
            medium.fill = used / capacity;
        }
    }
    summary.unplaced = FindUnplaced(items, settings, capacity);
    return summary;
}

}  // namespace zv
