#pragma once

#include <QObject>
#include <QPointer>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "core/engine/PlanRunResult.h"
#include "core/engine/RunSettings.h"
#include "core/project/ProjectFile.h"

namespace zv {

class MainWindow;
class ProjectWindow;
class QueuedRunObserver;
class RunDialog;

// One run of a project as the desktop program shows it: the run settings
// dialog modal over the main window, the run on a worker thread while the run
// dialog beside the windows shows its progress and takes the user's requests,
// the plan on the project window's result tab, and then the after-run action
// with its progress in a run dialog of its own, on the worker thread too.
// Nothing here waits for the worker: its reports and its end arrive as queued
// calls, so every window answers at once throughout.
class RunController : public QObject {
    Q_OBJECT

  public:
    // `runDialog` is where the main window's commands find the run dialog
    // while it shows.
    RunController(MainWindow& window, ProjectWindow& project, QPointer<RunDialog>& runDialog);
    // A worker still going is asked to stop and waited for.
    ~RunController() override;

    // Asks for the run settings and, once they are applied, starts the run;
    // returns at once. Ended follows in every case, also when nothing ran.
    void Start();

    // What an after-run export ended with.
    struct ExportOutcome {
        enum class Kind { Written, Exists, Cancelled, Failed } kind = Kind::Written;
        // The output that is there already, or the cause of the failure.
        std::string detail;
    };

  signals:
    // The run and its after-run action are over; the controller goes next.
    void Ended();

  private:
    void OpenRunDialog();
    void CloseRunDialog();
    // The commands and the project window follow the run.
    void SetRunning(bool running);
    // Runs `work` on the worker thread and then `done` on this thread with
    // what it returned.
    template <typename Work, typename Done>
    void OnWorker(Work work, Done done);
    void OnPlanned(const PlanRunResult& result);
    void StartExport(bool force);
    void OnExported(const ExportOutcome& outcome, bool forced);
    void End();

    MainWindow& window_;
    QPointer<ProjectWindow> project_;
    QPointer<RunDialog>& shownDialog_;
    QPointer<RunDialog> dialog_;
    std::unique_ptr<QueuedRunObserver> observer_;
    std::thread worker_;
    // What the after-run action exports: the plan as the run made it.
    std::vector<ProjectItem> planned_;
    RunSettings settings_;
    std::string projectName_;
    bool running_ = false;
};

}  // namespace zv
