#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cli/TerminalObserver.h"
#include "core/engine/RunSettings.h"
#include "core/project/ProjectFile.h"

namespace zv {

struct RunOutcome {
    // The run ended normally: without a message, or with one that says it
    // could place nothing.
    bool completed = false;
    std::optional<TerminalObserver::RunMessage> message;
    std::map<int, MediumReport> reports;
    // What went wrong once the results were in the project's place.
    std::optional<std::string> afterPlacing;
};

// A run of a project from start to end as the desktop program makes it: every
// medium number cleared, the project saved, the engine run on it, and the
// media read back into the items. On success the file also keeps each item's
// medium number, as if the user had saved after the run. The file at
// `projectPath` is replaced once, in one step, by the finished result; until
// then and after any failure it holds what it held before; a folder that
// could not be synced once they were in place is said in `afterPlacing`, the
// run being complete. Progress goes to a terminal's standard error unless
// `quiet`. Throws Failure
// when the project is in use by another run or save, is read-only, or cannot
// be replaced.
RunOutcome RunProject(const std::string& projectPath, std::vector<ProjectItem>& items,
                      const RunSettings& settings, double mediumTimeLimit, bool quiet);

}  // namespace zv
