#pragma once

#include <vector>

#include "core/engine/FileSystemAllowance.h"
#include "core/engine/PlanRunResult.h"
#include "core/engine/RunObserver.h"
#include "core/engine/RunParameters.h"
#include "core/engine/RunRequests.h"

namespace zv {

struct RunOptions {
    // A medium whose search has run this long ends with the best combination
    // found so far; 0 sets no limit.
    double mediumTimeLimitSeconds = 0;
};

// The items of a run, by item number.
struct RunItems {
    // Each item's own bytes: the sum of its member files.
    std::vector<double> sizes;
    // With the ISO 9660 allowance, every member file with its kind on disk,
    // from which each item's cost on a medium is reckoned; empty otherwise.
    std::vector<MemberFile> files;
};

// Divides the items over the media with the chosen method, entirely in
// memory. The items are taken largest first, equal sizes in item order.
// Reports progress to `observer` on the calling thread and follows
// `requests`, which may be set from any thread.
PlanRunResult RunEngine(const RunParameters& params, const RunItems& items, RunRequests& requests,
                        RunObserver& observer, const RunOptions& options = {});

}  // namespace zv
