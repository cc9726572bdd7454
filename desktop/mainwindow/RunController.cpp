#include "desktop/mainwindow/RunController.h"

#include <QMetaObject>
#include <algorithm>
#include <chrono>
#include <filesystem>

#include "core/platform/UiServices.h"
#include "core/project/AfterRun.h"
#include "core/project/PlanRun.h"
#include "core/project/StartRun.h"
#include "core/project/UnplacedNotice.h"
#include "core/settings/AppState.h"
#include "core/strings/StringIds.h"
#include "core/strings/StringTable.h"
#include "desktop/dialogs/QueuedRunObserver.h"
#include "desktop/dialogs/RunDialog.h"
#include "desktop/dialogs/RunSettingsDialog.h"
#include "desktop/mainwindow/MainWindow.h"
#include "desktop/projectwindow/ProjectWindow.h"

namespace zv {

namespace {

// The export's progress on the run dialog's first bar, in thousandths.
constexpr int kBarSteps = 1000;
// How long a paused export sleeps between looks at its requests.
constexpr auto kPauseWait = std::chrono::milliseconds(10);

std::string Replaced(std::string text, const std::string& value) {
    if (const size_t at = text.find("%1"); at != std::string::npos)
        text.replace(at, 2, value);
    return text;
}

}  // namespace

RunController::RunController(MainWindow& window, ProjectWindow& project,
                             QPointer<RunDialog>& runDialog)
    : QObject(&window), window_(window), project_(&project), shownDialog_(runDialog) {}

RunController::~RunController() {
    // Only a window going away with its run still on gets here before End().
    if (worker_.joinable()) {
        if (dialog_)
            dialog_->RequestAbort();
        worker_.join();
    }
    if (running_) {
        App().running = false;
        App().runRequests = nullptr;
    }
    delete dialog_;
}

template <typename Work, typename Done>
void RunController::OnWorker(Work work, Done done) {
    worker_ = std::thread([this, work = std::move(work), done = std::move(done)]() mutable {
        auto result = work();
        QMetaObject::invokeMethod(
            this,
            [this, result = std::move(result), done = std::move(done)]() mutable {
                worker_.join();
                done(std::move(result));
            },
            Qt::QueuedConnection);
    });
}

void RunController::Start() {
    {
        RunSettingsDialog dialog(&window_, project_->Document());
        dialog.exec();
        if (!dialog.Applied()) {
            End();
            return;
        }
    }
    PreparedRun run = PrepareRun(project_->Document());
    if (run.refusal) {
        ShowMessage(ResString(*run.refusal));
        End();
        return;
    }
    OpenRunDialog();
    SetRunning(true);
    // The worker starts once the events of this moment have run: the dialog
    // is drawn first, and a pause or abort asked for meanwhile holds from the
    // first step.
    QMetaObject::invokeMethod(
        this,
        [this, run = std::move(run)]() mutable {
            OnWorker(
                [run = std::move(run), &requests = dialog_->Requests(), &observer = *observer_] {
                    try {
                        return RunPlan(run.items, run.settings, requests, observer, run.options);
                    } catch (const std::exception& error) {
                        PlanRunResult failed;
                        failed.message =
                            RunMessage{text_id::RunFailed,
                                       ResString(text_id::RunFailed) + "\r\n" + error.what()};
                        return failed;
                    }
                },
                [this](const PlanRunResult& result) { OnPlanned(result); });
        },
        Qt::QueuedConnection);
}

void RunController::OpenRunDialog() {
    dialog_ = new RunDialog(&window_);
    connect(dialog_, &RunDialog::PauseToggled, &window_, [&window = window_] {
        window.RefreshMenus();
        window.UpdateToolbar(false);
    });
    observer_ = std::make_unique<QueuedRunObserver>(*dialog_);
    App().runRequests = &dialog_->Requests();
    shownDialog_ = dialog_;
    dialog_->show();
}

void RunController::CloseRunDialog() {
    // The requests go with the dialog: nothing may read them afterwards.
    if (dialog_ && App().runRequests == &dialog_->Requests())
        App().runRequests = nullptr;
    delete dialog_;
    observer_.reset();
}

void RunController::SetRunning(bool running) {
    running_ = running;
    App().running = running;
    if (project_)
        project_->SetRunInProgress(running);
    window_.RefreshMenus();
    window_.UpdateToolbar(false);
}

void RunController::OnPlanned(const PlanRunResult& result) {
    // The end message must not show behind a dialog whose buttons still
    // look usable.
    CloseRunDialog();
    if (!project_) {
        End();
        return;
    }
    ProjectDocument& document = project_->Document();
    const FinishedRun finished = FinishRun(document, result);
    project_->ShowRunEnd(finished.planned);
    for (const std::string& message : finished.messages)
        ShowMessage(message);
    if (!finished.planned || !AfterRunFormat(document.GetRunSettings().AfterRun)) {
        End();
        return;
    }
    planned_ = document.ToProjectItems();
    settings_ = document.GetRunSettings();
    // An untitled project exports under its caption.
    projectName_ = document.FilePath().empty()
                       ? document.Caption()
                       : std::filesystem::path(document.FilePath()).stem().string();
    StartExport(false);
}

void RunController::StartExport(bool force) {
    OpenRunDialog();
    window_.RefreshMenus();
    window_.UpdateToolbar(false);
    const std::string writing = ResString(text_id::AfterRunWriting);
    OnWorker(
        [this, force, writing, &requests = dialog_->Requests(), &observer = *observer_] {
            std::string shown;
            const ExportProgress progress{
                [&](const std::string& output, double done) {
                    if (output != shown) {
                        shown = output;
                        observer.StatusChanged(Replaced(writing, output));
                    }
                    observer.ProgressChanged(
                        0, {0, kBarSteps, static_cast<int>(std::clamp(done, 0.0, 1.0) * kBarSteps),
                            true});
                },
                [&requests] {
                    while (requests.pause && !requests.abort)
                        std::this_thread::sleep_for(kPauseWait);
                    return !requests.abort.load();
                }};
            using Kind = ExportOutcome::Kind;
            try {
                PerformAfterRun(planned_, projectName_, settings_, force, progress);
                return ExportOutcome{Kind::Written, {}};
            } catch (const ExportExists& exists) {
                return ExportOutcome{Kind::Exists, exists.Path()};
            } catch (const ExportCancelled&) {
                return ExportOutcome{Kind::Cancelled, {}};
            } catch (const MediumExportError& error) {
                return ExportOutcome{Kind::Failed, error.what()};
            }
        },
        [this, force](const ExportOutcome& outcome) { OnExported(outcome, force); });
}

void RunController::OnExported(const ExportOutcome& outcome, bool forced) {
    CloseRunDialog();
    std::string text;
    MsgIcon icon = MsgIcon::Information;
    switch (outcome.kind) {
        case ExportOutcome::Kind::Written:
            text = ResString(text_id::AfterRunExportWritten) + settings_.AfterPath;
            // Items left off every medium are in no output: the box says which.
            if (const std::string unplaced = UnplacedNotice(planned_, settings_);
                !unplaced.empty()) {
                text += "\r\n" + unplaced;
                icon = MsgIcon::Exclamation;
            }
            break;
        case ExportOutcome::Kind::Exists:
            if (!forced &&
                ShowMessage(Replaced(ResString(text_id::AskAfterRunOverwrite), outcome.detail),
                            ResString(text_id::AfterRunExportTitle), MsgButtons::YesNo,
                            MsgIcon::Exclamation, 1) == MsgResult::Yes) {
                StartExport(true);
                return;
            }
            break;
        case ExportOutcome::Kind::Cancelled:
            text = ResString(text_id::AfterRunExportCancelled);
            break;
        case ExportOutcome::Kind::Failed:
            text = ResString(text_id::AfterRunExportFailed) + outcome.detail;
            icon = MsgIcon::Critical;
            break;
    }
    window_.RefreshMenus();
    window_.UpdateToolbar(false);
    if (!text.empty())
        ShowMessage(text, ResString(text_id::AfterRunExportTitle), MsgButtons::OK, icon);
    End();
}

void RunController::End() {
    if (running_)
        SetRunning(false);
    emit Ended();
    deleteLater();
}

}  // namespace zv
