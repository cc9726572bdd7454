#pragma once

#include <cstddef>
#include <vector>

#include "core/engine/FileSystemAllowance.h"
#include "core/engine/RunSettings.h"
#include "core/project/ProjectFile.h"

namespace zv {

// Why a run left an item off every medium, the first that holds of these.
enum class UnplacedReason {
    // Its files alone are larger than a medium.
    LargerThanMedium,
    // Its files fit a medium, but not beside the room the file system takes.
    LargerWithFileSystem,
    // The run filled as many media as the settings allow.
    MediaCountReached,
    // The items left are too few for the minimum items of a medium, or the
    // maximum items of a medium lets none on.
    ItemLimits,
    // The packing method found no place for it within the settings.
    NotChosen,
};

// An item of a run's project that no medium holds, and why.
struct UnplacedItem {
    std::size_t index = 0;  // into the project's items
    UnplacedReason reason = UnplacedReason::NotChosen;
    double bytes = 0;  // its files' own bytes
    // What it takes on a medium: its bytes, or with the file system's
    // allowance its files in whole sectors and their entries.
    double takes = 0;
    // What one medium holds for items: the capacity, less the file system's
    // reserve when the settings leave room for one.
    double room = 0;
};

// The items of a run that no medium holds (medium number 0), each with the
// reason, judged with the settings of the run and `capacity`, the bytes of
// its media size (0 when unknown: then no size is blamed). The reasons come
// from the same sizes the run packed.
// What the file system takes of each item beyond its bytes, and of every
// medium, as a run with the allowance reckons it (each member looked at on
// the disk: an empty folder or a link costs other records than a file).
FileSystemEstimate FileSystemOfItems(const std::vector<ProjectItem>& items, double capacity);

std::vector<UnplacedItem> FindUnplaced(const std::vector<ProjectItem>& items,
                                       const RunSettings& settings, double capacity);

}  // namespace zv
