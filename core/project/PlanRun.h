#pragma once

#include <vector>

#include "core/engine/PlanRunResult.h"
#include "core/engine/RunEngine.h"
#include "core/engine/RunObserver.h"
#include "core/engine/RunRequests.h"
#include "core/engine/RunSettings.h"
#include "core/project/ProjectFile.h"

namespace zv {

// Runs the packing of `items` with `settings` entirely in memory: checks the
// settings and resolves the capacity, reads each member's kind on disk where
// the file-system allowance needs it, and runs the chosen method. Settings a
// run must not start on fail it with the refusal's text. Thread-agnostic: the
// observer is called on the calling thread; requests may be set from any
// thread. Never touches a project file.
PlanRunResult RunPlan(const std::vector<ProjectItem>& items, const RunSettings& settings,
                      RunRequests& requests, RunObserver& observer, const RunOptions& options);

}  // namespace zv
