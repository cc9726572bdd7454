#pragma once

#include <string>
#include <vector>

#include "core/engine/RunSettings.h"
#include "core/project/ProjectFile.h"
#include "core/project/UnplacedItem.h"

namespace zv {

// One medium of a plan as the result tab shows it.
struct MediumFigures {
    int number = 0;
    int items = 0;
    double bytes = 0;  // the files' own bytes
    // What the file system takes of the medium beyond the files' bytes: its
    // share of the whole-sector rounding and entries of the items, and the
    // reserve every medium keeps. 0 when the run leaves no room for one.
    double fileSystem = 0;
    // Free bytes and how full the medium is (0 to 1, the file system
    // counted); both unknown (fill below 0) without a capacity.
    double free = 0;
    double fill = -1;
};

// A plan at a glance: every medium with its figures, and every item no
// medium holds with the reason.
struct MediaSummary {
    double capacity = 0;  // 0 when the media size names no capacity
    bool fileSystemAllowed = false;
    std::vector<MediumFigures> media;
    std::vector<UnplacedItem> unplaced;
};

// Sums a plan's items by medium, judged with the settings of its run and
// `capacity`, the bytes of one medium. A plan that places nothing has no
// unplaced items either: it has not been run.
MediaSummary SummariseMedia(const std::vector<ProjectItem>& items, const RunSettings& settings,
                            double capacity);

}  // namespace zv
