#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "core/engine/PlanRunResult.h"
#include "core/engine/RunSettings.h"
#include "core/project/ProjectFile.h"

namespace zv {

struct RunOutcome {
    // The run ended normally: without a message, or with one that says it
    // could place nothing.
    bool completed = false;
    std::optional<RunMessage> message;
    std::map<int, MediumReport> reports;
    // What went wrong once the results were in the project's place.
    std::optional<std::string> afterPlacing;
};

// The plan of `items` made in memory, each item's medium set (0 for every
// item unless the run completed). Nothing is written. Progress goes to a
// terminal's standard error unless `quiet`.
RunOutcome PlanItems(std::vector<ProjectItem>& items, const RunSettings& settings,
                     double mediumTimeLimit, bool quiet);

// A run of a project from start to end: the project locked for its length,
// every medium number cleared, the plan made in memory, and the items with
// their media written to `projectPath` once, in one step, as if the user had
// saved after the run; until then and after any failure the file holds what
// it held before. A folder that could not be synced once the file was in
// place is said in `afterPlacing`, the run being complete. Progress goes to a
// terminal's standard error unless `quiet`. Throws Failure when the project
// is in use by another run or save, or is read-only. `projectPath` is the
// file itself, as SaveTarget gives it, never a link to it.
RunOutcome RunProject(const std::string& projectPath, std::vector<ProjectItem>& items,
                      const RunSettings& settings, double mediumTimeLimit, bool quiet);

}  // namespace zv
