#pragma once

#include <functional>
#include <vector>

namespace zv {

struct PackLimits {
    double capacity = 0;   // bytes per medium (> 0)
    double tolerance = 0;  // a medium whose total is >= capacity - tolerance is "full enough"
    int mediaCount = 0;    // at most this many media; <= 0 = no limit
    int maxItems = 32766;  // at most this many items on one medium (>= 1)
    int minItems = 0;      // a medium must hold MORE than this many items (0 = no limit)
};

enum class PackControl { Continue, Finish, Abort };

struct PackStatus {
    int mediaSoFar = 0;
    int mediumBeingFilled = 0;
    double elapsedSeconds = 0;
    double bestFill = 0;  // 0..1 of the medium being worked on
};

// Called once before the work starts, then at most every ~25 ms from the packing thread.
// Finish = stop improving and return the best complete plan found so far;
// Abort = return at once with aborted = true, no media and every item unplaced.
using PackProgress = std::function<PackControl(const PackStatus&)>;

struct PackPlan {
    std::vector<std::vector<int>> media;  // item indices per medium, media ordered fullest first
    std::vector<int> unplaced;            // item indices left out
    bool aborted = false;
};

// Sizes are whole numbers of bytes. Deterministic: the same input gives the same plan unless the
// callback answers Finish or Abort.
PackPlan PackFewestMedia(const std::vector<double>& sizes, const PackLimits& limits,
                         const PackProgress& progress);

// No plan for the items that fit a medium can use fewer media than this (Martello-Toth L2, and
// the per-medium item limit).
int FewestMediaLowerBound(const std::vector<double>& sizes, const PackLimits& limits);

}  // namespace zv
