#include "cli/ProjectRun.h"

#include "cli/CliOptions.h"
#include "core/db/DatabaseFile.h"
#include "core/db/ProjectSideFiles.h"
#include "core/engine/ResolveRunParameters.h"
#include "core/engine/RunEngine.h"
#include "core/platform/AtomicReplace.h"
#include "core/platform/FileError.h"
#include "core/platform/FileLock.h"
#include "core/platform/PlatformError.h"
#include "core/project/RunResults.h"
#include "core/strings/StringIds.h"
#include "core/strings/StringTable.h"

namespace zv {

namespace {

TerminalObserver::RunMessage Text(int id) {
    return {id, ResString(id)};
}

// The messages with which a run ends normally although it placed nothing:
// the items are too few for the minimum, or none fits a medium. Every other
// message of the engine reports a failure.
bool NormalEnd(const TerminalObserver::RunMessage& message) {
    return message.id == text_id::TooFewForMinimum || message.id == text_id::NoMediumMade;
}

// The file a run is built in beside the project, removed at the end unless it
// has taken the project's place.
class Staging {
  public:
    explicit Staging(std::string path) : path_(std::move(path)) {}
    ~Staging() { static_cast<void>(RemoveDatabaseFile(path_)); }
    Staging(const Staging&) = delete;
    Staging& operator=(const Staging&) = delete;

    const std::string& Path() const { return path_; }

  private:
    std::string path_;
};

// Takes the project for the whole run, clears away what an earlier run or
// save that was cut short left beside it, and refuses a project that must
// not be replaced.
void ClaimProject(const std::string& path, FileLock& lock) {
    Status claimed = ProjectFile::CheckPath(path);
    if (claimed.ok())
        claimed = RecoverProjectFile(path);
    if (claimed.ok())
        claimed = lock.Take();
    // The run is built in P.saving and works in P.saving.TMP.
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

RunOutcome RunProject(const std::string& projectPath, std::vector<ProjectItem>& items,
                      const RunSettings& settings, double mediumTimeLimit, bool quiet) {
    FileLock lock(projectPath);
    ClaimProject(projectPath, lock);

    // The run is made on a project of its own beside the one named, which
    // takes its place in one step only once it holds every result; until
    // then, and after any failure, the project keeps what it held.
    RunOutcome outcome;
    for (ProjectItem& item : items)
        item.medium = 0;
    const Staging staging(SavingPath(projectPath));
    if (const Status created = ProjectFile::Create(staging.Path(), items, settings);
        !created.ok()) {
        outcome.message = {text_id::UpdateProcessFailed,
                           ResString(text_id::UpdateProcessFailed) + "\r\n" + created.message()};
        return outcome;
    }

    RunParameters params;
    if (!ResolveRunParameters(settings, staging.Path(), params)) {
        outcome.message = Text(text_id::RunFailed);
        return outcome;
    }

    RunRequests requests;
    TerminalObserver observer(requests, quiet);
    const bool completed = RunEngine(params, requests, observer, {mediumTimeLimit});
    outcome.message = observer.FirstMessage();
    outcome.reports = observer.Reports();
    if (!completed) {
        if (!outcome.message)
            outcome.message = Text(text_id::RunFailed);
        return outcome;
    }

    std::vector<int16_t> media(items.size(), 0);
    if (!ReadRunResults(staging.Path(), media)) {
        outcome.message = Text(text_id::ReadFailed);
        return outcome;
    }
    if (!ProjectFile::StorePlan(staging.Path(), std::vector<int32_t>(media.begin(), media.end()))
             .ok()) {
        outcome.message = Text(text_id::UpdateFailed);
        return outcome;
    }
    if (const Status placed = PlaceDatabaseFile(staging.Path(), projectPath); !placed.ok()) {
        if (placed.code() != FileError::NotSynced)
            throw Failure("cannot put the results in the place of '" + projectPath +
                          "': " + placed.message());
        outcome.afterPlacing = "the project holds the results of this run: " + placed.message();
    }
    for (size_t i = 0; i < items.size(); ++i)
        items[i].medium = media[i];
    outcome.completed = !outcome.message || NormalEnd(*outcome.message);
    return outcome;
}

}  // namespace zv
