#pragma once

#include "core/engine/RunObserver.h"
#include "core/engine/RunParameters.h"
#include "core/engine/RunRequests.h"

namespace zv {

struct RunOptions {
    // A medium whose search has run this long ends with the best combination
    // found so far; 0 sets no limit.
    double mediumTimeLimitSeconds = 0;
};

// Performs a whole run on the project file that `params` names, which has just
// been saved: medium after medium it loads the remaining items, chooses the
// medium's combination and records it. At a normal end (also one that placed
// nothing) the project file then holds the results and the result is true; an
// abort or a failure leaves the project file as it was and gives false. The
// results take the project file's place in one step. For the length of the
// run the project is locked against other runs and saves; a project in use,
// a read-only one, or results that cannot take its place fail the run with a
// message.
bool RunEngine(const RunParameters& params, RunRequests& requests, RunObserver& observer,
               const RunOptions& options = {});

}  // namespace zv
