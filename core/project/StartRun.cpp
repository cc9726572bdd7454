#include "core/project/StartRun.h"

#include "core/project/AfterRunConfirmation.h"
#include "core/project/DefaultRunSettings.h"
#include "core/settings/AppState.h"
#include "core/strings/StringIds.h"
#include "core/strings/StringTable.h"

namespace zv {

PreparedRun PrepareRun(const ProjectDocument& document) {
    PreparedRun run;
    if (App().running) {
        run.refusal = text_id::AlreadyRunning;
        return run;
    }
    run.settings = document.GetRunSettings();
    // A confirmation that cannot be recorded only leaves the action to be
    // confirmed on the command line.
    if (!document.FilePath().empty())
        static_cast<void>(AfterRunConfirmation(document.FilePath(), run.settings).Confirm());
    run.items = document.ToProjectItems();
    run.options.mediumTimeLimitSeconds = LoadMediumTimeLimit();
    return run;
}

FinishedRun FinishRun(ProjectDocument& document, const PlanRunResult& result) {
    FinishedRun finished;
    if (result.message)
        finished.messages.push_back(result.message->text);
    switch (result.end) {
        case RunEnd::Completed: {
            std::vector<ItemRecord>& items = document.Items();
            for (std::size_t i = 0; i < items.size(); ++i)
                items[i].Medium = i < result.media.size() ? result.media[i] : 0;
            document.SetModified(true);
            finished.messages.push_back(ResString(text_id::RunCompleted));
            finished.planned = true;
            break;
        }
        case RunEnd::Stopped:
            finished.messages.push_back(ResString(text_id::RunStopped));
            break;
        case RunEnd::Failed:
            // The run's own words name the cause; the general text only
            // stands in when it has none.
            if (!result.message)
                finished.messages.push_back(ResString(text_id::RunFailed));
            break;
    }
    return finished;
}

}  // namespace zv
