#include "core/project/UnplacedItem.h"

#include <algorithm>
#include <optional>

#include "core/engine/EntryKind.h"
#include "core/engine/FileSystemAllowance.h"

namespace zv {

namespace {

// The allowance the run made for the file system, from all items of the run
// as the run took them.
std::optional<FileSystemEstimate> Allowance(const std::vector<ProjectItem>& items,
                                            const RunSettings& settings, double capacity) {
    if (settings.FsAllowance != FileSystemAllowance::Iso9660)
        return std::nullopt;
    return FileSystemOfItems(items, capacity);
}

}  // namespace

FileSystemEstimate FileSystemOfItems(const std::vector<ProjectItem>& items, double capacity) {
    std::vector<MemberFile> files;
    for (size_t i = 0; i < items.size(); ++i) {
        for (const ProjectMember& member : items[i].members) {
            MemberFile file{static_cast<int>(i), member.path, member.size, EntryKind::File, {}};
            file.kind = KindOnDisk(file.path, file.target);
            files.push_back(std::move(file));
        }
    }
    return EstimateIso9660(files, static_cast<int>(items.size()), capacity);
}

std::vector<UnplacedItem> FindUnplaced(const std::vector<ProjectItem>& items,
                                       const RunSettings& settings, double capacity) {
    std::vector<UnplacedItem> unplaced;
    int highest = 0;
    for (size_t i = 0; i < items.size(); ++i) {
        highest = std::max<int>(highest, items[i].medium);
        if (items[i].medium == 0)
            unplaced.push_back({i, UnplacedReason::NotChosen, items[i].Bytes(), 0, capacity});
    }
    if (unplaced.empty())
        return unplaced;

    const std::optional<FileSystemEstimate> allowance = Allowance(items, settings, capacity);
    const bool countReached = settings.MediaNum > 0 && highest >= settings.MediaNum;
    const bool limited = settings.MinFile > 0 || settings.MaxFile <= 0;
    // Without a known capacity no size can be blamed.
    const bool sized = capacity > 0;
    for (UnplacedItem& item : unplaced) {
        item.takes = allowance ? allowance->itemSizes[item.index] : item.bytes;
        item.room = capacity - (allowance ? allowance->mediumReserve : 0);
        if (sized && item.bytes > capacity) {
            item.reason = UnplacedReason::LargerThanMedium;
        } else if (sized && item.takes > item.room) {
            item.reason = UnplacedReason::LargerWithFileSystem;
        } else if (countReached) {
            item.reason = UnplacedReason::MediaCountReached;
        } else if (limited) {
            item.reason = UnplacedReason::ItemLimits;
        }
    }
    return unplaced;
}

}  // namespace zv
