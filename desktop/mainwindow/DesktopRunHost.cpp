#include "desktop/mainwindow/DesktopRunHost.h"

#include <algorithm>
#include <filesystem>

#include "core/platform/UiServices.h"
#include "core/project/AfterRun.h"
#include "core/project/UnplacedNotice.h"
#include "core/settings/AppState.h"
#include "core/strings/StringIds.h"
#include "core/strings/StringTable.h"
#include "desktop/dialogs/RunDialog.h"
#include "desktop/dialogs/RunSettingsDialog.h"
#include "desktop/mainwindow/MainWindow.h"
#include "desktop/projectwindow/ProjectWindow.h"

namespace zv {

namespace {

// The export's progress on the run dialog's first bar, in thousandths.
constexpr int kBarSteps = 1000;

std::string Replaced(std::string text, const std::string& value) {
    if (const size_t at = text.find("%1"); at != std::string::npos)
        text.replace(at, 2, value);
    return text;
}

}  // namespace

DesktopRunHost::DesktopRunHost(MainWindow& window, ProjectWindow& project,
                               QPointer<RunDialog>& runDialog)
    : window_(window), project_(project), runDialog_(runDialog) {}

bool DesktopRunHost::ConfirmRunSettings() {
    RunSettingsDialog dialog(&window_, project_.Document());
    dialog.exec();
    return dialog.Applied();
}

void DesktopRunHost::OpenRunDialog() {
    runDialog_ = new RunDialog(&window_);
    QObject::connect(runDialog_, &RunDialog::PauseToggled, &window_, [&window = window_] {
        window.RefreshMenus();
        window.UpdateToolbar(false);
    });
    runDialog_->show();
}

RunObserver& DesktopRunHost::Observer() {
    return *runDialog_;
}

RunRequests& DesktopRunHost::Requests() {
    return runDialog_->Requests();
}

void DesktopRunHost::CloseRunDialog() {
    // The requests go with the dialog: nothing may read them afterwards.
    if (runDialog_ && App().runRequests == &runDialog_->Requests())
        App().runRequests = nullptr;
    delete runDialog_;
}

void DesktopRunHost::RunStateChanged() {
    window_.RefreshMenus();
    window_.UpdateToolbar(false);
}

void DesktopRunHost::ShowResults() {
    // Turning to the result tab fills it; a tab already showing is filled again.
    if (project_.CurrentTab() == ProjectTab::Result)
        project_.FillMediumChooser();
    else
        project_.SelectTab(ProjectTab::Result);
    ActAfterRun();
}

bool DesktopRunHost::ExportGoesOn() {
    Ui().Yield();
    while (runDialog_ && runDialog_->IsPaused() && !runDialog_->Requests().abort)
        runDialog_->PauseWait();
    return runDialog_ && !runDialog_->Requests().abort;
}

void DesktopRunHost::ActAfterRun() {
    const ProjectDocument& document = project_.Document();
    const RunSettings settings = document.GetRunSettings();
    if (!AfterRunFormat(settings.AfterRun))
        return;
    const std::vector<ProjectItem> items = document.ToProjectItems();
    // An untitled project runs under a temporary name and keeps its caption.
    const std::string project = document.FilePath() == document.TemporaryProjectPath()
                                    ? document.Caption()
                                    : std::filesystem::path(document.FilePath()).stem().string();

    OpenRunDialog();
    App().runRequests = &runDialog_->Requests();
    RunStateChanged();
    const ExportProgress progress{
        [this](const std::string& output, double done) {
            if (!runDialog_)
                return;
            runDialog_->StatusChanged(Replaced(ResString(text_id::AfterRunWriting), output));
            runDialog_->ProgressChanged(
                0, {0, kBarSteps, static_cast<int>(std::clamp(done, 0.0, 1.0) * kBarSteps), true});
        },
        [this] { return ExportGoesOn(); }};

    std::string outcome;
    MsgIcon icon = MsgIcon::Information;
    for (bool force = false;;) {
        try {
            PerformAfterRun(items, project, settings, force, progress);
            outcome = ResString(text_id::AfterRunExportWritten) + settings.AfterPath;
            // Items left off every medium are in no output: the box says which.
            if (const std::string unplaced = UnplacedNotice(items, settings); !unplaced.empty()) {
                outcome += "\r\n" + unplaced;
                icon = MsgIcon::Exclamation;
            }
        } catch (const ExportExists& exists) {
            if (!force &&
                ShowMessage(Replaced(ResString(text_id::AskAfterRunOverwrite), exists.Path()),
                            ResString(text_id::AfterRunExportTitle), MsgButtons::YesNo,
                            MsgIcon::Exclamation, 1) == MsgResult::Yes) {
                force = true;
                continue;
            }
        } catch (const ExportCancelled&) {
            outcome = ResString(text_id::AfterRunExportCancelled);
        } catch (const MediumExportError& error) {
            outcome = ResString(text_id::AfterRunExportFailed) + error.what();
            icon = MsgIcon::Critical;
        }
        break;
    }
    CloseRunDialog();
    RunStateChanged();
    if (!outcome.empty())
        ShowMessage(outcome, ResString(text_id::AfterRunExportTitle), MsgButtons::OK, icon);
}

}  // namespace zv
