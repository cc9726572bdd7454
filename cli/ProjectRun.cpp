#include "cli/ProjectRun.h"

#include "cli/CliOptions.h"
#include "cli/TerminalObserver.h"
#include "core/db/DatabaseFile.h"
#include "core/db/ProjectSideFiles.h"
#include "core/platform/AtomicReplace.h"
#include "core/platform/FileError.h"
#include "core/platform/FileLock.h"
#include "core/platform/PlatformError.h"
#include "core/project/PlanRun.h"
#include "core/strings/StringIds.h"
#include "core/strings/StringTable.h"

namespace zv {

namespace {

// Takes the project for the whole run, clears away what an earlier run or
// save that was cut short left beside it, and refuses a project that must
// not be replaced. `path` is the file itself, not a link to it.
void ClaimProject(const std::string& path, FileLock& lock) {
    Status claimed = ProjectFile::CheckPath(path);
    if (claimed.ok())
        claimed = RecoverProjectFile(path);
    if (claimed.ok())
        claimed = lock.Take();
    // Earlier versions built a run in P.saving and worked in P.saving.TMP.
    // The save clears P.saving again; doing it here too says before a long
    // run, not after it, that a file of someone else's is in its way.
    if (claimed.ok())
        claimed = ClearSideFile(SavingPath(path));
    if (claimed.ok())
        claimed = ClearSideFile(WorkPath(SavingPath(path)));
    if (claimed.code() == FileError::InUse)
        throw Failure(claimed.message() + "; try again when it has ended");
    if (!claimed.ok())
        throw Failure(claimed.message());
    if (IsReadOnlyFile(path))
        throw Failure("'" + path + "' is read-only; it is left as it is");
}

}  // namespace

RunOutcome PlanItems(std::vector<ProjectItem>& items, const RunSettings& settings,
                     double mediumTimeLimit, bool quiet) {
    RunOutcome outcome;
    for (ProjectItem& item : items)
        item.medium = 0;
    RunRequests requests;
    TerminalObserver observer(requests, quiet);
    PlanRunResult result = RunPlan(items, settings, requests, observer, {mediumTimeLimit});
    outcome.message = std::move(result.message);
    outcome.reports = std::move(result.reports);
    if (result.end != RunEnd::Completed) {
        if (!outcome.message)
            outcome.message = RunMessage::Of(text_id::RunFailed);
        return outcome;
    }
    for (size_t i = 0; i < items.size(); ++i)
        items[i].medium = result.media[i];
    outcome.completed = true;
    return outcome;
}

RunOutcome RunProject(const std::string& projectPath, std::vector<ProjectItem>& items,
                      const RunSettings& settings, double mediumTimeLimit, bool quiet) {
    FileLock lock(projectPath);
    ClaimProject(projectPath, lock);
    RunOutcome outcome = PlanItems(items, settings, mediumTimeLimit, quiet);
    if (!outcome.completed)
        return outcome;

    // The plan reaches the project in one step, or not at all.
    Status written;
    if (!ProjectFile::Write(projectPath, items, settings, &written)) {
        for (ProjectItem& item : items)
            item.medium = 0;
        outcome.completed = false;
        outcome.message = {text_id::UpdateProcessFailed,
                           ResString(text_id::UpdateProcessFailed) + "\r\n" + written.message()};
        return outcome;
    }
    if (written.code() == FileError::NotSynced)
        outcome.afterPlacing = "the project holds the results of this run: " + written.message();
    return outcome;
}

}  // namespace zv
