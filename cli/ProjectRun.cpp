#include "cli/ProjectRun.h"

#include "core/db/AccessDB.h"
#include "core/engine/ResolveRunParameters.h"
#include "core/engine/RunEngine.h"
#include "core/platform/PlatformError.h"
#include "core/project/RunResults.h"
#include "core/strings/StringTable.h"

namespace zv {

namespace {

TerminalObserver::RunMessage Text(int id) {
    return {id, ResString(id)};
}

// The messages with which a run ends normally although it placed nothing:
// the items are too few for the minimum, or none fits a medium. Every other
// message of the engine reports a failure, even where the engine goes on to
// end the run as done (a medium that could not be recorded).
bool NormalEnd(const TerminalObserver::RunMessage& message) {
    return message.id == 40024 || message.id == 40025;
}

// Writes each item's medium number into CDNUMBER of the project file in
// place, keeping the tables the run left beside MainDB.
bool StoreMediumNumbers(const std::string& path, const std::vector<ProjectItem>& items) {
    AccessDB db;
    db.SetPath(path);
    if (!db.DBOpen("") || !db.BeginTrans())
        return false;
    db.Run("CREATE TEMP TABLE [PLACED] ([GID] INTEGER PRIMARY KEY, [MEDIUM] INTEGER)",
           adOpenDynamic);
    for (size_t g = 0; g < items.size(); ++g) {
        if (items[g].medium == 0)
            continue;
        db.Run("INSERT INTO [PLACED] VALUES(" + std::to_string(g) + "," +
                   std::to_string(items[g].medium) + ")",
               adOpenDynamic);
    }
    db.Run(
        "UPDATE [MainDB] SET [CDNUMBER] = (SELECT [MEDIUM] FROM [PLACED] WHERE [GID] = "
        "[MainDB].[GROUP]) WHERE [GROUP] IN (SELECT [GID] FROM [PLACED])",
        adOpenDynamic);
    std::string message;
    if (!db.LastErr(message).empty()) {
        db.RollbackTrans();
        return false;
    }
    return db.CommitTrans();
}

}  // namespace

RunOutcome RunProject(const std::string& projectPath, std::vector<ProjectItem>& items,
                      const RunSettings& settings, double mediumTimeLimit) {
    RunOutcome outcome;
    for (ProjectItem& item : items)
        item.medium = 0;
    if (!ProjectFile::Write(projectPath, items, settings)) {
        outcome.message = Text(40023);
        return outcome;
    }

    RunParameters params;
    if (!ResolveRunParameters(settings, projectPath, params)) {
        outcome.message = Text(40029);
        return outcome;
    }

    RunRequests requests;
    TerminalObserver observer(requests);
    const bool completed = RunEngine(params, requests, observer, {mediumTimeLimit});
    outcome.message = observer.FirstMessage();
    outcome.reports = observer.Reports();
    if (!completed) {
        if (!outcome.message)
            outcome.message = Text(40029);
        return outcome;
    }

    std::vector<int16_t> media(items.size(), 0);
    if (!ReadRunResults(projectPath, media)) {
        outcome.message = Text(40028);
        return outcome;
    }
    for (size_t i = 0; i < items.size(); ++i)
        items[i].medium = media[i];
    if (!StoreMediumNumbers(projectPath, items)) {
        outcome.message = Text(40027);
        return outcome;
    }
    outcome.completed = !outcome.message || NormalEnd(*outcome.message);
    return outcome;
}

}  // namespace zv
