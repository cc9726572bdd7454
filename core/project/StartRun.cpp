#include "core/project/StartRun.h"

#include <string>
#include <vector>

#include "core/engine/RunSettingCheck.h"
#include "core/platform/PlatformError.h"
#include "core/platform/UiServices.h"
#include "core/project/AfterRunConfirmation.h"
#include "core/project/DefaultRunSettings.h"
#include "core/project/PlanRun.h"
#include "core/project/SaveProject.h"
#include "core/settings/AppState.h"
#include "core/settings/FileSystem.h"
#include "core/settings/ScratchFolder.h"
#include "core/settings/ShowError.h"
#include "core/strings/StringIds.h"
#include "core/strings/StringTable.h"

namespace zv {

namespace {

// One start of a run, from the confirmation of the settings to the end
// sequence that every path goes through.
class RunStart {
  public:
    RunStart(ProjectDocument& project, RunHost& host)
        : project_(project),
          host_(host),
          wasModified_(project.Modified()),
          caption_(project.Caption()) {}

    bool Perform() {
        try {
            Run();
        } catch (const PlatformError& error) {
            ShowError(error);
        } catch (...) {
            End();
            throw;
        }
        End();
        return succeeded_;
    }

  private:
    void Run() {
        if (App().running) {
            ShowMessage(ResString(text_id::AlreadyRunning));
            return;
        }
        if (!host_.ConfirmRunSettings())
            return;

        host_.OpenRunDialog();
        dialogOpen_ = true;
        Ui().YieldNow();

        for (ItemRecord& item : project_.Items())
            item.Medium = 0;
        if (project_.FilePath().empty()) {
            temporary_ = true;
            project_.SetFilePath(project_.TemporaryProjectPath());
        }
        // The temporary copy is the user's alone, as the folder it lies in;
        // where it cannot be made, the save says why.
        if (temporary_ && !project_.FilePath().empty())
            static_cast<void>(CreatePrivateFile(project_.FilePath()));
        if (project_.FilePath().empty() || !SaveProject(project_, kSaveToPath, temporary_)) {
            saveFailed_ = true;
            ShowMessage(ResString(text_id::UpdateProcessFailed));
            return;
        }
        // The file the run works on; the results are read back from it even
        // if something changes the window's path meanwhile.
        const std::string path = project_.FilePath();
        // The run settings the user just applied showed the after-run action:
        // the command line may carry it out for this file from now on. A
        // confirmation that cannot be recorded only leaves that to be asked
        // for there.
        if (!temporary_)
            static_cast<void>(AfterRunConfirmation(path, project_.GetRunSettings()).Confirm());

        if (const auto refusal = CheckRunSettings(project_.GetRunSettings())) {
            ShowMessage(ResString(refusal->message));
            return;
        }
        // Since the first look the program has yielded and may have shown
        // boxes: another start may have got in first.
        if (App().running) {
            ShowMessage(ResString(text_id::AlreadyRunning));
            return;
        }

        App().running = true;
        App().runRequests = &host_.Requests();
        ownsRunningFlag_ = true;
        host_.RunStateChanged();
        Ui().YieldNow();

        const PlanRunResult result =
            RunPlan(project_.ToProjectItems(), project_.GetRunSettings(), host_.Requests(),
                    host_.Observer(), {LoadMediumTimeLimit()});
        if (result.message && result.message->id != text_id::RunFailed)
            ShowMessage(result.message->text);
        if (result.end != RunEnd::Completed) {
            CloseRunDialog();
            ShowMessage(ResString(result.end == RunEnd::Stopped ? text_id::RunStopped
                                                                : text_id::RunFailed));
            return;
        }
        TakeMedia(result.media);
        CloseRunDialog();
        ShowMessage(ResString(text_id::RunCompleted));
        succeeded_ = true;
        project_.SetModified(true);
        host_.ShowResults();
    }

    void TakeMedia(const std::vector<int32_t>& media) {
        std::vector<ItemRecord>& items = project_.Items();
        for (std::size_t i = 0; i < items.size() && i < media.size(); ++i)
            items[i].Medium = static_cast<decltype(items[i].Medium)>(media[i]);
    }

    // The run's end message must not show behind a dialog whose buttons
    // still look usable.
    void CloseRunDialog() {
        if (!dialogOpen_)
            return;
        dialogOpen_ = false;
        try {
            host_.CloseRunDialog();
        } catch (...) {
            // The run is over whatever became of its dialog.
        }
    }

    void End() {
        if (saveFailed_) {
            // The applied settings and the cleared media are in no file.
            project_.SetModified(true);
        } else if (!succeeded_) {
            project_.SetModified(wasModified_);
        }
        // An untitled project stays untitled whatever the run's end: its
        // temporary copy is the run's, never a file the user saved.
        if (temporary_) {
            const std::string temporaryFile = project_.TemporaryProjectPath();
            project_.SetFilePath("");
            project_.SetCaption(caption_);
            try {
                if (FileExists(temporaryFile))
                    DeleteFile(temporaryFile);
            } catch (const PlatformError& error) {
                ShowError(error);
            }
        }
        CloseRunDialog();
        // A start that was refused leaves the run in progress its guard.
        if (ownsRunningFlag_) {
            App().running = false;
            App().runRequests = nullptr;
            host_.RunStateChanged();
        }
    }

    ProjectDocument& project_;
    RunHost& host_;
    const bool wasModified_;
    const std::string caption_;
    bool dialogOpen_ = false;
    bool temporary_ = false;
    bool saveFailed_ = false;
    bool ownsRunningFlag_ = false;
    bool succeeded_ = false;
};

}  // namespace

bool StartRun(ProjectDocument& project, RunHost& host) {
    RunStart start(project, host);
    return start.Perform();
}

}  // namespace zv
